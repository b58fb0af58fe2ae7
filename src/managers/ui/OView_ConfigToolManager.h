// The tool manager window (template 169, window key "CONFIGTOOLMANAGER"): a toolbar with the
// drop-down list of the actual check program's tools, the property sheet of the tool that
// owns the document's selected feature, an Apply button and a status pane. The headless
// OToolManagerController decides what is listed and shown and applies the values; tool
// copy, paste and delete go to the part contour view, as there. The toolbar's layout is
// kept under "CONFIGTOOLMANAGER".
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <map>
#include <memory>
#include <string>

#include "document/ui/OViewWidget.h"
#include "managers/OToolManagerController.h"
#include "managers/OToolManagerPrintout.h"

class ODoc;
class OSheet_ConfigToolManager;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QToolBar;

class OView_ConfigToolManager : public QMainWindow, public OViewWidget {
    Q_OBJECT

  public:
    static constexpr int kContextMenu = 251;
    static constexpr const char* kBarProfile = "CONFIGTOOLMANAGER";

    OView_ConfigToolManager(ODoc& doc, QWidget* parent = nullptr);
    ~OView_ConfigToolManager() override;

    // --- OViewWidget ---
    void OnUpdate() override;
    void CommitPendingEdits() override;
    std::optional<OCommandState> ViewCommandState(int commandId) override;
    bool bOnViewCommand(int commandId) override;
    OPrintable* opGetPrintable() override;

    OToolManagerController& Controller() { return m_controller; }
    OSheet_ConfigToolManager* Sheet() const { return m_sheet; }
    QComboBox* ToolList() const { return m_list; }
    QToolBar* Toolbar() const { return m_toolbar; }
    QAction* ToolbarAction(int commandId) const;
    QPushButton* ApplyButton() const { return m_apply; }
    QLabel* StatusPane() const { return m_status; }
    const OToolSheetContent& ShownContent() const { return m_shown; }
    // Applies what the user changed on the pages (35115); false when a value was refused.
    bool bApplyPages();
    // The context menu (251) with its entries' states.
    QMenu* CreateContextMenu();
    QSize sizeHint() const override;

  protected:
    void hideEvent(QHideEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void BuildToolbar();
    void FillList();
    // Rebuilds the sheet when the selection moved to another tool or page set, or when the
    // tool's values changed elsewhere (undo, the part contour view) while nothing is edited.
    void ShowPages(bool force);
    // Hands the edited values to the tool without rebuilding the pages.
    bool bApplyEdits();
    void UpdateToolbar();
    void UpdateApplyButton();
    OCommandState StateOf(int commandId);
    void RunCommand(int commandId);
    void ReportRefusal(const std::string& error);
    void RestoreBars();
    void SaveBars();

    ODoc& m_doc;
    OToolManagerController m_controller;
    QToolBar* m_toolbar = nullptr;
    QComboBox* m_list = nullptr;
    std::map<int, QAction*> m_actions;
    OSheet_ConfigToolManager* m_sheet = nullptr;
    QPushButton* m_apply = nullptr;
    QLabel* m_status = nullptr;
    QTimer m_toolbarTimer;
    OToolSheetContent m_shown;
    std::string m_shownSignature;
    std::unique_ptr<OToolManagerPrintout> m_printout;
    bool m_updating = false;
    bool m_applying = false;
    bool m_barsRestored = false;
    bool m_rebuildDue = false;  // applied values are not on the pages yet
};
