#include "ui/template/UnitBuffer.h"
#include "platform/files/LittleEndian.h"
#include "tests/ui/template/TemplateSamples.h"
#include "ui/template/ByteWriter.h"

#include <gtest/gtest.h>

namespace kelvarn::ui::test {
namespace {

TEST(UnitBuffer, GivesIdsAndRecordsInStoredOrder) {
    auto records = sampleRecords(4);
    UnitBuffer buffer = UnitBuffer::fromRecords(records);
    ASSERT_EQ(buffer.count(), 4u);
    for (uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(buffer.idAt(i), records[i].id);
        auto data = buffer.recordData(i);
        EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.end()), records[i].data);
        EXPECT_EQ(buffer.recordLength(i), records[i].data.size());
    }
    // Offsets count from the end of the offset array.
    EXPECT_EQ(buffer.recordStart(0), 8u * 4);
    EXPECT_EQ(buffer.recordStart(1), 8u * 4 + 4 + records[0].data.size());
    EXPECT_EQ(buffer.idAt(4), 0u);
    EXPECT_TRUE(buffer.recordData(4).empty());
}

TEST(UnitBuffer, FindsByIdWithEntryZeroFirst) {
    auto records = sampleRecords(6);
    records[4].id = kWindowOwnRecordId; // a duplicate: the first match wins
    UnitBuffer buffer = UnitBuffer::fromRecords(records);
    EXPECT_EQ(buffer.findById(kWindowOwnRecordId), 0u);
    EXPECT_EQ(buffer.findById(records[5].id), 5u);
    EXPECT_EQ(buffer.findById(0x16999999), std::nullopt);
}

TEST(UnitBuffer, TellsMenuItemsByTheirId) {
    auto records = sampleRecords(3);
    records[2].id = 0x26010005;
    UnitBuffer buffer = UnitBuffer::fromRecords(records);
    EXPECT_FALSE(buffer.isMenuItem(0));
    EXPECT_FALSE(buffer.isMenuItem(1));
    EXPECT_TRUE(buffer.isMenuItem(2));
    EXPECT_FALSE(buffer.isMenuItem(3));
}

TEST(UnitBuffer, ReplacingInsideARecordMovesOnlyTheRecordsBehindIt) {
    auto records = sampleRecords(12);
    UnitBuffer buffer = UnitBuffer::fromRecords(records);
    const UnitBuffer before = buffer;
    auto layout = walkUnitRecord(buffer.recordData(3));
    ASSERT_TRUE(layout);
    ASSERT_EQ(layout->tagLength, 1u); // an empty tag: just its terminator

    // A 0-byte tag becomes a 5-byte tag.
    const std::vector<uint8_t> tag = {'h', 'e', 'l', 'l', 'o'};
    ASSERT_TRUE(buffer.replaceRange(3, layout->tag, 0, tag));

    for (uint32_t i = 0; i < 12; ++i) {
        size_t shift = i >= 4 ? 5 : 0;
        EXPECT_EQ(buffer.recordStart(i), before.recordStart(i) + shift) << "record " << i;
        if (i != 3) {
            std::span<const uint8_t> a = buffer.recordData(i), b = before.recordData(i);
            EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << "record " << i;
        }
    }
    EXPECT_EQ(buffer.recordLength(3), before.recordLength(3) + 5);
    auto decoded = decodeUnitRecord(buffer.recordData(3));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->tag, "hello");
    EXPECT_EQ(decoded->name, "b3");
    EXPECT_EQ(decoded->propertyBlock, std::vector<uint8_t>(3, 3));

    // Shrinking back restores every byte.
    ASSERT_TRUE(buffer.replaceRange(3, layout->tag, 5, {}));
    EXPECT_EQ(buffer.bytes(), before.bytes());
}

TEST(UnitBuffer, RefusesARangeOutsideTheRecord) {
    UnitBuffer buffer = UnitBuffer::fromRecords(sampleRecords(3));
    const auto before = buffer.bytes();
    const uint32_t length = buffer.recordLength(1);
    const std::vector<uint8_t> one = {1};
    EXPECT_FALSE(buffer.replaceRange(1, length, 1, one));
    EXPECT_FALSE(buffer.replaceRange(1, length + 1, 0, one));
    EXPECT_FALSE(buffer.replaceRange(1, 2, SIZE_MAX, one));
    EXPECT_FALSE(buffer.replaceRange(3, 0, 0, one));
    EXPECT_EQ(buffer.bytes(), before);
    EXPECT_TRUE(buffer.replaceRange(1, length, 0, one)); // appending at the very end is inside
}

TEST(UnitBuffer, CopiesAWholeBuffer) {
    UnitBuffer a = UnitBuffer::fromRecords(sampleRecords(5));
    UnitBuffer b = UnitBuffer::fromRecords(sampleRecords(2));
    b.copyFrom(a);
    EXPECT_EQ(b.count(), 5u);
    EXPECT_EQ(b.bytes(), a.bytes());
    // The copy is independent of its source.
    const std::vector<uint8_t> x = {'x'};
    ASSERT_TRUE(a.replaceRange(1, 0, 0, x));
    EXPECT_NE(b.bytes(), a.bytes());
}

TEST(UnitBuffer, AcceptsOnlyStoredFormsWhoseRecordsLieInside) {
    UnitBuffer good = UnitBuffer::fromRecords(sampleRecords(3));
    EXPECT_TRUE(UnitBuffer::fromBytes(3, good.bytes()));
    EXPECT_TRUE(UnitBuffer::fromBytes(0, {}));

    // More units than the id and offset arrays can hold.
    EXPECT_FALSE(UnitBuffer::fromBytes(0x20000000, good.bytes()));
    EXPECT_FALSE(UnitBuffer::fromBytes(4, good.bytes()));

    auto cut = good.bytes();
    cut.pop_back(); // the last record's length runs past the end
    EXPECT_FALSE(UnitBuffer::fromBytes(3, cut));

    auto farOffset = good.bytes();
    platform::storeLe32(farOffset.data() + 12 + 8, 0x7FFFFFF0); // record 2's offset
    EXPECT_FALSE(UnitBuffer::fromBytes(3, farOffset));

    auto overlapping = good.bytes();
    platform::storeLe32(overlapping.data() + 12 + 8,
                        platform::loadLe32(overlapping.data() + 12 + 4)); // record 2 = 1
    EXPECT_FALSE(UnitBuffer::fromBytes(3, overlapping));
}

} // namespace
} // namespace kelvarn::ui::test
