#include "runtime/core/Heap.h"
#include "runtime/core/RuntimeEntries.h"
#include "tests/runtime/core/RuntimeFixture.h"

#include <cstring>

namespace kelvarn::testing {
using namespace kelvarn::runtime;
namespace {

// A constants area of 16 bytes with a literal "xyz" at its very end (no room for a terminator
// inside the area: the byte after it belongs to whatever follows).
class HeapTest : public RuntimeTest {
protected:
    char m_memory[32] = {};
    char* m_area = m_memory + 8;

    void SetUp() override {
        RuntimeTest::SetUp();
        std::memcpy(m_area, "hello\0world\0\0xyz", 16);
        std::memset(m_area + 16, '#', 8);
        setConstantsArea(m_area, 16);
    }
};

TEST_F(HeapTest, ConstantRangeIsHalfOpen) {
    EXPECT_FALSE(isConstant(m_area - 1));
    EXPECT_TRUE(isConstant(m_area));
    EXPECT_TRUE(isConstant(m_area + 15));
    EXPECT_FALSE(isConstant(m_area + 16));
    EXPECT_FALSE(isConstant(nullptr));
    clearConstantsArea();
    EXPECT_FALSE(isConstant(m_area));
}

TEST_F(HeapTest, FreeingNullOrALiteralDoesNothing) {
    MemFree(nullptr);
    MemFree(m_area + 6); // "world": a heap free of this address would crash or be caught by ASan
    EXPECT_STREQ(m_area + 6, "world");
}

TEST_F(HeapTest, ReallocOfALiteralCopiesAndLeavesTheLiteral) {
    char* copy = static_cast<char*>(MemRealloc(m_area, 32));
    ASSERT_NE(copy, m_area);
    EXPECT_FALSE(isConstant(copy));
    EXPECT_STREQ(copy, "hello");
    std::strcpy(copy, "changed");
    EXPECT_STREQ(m_area, "hello");
    MemFree(copy);

    char* shorter = static_cast<char*>(MemRealloc(m_area, 3));
    EXPECT_EQ(std::memcmp(shorter, "hel", 3), 0);
    MemFree(shorter);
}

TEST_F(HeapTest, ReallocOfALiteralNearTheEndCopiesOnlyUpToTheEndOfTheArea) {
    char* literal = m_area + 13; // "xyz", the last three bytes of the area
    char* copy = static_cast<char*>(MemRealloc(literal, 8));
    EXPECT_EQ(std::memcmp(copy, "xyz", 3), 0);
    // Bytes 3 to 7 are whatever the heap left there, never the '#' bytes past the area.
    EXPECT_EQ(std::memchr(copy, '#', 8), nullptr);
    MemFree(copy);
}

TEST_F(HeapTest, ReallocOfNullAllocatesAndHeapBlocksKeepTheirContent) {
    char* block = static_cast<char*>(MemRealloc(nullptr, 16));
    ASSERT_NE(block, nullptr);
    std::memcpy(block, "0123456789abcdef", 16);
    block = static_cast<char*>(MemRealloc(block, 4096));
    EXPECT_EQ(std::memcmp(block, "0123456789abcdef", 16), 0);
    block = static_cast<char*>(MemRealloc(block, 4));
    EXPECT_EQ(std::memcmp(block, "0123", 4), 0);
    MemFree(block);
    void* empty = MemAlloc(0);
    EXPECT_NE(empty, nullptr) << "a zero-byte request is still a block";
    MemFree(empty);
}

TEST_F(HeapTest, UnshareConstantArrayCopiesOnlyConstantBlocks) {
    // A one-dimensional constant array of three 16-bit elements at the start of a fresh area.
    alignas(4) unsigned char area[16] = {1, 0, 0, 0, 3, 0, 0, 0, 10, 0, 20, 0, 30, 0, 0x55, 0x55};
    setConstantsArea(area, sizeof area);
    void* variable = area;
    UnshareConstantArray(2, &variable);
    ASSERT_NE(variable, static_cast<void*>(area));
    EXPECT_FALSE(isConstant(variable));
    EXPECT_EQ(std::memcmp(variable, area, 14), 0); // 4 + 4 x 1 + 3 x 2 bytes

    void* heapArray = variable;
    UnshareConstantArray(2, &variable);
    EXPECT_EQ(variable, heapArray) << "a heap block stays where it is";
    MemFree(variable);

    void* untouched = area;
    UnshareConstantArray(0, &untouched);
    EXPECT_EQ(untouched, static_cast<void*>(area));

    // Through the helper table, as a procedure calls it.
    intptr_t args[2] = {2, reinterpret_cast<intptr_t>(&untouched)};
    CallHelper(kHelperUnshareConstantArray, args, 2);
    EXPECT_NE(untouched, static_cast<void*>(area));
    MemFree(untouched);
}

} // namespace
} // namespace kelvarn::testing
