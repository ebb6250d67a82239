#include "notify/gradient.h"

#include "imaging/rounding.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace notify {

namespace {

// Nearest integer, a tie to the even one (the program's rounding rule).
qint32 roundEven(double v) {
    return qint32(imaging::roundEven(v));
}

QRgb toRgb(ColorValue c) {
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

ColorValue fromQColor(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}

// A one-pixel solid line from (x0, y0) towards (x1, y1); the end pixel is
// not drawn, so consecutive lines never paint a pixel twice.
void drawLine(QImage& img, int x0, int y0, int x1, int y1, QRgb colour) {
    const int w = img.width();
    const int h = img.height();
    const qint64 dx = std::abs(qint64(x1) - x0);
    const qint64 dy = std::abs(qint64(y1) - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    qint64 x = x0;
    qint64 y = y0;
    if (dx >= dy) {
        qint64 err = dx / 2;
        for (qint64 i = 0; i < dx; ++i) {
            if (x >= 0 && x < w && y >= 0 && y < h)
                reinterpret_cast<QRgb*>(img.scanLine(int(y)))[x] = colour;
            x += sx;
            err -= dy;
            if (err < 0) {
                y += sy;
                err += dx;
            }
        }
    } else {
        qint64 err = dy / 2;
        for (qint64 i = 0; i < dy; ++i) {
            if (x >= 0 && x < w && y >= 0 && y < h)
                reinterpret_cast<QRgb*>(img.scanLine(int(y)))[x] = colour;
            y += sy;
            err -= dx;
            if (err < 0) {
                x += sx;
                err += dy;
            }
        }
    }
}

} // namespace

void msnpopupGradient::setAngle(float fData) {
    m_angle = float(fData - std::floor(double(fData) / 360.0) * 360.0);
    if (m_angle >= 360.0f) // a tiny negative angle can round up to 360
        m_angle = 0.0f;
}

ColorValue msnpopupGradient::resolveColor(ColorValue value) {
    if (!(value & 0x80000000u))
        return value;
    const ColorValue index = value & 0x7FFFFFFFu;
    if (index > 24)
        return value;
    // The desktop's colour scheme, by the classic system-colour numbers.
    static constexpr QPalette::ColorRole roles[25] = {QPalette::Mid,
                                                      QPalette::Window,
                                                      QPalette::Highlight,
                                                      QPalette::Mid,
                                                      QPalette::Window,
                                                      QPalette::Base,
                                                      QPalette::Shadow,
                                                      QPalette::WindowText,
                                                      QPalette::Text,
                                                      QPalette::HighlightedText,
                                                      QPalette::Button,
                                                      QPalette::Button,
                                                      QPalette::Mid,
                                                      QPalette::Highlight,
                                                      QPalette::HighlightedText,
                                                      QPalette::Button,
                                                      QPalette::Dark,
                                                      QPalette::Text,
                                                      QPalette::ButtonText,
                                                      QPalette::WindowText,
                                                      QPalette::Light,
                                                      QPalette::Shadow,
                                                      QPalette::Midlight,
                                                      QPalette::ToolTipText,
                                                      QPalette::ToolTipBase};
    const QPalette pal = QGuiApplication::palette();
    // Grey text and inactive caption text are the disabled shades.
    const bool disabled = index == 17 || index == 19;
    return fromQColor(pal.color(disabled ? QPalette::Disabled : QPalette::Active, roles[index]));
}

qint32 msnpopupGradient::BlendColors(ColorValue lColor1, ColorValue lColor2, qint32 lSteps,
                                     std::vector<ColorValue>& laRetColors) {
    if (lSteps < 2)
        lSteps = 2;
    const int r1 = int(lColor1 & 0xFF), g1 = int((lColor1 >> 8) & 0xFF),
              b1 = int((lColor1 >> 16) & 0xFF);
    const int r2 = int(lColor2 & 0xFF), g2 = int((lColor2 >> 8) & 0xFF),
              b2 = int((lColor2 >> 16) & 0xFF);
    const float stepR = float(SafeDivide(r2 - r1, lSteps));
    const float stepG = float(SafeDivide(g2 - g1, lSteps));
    const float stepB = float(SafeDivide(b2 - b1, lSteps));
    laRetColors.assign(size_t(lSteps), 0);
    laRetColors[0] = lColor1;
    laRetColors[size_t(lSteps) - 1] = lColor2;
    for (qint32 i = 1; i <= lSteps - 2; ++i) {
        const qint32 r = roundEven(double(i) * stepR + r1);
        const qint32 g = roundEven(double(i) * stepG + g1);
        const qint32 b = roundEven(double(i) * stepB + b1);
        laRetColors[size_t(i)] = ColorValue(r + g * 256 + b * 65536);
    }
    return lSteps;
}

void msnpopupGradient::RotatePoint(const PointF& origin, PointF& point, double degrees) {
    const double t = degrees * 0.017453292519943278;
    const double dx = double(point.x) - origin.x;
    const double dy = double(point.y) - origin.y;
    point.x = float(origin.x + dx * std::cos(t) + dy * std::sin(t));
    point.y = float(origin.y - dx * std::sin(t) + dy * std::cos(t));
}

bool msnpopupGradient::Draw(QImage& surface) const {
    if (surface.isNull() || surface.width() <= 1 || surface.height() <= 1)
        return false;
    if (surface.format() != QImage::Format_RGB32 && surface.format() != QImage::Format_ARGB32)
        surface = surface.convertToFormat(QImage::Format_RGB32);
    return GradientFill(surface, surface.width(), surface.height()) > 0;
}

qint32 msnpopupGradient::GradientFill(QImage& surface, int W, int H) const {
    const PointF centre{float(W / 2), float(H / 2)};
    const double M = H < W ? W : H;
    const float L = float((std::sqrt(M * M + M * M) + 2.0) / 2.0);
    PointF p0{centre.x - L, centre.y};
    PointF p1{centre.x + L, centre.y};
    const double turn = std::fmod(double(m_angle) + 90.0, 360.0);
    RotatePoint(centre, p0, turn);
    RotatePoint(centre, p1, turn);

    const float dx = std::fabs(p0.x - p1.x);
    const float dy = std::fabs(p0.y - p1.y);
    float ox = 0, oy = 0;
    int sx = 0, sy = 0;
    const float a = m_angle;
    if (dx > dy) { // a flat sweep line moves vertically
        if (a <= 180) {
            oy = H - std::min(p0.y, p1.y);
            sy = -1;
        } else {
            oy = -std::max(p0.y, p1.y);
            sy = 1;
        }
    } else { // a steep one moves horizontally
        if (a <= 90 || a > 270) {
            ox = -std::max(p0.x, p1.x);
            sx = 1;
        } else {
            ox = W - std::min(p0.x, p1.x);
            sx = -1;
        }
    }

    struct End {
        qint32 x;
        qint32 y;
    };
    std::vector<End> ends;
    ends.push_back({roundEven(double(ox) + p0.x), roundEven(double(oy) + p0.y)});
    ends.push_back({roundEven(double(ox) + p1.x), roundEven(double(oy) + p1.y)});
    for (;;) {
        const End next{ends[ends.size() - 2].x + sx, ends[ends.size() - 2].y + sy};
        ends.push_back(next);
        const End& e1 = ends[ends.size() - 1];
        const End& e2 = ends[ends.size() - 2];
        bool done;
        if (sx > 0)
            done = e1.x > W && e2.x > W;
        else if (sx < 0)
            done = e1.x < 0 && e2.x < 0;
        else if (sy > 0)
            done = e1.y > H && e2.y > H;
        else
            done = e1.y < 0 && e2.y < 0;
        if (done)
            break;
    }

    const qint32 n = qint32(ends.size());
    std::vector<ColorValue> palette;
    BlendColors(m_color1, m_color2, roundEven(n / 2.0), palette);
    qint32 i = 0;
    for (; i <= n - 2; i += 2)
        drawLine(surface, ends[size_t(i)].x, ends[size_t(i)].y, ends[size_t(i) + 1].x,
                 ends[size_t(i) + 1].y, toRgb(palette[size_t(i / 2)]));
    return i;
}

} // namespace notify
