// Applies one filter code to a picture file: parvello-filter CODE PARAM IN OUT.
#include "imaging/filter_engine.h"
#include "imaging/filter_table.h"

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

#include <chrono>
#include <cstdio>
#include <cstdlib>
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
                         "  CODE  filter code 1 to 31\n"
                         "  PARAM the filter's parameter (a colour as 0xBBGGRR)\n"
                         "  IN    picture to read (PNG, PPM, JPEG, BMP, ...)\n"
                         "  OUT   picture to write; the type follows the file name\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5)
        return usage();
    long long code = 0, parameter = 0;
    if (!parseInt(argv[1], 1, 31, code) || !parseInt(argv[2], INT32_MIN, INT32_MAX, parameter))
        return usage();
    // Image format plug-ins are found through the application object.
    QCoreApplication app(argc, argv);
    QImageReader::setAllocationLimit(1024); // megabytes: pictures up to ~250 megapixels

    QImageReader reader(QString::fromLocal8Bit(argv[3]));
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull()) {
        std::fprintf(stderr, "parvello-filter: cannot read %s: %s\n", argv[3],
                     qPrintable(reader.errorString()));
        return 1;
    }
    image = std::move(image).convertToFormat(QImage::Format_RGB32);

    const imaging::FilterInfo* info = imaging::FindFilter(int(code));
    std::int32_t progress = 0;
    const auto start = std::chrono::steady_clock::now();
    const imaging::FilterOutcome outcome = imaging::ApplyFilter(
        int(code), {image.bits(), image.width(), image.height(), image.bytesPerLine()},
        std::int32_t(parameter), progress);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!outcome.ok()) {
        std::fprintf(stderr, "parvello-filter: %s\n", outcome.message.c_str());
        return 1;
    }
    std::fprintf(stderr, "%s (%lld) on %dx%d: %.1f ms\n", std::string(info->routine).c_str(), code,
                 image.width(), image.height(), ms);

    QImageWriter writer(QString::fromLocal8Bit(argv[4]));
    if (!writer.write(image)) {
        std::fprintf(stderr, "parvello-filter: cannot write %s: %s\n", argv[4],
                     qPrintable(writer.errorString()));
        return 1;
    }
    return 0;
}
