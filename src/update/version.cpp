#include "update/version.h"

#include <algorithm>

namespace updatecheck {

namespace {

bool isBlank(QChar c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(QChar c) {
    return c >= '0' && c <= '9';
}

// -1, 0 or 1 as part a is below, equal to or above part b.
int comparePart(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

} // namespace

VersionNumber readVersion(QStringView text) {
    qsizetype i = 0, end = text.size();
    while (i < end && isBlank(text[i]))
        ++i;
    while (end > i && isBlank(text[end - 1]))
        --end;

    VersionNumber version;
    while (true) {
        std::string part;
        const qsizetype start = i;
        for (; i < end && isDigit(text[i]); ++i)
            if (!part.empty() || text[i] != '0')
                part += char(text[i].unicode());
        if (i == start)
            return {}; // an empty part: nothing, a leading or doubled point
        version.parts.push_back(std::move(part));
        if (i == end)
            break;
        if (text[i] != '.')
            return {};
        ++i;
    }
    version.valid = true;
    return version;
}

bool isNewer(const VersionNumber& running, const VersionNumber& published) {
    const std::size_t parts = std::max(running.parts.size(), published.parts.size());
    static const std::string zero;
    for (std::size_t p = 0; p < parts; ++p) {
        const std::string& r = p < running.parts.size() ? running.parts[p] : zero;
        const std::string& n = p < published.parts.size() ? published.parts[p] : zero;
        if (const int c = comparePart(r, n); c != 0)
            return c < 0;
    }
    return false;
}

} // namespace updatecheck
