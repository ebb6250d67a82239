// A folder of 5,000 pictures whose thumbnails are already in the shared
// cache, opened in the main window's file list: the time from setPath until
// the names are painted and until the first screen of thumbnails is painted,
// and the memory the program holds above itself showing an empty folder.
// See README.md for the targets and figures.
#include "app/file_list.h"
#include "app/frmcovercreator.h"
#include "thumbnails/thumbnail_cache.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Pictures = 5000;
constexpr int Runs = 5;

// Small JPEGs, each of its own colours, with their 128-pixel thumbnails
// (a screen of scale 1) put in the cache.
void makeFolder(const QString& folder) {
    QDir().mkpath(folder);
    for (int i = 0; i < Pictures; ++i) {
        QImage image(320, 240, QImage::Format_RGB32);
        QPainter p(&image);
        QLinearGradient g(0, 0, 320, 240);
        g.setColorAt(0, QColor::fromHsv(i * 37 % 360, 200, 220));
        g.setColorAt(1, QColor::fromHsv(i * 91 % 360, 255, 120));
        p.fillRect(image.rect(), g);
        p.end();
        const QString file = QDir(folder).filePath(QString("IMG_%1.jpg").arg(i, 5, 10, QChar('0')));
        image.save(file, "JPG", 85);
        thumbnails::thumbnail(file, 128);
    }
}

long rssKilobytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Whether every row the list shows has its thumbnail: the placeholder is one
// pixmap shared by every row not made, such as the one farthest from the screen.
bool firstScreenMade(FileList* list) {
    const QAbstractItemModel* model = list->model();
    auto pixmapKey = [&](int row) {
        return model->index(row, 0).data(Qt::DecorationRole).value<QPixmap>().cacheKey();
    };
    const int first = list->indexAt(QPoint(1, 1)).row();
    const int last = list->indexAt(QPoint(1, list->viewport()->height() - 1)).row();
    const qint64 placeholder = pixmapKey(first > model->rowCount() / 2 ? 0 : model->rowCount() - 1);
    for (int row = first; row <= last; ++row)
        if (pixmapKey(row) == placeholder)
            return false;
    return first >= 0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + "/cache").toUtf8());
    const QString folder = home.filePath("pictures"), empty = home.filePath("empty");
    QDir().mkpath(empty);

    // Made by a child process, so what it took stays out of the figures.
    std::printf("Making %d pictures and their thumbnails...\n", Pictures);
    std::fflush(stdout);
    if (const pid_t child = fork(); child == 0) {
        QGuiApplication app(argc, argv);
        makeFolder(folder);
        _exit(0);
    } else {
        waitpid(child, nullptr, 0);
    }

    QApplication app(argc, argv);
    QFile ini(home.filePath("parvello.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return 1;
    ini.write("[MAIN]\nDrive=/\nDir=" + empty.toUtf8() + "\n");
    ini.close();
    frmcovercreator window(ini.fileName());
    window.show();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    const long emptyRss = rssKilobytes();

    FileList* list = window.fileSelect();
    // At the designed size, then filling a full-HD screen: more rows shown.
    for (const QSize size : {window.size(), QSize(1920, 1080)}) {
        window.resize(size);
        QApplication::processEvents();
        std::vector<double> names, thumbs;
        for (int run = 0; run < Runs; ++run) {
            list->setPath(empty);
            QApplication::processEvents();
            QElapsedTimer clock;
            clock.start();
            list->setPath(folder);
            QApplication::processEvents();
            list->viewport()->repaint();
            names.push_back(clock.nsecsElapsed() / 1e6);
            while (!firstScreenMade(list))
                QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            list->viewport()->repaint();
            thumbs.push_back(clock.nsecsElapsed() / 1e6);
        }
        std::printf("Window %d x %d: %d pictures, %d runs, device pixel ratio %.1f, %d rows "
                    "shown\n",
                    size.width(), size.height(), list->model()->rowCount(), Runs,
                    list->devicePixelRatioF(),
                    list->indexAt(QPoint(1, list->viewport()->height() - 1)).row() + 1);
        std::printf("  setPath -> names painted: least %.1f ms, median %.1f ms\n",
                    *std::min_element(names.begin(), names.end()), median(names));
        std::printf("  setPath -> first screen of thumbnails painted: least %.1f ms, median "
                    "%.1f ms (target 300)\n",
                    *std::min_element(thumbs.begin(), thumbs.end()), median(thumbs));
    }
    const long folderRss = rssKilobytes();
    // Then through the whole folder a screen at a time, each screen's
    // thumbnails shown before the next: far ones are let go.
    QScrollBar* bar = list->verticalScrollBar();
    QElapsedTimer clock;
    clock.start();
    while (bar->value() < bar->maximum()) {
        bar->setValue(bar->value() + bar->pageStep());
        QApplication::processEvents();
        while (!firstScreenMade(list))
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    const double scrolled = clock.elapsed() / 1000.0;
    std::printf("RSS above the program showing an empty folder (target at most 200 MB): "
                "%.1f MB with the folder, %.1f MB once scrolled through to its end (%.1f s); "
                "the empty folder's %.1f MB\n",
                (folderRss - emptyRss) / 1024.0, (rssKilobytes() - emptyRss) / 1024.0, scrolled,
                emptyRss / 1024.0);
    return 0;
}
