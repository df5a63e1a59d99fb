#pragma once
// A fixed set of workers. When all are busy and a few connections already
// wait, the accepting thread waits too, so further clients stay in the
// kernel's listen queue instead of costing us threads or memory.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vantrel::agent {

class BoundedWorkers {
public:
    explicit BoundedWorkers(std::size_t workers) : limit_(workers + workers / 2 + 1) {
        for (std::size_t i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
    }
    ~BoundedWorkers() { shutdown(); }

    void enqueue(std::function<void()> fn) {
        std::unique_lock lock(mutex_);
        spaceFree_.wait(lock, [this] { return stopping_ || queue_.size() + busy_ < limit_; });
        if (stopping_) {
            lock.unlock();
            fn();  // still closes its socket
            return;
        }
        queue_.push_back(std::move(fn));
        workReady_.notify_one();
    }

    void shutdown() {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
            stopping_ = true;
        }
        workReady_.notify_all();
        spaceFree_.notify_all();
        for (auto& t : threads_) t.join();
    }

private:
    void work() {
        while (true) {
            std::function<void()> fn;
            {
                std::unique_lock lock(mutex_);
                workReady_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
                if (queue_.empty()) return;
                fn = std::move(queue_.front());
                queue_.pop_front();
                ++busy_;
            }
            fn();
            {
                std::lock_guard lock(mutex_);
                --busy_;
            }
            spaceFree_.notify_one();
        }
    }

    std::size_t limit_;
    std::mutex mutex_;
    std::condition_variable workReady_, spaceFree_;
    std::deque<std::function<void()>> queue_;
    std::size_t busy_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace vantrel::agent
