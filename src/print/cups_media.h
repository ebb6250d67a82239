#pragma once
// For the print core's CUPS files: libcups' destinations owned, and its
// description of a paper as ours (one conversion for the printer target and
// for what a printer offers).

#include "print/paper.h"

#include <cups/cups.h>
#include <memory>

namespace print {

struct FreeDest {
    void operator()(cups_dest_t* d) const { cupsFreeDests(1, d); }
};
struct FreeInfo {
    void operator()(cups_dinfo_t* i) const { cupsFreeDestInfo(i); }
};
using Dest = std::unique_ptr<cups_dest_t, FreeDest>;
using Info = std::unique_ptr<cups_dinfo_t, FreeInfo>;

// Named by its standard (PWG) name, the same with and without borders.
Paper paperOf(const cups_size_t& size);

inline bool isBorderless(const cups_size_t& size) {
    return size.left == 0 && size.top == 0 && size.right == 0 && size.bottom == 0;
}

// The paper of that standard name among those the printer describes, with
// or without borders (libcups' own look-up by name may give either).
bool findMedia(http_t* http, cups_dest_t* dest, cups_dinfo_t* info, const QString& name,
               bool borderless, cups_size_t* size);

} // namespace print
