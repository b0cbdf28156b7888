#pragma once
// Runs the conversions of one batch on worker threads while the caller walks its list in
// order. The caller hands over one item at a time; `start` returns once the item's work has
// been given to a worker, which happens when fewer than `workers` items are under way and no
// item under way shares a key with it (a target or source path), so that two items that write
// the same file still run one after the other, in list order. With one worker the work runs on
// the calling thread inside `start`, exactly as a plain loop would run it.
//
// Workers run only the given work; the caller's thread does everything else, and processes no
// window message while it waits.

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

    explicit ParallelBatch(unsigned workers);
    ~ParallelBatch();
    ParallelBatch(const ParallelBatch&) = delete;
    ParallelBatch& operator=(const ParallelBatch&) = delete;

    // Item `index` (0, 1, 2... in list order) with the paths it touches.
    void start(size_t index, std::vector<std::string> keys, Work work);
    // Waits for every started item; the results stand at their items' indexes.
    const std::vector<int32_t>& finish();

    unsigned workers() const { return m_workers; }

private:
    struct Job {
        size_t index = 0;
        std::vector<std::string> keys;
        Work work;
    };

    bool keyBusy(const std::vector<std::string>& keys) const;
    void releaseKeys(const std::vector<std::string>& keys);
    void workerLoop();

    unsigned m_workers;
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
