// One 24-megapixel JPEG into the nine wallet previews, against one plain
// decode of the same file by the same reader. The target: at most 1.3 times.
#include "app/picture_loader.h"
#include "app/preview_image.h"

#include <QApplication>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

QString photo() {
    static QTemporaryDir dir;
    static QString path;
    if (path.isEmpty()) {
        // Smooth gradients with some fine detail, like a photograph.
        QImage image(6000, 4000, QImage::Format_RGB32);
        QPainter p(&image);
        QLinearGradient g(0, 0, 6000, 4000);
        g.setColorAt(0, QColor(40, 80, 160));
        g.setColorAt(0.5, QColor(230, 190, 120));
        g.setColorAt(1, QColor(30, 110, 60));
        p.fillRect(image.rect(), g);
        QRandomGenerator rng(7);
        for (int i = 0; i < 4000; ++i) {
            p.setPen(QColor::fromRgb(rng.generate()));
            p.drawEllipse(QPointF(rng.bounded(6000), rng.bounded(4000)), rng.bounded(200),
                          rng.bounded(200));
        }
        p.end();
        path = dir.filePath("photo.jpg");
        image.save(path, "JPG", 90);
    }
    return path;
}

void BM_PlainDecode(benchmark::State& state) {
    const QString path = photo();
    QImageReader::setAllocationLimit(1024);
    for (auto _ : state) {
        QImageReader reader(path);
        QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_LoadIntoNinePreviews(benchmark::State& state) {
    const QString path = photo();
    std::vector<std::unique_ptr<PreviewImage>> previews;
    for (int i = 11; i <= 19; ++i) {
        previews.push_back(std::make_unique<PreviewImage>(i));
        previews.back()->resize(121, 107);
    }
    for (auto _ : state) {
        const LoadedPicture loaded = pictureloader::load(path);
        const QImage screen = makeScreenCopy(loaded.image);
        for (auto& p : previews)
            p->setPicture(loaded.image, screen);
        // What the screen then shows: each box painted once.
        for (auto& p : previews)
            benchmark::DoNotOptimize(p->grab().cacheKey());
    }
}

BENCHMARK(BM_PlainDecode)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_LoadIntoNinePreviews)->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
