#include "print/printer.h"

#include "common/paths.h"
#include "print/cell_fill.h"
#include "print/cups_printer.h"
#include "print/layouts.h"
#include "print/paper_memory.h"
#include "print/printer_choice.h"
#include "print/printer_options.h"
#include "print/sheet_painter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPdfWriter>
#include <QTemporaryFile>
#include <cmath>

namespace print {

namespace {

// The local paper with no hardware margins: the page itself is the
// printable area.
Paper plainPaper() {
    const QPageSize page = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                               ? QPageSize(QPageSize::Letter)
                               : QPageSize(QPageSize::A4);
    return {QString(), page.size(QPageSize::Point), QMarginsF()};
}

class PdfFolder final : public SheetTarget {
  public:
    PdfFolder(QString folder, int dpi, QString why)
        : m_folder(std::move(folder)), m_dpi(dpi), m_why(std::move(why)) {}

    int resolution() const override { return m_dpi; }
    Paper paper() const override { return plainPaper(); }

    SheetResult printSheet(const Sheet& sheet) override {
        SheetResult result;
        if (!QDir().mkpath(m_folder)) {
            result.error = QStringLiteral("Cannot create the folder %1.").arg(m_folder);
            return result;
        }
        // Written under a temporary name, then moved to a free name: an
        // existing file is never replaced.
        QTemporaryFile temp(m_folder + "/.parvello-XXXXXX.pdf");
        temp.setAutoRemove(true);
        if (!temp.open()) {
            result.error = temp.errorString();
            return result;
        }
        temp.close();
        {
            QPdfWriter pdf(temp.fileName());
            pdf.setResolution(m_dpi);
            pdf.setCreator(QStringLiteral("Parvello"));
            pdf.setTitle(sheet.title);
            pdf.setPdfVersion(kSrgbPdf);
            pdf.setPageLayout(QPageLayout(QPageSize(paper().size, QPageSize::Point),
                                          sheet.orientation, QMarginsF()));
            if (!paintSheet(pdf, m_dpi, sheet, &result.error))
                return result;
        }
        const QString stem =
            sheet.title + QDateTime::currentDateTime().toString(" yyyy-MM-dd hh.mm.ss");
        for (int n = 1; n < 10000; ++n) {
            const QString name = m_folder + '/' + stem +
                                 (n == 1 ? QString() : QStringLiteral(" (%1)").arg(n)) + ".pdf";
            if (QFileInfo::exists(name))
                continue;
            if (QFile::rename(temp.fileName(), name)) {
                temp.setAutoRemove(false);
                result.outcome = SheetResult::SavedAsPdf;
                result.pdfFile = name;
                result.whyPdf = m_why;
                result.bytes = QFileInfo(name).size();
                return result;
            }
        }
        result.error = QStringLiteral("No free file name in %1.").arg(m_folder);
        return result;
    }

  private:
    QString m_folder;
    int m_dpi;
    QString m_why;
};

} // namespace

std::unique_ptr<SheetTarget> pdfFolder(const QString& folder, int dpi, const QString& why) {
    return std::make_unique<PdfFolder>(folder, dpi, why);
}

QString fallbackFolder() {
    return paths::documentsDir() + QStringLiteral("/Parvello Prints");
}

namespace {

// The printer, until its queue is deleted in the middle of a run: that sheet
// and every later one go to the PDF folder instead of being lost. A printer
// that is still there but refuses the job, or a scheduler that stops
// answering, stays a failure the user is told about.
class PrinterThenPdf final : public SheetTarget {
  public:
    PrinterThenPdf(std::unique_ptr<SheetTarget> printer, QString folder)
        : m_printer(std::move(printer)), m_folder(std::move(folder)) {}

    int resolution() const override { return m_printer->resolution(); }
    Paper paper() const override { return m_printer->paper(); }
    QString printerName() const override { return m_printer->printerName(); }

    SheetResult printSheet(const Sheet& sheet) override {
        if (!m_pdf) {
            SheetResult result = m_printer->printSheet(sheet);
            if (result.outcome != SheetResult::Failed)
                return result;
            switch (printerPresence(m_printer->printerName())) {
            case Presence::Installed:
                return result;
            case Presence::Unreachable:
                result.error = QString::fromUtf8(kSchedulerUnreachable);
                return result;
            case Presence::Gone:
                break;
            }
            qWarning("Parvello: the printer went away (%s); the remaining sheets go to %s",
                     qPrintable(result.error), qPrintable(m_folder));
            m_pdf = pdfFolder(m_folder, m_printer->resolution(), noPrinterMessage());
        }
        return m_pdf->printSheet(sheet);
    }

  private:
    std::unique_ptr<SheetTarget> m_printer;
    QString m_folder;
    std::unique_ptr<SheetTarget> m_pdf;
};

// No scheduler answers: a sheet cannot go to the printer the user meant,
// and a PDF would hide that. Every sheet fails with the reason.
class Unreachable final : public SheetTarget {
  public:
    SheetResult printSheet(const Sheet&) override {
        SheetResult result;
        result.error = QString::fromUtf8(kSchedulerUnreachable);
        return result;
    }
    int resolution() const override { return 72; } // nothing is painted
    Paper paper() const override { return plainPaper(); }
};

} // namespace

std::unique_ptr<SheetTarget> defaultTarget(const QString& folder, QStringList* paperNote,
                                           const PaperChoice* given) {
    const QString inUse = printerInUse();
    PaperChoice paper;
    QString error;
    // A printer that does not say what it offers gets its own defaults.
    if (const std::optional<PrinterOptions> options = printerOptions(inUse, &error)) {
        QString notice;
        paper = given ? *given : rememberedPaper(inUse, *options, &notice);
        if (paperNote) {
            *paperNote << queueName(inUse) + QStringLiteral(": ") + paperInWords(paper, *options);
            if (!notice.isEmpty())
                *paperNote << notice;
        }
    }
    if (auto printer = cupsPrinter(inUse, paper))
        return std::make_unique<PrinterThenPdf>(std::move(printer), folder);
    if (!connectToScheduler())
        return std::make_unique<Unreachable>();
    return pdfFolder(folder, 600, noPrinterMessage());
}

QImage resampleToCell(const QImage& picture, const QSizeF& twips, int dpi,
                      const CellOptions& options) {
    return fillCell(picture, twips, cellPixels(twips, dpi), options);
}

} // namespace print
