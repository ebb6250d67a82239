#include "pictures/picture_formats.h"

#include <QFileInfo>

namespace pictures {

namespace {

bool sameName(std::string_view extension, const QString& suffix) {
    return !extension.empty() && QLatin1StringView(extension.data(), qsizetype(extension.size()))
                                         .compare(suffix, Qt::CaseInsensitive) == 0;
}

bool listed(const std::array<std::string_view, 2>& extensions, const QString& suffix) {
    for (std::string_view extension : extensions)
        if (sameName(extension, suffix))
            return true;
    return false;
}

QString text(std::string_view s) {
    return QString::fromLatin1(s.data(), qsizetype(s.size()));
}

} // namespace

const PictureFormat* formatOf(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix();
    for (const PictureFormat& format : kPictureFormats)
        if (listed(format.extensions, suffix) || listed(format.alsoWritten, suffix))
            return &format;
    return nullptr;
}

bool isReadableName(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix();
    for (const PictureFormat& format : kPictureFormats)
        if (format.reader != Reader::None && listed(format.extensions, suffix))
            return true;
    return false;
}

QStringList saveTypes() {
    QStringList types;
    for (const PictureFormat& format : kPictureFormats)
        if (format.writer != Writer::None)
            types << QStringLiteral("%1 (*.%2)").arg(text(format.name), text(format.extensions[0]));
    return types;
}

} // namespace pictures
