#include "paper_flags.h"

#include "print/paper_memory.h"

#include <QStringList>

namespace paperflags {

namespace {

struct QualityWord {
    const char* word;
    const char* value; // print-quality
};
constexpr QualityWord kQualities[] = {{"draft", "3"}, {"normal", "4"}, {"high", "5"}};

QString qualityWord(const QString& value) {
    for (const QualityWord& q : kQualities)
        if (value == QLatin1String(q.value))
            return QString::fromUtf8(q.word);
    return value;
}

// "Letter" for the standard name, as parvello-print takes it.
QString sizeWord(const print::PaperSize& s) {
    return print::sizeInWords(s.paper.name);
}

bool sizeMatches(const print::PaperSize& s, const QString& given) {
    return s.paper.name == given || sizeWord(s).compare(given, Qt::CaseInsensitive) == 0;
}

// Each size once, in the printer's order; "(borderless too)" / "(borderless only)".
QStringList sizeNames(const print::PrinterOptions& options, bool detail) {
    QStringList names;
    for (const print::PaperSize& s : options.sizes) {
        const QString word = sizeWord(s);
        if (!names.contains(word))
            names << word;
    }
    if (!detail)
        return names;
    QStringList lines;
    for (const QString& word : names) {
        bool bordered = false, borderless = false;
        QString name;
        for (const print::PaperSize& s : options.sizes)
            if (sizeWord(s) == word) {
                (s.borderless ? borderless : bordered) = true;
                name = s.paper.name;
            }
        lines << QStringLiteral("  %1  %2%3")
                     .arg(word.leftJustified(8), name,
                          !borderless ? QString()
                          : bordered  ? QStringLiteral(", borderless too")
                                      : QStringLiteral(", borderless only"));
    }
    return lines;
}

QStringList values(const std::vector<print::OptionValue>& offered) {
    QStringList list;
    for (const print::OptionValue& v : offered)
        list << v.value;
    return list;
}

// A type or tray by its value or its caption.
std::optional<QString> valueOf(const std::vector<print::OptionValue>& offered,
                               const QString& given) {
    for (const print::OptionValue& v : offered)
        if (v.value == given || v.caption.compare(given, Qt::CaseInsensitive) == 0)
            return v.value;
    return std::nullopt;
}

QString offersNot(const QString& printer, const QString& what, const QString& given,
                  const QStringList& offered) {
    return offered.isEmpty()
               ? QStringLiteral("the printer %1 offers no choice of %2 (\"%3\" asked)")
                     .arg(printer, what, given)
               : QStringLiteral("the printer %1 does not offer the %2 \"%3\"; it offers: %4")
                     .arg(printer, what, given, offered.join(", "));
}

} // namespace

std::optional<print::PaperChoice> apply(const Flags& flags, print::PaperChoice choice,
                                        const print::PrinterOptions& options,
                                        const QString& printer, QString* error) {
    if (!flags.size.isEmpty()) {
        const auto size = std::find_if(options.sizes.begin(), options.sizes.end(),
                                       [&](const auto& s) { return sizeMatches(s, flags.size); });
        if (size == options.sizes.end()) {
            *error = offersNot(printer, "paper", flags.size, sizeNames(options, false));
            return std::nullopt;
        }
        choice.size = size->paper.name;
        choice.borderless = false;
    }
    if (flags.borderless || !flags.size.isEmpty()) {
        const bool borderless = flags.borderless;
        const bool offered =
            std::any_of(options.sizes.begin(), options.sizes.end(), [&](const auto& s) {
                return s.paper.name == choice.size && s.borderless == borderless;
            });
        if (!offered) {
            QStringList sizes;
            for (const print::PaperSize& s : options.sizes)
                if (s.borderless == borderless)
                    sizes << sizeWord(s);
            *error = offersNot(printer, borderless ? "borderless paper" : "paper with borders",
                               print::sizeInWords(choice.size), sizes);
            return std::nullopt;
        }
        choice.borderless = borderless;
    }
    if (!flags.type.isEmpty()) {
        const auto type = valueOf(options.types, flags.type);
        if (!type) {
            *error = offersNot(printer, "paper type", flags.type, values(options.types));
            return std::nullopt;
        }
        choice.type = *type;
    }
    if (!flags.source.isEmpty()) {
        const auto source = valueOf(options.sources, flags.source);
        if (!source) {
            *error = offersNot(printer, "tray", flags.source, values(options.sources));
            return std::nullopt;
        }
        choice.source = *source;
    }
    if (!flags.quality.isEmpty()) {
        QStringList offered;
        for (const print::OptionValue& q : options.qualities)
            offered << qualityWord(q.value);
        if (!offered.contains(flags.quality)) {
            *error = offersNot(printer, "quality", flags.quality, offered);
            return std::nullopt;
        }
        for (const QualityWord& q : kQualities)
            if (flags.quality == QLatin1String(q.word))
                choice.quality = QString::fromUtf8(q.value);
    }
    return choice;
}

QString listed(const QString& printer, const print::PrinterOptions& options,
               const print::PaperChoice& inUse) {
    QStringList lines{QStringLiteral("Printer %1").arg(printer),
                      QStringLiteral("Paper (--paper, --borderless):")};
    lines << sizeNames(options, true);
    auto list = [&](const QString& heading, const std::vector<print::OptionValue>& offered) {
        if (offered.empty())
            return;
        lines << heading;
        for (const print::OptionValue& v : offered)
            lines << QStringLiteral("  %1  %2").arg(v.value.leftJustified(20), v.caption);
    };
    list(QStringLiteral("Paper type (--paper-type):"), options.types);
    QStringList qualities;
    for (const print::OptionValue& q : options.qualities)
        qualities << qualityWord(q.value);
    if (!qualities.isEmpty())
        lines << QStringLiteral("Quality (--quality): %1").arg(qualities.join(", "));
    list(QStringLiteral("Tray (--source):"), options.sources);
    lines << QStringLiteral("Prints on: %1").arg(print::paperInWords(inUse, options));
    return lines.join('\n') + '\n';
}

} // namespace paperflags
