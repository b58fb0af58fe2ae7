#include "extraction/OPartLimit.h"

#include <algorithm>

#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kLimitQuestion = 26002;
constexpr int kRaiseMargin = 5;

// Removes parts from one end of the sort order until the list fits; true when any went.
bool Trim(OType_PartArray& list, int maximum, bool newest) {
    bool removed = false;
    const int keep = std::max(maximum, 0);
    while (list.iGetSize() > keep) {
        list.RemoveAt(newest ? list.iGetSize() - 1 : 0);
        removed = true;
    }
    return removed;
}

}  // namespace

OPartLimitOutcome EnforcePartLimit(std::span<OType_ZRPartSet* const> partSets, int& maximum,
                                   int policy, UserInteraction& ui) {
    OPartLimitOutcome outcome;
    int largest = 0;
    for (const OType_ZRPartSet* set : partSets) {
        if (!set) continue;
        largest = std::max({largest, set->TeachParts().iGetSize(), set->TestParts().iGetSize()});
    }
    if (largest <= maximum) return outcome;
    if (policy == PartLimitPolicy::kAsk) {
        const MsgResult answer =
            ui.Message(ResStr(kLimitQuestion), MsgIcon::Question, MsgButtons::YesNo);
        policy =
            answer == MsgResult::Yes ? PartLimitPolicy::kRaise : PartLimitPolicy::kRemoveOldest;
    }
    if (policy != PartLimitPolicy::kRemoveNewest && policy != PartLimitPolicy::kRemoveOldest) {
        maximum = largest + kRaiseMargin;
        outcome.raised = true;
        return outcome;
    }
    const bool newest = policy == PartLimitPolicy::kRemoveNewest;
    for (OType_ZRPartSet* set : partSets) {
        if (!set) continue;
        outcome.teachPartsRemoved |= Trim(set->TeachParts(), maximum, newest);
        outcome.testPartsRemoved |= Trim(set->TestParts(), maximum, newest);
    }
    return outcome;
}
