#pragma once
// Runtime texts are GBK byte strings, extended to GB18030 so that every Unicode character
// round-trips. The platform converts at its boundary: file names, window texts, dialogs.

#include <string>
#include <string_view>

namespace kelvarn::platform {

// GB18030 -> UTF-8. A byte that does not start a valid GB18030 sequence is copied through as
// the raw byte, so nothing is dropped. The four-byte GB18030 forms that lie beyond U+10FFFF and
// encode an escaped byte (see utf8ToGb) turn back into that raw byte.
std::string gbToUtf8(std::string_view gb);

// UTF-8 -> GB18030. Every Unicode scalar value has a GB18030 form. A byte that is not part of
// valid UTF-8 (a Linux file name may hold any bytes) is kept by escaping it to one of the 256
// four-byte GB18030 sequences just past U+10FFFF, which no character uses; gbToUtf8 restores
// the byte, so such a name survives a round trip through a runtime text unchanged.
std::string utf8ToGb(std::string_view utf8);

} // namespace kelvarn::platform
