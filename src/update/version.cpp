#include "update/version.h"

#include <limits>

namespace updatecheck {

namespace {

bool isBlank(QChar c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(QChar c) {
    return c >= '0' && c <= '9';
}

} // namespace

WholeVersion wholeVersion(QStringView text) {
    qsizetype i = 0, end = text.size();
    while (i < end && isBlank(text[i]))
        ++i;
    while (end > i && isBlank(text[end - 1]))
        --end;

    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    // The whole part is accumulated with a ceiling just past the 16-bit range,
    // so a long run of digits cannot overflow the accumulator.
    constexpr std::int64_t ceiling = 1 << 20;
    std::int64_t whole = 0;
    int wholeDigits = 0;
    while (i < end && isDigit(text[i])) {
        whole = std::min(ceiling, whole * 10 + (text[i].unicode() - '0'));
        ++wholeDigits;
        ++i;
    }

    // Fraction: only its first digit and whether anything non-zero follows
    // matter for rounding to a whole number.
    int firstFraction = 0;
    bool restNonZero = false;
    int fractionDigits = 0;
    if (i < end && text[i] == '.') {
        ++i;
        while (i < end && isDigit(text[i])) {
            const int d = text[i].unicode() - '0';
            if (fractionDigits == 0)
                firstFraction = d;
            else if (d != 0)
                restNonZero = true;
            ++fractionDigits;
            ++i;
        }
    }
    if (i != end || wholeDigits + fractionDigits == 0)
        return {std::nullopt, VersionProblem::NotANumber};

    const bool roundUp = firstFraction > 5 || (firstFraction == 5 && restNonZero) ||
                         (firstFraction == 5 && !restNonZero && whole % 2 == 1);
    if (roundUp)
        whole = std::min(ceiling, whole + 1);

    const std::int64_t value = negative ? -whole : whole;
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max())
        return {std::nullopt, VersionProblem::OutOfRange};
    return {static_cast<std::int16_t>(value), VersionProblem::None};
}

bool isNewer(std::int16_t running, std::int16_t published) {
    return running < published;
}

} // namespace updatecheck
