#include "ui/window/GlobalBlock.h"

#include <cstdlib>
#include <cstring>

namespace kelvarn::ui {
namespace {

// The size lies in front of the bytes; 16 bytes keep the data aligned for any use.
constexpr size_t kHeader = 16;

} // namespace

void* allocGlobalBlock(size_t size) {
    if (size == 0 || size > SIZE_MAX - kHeader)
        return nullptr;
    auto* raw = static_cast<uint8_t*>(std::calloc(1, kHeader + size));
    if (!raw)
        return nullptr;
    std::memcpy(raw, &size, sizeof size);
    return raw + kHeader;
}

void* globalBlockFrom(std::span<const uint8_t> bytes) {
    void* block = allocGlobalBlock(bytes.size());
    if (block)
        std::memcpy(block, bytes.data(), bytes.size());
    return block;
}

size_t globalBlockSize(const void* block) {
    if (!block)
        return 0;
    size_t size;
    std::memcpy(&size, static_cast<const uint8_t*>(block) - kHeader, sizeof size);
    return size;
}

std::span<const uint8_t> globalBlockBytes(const void* block) {
    return {static_cast<const uint8_t*>(block), globalBlockSize(block)};
}

void freeGlobalBlock(void* block) {
    if (block)
        std::free(static_cast<uint8_t*>(block) - kHeader);
}

} // namespace kelvarn::ui
