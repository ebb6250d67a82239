#include "pictures/gifwriter.h"

#include <QHash>
#include <QIODevice>
#include <gif_lib.h>
#include <libimagequant.h>
#include <memory>
#include <vector>

namespace pictures {

namespace {

constexpr int gifMaxSide = 65535;

// The picture as palette indices, one byte a pixel, rows packed.
struct Indexed {
    std::vector<GifColorType> palette;
    std::vector<GifByteType> pixels;
};

// Pictures of few colours (drawings, scans of line art) are stored exactly.
bool indexExactly(const QImage& image, Indexed& out) {
    QHash<QRgb, GifByteType> index;
    out.pixels.resize(size_t(image.width()) * size_t(image.height()));
    GifByteType* dst = out.pixels.data();
    for (int y = 0; y < image.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = src[x] | 0xFF000000u;
            auto it = index.constFind(c);
            if (it == index.constEnd()) {
                if (index.size() == 256)
                    return false;
                it = index.insert(c, GifByteType(out.palette.size()));
                out.palette.push_back(
                    {GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))});
            }
            *dst++ = *it;
        }
    }
    return true;
}

struct LiqDeleter {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
    void operator()(liq_image* p) const { liq_image_destroy(p); }
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};

WriteResult quantise(const QImage& image, Indexed& out) {
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    if (rgba.isNull())
        return WriteResult::failure(OutOfMemory, "not enough memory to convert the picture");
    std::unique_ptr<liq_attr, LiqDeleter> attr(liq_attr_create());
    if (!attr)
        return WriteResult::failure(OutOfMemory, "the colour quantiser could not start");
    liq_set_max_colors(attr.get(), 256);
    // Speed 8 halves the time on a full-page scan at no visible cost.
    liq_set_speed(attr.get(), 8);
    // RGBA8888 rows are whole pixels of 4 bytes, so they lie back to back.
    std::unique_ptr<liq_image, LiqDeleter> liqImage(
        liq_image_create_rgba(attr.get(), rgba.constBits(), rgba.width(), rgba.height(), 0));
    if (!liqImage)
        return WriteResult::failure(OutOfMemory, "the colour quantiser refused the picture");
    liq_result* raw = nullptr;
    if (liq_image_quantize(liqImage.get(), attr.get(), &raw) != LIQ_OK || !raw)
        return WriteResult::failure(GenericError,
                                    "the picture could not be reduced to 256 colours");
    std::unique_ptr<liq_result, LiqDeleter> result(raw);
    liq_set_dithering_level(result.get(), 1.0f);
    out.pixels.resize(size_t(rgba.width()) * size_t(rgba.height()));
    if (liq_write_remapped_image(result.get(), liqImage.get(), out.pixels.data(),
                                 out.pixels.size()) != LIQ_OK)
        return WriteResult::failure(GenericError, "the picture could not be mapped to its palette");
    const liq_palette* palette = liq_get_palette(result.get());
    for (unsigned i = 0; i < palette->count; ++i)
        out.palette.push_back(
            {palette->entries[i].r, palette->entries[i].g, palette->entries[i].b});
    return {};
}

int writeToDevice(GifFileType* gif, const GifByteType* data, int length) {
    auto* device = static_cast<QIODevice*>(gif->UserData);
    return int(device->write(reinterpret_cast<const char*>(data), length));
}

WriteResult gifFailure(int code) {
    const char* text = GifErrorString(code);
    return WriteResult::failure(code == E_GIF_ERR_NOT_ENOUGH_MEM ? OutOfMemory : Win32Error,
                                QString("GIF writer: %1").arg(text ? text : "unknown error"));
}

WriteResult encode(const Indexed& indexed, int width, int height, QIODevice& out) {
    // A GIF colour table has a power-of-two size of at least two entries.
    const int bits = qMax(1, GifBitSize(int(indexed.palette.size())));
    std::vector<GifColorType> colours(indexed.palette);
    colours.resize(size_t(1) << bits, GifColorType{0, 0, 0});
    ColorMapObject* map = GifMakeMapObject(int(colours.size()), colours.data());
    if (!map)
        return WriteResult::failure(OutOfMemory, "GIF writer: no memory for the colour table");
    std::unique_ptr<ColorMapObject, void (*)(ColorMapObject*)> mapOwner(map, GifFreeMapObject);

    int error = 0;
    GifFileType* gif = EGifOpen(&out, writeToDevice, &error);
    if (!gif)
        return gifFailure(error);
    bool good = EGifPutScreenDesc(gif, width, height, bits, 0, map) == GIF_OK &&
                EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    const GifByteType* row = indexed.pixels.data();
    for (int y = 0; good && y < height; ++y, row += width)
        good = EGifPutLine(gif, const_cast<GifByteType*>(row), width) == GIF_OK;
    const int writeError = good ? 0 : gif->Error;
    // Closing frees the handle whatever happened; it also writes the trailer.
    if (EGifCloseFile(gif, &error) != GIF_OK && good)
        return gifFailure(error);
    if (!good)
        return gifFailure(writeError);
    return {};
}

} // namespace

WriteResult writeGif(const QImage& picture, QIODevice& out) {
    if (picture.isNull())
        return WriteResult::failure(InvalidParameter, "no picture to write");
    if (picture.width() > gifMaxSide || picture.height() > gifMaxSide)
        return WriteResult::failure(ValueOverflow, "a GIF picture is at most 65535 pixels a side");
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return WriteResult::failure(OutOfMemory, "not enough memory to convert the picture");
    Indexed indexed;
    if (!indexExactly(image, indexed)) {
        indexed = Indexed{};
        const WriteResult quantised = quantise(image, indexed);
        if (!quantised.ok())
            return quantised;
    }
    return encode(indexed, image.width(), image.height(), out);
}

} // namespace pictures
