#include "services/sane_test_backend.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTextStream>
#include <csignal>
#include <dlfcn.h>
#include <pthread.h>

// The test backend ends a scan by cancelling its reader thread, which it has
// made cancellable at any instruction. A cancel that lands inside malloc or
// free leaves the allocator locked, and the test hangs in pthread_join (about
// one scan in three hundred here). In the test programs a cancel does nothing
// instead: the backend closes the pipe before cancelling, so the reader's next
// write fails and the thread ends of its own accord. SIGPIPE is ignored for
// that write.
extern "C" int pthread_cancel(pthread_t) noexcept {
    return 0;
}

namespace testsupport {

namespace {

// The test backend leaks the buffer of its reader thread when a scan is
// cancelled or split into three frames. Kept mapped after sane_exit, it is
// named in leak reports, so the suppression below matches it and nothing else.
void keepTestBackendMapped() {
    dlopen("libsane-test.so.1", RTLD_NOW | RTLD_NODELETE);
    dlopen("/usr/lib/x86_64-linux-gnu/sane/libsane-test.so.1", RTLD_NOW | RTLD_NODELETE);
}

QString& sharedFolder() {
    static QTemporaryDir dir(QDir::tempPath() + "/parvello-sane-XXXXXX");
    static QString path = [] {
        // Set before the first sane_init of the process; no trailing colon,
        // so the system folder is not appended.
        qputenv("SANE_CONFIG_DIR", dir.path().toLocal8Bit());
        keepTestBackendMapped();
        std::signal(SIGPIPE, SIG_IGN);
        return dir.path();
    }();
    return path;
}

void writeFile(const QString& path, const QString& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text.toUtf8());
}

QString yesNo(bool v) {
    return v ? "true" : "false";
}

} // namespace

SaneTestBackend::SaneTestBackend(const SaneTestConfig& config) {
    writeConfig(config);
}

SaneTestBackend::~SaneTestBackend() {
    SaneTestConfig off;
    off.enabled = false;
    writeConfig(off);
}

QString SaneTestBackend::configDir() {
    return sharedFolder();
}

void SaneTestBackend::writeConfig(const SaneTestConfig& c) {
    const QString dir = configDir();
    writeFile(dir + "/dll.conf", c.enabled ? "test\n" : "");
    QString conf;
    QTextStream out(&conf);
    out << "number_of_devices " << c.devices << "\n"
        << "mode " << c.mode << "\n"
        << "depth " << c.depth << "\n"
        << "hand-scanner " << yesNo(c.handScanner) << "\n"
        << "three-pass " << yesNo(c.threePass) << "\n"
        << "three-pass-order RGB\n"
        << "resolution_min 1.0\nresolution_quant 1.0\n"
        << "resolution_max " << QString::number(c.resolutionMax, 'f', 1) << "\n"
        << "resolution " << QString::number(c.resolution, 'f', 1) << "\n"
        << "test-picture \"" << c.picture << "\"\n"
        << "invert-endianess false\n"
        << "read-limit " << yesNo(c.readLimit) << "\n"
        << "read-limit-size " << c.readLimitSize << "\n"
        << "read-delay " << yesNo(c.readDelay) << "\n"
        << "read-delay-duration " << c.readDelayMicroseconds << "\n"
        << "read-status-code \"" << c.readStatus << "\"\n"
        << "fuzzy-parameters false\n"
        << "ppl-loss " << c.pplLoss << "\n"
        << "non-blocking false\nselect-fd false\nenable-test-options false\n"
        << "geometry_min 0.0\ngeometry_max 300.0\ngeometry_quant 1.0\n"
        << "tl_x 0.0\ntl_y 0.0\n"
        << "br_x " << QString::number(c.brX, 'f', 1) << "\n"
        << "br_y " << QString::number(c.brY, 'f', 1) << "\n";
    out.flush();
    writeFile(dir + "/test.conf", conf);
}

QImage SaneTestBackend::scanimage(const QString& device, const QStringList& extra) const {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SANE_CONFIG_DIR", configDir());
    process.setProcessEnvironment(env);
    process.start("scanimage", QStringList{"-d", device, "--format=pnm"} + extra);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return decodePnm(process.readAllStandardOutput());
}

QImage SaneTestBackend::decodePnm(const QByteArray& data) {
    qsizetype pos = 0;
    auto skipSpaceAndComments = [&] {
        while (pos < data.size()) {
            if (data[pos] == '#') {
                while (pos < data.size() && data[pos] != '\n')
                    ++pos;
            } else if (QChar(data[pos]).isSpace()) {
                ++pos;
            } else {
                break;
            }
        }
    };
    auto number = [&]() -> long {
        skipSpaceAndComments();
        long v = 0;
        bool any = false;
        while (pos < data.size() && data[pos] >= '0' && data[pos] <= '9') {
            v = v * 10 + (data[pos++] - '0');
            any = true;
        }
        return any ? v : -1;
    };
    if (data.size() < 2 || data[0] != 'P')
        return {};
    const char kind = data[1];
    pos = 2;
    const long width = number();
    const long height = number();
    const long maxval = kind == '4' ? 1 : number();
    if (width <= 0 || height <= 0 || maxval <= 0)
        return {};
    ++pos; // the single white-space character before the samples
    QImage image(int(width), int(height), QImage::Format_RGB32);
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    const int channels = kind == '6' ? 3 : 1;
    const int sampleBytes = maxval > 255 ? 2 : 1;
    for (long y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (long x = 0; x < width; ++x) {
            int v[3] = {0, 0, 0};
            if (kind == '4') {
                const qsizetype at = pos + y * ((width + 7) / 8) + x / 8;
                if (at >= data.size())
                    return {};
                v[0] = v[1] = v[2] = (bytes[at] >> (7 - x % 8)) & 1 ? 0 : 255;
            } else {
                for (int c = 0; c < channels; ++c) {
                    const qsizetype at = pos + ((y * width + x) * channels + c) * sampleBytes;
                    if (at + sampleBytes > data.size())
                        return {};
                    v[c] = bytes[at]; // the high byte of a 16-bit sample comes first
                }
                if (channels == 1)
                    v[1] = v[2] = v[0];
            }
            row[x] = qRgb(v[0], v[1], v[2]);
        }
    }
    return image;
}

} // namespace testsupport

// Read by LeakSanitizer in sanitizer builds; unused otherwise.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libsane-test.so\n";
}
