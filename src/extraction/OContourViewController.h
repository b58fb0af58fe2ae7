// The headless side of the family-1 part contour view: what a mouse action or a command
// does, the command states, the status bar texts, the tape measure and the viewing-area
// bars. The Qt window forwards its events here and paints what the engine's state and the
// helpers give; it keeps only what needs a window (rubber band and tracker interaction,
// cursor shapes, the context menu, screenshots and printing).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "extraction/OContourViewMapping.h"
#include "extraction/OContourViewText.h"
#include "platform/CommandState.h"

class OExtr_Default;
class OExtractorHost;
class OContourColumns;
class OType_ConfigTool;
class OType_ZRPartSet;

namespace ContourViewCommand {
inline constexpr int kViewCommand = 32860;  // the part contour view, for undo steps
inline constexpr int kDeletePart = 32882;
inline constexpr int kPartProperties = 32908;
inline constexpr int kCopyTool = 57634;
inline constexpr int kCutTool = 57635;
inline constexpr int kPasteTool = 57637;
inline constexpr int kDelete = 32899;
inline constexpr int kToolProperties = 32900;
inline constexpr int kUseForQuality = 33113;
inline constexpr int kTapeMeasureSettings = 32821;
inline constexpr int kScreenshotToClipboard = 32830;
inline constexpr int kScreenshotToFile = 32829;
inline constexpr int kMagnifier = 32865;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kToolClipboardFormat = 5322;  // string id of the format name
}  // namespace ContourViewCommand

struct OContourMenuEntry {
    int id = 0;
    std::string_view text;
};
// The context menu (resource 237) in its order; the "Add tool..." entries are the
// document's commands.
const std::vector<OContourMenuEntry>& ContourContextMenu();

enum class OContourCursor { Arrow, Measure, Magnifier, TrackerHandle };

struct OLeftButtonDown {
    enum class Action { None, DragLowerBar, DragUpperBar, RubberBand, TrackTool, TapeMeasure };
    Action action = Action::None;
    int tool = -1;    // TrackTool: the tool index
    ORect tracker{};  // TrackTool: its tracker rectangle (window pixels)
};

class OContourViewController {
  public:
    OContourViewController(OExtr_Default& engine, OExtractorHost& host);

    OExtr_Default& Engine() const { return m_engine; }
    OExtractorHost& Host() const { return m_host; }

    void SetClientSize(int width, int height);
    int iGetClientWidth() const { return m_width; }
    int iGetClientHeight() const { return m_height; }
    // The mapping of the engine's current state for this client size.
    OViewMapping Mapping() const;

    // --- mouse ---
    OLeftButtonDown OnLeftButtonDown(OPoint window);
    void OnRubberBandEnded(OPoint start, OPoint end);
    // The user tracked tool `tool` from `before` to `after`; true when it changed.
    bool OnToolTracked(int tool, const ORect& before, const ORect& after);
    // The keyboard: moves the selected tool by (dx, dy) contour pixels and widens it by
    // dWidth and heightens it by dHeight (its left and lower edges stay); false when it has
    // no region or nothing changed. One undo step, as a mouse move.
    bool bNudgeSelectedTool(int dx, int dy, int dWidth, int dHeight);
    // The region after such a step; nullopt when it would not change (or a move would have
    // to change its size at the edge of the coordinate range).
    static std::optional<ORect> NudgedRegion(const ORect& placed, int dx, int dy, int dWidth,
                                             int dHeight);
    // Returns the text of status pane 0.
    std::string OnMouseMove(OPoint window, bool leftButtonDown);
    void OnLeftButtonUp();
    void OnLeftDoubleClick(OPoint window);
    // True when the context menu should open.
    bool OnRightButtonDown(OPoint window);
    void OnRightDoubleClick(OPoint window);
    bool OnWheel(bool towardsUser, OPoint window);
    OContourCursor CursorAt(OPoint window, bool overSelectedToolHandle) const;

    // --- what the window paints ---
    // The four lines of the running tape measure (empty when not measuring).
    std::vector<std::string> TapeMeasureText() const;
    // Keeps the hit rectangles of the viewing-area bars for the visible range.
    void UpdateViewingAreaBars();
    ContourViewText::OStatusPanes StatusPanes();

    // --- commands ---
    OCommandState GetCommandState(int id);
    // False when `id` is not executed here (window concerns and document commands).
    bool bExecute(int id);
    bool bCopyTool();
    bool bCutTool();
    bool bPasteTool();
    bool bDeleteSelected();
    bool bToggleQualityUse();
    bool bTapeMeasureSettings();
    bool bDeleteShownPart();

    // Tools removed together with `tool`: every combination tool, in one pass over the tool
    // list, that reads a tool already collected. The first entry is `tool`.
    static std::vector<int> DependentToolIds(const OType_ZRPartSet& partSet, int tool);
    // Removes the tool and its feature records of every part type.
    static void RemoveTool(OType_ZRPartSet& partSet, int position);
    // The clipboard side of tools, shared by both families' views (`format` names the
    // family's clipboard format): whether a paste is possible now, copying the tool at
    // `position`, and pasting (with the checks, a free name, recompute, undo and update).
    static bool bCanPasteTool(OExtractorHost& host, std::string_view format);
    static bool bCopyToolTo(OExtractorHost& host, const OType_ZRPartSet& partSet, int position,
                            std::string_view format);
    static bool bPasteToolFrom(OExtractorHost& host, std::string_view format);
    // "%s (%s %d)" until no tool carries the name.
    static std::string PasteName(const OType_ZRPartSet& partSet, const std::string& name);

  private:
    OType_ZRPartSet* PartSet() const;
    // Writes the region into the tool, recomputes, stores the undo step, updates the views.
    void CommitToolRegion(OType_ZRPartSet& partSet, OType_ConfigTool& tool, const ORect& region,
                          const OContourColumns& columns);
    void SyncSelection();
    bool bShownDataHasParts() const;
    int iSelectedFeature() const;

    OExtr_Default& m_engine;
    OExtractorHost& m_host;
    int m_width = 0;
    int m_height = 0;
};
