// A CUPS destination as a sheet target: each sheet is painted to a PDF in
// memory and streamed to the scheduler as one job through libcups.
#include "print/cups_printer.h"

#include "common/units.h"
#include "print/sheet_painter.h"

#include <QBuffer>
#include <QPdfWriter>
#include <cups/cups.h>

namespace print {

namespace {

constexpr int kMaxDpi = 600;
constexpr int kConnectTimeoutMs = 10000;

struct FreeDest {
    void operator()(cups_dest_t* d) const { cupsFreeDests(1, d); }
};
struct FreeInfo {
    void operator()(cups_dinfo_t* i) const { cupsFreeDestInfo(i); }
};
using Dest = std::unique_ptr<cups_dest_t, FreeDest>;
using Info = std::unique_ptr<cups_dinfo_t, FreeInfo>;

} // namespace

void CloseHttp::operator()(http_t* http) const {
    httpClose(http);
}

Http connectToScheduler() {
    return Http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             kConnectTimeoutMs, nullptr));
}

namespace {

// Why the scheduler refused a job, in its own words, and what to do.
QString refusal(const QString& printer) {
    QString said = QString::fromUtf8(cupsLastErrorString()).trimmed();
    if (!said.isEmpty() && !said.endsWith('.'))
        said += '.';
    const QString advice =
        cupsLastError() == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS
            ? QStringLiteral("Enable the printer %1 in your system's printer settings (or "
                             "`cupsaccept %1`), then print again.")
            : QStringLiteral("Check the printer %1 in your system's printer settings, then "
                             "print again.");
    return QStringLiteral("The printing system says: %1 %2").arg(said, advice.arg(printer));
}

// The paper from the printer's own description of its default media (the
// user's "media" option first, then the printer's media-default); where it
// gives none (a queue with no description of its paper), the size the
// "media" option names, else Letter, with no margins known.
Paper defaultPaper(cups_dest_t* dest, cups_dinfo_t* info) {
    cups_size_t size{};
    bool found = false;
    const char* media = cupsGetOption("media", dest->num_options, dest->options);
    if (info) {
        if (!media)
            if (ipp_attribute_t* attr = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media"))
                media = ippGetString(attr, 0, nullptr);
        // libcups' own default is Letter whatever the printer says.
        found = media ? cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest, info, media,
                                               CUPS_MEDIA_FLAGS_DEFAULT, &size)
                      : cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info,
                                                CUPS_MEDIA_FLAGS_DEFAULT, &size);
    }
    if (found && size.width > 0 && size.length > 0)
        return {QString::fromUtf8(size.media),
                QSizeF(units::hundredthsMmToPoints(size.width),
                       units::hundredthsMmToPoints(size.length)),
                QMarginsF(units::hundredthsMmToPoints(size.left),
                          units::hundredthsMmToPoints(size.top),
                          units::hundredthsMmToPoints(size.right),
                          units::hundredthsMmToPoints(size.bottom))};
    const pwg_media_t* named = media ? pwgMediaForPWG(media) : nullptr;
    if (!named && media)
        named = pwgMediaForPPD(media);
    if (!named)
        named = pwgMediaForPWG("na_letter_8.5x11in");
    return {QString(),
            QSizeF(units::hundredthsMmToPoints(named->width),
                   units::hundredthsMmToPoints(named->length)),
            QMarginsF()};
}

// The printer's finest resolution, but no more than 600 dpi: a photograph
// gains nothing beyond that and the job would grow fourfold.
int finestResolution(cups_dest_t* dest, cups_dinfo_t* info) {
    int finest = 0;
    if (ipp_attribute_t* attr =
            info ? cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution")
                 : nullptr)
        for (int i = 0; i < ippGetCount(attr); ++i) {
            int y = 0;
            ipp_res_t units;
            int x = ippGetResolution(attr, i, &y, &units);
            if (units == IPP_RES_PER_CM)
                x = units::dpcmToDpi(x);
            finest = std::max(finest, x);
        }
    return finest > 0 ? std::min(finest, kMaxDpi) : kMaxDpi;
}

class CupsPrinter final : public SheetTarget {
  public:
    CupsPrinter(Dest dest, Info info)
        : m_dest(std::move(dest)), m_info(std::move(info)), m_name(QString::fromUtf8(m_dest->name)),
          m_paper(defaultPaper(m_dest.get(), m_info.get())),
          m_dpi(finestResolution(m_dest.get(), m_info.get())) {}

    int resolution() const override { return m_dpi; }
    Paper paper() const override { return m_paper; }
    QString printerName() const override { return m_name; }

    SheetResult printSheet(const Sheet& sheet) override {
        SheetResult result;
        QByteArray pdf;
        if (!makePdf(sheet, &pdf, &result.error))
            return result;
        result.bytes = pdf.size();
        result.jobId = submit(sheet, pdf, &result.error);
        if (result.jobId > 0) {
            result.outcome = SheetResult::Printed;
            result.printer = m_name;
        }
        return result;
    }

  private:
    bool makePdf(const Sheet& sheet, QByteArray* pdf, QString* error) const {
        QBuffer buffer(pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(m_dpi);
        writer.setCreator(QStringLiteral("Parvello"));
        writer.setTitle(sheet.title);
        writer.setPdfVersion(kSrgbPdf);
        const QMarginsF margins = m_paper.marginsFor(sheet.orientation);
        writer.setPageLayout(QPageLayout(
            QPageSize(m_paper.size, QPageSize::Point, m_paper.name, QPageSize::ExactMatch),
            sheet.orientation, margins, QPageLayout::Point, margins));
        return paintSheet(writer, m_dpi, sheet, error);
    }

    // One job of one document; the job's number, or 0 with the reason.
    int submit(const Sheet& sheet, const QByteArray& pdf, QString* error) {
        Http http = connectToScheduler();
        if (!http) {
            *error = QString::fromUtf8(kSchedulerUnreachable);
            return 0;
        }
        // The cells are laid out for this paper at full size: no queue
        // default may shrink or fit them.
        cups_option_t* options = nullptr;
        int count = cupsAddOption("print-scaling", "none", 0, &options);
        count =
            cupsAddOption("orientation-requested",
                          sheet.orientation == QPageLayout::Landscape ? "4" : "3", count, &options);
        if (!m_paper.name.isEmpty())
            count = cupsAddOption("media", m_paper.name.toUtf8().constData(), count, &options);
        const QByteArray title = sheet.title.toUtf8();
        int job = 0;
        const ipp_status_t created = cupsCreateDestJob(http.get(), m_dest.get(), m_info.get(), &job,
                                                       title.constData(), count, options);
        cupsFreeOptions(count, options);
        if (created > IPP_STATUS_OK_CONFLICTING || job <= 0) {
            *error = refusal(m_name);
            return 0;
        }
        bool sent =
            cupsStartDestDocument(http.get(), m_dest.get(), m_info.get(), job, title.constData(),
                                  CUPS_FORMAT_PDF, 0, nullptr, 1) == HTTP_STATUS_CONTINUE;
        for (qsizetype at = 0; sent && at < pdf.size(); at += 65536)
            sent = cupsWriteRequestData(http.get(), pdf.constData() + at,
                                        size_t(std::min<qsizetype>(65536, pdf.size() - at))) ==
                   HTTP_STATUS_CONTINUE;
        const bool finished = cupsFinishDestDocument(http.get(), m_dest.get(), m_info.get()) <=
                              IPP_STATUS_OK_CONFLICTING;
        if (!sent || !finished) {
            *error = refusal(m_name);
            cupsCancelDestJob(http.get(), m_dest.get(), job);
            return 0;
        }
        return job;
    }

    Dest m_dest;
    Info m_info;
    QString m_name;
    Paper m_paper;
    int m_dpi;
};

} // namespace

std::unique_ptr<SheetTarget> cupsPrinter(const QString& name) {
    const QByteArray n = name.toUtf8();
    Dest dest(
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.isEmpty() ? nullptr : n.constData(), nullptr));
    if (!dest)
        return nullptr;
    Info info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    return std::make_unique<CupsPrinter>(std::move(dest), std::move(info));
}

Presence printerPresence(const QString& name) {
    const Http http = connectToScheduler();
    if (!http)
        return Presence::Unreachable;
    const QByteArray n = name.toUtf8();
    return Dest(cupsGetNamedDest(http.get(), n.constData(), nullptr)) ? Presence::Installed
                                                                      : Presence::Gone;
}

std::vector<PrinterEntry> installedPrinters() {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    std::vector<PrinterEntry> printers;
    for (int i = 0; i < count; ++i) {
        const cups_dest_t& d = dests[i];
        if (d.instance)
            continue; // lpoptions instances are the same printer
        auto option = [&](const char* key) {
            return QString::fromUtf8(cupsGetOption(key, d.num_options, d.options));
        };
        PrinterEntry entry;
        entry.name = QString::fromUtf8(d.name);
        entry.location = option("printer-location");
        entry.isDefault = d.is_default != 0;
        const QString state = option("printer-state");
        entry.state = state == "5"   ? PrinterEntry::Stopped
                      : state == "4" ? PrinterEntry::Printing
                                     : PrinterEntry::Idle;
        printers.push_back(entry);
    }
    cupsFreeDests(count, dests);
    return printers;
}

} // namespace print
