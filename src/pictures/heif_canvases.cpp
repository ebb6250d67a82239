#include "pictures/heif_canvases.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace pictureloader {

namespace {

// Big-endian fields out of a span of bytes; reading past its end leaves the
// reader failed, and every later read gives 0.
class Reader {
  public:
    Reader(const uint8_t* begin, const uint8_t* end) : at_(begin), end_(end) {}

    uint64_t number(int bytes) {
        if (bytes < 0 || end_ - at_ < bytes) {
            failed_ = true;
            at_ = end_;
            return 0;
        }
        uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value = value << 8 | *at_++;
        return value;
    }
    std::string_view fourcc() {
        const uint8_t* start = at_;
        number(4);
        return failed_ ? std::string_view()
                       : std::string_view(reinterpret_cast<const char*>(start), 4);
    }
    void skip(uint64_t bytes) {
        if (uint64_t(end_ - at_) < bytes) {
            failed_ = true;
            at_ = end_;
        } else {
            at_ += bytes;
        }
    }
    const uint8_t* at() const { return at_; }
    const uint8_t* end() const { return end_; }
    bool ok() const { return !failed_; }

  private:
    const uint8_t* at_;
    const uint8_t* end_;
    bool failed_ = false;
};

struct Box {
    std::string_view type;
    Reader content;
};

// The boxes one after another in `r`, each with its content.
std::vector<Box> boxes(Reader r) {
    std::vector<Box> list;
    while (r.ok() && r.at() < r.end()) {
        const uint8_t* start = r.at();
        uint64_t size = r.number(4);
        const std::string_view type = r.fourcc();
        if (size == 1)
            size = r.number(8);
        else if (size == 0)
            size = uint64_t(r.end() - start);
        const uint64_t header = uint64_t(r.at() - start);
        if (!r.ok() || size < header || size > uint64_t(r.end() - start))
            break;
        list.push_back({type, Reader(r.at(), start + size)});
        r.skip(size - header);
    }
    return list;
}

// Where an item's bytes are: its extents, in the file or in the "idat" box.
struct Location {
    uint64_t method = 0;
    std::vector<std::pair<uint64_t, uint64_t>> extents; // offset, length
};

std::map<uint64_t, Location> locations(Reader r) {
    std::map<uint64_t, Location> found;
    const uint64_t version = r.number(1);
    r.skip(3);
    const uint64_t sizes = r.number(2);
    const int offsetSize = int(sizes >> 12 & 15), lengthSize = int(sizes >> 8 & 15);
    const int baseSize = int(sizes >> 4 & 15);
    const int indexSize = version >= 1 ? int(sizes & 15) : 0;
    const uint64_t count = r.number(version < 2 ? 2 : 4);
    for (uint64_t i = 0; i < count && r.ok(); ++i) {
        const uint64_t id = r.number(version < 2 ? 2 : 4);
        Location location;
        if (version >= 1)
            location.method = r.number(2) & 15;
        r.skip(2); // data reference index
        const uint64_t base = r.number(baseSize);
        const uint64_t extents = r.number(2);
        for (uint64_t e = 0; e < extents && r.ok(); ++e) {
            r.skip(uint64_t(indexSize));
            const uint64_t offset = r.number(offsetSize);
            location.extents.emplace_back(base + offset, r.number(lengthSize));
        }
        if (r.ok())
            found.emplace(id, std::move(location));
    }
    return found;
}

// The grid and overlay pictures among the "infe" boxes: whether each is an
// overlay, by its id.
std::map<uint64_t, bool> derivedItems(Reader r) {
    std::map<uint64_t, bool> found;
    const uint64_t version = r.number(1);
    r.skip(3);
    r.skip(version == 0 ? 2 : 4); // the count: the boxes themselves tell
    for (Box infe : boxes(r)) {
        if (infe.type != "infe")
            continue;
        const uint64_t infeVersion = infe.content.number(1);
        infe.content.skip(3);
        if (infeVersion < 2)
            continue;
        const uint64_t id = infe.content.number(infeVersion == 2 ? 2 : 4);
        infe.content.skip(2); // protection index
        const std::string_view type = infe.content.fourcc();
        if (infe.content.ok() && (type == "grid" || type == "iovl"))
            found.emplace(id, type == "iovl");
    }
    return found;
}

// The first `wanted` bytes of an item, gathered from its extents.
std::vector<uint8_t> firstBytes(const Location& location, Reader file, std::optional<Reader> idat,
                                size_t wanted) {
    std::vector<uint8_t> bytes;
    if (location.method > 1 || (location.method == 1 && !idat))
        return bytes;
    const Reader& source = location.method == 1 ? *idat : file;
    const uint64_t available = uint64_t(source.end() - source.at());
    for (const auto& [offset, length] : location.extents) {
        if (bytes.size() >= wanted || offset >= available)
            break;
        // A length of 0 means all that follows.
        const uint64_t left = available - offset;
        const uint64_t take = std::min<uint64_t>(
            {length == 0 ? left : length, left, uint64_t(wanted - bytes.size())});
        bytes.insert(bytes.end(), source.at() + offset, source.at() + offset + take);
    }
    return bytes;
}

// The canvas a grid's or an overlay's data asks for, in pixels.
qint64 canvas(const std::vector<uint8_t>& data, bool overlay) {
    Reader r(data.data(), data.data() + data.size());
    r.skip(1); // version
    const int field = r.number(1) & 1 ? 4 : 2;
    r.skip(overlay ? 8 : 2); // the fill colour, or the rows and columns
    const uint64_t width = r.number(field), height = r.number(field);
    // Two 32-bit sides may not fit a signed product; no canvas is that large.
    return r.ok() ? qint64(std::min<uint64_t>(width * height, uint64_t(1) << 48)) : 0;
}

} // namespace

qint64 largestHeifCanvas(const QByteArray& bytes) {
    const auto* begin = reinterpret_cast<const uint8_t*>(bytes.constData());
    const Reader file(begin, begin + bytes.size());
    for (const Box& meta : boxes(file)) {
        if (meta.type != "meta")
            continue;
        Reader content = meta.content;
        content.skip(4); // version and flags
        std::map<uint64_t, bool> derived;
        std::map<uint64_t, Location> where;
        std::optional<Reader> idat;
        for (const Box& box : boxes(content)) {
            if (box.type == "iinf")
                derived = derivedItems(box.content);
            else if (box.type == "iloc")
                where = locations(box.content);
            else if (box.type == "idat")
                idat = box.content;
        }
        qint64 largest = 0;
        for (const auto& [id, overlay] : derived) {
            const auto found = where.find(id);
            if (found == where.end())
                continue;
            // The 32-bit sides of an overlay are the most there is to read.
            const std::vector<uint8_t> data = firstBytes(found->second, file, idat, 18);
            largest = std::max(largest, canvas(data, overlay));
        }
        return largest;
    }
    return 0;
}

} // namespace pictureloader
