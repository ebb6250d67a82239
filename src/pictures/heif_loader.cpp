#include "pictures/heif_loader.h"

#include "common/colour_profile.h"
#include "common/unreadable.h"
#include "pictures/heif_canvases.h"

#include <QColorSpace>
#include <algorithm>
#include <cmath>
#include <libheif/heif.h>
#include <memory>
#include <vector>

namespace pictureloader {

namespace {

using unreadable::Reason;

struct FreeContext {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct FreeHandle {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct FreeImage {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct FreeNclx {
    void operator()(heif_color_profile_nclx* n) const { heif_nclx_color_profile_free(n); }
};
struct FreeOptions {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};
using Handle = std::unique_ptr<heif_image_handle, FreeHandle>;

// libheif's error on `bytes` in the user's words.
QString reason(const heif_error& error, const QByteArray& bytes) {
    switch (error.code) {
    case heif_error_Invalid_input:
    case heif_error_Decoder_plugin_error:
        return unreadable::words(error.subcode == heif_suberror_End_of_data
                                     ? Reason::EndsTooSoon
                                     : unreadable::damagedOrCutShort(bytes));
    case heif_error_Unsupported_filetype:
    case heif_error_Unsupported_feature:
        return unreadable::words(Reason::Unsupported);
    case heif_error_Memory_allocation_error:
        return unreadable::words(error.subcode == heif_suberror_Security_limit_exceeded
                                     ? Reason::Damaged
                                     : Reason::NoMemory);
    default:
        return unreadable::words(unreadable::damagedOrCutShort(bytes));
    }
}

// The embedded ICC profile's bytes; empty when there is none.
QByteArray iccProfile(const heif_image_handle* handle) {
    const size_t size = heif_image_handle_get_raw_color_profile_size(handle);
    if (size == 0)
        return {};
    QByteArray icc(qsizetype(size), Qt::Uninitialized);
    if (heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok)
        return {};
    return icc;
}

// The colours an nclx box names: Display P3 (what phones write), or else
// taken as sRGB.
QColorSpace nclxSpace(const heif_image_handle* handle) {
    heif_color_profile_nclx* raw = nullptr;
    const heif_error e = heif_image_handle_get_nclx_color_profile(handle, &raw);
    // libheif may hand over a profile along with an error: it is ours either way.
    const std::unique_ptr<heif_color_profile_nclx, FreeNclx> nclx(raw);
    if (e.code != heif_error_Ok || !nclx)
        return QColorSpace::SRgb;
    return nclx->color_primaries == heif_color_primaries_SMPTE_EG_432_1 ? QColorSpace::DisplayP3
                                                                        : QColorSpace::SRgb;
}

QSize sizeOf(const heif_image_handle* handle) {
    return {heif_image_handle_get_width(handle), heif_image_handle_get_height(handle)};
}

// The file's primary picture, or why it cannot be had.
struct Primary {
    std::unique_ptr<heif_context, FreeContext> context;
    Handle handle;
    QString error;
};

Primary openPrimary(const QByteArray& bytes) {
    Primary p{std::unique_ptr<heif_context, FreeContext>(heif_context_alloc()), nullptr, {}};
    if (!p.context) {
        p.error = unreadable::words(Reason::NoMemory);
        return p;
    }
    if (heif_error e = heif_context_read_from_memory_without_copy(
            p.context.get(), bytes.constData(), size_t(bytes.size()), nullptr);
        e.code != heif_error_Ok) {
        p.error = reason(e, bytes);
        return p;
    }
    heif_image_handle* handle = nullptr;
    if (heif_error e = heif_context_get_primary_image_handle(p.context.get(), &handle);
        e.code != heif_error_Ok) {
        p.error = reason(e, bytes);
        return p;
    }
    p.handle.reset(handle);
    return p;
}

// Decodes the picture behind `handle` (turned as its boxes say), in the
// colours `colours` describes.
LoadedPicture decodeHandle(const QByteArray& bytes, heif_image_handle* handle,
                           const heif_image_handle* colours) {
    const QSize size = sizeOf(handle);
    if (qint64(size.width()) * size.height() > MaxPixels)
        return {{}, unreadable::tooLarge(size.width(), size.height(), MaxPixels)};
    // A grid or an overlay may ask for a larger canvas than that size says.
    if (const qint64 canvas = largestHeifCanvas(bytes); canvas > MaxPixels)
        return {{}, unreadable::tooLarge(canvas, 1, MaxPixels)};
    const std::unique_ptr<heif_decoding_options, FreeOptions> options(
        heif_decoding_options_alloc());
    if (!options)
        return {{}, unreadable::words(Reason::NoMemory)};
    options->convert_hdr_to_8bit = 1; // 10-bit AVIF as 8-bit RGB
    const bool alpha = heif_image_handle_has_alpha_channel(handle);
    heif_image* rawImage = nullptr;
    if (heif_error e = heif_decode_image(handle, &rawImage, heif_colorspace_RGB,
                                         heif_chroma_interleaved_RGBA, options.get());
        e.code != heif_error_Ok)
        return {{}, reason(e, bytes)};
    std::unique_ptr<heif_image, FreeImage> decoded(rawImage);
    int stride = 0;
    uint8_t* pixels = heif_image_get_plane(decoded.get(), heif_channel_interleaved, &stride);
    // Turned by its irot box, the picture may have other sides than the header's.
    const int width = heif_image_get_width(decoded.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(decoded.get(), heif_channel_interleaved);
    if (!pixels || width <= 0 || height <= 0 || stride < width * 4)
        return {{}, unreadable::words(Reason::Damaged)};
    if (qint64(width) * height > MaxPixels)
        return {{}, unreadable::tooLarge(width, height, MaxPixels)};
    if (!alpha)
        // Opaque: the bytes become the picture's in place, R and B swapped
        // (RGB32 is B, G, R, 255 in memory), with no copy of 48 MB for a
        // 12-megapixel photo; the picture releases libheif's image.
        for (int y = 0; y < height; ++y) {
            uchar* rgba = pixels + qsizetype(y) * stride;
            auto* row = reinterpret_cast<QRgb*>(rgba);
            for (int x = 0; x < width; ++x, rgba += 4)
                row[x] = qRgb(rgba[0], rgba[1], rgba[2]);
        }
    QImage image = alpha ? overWhite(QImage(pixels, width, height, stride, QImage::Format_RGBA8888))
                         : QImage(
                               pixels, width, height, stride, QImage::Format_RGB32,
                               [](void* i) { heif_image_release(static_cast<heif_image*>(i)); },
                               decoded.release());
    if (image.isNull())
        return {{}, unreadable::words(Reason::NoMemory)};
    const QByteArray icc = iccProfile(colours);
    if (icc.isEmpty())
        image.setColorSpace(nclxSpace(colours));
    colour::toSrgb(image, icc);
    return {image, {}};
}

// Whether two sizes have the same proportions, give or take the rounding of
// a small picture's sides.
bool sameShape(QSize a, QSize b) {
    return std::abs(double(a.width()) / a.height() - double(b.width()) / b.height()) <
           0.02 * double(a.width()) / a.height();
}

} // namespace

bool isHeif(const QByteArray& bytes) {
    return bytes.size() >= 12 &&
           heif_check_filetype(reinterpret_cast<const uint8_t*>(bytes.constData()),
                               int(std::min<qsizetype>(bytes.size(), 1 << 20))) != heif_filetype_no;
}

LoadedPicture decodeHeif(const QByteArray& bytes) {
    const Primary primary = openPrimary(bytes);
    if (!primary.handle)
        return {{}, primary.error};
    return decodeHandle(bytes, primary.handle.get(), primary.handle.get());
}

LoadedPicture decodeHeifThumbnail(const QByteArray& bytes, QSize box, Quick quick) {
    const Primary primary = openPrimary(bytes);
    if (!primary.handle)
        return {};
    const QSize full = sizeOf(primary.handle.get());
    if (full.isEmpty())
        return {};
    const QSize wanted = full.scaled(box, Qt::KeepAspectRatio);
    auto covers = [&](QSize size) {
        return size.width() >= wanted.width() && size.height() >= wanted.height();
    };
    // The smallest that covers the box, else the largest.
    auto better = [&](QSize size, QSize than) {
        if (covers(size) != covers(than))
            return covers(size);
        return covers(size) ? size.width() < than.width() : size.width() > than.width();
    };
    const int count = heif_image_handle_get_number_of_thumbnails(primary.handle.get());
    std::vector<heif_item_id> ids(size_t(std::max(count, 0)));
    heif_image_handle_get_list_of_thumbnail_IDs(primary.handle.get(), ids.data(), count);
    Handle best;
    for (heif_item_id id : ids) {
        heif_image_handle* raw = nullptr;
        if (heif_image_handle_get_thumbnail(primary.handle.get(), id, &raw).code != heif_error_Ok)
            continue;
        Handle thumbnail(raw);
        const QSize size = sizeOf(thumbnail.get());
        // Turned as the primary picture (libheif applies the thumbnail's own
        // irot box: a file that gave it none shows here), and no larger than
        // the picture itself.
        if (size.isEmpty() || !sameShape(size, full) || size.width() > full.width())
            continue;
        if (!best || better(size, sizeOf(best.get())))
            best = std::move(thumbnail);
    }
    if (!best || (!covers(sizeOf(best.get())) && quick == Quick::Covering))
        return {};
    // A thumbnail without colours of its own has the primary picture's.
    const bool ownColours =
        heif_image_handle_get_color_profile_type(best.get()) != heif_color_profile_type_not_present;
    LoadedPicture small =
        decodeHandle(bytes, best.get(), ownColours ? best.get() : primary.handle.get());
    if (small.image.size() != sizeOf(best.get()))
        return {};
    small.fullSize = full;
    return small;
}

} // namespace pictureloader
