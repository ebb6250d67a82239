#include "print/paper.h"

namespace print {

QMarginsF Paper::marginsFor(QPageLayout::Orientation orientation) const {
    if (orientation == QPageLayout::Portrait)
        return margins;
    return QMarginsF(margins.bottom(), margins.left(), margins.top(), margins.right());
}

QSizeF Paper::sizeFor(QPageLayout::Orientation orientation) const {
    return orientation == QPageLayout::Portrait ? size : size.transposed();
}

} // namespace print
