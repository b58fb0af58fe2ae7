// The contour editing commands of the family-1 view and the part list: viewing area on and
// off, the thin-area and hole filters, undo last filter, and combining the selected parts.
// Each works on the actual part set and ends in the document's recompute.
#pragma once

#include "extraction/OContourCombine.h"
#include "platform/CommandState.h"

class OExtractorHost;
class OType_ZRPartSet;

namespace ContourEditCommand {
inline constexpr int kViewingArea = 32887;
inline constexpr int kThinAreas = 32888;
inline constexpr int kHoles = 32823;
inline constexpr int kUndoFilter = 32822;
inline constexpr int kCombineOr = 32826;
inline constexpr int kCombineXor = 32827;
inline constexpr int kCombineAnd = 32832;
inline constexpr int kPromptThinAreas = 3401;
inline constexpr int kPromptHoles = 3402;
inline constexpr int kViewingAreaMessage = 3400;
}  // namespace ContourEditCommand

class OContourEditCommands {
  public:
    explicit OContourEditCommands(OExtractorHost& host) : m_host(host) {}

    // Whether `id` is one of these commands.
    static bool bHandles(int id);
    // Filters and undo need parts in the check program, combining needs parts in the shown
    // list; the viewing area is checked while it is on.
    static OCommandState CommandState(int id, const OType_ZRPartSet* partSet);
    // Runs the command on the actual part set; false when there is none or `id` is not one
    // of these commands.
    bool bExecute(int id);

    void ToggleViewingArea(OType_ZRPartSet& partSet);
    // Asks for the limit and filters every part; false when cancelled.
    bool FilterThinAreas(OType_ZRPartSet& partSet);
    bool FilterHoles(OType_ZRPartSet& partSet);
    void UndoLastFilter(OType_ZRPartSet& partSet);
    // Appends the combination of the selected parts of the shown list to that list.
    void Combine(OType_ZRPartSet& partSet, ContourCombineOp op);
    // The viewing area with the part set's current limits on every part (after a bar of
    // the contour view was dragged).
    void ReapplyViewingArea(OType_ZRPartSet& partSet);

  private:
    bool bAskLimitAndFilter(OType_ZRPartSet& partSet, int kind);
    void Recompute(OType_ZRPartSet& partSet);

    OExtractorHost& m_host;
};
