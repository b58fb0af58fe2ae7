#include "platform/OCallQueue.h"

bool OCallQueue::bCall(const std::function<void()>& call) {
    auto pending = std::make_shared<OPending>();
    pending->call = call;
    std::unique_lock lock(m_mutex);
    if (m_closed) return false;
    m_pending.push_back(pending);
    m_changed.notify_all();
    if (m_onPending) {
        lock.unlock();
        m_onPending();
        lock.lock();
    }
    // A call that has started is waited for even when the queue closes meanwhile: it may use
    // what the caller holds.
    m_changed.wait(lock, [&] { return pending->done || (m_closed && !pending->started); });
    return pending->done;
}

int OCallQueue::iRunPending(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    if (m_pending.empty() && timeout.count() > 0)
        m_changed.wait_for(lock, timeout, [&] { return !m_pending.empty() || m_closed; });
    int ran = 0;
    while (!m_pending.empty()) {
        std::shared_ptr<OPending> next = m_pending.front();
        m_pending.pop_front();
        next->started = true;
        lock.unlock();
        next->call();
        lock.lock();
        next->done = true;
        ++ran;
        m_changed.notify_all();
    }
    return ran;
}

void OCallQueue::Close() {
    std::lock_guard lock(m_mutex);
    m_closed = true;
    m_pending.clear();
    m_changed.notify_all();
}
