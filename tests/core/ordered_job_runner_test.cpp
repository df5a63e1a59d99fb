#include "core/ordered_job_runner.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace vantrel {
namespace {

using namespace std::chrono_literals;

// Job i posts "i:a", sleeps a time that makes later jobs finish first, posts "i:b".
std::vector<OrderedJobRunner::Job> racingJobs(int count, std::vector<std::string>& seen, std::atomic<int>& started) {
    std::vector<OrderedJobRunner::Job> jobs;
    for (int i = 0; i < count; ++i) {
        jobs.push_back([i, count, &seen, &started](OrderedJobRunner::Channel& channel) {
            ++started;
            channel.post([&seen, i] { seen.push_back(std::to_string(i) + ":a"); });
            std::this_thread::sleep_for(std::chrono::milliseconds(5 * (count - i)));
            channel.post([&seen, i] { seen.push_back(std::to_string(i) + ":b"); });
        });
    }
    return jobs;
}

std::vector<std::string> inOrder(int count) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
        out.push_back(std::to_string(i) + ":a");
        out.push_back(std::to_string(i) + ":b");
    }
    return out;
}

TEST(OrderedJobRunner, DeliversInJobOrderWhateverTheThreadsDo) {
    for (int parallel : {1, 3, 8, 64}) {
        SCOPED_TRACE(parallel);
        std::vector<std::string> seen;
        std::atomic<int> started{0};
        int finishedCalls = 0;
        bool wasStopped = true;
        OrderedJobRunner runner({});
        ASSERT_TRUE(runner.start(racingJobs(8, seen, started), parallel, [&](bool stopped) {
            ++finishedCalls;
            wasStopped = stopped;
        }));
        EXPECT_TRUE(runner.running());
        runner.waitUntilFinished();
        EXPECT_FALSE(runner.running());
        EXPECT_EQ(seen, inOrder(8));
        EXPECT_EQ(finishedCalls, 1);
        EXPECT_FALSE(wasStopped);
    }
}

TEST(OrderedJobRunner, RefusesASecondRunUntilTheFirstIsDelivered) {
    std::vector<std::string> seen;
    std::atomic<int> started{0};
    OrderedJobRunner runner({});
    ASSERT_TRUE(runner.start(racingJobs(2, seen, started), 2, {}));
    EXPECT_FALSE(runner.start(racingJobs(2, seen, started), 2, {}));
    runner.waitUntilFinished();
    EXPECT_EQ(seen, inOrder(2));
    EXPECT_TRUE(runner.start(racingJobs(1, seen, started), 1, {}));
    runner.waitUntilFinished();
    EXPECT_EQ(seen.size(), 6U);
}

TEST(OrderedJobRunner, WorksOnlyWhenTheOwnerDelivers) {
    std::atomic<int> wakeCalls{0};
    std::vector<std::string> seen;
    std::atomic<int> started{0};
    OrderedJobRunner runner([&] { ++wakeCalls; });
    ASSERT_TRUE(runner.start(racingJobs(3, seen, started), 3, {}));
    while (started < 3) std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(40ms);
    // Nothing reaches the owner's state before it delivers.
    EXPECT_TRUE(seen.empty());
    EXPECT_GE(wakeCalls.load(), 1);
    runner.waitUntilFinished();
    EXPECT_EQ(seen, inOrder(3));
}

TEST(OrderedJobRunner, StopLetsStartedJobsFinishAndStartsNoOther) {
    std::vector<std::string> seen;
    std::atomic<int> started{0};
    bool wasStopped = false;
    OrderedJobRunner runner({});
    ASSERT_TRUE(runner.start(racingJobs(10, seen, started), 2, [&](bool stopped) { wasStopped = stopped; }));
    while (started < 2) std::this_thread::sleep_for(1ms);
    runner.stopAndWait();
    EXPECT_FALSE(runner.running());
    EXPECT_TRUE(wasStopped);
    // Every job that started was delivered whole, and they are a prefix of the list.
    ASSERT_EQ(seen.size() % 2, 0U);
    const int delivered = static_cast<int>(seen.size() / 2);
    EXPECT_EQ(delivered, started.load());
    EXPECT_LT(delivered, 10);
    EXPECT_EQ(seen, inOrder(delivered));
}

TEST(OrderedJobRunner, AClosureMayDeliverAgainWithoutBreakingTheOrder) {
    std::vector<std::string> seen;
    OrderedJobRunner runner({});
    std::vector<OrderedJobRunner::Job> jobs;
    for (int i = 0; i < 4; ++i)
        jobs.push_back([i, &seen, &runner](OrderedJobRunner::Channel& channel) {
            // A delivered closure that lets pending events run, as the window does.
            channel.post([i, &seen, &runner] {
                seen.push_back(std::to_string(i) + ":a");
                runner.deliver();
            });
            channel.post([i, &seen] { seen.push_back(std::to_string(i) + ":b"); });
        });
    ASSERT_TRUE(runner.start(std::move(jobs), 4, {}));
    runner.waitUntilFinished();
    EXPECT_EQ(seen, inOrder(4));
}

TEST(OrderedJobRunner, AnEmptyListEndsAtTheFirstDelivery) {
    int finishedCalls = 0;
    OrderedJobRunner runner({});
    ASSERT_TRUE(runner.start({}, 8, [&](bool) { ++finishedCalls; }));
    runner.deliver();
    EXPECT_FALSE(runner.running());
    EXPECT_EQ(finishedCalls, 1);
}

}  // namespace
}  // namespace vantrel
