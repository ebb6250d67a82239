// The scanner's bitmap files. An even first byte: the rest is read as a bitmap
// file, which gives a picture or an error. An odd first byte: the rest makes a
// small picture that is written and read back, and must come back unchanged
// (alpha aside) with its resolution.
#include "acquire/bmpfile.h"
#include "fuzz_support.h"

#include <QImage>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startQt();
    return 0;
}

static void readAnyFile(const uint8_t* data, size_t size) {
    const QString path = fuzz::scratchPath("read.bmp");
    fuzz::writeFile(path, data, size);
    QString error;
    const QImage image = acquire::readWindowsBitmap(path, &error);
    fuzz::check(image.isNull() != error.isEmpty(), "a picture and an error at once, or neither");
    if (!image.isNull())
        fuzz::check(image.format() == QImage::Format_RGB32, "not an RGB32 picture");
}

static void roundTrip(const uint8_t* data, size_t size) {
    if (size < 4)
        return;
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

    const QString path = fuzz::scratchPath("round.bmp");
    const acquire::WriteResult written = acquire::writeWindowsBitmap(picture, path);
    fuzz::check(written.ok(), "writing a small picture failed");
    QString error;
    const QImage back = acquire::readWindowsBitmap(path, &error);
    fuzz::check(!back.isNull(), "a written bitmap does not read back");
    fuzz::check(back.size() == picture.size(), "the size changed");
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            fuzz::check((back.pixel(x, y) & 0xFFFFFF) == (picture.pixel(x, y) & 0xFFFFFF),
                        "a pixel changed");
    if (dpm > 0)
        fuzz::check(back.dotsPerMeterX() == dpm && back.dotsPerMeterY() == dpm,
                    "the resolution changed");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    if (data[0] % 2 == 0)
        readAnyFile(data + 1, size - 1);
    else
        roundTrip(data + 1, size - 1);
    return 0;
}
