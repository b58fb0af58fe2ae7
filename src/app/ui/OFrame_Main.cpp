#include "app/ui/OFrame_Main.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>
#include <set>

#include "app/OApp.h"
#include "app/StatusBarLayout.h"
#include "app/ui/Artwork.h"
#include "app/ui/OFrame_Child.h"
#include "app/ui/OFrame_SplitChild.h"
#include "app/ui/OPrintService.h"
#include "app/ui/WindowPlacementQt.h"
#include "document/CommandIds.h"
#include "document/CommandTable.h"
#include "document/FrameCaptions.h"
#include "document/ODoc.h"
#include "document/ui/OViewRegistry.h"
#include "document/ui/OViewWidget.h"
#include "kalvor/Version.h"
#include "model/draw/OPrintableSequence.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/OProgressCtrl.h"
#include "wizards/ui/OBar_ProjectWizardWindow.h"

namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

// Every view a frame shows (two in a split frame).
std::vector<OViewWidget*> ViewsOf(const OFrame_Child* frame) {
    std::vector<OViewWidget*> views;
    if (!frame) return views;
    for (QWidget* widget : frame->ViewWidgets()) {
        if (auto* view = dynamic_cast<OViewWidget*>(widget)) views.push_back(view);
    }
    return views;
}

}  // namespace

OFrame_Main::OFrame_Main() {
    setObjectName("128");
    setWindowTitle(kalvor::version::kApplicationTitle);
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName("MDIClient");
    setCentralWidget(m_mdi);
    setAcceptDrops(true);
    resize(1024, 720);
}

OFrame_Main::~OFrame_Main() {
    // The program's own clipboard data leaves with it.
    if (QClipboard* clipboard = QApplication::clipboard(); clipboard && clipboard->ownsClipboard())
        clipboard->clear();
    m_toolbarTimer.stop();
    // The frames outlive this object's members while QWidget deletes its children.
    for (const auto& frame : m_frames) {
        if (frame) frame->disconnect(this);
    }
    m_frames.clear();
}

void OFrame_Main::BuildFrame() {
    if (m_built) return;
    m_built = true;
    BuildMenus();
    BuildStatusBar();
    BuildToolbar();
    connect(&m_toolbarTimer, &QTimer::timeout, this, &OFrame_Main::UpdateActions);
    m_toolbarTimer.start(kActionUpdateMs);
}

// --- menus and toolbar ---

QMenu* OFrame_Main::MenuFor(const QString& path) {
    if (const auto it = m_menus.find(path); it != m_menus.end()) return it->second;
    const int slash = path.lastIndexOf('/');
    QMenu* menu = nullptr;
    if (slash < 0) {
        menu = menuBar()->addMenu(path);
    } else {
        menu = MenuFor(path.left(slash))->addMenu(path.mid(slash + 1));
    }
    menu->setObjectName(path);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(menu); });
    m_menus[path] = menu;
    return menu;
}

void OFrame_Main::BuildMenus() {
    std::set<QString> shortcuts;
    for (const OCommandInfo& info : CommandTable()) {
        if (info.menuPath.empty()) continue;
        QMenu* menu = MenuFor(Q(info.menuPath));
        if (info.id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(Q(MenuLabel(info.text)));
        action->setObjectName(QString::number(info.id));
        // A key that two commands name goes to the first one only.
        if (const auto keys = PortableShortcut(info.text);
            keys && shortcuts.insert(Q(*keys)).second) {
            action->setShortcut(QKeySequence(Q(*keys)));
            action->setShortcutContext(Qt::ApplicationShortcut);
        }
        action->setEnabled(false);
        const int id = info.id;
        connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
        m_actions[id] = action;
    }
}

void OFrame_Main::BuildToolbar() {
    m_mainToolbar = addToolBar("Standard");
    m_mainToolbar->setObjectName(QString::number(0xE800));
    m_mainToolbar->setIconSize(QSize(24, 24));
    for (int id : MainToolbarCommands()) {
        if (id == 0) {
            m_mainToolbar->addSeparator();
            continue;
        }
        QAction* action = Action(id);
        if (!action) continue;
        action->setIcon(Artwork::CommandIcon(id));
        action->setToolTip(Q(PlainLabel(FindCommand(id)->text)));
        if (bIsMainToolbarCheckButton(id)) action->setCheckable(true);
        m_mainToolbar->addAction(action);
    }
}

void OFrame_Main::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QString::number(StatusBarLayout::kStatusBarId));
    for (size_t i = 0; i < StatusBarLayout::kPanes.size(); ++i) {
        const auto& pane = StatusBarLayout::kPanes[i];
        auto* label = new QLabel(bar);
        label->setObjectName(QString::number(pane.id));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i == 0) {
            label->setMinimumWidth(pane.width);
            label->setText(OProgressCtrl::kIdleStatusText.data());
            bar->addWidget(label, 1);
        } else {
            label->setFixedWidth(pane.width);
            if (i >= 2) label->setText(Q(ResStr(StatusBarLayout::kInitialLinkText)));
            bar->addPermanentWidget(label);
        }
        m_panes.push_back(label);
    }
    bar->installEventFilter(this);
    PlaceProgressBar();
}

QStatusBar* OFrame_Main::StatusBarWidget() const {
    return findChild<QStatusBar*>(QString::number(StatusBarLayout::kStatusBarId));
}

QLabel* OFrame_Main::Pane(int index) const {
    return index >= 0 && index < static_cast<int>(m_panes.size())
               ? m_panes[static_cast<size_t>(index)]
               : nullptr;
}

void OFrame_Main::PlaceProgressBar() {
    QLabel* pane = Pane(StatusBarLayout::kProgressPane);
    if (!pane) return;
    if (!m_progressBar) {
        m_progressBar = new QProgressBar(pane->parentWidget());
        m_progressBar->setObjectName(QString::number(StatusBarLayout::kProgressBarId));
        m_progressBar->setRange(0, 100);
        m_progressBar->setValue(0);
        m_progressBar->setTextVisible(false);
    }
    m_progressBar->setGeometry(pane->geometry());
    m_progressBar->raise();
    m_progressBar->show();
}

QAction* OFrame_Main::Action(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

OViewWidget* OFrame_Main::CurrentView() const {
    auto* frame = qobject_cast<OFrame_Child*>(m_mdi->currentSubWindow());
    if (!frame || frame->isHidden()) return nullptr;
    return dynamic_cast<OViewWidget*>(frame->ActiveViewWidget());
}

void OFrame_Main::Execute(int id) {
    ExecuteCommand(id, CurrentView());
}

std::vector<OViewWidget*> OFrame_Main::ViewRoute(OViewWidget* from) const {
    std::vector<OViewWidget*> route;
    if (!from) return route;
    route.push_back(from);
    // A command the pane does not take goes to the other pane of its split frame.
    for (const auto& frame : m_frames) {
        const std::vector<OViewWidget*> views = ViewsOf(frame);
        if (std::find(views.begin(), views.end(), from) == views.end()) continue;
        for (OViewWidget* v : views) {
            if (v != from) route.push_back(v);
        }
    }
    return route;
}

void OFrame_Main::ExecuteCommand(int id, OViewWidget* from) {
    for (OViewWidget* view : ViewRoute(from)) {
        if (view->bOnViewCommand(id)) {
            UpdateActions();
            return;
        }
    }
    if (m_app) m_app->OnCommand(id, 0);
    UpdateActions();
}

OCommandState OFrame_Main::CommandState(int id, OViewWidget* from) {
    for (OViewWidget* view : ViewRoute(from)) {
        if (const auto state = view->ViewCommandState(id)) return *state;
    }
    return m_app ? m_app->GetCommandState(id) : OCommandState{};
}

bool OFrame_Main::bExecuteInView(ViewKind kind, int id) {
    for (OViewWidget* view : ViewsOf(Frame(kind))) {
        if (view->bOnViewCommand(id)) {
            UpdateActions();
            return true;
        }
    }
    return false;
}

std::optional<OCommandState> OFrame_Main::StateInView(ViewKind kind, int id) {
    for (OViewWidget* view : ViewsOf(Frame(kind))) {
        if (const auto state = view->ViewCommandState(id)) return state;
    }
    return std::nullopt;
}

void OFrame_Main::UpdateAction(QAction* action) {
    if (!m_app || !action) return;
    bool ok = false;
    const int id = action->objectName().toInt(&ok);
    if (!ok) return;
    const OCommandState state = CommandState(id, CurrentView());
    action->setEnabled(state.enabled);
    if (state.checked || bIsMainToolbarCheckButton(id)) action->setCheckable(true);
    if (action->isCheckable()) action->setChecked(state.checked);
    if (id >= Cmd::kRecentFileFirst && id < Cmd::kRecentFileFirst + Cmd::kRecentFileCount) {
        action->setVisible(state.text.has_value());
        if (state.text) action->setText(Q(*state.text));
    } else if (state.text) {
        action->setText(Q(*state.text));
    }
}

void OFrame_Main::UpdateMenu(QMenu* menu) {
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && !action->menu()) UpdateAction(action);
    }
}

void OFrame_Main::UpdateActions() {
    // Every action, so that the shortcuts of menu commands follow their state too.
    for (const auto& [id, action] : m_actions)
        UpdateAction(action);
    if (m_partSetSelector && m_app)
        m_partSetSelector->setEnabled(m_app->GetCommandState(Cmd::kSelectPartSet).enabled);
}

void OFrame_Main::ExecuteFrameCommand(int id) {
    switch (id) {
        case Cmd::kViewToolbar:
            if (m_mainToolbar) m_mainToolbar->setVisible(!m_mainToolbar->isVisible());
            break;
        case Cmd::kViewStatusBar:
            statusBar()->setVisible(!statusBar()->isVisible());
            break;
        case Cmd::kWindowCascade:
            m_mdi->cascadeSubWindows();
            break;
        case Cmd::kWindowTile:
        case Cmd::kWindowArrange:
            m_mdi->tileSubWindows();
            break;
        default:
            break;
    }
}

bool OFrame_Main::bIsFrameCommandChecked(int id) const {
    if (id == Cmd::kViewToolbar) return m_mainToolbar && !m_mainToolbar->isHidden();
    if (id == Cmd::kViewStatusBar) return !statusBar()->isHidden();
    return false;
}

// --- events ---

void OFrame_Main::closeEvent(QCloseEvent* event) {
    if (m_app && !m_app->bQueryCloseMainFrame()) {
        event->ignore();
        return;
    }
    if (m_app) {
        SaveFramePlacements();
        m_app->SaveWindowPlacement(OApp::kMainWindowKey, ReadPlacement(*this));
    }
    event->accept();
}

void OFrame_Main::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    PlaceProgressBar();
}

bool OFrame_Main::eventFilter(QObject* watched, QEvent* event) {
    if (watched == statusBar() &&
        (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest ||
         event->type() == QEvent::Show)) {
        QMetaObject::invokeMethod(
            this, [this] { PlaceProgressBar(); }, Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void OFrame_Main::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void OFrame_Main::dropEvent(QDropEvent* event) {
    if (!m_app) return;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) m_app->OpenDocumentFile(url.toLocalFile().toStdString());
    }
}

// --- child frames ---

OFrame_Child* OFrame_Main::Frame(ViewKind kind) const {
    for (const auto& frame : m_frames) {
        if (frame && frame->Kind() == kind) return frame;
    }
    return nullptr;
}

void OFrame_Main::ForgetFrame(OFrame_Child* frame) {
    std::erase_if(m_frames, [&](const QPointer<OFrame_Child>& f) { return !f || f == frame; });
}

int OFrame_Main::iFamily() const {
    const ODoc* doc = m_app ? m_app->opGetDocument() : nullptr;
    return doc ? doc->iGetFamily() : 1;
}

bool OFrame_Main::bCanCreateView(ViewKind kind) const {
    return FindViewTemplate(kind, iFamily()) != nullptr;
}

bool OFrame_Main::bHasView(ViewKind kind) const {
    return Frame(kind) != nullptr;
}

bool OFrame_Main::bCreateView(ViewKind kind, int /*templateId*/) {
    const OViewTemplate* view = FindViewTemplate(kind, iFamily());
    ODoc* doc = m_app ? m_app->opGetDocument() : nullptr;
    if (!view || !doc || bHasView(kind)) return false;
    QWidget* main = view->create(*doc, nullptr);
    if (!main) return false;
    OFrame_Child* frame = nullptr;
    if (view->bIsSplit()) {
        QWidget* companion = view->createCompanion(*doc, nullptr);
        if (!companion) {
            delete main;
            return false;
        }
        frame = new OFrame_SplitChild(kind, main, companion, doc->SettingsStore(),
                                      view->splitterSetting, view->defaultCompanionWidth);
    } else {
        frame = new OFrame_Child(kind, main);
    }
    for (OViewWidget* v : ViewsOf(frame))
        v->SetCommandRouter(this);
    m_mdi->addSubWindow(frame);
    m_frames.emplace_back(frame);
    connect(frame, &QObject::destroyed, this, [this, frame] { ForgetFrame(frame); });
    connect(frame, &OFrame_Child::frameHidden, this, [this] {
        // The next frame becomes the active one.
        m_mdi->activateNextSubWindow();
    });
    // The frame fits its view (the part list's form); a split frame leaves room for both.
    frame->resize(
        frame->sizeHint().expandedTo(view->bIsSplit() ? QSize(900, 520) : QSize(640, 420)));
    frame->show();
    KeepInsideFrameArea(*frame);
    for (OViewWidget* v : ViewsOf(frame))
        v->OnUpdate();
    UpdateChildCaptions();
    return true;
}

void OFrame_Main::KeepInsideFrameArea(QWidget& frame) const {
    if (frame.isMaximized() || frame.isMinimized()) return;
    const QSize area = m_mdi->viewport()->size();
    if (area.isEmpty()) return;
    QRect fitted = frame.geometry();
    fitted.setSize(fitted.size().boundedTo(area).expandedTo(frame.minimumSize()));
    fitted.moveLeft(std::clamp(fitted.left(), 0, std::max(0, area.width() - fitted.width())));
    fitted.moveTop(std::clamp(fitted.top(), 0, std::max(0, area.height() - fitted.height())));
    if (fitted != frame.geometry()) frame.setGeometry(fitted);
}

void OFrame_Main::DestroyView(ViewKind kind) {
    OFrame_Child* frame = Frame(kind);
    if (!frame) return;
    const std::string_view key = WindowKey(kind);
    if (!key.empty() && m_app) m_app->SaveWindowPlacement(key, PlacementOf(*frame));
    ForgetFrame(frame);
    frame->Destroy();
}

std::vector<ViewKind> OFrame_Main::Views() const {
    std::vector<ViewKind> kinds;
    for (const auto& frame : m_frames) {
        if (frame) kinds.push_back(frame->Kind());
    }
    return kinds;
}

bool OFrame_Main::bIsFrameMinimised(ViewKind kind) const {
    const OFrame_Child* frame = Frame(kind);
    return frame && frame->isMinimized();
}

bool OFrame_Main::bIsFrameVisible(ViewKind kind) const {
    const OFrame_Child* frame = Frame(kind);
    return frame && !frame->isHidden();
}

void OFrame_Main::RestoreFrame(ViewKind kind) {
    if (OFrame_Child* frame = Frame(kind)) frame->showNormal();
}

void OFrame_Main::ShowFrame(ViewKind kind, bool shown) {
    if (OFrame_Child* frame = Frame(kind)) frame->setVisible(shown);
}

void OFrame_Main::ActivateFrame(ViewKind kind) {
    OFrame_Child* frame = Frame(kind);
    if (!frame) return;
    frame->show();
    frame->raise();
    m_mdi->setActiveSubWindow(frame);
}

OWindowPlacement OFrame_Main::PlacementOf(const OFrame_Child& frame) const {
    QRect normal = frame.NormalRect();
    if (normal.isNull()) normal = frame.geometry();
    return OWindowPlacement::Of(normal.left(), normal.top(), normal.left() + normal.width(),
                                normal.top() + normal.height(), frame.isMaximized(),
                                frame.isMinimized());
}

void OFrame_Main::RestoreFramePlacement(ViewKind kind, std::string_view windowKey) {
    OFrame_Child* frame = Frame(kind);
    if (!frame || !m_app || windowKey.empty()) return;
    if (const auto placement = m_app->RestoreWindowPlacement(windowKey)) {
        ApplyPlacement(*frame, *placement);
        KeepInsideFrameArea(*frame);
    }
}

void OFrame_Main::SaveFramePlacements() {
    if (!m_app) return;
    for (const auto& frame : m_frames) {
        if (!frame) continue;
        const std::string_view key = WindowKey(frame->Kind());
        if (!key.empty()) m_app->SaveWindowPlacement(key, PlacementOf(*frame));
    }
}

OFrameRect OFrame_Main::FrameRect(ViewKind kind) const {
    const OFrame_Child* frame = Frame(kind);
    if (!frame) return {};
    const QRect g = frame->geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void OFrame_Main::MoveFrame(ViewKind kind, int left, int top) {
    if (OFrame_Child* frame = Frame(kind)) frame->move(left, top);
}

OFrameRect OFrame_Main::MainClientRect() const {
    const QRect r = m_mdi->viewport()->rect();
    return {0, 0, r.width(), r.height()};
}

void OFrame_Main::ReactivateLastFrame() {
    for (auto it = m_frames.rbegin(); it != m_frames.rend(); ++it) {
        if (*it) {
            m_mdi->setActiveSubWindow(*it);
            (*it)->update();
            return;
        }
    }
}

void OFrame_Main::UpdateView(ViewKind kind) {
    for (OViewWidget* view : ViewsOf(Frame(kind)))
        view->OnUpdate();
    UpdateChildCaptions();
}

void OFrame_Main::SetLinkPaneTexts(const std::string& connection, const std::string& mode) {
    if (QLabel* pane = Pane(2); pane && pane->text() != Q(connection)) pane->setText(Q(connection));
    if (QLabel* pane = Pane(3); pane && pane->text() != Q(mode)) pane->setText(Q(mode));
}

void OFrame_Main::UpdateAllViews() {
    for (const auto& frame : m_frames) {
        for (OViewWidget* view : ViewsOf(frame))
            view->OnUpdate();
    }
    UpdateChildCaptions();
}

void OFrame_Main::CommitPendingEdits(ViewKind kind) {
    for (OViewWidget* view : ViewsOf(Frame(kind)))
        view->CommitPendingEdits();
}

void OFrame_Main::UpdateChildCaptions() {
    ODoc* doc = m_app ? m_app->opGetDocument() : nullptr;
    const OQuillon* session = doc ? doc->opGetSession() : nullptr;
    const int partSets = session ? session->PartSets().iGetNum() : 0;
    const OType_ZRPartSet* actual = doc ? doc->opGetActualPartSet() : nullptr;
    const QString name = actual ? Q(actual->GetName()) : QString();
    for (const auto& frame : m_frames) {
        if (frame) frame->UpdateCaption(partSets, name);
    }
}

void OFrame_Main::SetDocumentTitle(const std::string& title) {
    setWindowTitle(Q(MainFrameCaption(kalvor::version::kApplicationTitle, title)));
}

// --- bars ---

bool OFrame_Main::bHasWizardBar() const {
    return m_wizardBar && !m_wizardBar->isHidden();
}

void OFrame_Main::ShowWizardBar(bool shown) {
    if (shown && !m_wizardBar) {
        m_wizardBar = new OBar_ProjectWizardWindow(this);
        addDockWidget(Qt::LeftDockWidgetArea, m_wizardBar);
        // A line's command and the close button are posted, as a menu command would be.
        connect(m_wizardBar, &OBar_ProjectWizardWindow::commandRequested, this, [this](int id) {
            QMetaObject::invokeMethod(
                this,
                [this, id] {
                    if (CommandState(id, CurrentView()).enabled) {
                        Execute(id);
                    } else {
                        QApplication::beep();
                    }
                },
                Qt::QueuedConnection);
        });
        connect(m_wizardBar, &OBar_ProjectWizardWindow::closeRequested, this, [this] {
            QMetaObject::invokeMethod(
                this, [this] { Execute(Cmd::kToggleWizardBar); }, Qt::QueuedConnection);
        });
    }
    if (!m_wizardBar) return;
    m_wizardBar->setVisible(shown);
    if (shown) UpdateWizardBar();
}

void OFrame_Main::UpdateWizardBar() {
    if (!m_wizardBar || m_wizardBar->isHidden()) return;
    ODoc* doc = m_app ? m_app->opGetDocument() : nullptr;
    if (!doc) return;
    m_wizardBar->SetLines(OBar_ProjectWizard::Build(OBar_ProjectWizard::Gather(*doc)));
}

bool OFrame_Main::bHasPartSetBar() const {
    return m_partSetBar != nullptr;
}

void OFrame_Main::ShowPartSetBar(const std::vector<std::string>& partSets, int actual) {
    if (!m_partSetBar) {
        m_partSetBar = new QToolBar("Check program", this);
        m_partSetBar->setObjectName("134");
        m_partSetSelector = new QComboBox(m_partSetBar);
        m_partSetSelector->setObjectName(QString::number(Cmd::kSelectPartSet));
        m_partSetSelector->setToolTip("Select check program");
        m_partSetSelector->setFixedWidth(200);
        QFont font("Arial");
        font.setPixelSize(11);
        font.setWeight(QFont::Normal);
        font.setStyleHint(QFont::SansSerif);
        m_partSetSelector->setFont(font);
        m_partSetBar->addWidget(m_partSetSelector);
        connect(m_partSetSelector, qOverload<int>(&QComboBox::activated), this, [this](int index) {
            if (m_app) m_app->OnCommand(Cmd::kSelectPartSet, index);
        });
        addToolBar(Qt::TopToolBarArea, m_partSetBar);
    }
    m_partSetSelector->clear();
    for (const std::string& name : partSets)
        m_partSetSelector->addItem(Q(name));
    m_partSetSelector->setCurrentIndex(actual);
}

void OFrame_Main::RemovePartSetBar() {
    if (!m_partSetBar) return;
    removeToolBar(m_partSetBar);
    delete m_partSetBar;
    m_partSetBar = nullptr;
    m_partSetSelector = nullptr;
}

void OFrame_Main::RepaintMainFrame() {
    update();
    for (QWidget* child : findChildren<QWidget*>())
        child->update();
}

void OFrame_Main::RecalcLayout() {
    if (layout()) layout()->activate();
}

OPrintableSequence OFrame_Main::Printout(const std::vector<ViewKind>& kinds,
                                         const std::string& title) const {
    std::vector<OPrintable*> parts;
    for (ViewKind kind : kinds) {
        for (OViewWidget* view : ViewsOf(Frame(kind))) {
            if (OPrintable* printable = view->opGetPrintable()) parts.push_back(printable);
        }
    }
    return OPrintableSequence(title, std::move(parts));
}

bool OFrame_Main::bPrintViews(const std::vector<ViewKind>& kinds, const std::string& title) {
    OPrintableSequence printout = Printout(kinds, title);
    return OPrintService::bPrint(printout, this);
}

void OFrame_Main::BringMainWindowToFront() {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    update();
}

int64_t OFrame_Main::FocusedWindow() const {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) return 0;
    const auto key = static_cast<int64_t>(reinterpret_cast<intptr_t>(focus));
    const_cast<OFrame_Main*>(this)->m_focusWidgets[key] = focus;
    return key;
}

void OFrame_Main::RestoreFocus(int64_t window) {
    const auto it = m_focusWidgets.find(window);
    if (it == m_focusWidgets.end()) return;
    if (QWidget* widget = it->second) widget->setFocus();
    m_focusWidgets.erase(it);
}

// --- progress ---

void OFrame_Main::ShowProgress(int percent) {
    if (m_progressBar) m_progressBar->setValue(percent);
}

void OFrame_Main::ShowStatusText(std::string_view text) {
    if (QLabel* pane = Pane(0)) pane->setText(Q(text));
}
