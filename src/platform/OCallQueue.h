// Calls handed from worker threads to the thread that owns the queue, which runs them in its
// own loop; the caller waits until its call has run. Closing the queue makes waiting and
// future calls return false, so that no worker waits on a loop that has ended.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

class OCallQueue {
  public:
    // `onPending` runs (on the caller's thread) after each call was queued: it tells the
    // owner's loop to come and run it.
    explicit OCallQueue(std::function<void()> onPending = {}) : m_onPending(std::move(onPending)) {}
    ~OCallQueue() { Close(); }
    OCallQueue(const OCallQueue&) = delete;
    OCallQueue& operator=(const OCallQueue&) = delete;

    // From any thread but the owner's: runs `call` on the owner's thread and waits for it.
    // False when the queue is (or becomes) closed before the call ran.
    bool bCall(const std::function<void()>& call);
    // Owner's thread: waits up to `timeout` for a call, then runs every pending call.
    // Returns how many ran.
    int iRunPending(std::chrono::milliseconds timeout = std::chrono::milliseconds(0));
    void Close();

  private:
    struct OPending {
        std::function<void()> call;
        bool started = false;
        bool done = false;
    };
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::shared_ptr<OPending>> m_pending;
    bool m_closed = false;
    std::function<void()> m_onPending;
};
