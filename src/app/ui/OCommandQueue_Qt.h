// The desktop's command queue: posts from any thread are dispatched one by one, in posting
// order, from the Qt event loop of the user-interface thread.
#pragma once

#include <QObject>
#include <deque>
#include <mutex>
#include <utility>

#include "platform/CommandQueue.h"
#include "platform/CommandTarget.h"

class OCommandQueue_Qt : public QObject, public CommandQueue {
    Q_OBJECT
  public:
    // The target may be set later; commands wait until it is.
    explicit OCommandQueue_Qt(CommandTarget* target = nullptr, QObject* parent = nullptr);

    void SetTarget(CommandTarget* target);
    void Post(int commandId, int64_t argument = 0) override;
    bool bHasPending(int commandId) const override;
    int iRemovePendingAtHead(int commandId, int maxCount) override;
    size_t iPendingCount() const;

  private:
    void DispatchOne();

    mutable std::mutex m_mutex;
    std::deque<std::pair<int, int64_t>> m_queue;
    CommandTarget* m_target = nullptr;
};
