#include "gem/parallel.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace {
// More threads gain little, since the calling thread joins every pair alone, and the processor count
// the library reports may exceed what the process may use.
constexpr int MaxWorkerThreads = 4;
// Below this many pieces of work a second thread costs more than it saves.
constexpr int SmallWork = 48;
// A helper that has finished its part waits this long, awake, for the next job before it sleeps: one
// recompute hands out several jobs in quick succession, and waking a sleeping thread takes longer.
constexpr auto LingerTime = std::chrono::microseconds(200);

// Helper threads, started when first needed and kept for later jobs: starting a thread costs more
// than a small recompute's share of work. One job runs at a time.
class HelperPool {
  public:
    ~HelperPool() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
            ++generation_;
        }
        generation_.notify_all();
        for (std::thread& helper : helpers_)
            helper.join();
    }

    // Runs the job as RunOnThreads describes; false, having run nothing, when the pool is busy with
    // another caller's job. With no work, only wakes the helpers.
    bool TryRun(int threads, const std::function<void(int)>* work) {
        std::unique_lock<std::mutex> busy(busy_, std::try_to_lock);
        if (!busy.owns_lock()) return false;
        StartHelpers(threads - 1);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            work_ = work;
            wanted_ = work ? threads - 1 : 0;
            open_ = work != nullptr;
            failure_ = nullptr;
            ++generation_;
        }
        generation_.notify_all();
        if (!work) return true;
        Run(*work, 0);
        std::unique_lock<std::mutex> lock(mutex_);
        open_ = false; // helpers not started by now stay out
        done_.wait(lock, [this] { return running_ == 0; });
        work_ = nullptr;
        if (failure_) std::rethrow_exception(failure_);
        return true;
    }

  private:
    void StartHelpers(int wanted) {
        while (static_cast<int>(helpers_.size()) < wanted) {
            try {
                const int index = static_cast<int>(helpers_.size()) + 1;
                const unsigned seen = generation_;
                helpers_.emplace_back([this, index, seen] { Serve(index, seen); });
            } catch (const std::system_error&) {
                return; // no more threads to be had: the ones there share the work
            }
        }
    }

    void Run(const std::function<void(int)>& work, int worker) {
        try {
            work(worker);
        } catch (...) {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (!failure_) failure_ = std::current_exception();
        }
    }

    // Runs helper `index`'s part of every job after generation `seen`.
    void Serve(int index, unsigned seen) {
        for (;;) {
            const auto until = std::chrono::steady_clock::now() + LingerTime;
            while (generation_.load() == seen && std::chrono::steady_clock::now() < until)
                std::this_thread::yield();
            generation_.wait(seen); // sleeps unless a job came since
            std::unique_lock<std::mutex> lock(mutex_);
            if (stopping_) return;
            seen = generation_;
            if (!open_ || index > wanted_) continue;
            ++running_;
            const std::function<void(int)>* work = work_;
            lock.unlock();
            Run(*work, index);
            lock.lock();
            if (--running_ == 0) done_.notify_one();
        }
    }

    std::mutex busy_;  // held by the caller whose job runs
    std::mutex mutex_; // guards what follows
    std::condition_variable done_;
    std::vector<std::thread> helpers_;
    const std::function<void(int)>* work_ = nullptr;
    // One more for every job and at the end, changed under the mutex; helpers linger and sleep on it.
    std::atomic<unsigned> generation_ = 0;
    int wanted_ = 0, running_ = 0;
    bool open_ = false, stopping_ = false;
    std::exception_ptr failure_;
};

HelperPool& Helpers() {
    static HelperPool pool;
    return pool;
}
} // namespace

namespace engine {

int WorkerThreads(int items) {
    if (items < SmallWork) return 1;
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores, 1, MaxWorkerThreads);
}

void RouseHelpers(int items) {
    const int threads = WorkerThreads(items);
    if (threads > 1) Helpers().TryRun(threads, nullptr);
}

void RunOnThreads(int threads, const std::function<void(int)>& work) {
    if (threads > 1 && Helpers().TryRun(threads, &work)) return;
    work(0); // one thread, or the helpers are busy: this thread does all the work
}

} // namespace engine
