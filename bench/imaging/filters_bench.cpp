// Every filter code through the whole ApplyFilter on a 6000 x 4000 picture. Each iteration
// starts from the same picture (restored outside the timed part), so cascading filters and
// filters that converge do the same work every time.
#include "editor/editor_menus.h"
#include "imaging/filter_engine.h"
#include "imaging/filter_table.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 6000, kHeight = 4000;

// A photograph-like picture: smooth gradients, a few hard edges and some grain.
const std::vector<std::uint8_t>& scene() {
    static const std::vector<std::uint8_t> pixels = [] {
        std::vector<std::uint8_t> p(std::size_t(kWidth) * kHeight * 4);
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> grain(-6, 6);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                std::uint8_t* px = &p[(std::size_t(y) * kWidth + x) * 4];
                const bool disc = (x - 3000) * (x - 3000) + (y - 2000) * (y - 2000) < 1200 * 1200;
                const int base[3] = {x * 255 / kWidth, y * 255 / kHeight, disc ? 230 : 60};
                for (int c = 0; c < 3; ++c)
                    px[c] = std::uint8_t(std::clamp(base[c] + grain(rng), 0, 255));
                px[3] = 0xFF;
            }
        return p;
    }();
    return pixels;
}

// The parameter each code runs with: the menu's value where a menu item requests the code.
std::int32_t parameterFor(int code) {
    for (const editor::EditorMenuItem& m : editor::kEditorMenuItems)
        if (!m.separator && m.code == code)
            return m.value;
    switch (code) {
    case 9:
    case 11:
        return imaging::RgbColour(0, 120, 120);
    case 14:
        return 20;
    case 15:
        return 8;
    case 16:
        return 4;
    case 21:
    case 22:
    case 23:
        return 10;
    case 31:
        return 150;
    default:
        return 0;
    }
}

void runFilter(benchmark::State& state, int code, std::int32_t parameter) {
    std::vector<std::uint8_t> picture = scene();
    std::int32_t progress = 0;
    for (auto _ : state) {
        const imaging::FilterOutcome out = imaging::ApplyFilter(
            code, {picture.data(), kWidth, kHeight, std::ptrdiff_t(kWidth) * 4}, parameter,
            progress, [] { return true; });
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
        state.PauseTiming();
        std::memcpy(picture.data(), scene().data(), picture.size());
        state.ResumeTiming();
    }
    state.SetLabel(std::string(imaging::FindFilter(code)->routine));
    state.SetItemsProcessed(state.iterations() * std::int64_t(kWidth) * kHeight);
}

// Every code with the parameter its menu item passes (or a typical one).
void BM_ApplyFilter(benchmark::State& state) {
    const int code = int(state.range(0));
    runFilter(state, code, parameterFor(code));
}

// A code with a parameter of its own: the menus' other direction of contrast and saturation.
void BM_ApplyFilterWith(benchmark::State& state) {
    runFilter(state, int(state.range(0)), std::int32_t(state.range(1)));
}

BENCHMARK(BM_ApplyFilter)->DenseRange(1, 31)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ApplyFilterWith)
    ->Args({17, -10})
    ->Args({30, -15})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
