// The document's new / open / save / close life cycle.
#include <array>

#include "device/TargetSystemSettings.h"
#include "document/DocumentTexts.h"
#include "document/ODoc.h"
#include "document/files/OProjectExchange.h"
#include "document/files/ProjectFileFormat.h"
#include "document/files/ProjectPaths.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/OWaitCursor.h"
#include "platform/Settings.h"
#include "platform/UserInteraction.h"

namespace {

constexpr const char* kSection = "Settings";

// What opening a path does, chosen by the first text the path contains.
enum class OpenKind { Project, TeachData, Configuration, PartList, Unknown };

OpenKind KindOfPath(const std::string& path) {
    using ProjectPaths::bContainsAny;
    if (bContainsAny(path, {".zrp", ".ZRP", ".kvp", ".KVP"})) return OpenKind::Project;
    if (bContainsAny(path, {".typ", ".TYP", ".zrt", ".ZRT"})) return OpenKind::TeachData;
    if (bContainsAny(path, {".kvc", ".KVC"})) return OpenKind::Configuration;
    if (bContainsAny(path, {".txt", ".TXT", ".zrl", ".ZRL", ".kvl", ".KVL"}))
        return OpenKind::PartList;
    return OpenKind::Unknown;
}

std::string WithDetail(int textId, const std::string& detail) {
    return detail.empty() ? ResStr(textId) : ResStr(textId) + "\r\n\r\n" + detail;
}

}  // namespace

bool ODoc::OnNewDocument() {
    OBusyScope busy(*this);
    CloseCommunicationManager();
    m_pathName.clear();
    m_projectSetUp = true;
    ShowOrHideWizardBar(m_services.settings.iGetInt(kSection, "SHOW_WIZARD_BAR", 1) != 0);
    m_modified = false;
    SetTitle(ResStr(3267));

    Settings& s = m_services.settings;
    const OTargetSystem target =
        TargetSystemSettings::ReadTarget(s, TargetSystem::kNewProjectDefaults);
    OType_Options& options = m_session->Options();
    options.connectionKind = s.iGetInt(kSection, "CONTYPE", 0);
    options.autoSpeed = s.iGetInt(kSection, "AUTOSPEED", 1);
    options.msgBeep = s.iGetInt(kSection, "MSG_BEEP", 1);
    options.hideDisabledFeatures = s.iGetInt(kSection, "HIDEDISABLEDFEATURES", 0);
    options.autoShowCameraOrContourImage = s.iGetInt(kSection, "AUTOSHOWCAMERAORCONTORIMAGE", 1);
    options.showFlagwordInfo = s.iGetInt(kSection, "SHOW_FLAGWORD_INFO", 0);
    options.showWorldCoords = s.iGetInt(kSection, "SHOW_AS_WORLD_COORDS", 0);
    options.showUnselectedTools = s.iGetInt(kSection, "SHOW_UNSELECTED_TOOLS", 0);

    // A new project starts from the property defaults kept in the settings.
    OType_ProjectProperties& properties = m_session->ProjectProperties();
    properties = ProjectFile::ProjectPropertiesFromSettings(s);
    ONewProjectFlags flags;
    flags.useManualTypes = properties.useManualTypes;
    flags.useManualOrientation = properties.useManualOrientation;
    flags.useAlternativeValue = properties.useAlternativeValue;
    flags.useQuality = properties.useQuality;

    const bool accepted = m_session->bSetUpNewProject(target, flags, 1);
    EnsureEngines();
    if (!accepted) {
        RecomputeAll(1, 0, 1, 1, 0);
        return false;
    }
    RefreshPartSetBar(0);
    SetModifiedFlag(0);
    return true;
}

void ODoc::ShowOrHideWizardBar(bool shown) {
    m_services.views.ShowWizardBar(shown);
}

void ODoc::OnFileNew() {
    CloseCommunicationManager();
    OBusyScope busy(*this);
    if (!SaveProject(1, 0)) return;
    {
        OWaitCursor wait(m_services.ui);
        m_session->ResetSession();
        OnNewDocument();
        RecomputeAll(1, 0, 1, 1, 0);
        RefreshViews();
        m_newProject = 1;
    }
    if (m_services.runWelcomeDialog) m_services.runWelcomeDialog();
    SetModifiedFlag(0);
}

void ODoc::OnFileOpen() {
    CloseCommunicationManager();
    OBusyScope busy(*this);
    if (!SaveProject(1, 0)) return;
    std::string errorText;
    if (LoadProjectFile("", errorText, 0) == 0) {
        m_services.ui.Message(WithDetail(5103, errorText), MsgIcon::Error);
        RecomputeAll(1, 0, 1, 1, 0);
    }
    RefreshViews();
    SetModifiedFlag(0);
}

bool ODoc::OnOpenDocument(const std::string& path) {
    if (!m_projectSetUp) OnNewDocument();
    OBusyScope busy(*this);
    const OpenKind kind = KindOfPath(path);
    if (kind == OpenKind::Unknown) {
        ShowLoadError(5103, "");
        return true;
    }
    // Any other file is read and checked before the open project is given up for it.
    std::string errorText;
    if (kind != OpenKind::Project) {
        const auto exchangeKind =
            kind == OpenKind::TeachData       ? OProjectExchange::OpenKind::TeachData
            : kind == OpenKind::Configuration ? OProjectExchange::OpenKind::Configuration
                                              : OProjectExchange::OpenKind::PartList;
        bool prepared = false;
        {
            OWaitCursor wait(m_services.ui);
            prepared = m_exchange->bPrepareOpen(exchangeKind, path, errorText);
        }
        if (!prepared) {
            m_services.ui.Message(errorText, MsgIcon::Error);
            return true;
        }
    }
    if (!SaveProject(1, 0)) return false;
    CloseCommunicationManager();

    if (kind == OpenKind::Project) {
        if (LoadProjectFile(path, errorText, 0) == 0) ShowLoadError(5103, errorText);
    } else {
        m_session->ResetSession();
        OnNewDocument();
        EditProjectProperties(1);
        m_lastFolder = ProjectPaths::FolderOf(path);
        m_exchange->iApplyOpen();
    }
    RefreshViews();
    SetModifiedFlag(0);
    return true;
}

void ODoc::ShowLoadError(int textId, const std::string& errorText) {
    m_services.ui.Message(WithDetail(textId, errorText), MsgIcon::Error);
}

bool ODoc::OnSaveDocument(const std::string& path) {
    m_session->SetProjectPath(path);
    CloseCommunicationManager();
    OBusyScope busy(*this);
    return SaveProject(0, 1) == 1;
}

void ODoc::OnFileSave() {
    CloseCommunicationManager();
    OBusyScope busy(*this);
    SaveProject(0, 1);
}

void ODoc::OnFileSaveAs() {
    const std::string remembered = m_session->GetProjectPath();
    m_session->SetProjectPath("");
    if (SaveProject(0, 1) != 1) m_session->SetProjectPath(remembered);
}

void ODoc::OnFileClose() {
    CloseCommunicationManager();
    if (!m_modified) return;
    if (m_services.ui.Message(ResStr(5005), MsgIcon::Question, MsgButtons::YesNoCancel) ==
        MsgResult::Yes)
        SaveProject(0, 1);
}

int ODoc::SaveProject(int ask, int force) {
    if (!m_session) return 0;
    if (!m_modified && !force) return 1;
    if (ask) {
        const MsgResult answer =
            m_services.ui.Message(ResStr(5005), MsgIcon::Question, MsgButtons::YesNoCancel);
        if (answer == MsgResult::Cancel) return 0;
        if (answer == MsgResult::No) return 1;
    }
    OBusyScope busy(*this);
    std::string errorText;
    const int result = WriteProjectFile(m_session->GetProjectPath(), errorText);
    if (result == 1) {
        SetModifiedFlag(0);
        return 1;
    }
    if (result == 0) m_services.ui.Message(WithDetail(5121, errorText), MsgIcon::Error);
    return 0;
}

bool ODoc::OnCloseDocument() {
    OBusyScope busy(*this);
    CloseCommunicationManager();
    SetLinkStateChanging(true);
    m_services.views.DestroyView(ViewKind::PartList);
    // Through the session, so that the ended connection also counts as logged out and the
    // session's reset does not log in again only to log out.
    if (m_session->opGetConnection()) {
        if (m_session->Disconnect(0) == 0) {
            // Another exchange holds the link: the project stays open.
            SetLinkStateChanging(false);
            m_busy = 0;
            RefreshViews();
            return false;
        }
    }
    Settings& s = m_services.settings;
    const bool wizardBar = m_services.views.bHasWizardBar();
    s.SetInt(kSection, "SHOW_WIZARD_BAR", wizardBar ? 1 : 0);
    if (wizardBar) m_services.views.ShowWizardBar(false);
    s.SetText(kSection, "PATH", m_lastFolder);
    s.SetInt(kSection, "MSG_BEEP", m_session->Options().msgBeep);
    m_session->ResetSession();
    m_modified = false;
    return true;
}
