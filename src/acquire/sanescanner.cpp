#include "acquire/sanescanner.h"

#include <QThread>
#include <cstring>
#include <new>
#include <sane/sane.h>
#include <sane/saneopts.h>
#include <vector>

namespace acquire::sane {

namespace {

// Larger scans than this are refused instead of exhausting memory.
constexpr qint64 maxPixels = qint64(1) << 28;
constexpr SANE_Int readChunk = 256 * 1024;

QString statusText(SANE_Status status) {
    return QString::fromLocal8Bit(sane_strstatus(status));
}

struct Frame {
    SANE_Parameters params{};
    std::vector<SANE_Byte> data;

    qint64 lines() const {
        return params.bytes_per_line > 0 ? qint64(data.size()) / params.bytes_per_line : 0;
    }
};

// Closes the device however the scan ends.
struct OpenDevice {
    SANE_Handle handle = nullptr;
    ~OpenDevice() {
        if (handle) {
            sane_cancel(handle);
            sane_close(handle);
        }
    }
};

const SANE_Option_Descriptor* findOption(SANE_Handle h, const char* name, SANE_Int* number) {
    SANE_Int count = 0;
    if (sane_control_option(h, 0, SANE_ACTION_GET_VALUE, &count, nullptr) != SANE_STATUS_GOOD)
        return nullptr;
    for (SANE_Int n = 1; n < count; ++n) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, n);
        if (d && d->name && std::strcmp(d->name, name) == 0) {
            *number = n;
            return d;
        }
    }
    return nullptr;
}

void chooseColourMode(SANE_Handle h) {
    SANE_Int n = 0;
    const SANE_Option_Descriptor* d = findOption(h, SANE_NAME_SCAN_MODE, &n);
    if (!d || d->type != SANE_TYPE_STRING || !SANE_OPTION_IS_ACTIVE(d->cap) ||
        !SANE_OPTION_IS_SETTABLE(d->cap) || d->constraint_type != SANE_CONSTRAINT_STRING_LIST)
        return;
    for (const SANE_String_Const* v = d->constraint.string_list; *v; ++v) {
        if (std::strcmp(*v, SANE_VALUE_SCAN_MODE_COLOR) == 0) {
            std::vector<char> value(size_t(qMax<SANE_Int>(d->size, 16)), 0);
            std::strncpy(value.data(), *v, value.size() - 1);
            // A scanner that refuses simply keeps its own mode.
            sane_control_option(h, n, SANE_ACTION_SET_VALUE, value.data(), nullptr);
            return;
        }
    }
}

// The resolution the scan runs at, in dots per inch, or 0 when unknown.
double scanResolution(SANE_Handle h) {
    SANE_Int n = 0;
    const SANE_Option_Descriptor* d = findOption(h, SANE_NAME_SCAN_RESOLUTION, &n);
    if (!d || !SANE_OPTION_IS_ACTIVE(d->cap) || d->size < SANE_Int(sizeof(SANE_Word)))
        return 0;
    std::vector<SANE_Word> value(size_t(d->size) / sizeof(SANE_Word) + 1, 0);
    if (sane_control_option(h, n, SANE_ACTION_GET_VALUE, value.data(), nullptr) != SANE_STATUS_GOOD)
        return 0;
    if (d->type == SANE_TYPE_INT)
        return value[0];
    if (d->type == SANE_TYPE_FIXED)
        return SANE_UNFIX(value[0]);
    return 0;
}

int samplesPerPixel(SANE_Frame format) {
    return format == SANE_FRAME_RGB ? 3 : 1;
}

QString checkParameters(const SANE_Parameters& p) {
    if (p.format != SANE_FRAME_GRAY && p.format != SANE_FRAME_RGB && p.format != SANE_FRAME_RED &&
        p.format != SANE_FRAME_GREEN && p.format != SANE_FRAME_BLUE)
        return QString("the scanner sends frames of an unknown kind (%1)").arg(int(p.format));
    if (p.depth != 1 && p.depth != 8 && p.depth != 16)
        return QString("the scanner sends %1 bits a sample, which Parvello cannot read")
            .arg(p.depth);
    if (p.pixels_per_line <= 0 || p.bytes_per_line <= 0)
        return "the scanner reports an empty line";
    const qint64 bitsNeeded = qint64(p.pixels_per_line) * samplesPerPixel(p.format) * p.depth;
    if ((bitsNeeded + 7) / 8 > p.bytes_per_line)
        return "the scanner reports lines shorter than their pixels";
    if (p.lines > 0 && qint64(p.pixels_per_line) * p.lines > maxPixels)
        return "the scan is too large";
    return {};
}

int sample(const SANE_Byte* row, qint64 index, int depth) {
    switch (depth) {
    case 8:
        return row[index];
    case 16: {
        quint16 v;
        std::memcpy(&v, row + 2 * index, 2); // host byte order, as SANE sends it
        return v >> 8;
    }
    default: // 1 bit a sample, the first sample in the highest bit
        return (row[index >> 3] >> (7 - (index & 7))) & 1 ? 255 : 0;
    }
}

// Paints one frame's samples into the picture's channels.
void paintFrame(const Frame& f, QImage& image) {
    const SANE_Parameters& p = f.params;
    const qint64 rows = qMin<qint64>(f.lines(), image.height());
    const qint64 width = qMin<qint64>(p.pixels_per_line, image.width());
    for (qint64 y = 0; y < rows; ++y) {
        const SANE_Byte* row = f.data.data() + y * p.bytes_per_line;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (qint64 x = 0; x < width; ++x) {
            int r = qRed(dst[x]), g = qGreen(dst[x]), b = qBlue(dst[x]);
            switch (p.format) {
            case SANE_FRAME_GRAY: {
                int v = sample(row, x, p.depth);
                if (p.depth == 1)
                    v = 255 - v; // line art: a set bit is black
                r = g = b = v;
                break;
            }
            case SANE_FRAME_RGB:
                r = sample(row, 3 * x, p.depth);
                g = sample(row, 3 * x + 1, p.depth);
                b = sample(row, 3 * x + 2, p.depth);
                break;
            case SANE_FRAME_RED:
                r = sample(row, x, p.depth);
                break;
            case SANE_FRAME_GREEN:
                g = sample(row, x, p.depth);
                break;
            default:
                b = sample(row, x, p.depth);
                break;
            }
            dst[x] = qRgb(r, g, b);
        }
    }
}

ScanResult failed(const QString& text) {
    ScanResult r;
    r.outcome = ScanResult::Outcome::Failed;
    r.error = text;
    return r;
}

ScanResult cancelled() {
    ScanResult r;
    r.outcome = ScanResult::Outcome::Cancelled;
    r.error = "the scan was cancelled";
    return r;
}

} // namespace

QString Device::label() const {
    const QString product = QString("%1 %2").arg(vendor, model).simplified();
    return product.isEmpty() ? name : QString("%1 (%2)").arg(product, name);
}

Session::Session() {
    SANE_Int version = 0;
    const SANE_Status status = sane_init(&version, nullptr);
    m_ok = status == SANE_STATUS_GOOD;
    if (!m_ok)
        m_error = "the scanner library could not start: " + statusText(status);
}

Session::~Session() {
    if (m_ok)
        sane_exit();
}

QVector<Device> Session::devices() {
    QVector<Device> found;
    if (!m_ok)
        return found;
    const SANE_Device** list = nullptr;
    if (sane_get_devices(&list, SANE_FALSE) != SANE_STATUS_GOOD || !list)
        return found;
    for (; *list; ++list) {
        const SANE_Device* d = *list;
        auto text = [](const char* s) { return s ? QString::fromLocal8Bit(s) : QString(); };
        if (d->name && *d->name)
            found.push_back({text(d->name), text(d->vendor), text(d->model), text(d->type)});
    }
    return found;
}

static ScanResult scanPageUnguarded(const Session& session, const QString& deviceName,
                                    const ScanOptions& options, const ScanProgress& progress) {
    if (!session.ok())
        return failed(session.error());
    OpenDevice device;
    SANE_Status status = sane_open(deviceName.toLocal8Bit().constData(), &device.handle);
    if (status != SANE_STATUS_GOOD) {
        device.handle = nullptr;
        return failed(
            QString("the scanner %1 could not be opened: %2").arg(deviceName, statusText(status)));
    }
    if (options.preferColor)
        chooseColourMode(device.handle);
    const double dpi = scanResolution(device.handle);

    std::vector<Frame> frames;
    std::vector<SANE_Byte> buffer(readChunk);
    for (;;) {
        status = sane_start(device.handle);
        if (status == SANE_STATUS_CANCELLED)
            return cancelled();
        if (status != SANE_STATUS_GOOD)
            return failed("the scan could not start: " + statusText(status));
        Frame frame;
        status = sane_get_parameters(device.handle, &frame.params);
        if (status != SANE_STATUS_GOOD)
            return failed("the scanner gave no picture size: " + statusText(status));
        const QString problem = checkParameters(frame.params);
        if (!problem.isEmpty())
            return failed(problem);
        const SANE_Parameters& p = frame.params;
        const bool separateChannels = p.format == SANE_FRAME_RED || p.format == SANE_FRAME_GREEN ||
                                      p.format == SANE_FRAME_BLUE;
        const int frameCount = separateChannels ? 3 : 1;
        const qint64 expected = p.lines > 0 ? qint64(p.lines) * p.bytes_per_line : -1;
        if (expected > 0)
            frame.data.reserve(size_t(expected));
        // Polling is used where the backend allows it, so the progress window
        // stays responsive while a slow scanner moves.
        const bool polling = sane_set_io_mode(device.handle, SANE_TRUE) == SANE_STATUS_GOOD;
        const qint64 maxBytes = maxPixels * 6;
        for (;;) {
            SANE_Int length = 0;
            status = sane_read(device.handle, buffer.data(), readChunk, &length);
            if (status == SANE_STATUS_EOF)
                break;
            if (status == SANE_STATUS_CANCELLED)
                return cancelled();
            if (status != SANE_STATUS_GOOD)
                return failed("the scan stopped: " + statusText(status));
            frame.data.insert(frame.data.end(), buffer.begin(), buffer.begin() + length);
            if (qint64(frame.data.size()) > maxBytes)
                return failed("the scan is too large");
            int percent = -1;
            if (expected > 0) {
                const qint64 done = qMin<qint64>(qint64(frame.data.size()), expected);
                percent = int((qint64(frames.size()) * expected + done) * 100 /
                              (qint64(frameCount) * expected));
            }
            if (progress && !progress(qMin(percent, 100)))
                return cancelled();
            if (polling && length == 0)
                QThread::msleep(5);
        }
        frames.push_back(std::move(frame));
        if (frames.back().params.last_frame || frames.size() >= 3)
            break;
    }

    qint64 height = 0;
    for (const Frame& f : frames)
        height = qMax(height, f.lines());
    const qint64 width = frames.front().params.pixels_per_line;
    if (height <= 0)
        return failed("the scanner sent no picture");
    if (width * height > maxPixels)
        return failed("the scan is too large");
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return failed("not enough memory for the scanned picture");
    image.fill(qRgb(0, 0, 0));
    for (const Frame& f : frames)
        paintFrame(f, image);
    if (dpi > 0) {
        const int dpm = qRound(dpi / 0.0254);
        image.setDotsPerMeterX(dpm);
        image.setDotsPerMeterY(dpm);
    }
    ScanResult result;
    result.outcome = ScanResult::Outcome::Scanned;
    result.image = image;
    return result;
}

ScanResult scanPage(const Session& session, const QString& deviceName, const ScanOptions& options,
                    const ScanProgress& progress) {
    try {
        return scanPageUnguarded(session, deviceName, options, progress);
    } catch (const std::bad_alloc&) {
        return failed("not enough memory for the scanned picture");
    }
}

} // namespace acquire::sane
