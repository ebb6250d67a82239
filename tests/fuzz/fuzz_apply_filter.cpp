// Every filter on small pictures of fuzzed size, code, parameter and pixels.
// The picture sits between guard bytes inside a wider stride: a filter may
// touch its own rows only, and never the fourth byte of a pixel.
#include "fuzz_support.h"
#include "imaging/filter_engine.h"

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8)
        return 0;
    const int code = int(int8_t(data[0])); // mostly 1 ... 31, some unknown codes
    const int width = 1 + data[1] % 48;
    const int height = 1 + data[2] % 48;
    const int padding = 4 * (data[3] % 3);
    std::int32_t parameter;
    std::memcpy(&parameter, data + 4, 4);
    data += 8;
    size -= 8;

    const std::ptrdiff_t stride = 4 * width + padding;
    constexpr uint8_t guard = 0xA5;
    std::vector<uint8_t> buffer(size_t(stride * height + 64), guard);
    uint8_t* pixels = buffer.data() + 32;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < 4 * width; ++x) {
            const size_t i = size_t(y * 4 * width + x);
            pixels[y * stride + x] = size ? data[i % size] : uint8_t(i);
        }
    const std::vector<uint8_t> before = buffer;

    std::int32_t progress = -1;
    int hookCalls = 0;
    const imaging::EventHook hook = [&] { return ++hookCalls < 10000; };
    const imaging::FilterOutcome outcome =
        imaging::ApplyFilter(code, {pixels, width, height, stride}, parameter, progress, hook);

    using S = imaging::FilterOutcome::Status;
    fuzz::check(!imaging::FilterBusy(), "still busy after the filter returned");
    fuzz::check(outcome.status != S::Busy, "busy with no other filter running");
    for (size_t i = 0; i < 32; ++i)
        fuzz::check(buffer[i] == guard && buffer[buffer.size() - 1 - i] == guard,
                    "a write before or after the picture");
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            fuzz::check(pixels[y * stride + 4 * x + 3] ==
                            before[size_t(32 + y * stride + 4 * x + 3)],
                        "the fourth byte changed");
        for (int p = 0; p < padding; ++p)
            fuzz::check(pixels[y * stride + 4 * width + p] == guard, "a write in the row padding");
    }
    if (outcome.status == S::UnknownCode || outcome.status == S::BadParameter ||
        outcome.status == S::OutOfMemory) {
        fuzz::check(buffer == before, "a refused filter changed the picture");
        fuzz::check(progress == -1, "a refused filter reported progress");
    }
    if (outcome.status == S::Done)
        fuzz::check(progress >= 0 && progress <= 100, "progress outside 0 ... 100");
    if (outcome.status == S::Done)
        fuzz::check(outcome.message.empty(), "a message on success");
    return 0;
}
