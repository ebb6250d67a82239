// The picture loader on HEIF and AVIF files through libheif (their thumbnails too); see
// fuzz_pictures.h for what must hold.
#include "fuzz_pictures.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startQt();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::decodeAs("in.heic", data, size);
    return 0;
}
