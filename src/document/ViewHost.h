// How the document reaches the windows: the child frames of its views, the main frame's
// bars and captions. The desktop implements it with Qt (QMdiArea); headless programs and
// tests use OViewHost_Recording, which keeps frames as plain records.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The kinds of view the document keeps one of.
enum class ViewKind : int {
    PartList,
    PartContour,
    TeachData,
    FeatureGraph,
    ProjectDocumentation,
    CommunicationManager,
    ToolProperties,
    DataOutput,
    PartFeatures,
    FeatureProperties,
};
inline constexpr int kNumViewKinds = 10;

// Window key under which a frame's placement is kept ("PARTLIST", "EXTRACTOR", ...);
// empty for kinds without one.
std::string_view WindowKey(ViewKind kind);
// The document template a view's frame is made from; the part contour and teach-data
// views depend on the device family (1 or 2).
int TemplateId(ViewKind kind, int family);
// The frame's window title ("Part list", "Teach-Data", ...).
std::string_view ViewTitle(ViewKind kind);
// The command that opens the view (0 for kinds without one).
int ViewCommand(ViewKind kind);

struct OFrameRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int iWidth() const { return right - left; }
    int iHeight() const { return bottom - top; }
    // True when the two rectangles share at least one pixel.
    bool bIntersects(const OFrameRect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    bool operator==(const OFrameRect&) const = default;
};

class ViewHost {
  public:
    virtual ~ViewHost() = default;

    // --- child frames ---
    // Whether this program has a window for the kind.
    virtual bool bCanCreateView(ViewKind kind) const = 0;
    virtual bool bHasView(ViewKind kind) const = 0;
    // Creates the frame and its view from the template and runs the initial update; false
    // when no frame could be made.
    virtual bool bCreateView(ViewKind kind, int templateId) = 0;
    // Destroys the frame (not just hiding it).
    virtual void DestroyView(ViewKind kind) = 0;
    // The views that exist, the first one created first.
    virtual std::vector<ViewKind> Views() const = 0;
    virtual bool bIsFrameMinimised(ViewKind kind) const = 0;
    virtual bool bIsFrameVisible(ViewKind kind) const = 0;
    // Un-minimises the frame.
    virtual void RestoreFrame(ViewKind kind) = 0;
    virtual void ShowFrame(ViewKind kind, bool shown) = 0;
    // Shows the frame, activates it and brings it to the top.
    virtual void ActivateFrame(ViewKind kind) = 0;
    // Applies the placement stored under the window key.
    virtual void RestoreFramePlacement(ViewKind kind, std::string_view windowKey) = 0;
    // The frame's rectangle in the coordinates of the main window's client area.
    virtual OFrameRect FrameRect(ViewKind kind) const = 0;
    virtual void MoveFrame(ViewKind kind, int left, int top) = 0;
    // The main window's client area (left and top are 0).
    virtual OFrameRect MainClientRect() const = 0;
    // Re-activates the last view's frame, so that captions are redrawn.
    virtual void ReactivateLastFrame() = 0;

    // --- updates ---
    virtual void UpdateView(ViewKind kind) = 0;
    virtual void UpdateAllViews() = 0;
    // Takes edits a view has not handed over yet (the project documentation editor).
    virtual void CommitPendingEdits(ViewKind kind) = 0;

    // --- main frame ---
    virtual void SetDocumentTitle(const std::string& title) = 0;
    virtual bool bHasWizardBar() const = 0;
    // Creates the project-wizard bar when missing and shows it, or hides it.
    virtual void ShowWizardBar(bool shown) = 0;
    virtual void UpdateWizardBar() = 0;
    virtual bool bHasPartSetBar() const = 0;
    // Creates the part-set bar when missing and fills its selector.
    virtual void ShowPartSetBar(const std::vector<std::string>& partSets, int actual) = 0;
    virtual void RemovePartSetBar() = 0;
    virtual void RepaintMainFrame() = 0;
    virtual void RecalcLayout() = 0;
    virtual void BringMainWindowToFront() = 0;
    // Prints the views of these kinds that exist, in this order, as one job after the print
    // dialog; false when nothing was printed.
    virtual bool bPrintViews(const std::vector<ViewKind>& /*kinds*/, const std::string& /*title*/) {
        return false;
    }
    // Closes the modal dialog that is open, as if the user pressed Cancel (nothing when none).
    virtual void CancelActiveModalDialog() {}
    // The status bar's two device-link panes (connection, mode).
    virtual void SetLinkPaneTexts(const std::string& /*connection*/, const std::string& /*mode*/) {}
    // The window with the keyboard focus (0 none), and giving it the focus back when it
    // still exists.
    virtual int64_t FocusedWindow() const = 0;
    virtual void RestoreFocus(int64_t window) = 0;
};
