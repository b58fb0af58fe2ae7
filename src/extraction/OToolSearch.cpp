#include "extraction/OToolSearch.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "extraction/OContourCombine.h"
#include "model/strings/FormatPrintf.h"
#include "platform/Clock.h"
#include "platform/ParallelFor.h"
#include "tools/ContourToolTypes.h"

namespace {

// Per step size (large, medium, small).
struct OStripSteps {
    int minimumSize;
    double positionFactor;
    double shrinkFactor;
};
constexpr OStripSteps kStripSteps[] = {{15, 0.5, 0.5}, {8, 0.25, 0.3}, {3, 0.2, 0.2}};

struct ORoiSteps {
    int minimumSide;
    double stepFactor;
    int aspectStepTenths;
    int64_t minimumArea;
};
constexpr ORoiSteps kRoiSteps[] = {{20, 0.8, 20, 400}, {10, 0.5, 10, 100}, {4, 0.3, 5, 36}};

constexpr int kStripModes[] = {PlacementMode::kFromStart, PlacementMode::kFromBaseLine,
                               PlacementMode::kFromEnd};
constexpr int kRoiModes[] = {PlacementMode::kFromEnd, PlacementMode::kFromStart,
                             PlacementMode::kFromBaseLine};
constexpr int kCToolSubKinds[] = {ContourFeatureType::kContourArea,
                                  ContourFeatureType::kContourHeight,
                                  ContourFeatureType::kContourWidth};

// Candidates checked on the teach parts at once (their class ranges are held together).
constexpr size_t kCheckChunk = 16384;

double Seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

bool bHasMaterial(std::span<const int16_t> runs) {
    OContourColumns columns;
    columns.Build(runs);
    return columns.bHasMaterial();
}

}  // namespace

std::string ToolSearchStageStatus(int kind, int64_t kept, int64_t tried) {
    const char* name = kind == ContourToolKind::kCTool    ? "CTool"
                       : kind == ContourToolKind::kVStrip ? "VStrip"
                                                          : "ROI";
    return FormatPrintf("Searching tools, please wait ...    (%s: %4.0lf / %4.0lf )", name,
                        static_cast<double>(kept), static_cast<double>(tried));
}

int OSearchCandidate::iSum() const {
    int sum = 0;
    for (const OPairScore& s : scores)
        sum += s.score;
    return sum;
}

// One candidate stage: scores the candidates it is offered on the reference parts, keeps
// the good ones and decides when the stage ends.
class OToolSearch::OStage {
  public:
    OStage(OToolSearch& search, int kind, double budget, OToolSearchObserver& observer,
           const std::atomic<int>& cancel, const Clock& clock)
        : m_search(search),
          m_kind(kind),
          m_budget(budget),
          m_observer(observer),
          m_cancel(cancel),
          m_clock(clock),
          m_start(clock.Now()),
          m_evaluator(search.m_classes) {}

    // Scores one candidate; false when the stage ends.
    bool bOffer(const OSearchCandidateSpec& spec) {
        m_scores.clear();
        const int score = m_evaluator.iScore(spec, m_search.m_references, m_scores);
        ++m_tried;
        ++m_search.m_stats.tried;
        bool go = true;
        if (score >= ToolSearch::kMinScore) {
            if (m_search.m_candidates.size() >= ToolSearch::kCandidateCapacity) {
                go = false;
            } else {
                m_search.m_candidates.push_back({spec, m_scores});
                ++m_kept;
                ++m_search.m_stats.kept;
                if (score >= m_search.m_targetScore) go = false;
                m_observer.SetStatus(ToolSearchStageStatus(m_kind, m_kept, m_tried));
            }
        }
        if (m_kept > ToolSearch::kKeptPerStage) go = false;
        if (m_tried % ToolSearch::kBatch == 0) {
            const double elapsed = dElapsed();
            if (elapsed > m_budget) go = false;
            m_observer.SetPosition(static_cast<int>(m_search.m_progressSeconds + elapsed));
            m_observer.SetStatus(ToolSearchStageStatus(m_kind, m_kept, m_tried));
            m_observer.Pump();
            if (m_cancel.load()) {
                m_search.m_stats.cancelled = true;
                go = false;
            }
        }
        return go;
    }

    double dElapsed() const { return Seconds(m_clock.Now() - m_start); }

  private:
    OToolSearch& m_search;
    int m_kind;
    double m_budget;
    OToolSearchObserver& m_observer;
    const std::atomic<int>& m_cancel;
    const Clock& m_clock;
    std::chrono::steady_clock::time_point m_start;
    OToolSearchEvaluator m_evaluator;
    std::vector<OPairScore> m_scores;
    int64_t m_tried = 0;
    int64_t m_kept = 0;
};

OToolSearch::OToolSearch(OToolSearchInput input)
    : m_input(std::move(input)), m_classes(m_input.rules) {}

bool OToolSearch::bKindAllowed(int kind) const {
    switch (kind) {
        case ContourToolKind::kROI:
            return m_input.allowROI;
        case ContourToolKind::kVStrip:
            return m_input.allowVStrip;
        case ContourToolKind::kCTool:
            return m_input.allowCTool;
        default:
            return false;
    }
}

void OToolSearch::BuildReferenceParts() {
    std::vector<std::vector<const std::vector<int16_t>*>> bySlot(ToolSearch::kSlots);
    for (const OToolSearchPartInput& part : m_input.parts) {
        const int slot = m_classes.iSlotOf(part.orientation, part.type);
        if (slot < 0 || part.runs.size() < 2) continue;
        bySlot[static_cast<size_t>(slot)].push_back(&part.runs);
    }
    std::vector<int> slots;
    for (int s = 0; s < ToolSearch::kSlots; ++s) {
        if (!bySlot[static_cast<size_t>(s)].empty()) slots.push_back(s);
    }
    // The union and the intersection of each class, classes spread over the threads.
    std::vector<std::vector<int16_t>> unions(slots.size()), intersections(slots.size());
    ParallelFor(m_input.threads, slots.size(), [&](size_t i) {
        const auto& contours = bySlot[static_cast<size_t>(slots[i])];
        std::vector<int16_t> u = *contours.front(), a = *contours.front();
        for (size_t k = 1; k < contours.size(); ++k) {
            u = CombineContours(u, *contours[k], ContourCombineOp::Or);
            a = CombineContours(a, *contours[k], ContourCombineOp::And);
        }
        unions[i] = bHasMaterial(u) ? std::move(u) : std::vector<int16_t>();
        intersections[i] = bHasMaterial(a) ? std::move(a) : std::vector<int16_t>();
    });
    std::vector<int> present;
    for (size_t i = 0; i < slots.size(); ++i) {
        if (!unions[i].empty()) present.push_back(slots[i]);
    }
    m_classes.SetPresent(present);
    m_references.clear();
    for (size_t i = 0; i < slots.size(); ++i) {
        const int index = m_classes.iIndexOfSlot(slots[i]);
        if (index < 0) continue;
        m_references.push_back({index, OContourPartIndex(unions[i])});
        if (!intersections[i].empty())
            m_references.push_back({index, OContourPartIndex(intersections[i])});
    }

    // The bounding box of the reference parts and the score every pair should reach.
    int highestOrientation = 0, highestType = 0;
    for (int c = 0; c < m_classes.iCount(); ++c) {
        highestOrientation =
            std::max(highestOrientation, OSearchClasses::iSlotOrientation(m_classes.iSlotAt(c)));
        highestType = std::max(highestType, OSearchClasses::iSlotType(m_classes.iSlotAt(c)));
    }
    m_targetScore = std::max(highestOrientation, 1) * std::max(highestType, 1) * 128;
    m_rowMin = m_rowMax = 0;
    m_grid = OSearchGrid();
    m_referenceColumns = 0;
    bool first = true;
    for (const OSearchPart& ref : m_references) {
        const OContourColumns& columns = ref.index.Columns();
        int firstColumn = -1, lastColumn = -1;
        for (int c = 0; c < columns.iGetColumns(); ++c) {
            if (!columns.Summary(c).bHasMaterial()) continue;
            if (firstColumn < 0) firstColumn = c;
            lastColumn = c;
        }
        m_referenceColumns = std::max(m_referenceColumns, columns.iGetColumns());
        if (first) {
            m_rowMin = columns.iGetMaterialTop();
            m_rowMax = columns.iGetMaterialBottom();
            m_grid.firstColumn = firstColumn;
            m_grid.endColumn = lastColumn + 1;
            first = false;
            continue;
        }
        m_rowMin = std::min(m_rowMin, columns.iGetMaterialTop());
        m_rowMax = std::max(m_rowMax, columns.iGetMaterialBottom());
        m_grid.firstColumn = std::min(m_grid.firstColumn, firstColumn);
        m_grid.endColumn = std::max(m_grid.endColumn, lastColumn + 1);
    }
    m_grid.firstRow = m_rowMin;
    m_grid.endRow = m_rowMax;
}

std::vector<int16_t> OToolSearch::DifferenceImage() const {
    // The first reference part of each class is its union.
    std::vector<const OContourPartIndex*> unions(static_cast<size_t>(m_classes.iCount()), nullptr);
    for (const OSearchPart& ref : m_references) {
        auto& u = unions[static_cast<size_t>(ref.classIndex)];
        if (!u) u = &ref.index;
    }
    std::vector<int16_t> difference;
    for (size_t x = 0; x < unions.size(); ++x) {
        for (size_t y = x + 1; y < unions.size(); ++y) {
            const std::vector<int16_t> delta = CombineContours(
                unions[x]->Columns().Runs(), unions[y]->Columns().Runs(), ContourCombineOp::Xor);
            difference = CombineContours(difference, delta, ContourCombineOp::Or);
        }
    }
    return difference;
}

void OToolSearch::BuildGrid(std::span<const int16_t> difference) {
    OSearchGrid& g = m_grid;
    const int columnSpan = std::max(1, g.endColumn - g.firstColumn);
    const int rowSpan = std::max(1, g.endRow - g.firstRow);
    g.columns = columnSpan > 999 ? 20 : std::max(1, columnSpan / 50);
    g.rows = rowSpan >= 1000 ? 20 : std::max(1, rowSpan / 50);
    g.cellWidth = std::max(1, columnSpan / g.columns);
    g.cellHeight = std::max(1, rowSpan / g.rows);
    g.cells.assign(static_cast<size_t>(g.columns * g.rows), 0.0);
    OContourColumns columns;
    columns.Build(difference);
    for (int x = std::max(0, g.firstColumn); x < std::min(columns.iGetColumns(), g.endColumn);
         ++x) {
        const int i = std::min(g.columns - 1, (x - g.firstColumn) / g.cellWidth);
        const std::span<const int16_t> values = columns.ColumnValues(x);
        for (size_t v = 0; v + 1 < values.size(); v += 2) {
            const OContourRun run = ContourRunAt(values, v);
            for (int j = 0; j < g.rows; ++j) {
                const int overlap =
                    std::min(run.bottom, g.iRowEnd(j)) - std::max(run.top, g.iRowStart(j));
                if (overlap > 0) g.cells[static_cast<size_t>(i * g.rows + j)] += overlap;
            }
        }
    }
}

double OToolSearch::dStripStage(int kind, int begin, int end, double budget,
                                OToolSearchObserver& observer, const std::atomic<int>& cancel,
                                const Clock& clock) {
    if (cancel.load() || !bKindAllowed(kind)) return 0.0;
    ++m_stats.stages;
    OStage stage(*this, kind, budget, observer, cancel, clock);
    const OStripSteps& steps = kStripSteps[static_cast<int>(m_input.step)];
    const int length = end - begin;
    const int last = m_referenceColumns - 1;
    for (int mode : kStripModes) {
        // Every row of the parts: absolute, or counted from each part's lowest row.
        const ORect rows = mode == PlacementMode::kFromBaseLine
                               ? ORect{0, 0, 0, m_rowMax - 1 - m_rowMin}
                               : ORect{0, m_rowMin, 0, m_rowMax - 1};
        for (int s = steps.minimumSize + static_cast<int>(0.75 * length); s >= steps.minimumSize;
             s -= static_cast<int>(s * steps.shrinkFactor) + 2) {
            const int stride = static_cast<int>(s * steps.positionFactor) + 2;
            for (int p = begin; p <= end - s; p += stride) {
                ORect region{p, rows.top, p + s - 1, rows.bottom};
                if (mode == PlacementMode::kFromEnd) {
                    region.left = last - (p + s - 1);
                    region.right = last - p;
                }
                if (kind == ContourToolKind::kVStrip) {
                    if (!stage.bOffer({kind, ContourFeatureType::kStripArea, mode, region}))
                        return stage.dElapsed();
                    continue;
                }
                for (int subKind : kCToolSubKinds) {
                    if (!stage.bOffer({kind, subKind, mode, region})) return stage.dElapsed();
                }
            }
        }
    }
    return stage.dElapsed();
}

double OToolSearch::dRoiStage(int columnBegin, int columnEnd, int rowBegin, int rowEnd,
                              double budget, OToolSearchObserver& observer,
                              const std::atomic<int>& cancel, const Clock& clock) {
    if (cancel.load() || !bKindAllowed(ContourToolKind::kROI)) return 0.0;
    ++m_stats.stages;
    OStage stage(*this, ContourToolKind::kROI, budget, observer, cancel, clock);
    const ORoiSteps& steps = kRoiSteps[static_cast<int>(m_input.step)];
    const int width = columnEnd - columnBegin;
    const int height = rowEnd - rowBegin;
    const int last = m_referenceColumns - 1;
    for (int mode : kRoiModes) {
        for (int tenths = 10; tenths < 100; tenths += steps.aspectStepTenths) {
            const double aspect = tenths / 10.0;
            for (int64_t area = int64_t{width} * height / 4 + steps.minimumArea;
                 area > steps.minimumArea;
                 area -= static_cast<int64_t>(area * steps.stepFactor) + 25) {
                const int a = static_cast<int>(std::sqrt(area * aspect));
                const int b = static_cast<int>(std::sqrt(area / aspect));
                const std::pair<int, int> shapes[] = {{a, b}, {b, a}};
                for (int turn = 0; turn < (tenths > 10 ? 2 : 1); ++turn) {
                    const auto [w, h] = shapes[turn];
                    if (w < steps.minimumSide || h < steps.minimumSide || w > width || h > height)
                        continue;
                    const int xStride = static_cast<int>(w * steps.stepFactor) + 1;
                    const int yStride = static_cast<int>(h * steps.stepFactor) + 1;
                    for (int x = columnBegin; x + w <= columnEnd; x += xStride) {
                        for (int y = rowBegin; y + h <= rowEnd; y += yStride) {
                            ORect region{x, y, x + w - 1, y + h - 1};
                            if (mode == PlacementMode::kFromEnd) {
                                region.left = last - (x + w - 1);
                                region.right = last - x;
                            } else if (mode == PlacementMode::kFromBaseLine) {
                                region.top -= m_rowMin;
                                region.bottom -= m_rowMin;
                            }
                            if (!stage.bOffer({ContourToolKind::kROI, ContourFeatureType::kRoiArea,
                                               mode, region}))
                                return stage.dElapsed();
                        }
                    }
                }
            }
        }
    }
    return stage.dElapsed();
}

void OToolSearch::RunStages(OToolSearchObserver& observer, const std::atomic<int>& cancel,
                            const Clock& clock) {
    const OSearchGrid& g = m_grid;
    const auto different = [&](int i, int j) { return g.At(i, j) > ToolSearch::kDifferentCell; };
    std::vector<bool> differentColumn(static_cast<size_t>(g.columns), false);
    int q = 0, differentCells = 0;
    for (int i = 0; i < g.columns; ++i) {
        for (int j = 0; j < g.rows; ++j) {
            if (!different(i, j)) continue;
            differentColumn[static_cast<size_t>(i)] = true;
            ++differentCells;
        }
        if (differentColumn[static_cast<size_t>(i)]) ++q;
    }
    if (q == 0) return;
    const double total = m_input.maxMinutes * 60.0;
    double remaining = total;
    const auto spend = [&](double elapsed) {
        remaining -= elapsed;
        m_progressSeconds = 1.0 + (total - remaining);
    };
    // Strips over every block of adjacent different grid columns.
    for (int j0 = 0; j0 < g.columns;) {
        if (!differentColumn[static_cast<size_t>(j0)]) {
            ++j0;
            continue;
        }
        int t = j0;
        while (t < g.columns && differentColumn[static_cast<size_t>(t)])
            ++t;
        const int begin = g.iColumnStart(j0), end = g.iColumnEnd(t - 1);
        spend(dStripStage(ContourToolKind::kCTool, begin, end, (t - j0) * (remaining * 0.3) / q,
                          observer, cancel, clock));
        spend(dStripStage(ContourToolKind::kVStrip, begin, end, (t - j0) * (remaining * 0.4) / q,
                          observer, cancel, clock));
        j0 = t;
    }
    // Rectangles over the different cells, grown to the right and then upwards.
    std::vector<bool> used(g.cells.size(), false);
    const auto free = [&](int i, int j) {
        return different(i, j) && !used[static_cast<size_t>(i * g.rows + j)];
    };
    for (int j = 0; j < g.rows; ++j) {
        for (int i = 0; i < g.columns; ++i) {
            if (!free(i, j)) continue;
            int w = 1;
            while (i + w < g.columns && free(i + w, j))
                ++w;
            int h = 1;
            while (j + h < g.rows) {
                bool row = true;
                for (int k = i; k < i + w && row; ++k)
                    row = free(k, j + h);
                if (!row) break;
                ++h;
            }
            for (int a = i; a < i + w; ++a) {
                for (int b = j; b < j + h; ++b)
                    used[static_cast<size_t>(a * g.rows + b)] = true;
            }
            const double budget = static_cast<double>(w * h) * remaining / differentCells + 1.0;
            spend(dRoiStage(g.iColumnStart(i), g.iColumnEnd(i + w - 1), g.iRowStart(j),
                            g.iRowEnd(j + h - 1), budget, observer, cancel, clock));
        }
    }
}

void OToolSearch::CheckOnTeachParts(std::vector<OSearchCandidate>& candidates) const {
    struct OTeachPart {
        const std::vector<int16_t>* runs;
        int classIndex;
    };
    std::vector<OTeachPart> parts;
    for (const OToolSearchPartInput& part : m_input.parts) {
        if (part.runs.size() < 2) continue;
        const int index = m_classes.iIndexOf(part.orientation, part.type);
        if (index >= 0) parts.push_back({&part.runs, index});
    }
    const size_t classes = static_cast<size_t>(m_classes.iCount());
    std::vector<OClassRange> ranges;
    for (size_t chunk = 0; chunk < candidates.size(); chunk += kCheckChunk) {
        const size_t count = std::min(kCheckChunk, candidates.size() - chunk);
        ranges.assign(count * classes, OClassRange());
        ParallelShares(m_input.threads, count, [&](int, size_t begin, size_t end) {
            OToolSearchEvaluator evaluator(m_classes);
            OContourPartIndex index;
            for (const OTeachPart& part : parts) {
                index.Build(*part.runs);
                for (size_t c = begin; c < end; ++c) {
                    const double v = evaluator.dValue(candidates[chunk + c].spec, index);
                    ranges[c * classes + static_cast<size_t>(part.classIndex)].Add(v);
                }
            }
            for (size_t c = begin; c < end; ++c) {
                std::vector<OPairScore>& scores = candidates[chunk + c].scores;
                scores.clear();
                evaluator.iScoreRanges(std::span(ranges).subspan(c * classes, classes), scores);
            }
        });
    }
    std::erase_if(candidates,
                  [](const OSearchCandidate& c) { return c.iSum() < ToolSearch::kMinScore; });
}

std::vector<OSelectedTool> OToolSearch::Select(std::vector<OSearchCandidate> candidates, int count,
                                               OToolSearchObserver* observer) const {
    const size_t pairs = m_classes.Pairs().size();
    std::vector<int> owner(pairs, -1);
    std::vector<int> best(pairs, 0);
    std::vector<bool> settled(pairs, false);
    const bool stepping = observer && candidates.size() >= 500;
    if (stepping) observer->SetRange(0, static_cast<int>(candidates.size()));
    int chosenCount = 0;
    while (chosenCount < count) {
        std::fill(best.begin(), best.end(), 0);
        int chosen = -1, chosenSum = 0;
        for (int c = static_cast<int>(candidates.size()) - 1; c >= 0; --c) {
            const OSearchCandidate& candidate = candidates[static_cast<size_t>(c)];
            const int sum = candidate.iSum();
            if (sum > chosenSum) {
                chosenSum = sum;
                chosen = c;
            }
            for (const OPairScore& s : candidate.scores)
                best[s.pair] = std::max(best[s.pair], static_cast<int>(s.score));
            if (stepping) observer->SetPosition(static_cast<int>(candidates.size()) - c);
        }
        if (chosen < 0) break;
        std::fill(settled.begin(), settled.end(), false);
        bool assigned = false;
        for (const OPairScore& s : candidates[static_cast<size_t>(chosen)].scores) {
            if (s.score == 0 || !(s.score > 15 || s.score == best[s.pair])) continue;
            owner[s.pair] = chosen;
            settled[s.pair] = true;
            assigned = true;
        }
        if (assigned) {
            ++chosenCount;
            for (OSearchCandidate& candidate : candidates) {
                for (OPairScore& s : candidate.scores) {
                    if (settled[s.pair]) s.score = 0;
                }
            }
        } else {
            // Every pair of the candidate is better served by another one: it would be
            // chosen again and again, so it leaves the race.
            for (OPairScore& s : candidates[static_cast<size_t>(chosen)].scores)
                s.score = 0;
        }
        if (observer) observer->Pump();
    }
    // Named after their pairs, in the order of first assignment.
    std::vector<OSelectedTool> selected;
    std::vector<int> position(candidates.size(), -1);
    for (size_t p = 0; p < pairs; ++p) {
        const int c = owner[p];
        if (c < 0) continue;
        int& at = position[static_cast<size_t>(c)];
        const std::string name = m_classes.PairName(static_cast<int>(p));
        if (at < 0) {
            at = static_cast<int>(selected.size());
            selected.push_back({candidates[static_cast<size_t>(c)].spec, name, {}});
        } else {
            selected[static_cast<size_t>(at)].name += "," + name;
        }
        selected[static_cast<size_t>(at)].pairs.push_back(static_cast<int>(p));
    }
    return selected;
}

void OToolSearch::Run(OToolSearchObserver& observer, const std::atomic<int>& cancel,
                      const Clock& clock) {
    m_stats = OToolSearchStats();
    m_candidates.clear();
    m_selected.clear();
    const double total = m_input.maxMinutes * 60.0;
    observer.SetRange(0, static_cast<int>(std::ceil(total)));
    observer.SetPosition(1);
    m_progressSeconds = 1.0;
    BuildReferenceParts();
    if (m_classes.iCount() > 1) {
        BuildGrid(DifferenceImage());
        RunStages(observer, cancel, clock);
    }
    m_references.clear();
    if (cancel.load()) m_stats.cancelled = true;
    observer.SetStatus(FormatPrintf("%d Tools were found; selecting now, please wait...",
                                    static_cast<long long>(m_candidates.size())));
    CheckOnTeachParts(m_candidates);
    m_stats.checked = static_cast<int64_t>(m_candidates.size());
    m_selected = Select(std::move(m_candidates), m_input.freeSlots, &observer);
    m_candidates.clear();
    m_stats.selected = static_cast<int>(m_selected.size());
}
