#pragma once
// A private CUPS scheduler for tests: its own configuration and spool
// folders, listening on a Unix socket of its own, with printers whose jobs
// run through the system's pdftopdf filter (as on a real PDF printer) and
// land as files in a folder the test reads. CUPS_SERVER is pointed at it for
// this process (and the children it starts), so set it up before anything
// asks CUPS for printers.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace testsvc {

struct FolderPrinter {
    QString name = QStringLiteral("parvello-test");
    QString paper = QStringLiteral("Letter"); // default paper: "Letter" or "A4"
    int dpi = 150;
    // Printable area margins in points, different on every side so that a
    // page placed from the wrong corner shows.
    double left = 12, bottom = 30, right = 20, top = 24;
    // Non-empty: the backend reports this printer-state reason (for example
    // "media-empty-error") and fails every job.
    QString failWith;
};

class CupsServer {
  public:
    CupsServer();
    ~CupsServer();

    // Starts cupsd and waits until it answers; false with a reason otherwise.
    bool start(QString* error);
    void stop();
    bool running() const;

    // Adds a queue that copies every job into outputDir(name).
    bool addPrinter(const FolderPrinter& printer, bool makeDefault, QString* error);
    // Adds a driverless queue for the IPP Everywhere printer at `uri`: CUPS
    // asks the printer what it offers and makes the queue's PPD from that.
    bool addDriverlessPrinter(const QString& name, const QString& uri, QString* error);
    bool setAccepting(const QString& name, bool accept, QString* error);

    QString socketPath() const;
    QString outputDir(const QString& name) const;
    // Finished job files of a queue, oldest first.
    QStringList jobFiles(const QString& name) const;
    // Waits until at least `count` jobs have landed; false on time-out.
    bool waitForJobs(const QString& name, int count, int timeoutMs = 20000) const;

    // Points CUPS_SERVER at a socket nobody listens on: no printer at all.
    static void pointAtNothing();

  private:
    bool run(const QString& program, const QStringList& args, QString* error) const;
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_cupsd;
};

} // namespace testsvc
