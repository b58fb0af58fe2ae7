#include "extraction/OToolSearchClasses.h"

#include <algorithm>

#include "model/strings/FormatPrintf.h"

int OSearchClasses::iSlotOf(int orientation, int type) const {
    if (orientation < 0) return -1;  // ignored at teach
    const int o = m_rules.usesOrientations ? orientation : 1;
    const int t = m_rules.usesTypes ? type : 1;
    const int lowest = m_rules.includeUnassigned ? 0 : 1;
    if (o < lowest || o > ToolSearch::kMaxOrientations) return -1;
    if (t < lowest || t > ToolSearch::kMaxTypes) return -1;
    return iSlot(o, t);
}

void OSearchClasses::SetPresent(const std::vector<int>& slots) {
    m_slots = slots;
    std::sort(m_slots.begin(), m_slots.end());
    m_slots.erase(std::unique(m_slots.begin(), m_slots.end()), m_slots.end());
    std::fill(m_indexOfSlot.begin(), m_indexOfSlot.end(), -1);
    for (size_t i = 0; i < m_slots.size(); ++i)
        m_indexOfSlot[static_cast<size_t>(m_slots[i])] = static_cast<int>(i);
    m_pairs.clear();
    for (int x = 0; x < iCount(); ++x) {
        for (int y = x + 1; y < iCount(); ++y) {
            const int ox = iSlotOrientation(iSlotAt(x)), oy = iSlotOrientation(iSlotAt(y));
            const int tx = iSlotType(iSlotAt(x)), ty = iSlotType(iSlotAt(y));
            // Different orientations always; within an orientation type 1 against the
            // others, or every type pair when asked.
            const bool compared = ox != oy || m_rules.compareTypes || tx == 1 || ty == 1;
            if (compared) m_pairs.push_back({x, y});
        }
    }
}

int OSearchClasses::iIndexOfSlot(int slot) const {
    if (slot < 0 || slot >= ToolSearch::kSlots) return -1;
    return m_indexOfSlot[static_cast<size_t>(slot)];
}

std::string OSearchClasses::PairName(int pair) const {
    const OClassPair& p = m_pairs[static_cast<size_t>(pair)];
    const int a = iSlotAt(p.first), b = iSlotAt(p.second);
    return FormatPrintf("%d/%d->%d/%d", iSlotOrientation(a), iSlotType(a), iSlotOrientation(b),
                        iSlotType(b));
}

int OSearchClasses::iPairScore(const OClassRange& x, const OClassRange& y) {
    if (x.count == 0 || y.count == 0) return 0;
    if (x.maximum - x.minimum < 1e-4 || y.maximum - y.minimum < 1e-4) return 0;
    const double mx = x.sum / x.count;
    const double my = y.sum / y.count;
    const auto separated = [&](double k) {
        return x.minimum - k * mx > y.maximum + k * my || y.minimum - k * my > x.maximum + k * mx;
    };
    static constexpr struct {
        double margin;
        int score;
    } kLevels[] = {{0.05, 4}, {0.10, 16}, {0.15, 32}, {0.20, 64}, {0.30, 128}};
    int score = 0;
    for (const auto& level : kLevels) {
        if (!separated(level.margin)) break;
        score = level.score;
    }
    return score;
}

int OSearchClasses::iScorePairs(const OClassRange* ranges, std::vector<OPairScore>& scores) const {
    int total = 0;
    for (size_t p = 0; p < m_pairs.size(); ++p) {
        const int s = iPairScore(ranges[m_pairs[p].first], ranges[m_pairs[p].second]);
        if (s < ToolSearch::kMinScore) continue;
        scores.push_back({static_cast<uint16_t>(p), static_cast<uint16_t>(s)});
        total += s;
    }
    return total;
}
