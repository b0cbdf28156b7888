#include "imaging/ContentHead.h"

#include "imaging/FileUtilities.h"
#include "platform/files/FileSystem.h"

#include <cstdio>

namespace kelvarn::imaging {

bool readContentHead(const char* path, ContentHead& head) {
    head.count = 0;
    head.size = 0;
    const platform::StreamPtr file = platform::openStream(path, "rb");
    if (!file)
        return false;
    head.size = fileSize(file.get());
    head.count = std::fread(head.bytes, 1, sizeof head.bytes, file.get());
    return !std::ferror(file.get());
}

} // namespace kelvarn::imaging
