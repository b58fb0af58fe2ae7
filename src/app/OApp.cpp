#include "app/OApp.h"

#include <filesystem>

#include "app/ODlg_SelectTask.h"
#include "document/CommandIds.h"
#include "document/CommandTable.h"
#include "document/files/ProjectPaths.h"
#include "kalvor/Version.h"
#include "model/strings/ResStr.h"
#include "platform/CommandQueue.h"
#include "platform/Log.h"
#include "platform/Settings.h"
#include "platform/UserInteraction.h"

OApp::OApp(OAppServices services, OCommandLine commandLine)
    : m_services(services),
      m_commandLine(std::move(commandLine)),
      m_recent(services.settings, ORecentFileList::kDefaultSize) {}

OApp::~OApp() {
    m_testCases.reset();
    m_document.reset();
}

bool OApp::bOnTestCaseCommand(int id) {
    switch (id) {
        case Cmd::kTestCaseStart: {
            if (!m_document || m_testCases) return true;
            std::error_code ec;
            const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
            OTestCaseOptions options = OTestCaseOptions::Defaults(exe.parent_path().string());
            std::string error;
            // An unattended run shows no message box: a bad value is logged and its default kept.
            if (!options.bRead(m_commandLine, &error))
                Log::Write(LogLevel::Error, "test cases", error);
            m_testCases =
                std::make_unique<OTestCaseSession>(*m_document, m_services.mainWindow, options);
            m_testCases->Start();
            return true;
        }
        case Cmd::kTestCaseOpen:
            if (m_testCases) m_testCases->RunPendingCalls();
            return true;
        case Cmd::kTestCaseEnd:
            if (m_testCases) m_testCases->End();
            return true;
        default:
            return false;
    }
}

bool OApp::InitInstance() {
    // The version texts are compiled in.
    m_description = kalvor::version::kDescription;
    m_copyright = kalvor::version::kCopyright;

    const OStartRequest start = ResolveStart(m_commandLine);
    m_startMode = start.startMode;
    m_startFile = start.startFile;
    // This platform's sockets need no start-up.
    m_socketsStarted = true;
    m_recent.Load();

    if (!m_services.host.bCreateMainFrame(m_commandLine.bShowSplash())) return false;
    m_clipboard = OClipboardFormats::Register();

    if (!start.bSuppressShellCommand) OpenDocumentFile(m_startFile);

    PublishWindowHandle(m_services.host.MainWindowHandle());
    m_services.host.ShowMainWindow();
    if (const auto placement = RestoreWindowPlacement(kMainWindowKey))
        m_services.host.ApplyMainWindowPlacement(*placement);

    if (m_startMode == StartMode::kTestCases) {
        OnFileNew();
        m_services.mainWindow.Post(Cmd::kTestCaseStart);
    } else if (m_startMode == StartMode::kNormal) {
        OnFileNew();
        RunWelcomeDialog();
    }
    if (m_document) {
        // Start-up is over: views may refresh themselves from now on.
        m_document->SetBusy(0);
        m_document->RefreshViews();
    }
    return true;
}

int OApp::ExitInstance() {
    PublishWindowHandle(0);
    m_services.settings.bFlush();
    return 0;
}

void OApp::PublishWindowHandle(int64_t handle) {
    // Machine-wide first, then the user's; a store that cannot be written is skipped.
    for (Settings* store : {m_services.companionMachine, m_services.companionUser}) {
        if (!store) continue;
        store->SetText(kHandleSection, kHandleValue, std::to_string(handle));
        store->bFlush();
    }
}

bool OApp::bQueryCloseMainFrame() {
    if (!m_document) return true;
    if (!m_document->SaveProject(1, 0)) return false;
    return m_document->OnCloseDocument();
}

ODoc& OApp::CreateDocument() {
    ODocServices services{m_services.settings, m_services.ui, m_services.mainWindow,
                          m_services.views, m_services.programs};
    services.companionUser = m_services.companionUser;
    services.companionMachine = m_services.companionMachine;
    services.progress = m_services.progress;
    services.clipboard = m_services.clipboard;
    services.recentFiles = &m_recent;
    services.runWelcomeDialog = [this] { RunWelcomeDialog(); };
    m_document = std::make_unique<ODoc>(std::move(services));
    return *m_document;
}

void OApp::FinishDocumentCreation(ODoc& doc) {
    // The framework's first view; from now on the views refresh themselves.
    doc.ShowPartListView();
    doc.SetBusy(0);
    doc.RefreshViews();
}

ODoc* OApp::OpenDocumentFile(const std::string& path) {
    const bool created = !m_document;
    ODoc& doc = created ? CreateDocument() : *m_document;
    if (!doc.OnOpenDocument(path)) return created ? nullptr : &doc;
    if (created) FinishDocumentCreation(doc);
    if (!doc.GetPathName().empty() && doc.GetPathName() == path) m_recent.Add(path);
    return &doc;
}

void OApp::OnFileNew() {
    if (m_document) {
        m_document->OnFileNew();
        return;
    }
    ODoc& doc = CreateDocument();
    doc.OnNewDocument();
    FinishDocumentCreation(doc);
}

void OApp::OnFileOpen() {
    if (m_document) {
        m_document->OnFileOpen();
        return;
    }
    FileDialogRequest request;
    request.filter = std::string(kProjectFilter) + ";;" + ResStr(5309);
    const FileDialogResult chosen = m_services.ui.FileOpen(request);
    if (chosen.bAccepted && !chosen.paths.empty()) OpenDocumentFile(chosen.paths.front());
}

void OApp::RunWelcomeDialog() {
    if (m_document) m_document->HideChildFrames();
    ODlg_SelectTask dialog(m_services.settings, m_recent.Entries());
    const bool confirmed = m_services.ui.bRunDialog(dialog);
    m_startMode = dialog.iGetIndex() + 1;
    if (dialog.iGetIndex() == ODlg_SelectTask::kRecentChoice) m_startFile = dialog.StartFile();
    if (!confirmed) {
        m_services.mainWindow.Post(Cmd::kAppExit);
    } else {
        switch (m_startMode) {
            case 0:
                m_services.mainWindow.Post(Cmd::kProjectWizard);
                break;
            case 1:
                m_services.mainWindow.Post(Cmd::kProjectProperties);
                break;
            case 2:
                m_services.mainWindow.Post(Cmd::kFileOpen);
                break;
            case 3:
                if (m_document) m_document->SetModifiedFlag(0);
                // Without a recent file (a first start) the new project simply stays open;
                // opening "" would only greet the user with "could not be opened".
                if (!m_startFile.empty()) OpenDocumentFile(m_startFile);
                break;
            default:
                break;
        }
    }
    if (m_document) m_document->ShowChildFrames();
}

void OApp::OpenRecentFile(int index) {
    const std::vector<std::string>& entries = m_recent.Entries();
    if (index < 0 || index >= static_cast<int>(entries.size())) return;
    const std::string path = entries[static_cast<size_t>(index)];
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        m_services.ui.Message(ResStr(5103) + "\r\n\r\n" + path, MsgIcon::Error);
        m_recent.Remove(index);
        return;
    }
    OpenDocumentFile(path);
}

void OApp::OnCommand(int id, int64_t argument) {
    if (bOnTestCaseCommand(id)) return;
    if (id >= Cmd::kRecentFileFirst && id < Cmd::kRecentFileFirst + Cmd::kRecentFileCount) {
        OpenRecentFile(id - Cmd::kRecentFileFirst);
        return;
    }
    if (m_services.host.bIsFrameCommand(id)) {
        m_services.host.ExecuteFrameCommand(id);
        return;
    }
    switch (id) {
        case Cmd::kFileNew:
            OnFileNew();
            return;
        case Cmd::kFileOpen:
            OnFileOpen();
            return;
        case Cmd::kAppAbout:
            m_services.host.ShowAboutBox();
            return;
        case Cmd::kAppExit:
            m_services.host.CloseMainFrame();
            return;
        default:
            break;
    }
    if (m_document) m_document->OnCommand(id, argument);
}

OCommandState OApp::GetCommandState(int id) const {
    OCommandState state;
    if (id >= Cmd::kRecentFileFirst && id < Cmd::kRecentFileFirst + Cmd::kRecentFileCount) {
        state.text = RecentFileText(id - Cmd::kRecentFileFirst);
        state.enabled = state.text.has_value();
        return state;
    }
    if (m_services.host.bIsFrameCommand(id)) return m_services.host.FrameCommandState(id);
    switch (id) {
        case Cmd::kAppAbout:
        case Cmd::kAppExit:
            state.enabled = true;
            return state;
        case Cmd::kFileNew:
        case Cmd::kFileOpen:
            if (!m_document) {
                state.enabled = true;
                return state;
            }
            break;
        default:
            break;
    }
    return m_document ? m_document->GetCommandState(id) : state;
}

std::optional<std::string> OApp::RecentFileText(int index) const {
    const std::vector<std::string>& entries = m_recent.Entries();
    if (index < 0 || index >= static_cast<int>(entries.size())) return std::nullopt;
    std::string title = ProjectPaths::FileTitleOf(entries[static_cast<size_t>(index)]);
    // A "&" in a file name would become a mnemonic.
    std::string escaped;
    for (char c : title) {
        escaped += c;
        if (c == '&') escaped += '&';
    }
    return "&" + std::to_string(index + 1) + " " + escaped;
}

void OApp::SaveWindowPlacement(std::string_view key, const OWindowPlacement& placement) {
    ::SaveWindowPlacement(m_services.settings, key, placement);
}

std::optional<OWindowPlacement> OApp::RestoreWindowPlacement(std::string_view key) const {
    return ReadWindowPlacement(m_services.settings, key);
}
