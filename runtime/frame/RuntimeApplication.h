#pragma once
// The runtime's one application object on the application framework. Its state lives in
// runtimeApp(); this object adds the framework's side: InitInstance runs the program's entry
// procedure, ExitInstance the shutdown, OnIdle the idle work and the windows' idle event,
// PreTranslateMessage the walk from a message's window up through its parents.
//
// The process has one static instance (ProcessMain.cpp); tests make their own.

#include "runtime/frame/AppFramework.h"

#include <cstdint>
#include <vector>

namespace kelvarn::runtime {

class RuntimeApplication final : public AppFramework {
public:
    // Installs the runtime frame's entries, helpers and services.
    RuntimeApplication();

    // Stores the module directory, then runs the registered program's entry procedure and
    // answers whether it returned non-zero (it returns 0 once the loop has ended).
    bool InitInstance() override;
    // The shutdown with exit code 0, then the framework's exit step.
    int32_t ExitInstance() override;
    // Count 0 starts an idle period; the framework's idle work comes first; from count 2 on,
    // every open window that has not declined gets its idle event.
    bool OnIdle(int32_t count) override;
    bool PreTranslateMessage(platform::Message& message) override;

private:
    uint32_t m_idleStart = 0;
    bool m_frameworkIdlePending = false;
    std::vector<uint32_t> m_declinedIdle; // window ids
};

} // namespace kelvarn::runtime
