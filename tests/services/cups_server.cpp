#include "services/cups_server.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cups/cups.h>

namespace testsvc {

namespace {

bool writeFile(const QString& path, const QByteArray& text, QFile::Permissions perms = {}) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    f.write(text);
    f.close();
    if (perms)
        f.setPermissions(perms);
    return true;
}

// Called with no arguments it describes itself; otherwise it copies the job
// into the folder of its device URI and renames it into place when complete.
// "folder:DIR?fail=REASON" reports REASON and fails instead.
const char* kBackend = R"(#!/bin/sh
if [ $# -eq 0 ]; then
  echo 'direct folder "Unknown" "Copy jobs to a folder"'
  exit 0
fi
case "$DEVICE_URI" in *'?fail='*)
  echo "STATE: +${DEVICE_URI#*\?fail=}" >&2
  exit 1;;
esac
dir="${DEVICE_URI#folder:}"
name=$(printf 'job-%06d.pdf' "$1")
if [ -n "$6" ]; then cat "$6" > "$dir/.$name.part" || exit 1
else cat > "$dir/.$name.part" || exit 1
fi
mv "$dir/.$name.part" "$dir/$name"
exit 0
)";

QByteArray ppd(const FolderPrinter& p) {
    struct Paper {
        const char* name;
        double w, h;
    };
    const Paper papers[] = {{"Letter", 612, 792}, {"A4", 595.28, 841.89}};
    QByteArray t;
    t += "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
         "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
         "*PCFileName: \"PARVTEST.PPD\"\n*Manufacturer: \"Parvello\"\n"
         "*Product: \"(Folder Printer)\"\n*ModelName: \"Parvello Folder Printer\"\n"
         "*ShortNickName: \"Parvello Folder Printer\"\n"
         "*NickName: \"Parvello Folder Printer\"\n*PSVersion: \"(3010.000) 0\"\n"
         "*LanguageLevel: \"3\"\n*ColorDevice: True\n*DefaultColorSpace: RGB\n"
         "*FileSystem: False\n*Throughput: \"1\"\n*LandscapeOrientation: Plus90\n"
         "*TTRasterizer: Type42\n"
         // The printer takes PDF, so CUPS runs pdftopdf in front of it.
         "*cupsFilter2: \"application/vnd.cups-pdf application/pdf 0 -\"\n";
    t += "*OpenUI *Resolution/Resolution: PickOne\n*DefaultResolution: " +
         QByteArray::number(p.dpi) + "dpi\n*Resolution " + QByteArray::number(p.dpi) + "dpi/" +
         QByteArray::number(p.dpi) + " dpi: \"\"\n*CloseUI: *Resolution\n";
    const QByteArray def = p.paper.toLatin1();
    for (const char* key : {"PageSize", "PageRegion"}) {
        t += QByteArray("*OpenUI *") + key + ": PickOne\n*Default" + key + ": " + def + "\n";
        for (const Paper& pp : papers)
            t += QByteArray("*") + key + " " + pp.name + ": \"<</PageSize[" +
                 QByteArray::number(pp.w) + " " + QByteArray::number(pp.h) + "]>>setpagedevice\"\n";
        t += QByteArray("*CloseUI: *") + key + "\n";
    }
    t += "*DefaultImageableArea: " + def + "\n";
    for (const Paper& pp : papers)
        t += QByteArray("*ImageableArea ") + pp.name + ": \"" + QByteArray::number(p.left) + " " +
             QByteArray::number(p.bottom) + " " + QByteArray::number(pp.w - p.right) + " " +
             QByteArray::number(pp.h - p.top) + "\"\n";
    t += "*DefaultPaperDimension: " + def + "\n";
    for (const Paper& pp : papers)
        t += QByteArray("*PaperDimension ") + pp.name + ": \"" + QByteArray::number(pp.w) + " " +
             QByteArray::number(pp.h) + "\"\n";
    return t;
}

} // namespace

CupsServer::CupsServer() = default;

CupsServer::~CupsServer() {
    stop();
}

QString CupsServer::socketPath() const {
    return m_dir.path() + "/run/cups.sock";
}

QString CupsServer::outputDir(const QString& name) const {
    return m_dir.path() + "/out/" + name;
}

bool CupsServer::running() const {
    return m_cupsd && m_cupsd->state() == QProcess::Running;
}

void CupsServer::pointAtNothing() {
    qputenv("CUPS_SERVER", "/nonexistent/parvello-no-cups.sock");
    cupsSetServer(nullptr); // libcups keeps the server it read first, and its connection
}

bool CupsServer::start(QString* error) {
    if (!m_dir.isValid()) {
        *error = "no temporary folder";
        return false;
    }
    const QString d = m_dir.path();
    for (const char* sub :
         {"run", "spool", "spool/tmp", "state", "cache", "log", "bin", "bin/backend", "ppd", "out"})
        QDir().mkpath(d + '/' + sub);
    // cupsd looks for filters and backends under ServerBin: the system's,
    // plus a backend folder of our own.
    for (const char* sub : {"filter", "cgi-bin", "daemon", "monitor", "notifier", "driver"})
        QFile::link(QStringLiteral("/usr/lib/cups/") + sub, d + "/bin/" + sub);
    // Mode 0700: the backend then runs as root and can write the test's folder.
    if (!writeFile(d + "/bin/backend/folder", kBackend,
                   QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        *error = "cannot write the backend";
        return false;
    }
    // Driverless queues print through CUPS's own IPP backend.
    QFile::link("/usr/lib/cups/backend/ipp", d + "/bin/backend/ipp");
    const QByteArray files = "ServerRoot " + d.toUtf8() + "\nServerBin " + d.toUtf8() +
                             "/bin\nDataDir /usr/share/cups\nRequestRoot " + d.toUtf8() +
                             "/spool\nTempDir " + d.toUtf8() + "/spool/tmp\nStateDir " +
                             d.toUtf8() + "/state\nCacheDir " + d.toUtf8() + "/cache\nErrorLog " +
                             d.toUtf8() + "/log/error_log\nAccessLog " + d.toUtf8() +
                             "/log/access_log\nPageLog " + d.toUtf8() +
                             "/log/page_log\nFileDevice Yes\nSystemGroup root lpadmin\n";
    const QByteArray conf = "Listen " + socketPath().toUtf8() +
                            "\nBrowsing No\nBrowseLocalProtocols none\nWebInterface No\n"
                            "DefaultAuthType None\nPreserveJobHistory Yes\nLogLevel warn\n"
                            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                            "<Policy default>\n  JobPrivateAccess all\n  JobPrivateValues none\n"
                            "  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
    if (!writeFile(d + "/cups-files.conf", files) || !writeFile(d + "/cupsd.conf", conf)) {
        *error = "cannot write the configuration";
        return false;
    }
    qputenv("CUPS_SERVER", socketPath().toUtf8());
    cupsSetServer(nullptr); // an earlier scheduler of this process is gone
    m_cupsd = std::make_unique<QProcess>();
    m_cupsd->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_cupsd->start("/usr/sbin/cupsd",
                   {"-f", "-c", d + "/cupsd.conf", "-s", d + "/cups-files.conf"});
    if (!m_cupsd->waitForStarted(5000)) {
        *error = "cupsd did not start: " + m_cupsd->errorString();
        return false;
    }
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (m_cupsd->state() != QProcess::Running) {
            *error = "cupsd stopped: see " + d + "/log/error_log";
            return false;
        }
        QString ignored;
        if (QFileInfo::exists(socketPath()) && run("lpstat", {"-r"}, &ignored))
            return true;
        QThread::msleep(30);
    }
    *error = "cupsd did not answer";
    return false;
}

void CupsServer::stop() {
    if (!m_cupsd)
        return;
    if (m_cupsd->state() == QProcess::Running) {
        m_cupsd->terminate();
        if (!m_cupsd->waitForFinished(5000)) {
            m_cupsd->kill();
            m_cupsd->waitForFinished(2000);
        }
    }
    m_cupsd.reset();
}

bool CupsServer::run(const QString& program, const QStringList& args, QString* error) const {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = program + ' ' + args.join(' ') + ": " + QString::fromLocal8Bit(p.readAll());
        return false;
    }
    return true;
}

bool CupsServer::addPrinter(const FolderPrinter& printer, bool makeDefault, QString* error) {
    const QString out = outputDir(printer.name);
    QDir().mkpath(out);
    const QString ppdFile = m_dir.path() + "/ppd/" + printer.name + ".ppd";
    if (!writeFile(ppdFile, ppd(printer))) {
        *error = "cannot write the PPD";
        return false;
    }
    const QString uri =
        "folder:" + out + (printer.failWith.isEmpty() ? QString() : "?fail=" + printer.failWith);
    if (!run("lpadmin", {"-p", printer.name, "-E", "-v", uri, "-P", ppdFile}, error))
        return false;
    if (makeDefault && !run("lpadmin", {"-d", printer.name}, error))
        return false;
    return true;
}

bool CupsServer::addDriverlessPrinter(const QString& name, const QString& uri, QString* error) {
    if (!run("lpadmin", {"-p", name, "-E", "-v", uri, "-m", "everywhere"}, error))
        return false;
    // The scheduler describes the new queue's paper only a moment after
    // lpadmin returns.
    const QByteArray n = name.toUtf8();
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, n.constData(), nullptr)) {
            cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
            const int sizes = info ? cupsGetDestMediaCount(CUPS_HTTP_DEFAULT, dest, info,
                                                           CUPS_MEDIA_FLAGS_DEFAULT)
                                   : 0;
            cupsFreeDestInfo(info);
            cupsFreeDests(1, dest);
            if (sizes > 0)
                return true;
        }
        QThread::msleep(30);
    }
    *error = "the scheduler does not describe the paper of " + name;
    return false;
}

bool CupsServer::setAccepting(const QString& name, bool accept, QString* error) {
    return run(accept ? "cupsaccept" : "cupsreject", {name}, error);
}

QStringList CupsServer::jobFiles(const QString& name) const {
    QStringList files;
    const QDir dir(outputDir(name));
    for (const QString& f : dir.entryList({"job-*.pdf"}, QDir::Files, QDir::Name))
        files << dir.filePath(f);
    return files;
}

bool CupsServer::waitForJobs(const QString& name, int count, int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (jobFiles(name).size() >= count)
            return true;
        // The jobs may still be waiting for a question's answer or a print
        // job's worker, both of which report through the event loop.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return jobFiles(name).size() >= count;
}

} // namespace testsvc
