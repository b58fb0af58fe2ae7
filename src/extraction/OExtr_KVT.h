// The extraction engine of device family 2 (the camera devices): the image tools compute
// every feature; there are no basic contour features. Parts are spread over worker slots
// (one per logical processor) unless a code or text reader is configured; each worker
// extracts one whole part at a time, and the tools' locks serialise each tool. Features of
// tools that did not change are copied from the part's previous features instead of being
// computed again.
//
// The user-interface thread waits up to 50000 ms for a free slot (and extracts the part
// itself when none becomes free: error bit 1), and as long again for all slots at the end.
// A tool's lock is awaited for 50000 ms (time-out: bit 1, the tool is skipped).
#pragma once

#include <atomic>
#include <chrono>
#include <vector>

#include "extraction/OExtractor.h"
#include "extraction/OKvtView.h"
#include "tools/kvt/OKvtDrawing.h"

class OType_PartArray;

class OExtr_KVT : public OExtractor {
  public:
    static constexpr std::chrono::milliseconds kWait{50000};

    explicit OExtr_KVT(OExtractorHost& host);

    void PrepareExtraction(OType_ZRPartSet& partSet) override;
    void ExtractTeachParts(OType_ZRPartSet& partSet, int option) override;
    void PrepareTestExtraction(OType_ZRPartSet& partSet) override;
    void ExtractTestParts(OType_ZRPartSet& partSet, int option) override;

    // The number of worker slots; 0 (the default) takes one per logical processor, 1 runs
    // every part on the calling thread.
    void SetWorkerCount(int count) { m_workerCount = count; }
    int iGetWorkerCount() const;
    // How long a run waits for a slot and for a tool's lock (kWait unless changed).
    void SetWaitTimeout(std::chrono::milliseconds timeout) { m_wait = timeout; }
    // Whether a run of the part set uses worker threads: not with a code or text reader.
    static bool bUsesThreads(const OType_ZRPartSet& partSet);

    // The per-part step: the part's features rebuilt tool by tool, reusing those of tools
    // that are unchanged (call PrepareExtraction first). Thread-safe for different parts.
    void ExtractPart(OType_ZRPartSet& partSet, OType_Part& part, bool teach);

    // The state of the part contour view (camera image or contour, visible range, tape
    // measure); ShowImageRegion fits the visible range to the shown picture.
    OKvtViewState& ViewState() { return m_view; }
    const OKvtViewState& ViewState() const { return m_view; }
    void ResetView() override;
    void ShowImageRegion() override;
    // What the tools found on the shown part, measured once for the view and kept until
    // the project changes (the window drops it on every update).
    struct ODrawingCache {
        const OType_Part* part = nullptr;
        int teach = -1;
        std::vector<OKvtDrawing> drawings;  // by tool index
    };
    ODrawingCache& DrawingCache() { return m_drawingCache; }
    void InvalidateDrawings() { m_drawingCache = ODrawingCache(); }

  private:
    void ExtractList(OType_ZRPartSet& partSet, OType_PartArray& list, bool teach, int option);
    // Whether tool k's stored features can be copied: unchanged, and so is every tool it
    // reads (directly or through others); never for I/O access.
    bool bMayReuse(size_t k) const { return k < m_reusable.size() && m_reusable[k]; }

    OKvtViewState m_view;
    ODrawingCache m_drawingCache;
    int m_workerCount = 0;
    std::chrono::milliseconds m_wait = kWait;
    std::vector<bool> m_reusable;
    bool m_anyToolModified = false;
    std::atomic<uint32_t> m_runFlags{0};
};
