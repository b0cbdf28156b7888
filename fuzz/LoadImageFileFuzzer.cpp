#include "fuzz/FuzzFile.h"
#include "imaging/LoaderChain.h"

// The whole loader chain over one file: every decoder in turn probes (and possibly partly
// decodes) the same bytes, handing the target on.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kelvarn;
    const char* path = fuzz::fuzzFile().write(data, size);
    imaging::ImageRecord target;
    imaging::LoadImageFile(path, target);
    return 0;
}
