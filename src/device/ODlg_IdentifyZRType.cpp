#include "device/ODlg_IdentifyZRType.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "device/DeviceInfoBuilder.h"
#include "device/OQuillon.h"
#include "device/TargetSystemSettings.h"
#include "link/OQuillonComInterface.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kTcp = 3;

bool bIsAddInCamera(int hw) {
    // The camera editions that have firmware add-ins (not Kesta 2b).
    return (hw >= 7 && hw <= 9) || hw == 11 || hw == 12 || TargetSystem::bIsCameraRange(hw) ||
           TargetSystem::bIsHost(hw);
}

bool bInRange(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

}  // namespace

ODlg_IdentifyZRType::ODlg_IdentifyZRType(OQuillon& session)
    : target(session.GetTargetSystem()),
      fixedFeatures(session.iGetFixedFeatures()),
      tools(session.iGetToolCapacity()),
      statusText(ResStr(4007)),
      m_session(session),
      m_start(session.GetTargetSystem()),
      m_startTools(session.iGetToolCapacity()) {}

void ODlg_IdentifyZRType::LoadProjectProperties(const OType_ProjectProperties& p) {
    compatibleWithVersion1 = p.addOldFormat != 0;
    multipleCheckPrograms = p.useMultiplePartSets != 0;
    orientationSeparation = p.useOrientation != 0;
    typeSeparation = p.useTypes != 0;
    deleteTypesWithoutParts = p.useManualTypes == 0;
    deleteOrientationsWithoutParts = p.useManualOrientation == 0;
    qualityInspection = p.useQuality != 0;
    coordTransOfFeatures = p.useAlternativeValue != 0;
    toolsOnCameraImage = p.useNewToolsOnCameraImage != 0;
    insertIntoProjectDescription = p.updateProjectDescription != 0;
}

std::vector<std::string> ODlg_IdentifyZRType::DeviceTypeChoices() {
    std::vector<std::string> names;
    for (int code : DeviceTypeCodes())
        names.push_back(TargetSystem::HardwareName(code));
    return names;
}

std::vector<int> ODlg_IdentifyZRType::FirmwareChoices(int hardware) {
    if (hardware == 0 || hardware == 1)
        return {788, 778, 768, 532, 522, 512, 258, 1812, 1802, 1792, 1538};
    // The firmware lines under which the edition has tools, newest first; the new platform
    // begins with Config V3.2.
    static constexpr int kLines[] = {828, 818, 808, 798, 788, 778, 768,
                                     532, 522, 512, 258, 257, 256};
    const bool newPlatform = TargetSystem::bIsNewPlatform(hardware);
    std::vector<int> fitting;
    const TargetSystem::OToolLimits limits = TargetSystem::DefaultToolLimits(hardware);
    for (int software : kLines) {
        if (newPlatform && software < 788) continue;
        if (TargetSystem::iToolCapacity(hardware, software, limits) > 0)
            fitting.push_back(software);
    }
    return fitting;
}

bool ODlg_IdentifyZRType::bIsAddInEnabled() const {
    const int sw = target.software;
    return bIsAddInCamera(target.hardware) && (sw == 798 || sw == 808 || sw == 818 || sw == 828);
}

std::vector<std::string> ODlg_IdentifyZRType::AddInChoices() const {
    if (bIsAddInEnabled()) return {ResStr(4242), ResStr(4243)};
    return {ResStr(4242)};
}

bool ODlg_IdentifyZRType::bIsOrientationEditable() const {
    const int hw = target.hardware;
    if (hw == 2) return true;
    const bool fixedEdition = bInRange(hw, 3, 12) || hw == 16 || TargetSystem::bIsCameraRange(hw) ||
                              TargetSystem::bIsHost(hw) || hw == 1024;
    return !fixedEdition && !bInRange(target.software, 788, 828);
}

void ODlg_IdentifyZRType::ApplyTargetRules() {
    if (!bIsAddInEnabled()) target.addIn = 0;
    if (!bIsOrientationEditable()) target.orientations = 8;
}

void ODlg_IdentifyZRType::ChooseHardware(int hardware) {
    target.hardware = hardware;
    const std::vector<int> fitting = FirmwareChoices(hardware);
    if (!fitting.empty() &&
        std::find(fitting.begin(), fitting.end(), target.software) == fitting.end())
        target.software = fitting.front();
    ChooseSoftware(target.software);
}

void ODlg_IdentifyZRType::ChooseSoftware(int software) {
    target.software = software;
    const int addIn = target.addIn;
    ApplyTargetRules();
    if (target.addIn != addIn) m_addInChanged = true;
    fixedFeatures = TargetSystem::iFixedFeatureCount(target.hardware);
    tools = TargetSystem::iToolCapacity(
        target.hardware, target.software,
        TargetSystemSettings::ReadToolLimits(m_session.SettingsStore(), target.hardware));
}

void ODlg_IdentifyZRType::ChooseAddIn(int addIn) {
    if (!bIsAddInEnabled()) addIn = 0;
    if (addIn != target.addIn) m_addInChanged = true;
    target.addIn = addIn;
}

bool ODlg_IdentifyZRType::bIdentifyOverEthernet() {
    OQuillon& session = m_session;
    if (!session.opGetConnection() || session.opGetConnection()->iGetInterfaceType() != kTcp) {
        session.Disconnect(0);
        session.SetConnectionKind(kTcp);
        session.CreateConnection(kTcp);
    }
    session.SetConnectionKind(kTcp);
    statusText = ResStr(4008);
    if (!session.UploadDeviceInfo(m_reported)) {
        statusText = ResStr(4009);
        return false;
    }
    const int reportedHardware = DeviceInfo::ReadTarget(m_reported).hardware;
    m_identification = DeviceIdentification::Identify(
        m_reported,
        TargetSystemSettings::ReadToolLimits(session.SettingsStore(), reportedHardware));
    DeviceIdentification::bWriteDeviceToolLimits(m_reported, m_identification,
                                                 session.SettingsStore());
    m_identified = true;
    for (const std::string& message : m_identification.messages)
        session.UI().Message(message, MsgIcon::Warning);
    const OIdentification& id = m_identification;
    const OTargetSystem& t = id.target;
    if (t.hardware <= 1024) target.hardware = t.hardware;
    if (bInRange(t.software, 256, 828) || bInRange(t.software, 1536, 1812))
        target.software = t.software;
    if (bInRange(t.partTypes, 1, 512)) target.partTypes = t.partTypes;
    target.partsInSet = bInRange(t.partsInSet, 1, 16) ? t.partsInSet : 1;
    if (bInRange(t.orientations, 1, 8)) target.orientations = t.orientations;
    const int capacity = TargetSystem::iToolCapacity(
        target.hardware, target.software,
        TargetSystemSettings::ReadToolLimits(session.SettingsStore(), target.hardware));
    if (id.deviceReportsToolLimits || id.toolCapacity == capacity) tools = id.toolCapacity;
    fixedFeatures = id.fixedFeatures;
    ApplyTargetRules();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    statusText = ResStr(4010);
    if (m_reported.bSupportsCoordTrans()) {
        // Into the dialog: the project takes it over only when the dialog is applied.
        OQuillonComInterface& link = *session.opGetConnection();
        link.SetStatusModus(ResStr(4179));
        m_takeCoordTrans = link.iReceiveCoordTransformerParameters(m_coordTrans) == 1;
        link.SetStatusModus(" ");
    }
    return true;
}

bool ODlg_IdentifyZRType::bTargetChanged() const {
    return target != m_start || tools != m_startTools;
}

bool ODlg_IdentifyZRType::bValidate(std::string& message) {
    if (target.hardware < 0 || target.software < 0) {
        message = ResStr(4200);
        return false;
    }
    return true;
}

void ODlg_IdentifyZRType::OnOk() {
    target.partsInSet = std::max(1, target.partsInSet);
    if (bInRange(target.software, 778, 828) || multipleCheckPrograms)
        compatibleWithVersion1 = false;
    m_hasNewInfo = false;
    if (!m_targetGiven && !bTargetChanged()) return;
    ODeviceInfoRequest request;
    request.target = target;
    request.fixedFeatures = fixedFeatures;
    request.tools = tools;
    request.limits =
        TargetSystemSettings::ReadToolLimits(m_session.SettingsStore(), target.hardware);
    m_newInfo = DeviceInfo::MakeWithoutDevice(request);
    m_hasNewInfo = true;
}
