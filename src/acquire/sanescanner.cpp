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

const SANE_Option_Descriptor* settable(SANE_Handle h, const char* name, SANE_Int* number) {
    const SANE_Option_Descriptor* d = findOption(h, name, number);
    if (!d || !SANE_OPTION_IS_ACTIVE(d->cap) || !SANE_OPTION_IS_SETTABLE(d->cap))
        return nullptr;
    return d;
}

bool isNumber(const SANE_Option_Descriptor* d) {
    return d && (d->type == SANE_TYPE_INT || d->type == SANE_TYPE_FIXED) &&
           d->size >= SANE_Int(sizeof(SANE_Word));
}

double fromWord(const SANE_Option_Descriptor* d, SANE_Word w) {
    return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(w) : double(w);
}

SANE_Word toWord(const SANE_Option_Descriptor* d, double v) {
    return d->type == SANE_TYPE_FIXED ? SANE_FIX(v) : SANE_Word(qRound(v));
}

NumberConstraint constraintOf(const SANE_Option_Descriptor* d) {
    NumberConstraint c;
    c.wholeNumbers = d->type == SANE_TYPE_INT;
    if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range) {
        c.min = fromWord(d, d->constraint.range->min);
        c.max = fromWord(d, d->constraint.range->max);
        c.step = fromWord(d, d->constraint.range->quant);
    } else if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST && d->constraint.word_list) {
        for (SANE_Int i = 1; i <= d->constraint.word_list[0]; ++i)
            c.values.push_back(fromWord(d, d->constraint.word_list[i]));
    }
    return c;
}

// The first word of a numeric option (a vector option's first element), or 0.
double numberValue(SANE_Handle h, const char* name) {
    SANE_Int n = 0;
    const SANE_Option_Descriptor* d = findOption(h, name, &n);
    if (!isNumber(d) || !SANE_OPTION_IS_ACTIVE(d->cap))
        return 0;
    std::vector<SANE_Word> value(size_t(d->size) / sizeof(SANE_Word) + 1, 0);
    if (sane_control_option(h, n, SANE_ACTION_GET_VALUE, value.data(), nullptr) != SANE_STATUS_GOOD)
        return 0;
    return fromWord(d, value[0]);
}

// Sets the option to the nearest value it accepts; a device that refuses
// keeps its own value, which Scanner::current() then shows.
void setNumber(SANE_Handle h, const char* name, double v) {
    SANE_Int n = 0;
    const SANE_Option_Descriptor* d = settable(h, name, &n);
    if (!isNumber(d))
        return;
    std::vector<SANE_Word> value(size_t(d->size) / sizeof(SANE_Word) + 1, 0);
    value[0] = toWord(d, constraintOf(d).nearest(v));
    sane_control_option(h, n, SANE_ACTION_SET_VALUE, value.data(), nullptr);
}

QString stringValue(SANE_Handle h, const char* name) {
    SANE_Int n = 0;
    const SANE_Option_Descriptor* d = findOption(h, name, &n);
    if (!d || d->type != SANE_TYPE_STRING || !SANE_OPTION_IS_ACTIVE(d->cap) || d->size <= 0)
        return {};
    std::vector<char> value(size_t(d->size) + 1, 0);
    if (sane_control_option(h, n, SANE_ACTION_GET_VALUE, value.data(), nullptr) != SANE_STATUS_GOOD)
        return {};
    return QString::fromLocal8Bit(value.data());
}

QStringList modesOf(SANE_Handle h) {
    SANE_Int n = 0;
    const SANE_Option_Descriptor* d = settable(h, SANE_NAME_SCAN_MODE, &n);
    QStringList modes;
    if (d && d->type == SANE_TYPE_STRING && d->constraint_type == SANE_CONSTRAINT_STRING_LIST)
        for (const SANE_String_Const* v = d->constraint.string_list; *v; ++v)
            modes << QString::fromLocal8Bit(*v);
    return modes;
}

void setMode(SANE_Handle h, const QString& mode) {
    SANE_Int n = 0;
    const SANE_Option_Descriptor* d = settable(h, SANE_NAME_SCAN_MODE, &n);
    if (!d || !modesOf(h).contains(mode))
        return;
    const QByteArray text = mode.toLocal8Bit();
    std::vector<char> value(size_t(qMax<SANE_Int>(d->size, SANE_Int(text.size()) + 1)), 0);
    std::memcpy(value.data(), text.constData(), size_t(text.size()));
    sane_control_option(h, n, SANE_ACTION_SET_VALUE, value.data(), nullptr);
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

Scanner::Scanner(const Session& session, const QString& deviceName) {
    if (!session.ok()) {
        m_error = session.error();
        return;
    }
    SANE_Handle handle = nullptr;
    const SANE_Status status = sane_open(deviceName.toLocal8Bit().constData(), &handle);
    if (status != SANE_STATUS_GOOD) {
        m_error =
            QString("the scanner %1 could not be opened: %2").arg(deviceName, statusText(status));
        return;
    }
    m_handle = handle;
}

Scanner::~Scanner() {
    if (m_handle) {
        sane_cancel(m_handle);
        sane_close(m_handle);
    }
}

Capabilities Scanner::capabilities() const {
    Capabilities caps;
    if (!m_handle)
        return caps;
    caps.modes = modesOf(m_handle);
    caps.mode = stringValue(m_handle, SANE_NAME_SCAN_MODE);
    SANE_Int n = 0;
    if (const SANE_Option_Descriptor* d = settable(m_handle, SANE_NAME_SCAN_RESOLUTION, &n);
        isNumber(d))
        caps.resolution = constraintOf(d);
    SANE_Int nx = 0, ny = 0;
    const SANE_Option_Descriptor* x = settable(m_handle, SANE_NAME_SCAN_TL_X, &nx);
    const SANE_Option_Descriptor* y = settable(m_handle, SANE_NAME_SCAN_TL_Y, &ny);
    if (isNumber(x) && isNumber(y) && x->constraint_type == SANE_CONSTRAINT_RANGE &&
        y->constraint_type == SANE_CONSTRAINT_RANGE &&
        (x->unit == SANE_UNIT_MM || x->unit == SANE_UNIT_PIXEL)) {
        caps.hasArea = true;
        caps.areaUnit = x->unit == SANE_UNIT_PIXEL ? AreaUnit::Pixel : AreaUnit::Millimetre;
        caps.areaX = constraintOf(x);
        caps.areaY = constraintOf(y);
    }
    return caps;
}

ScanChoice Scanner::apply(const ScanChoice& choice) {
    if (!m_handle)
        return {};
    // The mode first: it can change what the other options accept.
    if (!choice.mode.isEmpty())
        setMode(m_handle, choice.mode);
    if (choice.resolution > 0)
        setNumber(m_handle, SANE_NAME_SCAN_RESOLUTION, choice.resolution);
    const Capabilities caps = capabilities();
    const QRectF area = choice.area.normalized();
    if (caps.hasArea && area.width() > 0 && area.height() > 0) {
        const double dpi = numberValue(m_handle, SANE_NAME_SCAN_RESOLUTION);
        auto units = [&](double mm) { return toAreaUnits(mm, caps.areaUnit, dpi); };
        // The top-left corner goes out of the way first, so the bottom-right
        // corner never has to pass it.
        setNumber(m_handle, SANE_NAME_SCAN_TL_X, caps.areaX.min);
        setNumber(m_handle, SANE_NAME_SCAN_TL_Y, caps.areaY.min);
        setNumber(m_handle, SANE_NAME_SCAN_BR_X, units(area.right()));
        setNumber(m_handle, SANE_NAME_SCAN_BR_Y, units(area.bottom()));
        setNumber(m_handle, SANE_NAME_SCAN_TL_X, units(area.left()));
        setNumber(m_handle, SANE_NAME_SCAN_TL_Y, units(area.top()));
    }
    return current();
}

ScanChoice Scanner::current() const {
    ScanChoice now;
    if (!m_handle)
        return now;
    now.mode = stringValue(m_handle, SANE_NAME_SCAN_MODE);
    now.resolution = numberValue(m_handle, SANE_NAME_SCAN_RESOLUTION);
    const Capabilities caps = capabilities();
    if (caps.hasArea) {
        auto mm = [&](const char* name) {
            return fromAreaUnits(numberValue(m_handle, name), caps.areaUnit, now.resolution);
        };
        now.area = QRectF(QPointF(mm(SANE_NAME_SCAN_TL_X), mm(SANE_NAME_SCAN_TL_Y)),
                          QPointF(mm(SANE_NAME_SCAN_BR_X), mm(SANE_NAME_SCAN_BR_Y)));
    }
    return now;
}

QSize Scanner::announcedSize() const {
    SANE_Parameters p{};
    if (!m_handle || sane_get_parameters(m_handle, &p) != SANE_STATUS_GOOD)
        return {};
    return QSize(p.pixels_per_line, p.lines);
}

void Scanner::preferColour() {
    if (m_handle && modesOf(m_handle).contains(SANE_VALUE_SCAN_MODE_COLOR))
        setMode(m_handle, SANE_VALUE_SCAN_MODE_COLOR);
}

// The frames read put together into one picture at the scan's resolution.
static ScanResult pictureOf(const std::vector<Frame>& frames, double dpi) {
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

static ScanResult scanUnguarded(SANE_Handle handle, const ScanProgress& progress) {
    const double dpi = numberValue(handle, SANE_NAME_SCAN_RESOLUTION);
    std::vector<Frame> frames;
    std::vector<SANE_Byte> buffer(readChunk);
    SANE_Status status = SANE_STATUS_GOOD;
    // Ends the scan however this returns, so the device can start the next.
    struct EndScan {
        SANE_Handle h;
        ~EndScan() { sane_cancel(h); }
    } endScan{handle};
    for (;;) {
        status = sane_start(handle);
        if (status == SANE_STATUS_CANCELLED)
            return cancelled();
        if (status != SANE_STATUS_GOOD)
            return failed("the scan could not start: " + statusText(status));
        Frame frame;
        status = sane_get_parameters(handle, &frame.params);
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
        const bool polling = sane_set_io_mode(handle, SANE_TRUE) == SANE_STATUS_GOOD;
        const qint64 maxBytes = maxPixels * 6;
        for (;;) {
            SANE_Int length = 0;
            status = sane_read(handle, buffer.data(), readChunk, &length);
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

    return pictureOf(frames, dpi);
}

ScanResult Scanner::scan(const ScanProgress& progress) {
    if (!m_handle)
        return failed(m_error);
    try {
        return scanUnguarded(m_handle, progress);
    } catch (const std::bad_alloc&) {
        return failed("not enough memory for the scanned picture");
    }
}

ScanResult scanPage(const Session& session, const QString& deviceName, const ScanOptions& options,
                    const ScanProgress& progress) {
    Scanner scanner(session, deviceName);
    if (options.preferColor)
        scanner.preferColour();
    return scanner.scan(progress);
}

} // namespace acquire::sane
