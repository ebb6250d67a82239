// Does the screen keep running while a sheet prints? A timer on the screen's
// thread ticks every 10 ms while the wallet sheet of nine 24 MP pictures is
// made at 600 dpi and written to a PDF folder: first made on the screen's
// thread as the windows used to, then through a PrintJob. It prints the
// largest gap between two ticks and the whole time of each. Before that it
// times the nine cells resampled on a worker one after another and all at
// once, the choice package_sheet.cpp makes.
//
//   print_job_bench [runs]

#include "photo_standin.h"
#include "pictures/package_pictures.h"
#include "print/layouts.h"
#include "print/print_job.h"
#include "print/printer.h"
#include "print/sheet_orders.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double seconds(qint64 ns) {
    return double(ns) / 1e9;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs `work` on a thread of its own, as PrintJob does; its time in seconds.
double onWorker(const std::function<void()>& work) {
    QElapsedTimer t;
    QThread* thread = QThread::create([&] {
        t.start();
        work();
    });
    thread->start();
    thread->wait();
    delete thread;
    return seconds(t.nsecsElapsed());
}

// The largest time between two ticks of a 10 ms timer on this thread.
class GapMeter {
  public:
    GapMeter() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
    }
    void start() {
        m_largest = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start(10);
    }
    double stop() {
        tick();
        m_timer.stop();
        return double(m_largest) / 1000.0;
    }

  private:
    void tick() {
        const qint64 now = m_clock.elapsed();
        m_largest = std::max(m_largest, now - m_last);
        m_last = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_largest = 0;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    constexpr int kDpi = 600;
    const print::PackageLayout& wallets = print::kPackages[4];

    std::printf("making nine 6000 x 4000 pictures...\n");
    PackagePictures positions;
    for (size_t i = 0; i < wallets.cells.size(); ++i)
        positions.set(wallets.cells[i].picture, benchphoto::picture(int(i)));
    const PackagePictures::Snapshot snapshot = positions.snapshot();

    // The nine cells on a worker: one after another (the smooth scaler
    // spreads each over the cores by itself) and each on a core of its own.
    std::vector<double> oneByOne, allAtOnce;
    for (int r = 0; r < runs; ++r) {
        oneByOne.push_back(onWorker([&] {
            for (const print::Cell& c : wallets.cells)
                print::resampleToCell(snapshot.picture(c.picture), QSizeF(c.width, c.height), kDpi);
        }));
        allAtOnce.push_back(onWorker([&] {
            QtConcurrent::blockingMap(wallets.cells, [&](const print::Cell& c) {
                print::resampleToCell(snapshot.picture(c.picture), QSizeF(c.width, c.height), kDpi);
            });
        }));
    }
    std::printf("resampling 9 x 24 MP to 1500 x 1950 on a worker, median (best) of %d: one "
                "after another %.3f (%.3f) s, all at once %.3f (%.3f) s\n",
                runs, median(oneByOne), *std::min_element(oneByOne.begin(), oneByOne.end()),
                median(allAtOnce), *std::min_element(allAtOnce.begin(), allAtOnce.end()));

    QTemporaryDir dir;
    GapMeter meter;
    for (int r = 0; r < runs; ++r) {
        // Before: the sheet made and written on the screen's thread.
        meter.start();
        QTimer::singleShot(30, [&] {
            QElapsedTimer t;
            t.start();
            auto pdf = print::pdfFolder(dir.filePath("before"), kDpi);
            print::sendSheets(*pdf, print::packageOrders({&wallets}, 1, snapshot));
            const double whole = seconds(t.nsecsElapsed());
            QTimer::singleShot(30, [&, whole] {
                std::printf("on the screen's thread: whole print %.3f s, largest gap %.0f ms\n",
                            whole, meter.stop() * 1000);
                app.quit();
            });
        });
        app.exec();

        // After: through a PrintJob.
        meter.start();
        QElapsedTimer t;
        t.start();
        print::PrintJob job(print::pdfFolder(dir.filePath("after"), kDpi),
                            print::packageOrders({&wallets}, 1, snapshot));
        QObject::connect(&job, &print::PrintJob::finished, [&] {
            std::printf("through a PrintJob:     whole print %.3f s, largest gap %.0f ms\n",
                        seconds(t.nsecsElapsed()), meter.stop() * 1000);
            app.quit();
        });
        job.start();
        app.exec();
    }
    return 0;
}
