#include "managers/ui/OView_ConfigToolManager.h"
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
#include <chrono>

#include "app/ui/Artwork.h"
#include "app/ui/OPrintService.h"
#include "app/ui/OViewScreenshot.h"
#include "document/CommandIds.h"
#include "document/CommandTable.h"
#include "document/ODoc.h"
#include "managers/ui/OSheet_ConfigToolManager.h"
#include "platform/Clock.h"
#include "platform/Settings.h"
#include "platform/UserInteraction.h"

namespace {

namespace TM = ToolManagerCommand;

constexpr int kToolbarUpdateMs = 250;
constexpr int kListWidth = 200;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString CommandText(int id) {
    const OCommandInfo* info = FindCommand(id);
    return info ? Q(PlainLabel(info->text)) : QString::number(id);
}

std::string ContentSignature(const OToolManagerController& controller,
                             const OToolSheetContent& content) {
    std::string signature = controller.InfoTitle(content) + '\x1e';
    for (const auto& [label, value] : controller.InfoLines(content))
        signature += label + '\x1f' + value + '\x1e';
    return signature + controller.InfoText(content) + '\x1e' +
           OPropertyPageModel::Signature(controller.DescribeProperties(content));
}

}  // namespace

OView_ConfigToolManager::OView_ConfigToolManager(ODoc& doc, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_controller(doc) {
    setObjectName("OView_ConfigToolManager");
    setWindowFlags(Qt::Widget);
    BuildToolbar();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    m_sheet = new OSheet_ConfigToolManager(central);
    layout->addWidget(m_sheet, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_apply = new QPushButton(tr("&Apply"), central);
    m_apply->setObjectName(QString::number(TM::kApply));
    m_apply->setEnabled(false);
    buttons->addWidget(m_apply);
    layout->addLayout(buttons);
    setCentralWidget(central);

    m_status = new QLabel(this);
    m_status->setObjectName("status");
    statusBar()->addWidget(m_status, 1);
    statusBar()->setSizeGripEnabled(false);

    connect(m_apply, &QPushButton::clicked, this, [this] { bApplyPages(); });
    // Queued: applying rebuilds the pages, which must not happen inside the field's key event.
    connect(
        m_sheet, &OSheet_ConfigToolManager::applyRequested, this, [this] { bApplyPages(); },
        Qt::QueuedConnection);
    connect(m_sheet, &OSheet_ConfigToolManager::edited, this, [this] {
        m_status->clear();
        UpdateApplyButton();
    });
    connect(&m_toolbarTimer, &QTimer::timeout, this, [this] {
        if (isVisible()) UpdateToolbar();
    });
    m_toolbarTimer.start(kToolbarUpdateMs);
    OnUpdate();
}

OView_ConfigToolManager::~OView_ConfigToolManager() {
    m_toolbarTimer.stop();
}

QSize OView_ConfigToolManager::sizeHint() const {
    return {520, 560};
}

// --- building ---

void OView_ConfigToolManager::BuildToolbar() {
    m_toolbar = addToolBar(tr("Tool properties"));
    m_toolbar->setObjectName("169");
    m_toolbar->setIconSize(QSize(16, 16));
    const int commands[] = {TM::kLinkedToolWindow,
                            0,
                            TM::kPreviousTool,
                            TM::kNextTool,
                            TM::kToolSelector,
                            0,
                            TM::kCopyTool,
                            TM::kPasteTool,
                            TM::kDeleteTool,
                            0,
                            TM::kMoveUp,
                            TM::kMoveDown,
                            0,
                            TM::kUndo,
                            TM::kRedo};
    for (int id : commands) {
        if (id == 0) {
            m_toolbar->addSeparator();
            continue;
        }
        if (id == TM::kToolSelector) {
            m_list = new QComboBox(m_toolbar);
            m_list->setObjectName(QString::number(TM::kSelectTool));
            m_list->setFixedWidth(kListWidth);
            m_list->setToolTip(tr("The tools of the check program"));
            m_toolbar->addWidget(m_list);
            connect(m_list, &QComboBox::activated, this, [this](int index) {
                m_controller.SelectEntry(index);
                OnUpdate();
            });
            continue;
        }
        QAction* action = m_toolbar->addAction(Artwork::CommandIcon(id), CommandText(id));
        action->setObjectName(QString::number(id));
        action->setCheckable(id == TM::kLinkedToolWindow);
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        m_actions[id] = action;
    }
}

QAction* OView_ConfigToolManager::ToolbarAction(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

// --- updates ---

void OView_ConfigToolManager::OnUpdate() {
    if (m_updating || m_doc.iGetBusy()) return;
    const QScopedValueRollback guard(m_updating, true);
    if (!m_barsRestored) {
        m_barsRestored = true;
        RestoreBars();
    }
    // The pages first: applying what the user typed may rename the tool in the list.
    ShowPages(false);
    FillList();
    UpdateToolbar();
}

void OView_ConfigToolManager::FillList() {
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

void OView_ConfigToolManager::ShowPages(bool force) {
    OToolSheetContent wanted = m_controller.WantedSheet();
    // Another feature of the same tool keeps the tool's pages.
    const auto sameTool = [](const OToolSheetContent& a, const OToolSheetContent& b) {
        return a.pages == OToolPageSet::Tool && b.pages == OToolPageSet::Tool && a.tool == b.tool &&
               a.partSet == b.partSet;
    };
    const bool moving = !(wanted == m_shown) && !sameTool(wanted, m_shown);
    // Values typed for the tool on show go to it before its pages go.
    if (moving && !m_applying && m_sheet->bIsEdited()) {
        bApplyEdits();
        wanted = m_controller.WantedSheet();
        force = true;
    }
    force = force || m_rebuildDue;
    const std::string signature = ContentSignature(m_controller, wanted);
    const bool changedElsewhere = !m_sheet->bIsEdited() && signature != m_shownSignature;
    const bool keepPage = wanted == m_shown || sameTool(wanted, m_shown);
    if (!force && !moving && !changedElsewhere) {
        m_shown = wanted;
        return;
    }
    // The field with the focus and the page on top stay where they were.
    QWidget* focus = focusWidget();
    const QString focusName =
        keepPage && focus && m_sheet->isAncestorOf(focus) ? focus->objectName() : QString();
    const int page = keepPage ? m_sheet->currentIndex() : 0;
    m_printout.reset();
    switch (wanted.pages) {
        case OToolPageSet::None:
            m_sheet->RemoveAllPages();
            break;
        case OToolPageSet::Placeholder:
            m_sheet->ShowPlaceholder(m_controller.InfoText(wanted));
            break;
        case OToolPageSet::BasicFeature:
            m_sheet->ShowInformation(m_controller.InfoTitle(wanted), m_controller.InfoLines(wanted),
                                     m_controller.InfoText(wanted));
            break;
        case OToolPageSet::Tool:
            m_sheet->ShowTool(m_controller.InfoTitle(wanted), m_controller.InfoLines(wanted),
                              m_controller.DescribeProperties(wanted));
            break;
    }
    m_shown = wanted;
    m_shownSignature = signature;
    m_rebuildDue = false;
    if (page > 0 && page < m_sheet->count()) m_sheet->setCurrentIndex(page);
    if (!focusName.isEmpty()) {
        if (auto* field = m_sheet->findChild<QWidget*>(focusName)) field->setFocus();
    }
    UpdateApplyButton();
}

void OView_ConfigToolManager::UpdateApplyButton() {
    m_apply->setEnabled(m_sheet->bIsEdited());
}

void OView_ConfigToolManager::UpdateToolbar() {
    for (const auto& [id, action] : m_actions) {
        const OCommandState state = StateOf(id);
        action->setEnabled(state.enabled);
        action->setChecked(state.checked);
    }
    // Moving tools is for camera devices only.
    const bool family2 = m_doc.iGetFamily() == 2;
    m_actions[TM::kMoveUp]->setVisible(family2);
    m_actions[TM::kMoveDown]->setVisible(family2);
}

// --- applying ---

bool OView_ConfigToolManager::bApplyPages() {
    if (m_applying || m_updating) return false;
    const bool applied = bApplyEdits();
    if (applied) {
        // The pages show what the tool holds now (a value may have been rounded or moved).
        const QScopedValueRollback guard(m_updating, true);
        ShowPages(true);
    }
    return applied;
}

bool OView_ConfigToolManager::bApplyEdits() {
    if (m_applying) return false;
    const QScopedValueRollback guard(m_applying, true);
    if (!m_sheet->bIsEdited()) return true;
    OPropertyValues values;
    std::string error;
    if (!m_sheet->bCollect(values, error)) {
        ReportRefusal(error);
        return false;
    }
    if (!m_controller.bApply(m_shown, values, error)) {
        if (!error.empty()) ReportRefusal(error);
        return false;
    }
    m_status->setText(tr("The tool's properties were applied."));
    m_rebuildDue = true;
    return true;
}

void OView_ConfigToolManager::ReportRefusal(const std::string& error) {
    m_status->setText(Q(error));
    m_doc.UI().Message(error, MsgIcon::Warning);
}

void OView_ConfigToolManager::CommitPendingEdits() {
    if (m_sheet->bIsEdited()) bApplyEdits();
}

void OView_ConfigToolManager::hideEvent(QHideEvent* event) {
    // Closing or hiding the manager leaves what the user typed applied and keeps the bars'
    // layout (the document still exists here, which it need not when the view is deleted).
    if (!m_updating) CommitPendingEdits();
    if (m_barsRestored) SaveBars();
    QMainWindow::hideEvent(event);
}

// --- commands ---

std::optional<OCommandState> OView_ConfigToolManager::ViewCommandState(int id) {
    OCommandState state;
    switch (id) {
        case TM::kLinkedToolWindow:
            state.enabled = true;
            state.checked = m_doc.bIsLinkedToolWindow();
            return state;
        case TM::kMoveUp:
        case TM::kMoveDown:
            return m_controller.GetCommandState(id);
        case TM::kApply:
            state.enabled = m_sheet->bIsEdited();
            return state;
        case TM::kCopyTool:
        case TM::kPasteTool:
        case TM::kDeleteTool:
            return RoutedStateInView(ViewKind::PartContour, id);
        case TM::kScreenshotToClipboard:
        case TM::kScreenshotToFile:
            state.enabled = true;
            return state;
        case TM::kPrint:
        case TM::kPrintPreview:
            state.enabled = m_shown.pages != OToolPageSet::None;
            return state;
        default:
            return std::nullopt;
    }
}

bool OView_ConfigToolManager::bOnViewCommand(int id) {
    switch (id) {
        case TM::kLinkedToolWindow:
            m_doc.SetLinkedToolWindow(!m_doc.bIsLinkedToolWindow());
            UpdateToolbar();
            return true;
        case TM::kMoveUp:
            CommitPendingEdits();
            m_controller.bMoveUp();
            return true;
        case TM::kMoveDown:
            CommitPendingEdits();
            m_controller.bMoveDown();
            return true;
        case TM::kApply:
            bApplyPages();
            return true;
        case TM::kCopyTool:
        case TM::kPasteTool:
        case TM::kDeleteTool:
            CommitPendingEdits();
            if (!RoutedStateInView(ViewKind::PartContour, id).enabled) return true;
            if (id == TM::kDeleteTool) {
                bRouteToView(ViewKind::PartContour, id);
            } else {
                // Copy and paste are posted: they run once this command has returned.
                QTimer::singleShot(0, this,
                                   [this, id] { bRouteToView(ViewKind::PartContour, id); });
            }
            return true;
        default:
            return OPrintService::bRunCommand(id, *this, this) ||
                   ViewScreenshot::bRunCommand(id, *this, m_doc.UI(), m_doc.GetLastFolder());
    }
}

OPrintable* OView_ConfigToolManager::opGetPrintable() {
    if (m_shown.pages == OToolPageSet::None) return nullptr;
    const Clock* clock = m_doc.opGetClock();
    const auto now = clock ? clock->WallNow() : std::chrono::system_clock::now();
    std::string title = tr("Tool properties").toStdString();
    const std::string shown = m_controller.InfoTitle(m_shown);
    if (!shown.empty()) title += " - " + shown;
    m_printout = std::make_unique<OToolManagerPrintout>(title, m_controller.InfoLines(m_shown),
                                                        m_controller.DescribeProperties(m_shown),
                                                        OToolManagerPrintout::DateTimeText(now));
    return m_printout.get();
}

OCommandState OView_ConfigToolManager::StateOf(int id) {
    return RoutedState(id);
}

void OView_ConfigToolManager::RunCommand(int id) {
    RouteCommand(id);
    UpdateToolbar();
}

QMenu* OView_ConfigToolManager::CreateContextMenu() {
    return BuildManagerContextMenu(
        *this, kContextMenu,
        {
            {TM::kCopyTool, tr("&Copy tool")},
            {TM::kPasteTool, tr("&Paste tool")},
            {TM::kDeleteTool, tr("Delete tool or feature")},
            {0, {}},
            {TM::kScreenshotToClipboard, tr("Copy screenshot to &clipboard")},
            {TM::kScreenshotToFile, tr("Save screenshot to &file")},
        },
        [this](int id) { return StateOf(id).enabled; }, [this](int id) { RunCommand(id); });
}

void OView_ConfigToolManager::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

// --- bar layout ---

void OView_ConfigToolManager::RestoreBars() {
    ManagerBars::Restore(*this, m_doc.SettingsStore(), kBarProfile);
}

void OView_ConfigToolManager::SaveBars() {
    ManagerBars::Save(*this, m_doc.SettingsStore(), kBarProfile);
}
