// The session's connection: making the connection object, logging in and reconnecting,
// ending the connection, the device's diagnostic mode, reading the device information and
// the handling of a lost connection.
#include <chrono>
#include <thread>

#include "device/OQuillon.h"
#include "link/LinkProtocol.h"
#include "link/OQuillonComInterface_Serial.h"
#include "link/OQuillonComInterface_TCP.h"
#include "model/strings/ResStr.h"
#include "platform/Clock.h"
#include "platform/CommandQueue.h"
#include "platform/OClock_System.h"
#include "platform/OWaitCursor.h"
#include "platform/Settings.h"
#include "platform/UserInteraction.h"

namespace {

using LinkProtocol::Result::kConnectionLost;
using LinkProtocol::Result::kOk;
using LinkProtocol::Result::kTimeOut;
using LinkProtocol::Result::kTryAgain;

constexpr const char* kSection = "Settings";
constexpr const char* kDiagWarningOff = "WARNING_DISABLE_DIAGON";
constexpr int kKeepAliveTries = 3;
constexpr int kSaveCommand = 57603;
constexpr int kConnectionLostCommand = 35108;
constexpr int kMaxDroppedNotifications = 100;
constexpr int64_t kConnectionLostDebounceSec = 2;

void Pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool bSendsContour(int sendMode) {
    return sendMode == 1 || sendMode == 4;
}

}  // namespace

void OQuillon::SetLinkStateChanging(bool changing) {
    if (m_owner) m_owner->SetLinkStateChanging(changing);
}

bool OQuillon::bIsOnline() const {
    return m_link && m_link->iGetComOnLine() == 1;
}

std::array<std::string, 2> OQuillon::LinkPaneTexts() const {
    if (!bIsOnline()) return {ResStr(9048), ResStr(9048)};
    const std::string connection = ResStrFormat(20500, m_link->GetCurrentProfile().Describe());
    if (bIsBusy()) return {connection, ResStr(20503)};
    return {connection, ResStr(bIsDiagMode() ? 20501 : 20502)};
}

bool OQuillon::bIsBusy() const {
    return m_link && m_link->iGetDeviceBusyState() == 1;
}

int OQuillon::iGetSendMode() const {
    return m_link ? m_link->iGetSendMode() : 0;
}

bool OQuillon::bIsDiagMode() const {
    return m_link && m_link->iGetDiagMode() == 1;
}

void OQuillon::CreateConnection(int kind) {
    if (m_link && m_link->iGetInterfaceType() == kind) {
        m_link->SetStatusModus(" ");
        return;
    }
    if (m_link) {
        m_loginNeeded = 1;
        SetLinkStateChanging(true);
        StopLogging();
        m_link->iDisConnect(0, 0);
        m_link->SetStatusModus(" ");
        m_link.reset();
    }
    ProgressDisplay* statusBar = m_owner ? m_owner->opGetStatusBar() : nullptr;
    if (kind == OQuillonComInterface::kInterfaceTypeTcp) {
        m_link = std::make_unique<OQuillonComInterface_TCP>(nullptr, &m_deviceInfo, opProgress(),
                                                            statusBar, 0);
    } else {
        m_link = std::make_unique<OQuillonComInterface_Serial>(nullptr, &m_deviceInfo, opProgress(),
                                                               statusBar, kind);
    }
    m_link->SetServices({m_owner ? m_owner->opGetMainWindow() : nullptr, &m_ui, &m_settings});
    m_link->SetStatusModus(" ");
}

int OQuillon::EnsureConnected() {
    if (!m_link) return 0;
    // The connection kind may have changed since the object was made (a loaded project
    // adapts it to its family): a link of another kind could never log in.
    if (m_link->iGetInterfaceType() != m_options.connectionKind) {
        const int timeOut = m_link->iGetTimeOut_SEC();
        CreateConnection(m_options.connectionKind);
        m_link->SetTimeOut_SEC(timeOut);
    }
    if (m_link->iGetComOnLine() == 1) {
        for (int i = 0; i < kKeepAliveTries; ++i) {
            if (m_link->commandSYNCRO() == kOk) return 1;
            const int error = m_link->GetLastComInterfaceError();
            if (error == kTimeOut || error == kConnectionLost) return 0;
        }
    }
    int result = 0;
    if (m_loginNeeded == 1) {
        int level = 0;
        int profile = 0;
        const int kind = m_options.connectionKind;
        const int speed = kind == OQuillonComInterface::kInterfaceTypeTcp ? 0 : m_options.autoSpeed;
        if (m_link->iUserLogIn(level, 0, "none", kind, profile, speed, "") == 1) {
            do {
                result = m_link->iConnect(0, 0, profile, 0, 0, true, false);
            } while (result == kTryAgain);
        } else {
            result = kTryAgain;  // a failed login counts as "try again", which is no success
        }
        if (result == kOk) m_loginNeeded = 0;
    } else {
        do {
            result = m_link->iReConnect(0, 0);
        } while (result == kTryAgain);
        if (result != kOk) m_loginNeeded = 1;
    }
    SetLinkStateChanging(false);
    m_deviceStatus.TakeFrom(*m_link);
    return result == kOk ? 1 : 0;
}

int OQuillon::Disconnect(int flag) {
    if (!m_link) return 0;
    if (flag == 1 && m_link->iGetComOnLine() == 1) return 1;
    m_loginNeeded = 1;
    SetLinkStateChanging(true);
    StopLogging();
    const int result = m_link->iDisConnect(flag, 0);
    if (flag != 1) m_link->SetStatusModus(" ");
    m_deviceStatus.TakeFrom(*m_link);
    return result;
}

void OQuillon::WarnDiagnosticMode() {
    if (m_settings.iGetInt(kSection, kDiagWarningOff, 0) != 0) return;
    if (!m_owner || !m_owner->bHasApplication()) {
        m_ui.Message(ResStr(7002), MsgIcon::Warning);
        return;
    }
    bool checked = false;
    m_ui.MessageWithCheckMark(ResStr(7002), ResStr(3289), checked, MsgIcon::Warning, MsgButtons::Ok,
                              ResStr(128));
    if (checked) m_settings.SetInt(kSection, kDiagWarningOff, 1);
}

int OQuillon::iSendKonzeiWithRetry() {
    while (m_link->commandKONZEI() != kOk) {
        if (m_owner) m_owner->BringMainWindowToFront();
        const int error = m_link->GetLastComInterfaceError();
        const int question = (error == LinkProtocol::Result::kRefusedInMode ||
                              error == LinkProtocol::Result::kNotSupported)
                                 ? 4017
                                 : 6197;
        if (m_ui.Message(ResStr(question), MsgIcon::Error, MsgButtons::RetryCancel) !=
            MsgResult::Retry)
            return 0;
    }
    return 1;
}

int OQuillon::SetDiagnosticMode(int on) {
    if (!m_link) return 0;
    if (!on) {
        OType_ZRPartSet* set = opGetActualPartSet();
        if (m_loggingToFile && set) {
            if (m_owner) m_owner->RefreshPartLists();
            if (set->iShowTeachPartGetNo() < 0 && !set->TeachParts().bIsEmpty())
                set->iShowTeachPartNo(set->TeachParts().iGetSize() - 1);
            if (set->iShowTestPartGetNo() < 0 && !set->TestParts().bIsEmpty())
                set->iShowTestPartNo(set->TestParts().iGetSize() - 1);
            if (m_owner) m_owner->RefreshAllViews();
        }
        Pause(100);
        if (bSendsContour(m_link->iGetSendMode()) || m_link->iGetDiagMode() == 1) {
            if (m_link->iSetDiagMode(0, 0) != kOk) {
                StopLogging();
                m_link->iDisConnect(0, 0);
                m_link->SetStatusModus(" ");
                return 0;
            }
        }
        if (m_link->iGetComOnLine() != 1) {
            StopLogging();
            m_link->iDisConnect(1, 0);
        }
        return 1;
    }

    OWaitCursor wait(m_ui);
    m_link->bRemoveAllReceivedParts(OQuillonComInterface::kReceivedPartsLockTimeout);
    if (!EnsureConnected()) {
        StopLogging();
        m_link->iDisConnect(0, 0);
        m_link->SetStatusModus(" ");
        return 0;
    }
    // The device's own display modes (2, 3) send nothing: back to a sending mode first.
    const int sendMode = m_link->iGetSendMode();
    if (sendMode != 0 && !bSendsContour(sendMode)) iSendKonzeiWithRetry();
    bool diagOn = m_link->iGetDiagMode() == 1;
    if (!diagOn) {
        if (m_link->commandEWDIAG() != kOk) {
            m_ui.Message(ResStr(6187), MsgIcon::Error);
            return 0;
        }
        diagOn = true;
        WarnDiagnosticMode();
    }
    Pause(100);
    bool contourOn = bSendsContour(m_link->iGetSendMode()) || m_link->commandKONTUR() == kOk;
    while (!diagOn || !contourOn) {
        if (m_ui.Message(ResStr(4102), MsgIcon::Question, MsgButtons::RetryCancel) !=
            MsgResult::Retry) {
            Disconnect(0);
            return 0;
        }
        Pause(150);
        if (!diagOn) {
            diagOn = m_link->commandEWDIAG() == kOk;
            Pause(150);
        }
        if (!contourOn) contourOn = m_link->commandKONTUR() == kOk;
    }
    return 1;
}

int OQuillon::UploadDeviceInfo(ZRINFO& buffer) {
    if (!m_link) return 0;
    const bool connected = EnsureConnected() == 1;
    bool uploaded = false;
    if (connected) {
        m_link->SetStatusModus(ResStr(4008));
        uploaded = m_link->uploadZRINFO() == kOk;
        m_link->SetStatusModus(" ");
        if (uploaded) {
            if (m_link->iGetComOnLine() != 1) {
                StopLogging();
                m_link->iDisConnect(1, 0);
            }
            buffer = *m_link->opGetZRInfo_ComBuffer();
            return 1;
        }
        m_ui.Message(ResStr(4201), MsgIcon::Error);
    }
    StopLogging();
    m_link->iDisConnect(0, 0);
    m_link->SetStatusModus(" ");
    return 0;
}

void OQuillon::OnConnectionLost() {
    if (m_owner && m_owner->bIsLinkStateChanging()) return;
    static OClock_System systemClock;
    const Clock& clock = m_owner && m_owner->opGetClock() ? *m_owner->opGetClock() : systemClock;
    const int64_t second =
        std::chrono::duration_cast<std::chrono::seconds>(clock.Now().time_since_epoch()).count();
    const std::optional<int64_t> previous = m_lastConnectionLostSecond;
    m_lastConnectionLostSecond = second;
    if (previous && second - *previous <= kConnectionLostDebounceSec) return;
    if (m_handlingConnectionLost) return;
    m_handlingConnectionLost = true;

    if (m_link) m_link->UpdatePO();
    if (m_link) m_deviceStatus.TakeFrom(*m_link);
    if (m_owner) {
        m_owner->CancelActiveModalDialog();
        m_owner->BringMainWindowToFront();
    }
    const MsgResult answer = m_ui.Message(ResStr(6399), MsgIcon::Question, MsgButtons::YesNo);
    if (bIsOnline()) EnsureConnected();
    SetLinkStateChanging(false);
    CommandQueue* mainWindow = m_owner ? m_owner->opGetMainWindow() : nullptr;
    if (answer == MsgResult::Yes && mainWindow) mainWindow->Post(kSaveCommand);
    if (m_owner) m_owner->RefreshAllViews();
    if (mainWindow)
        mainWindow->iRemovePendingAtHead(kConnectionLostCommand, kMaxDroppedNotifications);
    m_handlingConnectionLost = false;
}
