#include "extraction/OExtractionSlots.h"

#include <algorithm>

OExtractionSlots::OExtractionSlots(int count) : m_slots(static_cast<size_t>(std::max(1, count))) {
    for (size_t i = 0; i < m_slots.size(); ++i)
        m_threads.emplace_back([this, i] { Work(i); });
}

OExtractionSlots::~OExtractionSlots() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_assigned.notify_all();
    for (std::thread& t : m_threads)
        t.join();
}

int OExtractionSlots::iLogicalProcessors() {
    return std::max(1u, std::thread::hardware_concurrency());
}

bool OExtractionSlots::bStart(std::function<void()> job, std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    auto free = [&] {
        return std::find_if(m_slots.begin(), m_slots.end(), [](const OSlot& s) { return !s.busy; });
    };
    if (!m_freed.wait_for(lock, timeout, [&] { return free() != m_slots.end(); })) return false;
    OSlot& slot = *free();
    slot.busy = true;
    slot.job = std::move(job);
    lock.unlock();
    m_assigned.notify_all();
    return true;
}

bool OExtractionSlots::bWaitAll(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_freed.wait_for(lock, timeout, [&] {
        return std::none_of(m_slots.begin(), m_slots.end(), [](const OSlot& s) { return s.busy; });
    });
}

void OExtractionSlots::Work(size_t index) {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(m_mutex);
            m_assigned.wait(lock, [&] { return m_stop || m_slots[index].job; });
            if (!m_slots[index].job) return;
            job = std::move(m_slots[index].job);
            m_slots[index].job = nullptr;
        }
        try {
            job();
        } catch (...) {
            // A part whose extraction failed keeps what it got; the run goes on.
        }
        {
            std::lock_guard lock(m_mutex);
            m_slots[index].busy = false;
        }
        m_freed.notify_all();
    }
}
