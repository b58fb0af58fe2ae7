#include "testcases/ODocTestCaseHost.h"

#include <charconv>

#include "device/DeviceIdentification.h"
#include "device/DeviceInfoBuilder.h"
#include "device/OQuillon.h"
#include "device/TargetSystemSettings.h"
#include "document/ODoc.h"
#include "link/LinkProtocol.h"
#include "link/OQuillonComInterface.h"
#include "link/OQuillonComInterface_TCP.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/Settings.h"
#include "testcases/OCheckProgramRun.h"

namespace {

namespace Result = LinkProtocol::Result;

constexpr int kTcp = 3;
constexpr int kKeepAliveTries = 3;
constexpr int kConnectTries = 20;
// Device parameters that carry the placement of the recorded image.
constexpr uint32_t kParamX = 7065;
constexpr uint32_t kParamY = 7064;
constexpr uint32_t kParamRight = 7066;
constexpr uint32_t kParamTop = 7063;

}  // namespace

ODocTestCaseHost::ODocTestCaseHost(ODoc& doc, RunOnUi runOnUi, PostEndFn postEnd)
    : m_doc(doc), m_runOnUi(std::move(runOnUi)), m_postEnd(std::move(postEnd)) {}

ODocTestCaseHost::~ODocTestCaseHost() = default;

OQuillon& ODocTestCaseHost::Session() {
    return *m_doc.opGetSession();
}

void ODocTestCaseHost::SplitAddress(const std::string& address, std::string& host, int& basePort) {
    host = address;
    basePort = 10000;
    const size_t colon = address.rfind(':');
    if (colon == std::string::npos) return;
    int port = 0;
    const char* begin = address.data() + colon + 1;
    const char* end = address.data() + address.size();
    const auto [at, ec] = std::from_chars(begin, end, port);
    if (ec != std::errc() || at != end || port < 1 || port > 65533) return;
    host = address.substr(0, colon);
    basePort = port;
}

bool ODocTestCaseHost::bLinkUsable() {
    OQuillonComInterface* link = Session().opGetConnection();
    if (!link || link->iGetComOnLine() != 1 || link->iGetDeviceBusyState() != 0 ||
        link->iGetInterfaceType() != kTcp)
        return false;
    for (int i = 0; i < kKeepAliveTries; ++i) {
        if (link->commandSYNCRO() == Result::kOk) return true;
        const int error = link->GetLastComInterfaceError();
        if (error == Result::kTimeOut || error == Result::kConnectionLost) return false;
    }
    return false;
}

bool ODocTestCaseHost::bConnect(const std::string& address) {
    OQuillon& session = Session();
    m_address = address;
    session.SetConnectionKind(kTcp);
    session.CreateConnection(kTcp);
    auto* tcp = dynamic_cast<OQuillonComInterface_TCP*>(session.opGetConnection());
    if (!tcp) return false;
    std::string host;
    int port = 10000;
    SplitAddress(address, host, port);
    tcp->SetAddress(host);
    tcp->SetPorts(std::to_string(port), std::to_string(port + 1), std::to_string(port + 2));
    int result = Result::kTryAgain;
    for (int i = 0; i < kConnectTries && result == Result::kTryAgain; ++i)
        result = tcp->iConnect(0, 0, 0, 0, 0, true, true);
    if (result != Result::kOk || tcp->iGetComOnLine() != 1) return false;
    session.SetRecordingTarget(0);
    session.SettingsStore().SetInt("Settings", "WARNING_DISABLE_DIAGON", 1);
    if (!session.SetDiagnosticMode(1)) return false;
    tcp->commandPARTIMAGES_ON();
    return bLinkUsable();
}

bool ODocTestCaseHost::bOpenProject(const std::string& path, std::string& description) {
    std::string errorText;
    const bool opened = m_doc.LoadProjectFile(path, errorText, 1) == 1;
    description = Session().ProjectData().Get(ProjectField::Description);
    if (!opened) return false;
    // Reading a project starts a fresh session, which ends the connection: make it again.
    if (!m_address.empty() && !bLinkUsable()) bConnect(m_address);
    return true;
}

bool ODocTestCaseHost::bAdaptToDevice(OTestDeviceImage& image, std::string& error) {
    OQuillon& session = Session();
    ZRINFO info;
    if (!session.UploadDeviceInfo(info)) {
        error = "cannot read the device information";
        return false;
    }
    const int hardware = DeviceInfo::ReadTarget(info).hardware;
    const OIdentification id = DeviceIdentification::Identify(
        info, TargetSystemSettings::ReadToolLimits(session.SettingsStore(), hardware));
    if (TargetSystem::iFamily(id.target.hardware) != 2) {
        error = "the device is not of the second family";
        return false;
    }
    OTargetChange change;
    change.deviceInfo = info;
    change.target = id.target;
    change.partSets = session.PartSets().iGetNum();
    change.useManualTypes = session.ProjectProperties().useManualTypes;
    change.useManualOrientation = session.ProjectProperties().useManualOrientation;
    change.interactive = false;
    change.silent = true;
    if (session.GetTargetSystem() != id.target && !session.ChangeTargetSystem(change)) {
        error = "the project cannot be changed to the device";
        return false;
    }
    image.width = info.iGetImageWidth();
    image.height = info.iGetImageHeight();
    image.pixelFormat = info.iGetPixelFormat() == 24 ? 24 : 8;
    return true;
}

int ODocTestCaseHost::iGetProgramCount() {
    return Session().PartSets().iGetNum();
}

std::string ODocTestCaseHost::GetProgramName(int index) {
    const OType_ZRPartSet* set = Session().opGetPartSet(index);
    return set ? set->GetName() : std::string();
}

bool ODocTestCaseHost::bSendProgram(int index) {
    OQuillon& session = Session();
    if (session.PartSets().iSetActualPartSetNo(index) != index) return false;
    m_pc.reset();
    if (session.DownloadProgramFile(index) != 1) return false;
    m_pc = std::make_unique<OCheckProgramRun>(session.DeviceInfo());
    const OType_ZRPartSet* set = session.opGetPartSet(index);
    if (!m_pc->bLoad(set->Encode(0, 0))) m_pc.reset();
    return true;
}

bool ODocTestCaseHost::bLoadParts(const std::string& path, std::vector<OType_Part>& parts,
                                  std::string& error) {
    OQuillon& session = Session();
    OType_ZRPartSet reader;
    session.PreparePartSet(reader);
    if (reader.iLoadParts(path, false, &error) != 1) return false;
    const OType_PartArray& list = reader.TestParts();
    parts.clear();
    parts.reserve(static_cast<size_t>(list.iGetSize()));
    for (int i = 0; i < list.iGetSize(); ++i)
        parts.push_back(*list.GetAt_NoSort(i));
    return true;
}

bool ODocTestCaseHost::bSendTestImage(const OType_Image& image, const OType_Image& recorded) {
    OQuillonComInterface* link = Session().opGetConnection();
    if (!link || link->iTestSendImage(image) != Result::kOk) return false;
    const double x = recorded.iGetPosX();
    const double y = recorded.iGetPosY();
    return link->commandSETPAR({{kParamX, x},
                                {kParamY, y},
                                {kParamRight, x + recorded.iGetWidth()},
                                {kParamTop, y + recorded.iGetHeight()}}) == Result::kOk;
}

bool ODocTestCaseHost::bTrigger() {
    OQuillonComInterface* link = Session().opGetConnection();
    return link && link->iSendTrigger() == Result::kOk;
}

OType_Part ODocTestCaseHost::Recompute(const OType_Part& devicePart) {
    if (!m_pc || !m_pc->bCanInspect(devicePart)) return devicePart;
    return m_pc->Inspect(devicePart);
}

std::string ODocTestCaseHost::ToolName(int toolId) {
    const OType_ZRPartSet* set = Session().opGetActualPartSet();
    const OType_ConfigTool* tool = set ? set->Tools().opFindById(toolId) : nullptr;
    return tool ? tool->GetName() : std::string();
}

void ODocTestCaseHost::EndRun() {
    OQuillon& session = Session();
    if (OQuillonComInterface* link = session.opGetConnection()) link->iDisConnect(1, 1);
    m_doc.SetModifiedFlag(0);
    m_doc.OnCloseDocument();
}
