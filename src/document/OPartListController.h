// The headless side of the part list view: what a click, a key, a sort choice, a button,
// a command or a drop does to the parts of the actual check program. The Qt view forwards
// its events here and shows what PartListDisplay computes; it keeps only what needs a
// window (the widgets, the selection timers, drag pictures, screenshots and printing).
//
// The parts' selected flags are the selection the part-editing commands act on. The view
// hands its list selection over when its 200 ms timer fires, on a click and before any
// command. A list follows the shown part: when the shown part changes without the list's
// doing (the part contour view moved on, a part arrived, parts were deleted), the list's
// selection becomes that part alone, so that what is selected is what the user sees.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/PartListDisplay.h"
#include "platform/CommandState.h"

class ODoc;
class OProgressCtrl;
class OType_Part;
class OType_PartArray;
class OType_ZRPartSet;

// The bytes a copy or a drag carries, under the MIME type of the project's family.
struct OPartListTransfer {
    std::string format;
    std::vector<uint8_t> bytes;
};

class OPartListController {
  public:
    explicit OPartListController(ODoc& doc);

    // --- state ---
    OPartListSettings Settings() const;
    // The list the edit commands act on: the one that had the keyboard focus last.
    bool bIsSampleListFocused() const { return m_sampleFocused; }
    void SetFocusedList(bool sample) { m_sampleFocused = sample; }
    // The list of the actual check program; nullptr without one.
    OType_PartArray* opList(bool sample) const;
    // The sort position of the list's shown part; -1 when none is shown.
    int iShownPosition(bool sample) const;
    int iSelectedCount(bool sample) const;

    // --- refresh ---
    // Called before a list is shown again: when its shown part changed without the list's
    // doing, the list's selection becomes that part alone.
    void FollowShownPart(bool sample);

    // --- the user's actions ---
    // The view's selection (sort positions) when its timer fired; current: the row with the
    // focus, which becomes the shown part when it moved.
    void OnSelectionTimer(bool sample, std::span<const int> selectedRows, int currentRow);
    // A click on row `clickedRow` (-1 none) after the list took its selection.
    void OnClick(bool sample, std::span<const int> selectedRows, int clickedRow);
    // A double click: the click, then the part properties of the selection.
    void OnDoubleClick(bool sample, std::span<const int> selectedRows, int clickedRow);
    // Left (-1) or right (+1) arrow key in a list: the previous or next part.
    void OnArrowKey(bool sample, int step);
    // The sort selector chose `sortType` (PartSortType).
    void OnSortSelection(bool sample, int sortType);

    // --- buttons ---
    // Copies (or moves) the selected parts of one list to the other, as far as the part
    // limit lets them in.
    void CopyParts(bool fromSample, bool move);
    void DeleteSelectedParts(bool sample);

    // --- commands: copy, cut, paste, delete, select all, part properties ---
    static bool bIsViewCommand(int commandId);
    OCommandState CommandState(int commandId) const;
    bool bExecute(int commandId);
    // False when nothing was copied (the message is shown).
    bool bCopyToClipboard();
    void Cut();
    void Paste();
    void SelectAll();

    // --- drag and drop ---
    // The selected parts of a list, for a drag.
    OPartListTransfer DragData(bool sample) const;
    // The MIME types of parts of either family.
    static std::array<std::string, 2> PartFormats();
    // Adds dropped or pasted parts to a list, as far as the part limit lets them in; false
    // when none were added (the reason is shown when they were refused).
    bool bAddParts(bool sample, std::string_view format, std::span<const uint8_t> bytes);

    // --- encodings ---
    // The MIME type of parts of a family (1 or 2).
    static std::string PartFormat(int family);
    // The selected parts of a list in list order, one encoding after the other.
    static std::vector<uint8_t> EncodeSelectedParts(const OType_PartArray& list,
                                                    OProgressCtrl* progress);
    // Reads every part of `bytes`; false (and no parts) when any of them is damaged or the
    // bytes hold more than `maxParts`.
    static bool bDecodeParts(std::span<const uint8_t> bytes, size_t maxParts,
                             std::vector<std::unique_ptr<OType_Part>>& parts);

  private:
    OType_ZRPartSet* PartSet() const;
    // The family of the part format the clipboard offers first; -1 none.
    int iOfferedPartFamily() const;
    void TakeSelection(OType_PartArray& list, std::span<const int> selectedRows);
    void ShowPart(bool sample, int position);
    // Whether one more part may go into a list at the part limit: the limit policy
    // decides (0 asks, 1 refuses, 2 raises the limit, others let it in).
    bool bRoomForOneMore(const OType_PartArray& target);
    void ShowAfterRemoval(bool sample, int firstRemoved);
    // Removes the selected parts of a list; the sort position of the first one, -1 none.
    static int iRemoveSelected(OType_PartArray& list);
    void FinishEdit(OType_ZRPartSet& set, bool testOnly, std::string_view undoText);

    ODoc& m_doc;
    bool m_sampleFocused = true;
    // The shown part each list saw last (compared only, never followed).
    std::array<const OType_Part*, 2> m_lastShown{nullptr, nullptr};
};
