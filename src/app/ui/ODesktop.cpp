#include "app/ui/ODesktop.h"
#include "link/ui/ODlg_ConnectionProfileWindow.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QMdiArea>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <utility>

#include "analysis/ui/AnalysisDialogs.h"
#include "analysis/ui/AnalysisWindows.h"
#include "app/HelpTopics.h"
#include "app/ODlg_SelectTask.h"
#include "app/ui/ODlg_About.h"
#include "app/ui/ODlg_SelectTaskWindow.h"
#include "app/ui/OFrame_Child.h"
#include "app/ui/OFrame_Main.h"
#include "app/ui/OSettings_Qt.h"
#include "app/ui/OSplashWnd.h"
#include "app/ui/WindowPlacementQt.h"
#include "classification/ui/ClassificationWindows.h"
#include "device/ui/DeviceWindows.h"
#include "document/CommandIds.h"
#include "document/ui/DocumentDialogs.h"
#include "document/ui/OViewRegistry.h"
#include "extraction/ODlg_ContourLimits.h"
#include "extraction/ui/ODlg_FilterLimitWindow.h"
#include "extraction/ui/ODlg_ImportImagesWindow.h"
#include "kalvor/Version.h"
#include "platform/SettingsPaths.h"

namespace {

const QString kOrganisation = QString::fromUtf8(SettingsPaths::kOrganisation.data());

std::unique_ptr<Settings> OrDefault(std::unique_ptr<Settings> given, QSettings::Scope scope,
                                    const QString& application) {
    if (given) return given;
    return std::make_unique<OSettings_Qt>(scope, kOrganisation, application);
}

}  // namespace

ODesktop::ODesktop(std::vector<std::string> arguments, ODesktopStores stores, UserInteraction* ui,
                   ODesktopOptions options)
    : m_stores(std::move(stores)), m_options(options), m_ui(ui ? ui : &m_qtUi) {
    const QString companion = QString::fromUtf8(SettingsPaths::kCompanionStore.data());
    m_stores.settings = OrDefault(std::move(m_stores.settings), QSettings::UserScope,
                                  kalvor::version::kApplicationTitle);
    m_stores.companionUser =
        OrDefault(std::move(m_stores.companionUser), QSettings::UserScope, companion);
    m_stores.companionMachine =
        OrDefault(std::move(m_stores.companionMachine), QSettings::SystemScope, companion);

    RegisterProgramViews();
    RegisterClassificationViews();
    RegisterAnalysisViews();
    RegisterClassificationDialogs(m_qtUi);
    m_qtUi.RegisterDialog("ODlg_ConnectionProfile",
                          [](ODialogModel& model, QWidget* parent) -> QDialog* {
                              return new ODlg_ConnectionProfileWindow(
                                  static_cast<ODlg_ConnectionProfile&>(model), parent);
                          });
    m_qtUi.RegisterDialog("ODlg_SelectTask", [](ODialogModel& model, QWidget* parent) -> QDialog* {
        return new ODlg_SelectTaskWindow(static_cast<ODlg_SelectTask&>(model), parent);
    });
    RegisterDocumentDialogs(m_qtUi);
    RegisterAnalysisDialogs(m_qtUi);
    m_qtUi.RegisterDialog(
        "ODlg_ImportImages", [](ODialogModel& model, QWidget* parent) -> QDialog* {
            return new ODlg_ImportImagesWindow(static_cast<ODlg_ImportImages&>(model), parent);
        });
    m_qtUi.RegisterDialogWindow<ODlg_FilterLimit, ODlg_FilterLimitWindow>("ODlg_FilterLimit");
    RegisterDeviceDialogs(m_qtUi);

    m_frame = std::make_unique<OFrame_Main>();
    m_qtUi.SetParentWindow(m_frame.get());
    m_progress.SetDisplay(m_frame.get());
    OAppServices services{*m_stores.settings, *m_ui, m_queue, *m_frame, m_programs, *this};
    services.companionUser = m_stores.companionUser.get();
    services.companionMachine = m_stores.companionMachine.get();
    services.progress = &m_progress;
    services.clipboard = &m_clipboard;
    m_app = std::make_unique<OApp>(services, OCommandLine::FromArguments(arguments));
    m_frame->SetApplication(m_app.get());
    m_queue.SetTarget(m_app.get());
}

ODesktop::~ODesktop() {
    m_queue.SetTarget(nullptr);
    m_progress.SetDisplay(nullptr);
    m_app.reset();
    m_frame.reset();
}

bool ODesktop::Start() {
    return m_app->InitInstance();
}

int ODesktop::Finish() {
    return m_app->ExitInstance();
}

bool ODesktop::bCreateMainFrame(bool showSplash) {
    m_frame->BuildFrame();
    OSplashWnd::ShowSplashScreen(showSplash, QString::fromStdString(m_app->GetDescription()),
                                 QString::fromStdString(m_app->GetCopyright()), m_frame.get());
    if (m_options.creationWaitMs > 0) {
        // The frame's creation waits while the splash is shown; events keep it painted.
        QEventLoop wait;
        QTimer::singleShot(m_options.creationWaitMs, &wait, &QEventLoop::quit);
        wait.exec();
    }
    return true;
}

int64_t ODesktop::MainWindowHandle() const {
    return static_cast<int64_t>(m_frame->winId());
}

void ODesktop::ShowMainWindow() {
    m_frame->show();
    m_frame->update();
}

void ODesktop::ApplyMainWindowPlacement(const OWindowPlacement& placement) {
    ApplyPlacement(*m_frame, placement);
}

void ODesktop::ShowAboutBox() {
    ODlg_About about(QString::fromStdString(m_app->GetDescription()),
                     QString::fromStdString(m_app->GetCopyright()), m_frame.get());
    about.exec();
}

void ODesktop::CloseMainFrame() {
    // After the command that asked for it has returned.
    QTimer::singleShot(0, m_frame.get(), [this] { m_frame->close(); });
}

namespace {

// The kind of the active, visible child frame's view.
std::optional<ViewKind> CurrentViewKind(const OFrame_Main& frame) {
    for (int k = 0; k < kNumViewKinds; ++k) {
        const OFrame_Child* child = frame.Frame(static_cast<ViewKind>(k));
        if (child && !child->isHidden() && child->mdiArea() &&
            child->mdiArea()->currentSubWindow() == child)
            return static_cast<ViewKind>(k);
    }
    return std::nullopt;
}

// "&Help Topics" (F1): the manual at the page of the active view.
void ShowHelp(const OFrame_Main& frame, UserInteraction& ui) {
    const std::string folder =
        HelpTopics::ManualFolder(QCoreApplication::applicationDirPath().toStdString());
    const std::string page =
        (std::filesystem::path(folder) / HelpTopics::PageOf(CurrentViewKind(frame))).string();
    const auto& opener = HelpTopics::DocumentOpener();
    const bool opened =
        opener ? opener(page)
               : QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(page)));
    if (!opened)
        ui.Message("The user manual could not be opened:\r\n\r\n" + page, MsgIcon::Warning);
}

}  // namespace

bool ODesktop::bIsFrameCommand(int id) const {
    return id == Cmd::kViewToolbar || id == Cmd::kViewStatusBar || id == Cmd::kWindowArrange ||
           id == Cmd::kWindowCascade || id == Cmd::kWindowTile || id == Cmd::kHelpTopics;
}

void ODesktop::ExecuteFrameCommand(int id) {
    if (id == Cmd::kHelpTopics) {
        ShowHelp(*m_frame, *m_ui);
        return;
    }
    m_frame->ExecuteFrameCommand(id);
}


void ODesktop::OpenHandedFile(const std::string& path) {
    if (m_frame->isMinimized()) m_frame->showNormal();
    m_frame->raise();
    m_frame->activateWindow();
    m_handedFiles.push_back(path);
    QTimer::singleShot(0, m_frame.get(), [this] { OpenHandedFilesWhenFree(); });
}

void ODesktop::OpenHandedFilesWhenFree() {
    if (m_handedFiles.empty()) return;
    // A dialog the user has open keeps its say; the files open once it is closed.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(200, m_frame.get(), [this] { OpenHandedFilesWhenFree(); });
        return;
    }
    for (const auto& file : std::exchange(m_handedFiles, {}))
        m_app->OpenDocumentFile(file);
}

QIcon ODesktop::ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QString(":/kalvor/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

OCommandState ODesktop::FrameCommandState(int id) const {
    OCommandState state;
    state.enabled =
        id != Cmd::kHelpTopics ||
        !HelpTopics::ManualFolder(QCoreApplication::applicationDirPath().toStdString()).empty();
    state.checked = m_frame->bIsFrameCommandChecked(id);
    return state;
}
