#include "ExtractionTestHost.h"

#include "classification/OClassifierHost.h"
#include "model/strings/FormatPrintf.h"
#include "tools/OType_ConfigTool_Contour.h"
#include "tools/ToolKindRegistry.h"

namespace {
// The recording classifier never asks its host anything.
class OQuietClassifierHost : public OHeadlessClassifierHost {
  public:
    UserInteraction& UI() override { return m_ui; }
    OType_ZRPartSet* opGetActualPartSet() override { return nullptr; }
    const OType_ProjectProperties& ProjectProperties() const override { return m_properties; }
    const ZRINFO& DeviceInfo() const override { return m_info; }
    int iGetFixedFeatureCount() const override { return 12; }
    int iGetToolCapacity() const override { return 20; }
    int iGetDeviceOrientationCount() const override { return 8; }
    int iGetDeviceTypeCount() const override { return 6; }

  private:
    OUserInteraction_Scripted m_ui;
    OType_ProjectProperties m_properties;
    ZRINFO m_info;
};

OClassifierHost& UnusedClassifierHost() {
    static OQuietClassifierHost host;
    return host;
}
}  // namespace

ORecordingClassifier::ORecordingClassifier() : OClassifier(UnusedClassifierHost()) {}

void ORecordingClassifier::TeachFromParts(OType_ZRPartSet& partSet) {
    calls.push_back("teach");
    teachSets.push_back(&partSet);
    if (onTeach) onTeach();
}

void ORecordingClassifier::EvaluateTestParts(OType_ZRPartSet&, int flag) {
    calls.push_back("evaluate " + std::to_string(flag));
}

OExtractionTestHost::OExtractionTestHost() {
    SetTarget(TargetSystem::kNewProjectDefaults);
    AddPartSet();
}

void OExtractionTestHost::SetTarget(const OTargetSystem& t, int tools) {
    target = t;
    deviceTypeCode = t.software;
    ODeviceInfoRequest request;
    request.target = t;
    request.tools = tools;
    info = DeviceInfo::MakeWithoutDevice(request);
}

OType_ZRPartSet& OExtractionTestHost::AddPartSet() {
    OType_ZRPartSet* set = sets.opAddPartSet(&info, nullptr, &progress, 2);
    RegisterToolAndDataOutputKinds(*set);
    set->ExtractFeatureNameLanguage(0);
    set->SetFixedFeatures(12);
    for (int t = 0; t < set->iGetNum_SubTypes(); ++t)
        set->opGetSubType(t)->SetNumOrientations(2);
    sets.iSetActualPartSetNo(sets.iGetNum() - 1);
    return *set;
}

void OExtractionTestHost::Recompute(OType_ZRPartSet& partSet, int toolsChanged, int testOnly,
                                    int resortTeach, int resortTest, int option) {
    recomputes.push_back({toolsChanged, testOnly, resortTeach, resortTest, option});
    lastRecomputeResult = OExtractionRun(*this).Recompute(&partSet, toolsChanged, testOnly,
                                                          resortTeach, resortTest, option);
}

void OExtractionTestHost::SelectFeature(int feature, bool) {
    selectedFeatures.push_back(feature);
    if (OType_ZRPartSet* ps = opGetActualPartSet()) ps->iShowFeatureNo(feature);
}

void OExtractionTestHost::PrintContourView() {
    printedTeachParts.push_back(PartSet().iShowTeachPartGetNo());
}

bool OExtractionTestHost::bIsToolAllowed(int, int) {
    return toolAllowed;
}

OType_ConfigTool* OExtractionTestHost::opAddTool(OType_ZRPartSet& partSet, int kind, int subKind) {
    if (!toolAllowed) return nullptr;
    std::unique_ptr<OType_ConfigTool> tool = partSet.ToolPrototypes().Create(kind);
    if (!tool) return nullptr;
    tool->SetFeatureType(subKind);
    // Grouped by kind, named "%s %d" with the smallest free number.
    int at = 0;
    for (int k = 0; k < partSet.Tools().iGetNum(); ++k) {
        if (partSet.Tools().opGetAt(k)->iGetConfigToolType() <= kind) at = k + 1;
    }
    for (int n = 1;; ++n) {
        const std::string name = FormatPrintf("%s %d", tool->GetKindName(), n);
        bool used = false;
        for (const auto& t : partSet.Tools())
            used = used || t->GetName() == name;
        if (!used) {
            tool->SetName(name);
            break;
        }
    }
    return partSet.Tools().Insert(at, std::move(tool));
}

bool OExtractionTestHost::bClipboardHasFormat(std::string_view format) {
    return clipboard.find(format) != clipboard.end();
}

bool OExtractionTestHost::bReadClipboard(std::string_view format, std::vector<uint8_t>& bytes) {
    const auto it = clipboard.find(format);
    if (it == clipboard.end()) return false;
    bytes = it->second;
    return true;
}

bool OExtractionTestHost::bWriteClipboard(std::string_view format,
                                          const std::vector<uint8_t>& bytes) {
    if (!clipboardWriteWorks) return false;
    clipboard[std::string(format)] = bytes;
    return true;
}

OExtractor* OExtractionTestHost::opEnsureContourView() {
    if (contourViewFails) return nullptr;
    if (contourViewOpened++ == 0) engine.ResetView();
    return &engine;
}

std::vector<int16_t> Runs(const std::vector<std::vector<std::pair<int, int>>>& columns) {
    std::vector<int16_t> out;
    for (const auto& column : columns) {
        if (column.empty()) {
            out.push_back(1);
            out.push_back(-1);
            continue;
        }
        for (size_t i = 0; i < column.size(); ++i) {
            out.push_back(static_cast<int16_t>(column[i].first));
            const int bottom = column[i].second;
            out.push_back(static_cast<int16_t>(i + 1 == column.size() ? -bottom : bottom));
        }
    }
    return out;
}

std::vector<int16_t> Block(int columns, int top, int bottom) {
    std::vector<std::vector<std::pair<int, int>>> c(static_cast<size_t>(columns), {{top, bottom}});
    return Runs(c);
}

namespace {
OType_Part& AddPart(OType_PartArray& list, std::vector<int16_t> runs, int orientation, int type,
                    bool teach) {
    auto part = std::make_unique<OType_Part>();
    part->SetConturData(std::move(runs));
    part->SetOrientation(orientation);
    part->SetType(type);
    part->SetTeachPart(teach);
    part->SetRecordNo(list.iGetSize() + 1);
    return *list.Add(std::move(part));
}
}  // namespace

OType_Part& AddTeachPart(OType_ZRPartSet& ps, std::vector<int16_t> runs, int orientation,
                         int type) {
    return AddPart(ps.TeachParts(), std::move(runs), orientation, type, true);
}

OType_Part& AddTestPart(OType_ZRPartSet& ps, std::vector<int16_t> runs, int orientation, int type) {
    return AddPart(ps.TestParts(), std::move(runs), orientation, type, false);
}

OType_ConfigTool& AddTool(OType_ZRPartSet& ps, int kind, int subKind, const ORect& region,
                          int placementMode) {
    std::unique_ptr<OType_ConfigTool> tool = ps.ToolPrototypes().Create(kind);
    tool->SetFeatureType(subKind);
    tool->SetRegion(region);
    tool->SetName(tool->GetKindName() + " " + std::to_string(ps.Tools().iGetNum() + 1));
    if (auto* contour = dynamic_cast<OType_ConfigTool_Contour*>(tool.get()))
        contour->SetPlacementMode(placementMode);
    return *ps.Tools().Add(std::move(tool));
}
