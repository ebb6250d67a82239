#include "print/print_routine.h"

#include "notify/prompt.h"
#include "notify/window_hold.h"
#include "pictures/package_pictures.h"
#include "print/captions.h"
#include "print/empty_prints.h"
#include "print/fit_check.h"
#include "print/job_follow.h"
#include "print/layouts.h"
#include "print/package_sheet.h"
#include "print/print_preview.h"
#include "print/printer.h"
#include "print/printer_choice.h"
#include "print/soft_prints.h"

#include <QCursor>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <optional>
#include <vector>

namespace print {

namespace {

void count(PrintSummary& summary, std::string_view caption, const SheetResult& r) {
    switch (r.outcome) {
    case SheetResult::Printed:
        ++summary.sheets;
        if (r.jobId > 0)
            summary.jobs.push_back({print::caption(caption), r.printer, r.jobId});
        break;
    case SheetResult::SavedAsPdf:
        ++summary.sheets;
        ++summary.pdfFiles;
        summary.pdfFolder = QFileInfo(r.pdfFile).absolutePath();
        if (summary.whyPdf.isEmpty())
            summary.whyPdf = r.whyPdf;
        break;
    case SheetResult::Failed:
        ++summary.failed;
        if (summary.error.isEmpty())
            summary.error = r.error;
        break;
    }
    summary.bytes.push_back(r.bytes);
}

// How the folder is named to the user: short, from the home folder.
QString shortFolderName(const QString& folder) {
    const QString home = QDir::homePath();
    if (folder.startsWith(home + '/'))
        return QDir(home).relativeFilePath(folder);
    return folder;
}

} // namespace

PrintSummary printPackages(SheetTarget& target, const Packages& packages, int copyCount,
                           const PackagePictures& pictures, const PrintOptions& options) {
    PrintSummary summary;
    const int copies = copyCount; // the bound is taken once, before the first sheet
    for (const PackageLayout* p : packages) {
        const PackageLayout& package = *p;
        if (copies < 1)
            continue;
        const Sheet sheet = packageSheet(package, target.resolution(), pictures, options,
                                         [&](int index) { return pictures.picture(index); });
        for (int copy = 1; copy <= copies; ++copy)
            count(summary, package.caption, target.printSheet(sheet));
    }
    return summary;
}

PrintSummary printSingleSheet(SheetTarget& target, const QImage& picture, int sizeIndex,
                              bool horizontal, const PrintOptions& options,
                              const imaging::Framing& framing) {
    PrintSummary summary;
    const SingleSize& size =
        kSingleSizes[size_t(std::clamp(sizeIndex, 0, int(kSingleSizes.size()) - 1))];
    Sheet sheet;
    sheet.orientation = horizontal ? QPageLayout::Landscape : QPageLayout::Portrait;
    // On its side the long edge runs across the landscape page.
    const QSizeF twips =
        horizontal ? QSizeF(size.height, size.width) : QSizeF(size.width, size.height);
    sheet.title = QStringLiteral("Parvello %1").arg(print::caption(size.caption));
    sheet.cells.push_back(
        {QRectF(QPointF(0, 0), twips), resampleToCell(picture, twips, target.resolution(),
                                                      {options.fill, options.turnToFit, framing})});
    sheet.cutGuides = options.cutGuides;
    count(summary, size.caption, target.printSheet(sheet));
    return summary;
}

void followJobs(PrintSummary& summary, QWidget* window) {
    std::optional<notify::WindowHold> hold(std::in_place, window);
    const QDeadlineTimer deadline(jobFollowLimitMs());
    // Sheets with the same trouble are named in one sentence.
    std::vector<std::pair<JobTrouble, QStringList>> troubles;
    for (const PrintSummary::Job& job : summary.jobs) {
        const std::optional<JobTrouble> trouble = followJob(job.printer, job.id, deadline);
        if (!trouble)
            continue;
        auto same = std::find_if(troubles.begin(), troubles.end(), [&](const auto& t) {
            return t.first.reason == trouble->reason && t.first.waiting == trouble->waiting;
        });
        if (same == troubles.end())
            troubles.push_back({*trouble, {job.caption}});
        else
            same->second << job.caption;
    }
    hold.reset();
    for (const auto& [trouble, captions] : troubles) {
        QString sheets =
            captions.size() == 1
                ? QStringLiteral("the %1 sheet").arg(captions[0])
                : QStringLiteral("the %1 and %2 sheets")
                      .arg(captions.mid(0, captions.size() - 1).join(", "), captions.last());
        const bool one = captions.size() == 1;
        summary.troubles << QStringLiteral("%1: %2 %3.")
                                .arg(trouble.reason, sheets,
                                     trouble.waiting ? (one ? "is waiting" : "are waiting")
                                                     : (one ? "did not print" : "did not print"));
    }
}

QString summaryMessage(const PrintSummary& summary, const QString& choiceNotice) {
    QStringList parts;
    if (!choiceNotice.isEmpty())
        parts << choiceNotice;
    const QString folder = shortFolderName(summary.pdfFolder);
    if (summary.failed > 0 && summary.pdfFiles > 0)
        parts << QStringLiteral("Unable to print! The printer refused %1 of the sheets; %2 "
                                "saved as PDF in %3.")
                     .arg(summary.failed)
                     .arg(summary.pdfFiles)
                     .arg(folder);
    else if (summary.failed > 0)
        parts << QStringLiteral("Unable to print!");
    else if (summary.pdfFiles > 0)
        parts << QStringLiteral("%1 Saved as PDF in %2.")
                     .arg(summary.whyPdf.isEmpty() ? QStringLiteral("No printer found.")
                                                   : summary.whyPdf,
                          folder);
    parts << summary.troubles;
    return parts.join(' ');
}

void reportToUser(notify::Prompt& prompt, const PrintSummary& summary) {
    const QString message = summaryMessage(summary, takeChoiceNotice());
    if (!message.isEmpty())
        prompt.tell(message);
}

void askAndPrint(notify::Prompt& prompt, QWidget* mainWindow,
                 const std::function<QStringList(const Paper&)>& warnings,
                 const std::function<PrintSummary(SheetTarget&)>& print,
                 const std::function<void()>& preview) {
    const std::shared_ptr<SheetTarget> target = defaultTarget();
    QStringList question = warnings(target->paper());
    question << QString::fromUtf8(kPrinterReadyMessage);
    prompt.askPrint(
        question.join(' '),
        [&prompt, window = QPointer<QWidget>(mainWindow), target, print](bool yes) {
            if (!yes)
                return;
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
            PrintSummary summary = print(*target);
            followJobs(summary, window);
            QGuiApplication::restoreOverrideCursor();
            reportToUser(prompt, summary);
        },
        preview);
}

void askAndPrintPackages(notify::Prompt& prompt, QWidget* mainWindow, const Packages& packages,
                         int copyCount, const PackagePictures& pictures,
                         const PrintOptions& options) {
    if (const QStringList blank = packagesWithoutPicture(packages, pictures); !blank.isEmpty()) {
        prompt.tell(blank.join(' '));
        return;
    }
    askAndPrint(
        prompt, mainWindow,
        [&](const Paper& paper) {
            return packageFitWarnings(paper, packages) + emptyPrintWarnings(packages, pictures) +
                   softPackageWarnings(packages, pictures, options);
        },
        [packages, copyCount, &pictures, options](SheetTarget& target) {
            return printPackages(target, packages, copyCount, pictures, options);
        },
        [packages, copyCount, &pictures, options] {
            showPrintPreview(packages, copyCount, pictures, options);
        });
}

} // namespace print
