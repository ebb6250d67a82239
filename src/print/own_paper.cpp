#include "print/own_paper.h"

#include "common/units.h"
#include "print/layouts.h"

#include <cmath>

namespace print {

namespace {

constexpr double kTwipsPerMm = units::kTwipsPerInch / units::kMmPerInch;
// Papers and prints within a millimetre of each other are the same size.
constexpr double kSameSizeTwips = 1.0 * kTwipsPerMm;

QSizeF twips(const QSizeF& points) {
    return points * units::kTwipsPerPoint;
}

} // namespace

std::optional<QRectF> ownPaperCell(const Paper& paper, int sizeIndex, bool horizontal) {
    const QPageLayout::Orientation orientation =
        horizontal ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QSizeF page = twips(paper.sizeFor(orientation));
    const QSizeF print = singleCell(sizeIndex, horizontal).size();
    if (std::abs(page.width() - print.width()) > kSameSizeTwips ||
        std::abs(page.height() - print.height()) > kSameSizeTwips)
        return std::nullopt;
    const QMarginsF m = paper.marginsFor(orientation) * units::kTwipsPerPoint;
    if (m.isNull()) {
        const double bleed = kBleedMm * kTwipsPerMm;
        return QRectF(-bleed, -bleed, page.width() + 2 * bleed, page.height() + 2 * bleed);
    }
    const QSizeF fitted = print.scaled(page.shrunkBy(m), Qt::KeepAspectRatio);
    return QRectF((page.width() - fitted.width()) / 2 - m.left(),
                  (page.height() - fitted.height()) / 2 - m.top(), fitted.width(), fitted.height());
}

} // namespace print
