#pragma once
// Runtime texts (GB18030 bytes) to and from Qt strings, and byte-wise helpers on runtime texts.

#include <QString>

#include <string>
#include <string_view>

namespace kelvarn::platform::detail {

QString fromRuntime(std::string_view gb);
std::string toRuntime(const QString& text);

// Length in bytes of the GB18030 character that starts at text[pos] (1, 2 or 4; 1 for a byte
// that starts no valid sequence).
std::size_t gbCharLength(std::string_view text, std::size_t pos);
// Compares runtime texts character by character, single-byte letters without regard to case.
// With prefixOnly, a that is a prefix of b (after folding) compares equal.
int compareRuntimeTexts(std::string_view a, std::string_view b);
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);
// The text with its single-byte letters in upper case: a text that starts with a prefix, ignoring
// case, starts with the prefix's folded bytes when both are folded.
std::string foldedRuntimeText(std::string_view text);

// Byte offset in the runtime form of text <-> index into the Qt string.
int byteOffsetToIndex(const QString& text, int byteOffset);
int indexToByteOffset(const QString& text, int index);

} // namespace kelvarn::platform::detail
