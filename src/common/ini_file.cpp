#include "common/ini_file.h"

#include <QFile>
#include <QSaveFile>

namespace {

// "[NAME]" with blanks around the name allowed, as the platform's reader does.
bool isSectionLine(const QString& line, QString* name) {
    const QString t = line.trimmed();
    if (!t.startsWith('['))
        return false;
    const int close = t.indexOf(']');
    if (close < 0)
        return false;
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

// "key=value": the key is trimmed, the value is everything after the first '='.
bool isKeyLine(const QString& line, QString* key, QString* value) {
    const int eq = line.indexOf('=');
    if (eq < 0)
        return false;
    *key = line.left(eq).trimmed();
    *value = line.mid(eq + 1);
    return !key->isEmpty();
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

IniFile::IniFile(QString fileName) : m_fileName(std::move(fileName)) {}

QStringList IniFile::readLines() const {
    QFile f(m_fileName);
    if (f.size() > MaxFileSize || !f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    // Folder names on Linux are UTF-8; junk decodes to replacement
    // characters, never to an error.
    QString text = QString::fromUtf8(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace('\r', '\n');
    return text.split('\n');
}

QString IniFile::read(const QString& section, const QString& key) const {
    QString current;
    bool inSection = false;
    for (const QString& line : readLines()) {
        QString name, k, v;
        if (isSectionLine(line, &name)) {
            current = name;
            inSection = sameName(current, section);
            continue;
        }
        if (inSection && isKeyLine(line, &k, &v) && sameName(k, key)) {
            const int nul = v.indexOf(QChar(0));
            if (nul >= 0)
                v.truncate(nul);
            return v;
        }
    }
    return {};
}

bool IniFile::write(const QString& section, const QString& key, const QString& value) {
    return write(section, QList<Entry>{{key, value}});
}

bool IniFile::write(const QString& section, const QList<Entry>& entries) {
    QStringList lines = readLines();
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();

    // Where the section starts and ends (the line after its last key line).
    int start = -1, end = -1;
    for (int i = 0; i < lines.size(); ++i) {
        QString name;
        if (isSectionLine(lines[i], &name)) {
            if (start >= 0)
                break;
            if (sameName(name, section))
                start = end = i + 1;
        } else if (start >= 0 && !lines[i].trimmed().isEmpty()) {
            end = i + 1;
        }
    }
    if (start < 0) {
        if (!lines.isEmpty())
            lines << QString();
        lines << '[' + section + ']';
        start = end = lines.size();
    }
    for (const Entry& e : entries) {
        bool replaced = false;
        for (int i = start; i < end; ++i) {
            QString k, v;
            if (isKeyLine(lines[i], &k, &v) && sameName(k, e.key)) {
                lines[i] = k + '=' + e.value;
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            lines.insert(end, e.key + '=' + e.value);
            ++end;
        }
    }

    QSaveFile out(m_fileName);
    if (!out.open(QIODevice::WriteOnly)) {
        m_error = out.errorString();
        return false;
    }
    // A write the disk refused (full, over quota) must not be committed: the
    // old file would be replaced by a cut-off one. QSaveFile's commit misses
    // a buffered write that fails, so flush first.
    const QByteArray text = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (out.write(text) != text.size() || !out.flush()) {
        m_error = out.errorString();
        out.cancelWriting();
        return false;
    }
    if (!out.commit()) {
        m_error = out.errorString();
        return false;
    }
    m_error.clear();
    return true;
}
