// Changing a project's target system: what the change would remove or adjust is listed
// first; after the user agreed, surplus check programs, part types, tools and data outputs
// are removed, the rest adjusted to the new device information, and the new values stored.
#include <algorithm>
#include <functional>
#include <set>

#include "device/DeviceInfoBuilder.h"
#include "device/OQuillon.h"
#include "device/TargetSystemSettings.h"
#include "model/part/OType_Feature.h"
#include "model/strings/ResStr.h"
#include "platform/Settings.h"
#include "platform/UserInteraction.h"

namespace {

constexpr const char* kSection = "Settings";
constexpr const char* kUndoWarningOff = "WARNING_DISABLE_RESET_UNDODATA";
constexpr const char* kDependentIndent = "      ";
// Classic kinds with a per-kind limit, the order their surplus is removed in, and the
// finding that reports it.
constexpr std::pair<int, int> kKindLimitFindings[] = {{2, 4231}, {3, 4232}, {1, 4230},
                                                      {4, 4233}, {7, 4234}, {8, 4235}};

bool bHoldsSomething(const OType_ZRPartSet& set) {
    if (set.Tools().iGetNum() > 0 || set.bHasPartData()) return true;
    for (int i = 0; i < set.iGetNum_SubTypes(); ++i) {
        if (set.opGetSubType(i)->bHasData()) return true;
    }
    return false;
}

bool bAnyPartTypeHasData(const OType_ZRPartSet& set) {
    for (int i = 0; i < set.iGetNum_SubTypes(); ++i) {
        if (set.opGetSubType(i)->bHasData()) return true;
    }
    return false;
}

template <class Fn>
void ForEachVector(OType_ZRPartSet& set, Fn fn) {
    for (int t = 0; t < set.iGetNum_SubTypes(); ++t) {
        OType_VectorArray_Array& arrays = set.opGetSubType(t)->Vectors();
        for (int o = 0; o < arrays.iGetNum(); ++o) {
            for (OType_Vector& v : *arrays.opGetAt(o))
                fn(v);
        }
    }
}

// Names of the features (vectors of the first orientation) that match, without repeats.
std::vector<std::string> FeatureNamesWhere(const OType_ZRPartSet& set,
                                           const std::function<bool(const OType_Vector&)>& pick) {
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (int t = 0; t < set.iGetNum_SubTypes(); ++t) {
        const OType_VectorArray_Array& arrays = set.opGetSubType(t)->Vectors();
        for (int o = 0; o < arrays.iGetNum(); ++o) {
            for (const OType_Vector& v : *arrays.opGetAt(o)) {
                if (pick(v) && seen.insert(v.name).second) names.push_back(v.name);
            }
        }
    }
    return names;
}

std::string QuotedList(const std::vector<std::string>& names) {
    std::string line = kDependentIndent;
    for (size_t i = 0; i < names.size(); ++i)
        line += (i ? ", '" : "'") + names[i] + "'";
    return line;
}

// The tools whose features read the features of tool `index`: directly, and through
// further tools.
void DependentTools(const OType_ZRPartSet& set, int index, std::vector<std::string>& direct,
                    std::vector<std::string>& indirect) {
    const OType_ConfigToolArray& tools = set.Tools();
    const int fixed = set.iGetFixedFeatures();
    std::set<int> reached;
    std::vector<int> frontier{index};
    bool first = true;
    while (!frontier.empty()) {
        std::set<int> features;
        for (int t : frontier) {
            for (int f = tools.GetFeatureIndex_First(t, fixed);
                 f >= 0 && f <= tools.GetFeatureIndex_Last(t, fixed); ++f)
                features.insert(f);
        }
        std::vector<int> next;
        for (int t = 0; t < tools.iGetNum(); ++t) {
            if (t == index || reached.count(t)) continue;
            for (int f : tools.opGetAt(t)->GetDirectReferencedFeatures(set)) {
                if (!features.count(f)) continue;
                reached.insert(t);
                next.push_back(t);
                (first ? direct : indirect).push_back(tools.opGetAt(t)->GetName());
                break;
            }
        }
        frontier = std::move(next);
        first = false;
    }
}

void RemoveToolWithFeatures(OType_ZRPartSet& set, int index) {
    const int fixed = set.iGetFixedFeatures();
    const int first = set.Tools().GetFeatureIndex_First(index, fixed);
    const int last = set.Tools().GetFeatureIndex_Last(index, fixed);
    for (int t = 0; t < set.iGetNum_SubTypes(); ++t) {
        OType_VectorArray_Array& arrays = set.opGetSubType(t)->Vectors();
        for (int o = 0; o < arrays.iGetNum(); ++o) {
            for (int f = last; f >= first && f >= 0; --f)
                arrays.opGetAt(o)->RemoveAt(f);
        }
    }
    set.Tools().RemoveAt(index);
}

std::vector<std::string> ProgramFindings(const OType_ZRPartSet& set, const OTargetChange& change,
                                         int newFixedFeatures) {
    std::vector<std::string> lines;
    const ZRINFO& info = change.deviceInfo;
    const bool newPlatform = TargetSystem::bIsNewPlatform(change.target.hardware);
    for (int t = change.target.partsInSet; t < set.iGetNum_SubTypes(); ++t) {
        if (set.opGetSubType(t)->bHasData()) lines.push_back(ResStrFormat(4221, t + 1));
    }
    const bool familyChanges = newFixedFeatures != set.iGetFixedFeatures();
    if (bAnyPartTypeHasData(set) && familyChanges && !change.silent) {
        for (const std::string& name : FeatureNamesWhere(set, [](const OType_Vector& v) {
                 return FeatureOption::Value(v.option) != FeatureOption::kNormal;
             }))
            lines.push_back(ResStrFormat(4227, name));
    }
    if (!newPlatform) {
        for (const std::string& name : FeatureNamesWhere(set, [](const OType_Vector& v) {
                 return v.factor != 1.0 ||
                        FeatureOption::bGet(v.option, FeatureOption::kNotForQuality);
             }))
            lines.push_back(ResStrFormat(4248, name));
    }
    int typeBeyond = 0;
    int orientationBeyond = 0;
    for (int i = 0; i < set.TeachParts().iGetSize(); ++i) {
        const OType_Part& part = *set.TeachParts().GetAt_NoSort(i);
        if (part.iGetType() < 1 || part.iGetType() > change.target.partsInSet) ++typeBeyond;
        if (std::abs(part.iGetOrientation()) > change.target.orientations) ++orientationBeyond;
    }
    if (typeBeyond) lines.push_back(ResStrFormat(4222, typeBeyond));
    if (orientationBeyond) lines.push_back(ResStrFormat(4223, orientationBeyond));
    for (int i = 0; i < set.Tools().iGetNum(); ++i) {
        const OType_ConfigTool& tool = *set.Tools().opGetAt(i);
        std::string text;
        const int result = tool.iCheckPropertyCompatibility(info, text);
        if (result == 0) continue;
        if (result & ToolCompatibility::kIncompatible) {
            lines.push_back(ResStrFormat(4225, tool.GetName()));
        } else {
            lines.push_back(ResStrFormat(4249, tool.GetName()));
        }
        if (!text.empty()) lines.push_back(ResStrFormat(4241, tool.GetName(), text));
        std::vector<std::string> direct, indirect;
        DependentTools(set, i, direct, indirect);
        if (!direct.empty()) {
            lines.push_back(kDependentIndent + ResStr(4253));
            lines.push_back(QuotedList(direct));
        }
        if (!indirect.empty()) {
            lines.push_back(kDependentIndent + ResStr(4254));
            lines.push_back(QuotedList(indirect));
        }
    }
    if (!newPlatform) {
        for (const auto& finding : kKindLimitFindings) {
            const int kind = finding.first;
            const int text = finding.second;
            const int count = static_cast<int>(
                std::count_if(set.Tools().begin(), set.Tools().end(),
                              [kind](const auto& t) { return t->iGetConfigToolType() == kind; }));
            if (count > info.u8(DeviceInfo::LimitByte(kind))) lines.push_back(ResStr(text));
        }
        if (set.Tools().iGetNum() > info.iGetToolCapacity())
            lines.push_back(ResStrFormat(4224, set.Tools().iGetNum() - info.iGetToolCapacity(),
                                         static_cast<int>(info.iGetToolCapacity())));
    }
    std::set<int> kindsTooMany;
    for (const auto& output : set.DataOutputs()) {
        std::string text;
        const int result = output->iCheckPropertyCompatibility(info, text);
        if ((result & 1) || !output->bIsAvailable(info, text)) {
            lines.push_back(ResStrFormat(4244, output->GetName()));
        } else if (result & 6) {
            lines.push_back(ResStrFormat(4245, output->GetName()));
        }
        const int kind = output->iGetDataIOType();
        if (set.DataOutputs().iCountKind(kind) > output->iGetMaxInstances(info))
            kindsTooMany.insert(kind);
    }
    if (!kindsTooMany.empty()) lines.push_back(ResStr(4250));
    return lines;
}

}  // namespace

std::vector<std::string> OQuillon::TargetChangeFindings(const OTargetChange& change) const {
    std::vector<std::string> lines;
    const int count = m_partSets.iGetNum();
    for (int i = std::max(0, change.partSets); i < count; ++i) {
        if (bHoldsSomething(*m_partSets.opGetPartSet(i))) {
            lines.push_back(ResStrFormat(4220, change.partSets + 1, change.partSets));
            break;
        }
    }
    const int newFixed = TargetSystem::iFixedFeatureCount(change.target.hardware);
    for (int i = 0; i < std::min(count, change.partSets); ++i) {
        const OType_ZRPartSet& set = *m_partSets.opGetPartSet(i);
        const std::vector<std::string> findings = ProgramFindings(set, change, newFixed);
        if (findings.empty()) continue;
        lines.push_back(ResStrFormat(4246, i + 1, set.GetName()));
        lines.insert(lines.end(), findings.begin(), findings.end());
    }
    return lines;
}

void OQuillon::RemoveSurplusTools(OType_ZRPartSet& set, const ZRINFO& info, int programNo,
                                  bool classic, bool report) {
    bool changed = false;
    for (int i = set.Tools().iGetNum() - 1; i >= 0; --i) {
        OType_ConfigTool& tool = *set.Tools().opGetAt(i);
        std::string text;
        const int result = tool.iCheckPropertyCompatibility(info, text);
        if (result & ToolCompatibility::kIncompatible) {
            RemoveToolWithFeatures(set, i);
            changed = true;
        } else if (result & (ToolCompatibility::kAdjustable1 | ToolCompatibility::kAdjustable2)) {
            if (!tool.iAdjustPropertyCompatibility(info)) RemoveToolWithFeatures(set, i);
            changed = true;
        }
    }
    if (classic) {
        for (const auto& [kind, text] : kKindLimitFindings) {
            (void)text;
            const int limit = info.u8(DeviceInfo::LimitByte(kind));
            int seen = 0;
            for (int i = 0; i < set.Tools().iGetNum(); ++i)
                seen += set.Tools().opGetAt(i)->iGetConfigToolType() == kind ? 1 : 0;
            for (int i = set.Tools().iGetNum() - 1; i >= 0 && seen > limit; --i) {
                if (set.Tools().opGetAt(i)->iGetConfigToolType() != kind) continue;
                RemoveToolWithFeatures(set, i);
                --seen;
                changed = true;
            }
        }
        while (set.Tools().iGetNum() > info.iGetToolCapacity()) {
            RemoveToolWithFeatures(set, set.Tools().iGetNum() - 1);
            changed = true;
        }
    }
    if (changed && report) m_ui.Message(ResStrFormat(4251, programNo), MsgIcon::Information);
}

void OQuillon::RemoveSurplusDataOutputs(OType_ZRPartSet& set, const ZRINFO& info, int programNo,
                                        bool report) {
    bool changed = false;
    OType_DeviceDataIOArray& outputs = set.DataOutputs();
    for (int i = outputs.iGetNum() - 1; i >= 0; --i) {
        OType_DeviceDataIO& output = *outputs.opGetAt(i);
        std::string text;
        const int result = output.iCheckPropertyCompatibility(info, text);
        const bool available = output.bIsAvailable(info, text);
        const int kind = output.iGetDataIOType();
        if ((result & 1) || !available ||
            outputs.iCountKind(kind) > output.iGetMaxInstances(info)) {
            outputs.RemoveAt(i);
            changed = true;
        } else if (result & 6) {
            if (!output.iAdjustPropertyCompatibility(info)) outputs.RemoveAt(i);
            changed = true;
        }
    }
    if (changed && report) m_ui.Message(ResStrFormat(4252, programNo), MsgIcon::Information);
}

int OQuillon::ChangeTargetSystem(const OTargetChange& change) {
    const std::vector<std::string> findings = TargetChangeFindings(change);
    if (change.interactive && !findings.empty()) {
        if (m_ui.ListDialog(ResStr(4247), ResStr(4219), findings, ResStr(4226),
                            MsgButtons::OkCancel) != MsgResult::Ok)
            return 0;
    } else {
        bool undoData = false;
        for (int i = 0; i < m_partSets.iGetNum(); ++i) {
            const OUndoRedoSupport& undo = m_partSets.opGetPartSet(i)->UndoRedo();
            undoData = undoData || undo.bHasUndoData() || undo.bHasRedoData();
        }
        if (undoData && m_settings.iGetInt(kSection, kUndoWarningOff, 0) == 0) {
            MsgResult answer = MsgResult::Ok;
            if (m_owner && m_owner->bHasApplication()) {
                bool checked = false;
                answer = m_ui.MessageWithCheckMark(ResStr(4226), ResStr(3289), checked,
                                                   MsgIcon::Warning, MsgButtons::OkCancel);
                if (checked) m_settings.SetInt(kSection, kUndoWarningOff, 1);
            } else {
                answer = m_ui.Message(ResStr(4226), MsgIcon::Warning, MsgButtons::OkCancel);
            }
            if (answer != MsgResult::Ok) return 0;
        }
    }
    if (m_owner) m_owner->SetModified();
    m_deviceInfo = change.deviceInfo;
    const OTargetSystem& t = change.target;
    const int newFixed = TargetSystem::iFixedFeatureCount(t.hardware);
    for (int i = m_partSets.iGetNum() - 1; i >= std::max(1, change.partSets); --i)
        m_partSets.RemoveAt(i);
    for (int p = 0; p < m_partSets.iGetNum(); ++p) {
        OType_ZRPartSet& set = *m_partSets.opGetPartSet(p);
        while (set.iGetNum_SubTypes() > t.partsInSet)
            set.RemoveSubTypeAt(set.iGetNum_SubTypes() - 1);
        for (int i = 0; i < set.TeachParts().iGetSize(); ++i) {
            OType_Part& part = *set.TeachParts().GetAt_NoSort(i);
            if (part.iGetType() < 1 || part.iGetType() > t.partsInSet) {
                // Unassigned: the orientation goes behind the sign; a part ignored at teach
                // stays ignored.
                part.SetType(1);
                part.SetOrientation(-std::abs(part.iGetOrientation()));
            }
            if (std::abs(part.iGetOrientation()) > t.orientations) part.SetOrientation(0);
        }
        if (set.TeachParts().bIsEmpty()) {
            for (int i = 0; i < set.iGetNum_SubTypes(); ++i) {
                OType_ZRPartSet_SubType& type = *set.opGetSubType(i);
                while (type.Vectors().iGetNum() > t.orientations)
                    type.Vectors().RemoveAt(type.Vectors().iGetNum() - 1);
                type.SetNumOrientations(std::min(type.iGetNumOrientations(), t.orientations));
            }
        }
        RemoveSurplusTools(set, m_deviceInfo, p + 1, !TargetSystem::bIsNewPlatform(t.hardware),
                           change.interactive);
        RemoveSurplusDataOutputs(set, m_deviceInfo, p + 1, change.interactive);
        // A new feature layout leaves no stored vector valid; they are taught again.
        if (set.iGetFixedFeatures() != newFixed) {
            set.RemoveAllVectors();
            for (int i = 0; i < set.iGetNum_SubTypes(); ++i)
                set.opGetSubType(i)->SetHasData(false);
            set.SetFixedFeatures(newFixed);
        }
        const bool newPlatform = TargetSystem::bIsNewPlatform(t.hardware);
        ForEachVector(set, [newPlatform](OType_Vector& v) {
            v.option = FeatureOption::Set(v.option, FeatureOption::kNotForQuality, newPlatform);
            if (!newPlatform) v.factor = 1.0;
        });
        set.SetCompatibilityFirmwareVersion(
            TargetSystem::CompatibleFirmware(t.hardware, t.software), "0.0.0.0");
    }
    SetTargetValues(t);
    m_properties.useManualTypes = change.useManualTypes;
    m_properties.useManualOrientation = change.useManualOrientation;
    WriteTargetValues();
    m_settings.SetInt(kSection, "PROJECT_USE_MANUALTYPES", change.useManualTypes);
    m_settings.SetInt(kSection, "PROJECT_USE_MANUALORIENTATION", change.useManualOrientation);
    if (m_owner) m_owner->RecomputeAndRefresh();
    return 1;
}
