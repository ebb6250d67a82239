// Our bitmap writer: the input makes a small picture that is written and read
// back by Qt's reader, and must come back unchanged (alpha aside) with its
// resolution.
#include "fuzz_support.h"
#include "pictures/bmpfile.h"

#include <QBuffer>
#include <QImage>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    const int width = 1 + data[0] % 40;
    const int height = 1 + data[1] % 40;
    static const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_ARGB32,
                                             QImage::Format_RGB888, QImage::Format_Indexed8,
                                             QImage::Format_Grayscale8};
    const QImage::Format format = formats[data[2] % 5];
    const int dpm = data[3] * 100;
    data += 4;
    size -= 4;

    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t i = size_t(4 * (y * width + x));
            auto at = [&](size_t k) { return size ? data[(i + k) % size] : uint8_t(i + k); };
            picture.setPixel(x, y, qRgba(at(0), at(1), at(2), at(3)));
        }
    picture = format == QImage::Format_Indexed8
                  ? picture.convertToFormat(format, Qt::ThresholdDither | Qt::AvoidDither)
                  : picture.convertToFormat(format);
    picture.setDotsPerMeterX(dpm);
    picture.setDotsPerMeterY(dpm);

    QByteArray file;
    QBuffer out(&file);
    out.open(QIODevice::WriteOnly);
    fuzz::check(pictures::writeWindowsBitmap(picture, out).ok(), "writing a small picture failed");
    const QImage back = QImage::fromData(file, "BMP");
    fuzz::check(!back.isNull(), "a written bitmap does not read back");
    fuzz::check(back.size() == picture.size(), "the size changed");
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            fuzz::check((back.pixel(x, y) & 0xFFFFFF) == (picture.pixel(x, y) & 0xFFFFFF),
                        "a pixel changed");
    if (dpm > 0)
        fuzz::check(back.dotsPerMeterX() == dpm && back.dotsPerMeterY() == dpm,
                    "the resolution changed");
    return 0;
}
