// The headless side of the tool manager (OView_ConfigToolManager): the drop-down list of the
// actual check program's tools, which pages the sheet shows for the document's selected
// feature, the information page's lines, applying the pages' values, and moving a tool up or
// down (family 2). The Qt view draws what this returns and forwards the user's actions.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/tools/OPropertyList.h"
#include "platform/CommandState.h"

class ODoc;
class OType_ConfigTool;
class OType_ZRPartSet;
class ZRINFO;

namespace ToolManagerCommand {
inline constexpr int kLinkedToolWindow = 32870;
inline constexpr int kPreviousTool = 33081;
inline constexpr int kNextTool = 33082;
inline constexpr int kSelectTool = 33080;
inline constexpr int kToolSelector = 33092;  // the drop-down list's place in the toolbar
inline constexpr int kCopyTool = 57634;
inline constexpr int kPasteTool = 57637;
inline constexpr int kDeleteTool = 32899;
inline constexpr int kMoveUp = 32901;
inline constexpr int kMoveDown = 32902;
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;
inline constexpr int kApply = 35115;
inline constexpr int kScreenshotToClipboard = 32830;
inline constexpr int kScreenshotToFile = 32829;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kViewCommand = 32791;  // the tool properties view, for undo steps
}  // namespace ToolManagerCommand

namespace ToolManagerText {
// The amount the device's feature numbering is shifted against the tool list's own feature
// counting: (features in all, byte 690) − (tool capacity, byte 692) of a record that holds
// them; the check program's basic-feature count otherwise.
int iNumberingOffset(const ZRINFO* deviceInfo, int fixedFeatures);
// "%d. %s" for a tool of one feature, "%d.-%d. %s" for more, numbered from 1 plus the offset.
std::string EntryText(const OType_ZRPartSet& partSet, int position, int offset);
std::vector<std::string> Entries(const OType_ZRPartSet& partSet, int offset);
// Width of the opened list: the widest entry plus an average character (at least 200),
// plus two edges and a scroll bar, at most 600.
int iDropDownWidth(int widestEntry, int averageChar, int edge, int scrollBar);
// The description of basic contour feature `index` (0 ... 11).
std::string BasicFeatureDescription(int index);
}  // namespace ToolManagerText

// What the sheet holds: no page (no check program), the placeholder page (no feature
// selected), the information page of a basic feature, or the information page followed by
// the tool's own pages.
enum class OToolPageSet { None, Placeholder, BasicFeature, Tool };

struct OToolSheetContent {
    OToolPageSet pages = OToolPageSet::None;
    OType_ConfigTool* tool = nullptr;
    OType_ZRPartSet* partSet = nullptr;  // the check program the tool belongs to
    int feature = -1;                    // the selected feature
    bool operator==(const OToolSheetContent&) const = default;
};

class OToolManagerController {
  public:
    explicit OToolManagerController(ODoc& doc);

    OType_ZRPartSet* PartSet() const;
    int iNumberingOffset() const;
    std::vector<std::string> Entries() const;
    // The entry of the tool that owns the selected feature; -1 when it belongs to none.
    int iSelectedEntry() const;
    // What the sheet should show for the document's selection now.
    OToolSheetContent WantedSheet() const;
    // The information page: a title and label / value lines.
    std::string InfoTitle(const OToolSheetContent& content) const;
    std::vector<std::pair<std::string, std::string>> InfoLines(
        const OToolSheetContent& content) const;
    // The text under the lines: a basic feature's description, the placeholder's hint.
    std::string InfoText(const OToolSheetContent& content) const;
    // The context the tool describes and applies its properties in.
    OPropertyContext Context(const OType_ZRPartSet* partSet) const;
    OPropertyList DescribeProperties(const OToolSheetContent& content) const;

    // 33080: selects the chosen tool's first feature and updates all views.
    void SelectEntry(int index);
    // 35115: applies values to the sheet's tool. Nothing happens without a change; a
    // refused value applies nothing and `error` says why. A change recomputes the tool's
    // check program and stores one undo step.
    bool bApply(const OToolSheetContent& content, const OPropertyValues& values,
                std::string& error);
    // Family 2: moves the selected tool one place up or down unless a tool it depends on
    // (or that depends on it) stands in the way; true when it moved.
    bool bMoveUp();
    bool bMoveDown();
    // States of the commands the manager executes itself (move up / down).
    OCommandState GetCommandState(int id) const;

  private:
    int iSelectedToolPosition() const;
    bool bMove(int direction);

    ODoc& m_doc;
};
