// The editor on a 6000 x 4000 picture: the transforms alone, each toolbar command as the user
// waits for it (new picture or copy included), and every menu filter through the editor's
// edited picture next to the plain copy that the editor adds to the engine's own time.
#include "editor/edited_picture.h"
#include "editor/editor_menus.h"
#include "imaging/filter_engine.h"
#include "imaging/transforms.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <cstring>
#include <memory>
#include <random>

namespace {

constexpr int kWidth = 6000, kHeight = 4000;

const QImage& scene() {
    static const QImage picture = [] {
        QImage p(kWidth, kHeight, QImage::Format_RGB32);
        std::mt19937 rng(3);
        for (int y = 0; y < kHeight; ++y) {
            auto* row = reinterpret_cast<QRgb*>(p.scanLine(y));
            for (int x = 0; x < kWidth; ++x)
                row[x] = qRgb(x * 255 / kWidth, y * 255 / kHeight, int(rng() & 0x3F) + 100);
        }
        return p;
    }();
    return picture;
}

void BM_AdjustBrightness(benchmark::State& state) {
    const QImage& in = scene();
    QImage out = editor::NewPicture(kWidth, kHeight);
    for (auto _ : state)
        imaging::AdjustBrightness(editor::readView(in), editor::viewOf(out), 40);
}
BENCHMARK(BM_AdjustBrightness)->Unit(benchmark::kMillisecond);

void BM_MirrorPicture(benchmark::State& state) {
    QImage p = scene().copy();
    for (auto _ : state)
        imaging::MirrorPicture(editor::viewOf(p));
}
BENCHMARK(BM_MirrorPicture)->Unit(benchmark::kMillisecond);

void BM_FlipPicture(benchmark::State& state) {
    QImage p = scene().copy();
    for (auto _ : state)
        imaging::FlipPicture(editor::viewOf(p));
}
BENCHMARK(BM_FlipPicture)->Unit(benchmark::kMillisecond);

void BM_RotateQuarter(benchmark::State& state) {
    const QImage& in = scene();
    QImage out = editor::NewPicture(kHeight, kWidth); // as the editor allocates it
    for (auto _ : state)
        imaging::RotateQuarter(editor::readView(in), editor::viewOf(out));
}
BENCHMARK(BM_RotateQuarter)->Unit(benchmark::kMillisecond);

// A toolbar command as the window runs it, from a freshly opened editor each time.
template <typename Command> void runCommand(benchmark::State& state, Command command) {
    for (auto _ : state) {
        state.PauseTiming();
        auto editing = std::make_unique<editor::EditedPicture>(scene());
        state.ResumeTiming();
        const editor::CommandResult r = command(*editing);
        benchmark::DoNotOptimize(r);
        state.PauseTiming();
        editing.reset();
        state.ResumeTiming();
    }
}

void BM_Command_Rotate(benchmark::State& state) {
    runCommand(state, [](editor::EditedPicture& s) { return s.rotate(); });
}
void BM_Command_Mirror(benchmark::State& state) {
    runCommand(state, [](editor::EditedPicture& s) { return s.mirror(); });
}
void BM_Command_Flip(benchmark::State& state) {
    runCommand(state, [](editor::EditedPicture& s) { return s.flip(); });
}
void BM_Command_Brightness(benchmark::State& state) {
    runCommand(state, [](editor::EditedPicture& s) { return s.brightness(40); });
}
BENCHMARK(BM_Command_Rotate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_Mirror)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_Flip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_Brightness)->Unit(benchmark::kMillisecond);

// Undo after a quarter turn: the picture before comes back from the history's 3-byte copy.
void BM_Command_Undo(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto editing = std::make_unique<editor::EditedPicture>(scene());
        editing->rotate();
        state.ResumeTiming();
        const editor::CommandResult r = editing->undo();
        benchmark::DoNotOptimize(r);
        state.PauseTiming();
        editing.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Command_Undo)->Unit(benchmark::kMillisecond);

// What the editor adds to a filter: the one copy of the picture it filters.
void BM_PictureCopy(benchmark::State& state) {
    for (auto _ : state) {
        QImage c = editor::NewPicture(kWidth, kHeight);
        std::memcpy(c.bits(), scene().constBits(), std::size_t(scene().sizeInBytes()));
        benchmark::DoNotOptimize(c.constBits());
    }
}
BENCHMARK(BM_PictureCopy)->Unit(benchmark::kMillisecond);

// Each menu item through the editor's edited picture (engine time plus that copy), and the engine
// alone on a picture restored outside the timed part.
void BM_MenuFilter(benchmark::State& state) {
    const editor::EditorMenuItem& item = editor::kEditorMenuItems[state.range(0)];
    state.SetLabel(std::string(item.control));
    std::int32_t progress = 0;
    runCommand(state, [&](editor::EditedPicture& s) {
        return s.takeFiltered(editor::RunFilter(s.current(), item.code, item.value, progress));
    });
}
void BM_EngineAlone(benchmark::State& state) {
    const editor::EditorMenuItem& item = editor::kEditorMenuItems[state.range(0)];
    state.SetLabel(std::string(item.control));
    QImage work = scene().copy();
    std::int32_t progress = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.bits(), scene().constBits(), std::size_t(scene().sizeInBytes()));
        state.ResumeTiming();
        imaging::ApplyFilter(item.code, editor::viewOf(work), item.value, progress);
    }
}
// The menu items that run a filter, by index into kEditorMenuItems.
void filterItems(benchmark::internal::Benchmark* b) {
    for (int i = 0; i < int(std::size(editor::kEditorMenuItems)); ++i)
        if (!editor::kEditorMenuItems[i].separator)
            b->Arg(i);
}
BENCHMARK(BM_MenuFilter)->Apply(filterItems)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineAlone)->Apply(filterItems)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
