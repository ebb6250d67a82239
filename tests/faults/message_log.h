#pragma once
// Collects what the program writes to its log (qInfo, qWarning, ...) while a
// test runs, so a test can check that a failure was not silent.

#include <QMutex>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class MessageLog {
  public:
    MessageLog() {
        lines().clear();
        m_previous = qInstallMessageHandler(&MessageLog::handle);
    }
    ~MessageLog() { qInstallMessageHandler(m_previous); }

    QStringList all() const {
        QMutexLocker lock(&mutex());
        return lines();
    }
    bool contains(const QString& text) const {
        for (const QString& line : all())
            if (line.contains(text))
                return true;
        return false;
    }

  private:
    static void handle(QtMsgType, const QMessageLogContext&, const QString& message) {
        QMutexLocker lock(&mutex());
        lines() << message;
    }
    static QStringList& lines() {
        static QStringList l;
        return l;
    }
    static QMutex& mutex() {
        static QMutex m;
        return m;
    }
    QtMessageHandler m_previous = nullptr;
};
