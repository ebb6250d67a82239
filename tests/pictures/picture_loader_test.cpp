// Loading pictures: formats, EXIF orientation, and files that are not what
// they claim to be.
#include "common/jpeg_reader.h"
#include "pictures/picture_loader.h"
#include "support/test_pictures.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTransform>
#include <QtEndian>
#include <cstdio>
#include <gtest/gtest.h>
#include <jpeglib.h>

namespace {

class LoaderTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    static QByteArray encode(const QImage& image, const char* format) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return bytes;
    }
    static QImage twoColour(int w, int h) {
        // Left half red, right half blue: tells orientation apart.
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::blue);
        QPainter(&image).fillRect(0, 0, w / 2, h, Qt::red);
        return image;
    }
};

TEST_F(LoaderTest, ReadsEveryBrowserFormat) {
    const QImage source = twoColour(40, 30);
    // Qt writes no GIF: this one is 40 x 30, red left half, blue right half.
    const QByteArray gif(
        "\x47\x49\x46\x38\x39\x61\x28\x00\x1e\x00\xf0\x00\x00\xff\x00\x00\x00\x00\xff\x21\xf9\x04"
        "\x00\x00\x00\x00\x00\x2c\x00\x00\x00\x00\x28\x00\x1e\x00\x00\x02\x4b\x84\x8f\x99\xc1\xed"
        "\xff\x94\x94\xb0\xd6\x89\x8f\xdd\x2d\x67\xce\x79\x18\xb8\x89\x13\x69\x99\x14\x0a\xa9\x0a"
        "\xdb\xba\x08\x1c\xc9\x1a\xdd\xd9\x06\x9e\xeb\x3c\xa3\xdb\xfd\x82\x80\x5f\x80\x68\x44\x0e"
        "\x83\x49\xe6\xd2\xf7\xb4\x35\xa1\x3c\x65\xd5\x79\xa5\xe2\xac\x5b\x6c\x57\x4b\xe3\x86\xbd"
        "\x63\x30\xac\x00\x00\x3b",
        116);
    for (const char* format : {"JPG", "GIF", "BMP", "ICO"}) {
        const QByteArray bytes = QByteArray(format) == "GIF" ? gif : encode(source, format);
        const QString path = write(QStringLiteral("picture.%1").arg(format), bytes);
        const LoadedPicture loaded = pictureloader::load(path);
        ASSERT_TRUE(loaded.ok()) << format << qPrintable(loaded.error);
        EXPECT_EQ(loaded.image.size(), QSize(40, 30)) << format;
        const QColor left = loaded.image.pixelColor(5, 15), right = loaded.image.pixelColor(35, 15);
        EXPECT_GT(left.red(), 200) << format;
        EXPECT_GT(right.blue(), 200) << format;
    }
}

// EXIF's TIFF structure with nothing but an orientation (6: turn a quarter
// clockwise to view).
QByteArray exifOrientation(quint16 orientation) {
    QByteArray tiff("MM\0\x2a\0\0\0\x08", 8);
    tiff += QByteArray("\0\x01", 2);                   // one entry
    tiff += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8); // Orientation, SHORT, 1
    tiff += char(orientation >> 8);
    tiff += char(orientation & 0xff);
    tiff += QByteArray("\0\0\0\0\0\0", 6); // padding, next IFD 0
    return tiff;
}

// A JPEG whose EXIF gives that orientation.
QByteArray withOrientation(const QByteArray& jpeg, quint16 orientation) {
    QByteArray app1 = "Exif" + QByteArray(2, '\0') + exifOrientation(orientation);
    QByteArray segment("\xff\xe1", 2);
    const quint16 length = quint16(app1.size() + 2);
    segment += char(length >> 8);
    segment += char(length & 0xff);
    segment += app1;
    return jpeg.left(2) + segment + jpeg.mid(2);
}

TEST_F(LoaderTest, PhoneOrientationIsApplied) {
    // Stored landscape 60 x 40 with the red half on the left; viewed after a
    // clockwise quarter turn it is 40 x 60 with the red half on top.
    const QByteArray jpeg = encode(twoColour(60, 40), "JPG");
    const LoadedPicture loaded =
        pictureloader::load(write("upright.jpg", withOrientation(jpeg, 6)));
    ASSERT_TRUE(loaded.ok()) << qPrintable(loaded.error);
    EXPECT_EQ(loaded.image.size(), QSize(40, 60));
    EXPECT_GT(loaded.image.pixelColor(20, 5).red(), 200);
    EXPECT_GT(loaded.image.pixelColor(20, 55).blue(), 200);
}

// What Qt's own reader makes of a file, in the format and the colour space
// the previews use.
QImage readByQt(const QString& path, QSize scaledSize = {}) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (scaledSize.isValid())
        reader.setScaledSize(scaledSize);
    QImage image = reader.read();
    if (image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_RGB32);
    if (image.colorSpace().isValid())
        image.convertToColorSpace(QColorSpace::SRgb);
    return image;
}

// A photograph-like picture: smooth colour with fine detail.
QImage photo(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                           qRgb((x * 255) / w, (y * 255) / h, ((x ^ y) * 7 + x * y / 5) & 255));
    return image;
}

TEST_F(LoaderTest, JpegComesOutExactlyAsQtReadsIt) {
    // Odd sizes, so that the chroma blocks do not divide evenly.
    const QImage colour = photo(203, 151);
    QImage withProfile = colour;
    withProfile.setColorSpace(QColorSpace::DisplayP3);
    withProfile.setDotsPerMeterX(11811); // 300 dpi
    withProfile.setDotsPerMeterY(11811);
    auto jpeg = [](const QImage& image, bool progressive = false) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(progressive);
        writer.write(image);
        return bytes;
    };
    const QByteArray plain = jpeg(colour);
    std::vector<std::pair<QString, QByteArray>> files = {
        {"plain.jpg", plain},
        {"progressive.jpg", jpeg(colour, true)},
        {"grey.jpg", jpeg(colour.convertToFormat(QImage::Format_Grayscale8))},
        {"profile.jpg", jpeg(withProfile)},
        {"profile-turned.jpg", withOrientation(jpeg(withProfile), 6)},
    };
    for (quint16 orientation = 1; orientation <= 8; ++orientation)
        files.push_back({QStringLiteral("orientation%1.jpg").arg(orientation),
                         withOrientation(plain, orientation)});

    for (const auto& [name, bytes] : files) {
        const QString path = write(name, bytes);
        // Qt's reader drops the profile when it turns a picture upright:
        // the turned one must be the upright one's pixels, turned.
        const QImage expected =
            name == "profile-turned.jpg"
                ? readByQt(dir.filePath("profile.jpg")).transformed(QTransform().rotate(90))
                : readByQt(path);
        ASSERT_FALSE(expected.isNull()) << qPrintable(name);
        const LoadedPicture loaded = pictureloader::load(path);
        ASSERT_TRUE(loaded.ok()) << qPrintable(name) << qPrintable(loaded.error);
        EXPECT_EQ(loaded.image.format(), QImage::Format_RGB32) << qPrintable(name);
        EXPECT_EQ(loaded.image, expected) << qPrintable(name);
        EXPECT_EQ(loaded.image.colorSpace(), expected.colorSpace()) << qPrintable(name);
        EXPECT_EQ(loaded.image.dotsPerMeterX(), expected.dotsPerMeterX()) << qPrintable(name);
        for (int y = 0; y < loaded.image.height(); ++y)
            for (int x = 0; x < loaded.image.width(); ++x)
                ASSERT_EQ(qAlpha(loaded.image.pixel(x, y)), 255) << qPrintable(name);
    }
    EXPECT_TRUE(pictureloader::load(dir.filePath("profile.jpg")).image.colorSpace().isValid());
}

TEST_F(LoaderTest, ReducedJpegForTheScreenIsTheSmallestThatCoversTheBox) {
    // 1000 x 700 turned a quarter: 700 x 1000 upright. Into an 800 box it
    // fits as 560 x 800: half size (350 x 500) is too small, full size needed;
    // into a 400 box (280 x 400) half size does, a quarter does not.
    const QByteArray plain = encode(photo(1000, 700), "JPG");
    const QByteArray turned = withOrientation(plain, 6);
    const QString path = write("turned.jpg", turned);
    EXPECT_TRUE(pictureloader::decodeReduced(path, turned, QSize(800, 800)).image.isNull());
    EXPECT_EQ(pictureloader::decodeReduced(path, turned, QSize(400, 400)).image.size(),
              QSize(350, 500));
    // The reduced pixels are those of Qt's reader asked for half the size.
    const QString plainPath = write("plain.jpg", plain);
    const LoadedPicture half = pictureloader::decodeReduced(plainPath, plain, QSize(400, 400));
    ASSERT_TRUE(half.ok()) << qPrintable(half.error);
    EXPECT_EQ(half.image, readByQt(plainPath, QSize(500, 350)));
    // Not a JPEG inside: nothing quick to offer.
    const QByteArray png = encode(photo(1000, 700), "PNG");
    EXPECT_TRUE(pictureloader::decodeReduced(path, png, QSize(100, 100)).image.isNull());
}

TEST_F(LoaderTest, APrintCellGetsTheSmallestJpegThatCoversItInBothDirections) {
    // 700 x 1000 upright: half size (350 x 500) covers a 350 x 500 cell, not a
    // 351 x 10 one; a PNG is always read whole.
    const QByteArray turned = withOrientation(encode(photo(1000, 700), "JPG"), 6);
    const QString path = write("cell.jpg", turned);
    EXPECT_EQ(pictureloader::decodeCovering(path, turned, QSize(350, 500)).image.size(),
              QSize(350, 500));
    EXPECT_EQ(pictureloader::decodeCovering(path, turned, QSize(351, 10)).image.size(),
              QSize(700, 1000));
    const QByteArray png = encode(photo(1000, 700), "PNG");
    EXPECT_EQ(pictureloader::decodeCovering(path, png, QSize(10, 10)).image.size(),
              QSize(1000, 700));
}

TEST_F(LoaderTest, EighthSizeJpegForTheScreenLooksAsLibjpegDecodesIt) {
    // Large enough to be read on two threads; odd sizes, so that the blocks
    // do not divide evenly. The 1/8 picture is read from the DC coefficients
    // alone: grey pictures come out exactly as libjpeg's own 1/8 decode,
    // colour ones with one colour sample a block, which the eye does not
    // tell apart at preview size.
    const QImage colour = photo(2011, 1603);
    const QString ppm = dir.filePath("colour.ppm");
    ASSERT_TRUE(colour.save(ppm, "PPM"));
    QProcess cjpeg;
    cjpeg.start("cjpeg", {"-restart", "7B", "-outfile", dir.filePath("restarts.jpg"), ppm});
    ASSERT_TRUE(cjpeg.waitForFinished(-1) && cjpeg.exitCode() == 0)
        << "cjpeg (Debian package libjpeg-turbo-progs)";
    QFile restarts(dir.filePath("restarts.jpg"));
    ASSERT_TRUE(restarts.open(QIODevice::ReadOnly));
    const QByteArray jpeg = encode(colour, "JPG");
    const struct {
        const char* name;
        QByteArray bytes;
        bool exact;
    } files[] = {
        {"grey.jpg", encode(colour.convertToFormat(QImage::Format_Grayscale8), "JPG"), true},
        {"colour.jpg", jpeg, false},
        {"restarts.jpg", restarts.readAll(), false},
    };
    for (const auto& [name, bytes, exact] : files) {
        const LoadedPicture quick = pictureloader::decodeReduced(name, bytes, QSize(200, 200));
        ASSERT_TRUE(quick.ok()) << name << qPrintable(quick.error);
        const QImage expected = jpegreader::read(bytes, 8, pictureloader::MaxPixels).image;
        ASSERT_EQ(quick.image.size(), QSize(252, 201)) << name;
        ASSERT_EQ(expected.size(), QSize(252, 201)) << name;
        if (exact) {
            EXPECT_EQ(quick.image, expected) << name;
            continue;
        }
        double difference = 0;
        for (int y = 0; y < 201; ++y)
            for (int x = 0; x < 252; ++x) {
                const QRgb a = quick.image.pixel(x, y), b = expected.pixel(x, y);
                ASSERT_LE(std::abs(qGray(a) - qGray(b)), 8) << name << " at " << x << "," << y;
                difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                              std::abs(qBlue(a) - qBlue(b));
            }
        EXPECT_LT(difference / (3 * 252 * 201), 3.0) << name;
    }
}

// Runs one of Debian's picture tools (imagemagick, libtiff-tools, webp).
bool made(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Orange (200, 100, 50) in the picture's own colour space, and the same
// colour in sRGB worked out from the published primaries (D65 white, the
// Adobe RGB curve 2.19921875, the sRGB curve for Display P3).
TEST_F(LoaderTest, EmbeddedProfilesAreConvertedToSrgb) {
    const struct {
        QColorSpace::NamedColorSpace space;
        QRgb srgb;
    } cases[] = {{QColorSpace::AdobeRgb, qRgb(227, 100, 42)},
                 {QColorSpace::DisplayP3, qRgb(215, 93, 31)}};
    for (const auto& c : cases) {
        // Large enough for the screen's 1/8 decode from the DC coefficients.
        QImage orange(1600, 1200, QImage::Format_RGB32);
        orange.fill(qRgb(200, 100, 50));
        orange.setColorSpace(c.space);
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        orange.save(&buffer, "JPG", 100);
        write("orange.jpg", jpeg);
        const QString png = write("orange.png", encode(orange, "PNG"));
        ASSERT_TRUE(made("convert-im6.q16", {png, dir.filePath("orange.tif")}));
        ASSERT_TRUE(made("cwebp", {"-quiet", "-lossless", "-metadata", "icc", png, "-o",
                                   dir.filePath("orange.webp")}));
        for (const QString name : {"orange.jpg", "orange.png", "orange.tif", "orange.webp"}) {
            const LoadedPicture loaded = pictureloader::load(dir.filePath(name));
            ASSERT_TRUE(loaded.ok()) << qPrintable(loaded.error);
            const QRgb got = loaded.image.pixel(32, 24);
            EXPECT_NEAR(qRed(got), qRed(c.srgb), 2) << c.space << qPrintable(name);
            EXPECT_NEAR(qGreen(got), qGreen(c.srgb), 2) << c.space << qPrintable(name);
            EXPECT_NEAR(qBlue(got), qBlue(c.srgb), 2) << c.space << qPrintable(name);
        }
        const LoadedPicture screen =
            pictureloader::decodeReduced("orange.jpg", jpeg, QSize(200, 200));
        ASSERT_EQ(screen.image.size(), QSize(200, 150));
        const QRgb got = screen.image.pixel(100, 75);
        EXPECT_NEAR(qRed(got), qRed(c.srgb), 2) << c.space << " on the screen";
        EXPECT_NEAR(qGreen(got), qGreen(c.srgb), 2) << c.space << " on the screen";
        EXPECT_NEAR(qBlue(got), qBlue(c.srgb), 2) << c.space << " on the screen";
    }
}

// A CMYK JPEG as Adobe's programs write it (inverted: 255 is no ink), left
// half magenta and yellow ink (red), right half cyan ink alone.
QByteArray cmykJpeg(int w, int h) {
    std::vector<JSAMPLE> pixels(size_t(w) * h * 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            JSAMPLE* p = &pixels[(size_t(y) * w + x) * 4];
            const bool red = x < w / 2;
            p[0] = red ? 255 : 0;
            p[1] = red ? 0 : 255;
            p[2] = red ? 0 : 255;
            p[3] = 255;
        }
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(w);
    info.image_height = JDIMENSION(h);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info); // writes the Adobe marker for CMYK
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = &pixels[size_t(info.next_scanline) * w * 4];
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    jpeg_destroy_compress(&info);
    free(out);
    return bytes;
}

TEST_F(LoaderTest, CmykJpegLoadsInItsColours) {
    const LoadedPicture loaded = pictureloader::load(write("cmyk.jpg", cmykJpeg(64, 48)));
    ASSERT_TRUE(loaded.ok()) << qPrintable(loaded.error);
    const QColor red = loaded.image.pixelColor(8, 24), cyan = loaded.image.pixelColor(56, 24);
    EXPECT_TRUE(red.red() > 240 && red.green() < 15 && red.blue() < 15) << qPrintable(red.name());
    EXPECT_TRUE(cyan.red() < 15 && cyan.green() > 240 && cyan.blue() > 240)
        << qPrintable(cyan.name());
    EXPECT_EQ(qAlpha(loaded.image.pixel(8, 24)), 255);
}

quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xffffffffu;
    for (char ch : bytes) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray pngChunk(const QByteArray& type, const QByteArray& data) {
    QByteArray length(4, '\0'), crc(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), length.data());
    qToBigEndian<quint32>(crc32(type + data), crc.data());
    return length + type + data + crc;
}

// A PNG whose header claims 100000 x 100000 pixels, with hardly any data.
QByteArray hugePngHeader() {
    QByteArray fields(13, '\0');
    qToBigEndian<quint32>(100000, fields.data());
    qToBigEndian<quint32>(100000, fields.data() + 4);
    fields[8] = 8; // bit depth
    fields[9] = 2; // truecolour
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", fields) +
           pngChunk("IDAT", QByteArray::fromHex("789c030000000001")) + pngChunk("IEND", {});
}

TEST_F(LoaderTest, EachFailureIsGivenInTheUsersWords) {
    // The window says "coffee.jpg could not be read: <reason>.".
    const QByteArray jpeg = encode(twoColour(200, 150), "JPG");
    const QByteArray png = encode(twoColour(200, 150), "PNG");
    QByteArray noise(4000, '\0');
    quint32 next = 7;
    for (char& c : noise)
        c = char((next = next * 1103515245u + 12345u) >> 16);
    const QString damaged = "the file is damaged";
    const struct {
        const char* name;
        QByteArray bytes;
        QString reason;
    } cases[] = {
        {"empty.jpg", {}, "the file is empty"},
        {"noise.heic", noise, damaged},
        {"header-only.bmp", "BM", damaged},
        {"junk.wmf", QByteArray(4000, '\x5a'), damaged},
        {"notes.txt", "this is not a picture", "Parvello cannot read this kind of picture"},
        {"cut.jpg", jpeg.left(100), "the file ends too soon"},
        {"cut.png", png.left(png.size() / 3), "the file ends too soon"},
        {"huge.png", hugePngHeader(),
         "the picture is too large: 10000 megapixels, Parvello takes up to 200"},
    };
    for (const auto& c : cases) {
        const LoadedPicture loaded = pictureloader::load(write(c.name, c.bytes));
        EXPECT_FALSE(loaded.ok()) << c.name;
        EXPECT_EQ(loaded.error.toStdString(), c.reason.toStdString()) << c.name;
    }
    EXPECT_EQ(pictureloader::load(dir.filePath("missing.jpg")).error,
              "the file cannot be opened: no such file or directory");
    // A photo cut off inside its picture data is refused rather than shown
    // half grey, by the quick decode for the screen too.
    const QByteArray cut = jpeg.left(jpeg.size() * 2 / 3);
    EXPECT_EQ(pictureloader::load(write("cut-in-picture.jpg", cut)).error,
              "the file ends too soon");
    EXPECT_FALSE(pictureloader::decodeReduced("cut-in-picture.jpg", cut, QSize(16, 16)).ok());
}

// Whether the pixel is within `tolerance` of the colour in every channel.
::testing::AssertionResult near(QRgb got, QRgb expected, int tolerance) {
    if (std::abs(qRed(got) - qRed(expected)) <= tolerance &&
        std::abs(qGreen(got) - qGreen(expected)) <= tolerance &&
        std::abs(qBlue(got) - qBlue(expected)) <= tolerance && qAlpha(got) == 255)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << QColor::fromRgba(got).name(QColor::HexArgb).toStdString() << " is not near "
           << QColor(expected).name().toStdString();
}

TEST_F(LoaderTest, PngTiffAndWebpLoadAsDebiansToolsWriteThem) {
    // Red left half, blue right half; the TIFF's green second page is not shown.
    const QString ppm = dir.filePath("source.ppm"), greenPpm = dir.filePath("green.ppm");
    ASSERT_TRUE(twoColour(60, 40).save(ppm));
    QImage green(60, 40, QImage::Format_RGB32);
    green.fill(Qt::green);
    ASSERT_TRUE(green.save(greenPpm));
    const QString im = "convert-im6.q16";
    ASSERT_TRUE(made(im, {greenPpm, "-depth", "16", dir.filePath("green.tif")}));
    const struct {
        const char* name;
        QString program;
        QStringList arguments;
    } files[] = {
        {"8-bit.png", im, {ppm, "png24:" + dir.filePath("8-bit.png")}},
        {"16-bit.png", im, {ppm, "-depth", "16", "png48:" + dir.filePath("16-bit.png")}},
        {"8-bit.tif", im, {ppm, "-depth", "8", dir.filePath("8-bit.tif")}},
        {"16-bit.tif", im, {ppm, "-depth", "16", dir.filePath("16-bit.tif")}},
        {"two-pages.tif",
         "tiffcp",
         {dir.filePath("16-bit.tif"), dir.filePath("green.tif"), dir.filePath("two-pages.tif")}},
        {"lossy.webp",
         "cwebp",
         {"-quiet", dir.filePath("8-bit.png"), "-o", dir.filePath("lossy.webp")}},
        {"lossless.webp",
         "cwebp",
         {"-quiet", "-lossless", dir.filePath("8-bit.png"), "-o", dir.filePath("lossless.webp")}},
    };
    for (const auto& [name, program, arguments] : files) {
        ASSERT_TRUE(made(program, arguments)) << name << ": " << qPrintable(program);
        const LoadedPicture loaded = pictureloader::load(dir.filePath(name));
        ASSERT_TRUE(loaded.ok()) << name << ": " << qPrintable(loaded.error);
        EXPECT_EQ(loaded.image.size(), QSize(60, 40)) << name;
        EXPECT_TRUE(near(loaded.image.pixel(5, 20), qRgb(255, 0, 0), 8)) << name;
        EXPECT_TRUE(near(loaded.image.pixel(55, 20), qRgb(0, 0, 255), 8)) << name;
    }
}

TEST_F(LoaderTest, TransparentPicturesLieOnWhite) {
    // Red and blue at half opacity: on white paper, pink and light blue.
    const QString ppm = dir.filePath("source.ppm");
    ASSERT_TRUE(twoColour(60, 40).save(ppm));
    const QString png = dir.filePath("half.png"), webp = dir.filePath("half.webp");
    ASSERT_TRUE(made("convert-im6.q16", {ppm, "-alpha", "set", "-channel", "A", "-evaluate", "set",
                                         "50%", "+channel", "png64:" + png}));
    ASSERT_TRUE(made("cwebp", {"-quiet", "-lossless", png, "-o", webp}));
    for (const QString& path : {png, webp}) {
        const LoadedPicture loaded = pictureloader::load(path);
        ASSERT_TRUE(loaded.ok()) << qPrintable(path) << ": " << qPrintable(loaded.error);
        EXPECT_EQ(loaded.image.format(), QImage::Format_RGB32) << qPrintable(path);
        EXPECT_TRUE(near(loaded.image.pixel(5, 20), qRgb(255, 128, 128), 3)) << qPrintable(path);
        EXPECT_TRUE(near(loaded.image.pixel(55, 20), qRgb(128, 128, 255), 3)) << qPrintable(path);
    }
}

TEST_F(LoaderTest, PngTiffAndWebpAreTurnedAsTheirExifSays) {
    // Stored 60 x 40, red half left; viewed after a clockwise quarter turn it
    // is 40 x 60 with the red half on top.
    const QString ppm = dir.filePath("source.ppm"), exif = dir.filePath("turn.exif");
    ASSERT_TRUE(twoColour(60, 40).save(ppm));
    testpictures::writeBytes(exif, exifOrientation(6));
    const QString png = dir.filePath("upright.png"), tif = dir.filePath("turned.tif"),
                  webp = dir.filePath("upright.webp");
    ASSERT_TRUE(made("convert-im6.q16", {ppm, "png24:" + png}));
    ASSERT_TRUE(made("convert-im6.q16", {ppm, tif}));
    ASSERT_TRUE(made("tiffset", {"-s", "274", "6", tif}));
    ASSERT_TRUE(made("cwebp", {"-quiet", "-lossless", png, "-o", webp}));
    ASSERT_TRUE(made("webpmux", {"-set", "exif", exif, webp, "-o", dir.filePath("turned.webp")}));
    // The PNG's eXIf chunk right after its header chunk.
    const QByteArray plain = testpictures::fileBytes(png);
    write("turned.png", plain.left(33) + pngChunk("eXIf", exifOrientation(6)) + plain.mid(33));
    for (const char* name : {"turned.png", "turned.tif", "turned.webp"}) {
        const LoadedPicture loaded = pictureloader::load(dir.filePath(name));
        ASSERT_TRUE(loaded.ok()) << name << ": " << qPrintable(loaded.error);
        EXPECT_EQ(loaded.image.size(), QSize(40, 60)) << name;
        EXPECT_TRUE(near(loaded.image.pixel(20, 5), qRgb(255, 0, 0), 8)) << name;
        EXPECT_TRUE(near(loaded.image.pixel(20, 55), qRgb(0, 0, 255), 8)) << name;
    }
}

TEST_F(LoaderTest, HeicAndAvifLoadUprightOnWhiteAndInSrgb) {
    // Red left half, blue right half; half transparent; turned a quarter
    // clockwise by the irot box (three quarters anticlockwise); orange in
    // Display P3 by an ICC profile and by an nclx box (primaries 12, the sRGB
    // curve 13, BT.601 matrix 6), which in sRGB is (215, 93, 31).
    const QString png = dir.filePath("source.png"), half = dir.filePath("half.png");
    ASSERT_TRUE(twoColour(64, 48).save(png));
    ASSERT_TRUE(made("convert-im6.q16", {png, "-alpha", "set", "-channel", "A", "-evaluate", "set",
                                         "50%", "+channel", "png32:" + half}));
    QImage orange(64, 48, QImage::Format_RGB32);
    orange.fill(qRgb(200, 100, 50));
    const QString plainOrange = dir.filePath("orange.png");
    ASSERT_TRUE(orange.save(plainOrange));
    orange.setColorSpace(QColorSpace::DisplayP3);
    const QString p3Orange = write("p3-orange.png", encode(orange, "PNG"));
    auto heif = [&](const QString& from, const char* to) {
        return made("heif-enc", {"-q", "95", from, "-o", dir.filePath(to)});
    };
    auto avif = [&](QStringList options, const QString& from, const char* to) {
        return made("avifenc", options << "-s"
                                       << "10" << from << dir.filePath(to));
    };
    ASSERT_TRUE(heif(png, "plain.heic"));
    ASSERT_TRUE(heif(half, "half.heic"));
    ASSERT_TRUE(heif(p3Orange, "orange-icc.heic"));
    ASSERT_TRUE(avif({}, png, "plain.avif"));
    ASSERT_TRUE(avif({"--irot", "3"}, png, "turned.avif"));
    ASSERT_TRUE(avif({"--ignore-icc", "--cicp", "12/13/6"}, plainOrange, "orange-nclx.avif"));
    const struct {
        const char* name;
        QSize size;
        QPoint first, second;
        QRgb firstColour, secondColour;
    } files[] = {
        {"plain.heic", {64, 48}, {5, 24}, {58, 24}, qRgb(255, 0, 0), qRgb(0, 0, 255)},
        {"plain.avif", {64, 48}, {5, 24}, {58, 24}, qRgb(255, 0, 0), qRgb(0, 0, 255)},
        {"half.heic", {64, 48}, {5, 24}, {58, 24}, qRgb(255, 128, 128), qRgb(128, 128, 255)},
        {"turned.avif", {48, 64}, {24, 5}, {24, 58}, qRgb(255, 0, 0), qRgb(0, 0, 255)},
        {"orange-icc.heic", {64, 48}, {5, 24}, {58, 24}, qRgb(215, 93, 31), qRgb(215, 93, 31)},
        {"orange-nclx.avif", {64, 48}, {5, 24}, {58, 24}, qRgb(215, 93, 31), qRgb(215, 93, 31)},
    };
    for (const auto& f : files) {
        const LoadedPicture loaded = pictureloader::load(dir.filePath(f.name));
        ASSERT_TRUE(loaded.ok()) << f.name << ": " << qPrintable(loaded.error);
        EXPECT_EQ(loaded.image.format(), QImage::Format_RGB32) << f.name;
        EXPECT_EQ(loaded.image.size(), f.size) << f.name;
        EXPECT_TRUE(near(loaded.image.pixel(f.first), f.firstColour, 12)) << f.name;
        EXPECT_TRUE(near(loaded.image.pixel(f.second), f.secondColour, 12)) << f.name;
    }
    // Cut short, or only a header.
    const QByteArray heic = testpictures::fileBytes(dir.filePath("plain.heic"));
    for (const QByteArray& bytes : {heic.left(heic.size() / 2), heic.left(40)}) {
        const LoadedPicture loaded = pictureloader::load(write("bad.heic", bytes));
        EXPECT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.error, "the file ends too soon");
    }
    // A header that claims 20000 x 20000 pixels: refused before decoding.
    QByteArray huge = heic;
    for (qsizetype at = huge.indexOf("ispe"); at >= 0; at = huge.indexOf("ispe", at + 1)) {
        qToBigEndian<quint32>(20000, huge.data() + at + 8);
        qToBigEndian<quint32>(20000, huge.data() + at + 12);
    }
    EXPECT_EQ(pictureloader::load(write("huge.heic", huge)).error,
              "the picture is too large: 400 megapixels, Parvello takes up to 200");
}

// A linear DNG whose camera sees linear sRGB (its colour matrix takes XYZ
// to linear sRGB) with a red channel half as sensitive, as its as-shot
// neutral (0.5, 1, 1) says: the left half grey as the camera saw it, the
// right half blue, to be turned a quarter clockwise (orientation 6). With
// `preview`, a second page holds that picture as a JPEG of half the size,
// which LibRaw takes for the camera's preview.
bool linearDng(const QString& path, QSize size, const QString& preview = {}) {
    const QString colours =
        QStringLiteral("rectangle 0,0 %1,%2").arg(size.width() / 2 - 1).arg(size.height() - 1);
    const QString raw = preview.isEmpty() ? path : path + ".raw.tif";
    if (!made("convert-im6.q16",
              {"-size", QStringLiteral("%1x%2").arg(size.width()).arg(size.height()), "xc:blue",
               "-fill", "rgb(25%,50%,50%)", "-draw", colours, "-alpha", "off", "-depth", "16",
               "-compress", "none", "tiff:" + raw}))
        return false;
    const QString jpeg = path + ".preview.jpg", page = path + ".preview.tif";
    if (!preview.isEmpty()) {
        const QString half = QStringLiteral("%1x%2").arg(size.width() / 2).arg(size.height() / 2);
        const QString halfColours = QStringLiteral("rectangle 0,0 %1,%2")
                                        .arg(size.width() / 4 - 1)
                                        .arg(size.height() / 2 - 1);
        // libtiff keeps a JPEG page's tables apart from its data, which
        // LibRaw does not join: the page's one strip becomes a whole JPEG.
        if (!made("convert-im6.q16", {"-size", half, "xc:blue", "-fill", "rgb(50%,50%,50%)",
                                      "-draw", halfColours, jpeg}) ||
            !made("convert-im6.q16", {jpeg, "-compress", "none", "tiff:" + page + ".plain"}) ||
            !made("tiffcp", {"-c", "jpeg", "-r", "65535", page + ".plain", page}) ||
            !made("tiffcp", {raw, page, path}))
            return false;
    }
    const QList<QStringList> tags = {
        {"262", "34892"},              // linear raw
        {"274", "6"},                  // orientation
        {"50706", "1", "4", "0", "0"}, // DNG version
        {"50708", "Parvello test camera"},
        {"50721", "9", "3.2406", "-1.5372", "-0.4986", "-0.9689", "1.8758", "0.0415", "0.0557",
         "-0.2040", "1.0570"},           // colour matrix
        {"50728", "3", "0.5", "1", "1"}, // as-shot neutral
    };
    for (const QStringList& tag : tags)
        if (!made("tiffset", QStringList{"-s"} + tag + QStringList{path}))
            return false;
    if (preview.isEmpty())
        return true;
    // The second page's strip offset and length (tags 273, 279, one value
    // each, little-endian as libtiff writes here) point at the JPEG, appended.
    QByteArray bytes = testpictures::fileBytes(path);
    const QByteArray whole = testpictures::fileBytes(jpeg);
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    const qsizetype first = u32(4), second = u32(first + 2 + 12 * u16(first));
    for (int i = 0; i < u16(second); ++i) {
        char* entry = bytes.data() + second + 2 + 12 * i;
        const quint16 tag = qFromLittleEndian<quint16>(entry);
        if (tag != 273 && tag != 279)
            continue;
        qToLittleEndian<quint16>(4, entry + 2); // LONG
        qToLittleEndian<quint32>(1, entry + 4);
        qToLittleEndian<quint32>(tag == 273 ? quint32(bytes.size()) : quint32(whole.size()),
                                 entry + 8);
    }
    testpictures::writeBytes(path, bytes + whole);
    return true;
}

TEST_F(LoaderTest, DngIsDevelopedWithTheCamerasWhiteBalance) {
    // The camera's grey comes out grey, turned so that it lies on top.
    const QString dng = dir.filePath("photo.dng");
    ASSERT_TRUE(linearDng(dng, QSize(64, 48)));
    const LoadedPicture loaded = pictureloader::load(dng);
    ASSERT_TRUE(loaded.ok()) << qPrintable(loaded.error);
    EXPECT_EQ(loaded.image.format(), QImage::Format_RGB32);
    ASSERT_EQ(loaded.image.size(), QSize(48, 64));
    const QRgb grey = loaded.image.pixel(24, 5), blue = loaded.image.pixel(24, 58);
    EXPECT_GT(qGray(grey), 40);
    EXPECT_TRUE(near(grey, qRgb(qGray(grey), qGray(grey), qGray(grey)), 8));
    EXPECT_TRUE(qBlue(blue) > 200 && qRed(blue) < 40 && qGreen(blue) < 40)
        << qPrintable(QColor(blue).name());
    // Cut short.
    const QByteArray bytes = testpictures::fileBytes(dng);
    const LoadedPicture bad = pictureloader::load(write("bad.dng", bytes.left(200)));
    EXPECT_FALSE(bad.ok());
    EXPECT_EQ(bad.error, "the file ends too soon");
}

TEST_F(LoaderTest, RawAndHeifOfferTheirSmallPictureWhenItCoversTheBox) {
    // A 640 x 480 DNG turned upright to 480 x 640, with a 320 x 240 preview:
    // into a 200 box the picture fits as 150 x 200, which the preview turned
    // (240 x 320) covers; into a 400 box (300 x 400) it does not.
    const QString dng = dir.filePath("preview.dng");
    ASSERT_TRUE(linearDng(dng, QSize(640, 480), "with preview"));
    const QByteArray raw = testpictures::fileBytes(dng);
    const LoadedPicture quick = pictureloader::decodeReduced(dng, raw, QSize(200, 200));
    ASSERT_TRUE(quick.ok()) << qPrintable(quick.error);
    EXPECT_EQ(quick.image.size(), QSize(240, 320));
    EXPECT_EQ(quick.fullSize, QSize(480, 640));
    EXPECT_TRUE(near(quick.image.pixel(120, 20), qRgb(128, 128, 128), 12));
    EXPECT_TRUE(near(quick.image.pixel(120, 300), qRgb(0, 0, 255), 12));
    EXPECT_TRUE(pictureloader::decodeReduced(dng, raw, QSize(400, 400)).image.isNull());

    // An 800 x 600 HEIC with a thumbnail of at most 240 pixels, in the
    // colours of the full picture: it covers a 200 box, not a 400 one.
    const QString png = dir.filePath("photo.png"), heic = dir.filePath("thumbnail.heic");
    ASSERT_TRUE(made("convert-im6.q16", {"-size", "800x600", "gradient:red-blue", png}));
    ASSERT_TRUE(made("heif-enc", {"-q", "90", "-t", "240", png, "-o", heic}));
    const QByteArray bytes = testpictures::fileBytes(heic);
    const LoadedPicture thumbnail = pictureloader::decodeReduced(heic, bytes, QSize(200, 200));
    ASSERT_TRUE(thumbnail.ok()) << qPrintable(thumbnail.error);
    EXPECT_EQ(thumbnail.image.size(), QSize(240, 180));
    EXPECT_EQ(thumbnail.fullSize, QSize(800, 600));
    const QImage full = pictureloader::load(heic).image.scaled(QSize(240, 180));
    for (const QPoint at : {QPoint(20, 20), QPoint(120, 90), QPoint(220, 160)})
        EXPECT_TRUE(near(thumbnail.image.pixel(at), full.pixel(at), 12)) << at.x() << "," << at.y();
    EXPECT_TRUE(pictureloader::decodeReduced(heic, bytes, QSize(400, 400)).image.isNull());
}

} // namespace
