// The headless side of the family-2 part contour view (OExtr_KVT's window): which picture
// is shown, what lies under the pointer, the tape measure, the tools' drawing data, what a
// click grips and what a finished drag commits, and the view's own commands. The Qt window
// forwards its events here and paints what this returns.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <opencv2/core.hpp>

#include "extraction/OKvtView.h"
#include "platform/CommandState.h"
#include "tools/kvt/OKvtDrawing.h"

class OExtr_KVT;
class OExtractorHost;
class OKvtViewHost;
class ZRINFO;
class OType_ConfigTool_KVT;
class OType_Part;
class OType_ZRPartSet;

namespace KvtViewCommand {
inline constexpr int kSwitchImage = 32897;
inline constexpr int kShowUnselectedTools = 32991;
inline constexpr int kRenameFeature = 33046;
inline constexpr int kResetFeatureNames = 33049;
inline constexpr int kMoveUp = 32901;
inline constexpr int kMoveDown = 32902;
inline constexpr int kToolClipboardFormat = 5342;  // string id of the family-2 format name
inline constexpr int kContextMenu = 243;
}  // namespace KvtViewCommand

// The picture the view shows: a camera image, or the contour drawn as a picture; empty when
// the part has none (only the scales are painted then).
struct OKvtShownPicture {
    cv::Mat pixels;  // CV_8UC1 or CV_8UC3 (R, G, B); shares the part's buffer
    int width = 0;
    int height = 0;
    int layers = 0;  // 0 none, 1 grey, 3 colour
    bool contour = false;
    bool bIsEmpty() const { return width <= 0 || height <= 0; }
};

// A tool as the view draws it.
struct OKvtToolOnView {
    int index = -1;
    bool selected = false;
    OKvtDrawing drawing;
};

struct OKvtLeftButtonDown {
    enum class Action { None, TrackTool, TapeMeasure };
    Action action = Action::None;
    int tool = -1;
    KvtShapeTracker::Grip grip = KvtShapeTracker::Grip::None;
    OKvtRegion region{};  // the tool's region when the drag began
};

class OKvtViewController {
  public:
    OKvtViewController(OExtr_KVT& engine, OExtractorHost& host, OKvtViewHost& viewHost);

    OExtr_KVT& Engine() const { return m_engine; }
    OExtractorHost& Host() const { return m_host; }
    OKvtViewHost& ViewHost() const { return m_viewHost; }
    OType_ZRPartSet* PartSet() const;

    void SetClientSize(int width, int height);
    int iGetClientWidth() const { return m_width; }
    int iGetClientHeight() const { return m_height; }
    OKvtViewMapping Mapping() const;

    // --- what is shown ---
    // Follows the selected tool's image choice unless the user switched by command (and the
    // options let the view switch by itself).
    void SyncShownImage();
    OKvtShownPicture ShownPicture() const;
    // The picture of the part set's shown part: camera image `shownImage`, or the contour
    // (-1) drawn for the device's image height.
    static OKvtShownPicture PictureOf(const OType_ZRPartSet* partSet, int shownImage,
                                      const ZRINFO& deviceInfo);
    // Whether pointer and tape measure give world coordinates: the part set transforms
    // coordinates and has a transformer.
    bool bShowsWorld() const;
    // The tools to draw, in list order: the selected one always, the others when the
    // positions of unselected tools are shown. The measurement of the shown part gives what
    // each tool found; without a part only the regions are drawn.
    std::vector<OKvtToolOnView> ToolsToDraw() const;

    // --- pointer and tape measure ---
    KvtViewText::OPointerInfo PointerInfo(OPoint window) const;
    std::string OnMouseMove(OPoint window);
    std::vector<std::string> TapeMeasureText() const;

    // --- mouse ---
    OKvtLeftButtonDown OnLeftButtonDown(OPoint window);
    void OnLeftButtonUp();
    // A drag of the tracker ended with the region `after`: applied to the tool, recomputed,
    // one undo step, all views updated. False when nothing changed or the tool refused it.
    bool OnToolTracked(int tool, const OKvtRegion& after);
    // The region a drag gives now (refused steps keep the last good one: `current`).
    OKvtRegion TrackedRegion(const OKvtLeftButtonDown& down, OPoint pressWindow, OPoint window,
                             const OKvtRegion& current) const;
    // Opens the tool's pages when the double click hits the selected tool's region.
    void OnLeftDoubleClick(OPoint window);
    bool OnWheel(bool towardsUser, OPoint window);
    // The zoom of the slider: 1 shows the whole picture; the range keeps its centre.
    void SetZoom(double zoom);
    double dGetZoom() const;

    // --- commands ---
    OCommandState GetCommandState(int id);
    // False when `id` is not executed here.
    bool bExecute(int id);
    bool bSwitchImage();
    bool bToggleUnselectedTools();
    bool bRenameFeature();
    bool bResetFeatureNames();
    bool bDeleteSelected();
    bool bToggleQualityUse();
    bool bTapeMeasureSettings();

  private:
    std::vector<OKvtDrawing> MeasureDrawings(const OType_ZRPartSet& partSet,
                                             const OType_Part* part) const;
    void SyncSelection();
    int iSelectedFeature() const;
    OType_ConfigTool_KVT* SelectedTool() const;
    // Applies a new region to the tool, recomputes, stores the undo step, updates the views.
    void CommitRegion(OType_ZRPartSet& partSet, OType_ConfigTool_KVT& tool,
                      const OKvtRegion& region);

    OExtr_KVT& m_engine;
    OExtractorHost& m_host;
    OKvtViewHost& m_viewHost;
    int m_width = 0;
    int m_height = 0;
};
