#pragma once
// Runs a list of jobs on worker threads and hands what they report back to the
// thread that owns the program state, strictly in job order: everything job 2
// reports shows after everything job 1 reported, however the threads raced.
// Jobs never touch the program state; they post closures that the owner
// thread runs in deliver(). Stopping takes effect between jobs: a job that has
// started runs to its end, no new one starts.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vantrel {

class OrderedJobRunner {
public:
    // Runs on the owner thread, inside deliver().
    using Apply = std::function<void()>;

    // What a job sees of the runner.
    class Channel {
    public:
        // Queues `apply` for the owner thread, after everything this job posted before.
        void post(Apply apply);
        // True once the owner asked the run to stop (the job may still finish).
        bool stopRequested() const;

    private:
        friend class OrderedJobRunner;
        Channel(OrderedJobRunner& runner, std::size_t job) : runner_(runner), job_(job) {}
        OrderedJobRunner& runner_;
        std::size_t job_;
    };

    using Job = std::function<void(Channel&)>;
    // Runs on the owner thread after the last delivery; `stopped` when jobs were left out.
    using Finished = std::function<void(bool stopped)>;

    // `wakeUp` is called from any thread when there is something to deliver;
    // the owner answers it by calling deliver() soon on its own thread.
    explicit OrderedJobRunner(std::function<void()> wakeUp);
    ~OrderedJobRunner();
    OrderedJobRunner(const OrderedJobRunner&) = delete;
    OrderedJobRunner& operator=(const OrderedJobRunner&) = delete;

    // Owner thread. Starts the jobs on up to `parallel` threads (at least 1,
    // at most the number of jobs). False, and nothing started, while a run is
    // still going on.
    bool start(std::vector<Job> jobs, int parallel, Finished finished);

    // Owner thread: a run has been started and its end not yet delivered.
    bool running() const { return running_; }

    // Owner thread: runs the posted closures that are due, in job order, and
    // the run's end once every started job has ended and been delivered.
    void deliver();

    // Owner thread: no further job starts; waits for the started ones to end
    // and delivers everything they posted, then the run's end.
    void stopAndWait();

    // Owner thread: waits for the run to end, delivering as things arrive.
    void waitUntilFinished();

private:
    struct JobSlot {
        std::deque<Apply> posted;
        bool started = false;
        bool ended = false;
    };

    void work();
    void wake();
    // With the lock held: moves what is due from the jobs, in order, to ready_.
    void collectDueLocked();
    // With the lock held: every started job has ended and been delivered.
    bool runEndedLocked() const;
    // With the lock held: deliver() has something to do.
    bool dueLocked() const;

    std::function<void()> wakeUp_;
    std::vector<Job> jobs_;
    std::vector<JobSlot> slots_;
    std::vector<std::thread> workers_;
    std::deque<Apply> ready_;       // due closures, in order; nested deliveries share it
    Finished finished_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t nextJob_ = 0;       // the next job a worker takes
    std::size_t deliveredUpTo_ = 0; // jobs before this one are fully delivered
    int activeWorkers_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> wakePending_{false};
    bool running_ = false;
};

}  // namespace vantrel
