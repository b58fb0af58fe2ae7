// The classes the automatic tool search tells apart, the class pairs it compares and how a
// candidate's feature values score on them.
//
// A class is an orientation together with a part type. Orientations count only when the
// project detects them and types only when it detects types; otherwise they all read 1. The
// search handles orientations up to 6 and types up to 8; parts beyond take no part, and so do
// parts with orientation or type 0 unless unassigned parts are included. Ignored parts
// (negative orientation) never take part.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ToolSearch {
inline constexpr int kMaxOrientations = 6;
inline constexpr int kMaxTypes = 8;
// Class slots: orientation 0 .. 6 times type 0 .. 8 (0 only for unassigned parts).
inline constexpr int kSlots = (kMaxOrientations + 1) * (kMaxTypes + 1);
// Scores below this do not count: the candidate separates the pair by less than 5 %.
inline constexpr int kMinScore = 4;
}  // namespace ToolSearch

struct OSearchClassRules {
    bool usesOrientations = true;
    bool usesTypes = false;
    bool compareTypes = false;       // within one orientation compare every type pair
    bool includeUnassigned = false;  // orientation or type 0 forms classes of its own
};

// Two classes compared (dense class indices, first < second).
struct OClassPair {
    int first = 0;
    int second = 0;
};

// A candidate's score for one class pair.
struct OPairScore {
    uint16_t pair = 0;
    uint16_t score = 0;
    bool operator==(const OPairScore&) const = default;
};

// Minimum, maximum, sum and count of one class's feature values, as the scoring keeps them:
// the minimum is one below the smallest value, the maximum one above the largest.
struct OClassRange {
    double minimum = 1e20;
    double maximum = -1e20;
    double sum = 0.0;
    int count = 0;
    void Add(double v) {
        if (v < minimum) minimum = v - 1.0;
        if (v > maximum) maximum = v + 1.0;
        sum += v;
        ++count;
    }
};

class OSearchClasses {
  public:
    explicit OSearchClasses(const OSearchClassRules& rules) : m_rules(rules) {}

    const OSearchClassRules& Rules() const { return m_rules; }
    // The slot of a part with this orientation and type, -1 when it takes no part.
    int iSlotOf(int orientation, int type) const;
    static int iSlot(int orientation, int type) {
        return orientation * (ToolSearch::kMaxTypes + 1) + type;
    }
    static int iSlotOrientation(int slot) { return slot / (ToolSearch::kMaxTypes + 1); }
    static int iSlotType(int slot) { return slot % (ToolSearch::kMaxTypes + 1); }

    // Fixes the classes that exist (slots in any order, duplicates allowed) and the pairs
    // compared among them, in slot order.
    void SetPresent(const std::vector<int>& slots);
    int iCount() const { return static_cast<int>(m_slots.size()); }
    int iSlotAt(int index) const { return m_slots[static_cast<size_t>(index)]; }
    // Dense index of a slot, -1 when the class does not exist.
    int iIndexOfSlot(int slot) const;
    // Dense index of a part's class, -1 when it takes no part.
    int iIndexOf(int orientation, int type) const {
        const int slot = iSlotOf(orientation, type);
        return slot < 0 ? -1 : iIndexOfSlot(slot);
    }
    const std::vector<OClassPair>& Pairs() const { return m_pairs; }
    // "o/t->o/t" of a pair: orientation and type of the first class, then of the second.
    std::string PairName(int pair) const;

    // The score of a pair from the two classes' ranges: 0 (not separated at 5 % of the
    // means, or a range narrower than 1e-4), 4, 16, 32, 64 or 128 (separated at 30 %).
    static int iPairScore(const OClassRange& x, const OClassRange& y);
    // Scores of every pair from the class ranges (indexed by dense class); pairs scoring at
    // least kMinScore are appended to `scores`. Returns their sum.
    int iScorePairs(const OClassRange* ranges, std::vector<OPairScore>& scores) const;

  private:
    OSearchClassRules m_rules;
    std::vector<int> m_slots;
    std::vector<int> m_indexOfSlot = std::vector<int>(ToolSearch::kSlots, -1);
    std::vector<OClassPair> m_pairs;
};
