#pragma once
// What the user has ordered to print, held apart from the controls that show
// it: the ticked packages, the copies of each, how the pictures fill their
// prints and the selected preview. The main window's
// controls and the settings file bind to it; a print job takes a copy of it.
// While a job runs the order is frozen: changes to what prints are refused
// until it ends (the selected preview may still change: it prints nothing).

#include "print/layouts.h"
#include "print/print_options.h"

#include <QObject>
#include <array>

namespace print {

class PrintOrder : public QObject {
    Q_OBJECT
  public:
    // No position selected.
    static constexpr int kNone = -1;

    bool isTicked(const PackageLayout& package) const;
    void setTicked(const PackageLayout& package, bool ticked);
    // The ticked packages, in printing order.
    Packages tickedPackages() const;
    bool anyTicked() const { return !tickedPackages().empty(); }

    int copies() const { return m_copies; }
    // Kept within kMinCopies … kMaxCopies.
    void setCopies(int copies);

    const PrintOptions& options() const { return m_options; }
    void setOptions(const PrintOptions& options);

    // The picture position whose preview was selected last (0 … 18), or kNone.
    int selected() const { return m_selected; }
    void setSelected(int position);

    bool isFrozen() const { return m_frozen; }
    void setFrozen(bool frozen);

  signals:
    void tickedChanged();
    void copiesChanged(int copies);
    void optionsChanged();
    void selectedChanged(int position);
    void frozenChanged(bool frozen);

  private:
    std::array<bool, kPackages.size()> m_ticked{};
    int m_copies = kMinCopies;
    PrintOptions m_options;
    int m_selected = kNone;
    bool m_frozen = false;
};

} // namespace print
