#include "print/print_order.h"

#include <algorithm>

namespace print {

bool PrintOrder::isTicked(const PackageLayout& package) const {
    return m_ticked[size_t(package.checkIndex)];
}

void PrintOrder::setTicked(const PackageLayout& package, bool ticked) {
    bool& t = m_ticked[size_t(package.checkIndex)];
    if (m_frozen || t == ticked)
        return;
    t = ticked;
    emit tickedChanged();
}

Packages PrintOrder::tickedPackages() const {
    Packages ticked;
    for (const PackageLayout& package : kPackages)
        if (isTicked(package))
            ticked.push_back(&package);
    return ticked;
}

void PrintOrder::setCopies(int copies) {
    copies = std::clamp(copies, kMinCopies, kMaxCopies);
    if (m_frozen || copies == m_copies)
        return;
    m_copies = copies;
    emit copiesChanged(copies);
}

void PrintOrder::setOptions(const PrintOptions& options) {
    if (m_frozen || (options.fill == m_options.fill && options.turnToFit == m_options.turnToFit &&
                     options.cutGuides == m_options.cutGuides))
        return;
    m_options = options;
    emit optionsChanged();
}

void PrintOrder::setSelected(int position) {
    if (position == m_selected)
        return;
    m_selected = position;
    emit selectedChanged(position);
}

void PrintOrder::setFrozen(bool frozen) {
    if (frozen == m_frozen)
        return;
    m_frozen = frozen;
    emit frozenChanged(frozen);
}

} // namespace print
