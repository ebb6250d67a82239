// Reads a picture file and decodes it through the loader, as printing does or,
// with --screen, as the previews' first picture is made (the quick picture
// for a box of that side, even a thumbnail smaller than it, else the full
// one), for timing the whole process
// against another program. Prints the picture's size.
//   bench_decode_picture [--screen SIDE] FILE
#include "pictures/picture_loader.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv); // Qt's image plug-ins
    const QStringList args = app.arguments().mid(1);
    const bool screen = args.size() == 3 && args[0] == "--screen";
    const int side = screen ? args[1].toInt() : 0;
    if (screen ? side <= 0 : args.size() != 1) {
        std::fputs("usage: bench_decode_picture [--screen SIDE] FILE\n", stderr);
        return 2;
    }
    const QString file = args.last();
    QString error;
    const std::optional<QByteArray> bytes = pictureloader::readFile(file, &error);
    if (!bytes) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    LoadedPicture picture;
    if (side > 0)
        picture = pictureloader::decodeReduced(file, *bytes, QSize(side, side),
                                               pictureloader::Quick::OrSmaller);
    if (!picture.ok())
        picture = pictureloader::decode(file, *bytes);
    if (!picture.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(picture.error));
        return 1;
    }
    std::printf("%dx%d\n", picture.image.width(), picture.image.height());
    return 0;
}
