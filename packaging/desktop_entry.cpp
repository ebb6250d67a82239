// Writes the desktop entry at build time: the template with @MIME_TYPES@
// replaced by the MIME types of the formats the browser opens, taken from the
// picture format table, so that file managers offer Parvello for exactly those.
//   parvello_desktop_entry TEMPLATE OUTPUT
#include "pictures/picture_formats.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: parvello_desktop_entry TEMPLATE OUTPUT\n", stderr);
        return 2;
    }
    std::ifstream in(argv[1]);
    std::stringstream text;
    text << in.rdbuf();
    std::string entry = text.str();
    const std::string key = "@MIME_TYPES@";
    const size_t at = entry.find(key);
    if (!in || at == std::string::npos) {
        std::fprintf(stderr, "parvello_desktop_entry: no %s in %s\n", key.c_str(), argv[1]);
        return 1;
    }
    std::string types;
    for (const pictures::PictureFormat& format : pictures::kPictureFormats)
        if (format.reader != pictures::Reader::None)
            types.append(format.mimeType).append(";");
    entry.replace(at, key.size(), types);
    std::ofstream out(argv[2]);
    out << entry;
    return out ? 0 : 1;
}
