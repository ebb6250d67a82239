#include "common/jpeg_dc.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>

namespace jpegdc {

namespace {

// Codes up to this long are decoded with one lookup; longer ones bit by bit.
constexpr int AcLookup = 12;
constexpr int DcLookup = 9;
// The second thread's block starts that the first compares with its own:
// the two fall into step within a few dozen blocks on real files.
constexpr size_t SyncWindow = 1 << 16;
// Below this many blocks a second thread costs more than it saves.
constexpr size_t SplitFrom = 1 << 14;

// Canonical decoding, as libjpeg does it, for codes too long for the lookup.
struct Canonical {
    int32_t maxCode[17]; // the largest code of each length; -1 when none
    int32_t offset[17];  // symbol index minus code, for each length
    const uint8_t* symbols;

    // The symbol at the top of `bits`, and its length. A code that is none of
    // the table's is taken as symbol 0, as libjpeg does.
    int symbol(uint64_t bits, int& length) const {
        for (length = 1; length <= 16; ++length) {
            const int32_t code = int32_t(bits >> (64 - length));
            if (code <= maxCode[length])
                return symbols[offset[length] + code];
        }
        length = 16;
        return 0;
    }
};

// Fills `canonical`, and calls fill(code, length, symbol) for each code of
// at most `lookup` bits. False when the counts overflow the code space.
template <typename Fill>
bool walkCodes(const HuffmanTable& table, int lookup, Canonical& canonical, Fill fill) {
    canonical.symbols = table.symbols;
    int32_t code = 0;
    int index = 0;
    for (int length = 1; length <= 16; ++length) {
        canonical.offset[length] = index - code;
        for (int i = 0; i < table.counts[length]; ++i, ++code, ++index) {
            if (index >= 256 || code >= (int32_t(1) << length))
                return false;
            if (length <= lookup)
                fill(code, length, table.symbols[index]);
        }
        canonical.maxCode[length] = table.counts[length] ? code - 1 : -1;
        code <<= 1;
    }
    return true;
}

// An AC table entry, for the next AcLookup bits: the bits to skip (0-4) and
// how far the coefficient index moves (5-11) for the one or two codes with
// their values that those bits hold; and the same for the first code alone
// (12-16 and 17-23), for when it ends the block. The index moves past the
// run and the coefficient, 16 for a run of zeros, 64 at the end of block.
struct AcTable {
    uint32_t fast[1 << AcLookup];
    Canonical slow;

    bool build(const HuffmanTable& table) {
        if (!walkCodes(table, 0, slow, [](int32_t, int, uint8_t) {}))
            return false;
        for (uint32_t i = 0; i < (1u << AcLookup); ++i) {
            const uint64_t bits = uint64_t(i) << (64 - AcLookup);
            int length, second;
            const int n = code(bits, length);
            fast[i] = 0;
            if (length > AcLookup)
                continue; // too long: read bit by bit
            const int skip = length + (n & 31), step = n >> 5;
            fast[i] = uint32_t(skip | step << 5 | skip << 12 | step << 17);
            if (step == 64 || skip >= AcLookup)
                continue;
            const int m = code(bits << skip, second);
            const int both = skip + second + (m & 31);
            if (both <= AcLookup)
                fast[i] = uint32_t(both | (step + (m >> 5)) << 5 | skip << 12 | step << 17);
        }
        return true;
    }

    // The code at the top of `bits`: its value's size (bits 0-4) and step
    // (5-11); its own length through `length`.
    int code(uint64_t bits, int& length) const {
        const int symbol = slow.symbol(bits, length);
        const int run = symbol >> 4, size = symbol & 15;
        return size | (size ? run + 1 : run == 15 ? 16 : 64) << 5;
    }
};

// A DC table entry: the code's length (bits 0-4) and the value's (bits 5-8).
struct DcTable {
    uint16_t fast[1 << DcLookup];
    Canonical slow;

    bool build(const HuffmanTable& table) {
        std::memset(fast, 0, sizeof fast);
        return walkCodes(table, DcLookup, slow, [this](int32_t code, int length, uint8_t symbol) {
            const int first = code << (DcLookup - length), count = 1 << (DcLookup - length);
            std::fill_n(fast + first, count, uint16_t(length | (symbol & 15) << 5));
        });
    }
};

// Bits read from the top of a 64-bit buffer; the data is followed by zero
// padding.
struct BitReader {
    const uint8_t* base;
    const uint8_t* next;
    uint64_t buffer = 0;
    int count = 0;

    BitReader(const uint8_t* data, size_t byte) : base(data), next(data + byte) {}

    // Tops the buffer up when less than 32 bits are left: enough for any
    // code with its value.
    void refill() {
        if (count >= 32)
            return;
        uint64_t word;
        std::memcpy(&word, next, 8);
        buffer |= __builtin_bswap64(word) >> count;
        next += (63 - count) >> 3;
        count |= 56;
    }
    void skip(int n) {
        buffer <<= n;
        count -= n;
    }
    size_t position() const { return size_t(next - base) * 8 - size_t(count); }
    void seekByte(size_t byte) {
        next = base + byte;
        buffer = 0;
        count = 0;
    }
};

// The entropy-coded data without its stuffed zero bytes, with where each
// restart marker stood.
struct Stream {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0; // without the padding
    std::vector<size_t> restarts;
    bool complete = false; // a marker ends the scan: the file was not cut short inside it

    // Enough zeros after the data for a whole MCU of the longest codes.
    static constexpr size_t Padding = 4096;

    explicit Stream(const uint8_t* data, size_t length) : bytes(new uint8_t[length + Padding]) {
        const uint8_t* p = data;
        const uint8_t* end = data + length;
        uint8_t* out = bytes.get();
        while (p < end) {
            const auto* ff = static_cast<const uint8_t*>(std::memchr(p, 0xff, size_t(end - p)));
            const uint8_t* stop = ff ? ff : end;
            std::memcpy(out, p, size_t(stop - p));
            out += stop - p;
            if (!ff || ff + 1 >= end)
                break;
            const uint8_t code = ff[1];
            if (code == 0x00) {
                *out++ = 0xff;
                p = ff + 2;
            } else if (code >= 0xd0 && code <= 0xd7) {
                restarts.push_back(size_t(out - bytes.get()));
                p = ff + 2;
            } else if (code == 0xff) {
                p = ff + 1; // fill bytes before a marker
            } else {
                complete = true; // the end of the scan
                break;
            }
        }
        size = size_t(out - bytes.get());
        std::memset(out, 0, Padding);
    }
};

// Where each block of an MCU lands.
struct Layout {
    int mcusX = 0, mcusY = 0;
    int blocksPerMcu = 0;
    struct Block {
        int component;
        size_t offset, across, down; // in its plane: the MCU's first sample's offset, and steps
    } blocks[10];
    struct Plane {
        int h, v, width, height;
    };
    std::vector<Plane> planes;
    int maxH = 1, maxV = 1;

    explicit Layout(const Scan& scan) {
        const int n = int(scan.components.size());
        if (n == 1) {
            // A lone component's MCU is one block, whatever its sampling.
            mcusX = (scan.width + 7) / 8;
            mcusY = (scan.height + 7) / 8;
            blocksPerMcu = 1;
            blocks[0] = {0, 0, 1, size_t(mcusX)};
            planes.push_back({1, 1, mcusX, mcusY});
            return;
        }
        for (const Component& c : scan.components) {
            maxH = std::max(maxH, c.h);
            maxV = std::max(maxV, c.v);
        }
        mcusX = (scan.width + 8 * maxH - 1) / (8 * maxH);
        mcusY = (scan.height + 8 * maxV - 1) / (8 * maxV);
        for (int i = 0; i < n; ++i) {
            const Component& c = scan.components[size_t(i)];
            const int width = mcusX * c.h;
            for (int y = 0; y < c.v; ++y)
                for (int x = 0; x < c.h; ++x)
                    blocks[blocksPerMcu++] = {i, size_t(y * width + x), size_t(c.h),
                                              size_t(width * c.v)};
            planes.push_back({c.h, c.v, width, mcusY * c.v});
        }
    }
    size_t totalBlocks() const { return size_t(mcusX) * size_t(mcusY) * size_t(blocksPerMcu); }
};

int extend(uint32_t value, int size) {
    return value < (1u << (size - 1)) ? int(value) - (1 << size) + 1 : int(value);
}

// The second thread's reading from the middle of the data, on the guess
// that a block starts there in the first place of an MCU.
struct Guess {
    size_t startBit = 0;
    std::vector<size_t> starts; // where its first blocks began
    std::vector<int16_t> diffs; // each block's DC difference
    std::thread worker;
};

// The decoder's tables and the picture's DC samples, one plane a component.
class Decoder {
  public:
    Decoder(const Scan& scan, const Layout& layout, const Stream& stream)
        : m_scan(scan), m_layout(layout), m_stream(stream) {
        for (const Layout::Plane& p : layout.planes)
            m_planes.emplace_back(size_t(p.width) * size_t(p.height), uint8_t(128));
    }

    // The tables are valid: takes() checked them. Components with the same
    // table share one, which keeps them all in the cache.
    void buildTables() {
        const std::vector<Component>& all = m_scan.components;
        for (size_t i = 0; i < all.size(); ++i) {
            size_t dc = 0, ac = 0;
            while (std::memcmp(&all[dc].dc, &all[i].dc, sizeof(HuffmanTable)))
                ++dc;
            while (std::memcmp(&all[ac].ac, &all[i].ac, sizeof(HuffmanTable)))
                ++ac;
            if (dc == i) {
                m_dcTables.push_back(std::make_unique<DcTable>());
                m_dcTables.back()->build(all[i].dc);
            }
            if (ac == i) {
                m_acTables.push_back(std::make_unique<AcTable>());
                m_acTables.back()->build(all[i].ac);
            }
            m_dc.push_back(dc == i ? m_dcTables.back().get() : m_dc[dc]);
            m_ac.push_back(ac == i ? m_acTables.back().get() : m_ac[ac]);
        }
    }

    // Decodes MCUs [first, last), the predictions starting at zero (the
    // picture's start or a restart marker at `byte`). With a guess, stops at
    // the first block where the guess was in step and takes its differences
    // from there on. Blocks past the end of the data stay grey.
    void decodeMcus(size_t first, size_t last, size_t byte, Guess* guess) {
        BitReader bits(m_stream.bytes.get(), byte);
        const size_t end = m_stream.size * 8;
        const size_t perMcu = size_t(m_layout.blocksPerMcu);
        const size_t interval = size_t(m_scan.restartInterval);
        int32_t prediction[4] = {};
        size_t step = 0; // the guess's block being compared
        for (size_t mcu = first; mcu < last; ++mcu) {
            const size_t mcuX = mcu % size_t(m_layout.mcusX), mcuY = mcu / size_t(m_layout.mcusX);
            if (interval && mcu != first && mcu % interval == 0) {
                const size_t restart = mcu / interval - 1;
                if (restart >= m_stream.restarts.size())
                    return;
                bits.seekByte(m_stream.restarts[restart]);
                std::fill_n(prediction, 4, 0);
            }
            // As libjpeg: an MCU begun is read to its end, zeros standing
            // in for data cut short; the MCUs after it stay grey.
            if (bits.position() >= end)
                return;
            for (size_t b = 0; b < perMcu; ++b) {
                const size_t at = bits.position();
                if (guess && at >= guess->startBit) {
                    if (guess->worker.joinable())
                        guess->worker.join();
                    while (step < guess->starts.size() && guess->starts[step] < at)
                        ++step;
                    if (step == guess->starts.size()) {
                        guess = nullptr; // never in step: read on alone
                    } else if (guess->starts[step] == at && step % perMcu == b) {
                        follow(*guess, step, mcu * perMcu + b, prediction);
                        return;
                    }
                }
                const Layout::Block& where = m_layout.blocks[b];
                const int c = where.component;
                prediction[c] = add(prediction[c], block(bits, c));
                put(c, mcuY * where.down + mcuX * where.across + where.offset, prediction[c]);
            }
        }
    }

    // The guess's reading from `startByte` to the end of the data.
    void readGuess(Guess& guess, size_t startByte) const {
        BitReader bits(m_stream.bytes.get(), startByte);
        const size_t end = m_stream.size * 8;
        const size_t total = m_layout.totalBlocks();
        const size_t perMcu = size_t(m_layout.blocksPerMcu);
        guess.starts.reserve(std::min(total, SyncWindow));
        guess.diffs.reserve(total / 2 + total / 8);
        for (size_t j = 0; j < total; ++j) {
            const size_t at = bits.position();
            if (at >= end && j % perMcu == 0)
                break;
            if (j < SyncWindow)
                guess.starts.push_back(at);
            guess.diffs.push_back(int16_t(block(bits, m_layout.blocks[j % perMcu].component)));
        }
    }

    const std::vector<uint8_t>& plane(size_t component) const { return m_planes[component]; }

  private:
    static int32_t add(int32_t prediction, int diff) {
        return int32_t(uint32_t(prediction) + uint32_t(diff)); // damaged data wraps
    }

    // The DC difference of the block at the reader, which moves past it.
    int block(BitReader& bits, int component) const {
        bits.refill();
        const DcTable& dc = *m_dc[size_t(component)];
        int length, size;
        if (const uint16_t e = dc.fast[bits.buffer >> (64 - DcLookup)]) {
            length = e & 31;
            size = e >> 5;
        } else {
            size = dc.slow.symbol(bits.buffer, length) & 15;
        }
        bits.skip(length);
        const int diff = size ? extend(uint32_t(bits.buffer >> (64 - size)), size) : 0;
        bits.skip(size);

        const AcTable& ac = *m_ac[size_t(component)];
        for (int k = 1; k < 64;) {
            bits.refill();
            if (const uint32_t e = ac.fast[bits.buffer >> (64 - AcLookup)]) {
                if (k + int(e >> 17) >= 64) {
                    bits.skip((e >> 12) & 31); // the first code ends the block
                    break;
                }
                bits.skip(e & 31);
                k += (e >> 5) & 127;
                continue;
            }
            int codeLength;
            const int symbol = ac.slow.symbol(bits.buffer, codeLength);
            const int run = symbol >> 4, valueSize = symbol & 15;
            bits.skip(codeLength + valueSize);
            if (valueSize)
                k += run + 1;
            else if (run == 15)
                k += 16;
            else
                break;
        }
        return diff;
    }

    void follow(const Guess& guess, size_t step, size_t block, int32_t* prediction) {
        const size_t perMcu = size_t(m_layout.blocksPerMcu);
        const size_t mcus = size_t(m_layout.mcusX) * size_t(m_layout.mcusY);
        size_t mcu = block / perMcu, b = block % perMcu;
        for (; step < guess.diffs.size() && mcu < mcus; ++step) {
            const size_t mcuX = mcu % size_t(m_layout.mcusX), mcuY = mcu / size_t(m_layout.mcusX);
            const Layout::Block& where = m_layout.blocks[b];
            const int c = where.component;
            prediction[c] = add(prediction[c], guess.diffs[step]);
            put(c, mcuY * where.down + mcuX * where.across + where.offset, prediction[c]);
            if (++b == perMcu) {
                b = 0;
                ++mcu;
            }
        }
    }

    void put(int component, size_t index, int32_t dc) {
        // As libjpeg: the coefficient held in 16 bits, then a 1 x 1 inverse DCT.
        const int quant = m_scan.components[size_t(component)].dcQuant;
        const int value = ((int(int16_t(dc)) * quant + 4) >> 3) + 128;
        m_planes[size_t(component)][index] = uint8_t(std::clamp(value, 0, 255));
    }

    const Scan& m_scan;
    const Layout& m_layout;
    const Stream& m_stream;
    std::vector<std::unique_ptr<DcTable>> m_dcTables;
    std::vector<std::unique_ptr<AcTable>> m_acTables;
    std::vector<const DcTable*> m_dc; // each component's
    std::vector<const AcTable*> m_ac;
    std::vector<std::vector<uint8_t>> m_planes;
};

// Splits the reading between two threads: at the restart marker nearest the
// middle when there are markers, else on a guess.
void decodeAll(Decoder& decoder, const Scan& scan, const Layout& layout, const Stream& stream) {
    const size_t mcus = size_t(layout.mcusX) * size_t(layout.mcusY);
    if (layout.totalBlocks() < SplitFrom) {
        decoder.decodeMcus(0, mcus, 0, nullptr);
        return;
    }
    try {
        if (scan.restartInterval) {
            const auto middle =
                std::lower_bound(stream.restarts.begin(), stream.restarts.end(), stream.size / 2);
            const size_t split =
                size_t(middle - stream.restarts.begin() + 1) * size_t(scan.restartInterval);
            if (middle == stream.restarts.end() || split >= mcus) {
                decoder.decodeMcus(0, mcus, 0, nullptr);
                return;
            }
            std::thread second([&] { decoder.decodeMcus(split, mcus, *middle, nullptr); });
            decoder.decodeMcus(0, split, 0, nullptr);
            second.join();
            return;
        }
        Guess guess;
        guess.startBit = stream.size / 2 * 8;
        guess.worker = std::thread([&] { decoder.readGuess(guess, stream.size / 2); });
        decoder.decodeMcus(0, mcus, 0, &guess);
        if (guess.worker.joinable())
            guess.worker.join();
    } catch (const std::system_error&) {
        decoder.decodeMcus(0, mcus, 0, nullptr); // no second thread to be had
    }
}

// libjpeg's YCbCr to RGB arithmetic, 16 fraction bits.
struct YccTables {
    int crR[256], cbB[256];
    int32_t crG[256], cbG[256];
    YccTables() {
        constexpr int Bits = 16;
        constexpr int32_t Half = 1 << (Bits - 1);
        auto fix = [](double x) { return int32_t(x * (1 << Bits) + 0.5); };
        for (int i = 0; i < 256; ++i) {
            const int32_t x = i - 128;
            crR[i] = int((fix(1.40200) * x + Half) >> Bits);
            cbB[i] = int((fix(1.77200) * x + Half) >> Bits);
            crG[i] = -fix(0.71414) * x;
            cbG[i] = -fix(0.34414) * x + Half;
        }
    }
};

uint8_t clamp8(int v) {
    return uint8_t(std::clamp(v, 0, 255));
}

void toPixels(const Decoder& decoder, const Scan& scan, const Layout& layout, uint32_t* out,
              ptrdiff_t stride) {
    const int w = (scan.width + 7) / 8, h = (scan.height + 7) / 8;
    auto row = [&](int y) {
        return reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(out) + y * stride);
    };
    if (scan.components.size() == 1) {
        for (int y = 0; y < h; ++y) {
            const uint8_t* grey =
                decoder.plane(0).data() + size_t(y) * size_t(layout.planes[0].width);
            uint32_t* line = row(y);
            for (int x = 0; x < w; ++x)
                line[x] = 0xff000000u | uint32_t(grey[x]) * 0x010101u;
        }
        return;
    }
    static const YccTables ycc;
    // Which sample of each plane every column takes.
    std::vector<int> columns[3];
    for (size_t c = 0; c < 3; ++c)
        for (int x = 0; x < w; ++x)
            columns[c].push_back(x * layout.planes[c].h / layout.maxH);
    for (int y = 0; y < h; ++y) {
        const uint8_t* p[3];
        for (size_t c = 0; c < 3; ++c) {
            const Layout::Plane& plane = layout.planes[c];
            p[c] =
                decoder.plane(c).data() + size_t(y * plane.v / layout.maxV) * size_t(plane.width);
        }
        uint32_t* line = row(y);
        for (int x = 0; x < w; ++x) {
            const int a = p[0][columns[0][size_t(x)]];
            const int b = p[1][columns[1][size_t(x)]];
            const int c = p[2][columns[2][size_t(x)]];
            uint8_t r = uint8_t(a), g = uint8_t(b), bl = uint8_t(c);
            if (scan.ycc) {
                r = clamp8(a + ycc.crR[c]);
                g = clamp8(a + int((ycc.cbG[b] + ycc.crG[c]) >> 16));
                bl = clamp8(a + ycc.cbB[b]);
            }
            line[x] = 0xff000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | bl;
        }
    }
}

// Whether the scan is one this reader decodes: sampling factors that tile an
// MCU, at most 10 blocks an MCU, and sound Huffman tables.
bool takes(const Scan& scan) {
    if (scan.width <= 0 || scan.height <= 0 ||
        (scan.components.size() != 1 && scan.components.size() != 3))
        return false;
    int maxH = 1, maxV = 1, blocks = 0;
    for (const Component& c : scan.components) {
        if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4)
            return false;
        maxH = std::max(maxH, c.h);
        maxV = std::max(maxV, c.v);
        blocks += c.h * c.v;
    }
    for (const Component& c : scan.components)
        if (maxH % c.h || maxV % c.v)
            return false;
    if (scan.components.size() > 1 && blocks > 10)
        return false;
    Canonical unused;
    auto none = [](int32_t, int, uint8_t) {};
    auto dcSizes = [](const HuffmanTable& t) {
        int used = 0;
        for (int n = 1; n <= 16; ++n)
            used += t.counts[n];
        return std::all_of(t.symbols, t.symbols + std::min(used, 256),
                           [](uint8_t s) { return s < 16; });
    };
    for (const Component& c : scan.components)
        if (!walkCodes(c.dc, 0, unused, none) || !walkCodes(c.ac, 0, unused, none) ||
            !dcSizes(c.dc))
            return false;
    return true;
}

} // namespace

bool decode(const Scan& scan, uint32_t* out, ptrdiff_t stride) {
    if (!takes(scan))
        return false;
    const Stream stream(scan.data, scan.size);
    if (!stream.complete)
        return false;
    const Layout layout(scan);
    Decoder decoder(scan, layout, stream);
    decoder.buildTables();
    decodeAll(decoder, scan, layout, stream);
    toPixels(decoder, scan, layout, out, stride);
    return true;
}

} // namespace jpegdc
