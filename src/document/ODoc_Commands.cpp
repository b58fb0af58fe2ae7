// Commands of the document: execution by id and the enable / check state of each.
#include <charconv>

#include "device/OType_Options.h"
#include "document/CommandIds.h"
#include "document/CommandTable.h"
#include "document/ExternalPrograms.h"
#include "document/ODoc.h"
#include "document/ODoc_Wizards.h"
#include "document/OptionsCommand.h"
#include "document/files/OProjectExchange.h"
#include "document/files/ProjectPaths.h"
#include "extraction/OContourEditCommands.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/Settings.h"
#include "platform/UserInteraction.h"

namespace {

constexpr const char* kSection = "Settings";
// Where companion programs publish their main-window handles.
constexpr const char* kCompanionSection = "Windows";
constexpr const char* kCompanionHandle = "Mirrel_hWnd";
constexpr size_t kMaxHandleText = 20;

std::optional<ViewKind> ViewOfCommand(int id) {
    for (int k = 0; k < kNumViewKinds; ++k) {
        const auto kind = static_cast<ViewKind>(k);
        if (ViewCommand(kind) == id && id != 0) return kind;
    }
    return std::nullopt;
}

// The handle as the companion publishes it: a decimal number of at most 20 characters.
std::optional<int64_t> ParseHandle(const std::string& text) {
    if (text.empty() || text.size() > kMaxHandleText) return std::nullopt;
    int64_t handle = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), handle);
    if (error != std::errc() || end != text.data() + text.size() || handle == 0)
        return std::nullopt;
    return handle;
}

}  // namespace

void ODoc::OnCommand(int id, int64_t argument) {
    // The link's notifications re-arm the link even between projects; without a project
    // the parts they bring are dropped.
    if (m_session && id >= Cmd::kLinkContourPart && id <= Cmd::kLinkResultPart) {
        OnLinkNotification(id);
        return;
    }
    if (!bHasProject()) return;
    if (const auto kind = ViewOfCommand(id)) {
        if (*kind != ViewKind::CommunicationManager) CloseCommunicationManager();
        if (!ViewCommandState(*kind).enabled) return;
        ShowView(*kind);
        return;
    }
    if (bOnDeviceCommand(id)) return;
    if (DocWizards::bOnCommand(*this, id)) return;
    if (bOnPartCommand(id, argument)) return;
    if (bOnTeachDataCommand(id)) return;
    if (OContourEditCommands::bHandles(id)) {
        // Contour images are family 1's; the family-2 view ignores these commands.
        CloseCommunicationManager();
        if (iGetFamily() == 1) OContourEditCommands(m_extractorHost).bExecute(id);
        return;
    }
    switch (id) {
        case Cmd::kFileNew:
            OnFileNew();
            break;
        case Cmd::kFileOpen:
            OnFileOpen();
            break;
        case Cmd::kFileClose:
            OnFileClose();
            break;
        case Cmd::kFileSave:
            OnFileSave();
            break;
        case Cmd::kFileSaveAs:
            OnFileSaveAs();
            break;
        case Cmd::kFileImport:
            m_exchange->OnImport();
            break;
        case Cmd::kFileExport:
            m_exchange->OnExport();
            break;
        case Cmd::kEditUndo:
            CloseCommunicationManager();
            OnUndo();
            break;
        case Cmd::kEditRedo:
            CloseCommunicationManager();
            OnRedo();
            break;
        case Cmd::kToggleDisplayReceivedPart:
            CloseCommunicationManager();
            ToggleSetting(m_session->Options().displayReceivedPart, "DISPLAYRECEIVEDPART");
            break;
        case Cmd::kToggleWorldCoordinates:
            CloseCommunicationManager();
            ToggleSetting(m_session->Options().showWorldCoords, "SHOW_AS_WORLD_COORDS");
            break;
        case Cmd::kToggleWizardBar: {
            CloseCommunicationManager();
            const bool shown = !m_services.views.bHasWizardBar();
            m_services.views.ShowWizardBar(shown);
            m_services.settings.SetInt(kSection, "SHOW_WIZARD_BAR", shown ? 1 : 0);
            RefreshViews();
            break;
        }
        case Cmd::kProjectProperties:
            EditProjectProperties(0);
            break;
        case Cmd::kOptions:
            RunOptionsDialog(*this);
            break;
        case Cmd::kStartCompanionViewer:
            StartCompanionViewer();
            break;
        case Cmd::kPrintProject:
            PrintProject();
            break;
        case Cmd::kActivateFromCompanion:
            ActivateFromCompanion();
            break;
        case Cmd::kTestCaseNothing:
            break;
        default:
            break;
    }
}

void ODoc::ToggleSetting(int& value, const char* name) {
    value = value ? 0 : 1;
    m_services.settings.SetInt(kSection, name, value);
    RefreshViews();
}

OCommandState ODoc::ViewCommandState(ViewKind kind) const {
    OCommandState state;
    state.enabled = m_services.views.bCanCreateView(kind);
    // The Teach-Data are shown only while the project decides on quality.
    if (kind == ViewKind::TeachData && m_session)
        state.enabled = state.enabled && m_session->ProjectProperties().useQuality == 1;
    return state;
}

OCommandState ODoc::GetCommandState(int id) const {
    OCommandState state;
    if (!bHasProject() || !bIsImplementedCommand(id)) return state;
    if (const auto kind = ViewOfCommand(id)) return ViewCommandState(*kind);
    if (const auto device = DeviceCommandState(id)) return *device;
    if (const auto wizard = DocWizards::CommandState(*this, id)) return *wizard;
    if (const auto part = PartCommandState(id)) return *part;
    if (const auto teach = TeachDataCommandState(id)) return *teach;
    const OType_ZRPartSet* set = opGetActualPartSet();
    if (OContourEditCommands::bHandles(id))
        return iGetFamily() == 1 ? OContourEditCommands::CommandState(id, set) : state;
    switch (id) {
        case Cmd::kFileNew:
        case Cmd::kFileOpen:
        case Cmd::kFileClose:
        case Cmd::kFileSave:
        case Cmd::kFileSaveAs:
        case Cmd::kFileImport:
        case Cmd::kFileExport:
        case Cmd::kProjectProperties:
        case Cmd::kOptions:
        case Cmd::kStartCompanionViewer:
        case Cmd::kActivateFromCompanion:
            state.enabled = true;
            break;
        case Cmd::kPrintProject:
            state.enabled = set != nullptr;
            break;
        case Cmd::kEditUndo:
            state.enabled = set->UndoRedo().bHasUndoData();
            break;
        case Cmd::kEditRedo:
            state.enabled = set->UndoRedo().bHasRedoData();
            break;
        case Cmd::kToggleDisplayReceivedPart:
            state.enabled = true;
            state.checked = m_session->Options().displayReceivedPart != 0;
            break;
        case Cmd::kToggleWorldCoordinates:
            state.enabled = true;
            state.checked = m_session->Options().showWorldCoords != 0;
            break;
        case Cmd::kToggleWizardBar:
            state.enabled = true;
            state.checked = m_services.views.bHasWizardBar();
            break;
        default:
            break;
    }
    return state;
}

// --- printing ---

// The printout of the project is the printouts of its printing views one after the other:
// the part contour, the Teach-Data, the feature graph and the project documentation; views
// that are not open yet are opened first.
void ODoc::PrintProject() {
    CloseCommunicationManager();
    static constexpr ViewKind kPrinted[] = {ViewKind::PartContour, ViewKind::TeachData,
                                            ViewKind::FeatureGraph, ViewKind::ProjectDocumentation};
    std::vector<ViewKind> kinds;
    for (ViewKind kind : kPrinted) {
        if (!ViewCommandState(kind).enabled) continue;
        if (!m_services.views.bHasView(kind) && !ShowView(kind)) continue;
        kinds.push_back(kind);
    }
    if (!kinds.empty()) m_services.views.bPrintViews(kinds, "Project - " + GetTitle());
}

// --- companion viewer ---

std::optional<int64_t> ODoc::ReadCompanionWindowHandle() const {
    for (Settings* store : {m_services.companionUser, m_services.companionMachine}) {
        if (!store || !store->bHasValue(kCompanionSection, kCompanionHandle)) continue;
        return ParseHandle(store->GetText(kCompanionSection, kCompanionHandle, ""));
    }
    return std::nullopt;
}

void ODoc::StartCompanionViewer() {
    CloseCommunicationManager();
    // The companion viewer talks to the device itself: the connection is given up first, so
    // that the two programs never compete for the device.
    if (m_session->bIsOnline()) {
        m_session->Disconnect(0);
        RefreshViews();
    }
    ExternalPrograms& programs = m_services.programs;
    if (const auto handle = ReadCompanionWindowHandle()) {
        if (programs.bActivateWindow(*handle, Cmd::kActivateFromCompanion)) return;
    }
    UserInteraction& ui = m_services.ui;
    ui.Message(ResStr(2142), MsgIcon::Information);
    const std::string path = m_session->Options().viewerPath;
    std::string error;
    if (programs.bStartDetached(path, error)) return;
    if (programs.bStartDetached(OOptionValues::kDefaultViewerPath, error)) return;
    ui.Message(ResStr(2143), MsgIcon::Error);
    FileDialogRequest request;
    request.filter = ResStr(5308);
    request.defaultExtension = "exe";
    request.initialPath = ProjectPaths::CleanDialogPath(path);
    const FileDialogResult chosen = ui.FileOpen(request);
    if (!chosen.bAccepted || chosen.paths.empty()) return;
    programs.bStartDetached(chosen.paths.front(), error);
    m_services.settings.SetText(kSection, "MIRREL_PATH", chosen.paths.front());
    m_session->Options().viewerPath = chosen.paths.front();
}

void ODoc::ActivateFromCompanion() {
    ViewHost& views = m_services.views;
    views.BringMainWindowToFront();
    const std::vector<ViewKind> kinds = views.Views();
    if (kinds.empty()) {
        ShowPartListView();
    } else {
        views.ActivateFrame(kinds.front());
    }
}
