// Work of one recompute shared among the processor's cores.
#pragma once

#include <algorithm>
#include <atomic>
#include <functional>

namespace engine {

// How many threads one recompute uses for `items` pieces of work: one for small work, else the
// processor's cores, at most MaxWorkerThreads.
int WorkerThreads(int items);

// Wakes the helper threads for work of `items` pieces that is about to come, when it will use them:
// waking takes a while.
void RouseHelpers(int items);

// Runs work(0) on the calling thread and work(1 ... threads - 1) on helper threads, and returns when
// all that started have finished; rethrows the first exception any of them threw. A helper that is
// not ready before the calling thread is done does not run its part: the parts share their work out
// among themselves (WorkQueue), so that whatever runs does all of it.
void RunOnThreads(int threads, const std::function<void(int)>& work);

// Hands out pieces of work 0 ... items - 1, a batch at a time, to whichever thread asks next.
class WorkQueue {
  public:
    WorkQueue(int items, int batch) : items_(items), batch_(batch) {}
    // Calls `work(item)` for items taken from the queue until it is empty or `work` answers false.
    template <typename F> void Drain(F work) {
        for (int first; (first = next_.fetch_add(batch_)) < items_;)
            for (int item = first; item < std::min(first + batch_, items_); ++item)
                if (!work(item)) return;
    }

  private:
    std::atomic<int> next_ = 0;
    int items_, batch_;
};

} // namespace engine
