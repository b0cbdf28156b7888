#pragma once
// Why a decoder refused a file, for people reading a log: a short English text naming the
// decoder first ("BMP: header width 0"). It sits beside the decoder's result and never changes
// it; the decoders keep it from a refusal until their next open. The text lives in a fixed
// buffer (cut to fit), so it may be set from inside a C library's error callback, where nothing
// may allocate or throw.

#include <cstdarg>
#include <cstddef>

namespace kelvarn::imaging {

class Refusal {
public:
    static constexpr size_t kCapacity = 160;

    // printf-style.
    [[gnu::format(printf, 2, 3)]] void set(const char* format, ...);
    [[gnu::format(printf, 2, 0)]] void setList(const char* format, std::va_list args);
    void clear() { m_text[0] = '\0'; }
    bool empty() const { return m_text[0] == '\0'; }
    const char* text() const { return m_text; }

private:
    char m_text[kCapacity] = {};
};

} // namespace kelvarn::imaging
