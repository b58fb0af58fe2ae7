// The part list view (form 198 in a plain child frame, window key "PARTLIST"): the sample
// parts of the actual check program on the left and its test parts on the right, each
// with its sort selector (1007, 1006) and list (1164, 1165); between them the buttons that
// copy (1178 ">", 1179 "<"), move (1175 ">>", 1176 "<<") and delete (1177, 1180) the
// selected parts; above them the view's toolbar, below them its status bar with the test
// statistics. What the lists show and what the user's actions do is decided by
// PartListDisplay and OPartListController; this window shows it and passes the events on.
#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <map>
#include <vector>

#include "document/OPartListController.h"
#include "document/ui/OViewWidget.h"

class ODoc;
class OPartListModel;
class OPartListWidget;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QStatusBar;
class QToolBar;

class OView_PartList : public QWidget, public OViewWidget {
    Q_OBJECT
  public:
    // Control ids of the form.
    static constexpr int kSampleSort = 1007;
    static constexpr int kTestSort = 1006;
    static constexpr int kSampleList = 1164;
    static constexpr int kTestList = 1165;
    static constexpr int kCopyToTest = 1178;
    static constexpr int kCopyToSample = 1179;
    static constexpr int kMoveToTest = 1175;
    static constexpr int kMoveToSample = 1176;
    static constexpr int kDeleteSample = 1177;
    static constexpr int kDeleteTest = 1180;
    static constexpr int kContextMenu = 245;
    // The delay after which a list's selection goes to the parts.
    static constexpr int kSelectionDelayMs = 200;
    static constexpr std::array<int, 3> kStatusPaneWidths = {120, 120, 140};

    OView_PartList(ODoc& doc, QWidget* parent = nullptr);
    ~OView_PartList() override;

    // --- OViewWidget ---
    void OnUpdate() override;
    std::optional<OCommandState> ViewCommandState(int commandId) override;
    bool bOnViewCommand(int commandId) override;

    OPartListController& Controller() { return m_controller; }
    OPartListWidget* List(bool sample) const { return m_lists[Slot(sample)].list; }
    OPartListModel* Model(bool sample) const { return m_lists[Slot(sample)].model; }
    QComboBox* SortSelector(bool sample) const { return m_lists[Slot(sample)].sort; }
    QTimer* SelectionTimer(bool sample) { return &m_lists[Slot(sample)].timer; }
    QPushButton* Button(int controlId) const;
    QLabel* StatusPane(int index) const;
    QToolBar* Toolbar() const { return m_toolbar; }
    // Hands a pending list selection over to the parts now, as the timers would.
    void TakeOverSelection();
    // The context menu (245) as the right click opens it, with its entries' states.
    QMenu* CreateContextMenu();
    QSize sizeHint() const override;

  private:
    struct OListPane {
        OPartListWidget* list = nullptr;
        OPartListModel* model = nullptr;
        QComboBox* sort = nullptr;
        QTimer timer;
        int lastShown = -2;
        int lastSelected = -1;
        std::vector<OPartListRow> rows;
    };
    static size_t Slot(bool sample) { return sample ? 0 : 1; }

    void BuildToolbar();
    QWidget* BuildForm();
    QWidget* BuildButtons();
    void BuildStatusBar();
    void ConnectList(bool sample);
    void Clear();
    void RefreshList(bool sample, const OPartListSettings& settings);
    void SyncSelection(bool sample);
    void FitColumn(bool sample);
    void UpdateButtons();
    void UpdateToolbar();
    void OnSelectionChanged(bool sample);
    void OnTimer(bool sample);
    void OnButton(int controlId);
    void OnDrop(bool sample, const std::string& format, const QByteArray& bytes);
    void ShowContextMenu(bool sample, const QPoint& globalPos, int row);
    // A command of the view's toolbar or context menu, as the main menu would run it.
    OCommandState StateOf(int commandId);
    void RunCommand(int commandId);

    ODoc& m_doc;
    OPartListController m_controller;
    std::array<OListPane, 2> m_lists;
    std::map<int, QPushButton*> m_buttons;
    QToolBar* m_toolbar = nullptr;
    std::map<int, QAction*> m_toolbarActions;
    QTimer m_toolbarTimer;
    QStatusBar* m_statusBar = nullptr;
    std::array<QLabel*, 3> m_panes{};
    bool m_refreshing = false;
};
