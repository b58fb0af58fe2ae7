// The automatic tool search of device family 1: within a time budget it generates candidate
// tools (CTool, VStrip, ROI) over the image regions where the part classes differ, scores
// each by how well its feature separates every pair of classes, keeps the good ones and
// selects a small set that covers the pairs, each named after the pairs it separates.
//
// The engine works on its own copy of the teach parts and touches no part set, so it may run
// in a worker thread while the user-interface thread stays free; OToolSearchJob takes the
// copy from the part set and installs the result. It reads the cancel flag and the clock
// every 500 candidates and reports through an observer from the thread it runs in. With
// more than one thread it spreads the reference parts and the final check of the candidates
// over them; the result is the same for any number of threads.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "extraction/OToolSearchClasses.h"
#include "extraction/OToolSearchEvaluator.h"

class Clock;

namespace ToolSearch {
inline constexpr int kBatch = 500;          // candidates between clock, progress and cancel checks
inline constexpr int kKeptPerStage = 5000;  // more kept candidates end a stage
// How many candidates the candidate list holds; a full list ends the stage.
inline constexpr size_t kCandidateCapacity = 100000;
inline constexpr double kDifferentCell = 4.0;  // a grid cell holding more differs
}  // namespace ToolSearch

// Step sizes of the search: 0 large, 1 medium, 2 small.
enum class OSearchStep { Large = 0, Medium = 1, Small = 2 };

// What the search reports while it runs; called from the thread that runs it.
class OToolSearchObserver {
  public:
    virtual ~OToolSearchObserver() = default;
    virtual void SetRange(int low, int high) = 0;
    virtual void SetPosition(int position) = 0;
    virtual void SetStatus(const std::string& text) = 0;
    // Between batches of candidates: a chance to handle pending events.
    virtual void Pump() {}
};

// A teach part handed to the search.
struct OToolSearchPartInput {
    std::vector<int16_t> runs;
    int orientation = 0;
    int type = 0;
};

struct OToolSearchInput {
    std::vector<OToolSearchPartInput> parts;
    OSearchClassRules rules;
    double maxMinutes = 1.0;
    OSearchStep step = OSearchStep::Large;
    // Tool kinds the device accepts (ROI, VStrip, CTool).
    bool allowROI = true;
    bool allowVStrip = true;
    bool allowCTool = true;
    // How many tools may be selected (the device's free tool slots).
    int freeSlots = 0;
    int threads = 1;
};

struct OSearchCandidate {
    OSearchCandidateSpec spec;
    std::vector<OPairScore> scores;
    int iSum() const;
};

// A tool chosen by the selection, named after the class pairs assigned to it.
struct OSelectedTool {
    OSearchCandidateSpec spec;
    std::string name;
    std::vector<int> pairs;  // indices into the class pairs
};

// The difference grid: cells of material where the reference images of different classes
// differ, over the bounding box of the reference parts.
struct OSearchGrid {
    int columns = 0, rows = 0;
    int firstColumn = 0, endColumn = 0;  // bounding box, end exclusive
    int firstRow = 0, endRow = 0;
    int cellWidth = 1, cellHeight = 1;
    std::vector<double> cells;  // column-major: cells[i * rows + j]
    double At(int i, int j) const { return cells[static_cast<size_t>(i * rows + j)]; }
    int iColumnStart(int i) const { return firstColumn + i * cellWidth; }
    int iColumnEnd(int i) const { return i + 1 == columns ? endColumn : iColumnStart(i + 1); }
    int iRowStart(int j) const { return firstRow + j * cellHeight; }
    int iRowEnd(int j) const { return j + 1 == rows ? endRow : iRowStart(j + 1); }
};

struct OToolSearchStats {
    int64_t tried = 0;    // candidates generated and scored
    int64_t kept = 0;     // candidates kept during generation
    int64_t checked = 0;  // of those, kept after the check on the teach parts
    int selected = 0;
    int stages = 0;  // stages that ran
    bool cancelled = false;
};

class OToolSearch {
  public:
    explicit OToolSearch(OToolSearchInput input);

    // Runs the whole search: reference parts, grid, candidate stages, the check on the teach
    // parts and the selection. Cancelling ends the generation early; the candidates kept so
    // far are still checked and selected.
    void Run(OToolSearchObserver& observer, const std::atomic<int>& cancel, const Clock& clock);

    const std::vector<OSelectedTool>& Selected() const { return m_selected; }
    const OToolSearchStats& Stats() const { return m_stats; }
    const OSearchClasses& Classes() const { return m_classes; }
    const OSearchGrid& Grid() const { return m_grid; }
    // The reference parts: per class the union and the intersection of its contours.
    const std::vector<OSearchPart>& ReferenceParts() const { return m_references; }
    // The score every class pair should reach.
    int iTargetScore() const { return m_targetScore; }

    // --- the steps, for tests ---
    void BuildReferenceParts();
    // The difference image as a run list (empty with fewer than two classes).
    std::vector<int16_t> DifferenceImage() const;
    void BuildGrid(std::span<const int16_t> difference);
    // Checks the candidates on the teach parts and drops those scoring below kMinScore.
    void CheckOnTeachParts(std::vector<OSearchCandidate>& candidates) const;
    // Chooses at most `count` candidates greedily and names them after the pairs assigned
    // to them, in the order of first assignment.
    std::vector<OSelectedTool> Select(std::vector<OSearchCandidate> candidates, int count,
                                      OToolSearchObserver* observer) const;

  private:
    class OStage;
    void RunStages(OToolSearchObserver& observer, const std::atomic<int>& cancel,
                   const Clock& clock);
    double dStripStage(int kind, int begin, int end, double budget, OToolSearchObserver& observer,
                       const std::atomic<int>& cancel, const Clock& clock);
    double dRoiStage(int columnBegin, int columnEnd, int rowBegin, int rowEnd, double budget,
                     OToolSearchObserver& observer, const std::atomic<int>& cancel,
                     const Clock& clock);
    bool bKindAllowed(int kind) const;

    OToolSearchInput m_input;
    OSearchClasses m_classes;
    std::vector<OSearchPart> m_references;
    OSearchGrid m_grid;
    int m_targetScore = 0;
    int m_rowMin = 0, m_rowMax = 0;  // material rows of the reference parts, end exclusive
    int m_referenceColumns = 0;      // largest column count of the reference parts
    double m_progressSeconds = 1.0;  // progress position at the start of the running stage
    std::vector<OSearchCandidate> m_candidates;
    std::vector<OSelectedTool> m_selected;
    OToolSearchStats m_stats;
};

// The status line of a running stage: kept and tried candidates of the stage.
std::string ToolSearchStageStatus(int kind, int64_t kept, int64_t tried);
