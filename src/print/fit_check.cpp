#include "print/fit_check.h"

#include "common/units.h"
#include "print/captions.h"
#include "print/layouts.h"
#include "print/own_paper.h"
#include "print/paper_memory.h"

#include <QRectF>
#include <cmath>

namespace print {

namespace {

// Less than half a millimetre over the edge is lost in the printer's own
// tolerance and not worth a warning.
constexpr double kSlackPt = units::mmToPoints(0.5);

int wholeMm(double points) {
    return int(std::lround(units::pointsToMm(points)));
}

// `what` ("The 8x10 print") covers `used` (twips from the printable origin)
// on a page of the given orientation.
QString warning(const QString& what, const QSizeF& usedTwips, const Paper& paper,
                QPageLayout::Orientation orientation) {
    const QSizeF page = paper.sizeFor(orientation);
    const QMarginsF m = paper.marginsFor(orientation);
    const double wider =
        units::twipsToPoints(usedTwips.width()) - (page.width() - m.left() - m.right());
    const double longer =
        units::twipsToPoints(usedTwips.height()) - (page.height() - m.top() - m.bottom());
    const QString on = sizeInWords(paper.name);
    if (wider > kSlackPt && longer > kSlackPt)
        return QStringLiteral("%1 is %2 mm wider and %3 mm longer than this printer can print on "
                              "%4: its right and bottom edges will be cut.")
            .arg(what)
            .arg(wholeMm(wider))
            .arg(wholeMm(longer))
            .arg(on);
    if (wider > kSlackPt)
        return QStringLiteral("%1 is %2 mm wider than this printer can print on %3: its right "
                              "edge will be cut.")
            .arg(what)
            .arg(wholeMm(wider))
            .arg(on);
    if (longer > kSlackPt)
        return QStringLiteral("%1 is %2 mm longer than this printer can print on %3: its bottom "
                              "edge will be cut.")
            .arg(what)
            .arg(wholeMm(longer))
            .arg(on);
    return {};
}

} // namespace

QStringList packageFitWarnings(const Paper& paper, const Packages& packages) {
    QStringList warnings;
    for (const PackageLayout* p : packages) {
        const PackageLayout& package = *p;
        QRectF used;
        for (const Cell& c : package.cells)
            used |= QRectF(c.x, c.y, c.width, c.height);
        const QString what = package.cells.size() == 1
                                 ? QStringLiteral("The %1 print").arg(caption(package.caption))
                                 : QStringLiteral("The %1 sheet").arg(caption(package.caption));
        const QString w =
            warning(what, QSizeF(used.right(), used.bottom()), paper, QPageLayout::Portrait);
        if (!w.isEmpty())
            warnings << w;
    }
    return warnings;
}

QString singleFitWarning(const Paper& paper, int sizeIndex, bool horizontal) {
    if (ownPaperCell(paper, sizeIndex, horizontal))
        return {}; // shrunk within the margins, or to every edge: nothing is cut
    const SingleSize& size = singleSize(sizeIndex);
    return warning(QStringLiteral("The %1 print").arg(caption(size.caption)),
                   singleCell(sizeIndex, horizontal).size(), paper,
                   horizontal ? QPageLayout::Landscape : QPageLayout::Portrait);
}

} // namespace print
