// parvello-print: package sheets and single pictures from the command line,
// through the same layouts, resampling, printer and PDF folder as the window.
//
//   parvello-print [OPTIONS] [--copies N] PACKAGE PICTURE...
//   parvello-print [OPTIONS] --single SIZE [--landscape] PICTURE
//   parvello-print [--printer NAME] --list-printer-options

#include "cell_pictures.h"
#include "paper_flags.h"
#include "pictures/package_pictures.h"
#include "print/captions.h"
#include "print/layouts.h"
#include "print/paper_memory.h"
#include "print/print_job.h"
#include "print/print_options.h"
#include "print/printer.h"
#include "print/printer_choice.h"
#include "print/sheet_orders.h"

#include <QGuiApplication>
#include <QStringList>
#include <cstdio>
#include <optional>
#include <variant>

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
               "       parvello-print [--printer NAME] --list-printer-options\n"
               "PACKAGE and SIZE: %1. One picture fills every cell,\n"
               "or give one picture per cell in layout order. Copies: %2 to %3.\n"
               "OPTIONS:\n"
               "  --printer NAME   print on that printer instead of the default one\n"
               "                   (the default when NAME is not installed)\n"
               "  --pdf DIR        write each sheet as a PDF file in DIR instead of printing\n"
               "  --fill MODE      stretch (the default), crop (cover the cell, nothing\n"
               "                   distorted) or fit (the whole picture, the rest white)\n"
               "  --no-turn        never turn a picture a quarter turn to fit its cell\n"
               "  --cut-guides     thin grey cut marks beyond the cells' corners\n"
               "Paper (unless given, what was last chosen for the printer in Parvello):\n"
               "  --paper SIZE       a paper size the printer offers (4x6, Letter, A4, ...)\n"
               "  --borderless       print to every edge of the paper\n"
               "  --paper-type TYPE  a paper type the printer offers (photographic-glossy, ...)\n"
               "  --quality Q        draft, normal or high\n"
               "  --source TRAY      a tray the printer offers (main, photo, ...)\n"
               "  --list-printer-options  what the printer offers, then stop\n")
        .arg(captions())
        .arg(print::kMinCopies)
        .arg(print::kMaxCopies);
}

int fail(const QString& message) {
    std::fprintf(stderr, "parvello-print: %s\n", qPrintable(message));
    return 2;
}

// What the command line asks for.
struct Job {
    int copies = print::kMinCopies;
    QString pdfDir;
    QString printer;
    QString single;
    bool landscape = false;
    print::PrintOptions options;
    QStringList positional;
    paperflags::Flags paper;
    bool listPrinterOptions = false;
    std::optional<print::PaperChoice> chosenPaper; // the paper options applied
};

// Reads the command line into `job`; an exit code when it already decides
// how the run ends (--help, a bad option).
std::optional<int> parseArguments(const QStringList& args, Job& job) {
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
                job.copies = v.toInt(&ok);
            if (!ok || job.copies < print::kMinCopies || job.copies > print::kMaxCopies)
                return fail(QStringLiteral("--copies takes a number from %1 to %2")
                                .arg(print::kMinCopies)
                                .arg(print::kMaxCopies));
        } else if (a == "--pdf") {
            if (!value(&job.pdfDir) || job.pdfDir.isEmpty())
                return fail("--pdf needs a folder");
        } else if (a == "--printer") {
            if (!value(&job.printer) || job.printer.isEmpty())
                return fail("--printer needs a printer name");
        } else if (a == "--single") {
            if (!value(&job.single))
                return fail("--single needs a size: " + captions());
        } else if (a == "--landscape") {
            job.landscape = true;
        } else if (a == "--fill") {
            QString v;
            const print::FillModeName* mode =
                value(&v) ? print::fillModeByWord(v.toStdString()) : nullptr;
            if (!mode)
                return fail("--fill takes stretch, crop or fit");
            job.options.fill = mode->mode;
        } else if (a == "--no-turn") {
            job.options.turnToFit = false;
        } else if (a == "--cut-guides") {
            job.options.cutGuides = true;
        } else if (a == "--paper") {
            if (!value(&job.paper.size) || job.paper.size.isEmpty())
                return fail("--paper needs a paper size (--list-printer-options lists them)");
        } else if (a == "--paper-type") {
            if (!value(&job.paper.type) || job.paper.type.isEmpty())
                return fail("--paper-type needs a paper type (--list-printer-options lists them)");
        } else if (a == "--quality") {
            if (!value(&job.paper.quality) || job.paper.quality.isEmpty())
                return fail("--quality takes draft, normal or high");
        } else if (a == "--source") {
            if (!value(&job.paper.source) || job.paper.source.isEmpty())
                return fail("--source needs a tray (--list-printer-options lists them)");
        } else if (a == "--borderless") {
            job.paper.borderless = true;
        } else if (a == "--list-printer-options") {
            job.listPrinterOptions = true;
        } else if (a.startsWith("--")) {
            std::fputs(qPrintable(usage()), stderr);
            return fail("unknown option " + a);
        } else {
            job.positional << a;
        }
    }
    if (!job.printer.isEmpty() && !job.pdfDir.isEmpty())
        return fail("--printer and --pdf exclude each other");
    if ((job.paper.given() || job.listPrinterOptions) && !job.pdfDir.isEmpty())
        return fail("the paper options go with a printer, not with --pdf");
    return std::nullopt;
}

// The paper options checked against what the printer in use offers, or
// what it offers listed; an exit code when that ends the run.
std::optional<int> choosePaper(Job& job) {
    if (!job.paper.given() && !job.listPrinterOptions)
        return std::nullopt;
    const QString inUse = print::printerInUse();
    QString error;
    const std::optional<print::PrinterOptions> options = print::printerOptions(inUse, &error);
    if (!options)
        return fail(error);
    const QString name = print::queueName(inUse);
    const print::PaperChoice remembered = print::rememberedPaper(inUse, *options);
    if (job.listPrinterOptions) {
        std::fputs(qPrintable(paperflags::listed(name, *options, remembered)), stdout);
        return 0;
    }
    job.chosenPaper = paperflags::apply(job.paper, remembered, *options, name, &error);
    if (!job.chosenPaper)
        return fail(error);
    return std::nullopt;
}

// The pictures are made ready for their cells here, the way the options
// say; printing then only places them, which is what stretching a picture of
// exactly the cell's pixels does.
print::CellOptions cellOptions(const print::PrintOptions& options) {
    return {options.fill, options.turnToFit, {}};
}

print::PrintOptions placeOnly(print::PrintOptions options) {
    options.fill = imaging::FillMode::Stretch;
    return options;
}

using Sheets = std::vector<print::SheetOrder>;

// --single: one picture alone on a sheet. Its order, or an exit code.
std::variant<Sheets, int> printSingle(const Job& job, print::SheetTarget& target) {
    const auto* size = print::singleSizeByCaption(job.single.toStdString());
    if (!size)
        return fail(
            QStringLiteral("unknown size \"%1\"; use one of %2").arg(job.single, captions()));
    if (job.positional.size() != 1)
        return fail("--single prints exactly one picture");
    const int sizeIndex = int(size - print::kSingleSizes.data());
    QString error;
    const auto picture = cellpictures::prepare(
        {{job.positional[0], print::singleCell(sizeIndex, job.landscape).size()}},
        target.resolution(), cellOptions(job.options), &error);
    if (!picture)
        return fail(error);
    return Sheets{
        print::singleOrder(picture->front(), sizeIndex, job.landscape, placeOnly(job.options))};
}

// A package: one picture in every cell, or one picture per cell. Every
// picture is read and made ready for its cell before the first sheet goes
// out. The orders, or an exit code.
std::variant<Sheets, int> printPackage(const Job& job, print::SheetTarget& target) {
    if (job.landscape)
        return fail("--landscape goes with --single");
    if (job.positional.isEmpty()) {
        std::fputs(qPrintable(usage()), stderr);
        return 2;
    }
    const auto* package = print::packageByCaption(job.positional[0].toStdString());
    if (!package)
        return fail(QStringLiteral("unknown package \"%1\"; use one of %2")
                        .arg(job.positional[0], captions()));
    const QStringList files = job.positional.mid(1);
    const int cells = int(package->cells.size());
    if (files.size() != 1 && files.size() != cells)
        return fail(QStringLiteral("the %1 package takes one picture or %2, not %3")
                        .arg(job.positional[0])
                        .arg(cells)
                        .arg(files.size()));
    std::vector<cellpictures::Request> requests;
    for (size_t i = 0; i < package->cells.size(); ++i) {
        const print::Cell& c = package->cells[i];
        requests.push_back(
            {files.size() == 1 ? files[0] : files[qsizetype(i)], QSizeF(c.width, c.height)});
    }
    QString error;
    const auto pictures =
        cellpictures::prepare(requests, target.resolution(), cellOptions(job.options), &error);
    if (!pictures)
        return fail(error);
    PackagePictures positions;
    for (size_t i = 0; i < package->cells.size(); ++i)
        positions.set(package->cells[i].picture, (*pictures)[i]);
    return print::packageOrders({package}, job.copies, positions.snapshot(),
                                placeOnly(job.options));
}

// Says what became of each sheet once the jobs are followed; the exit code.
int report(const Job& job, const print::PrintSummary& summary) {
    for (const QString& trouble : summary.troubles)
        std::fprintf(stderr, "parvello-print: %s\n", qPrintable(trouble));
    for (size_t i = 0; i < summary.bytes.size(); ++i)
        std::printf("sheet %zu: %lld bytes\n", i + 1, static_cast<long long>(summary.bytes[i]));
    if (summary.pdfFiles > 0)
        std::printf("%s%d PDF file(s) in %s\n",
                    job.pdfDir.isEmpty() ? qPrintable(summary.whyPdf + ' ') : "", summary.pdfFiles,
                    qPrintable(summary.pdfFolder));
    if (summary.failed > 0) {
        std::fprintf(stderr, "parvello-print: Unable to print! %s\n", qPrintable(summary.error));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Printing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    Job job;
    if (const std::optional<int> exitCode = parseArguments(app.arguments().mid(1), job))
        return *exitCode;

    print::setChosenPrinter(job.printer);
    if (const std::optional<int> exitCode = choosePaper(job))
        return *exitCode;
    QStringList paperNote; // "parvello-photo: 4x6 borderless, ...", and a dropped value
    std::unique_ptr<print::SheetTarget> target =
        job.pdfDir.isEmpty() ? print::defaultTarget(print::fallbackFolder(), &paperNote,
                                                    job.chosenPaper ? &*job.chosenPaper : nullptr)
                             : print::pdfFolder(job.pdfDir);
    if (const QString notice = print::takeChoiceNotice(); !notice.isEmpty())
        std::fprintf(stderr, "parvello-print: %s\n", qPrintable(notice));
    for (const QString& line : paperNote)
        std::fprintf(stderr, "parvello-print: %s\n", qPrintable(line));

    std::variant<Sheets, int> sheets =
        job.single.isEmpty() ? printPackage(job, *target) : printSingle(job, *target);
    if (const int* exitCode = std::get_if<int>(&sheets))
        return *exitCode;
    print::PrintJob printing(std::move(target), std::move(std::get<Sheets>(sheets)));
    QObject::connect(&printing, &print::PrintJob::finished, &app,
                     [&](const print::PrintSummary& summary) { app.exit(report(job, summary)); });
    printing.start();
    return app.exec();
}
