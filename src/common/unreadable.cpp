#include "common/unreadable.h"

#include <QtEndian>

namespace unreadable {

QString words(Reason reason, const QString& first, const QString& second) {
    for (const ReasonWords& r : kReasonWords)
        if (r.reason == reason) {
            QString text = QString::fromUtf8(r.words.data(), qsizetype(r.words.size()));
            if (text.contains(QLatin1String("%2")))
                return text.arg(first, second);
            return text.contains(QLatin1String("%1")) ? text.arg(first) : text;
        }
    return {};
}

QString cannotOpen(const QString& systemReason) {
    QString why = systemReason;
    if (!why.isEmpty())
        why[0] = why[0].toLower();
    return words(Reason::CannotOpen, why);
}

QString tooLarge(qint64 width, qint64 height, qint64 maxPixels) {
    constexpr qint64 Mega = 1'000'000;
    return words(Reason::TooLarge, QString::number((width * height + Mega - 1) / Mega),
                 QString::number(maxPixels / Mega));
}

QString fileTooLarge(qint64 bytes, qint64 maxBytes) {
    constexpr qint64 Mega = 1 << 20;
    return words(Reason::FileTooLarge, QString::number((bytes + Mega - 1) / Mega),
                 QString::number(maxBytes / Mega));
}

namespace {

quint64 bigEndian(const QByteArray& b, qsizetype at, int bytes) {
    quint64 v = 0;
    for (int i = 0; i < bytes; ++i)
        v = v << 8 | uchar(b[at + i]);
    return v;
}

// A TIFF (and the camera raw files built on it) whose first directory lies
// beyond its end.
bool tiffCutShort(const QByteArray& b) {
    if (b.size() < 8)
        return false;
    quint32 first = 0;
    if (b.startsWith(QByteArrayView("II*\0", 4)))
        first = qFromLittleEndian<quint32>(b.constData() + 4);
    else if (b.startsWith(QByteArrayView("MM\0*", 4)))
        first = qFromBigEndian<quint32>(b.constData() + 4);
    else
        return false;
    return first >= quint64(b.size());
}

// A HEIF or AVIF file (ISO boxes from "ftyp" on) whose last box claims more
// than the file holds.
bool boxesCutShort(const QByteArray& b) {
    if (b.size() < 8 || b.mid(4, 4) != "ftyp")
        return false;
    quint64 at = 0;
    const quint64 size = quint64(b.size());
    while (at + 8 <= size) {
        quint64 length = bigEndian(b, qsizetype(at), 4);
        if (length == 1) {
            if (at + 16 > size)
                return true;
            length = bigEndian(b, qsizetype(at + 8), 8);
        }
        if (length == 0) // to the end of the file
            return false;
        if (length < 8 || length > size) // damaged, or far past the end
            return length > size;
        at += length;
    }
    return at > size;
}

} // namespace

Reason damagedOrCutShort(const QByteArray& bytes) {
    const bool cutShort = (bytes.startsWith("\xff\xd8\xff") && !bytes.endsWith("\xff\xd9")) ||
                          (bytes.startsWith("\x89PNG\r\n\x1a\n") &&
                           !bytes.endsWith(QByteArray("\0\0\0\0IEND\xae\x42\x60\x82", 12))) ||
                          (bytes.startsWith("GIF8") && !bytes.endsWith(';')) ||
                          tiffCutShort(bytes) || boxesCutShort(bytes);
    return cutShort ? Reason::EndsTooSoon : Reason::Damaged;
}

} // namespace unreadable
