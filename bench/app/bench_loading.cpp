// A 24-megapixel JPEG: decoded in full by our loader, by Qt's reader and by
// libjpeg-turbo's own `djpeg`, and for the previews alone; and a click on it
// in the file list until the nine wallet previews are painted (the full
// decode goes on meanwhile on a worker thread). Wall time, least of several
// runs (the machine is shared). See README.md for the targets and figures.
#include "app/file_list.h"
#include "app/frmcovercreator.h"
#include "app/preview_image.h"
#include "pictures/picture_loader.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorSpace>
#include <QComboBox>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

// A click loads on a worker: the previews change once it has finished.
void clickFileAndWait(frmcovercreator& window) {
    window.fileSelect_Click();
    while (window.pictures().isLoading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

// The photo without a profile (taken as sRGB), or with Adobe RGB's.
QString photo(bool adobeRgb = false) {
    static QString paths[2];
    QString& path = paths[adobeRgb];
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
        if (adobeRgb)
            image.setColorSpace(QColorSpace::AdobeRgb);
        path = folder().filePath(adobeRgb ? "adobe.jpg" : "photo.jpg");
        image.save(path, "JPG", 90);
    }
    return path;
}

// djpeg in full, and at 1/8 size: the least a reduced decode can cost, as
// every coefficient must still be read from the file.
void BM_Djpeg(benchmark::State& state) {
    const QString path = photo();
    const QString scale = QStringLiteral("1/%1").arg(state.range(0));
    for (auto _ : state) {
        QProcess djpeg;
        djpeg.start("djpeg", {"-scale", scale, "-outfile", "/dev/null", path});
        if (!djpeg.waitForFinished(-1) || djpeg.exitCode() != 0)
            state.SkipWithError("djpeg did not run (Debian package libjpeg-turbo-progs)");
    }
}

// Arg 1: the photo carries an Adobe RGB profile, converted to sRGB.
void BM_FullDecode(benchmark::State& state) {
    const QString path = photo(state.range(0) == 1);
    for (auto _ : state) {
        const LoadedPicture loaded = pictureloader::load(path);
        benchmark::DoNotOptimize(loaded.image.constBits());
    }
}

void BM_QtReader(benchmark::State& state) {
    const QString path = photo();
    QImageReader::setAllocationLimit(1024);
    for (auto _ : state) {
        QImageReader reader(path);
        QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
}

// The decode a click shows the previews from: 1/8 size here.
void BM_PreviewDecode(benchmark::State& state) {
    const QString path = photo();
    QString error;
    const QByteArray bytes = *pictureloader::readFile(path, &error);
    const int side = frmcovercreator(folder().filePath("parvello.ini")).pictures().screenCopySide();
    const QSize box(side, side);
    for (auto _ : state)
        benchmark::DoNotOptimize(pictureloader::decodeReduced(path, bytes, box).image.constBits());
}

// The main window on the wallet tab, the photo clicked in its file list, and
// each of the nine previews painted once. The full decode this click starts
// is left to finish before the next click, untimed, as it does while a user
// looks at the previews.
void BM_ClickIntoNineWalletPreviews(benchmark::State& state) {
    const QString path = photo();
    frmcovercreator window(folder().filePath("parvello.ini"));
    window.SSTab1()->setCurrentIndex(4);
    window.fileSelect()->setPath(folder().path());
    window.fileSelect()->selectFile("photo.jpg");
    for (auto _ : state) {
        clickFileAndWait(window);
        for (int i = 10; i <= 18; ++i)
            benchmark::DoNotOptimize(window.previewImage(i)->grab().cacheKey());
        state.PauseTiming();
        benchmark::DoNotOptimize(window.pictures().picture(10).constBits());
        state.ResumeTiming();
    }
}

// The window with the photo in the wallet tab's nine previews made larger by
// a drag, one step: each preview's print made again at its new size and
// painted. Run it on the screen in question (the screen copies are made for
// its largest window).
void BM_ResizeWithNineWalletPreviews(benchmark::State& state) {
    const QString path = photo();
    frmcovercreator window(folder().filePath("parvello.ini"));
    window.SSTab1()->setCurrentIndex(4);
    window.fileSelect()->setPath(folder().path());
    window.fileSelect()->selectFile("photo.jpg");
    clickFileAndWait(window);
    window.show();
    int step = 0;
    for (auto _ : state) {
        window.resize(window.minimumSize() + QSize(200, 150) + QSize(step % 40, step % 40));
        ++step;
        benchmark::DoNotOptimize(window.SSTab1()->currentWidget()->grab().cacheKey());
    }
}

// "Print Preview" from the File menu with nine different 24-megapixel
// photos on the ticked wallet sheet, cropped to fill with cut guides: until
// its window has been painted.
void BM_PrintPreviewOfNineWalletPhotos(benchmark::State& state) {
    const QString path = photo();
    for (int i = 1; i <= 9; ++i)
        QFile::copy(path, folder().filePath(QStringLiteral("wallet%1.jpg").arg(i)));
    frmcovercreator window(folder().filePath("parvello.ini"));
    window.SSTab1()->setCurrentIndex(4);
    window.fileSelect()->setPath(folder().path());
    for (int i = 1; i <= 9; ++i) {
        window.Image_Click(10 + i);
        window.fileSelect()->selectFile(QStringLiteral("wallet%1.jpg").arg(i));
        clickFileAndWait(window);
    }
    for (int i = 11; i <= 19; ++i)
        benchmark::DoNotOptimize(window.pictures().picture(i - 1).constBits()); // decoded
    window.check(4)->setChecked(true);
    window.fillMode()->setCurrentText("Crop to fill");
    window.cutGuides()->setChecked(true);
    for (auto _ : state) {
        window.menuItem("printpreview")->trigger();
        QWidget* preview = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmPrintPreview" && w->isVisible())
                preview = w;
        if (!preview) {
            state.SkipWithError("no preview window");
            break;
        }
        benchmark::DoNotOptimize(preview->grab().cacheKey());
        delete preview;
    }
}

double least(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

void configure(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3)
        ->Repetitions(5)
        ->ComputeStatistics("least", least)
        ->ReportAggregatesOnly(true);
}

BENCHMARK(BM_Djpeg)->Arg(1)->Arg(8)->Apply(configure);
BENCHMARK(BM_FullDecode)->Arg(0)->Arg(1)->Apply(configure);
BENCHMARK(BM_QtReader)->Apply(configure);
BENCHMARK(BM_PreviewDecode)->Apply(configure);
BENCHMARK(BM_ClickIntoNineWalletPreviews)->Apply(configure);
BENCHMARK(BM_ResizeWithNineWalletPreviews)->Apply(configure);
BENCHMARK(BM_PrintPreviewOfNineWalletPhotos)->Apply(configure);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
