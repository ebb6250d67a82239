// Applies one filter code to a picture file: parvello-filter CODE PARAM IN OUT.
// The editor's own transforms run the same way: parvello-filter rotate|mirror|flip IN OUT and
// parvello-filter brightness LEVEL IN OUT.
#include "editor/picture_buffers.h"
#include "imaging/filter_engine.h"
#include "imaging/filter_table.h"
#include "imaging/transforms.h"

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool parseInt(const char* text, long long lo, long long hi, long long& out) {
    char* end = nullptr;
    errno = 0;
    out = std::strtoll(text, &end, 0);
    return errno == 0 && end != text && *end == '\0' && out >= lo && out <= hi;
}

int usage() {
    std::fprintf(stderr, "usage: parvello-filter CODE PARAM IN OUT\n"
                         "       parvello-filter rotate|mirror|flip IN OUT\n"
                         "       parvello-filter brightness LEVEL IN OUT\n"
                         "  CODE  filter code 1 to 31\n"
                         "  PARAM the filter's parameter (a colour as 0xBBGGRR)\n"
                         "  LEVEL brightness level -99 to 99, added to every channel\n"
                         "  IN    picture to read (PNG, PPM, JPEG, BMP, ...)\n"
                         "  OUT   picture to write; the type follows the file name\n");
    return 2;
}

QImage readPicture(const char* path) {
    QImageReader reader(QString::fromLocal8Bit(path));
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull())
        std::fprintf(stderr, "parvello-filter: cannot read %s: %s\n", path,
                     qPrintable(reader.errorString()));
    return image.isNull() ? image : std::move(image).convertToFormat(QImage::Format_RGB32);
}

bool writePicture(const QImage& image, const char* path) {
    QImageWriter writer(QString::fromLocal8Bit(path));
    if (writer.write(image))
        return true;
    std::fprintf(stderr, "parvello-filter: cannot write %s: %s\n", path,
                 qPrintable(writer.errorString()));
    return false;
}

// The editor's toolbar transforms, through the editor's own code.
int runTransform(int argc, char** argv) {
    const std::string name = argv[1];
    long long level = 0;
    const int first = name == "brightness" ? 3 : 2;
    if (argc != first + 2 || (name == "brightness" && !parseInt(argv[2], imaging::kMinBrightness,
                                                                imaging::kMaxBrightness, level)))
        return usage();
    QCoreApplication app(argc, argv);
    QImageReader::setAllocationLimit(1024);
    QImage image = readPicture(argv[first]);
    if (image.isNull())
        return 1;
    const auto start = std::chrono::steady_clock::now();
    QImage result = editor::NewPicture(image.width(), image.height());
    if (name == "rotate")
        result = editor::NewPicture(image.height(), image.width());
    if (result.isNull()) {
        std::fprintf(stderr, "parvello-filter: not enough memory for %dx%d\n", image.width(),
                     image.height());
        return 1;
    }
    if (name == "rotate")
        imaging::RotateQuarter(editor::readView(image), editor::viewOf(result));
    else if (name == "mirror")
        imaging::MirrorPicture(editor::readView(image), editor::viewOf(result));
    else if (name == "flip")
        imaging::FlipPicture(editor::readView(image), editor::viewOf(result));
    else
        imaging::AdjustBrightness(editor::readView(image), editor::viewOf(result), int(level));
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "%s on %dx%d: %.1f ms\n", name.c_str(), image.width(), image.height(), ms);
    return writePicture(result, argv[first + 1]) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "rotate") == 0 || std::strcmp(argv[1], "mirror") == 0 ||
                      std::strcmp(argv[1], "flip") == 0 || std::strcmp(argv[1], "brightness") == 0))
        return runTransform(argc, argv);
    if (argc != 5)
        return usage();
    long long code = 0, parameter = 0;
    if (!parseInt(argv[1], INT32_MIN, INT32_MAX, code) || !imaging::FindFilter(int(code)) ||
        !parseInt(argv[2], INT32_MIN, INT32_MAX, parameter))
        return usage();
    // Image format plug-ins are found through the application object.
    QCoreApplication app(argc, argv);
    QImageReader::setAllocationLimit(1024); // megabytes: pictures up to ~250 megapixels

    QImage image = readPicture(argv[3]);
    if (image.isNull())
        return 1;

    const imaging::FilterInfo* info = imaging::FindFilter(int(code));
    std::int32_t progress = 0;
    const auto start = std::chrono::steady_clock::now();
    const imaging::FilterOutcome outcome =
        imaging::ApplyFilter(int(code), editor::viewOf(image), std::int32_t(parameter), progress);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!outcome.ok()) {
        std::fprintf(stderr, "parvello-filter: %s\n", outcome.message.c_str());
        return 1;
    }
    std::fprintf(stderr, "%s (%lld) on %dx%d: %.1f ms\n", std::string(info->routine).c_str(), code,
                 image.width(), image.height(), ms);
    return writePicture(image, argv[4]) ? 0 : 1;
}
