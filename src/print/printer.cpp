#include "print/printer.h"

#include "common/paths.h"
#include "print/layouts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cmath>

namespace print {

namespace {

// Paints the cells onto a printer (or PDF) already set up with the page
// layout; the painter's origin is the top-left of the printable area.
bool paintSheet(QPrinter& printer, const Sheet& sheet, QString* error) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        *error = QStringLiteral("The printer could not start the page.");
        return false;
    }
    const double scale = printer.resolution() / double(kTwipsPerInchF);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (const Placement& cell : sheet.cells) {
        if (cell.picture.isNull())
            continue; // an empty preview leaves its cell blank
        const QRectF device(cell.twips.x() * scale, cell.twips.y() * scale,
                            cell.twips.width() * scale, cell.twips.height() * scale);
        painter.drawImage(device, cell.picture);
    }
    return painter.end();
}

void setUpPdf(QPrinter& pdf, const QString& file, const QPageSize& paper,
              QPageLayout::Orientation orientation, const QMarginsF& margins, int dpi,
              const QString& title) {
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(file);
    pdf.setResolution(dpi);
    pdf.setColorMode(QPrinter::Color);
    pdf.setCreator(QStringLiteral("Parvello"));
    pdf.setDocName(title);
    pdf.setFullPage(false);
    pdf.setPageLayout(QPageLayout(paper, orientation, margins, QPageLayout::Point, margins));
}

constexpr int kMaxDpi = 600;

class CupsPrinter final : public SheetTarget {
  public:
    explicit CupsPrinter(const QPrinterInfo& info) : m_info(info), m_name(info.printerName()) {
        QPrinter native(info, QPrinter::HighResolution);
        // The printer's own finest resolution, but no more than 600 dpi: a
        // photograph gains nothing beyond that and the job would grow fourfold.
        int finest = 0;
        for (int dpi : info.supportedResolutions())
            finest = std::max(finest, dpi);
        m_dpi = finest > 0 ? std::min(finest, kMaxDpi) : kMaxDpi;
        m_paper = info.defaultPageSize();
        if (!m_paper.isValid())
            m_paper = QPageSize(QPageSize::Letter);
        for (auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
            native.setPageSize(m_paper);
            native.setPageOrientation(orientation);
            // The printer's own printable area, not Qt's 10 pt default.
            m_margins[orientation] = native.pageLayout().minimumMargins();
        }
    }

    int resolution() const override { return m_dpi; }

    SheetResult printSheet(const Sheet& sheet) override {
        if (QStandardPaths::findExecutable(QStringLiteral("lp")).isEmpty())
            return printNatively(sheet);
        SheetResult result;
        QTemporaryFile file(QDir::tempPath() + "/parvello-sheet-XXXXXX.pdf");
        if (!file.open()) {
            result.error = file.errorString();
            return result;
        }
        file.close();
        {
            QPrinter pdf(QPrinter::HighResolution);
            setUpPdf(pdf, file.fileName(), m_paper, sheet.orientation, m_margins[sheet.orientation],
                     m_dpi, sheet.title);
            if (!paintSheet(pdf, sheet, &result.error))
                return result;
        }
        result.bytes = QFileInfo(file.fileName()).size();
        // lp hands the finished document to the scheduler and says whether
        // the queue took it, which QPrinter's own CUPS path keeps to itself.
        QProcess lp;
        lp.start(QStringLiteral("lp"), {"-d", m_name, "-t", sheet.title, "--", file.fileName()});
        if (!lp.waitForFinished(120000) || lp.exitStatus() != QProcess::NormalExit ||
            lp.exitCode() != 0) {
            result.error = QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
            if (result.error.isEmpty())
                result.error = lp.errorString();
            return result;
        }
        result.outcome = SheetResult::Printed;
        return result;
    }

  private:
    // Without lp, QPrinter's own CUPS path: the same page, but a queue that
    // refuses the job goes unnoticed.
    SheetResult printNatively(const Sheet& sheet) {
        SheetResult result;
        QPrinter printer(m_info, QPrinter::HighResolution);
        printer.setResolution(m_dpi);
        printer.setColorMode(QPrinter::Color);
        printer.setDocName(sheet.title);
        printer.setFullPage(false);
        const QMarginsF& margins = m_margins[sheet.orientation];
        printer.setPageLayout(
            QPageLayout(m_paper, sheet.orientation, margins, QPageLayout::Point, margins));
        if (!paintSheet(printer, sheet, &result.error))
            return result;
        result.outcome = SheetResult::Printed;
        return result;
    }

    QPrinterInfo m_info;
    QString m_name;
    int m_dpi = 600;
    QPageSize m_paper;
    QMarginsF m_margins[2];
};

class PdfFolder final : public SheetTarget {
  public:
    PdfFolder(QString folder, int dpi) : m_folder(std::move(folder)), m_dpi(dpi) {}

    int resolution() const override { return m_dpi; }

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
            QPrinter pdf(QPrinter::HighResolution);
            // No printer, no hardware margins: the page itself is the printable area.
            setUpPdf(pdf, temp.fileName(), paper(), sheet.orientation, QMarginsF(), m_dpi,
                     sheet.title);
            if (!paintSheet(pdf, sheet, &result.error))
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
                result.bytes = QFileInfo(name).size();
                return result;
            }
        }
        result.error = QStringLiteral("No free file name in %1.").arg(m_folder);
        return result;
    }

  private:
    static QPageSize paper() {
        return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                   ? QPageSize(QPageSize::Letter)
                   : QPageSize(QPageSize::A4);
    }
    QString m_folder;
    int m_dpi;
};

} // namespace

std::unique_ptr<SheetTarget> defaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<CupsPrinter>(info);
}

std::unique_ptr<SheetTarget> pdfFolder(const QString& folder, int dpi) {
    return std::make_unique<PdfFolder>(folder, dpi);
}

QString fallbackFolder() {
    return paths::documentsDir() + QStringLiteral("/Parvello Prints");
}

namespace {

// The printer, until it goes away in the middle of a run (the scheduler
// stopped, the queue deleted): that sheet and every later one go to the PDF
// folder instead of being lost. A printer that is still there but refuses
// the job stays a failure the user is told about.
class PrinterThenPdf final : public SheetTarget {
  public:
    PrinterThenPdf(std::unique_ptr<SheetTarget> printer, QString folder)
        : m_printer(std::move(printer)), m_folder(std::move(folder)) {}

    int resolution() const override { return m_printer->resolution(); }

    SheetResult printSheet(const Sheet& sheet) override {
        if (!m_pdf) {
            SheetResult result = m_printer->printSheet(sheet);
            if (result.outcome != SheetResult::Failed || !QPrinterInfo::defaultPrinter().isNull())
                return result;
            qWarning("Parvello: the printer went away (%s); the remaining sheets go to %s",
                     qPrintable(result.error), qPrintable(m_folder));
            m_pdf = pdfFolder(m_folder, m_printer->resolution());
        }
        return m_pdf->printSheet(sheet);
    }

  private:
    std::unique_ptr<SheetTarget> m_printer;
    QString m_folder;
    std::unique_ptr<SheetTarget> m_pdf;
};

} // namespace

std::unique_ptr<SheetTarget> defaultTarget(const QString& folder) {
    if (auto printer = defaultPrinter())
        return std::make_unique<PrinterThenPdf>(std::move(printer), folder);
    return pdfFolder(folder);
}

QImage resampleToCell(const QImage& picture, const QSizeF& twips, int dpi) {
    if (picture.isNull())
        return {};
    const int w = std::max(1, int(std::lround(twips.width() * dpi / kTwipsPerInchF)));
    const int h = std::max(1, int(std::lround(twips.height() * dpi / kTwipsPerInchF)));
    QImage src = picture;
    // Premultiplied, so that averaging never bleeds the colour of
    // transparent pixels into their neighbours.
    const QImage::Format format =
        src.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (src.format() != format)
        src = src.convertToFormat(format);
    // Smooth scaling averages every source pixel a device pixel covers (and
    // spreads large pictures over the cores by itself).
    return src.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace print
