// Read through libcups' destination calls, which present a PPD queue and a
// driverless one the same way.
#include "print/printer_options.h"

#include "print/cups_media.h"
#include "print/cups_printer.h"

namespace print {

namespace {

// Where CUPS reads a destination: one connection for all the questions.
struct Queue {
    http_t* http;
    cups_dest_t* dest;
    cups_dinfo_t* info;
};

// Our own words for the values photo printers name, where CUPS has none of
// its own for the printer (libcups 2.4 words only what the printer words).
struct Caption {
    const char* option;
    const char* value;
    const char* caption;
};
constexpr Caption kCaptions[] = {
    {"media-type", "stationery", "Plain Paper"},
    {"media-type", "photographic", "Photo Paper"},
    {"media-type", "photographic-glossy", "Glossy Photo Paper"},
    {"media-type", "photographic-high-gloss", "High Gloss Photo Paper"},
    {"media-type", "photographic-semi-gloss", "Semi-Gloss Photo Paper"},
    {"media-type", "photographic-satin", "Satin Photo Paper"},
    {"media-type", "photographic-matte", "Matte Photo Paper"},
    {"print-quality", "3", "Draft"},
    {"print-quality", "4", "Normal"},
    {"print-quality", "5", "High"},
    {"media-source", "auto", "Automatic"},
    {"media-source", "main", "Main Tray"},
    {"media-source", "photo", "Photo Tray"},
    {"media-source", "manual", "Manual Feed"},
    {"print-color-mode", "auto", "Automatic"},
    {"print-color-mode", "color", "Color"},
    {"print-color-mode", "monochrome", "Grayscale"},
};

// CUPS' words for a value; where it has none, ours.
QString caption(const Queue& q, const char* option, const QString& value) {
    const QByteArray v = value.toUtf8();
    const char* cups = cupsLocalizeDestValue(q.http, q.dest, q.info, option, v.constData());
    if (cups && v != cups)
        return QString::fromUtf8(cups);
    return ourCaption(option, value);
}

QString valueText(ipp_attribute_t* attr, int i) {
    const ipp_tag_t tag = ippGetValueTag(attr);
    if (tag == IPP_TAG_ENUM || tag == IPP_TAG_INTEGER)
        return QString::number(ippGetInteger(attr, i));
    return QString::fromUtf8(ippGetString(attr, i, nullptr));
}

std::vector<OptionValue> supported(const Queue& q, const char* option) {
    std::vector<OptionValue> values;
    ipp_attribute_t* attr = cupsFindDestSupported(q.http, q.dest, q.info, option);
    for (int i = 0; attr && i < ippGetCount(attr); ++i) {
        const QString value = valueText(attr, i);
        values.push_back({value, caption(q, option, value)});
    }
    return values;
}

// The user's own setting for the queue (lpoptions) first, then the
// printer's, which for the paper's type and tray may sit in its default
// media-col; empty where neither names one (CUPS names none for a PPD's
// default type and tray).
QString byDefault(const Queue& q, const char* option) {
    if (const char* own = cupsGetOption(option, q.dest->num_options, q.dest->options))
        return QString::fromUtf8(own);
    ipp_attribute_t* attr = cupsFindDestDefault(q.http, q.dest, q.info, option);
    if (!attr)
        if (ipp_attribute_t* col = cupsFindDestDefault(q.http, q.dest, q.info, "media-col"))
            attr = ippFindAttribute(ippGetCollection(col, 0), option, IPP_TAG_ZERO);
    return attr && ippGetCount(attr) > 0 ? valueText(attr, 0) : QString();
}

PaperSize paperSize(const Queue& q, cups_size_t& s) {
    return {paperOf(s),
            QString::fromUtf8(
                cupsLocalizeDestMedia(q.http, q.dest, q.info, CUPS_MEDIA_FLAGS_DEFAULT, &s)),
            isBorderless(s)};
}

// The default paper, with borders where the printer offers it both ways.
int defaultSize(const Queue& q, const std::vector<PaperSize>& sizes) {
    const QString name = byDefault(q, "media");
    int found = -1;
    for (size_t i = 0; i < sizes.size(); ++i)
        if (sizes[i].paper.name == name && (found < 0 || !sizes[i].borderless))
            found = int(i);
    return found;
}

} // namespace

QString ourCaption(const char* option, const QString& value) {
    const QByteArray v = value.toUtf8();
    for (const Caption& c : kCaptions)
        if (qstrcmp(c.option, option) == 0 && v == c.value)
            return QString::fromUtf8(c.caption);
    QString words = value;
    words.replace('-', ' ');
    if (!words.isEmpty())
        words[0] = words[0].toUpper();
    return words;
}

std::optional<PrinterOptions> printerOptions(const QString& printer, QString* error) {
    const Http http = connectToScheduler();
    if (!http) {
        *error = QString::fromUtf8(kSchedulerUnreachable);
        return std::nullopt;
    }
    const QByteArray n = printer.toUtf8();
    const Dest dest(
        cupsGetNamedDest(http.get(), printer.isEmpty() ? nullptr : n.constData(), nullptr));
    if (!dest) {
        *error = printer.isEmpty()
                     ? QStringLiteral("No printer is set up. Add one in your system's printer "
                                      "settings.")
                     : QStringLiteral("The printer %1 is no longer set up. Choose another "
                                      "printer.")
                           .arg(printer);
        return std::nullopt;
    }
    const Info info(cupsCopyDestInfo(http.get(), dest.get()));
    if (!info) {
        *error = QStringLiteral("The printer %1 does not say what paper and quality it offers: %2")
                     .arg(QString::fromUtf8(dest->name), QString::fromUtf8(cupsLastErrorString()));
        return std::nullopt;
    }
    const Queue q{http.get(), dest.get(), info.get()};
    PrinterOptions options;
    const int count = cupsGetDestMediaCount(q.http, q.dest, q.info, CUPS_MEDIA_FLAGS_DEFAULT);
    for (int i = 0; i < count; ++i) {
        cups_size_t size{};
        if (cupsGetDestMediaByIndex(q.http, q.dest, q.info, i, CUPS_MEDIA_FLAGS_DEFAULT, &size))
            options.sizes.push_back(paperSize(q, size));
    }
    options.types = supported(q, "media-type");
    options.qualities = supported(q, "print-quality");
    options.sources = supported(q, "media-source");
    options.colourModes = supported(q, "print-color-mode");
    options.defaultSize = defaultSize(q, options.sizes);
    options.defaultType = byDefault(q, "media-type");
    options.defaultQuality = byDefault(q, "print-quality");
    options.defaultSource = byDefault(q, "media-source");
    options.defaultColourMode = byDefault(q, "print-color-mode");
    return options;
}

} // namespace print
