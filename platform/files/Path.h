#pragma once
// Paths that reach the platform are runtime texts (GB18030) in which both '\' and '/' separate
// components, so "folder" + "\" + "name" works as a path. Paths the platform hands back are
// native Linux paths ('/' separators), also as runtime texts.

#include <string>
#include <string_view>

namespace kelvarn::platform {

// Runtime text -> native UTF-8 path for the C library: converted first, then every '\' becomes
// '/' (after conversion, because a GBK trail byte may be 0x5C).
std::string toNativePath(std::string_view runtimePath);

// Native UTF-8 path -> runtime text.
std::string fromNativePath(std::string_view nativePath);

} // namespace kelvarn::platform
