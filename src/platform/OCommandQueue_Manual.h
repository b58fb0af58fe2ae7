// A command queue that its owner drains: tests dispatch explicitly, a headless program's loop
// waits for posts and dispatches. Thread-safe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/CommandQueue.h"
#include "platform/CommandTarget.h"

class OCommandQueue_Manual : public CommandQueue {
  public:
    void Post(int commandId, int64_t argument = 0) override;
    bool bHasPending(int commandId) const override;
    int iRemovePendingAtHead(int commandId, int maxCount) override;

    // Takes the oldest command and hands it to target; false when the queue was empty.
    // The queue is not locked while the target runs, so it may post further commands.
    bool bDispatchOne(CommandTarget& target);
    // Dispatches until the queue is empty or maxCommands were dispatched, including commands
    // posted meanwhile; returns how many were dispatched.
    int iDispatchAll(CommandTarget& target, int maxCommands = 100000);

    std::vector<std::pair<int, int64_t>> Pending() const;
    size_t iPendingCount() const;
    void Clear();
    // Blocks until a command is pending or the time is up; true when one is pending.
    bool bWaitForPost(std::chrono::milliseconds timeout);

  private:
    mutable std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::pair<int, int64_t>> m_queue;
};
