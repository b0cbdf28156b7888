#pragma once
// Runtime texts: zero-terminated GBK/GB18030 byte strings; null is the empty text. Lengths and
// cuts are in bytes.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace kelvarn::runtime {

int32_t TextLen(const char* text);
// -1, 0 or 1, comparing unsigned bytes; null equals "".
int32_t TextCompare(const char* a, const char* b);
// One new block holding every piece in order (null pieces count as empty).
char* TextConcat(std::initializer_list<const char*> pieces);
template <typename... Texts> char* TextConcat(const Texts*... pieces) {
    return TextConcat({pieces...});
}

// Position of the last '\\' or '/' of a path, npos when there is none. Double-byte aware: the
// trail byte of a two-byte character (which may be 0x5C) is never taken for a separator.
size_t lastSeparator(std::string_view path);

// Library side: new texts for command results (allocated through runtime service 2024).
char* CopyText(const char* text);                  // null for an empty source
char* CopyTextPrefix(const char* text, int32_t n); // null when n <= 0
// A binary-data block (1, n, bytes); null when n is 0.
void* MakeBinary(const void* bytes, int32_t n);

} // namespace kelvarn::runtime
