#include "print/paper_memory.h"

#include "common/ini_file.h"
#include "common/paths.h"
#include "print/cups_media.h"

#include <QStringList>
#include <algorithm>
#include <cups/cups.h>

namespace print {

namespace {

// The keys of a printer's section. A queue may share its name with another
// section ("MAIN"): none of these keys is used there.
const QString kSizeKey = QStringLiteral("PaperSize");
const QString kBorderlessKey = QStringLiteral("Borderless");

// The values beside the size, each checked against the printer's list.
struct Field {
    const char* key;
    const char* option;    // as CUPS names it
    const char* ownChoice; // the words when the printer chooses
    QString PaperChoice::*value;
    std::vector<OptionValue> PrinterOptions::*offered;
};
const Field kFields[] = {
    {"PaperType", "media-type", "the printer's own paper", &PaperChoice::type,
     &PrinterOptions::types},
    {"Quality", "print-quality", "the printer's own quality", &PaperChoice::quality,
     &PrinterOptions::qualities},
    {"PaperSource", "media-source", "the printer's own tray", &PaperChoice::source,
     &PrinterOptions::sources},
    {"ColourMode", "print-color-mode", "the printer's own colour mode", &PaperChoice::colourMode,
     &PrinterOptions::colourModes},
};

bool offers(const std::vector<OptionValue>& values, const QString& value) {
    return std::any_of(values.begin(), values.end(),
                       [&](const OptionValue& v) { return v.value == value; });
}

bool offersSize(const PrinterOptions& options, const QString& name, bool borderless) {
    return std::any_of(options.sizes.begin(), options.sizes.end(), [&](const PaperSize& s) {
        return s.paper.name == name && s.borderless == borderless;
    });
}

QString sizeWords(const PaperChoice& choice, const PrinterOptions& options) {
    QString name = choice.size;
    bool borderless = choice.borderless;
    if (name.isEmpty() && options.defaultSize >= 0) {
        const PaperSize& d = options.sizes[size_t(options.defaultSize)];
        name = d.paper.name;
        borderless = d.borderless;
    }
    return sizeInWords(name, QStringLiteral("the printer's own paper size")) +
           (borderless ? QStringLiteral(" borderless") : QString());
}

// A value in the user's words, as the printer captions it where it lists it.
QString valueWords(const Field& field, const QString& value, const PrinterOptions& options) {
    if (value.isEmpty())
        return QString::fromUtf8(field.ownChoice);
    if (field.value == &PaperChoice::quality)
        return qualityInWords(value);
    const std::vector<OptionValue>& offered = options.*field.offered;
    const auto it = std::find_if(offered.begin(), offered.end(),
                                 [&](const OptionValue& v) { return v.value == value; });
    return (it != offered.end() ? it->caption : ourCaption(field.option, value)).toLower();
}

} // namespace

QString queueName(const QString& printer) {
    if (!printer.isEmpty())
        return printer;
    const Dest dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr));
    return dest ? QString::fromUtf8(dest->name) : QString();
}

QString sizeInWords(const QString& name, const QString& fallback) {
    const QStringList parts = name.split('_');
    if (parts.size() < 3)
        return name.isEmpty() ? fallback : name;
    QString words = parts[1];
    if (words.size() <= 3 && words.front().isLetter() && words.back().isDigit())
        return words.toUpper(); // a4, b5, c5
    if (std::all_of(words.begin(), words.end(), [](QChar c) { return c.isLetter(); })) {
        words[0] = words[0].toUpper(); // letter, legal
        return words;
    }
    // "index-4x6", "photo-l": the dimensions say it better.
    const QString dims = parts.last();
    if (dims.endsWith(QLatin1String("in")))
        return dims.chopped(2);
    if (dims.endsWith(QLatin1String("mm")))
        return dims.chopped(2) + QStringLiteral(" mm");
    return dims;
}

QString qualityInWords(const QString& quality) {
    if (quality == QLatin1String("3"))
        return QStringLiteral("draft quality");
    if (quality == QLatin1String("4"))
        return QStringLiteral("normal quality");
    if (quality == QLatin1String("5"))
        return QStringLiteral("best quality");
    return ourCaption("print-quality", quality).toLower() + QStringLiteral(" quality");
}

PaperChoice firstPaper(const PrinterOptions& options) {
    PaperChoice choice;
    if (options.defaultSize >= 0) {
        const PaperSize& d = options.sizes[size_t(options.defaultSize)];
        choice.size = d.paper.name;
        choice.borderless = d.borderless;
    }
    for (const char* photo : {"photographic-glossy", "photographic-high-gloss"})
        if (choice.type.isEmpty() && offers(options.types, QString::fromUtf8(photo)))
            choice.type = QString::fromUtf8(photo);
    for (const OptionValue& t : options.types)
        if (choice.type.isEmpty() && t.value.startsWith(QLatin1String("photographic")))
            choice.type = t.value;
    for (const OptionValue& q : options.qualities)
        if (choice.quality.isEmpty() || q.value.toInt() > choice.quality.toInt())
            choice.quality = q.value;
    if (offers(options.colourModes, QStringLiteral("color")))
        choice.colourMode = QStringLiteral("color");
    return choice;
}

PaperChoice rememberedPaper(const QString& printer, const PrinterOptions& options,
                            QString* notice) {
    const PaperChoice first = firstPaper(options);
    const QString section = queueName(printer);
    if (notice)
        notice->clear();
    if (section.isEmpty())
        return first;
    const IniFile settings(paths::settingsFile());
    PaperChoice choice = first;
    QStringList dropped, instead;

    const QString size = settings.read(section, kSizeKey);
    const bool borderless = settings.read(section, kBorderlessKey) == QLatin1String("1");
    if (!size.isEmpty()) {
        if (offersSize(options, size, borderless)) {
            choice.size = size;
            choice.borderless = borderless;
        } else {
            dropped << sizeWords({size, borderless, {}, {}, {}, {}}, options);
            instead << sizeWords(first, options);
        }
    }
    for (const Field& field : kFields) {
        const QString value = settings.read(section, QString::fromUtf8(field.key));
        if (value.isEmpty())
            continue;
        if (offers(options.*field.offered, value)) {
            choice.*field.value = value;
        } else {
            dropped << valueWords(field, value, options);
            instead << valueWords(field, first.*field.value, options);
        }
    }
    if (notice && !dropped.isEmpty())
        *notice = QStringLiteral("The printer %1 no longer offers %2: Parvello uses %3 instead.")
                      .arg(section, dropped.join(QStringLiteral(", ")),
                           instead.join(QStringLiteral(", ")));
    return choice;
}

bool rememberPaper(const QString& printer, const PaperChoice& choice, QString* error) {
    const QString section = queueName(printer);
    if (section.isEmpty()) {
        if (error)
            *error = QStringLiteral("No printer is set up: the paper cannot be remembered.");
        return false;
    }
    QList<IniFile::Entry> entries = {{kSizeKey, choice.size},
                                     {kBorderlessKey, choice.borderless ? "1" : "0"}};
    for (const Field& field : kFields)
        entries.append({QString::fromUtf8(field.key), choice.*field.value});
    IniFile settings(paths::settingsFile());
    if (settings.write(section, entries))
        return true;
    if (error)
        *error = QStringLiteral("The paper for %1 could not be remembered: %2 cannot be written "
                                "(%3).")
                     .arg(section, settings.fileName(), settings.errorString());
    return false;
}

QString paperInWords(const PaperChoice& choice, const PrinterOptions& options) {
    QStringList words{sizeWords(choice, options)};
    for (const Field& field : kFields) {
        const QString& value = choice.*field.value;
        // Colour goes without saying; only its absence is worth a word.
        const bool said =
            !value.isEmpty() && value != QLatin1String("color") && value != QLatin1String("auto");
        if (said)
            words << valueWords(field, value, options);
    }
    return words.join(QStringLiteral(", "));
}

} // namespace print
