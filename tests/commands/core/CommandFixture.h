#pragma once
// Calls commands through the command-call convention with the runtime's services linked, and
// owns the texts they return.

#include "commands/core/CoreLibrary.h"
#include "platform/files/Codepage.h"
#include "runtime/core/CommandCall.h"
#include "runtime/core/Heap.h"
#include "runtime/core/RuntimeApp.h"
#include "runtime/core/RuntimeServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelvarn::testing {
using namespace kelvarn::commands;

using namespace runtime;

inline std::string gb(const char* utf8) {
    return platform::utf8ToGb(utf8);
}

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        runtimeApp().reset();
        CoreLibraryNotify(kNotifyStartup, reinterpret_cast<intptr_t>(&RuntimeService), 0);
    }
    void TearDown() override {
        for (void* block : m_owned)
            MemFree(block);
        runtimeApp().reset();
    }

    ArgRecord call(CommandFunction command, std::vector<ArgRecord> args) {
        return CallCoreCommand(command, static_cast<int32_t>(args.size()), args.data());
    }
    // A text result: null stands for the empty text; the block is released by the fixture.
    std::string callText(CommandFunction command, std::vector<ArgRecord> args,
                         bool* wasNull = nullptr) {
        ArgRecord r = call(command, std::move(args));
        EXPECT_EQ(r.tag, 0u) << "a command writes only the data words";
        if (wasNull)
            *wasNull = r.address() == nullptr;
        if (!r.address())
            return {};
        m_owned.push_back(r.address());
        return r.text();
    }

    std::vector<void*> m_owned;
};

} // namespace kelvarn::testing
