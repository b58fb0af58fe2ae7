// The automatic tool search of a part set, in three steps so that a window can keep the
// user-interface thread free:
//   1. Start (user-interface thread): checks the free tool slots (the message when there are
//      none), the kinds the device accepts, and copies the teach parts;
//   2. Run (any thread, typically a worker): the search itself on that copy; it polls the
//      extraction engine's cancel flag, which CancelToolSearch sets from any thread;
//   3. Install (user-interface thread): adds the selected tools to the part set through the
//      device session, stores one undo step and recomputes.
// OExtr_Default::SearchTools runs the three steps in a row in the calling thread. A window
// runs Run in a worker, polls an OToolSearchMonitor with a timer and calls Install when the
// worker has ended.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "extraction/OToolSearch.h"

class Clock;
class OExtractorHost;
class OProgressCtrl;
class OType_ZRPartSet;

struct OToolSearchRequest {
    double maxMinutes = 1.0;
    int stepSize = 0;  // 0 large, 1 medium, 2 small
    int compareTypes = 0;
    int includeUnassigned = 0;
    int threads = 0;  // 0: the logical processors, at most 2
};

// A tool the search installed.
struct OInstalledTool {
    int toolId = -1;
    int kind = 0;
    int subKind = 0;
    int mode = 1;
    ORect region;
    std::string name;
};

class OToolSearchJob {
  public:
    // Step 1. nullptr when the part set has no free tool slot (the message is shown).
    static std::unique_ptr<OToolSearchJob> opStart(OExtractorHost& host, OType_ZRPartSet& partSet,
                                                   const OToolSearchRequest& request,
                                                   const std::atomic<int>& cancel);
    // The message shown when no tool slot is free.
    static const char* NoFreeSlotText();

    // Step 2.
    void Run(OToolSearchObserver& observer, const Clock& clock);
    // Step 3: installs at most the free slots' worth of the selected tools; returns how many
    // were installed, -1 when the part set is no longer the document's actual one.
    int Install(OToolSearchObserver* observer = nullptr);

    int iGetFreeSlots() const { return m_freeSlots; }
    const OToolSearch& Search() const { return *m_search; }
    const std::vector<OInstalledTool>& Installed() const { return m_installed; }

  private:
    OToolSearchJob(OExtractorHost& host, OType_ZRPartSet& partSet, const std::atomic<int>& cancel)
        : m_host(host), m_partSet(partSet), m_cancel(cancel) {}

    OExtractorHost& m_host;
    OType_ZRPartSet& m_partSet;
    const std::atomic<int>& m_cancel;
    int m_freeSlots = 0;
    std::unique_ptr<OToolSearch> m_search;
    std::vector<OInstalledTool> m_installed;
};

// What a window shows of a search running in a worker: written by the worker as the
// observer, read by the user-interface thread at any time.
class OToolSearchMonitor : public OToolSearchObserver {
  public:
    struct OState {
        int low = 0, high = 0, position = 0;
        std::string status;
        bool operator==(const OState&) const = default;
    };
    void SetRange(int low, int high) override;
    void SetPosition(int position) override;
    void SetStatus(const std::string& text) override;
    OState State() const;

  private:
    mutable std::mutex m_mutex;
    OState m_state;
};

// Shows a search on the progress object and a status text, in the thread that runs it.
class OToolSearchProgress : public OToolSearchObserver {
  public:
    OToolSearchProgress(OProgressCtrl* progress, std::string* statusText, const Clock& clock)
        : m_progress(progress), m_statusText(statusText), m_clock(clock) {}
    void SetRange(int low, int high) override;
    void SetPosition(int position) override;
    void SetStatus(const std::string& text) override;
    void Pump() override;

  private:
    OProgressCtrl* m_progress;
    std::string* m_statusText;
    const Clock& m_clock;
    int m_low = 0;
};
