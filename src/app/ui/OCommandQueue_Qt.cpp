#include "app/ui/OCommandQueue_Qt.h"

#include <QMetaObject>
#include <algorithm>

OCommandQueue_Qt::OCommandQueue_Qt(CommandTarget* target, QObject* parent)
    : QObject(parent), m_target(target) {}

void OCommandQueue_Qt::SetTarget(CommandTarget* target) {
    std::lock_guard lock(m_mutex);
    m_target = target;
    // Commands posted before the target was known are dispatched now.
    for (size_t i = 0; i < m_queue.size(); ++i)
        QMetaObject::invokeMethod(
            this, [this] { DispatchOne(); }, Qt::QueuedConnection);
}

void OCommandQueue_Qt::Post(int commandId, int64_t argument) {
    {
        std::lock_guard lock(m_mutex);
        m_queue.emplace_back(commandId, argument);
    }
    // One queued call per command: each takes the oldest one, so the order is kept even
    // when commands are removed meanwhile (a call that finds the queue empty does nothing).
    QMetaObject::invokeMethod(
        this, [this] { DispatchOne(); }, Qt::QueuedConnection);
}

void OCommandQueue_Qt::DispatchOne() {
    std::pair<int, int64_t> command;
    CommandTarget* target = nullptr;
    {
        std::lock_guard lock(m_mutex);
        if (m_queue.empty() || !m_target) return;
        command = m_queue.front();
        m_queue.pop_front();
        target = m_target;
    }
    target->OnCommand(command.first, command.second);
}

bool OCommandQueue_Qt::bHasPending(int commandId) const {
    std::lock_guard lock(m_mutex);
    return std::any_of(m_queue.begin(), m_queue.end(),
                       [&](const auto& c) { return c.first == commandId; });
}

int OCommandQueue_Qt::iRemovePendingAtHead(int commandId, int maxCount) {
    std::lock_guard lock(m_mutex);
    int removed = 0;
    while (removed < maxCount && !m_queue.empty() && m_queue.front().first == commandId) {
        m_queue.pop_front();
        ++removed;
    }
    return removed;
}

size_t OCommandQueue_Qt::iPendingCount() const {
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}
