// The data output manager window (template 189, window key "DEVICEDATAIOMANAGER"): a
// toolbar with add, previous / next, the drop-down list of the actual check program's data
// outputs, copy, paste, delete, move up / down, undo and redo; the property sheet with the
// selected output's pages (or the placeholder page), an Apply button and a status pane with
// the selection's text. ODataOutputManagerController decides what is listed and shown and
// carries out the commands. The toolbar's layout is kept under "DEVICEDATAIOMANAGER".
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <map>
#include <string>

#include "document/ui/OViewWidget.h"
#include "managers/ODataOutputManagerController.h"
#include "managers/ui/OSheet_ConfigToolManager.h"

class ODoc;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QToolBar;

// The manager's sheet: the placeholder page or the selected data output's own pages.
class OSheet_DeviceDataIOManager : public OSheet_ConfigToolManager {
    Q_OBJECT
  public:
    explicit OSheet_DeviceDataIOManager(QWidget* parent = nullptr)
        : OSheet_ConfigToolManager(parent) {
        setObjectName("OSheet_DeviceDataIOManager");
    }
};

class OView_DeviceDataIOManager : public QMainWindow, public OViewWidget {
    Q_OBJECT

  public:
    static constexpr int kContextMenu = 283;
    static constexpr const char* kBarProfile = "DEVICEDATAIOMANAGER";

    explicit OView_DeviceDataIOManager(ODoc& doc, QWidget* parent = nullptr);
    ~OView_DeviceDataIOManager() override;

    // --- OViewWidget ---
    void OnUpdate() override;
    void CommitPendingEdits() override;
    std::optional<OCommandState> ViewCommandState(int commandId) override;
    bool bOnViewCommand(int commandId) override;

    ODataOutputManagerController& Controller() { return m_controller; }
    OSheet_DeviceDataIOManager* Sheet() const { return m_sheet; }
    QComboBox* OutputList() const { return m_list; }
    QToolBar* Toolbar() const { return m_toolbar; }
    QAction* ToolbarAction(int commandId) const;
    QPushButton* ApplyButton() const { return m_apply; }
    QLabel* StatusPane() const { return m_status; }
    // Applies what the user changed on the pages (35115); false when a value was refused.
    bool bApplyPages();
    // The context menu (283) with its entries' states.
    QMenu* CreateContextMenu();
    QSize sizeHint() const override;

  protected:
    void hideEvent(QHideEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void BuildToolbar();
    void FillList();
    // Rebuilds the sheet when another output is selected or its values changed elsewhere.
    void ShowPages(bool force);
    bool bApplyEdits();
    void UpdateToolbar();
    void RunCommand(int commandId);
    void RestoreBars();
    void SaveBars();

    ODoc& m_doc;
    ODataOutputManagerController m_controller;
    QToolBar* m_toolbar = nullptr;
    QComboBox* m_list = nullptr;
    std::map<int, QAction*> m_actions;
    OSheet_DeviceDataIOManager* m_sheet = nullptr;
    QPushButton* m_apply = nullptr;
    QLabel* m_status = nullptr;
    QTimer m_toolbarTimer;
    const OType_DeviceDataIO* m_shown = nullptr;
    std::string m_shownSignature;
    bool m_updating = false;
    bool m_applying = false;
    bool m_barsRestored = false;
};
