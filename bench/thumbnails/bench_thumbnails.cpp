// Thumbnails of every file of a folder through the ThumbnailMaker, as the
// browser asks for them, timed from the first request to the last answer.
//
//   bench_thumbnails make <folder> [count]   count (200) photo-like 4000 x 3000 JPEGs
//   bench_thumbnails <folder> [pixels]       thumbnails of each file (256), in a fresh
//                                            cache of its own unless XDG_CACHE_HOME is set
//
// It prints the number of files, of failures and the time; the time of the
// whole process is what compares with another program.

#include "thumbnails/thumbnail_maker.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

// Gradients, sharp-edged shapes and sensor noise: about as much for the
// JPEG decoder to read as a real photograph of the same size.
QImage photo(int seed) {
    QImage image(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator rng(quint32(seed) * 7919u + 1);
    QPainter p(&image);
    QLinearGradient g(0, 0, image.width(), image.height());
    g.setColorAt(0, QColor::fromRgb(rng.generate()));
    g.setColorAt(0.5, QColor::fromRgb(rng.generate()));
    g.setColorAt(1, QColor::fromRgb(rng.generate()));
    p.fillRect(image.rect(), g);
    for (int i = 0; i < 1500; ++i) {
        p.setPen(QColor::fromRgb(rng.generate()));
        p.setBrush(i % 3 ? QBrush(QColor::fromRgb(rng.generate())) : QBrush());
        p.drawEllipse(QPointF(rng.bounded(image.width()), rng.bounded(image.height())),
                      rng.bounded(150), rng.bounded(150));
    }
    p.end();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = int(rng.bounded(13)) - 6;
            const QRgb c = line[x];
            line[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                           std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return image;
}

int make(const QString& folder, int count) {
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        const QString path =
            QDir(folder).filePath(QString("photo%1.jpg").arg(i, 3, 10, QChar('0')));
        if (!photo(i).save(path, "JPG", 90)) {
            std::fprintf(stderr, "%s cannot be written\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

int thumbnailAll(const QString& folder, int pixels) {
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    QTemporaryDir cache;
    if (qEnvironmentVariableIsEmpty("XDG_CACHE_HOME"))
        qputenv("XDG_CACHE_HOME", cache.path().toUtf8());

    ThumbnailMaker maker(pixels);
    int answered = 0;
    int failed = 0;
    QObject::connect(&maker, &ThumbnailMaker::ready,
                     [&](const QString& file, const QImage& image, const QString& error) {
                         if (image.isNull()) {
                             ++failed;
                             std::fprintf(stderr, "%s: %s\n", qPrintable(file), qPrintable(error));
                         }
                         if (++answered == files.size())
                             QCoreApplication::quit();
                     });
    QElapsedTimer timer;
    timer.start();
    for (const QString& name : files)
        maker.request(QDir(folder).filePath(name));
    if (!files.isEmpty())
        QCoreApplication::exec();
    std::printf("%lld files, %d failed, %.3f s\n", qlonglong(files.size()), failed,
                double(timer.nsecsElapsed()) / 1e9);
    return failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() >= 2 && args[0] == "make")
        return make(args[1], args.size() > 2 ? args[2].toInt() : 200);
    if (args.size() == 1 || args.size() == 2)
        return thumbnailAll(args[0], args.size() > 1 ? args[1].toInt() : 256);
    std::fprintf(stderr, "bench_thumbnails make <folder> [count] | <folder> [pixels]\n");
    return 2;
}
