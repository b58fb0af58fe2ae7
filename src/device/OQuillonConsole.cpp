#include "device/OQuillonConsole.h"

#include "device/OQuillon.h"
#include "device/TargetSystem.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "link/LinkProtocol.h"
#include "link/OQuillonComInterface.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kUnassignedText = 3221;
constexpr int kLoggingStatus = 4142;
constexpr int kImagesOffFailed = 6199;

bool bSendsContour(int sendMode) {
    return sendMode == 1 || sendMode == 4;
}

}  // namespace

OQuillonConsole::OQuillonConsole(ODoc& doc) : m_doc(doc) {}

int OQuillonConsole::iMaxOrientation() const {
    const OQuillon* s = m_doc.opGetSession();
    return s && s->ProjectProperties().useOrientation ? s->GetTargetSystem().orientations : 1;
}

int OQuillonConsole::iMaxType() const {
    const OQuillon* s = m_doc.opGetSession();
    return s && s->ProjectProperties().useTypes ? s->GetTargetSystem().partsInSet : 1;
}

OConsoleState OQuillonConsole::Refresh() {
    OConsoleState state;
    OQuillon* session = m_doc.opGetSession();
    if (!session) return m_shown = state;
    const bool online = session->bIsOnline();
    const bool diag = online && session->bIsDiagMode();
    const bool camera = session->bIsCameraTarget();
    const int sendMode = session->iGetSendMode();
    state.connected = online;
    state.radiosEnabled = online && !session->bIsBusy();
    state.cameraModeEnabled = camera;
    if (diag && sendMode == 1) state.imageMode = 1;
    if (diag && sendMode == 4 && camera) state.imageMode = 2;
    if (session->bIsLoggingToFile()) {
        state.recording = 3;
        state.status =
            ResStrFormat(kLoggingStatus, session->GetLogFilePath(), session->iGetLogFileParts(),
                         session->LogSettings().partsPerFile);
    } else if (diag) {
        state.recording = session->iGetRecordingTarget() == 1 ? 1 : 2;
    }

    const int maxOrientation = iMaxOrientation();
    const int maxType = iMaxType();
    int orientation = session->iGetRecordOrientation();
    int type = session->iGetRecordType();
    if (orientation < 0 || orientation > maxOrientation)
        session->SetRecordOrientation(orientation = 1);
    if (type < 1 || type > maxType) session->SetRecordType(type = 1);
    if (session->iGetRecordingTarget() == 1) {
        state.orientationShown = session->ProjectProperties().useOrientation && maxOrientation > 1;
        state.typeShown = session->ProjectProperties().useTypes && maxType > 1;
    }
    state.orientations.push_back(ResStr(kUnassignedText));
    for (int o = 1; o <= maxOrientation; ++o)
        state.orientations.push_back(std::to_string(o));
    state.orientationIndex = orientation;
    for (int t = 1; t <= maxType; ++t)
        state.types.push_back(std::to_string(t));
    state.typeIndex = type - 1;
    return m_shown = state;
}

void OQuillonConsole::RunCommand(int id) {
    m_doc.ExecuteFromCommunicationManager(id);
}

void OQuillonConsole::Connect() {
    RunCommand(Cmd::kConnect);
}

void OQuillonConsole::ChooseImageMode(int mode) {
    OQuillon* session = m_doc.opGetSession();
    if (!session || mode == m_shown.imageMode) return;
    m_shown.imageMode = mode;
    const int sendMode = session->iGetSendMode();
    switch (mode) {
        case 0:
            if (bSendsContour(sendMode)) RunCommand(Cmd::kRecordWithoutContour);
            break;
        case 1:
            if (sendMode == 4) {
                OQuillonComInterface* link = session->opGetConnection();
                if (link && link->commandPARTIMAGES_OFF() != LinkProtocol::Result::kOk)
                    m_doc.UI().Message(ResStr(kImagesOffFailed), MsgIcon::Error);
                m_doc.RefreshViews();
            } else if (sendMode != 1) {
                RunCommand(Cmd::kRecordWithoutContour);
            }
            break;
        case 2:
            if (session->bIsCameraTarget() && sendMode != 4) RunCommand(Cmd::kRecordWithoutCamera);
            break;
        default:
            break;
    }
}

void OQuillonConsole::StopRecordingToFile() {
    OQuillon* session = m_doc.opGetSession();
    if (!session || !session->bIsLoggingToFile()) return;
    m_doc.RefreshPartLists();
    m_doc.ShowChildFrames();
    session->StopLogging();
    if (session->bIsOnline()) session->opGetConnection()->iSetDiagMode(0, 0);
}

void OQuillonConsole::ChooseRecording(int choice) {
    OQuillon* session = m_doc.opGetSession();
    if (!session || choice == m_shown.recording) return;
    m_shown.recording = choice;
    switch (choice) {
        case 0:
            // Operating mode ends recording; the parts received meanwhile get their features.
            StopRecordingToFile();
            if (session->bIsOnline()) RunCommand(Cmd::kOperatingMode);
            m_doc.RefreshViews();
            break;
        case 1:
            StopRecordingToFile();
            RunCommand(Cmd::kRecordSampleParts);
            break;
        case 2:
            StopRecordingToFile();
            RunCommand(Cmd::kRecordTestParts);
            break;
        case 3:
            RunCommand(Cmd::kRecordToFile);
            break;
        default:
            break;
    }
}

void OQuillonConsole::ChooseOrientation(int index) {
    if (OQuillon* session = m_doc.opGetSession())
        session->SetRecordOrientation(index < 0 || index > iMaxOrientation() ? 1 : index);
}

void OQuillonConsole::ChooseType(int index) {
    if (OQuillon* session = m_doc.opGetSession())
        session->SetRecordType(index < 0 || index + 1 > iMaxType() ? 1 : index + 1);
}
