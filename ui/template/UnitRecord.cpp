#include "ui/template/UnitRecord.h"

#include "ui/template/ByteReader.h"
#include "ui/template/ByteWriter.h"

#include "platform/files/LittleEndian.h"

namespace kelvarn::ui {
namespace {

bool skipZeroText(SpanReader& r) {
    for (;;) {
        int b = r.nextByte();
        if (b < 0)
            return false;
        if (b == 0)
            return true;
    }
}

bool skipCountedBytes(SpanReader& r) {
    int32_t n;
    if (!readI32(r, n))
        return false;
    return n <= 0 || r.skip(static_cast<size_t>(n));
}

// A list of `count` items of `itemSize` bytes, checked against what is left before skipping.
bool skipItems(SpanReader& r, uint32_t count, size_t itemSize) {
    if (count > r.remaining() / itemSize)
        return false;
    return r.skip(count * itemSize);
}

} // namespace

std::optional<UnitRecordLayout> walkUnitRecord(std::span<const uint8_t> data) {
    SpanReader r(data);
    UnitRecordLayout layout;
    if (!r.skip(UnitRecordLayout::kName) || !skipZeroText(r))
        return std::nullopt;
    layout.secondText = r.position();
    if (!skipZeroText(r))
        return std::nullopt;
    layout.objectSlot = r.position();
    if (!r.skip(28) || !readU32(r, layout.childTotal) || !skipItems(r, layout.childTotal, 4))
        return std::nullopt;
    layout.mousePointer = r.position();
    if (!skipCountedBytes(r))
        return std::nullopt;
    layout.tag = r.position();
    if (!skipZeroText(r))
        return std::nullopt;
    layout.tagLength = r.position() - layout.tag;
    if (!r.skip(4))
        return std::nullopt;
    layout.stateFlags = r.position();
    if (!r.skip(8) || !readU32(r, layout.bindingTotal) || !skipItems(r, layout.bindingTotal, 8) ||
        !r.skip(20))
        return std::nullopt;
    layout.propertyBlock = r.position();
    return layout;
}

std::optional<MenuItemLayout> walkMenuItemRecord(std::span<const uint8_t> data) {
    SpanReader r(data);
    MenuItemLayout layout;
    if (!r.skip(UnitRecordLayout::kName) || !skipZeroText(r))
        return std::nullopt;
    layout.secondText = r.position();
    if (!skipZeroText(r))
        return std::nullopt;
    layout.words = r.position();
    if (!r.skip(12) || !skipZeroText(r))
        return std::nullopt;
    layout.captionLength = r.position() - layout.caption();
    if (!r.skip(4))
        return std::nullopt;
    return layout;
}

std::optional<UnitRecord> decodeUnitRecord(std::span<const uint8_t> data) {
    auto layout = walkUnitRecord(data);
    if (!layout)
        return std::nullopt;
    // The walk has checked every length, so the reads below cannot fail.
    SpanReader r(data);
    UnitRecord u;
    readU32(r, u.typeTag);
    readU32(r, u.eventSource);
    for (auto& w : u.reserved)
        readU32(r, w);
    readZeroText(r, u.name);
    readZeroText(r, u.secondText);
    readU32(r, u.objectSlot);
    readI32(r, u.left);
    readI32(r, u.top);
    readI32(r, u.width);
    readI32(r, u.height);
    readU32(r, u.cursorSlot);
    readU32(r, u.parentId);
    r.skip(4);
    u.children.resize(layout->childTotal);
    for (auto& c : u.children)
        readU32(r, c);
    readCountedBytes(r, u.mousePointer);
    readZeroText(r, u.tag);
    readU32(r, u.reservedWord);
    readU32(r, u.stateFlags);
    readI32(r, u.tabOrder);
    r.skip(4);
    u.bindings.resize(layout->bindingTotal);
    for (auto& b : u.bindings) {
        readI32(r, b.event);
        readU32(r, b.procedure);
    }
    r.read(u.reservedTail.data(), u.reservedTail.size());
    u.propertyBlock.assign(data.begin() + layout->propertyBlock, data.end());
    return u;
}

std::vector<uint8_t> encodeUnitRecord(const UnitRecord& u) {
    ByteWriter w;
    w.u32(u.typeTag);
    w.u32(u.eventSource);
    for (auto word : u.reserved)
        w.u32(word);
    w.zeroText(u.name);
    w.zeroText(u.secondText);
    w.u32(u.objectSlot);
    w.i32(u.left);
    w.i32(u.top);
    w.i32(u.width);
    w.i32(u.height);
    w.u32(u.cursorSlot);
    w.u32(u.parentId);
    w.u32(static_cast<uint32_t>(u.children.size()));
    for (auto c : u.children)
        w.u32(c);
    w.countedBytes(u.mousePointer);
    w.zeroText(u.tag);
    w.u32(u.reservedWord);
    w.u32(u.stateFlags);
    w.i32(u.tabOrder);
    w.u32(static_cast<uint32_t>(u.bindings.size()));
    for (const auto& b : u.bindings) {
        w.i32(b.event);
        w.u32(b.procedure);
    }
    w.bytes(u.reservedTail);
    w.bytes(u.propertyBlock);
    return w.take();
}

std::optional<MenuItemRecord> decodeMenuItemRecord(std::span<const uint8_t> data) {
    auto layout = walkMenuItemRecord(data);
    if (!layout)
        return std::nullopt;
    SpanReader r(data);
    MenuItemRecord m;
    readU32(r, m.typeTag);
    readU32(r, m.eventSource);
    for (auto& w : m.reserved)
        readU32(r, w);
    readZeroText(r, m.name);
    readZeroText(r, m.secondText);
    for (auto& w : m.words)
        readU32(r, w);
    readU32(r, m.flags);
    readZeroText(r, m.caption);
    readU32(r, m.procedure);
    m.rest.assign(data.begin() + layout->procedure() + 4, data.end());
    return m;
}

MenuItemTail decodeMenuItemTail(std::span<const uint8_t> tail) {
    MenuItemTail t;
    if (!tail.empty())
        t.level = tail[0];
    if (tail.size() >= 5)
        t.shortcut = platform::loadLe32(tail.data() + 1);
    return t;
}

std::vector<uint8_t> encodeMenuItemTail(const MenuItemTail& tail) {
    std::vector<uint8_t> out(5);
    out[0] = tail.level;
    platform::storeLe32(out.data() + 1, tail.shortcut);
    return out;
}

std::vector<uint8_t> encodeMenuItemRecord(const MenuItemRecord& m) {
    ByteWriter w;
    w.u32(m.typeTag);
    w.u32(m.eventSource);
    for (auto word : m.reserved)
        w.u32(word);
    w.zeroText(m.name);
    w.zeroText(m.secondText);
    for (auto word : m.words)
        w.u32(word);
    w.u32(m.flags);
    w.zeroText(m.caption);
    w.u32(m.procedure);
    w.bytes(m.rest);
    return w.take();
}

} // namespace kelvarn::ui
