// Jobs worked on by a pool of threads and written one by one in the order
// they were pushed, with a bounded number in flight.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace isofmt::tool {

template <typename Job>
class OrderedPipeline {
public:
    using Step = std::function<void(Job&)>;

    // With one worker every job is worked and written in push() itself.
    OrderedPipeline(int workers, std::size_t max_in_flight, Step work, Step write)
        : work_(std::move(work)), write_(std::move(write)), max_in_flight_(max_in_flight) {
        if (workers <= 1) return;
        for (int i = 0; i < workers; ++i) threads_.emplace_back([this] { work_loop(); });
        threads_.emplace_back([this] { write_loop(); });
    }

    ~OrderedPipeline() { stop(); }
    OrderedPipeline(const OrderedPipeline&) = delete;
    OrderedPipeline& operator=(const OrderedPipeline&) = delete;

    // Hands a job over; waits while max_in_flight jobs are not yet written.
    // Rethrows the first failure of a step.
    void push(std::unique_ptr<Job> job) {
        if (threads_.empty()) {
            work_(*job);
            write_(*job);
            return;
        }
        std::unique_lock lock(mutex_);
        room_.wait(lock, [&] { return in_flight_ < max_in_flight_ || failure_; });
        if (failure_) std::rethrow_exception(failure_);
        ++in_flight_;
        todo_.emplace_back(pushed_++, std::move(job));
        work_ready_.notify_one();
    }

    // Waits until every job is written; rethrows the first failure of a step.
    void finish() {
        stop();
        if (failure_) std::rethrow_exception(failure_);
    }

private:
    void stop() {
        {
            std::lock_guard lock(mutex_);
            closed_ = true;
        }
        work_ready_.notify_all();
        done_ready_.notify_all();
        for (std::thread& t : threads_) t.join();
        threads_.clear();
    }

    void fail(std::exception_ptr e) {
        std::lock_guard lock(mutex_);
        if (!failure_) failure_ = e;
        work_ready_.notify_all();
        done_ready_.notify_all();
        room_.notify_all();
    }

    void work_loop() {
        for (;;) {
            std::pair<std::size_t, std::unique_ptr<Job>> item;
            {
                std::unique_lock lock(mutex_);
                work_ready_.wait(lock, [&] { return !todo_.empty() || closed_ || failure_; });
                if (failure_ || todo_.empty()) return;
                item = std::move(todo_.front());
                todo_.pop_front();
            }
            try {
                work_(*item.second);
            } catch (...) {
                fail(std::current_exception());
                return;
            }
            std::lock_guard lock(mutex_);
            done_.emplace(item.first, std::move(item.second));
            done_ready_.notify_one();
        }
    }

    void write_loop() {
        for (;;) {
            std::unique_ptr<Job> job;
            {
                std::unique_lock lock(mutex_);
                done_ready_.wait(lock, [&] {
                    return done_.count(written_) || failure_ || (closed_ && written_ == pushed_);
                });
                if (failure_ || !done_.count(written_)) return;
                auto found = done_.find(written_);
                job = std::move(found->second);
                done_.erase(found);
            }
            try {
                write_(*job);
            } catch (...) {
                fail(std::current_exception());
                return;
            }
            std::lock_guard lock(mutex_);
            ++written_;
            --in_flight_;
            room_.notify_one();
            done_ready_.notify_one();
        }
    }

    Step work_, write_;
    const std::size_t max_in_flight_;
    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable work_ready_, done_ready_, room_;
    std::deque<std::pair<std::size_t, std::unique_ptr<Job>>> todo_;
    std::map<std::size_t, std::unique_ptr<Job>> done_;
    std::size_t pushed_ = 0, written_ = 0, in_flight_ = 0;
    bool closed_ = false;
    std::exception_ptr failure_;
};

}  // namespace isofmt::tool
