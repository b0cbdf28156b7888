// The batch runner under the converter's list loop: results by list position, at most one item
// a worker under way, items that share a path one after the other in list order, and one
// worker meaning the plain loop on the caller's thread unless the caller must be kept alive.

#include "app/ParallelBatch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kelvarn::testing {
namespace {

using kelvarn::app::batchWorkers;
using kelvarn::app::ParallelBatch;
using ::testing::ElementsAre;
using namespace std::chrono_literals;

// Counts the items under way at once and the most there ever were.
struct Overlap {
    std::atomic<int> now{0};
    std::atomic<int> most{0};
    void enter() {
        const int n = ++now;
        int seen = most.load();
        while (n > seen && !most.compare_exchange_weak(seen, n)) {
        }
    }
    void leave() { --now; }
};

TEST(ParallelBatchTest, ResultsStandAtTheirItemsAndNoMoreItemsRunThanWorkers) {
    for (unsigned workers : {2u, 3u}) {
        ParallelBatch batch(workers);
        Overlap overlap;
        std::atomic<int> runs{0};
        for (size_t i = 0; i < 24; ++i)
            batch.start(i, {"target" + std::to_string(i)}, [&, i] {
                overlap.enter();
                ++runs;
                // Later items finish first now and then: results must not follow finishing order.
                std::this_thread::sleep_for(std::chrono::milliseconds((24 - i) % 5));
                overlap.leave();
                return static_cast<int32_t>(i * 10 + 1);
            });
        const std::vector<int32_t>& results = batch.finish();
        ASSERT_EQ(results.size(), 24u);
        for (size_t i = 0; i < 24; ++i)
            EXPECT_EQ(results[i], static_cast<int32_t>(i * 10 + 1)) << i;
        EXPECT_EQ(runs.load(), 24);
        EXPECT_LE(overlap.most.load(), static_cast<int>(workers));
    }
}

TEST(ParallelBatchTest, TwoWorkersRunTwoItemsAtOnce) {
    ParallelBatch batch(2);
    std::atomic<bool> secondStarted{false};
    bool firstSawSecond = false;
    batch.start(0, {"a"}, [&] {
        // The first item waits for the second: with one item at a time this would time out.
        const auto giveUp = std::chrono::steady_clock::now() + 10s;
        while (!secondStarted && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(1ms);
        firstSawSecond = secondStarted;
        return 1;
    });
    batch.start(1, {"b"}, [&] {
        secondStarted = true;
        return 1;
    });
    batch.finish();
    EXPECT_TRUE(firstSawSecond);
}

TEST(ParallelBatchTest, ItemsSharingAPathRunOneAfterTheOtherInListOrder) {
    ParallelBatch batch(4);
    std::mutex mutex;
    std::vector<std::string> events;
    auto item = [&](const std::string& name, std::chrono::milliseconds pause) {
        return [&, name, pause] {
            {
                std::lock_guard lock(mutex);
                events.push_back("begin " + name);
            }
            std::this_thread::sleep_for(pause);
            std::lock_guard lock(mutex);
            events.push_back("end " + name);
            return 1;
        };
    };
    // 0 and 2 write the same target; 3 reads what 1 writes.
    batch.start(0, {"out/x.PNG", "in/x.bmp"}, item("0", 60ms));
    batch.start(1, {"out/y.PNG", "in/y.bmp"}, item("1", 60ms));
    batch.start(2, {"out/x.PNG", "in/x.BMP"}, item("2", 0ms));
    batch.start(3, {"out/z.PNG", "out/y.PNG"}, item("3", 0ms));
    batch.finish();
    auto at = [&](const std::string& event) {
        return std::find(events.begin(), events.end(), event) - events.begin();
    };
    ASSERT_EQ(events.size(), 8u);
    EXPECT_LT(at("end 0"), at("begin 2"));
    EXPECT_LT(at("end 1"), at("begin 3"));
    // Unrelated items were not held back: 1 began before 0 ended.
    EXPECT_LT(at("begin 1"), at("end 0"));
}

TEST(ParallelBatchTest, OneWorkerRunsEachItemOnTheCallersThreadBeforeStartReturns) {
    ParallelBatch batch(1);
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<int> done;
    for (int i = 0; i < 3; ++i) {
        batch.start(static_cast<size_t>(i), {"same"}, [&, i] {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            done.push_back(i);
            return i == 1 ? -7 : 1;
        });
        EXPECT_EQ(done.size(), static_cast<size_t>(i + 1)) << "ran inside start";
    }
    EXPECT_THAT(batch.finish(), ElementsAre(1, -7, 1));
}

// With a keep-alive function the caller never runs the work itself, is called back while it
// waits, and can stop further items: those started still finish with their results.
TEST(ParallelBatchTest, AWaitingCallerIsKeptAliveAndCanStopFurtherItems) {
    for (unsigned workers : {1u, 2u}) {
        const std::thread::id caller = std::this_thread::get_id();
        std::atomic<bool> release{false};
        int keepAlives = 0;
        ParallelBatch batch(workers, [&] {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            // The third call stops the batch and lets the items under way end.
            release = ++keepAlives >= 3;
            return !release;
        });
        size_t started = 0;
        while (started < 6 && batch.start(started, {std::to_string(started)}, [&, started] {
            EXPECT_NE(std::this_thread::get_id(), caller);
            while (!release)
                std::this_thread::sleep_for(1ms);
            return static_cast<int32_t>(started + 1);
        }))
            ++started;
        EXPECT_EQ(started, workers);
        EXPECT_EQ(keepAlives, 3);
        EXPECT_FALSE(batch.waitForRoom({"unrelated"})) << "stopped for good";
        const std::vector<int32_t>& results = batch.finish();
        ASSERT_EQ(results.size(), workers);
        for (size_t i = 0; i < workers; ++i)
            EXPECT_EQ(results[i], static_cast<int32_t>(i + 1));
    }
}

// The keep-alive follows the clock, not the length of one wait: thousands of items far shorter
// than a slice, with the caller's own walk costing time too, still get a call whenever a slice
// has passed, and the first call comes before the first item starts.
TEST(ParallelBatchTest, TheCallerIsKeptAliveWheneverASliceHasPassedHoweverShortTheItems) {
    using Clock = std::chrono::steady_clock;
    constexpr auto kSlice = ParallelBatch::kKeepAliveSlice;
    struct Walk {
        std::chrono::microseconds perItem; // the caller's own work for each item
        std::chrono::microseconds perWork; // each conversion's
    };
    for (const Walk walk : {Walk{300us, 0us}, Walk{50us, 400us}, Walk{0us, 2000us}}) {
        std::atomic<Clock::rep> ticks{0};
        const auto advance = [&](std::chrono::microseconds d) {
            ticks += std::chrono::duration_cast<Clock::duration>(d).count();
        };
        std::vector<Clock::time_point> calls;
        std::atomic<int> worksRun{0};
        ParallelBatch batch(
            2,
            [&] {
                calls.push_back(Clock::time_point(Clock::duration(ticks.load())));
                EXPECT_EQ(worksRun.load(), calls.size() == 1 ? 0 : worksRun.load())
                    << "the first call comes before any work";
                return true;
            },
            [&] { return Clock::time_point(Clock::duration(ticks.load())); });
        constexpr size_t kItems = 3000;
        for (size_t i = 0; i < kItems; ++i) {
            advance(walk.perItem);
            // As the converter walks: wait for room, then start.
            ASSERT_TRUE(batch.waitForRoom({std::to_string(i)}));
            ASSERT_TRUE(batch.start(i, {std::to_string(i)}, [&] {
                advance(walk.perWork);
                ++worksRun;
                return 1;
            }));
        }
        batch.finish();
        const auto total = Clock::duration(ticks.load());
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.front(), Clock::time_point(Clock::duration(walk.perItem)));
        // No gap longer than a slice plus what can pass between two looks at the clock: the
        // caller's own step and one conversion on each worker.
        const auto step = walk.perItem + 2 * walk.perWork;
        Clock::duration widest{0};
        for (size_t k = 1; k < calls.size(); ++k)
            widest = std::max(widest, calls[k] - calls[k - 1]);
        EXPECT_LE(widest, kSlice + step) << walk.perItem.count() << "/" << walk.perWork.count();
        EXPECT_GE(calls.size() + 1, static_cast<size_t>(total / (kSlice + step)));
    }
}

// The converter selects an item between waitForRoom and start: an item shown as started must
// start, even when a slice passes meanwhile and the keep-alive would now ask to stop.
TEST(ParallelBatchTest, AnItemThatFoundRoomStartsWithoutAnotherLookAtTheKeepAlive) {
    using Clock = std::chrono::steady_clock;
    Clock::time_point now{};
    int keepAlives = 0;
    ParallelBatch batch(
        2, [&] { return ++keepAlives < 2; }, [&] { return now; });
    ASSERT_TRUE(batch.waitForRoom({"a"}));
    now += ParallelBatch::kKeepAliveSlice * 2;
    EXPECT_TRUE(batch.start(0, {"a"}, [] { return 1; }));
    EXPECT_EQ(keepAlives, 1);
    EXPECT_FALSE(batch.waitForRoom({"b"})) << "the next look stops the batch";
    EXPECT_FALSE(batch.start(1, {"b"}, [] { return 1; }));
    EXPECT_THAT(batch.finish(), ElementsAre(1));
}

TEST(ParallelBatchTest, WorkersAreTheCoresUnlessTheEnvironmentSaysHowMany) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    unsetenv("KELVARN_BATCH_WORKERS");
    EXPECT_EQ(batchWorkers(), cores);
    setenv("KELVARN_BATCH_WORKERS", "1", 1);
    EXPECT_EQ(batchWorkers(), 1u);
    setenv("KELVARN_BATCH_WORKERS", "3", 1);
    EXPECT_EQ(batchWorkers(), 3u);
    for (const char* bad : {"0", "-2", "two", "2x", ""}) {
        setenv("KELVARN_BATCH_WORKERS", bad, 1);
        EXPECT_EQ(batchWorkers(), cores) << bad;
    }
    unsetenv("KELVARN_BATCH_WORKERS");
}

} // namespace
} // namespace kelvarn::testing
