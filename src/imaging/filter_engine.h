// The filter engine: one entry point that runs any of the editor's picture filters on a
// caller-owned 32-bit pixel buffer. Pure C++: no toolkit types cross this border.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace imaging {

// 32-bit pixels, top-down rows, bytes blue, green, red, fourth byte; stride in bytes (>= 4*width).
struct BitmapView {
    std::uint8_t* pixels;
    int width;
    int height;
    std::ptrdiff_t stride;
};

// Called after every row: lets the interface run. Returns false to cancel the running filter.
using EventHook = std::function<bool()>;

struct FilterOutcome {
    enum class Status { Done, Busy, UnknownCode, BadParameter, OutOfMemory, Cancelled };
    Status status;
    std::string message; // message: short, for the user; empty when Done
    bool ok() const { return status == Status::Done || status == Status::UnknownCode; }
};

// Runs filter `code` (one of kFilters in filter_table.h) on the picture in place. The fourth byte
// of every pixel is left as it is. `progress` receives the completion percentage as rows finish; it
// is never read. Busy, BadParameter and OutOfMemory leave the picture and `progress` untouched; an
// unknown code leaves the picture unchanged and does not touch `progress`. After Cancelled the
// picture content is unspecified.
FilterOutcome ApplyFilter(int code, BitmapView bitmap, std::int32_t parameter,
                          std::int32_t& progress, const EventHook& letInterfaceRun = {});

// True while ApplyFilter runs (a request from inside the event hook is turned away).
bool FilterBusy();

// Colour parameters carry red in the lowest byte, green in the next and blue in the third.
constexpr std::int32_t RgbColour(int red, int green, int blue) {
    return red | (green << 8) | (blue << 16);
}
void SplitColor(std::int32_t colour, int& red, int& green, int& blue);

} // namespace imaging
