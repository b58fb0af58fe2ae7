#include "DeviceSession.h"

#include <chrono>
#include <ostream>

#include "device/DeviceInfoBuilder.h"
#include "device/TargetSystemSettings.h"
#include "link/OConnectionProfile.h"
#include "link/OQuillonComInterface.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"

namespace {

constexpr const char* kSection = "Settings";

}  // namespace

OCliDeviceSession::OCliDeviceSession(const ODeviceAddress& address, std::ostream& err)
    : m_err(err), m_address(address), m_ui(err) {
    OConnectionProfile profile;
    if (!address.host.empty()) {
        profile.name = "kalvorctl";
        profile.kind = OConnectionProfile::Kind::Tcp;
        profile.host = address.host;
        for (int i = 0; i < 3; ++i)
            profile.ports[static_cast<size_t>(i)] = std::to_string(address.port + i);
    } else {
        profile.name = "kalvorctl";
        profile.kind = OConnectionProfile::Kind::Serial;
        profile.serialDevice = address.serial;
        profile.baud = address.baud;
    }
    ConnectionProfiles::Save(m_settings, {profile});
    ConnectionProfiles::SetLast(m_settings, profile.kind, 1);
    ConnectionProfiles::SetAskAtLogin(m_settings, false);
    m_settings.SetInt(kSection, "CONTYPE", address.host.empty() ? 0 : 3);
    m_settings.SetInt(kSection, "AUTOSPEED", 0);
    m_settings.SetInt(kSection, "MSG_BEEP", 0);
    m_settings.SetInt(kSection, "WARNING_DISABLE_DIAGON", 1);
    m_settings.SetInt(kSection, "SHOW_WIZARD_BAR", 0);
    m_headless = std::make_unique<OHeadlessDocument>(m_settings, &m_ui);
    if (OQuillonComInterface* link = Session().opGetConnection())
        link->SetTimeOut_SEC(address.timeoutSec);
}

OCliDeviceSession::~OCliDeviceSession() {
    m_headless.reset();
}

void OCliDeviceSession::Disconnect() {
    Session().Disconnect(0);
}

bool OCliDeviceSession::bIdentify(ZRINFO& info, OIdentification& id) {
    if (!Session().UploadDeviceInfo(info)) {
        const OQuillonComInterface* link = Session().opGetConnection();
        m_err << "kalvorctl device: cannot read the device information"
              << (link ? ": " + link->GetLastComInterfaceErrorText() : std::string()) << "\n";
        return false;
    }
    const int hardware = DeviceInfo::ReadTarget(info).hardware;
    id = DeviceIdentification::Identify(info,
                                        TargetSystemSettings::ReadToolLimits(m_settings, hardware));
    return true;
}

bool OCliDeviceSession::bNewProject(const OTargetSystem& target) {
    std::string reason;
    if (!OQuillon::bIsAcceptableTarget(target, &reason)) {
        m_err << "kalvorctl device: the target system is not usable: " << reason << "\n";
        return false;
    }
    Session().ResetSession();  // stores the old target: the new one is written after it
    TargetSystemSettings::WriteTarget(m_settings, target);
    if (!Doc().OnNewDocument()) {
        m_err << "kalvorctl device: the target system was refused\n";
        return false;
    }
    Doc().RecomputeAll(1, 0, 1, 1, 0);
    return true;
}

bool OCliDeviceSession::bLoad(const std::string& path, const std::string& verb) {
    std::string errorText;
    const int result = Doc().LoadProjectFile(path, errorText, 1);
    if (result == 1) {
        // The project adapts the connection kind to its family; the command line decides.
        Session().SetConnectionKind(m_address.host.empty() ? 0 : 3);
        Session().CreateConnection(Session().iGetConnectionKind());
        Session().opGetConnection()->SetTimeOut_SEC(m_address.timeoutSec);
        return true;
    }
    m_err << "kalvorctl device " << verb << ": " << path << ": " << ResStr(5103)
          << (errorText.empty() ? "" : " " + errorText) << "\n";
    return false;
}

bool OCliDeviceSession::bSave(const std::string& path, const std::string& verb) {
    std::string errorText;
    const int result = Doc().WriteProjectFile(path, errorText);
    if (result == 1) return true;
    if (result == 2) {
        m_err << "kalvorctl device " << verb << ": " << path << ": the file name must contain "
              << (Doc().iGetFamily() == 2 ? ".kvp" : ".zrp") << " for this target system\n";
    } else {
        m_err << "kalvorctl device " << verb << ": " << path << ": " << ResStr(5121) << " "
              << errorText << "\n";
    }
    return false;
}

int OCliDeviceSession::iRecord(int teach, int count, int orientation, int type, int images) {
    OQuillon& session = Session();
    OType_ZRPartSet* set = session.opGetActualPartSet();
    if (!set) return 0;
    OType_PartArray& list = teach ? set->TeachParts() : set->TestParts();
    const int before = list.iGetSize();
    // The list's part limit ends the recording at exactly `count` new parts.
    OType_Options& options = session.Options();
    const int savedLimit = options.partBufferSize;
    const int savedPolicy = options.partLimitPolicy;
    options.partBufferSize = before + count;
    options.partLimitPolicy = 1;
    session.ResetPartLimit();
    session.SetRecordOrientation(orientation);
    session.SetRecordType(type);
    Doc().StartRecording(teach, 1, images < 0 ? (session.bImagesNeeded() ? 1 : 0) : images);
    // However slowly the feeder brings parts, recording goes on while they keep coming; it
    // gives up when none arrived for the time-out.
    const auto silence = std::chrono::seconds(m_address.timeoutSec);
    auto deadline = std::chrono::steady_clock::now() + silence;
    OHeadlessDocument& headless = *m_headless;
    int received = 0;
    while (session.bIsDiagMode() && received < count &&
           std::chrono::steady_clock::now() < deadline) {
        headless.Queue().bWaitForPost(std::chrono::milliseconds(100));
        headless.iDispatchPosted();
        if (list.iGetSize() - before != received) {
            received = list.iGetSize() - before;
            deadline = std::chrono::steady_clock::now() + silence;
        }
    }
    if (OQuillonComInterface* link = session.opGetConnection()) link->iSetDiagMode(0, 0);
    headless.iDispatchPosted();
    options.partBufferSize = savedLimit;
    options.partLimitPolicy = savedPolicy;
    session.ResetPartLimit();
    return list.iGetSize() - before;
}
