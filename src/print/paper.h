#pragma once
// The paper a printer is fed and the area of it the printer can print on.

#include <QMarginsF>
#include <QPageLayout>
#include <QSizeF>
#include <QString>

namespace print {

struct Paper {
    QString name;      // the printer's own name for it ("na_letter_8.5x11in"); may be empty
    QSizeF size;       // as fed (portrait), in points
    QMarginsF margins; // unprintable edges of the paper as fed, in points

    // The margins of the page as it is painted. A landscape page reaches the
    // paper turned a quarter turn counter-clockwise (that is what CUPS does
    // for orientation-requested=4), so its top edge lies along the paper's
    // left edge and its left edge along the paper's bottom edge.
    QMarginsF marginsFor(QPageLayout::Orientation orientation) const;
    QSizeF sizeFor(QPageLayout::Orientation orientation) const;
};

// What the user asks of a printer for photographs; an empty field leaves the
// printer's own default. Values as printerOptions() lists them.
struct PaperChoice {
    QString size;            // a paper's standard name ("na_index-4x6_4x6in")
    bool borderless = false; // that paper printed to every edge
    QString type;            // media-type ("photographic-glossy")
    QString quality;         // print-quality ("5")
    QString source;          // media-source ("photo")
    QString colourMode;      // print-color-mode ("color")

    friend bool operator==(const PaperChoice&, const PaperChoice&) = default;
};

} // namespace print
