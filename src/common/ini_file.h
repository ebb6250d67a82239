#pragma once
// A small private-profile (INI) file: "[SECTION]" lines and "key=value" lines.
// Section and key names match whatever their letter case; values come back
// exactly as stored. Reading never fails: a missing file, section or key, or a
// file that is not text at all, simply yields empty values.

#include <QString>
#include <QStringList>

class IniFile {
  public:
    // Files larger than this are treated as not there: a settings file is a
    // few hundred bytes, and a huge one is not ours.
    static constexpr qint64 MaxFileSize = 1 << 20;

    explicit IniFile(QString fileName);

    const QString& fileName() const { return m_fileName; }

    // The value of key in section, whole. Text after a NUL character in the
    // file is not part of the value.
    QString read(const QString& section, const QString& key) const;

    // Sets key in section, adding the section or the key when missing. Other
    // sections, keys and comments of the file are kept. The file is written
    // whole to a temporary file that is then renamed over the old one, so a
    // failed or interrupted write leaves the old file as it was.
    // Returns false, with errorString() set, when the file cannot be written.
    bool write(const QString& section, const QString& key, const QString& value);

    // Several writes as one: writes(...) then one replacement of the file.
    struct Entry {
        QString key;
        QString value;
    };
    bool write(const QString& section, const QList<Entry>& entries);

    QString errorString() const { return m_error; }

  private:
    QStringList readLines() const;

    QString m_fileName;
    QString m_error;
};
