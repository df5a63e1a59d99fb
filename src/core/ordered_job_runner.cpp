#include "core/ordered_job_runner.h"

#include <algorithm>

namespace vantrel {

void OrderedJobRunner::Channel::post(Apply apply) {
    {
        std::lock_guard lock(runner_.mutex_);
        runner_.slots_[job_].posted.push_back(std::move(apply));
    }
    runner_.changed_.notify_all();
    runner_.wake();
}

bool OrderedJobRunner::Channel::stopRequested() const { return runner_.stop_.load(); }

OrderedJobRunner::OrderedJobRunner(std::function<void()> wakeUp) : wakeUp_(std::move(wakeUp)) {}

OrderedJobRunner::~OrderedJobRunner() {
    // The closures may refer to state that is going away: stop, join, deliver nothing.
    stop_ = true;
    for (auto& worker : workers_)
        if (worker.joinable()) worker.join();
}

bool OrderedJobRunner::start(std::vector<Job> jobs, int parallel, Finished finished) {
    if (running_) return false;
    for (auto& worker : workers_)
        if (worker.joinable()) worker.join();
    workers_.clear();
    const int threads = jobs.empty() ? 0 : std::clamp(parallel, 1, static_cast<int>(jobs.size()));
    {
        std::lock_guard lock(mutex_);
        jobs_ = std::move(jobs);
        slots_.assign(jobs_.size(), JobSlot{});
        ready_.clear();
        nextJob_ = 0;
        deliveredUpTo_ = 0;
        activeWorkers_ = threads;
        finished_ = std::move(finished);
        stop_ = false;
        running_ = true;
    }
    for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { work(); });
    if (threads == 0) wake();
    return true;
}

void OrderedJobRunner::work() {
    for (;;) {
        std::size_t job = 0;
        {
            std::lock_guard lock(mutex_);
            if (stop_ || nextJob_ >= jobs_.size()) {
                --activeWorkers_;
                break;
            }
            job = nextJob_++;
            slots_[job].started = true;
        }
        Channel channel(*this, job);
        try {
            jobs_[job](channel);
        } catch (...) {
            // A job reports its own failures; one that escapes must not end the program.
        }
        {
            std::lock_guard lock(mutex_);
            slots_[job].ended = true;
        }
        changed_.notify_all();
        wake();
    }
    changed_.notify_all();
    wake();
}

void OrderedJobRunner::wake() {
    if (!wakePending_.exchange(true) && wakeUp_) wakeUp_();
}

void OrderedJobRunner::collectDueLocked() {
    while (deliveredUpTo_ < slots_.size()) {
        JobSlot& slot = slots_[deliveredUpTo_];
        while (!slot.posted.empty()) {
            ready_.push_back(std::move(slot.posted.front()));
            slot.posted.pop_front();
        }
        if (!slot.ended) break;
        ++deliveredUpTo_;
    }
}

bool OrderedJobRunner::runEndedLocked() const {
    if (activeWorkers_ != 0 || !ready_.empty()) return false;
    // Jobs start in order, so the ones a stop left out are the tail.
    return deliveredUpTo_ == slots_.size() || !slots_[deliveredUpTo_].started;
}

bool OrderedJobRunner::dueLocked() const {
    if (!ready_.empty() || activeWorkers_ == 0) return true;
    if (deliveredUpTo_ >= slots_.size()) return false;
    const JobSlot& slot = slots_[deliveredUpTo_];
    return slot.ended || !slot.posted.empty();
}

void OrderedJobRunner::deliver() {
    for (;;) {
        Apply next;
        {
            std::lock_guard lock(mutex_);
            if (!running_) return;
            wakePending_ = false;
            collectDueLocked();
            if (!ready_.empty()) {
                next = std::move(ready_.front());
                ready_.pop_front();
            } else if (runEndedLocked()) {
                running_ = false;
            } else {
                return;
            }
        }
        if (next) {
            next();
            continue;
        }
        for (auto& worker : workers_)
            if (worker.joinable()) worker.join();
        workers_.clear();
        bool stopped = false;
        {
            std::lock_guard lock(mutex_);
            stopped = deliveredUpTo_ < slots_.size();
        }
        Finished finished = std::move(finished_);
        finished_ = nullptr;
        if (finished) finished(stopped);
        return;
    }
}

void OrderedJobRunner::waitUntilFinished() {
    while (running_) {
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return dueLocked(); });
        }
        deliver();
    }
}

void OrderedJobRunner::stopAndWait() {
    stop_ = true;
    changed_.notify_all();
    waitUntilFinished();
}

}  // namespace vantrel
