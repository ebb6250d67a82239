#include "pictures/raw_loader.h"

#include "common/jpeg_reader.h"
#include "common/unreadable.h"
#include "common/upright.h"

#include <QColorSpace>
#include <array>
#include <cmath>
#include <libraw/libraw.h>
#include <memory>

namespace pictureloader {

namespace {

using unreadable::Reason;

struct Close {
    void operator()(libraw_data_t* d) const { libraw_close(d); }
};
struct ClearImage {
    void operator()(libraw_processed_image_t* i) const { libraw_dcraw_clear_mem(i); }
};
using Raw = std::unique_ptr<libraw_data_t, Close>;
using Processed = std::unique_ptr<libraw_processed_image_t, ClearImage>;

// LibRaw's error on `bytes` in the user's words.
QString reason(int code, const QByteArray& bytes) {
    switch (code) {
    case LIBRAW_FILE_UNSUPPORTED: // a camera it does not know, or a file cut short
        return unreadable::words(unreadable::damagedOrCutShort(bytes) == Reason::EndsTooSoon
                                     ? Reason::EndsTooSoon
                                     : Reason::Unsupported);
    case LIBRAW_IO_ERROR: // it read past the end
        return unreadable::words(Reason::EndsTooSoon);
    case LIBRAW_UNSUFFICIENT_MEMORY:
        return unreadable::words(Reason::NoMemory);
    default:
        return unreadable::words(Reason::Damaged);
    }
}

// LibRaw's turn (sizes.flip: 1 mirror, 2 flip, 4 transpose) as Qt names it.
constexpr std::array<QImageIOHandler::Transformations, 8> kTurns{
    QImageIOHandler::TransformationNone,
    QImageIOHandler::TransformationMirror,
    QImageIOHandler::TransformationFlip,
    QImageIOHandler::TransformationRotate180,
    QImageIOHandler::TransformationFlipAndRotate90,
    QImageIOHandler::TransformationRotate270,
    QImageIOHandler::TransformationRotate90,
    QImageIOHandler::TransformationMirrorAndRotate90,
};

// The file opened, its sizes known, nothing decoded; or why not.
struct Opened {
    Raw raw;
    QString error;
};

Opened open(const QByteArray& bytes) {
    Raw raw(libraw_init(0));
    if (!raw)
        return {nullptr, unreadable::words(Reason::NoMemory)};
    raw->params.use_camera_wb = 1;
    raw->params.output_color = 1; // sRGB
    raw->params.output_bps = 8;
    // LibRaw's own bound on what it holds, at 8 bytes a pixel.
    raw->params.max_raw_memory_mb = unsigned(MaxPixels * 8 / (1024 * 1024));
    // LibRaw only reads the buffer, though its interface does not say so.
    if (const int e = libraw_open_buffer(raw.get(), const_cast<char*>(bytes.constData()),
                                         size_t(bytes.size()));
        e != LIBRAW_SUCCESS)
        return {nullptr, reason(e, bytes)};
    // The sensor's pixels (unpacked) and the picture's (developed) are
    // allocated later: both must be within the bound.
    const libraw_image_sizes_t& s = raw->sizes;
    if (qint64(s.raw_width) * s.raw_height > MaxPixels || qint64(s.width) * s.height > MaxPixels) {
        const bool sensor = qint64(s.raw_width) * s.raw_height > qint64(s.width) * s.height;
        return {nullptr, unreadable::tooLarge(sensor ? s.raw_width : s.width,
                                              sensor ? s.raw_height : s.height, MaxPixels)};
    }
    return {std::move(raw), {}};
}

QImageIOHandler::Transformations turnOf(const libraw_data_t& raw) {
    return kTurns[size_t(raw.sizes.flip) % kTurns.size()];
}

// The developed picture's size once turned.
QSize uprightSize(const libraw_data_t& raw) {
    const QSize stored(raw.sizes.width, raw.sizes.height);
    return turnOf(raw) & QImageIOHandler::TransformationRotate90 ? stored.transposed() : stored;
}

bool sameShape(QSize a, QSize b) {
    return std::abs(double(a.width()) / a.height() - double(b.width()) / b.height()) <
           0.02 * double(a.width()) / a.height();
}

} // namespace

LoadedPicture decodeRaw(const QByteArray& bytes) {
    Opened opened = open(bytes);
    if (!opened.raw)
        return {{}, opened.error};
    libraw_data_t* raw = opened.raw.get();
    if (const int e = libraw_unpack(raw); e != LIBRAW_SUCCESS)
        return {{}, reason(e, bytes)};
    if (const int e = libraw_dcraw_process(raw); e != LIBRAW_SUCCESS)
        return {{}, reason(e, bytes)};
    int e = LIBRAW_SUCCESS;
    const Processed developed(libraw_dcraw_make_mem_image(raw, &e));
    if (!developed)
        return {{}, reason(e, bytes)};
    if (developed->type != LIBRAW_IMAGE_BITMAP || developed->colors != 3 || developed->bits != 8)
        return {{}, unreadable::words(Reason::Unsupported)};
    QImage image = QImage(developed->data, developed->width, developed->height,
                          qsizetype(developed->width) * 3, QImage::Format_RGB888)
                       .convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return {{}, unreadable::words(Reason::NoMemory)};
    image.setColorSpace(QColorSpace::SRgb);
    return {image, {}};
}

LoadedPicture decodeRawPreview(const QByteArray& bytes, QSize box, Quick quick) {
    Opened opened = open(bytes);
    if (!opened.raw)
        return {};
    libraw_data_t* raw = opened.raw.get();
    const QSize full = uprightSize(*raw);
    if (full.isEmpty() || libraw_unpack_thumb(raw) != LIBRAW_SUCCESS)
        return {};
    const QSize wanted = full.scaled(box, Qt::KeepAspectRatio);
    int e = LIBRAW_SUCCESS;
    const Processed preview(libraw_dcraw_make_mem_thumb(raw, &e));
    if (!preview)
        return {};
    QImage image;
    if (preview->type == LIBRAW_IMAGE_JPEG) {
        // LibRaw gives a JPEG without EXIF of its own the camera's turn as
        // its orientation.
        const QByteArray jpeg = QByteArray::fromRawData(
            reinterpret_cast<const char*>(preview->data), qsizetype(preview->data_size));
        const std::optional<QSize> size = jpegreader::uprightSize(jpeg);
        if (!size || size->isEmpty() || !sameShape(*size, full))
            return {};
        image = jpegreader::read(jpeg, jpegreader::reductionFor(*size, wanted), MaxPixels).image;
    } else if (preview->type == LIBRAW_IMAGE_BITMAP && preview->colors == 3 && preview->bits == 8) {
        image = upright::apply(QImage(preview->data, preview->width, preview->height,
                                      qsizetype(preview->width) * 3, QImage::Format_RGB888)
                                   .convertToFormat(QImage::Format_RGB32),
                               turnOf(*raw));
        image.setColorSpace(QColorSpace::SRgb);
    }
    const bool covers = image.width() >= wanted.width() && image.height() >= wanted.height();
    if (image.isNull() || !sameShape(image.size(), full) || (!covers && quick == Quick::Covering))
        return {};
    return {image, {}, full};
}

} // namespace pictureloader
