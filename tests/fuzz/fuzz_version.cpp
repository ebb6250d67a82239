// The update check's version reader on any text. Where the text is a plain
// decimal number its rounded value is worked out here again, digit by digit,
// and must agree.
#include "fuzz_support.h"
#include "update/version.h"

#include <QString>

namespace {

// Round-half-even of [sign]digits[.digits], or nothing when not that shape or
// beyond 16 bits.
std::optional<int> reference(const QString& raw, bool* plain) {
    const QString t = raw.trimmed();
    *plain = false;
    int i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    long long whole = 0;
    int digits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        whole = std::min(1LL << 40, whole * 10 + (t[i++].unicode() - '0'));
        ++digits;
    }
    int first = 0, fraction = 0;
    bool rest = false;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            const int d = t[i++].unicode() - '0';
            if (fraction++ == 0)
                first = d;
            else
                rest = rest || d != 0;
        }
    }
    if (i != t.size() || digits + fraction == 0)
        return std::nullopt;
    *plain = true;
    long long rounded = whole;
    if (first > 5 || (first == 5 && (rest || whole % 2 == 1)))
        ++rounded;
    if (negative)
        rounded = -rounded;
    if (rounded < -32768 || rounded > 32767)
        return std::nullopt;
    return int(rounded);
}

bool onlyAsciiBlanks(const QString& t) {
    // QString::trimmed also removes other white space; the reader allows
    // only blanks, tabs and line ends.
    for (QChar c : t)
        if (c.isSpace() && c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const updatecheck::WholeVersion v = updatecheck::wholeVersion(text);
    fuzz::check(v.value.has_value() == (v.problem == updatecheck::VersionProblem::None),
                "a value and a problem at once, or neither");
    if (onlyAsciiBlanks(text)) {
        bool plain = false;
        const std::optional<int> expected = reference(text, &plain);
        if (plain) {
            fuzz::check(v.problem != updatecheck::VersionProblem::NotANumber,
                        "a plain number taken for junk");
            fuzz::check(expected.has_value() == v.value.has_value(), "range decided wrongly");
            if (expected)
                fuzz::check(*expected == *v.value, "rounded wrongly");
        } else {
            fuzz::check(!v.value.has_value(), "junk taken for a number");
        }
    }
    if (v.value) {
        const std::int16_t r = updatecheck::wholeVersion(u"3.00").value.value_or(0);
        fuzz::check(updatecheck::isNewer(r, *v.value) == (*v.value > r), "newer compared wrongly");
    }
    return 0;
}
