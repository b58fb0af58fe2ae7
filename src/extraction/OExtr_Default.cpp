#include "extraction/OExtr_Default.h"

#include <algorithm>
#include <chrono>
#include <functional>

#include "extraction/OContourCombine.h"
#include "extraction/OContourFilters.h"
#include "extraction/OExtractorHost.h"
#include "extraction/OToolSearchJob.h"
#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/OClock_System.h"
#include "platform/OWaitCursor.h"
#include "platform/UserInteraction.h"
#include "tools/ContourToolTypes.h"
#include "tools/OType_ConfigTool_Combination.h"

namespace {

constexpr int kBasicCountWarning = 26000;
constexpr int kBasicFeatures = BasicFeature::kCount;

void AssignIfDifferent(std::string& target, const std::string& source) {
    if (target != source) target = source;
}

// The basic feature count the device reports.
int DeviceBasicFeatures(const ZRINFO& info) {
    return info.u16(ZRINFO::kBasicFeatures);
}

}  // namespace

OExtr_Default::OExtr_Default(OExtractorHost& host) : OExtractor(host) {}

void OExtr_Default::ResetView() {
    m_view = OContourViewState();
    m_basic = OBasicContourFeatures();
    m_featureFlags.fill(0);
    m_flaggedFeatures.clear();
    m_keepMarkedBasicValues = Host().iGetKeepMarkedBasicValues();
    m_searchCancel.store(0);
    m_printingSeries = false;
}

void OExtr_Default::PrepareExtraction(OType_ZRPartSet& partSet) {
    m_keepMarkedBasicValues = Host().iGetKeepMarkedBasicValues();
    m_basic = OBasicContourFeatures();
    m_featureFlags.fill(0);
    m_flaggedFeatures.clear();
    // A feature switched off in the first orientation of any part type is switched off
    // (option 7) in every part.
    for (int t = 0; t < partSet.iGetNum_SubTypes(); ++t) {
        const OType_VectorArray* first = partSet.opGetSubType(t)->opGetVectorArray(0);
        if (!first) continue;
        const int n = std::min(first->iGetNumOfVectors(), kFeatureFlagCount);
        for (int j = 0; j < n; ++j) {
            if (FeatureOption::bGet(first->At(j).option, FeatureOption::kNotForQuality))
                m_featureFlags[static_cast<size_t>(j)] = 1;
        }
    }
    for (int j = 0; j < kFeatureFlagCount; ++j) {
        if (m_featureFlags[static_cast<size_t>(j)]) m_flaggedFeatures.push_back(j);
    }
    if (DeviceBasicFeatures(Host().GetDeviceInfo()) != kBasicFeatures)
        Host().GetUserInteraction().Message(ResStr(kBasicCountWarning), MsgIcon::Warning);
    m_variantRule = bIsVariantDeviceType(Host().iGetDeviceTypeCode());
    for (int i = 0; i < kBasicFeatures; ++i) {
        m_basicNames[static_cast<size_t>(i)] =
            partSet.GetFeatureNameOrDash(BasicFeature::kTypes[static_cast<size_t>(i)]);
    }
    BuildToolPlan(partSet);
}

void OExtr_Default::PrepareTestExtraction(OType_ZRPartSet& partSet) {
    PrepareExtraction(partSet);
}

void OExtr_Default::BuildToolPlan(OType_ZRPartSet& partSet) {
    const OType_ConfigToolArray& tools = partSet.Tools();
    const int n = tools.iGetNum();
    m_plan.clear();
    m_toolNames.assign(static_cast<size_t>(n), std::string());
    m_extracted.assign(static_cast<size_t>(n), 0);
    std::vector<OToolStep> steps(static_cast<size_t>(n));
    std::vector<bool> combination(static_cast<size_t>(n), false);
    for (int k = 0; k < n; ++k) {
        OType_ConfigTool* tool = tools.opGetAt(k);
        OToolStep& step = steps[static_cast<size_t>(k)];
        step.position = k;
        step.tool = tool;
        step.contour = dynamic_cast<OType_ConfigTool_Contour*>(tool);
        m_toolNames[static_cast<size_t>(k)] =
            partSet.GetFeatureNameOrDash(tool->GetFeatureTypeAt(0));
        const auto* comb = dynamic_cast<const OType_ConfigTool_Combination*>(tool);
        if (!comb) continue;
        combination[static_cast<size_t>(k)] = true;
        for (int i = 0; i < 2; ++i) {
            const OCombinationOperand& op = comb->GetOperand(i);
            if (op.source == OCombinationOperand::Source::BasicFeature) step.readsBasic = true;
            if (op.source != OCombinationOperand::Source::Tool) continue;
            const int pos = tools.iFindPosById(op.toolId);
            if (pos == k) step.circular = true;
            if (pos >= 0) step.readsPositions.push_back(pos);
        }
    }
    for (int k = 0; k < n; ++k) {
        if (!combination[static_cast<size_t>(k)]) m_plan.push_back(steps[static_cast<size_t>(k)]);
    }
    // Combination tools after the combination tools they read; a cycle reads itself and
    // gives no valid value.
    std::vector<int> state(static_cast<size_t>(n), 0);  // 0 new, 1 on the path, 2 placed
    std::vector<int> path;
    std::function<void(int)> place = [&](int k) {
        if (state[static_cast<size_t>(k)] == 2) return;
        if (state[static_cast<size_t>(k)] == 1) {
            for (auto it = path.rbegin(); it != path.rend(); ++it) {
                steps[static_cast<size_t>(*it)].circular = true;
                if (*it == k) break;
            }
            return;
        }
        state[static_cast<size_t>(k)] = 1;
        path.push_back(k);
        for (int p : steps[static_cast<size_t>(k)].readsPositions) {
            if (combination[static_cast<size_t>(p)]) place(p);
        }
        path.pop_back();
        state[static_cast<size_t>(k)] = 2;
    };
    for (int k = 0; k < n; ++k) {
        if (combination[static_cast<size_t>(k)]) place(k);
    }
    // Topological order: a combination comes after every combination it reads.
    std::vector<int> placed(static_cast<size_t>(n), 0);
    std::function<void(int)> emit = [&](int k) {
        if (placed[static_cast<size_t>(k)]) return;
        placed[static_cast<size_t>(k)] = 1;
        for (int p : steps[static_cast<size_t>(k)].readsPositions) {
            if (combination[static_cast<size_t>(p)] && !steps[static_cast<size_t>(p)].circular)
                emit(p);
        }
        m_plan.push_back(steps[static_cast<size_t>(k)]);
    };
    for (int k = 0; k < n; ++k) {
        if (combination[static_cast<size_t>(k)]) emit(k);
    }
}

void OExtr_Default::ExtractTeachParts(OType_ZRPartSet& partSet, int) {
    PrepareExtraction(partSet);
    ExtractList(partSet, partSet.TeachParts(), true);
}

void OExtr_Default::ExtractTestParts(OType_ZRPartSet& partSet, int) {
    PrepareTestExtraction(partSet);
    ExtractList(partSet, partSet.TestParts(), false);
}

void OExtr_Default::ExtractSinglePart(OType_ZRPartSet& partSet, OType_Part& part) {
    PrepareExtraction(partSet);
    ExtractPart(partSet, part);
}

void OExtr_Default::ExtractList(OType_ZRPartSet& partSet, OType_PartArray& list, bool teach) {
    if (list.bIsEmpty()) return;
    OWaitCursor wait(Host().GetUserInteraction());
    const int filterMode = partSet.iGetFilterMode();
    for (int i = 0; i < list.iGetSize(); ++i) {
        OType_Part& part = *list.GetAt(i);
        if (filterMode != ContourFilterKind::kNone && filterMode != part.iGetAppliedFilter())
            ApplyPartSetFilter(partSet, part);
        ExtractPart(partSet, part);
    }
    const int features = kBasicFeatures + partSet.Tools().iGetNum();
    for (int t = 0; t < partSet.iGetNum_SubTypes(); ++t)
        partSet.opGetSubType(t)->SetNumFeatures(features);
    const int shown = teach ? partSet.iShowTeachPartGetNo() : partSet.iShowTestPartGetNo();
    if (shown < 0 || shown >= list.iGetSize()) {
        if (teach)
            partSet.iShowTeachPartNo(0);
        else
            partSet.iShowTestPartNo(0);
    }
    Host().RedrawContourView();
}

void OExtr_Default::ExtractPart(OType_ZRPartSet& partSet, OType_Part& part) {
    OType_FeatureArray& features = part.Features();
    const std::span<const int16_t> runs = part.Contour();
    m_columnsBuilt = false;
    bool basicsRecomputed = false;
    if (features.bGetModified() || features.iGetNumOfFeatures() < kBasicFeatures) {
        if (runs.size() < 2) {
            // No contour: the stored values stay.
            m_basic = OBasicContourFeatures();
            if (features.iGetNumOfFeatures() >= kBasicFeatures) {
                for (int i = 0; i < kBasicFeatures; ++i)
                    m_basic.values[static_cast<size_t>(i)] = features.At(i).value;
            }
            part.SetColumns(0);
        } else {
            m_measure.Measure(runs, m_variantRule, m_basic, &m_columns);
            m_columnsBuilt = true;
            part.SetColumns(m_basic.columns);
        }
        WriteBasicFeatures(features);
        basicsRecomputed = true;
    }
    SyncToolEntries(partSet, features);
    ExtractTools(partSet, part, basicsRecomputed);
    for (int j : m_flaggedFeatures) {
        if (OType_Feature* f = features.opGetAt(j))
            f->option = FeatureOption::Set(f->option, FeatureOption::kNotForQuality, true);
    }
}

void OExtr_Default::WriteBasicFeatures(OType_FeatureArray& features) {
    if (features.iGetNumOfFeatures() < kBasicFeatures) features.Resize(kBasicFeatures);
    const bool keepMarked = m_keepMarkedBasicValues != 0;
    for (int i = 0; i < kBasicFeatures; ++i) {
        OType_Feature& f = features.At(i);
        f.type = BasicFeature::kTypes[static_cast<size_t>(i)];
        AssignIfDifferent(f.name, m_basicNames[static_cast<size_t>(i)]);
        if (keepMarked && (f.option & FeatureOption::kKeepValue)) continue;
        f.toolId = -1;
        f.value = m_basic.values[static_cast<size_t>(i)];
        f.alternativeValue = f.value;
        f.valid = true;
        f.valueType = FeatureValueType::Numeric;
        f.textValue.clear();
        f.deviation = 0.0;
        f.option = 0;
        f.factor = 1.0;
        f.modified = false;
    }
    // The tool features are rebuilt: they start again as new features of their tools. They
    // are reset in place, so that a part without contour keeps their values.
    for (int i = kBasicFeatures; i < features.iGetNumOfFeatures(); ++i) {
        OType_Feature& f = features.At(i);
        f.deviation = 0.0;
        f.option = 0;
        f.factor = 1.0;
        f.modified = true;
    }
    features.SetModified(false);
}

OType_Feature OExtr_Default::NewToolFeature(const OType_ConfigTool& tool, int position) const {
    OType_Feature f;
    f.type = tool.GetFeatureTypeAt(0);
    f.toolId = tool.iGetToolId();
    f.name = m_toolNames[static_cast<size_t>(position)];
    f.valid = false;
    f.modified = true;
    return f;
}

void OExtr_Default::SyncToolEntries(const OType_ZRPartSet& partSet, OType_FeatureArray& features) {
    const OType_ConfigToolArray& tools = partSet.Tools();
    const int n = tools.iGetNum();
    if (features.iGetNumOfFeatures() > kBasicFeatures + n) {
        for (int i = features.iGetNumOfFeatures() - 1; i >= kBasicFeatures; --i) {
            if (tools.iFindPosById(features.At(i).toolId) < 0) features.RemoveAt(i);
        }
    }
    for (int k = 0; k < n; ++k) {
        const OType_ConfigTool& tool = *tools.opGetAt(k);
        const int index = kBasicFeatures + k;
        const int id = tool.iGetToolId();
        if (index < features.iGetNumOfFeatures() && features.At(index).toolId == id) continue;
        // The tool's feature further on (tools moved) keeps its value; else a new one.
        int found = -1;
        for (int j = index + 1; j < features.iGetNumOfFeatures(); ++j) {
            if (features.At(j).toolId == id) {
                found = j;
                break;
            }
        }
        if (found >= 0) {
            OType_Feature moved = std::move(features.At(found));
            features.RemoveAt(found);
            features.InsertAt(index, std::move(moved));
        } else if (index >= features.iGetNumOfFeatures()) {
            features.Add(NewToolFeature(tool, k));
        } else {
            features.InsertAt(index, NewToolFeature(tool, k));
        }
    }
    features.RemoveFrom(kBasicFeatures + n);
    for (int k = 0; k < n; ++k) {
        OType_Feature& f = features.At(kBasicFeatures + k);
        const int type = tools.opGetAt(k)->GetFeatureTypeAt(0);
        if (f.type == type) continue;
        f.type = type;
        f.name = m_toolNames[static_cast<size_t>(k)];
        f.modified = true;
    }
}

void OExtr_Default::ExtractTools(OType_ZRPartSet& partSet, OType_Part& part,
                                 bool basicsRecomputed) {
    OType_FeatureArray& features = part.Features();
    const bool hasContour = part.iGetConturDataSize() >= 2;
    for (const OToolStep& step : m_plan) {
        const int k = step.position;
        const int index = kBasicFeatures + k;
        uint8_t& extracted = m_extracted[static_cast<size_t>(k)];
        extracted = 0;
        OType_Feature* feature = features.opGetAt(index);
        if (!feature) continue;
        bool needed = feature->modified || step.tool->iGetModifiedFlag();
        if (!needed) {
            needed = step.readsBasic && basicsRecomputed;
            for (int p : step.readsPositions)
                needed = needed || m_extracted[static_cast<size_t>(p)];
        }
        if (!hasContour) {
            // The stored value stays.
            feature->modified = false;
            continue;
        }
        if (!needed) continue;
        if (step.circular) {
            feature->value = 0.0;
            feature->valid = false;
            extracted = 1;
        } else if (!step.tool->bTryLock(std::chrono::milliseconds(0))) {
            AddExtractionErrorFlags(ExtractionError::kToolBusy);
        } else {
            int result = 0;
            if (step.contour) {
                if (!m_columnsBuilt) {
                    m_columns.Build(part.Contour());
                    m_columnsBuilt = true;
                }
                result =
                    step.contour->iExtractIndexed(&partSet, m_columns, features, nullptr, 0, index);
            } else {
                result = step.tool->iExtractObject_Test(partSet, Host().GetDeviceInfo(), part,
                                                        features, 0, nullptr, 0, ORect{});
            }
            step.tool->Unlock();
            if (result & kToolResultConditionBit)
                AddExtractionErrorFlags(ExtractionError::kToolCondition);
            extracted = 1;
        }
        if (OType_Feature* f = features.opGetAt(index)) f->modified = false;
    }
}

void OExtr_Default::MirrorVertical(OType_Part& part) {
    MirrorPartVertical(part);
}

void OExtr_Default::MirrorHorizontal(OType_Part& part) {
    MirrorPartHorizontal(part, ContourImageHeight(Host().GetDeviceInfo()));
}

std::vector<OOrientationSample> OExtr_Default::OrientationSampleSequence(
    const OType_ZRPartSet& partSet) {
    std::vector<OOrientationSample> pages;
    const OType_PartArray& teach = partSet.TeachParts();
    int selection = partSet.iShowTeachPartGetNo();
    for (int t = 0; t < partSet.iGetNum_SubTypes(); ++t) {
        const int orientations = partSet.opGetSubType(t)->iGetNumOrientations();
        for (int j = 1; j <= orientations; ++j) {
            OOrientationSample page{t, j, selection, false};
            for (int i = 0; i < teach.iGetSize(); ++i) {
                const OType_Part& part = *teach.GetAt(i);
                if (part.iGetOrientation() == j && part.iGetType() == t + 1) {
                    page.teachPart = selection = i;
                    page.found = true;
                    break;
                }
            }
            pages.push_back(page);
        }
    }
    return pages;
}

void OExtr_Default::PrintOrientationSamples() {
    OType_ZRPartSet* partSet = Host().opGetActualPartSet();
    if (!partSet) return;
    const int teachTest = partSet->iShowGetTeachTest();
    const int shownTeach = partSet->iShowTeachPartGetNo();
    m_printingSeries = true;
    partSet->iShowSetTeachTest(1);
    for (const OOrientationSample& page : OrientationSampleSequence(*partSet)) {
        if (page.found) partSet->iShowTeachPartNo(page.teachPart);
        Host().PrintContourView();
    }
    partSet->iShowSetTeachTest(teachTest);
    partSet->iShowTeachPartNo(shownTeach, 1);
    m_printingSeries = false;
}

std::unique_ptr<OToolSearchJob> OExtr_Default::StartToolSearch(const OToolSearchRequest& request) {
    OType_ZRPartSet* partSet = Host().opGetActualPartSet();
    if (!partSet) return nullptr;
    m_searchCancel.store(0);
    return OToolSearchJob::opStart(Host(), *partSet, request, m_searchCancel);
}

int OExtr_Default::SearchTools(double maxMinutes, int stepSize, int compareTypes,
                               int includeUnassigned, OProgressCtrl* progress,
                               std::string* statusText) {
    OWaitCursor wait(Host().GetUserInteraction());
    std::unique_ptr<OToolSearchJob> job =
        StartToolSearch({maxMinutes, stepSize, compareTypes, includeUnassigned, 0});
    if (!job) return 0;
    const OClock_System clock;
    OToolSearchProgress observer(progress, statusText, clock);
    job->Run(observer, clock);
    job->Install(&observer);
    return 1;
}
