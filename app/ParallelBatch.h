#pragma once
// Runs the conversions of one batch on worker threads while the caller walks its list in
// order. The caller hands over one item at a time; an item starts once fewer than `workers`
// items are under way and no item under way shares a key with it (a target or source path), so
// that two items that write the same file still run one after the other, in list order. With
// one worker and nothing to keep alive the work runs on the calling thread inside `start`,
// exactly as a plain loop would run it.
//
// Workers run only the given work. The caller's thread does everything else. Whenever a slice of
// time has passed since it last did, it calls the keep-alive function (so that its windows stay
// alive): while it waits for room or for the end, and at each item it hands over, however short
// the items are. Once that function answers false no further item starts.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kelvarn::app {

class ParallelBatch {
public:
    using Work = std::function<int32_t()>;
    // Called on the caller's thread while it waits; false asks that no further item start.
    using KeepAlive = std::function<bool()>;
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // How often the keep-alive function runs: often enough for the window system to see a
    // lively program, seldom enough to cost nothing next to the conversions.
    static constexpr std::chrono::milliseconds kKeepAliveSlice{15};

    // `clock` replaces the steady clock (tests drive the slices with it).
    explicit ParallelBatch(unsigned workers, KeepAlive keepAlive = {}, Clock clock = {});
    ~ParallelBatch();
    ParallelBatch(const ParallelBatch&) = delete;
    ParallelBatch& operator=(const ParallelBatch&) = delete;

    // Waits until an item with these keys could start now. False, at once and from then on,
    // when the keep-alive function has asked that nothing more start.
    bool waitForRoom(const std::vector<std::string>& keys);
    // Item `index` (0, 1, 2... in list order) with the paths it touches; false when it did not
    // start (see waitForRoom). After a waitForRoom that answered true it always starts.
    bool start(size_t index, std::vector<std::string> keys, Work work);
    // Waits for every started item; the results stand at their items' indexes. Items that
    // never started have no result (the vector may be shorter than the list).
    const std::vector<int32_t>& finish();

    unsigned workers() const { return m_workers; }

private:
    struct Job {
        size_t index = 0;
        std::vector<std::string> keys;
        Work work;
    };

    std::chrono::steady_clock::time_point now() const;
    // Calls the keep-alive function when a slice has passed since its last call.
    void keepAliveIfDue();
    void callKeepAlive();
    bool keyBusy(const std::vector<std::string>& keys) const;
    bool hasRoom(const std::vector<std::string>& keys) const;
    // Waits under the lock until `done` holds, keeping the caller alive meanwhile.
    template <typename Done> void waitKeepingAlive(std::unique_lock<std::mutex>& lock, Done done);
    void releaseKeys(const std::vector<std::string>& keys);
    void workerLoop();

    unsigned m_workers;
    KeepAlive m_keepAlive;
    Clock m_clock;
    // The first check is due at once: a request that came before the first item stops it.
    std::chrono::steady_clock::time_point m_lastKeepAlive{};
    bool m_keptAliveOnce = false;
    bool m_inline = false;  // the work runs on the caller's thread
    bool m_stopped = false; // caller's thread only
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Job> m_queue;
    // Keys of the items queued or running, once per item.
    std::vector<std::string> m_busyKeys;
    size_t m_underWay = 0;
    bool m_closing = false;
    std::vector<std::thread> m_threads;
    std::vector<int32_t> m_results;
};

// Workers for the converter's batch: the number of cores, or KELVARN_BATCH_WORKERS when that
// is set to a positive number (for measuring one worker against several).
unsigned batchWorkers();

} // namespace kelvarn::app
