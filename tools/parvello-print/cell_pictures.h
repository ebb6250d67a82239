#pragma once
// The pictures of one sheet for the command-line tool, ready for their cells.
// Each file is decoded once by the picture loader, a JPEG only as large as its
// largest cell needs (libjpeg's DCT scaling), and resampled to the printer's
// pixels of every cell it fills; the files are spread over the cores. Only the
// cell-sized pictures are kept, so memory follows the cells, not the originals.

#include "print/cell_fill.h"

#include <QImage>
#include <QSizeF>
#include <QString>
#include <optional>
#include <vector>

namespace cellpictures {

struct Request {
    QString file;
    QSizeF twips; // the cell it fills
};

// The pictures in the order of the requests, each filling its cell at `dpi`
// as the options say; nothing, and the first unreadable file's reason in
// `error`, when a file cannot be read.
std::optional<std::vector<QImage>> prepare(const std::vector<Request>& requests, int dpi,
                                           const print::CellOptions& options, QString* error);

} // namespace cellpictures
