#pragma once
// A photo printer that speaks IPP Everywhere, for tests: CUPS's ippeveprinter
// on a free port of localhost, offering glossy, matte and plain paper, draft,
// normal and high quality, Letter, A4, 4x6 and 5x7 each with margins and
// borderless, from a main and a photo tray. Add it to the private scheduler
// with CupsServer::addDriverlessPrinter(name, uri()).

#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace testsvc {

// One job as the printer received it: its attributes by name, collections
// flattened with dots ("media-col.media-size.x-dimension"), values as IPP
// writes them in words ("high" for print-quality 5; several joined by commas).
using ReceivedJob = QMap<QString, QString>;

class IppPhotoPrinter {
  public:
    IppPhotoPrinter();
    ~IppPhotoPrinter();

    // Starts the printer and waits until it answers; false with a reason otherwise.
    bool start(QString* error);
    void stop();

    QString uri() const; // ipp://localhost:PORT/ipp/print

    // Every job the printer has received, oldest first.
    std::vector<ReceivedJob> receivedJobs(QString* error) const;
    // From now on each job makes the printer report that it needs paper
    // (media-needed) for 8 seconds before it prints.
    void setWantsPaper(bool wants);
    // The document of every job, as the printer received it, oldest first.
    QStringList receivedDocuments() const;
    // Waits until at least `count` jobs and their documents have arrived;
    // false on time-out.
    bool waitForJobs(int count, int timeoutMs = 20000) const;

  private:
    QTemporaryDir m_dir;
    int m_port = 0;
    std::unique_ptr<QProcess> m_bus;
    std::unique_ptr<QProcess> m_printer;
};

} // namespace testsvc
