#include "fuzz/FuzzInput.h"
#include "imaging/BmpCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kelvarn;
    imaging::ImageRecord target;
    imaging::BmpCodec codec;
    // The reader refuses headers whose rows the file does not hold, so pictures stay as small
    // as the input.
    if (codec.open(fuzz::streamOf(data, size), target))
        codec.decode();
    return 0;
}
