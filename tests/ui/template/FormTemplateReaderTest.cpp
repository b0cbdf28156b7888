#include "ui/template/FormTemplateReader.h"
#include "platform/files/LittleEndian.h"
#include "tests/ui/template/TemplateSamples.h"
#include "ui/template/ByteWriter.h"
#include "ui/template/FormTemplateWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kelvarn::ui::test {
namespace {

constexpr uint32_t kCodeBase = 0x00400000;

std::vector<WindowDescription> twoWindows() {
    WindowDescription first;
    first.id = 0x52010001;
    first.valueA = 0x002289E0;
    first.valueB = 0x1901000A;
    first.records = sampleRecords(3);
    WindowDescription second;
    second.id = 0x52010002;
    second.valueA = 7;
    second.textA = "text A";
    second.textB = "text B";
    second.records = sampleRecords(2);
    return {first, second};
}

TEST(FormTemplateReader, ReadsEveryWindowAndStopsAtTheLastByte) {
    const auto windows = twoWindows();
    const std::vector<uint8_t> bytes = writeFormTemplate(windows);
    TemplateReadResult result = readFormTemplate(bytes, kCodeBase);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.bytesRead, bytes.size());
    ASSERT_EQ(result.windows.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const WindowRecord& w = *result.windows[i];
        EXPECT_EQ(w.id, windows[i].id);
        EXPECT_EQ(w.valueA, windows[i].valueA);
        EXPECT_EQ(w.valueB, windows[i].valueB);
        EXPECT_EQ(w.textA, windows[i].textA);
        EXPECT_EQ(w.textB, windows[i].textB);
        EXPECT_EQ(w.units.bytes(), UnitBuffer::fromRecords(windows[i].records).bytes());
        EXPECT_EQ(w.snapshot.count(), 0u);
    }
}

TEST(FormTemplateReader, RelocatesEveryBindingAndMenuProcedure) {
    auto withBindings = sampleUnit(runtime::kTagButton, "b");
    withBindings.bindings = {{0, 0x164}, {-1, kUnboundProcedure}, {1, 0}};
    auto windowOwn = sampleUnit(runtime::kTagWindow, "");
    windowOwn.bindings = {{0, kUnboundProcedure}, {3, 0x10}};
    MenuItemRecord boundItem;
    boundItem.typeTag = kTagMenuItem;
    boundItem.caption = "a";
    boundItem.procedure = 0x20;
    MenuItemRecord unboundItem = boundItem;
    unboundItem.procedure = kUnboundProcedure;

    WindowDescription window;
    window.id = 0x52010001;
    window.records = {{kWindowOwnRecordId, encodeUnitRecord(windowOwn)},
                      {0x26010001, encodeMenuItemRecord(boundItem)},
                      {0x26010002, encodeMenuItemRecord(unboundItem)},
                      {0x16010002, encodeUnitRecord(withBindings)}};
    TemplateReadResult result = readFormTemplate(writeFormTemplate({window}), kCodeBase);
    ASSERT_TRUE(result.ok());
    const UnitBuffer& units = result.windows[0]->units;

    auto own = decodeUnitRecord(units.recordData(0));
    ASSERT_TRUE(own);
    EXPECT_EQ(own->bindings[0].procedure, 0u);
    EXPECT_EQ(own->bindings[1].procedure, kCodeBase + 0x10);
    EXPECT_EQ(decodeMenuItemRecord(units.recordData(1))->procedure, kCodeBase + 0x20);
    EXPECT_EQ(decodeMenuItemRecord(units.recordData(2))->procedure, 0u);
    auto button = decodeUnitRecord(units.recordData(3));
    ASSERT_TRUE(button);
    EXPECT_EQ(button->bindings[0].procedure, kCodeBase + 0x164);
    EXPECT_EQ(button->bindings[1].procedure, 0u);
    EXPECT_EQ(button->bindings[2].procedure, kCodeBase); // offset 0 is a real procedure
    EXPECT_EQ(button->bindings[2].event, 1);
    // Nothing but the procedure words changed.
    button->bindings = withBindings.bindings;
    EXPECT_EQ(*button, withBindings);
}

TEST(FormTemplateReader, ReadsThroughTheBufferBoundary) {
    auto windows = twoWindows();
    windows[0].textA.assign(5000, 'a'); // the first window runs past the 4096-byte buffer
    windows[1].records[1].data.resize(9000, 0x5A);
    const std::vector<uint8_t> bytes = writeFormTemplate(windows);
    TemplateReadResult result = readFormTemplate(bytes, kCodeBase);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.bytesRead, bytes.size());
    EXPECT_EQ(result.windows[0]->textA, windows[0].textA);
    EXPECT_EQ(result.windows[1]->textA, "text A");
    EXPECT_EQ(result.windows[1]->units.recordLength(1), windows[1].records[1].data.size());
}

TEST(FormTemplateReader, CountsWindowsByWholeEightByteEntries) {
    ByteWriter empty;
    empty.u32(0);
    TemplateReadResult none = readFormTemplate(empty.data(), kCodeBase);
    ASSERT_TRUE(none.ok());
    EXPECT_TRUE(none.windows.empty());

    // A 7-byte table holds no window; a 12-byte table holds one.
    ByteWriter short7;
    short7.countedBytes(std::vector<uint8_t>(7, 0));
    EXPECT_TRUE(readFormTemplate(short7.data(), kCodeBase).windows.empty());
    EXPECT_TRUE(readFormTemplate(short7.data(), kCodeBase).ok());

    WindowDescription w;
    w.id = 0x52010003;
    w.records = sampleRecords(1);
    std::vector<uint8_t> one = writeFormTemplate({w});
    platform::storeLe32(one.data(), 12);
    one.insert(one.begin() + 4 + 8, {0, 0, 0, 0});
    TemplateReadResult read = readFormTemplate(one, kCodeBase);
    ASSERT_TRUE(read.ok());
    ASSERT_EQ(read.windows.size(), 1u);
    EXPECT_EQ(read.windows[0]->id, 0x52010003u);
}

TEST(FormTemplateReader, FailsOnEveryCutOfAValidTemplate) {
    const std::vector<uint8_t> bytes = writeFormTemplate(twoWindows());
    for (size_t n = 0; n < bytes.size(); ++n) {
        TemplateReadResult result = readFormTemplate(std::span(bytes.data(), n), kCodeBase);
        ASSERT_FALSE(result.ok()) << "cut at " << n;
        EXPECT_TRUE(result.error == TemplateError::EarlyEnd ||
                    result.error == TemplateError::CountedFieldPastEnd);
        EXPECT_TRUE(result.windows.empty());
    }
}

TEST(FormTemplateReader, NamesWhatWasWrong) {
    WindowDescription w;
    w.id = 0x52010001;
    w.records = sampleRecords(2);
    const std::vector<uint8_t> good = writeFormTemplate({w});
    // Stream: table (4 + 8), value A, value B, text A (4), text B (4), unit count, buffer.
    const size_t unitCountAt = 12 + 8 + 8;

    std::vector<uint8_t> pastEnd = good;
    platform::storeLe32(pastEnd.data() + unitCountAt + 4, 0x7FFFFFFF);
    EXPECT_EQ(readFormTemplate(pastEnd, kCodeBase).error, TemplateError::CountedFieldPastEnd);

    std::vector<uint8_t> tooManyUnits = good;
    platform::storeLe32(tooManyUnits.data() + unitCountAt, 1000);
    EXPECT_EQ(readFormTemplate(tooManyUnits, kCodeBase).error, TemplateError::MalformedUnitBuffer);

    // A record too short to hold its bindings.
    WindowDescription shortRecord = w;
    shortRecord.records[1].data.resize(30);
    EXPECT_EQ(readFormTemplate(writeFormTemplate({shortRecord}), kCodeBase).error,
              TemplateError::MalformedRecord);

    // A negative count reads as empty.
    std::vector<uint8_t> negativeText = good;
    platform::storeLe32(negativeText.data() + 12 + 8, 0xFFFFFFF0);
    TemplateReadResult read = readFormTemplate(negativeText, kCodeBase);
    ASSERT_TRUE(read.ok());
    EXPECT_TRUE(read.windows[0]->textA.empty());
}

TEST(FormTemplateReader, LeavesTrailingBytesUnread) {
    WindowDescription w;
    w.id = 0x52010001;
    w.records = sampleRecords(2);
    std::vector<uint8_t> bytes = writeFormTemplate({w});
    const size_t length = bytes.size();
    bytes.resize(length + 3, 0xEE);
    TemplateReadResult result = readFormTemplate(bytes, kCodeBase);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.bytesRead, length);
}

TEST(LoadFormTemplate, AppendsBehindTheWindowsAlreadyThere) {
    WindowTable table;
    auto earlier = std::make_unique<WindowRecord>();
    earlier->id = 0x52010009;
    table.append(std::move(earlier));
    const std::vector<uint8_t> bytes = writeFormTemplate(twoWindows());
    LoadFormTemplate(bytes.data(), static_cast<uint32_t>(bytes.size()), kCodeBase, table);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table.at(0).id, 0x52010009u);
    EXPECT_EQ(table.at(1).id, 0x52010001u);
    EXPECT_EQ(table.at(2).id, 0x52010002u);
    EXPECT_EQ(table.find(0x52010002)->textB, "text B");
}

TEST(LoadFormTemplateDeathTest, EndsTheProgramOnATemplateItCannotRead) {
    const std::vector<uint8_t> bytes = writeFormTemplate(twoWindows());
    WindowTable table;
    EXPECT_EXIT(
        LoadFormTemplate(bytes.data(), static_cast<uint32_t>(bytes.size() - 1), kCodeBase, table),
        ::testing::ExitedWithCode(255), ::testing::HasSubstr("载入窗口模板数据段出错!"));
}

TEST(WindowTable, FindsTheFirstRecordOfAnIdAndKeepsOrder) {
    WindowTable table;
    for (uint32_t id : {0x52010001u, 0x52010002u, 0x52010001u}) {
        auto record = std::make_unique<WindowRecord>();
        record->id = id;
        record->valueA = static_cast<uint32_t>(table.size());
        table.append(std::move(record));
    }
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table.find(0x52010001)->valueA, 0u);
    EXPECT_EQ(table.find(0x52010002)->valueA, 1u);
    EXPECT_EQ(table.find(0x52019999), nullptr);
    EXPECT_EQ(table.at(2).id, 0x52010001u);
}

} // namespace
} // namespace kelvarn::ui::test
