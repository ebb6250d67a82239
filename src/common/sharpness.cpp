#include "common/sharpness.h"

#include <cmath>

namespace sharpness {

QString sharpnessText(QSize pixels, const QString& verdict, double pixelsPerInch) {
    // Rounded down: a soft print never reads as 150 ppi.
    return QStringLiteral("%1 × %2 pixels: %3 (%4 ppi)")
        .arg(QString::number(pixels.width()), QString::number(pixels.height()), verdict,
             QString::number(int(std::floor(pixelsPerInch))));
}

} // namespace sharpness
