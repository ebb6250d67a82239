// Plain reference loops for every filter, written straight from the requirements: two
// buffers (the work copy that is written and the untouched source copy), indexed
// (channel, x, y) from 1, rows top to bottom, pixels left to right. Slow on purpose: every
// rule is spelt out once, independently of the engine's own loops.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

namespace imaging_test {

struct Reference {
    int W, H;
    std::vector<std::uint8_t> work, source;
    std::vector<int> progress;   // every value stored in the progress variable, in order
    std::mt19937* rng = nullptr; // draws for the random filters

    Reference(const std::vector<std::uint8_t>& tight, int w, int h)
        : W(w), H(w > 0 ? h : 0), work(tight), source(tight) {} // no columns: no rows to walk

    std::uint8_t& Wk(int c, int x, int y) { return work[(c - 1) + 4 * (x - 1) + 4 * W * (y - 1)]; }
    int S(int c, int x, int y) { return source[(c - 1) + 4 * (x - 1) + 4 * W * (y - 1)]; }

    static int clamp(long long v) { return int(v < 0 ? 0 : (v > 255 ? 255 : v)); }
    // Values beyond any pixel (gamma's 0 to a negative power is infinite) are held first.
    static long long nearest(double v) {
        return (long long)std::nearbyint(std::clamp(v, -1e15, 1e15));
    }
    static double single(double v) { return double(float(v)); }
    static void split(int colour, int& r, int& g, int& b) {
        r = colour & 255;
        g = (colour >> 8) & 255;
        b = (colour >> 16) & 255;
    }
    double rnd() { return double((*rng)() >> 8) / 16777216.0; }
    void report(int v) { progress.push_back(v); }
    void rowDone(int y) { report(y * 100 / H); }
    int grey(int i) { return i / 3; }
    int meanGrey() {
        long long sum = 0, count = 0;
        for (int y = 1; y <= H; ++y)
            for (int x = 1; x <= W; ++x) {
                sum += grey(S(1, x, y) + S(2, x, y) + S(3, x, y));
                ++count;
            }
        return count ? int(sum / count) : 0;
    }

    // ---- colour filters ----
    void perPixel(const std::function<void(int, int)>& f) {
        for (int y = 1; y <= H; ++y) {
            for (int x = 1; x <= W; ++x)
                f(x, y);
            rowDone(y);
        }
        report(100);
    }
    void negative() {
        perPixel([&](int x, int y) {
            for (int c = 1; c <= 3; ++c)
                Wk(c, x, y) = 255 - Wk(c, x, y);
        });
    }
    void grayScale() {
        perPixel([&](int x, int y) {
            int g = (Wk(1, x, y) + Wk(2, x, y) + Wk(3, x, y)) / 3;
            for (int c = 1; c <= 3; ++c)
                Wk(c, x, y) = g;
        });
    }
    void blackAndWhite(int p) {
        int r, g, b;
        split(p, r, g, b);
        perPixel([&](int x, int y) {
            bool black = S(3, x, y) < r && S(2, x, y) < g && S(1, x, y) < b;
            for (int c = 1; c <= 3; ++c)
                Wk(c, x, y) = black ? 0 : 255;
        });
    }
    void contrast(int p) {
        int mean = meanGrey();
        double f = single((p + 100LL) / 100.0);
        long long curve[256];
        for (int k = 0; k < 256; ++k)
            curve[k] = nearest(f * (k - mean) + mean);
        report(5);
        for (int y = 1; y <= H; ++y) {
            for (int x = 1; x <= W; ++x) {
                long long v[3] = {curve[S(1, x, y)], curve[S(2, x, y)], curve[S(3, x, y)]};
                balance(v);
                for (int c = 1; c <= 3; ++c)
                    Wk(c, x, y) = std::uint8_t(v[c - 1]);
            }
            report(5 + y * 95 / H);
        }
        report(100);
    }
    static void balance(long long v[3]) {
        for (;;) {
            bool inside = true;
            for (int i = 0; i < 3; ++i)
                inside = inside && v[i] >= 0 && v[i] <= 255;
            if (inside)
                return;
            if (v[0] < 1 && v[1] < 1 && v[2] < 1) {
                v[0] = v[1] = v[2] = 0;
                continue;
            }
            if (v[0] >= 255 && v[1] >= 255 && v[2] >= 255) {
                v[0] = v[1] = v[2] = 255;
                continue;
            }
            for (int i = 0; i < 3; ++i) {
                long long& a = v[(i + 1) % 3];
                long long& b = v[(i + 2) % 3];
                if (v[i] < 0) {
                    long long half = v[i] / 2;
                    a += half, b += half, v[i] = 0;
                } else if (v[i] > 255) {
                    long long half = (v[i] - 255) / 2;
                    a += half, b += half, v[i] = 255;
                }
            }
        }
    }
    void saturation(int p) {
        double s = single(p / 100.0);
        perPixel([&](int x, int y) {
            int m = grey(S(1, x, y) + S(2, x, y) + S(3, x, y));
            for (int c = 1; c <= 3; ++c)
                Wk(c, x, y) = clamp(nearest(s * (S(c, x, y) - m) + S(c, x, y)));
        });
    }
    void gamma(int p) {
        double g = single(p / 100.0);
        perPixel([&](int x, int y) {
            for (int c = 1; c <= 3; ++c)
                Wk(c, x, y) = clamp(nearest(std::pow(S(c, x, y) / 255.0, 1.0 / g) * 255.0));
        });
    }
    void brightness(int p) {
        double f = single((p + 100LL) / 100.0);
        perPixel([&](int x, int y) {
            for (int c = 1; c <= 3; ++c)
                Wk(c, x, y) = clamp(nearest(f * S(c, x, y)));
        });
    }
    void swapChannels(int p) {
        perPixel([&](int x, int y) {
            int B = S(1, x, y), G = S(2, x, y), R = S(3, x, y);
            int v[3];
            switch (p) {
            case 1:
                v[0] = G, v[1] = R, v[2] = B;
                break;
            case 2:
                v[0] = R, v[1] = B, v[2] = G;
                break;
            case 3:
                v[0] = G, v[1] = B, v[2] = R;
                break;
            case 4:
                v[0] = R, v[1] = G, v[2] = B;
                break;
            case 5:
                v[0] = B, v[1] = R, v[2] = G;
                break;
            default:
                return;
            }
            for (int c = 1; c <= 3; ++c)
                Wk(c, x, y) = v[c - 1];
        });
    }
    void addNoise(int p) {
        perPixel([&](int x, int y) {
            for (int c = 1; c <= 3; ++c) {
                double u = rnd();
                Wk(c, x, y) = clamp(nearest(u * (2.0 * p + 1) - p + S(c, x, y)));
            }
        });
    }

    // ---- neighbourhood filters ----
    // f(get, c, x, y) -> value; get reads the window's buffer.
    using Get = std::function<int(int, int, int)>;
    void window(int x0, int x1, int y0, int y1, bool inPlace,
                const std::function<long long(const Get&, int, int, int, int)>& f) {
        Get get = [&](int c, int x, int y) { return inPlace ? int(Wk(c, x, y)) : S(c, x, y); };
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                long long v[3];
                for (int c = 1; c <= 3; ++c)
                    v[c - 1] = f(get, c, x, y, 0);
                for (int c = 1; c <= 3; ++c)
                    Wk(c, x, y) = std::uint8_t(v[c - 1]);
            }
            rowDone(y);
        }
        report(100);
    }
    static long long n8(const Get& g, int c, int x, int y) {
        long long s = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (dx || dy)
                    s += g(c, x + dx, y + dy);
        return s;
    }
    static long long n4(const Get& g, int c, int x, int y) {
        return g(c, x - 1, y) + g(c, x + 1, y) + g(c, x, y - 1) + g(c, x, y + 1);
    }
    int k(int colour, int c) {
        int r, g, b;
        split(colour, r, g, b);
        return c == 1 ? b : (c == 2 ? g : r);
    }
    void sharpen(int p) {
        window(2, W - 1, 2, H - 1, true, [&](const Get& g, int c, int x, int y, int) {
            return clamp(((p + 24LL) * g(c, x, y) - 2 * n8(g, c, x, y)) / (p + 8LL));
        });
    }
    void edgeEnhance(int p) {
        window(2, W - 1, 2, H - 1, true, [&](const Get& g, int c, int x, int y, int) {
            return clamp(((p + 9LL) * g(c, x, y) - n8(g, c, x, y)) / (p + 1LL));
        });
    }
    void blur() {
        window(2, W - 1, 2, H - 1, true,
               [&](const Get& g, int c, int x, int y, int) { return n8(g, c, x, y) / 8; });
    }
    void smooth() {
        window(2, W - 1, 2, H - 1, true, [&](const Get& g, int c, int x, int y, int) {
            return (g(c, x, y) + n4(g, c, x, y)) / 5;
        });
    }
    void contour(int p) {
        window(2, W - 1, 2, H - 1, false, [&](const Get& g, int c, int x, int y, int) {
            return clamp(8 * g(c, x, y) - n8(g, c, x, y) + k(p, c));
        });
    }
    void relief() {
        window(2, W - 1, 2, H - 1, false, [&](const Get& g, int c, int x, int y, int) {
            long long K = 2 * g(c, x - 1, y - 1) + g(c, x - 1, y) + g(c, x, y - 1) -
                          g(c, x, y + 1) - g(c, x + 1, y) - 2 * g(c, x + 1, y + 1);
            return clamp((K + g(c, x, y)) / 2 + 50);
        });
    }
    void emboss(int p, bool engrave) {
        window(1, W - 1, 1, H - 1, true, [&](const Get& g, int c, int x, int y, int) {
            long long d = g(c, x, y) - g(c, x + 1, y + 1);
            return clamp(std::llabs((engrave ? -d : d) + k(p, c)));
        });
    }
    void gradient(int p, bool engrave) {
        window(2, W - 1, 2, H - 1, false, [&](const Get& g, int c, int x, int y, int) {
            long long d = g(c, x - 1, y - 1) + g(c, x - 1, y) + g(c, x - 1, y + 1) -
                          g(c, x + 1, y - 1) - g(c, x + 1, y) - g(c, x + 1, y + 1);
            return clamp((engrave ? -d : d) + k(p, c));
        });
    }

    // ---- morphological and the rest ----
    void rank(int which) { // 0 dilate, 1 erode, 2 edge detect
        window(2, W - 1, 2, H - 1, false, [&](const Get& g, int c, int x, int y, int) {
            int hi = 0, lo = 255;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    hi = std::max(hi, g(c, x + dx, y + dy));
                    lo = std::min(lo, g(c, x + dx, y + dy));
                }
            return which == 0 ? hi : (which == 1 ? lo : Wk(c, x, y) - lo);
        });
    }
    void diffuse(int p) {
        long long half = nearest(p / 2.0);
        for (int y = 1; y <= H; ++y) {
            for (int x = 1; x <= W; ++x) {
                double u1 = rnd();
                double u2 = rnd();
                long long dx = nearest(p * u1 - half), dy = nearest(p * u2 - half);
                if (x + dx < 1 || x + dx > W)
                    dx = 0;
                if (y + dy < 1 || y + dy > H)
                    dy = 0;
                for (int c = 1; c <= 3; ++c)
                    Wk(c, x, y) = Wk(c, int(x + dx), int(y + dy));
            }
            rowDone(y);
        }
        report(100);
    }
    void mosaic(int p) { // blocks clipped to the picture
        for (int y = 1; y <= H; ++y) {
            for (int x = 1; x <= W; ++x) {
                int bx = (x - 1) / p * p + 1, by = (y - 1) / p * p + 1;
                for (int c = 1; c <= 3; ++c) {
                    long long sum = 0, n = 0;
                    for (int yy = by; yy < by + (long long)p && yy <= H; ++yy)
                        for (int xx = bx; xx < bx + (long long)p && xx <= W; ++xx)
                            sum += S(c, xx, yy), ++n;
                    Wk(c, x, y) = std::uint8_t(sum / n);
                }
            }
            rowDone(y);
        }
        report(100);
    }
    void orderedDither() {
        static const int m[4][4] = {{1, 13, 4, 16}, {9, 5, 12, 8}, {3, 15, 2, 14}, {11, 7, 10, 6}};
        perPixel([&](int x, int y) {
            int level = (S(1, x, y) + S(2, x, y) + S(3, x, y)) / 48 + 1;
            int v = level < m[(y - 1) % 4][(x - 1) % 4] ? 0 : 255;
            for (int c = 1; c <= 3; ++c)
                Wk(c, x, y) = v;
        });
    }
    void stretchLevels() { // a flat channel keeps its values
        int lo[4] = {0, 255, 255, 255}, hi[4] = {0, 0, 0, 0};
        for (int y = 1; y <= H; ++y) {
            for (int x = 1; x <= W; ++x)
                for (int c = 1; c <= 3; ++c)
                    lo[c] = std::min(lo[c], S(c, x, y)), hi[c] = std::max(hi[c], S(c, x, y));
            report(y * 10 / H);
        }
        report(10);
        for (int y = 1; y <= H; ++y) {
            for (int x = 1; x <= W; ++x)
                for (int c = 1; c <= 3; ++c)
                    if (hi[c] != lo[c])
                        Wk(c, x, y) = std::uint8_t(
                            nearest(double((S(c, x, y) - lo[c]) * 255) / (hi[c] - lo[c])));
            report(10 + y * 90 / H);
        }
        report(100);
    }
    void errorDiffusion(int code, int p) {
        struct Sh {
            int dy, dx, w;
        };
        std::vector<Sh> sh;
        int div, rows;
        if (code == 21)
            div = 16, rows = 2, sh = {{0, 1, 7}, {1, -1, 3}, {1, 0, 5}, {1, 1, 1}};
        else if (code == 22)
            div = 32, rows = 2,
            sh = {{0, 1, 8}, {0, 2, 4}, {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2}};
        else
            div = 42, rows = 3,
            sh = {{0, 1, 8}, {0, 2, 4},  {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4},
                  {1, 2, 2}, {2, -2, 1}, {2, -1, 2}, {2, 0, 4},  {2, 1, 2}, {2, 2, 1}};
        std::vector<std::vector<int>> err(rows, std::vector<int>(W + 1, 0));
        report(code == 21 ? 2 : 3);
        int mean = meanGrey();
        report(10);
        for (int y = 1; y <= H; ++y) {
            for (int x = 1; x <= W; ++x) {
                int g = grey(S(1, x, y) + S(2, x, y) + S(3, x, y));
                int v = clamp(g + (err[0][x] * 10) / p);
                int level = v < mean ? 0 : 255;
                for (int c = 1; c <= 3; ++c)
                    Wk(c, x, y) = level;
                int e = v - level;
                for (const Sh& s : sh) {
                    int xx = x + s.dx, yy = y + s.dy;
                    if (xx < 1 || xx > W || yy > H)
                        continue;
                    err[s.dy][xx] += e * s.w / div;
                }
            }
            for (int r = 0; r + 1 < rows; ++r)
                err[r] = err[r + 1];
            err[rows - 1].assign(W + 1, 0);
            report(10 + y * 90 / H);
        }
        report(100);
    }
    void sharpThreshold() {
        int mean = meanGrey();
        report(5);
        int carry = 0;
        for (int y = 1; y <= H; ++y) {
            for (int x = 1; x <= W; ++x) {
                int v3[3];
                for (int c = 1; c <= 3; ++c) {
                    if (x >= 2 && x <= W - 1 && y >= 2 && y <= H - 1) {
                        int n = 0;
                        for (int dy = -1; dy <= 1; ++dy)
                            for (int dx = -1; dx <= 1; ++dx)
                                if (dx || dy)
                                    n += S(c, x + dx, y + dy);
                        v3[c - 1] = clamp((10 * S(c, x, y) - n) / 2);
                    } else {
                        v3[c - 1] = S(c, x, y);
                    }
                }
                int v = clamp(grey(v3[0] + v3[1] + v3[2]) + carry);
                int level = v < mean ? 0 : 255;
                for (int c = 1; c <= 3; ++c)
                    Wk(c, x, y) = level;
                carry = (v - level) / 4;
            }
            report(5 + y * 95 / H);
        }
        report(100);
    }
    void kuwahara() {
        for (int y = 3; y <= H - 2; ++y) {
            for (int x = 3; x <= W - 2; ++x)
                for (int c = 1; c <= 3; ++c) {
                    const int ox[4] = {x - 2, x, x - 2, x}, oy[4] = {y - 2, y - 2, y, y};
                    int best = 99999, bestMean = 0;
                    for (int r = 0; r < 4; ++r) {
                        int sum = 0;
                        for (int j = 0; j < 3; ++j)
                            for (int i = 0; i < 3; ++i)
                                sum += S(c, ox[r] + i, oy[r] + j);
                        int mean = sum / 9, spread = 0;
                        for (int j = 0; j < 3; ++j)
                            for (int i = 0; i < 3; ++i)
                                spread += std::abs(S(c, ox[r] + i, oy[r] + j) - mean);
                        if (spread < best)
                            best = spread, bestMean = mean;
                    }
                    Wk(c, x, y) = bestMean;
                }
            rowDone(y);
        }
        report(100);
    }

    void run(int code, int p) {
        switch (code) {
        case 1:
            sharpen(p);
            break;
        case 2:
            negative();
            break;
        case 3:
            blur();
            break;
        case 4:
            diffuse(p);
            break;
        case 5:
            smooth();
            break;
        case 6:
            edgeEnhance(p);
            break;
        case 7:
            contour(p);
            break;
        case 8:
            emboss(p, false);
            break;
        case 9:
            gradient(p, false);
            break;
        case 10:
            emboss(p, true);
            break;
        case 11:
            gradient(p, true);
            break;
        case 12:
            grayScale();
            break;
        case 13:
            relief();
            break;
        case 14:
            brightness(p);
            break;
        case 15:
            mosaic(p);
            break;
        case 16:
            swapChannels(p);
            break;
        case 17:
            contrast(p);
            break;
        case 18:
            blackAndWhite(p);
            break;
        case 19:
            sharpThreshold();
            break;
        case 20:
            orderedDither();
            break;
        case 21:
        case 22:
        case 23:
            errorDiffusion(code, p);
            break;
        case 24:
            kuwahara();
            break;
        case 25:
            rank(0);
            break;
        case 26:
            rank(1);
            break;
        case 27:
            rank(2);
            break;
        case 28:
            stretchLevels();
            break;
        case 29:
            addNoise(p);
            break;
        case 30:
            saturation(p);
            break;
        case 31:
            gamma(p);
            break;
        }
    }
};

} // namespace imaging_test
