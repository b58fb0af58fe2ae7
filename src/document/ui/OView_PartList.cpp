#include "document/ui/OView_PartList.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/Artwork.h"
#include "app/ui/OViewScreenshot.h"
#include "document/CommandIds.h"
#include "document/CommandTable.h"
#include "document/ODoc.h"
#include "document/ui/OPartListModel.h"
#include "document/ui/OPartListWidget.h"
#include "document/ui/PartListIcons.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kToolbarUpdateMs = 250;
// Entries whose text is the longest are measured when the column is fitted.
constexpr size_t kMeasuredRows = 24;

const std::vector<int>& ToolbarCommands() {
    static const std::vector<int> commands = {
        Cmd::kEditCut,
        Cmd::kEditCopy,
        Cmd::kEditPaste,
        Cmd::kEditDelete,
        0,
        Cmd::kPartProperties,
        0,
        Cmd::kPrevPart,
        Cmd::kNextPart,
        Cmd::kSwitchTeachTest,
        0,
        Cmd::kScreenshotToClipboard,
        Cmd::kScreenshotToFile,
    };
    return commands;
}

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The menu text of a command with its shortcut after a tab, as menus show it.
QString MenuText(int id) {
    const OCommandInfo* info = FindCommand(id);
    return info ? Q(info->text) : QString::number(id);
}

}  // namespace

OView_PartList::OView_PartList(ODoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_controller(doc) {
    setObjectName("198");
    setToolTip(QString());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildToolbar();
    layout->addWidget(m_toolbar);
    layout->addWidget(BuildForm(), 1);
    BuildStatusBar();
    layout->addWidget(m_statusBar);
    for (bool sample : {true, false})
        ConnectList(sample);
    connect(&m_toolbarTimer, &QTimer::timeout, this, [this] {
        if (isVisible()) UpdateToolbar();
    });
    m_toolbarTimer.start(kToolbarUpdateMs);
    OnUpdate();
}

OView_PartList::~OView_PartList() {
    m_toolbarTimer.stop();
    for (OListPane& pane : m_lists)
        pane.timer.stop();
}

QSize OView_PartList::sizeHint() const {
    return {720, 480};
}

// --- building ---

void OView_PartList::BuildToolbar() {
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName("129");
    m_toolbar->setIconSize(QSize(16, 16));
    for (int id : ToolbarCommands()) {
        if (id == 0) {
            m_toolbar->addSeparator();
            continue;
        }
        const OCommandInfo* info = FindCommand(id);
        QAction* action = m_toolbar->addAction(Artwork::CommandIcon(id),
                                               info ? Q(PlainLabel(info->text)) : QString());
        action->setObjectName(QString::number(id));
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        m_toolbarActions[id] = action;
    }
}

QWidget* OView_PartList::BuildForm() {
    auto* form = new QWidget(this);
    auto* grid = new QGridLayout(form);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setHorizontalSpacing(6);
    const auto icons = PartListIcons::Icons();
    for (bool sample : {true, false}) {
        OListPane& pane = m_lists[Slot(sample)];
        const int column = sample ? 0 : 2;
        auto* heading = new QHBoxLayout;
        auto* label =
            new QLabel(sample ? "Sample parts, sorted by..." : "Test parts, sorted by...", form);
        pane.sort = new QComboBox(form);
        pane.sort->setObjectName(QString::number(sample ? kSampleSort : kTestSort));
        for (const std::string& name : PartListDisplay::SortNames())
            pane.sort->addItem(Q(name));
        label->setBuddy(pane.sort);
        heading->addWidget(label);
        heading->addWidget(pane.sort, 1);
        grid->addLayout(heading, 0, column);
        pane.list = new OPartListWidget(sample ? kSampleList : kTestList, sample, form);
        pane.model = new OPartListModel(icons, pane.list);
        pane.list->setModel(pane.model);
        pane.list->setIconSize(QSize(PartListIcons::kSize, PartListIcons::kSize));
        std::vector<std::string> formats;
        for (const std::string& format : OPartListController::PartFormats())
            formats.push_back(format);
        pane.list->SetAcceptedFormats(std::move(formats));
        grid->addWidget(pane.list, 1, column);
        pane.timer.setSingleShot(true);
        pane.timer.setInterval(kSelectionDelayMs);
        pane.timer.setObjectName(sample ? "timer2" : "timer3");
    }
    grid->addWidget(BuildButtons(), 1, 1, Qt::AlignTop);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(1, 1);
    return form;
}

QWidget* OView_PartList::BuildButtons() {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 24, 0, 0);
    struct OButton {
        int id;
        const char* text;
        const char* tip;
    };
    const auto add = [&](const char* caption, std::initializer_list<OButton> buttons) {
        auto* label = new QLabel(caption, box);
        label->setAlignment(Qt::AlignCenter);
        column->addWidget(label);
        auto* row = new QHBoxLayout;
        row->setSpacing(2);
        for (const OButton& b : buttons) {
            auto* button = new QPushButton(b.text, box);
            button->setObjectName(QString::number(b.id));
            button->setToolTip(b.tip);
            button->setFixedWidth(buttons.size() > 1 && caption == std::string("Delete") ? 23 : 48);
            button->setFocusPolicy(Qt::NoFocus);
            connect(button, &QPushButton::clicked, this, [this, id = b.id] { OnButton(id); });
            m_buttons[b.id] = button;
            if (caption == std::string("Delete")) {
                row->addWidget(button);
            } else {
                column->addWidget(button, 0, Qt::AlignHCenter);
            }
        }
        if (row->count() > 0) {
            column->addLayout(row);
        } else {
            delete row;
        }
        column->addSpacing(10);
    };
    add("Copy", {{kCopyToTest, ">", "Copy the selected sample parts to the test parts"},
                 {kCopyToSample, "<", "Copy the selected test parts to the sample parts"}});
    add("Move", {{kMoveToTest, ">>", "Move the selected sample parts to the test parts"},
                 {kMoveToSample, "<<", "Move the selected test parts to the sample parts"}});
    add("Delete", {{kDeleteSample, "<", "Delete the selected sample parts"},
                   {kDeleteTest, ">", "Delete the selected test parts"}});
    column->addStretch(1);
    return box;
}

void OView_PartList::BuildStatusBar() {
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName("statusBar");
    m_statusBar->setSizeGripEnabled(false);
    for (size_t i = 0; i < m_panes.size(); ++i) {
        auto* pane = new QLabel(" ", m_statusBar);
        pane->setObjectName(QString("pane%1").arg(i));
        pane->setFixedWidth(kStatusPaneWidths[i]);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_statusBar->addWidget(pane);
        m_panes[i] = pane;
    }
}

void OView_PartList::ConnectList(bool sample) {
    OListPane& pane = m_lists[Slot(sample)];
    OPartListWidget* list = pane.list;
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this, sample] { OnSelectionChanged(sample); });
    connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, sample] { OnSelectionChanged(sample); });
    connect(&pane.timer, &QTimer::timeout, this, [this, sample] { OnTimer(sample); });
    connect(list, &OPartListWidget::focused, this, [this](bool s) {
        m_controller.SetFocusedList(s);
        UpdateToolbar();
    });
    connect(list, &QAbstractItemView::clicked, this, [this, sample](const QModelIndex& index) {
        OListPane& p = m_lists[Slot(sample)];
        p.timer.stop();
        m_controller.OnClick(sample, p.list->SelectedRows(), index.row());
    });
    connect(list, &QAbstractItemView::doubleClicked, this,
            [this, sample](const QModelIndex& index) {
                OListPane& p = m_lists[Slot(sample)];
                p.timer.stop();
                m_controller.OnDoubleClick(sample, p.list->SelectedRows(), index.row());
            });
    connect(list, &OPartListWidget::arrowKey, this, [this](bool s, int step) {
        TakeOverSelection();
        m_controller.OnArrowKey(s, step);
    });
    connect(list, &OPartListWidget::contextMenuAt, this, &OView_PartList::ShowContextMenu);
    connect(list, &OPartListWidget::resized, this, &OView_PartList::FitColumn);
    // A drop is handled once the drag has ended, so that a message does not hold it.
    connect(list, &OPartListWidget::partsDropped, this, &OView_PartList::OnDrop,
            Qt::QueuedConnection);
    list->SetDragProvider([this, sample] {
        TakeOverSelection();
        OPartListTransfer transfer = m_controller.DragData(sample);
        return std::make_pair(std::move(transfer.format), std::move(transfer.bytes));
    });
    connect(pane.sort, qOverload<int>(&QComboBox::activated), this, [this, sample](int index) {
        TakeOverSelection();
        m_controller.OnSortSelection(sample, index);
    });
}

// --- refresh ---

void OView_PartList::Clear() {
    m_refreshing = true;
    for (OListPane& pane : m_lists) {
        std::vector<OPartListRow> none;
        pane.model->SetRows(none);
        pane.lastShown = -2;
        pane.lastSelected = -1;
    }
    for (QLabel* pane : m_panes)
        pane->setText(" ");
    m_refreshing = false;
    UpdateButtons();
}

void OView_PartList::OnUpdate() {
    if (m_doc.iGetBusy()) return;
    OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!set) {
        Clear();
        return;
    }
    const OPartListSettings settings = m_controller.Settings();
    m_refreshing = true;
    for (bool sample : {true, false})
        RefreshList(sample, settings);
    const auto panes = PartListDisplay::StatusPanes(set->TestParts(), settings);
    for (size_t i = 0; i < panes.size(); ++i)
        m_panes[i]->setText(Q(panes[i]));
    m_refreshing = false;
    UpdateButtons();
    UpdateToolbar();
}

void OView_PartList::RefreshList(bool sample, const OPartListSettings& settings) {
    OListPane& pane = m_lists[Slot(sample)];
    m_controller.FollowShownPart(sample);
    const OType_PartArray& list = *m_controller.opList(sample);
    const OType_ZRPartSet& set = *m_doc.opGetActualPartSet();
    PartListDisplay::BuildRows(list, sample, settings, pane.rows);
    const int shown = m_controller.iShownPosition(sample);
    const int selected = m_controller.iSelectedCount(sample);
    const bool fastPath = pane.model->rowCount() == list.iGetSize() && shown == pane.lastShown &&
                          selected == pane.lastSelected && pane.model->Rows() == pane.rows;
    if (!fastPath) {
        if (pane.model->SetRows(pane.rows) > 0) FitColumn(sample);
        pane.model->SetHeading(Q(PartListDisplay::ColumnHeading(list, set)));
        pane.model->SetToolTipProvider([this, sample](int row) -> QString {
            const OType_ZRPartSet* s = m_doc.opGetActualPartSet();
            const OType_PartArray* l = m_controller.opList(sample);
            const OType_Part* part = l ? l->GetAt(row) : nullptr;
            if (!s || !part) return {};
            return Q(PartListDisplay::ToolTip(*part, sample, *l, *s, m_controller.Settings()));
        });
    }
    if (pane.sort->currentIndex() != static_cast<int>(list.GetSortType()))
        pane.sort->setCurrentIndex(static_cast<int>(list.GetSortType()));
    SyncSelection(sample);
    if (!fastPath && shown >= 0) {
        const QModelIndex index = pane.model->index(shown);
        pane.list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        pane.list->scrollTo(index);
    }
    pane.lastShown = shown;
    pane.lastSelected = selected;
}

void OView_PartList::SyncSelection(bool sample) {
    OListPane& pane = m_lists[Slot(sample)];
    const OType_PartArray& list = *m_controller.opList(sample);
    QItemSelection selection;
    int start = -1;
    for (int i = 0; i <= list.iGetSize(); ++i) {
        const bool selected = i < list.iGetSize() && list.GetAt(i)->bIsSelected();
        if (selected && start < 0) start = i;
        if (!selected && start >= 0) {
            selection.select(pane.model->index(start), pane.model->index(i - 1));
            start = -1;
        }
    }
    if (selection != pane.list->selectionModel()->selection())
        pane.list->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void OView_PartList::FitColumn(bool sample) {
    OListPane& pane = m_lists[Slot(sample)];
    const std::vector<OPartListRow>& rows = pane.model->Rows();
    // The widest entries are among the longest texts; only those are measured.
    std::vector<size_t> longest(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        longest[i] = i;
    const size_t measured = std::min(kMeasuredRows, longest.size());
    std::partial_sort(
        longest.begin(), longest.begin() + static_cast<std::ptrdiff_t>(measured), longest.end(),
        [&](size_t a, size_t b) { return rows[a].text.size() > rows[b].text.size(); });
    const QFontMetrics metrics(pane.list->font());
    int width = metrics.horizontalAdvance(
                    pane.model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString()) +
                16;
    for (size_t i = 0; i < measured; ++i)
        width = std::max(width, metrics.horizontalAdvance(Q(rows[longest[i]].text)));
    width += PartListIcons::kSize + 16;
    pane.list->setColumnWidth(0, std::max(width, pane.list->viewport()->width()));
}

void OView_PartList::UpdateButtons() {
    const bool sampleSelection = m_lists[0].list->selectionModel()->hasSelection();
    const bool testSelection = m_lists[1].list->selectionModel()->hasSelection();
    for (int id : {kCopyToTest, kMoveToTest, kDeleteSample})
        m_buttons[id]->setEnabled(sampleSelection);
    for (int id : {kCopyToSample, kMoveToSample, kDeleteTest})
        m_buttons[id]->setEnabled(testSelection);
}

void OView_PartList::UpdateToolbar() {
    for (const auto& [id, action] : m_toolbarActions) {
        const OCommandState state = StateOf(id);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checked || id == Cmd::kSwitchTeachTest);
        action->setChecked(state.checked);
    }
}

// --- the user's actions ---

void OView_PartList::OnSelectionChanged(bool sample) {
    UpdateButtons();
    if (m_refreshing) return;
    m_lists[Slot(sample)].timer.start();
}

void OView_PartList::OnTimer(bool sample) {
    OListPane& pane = m_lists[Slot(sample)];
    const QModelIndex current = pane.list->currentIndex();
    m_controller.OnSelectionTimer(sample, pane.list->SelectedRows(),
                                  current.isValid() ? current.row() : -1);
    UpdateToolbar();
}

void OView_PartList::TakeOverSelection() {
    for (bool sample : {true, false}) {
        OListPane& pane = m_lists[Slot(sample)];
        if (!pane.timer.isActive()) continue;
        pane.timer.stop();
        OnTimer(sample);
    }
}

void OView_PartList::OnButton(int id) {
    TakeOverSelection();
    switch (id) {
        case kCopyToTest:
            m_controller.CopyParts(true, false);
            break;
        case kCopyToSample:
            m_controller.CopyParts(false, false);
            break;
        case kMoveToTest:
            m_controller.CopyParts(true, true);
            break;
        case kMoveToSample:
            m_controller.CopyParts(false, true);
            break;
        case kDeleteSample:
            m_controller.DeleteSelectedParts(true);
            break;
        case kDeleteTest:
            m_controller.DeleteSelectedParts(false);
            break;
        default:
            break;
    }
}

void OView_PartList::OnDrop(bool sample, const std::string& format, const QByteArray& bytes) {
    TakeOverSelection();
    m_controller.bAddParts(sample, format,
                           std::span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                     static_cast<size_t>(bytes.size())));
}

QPushButton* OView_PartList::Button(int id) const {
    const auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

QLabel* OView_PartList::StatusPane(int index) const {
    return index >= 0 && index < static_cast<int>(m_panes.size())
               ? m_panes[static_cast<size_t>(index)]
               : nullptr;
}

// --- commands ---

std::optional<OCommandState> OView_PartList::ViewCommandState(int id) {
    if (OPartListController::bIsViewCommand(id)) return m_controller.CommandState(id);
    if (id == Cmd::kScreenshotToClipboard || id == Cmd::kScreenshotToFile)
        return OCommandState{true, false, std::nullopt};
    return std::nullopt;
}

bool OView_PartList::bOnViewCommand(int id) {
    // Whatever the command, it acts on the selection the user sees.
    TakeOverSelection();
    if (m_controller.bExecute(id)) return true;
    return ViewScreenshot::bRunCommand(id, *this, m_doc.UI(), m_doc.GetLastFolder());
}

OCommandState OView_PartList::StateOf(int id) {
    return RoutedState(id);
}

void OView_PartList::RunCommand(int id) {
    RouteCommand(id);
    UpdateToolbar();
}

QMenu* OView_PartList::CreateContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QString::number(kContextMenu));
    const auto add = [this](QMenu* to, int id) {
        QAction* action = to->addAction(MenuText(id));
        action->setObjectName(QString::number(id));
        const OCommandState state = StateOf(id);
        action->setEnabled(state.enabled);
        if (state.checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    };
    add(menu, Cmd::kEditSelectAll);
    menu->addSeparator();
    for (int id : {Cmd::kEditCut, Cmd::kEditCopy, Cmd::kEditPaste, Cmd::kEditDelete})
        add(menu, id);
    menu->addSeparator();
    add(menu, Cmd::kPartProperties);
    menu->addSeparator();
    QMenu* orientations = menu->addMenu("Assign &orientation");
    for (int n = 0; n < 8; ++n)
        add(orientations, Cmd::kAssignOrientationFirst + n);
    QMenu* types = menu->addMenu("Assign t&ype");
    for (int id : Cmd::kAssignTypeCommands)
        add(types, id);
    menu->addSeparator();
    add(menu, Cmd::kUseParts);
    add(menu, Cmd::kIgnoreParts);
    return menu;
}

void OView_PartList::ShowContextMenu(bool sample, const QPoint& globalPos, int row) {
    OListPane& pane = m_lists[Slot(sample)];
    pane.timer.stop();
    m_controller.OnClick(sample, pane.list->SelectedRows(), row);
    m_doc.Views().ActivateFrame(ViewKind::PartList);
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}
