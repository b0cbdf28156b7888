#include "platform/files/Codepage.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>

namespace kelvarn::platform {
namespace {

// Escaped raw bytes use the GB18030 four-byte forms of the values 0x110000 + byte: they follow
// the last form in use (U+10FFFF is 0xE3 0x32 0x9A 0x35) and name no character.
constexpr uint32_t kEscapeBase = 0x110000;

// Linear number of a four-byte GB18030 sequence in the supplementary range (first byte >= 0x90).
uint32_t fourByteLinear(const unsigned char* s) {
    return 0x10000 +
           ((s[0] - 0x90) * 12600u + (s[1] - 0x30) * 1260u + (s[2] - 0x81) * 10u + (s[3] - 0x30));
}

void appendFourByte(std::string& out, uint32_t value) {
    uint32_t n = value - 0x10000;
    char seq[4];
    seq[3] = static_cast<char>(0x30 + n % 10);
    n /= 10;
    seq[2] = static_cast<char>(0x81 + n % 126);
    n /= 126;
    seq[1] = static_cast<char>(0x30 + n % 10);
    n /= 10;
    seq[0] = static_cast<char>(0x90 + n);
    out.append(seq, 4);
}

// One iconv descriptor per direction and thread; opening one costs more than most conversions.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one sequence that is known to be well formed; false when the target cannot
    // represent it (an unmapped code) or iconv is unavailable.
    bool convert(const char* in, size_t inLen, std::string& out) {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            return false;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char buffer[256];
        char* src = const_cast<char*>(in);
        size_t srcLeft = inLen;
        size_t start = out.size();
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (r == static_cast<size_t>(-1) && errno != E2BIG) {
                out.resize(start);
                return false;
            }
        }
        return true;
    }

private:
    iconv_t m_cd;
};

Converter& gbDecoder() {
    thread_local Converter c("UTF-8", "GB18030");
    return c;
}
Converter& gbEncoder() {
    thread_local Converter c("GB18030", "UTF-8");
    return c;
}

bool isAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

// Length of the well-formed GB18030 sequence at s (1, 2 or 4), or 0 when the byte there does
// not start one.
size_t gbSequenceLength(const unsigned char* s, size_t left) {
    if (s[0] < 0x80)
        return 1;
    if (s[0] == 0x80 || s[0] == 0xFF || left < 2)
        return 0;
    if ((s[1] >= 0x40 && s[1] <= 0x7E) || (s[1] >= 0x80 && s[1] <= 0xFE))
        return 2;
    if (s[1] >= 0x30 && s[1] <= 0x39 && left >= 4 && s[2] >= 0x81 && s[2] <= 0xFE && s[3] >= 0x30 &&
        s[3] <= 0x39)
        return 4;
    return 0;
}

// Length of the well-formed UTF-8 sequence at s, or 0 (overlong forms, surrogates and values
// above U+10FFFF are not well formed).
size_t utf8SequenceLength(const unsigned char* s, size_t left) {
    unsigned char c = s[0];
    if (c < 0x80)
        return 1;
    size_t n;
    uint32_t min;
    uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2, min = 0x80, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3, min = 0x800, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4, min = 0x10000, cp = c & 0x07;
    } else {
        return 0;
    }
    if (left < n)
        return 0;
    for (size_t i = 1; i < n; ++i) {
        if ((s[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (s[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

} // namespace

std::string gbToUtf8(std::string_view gb) {
    if (isAscii(gb))
        return std::string(gb);
    std::string out;
    out.reserve(gb.size() * 3 / 2);
    auto* s = reinterpret_cast<const unsigned char*>(gb.data());
    size_t i = 0;
    size_t runStart = 0; // start of well-formed sequences not yet converted
    auto flushRun = [&](size_t end) {
        if (end > runStart && !gbDecoder().convert(gb.data() + runStart, end - runStart, out)) {
            // An unmapped sequence inside the run: convert sequence by sequence, keeping the
            // raw bytes of any that have no character.
            size_t j = runStart;
            while (j < end) {
                size_t len = gbSequenceLength(s + j, end - j);
                if (!gbDecoder().convert(gb.data() + j, len, out))
                    out.append(gb.data() + j, len);
                j += len;
            }
        }
        runStart = end;
    };
    while (i < gb.size()) {
        size_t len = gbSequenceLength(s + i, gb.size() - i);
        if (len == 4 && s[i] >= 0x90) {
            uint32_t v = fourByteLinear(s + i);
            if (v >= kEscapeBase && v < kEscapeBase + 0x100) {
                flushRun(i);
                out.push_back(static_cast<char>(v - kEscapeBase));
                i += 4;
                runStart = i;
                continue;
            }
        }
        if (len == 0) {
            flushRun(i);
            out.push_back(static_cast<char>(s[i]));
            ++i;
            runStart = i;
            continue;
        }
        i += len;
    }
    flushRun(gb.size());
    return out;
}

std::string utf8ToGb(std::string_view utf8) {
    if (isAscii(utf8))
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    size_t i = 0;
    size_t runStart = 0;
    auto flushRun = [&](size_t end) {
        // Every scalar value has a GB18030 form; should iconv still refuse, the bytes are
        // escaped rather than lost.
        if (end > runStart && !gbEncoder().convert(utf8.data() + runStart, end - runStart, out))
            for (size_t j = runStart; j < end; ++j)
                appendFourByte(out, kEscapeBase + s[j]);
        runStart = end;
    };
    while (i < utf8.size()) {
        size_t len = utf8SequenceLength(s + i, utf8.size() - i);
        if (len == 0) {
            flushRun(i);
            appendFourByte(out, kEscapeBase + s[i]);
            ++i;
            runStart = i;
            continue;
        }
        i += len;
    }
    flushRun(utf8.size());
    return out;
}

} // namespace kelvarn::platform
