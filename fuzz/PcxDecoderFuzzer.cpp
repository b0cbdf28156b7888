#include "fuzz/FuzzFile.h"
#include "imaging/PcxDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kelvarn;
    const char* path = fuzz::fuzzFile().write(data, size);
    imaging::ImageRecord target;
    imaging::PcxDecoder decoder;
    if (decoder.open(path, target))
        decoder.decode();
    return 0;
}
