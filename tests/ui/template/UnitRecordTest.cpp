#include "ui/template/UnitRecord.h"
#include "platform/files/LittleEndian.h"
#include "tests/ui/template/TemplateSamples.h"
#include "ui/template/ByteWriter.h"

#include <gtest/gtest.h>

namespace kelvarn::testing {
using namespace kelvarn::ui;
namespace {

UnitRecord fullRecord() {
    UnitRecord u =
        sampleUnit(runtime::kTagGroupBox, "\xB7\xD6\xD7\xE9\xBF\xF2\x31", {9, 8, 7, 6, 5});
    u.eventSource = 0x16010005;
    u.reserved = {1, 2, 3, 4};
    u.secondText = "second";
    u.objectSlot = 0x11111111;
    u.left = -3;
    u.cursorSlot = 0x22222222;
    u.parentId = 0x16010003;
    u.children = {0x16010009, 0, 0x16010004};
    u.mousePointer = {3, 0, 0, 0, 0xAA, 0xBB};
    u.tag = "tagged";
    u.reservedWord = 0x33333333;
    u.stateFlags = kStateVisible | kStateTabStop;
    u.tabOrder = -7;
    u.bindings = {{0, 0x164}, {-3, 0xFFFFFFFF}};
    u.reservedTail[19] = 0x44;
    return u;
}

TEST(UnitRecord, WalksTheVariableLengthFields) {
    const UnitRecord u = fullRecord();
    const std::vector<uint8_t> data = encodeUnitRecord(u);
    auto layout = walkUnitRecord(data);
    ASSERT_TRUE(layout);

    // The object slot lies behind the two texts and their terminators.
    EXPECT_EQ(layout->objectSlot, 24 + (u.name.size() + 1) + (u.secondText.size() + 1));
    EXPECT_EQ(platform::loadLe32(data.data() + layout->objectSlot), 0x11111111u);
    EXPECT_EQ(static_cast<int32_t>(platform::loadLe32(data.data() + layout->left())), -3);
    EXPECT_EQ(platform::loadLe32(data.data() + layout->cursorSlot()), 0x22222222u);
    EXPECT_EQ(platform::loadLe32(data.data() + layout->parentId()), 0x16010003u);
    EXPECT_EQ(layout->childTotal, 3u);
    EXPECT_EQ(layout->mousePointer, layout->children() + 12);
    EXPECT_EQ(layout->tag, layout->mousePointer + 4 + 6);
    EXPECT_EQ(layout->tagLength, 7u);
    EXPECT_EQ(platform::loadLe32(data.data() + layout->stateFlags), kStateVisible | kStateTabStop);
    EXPECT_EQ(layout->bindingTotal, 2u);
    EXPECT_EQ(platform::loadLe32(data.data() + layout->bindings() + 4), 0x164u);
    // The property block starts 4 + 8·E + 20 bytes behind the event count.
    EXPECT_EQ(layout->propertyBlock, layout->eventCount() + 4 + 8 * 2 + 20);
    EXPECT_EQ(data.size() - layout->propertyBlock, 5u);
}

TEST(UnitRecord, DecodesWhatItEncodes) {
    const UnitRecord u = fullRecord();
    auto decoded = decodeUnitRecord(encodeUnitRecord(u));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, u);

    UnitRecord bare = sampleUnit(runtime::kTagListBox, "");
    auto decodedBare = decodeUnitRecord(encodeUnitRecord(bare));
    ASSERT_TRUE(decodedBare);
    EXPECT_EQ(*decodedBare, bare);
    EXPECT_TRUE(decodedBare->propertyBlock.empty());
}

TEST(UnitRecord, RefusesARecordThatEndsBeforeItsPropertyBlock) {
    const std::vector<uint8_t> data = encodeUnitRecord(fullRecord());
    const size_t blockStart = walkUnitRecord(data)->propertyBlock;
    for (size_t n = 0; n < blockStart; ++n)
        EXPECT_FALSE(walkUnitRecord(std::span(data.data(), n))) << "cut at " << n;
    EXPECT_TRUE(walkUnitRecord(std::span(data.data(), blockStart)));

    // Counts that promise more than the record holds.
    std::vector<uint8_t> hugeChildren = data;
    platform::storeLe32(hugeChildren.data() + walkUnitRecord(data)->childCount(), 0x40000001);
    EXPECT_FALSE(walkUnitRecord(hugeChildren));
    std::vector<uint8_t> hugeBindings = data;
    platform::storeLe32(hugeBindings.data() + walkUnitRecord(data)->eventCount(), 0x20000001);
    EXPECT_FALSE(walkUnitRecord(hugeBindings));
}

TEST(UnitRecord, MenuItemsCarryOneProcedureBehindTheirCaption) {
    MenuItemRecord m;
    m.typeTag = kTagMenuItem;
    m.name = "menu";
    m.words = {5, 6};
    m.flags = 4;
    m.caption = "&Open";
    m.procedure = 0x200;
    m.rest = {1, 2, 3};
    const std::vector<uint8_t> data = encodeMenuItemRecord(m);
    auto layout = walkMenuItemRecord(data);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->words, 24u + 5 + 1);
    EXPECT_EQ(platform::loadLe32(data.data() + layout->flags()), 4u);
    EXPECT_EQ(platform::loadLe32(data.data() + layout->procedure()), 0x200u);
    auto decoded = decodeMenuItemRecord(data);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, m);
    EXPECT_FALSE(walkMenuItemRecord(std::span(data.data(), layout->procedure() + 3)));
}

TEST(UnitRecord, AMenuItemTailMayStopAfterAnyOfItsFields) {
    const MenuItemTail full{2, 0x10000 | 'O'};
    const std::vector<uint8_t> bytes = encodeMenuItemTail(full);
    ASSERT_EQ(bytes, (std::vector<uint8_t>{2, 'O', 0, 1, 0}));
    const struct {
        size_t stored;
        MenuItemTail expected;
    } cases[] = {{0, {}}, {1, {2, 0}}, {4, {2, 0}}, {5, full}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(decodeMenuItemTail(std::span(bytes).first(c.stored)), c.expected);
    }
    // Bytes behind the tail are the record's own, kept and ignored.
    std::vector<uint8_t> longer = bytes;
    longer.push_back(9);
    EXPECT_EQ(decodeMenuItemTail(longer), full);
}

} // namespace
} // namespace kelvarn::testing
