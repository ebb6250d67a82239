#include "print/cell_fill.h"

#include "common/units.h"
#include "print/layouts.h"

#include <QPainter>
#include <QTransform>
#include <cmath>

namespace print {

CellOptions cellOptions(const PrintOptions& options, const imaging::Framing& framing) {
    return {options.fill, options.turnToFit, framing};
}

QSize cellPixels(const QSizeF& twips, int dpi) {
    const double scale = units::dotsPerTwip(dpi);
    return QSize(std::max(1, int(std::lround(twips.width() * scale))),
                 std::max(1, int(std::lround(twips.height() * scale))));
}

imaging::CellMapping cellMapping(const QSize& picture, const QSizeF& twips,
                                 const CellOptions& options) {
    return imaging::mapPictureToCell(picture.width(), picture.height(), twips.width(),
                                     twips.height(), options.fill, options.turnToFit,
                                     options.framing);
}

QImage fillCell(const QImage& picture, const QSizeF& twips, const QSize& pixels,
                const CellOptions& options) {
    if (picture.isNull())
        return {};
    QImage src = picture;
    // Premultiplied, so that averaging never bleeds the colour of
    // transparent pixels into their neighbours.
    const QImage::Format format =
        src.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (src.format() != format)
        src = src.convertToFormat(format);
    // Smooth scaling averages every source pixel a device pixel covers (and
    // spreads large pictures over the cores by itself).
    if (options.fill == imaging::FillMode::Stretch)
        return src.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    const imaging::CellMapping m = cellMapping(src.size(), twips, options);
    // The crop window in whole pixels, read in place.
    const int x0 = std::clamp(int(std::lround(m.source.x)), 0, src.width() - 1);
    const int y0 = std::clamp(int(std::lround(m.source.y)), 0, src.height() - 1);
    const int x1 = std::clamp(int(std::lround(m.source.x + m.source.width)), x0 + 1, src.width());
    const int y1 = std::clamp(int(std::lround(m.source.y + m.source.height)), y0 + 1, src.height());
    const QImage window(src.constBits() + qsizetype(y0) * src.bytesPerLine() + x0 * 4, x1 - x0,
                        y1 - y0, src.bytesPerLine(), format);

    const double sx = pixels.width() / twips.width(), sy = pixels.height() / twips.height();
    const QRect target(QPoint(int(std::lround(m.target.x * sx)), int(std::lround(m.target.y * sy))),
                       QPoint(int(std::lround((m.target.x + m.target.width) * sx)) - 1,
                              int(std::lround((m.target.y + m.target.height) * sy)) - 1));
    const QSize landed = target.size().expandedTo(QSize(1, 1));
    // Scaled before it is turned: the turn then moves the fewest pixels.
    QImage scaled = window.scaled(m.quarterTurn ? landed.transposed() : landed,
                                  Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // A window already of the landed size comes back as itself, still
    // reading the converted picture that goes out of scope here.
    if (scaled.constBits() == window.constBits())
        scaled = window.copy();
    if (m.quarterTurn)
        scaled = scaled.transformed(QTransform().rotate(90));
    if (landed == pixels)
        return scaled;
    QImage cell(pixels, format);
    cell.fill(Qt::white);
    QPainter(&cell).drawImage(target.topLeft(), scaled);
    return cell;
}

} // namespace print
