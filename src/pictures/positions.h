#pragma once
// The places a picture can take, counted from 0 everywhere: 0 … 18 are the
// cells of the package sheets in the order of the package table
// (print::Cell::picture), 19 is the scanned picture. Only the main window
// names them ("Image1" … "Image20", app/preview_table.h).

namespace positions {

inline constexpr int kPackage = 19; // 0 … 18 lie on the package sheets
inline constexpr int kScanned = 19;
inline constexpr int kCount = 20;

} // namespace positions
