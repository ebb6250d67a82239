#pragma once
// Reads printed documents back with poppler's tools: pages, page size,
// embedded pictures, and a rendering to find where things landed.

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

namespace testpdf {

inline QString runTool(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

inline int pageCount(const QString& pdf) {
    for (const QString& line : runTool("pdfinfo", {pdf}).split('\n'))
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    return -1;
}

// Page size in points, as it appears (landscape is wider than tall).
inline QSizeF pageSize(const QString& pdf) {
    for (const QString& line : runTool("pdfinfo", {pdf}).split('\n'))
        if (line.startsWith("Page size:")) {
            const QStringList parts = line.mid(10).simplified().split(' ');
            if (parts.size() >= 3)
                return QSizeF(parts[0].toDouble(), parts[2].toDouble());
        }
    return {};
}

// Pixel sizes of the pictures embedded in the document.
inline std::vector<QSize> embeddedImages(const QString& pdf) {
    std::vector<QSize> sizes;
    const QStringList lines = runTool("pdfimages", {"-list", pdf}).split('\n');
    for (int i = 2; i < lines.size(); ++i) {
        const QStringList f = lines[i].simplified().split(' ');
        if (f.size() > 5 && f[2] == "image")
            sizes.emplace_back(f[3].toInt(), f[4].toInt());
    }
    return sizes;
}

// The first page rendered at `dpi`.
inline QImage render(const QString& pdf, int dpi) {
    QTemporaryDir dir;
    runTool("pdftoppm",
            {"-r", QString::number(dpi), "-f", "1", "-l", "1", "-png", pdf, dir.path() + "/page"});
    for (const QString& name : QDir(dir.path()).entryList({"page*.png"}))
        return QImage(dir.path() + '/' + name);
    return {};
}

// Bounding box of the pixels within `tolerance` of `colour`.
inline QRect findColour(const QImage& img, QRgb colour, int tolerance = 40) {
    int x0 = img.width(), y0 = img.height(), x1 = -1, y1 = -1;
    const QImage rgb = img.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = line[x];
            if (std::abs(qRed(p) - qRed(colour)) <= tolerance &&
                std::abs(qGreen(p) - qGreen(colour)) <= tolerance &&
                std::abs(qBlue(p) - qBlue(colour)) <= tolerance) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
        }
    }
    if (x1 < 0)
        return {};
    return QRect(QPoint(x0, y0), QPoint(x1, y1));
}

} // namespace testpdf
