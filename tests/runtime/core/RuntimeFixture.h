#pragma once

#include "platform/files/Codepage.h"
#include "runtime/core/RuntimeApp.h"

#include <gtest/gtest.h>

#include <string>

namespace kelvarn::testing {
using namespace kelvarn::runtime;

// The runtime's state is process-wide; every test starts and ends with a fresh one.
class RuntimeTest : public ::testing::Test {
protected:
    void SetUp() override { runtimeApp().reset(); }
    void TearDown() override { runtimeApp().reset(); }
};

// Runtime text (GB18030) of a UTF-8 literal.
inline std::string gb(const char* utf8) {
    return platform::utf8ToGb(utf8);
}

} // namespace kelvarn::testing
