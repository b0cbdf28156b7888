#include "platform/files/Path.h"

#include "platform/files/Codepage.h"

#include <algorithm>

namespace kelvarn::platform {

std::string toNativePath(std::string_view runtimePath) {
    std::string native = gbToUtf8(runtimePath);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

std::string fromNativePath(std::string_view nativePath) {
    return utf8ToGb(nativePath);
}

} // namespace kelvarn::platform
