#include "runtime/core/CommandCall.h"
#include "runtime/core/Heap.h"
#include "runtime/core/Program.h"
#include "runtime/core/RuntimeEntries.h"
#include "tests/runtime/core/RuntimeFixture.h"

#include <cstddef>

namespace kelvarn::testing {
using namespace kelvarn::runtime;
namespace {

TEST(ArgRecordTest, LayoutIsLowHighTag) {
    static_assert(offsetof(ArgRecord, low) == 0);
    static_assert(offsetof(ArgRecord, high) == 4);
    static_assert(offsetof(ArgRecord, tag) == 8);
    ArgRecord records[3] = {makeInteger(1), ArgRecord{}, makeInteger(3)};
    // Contiguous: argument n + 1 lies 12 bytes after argument n.
    EXPECT_EQ(reinterpret_cast<char*>(&records[2]) - reinterpret_cast<char*>(&records[0]), 24);
    EXPECT_FALSE(records[1].isPresent());
}

TEST(ArgRecordTest, EncodingsFollowTheTagTable) {
    ArgRecord b = makeByte(0xFE);
    EXPECT_EQ(b.low, 0xFEu);
    EXPECT_EQ(b.tag, kTagByte);

    ArgRecord s = makeShort(-2);
    EXPECT_EQ(s.low, 0xFFFEu); // the low half only
    EXPECT_EQ(s.shortValue(), -2);

    ArgRecord i = makeInteger(-5);
    EXPECT_EQ(i.low, 0xFFFFFFFBu);
    EXPECT_EQ(i.high, 0u);

    ArgRecord l = makeLong(-0x123456789LL);
    EXPECT_EQ(l.longInteger(), -0x123456789LL);
    EXPECT_EQ(l.high, 0xFFFFFFFEu);

    ArgRecord f = makeSingle(1.5f);
    EXPECT_EQ(f.low, 0x3FC00000u);
    EXPECT_EQ(f.high, 0u);

    ArgRecord d = makeDouble(1.5);
    EXPECT_EQ(d.low, 0u);
    EXPECT_EQ(d.high, 0x3FF80000u);
    EXPECT_EQ(makeDateTime(2.0).tag, kTagDateTime);

    EXPECT_EQ(makeLogical(true).low, 1u);
    EXPECT_EQ(makeLogical(false).low, 0u);
}

TEST(ArgRecordTest, AddressesFillBothDataWords) {
    static const char text[] = "abc";
    ArgRecord t = makeText(text);
    auto bits = reinterpret_cast<uint64_t>(text);
    EXPECT_EQ(t.low, static_cast<uint32_t>(bits));
    EXPECT_EQ(t.high, static_cast<uint32_t>(bits >> 32));
    EXPECT_EQ(t.text(), text);
    EXPECT_EQ(makeText(nullptr).low | makeText(nullptr).high, 0u);

    ArgRecord unit = makeUnitReference(0x52010001, 0x16010006, kTagEditBox);
    EXPECT_EQ(unit.windowId(), 0x52010001u);
    EXPECT_EQ(unit.unitId(), 0x16010006u);
    EXPECT_EQ(unit.tag, 0x00010005u);
}

TEST(TypeTagTest, ClassesByTopTwoBits) {
    EXPECT_EQ(classifyTag(0), TagClass::None);
    EXPECT_EQ(classifyTag(kTagText), TagClass::System);
    EXPECT_EQ(classifyTag(0xBFFFFFFF), TagClass::System);
    EXPECT_EQ(classifyTag(0x40000001), TagClass::Program);
    EXPECT_EQ(classifyTag(0x7FFFFFFF), TagClass::Program);
    EXPECT_EQ(classifyTag(kTagListBox), TagClass::Library);
    EXPECT_EQ(classifyTag(0xC0000001), TagClass::Library);
    EXPECT_EQ(tagLibraryNumber(kTagListBox), 1u);
    EXPECT_EQ(tagTypeNumber(kTagListBox), 15u);
    EXPECT_EQ(makeLibraryTag(3, 2), 0x00030002u);
}

TEST(TypeTagTest, ArrayBitKeepsTheElementClass) {
    EXPECT_TRUE(isArrayTag(kTagInteger | kTagArrayBit));
    EXPECT_EQ(classifyTag(kTagInteger | kTagArrayBit), TagClass::System);
    EXPECT_EQ(classifyTag(0x40000001 | kTagArrayBit), TagClass::Program);
    EXPECT_EQ(classifyTag(kTagWindow | kTagArrayBit), TagClass::Library);
    EXPECT_EQ(elementTag(kTagWindow | kTagArrayBit), kTagWindow);
    EXPECT_FALSE(isArrayTag(kTagWindow));
}

class DataTypeTest : public RuntimeTest {
protected:
    DataTypeEntry m_coreTypes[15] = {};
    LibraryRecord m_core;
    LibraryRecord m_shell;
    const LibraryRecord* m_table[2] = {&m_core, &m_shell};

    void SetUp() override {
        RuntimeTest::SetUp();
        m_coreTypes[0].name = "window";
        m_coreTypes[14].name = "ListBox";
        m_core.dataTypeCount = 15;
        m_core.dataTypes = m_coreTypes;
    }
};

TEST_F(DataTypeTest, LibraryTagsResolveByLibraryAndTypeNumber) {
    LibraryTable table(m_table);
    EXPECT_EQ(resolveDataType(table, kTagWindow), &m_coreTypes[0]);
    EXPECT_EQ(resolveDataType(table, kTagListBox), &m_coreTypes[14]);
    EXPECT_STREQ(resolveDataType(table, kTagListBox)->name, "ListBox");
}

TEST_F(DataTypeTest, OutOfRangeAndNonLibraryTagsResolveToNothing) {
    LibraryTable table(m_table);
    EXPECT_EQ(resolveDataType(table, makeLibraryTag(1, 0)), nullptr);
    EXPECT_EQ(resolveDataType(table, makeLibraryTag(1, 16)), nullptr);
    EXPECT_EQ(resolveDataType(table, makeLibraryTag(2, 1)), nullptr); // no types
    EXPECT_EQ(resolveDataType(table, makeLibraryTag(3, 1)), nullptr); // no library 3
    EXPECT_EQ(resolveDataType(table, makeLibraryTag(0, 1)), nullptr);
    EXPECT_EQ(resolveDataType(table, kTagInteger), nullptr);
    EXPECT_EQ(resolveDataType(table, 0x40010001), nullptr);
    EXPECT_EQ(resolveDataType(table, kTagWindow | kTagArrayBit), nullptr);
    EXPECT_EQ(resolveDataType({}, kTagWindow), nullptr);
}

TEST_F(DataTypeTest, TheRuntimeResolvesThroughItsStartedLibraries) {
    ProgramHeader header;
    header.libraryCount = 2;
    header.libraries = m_table;
    runtimeApp().installProgram(header);
    EXPECT_EQ(runtimeApp().dataTypeEntry(kTagListBox), nullptr); // not started yet
    runtimeApp().startLibraries();
    EXPECT_EQ(runtimeApp().dataTypeEntry(kTagListBox), &m_coreTypes[14]);
    runtimeApp().stopLibraries();
    EXPECT_EQ(runtimeApp().dataTypeEntry(kTagListBox), nullptr);
}

// A command that checks it was handed a zero-filled result and reports what it received.
void echoCommand(ArgRecord* result, int32_t argCount, ArgRecord* args) {
    if (result->low != 0 || result->high != 0 || result->tag != 0)
        return;
    result->low = static_cast<uint32_t>(argCount);
    result->high = args[1].isPresent() ? 1 : 0;
    result->tag = kTagInteger;
}

void silentCommand(ArgRecord*, int32_t, ArgRecord*) {}

TEST(CommandCallTest, ResultIsZeroFilledAndHandedBack) {
    ArgRecord args[2] = {makeInteger(7), ArgRecord{}}; // an omitted optional argument counts
    ArgRecord r = CallCoreCommand(&echoCommand, 2, args);
    EXPECT_EQ(r.low, 2u);
    EXPECT_EQ(r.high, 0u);
    EXPECT_EQ(r.tag, kTagInteger);

    ArgRecord viaLibrary = CallLibraryCommand(2, &echoCommand, 2, args);
    EXPECT_EQ(viaLibrary.low, 2u);
    EXPECT_EQ(viaLibrary.tag, kTagInteger);
}

TEST(CommandCallTest, ACommandThatReturnsNothingLeavesThreeZeros) {
    ArgRecord r = CallCoreCommand(&silentCommand, 0, nullptr);
    EXPECT_EQ(r.low, 0u);
    EXPECT_EQ(r.high, 0u);
    EXPECT_EQ(r.tag, 0u);
    EXPECT_EQ(r.text(), nullptr);
}

} // namespace
} // namespace kelvarn::testing

namespace kelvarn::testing {
using namespace kelvarn::runtime;
namespace {

intptr_t sumHelper(const intptr_t* args, int32_t argCount) {
    intptr_t sum = 0;
    for (int32_t i = 0; i < argCount; ++i)
        sum += args[i];
    return sum;
}

TEST(RuntimeHelpersTest, UnwiredHelpersEndTheProcessAndWiredOnesAreCalled) {
    EXPECT_DEATH(CallHelper(kHelperFindFile, nullptr, 0), "runtime helper 0 is not available");
    EXPECT_DEATH(CallHelper(kRuntimeHelperCount, nullptr, 0), "runtime helper 7 is not available");
    setRuntimeHelper(kHelperFindFile, &sumHelper);
    const intptr_t args[3] = {1, 2, 39};
    EXPECT_EQ(CallHelper(kHelperFindFile, args, 3), 42);
    setRuntimeHelper(kHelperFindFile, nullptr);
    EXPECT_EQ(runtimeHelper(kHelperFindFile), nullptr);
}

} // namespace
} // namespace kelvarn::testing
