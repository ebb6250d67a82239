// WMF drawings through libwmf's gd renderer. libwmf's headers define short
// macro names (U16 and friends), so they come after every Qt header.
#include "app/picture_loader.h"

#include <QFile>

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <algorithm>
#include <cmath>

namespace pictureloader {

namespace {

// Drawings are scaled so that their longer side is at most this many pixels.
constexpr double MaxSide = 3000.0;

struct ApiGuard {
    wmfAPI* api = nullptr;
    ~ApiGuard() {
        if (api)
            wmf_api_destroy(api);
    }
};

} // namespace

LoadedPicture loadWmf(const QString& fileName) {
    QFile file(fileName);
    if (file.size() > 64 * 1024 * 1024 || !file.open(QIODevice::ReadOnly))
        return {{}, fileName + ": cannot read the drawing"};
    QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return {{}, fileName + ": empty file"};

    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    ApiGuard guard;
    if (wmf_api_create(&guard.api, flags, &options) != wmf_E_None)
        return {{}, fileName + ": WMF renderer unavailable"};

    wmfD_Rect bbox{};
    unsigned int width = 0, height = 0;
    if (wmf_mem_open(guard.api, reinterpret_cast<unsigned char*>(bytes.data()), bytes.size()) !=
            wmf_E_None ||
        wmf_scan(guard.api, 0, &bbox) != wmf_E_None ||
        wmf_display_size(guard.api, &width, &height, 96.0, 96.0) != wmf_E_None || width == 0 ||
        height == 0)
        return {{}, fileName + ": not a WMF drawing"};

    const double scale = std::min(1.0, MaxSide / std::max(width, height));
    width = std::max(1u, unsigned(std::lround(width * scale)));
    height = std::max(1u, unsigned(std::lround(height * scale)));

    wmf_gd_t* gd = WMF_GD_GetData(guard.api);
    gd->type = wmf_gd_image;
    gd->bbox = bbox;
    gd->width = width;
    gd->height = height;
    if (wmf_play(guard.api, 0, &bbox) != wmf_E_None || !gd->gd_image)
        return {{}, fileName + ": the drawing could not be rendered"};

    const int* pixels = wmf_gd_image_pixels(gd->gd_image);
    if (!pixels)
        return {{}, fileName + ": the drawing could not be rendered"};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {{}, fileName + ": too large"};
    for (unsigned y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (unsigned x = 0; x < width; ++x)
            row[x] = 0xff000000u | (unsigned(pixels[y * width + x]) & 0x00ffffffu);
    }
    return {image, {}};
}

} // namespace pictureloader
