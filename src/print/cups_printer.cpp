// A CUPS destination as a sheet target: each sheet is painted to a PDF in
// memory and streamed to the scheduler as one job through libcups.
#include "print/cups_printer.h"

#include "common/units.h"
#include "print/cups_media.h"
#include "print/sheet_painter.h"

#include <QBuffer>
#include <QPdfWriter>
#include <cups/cups.h>

namespace print {

namespace {

constexpr int kMaxDpi = 600;
constexpr int kConnectTimeoutMs = 10000;

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

// The paper the sheets go on, as the printer describes it: the chosen one,
// else its default (the user's "media" option first, then the printer's
// media-default). False when the printer describes no such paper.
bool describedMedia(cups_dest_t* dest, cups_dinfo_t* info, const PaperChoice& choice,
                    cups_size_t* size) {
    if (!info)
        return false;
    if (!choice.size.isEmpty())
        return findMedia(CUPS_HTTP_DEFAULT, dest, info, choice.size, choice.borderless, size);
    const char* media = cupsGetOption("media", dest->num_options, dest->options);
    if (!media)
        if (ipp_attribute_t* attr = cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media"))
            media = ippGetString(attr, 0, nullptr);
    // libcups' own default is Letter whatever the printer says.
    return media ? cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest, info, media,
                                          CUPS_MEDIA_FLAGS_DEFAULT, size)
                 : cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT,
                                           size);
}

// Where the printer describes no paper (a queue with no description of its
// paper): the size the chosen or "media" option names, else Letter, with no
// margins known.
Paper undescribedPaper(cups_dest_t* dest, const PaperChoice& choice) {
    const QByteArray chosen = choice.size.toUtf8();
    const char* media = choice.size.isEmpty()
                            ? cupsGetOption("media", dest->num_options, dest->options)
                            : chosen.constData();
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

// The job's media-col: the paper as described, with the chosen type and tray.
QByteArray mediaCol(const cups_size_t& size, const PaperChoice& choice) {
    QByteArray col = "{media-size={x-dimension=" + QByteArray::number(size.width) +
                     " y-dimension=" + QByteArray::number(size.length) +
                     "} media-bottom-margin=" + QByteArray::number(size.bottom) +
                     " media-left-margin=" + QByteArray::number(size.left) +
                     " media-right-margin=" + QByteArray::number(size.right) +
                     " media-top-margin=" + QByteArray::number(size.top);
    if (!choice.type.isEmpty())
        col += " media-type=" + choice.type.toUtf8();
    if (!choice.source.isEmpty())
        col += " media-source=" + choice.source.toUtf8();
    return col + '}';
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
    CupsPrinter(Dest dest, Info info, const PaperChoice& choice)
        : m_dest(std::move(dest)), m_info(std::move(info)), m_name(QString::fromUtf8(m_dest->name)),
          m_choice(choice), m_dpi(finestResolution(m_dest.get(), m_info.get())) {
        cups_size_t size{};
        if (describedMedia(m_dest.get(), m_info.get(), choice, &size) && size.width > 0 &&
            size.length > 0) {
            m_paper = paperOf(size);
            // The type and tray travel inside media-col: CUPS drops them alone.
            if (!choice.size.isEmpty() || !choice.type.isEmpty() || !choice.source.isEmpty())
                m_mediaCol = mediaCol(size, choice);
        } else if (m_info && !choice.size.isEmpty()) {
            m_refusal = QStringLiteral("The printer %1 does not offer the paper %2%3. Choose "
                                       "another paper, then print again.")
                            .arg(m_name, choice.size,
                                 choice.borderless ? QStringLiteral(" borderless") : QString());
        } else {
            m_paper = undescribedPaper(m_dest.get(), choice);
        }
    }

    int resolution() const override { return m_dpi; }
    Paper paper() const override { return m_paper; }
    QString printerName() const override { return m_name; }

    SheetResult printSheet(const Sheet& sheet) override {
        SheetResult result;
        if (!m_refusal.isEmpty()) {
            result.error = m_refusal;
            return result;
        }
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
        if (!m_mediaCol.isEmpty())
            count = cupsAddOption("media-col", m_mediaCol.constData(), count, &options);
        else if (!m_paper.name.isEmpty())
            count = cupsAddOption("media", m_paper.name.toUtf8().constData(), count, &options);
        if (!m_choice.quality.isEmpty())
            count = cupsAddOption("print-quality", m_choice.quality.toUtf8().constData(), count,
                                  &options);
        if (!m_choice.colourMode.isEmpty())
            count = cupsAddOption("print-color-mode", m_choice.colourMode.toUtf8().constData(),
                                  count, &options);
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
    PaperChoice m_choice;
    Paper m_paper;
    QByteArray m_mediaCol; // empty: the paper goes by name, or not at all
    QString m_refusal;     // why every sheet fails: a paper the printer does not offer
    int m_dpi;
};

} // namespace

std::unique_ptr<SheetTarget> cupsPrinter(const QString& name, const PaperChoice& choice) {
    const QByteArray n = name.toUtf8();
    Dest dest(
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.isEmpty() ? nullptr : n.constData(), nullptr));
    if (!dest)
        return nullptr;
    Info info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    return std::make_unique<CupsPrinter>(std::move(dest), std::move(info), choice);
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
