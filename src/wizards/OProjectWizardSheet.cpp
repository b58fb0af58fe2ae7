#include "wizards/OProjectWizardSheet.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "classification/OClassifier.h"
#include "device/DeviceIdentification.h"
#include "device/DeviceInfoBuilder.h"
#include "device/OQuillon.h"
#include "device/TargetSystemSettings.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectData.h"
#include "model/strings/FileNameCleaning.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"
#include "platform/OClock_System.h"
#include "platform/UserInteraction.h"
#include "wizards/ProjectWizardRules.h"

namespace {

using namespace ProjectWizardPage;

constexpr const char* kStopDevice = "Please stop the device";

const Clock& WizardClock(ODoc& doc) {
    static const OClock_System systemClock;
    if (const Clock* clock = doc.opGetClock()) return *clock;
    return systemClock;
}

}  // namespace

OProjectWizardSheet::OProjectWizardSheet(ODoc& doc, std::string path)
    : m_doc(doc),
      m_optimizer(std::make_unique<OOptimizeWizardDialog>(
          doc.opEnsureExtractor(), doc.opEnsureClassifier(), WizardClock(doc), doc.UI())) {
    SetProjectPath(path);
}

OProjectWizardSheet::~OProjectWizardSheet() {
    m_doc.SetWizardWindow(nullptr);
}

std::string OProjectWizardSheet::PageTitle(int page) {
    switch (page) {
        case kStart:
            return "General Information about the Project Wizard";
        case kParameters:
            return "New Project 1/2";
        case kTaskSettings:
            return "New Project, 2/2";
        case kShowTeachParts:
            return "Show Sample Parts";
        case kMoreOris:
            return "Further part types or orientations";
        case kShowBadParts:
            return "Show Bad Parts";
        case kOptiSettings:
            return OProjectWizardOptiSettings::kTitle;
        case kCreateTeachData:
            return "Create Teach-Data";
        case kShowTestParts:
            return "Show Test Parts";
        case kEvaluation:
            return OProjectWizardEvaluation::kTitle;
        case kSaveFiles:
            return "Save and Transer Data";
        default:
            return {};
    }
}

OQuillon& OProjectWizardSheet::Session() const {
    return *m_doc.opGetSession();
}

int OProjectWizardSheet::iOrientation() const {
    return Session().iGetRecordOrientation();
}

int OProjectWizardSheet::iType() const {
    return Session().iGetRecordType();
}

int OProjectWizardSheet::iMaxOrientations() const {
    const OQuillon& s = Session();
    return s.ProjectProperties().useOrientation ? std::max(1, s.GetTargetSystem().orientations) : 1;
}

int OProjectWizardSheet::iMaxTypes() const {
    const OQuillon& s = Session();
    return s.ProjectProperties().useTypes ? std::max(1, s.GetTargetSystem().partsInSet) : 1;
}

bool OProjectWizardSheet::bSendsParts() const {
    // Parts arrive only while the device is in diagnostic mode and sends contours.
    const int mode = Session().iGetSendMode();
    return Session().bIsDiagMode() && (mode == 1 || mode == 4);
}

void OProjectWizardSheet::Begin() {
    m_doc.SetWizardWindow(this);
    Activate(kStart);
}

void OProjectWizardSheet::Activate(int page) {
    m_page = page;
    switch (page) {
        case kStart:
            m_info.clear();
            m_buttons = kNext;
            break;
        case kParameters:
            SetProjectPath(m_path);
            break;
        case kTaskSettings:
            ActivateTaskSettings();
            break;
        case kShowTeachParts:
            ActivateShowTeachParts();
            break;
        case kMoreOris:
            ActivateMoreOris();
            break;
        case kOptiSettings:
            m_optimizer->Sheet().SettingsPage().OnActivate();
            m_buttons = kBack | kNext;
            m_info = m_optimizer->Sheet().SettingsPage().StatusText();
            break;
        case kCreateTeachData:
            ActivateCreateTeachData();
            break;
        case kEvaluation:
            ActivateEvaluation();
            break;
        case kSaveFiles:
            m_buttons = kBack | kFinish;
            m_info.clear();
            m_results.target = std::clamp(m_results.target, 1, std::max(1, iTransferTargets()));
            break;
        default:  // bad parts, test parts
            m_buttons = kBack | kNext;
            m_info.clear();
            break;
    }
}

int OProjectWizardSheet::Go(int page) {
    Activate(page);
    return m_page;
}

int OProjectWizardSheet::Next() {
    switch (m_page) {
        case kStart:
            if (bStartNext()) Go(kParameters);
            break;
        case kParameters:
            if (bParametersNext()) Go(kTaskSettings);
            break;
        case kTaskSettings:
            m_taskFlags = m_taskBoxes;
            Go(kShowTeachParts);
            break;
        case kShowTeachParts:
            Go(kMoreOris);
            break;
        case kMoreOris:
            if (!bLeaveDiagnosticMode() || bSendsParts()) break;
            Go(kCreateTeachData);
            break;
        case kCreateTeachData:
            if (m_creation.iTeachError() == 20) m_doc.UI().Message(ResStr(2169), MsgIcon::Warning);
            Go(bTaskFlag(WizardTask::AutomaticOptimisation) ? kOptiSettings : kEvaluation);
            break;
        case kOptiSettings:
            if (m_optimizer->Sheet().SettingsPage().bRunning()) break;
            Go(kEvaluation);
            break;
        case kShowBadParts:
        case kShowTestParts:
            Go(kOptiSettings);
            break;
        case kEvaluation:
            Go(kSaveFiles);
            break;
        default:
            break;
    }
    return m_page;
}

int OProjectWizardSheet::Back() {
    switch (m_page) {
        case kParameters:
            Go(kStart);
            break;
        case kTaskSettings:
            Go(kParameters);
            break;
        case kShowTeachParts:
            bLeaveDiagnosticMode();
            Go(kTaskSettings);
            break;
        case kMoreOris:
            if (m_orientationsFinished) bLeaveDiagnosticMode();
            Go(kShowTeachParts);
            break;
        case kCreateTeachData:
            Go(kMoreOris);
            break;
        case kOptiSettings:
            if (m_optimizer->Sheet().SettingsPage().bRunning()) break;
            Go(bTaskFlag(WizardTask::TypicalDefects) ? kShowBadParts : kCreateTeachData);
            break;
        case kShowBadParts:
        case kShowTestParts:
            Go(kCreateTeachData);
            break;
        case kEvaluation: {
            const bool noResult = m_evaluation.Rows().empty();
            Go(bTaskFlag(WizardTask::AutomaticOptimisation) || noResult ? kOptiSettings
                                                                        : kCreateTeachData);
            break;
        }
        case kSaveFiles:
            Go(kEvaluation);
            break;
        default:
            break;
    }
    return m_page;
}

void OProjectWizardSheet::OnCancel() {
    m_optimizer->Sheet().SettingsPage().OnSheetCancel(m_doc.opEnsureExtractor());
    bLeaveDiagnosticMode();
}

// --- page 1 ---

bool OProjectWizardSheet::bStartNext() {
    OQuillon& session = Session();
    ZRINFO info;
    if (session.UploadDeviceInfo(info) != 1) {
        m_doc.UI().Message(ResStr(4213), MsgIcon::Error);
        return false;
    }
    m_deviceHasEncoder = ProjectWizardRules::bHasEncoder(info);
    const int hardware = DeviceInfo::ReadTarget(info).hardware;
    const OIdentification id = DeviceIdentification::Identify(
        info, TargetSystemSettings::ReadToolLimits(session.SettingsStore(), hardware));
    OTargetSystem target = id.target;
    const OTargetSystem& now = session.GetTargetSystem();
    if (!session.ProjectProperties().useOrientation) target.orientations = 1;
    const bool differs = target.hardware != now.hardware || target.software != now.software ||
                         target.addIn != now.addIn || target.partTypes != now.partTypes ||
                         target.partsInSet != now.partsInSet ||
                         target.orientations != now.orientations ||
                         id.toolCapacity != session.iGetToolCapacity();
    if (differs) {
        OTargetChange change;
        change.deviceInfo = info;
        change.target = target;
        change.partSets = std::max(1, session.PartSets().iGetNum());
        change.useManualTypes = session.ProjectProperties().useManualTypes;
        change.useManualOrientation = session.ProjectProperties().useManualOrientation;
        change.interactive = true;
        session.ChangeTargetSystem(change);
        // Another device family comes with other engines.
        m_optimizer->SetEngines(m_doc.opEnsureExtractor(), m_doc.opEnsureClassifier());
        m_doc.RecomputeAll(1, 0, 1, 1, 0);
        m_doc.RefreshViews();
    }
    WriteDeviceIntoProjectData(info);
    return true;
}

void OProjectWizardSheet::WriteDeviceIntoProjectData(const ZRINFO& info) {
    OQuillon& session = Session();
    OType_ProjectData& data = session.ProjectData();
    const OTargetSystem& target = session.GetTargetSystem();
    data.Set(ProjectField::DeviceType, TargetSystem::HardwareName(target.hardware));
    data.Set(ProjectField::FirmwareVersion, TargetSystem::SoftwareName(target.software));
    const int pixels = (info.u8(688) << 8) | info.u8(689);
    data.Set(ProjectField::NumberOfPixels, std::to_string(pixels));
    data.Set(ProjectField::DeviceOptions, ProjectWizardRules::bHasEncoder(info) ? "Encoder" : "");
}

// --- page 2 ---

void OProjectWizardSheet::SetProjectName(const std::string& name) {
    m_name = name;
    m_path = ProjectWizardRules::PathWithName(m_path, name);
    const bool complete = !m_name.empty() && !m_path.empty();
    if (m_page == kParameters) {
        m_buttons = complete ? kBack | kNext : kBack;
        m_info = complete ? "Press 'Next' to advance" : "Please specify the projects name";
    }
}

void OProjectWizardSheet::SetProjectPath(const std::string& path) {
    m_path = path;
    m_name = ProjectWizardRules::NameOfPath(path);
    const bool complete = !m_name.empty() && !m_path.empty();
    if (m_page == kParameters) {
        m_buttons = complete ? kBack | kNext : kBack;
        m_info = complete ? "Press 'Next' to advance" : "Please specify the projects name";
    }
}

void OProjectWizardSheet::Browse() {
    FileDialogRequest request;
    request.filter = ResStr(5301);
    request.defaultExtension = "zrp";
    request.initialPath = CleanFileName(m_path);
    const FileDialogResult result = m_doc.UI().FileSave(request);
    if (result.bAccepted && !result.paths.empty()) SetProjectPath(result.paths.front());
}

void OProjectWizardSheet::StartViewer() {
    m_doc.OnCommand(Cmd::kStartCompanionViewer, 0);
}

bool OProjectWizardSheet::bParametersNext() {
    std::error_code error;
    if (std::filesystem::exists(m_path, error) &&
        m_doc.UI().Message(ResStr(5114), MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes)
        return false;
    if (!ProjectWizardRules::bIsValidPath(m_path)) {
        m_doc.UI().Message(ResStr(5205), MsgIcon::Error);
        return false;
    }
    return true;
}

// --- page 3 ---

bool OProjectWizardSheet::bTaskEnabled(WizardTask task) const {
    const OQuillon& s = Session();
    switch (task) {
        case WizardTask::AutomaticOptimisation:
            return s.iGetToolCapacity() > 0;
        case WizardTask::LengthPriority:
            return (m_deviceHasEncoder || ProjectWizardRules::bHasEncoder(s.DeviceInfo())) &&
                   s.GetTargetSystem().software >= 258 && s.GetTargetSystem().software <= 1535;
        case WizardTask::Sorting:
            return s.ProjectProperties().useTypes && s.GetTargetSystem().partsInSet > 1;
        default:
            return true;
    }
}

void OProjectWizardSheet::ActivateTaskSettings() {
    m_taskBoxes = m_taskFlags;
    for (int i = 0; i < static_cast<int>(WizardTask::Count); ++i) {
        if (!bTaskEnabled(static_cast<WizardTask>(i))) m_taskBoxes[static_cast<size_t>(i)] = false;
    }
    m_info = "Change the settings according to the task";
    m_buttons = kBack | kNext;
}

void OProjectWizardSheet::SetTask(WizardTask task, bool on) {
    m_taskBoxes[Index(task)] = on && bTaskEnabled(task);
}

// --- page 4 ---

std::vector<const OType_Part*> OProjectWizardSheet::CurrentSamples() const {
    std::vector<const OType_Part*> parts;
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!set) return parts;
    const OType_PartArray& list = set->TeachParts();
    const int type = bTaskFlag(WizardTask::Sorting) ? iType() : 1;
    for (int i = 0; i < list.iGetSize(); ++i) {
        const OType_Part* part = list.GetAt_NoSort(i);
        if (part->iGetOrientation() == iOrientation() &&
            (!bTaskFlag(WizardTask::Sorting) || part->iGetType() == type))
            parts.push_back(part);
    }
    return parts;
}

void OProjectWizardSheet::ShowRecordingPrompt() {
    m_info = bTaskFlag(WizardTask::Sorting)
                 ? FormatPrintf("Now feed parts of type %d with orientation %d.", iType(),
                                iOrientation())
                 : FormatPrintf("%s: %d", "Show parts in orientation", iOrientation());
}

void OProjectWizardSheet::ResetRecordingStart() {
    Session().SetRecordOrientation(1);
    Session().SetRecordType(1);
    m_orientationsFinished = false;
    m_buttons = kBack;
    m_info = ResStr(2145);
    m_startEnabled = true;
    m_deleteEnabled = false;
}

void OProjectWizardSheet::ActivateShowTeachParts() {
    m_hint = ResStr(bTaskFlag(WizardTask::Sorting) ? 2211 : 2210);
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    const bool haveSamples = set && !set->TeachParts().bIsEmpty();
    const std::vector<const OType_Part*> samples = CurrentSamples();
    m_shownSample = static_cast<int>(samples.size()) - 1;
    if (!bSendsParts() && !haveSamples) {
        ResetRecordingStart();
        return;
    }
    Session().SetRecordingTarget(1);
    ShowRecordingPrompt();
    m_deleteEnabled = !samples.empty();
    if (Session().Options().msgBeep == 1 && !m_doc.UI().MessageBeep(MsgIcon::Information))
        m_doc.UI().Beep(2000, 200);
    m_startEnabled = false;
    m_buttons = bSendsParts() ? 0 : kNext;
}

void OProjectWizardSheet::OnStartRecording() {
    if (!bSendsParts() && Session().SetDiagnosticMode(1) != 1) return;
    if (!bSendsParts()) return;
    Session().SetRecordingTarget(1);
    ShowRecordingPrompt();
    m_buttons = 0;
    m_startEnabled = false;
}

void OProjectWizardSheet::OnDeleteSample() {
    OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    const std::vector<const OType_Part*> samples = CurrentSamples();
    if (!set || m_shownSample < 0 || m_shownSample >= static_cast<int>(samples.size())) return;
    OType_PartArray& list = set->TeachParts();
    for (int i = 0; i < list.iGetSize(); ++i) {
        if (list.GetAt_NoSort(i) != samples[static_cast<size_t>(m_shownSample)]) continue;
        list.RemoveAt_NoSort(i);
        break;
    }
    m_doc.Recompute(set, 0, 0, 1, 0, 0);
    m_doc.SetModifiedFlag(1);
    m_doc.RefreshViews();
    const int left = static_cast<int>(CurrentSamples().size());
    m_shownSample = std::min(m_shownSample, left - 1);
    m_deleteEnabled = left > 0;
    if (set->TeachParts().bIsEmpty() && !bSendsParts()) ResetRecordingStart();
}

const OType_Part* OProjectWizardSheet::opShownPart() const {
    if (m_page == kShowTeachParts) {
        const std::vector<const OType_Part*> samples = CurrentSamples();
        const bool valid = m_shownSample >= 0 && m_shownSample < static_cast<int>(samples.size());
        return valid ? samples[static_cast<size_t>(m_shownSample)] : nullptr;
    }
    if (m_page != kShowBadParts && m_page != kShowTestParts) return nullptr;
    // Parts received after page 5 are test parts; the newest is the last one added.
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    const int count = set ? set->TestParts().iGetSize() : 0;
    return count > 0 ? set->TestParts().GetAt_NoSort(count - 1) : nullptr;
}

const ZRINFO& OProjectWizardSheet::DeviceInfo() const {
    return Session().DeviceInfo();
}

void OProjectWizardSheet::OnSpin(int step) {
    const int count = static_cast<int>(CurrentSamples().size());
    if (count == 0) return;
    m_shownSample = std::clamp(m_shownSample + step, 0, count - 1);
}

void OProjectWizardSheet::PlayThreeBeeps() {
    if (Session().Options().msgBeep != 1) return;
    m_doc.UI().Beep(2000, 100);
    m_doc.UI().Beep(4000, 100);
    m_doc.UI().Beep(2000, 100);
}

void OProjectWizardSheet::OnManualAbort() {
    PlayThreeBeeps();
    Go(kMoreOris);
}

bool OProjectWizardSheet::bEnoughParts() const {
    std::vector<double> values;
    for (const OType_Part* part : CurrentSamples())
        values.push_back(part->dGetResultValue(0));
    return ProjectWizardRules::bStableResults(values, bTaskFlag(WizardTask::AutomaticOptimisation));
}

void OProjectWizardSheet::Post(int commandId, int64_t /*argument*/) {
    if (commandId != Cmd::kWizardPartArrived) return;
    if (m_onPart) {
        m_onPart();
    } else {
        OnPartArrived();
    }
}

void OProjectWizardSheet::OnPartArrived() {
    if (m_page != kShowTeachParts) return;
    const std::vector<const OType_Part*> samples = CurrentSamples();
    m_shownSample = static_cast<int>(samples.size()) - 1;
    m_deleteEnabled = !samples.empty();
    if (Session().iGetRecordingTarget() != 1 || !bEnoughParts()) return;
    PlayThreeBeeps();
    Go(kMoreOris);
}

bool OProjectWizardSheet::bLeaveDiagnosticMode() {
    OQuillon& session = Session();
    if (!session.bIsDiagMode()) return true;
    if (session.SetDiagnosticMode(0) == 1) return true;
    m_doc.UI().Message(kStopDevice, MsgIcon::Warning);
    return session.SetDiagnosticMode(0) == 1;
}

// --- page 5 ---

void OProjectWizardSheet::ActivateMoreOris() {
    Session().SetRecordingTarget(0);
    m_highestType = 0;
    m_highestOrientation = 0;
    if (const OType_ZRPartSet* set = m_doc.opGetActualPartSet()) {
        const OType_PartArray& list = set->TeachParts();
        for (int i = 0; i < list.iGetSize(); ++i)
            m_highestType = std::max(m_highestType, list.GetAt_NoSort(i)->iGetType());
        for (int i = 0; i < list.iGetSize(); ++i) {
            const OType_Part* part = list.GetAt_NoSort(i);
            if (part->iGetType() == m_highestType)
                m_highestOrientation = std::max(m_highestOrientation, part->iGetOrientation());
        }
    }
    m_buttons = 0;
    m_typeFinishedEnabled = true;
    m_nextTypeEnabled = false;
    m_allTypesEnabled = false;
    if (iOrientation() >= iMaxOrientations() || !bSendsParts()) {
        m_info = "Maximum amount of orientations reached.";
        m_nextOrientationEnabled = false;
    } else {
        m_info = "Press 'Next Orientation' for more orientations, otherwise 'Finished'";
        m_nextOrientationEnabled = true;
    }
    if (m_orientationsFinished) {
        m_nextOrientationEnabled = m_typeFinishedEnabled = false;
        m_buttons = kBack | kNext;
    }
}

void OProjectWizardSheet::OnNextOrientation() {
    if (!m_nextOrientationEnabled) return;
    Session().SetRecordOrientation(iOrientation() + 1);
    Go(kShowTeachParts);
}

void OProjectWizardSheet::FinishOrientations() {
    m_orientationsFinished = true;
    m_nextOrientationEnabled = m_typeFinishedEnabled = false;
    m_nextTypeEnabled = m_allTypesEnabled = false;
    m_info = "Please stop the device , then Press 'Next' here.";
    m_buttons = kBack | kNext;
}

void OProjectWizardSheet::OnTypeFinished() {
    if (!bTaskFlag(WizardTask::Sorting)) {
        FinishOrientations();
        return;
    }
    if (iType() < iMaxTypes()) {
        m_info = ResStr(2214);
        m_nextTypeEnabled = true;
    } else {
        m_info = "Maximum number of part types reached.";
        m_nextTypeEnabled = false;
    }
    m_allTypesEnabled = true;
}

void OProjectWizardSheet::OnNextType() {
    if (!m_nextTypeEnabled) return;
    Session().SetRecordOrientation(1);
    Session().SetRecordType(iType() + 1);
    Go(kShowTeachParts);
}

void OProjectWizardSheet::OnAllTypesFinished() {
    FinishOrientations();
}

// --- pages 8 and 10 ---

void OProjectWizardSheet::ActivateCreateTeachData() {
    if (OType_ZRPartSet* set = m_doc.opGetActualPartSet()) {
        m_doc.Recompute(set, 1, 0, 1, 1, 0);
        m_doc.RefreshViews();
    }
    m_creation.OnActivate(m_doc.opEnsureClassifier());
    m_buttons = kBack | kNext;
    m_info = m_creation.Footer();
}

void OProjectWizardSheet::ActivateEvaluation() {
    const bool lengthFirst = bTaskFlag(WizardTask::LengthPriority);
    if (lengthFirst) ReduceLengthInfluence();
    m_evaluation.OnActivate(m_doc.opEnsureClassifier());
    if (lengthFirst) {
        m_evaluation.AddNote("Tolerance influence to length reduced to 1/10.");
        if (const OType_ZRPartSet* set = m_doc.opGetActualPartSet()) {
            for (const ProjectWizardRules::OLengthVariation& v :
                 ProjectWizardRules::LengthVariations(*set)) {
                m_evaluation.AddNote(
                    FormatPrintf("%d %% variation in Length of Parts in Orientation %d.", v.percent,
                                 v.orientation));
            }
        }
    }
    m_buttons = kBack | kNext;
    m_info = m_evaluation.Footer();
}

// The length (feature 0) counts a tenth in every orientation's tolerance band; the
// Teach-Data are computed again with it, as an undoable change.
void OProjectWizardSheet::ReduceLengthInfluence() {
    OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!set || !ProjectWizardRules::bSetLengthFactor(*set, ProjectWizardRules::kLengthFactor))
        return;
    m_doc.Recompute(set, 0, 0, 1, 1, 0);
    m_doc.SetModifiedFlag(1);
    m_doc.bStoreUndoStep(*set, "Teach-Data modified", Cmd::kViewTeachData);
}

// --- page 11 ---

std::string OProjectWizardSheet::TransferCaption() const {
    return bTaskFlag(WizardTask::Sorting) ? "Transfer Teach-Data to Sorting Programm:"
                                          : "Transfer Teach-Data to Type:";
}

int OProjectWizardSheet::iTransferTargets() const {
    const OTargetSystem& t = Session().GetTargetSystem();
    return ProjectWizardRules::iTransferTargets(t.partTypes, t.partsInSet,
                                                bTaskFlag(WizardTask::Sorting));
}

bool OProjectWizardSheet::bFinishPathIsProject() const {
    return ProjectWizardRules::bIsProjectFileName(m_path);
}
