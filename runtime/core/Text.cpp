#include "runtime/core/Text.h"

#include "runtime/core/Heap.h"
#include "runtime/core/RuntimeServices.h"

#include <climits>
#include <cstring>

namespace kelvarn::runtime {
namespace {

// The library side obtains its blocks the way every library does, through service 2024 with
// flag 0, so an exhausted heap is the runtime error rather than a null block.
// A size beyond the 32-bit heap's reach is asked as -1, which is reported like any refusal.
char* allocateForLibrary(int64_t size) {
    intptr_t request = size > INT32_MAX ? -1 : static_cast<intptr_t>(size);
    return reinterpret_cast<char*>(RuntimeService(kServiceAllocate, request, 0));
}

} // namespace

int32_t TextLen(const char* text) {
    return text ? static_cast<int32_t>(std::strlen(text)) : 0;
}

int32_t TextCompare(const char* a, const char* b) {
    if (!a)
        return b && *b ? -1 : 0;
    if (!b)
        return *a ? 1 : 0;
    auto* p = reinterpret_cast<const unsigned char*>(a);
    auto* q = reinterpret_cast<const unsigned char*>(b);
    for (;; ++p, ++q) {
        if (*p != *q)
            return *p < *q ? -1 : 1;
        if (*p == 0)
            return 0;
    }
}

char* TextConcat(std::initializer_list<const char*> pieces) {
    // Lengths are measured once; the one block is sized by their sum.
    constexpr size_t kMaxPieces = 64;
    int32_t lengths[kMaxPieces];
    int64_t total = 1;
    size_t i = 0;
    for (const char* piece : pieces) {
        int32_t n = TextLen(piece);
        if (i < kMaxPieces)
            lengths[i] = n;
        ++i;
        total += n;
    }
    char* block =
        static_cast<char*>(MemAlloc(total > INT32_MAX ? -1 : static_cast<int32_t>(total)));
    char* out = block;
    i = 0;
    for (const char* piece : pieces) {
        int32_t n = i < kMaxPieces ? lengths[i] : TextLen(piece);
        ++i;
        if (n > 0) {
            std::memcpy(out, piece, static_cast<size_t>(n));
            out += n;
        }
    }
    *out = 0;
    return block;
}

char* CopyText(const char* text) {
    if (!text || !*text)
        return nullptr;
    int32_t n = TextLen(text);
    char* copy = allocateForLibrary(int64_t{n} + 1);
    std::memcpy(copy, text, static_cast<size_t>(n) + 1);
    return copy;
}

char* CopyTextPrefix(const char* text, int32_t n) {
    if (n <= 0)
        return nullptr;
    char* copy = allocateForLibrary(int64_t{n} + 1);
    std::memcpy(copy, text, static_cast<size_t>(n));
    copy[n] = 0;
    return copy;
}

void* MakeBinary(const void* bytes, int32_t n) {
    if (n <= 0)
        return nullptr;
    auto* block = allocateForLibrary(int64_t{n} + 8);
    const int32_t header[2] = {1, n};
    std::memcpy(block, header, sizeof header);
    std::memcpy(block + 8, bytes, static_cast<size_t>(n));
    return block;
}

} // namespace kelvarn::runtime

namespace kelvarn::runtime {

size_t lastSeparator(std::string_view path) {
    size_t last = std::string_view::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        auto c = static_cast<unsigned char>(path[i]);
        if (c == '\\' || c == '/')
            last = i;
        else if (c >= 0x81 && c <= 0xFE && i + 1 < path.size())
            ++i; // lead byte: the next byte belongs to the same character
    }
    return last;
}

} // namespace kelvarn::runtime
