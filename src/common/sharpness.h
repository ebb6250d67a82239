#pragma once
// When a print looks sharp, written once for the scan window, the previews'
// "Soft" tag, the print question and how far a print may be zoomed: its
// picture gives it at least 150 pixels an inch, half the 300 a photo printer
// takes and still crisp at arm's length.

#include <QSize>
#include <QString>

namespace sharpness {

inline constexpr double kSharpPixelsPerInch = 150;

inline bool looksSharp(double pixelsPerInch) {
    return pixelsPerInch >= kSharpPixelsPerInch;
}

// How the program states a picture against a print, everywhere the same:
// "944 × 625 pixels: sharp up to 4x6 (156 ppi)".
QString sharpnessText(QSize pixels, const QString& verdict, double pixelsPerInch);

} // namespace sharpness
