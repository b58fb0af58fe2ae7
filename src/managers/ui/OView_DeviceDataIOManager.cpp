#include "managers/ui/OView_DeviceDataIOManager.h"
#include "managers/ui/ManagerBars.h"
#include "managers/ui/ManagerContextMenu.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/Artwork.h"
#include "app/ui/OViewScreenshot.h"
#include "document/CommandTable.h"
#include "document/ODoc.h"
#include "managers/OToolManagerController.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/Settings.h"
#include "platform/UserInteraction.h"

namespace {

namespace DC = DataOutputCommand;

constexpr int kToolbarUpdateMs = 250;
constexpr int kListWidth = 200;
constexpr int kPlaceholderText = 27107;
constexpr int kAppliedText = 27108;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString CommandText(int id) {
    const OCommandInfo* info = FindCommand(id);
    return info ? Q(PlainLabel(info->text)) : QString::number(id);
}

// The commands the manager carries out itself.
bool bIsManagerCommand(int id) {
    return id == DC::kAdd || id == DC::kCopy || id == DC::kPaste || id == DC::kDelete ||
           id == DC::kMoveUp || id == DC::kMoveDown;
}

}  // namespace

OView_DeviceDataIOManager::OView_DeviceDataIOManager(ODoc& doc, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_controller(doc) {
    setObjectName("OView_DeviceDataIOManager");
    setWindowFlags(Qt::Widget);
    BuildToolbar();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    m_sheet = new OSheet_DeviceDataIOManager(central);
    layout->addWidget(m_sheet, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_apply = new QPushButton(tr("&Apply"), central);
    m_apply->setObjectName(QString::number(DC::kApply));
    m_apply->setEnabled(false);
    buttons->addWidget(m_apply);
    layout->addLayout(buttons);
    setCentralWidget(central);

    m_status = new QLabel(this);
    m_status->setObjectName("status");
    statusBar()->addWidget(m_status, 1);
    statusBar()->setSizeGripEnabled(false);

    connect(m_apply, &QPushButton::clicked, this, [this] { bApplyPages(); });
    connect(
        m_sheet, &OSheet_ConfigToolManager::applyRequested, this, [this] { bApplyPages(); },
        Qt::QueuedConnection);
    connect(m_sheet, &OSheet_ConfigToolManager::edited, this,
            [this] { m_apply->setEnabled(m_sheet->bIsEdited()); });
    connect(&m_toolbarTimer, &QTimer::timeout, this, [this] {
        if (isVisible()) UpdateToolbar();
    });
    m_toolbarTimer.start(kToolbarUpdateMs);
    OnUpdate();
}

OView_DeviceDataIOManager::~OView_DeviceDataIOManager() {
    m_toolbarTimer.stop();
}

QSize OView_DeviceDataIOManager::sizeHint() const {
    return {520, 520};
}

void OView_DeviceDataIOManager::BuildToolbar() {
    m_toolbar = addToolBar(tr("Data outputs"));
    m_toolbar->setObjectName("189");
    m_toolbar->setIconSize(QSize(16, 16));
    const int commands[] = {
        DC::kAdd,    0, DC::kPrevious, DC::kNext,     DC::kSelect, 0,         DC::kCopy, DC::kPaste,
        DC::kDelete, 0, DC::kMoveUp,   DC::kMoveDown, 0,           DC::kUndo, DC::kRedo};
    for (int id : commands) {
        if (id == 0) {
            m_toolbar->addSeparator();
            continue;
        }
        if (id == DC::kSelect) {
            m_list = new QComboBox(m_toolbar);
            m_list->setObjectName(QString::number(DC::kSelect));
            m_list->setFixedWidth(kListWidth);
            m_list->setToolTip(tr("The data outputs of the check program"));
            m_toolbar->addWidget(m_list);
            connect(m_list, &QComboBox::activated, this, [this](int index) {
                CommitPendingEdits();
                m_controller.SelectEntry(index);
                OnUpdate();
            });
            continue;
        }
        QAction* action = m_toolbar->addAction(Artwork::CommandIcon(id), CommandText(id));
        action->setObjectName(QString::number(id));
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        m_actions[id] = action;
    }
    m_actions[DC::kAdd]->setText(tr("Add data output"));
    m_actions[DC::kCopy]->setText(tr("Copy data output"));
    m_actions[DC::kPaste]->setText(tr("Paste data output"));
    m_actions[DC::kDelete]->setText(tr("Delete data output"));
}

QAction* OView_DeviceDataIOManager::ToolbarAction(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

// --- updates ---

void OView_DeviceDataIOManager::OnUpdate() {
    if (m_updating || m_doc.iGetBusy()) return;
    const QScopedValueRollback guard(m_updating, true);
    if (!m_barsRestored) {
        m_barsRestored = true;
        RestoreBars();
    }
    ShowPages(false);
    FillList();
    if (!m_sheet->bIsEdited()) m_status->setText(Q(m_controller.StatusText()));
    UpdateToolbar();
}

void OView_DeviceDataIOManager::FillList() {
    const std::vector<std::string> entries = m_controller.Entries();
    const QSignalBlocker block(m_list);
    bool same = m_list->count() == static_cast<int>(entries.size());
    for (int i = 0; same && i < m_list->count(); ++i)
        same = m_list->itemText(i) == Q(entries[static_cast<size_t>(i)]);
    if (!same) {
        m_list->clear();
        int widest = 0;
        const QFontMetrics metrics = m_list->view()->fontMetrics();
        for (const std::string& entry : entries) {
            m_list->addItem(Q(entry));
            widest = std::max(widest, metrics.horizontalAdvance(Q(entry)));
        }
        const int edge = m_list->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const int scrollBar = m_list->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        m_list->view()->setMinimumWidth(
            ToolManagerText::iDropDownWidth(widest, metrics.averageCharWidth(), edge, scrollBar));
    }
    m_list->setCurrentIndex(m_controller.iSelectedEntry());
    m_list->setEnabled(!entries.empty());
}

void OView_DeviceDataIOManager::ShowPages(bool force) {
    const OType_DeviceDataIO* wanted = m_controller.Selected();
    // Values typed for the output on show go to it before its pages go.
    if (wanted != m_shown && !m_applying && m_sheet->bIsEdited()) {
        bApplyEdits();
        wanted = m_controller.Selected();
        force = true;
    }
    const OPropertyList properties = m_controller.DescribeProperties();
    const std::string signature = OPropertyPageModel::Signature(properties);
    const bool changedElsewhere = !m_sheet->bIsEdited() && signature != m_shownSignature;
    if (!force && wanted == m_shown && !changedElsewhere) return;
    const int page = wanted == m_shown ? m_sheet->currentIndex() : 0;
    if (!wanted) {
        m_sheet->ShowPlaceholder(ResStr(kPlaceholderText));
    } else {
        m_sheet->ShowPages(properties);
    }
    m_shown = wanted;
    m_shownSignature = signature;
    if (page > 0 && page < m_sheet->count()) m_sheet->setCurrentIndex(page);
    m_apply->setEnabled(false);
}

void OView_DeviceDataIOManager::UpdateToolbar() {
    for (const auto& [id, action] : m_actions)
        action->setEnabled(RoutedState(id).enabled);
}

// --- applying ---

bool OView_DeviceDataIOManager::bApplyPages() {
    if (m_applying || m_updating) return false;
    const bool applied = bApplyEdits();
    if (applied) {
        const QScopedValueRollback guard(m_updating, true);
        ShowPages(true);
        m_status->setText(Q(ResStr(kAppliedText)));
    }
    return applied;
}

bool OView_DeviceDataIOManager::bApplyEdits() {
    if (m_applying) return false;
    const QScopedValueRollback guard(m_applying, true);
    if (!m_sheet->bIsEdited()) return true;
    OPropertyValues values;
    std::string error;
    if (!m_sheet->bCollect(values, error) || !m_controller.bApply(values, error)) {
        if (!error.empty()) {
            m_status->setText(Q(error));
            m_doc.UI().Message(error, MsgIcon::Warning);
        }
        return false;
    }
    return true;
}

void OView_DeviceDataIOManager::CommitPendingEdits() {
    if (m_sheet->bIsEdited()) bApplyEdits();
}

void OView_DeviceDataIOManager::hideEvent(QHideEvent* event) {
    if (!m_updating) CommitPendingEdits();
    if (m_barsRestored) SaveBars();
    QMainWindow::hideEvent(event);
}

// --- commands ---

std::optional<OCommandState> OView_DeviceDataIOManager::ViewCommandState(int id) {
    if (bIsManagerCommand(id)) return m_controller.GetCommandState(id);
    OCommandState state;
    switch (id) {
        case DC::kApply:
            state.enabled = m_sheet->bIsEdited();
            return state;
        case DC::kScreenshotToClipboard:
        case DC::kScreenshotToFile:
            state.enabled = true;
            return state;
        default:
            return std::nullopt;
    }
}

bool OView_DeviceDataIOManager::bOnViewCommand(int id) {
    if (bIsManagerCommand(id)) {
        CommitPendingEdits();
        m_controller.bExecute(id);
        OnUpdate();
        return true;
    }
    switch (id) {
        case DC::kApply:
            bApplyPages();
            return true;
        default:
            return ViewScreenshot::bRunCommand(id, *this, m_doc.UI(), m_doc.GetLastFolder());
    }
}

void OView_DeviceDataIOManager::RunCommand(int id) {
    RouteCommand(id);
    UpdateToolbar();
}

QMenu* OView_DeviceDataIOManager::CreateContextMenu() {
    return BuildManagerContextMenu(
        *this, kContextMenu,
        {
            {DC::kCopy, tr("&Copy data output")},
            {DC::kPaste, tr("&Paste data output")},
            {DC::kDelete, tr("Delete data output")},
            {0, {}},
            {DC::kScreenshotToClipboard, tr("Copy screenshot to &clipboard")},
            {DC::kScreenshotToFile, tr("Save screenshot to &file")},
        },
        [this](int id) { return RoutedState(id).enabled; }, [this](int id) { RunCommand(id); });
}

void OView_DeviceDataIOManager::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

// --- bar layout ---

void OView_DeviceDataIOManager::RestoreBars() {
    ManagerBars::Restore(*this, m_doc.SettingsStore(), kBarProfile);
}

void OView_DeviceDataIOManager::SaveBars() {
    ManagerBars::Save(*this, m_doc.SettingsStore(), kBarProfile);
}
