#pragma once
// The picture saver: picks an encoder by the target file's extension and
// saves a picture with it. The encoders are Qt's image writers for BMP,
// JPEG, PNG and TIFF and our giflib writer for GIF, listed in a table of
// codec records that names each encoder and the extensions it serves.
// The main window owns one saver for its whole life.

#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>
#include <QUuid>
#include <QVector>

namespace acquire {

class cGdiPlus : public QObject {
    Q_OBJECT
  public:
    explicit cGdiPlus(QObject* parent = nullptr);
    ~cGdiPlus() override;

    // Saves the picture to sFilename with the encoder serving its extension;
    // lQuality (0 ... 100) is used for extensions starting with "J" only.
    // True only when the file was written. The write goes to a temporary
    // file first, so a failure never damages an existing file.
    bool PictureBoxToFile(const QImage& pic, const QString& sFilename, qint32 lQuality);

    // The message for a status code.
    static QString GdiErrorString(qint32 lError);

    // The encoder table, exposed for the tests and for diagnostics.
    void LoadEncoders();
    void AddExtensions(const QString& list, const QString& separator, int index);
    int EncoderIndex(const QString& pattern) const;
    static QString FileExtension(const QString& path);
    static QString PtrToString(const char16_t* text);
    static QUuid GuidFromString(const QString& text);

    quint32 startupToken() const { return m_token; }
    int encoderCount() const { return m_encoderCount; }
    QUuid encoderId(int index) const { return m_encoders.value(index); }
    // What the last failed call reported (for messages at the user interface).
    QString lastErrorDetail() const { return m_lastDetail; }

  signals:
    // Raised with the status code and its message whenever a save step fails.
    void Error(qint32 lGdiError, const QString& sErrorDesc);

  private:
    void Class_Initialize();
    void Class_Terminate();
    void raise(qint32 status, const QString& detail);
    bool save(const QImage& pic, const QString& sFilename, qint32 lQuality);

    quint32 m_token = 0;
    QVector<QUuid> m_encoders;
    int m_encoderCount = 0;
    bool m_hasMap = false;
    QHash<QString, int> m_extensions; // upper-case pattern -> encoder index
    QString m_lastDetail;
};

} // namespace acquire
