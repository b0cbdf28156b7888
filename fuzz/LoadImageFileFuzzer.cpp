#include "fuzz/FuzzFile.h"
#include "imaging/LoaderChain.h"

#include <cstdlib>

// The whole loader chain over one file: every decoder that recognises the bytes in turn opens
// (and possibly partly decodes) them, handing the target on. Whatever the bytes, a file that is
// not loaded comes with a reason.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kelvarn;
    const char* path = fuzz::fuzzFile().write(data, size);
    imaging::ImageRecord target;
    imaging::Refusal why;
    const int result = imaging::LoadImageFile(path, target, why);
    if ((result == imaging::kLoadOk) != why.empty())
        std::abort();
    return 0;
}
