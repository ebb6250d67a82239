#include "print/print_routine.h"

#include "notify/prompt.h"
#include "pictures/package_pictures.h"
#include "print/captions.h"
#include "print/empty_prints.h"
#include "print/fit_check.h"
#include "print/layouts.h"
#include "print/print_job.h"
#include "print/print_preview.h"
#include "print/printer.h"
#include "print/printer_choice.h"
#include "print/soft_prints.h"

#include <QDir>
#include <QPointer>
#include <memory>

namespace print {

namespace {

// How the folder is named to the user: short, from the home folder.
QString shortFolderName(const QString& folder) {
    const QString home = QDir::homePath();
    if (folder.startsWith(home + '/'))
        return QDir(home).relativeFilePath(folder);
    return folder;
}

} // namespace

QString summaryMessage(const PrintSummary& summary, const QString& choiceNotice) {
    QStringList parts;
    if (!choiceNotice.isEmpty())
        parts << choiceNotice;
    const QString folder = shortFolderName(summary.pdfFolder);
    if (summary.failed > 0) {
        if (summary.pdfFiles > 0)
            parts << QStringLiteral("Unable to print! The printer refused %1 of the sheets; %2 "
                                    "saved as PDF in %3.")
                         .arg(summary.failed)
                         .arg(summary.pdfFiles)
                         .arg(folder);
        else if (summary.sheets > 0)
            parts << QStringLiteral("Unable to print! %1 of the %2 sheets did not print.")
                         .arg(summary.failed)
                         .arg(summary.failed + summary.sheets);
        else
            parts << QStringLiteral("Unable to print!");
        if (!summary.error.isEmpty())
            parts << summary.error; // why, and what to do
    } else if (summary.pdfFiles > 0)
        parts << QStringLiteral("%1 Saved as PDF in %2.")
                     .arg(summary.whyPdf.isEmpty() ? QStringLiteral("No printer found.")
                                                   : summary.whyPdf,
                          folder);
    if (summary.cancelled > 0)
        parts << QStringLiteral("Printing was cancelled: %1 of the %2 sheets were not printed.")
                     .arg(summary.cancelled)
                     .arg(summary.cancelled + summary.sheets + summary.failed);
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
                 std::function<std::vector<SheetOrder>()> sheets, std::function<void()> preview,
                 std::function<void(PrintJob&)> started) {
    // Shared, as the answer is a copyable function; the job takes it over.
    QStringList question; // the printer and its paper first
    auto target =
        std::make_shared<std::unique_ptr<SheetTarget>>(defaultTarget(fallbackFolder(), &question));
    question << warnings((*target)->paper());
    question << QString::fromUtf8(kPrinterReadyMessage);
    auto print = [&prompt, window = QPointer<QWidget>(mainWindow), target,
                  sheets = std::move(sheets), started = std::move(started)](bool yes) {
        if (!yes)
            return;
        auto* job = new PrintJob(std::move(*target), sheets(), window);
        QObject::connect(job, &PrintJob::finished, job,
                         [&prompt, job](const PrintSummary& summary) {
                             reportToUser(prompt, summary);
                             job->deleteLater();
                         });
        if (started)
            started(*job);
        job->start();
    };
    // Each warning on a line of its own, the reminder last.
    prompt.askPrint(question.join('\n'), std::move(print), std::move(preview));
}

void askAndPrintPackages(notify::Prompt& prompt, QWidget* mainWindow, const Packages& packages,
                         int copyCount, const PackagePictures& pictures,
                         const PrintOptions& options, std::function<void(PrintJob&)> started) {
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
        [packages, copyCount, &pictures, options] {
            return packageOrders(packages, copyCount, pictures.snapshot(), options);
        },
        [packages, copyCount, &pictures, options] {
            showPrintPreview(packages, copyCount, pictures, options);
        },
        std::move(started));
}

} // namespace print
