#include "acquire/gdiplus.h"

#include "acquire/gifwriter.h"
#include "acquire/writeresult.h"

#include <QIODevice>
#include <QImageWriter>
#include <array>
#include <new>

namespace acquire {

namespace {

// One record per encoder, in the order the encoders are listed. The class
// identifiers are the well-known ones of the standard image encoders, so a
// record means the same thing wherever it is logged.
struct CodecInfo {
    const char* clsid;
    const char16_t* formatDescription;
    const char16_t* filenameExtension;
    const char* mimeType;
    const char* writerFormat; // Qt's name for the writer; "gif" is our own
};

constexpr std::array<CodecInfo, 5> codecTable{{
    {"{557CF400-1A04-11D3-9A73-0000F81EF32E}", u"BMP", u"*.BMP;*.DIB;*.RLE", "image/bmp", "bmp"},
    {"{557CF401-1A04-11D3-9A73-0000F81EF32E}", u"JPEG", u"*.JPG;*.JPEG;*.JPE;*.JFIF", "image/jpeg",
     "jpeg"},
    {"{557CF402-1A04-11D3-9A73-0000F81EF32E}", u"GIF", u"*.GIF", "image/gif", "gif"},
    {"{557CF405-1A04-11D3-9A73-0000F81EF32E}", u"TIFF", u"*.TIF;*.TIFF", "image/tiff", "tiff"},
    {"{557CF406-1A04-11D3-9A73-0000F81EF32E}", u"PNG", u"*.PNG", "image/png", "png"},
}};

// The encoders this installation can run: TIFF needs Qt's image-format
// plugins, the others are always there.
std::vector<const CodecInfo*> availableEncoders() {
    const QList<QByteArray> formats = QImageWriter::supportedImageFormats();
    std::vector<const CodecInfo*> list;
    for (const CodecInfo& codec : codecTable) {
        const QByteArray format(codec.writerFormat);
        if (format == "gif" || formats.contains(format))
            list.push_back(&codec);
    }
    return list;
}

const CodecInfo* codecById(const QUuid& id) {
    for (const CodecInfo& codec : codecTable)
        if (QUuid(QString::fromLatin1(codec.clsid)) == id)
            return &codec;
    return nullptr;
}

quint32 nextToken = 1;

} // namespace

cGdiPlus::cGdiPlus(QObject* parent) : QObject(parent) {
    Class_Initialize();
}

cGdiPlus::~cGdiPlus() {
    Class_Terminate();
}

void cGdiPlus::Class_Initialize() {
    // Qt's writers need no start-up of their own; the token marks a live saver.
    m_token = nextToken++;
    if (nextToken == 0)
        nextToken = 1;
    if (m_token != 0)
        LoadEncoders();
}

void cGdiPlus::Class_Terminate() {
    if (m_token != 0) {
        m_extensions.clear();
        m_hasMap = false;
        m_token = 0;
    }
}

void cGdiPlus::LoadEncoders() {
    const std::vector<const CodecInfo*> encoders = availableEncoders();
    const int count = int(encoders.size());
    m_encoders = QVector<QUuid>(count);
    m_encoderCount = count;
    m_extensions.clear();
    m_hasMap = true;
    for (int n = count - 1; n >= 0; --n) {
        m_encoders[n] = GuidFromString(QString::fromLatin1(encoders[size_t(n)]->clsid));
        AddExtensions(PtrToString(encoders[size_t(n)]->filenameExtension), ";", n);
    }
}

void cGdiPlus::AddExtensions(const QString& list, const QString& separator, int index) {
    if (separator.isEmpty())
        return;
    qsizetype start = 0;
    qsizetype at = list.indexOf(separator, start);
    while (at >= 0) {
        m_extensions.insert(list.mid(start, at - start).toUpper(), index);
        start = at + separator.size();
        at = list.indexOf(separator, start);
    }
    const QString rest = list.mid(start).trimmed();
    if (!rest.isEmpty())
        m_extensions.insert(rest.toUpper(), index);
}

int cGdiPlus::EncoderIndex(const QString& pattern) const {
    if (!m_hasMap)
        return -1;
    return m_extensions.value(pattern.toUpper(), -1);
}

QString cGdiPlus::FileExtension(const QString& path) {
    const qsizetype dot = path.lastIndexOf('.');
    if (dot < 0 || path.indexOf('/', dot) >= 0)
        return {};
    return path.mid(dot + 1);
}

QString cGdiPlus::PtrToString(const char16_t* text) {
    return text ? QString::fromUtf16(text) : QString();
}

QUuid cGdiPlus::GuidFromString(const QString& text) {
    return QUuid::fromString(text);
}

QString cGdiPlus::GdiErrorString(qint32 lError) {
    static const char* const messages[] = {
        "Generic Error",
        "Invalid Parameter",
        "Out Of Memory",
        "Object Busy",
        "Insufficient Buffer",
        "Not Implemented",
        "Win32 Error",
        "Wrong State",
        "Aborted",
        "File Not Found",
        "Value Overflow",
        "Access Denied",
        "Unknown Image Format",
        "FontFamily Not Found",
        "FontStyle Not Found",
        "Not TrueType Font",
        "Unsupported Gdiplus Version",
        "Gdiplus Not Initialized",
        "Property Not Found",
        "Property Not Supported",
    };
    if (lError >= 1 && lError <= 20)
        return QString::fromLatin1(messages[lError - 1]);
    return QStringLiteral("Unknown GDI+ Error");
}

void cGdiPlus::raise(qint32 status, const QString& detail) {
    m_lastDetail = detail;
    emit Error(status, GdiErrorString(status));
}

bool cGdiPlus::PictureBoxToFile(const QImage& pic, const QString& sFilename, qint32 lQuality) {
    // A picture too large for memory ends as a failed save, not a crash.
    try {
        return save(pic, sFilename, lQuality);
    } catch (const std::bad_alloc&) {
        raise(OutOfMemory, "not enough memory to save the picture");
        return false;
    }
}

bool cGdiPlus::save(const QImage& pic, const QString& sFilename, qint32 lQuality) {
    const QString extension = FileExtension(sFilename);
    const int index = EncoderIndex("*." + extension);
    if (index < 0 || index >= m_encoderCount)
        return false;
    const CodecInfo* codec = codecById(m_encoders[index]);
    if (!codec)
        return false;

    // The encoders get an opaque copy of the picture, as a screen bitmap would be.
    if (pic.isNull()) {
        raise(InvalidParameter, "no picture to save");
        return false;
    }
    const QImage bitmap = pic.convertToFormat(QImage::Format_RGB32);
    if (bitmap.isNull()) {
        raise(OutOfMemory, "not enough memory to copy the picture");
        return false;
    }

    const bool withQuality = extension.startsWith('J', Qt::CaseInsensitive);
    const QByteArray format(codec->writerFormat);
    const WriteResult result = writeAtomically(sFilename, [&](QIODevice& out) -> WriteResult {
        if (format == "gif")
            return writeGif(bitmap, out);
        QImageWriter writer(&out, format);
        if (withQuality)
            writer.setQuality(lQuality);
        if (!writer.write(bitmap))
            return WriteResult::failure(writer.error() == QImageWriter::DeviceError ? Win32Error
                                                                                    : GenericError,
                                        writer.errorString());
        return {};
    });
    if (!result.ok()) {
        raise(result.status, result.detail);
        return false;
    }
    return true;
}

} // namespace acquire
