// Saving a letter page scanned at 300 dpi (2549 x 3299), the picture the
// "Save" button usually carries, in each written format.
#include "pictures/save_picture.h"

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
    const QString path = dir.filePath(QString("page.") + suffix);
    const pictures::PictureFormat& format = *pictures::formatOf(path);
    for (auto _ : state)
        benchmark::DoNotOptimize(pictures::savePicture(page(), path, format, format.quality));
}

void BM_SaveBmp(benchmark::State& state) {
    saveAs(state, "BMP");
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

} // namespace

BENCHMARK(BM_SaveBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveTiff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveGif)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
