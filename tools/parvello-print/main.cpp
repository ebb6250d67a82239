// parvello-print: package sheets and single pictures from the command line,
// through the same layouts, resampling, printer and PDF folder as the window.
//
//   parvello-print [OPTIONS] [--copies N] PACKAGE PICTURE...
//   parvello-print [OPTIONS] --single SIZE [--landscape] PICTURE

#include "cell_pictures.h"
#include "pictures/package_pictures.h"
#include "print/captions.h"
#include "print/layouts.h"
#include "print/print_routine.h"
#include "print/printer.h"
#include "print/printer_choice.h"

#include <QGuiApplication>
#include <QStringList>
#include <cstdio>
#include <map>

namespace {

QString captions() {
    QStringList all;
    for (const print::PackageLayout& package : print::kPackages)
        all << print::caption(package.caption);
    return all.join(", ");
}

QString usage() {
    return QStringLiteral(
               "usage: parvello-print [OPTIONS] [--copies N] PACKAGE PICTURE...\n"
               "       parvello-print [OPTIONS] --single SIZE [--landscape] PICTURE\n"
               "PACKAGE and SIZE: %1. One picture fills every cell,\n"
               "or give one picture per cell in layout order. Copies: %2 to %3.\n"
               "OPTIONS:\n"
               "  --printer NAME   print on that printer instead of the default one\n"
               "                   (the default when NAME is not installed)\n"
               "  --pdf DIR        write each sheet as a PDF file in DIR instead of printing\n"
               "  --fill MODE      stretch (the default), crop (cover the cell, nothing\n"
               "                   distorted) or fit (the whole picture, the rest white)\n"
               "  --no-turn        never turn a picture a quarter turn to fit its cell\n"
               "  --cut-guides     thin grey cut marks beyond the cells' corners\n")
        .arg(captions())
        .arg(print::kMinCopies)
        .arg(print::kMaxCopies);
}

int fail(const QString& message) {
    std::fprintf(stderr, "parvello-print: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    // Printing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QStringList args = app.arguments().mid(1);
    int copies = 1;
    QString pdfDir;
    QString printer;
    QString single;
    bool landscape = false;
    print::PrintOptions options;
    QStringList positional;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString* out) {
            if (i + 1 >= args.size())
                return false;
            *out = args[++i];
            return true;
        };
        if (a == "--help" || a == "-h") {
            std::fputs(qPrintable(usage()), stdout);
            return 0;
        } else if (a == "--copies") {
            QString v;
            bool ok = false;
            if (value(&v))
                copies = v.toInt(&ok);
            if (!ok || copies < print::kMinCopies || copies > print::kMaxCopies)
                return fail(QStringLiteral("--copies takes a number from %1 to %2")
                                .arg(print::kMinCopies)
                                .arg(print::kMaxCopies));
        } else if (a == "--pdf") {
            if (!value(&pdfDir) || pdfDir.isEmpty())
                return fail("--pdf needs a folder");
        } else if (a == "--printer") {
            if (!value(&printer) || printer.isEmpty())
                return fail("--printer needs a printer name");
        } else if (a == "--single") {
            if (!value(&single))
                return fail("--single needs a size: " + captions());
        } else if (a == "--landscape") {
            landscape = true;
        } else if (a == "--fill") {
            QString v;
            const print::FillModeName* mode =
                value(&v) ? print::fillModeByWord(v.toStdString()) : nullptr;
            if (!mode)
                return fail("--fill takes stretch, crop or fit");
            options.fill = mode->mode;
        } else if (a == "--no-turn") {
            options.turnToFit = false;
        } else if (a == "--cut-guides") {
            options.cutGuides = true;
        } else if (a.startsWith("--")) {
            std::fputs(qPrintable(usage()), stderr);
            return fail("unknown option " + a);
        } else {
            positional << a;
        }
    }

    if (!printer.isEmpty() && !pdfDir.isEmpty())
        return fail("--printer and --pdf exclude each other");
    print::setChosenPrinter(printer);
    std::unique_ptr<print::SheetTarget> target =
        pdfDir.isEmpty() ? print::defaultTarget() : print::pdfFolder(pdfDir);
    if (const QString notice = print::takeChoiceNotice(); !notice.isEmpty())
        std::fprintf(stderr, "parvello-print: %s\n", qPrintable(notice));
    print::PrintSummary summary;
    // The pictures are made ready for their cells here, the way the options
    // say; printing then only places them, which is what stretching a
    // picture of exactly the cell's pixels does.
    const print::CellOptions cellOptions{options.fill, options.turnToFit, {}};
    print::PrintOptions placeOnly = options;
    placeOnly.fill = imaging::FillMode::Stretch;

    if (!single.isEmpty()) {
        const auto* size = print::singleSizeByCaption(single.toStdString());
        if (!size)
            return fail(
                QStringLiteral("unknown size \"%1\"; use one of %2").arg(single, captions()));
        if (positional.size() != 1)
            return fail("--single prints exactly one picture");
        const QSizeF twips =
            landscape ? QSizeF(size->height, size->width) : QSizeF(size->width, size->height);
        QString error;
        const auto picture = cellpictures::prepare({{positional[0], twips}}, target->resolution(),
                                                   cellOptions, &error);
        if (!picture)
            return fail(error);
        summary =
            print::printSingleSheet(*target, picture->front(),
                                    int(size - print::kSingleSizes.data()), landscape, placeOnly);
    } else {
        if (landscape)
            return fail("--landscape goes with --single");
        if (positional.isEmpty()) {
            std::fputs(qPrintable(usage()), stderr);
            return 2;
        }
        const auto* package = print::packageByCaption(positional[0].toStdString());
        if (!package)
            return fail(QStringLiteral("unknown package \"%1\"; use one of %2")
                            .arg(positional[0], captions()));
        const QStringList files = positional.mid(1);
        const int cells = int(package->cells.size());
        if (files.size() != 1 && files.size() != cells)
            return fail(QStringLiteral("the %1 package takes one picture or %2, not %3")
                            .arg(positional[0])
                            .arg(cells)
                            .arg(files.size()));
        // Every picture is read and made ready for its cell before the first
        // sheet goes out.
        std::vector<cellpictures::Request> requests;
        for (size_t i = 0; i < package->cells.size(); ++i) {
            const print::Cell& c = package->cells[i];
            requests.push_back(
                {files.size() == 1 ? files[0] : files[qsizetype(i)], QSizeF(c.width, c.height)});
        }
        QString error;
        const auto pictures =
            cellpictures::prepare(requests, target->resolution(), cellOptions, &error);
        if (!pictures)
            return fail(error);
        PackagePictures positions;
        for (size_t i = 0; i < package->cells.size(); ++i)
            positions.set(package->cells[i].picture, (*pictures)[i]);
        summary = print::printPackages(*target, {package}, copies, positions, placeOnly);
    }

    print::followJobs(summary);
    for (const QString& trouble : summary.troubles)
        std::fprintf(stderr, "parvello-print: %s\n", qPrintable(trouble));
    for (size_t i = 0; i < summary.bytes.size(); ++i)
        std::printf("sheet %zu: %lld bytes\n", i + 1, static_cast<long long>(summary.bytes[i]));
    if (summary.pdfFiles > 0)
        std::printf("%s%d PDF file(s) in %s\n",
                    pdfDir.isEmpty() ? qPrintable(summary.whyPdf + ' ') : "", summary.pdfFiles,
                    qPrintable(summary.pdfFolder));
    if (summary.failed > 0) {
        std::fprintf(stderr, "parvello-print: Unable to print! %s\n", qPrintable(summary.error));
        return 1;
    }
    return 0;
}
