// The document's device commands (connection, modes, recording, transfers, the part log,
// tools and data outputs) with their enable and check states, and the link notifications
// 35100-35110 that the main window routes to the document.
#include <algorithm>
#include <iterator>

#include "device/ODlg_MsgBox_WithCheckMark.h"
#include "device/TargetSystem.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "link/LinkProtocol.h"
#include "link/OQuillonComInterface.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/CommandQueue.h"
#include "platform/UserInteraction.h"

namespace {

using LinkProtocol::Result::kOk;

constexpr int kMaxDroppedNotifications = 100;

// Tool commands: the kind and sub-kind for family 2, then for family 1; a command with
// one pair uses it for both.
struct OToolCommand {
    int id;
    int kind2, subKind2;
    int kind1, subKind1;
};

constexpr OToolCommand kToolCommands[] = {
    {32852, 100, 104, 1, 30},    {32853, 2, 33, 2, 33},       {32854, 101, -1, 3, 22},
    {32944, 4, 34, 4, 34},       {32945, 4, 38, 4, 38},       {32946, 4, 40, 4, 40},
    {32788, 4, 36, 4, 36},       {32793, 4, 41, 4, 41},       {32794, 4, 45, 4, 45},
    {32873, 7, 49, 7, 49},       {32872, 104, 302, 8, 50},    {33111, 104, 314, 104, 314},
    {33044, 102, 201, 102, 201}, {33045, 102, 207, 102, 207}, {33040, 111, -1, 111, -1},
    {32855, 103, -1, 103, -1},   {32856, 123, -1, 123, -1},   {32894, 106, -1, 106, -1},
    {32893, 105, -1, 105, -1},   {33053, 105, 369, 105, 369}, {33035, 110, -1, 110, -1},
    {33056, 114, 800, 114, 800}, {33108, 114, 803, 114, 803}, {33055, 113, -1, 113, -1},
    {33057, 115, -1, 115, -1},   {33120, 128, -1, 128, -1},   {32903, 109, -1, 109, -1},
    {33041, 112, -1, 112, -1},   {32895, 107, -1, 107, -1},   {33116, 122, -1, 122, -1},
    {32990, 108, -1, 108, -1},   {33118, 127, -1, 127, -1},   {33117, 126, -1, 126, -1},
};

constexpr std::pair<int, int> kDataOutputCommands[] = {
    {33085, 1}, {33087, 2}, {33086, 3}, {33088, 4}, {33109, 5}, {33110, 6}, {33121, 7},
};

bool bSendsContour(int sendMode) {
    return sendMode == 1 || sendMode == 4;
}

// Re-sorts a part list and keeps its shown part shown.
void ResortKeepingShownPart(OType_ZRPartSet& set, bool teach) {
    OType_PartArray& list = teach ? set.TeachParts() : set.TestParts();
    const int shownNo = teach ? set.iShowTeachPartGetNo() : set.iShowTestPartGetNo();
    const OType_Part* shown = list.GetAt(shownNo);
    list.UpdateSortOrder();
    const int position = shown ? list.iGetSortPosOf(shown) : shownNo;
    if (teach) {
        set.iShowTeachPartNo(position, 1);
    } else {
        set.iShowTestPartNo(position, 1);
    }
}

}  // namespace

bool ODoc::bToolOfCommand(int commandId, int family, int& kind, int& subKind) {
    for (const OToolCommand& c : kToolCommands) {
        if (c.id != commandId) continue;
        kind = family == 2 ? c.kind2 : c.kind1;
        subKind = family == 2 ? c.subKind2 : c.subKind1;
        return true;
    }
    return false;
}

int ODoc::iDataOutputOfCommand(int commandId) {
    for (const auto& [id, kind] : kDataOutputCommands) {
        if (id == commandId) return kind;
    }
    return 0;
}

// --- OQuillonOwner ---

void ODoc::BringMainWindowToFront() {
    m_services.views.BringMainWindowToFront();
}

void ODoc::CancelActiveModalDialog() {
    m_services.views.CancelActiveModalDialog();
}

void ODoc::RefreshPartLists() {
    if (OType_ZRPartSet* set = opGetActualPartSet()) {
        ResortKeepingShownPart(*set, true);
        ResortKeepingShownPart(*set, false);
    }
    UpdatePartListView();
}

void ODoc::UpdatePartListView() {
    if (m_services.views.bHasView(ViewKind::PartList))
        m_services.views.UpdateView(ViewKind::PartList);
}

void ODoc::RecomputeAndRefresh() {
    RecomputeAll(1, 0, 1, 1, 0);
    RefreshViews();
}

void ODoc::RecomputeAfterToolChange(OType_ZRPartSet& partSet) {
    Recompute(&partSet, 1, 0, 1, 1, 0);
    RefreshViews();
}

void ODoc::RecomputeAfterToolEdit(OType_ZRPartSet& partSet) {
    Recompute(&partSet, 0, 0, 1, 1, 0);
    RefreshViews();
}

std::string ODoc::GetProjectFolder() const {
    const std::string& path = m_session ? m_session->GetProjectPath() : std::string();
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? m_lastFolder : path.substr(0, slash);
}

// --- recording ---

void ODoc::StartRecording(int teach, int start, int images) {
    OQuillon& session = *m_session;
    session.SetRecordingTarget(teach);
    if (session.bIsLoggingToFile()) ShowPartListView();
    if (!session.EnsureConnected()) {
        RefreshViews();
        return;
    }
    OQuillonComInterface* link = session.opGetConnection();
    const bool camera = session.bIsCameraTarget();
    if (start && !images) {
        if (session.SetDiagnosticMode(1) && camera) link->commandPARTIMAGES_OFF();
    }
    if (!start && !images && session.SetDiagnosticMode(0)) RecomputeRecordedParts();
    if (start && images) {
        if (session.SetDiagnosticMode(1) && camera) link->commandPARTIMAGES_ON();
    }
    RefreshViews();
}

// The parts received while recording are new parts: their features and the Teach-Data
// follow once recording ends (not per arrival, which a fast device would make too costly).
void ODoc::RecomputeRecordedParts() {
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set) return;
    const int testOnly = m_session->iGetRecordingTarget() == 0 ? 1 : 0;
    Recompute(set, 0, testOnly, 1, 1, 0);
}

void ODoc::ToggleRecording(int teach) {
    OQuillon& session = *m_session;
    const bool imagesNeeded = session.bImagesNeeded();
    const bool mode4 = session.iGetSendMode() == 4;
    if (!session.bIsOnline()) {
        StartRecording(teach, 1, imagesNeeded);
    } else if (!session.bIsDiagMode()) {
        StartRecording(teach, 1, mode4 ? 1 : imagesNeeded);
    } else if (session.iGetRecordingTarget() == teach) {
        session.opGetConnection()->iSetDiagMode(0, 0);
        RecomputeRecordedParts();
        RefreshViews();
    } else if (teach) {
        StartRecording(1, 1, imagesNeeded);
    } else {
        StartRecording(0, 1, mode4 ? 1 : imagesNeeded);
    }
}

void ODoc::RecordWithoutCameraImages() {
    OQuillon& session = *m_session;
    OQuillonComInterface* link = session.opGetConnection();
    UserInteraction& ui = m_services.ui;
    if (session.iGetSendMode() == 4) {
        if (link->commandPARTIMAGES_OFF() != kOk) ui.Message(ResStr(6199), MsgIcon::Error);
        RefreshViews();
        return;
    }
    if (!session.bIsDiagMode()) {
        ui.Message(ResStr(7002), MsgIcon::Warning);
        if (link->commandEWDIAG() != kOk) {
            ui.Message(ResStr(6187), MsgIcon::Error);
            return;
        }
    }
    if (session.iGetSendMode() != 1 && !session.SetDiagnosticMode(1)) {
        ui.Message(ResStr(6198), MsgIcon::Error);
        return;
    }
    if (link->commandPARTIMAGES_ON() != kOk) ui.Message(ResStr(6198), MsgIcon::Error);
    RefreshViews();
}

void ODoc::RecordWithoutContourImages() {
    OQuillon& session = *m_session;
    OQuillonComInterface* link = session.opGetConnection();
    UserInteraction& ui = m_services.ui;
    const int sendMode = session.iGetSendMode();
    if (bSendsContour(sendMode)) {
        session.iSendKonzeiWithRetry();
        RefreshViews();
        return;
    }
    if (sendMode == 2 || sendMode == 3) session.iSendKonzeiWithRetry();
    if (!session.bIsDiagMode()) {
        if (link->commandEWDIAG() != kOk) {
            ui.Message(ResStr(6187), MsgIcon::Error);
            return;
        }
        session.WarnDiagnosticMode();
    }
    if (link->commandKONTUR() != kOk) ui.Message(ResStr(6196), MsgIcon::Error);
    RefreshViews();
}

void ODoc::SendTrigger() {
    OQuillon& session = *m_session;
    if (session.bIsCameraTarget() && !session.bIsOnline()) {
        StartRecording(session.iGetRecordingTarget(), 1, bSendsContour(session.iGetSendMode()));
        session.SetDiagnosticMode(1);
    } else {
        session.SetRecordingTarget(session.iGetRecordingTarget());
    }
    session.SendTrigger();
    RefreshViews();
}

void ODoc::ToggleRecordToFile() {
    OQuillon& session = *m_session;
    if (session.bIsLoggingToFile()) {
        session.StopLogging();
        RefreshViews();
        return;
    }
    OLogToFileSettings& settings = session.LogSettings();
    ODlg_MsgBox_WithCheckMark dialog;
    dialog.caption = ResStr(4143);
    dialog.text = ResStr(4144);
    dialog.hasNumber = true;
    dialog.numberLabel = ResStr(4177);
    dialog.numberHelp = ResStr(4147);
    dialog.number = std::max(1, settings.partsPerFile);
    dialog.checksTitle = ResStr(4145);
    dialog.checks = {{ResStr(4148), settings.useTeachParts != 0},
                     {ResStr(4149), settings.useGoodParts != 0},
                     {ResStr(4150), settings.useBadParts != 0}};
    const bool camera = session.bIsCameraTarget();
    if (camera) dialog.checks.push_back({ResStr(4165), settings.useCameraImage != 0});
    if (!m_services.ui.bRunDialog(dialog)) return;
    settings.partsPerFile = std::max(1, dialog.number);
    settings.useTeachParts = dialog.checks[0].checked ? 1 : 0;
    settings.useGoodParts = dialog.checks[1].checked ? 1 : 0;
    settings.useBadParts = dialog.checks[2].checked ? 1 : 0;
    if (camera) settings.useCameraImage = dialog.checks[3].checked ? 1 : 0;
    if (session.StartLogging()) StartRecording(0, 1, camera ? settings.useCameraImage : 0);
    RefreshViews();
}

void ODoc::CalibrateCoordinateTransformation() {
    if (!m_session->CalibrateCoordinateTransformation()) {
        RefreshViews();
        return;
    }
    SetModifiedFlag(1);
    Recompute(opGetActualPartSet(), 1, 0, 1, 1, 0);
    RefreshViews();
}

// --- commands ---

bool ODoc::bOnDeviceCommand(int id) {
    OQuillon& session = *m_session;
    OQuillonComInterface* link = session.opGetConnection();
    int kind = 0, subKind = 0;
    if (bToolOfCommand(id, iGetFamily(), kind, subKind)) {
        CloseCommunicationManager();
        if (session.AddTool(*opGetActualPartSet(), kind, subKind, 0)) {
            ShowPartContourView();
            if (m_linkedToolWindow) ShowView(ViewKind::ToolProperties);
        }
        return true;
    }
    if (const int output = iDataOutputOfCommand(id)) {
        CloseCommunicationManager();
        if (session.AddDataOutput(output, 1)) {
            bStoreUndoStep(*opGetActualPartSet(), "Data output added", Cmd::kViewDataOutput);
            RefreshViews();
            ShowView(ViewKind::DataOutput);
        }
        return true;
    }
    const bool usable = link && session.bIsOnline() && !session.bIsBusy();
    switch (id) {
        case Cmd::kConnect:
            CloseCommunicationManager();
            if (session.bIsOnline()) {
                session.Disconnect(0);
            } else {
                session.EnsureConnected();
            }
            RefreshViews();
            return true;
        case Cmd::kDiagnosticMode:
        case Cmd::kOperatingMode:
            CloseCommunicationManager();
            if (usable) link->iSetDiagMode(id == Cmd::kDiagnosticMode ? 1 : 0, 0);
            if (usable && id == Cmd::kOperatingMode) RecomputeRecordedParts();
            RefreshViews();
            return true;
        case Cmd::kSendTime:
            CloseCommunicationManager();
            if (usable && TargetSystem::bSendsTimeAndDate(session.GetTargetSystem().hardware) &&
                link->commandSETTIME() != kOk)
                m_services.ui.Message(ResStr(4174), MsgIcon::Error);
            return true;
        case Cmd::kRecordSampleParts:
        case Cmd::kRecordTestParts:
            CloseCommunicationManager();
            if (link) ToggleRecording(id == Cmd::kRecordSampleParts ? 1 : 0);
            return true;
        case Cmd::kRecordWithoutCamera:
            CloseCommunicationManager();
            if (usable && session.bIsDiagMode() && session.bIsCameraTarget())
                RecordWithoutCameraImages();
            return true;
        case Cmd::kRecordWithoutContour:
            CloseCommunicationManager();
            if (usable && session.bIsDiagMode()) RecordWithoutContourImages();
            return true;
        case Cmd::kSendTrigger:
            CloseCommunicationManager();
            if (link) SendTrigger();
            return true;
        case Cmd::kRecordToFile:
            CloseCommunicationManager();
            ToggleRecordToFile();
            return true;
        case Cmd::kDownloadPartLog:
            CloseCommunicationManager();
            if (session.bCanUsePartLog()) session.DownloadPartLog();
            return true;
        case Cmd::kDeletePartLog:
            CloseCommunicationManager();
            if (session.bCanUsePartLog()) session.DeletePartLog();
            RefreshViews();
            return true;
        case Cmd::kSendErrorAcknowledge:
        case Cmd::kSendAcceptCheckProgram:
            CloseCommunicationManager();
            if (usable && session.bIsNewPlatformTarget()) {
                if (id == Cmd::kSendErrorAcknowledge) {
                    session.SendErrorAcknowledge();
                } else {
                    session.SendAcceptCheckProgram();
                }
            }
            return true;
        case Cmd::kSendCoordTrans:
        case Cmd::kReceiveCoordTrans:
            CloseCommunicationManager();
            if (usable && session.bIsCameraTarget() && session.DeviceInfo().bSupportsCoordTrans()) {
                if (id == Cmd::kSendCoordTrans) {
                    session.SendCoordinateTransformation();
                } else {
                    session.ReceiveCoordinateTransformation();
                }
            }
            return true;
        case Cmd::kCalibrateCoordTrans:
            CloseCommunicationManager();
            if (link && session.bIsCameraTarget()) CalibrateCoordinateTransformation();
            return true;
        case Cmd::kCheckProgramManager:
            CloseCommunicationManager();
            if (link && !session.bIsBusy()) RunCheckProgramManager();
            return true;
        default:
            return false;
    }
}

std::optional<OCommandState> ODoc::DeviceCommandState(int id) const {
    const OQuillon& session = *m_session;
    const OQuillonComInterface* link = session.opGetConnection();
    OCommandState state;
    int kind = 0, subKind = 0;
    if (bToolOfCommand(id, iGetFamily(), kind, subKind)) {
        const OType_ZRPartSet* set = opGetActualPartSet();
        state.enabled =
            set && set->ToolPrototypes().bHasKind(kind) && session.IsToolAllowed(kind, subKind);
        return state;
    }
    if (const int output = iDataOutputOfCommand(id)) {
        state.enabled = session.bCanAddDataOutput(output);
        return state;
    }
    const bool online = session.bIsOnline();
    const bool busy = session.bIsBusy();
    const bool usable = online && !busy;
    const bool diag = session.bIsDiagMode();
    const int sendMode = session.iGetSendMode();
    const bool camera = session.bIsCameraTarget();
    const int teach = session.iGetRecordingTarget();
    switch (id) {
        case Cmd::kConnect:
            state.enabled = link && !busy;
            state.checked = online;
            break;
        case Cmd::kDiagnosticMode:
        case Cmd::kOperatingMode:
            state.enabled = usable;
            break;
        case Cmd::kSendTime:
            state.enabled =
                usable && TargetSystem::bSendsTimeAndDate(session.GetTargetSystem().hardware);
            break;
        case Cmd::kRecordSampleParts:
        case Cmd::kRecordTestParts: {
            const int wanted = id == Cmd::kRecordSampleParts ? 1 : 0;
            state.enabled = link && !busy && !session.bIsLoggingToFile();
            state.checked = usable && diag && teach == wanted;
            break;
        }
        case Cmd::kRecordWithoutCamera:
            state.enabled = usable && diag && camera;
            state.checked = state.enabled && sendMode != 4;
            break;
        case Cmd::kRecordWithoutContour:
            state.enabled = usable && diag;
            state.checked = state.enabled && !bSendsContour(sendMode);
            break;
        case Cmd::kSendTrigger:
            state.enabled = usable && camera && diag &&
                            (sendMode == 0 || bSendsContour(sendMode)) &&
                            link->bIsTriggerPossible();
            break;
        case Cmd::kRecordToFile:
            state.enabled = link != nullptr;
            state.checked = session.bIsLoggingToFile();
            break;
        case Cmd::kDownloadPartLog:
        case Cmd::kDeletePartLog:
            state.enabled = session.bCanUsePartLog();
            break;
        case Cmd::kSendErrorAcknowledge:
        case Cmd::kSendAcceptCheckProgram:
            state.enabled = usable && session.bIsNewPlatformTarget();
            break;
        case Cmd::kSendCoordTrans:
        case Cmd::kReceiveCoordTrans:
            state.enabled = usable && camera && session.DeviceInfo().bSupportsCoordTrans();
            break;
        case Cmd::kCalibrateCoordTrans:
            state.enabled = link && camera && session.DeviceInfo().bSupportsCoordTrans();
            break;
        case Cmd::kCheckProgramManager:
            state.enabled = link && !busy && !session.bIsLoggingToFile();
            break;
        default:
            return std::nullopt;
    }
    return state;
}

// --- link notifications ---

void ODoc::OnLinkNotification(int id) {
    OQuillon& session = *m_session;
    OQuillonComInterface* link = session.opGetConnection();
    if (!link) return;
    switch (id) {
        case Cmd::kLinkContourPart:
            link->UpdateEKG();
            break;
        case Cmd::kLinkContourFeaturePart:
            link->UpdateEKGuMERK();
            break;
        case Cmd::kLinkStateChanged:
            link->UpdateAE();
            RefreshViews();
            return;
        case Cmd::kLinkLogChanged:
            link->UpdateZE();
            return;
        case Cmd::kLinkContinue:
            link->UpdateKO();
            break;
        case Cmd::kLinkImagePart:
            link->UpdateT2uMERK();
            break;
        case Cmd::kLinkProgramsChanged:
            link->UpdateEdView();
            RefreshViews();
            return;
        case Cmd::kLinkConnectionLost:
            link->UpdatePO();
            session.OnConnectionLost();
            return;
        case Cmd::kLinkResultPart:
            link->UpdateME();
            break;
        default:
            return;  // 35107 and 35109 are not the link's
    }
    // Queued notifications of the same kind are folded into this one before fetching, so
    // that the 35104 the fetch may post to go on is not taken for one of them.
    m_services.mainWindow.iRemovePendingAtHead(id, kMaxDroppedNotifications);
    AfterPartsFetched(session.FetchReceivedParts());
}

void ODoc::AfterPartsFetched(const OFetchResult& result) {
    OQuillon& session = *m_session;
    OType_ZRPartSet* set = opGetActualPartSet();
    const bool teach = session.iGetRecordingTarget() == 1;
    if (m_testPartObserver && set && !teach) {
        // The new parts are the last ones added.
        const OType_PartArray& list = set->TestParts();
        for (int i = std::max(0, list.iGetSize() - result.addedTest); i < list.iGetSize(); ++i)
            if (const OType_Part* part = list.GetAt_NoSort(i)) m_testPartObserver(*part);
    }
    if (result.ListsChanged() && set) {
        ResortKeepingShownPart(*set, teach);
        if (session.Options().displayReceivedPart == 1) {
            const OType_PartArray& list = teach ? set->TeachParts() : set->TestParts();
            set->iShowSetTeachTest(teach ? 1 : 0);
            if (teach) {
                set->iShowTeachPartNo(list.iGetSize() - 1);
            } else {
                set->iShowTestPartNo(list.iGetSize() - 1);
            }
        }
    }
    if (result.accepted > 0 && session.Options().msgBeep == 1) {
        if (!m_services.ui.MessageBeep(MsgIcon::Information)) m_services.ui.Beep(2000, 200);
    }
    if (result.ListsChanged()) {
        RefreshViews();
    } else if (result.accepted > 0) {
        UpdatePartListView();
    }
    if (m_wizardWindow) {
        for (int i = 0; i < result.addedTeach + result.addedTest + result.logged; ++i)
            m_wizardWindow->Post(Cmd::kWizardPartArrived);
    }
}
