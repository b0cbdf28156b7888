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

// What the decoders share about refusing: the reason, kept from a refusal until the decoder's
// next open, and refuse(), which closes the decoder (its close()) and gives the 0 its open or
// decode then returns. A decoder derives from RefusingDecoder<itself>.
template <class Decoder> class RefusingDecoder {
public:
    // Why open or decode last refused the file (empty when it did not).
    const Refusal& refusal() const { return m_refusal; }

protected:
    RefusingDecoder() = default;
    ~RefusingDecoder() = default;

    int refuse() {
        static_cast<Decoder&>(*this).close();
        return 0;
    }
    // The same, saying why (printf-style).
    [[gnu::format(printf, 2, 3)]] int refuse(const char* format, ...) {
        std::va_list args;
        va_start(args, format);
        m_refusal.setList(format, args);
        va_end(args);
        return refuse();
    }

    Refusal m_refusal;
};

} // namespace kelvarn::imaging
