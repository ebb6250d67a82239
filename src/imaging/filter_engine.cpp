#include "imaging/filter_engine.h"

#include "imaging/filter_run.h"

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

// Parameters that would make a filter divide by zero (or walk blocks of no size).
std::string parameterProblem(int code, std::int64_t p) {
    switch (code) {
    case 1:
        if (p + 8 == 0)
            return "Sharpen strength -8 is not allowed.";
        break;
    case 6:
        if (p + 1 == 0)
            return "Edge enhance strength -1 is not allowed.";
        break;
    case 15:
        if (p < 1)
            return "The mosaic block size must be at least 1.";
        break;
    case 21:
    case 22:
    case 23:
        if (p == 0)
            return "The error scale must not be 0.";
        break;
    case 31:
        if (p == 0)
            return "A gamma of 0 is not allowed.";
        break;
    default:
        break;
    }
    return {};
}

void runFilter(int code, detail::FilterRun& run, std::int32_t p) {
    using namespace detail;
    switch (code) {
    case 1:
        FilterSharpen(run, p);
        break;
    case 2:
        FilterNegative(run);
        break;
    case 3:
        FilterBlur(run);
        break;
    case 4:
        FilterDiffuse(run, p);
        break;
    case 5:
        FilterSmooth(run);
        break;
    case 6:
        FilterEdgeEnhance(run, p);
        break;
    case 7:
        FilterContour(run, p);
        break;
    case 8:
        FilterEmboss(run, p);
        break;
    case 9:
        FilterEmbossGradient(run, p);
        break;
    case 10:
        FilterEngrave(run, p);
        break;
    case 11:
        FilterEngraveGradient(run, p);
        break;
    case 12:
        FilterGrayScale(run);
        break;
    case 13:
        FilterRelief(run);
        break;
    case 14:
        FilterBrightness(run, p);
        break;
    case 15:
        FilterMosaic(run, p);
        break;
    case 16:
        FilterSwapChannels(run, p);
        break;
    case 17:
        FilterContrast(run, p);
        break;
    case 18:
        FilterBlackAndWhite(run, p);
        break;
    case 19:
        FilterSharpThreshold(run);
        break;
    case 20:
        FilterOrderedDither(run);
        break;
    case 21:
    case 22:
    case 23:
        FilterErrorDiffusion(run, code, p);
        break;
    case 24:
        FilterKuwahara(run);
        break;
    case 25:
        FilterDilate(run);
        break;
    case 26:
        FilterErode(run);
        break;
    case 27:
        FilterEdgeDetect(run);
        break;
    case 28:
        FilterStretchLevels(run);
        break;
    case 29:
        FilterAddNoise(run, p);
        break;
    case 30:
        FilterSaturation(run, p);
        break;
    case 31:
        FilterGamma(run, p);
        break;
    default:
        break;
    }
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
    if (code < 1 || code > 31)
        return outcome(Status::UnknownCode);
    if (bitmap.width < 0 || bitmap.height < 0 ||
        (bitmap.width > 0 && bitmap.height > 0 &&
         (bitmap.pixels == nullptr || bitmap.stride < std::ptrdiff_t(bitmap.width) * 4)))
        return outcome(Status::BadParameter, "The picture cannot be filtered.");
    if (std::string problem = parameterProblem(code, parameter); !problem.empty())
        return outcome(Status::BadParameter, std::move(problem));

    if (busy.exchange(true))
        return outcome(Status::Busy, "A filter is already running.");
    BusyGuard guard;
    detail::FilterRun run{bitmap.pixels, bitmap.width, bitmap.height,
                          bitmap.stride, progress,     letInterfaceRun};
    // An empty picture has no rows to walk: nothing to read, nothing to write.
    if (bitmap.width == 0 || bitmap.height == 0)
        run.width = run.height = 0;
    try {
        runFilter(code, run, parameter);
    } catch (const std::bad_alloc&) {
        // Every filter takes its working memory before it changes a pixel.
        return outcome(Status::OutOfMemory, "Not enough memory to filter this picture.");
    }
    if (run.cancelled)
        return outcome(Status::Cancelled, "The filter was cancelled.");
    return outcome(Status::Done);
}

} // namespace imaging
