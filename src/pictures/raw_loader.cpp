#include "pictures/raw_loader.h"

#include <QColorSpace>
#include <libraw/libraw.h>
#include <memory>

namespace pictureloader {

namespace {

struct Close {
    void operator()(libraw_data_t* d) const { libraw_close(d); }
};
struct ClearImage {
    void operator()(libraw_processed_image_t* i) const { libraw_dcraw_clear_mem(i); }
};

} // namespace

LoadedPicture decodeRaw(const QString& fileName, const QByteArray& bytes) {
    auto failed = [&](int code) {
        return LoadedPicture{{}, fileName + ": " + QString::fromUtf8(libraw_strerror(code))};
    };
    const std::unique_ptr<libraw_data_t, Close> raw(libraw_init(0));
    if (!raw)
        return {{}, fileName + ": not enough memory for the picture"};
    raw->params.use_camera_wb = 1;
    raw->params.output_color = 1; // sRGB
    raw->params.output_bps = 8;
    // LibRaw only reads the buffer, though its interface does not say so.
    if (const int e = libraw_open_buffer(raw.get(), const_cast<char*>(bytes.constData()),
                                         size_t(bytes.size()));
        e != LIBRAW_SUCCESS)
        return failed(e);
    if (qint64(raw->sizes.width) * raw->sizes.height > MaxPixels)
        return {{},
                QStringLiteral("%1: %2 x %3 pixels is too large")
                    .arg(fileName)
                    .arg(raw->sizes.width)
                    .arg(raw->sizes.height)};
    if (const int e = libraw_unpack(raw.get()); e != LIBRAW_SUCCESS)
        return failed(e);
    if (const int e = libraw_dcraw_process(raw.get()); e != LIBRAW_SUCCESS)
        return failed(e);
    int e = LIBRAW_SUCCESS;
    const std::unique_ptr<libraw_processed_image_t, ClearImage> developed(
        libraw_dcraw_make_mem_image(raw.get(), &e));
    if (!developed)
        return failed(e);
    if (developed->type != LIBRAW_IMAGE_BITMAP || developed->colors != 3 || developed->bits != 8)
        return {{}, fileName + ": the file holds no picture"};
    QImage image = QImage(developed->data, developed->width, developed->height,
                          qsizetype(developed->width) * 3, QImage::Format_RGB888)
                       .convertToFormat(QImage::Format_RGB32);
    if (image.isNull())
        return {{}, fileName + ": not enough memory for the picture"};
    image.setColorSpace(QColorSpace::SRgb);
    return {image, {}};
}

} // namespace pictureloader
