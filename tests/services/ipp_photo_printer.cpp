#include "services/ipp_photo_printer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <cups/cups.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsvc {

namespace {

// Sizes in hundredths of a millimetre, as IPP gives them.
struct Media {
    const char* name;
    int width, length;
};
constexpr Media kMedia[] = {{"na_letter_8.5x11in", 21590, 27940},
                            {"iso_a4_210x297mm", 21000, 29700},
                            {"na_index-4x6_4x6in", 10160, 15240},
                            {"na_5x7_5x7in", 12700, 17780}};
constexpr int kMargin = 423; // a sixth of an inch, an inkjet's usual edge

QByteArray mediaSize(const Media& m) {
    return "{ MEMBER integer x-dimension " + QByteArray::number(m.width) +
           " MEMBER integer y-dimension " + QByteArray::number(m.length) + " }";
}

QByteArray mediaCol(const Media& m, int margin, const char* extra = "") {
    const QByteArray e = QByteArray::number(margin);
    return "{ MEMBER collection media-size " + mediaSize(m) +
           " MEMBER integer media-bottom-margin " + e + " MEMBER integer media-left-margin " + e +
           " MEMBER integer media-right-margin " + e + " MEMBER integer media-top-margin " + e +
           extra + " }";
}

// ippeveprinter's attributes file: every size with margins and borderless.
QByteArray attributes() {
    QByteArray names, sizes, database;
    for (const Media& m : kMedia) {
        const QByteArray sep = names.isEmpty() ? "" : ",";
        names += sep + m.name;
        sizes += sep + mediaSize(m);
        database += sep + mediaCol(m, kMargin) + "," + mediaCol(m, 0);
    }
    const QByteArray margins = "0," + QByteArray::number(kMargin);
    return "ATTR mimeMediaType document-format-supported application/pdf,image/jpeg,"
           "image/pwg-raster\n"
           "ATTR keyword pwg-raster-document-type-supported sgray_8,srgb_8\n"
           "ATTR resolution pwg-raster-document-resolution-supported 300dpi,600dpi\n"
           "ATTR keyword media-type-supported stationery,photographic-glossy,"
           "photographic-matte\n"
           "ATTR keyword media-type-default stationery\n"
           "ATTR enum print-quality-supported 3,4,5\n"
           "ATTR enum print-quality-default 4\n"
           "ATTR keyword media-source-supported main,photo\n"
           "ATTR keyword media-source-default main\n"
           "ATTR boolean color-supported true\n"
           "ATTR keyword print-color-mode-supported auto,color,monochrome\n"
           "ATTR keyword print-color-mode-default color\n"
           "ATTR keyword media-supported " +
           names + "\nATTR keyword media-default " + kMedia[0].name +
           "\nATTR collection media-size-supported " + sizes +
           "\nATTR collection media-col-database " + database +
           "\nATTR collection media-col-default " +
           mediaCol(kMedia[0], kMargin,
                    " MEMBER keyword media-source main MEMBER keyword media-type stationery") +
           "\nATTR integer media-bottom-margin-supported " + margins +
           "\nATTR integer media-left-margin-supported " + margins +
           "\nATTR integer media-right-margin-supported " + margins +
           "\nATTR integer media-top-margin-supported " + margins + "\n";
}

// A port nobody listens on now (the kernel's pick).
int freePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&a), len) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    close(s);
    return port;
}

void stopProcess(std::unique_ptr<QProcess>& p) {
    if (!p)
        return;
    p->terminate();
    if (!p->waitForFinished(3000)) {
        p->kill();
        p->waitForFinished(2000);
    }
    p.reset();
}

struct HttpCloser {
    void operator()(http_t* h) const { httpClose(h); }
};

// The attributes of `attr` into `job`, a collection member by member.
void flatten(ipp_attribute_t* attr, const QString& name, ReceivedJob* job) {
    if (ippGetValueTag(attr) != IPP_TAG_BEGIN_COLLECTION) {
        char text[2048];
        ippAttributeString(attr, text, sizeof text);
        job->insert(name, QString::fromUtf8(text));
        return;
    }
    ipp_t* col = ippGetCollection(attr, 0);
    for (ipp_attribute_t* m = ippFirstAttribute(col); m; m = ippNextAttribute(col))
        flatten(m, name + '.' + QString::fromUtf8(ippGetName(m)), job);
}

} // namespace

IppPhotoPrinter::IppPhotoPrinter() = default;

IppPhotoPrinter::~IppPhotoPrinter() {
    stop();
}

QString IppPhotoPrinter::uri() const {
    return QStringLiteral("ipp://localhost:%1/ipp/print").arg(m_port);
}

bool IppPhotoPrinter::start(QString* error) {
    const QString d = m_dir.path();
    QFile attrs(d + "/photo.attrs");
    if (!m_dir.isValid() || !attrs.open(QIODevice::WriteOnly)) {
        *error = "no room for the printer's attributes";
        return false;
    }
    attrs.write(attributes());
    attrs.close();
    // ippeveprinter wants a system bus for its DNS-SD even when it
    // advertises nothing: a private one.
    QFile busConfig(d + "/bus.conf");
    if (!busConfig.open(QIODevice::WriteOnly)) {
        *error = "no room for the bus's configuration";
        return false;
    }
    busConfig.write("<busconfig><type>system</type><listen>unix:path=" + d.toUtf8() +
                    "/bus.sock</listen><policy context=\"default\"><allow "
                    "send_destination=\"*\"/><allow receive_sender=\"*\"/><allow own=\"*\"/>"
                    "</policy></busconfig>\n");
    busConfig.close();
    m_bus = std::make_unique<QProcess>();
    m_bus->setStandardErrorFile(QProcess::nullDevice());
    // Both end with the test process, also when that dies first.
    m_bus->start("setpriv", {"--pdeathsig", "TERM", "dbus-daemon", "--nofork", "--print-address=1",
                             "--config-file=" + busConfig.fileName()});
    QByteArray address;
    while (!address.contains('\n') && m_bus->waitForReadyRead(10000))
        address += m_bus->readAllStandardOutput();
    if (!address.contains('\n')) {
        *error = "dbus-daemon did not start";
        return false;
    }
    m_port = freePort();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DBUS_SYSTEM_BUS_ADDRESS", QString::fromUtf8(address.trimmed()));
    m_printer = std::make_unique<QProcess>();
    m_printer->setProcessEnvironment(env);
    m_printer->setStandardOutputFile(d + "/printer.log");
    m_printer->setStandardErrorFile(d + "/printer.log", QIODevice::Append);
    // Each job's document is copied aside ("JOBID-NAME.pdf"), so a job
    // completes at once and the test can read what arrived.
    QDir().mkpath(d + "/spool");
    QDir().mkpath(d + "/received");
    QFile keep(d + "/keep.sh");
    if (!keep.open(QIODevice::WriteOnly)) {
        *error = "no room for the printer's command";
        return false;
    }
    // While the test says the printer wants paper, a job waits for it a while.
    keep.write("#!/bin/sh\nif [ -e '" + d.toUtf8() +
               "/wants-paper' ]; then\n  echo 'STATE: +media-needed' >&2\n  sleep 8\n"
               "  echo 'STATE: -media-needed' >&2\nfi\ncp \"$1\" '" +
               d.toUtf8() + "/received/'\n");
    keep.close();
    keep.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_printer->start("setpriv",
                     {"--pdeathsig", "TERM", "/usr/sbin/ippeveprinter", "-r", "off", "-n",
                      "localhost", "-p", QString::number(m_port), "-a", attrs.fileName(), "-d",
                      d + "/spool", "-c", keep.fileName(), "-v", "Parvello Photo"});
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (m_printer->state() == QProcess::NotRunning) {
            *error = "ippeveprinter stopped: see " + d + "/printer.log";
            return false;
        }
        if (std::unique_ptr<http_t, HttpCloser>(httpConnect2(
                "localhost", m_port, nullptr, AF_INET, HTTP_ENCRYPTION_NEVER, 1, 1000, nullptr)))
            return true;
        QThread::msleep(30);
    }
    *error = "ippeveprinter did not answer";
    return false;
}

void IppPhotoPrinter::stop() {
    stopProcess(m_printer);
    stopProcess(m_bus);
}

void IppPhotoPrinter::setWantsPaper(bool wants) {
    QFile flag(m_dir.path() + "/wants-paper");
    if (wants)
        flag.open(QIODevice::WriteOnly);
    else
        flag.remove();
}

QStringList IppPhotoPrinter::receivedDocuments() const {
    QDir received(m_dir.path() + "/received");
    QStringList files = received.entryList(QDir::Files);
    std::sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
        return a.section('-', 0, 0).toInt() < b.section('-', 0, 0).toInt();
    });
    for (QString& f : files)
        f = received.filePath(f);
    return files;
}

std::vector<ReceivedJob> IppPhotoPrinter::receivedJobs(QString* error) const {
    std::vector<ReceivedJob> jobs;
    const std::unique_ptr<http_t, HttpCloser> http(httpConnect2(
        "localhost", m_port, nullptr, AF_INET, HTTP_ENCRYPTION_NEVER, 1, 5000, nullptr));
    if (!http) {
        *error = "the photo printer does not answer";
        return jobs;
    }
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
    const QByteArray printerUri = uri().toUtf8();
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printerUri.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "all");
    ipp_t* response = cupsDoRequest(http.get(), request, "/ipp/print");
    if (!response || ippGetStatusCode(response) > IPP_STATUS_OK_CONFLICTING) {
        *error = "Get-Jobs: " + QString::fromUtf8(cupsLastErrorString());
        ippDelete(response);
        return jobs;
    }
    // Each job is one group of attributes; a nameless separator ends it.
    ReceivedJob job;
    auto endJob = [&] {
        if (!job.isEmpty())
            jobs.push_back(job);
        job.clear();
    };
    for (ipp_attribute_t* a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
        if (ippGetGroupTag(a) != IPP_TAG_JOB || !ippGetName(a)) {
            endJob();
            continue;
        }
        flatten(a, QString::fromUtf8(ippGetName(a)), &job);
    }
    endJob();
    ippDelete(response);
    std::sort(jobs.begin(), jobs.end(), [](const ReceivedJob& a, const ReceivedJob& b) {
        return a.value("job-id").toInt() < b.value("job-id").toInt();
    });
    return jobs;
}

bool IppPhotoPrinter::waitForJobs(int count, int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    QString error;
    while (!deadline.hasExpired()) {
        // Its attributes, and its document copied aside.
        if (int(receivedJobs(&error).size()) >= count && receivedDocuments().size() >= count)
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(50);
    }
    return false;
}

} // namespace testsvc
