#include "render/band_worker.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace {

// One job at a time. `next` holds the job's number in its high half and the next band to take
// in its low half, so a worker still looking at an older job can never take a band of this one.
class BandWorker {
  public:
    void run(BandWork work, const void* context, int bands) {
        if (!started_) {
            std::thread([this] { serve(); }).detach();
            started_ = true;
        }
        uint32_t job = 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            job = ++job_;
            work_ = work;
            context_ = context;
            bands_ = bands;
            done_.store(0, std::memory_order_relaxed);
            next_.store(static_cast<uint64_t>(job) << 32, std::memory_order_release);
        }
        wake_.notify_one();
        const int mine = work_bands(job, work, context, bands);
        // The bands the worker took are finished before their rows are read again.
        while (done_.load(std::memory_order_acquire) != bands - mine) std::this_thread::yield();
    }

  private:
    // Takes and works bands of the job until none is left; returns how many it worked.
    int work_bands(uint32_t job, BandWork work, const void* context, int bands) {
        int worked = 0;
        for (;;) {
            uint64_t at = next_.load(std::memory_order_acquire);
            int band = 0;
            do {
                if (static_cast<uint32_t>(at >> 32) != job) return worked;
                band = static_cast<int>(at & 0xFFFFFFFFu);
                if (band >= bands) return worked;
            } while (!next_.compare_exchange_weak(at, at + 1, std::memory_order_acq_rel));
            work(context, band);
            ++worked;
        }
    }

    void serve() {
        uint32_t seen = 0;
        for (;;) {
            uint32_t job = 0;
            BandWork work = nullptr;
            const void* context = nullptr;
            int bands = 0;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [&] { return job_ != seen; });
                seen = job = job_;
                work = work_;
                context = context_;
                bands = bands_;
            }
            const int worked = work_bands(job, work, context, bands);
            if (worked > 0) done_.fetch_add(worked, std::memory_order_acq_rel);
        }
    }

    bool started_ = false;
    std::mutex mutex_;
    std::condition_variable wake_;
    uint32_t job_ = 0;
    BandWork work_ = nullptr;
    const void* context_ = nullptr;
    int bands_ = 0;
    std::atomic<uint64_t> next_{0};
    std::atomic<int> done_{0};
};

int threads = 2;

}  // namespace

void set_drawing_threads(int n) { threads = n == 1 ? 1 : 2; }

int drawing_threads() { return threads; }

void run_bands(BandWork work, const void* context, int bands) {
    if (threads == 1 || bands < 2) {
        for (int b = 0; b < bands; ++b) work(context, b);
        return;
    }
    // Made once and never destroyed: the thread waits for the next job until the process ends.
    static BandWorker* const worker = new BandWorker;
    worker->run(work, context, bands);
}
