#include "device/OQuillon.h"

#include <charconv>

#include "device/DeviceInfoBuilder.h"
#include "device/TargetSystemSettings.h"
#include "model/strings/CodePage.h"
#include "model/strings/ResStr.h"
#include "platform/Settings.h"
#include "platform/UserInteraction.h"
#include "tools/ToolKindRegistry.h"

namespace {

constexpr const char* kSection = "Settings";

// The language of the feature-name table: the number in string 3262.
int ProgramLanguage() {
    const std::string& text = ResStr(3262);
    int language = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), language);
    return error == std::errc() && language >= 0 ? language : 0;
}

}  // namespace

void OLogToFileSettings::Read(const Settings& s) {
    basePath = s.GetText(kSection, "LOGGING_TOFILE_FILEPATH", "");
    extension = s.GetText(kSection, "LOGGING_TOFILE_FILEEXTENSION", "");
    partsPerFile = s.iGetInt(kSection, "LOGGING_TOFILE_PARTSPERFILE", 100);
    useGoodParts = s.iGetInt(kSection, "LOGGING_TOFILE_USE_GOODPARTS", 1);
    useBadParts = s.iGetInt(kSection, "LOGGING_TOFILE_USE_BADPARTS", 1);
    useTeachParts = s.iGetInt(kSection, "LOGGING_TOFILE_USE_TEACHPARTS", 1);
    useCameraImage = s.iGetInt(kSection, "LOGGING_TOFILE_USE_CAMERAIMAGE", 0);
}

void OLogToFileSettings::Write(Settings& s) const {
    s.SetText(kSection, "LOGGING_TOFILE_FILEPATH", basePath);
    s.SetText(kSection, "LOGGING_TOFILE_FILEEXTENSION", extension);
    s.SetInt(kSection, "LOGGING_TOFILE_PARTSPERFILE", partsPerFile);
    s.SetInt(kSection, "LOGGING_TOFILE_USE_GOODPARTS", useGoodParts);
    s.SetInt(kSection, "LOGGING_TOFILE_USE_BADPARTS", useBadParts);
    s.SetInt(kSection, "LOGGING_TOFILE_USE_TEACHPARTS", useTeachParts);
    s.SetInt(kSection, "LOGGING_TOFILE_USE_CAMERAIMAGE", useCameraImage);
}

OQuillon::OQuillon(Settings& settings, UserInteraction& ui, OQuillonOwner* owner, int mode)
    : m_settings(settings), m_ui(ui), m_owner(owner), m_mode(mode), m_options(settings) {
    m_logSettings.Read(settings);
    SetTargetValues(TargetSystem::kNewProjectDefaults);
    m_loginNeeded = 1;
}

OQuillon::~OQuillon() {
    m_logSettings.Write(m_settings);
    ResetSession();
}

OProgressCtrl* OQuillon::opProgress() const {
    return m_owner ? m_owner->opGetProgress() : nullptr;
}

void OQuillon::SetTargetValues(const OTargetSystem& target) {
    m_target = target;
    m_fixedFeatures = TargetSystem::iFixedFeatureCount(target.hardware);
    m_toolCapacity =
        TargetSystem::iToolCapacity(target.hardware, target.software, GetConfiguredToolLimits());
}

void OQuillon::ReadTargetValues(const OTargetSystem& defaults) {
    SetTargetValues(TargetSystemSettings::ReadTarget(m_settings, defaults));
}

void OQuillon::WriteTargetValues() const {
    TargetSystemSettings::WriteTarget(m_settings, m_target);
}

TargetSystem::OToolLimits OQuillon::GetConfiguredToolLimits() const {
    return TargetSystemSettings::ReadToolLimits(m_settings, m_target.hardware);
}

bool OQuillon::bIsAcceptableTarget(const OTargetSystem& t, std::string* reason) {
    auto refuse = [&](const char* why) {
        if (reason) *reason = why;
        return false;
    };
    if (t.hardware < 0 || t.hardware > 0xFFFF) return refuse("the hardware code is out of range");
    if (!TargetSystem::bIsKnownSoftware(t.software)) return refuse("the firmware code is unknown");
    if (t.addIn < 0 || t.addIn > 0xFFFF) return refuse("the firmware add-in is out of range");
    if (t.partTypes < 1 || t.partTypes > kMaxPartTypes)
        return refuse("the number of part types is out of range");
    if (t.partsInSet < 1 || t.partsInSet > kMaxPartsInSet)
        return refuse("the number of part types per check program is out of range");
    if (t.orientations < 1 || t.orientations > kMaxOrientations)
        return refuse("the number of orientations is out of range");
    return true;
}

bool OQuillon::bSetUpNewProject(const OTargetSystem& target, const ONewProjectFlags& flags,
                                int partSets) {
    if (!bIsAcceptableTarget(target)) {
        m_ui.Message(ResStr(4200), MsgIcon::Error);
        return false;
    }
    SetTargetValues(target);
    ODeviceInfoRequest request;
    request.target = target;
    request.fixedFeatures = m_fixedFeatures;
    request.tools = m_toolCapacity;
    request.limits = GetConfiguredToolLimits();
    m_deviceInfo = DeviceInfo::MakeWithoutDevice(request);

    m_properties.useManualTypes = flags.useManualTypes;
    m_properties.useManualOrientation = flags.useManualOrientation;
    m_properties.useAlternativeValue = flags.useAlternativeValue;
    m_properties.useQuality = flags.useQuality;

    m_partSets.RemoveAll();
    for (int i = 0; i < partSets; ++i) {
        if (!AddPartSet(true)) return false;
    }
    return true;
}

bool OQuillon::bConfigureFromDeviceInfo(const ZRINFO& deviceInfo,
                                        const OType_ProjectProperties& properties) {
    const OTargetSystem target = DeviceInfo::ReadTarget(deviceInfo);
    if (!bIsAcceptableTarget(target)) {
        m_ui.Message(ResStr(4200), MsgIcon::Error);
        return false;
    }
    SetTargetValues(target);
    m_deviceInfo = deviceInfo;
    m_properties = properties;
    m_partSets.RemoveAll();
    return true;
}

void OQuillon::PreparePartSet(OType_ZRPartSet& partSet) {
    partSet.SetDeviceInfo(&m_deviceInfo);
    partSet.SetCoordTransformer(&m_coordTrans);
    partSet.SetProgress(opProgress());
    partSet.SetFixedFeatures(m_fixedFeatures);
    RegisterToolAndDataOutputKinds(partSet);
}

OType_ZRPartSet* OQuillon::AddPartSet(bool full) {
    OType_ZRPartSet* set = m_partSets.opAddPartSet(&m_deviceInfo, &m_coordTrans, opProgress(),
                                                   full ? m_target.partsInSet : 0);
    if (!set) return nullptr;
    set->SetFixedFeatures(m_fixedFeatures);
    set->SetCompatibilityFirmwareVersion(
        TargetSystem::CompatibleFirmware(m_target.hardware, m_target.software), "0.0.0.0");
    RegisterToolAndDataOutputKinds(*set);
    set->ExtractFeatureNameLanguage(ProgramLanguage());
    set->UndoRedo().bStartUndoRedo(*set);
    if (m_owner) m_owner->RepaintMainFrame();
    return set;
}

OType_ZRPartSet* OQuillon::AddPartSet(const std::string& name) {
    OType_ZRPartSet* set = AddPartSet(true);
    if (set && bIsConvertibleToAnsi(name)) set->SetName(name);
    return set;
}

void OQuillon::ResetSession() {
    WriteTargetValues();
    m_properties.Reset();
    m_projectData.RemoveAll();
    m_byteBuffer.clear();
    m_partSets.RemoveAll();
    m_coordTrans.Reset();
    m_unknownBlocks.clear();
    m_projectPath.clear();
}
