#include "fuzz/FuzzFile.h"
#include "imaging/PhotoCdDecoder.h"

// The reader looks only at files of a megabyte or more. Inputs whose first byte is odd are
// padded with zero bytes to exactly that size (so the data after them reach the pixel rows);
// the others are written as they are, so the size rule is fuzzed too. The second byte picks the
// resolution, out-of-range indexes included.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kelvarn;
    const bool pad = size > 0 && (data[0] & 1);
    const char* path = fuzz::fuzzFile().write(
        data, size, pad ? static_cast<size_t>(imaging::PhotoCdDecoder::kMinimumFileSize) : 0);
    const int32_t resolution = size > 1 ? data[1] % 4 : 2;
    imaging::ImageRecord target;
    imaging::PhotoCdDecoder decoder;
    if (decoder.open(path, target, resolution))
        decoder.decode();
    return 0;
}
