#include "platform/windowing/detail/QtText.h"

#include "platform/files/Codepage.h"

namespace kelvarn::platform::detail {

QString fromRuntime(std::string_view gb) {
    // A raw byte kept by gbToUtf8 is not valid UTF-8; Qt shows it as a replacement character,
    // while the runtime keeps its own bytes wherever it stored them.
    const std::string utf8 = gbToUtf8(gb);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toRuntime(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return utf8ToGb(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

std::size_t gbCharLength(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x81 || lead > 0xFE || pos + 1 >= text.size())
        return 1;
    const unsigned char second = byte(pos + 1);
    if (second >= 0x30 && second <= 0x39) {
        if (pos + 3 < text.size() && byte(pos + 2) >= 0x81 && byte(pos + 2) <= 0xFE &&
            byte(pos + 3) >= 0x30 && byte(pos + 3) <= 0x39)
            return 4;
        return 1;
    }
    if (second >= 0x40 && second <= 0xFE && second != 0x7F)
        return 2;
    return 1;
}

namespace {

unsigned char fold(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

// Compares up to the end of the shorter text; reports through consumedAll whether a ran out.
int compareFolded(std::string_view a, std::string_view b, bool& aEnded, bool& bEnded) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const std::size_t la = gbCharLength(a, i);
        const std::size_t lb = gbCharLength(b, j);
        if (la == 1 && lb == 1) {
            const unsigned char ca = fold(static_cast<unsigned char>(a[i]));
            const unsigned char cb = fold(static_cast<unsigned char>(b[j]));
            if (ca != cb)
                return ca < cb ? -1 : 1;
        } else {
            const int c = a.substr(i, la).compare(b.substr(j, lb));
            if (c != 0)
                return c < 0 ? -1 : 1;
        }
        i += la;
        j += lb;
    }
    aEnded = i >= a.size();
    bEnded = j >= b.size();
    return 0;
}

} // namespace

int compareRuntimeTexts(std::string_view a, std::string_view b) {
    bool aEnded = false;
    bool bEnded = false;
    const int c = compareFolded(a, b, aEnded, bEnded);
    if (c != 0)
        return c;
    if (aEnded && bEnded)
        return 0;
    return aEnded ? -1 : 1;
}

std::string foldedRuntimeText(std::string_view text) {
    std::string folded(text);
    for (std::size_t i = 0; i < folded.size();) {
        const std::size_t length = gbCharLength(text, i);
        if (length == 1)
            folded[i] = static_cast<char>(fold(static_cast<unsigned char>(folded[i])));
        i += length;
    }
    return folded;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    bool textEnded = false;
    bool prefixEnded = false;
    return compareFolded(text, prefix, textEnded, prefixEnded) == 0 && prefixEnded;
}

int byteOffsetToIndex(const QString& text, int byteOffset) {
    int bytes = 0;
    int index = 0;
    while (index < text.size() && bytes < byteOffset) {
        const int step = text[index].isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
        bytes += static_cast<int>(toRuntime(text.mid(index, step)).size());
        index += step;
    }
    return index;
}

int indexToByteOffset(const QString& text, int index) {
    return static_cast<int>(toRuntime(text.left(index)).size());
}

} // namespace kelvarn::platform::detail
