// Posted command messages: any thread posts a command id with an argument; the UI thread
// dispatches them in posting order to a CommandTarget.
#pragma once

#include <cstdint>

class CommandQueue {
  public:
    virtual ~CommandQueue() = default;

    // Thread-safe; returns at once.
    virtual void Post(int commandId, int64_t argument = 0) = 0;
    virtual bool bHasPending(int commandId) const = 0;
    // Drops queued commands with this id while such a command is next in the queue, at most
    // maxCount of them; returns how many were dropped.
    virtual int iRemovePendingAtHead(int commandId, int maxCount) = 0;
};
