// The worker slots of the threaded extraction: a fixed number of worker threads, each
// extracting one part at a time. The user-interface thread hands a part to a free slot,
// waiting a bounded time for one, and at the end waits for all slots to be free again.
// A job that throws ends quietly; its slot is freed all the same.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class OExtractionSlots {
  public:
    // `count` slots, at least one.
    explicit OExtractionSlots(int count);
    ~OExtractionSlots();
    OExtractionSlots(const OExtractionSlots&) = delete;
    OExtractionSlots& operator=(const OExtractionSlots&) = delete;

    int iGetCount() const { return static_cast<int>(m_slots.size()); }
    // Waits up to `timeout` for a free slot and starts `job` on it; false when no slot
    // became free in time (the job is not started).
    bool bStart(std::function<void()> job, std::chrono::milliseconds timeout);
    // Waits up to `timeout` until no slot is busy; false on time-out.
    bool bWaitAll(std::chrono::milliseconds timeout);

    // One slot per logical processor, at least one.
    static int iLogicalProcessors();

  private:
    struct OSlot {
        std::function<void()> job;
        bool busy = false;
    };
    void Work(size_t index);

    std::mutex m_mutex;
    std::condition_variable m_freed;
    std::condition_variable m_assigned;
    std::vector<OSlot> m_slots;
    std::vector<std::thread> m_threads;
    bool m_stop = false;
};
