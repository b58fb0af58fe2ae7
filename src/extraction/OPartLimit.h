// The part limit of the lists: what happens when a teach or test list holds more parts than
// the device session allows.
#pragma once

#include <span>

class OType_ZRPartSet;
class UserInteraction;

namespace PartLimitPolicy {
inline constexpr int kAsk = 0;
inline constexpr int kRemoveNewest = 1;  // from the end of each list's sort order
inline constexpr int kRaise = 2;         // (and any other value) the maximum becomes largest + 5
inline constexpr int kRemoveOldest = 3;  // from the start of each list's sort order
}  // namespace PartLimitPolicy

struct OPartLimitOutcome {
    bool teachPartsRemoved = false;
    bool testPartsRemoved = false;
    bool raised = false;
};

// Enforces `maximum` on every list of the part sets by `policy`; policy 0 asks the user
// (Yes raises the maximum, No removes the oldest parts). `maximum` is raised in place.
OPartLimitOutcome EnforcePartLimit(std::span<OType_ZRPartSet* const> partSets, int& maximum,
                                   int policy, UserInteraction& ui);
