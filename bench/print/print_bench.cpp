// Time from "Print" to the last sheet handed to CUPS for nine different
// 24-megapixel pictures on the wallet sheet at 600 dpi, through a private
// scheduler, in each fill mode; then ImageMagick's montage building the same 3 x 3 sheet as a
// PDF from the same files, less the time it spends decoding them.
//
//   print_bench [runs]

#include "photo_standin.h"
#include "pictures/package_pictures.h"
#include "print/layouts.h"
#include "print/printer.h"
#include "print/sheet_orders.h"
#include "services/cups_server.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

double seconds(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e9;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double timeCommand(const QString& program, const QStringList& args) {
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start(program, args);
    p.waitForFinished(-1);
    if (p.exitCode() != 0)
        std::printf("  (%s exited with %d)\n", qPrintable(program), p.exitCode());
    return seconds(t);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    testsvc::CupsServer cups;
    QString error;
    testsvc::FolderPrinter printer;
    printer.name = "bench";
    printer.dpi = 600;
    if (!cups.start(&error) || !cups.addPrinter(printer, true, &error)) {
        std::fprintf(stderr, "CUPS: %s\n", qPrintable(error));
        return 1;
    }
    QGuiApplication app(argc, argv);

    QTemporaryDir dir;
    std::vector<QImage> pictures;
    QStringList files;
    std::printf("making nine 6000 x 4000 pictures...\n");
    for (int i = 0; i < 9; ++i) {
        pictures.push_back(benchphoto::picture(i));
        files << dir.filePath(QStringLiteral("picture%1.jpg").arg(i));
        pictures.back().save(files.back(), "JPEG", 92);
    }
    PackagePictures positions; // one picture for each wallet
    for (size_t i = 0; i < pictures.size(); ++i)
        positions.set(print::kPackages[4].cells[i].picture, pictures[i]);

    auto target = print::defaultPrinter();
    if (!target) {
        std::fprintf(stderr, "no printer\n");
        return 1;
    }
    std::printf("printer resolution: %d dpi\n", target->resolution());

    // The parts: resampling the nine cells alone, then painting and
    // spooling an already resampled sheet.
    print::Sheet sheet;
    {
        QElapsedTimer t;
        t.start();
        for (const print::Cell& c : print::kPackages[4].cells) {
            const QRectF twips(c.x, c.y, c.width, c.height);
            sheet.cells.push_back(
                {twips, print::resampleToCell(positions.picture(c.picture), twips.size(),
                                              target->resolution())});
        }
        std::printf("resampling 9 x 24 MP to 1500 x 1950, one after another: %.3f s\n", seconds(t));
    }
    {
        auto pdf = print::pdfFolder(dir.filePath("parts"), 600);
        QElapsedTimer t;
        t.start();
        pdf->printSheet(sheet);
        const double write = seconds(t);
        t.restart();
        target->printSheet(sheet);
        std::printf("writing the resampled sheet as PDF: %.3f s; writing and handing it to "
                    "CUPS: %.3f s\n",
                    write, seconds(t));
    }

    // Each fill mode in turn within every run, so that the machine's load
    // falls on all of them alike. The landscape pictures are turned for the
    // upright wallets in crop and fit modes.
    struct Mode {
        const char* name;
        print::PrintOptions options;
        std::vector<double> seconds;
        qint64 bytes = 0;
    };
    std::vector<Mode> modes = {{"stretch", {imaging::FillMode::Stretch, true, false}, {}},
                               {"crop", {imaging::FillMode::Crop, true, false}, {}},
                               {"fit", {imaging::FillMode::Fit, true, false}, {}}};
    for (int r = 0; r < runs; ++r)
        for (Mode& mode : modes) {
            QElapsedTimer t;
            t.start();
            const auto summary =
                print::printPackages(*target, {&print::kPackages[4]}, 1, positions, mode.options);
            mode.seconds.push_back(seconds(t));
            if (summary.sheets != 1) {
                std::fprintf(stderr, "sheet not printed: %s\n", qPrintable(summary.error));
                return 1;
            }
            mode.bytes = summary.bytes.at(0);
        }
    cups.waitForJobs(printer.name, 3 * runs + 1, 60000);
    for (const Mode& mode : modes)
        std::printf("Print -> sheet handed to CUPS (wallets, 9 x 24 MP, 600 dpi, %s): median %.3f "
                    "s, best %.3f s over %d runs; %lld bytes spooled\n",
                    mode.name, median(mode.seconds),
                    *std::min_element(mode.seconds.begin(), mode.seconds.end()), runs,
                    static_cast<long long>(mode.bytes));
    std::printf("job file as received: %lld bytes\n",
                static_cast<long long>(QFileInfo(cups.jobFiles(printer.name).value(0)).size()));

    // The same sheet into the PDF folder (the no-printer path).
    {
        auto pdf = print::pdfFolder(dir.filePath("pdf"), 600);
        QElapsedTimer t;
        t.start();
        const auto summary = print::printPackages(*pdf, {&print::kPackages[4]}, 1, positions);
        std::printf("same sheet as a PDF file: %.3f s, %lld bytes\n", seconds(t),
                    static_cast<long long>(summary.bytes.empty() ? 0 : summary.bytes[0]));
    }

    // ImageMagick: the 3 x 3 sheet of 1500 x 1950 cells at 600 dpi as a PDF,
    // and the decoding of the nine files alone, to take it off. Each file is
    // resized as it is read ("file[WxH!]"): nine full pictures at once
    // exceed the resource limits of Debian's ImageMagick policy, which also
    // forbids its PDF writer: the sheet goes into a JPEG-compressed TIFF,
    // the nearest thing to the JPEG pictures inside our PDF.
    const QString im = "convert-im6.q16";
    const QString montage = "montage-im6.q16";
    QStringList montageArgs;
    for (const QString& f : files)
        montageArgs << f + "[1500x1950!]";
    montageArgs << "-tile"
                << "3x3"
                << "-geometry"
                << "+0+0"
                << "-density"
                << "600"
                << "-compress"
                << "jpeg" << dir.filePath("montage.tif");
    std::vector<double> decode, mont;
    for (int r = 0; r < 1; ++r) { // slow: once is enough
        double d = 0;
        for (const QString& f : files)
            d += timeCommand(im, {f, "null:"});
        decode.push_back(d);
        mont.push_back(timeCommand(montage, montageArgs));
    }
    std::printf("ImageMagick montage: %.3f s; decoding the nine files alone: %.3f s; "
                "montage less decoding: %.3f s; sheet %lld bytes\n",
                median(mont), median(decode), median(mont) - median(decode),
                static_cast<long long>(QFileInfo(dir.filePath("montage.tif")).size()));
    return 0;
}
