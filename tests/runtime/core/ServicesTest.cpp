#include "runtime/core/ArgRecord.h"
#include "runtime/core/Heap.h"
#include "runtime/core/RuntimeEntries.h"
#include "runtime/core/RuntimeServices.h"
#include "tests/runtime/core/RuntimeFixture.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace kelvarn::testing {
using namespace kelvarn::runtime;
namespace {

using ServicesTest = RuntimeTest;

intptr_t integerOf(ArgRecord record) {
    return RuntimeService(kServiceIntegerValue, reinterpret_cast<intptr_t>(&record), 0);
}

TEST_F(ServicesTest, IntegerValueConvertsEveryNumericType) {
    EXPECT_EQ(integerOf(makeByte(200)), 200);             // zero-extended
    EXPECT_EQ(integerOf({0xFFFFFF80, 0, kTagByte}), 128); // only the low byte counts
    EXPECT_EQ(integerOf(makeShort(-3)), -3);              // sign-extended
    EXPECT_EQ(integerOf({0x0001FFFF, 0, kTagShort}), -1); // only the low half counts
    EXPECT_EQ(integerOf(makeInteger(-123456)), -123456);
    EXPECT_EQ(integerOf(makeLong(0x100000005LL)), 5); // low half
    EXPECT_EQ(integerOf(makeLong(-2)), -2);
    EXPECT_EQ(integerOf(makeSingle(-2.75f)), -2); // toward zero
    EXPECT_EQ(integerOf(makeDouble(2.999)), 2);
    EXPECT_EQ(integerOf(makeDouble(-0.5)), 0);
    EXPECT_EQ(integerOf(makeDouble(2147483647.9)), 2147483647);
}

TEST_F(ServicesTest, IntegerValueOfUnrepresentableFloatsIsTheIndefiniteInteger) {
    EXPECT_EQ(integerOf(makeDouble(3e9)), INT32_MIN);
    EXPECT_EQ(integerOf(makeDouble(-3e9)), INT32_MIN);
    EXPECT_EQ(integerOf(makeDouble(std::numeric_limits<double>::quiet_NaN())), INT32_MIN);
    EXPECT_EQ(integerOf(makeSingle(std::numeric_limits<float>::infinity())), INT32_MIN);
}

TEST_F(ServicesTest, MemoryServicesUseTheRuntimeHeap) {
    static const char area[] = "literal";
    setConstantsArea(area, sizeof area);

    auto* block = reinterpret_cast<char*>(RuntimeService(kServiceAllocate, 8, 0));
    ASSERT_NE(block, nullptr);
    std::memcpy(block, "1234567", 8);
    block = reinterpret_cast<char*>(
        RuntimeService(kServiceReallocate, reinterpret_cast<intptr_t>(block), 64));
    EXPECT_STREQ(block, "1234567");
    RuntimeService(kServiceFree, reinterpret_cast<intptr_t>(block), 0);

    // Freeing a literal through the service is as harmless as through MemFree.
    RuntimeService(kServiceFree, reinterpret_cast<intptr_t>(area), 0);
    EXPECT_STREQ(area, "literal");

    // With a non-zero flag a refusal is a null block, not a runtime error.
    EXPECT_EQ(RuntimeService(kServiceAllocate, -1, 1), 0);
    intptr_t raw = RuntimeService(kServiceAllocate, 16, 1);
    EXPECT_NE(raw, 0);
    MemFree(reinterpret_cast<void*>(raw));
}

intptr_t answerSeven(int32_t, intptr_t p1, intptr_t p2) {
    return 7 + p1 + p2;
}

TEST_F(ServicesTest, UnknownCodesYieldZeroAndSubsystemsRegisterTheirs) {
    EXPECT_EQ(RuntimeService(kServiceProgramDirectory, 0, 0), 0);
    EXPECT_EQ(RuntimeService(999, 1, 2), 0);
    EXPECT_EQ(RuntimeService(5000, 1, 2), 0);

    ASSERT_TRUE(registerRuntimeService(kServiceProgramDirectory, &answerSeven));
    EXPECT_EQ(RuntimeService(kServiceProgramDirectory, 1, 2), 10);
    ASSERT_TRUE(registerRuntimeService(1014, &answerSeven));
    EXPECT_EQ(RuntimeService(1014, 0, 0), 7);
    EXPECT_FALSE(registerRuntimeService(2041, &answerSeven));
    EXPECT_FALSE(registerRuntimeService(999, &answerSeven));

    registerRuntimeService(kServiceProgramDirectory, nullptr);
    registerRuntimeService(1014, nullptr);
    EXPECT_EQ(RuntimeService(kServiceProgramDirectory, 1, 2), 0);
}

// Libraries that log what they are told.
std::vector<std::string> g_log;
ServiceLink g_coreLink;

intptr_t coreNotify(int32_t code, intptr_t p1, intptr_t p2) {
    g_log.push_back("core " + std::to_string(code) + " " + std::to_string(p2));
    if (code == kNotifyStartup)
        g_coreLink.store(reinterpret_cast<ServiceCallback>(p1));
    return code == kNotifyStartup || code == kNotifyShutdown ? 0 : -1;
}

intptr_t imageNotify(int32_t code, intptr_t p1, intptr_t) {
    g_log.push_back("image " + std::to_string(code) + " " + std::to_string(p1 == 0 ? 0 : 1));
    return 0;
}

class LibraryTableTest : public RuntimeTest {
protected:
    LibraryRecord m_core, m_shell, m_image;
    const LibraryRecord* m_table[3] = {&m_core, &m_shell, &m_image};
    ProgramHeader m_header;

    void SetUp() override {
        RuntimeTest::SetUp();
        g_log.clear();
        g_coreLink.store(nullptr);
        m_core.notify = &coreNotify;
        m_image.notify = &imageNotify; // the shell library here has no notify function
        m_header.buildKind = 3;
        m_header.highestIdentifier = 0x00010069;
        m_header.libraryCount = 3;
        m_header.libraries = m_table;
    }
};

TEST_F(LibraryTableTest, InstallingTakesTheHeaderWords) {
    static const char constants[0x42] = {};
    m_header.constantsStart = constants;
    m_header.constantsLength = sizeof constants;
    runtimeApp().installProgram(m_header);
    EXPECT_EQ(runtimeApp().buildKind(), 3);
    EXPECT_EQ(runtimeApp().takeNextIdentifier(), 0x0001006A);
    EXPECT_EQ(runtimeApp().takeNextIdentifier(), 0x0001006B);
    EXPECT_TRUE(isConstant(constants + 0x41));
    EXPECT_FALSE(isConstant(constants + 0x42));
}

TEST_F(LibraryTableTest, LibrariesAreNotifiedInTableOrderAtStartAndStopOnce) {
    runtimeApp().installProgram(m_header);
    runtimeApp().startLibraries();
    EXPECT_EQ(g_log, (std::vector<std::string>{"core 1 0", "image 1 1"}));
    ASSERT_EQ(runtimeApp().libraries().size(), 3u);
    EXPECT_EQ(runtimeApp().perLibraryValue(2), 0);

    // The core library kept the callback and reaches the runtime heap through it.
    auto* block = reinterpret_cast<void*>(g_coreLink(kServiceAllocate, 4, 0));
    EXPECT_NE(block, nullptr);
    g_coreLink(kServiceFree, reinterpret_cast<intptr_t>(block));

    g_log.clear();
    runtimeApp().stopLibraries();
    runtimeApp().stopLibraries();
    EXPECT_EQ(g_log, (std::vector<std::string>{"core 6 0", "image 6 0"}));
    EXPECT_TRUE(runtimeApp().libraries().empty());
}

void firstExit() {
    g_log.push_back("first");
}
void secondExit() {
    g_log.push_back("second");
}

TEST_F(LibraryTableTest, ExitProceduresRunOnceInRegistrationOrder) {
    intptr_t first = reinterpret_cast<intptr_t>(&firstExit);
    CallHelper(kHelperRegisterExitProcedure, &first, 1);
    RegisterExitProcedure(&secondExit);
    CallHelper(kHelperRegisterExitProcedure, &first, 1);
    EXPECT_EQ(runtimeApp().exitProcedureCount(), 2u);
    runtimeApp().runExitProcedures();
    runtimeApp().runExitProcedures();
    EXPECT_EQ(g_log, (std::vector<std::string>{"first", "second"}));
}

TEST_F(LibraryTableTest, ShutdownRunsExitProceduresNotifiesAndForgetsTheConstants) {
    static const char constants[4] = "abc";
    m_header.constantsStart = constants;
    m_header.constantsLength = 4;
    runtimeApp().installProgram(m_header);
    runtimeApp().startLibraries();
    RegisterExitProcedure(&firstExit);
    g_log.clear();

    runtimeApp().shutdown(0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"first", "core 6 0", "image 6 0"}));
    EXPECT_TRUE(runtimeApp().shutdownStarted());
    EXPECT_TRUE(runtimeApp().eventsSuppressed());
    EXPECT_FALSE(isConstant(constants));

    g_log.clear();
    runtimeApp().shutdown(0); // a second shutdown finds everything emptied
    EXPECT_TRUE(g_log.empty());
}

TEST_F(LibraryTableTest, EndProgramEndsTheProcessWithItsCodeAfterTheShutdown) {
    runtimeApp().installProgram(m_header);
    runtimeApp().startLibraries();
    RegisterExitProcedure(+[] { std::fputs("exit procedure\n", stderr); });
    EXPECT_EXIT(EndProgram(3), ::testing::ExitedWithCode(3), "^exit procedure\n$");
}

} // namespace
} // namespace kelvarn::testing
