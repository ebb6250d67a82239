#include "pictures/heif_loader.h"

#include "common/colour_profile.h"

#include <QColorSpace>
#include <algorithm>
#include <libheif/heif.h>
#include <memory>

namespace pictureloader {

namespace {

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
    if (heif_image_handle_get_nclx_color_profile(handle, &raw).code != heif_error_Ok)
        return QColorSpace::SRgb;
    const std::unique_ptr<heif_color_profile_nclx, FreeNclx> nclx(raw);
    return nclx->color_primaries == heif_color_primaries_SMPTE_EG_432_1 ? QColorSpace::DisplayP3
                                                                        : QColorSpace::SRgb;
}

} // namespace

bool isHeif(const QByteArray& bytes) {
    return bytes.size() >= 12 &&
           heif_check_filetype(reinterpret_cast<const uint8_t*>(bytes.constData()),
                               int(std::min<qsizetype>(bytes.size(), 1 << 20))) != heif_filetype_no;
}

LoadedPicture decodeHeif(const QString& fileName, const QByteArray& bytes) {
    auto failed = [&](const heif_error& error) {
        return LoadedPicture{{}, fileName + ": " + QString::fromUtf8(error.message)};
    };
    const std::unique_ptr<heif_context, FreeContext> context(heif_context_alloc());
    if (heif_error e = heif_context_read_from_memory_without_copy(context.get(), bytes.constData(),
                                                                  size_t(bytes.size()), nullptr);
        e.code != heif_error_Ok)
        return failed(e);
    heif_image_handle* rawHandle = nullptr;
    if (heif_error e = heif_context_get_primary_image_handle(context.get(), &rawHandle);
        e.code != heif_error_Ok)
        return failed(e);
    const std::unique_ptr<heif_image_handle, FreeHandle> handle(rawHandle);
    const int width = heif_image_handle_get_width(handle.get());
    const int height = heif_image_handle_get_height(handle.get());
    if (qint64(width) * height > MaxPixels)
        return {
            {},
            QStringLiteral("%1: %2 x %3 pixels is too large").arg(fileName).arg(width).arg(height)};

    const bool alpha = heif_image_handle_has_alpha_channel(handle.get());
    heif_image* rawImage = nullptr;
    if (heif_error e = heif_decode_image(
            handle.get(), &rawImage, heif_colorspace_RGB,
            alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, nullptr);
        e.code != heif_error_Ok)
        return failed(e);
    const std::unique_ptr<heif_image, FreeImage> decoded(rawImage);
    int stride = 0;
    const uint8_t* pixels =
        heif_image_get_plane_readonly(decoded.get(), heif_channel_interleaved, &stride);
    if (!pixels)
        return {{}, fileName + ": the file holds no picture"};
    // Turned by its irot box, the picture may have other sides than the header's.
    const QImage wrapped(pixels, heif_image_get_width(decoded.get(), heif_channel_interleaved),
                         heif_image_get_height(decoded.get(), heif_channel_interleaved), stride,
                         alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    QImage image = overWhite(wrapped);
    if (image.isNull())
        return {{}, fileName + ": not enough memory for the picture"};
    const QByteArray icc = iccProfile(handle.get());
    if (icc.isEmpty())
        image.setColorSpace(nclxSpace(handle.get()));
    colour::toSrgb(image, icc);
    return {image, {}};
}

} // namespace pictureloader
