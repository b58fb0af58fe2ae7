// The main frame: an MDI window titled with the document title, with the menus and the
// main toolbar built from the command table, the status bar with its four panes and the
// progress bar over pane 1, the part-set bar and the project-wizard bar. It is the
// document's ViewHost (child frames of the views) and shows the progress of long
// operations.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <map>
#include <vector>

#include "document/ViewHost.h"
#include "document/ui/OViewWidget.h"
#include "model/draw/OPrintableSequence.h"
#include "platform/ProgressDisplay.h"

class OApp;
class OBar_ProjectWizardWindow;
class OFrame_Child;
class QAction;
class QComboBox;
class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;
class QToolBar;
struct OWindowPlacement;

class OFrame_Main : public QMainWindow,
                    public ViewHost,
                    public ProgressDisplay,
                    public OCommandRouter {
    Q_OBJECT
  public:
    static constexpr int kActionUpdateMs = 250;

    OFrame_Main();
    ~OFrame_Main() override;

    void SetApplication(OApp* app) { m_app = app; }
    // Menus, toolbar and status bar; once, when the frame is created.
    void BuildFrame();

    QMdiArea* MdiArea() const { return m_mdi; }
    QStatusBar* StatusBarWidget() const;
    QLabel* Pane(int index) const;
    QProgressBar* ProgressBar() const { return m_progressBar; }
    QToolBar* MainToolbar() const { return m_mainToolbar; }
    QToolBar* PartSetBar() const { return m_partSetBar; }
    OBar_ProjectWizardWindow* WizardBar() const { return m_wizardBar; }
    QAction* Action(int commandId) const;
    OFrame_Child* Frame(ViewKind kind) const;
    // The printouts of the open views of these kinds, in this order, as one print job.
    OPrintableSequence Printout(const std::vector<ViewKind>& kinds, const std::string& title) const;
    // Asks the state of every action of the menu (as before it opens).
    void UpdateMenu(QMenu* menu);
    // Asks the state of every command (the toolbar and the shortcuts follow it).
    void UpdateActions();
    // Places the progress bar over pane 1.
    void PlaceProgressBar();
    void ExecuteFrameCommand(int commandId);
    // The view of the current child frame (the pane with the focus in a split frame).
    OViewWidget* CurrentView() const;

    // --- OCommandRouter: the view first, then the application and the document ---
    void ExecuteCommand(int commandId, OViewWidget* from) override;
    OCommandState CommandState(int commandId, OViewWidget* from) override;
    bool bExecuteInView(ViewKind kind, int commandId) override;
    std::optional<OCommandState> StateInView(ViewKind kind, int commandId) override;
    bool bIsFrameCommandChecked(int commandId) const;
    // Stores the placement of every child frame with a window key.
    void SaveFramePlacements();

    // --- ViewHost ---
    bool bCanCreateView(ViewKind kind) const override;
    bool bHasView(ViewKind kind) const override;
    bool bCreateView(ViewKind kind, int templateId) override;
    void DestroyView(ViewKind kind) override;
    std::vector<ViewKind> Views() const override;
    bool bIsFrameMinimised(ViewKind kind) const override;
    bool bIsFrameVisible(ViewKind kind) const override;
    void RestoreFrame(ViewKind kind) override;
    void ShowFrame(ViewKind kind, bool shown) override;
    void ActivateFrame(ViewKind kind) override;
    void RestoreFramePlacement(ViewKind kind, std::string_view windowKey) override;
    OFrameRect FrameRect(ViewKind kind) const override;
    void MoveFrame(ViewKind kind, int left, int top) override;
    OFrameRect MainClientRect() const override;
    void ReactivateLastFrame() override;
    void UpdateView(ViewKind kind) override;
    void SetLinkPaneTexts(const std::string& connection, const std::string& mode) override;
    void UpdateAllViews() override;
    void CommitPendingEdits(ViewKind kind) override;
    void SetDocumentTitle(const std::string& title) override;
    bool bHasWizardBar() const override;
    void ShowWizardBar(bool shown) override;
    void UpdateWizardBar() override;
    bool bHasPartSetBar() const override;
    void ShowPartSetBar(const std::vector<std::string>& partSets, int actual) override;
    void RemovePartSetBar() override;
    void RepaintMainFrame() override;
    void RecalcLayout() override;
    void BringMainWindowToFront() override;
    bool bPrintViews(const std::vector<ViewKind>& kinds, const std::string& title) override;
    int64_t FocusedWindow() const override;
    void RestoreFocus(int64_t window) override;

    // --- ProgressDisplay ---
    void ShowProgress(int percent) override;
    void ShowStatusText(std::string_view text) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    QMenu* MenuFor(const QString& path);
    void Execute(int commandId);
    void UpdateAction(QAction* action);
    void UpdateChildCaptions();
    // Shrinks and moves a child frame in its normal state so that it lies within the visible
    // part of the frame area (a new frame, or a placement saved on a larger screen).
    void KeepInsideFrameArea(QWidget& frame) const;
    int iFamily() const;
    // The views a command from `from` is offered to, in order.
    std::vector<OViewWidget*> ViewRoute(OViewWidget* from) const;
    void ForgetFrame(OFrame_Child* frame);
    OWindowPlacement PlacementOf(const OFrame_Child& frame) const;

    OApp* m_app = nullptr;
    QMdiArea* m_mdi = nullptr;
    std::vector<QLabel*> m_panes;
    QWidget* m_progressPane = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QToolBar* m_mainToolbar = nullptr;
    QToolBar* m_partSetBar = nullptr;
    QComboBox* m_partSetSelector = nullptr;
    OBar_ProjectWizardWindow* m_wizardBar = nullptr;
    std::map<QString, QMenu*> m_menus;
    std::map<int, QAction*> m_actions;
    std::vector<QPointer<OFrame_Child>> m_frames;  // creation order
    std::map<int64_t, QPointer<QWidget>> m_focusWidgets;
    QTimer m_toolbarTimer;
    bool m_built = false;
};
