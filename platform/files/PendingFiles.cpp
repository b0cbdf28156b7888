#include "platform/files/PendingFiles.h"

#include "platform/files/Path.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <string>
#include <unistd.h>

namespace kelvarn::platform {

namespace {

// One slot per conversion that may be writing at once (a worker each) with room to spare.
constexpr int kSlots = 64;
constexpr size_t kPathBytes = 4096;

enum SlotState : int { kFree, kFilling, kReady };

// Fixed storage: a signal handler can neither allocate nor take a lock. A slot's name is only
// read while its state says kReady.
struct Slot {
    std::atomic<int> state{kFree};
    char path[kPathBytes] = {};
};
static_assert(std::atomic<int>::is_always_lock_free);

// Constant-initialised: its pages are not touched before a name is registered.
constinit Slot g_slots[kSlots];

void onTermination(int signal) {
    removePendingFiles();
    // The handler was installed to run once (SA_RESETHAND): raised again, the signal takes its
    // default action as soon as the handler returns.
    ::raise(signal);
}

} // namespace

void PendingFile::registerName(std::string_view path) {
    release();
    const std::string native = toNativePath(path);
    if (native.empty() || native.size() >= kPathBytes)
        return;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!g_slots[i].state.compare_exchange_strong(expected, kFilling))
            continue;
        std::memcpy(g_slots[i].path, native.c_str(), native.size() + 1);
        g_slots[i].state.store(kReady, std::memory_order_release);
        m_slot = i;
        return;
    }
}

void PendingFile::release() {
    if (m_slot >= 0)
        g_slots[m_slot].state.store(kFree, std::memory_order_release);
    m_slot = -1;
}

void removePendingFiles() {
    for (Slot& slot : g_slots)
        if (slot.state.load(std::memory_order_acquire) == kReady)
            ::unlink(slot.path);
}

void removePendingFilesOnTermination() {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction old {};
        if (sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = onTermination;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        sigaction(signal, &action, nullptr);
    }
}

} // namespace kelvarn::platform
