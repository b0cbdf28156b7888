#include "app/ParallelBatch.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace kelvarn::app {

namespace {

constexpr unsigned kMostWorkers = 64;

} // namespace

ParallelBatch::ParallelBatch(unsigned workers, KeepAlive keepAlive, Clock clock)
    : m_workers(std::clamp(workers, 1u, kMostWorkers)), m_keepAlive(std::move(keepAlive)),
      m_clock(std::move(clock)), m_inline(m_workers == 1 && !m_keepAlive) {}

ParallelBatch::~ParallelBatch() {
    finish();
}

bool ParallelBatch::keyBusy(const std::vector<std::string>& keys) const {
    for (const std::string& key : keys)
        if (std::find(m_busyKeys.begin(), m_busyKeys.end(), key) != m_busyKeys.end())
            return true;
    return false;
}

void ParallelBatch::releaseKeys(const std::vector<std::string>& keys) {
    for (const std::string& key : keys) {
        const auto at = std::find(m_busyKeys.begin(), m_busyKeys.end(), key);
        if (at != m_busyKeys.end())
            m_busyKeys.erase(at);
    }
}

bool ParallelBatch::hasRoom(const std::vector<std::string>& keys) const {
    return m_underWay < m_workers && !keyBusy(keys);
}

std::chrono::steady_clock::time_point ParallelBatch::now() const {
    return m_clock ? m_clock() : std::chrono::steady_clock::now();
}

void ParallelBatch::callKeepAlive() {
    m_lastKeepAlive = now();
    m_keptAliveOnce = true;
    m_stopped = !m_keepAlive() || m_stopped;
}

void ParallelBatch::keepAliveIfDue() {
    if (m_keepAlive && (!m_keptAliveOnce || now() - m_lastKeepAlive >= kKeepAliveSlice))
        callKeepAlive();
}

// The wait is cut into pieces that end when the next keep-alive call is due, so the calls keep
// their rhythm across waits and the walk between them.
template <typename Done>
void ParallelBatch::waitKeepingAlive(std::unique_lock<std::mutex>& lock, Done done) {
    if (!m_keepAlive) {
        m_changed.wait(lock, done);
        return;
    }
    for (;;) {
        const auto due = m_lastKeepAlive + kKeepAliveSlice;
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(due - now());
        if (left.count() > 0 && m_changed.wait_for(lock, left, done))
            return;
        if (done())
            return;
        lock.unlock();
        callKeepAlive();
        lock.lock();
    }
}

bool ParallelBatch::waitForRoom(const std::vector<std::string>& keys) {
    if (m_inline || m_stopped)
        return !m_stopped;
    keepAliveIfDue();
    if (m_stopped)
        return false;
    {
        std::unique_lock lock(m_mutex);
        waitKeepingAlive(lock, [&] { return m_stopped || hasRoom(keys); });
    }
    // Workers may have used up the rest of the slice while this thread woke.
    keepAliveIfDue();
    return !m_stopped;
}

bool ParallelBatch::start(size_t index, std::vector<std::string> keys, Work work) {
    if (m_inline) {
        const int32_t result = work();
        if (m_results.size() <= index)
            m_results.resize(index + 1, 0);
        m_results[index] = result;
        return true;
    }
    if (m_stopped)
        return false;
    std::unique_lock lock(m_mutex);
    // Room that waitForRoom found is still there (only this thread starts items), and an item
    // that has room starts without another look at the keep-alive: the caller may have shown
    // it as started already.
    if (!hasRoom(keys)) {
        lock.unlock();
        if (!waitForRoom(keys))
            return false;
        lock.lock();
    }
    // Workers store into the results under the lock, so they only grow under it.
    if (m_results.size() <= index)
        m_results.resize(index + 1, 0);
    m_busyKeys.insert(m_busyKeys.end(), keys.begin(), keys.end());
    m_queue.push_back(Job{index, std::move(keys), std::move(work)});
    ++m_underWay;
    if (m_threads.size() < m_workers)
        m_threads.emplace_back([this] { workerLoop(); });
    lock.unlock();
    m_changed.notify_all();
    return true;
}

void ParallelBatch::workerLoop() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return !m_queue.empty() || m_closing; });
        if (m_queue.empty())
            return;
        Job job = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        const int32_t result = job.work();
        lock.lock();
        m_results[job.index] = result;
        releaseKeys(job.keys);
        --m_underWay;
        m_changed.notify_all();
    }
}

const std::vector<int32_t>& ParallelBatch::finish() {
    keepAliveIfDue();
    {
        std::unique_lock lock(m_mutex);
        waitKeepingAlive(lock, [&] { return m_underWay == 0; });
        m_closing = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
    m_threads.clear();
    std::lock_guard lock(m_mutex);
    m_closing = false;
    return m_results;
}

unsigned batchWorkers() {
    if (const char* text = std::getenv("KELVARN_BATCH_WORKERS")) {
        unsigned value = 0;
        const char* end = text + std::strlen(text);
        const auto [rest, error] = std::from_chars(text, end, value);
        if (error == std::errc() && rest == end && value > 0)
            return std::min(value, kMostWorkers);
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

} // namespace kelvarn::app
