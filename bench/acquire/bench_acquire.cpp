// Writing and reading a letter page scanned at 300 dpi (2549 x 3299), the
// picture the "Save" button and the staging file usually carry.
#include "acquire/bmpfile.h"
#include "acquire/gdiplus.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QImage& page() {
    static const QImage image = [] {
        // Smooth colour with fine detail, like a photograph on a page.
        QImage img(2549, 3299, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                row[x] = qRgb((x / 10) % 256, (y / 13) % 256, ((x ^ y) & 31) + (x + y) / 40 % 200);
        }
        return img;
    }();
    return image;
}

void saveAs(benchmark::State& state, const char* suffix) {
    QTemporaryDir dir;
    acquire::cGdiPlus saver;
    const QString path = dir.filePath(QString("page.") + suffix);
    for (auto _ : state)
        benchmark::DoNotOptimize(saver.PictureBoxToFile(page(), path, 85));
}

void BM_SaveBmpOwnWriter(benchmark::State& state) {
    QTemporaryDir dir;
    for (auto _ : state)
        benchmark::DoNotOptimize(acquire::writeWindowsBitmap(page(), dir.filePath("page.BMP")));
}
void BM_SaveBmpEncoder(benchmark::State& state) {
    saveAs(state, "bmp");
}
void BM_SaveJpeg(benchmark::State& state) {
    saveAs(state, "jpg");
}
void BM_SavePng(benchmark::State& state) {
    saveAs(state, "png");
}
void BM_SaveTiff(benchmark::State& state) {
    saveAs(state, "tif");
}
void BM_SaveGif(benchmark::State& state) {
    saveAs(state, "gif");
}

void BM_ReadStagingBitmap(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("temp.bmp");
    acquire::writeWindowsBitmap(page(), path);
    for (auto _ : state)
        benchmark::DoNotOptimize(acquire::readWindowsBitmap(path));
}

} // namespace

BENCHMARK(BM_SaveBmpOwnWriter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBmpEncoder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveTiff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveGif)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadStagingBitmap)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
