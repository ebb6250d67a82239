#include "imaging/filter_engine.h"

#include "imaging/filter_run.h"
#include "imaging/filter_table.h"

#include <atomic>
#include <new>

namespace imaging {

namespace {

// Taken with an exchange, so that even a request from another thread is turned away.
std::atomic<bool> busy{false};

// Cleared however the run ends, so that the next request runs.
struct BusyGuard {
    BusyGuard() = default;
    ~BusyGuard() { busy = false; }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
};

FilterOutcome outcome(FilterOutcome::Status status, std::string message = {}) {
    return FilterOutcome{status, std::move(message)};
}

} // namespace

bool FilterBusy() {
    return busy;
}

void SplitColor(std::int32_t colour, int& red, int& green, int& blue) {
    // Only the low three bytes carry the colour; the top byte is ignored.
    const auto c = static_cast<std::uint32_t>(colour);
    red = int(c & 0xFF);
    green = int((c >> 8) & 0xFF);
    blue = int((c >> 16) & 0xFF);
}

FilterOutcome ApplyFilter(int code, BitmapView bitmap, std::int32_t parameter,
                          std::int32_t& progress, const EventHook& letInterfaceRun) {
    using Status = FilterOutcome::Status;
    if (busy)
        return outcome(Status::Busy, "A filter is already running.");
    const FilterInfo* filter = FindFilter(code);
    if (!filter)
        return outcome(Status::UnknownCode);
    if (bitmap.width < 0 || bitmap.height < 0 ||
        (bitmap.width > 0 && bitmap.height > 0 &&
         (bitmap.pixels == nullptr || bitmap.stride < std::ptrdiff_t(bitmap.width) * 4)))
        return outcome(Status::BadParameter, "The picture cannot be filtered.");
    if (const std::string_view problem = filter->refuse(parameter); !problem.empty())
        return outcome(Status::BadParameter, std::string(problem));

    if (busy.exchange(true))
        return outcome(Status::Busy, "A filter is already running.");
    BusyGuard guard;
    detail::FilterRun run{bitmap.pixels, bitmap.width, bitmap.height,
                          bitmap.stride, progress,     letInterfaceRun};
    // An empty picture has no rows to walk: nothing to read, nothing to write.
    if (bitmap.width == 0 || bitmap.height == 0)
        run.width = run.height = 0;
    try {
        filter->run(run, parameter);
    } catch (const std::bad_alloc&) {
        // Every filter takes its working memory before it changes a pixel.
        return outcome(Status::OutOfMemory, "Not enough memory to filter this picture.");
    }
    if (run.cancelled)
        return outcome(Status::Cancelled, "The filter was cancelled.");
    return outcome(Status::Done);
}

} // namespace imaging
