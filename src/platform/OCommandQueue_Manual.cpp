#include "platform/OCommandQueue_Manual.h"

#include <algorithm>

void OCommandQueue_Manual::Post(int commandId, int64_t argument) {
    {
        std::lock_guard lock(m_mutex);
        m_queue.emplace_back(commandId, argument);
    }
    m_posted.notify_all();
}

bool OCommandQueue_Manual::bHasPending(int commandId) const {
    std::lock_guard lock(m_mutex);
    return std::any_of(m_queue.begin(), m_queue.end(),
                       [commandId](const auto& entry) { return entry.first == commandId; });
}

int OCommandQueue_Manual::iRemovePendingAtHead(int commandId, int maxCount) {
    std::lock_guard lock(m_mutex);
    int removed = 0;
    while (removed < maxCount && !m_queue.empty() && m_queue.front().first == commandId) {
        m_queue.pop_front();
        ++removed;
    }
    return removed;
}

bool OCommandQueue_Manual::bDispatchOne(CommandTarget& target) {
    std::pair<int, int64_t> command;
    {
        std::lock_guard lock(m_mutex);
        if (m_queue.empty()) return false;
        command = m_queue.front();
        m_queue.pop_front();
    }
    target.OnCommand(command.first, command.second);
    return true;
}

int OCommandQueue_Manual::iDispatchAll(CommandTarget& target, int maxCommands) {
    int dispatched = 0;
    while (dispatched < maxCommands && bDispatchOne(target))
        ++dispatched;
    return dispatched;
}

std::vector<std::pair<int, int64_t>> OCommandQueue_Manual::Pending() const {
    std::lock_guard lock(m_mutex);
    return {m_queue.begin(), m_queue.end()};
}

size_t OCommandQueue_Manual::iPendingCount() const {
    std::lock_guard lock(m_mutex);
    return m_queue.size();
}

void OCommandQueue_Manual::Clear() {
    std::lock_guard lock(m_mutex);
    m_queue.clear();
}

bool OCommandQueue_Manual::bWaitForPost(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_posted.wait_for(lock, timeout, [this] { return !m_queue.empty(); });
}
