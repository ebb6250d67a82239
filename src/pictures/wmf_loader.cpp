// WMF drawings through libwmf's gd renderer. libwmf's headers define short
// macro names (U16 and friends), so they come after every Qt header.
#include "pictures/picture_loader.h"

#include "common/unreadable.h"

#include <QFile>

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <libwmf/gd/gd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pictureloader {

namespace {

using unreadable::Reason;

// Drawings are scaled so that their longer side is at most this many pixels.
constexpr double MaxSide = 3000.0;
// A drawing's records are read whole: far more than any clip art takes.
constexpr qint64 MaxDrawingBytes = 64 * 1024 * 1024;

struct ApiGuard {
    wmfAPI* api = nullptr;
    ~ApiGuard() {
        if (api)
            wmf_api_destroy(api);
    }
};

// The gd renderer hands its picture over to us and wmf_api_destroy does not
// free it: without this every drawing opened would leak a whole frame. The gd
// inside libwmf keeps its free routine to itself, so this one mirrors it over
// the structure its headers publish; gd allocates with malloc.
struct GdImageGuard {
    gdImage* image = nullptr;
    ~GdImageGuard() {
        if (!image)
            return;
        if (image->pixels) {
            for (int y = 0; y < image->sy; ++y)
                std::free(image->pixels[y]);
            std::free(image->pixels);
        }
        if (image->tpixels) {
            if (image->_tpixels)
                std::free(image->_tpixels);
            else
                for (int y = 0; y < image->sy; ++y)
                    std::free(image->tpixels[y]);
            std::free(image->tpixels);
        }
        std::free(image->polyInts);
        std::free(image->style);
        if (image->clip) {
            std::free(image->clip->list);
            std::free(image->clip);
        }
        std::free(image);
    }
};

quint32 get32(const QByteArray& b, qsizetype at) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return p[0] | p[1] << 8 | p[2] << 16 | quint32(p[3]) << 24;
}

// libwmf believes the sizes written in the file and allocates what they claim
// (gigabytes for a hundred bytes of junk): the records must fit in the file,
// and so must the largest record the header announces.
bool recordsFit(const QByteArray& b) {
    qsizetype at = 0;
    if (b.size() >= 22 && get32(b, 0) == 0x9AC6CDD7u)
        at = 22; // the placeable header
    if (b.size() - at < 18)
        return false;
    const qint64 words = (b.size() - at) / 2;
    if (get32(b, at + 12) > words) // the largest record, in 16-bit words
        return false;
    at += 18;
    while (b.size() - at >= 6) {
        const quint32 size = get32(b, at);
        if (size < 3 || size > (b.size() - at) / 2)
            return false;
        if (b[at + 4] == 0 && b[at + 5] == 0) // the end record
            return true;
        at += qsizetype(size) * 2;
    }
    return true;
}

} // namespace

LoadedPicture loadWmf(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, unreadable::cannotOpen(file.errorString())};
    if (file.size() > MaxDrawingBytes)
        return {{}, unreadable::fileTooLarge(file.size(), MaxDrawingBytes)};
    QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return {{}, unreadable::words(Reason::Empty)};

    if (!recordsFit(bytes))
        return {{}, unreadable::words(Reason::Damaged)};

    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    ApiGuard guard;
    if (wmf_api_create(&guard.api, flags, &options) != wmf_E_None)
        return {{}, unreadable::words(Reason::NoMemory)};

    wmfD_Rect bbox{};
    unsigned int width = 0, height = 0;
    if (wmf_mem_open(guard.api, reinterpret_cast<unsigned char*>(bytes.data()), bytes.size()) !=
            wmf_E_None ||
        wmf_scan(guard.api, 0, &bbox) != wmf_E_None ||
        wmf_display_size(guard.api, &width, &height, 96.0, 96.0) != wmf_E_None || width == 0 ||
        height == 0)
        return {{}, unreadable::words(Reason::Damaged)};

    const double scale = std::min(1.0, MaxSide / std::max(width, height));
    width = std::max(1u, unsigned(std::lround(width * scale)));
    height = std::max(1u, unsigned(std::lround(height * scale)));

    wmf_gd_t* gd = WMF_GD_GetData(guard.api);
    gd->type = wmf_gd_image;
    gd->bbox = bbox;
    gd->width = width;
    gd->height = height;
    GdImageGuard picture;
    const wmf_error_t played = wmf_play(guard.api, 0, &bbox);
    picture.image = static_cast<gdImage*>(gd->gd_image);
    if (played != wmf_E_None || !gd->gd_image)
        return {{}, unreadable::words(Reason::Damaged)};

    const int* pixels = wmf_gd_image_pixels(gd->gd_image);
    if (!pixels)
        return {{}, unreadable::words(Reason::Damaged)};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {{}, unreadable::words(Reason::NoMemory)};
    for (unsigned y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (unsigned x = 0; x < width; ++x)
            row[x] = 0xff000000u | (unsigned(pixels[y * width + x]) & 0x00ffffffu);
    }
    return {image, {}};
}

} // namespace pictureloader
