// Tools and data outputs against the target system: whether a tool kind may be added, the
// tool commands' way of adding one (grouped by kind on classic targets, with a feature
// record in every orientation), and adding a data output with free packet identifiers.
#include <algorithm>
#include <set>

#include "device/DeviceInfoBuilder.h"
#include "device/OQuillon.h"
#include "model/part/OType_Part.h"
#include "model/strings/CodePage.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kPartContourView = 32860;
constexpr int kToolPropertiesView = 32791;
constexpr int kMaxPacketId = static_cast<int>(OType_DeviceDataIOArray::kMaxOutputs);

int CountKind(const OType_ConfigToolArray& tools, int kind) {
    return static_cast<int>(std::count_if(tools.begin(), tools.end(), [kind](const auto& t) {
        return t->iGetConfigToolType() == kind;
    }));
}

bool bHasOrientedPartType(const OType_ZRPartSet& set) {
    for (int i = 0; i < set.iGetNum_SubTypes(); ++i) {
        if (set.opGetSubType(i)->iGetNumOrientations() > 0) return true;
    }
    return false;
}

bool bIsNewPlatformToolAllowed(const OType_ZRPartSet& set, const ZRINFO& info, int kind,
                               int subKind) {
    if (set.Tools().iGetNumOfFeatures() >= info.iGetToolCapacity()) return false;
    if (!bHasOrientedPartType(set)) return false;
    if (kind == 110) return info.bSupportsCoordTrans();
    if (kind == 105) {
        if (info.u8(766) == 0) return false;
        return subKind == -1 || info.iGetPixelFormat() == 24 ||
               (subKind >= 368 && subKind <= 370) || (subKind >= 380 && subKind <= 386);
    }
    const size_t byte = DeviceInfo::AvailabilityByte(kind);
    return byte != 0 && info.u8(byte) != 0;
}

bool bIsClassicToolAllowed(const OType_ZRPartSet& set, const ZRINFO& info, int kind) {
    static constexpr int kLimited[] = {1, 2, 3, 4, 5, 7, 8};
    if (std::find(std::begin(kLimited), std::end(kLimited), kind) == std::end(kLimited))
        return false;
    if (set.Tools().iGetNum() >= info.iGetToolCapacity()) return false;
    if (CountKind(set.Tools(), kind) >= info.u8(DeviceInfo::LimitByte(kind))) return false;
    const bool needsPresence = kind == 4 || kind == 5 || kind == 7 || kind == 8;
    return !needsPresence || info.u8(DeviceInfo::PresenceByte(kind)) != 0;
}

// The smallest number from 1 that no tool of the part set carries after the kind's name.
int FreeToolNumber(const OType_ConfigToolArray& tools, const std::string& kindName) {
    std::set<std::string> names;
    for (const auto& t : tools)
        names.insert(t->GetName());
    int n = 1;
    while (names.count(FormatPrintf("%s %d", kindName, n)))
        ++n;
    return n;
}

// Index after the last tool whose kind is lower than or equal to `kind`.
int GroupedPosition(const OType_ConfigToolArray& tools, int kind) {
    int position = 0;
    for (int i = 0; i < tools.iGetNum(); ++i) {
        if (tools.opGetAt(i)->iGetConfigToolType() <= kind) position = i + 1;
    }
    return position;
}

// A feature record for every orientation of every part type at the tool's feature indices.
void InsertFeatureRecords(OType_ZRPartSet& set, const OType_ConfigTool& tool, int firstFeature) {
    for (int t = 0; t < set.iGetNum_SubTypes(); ++t) {
        OType_VectorArray_Array& arrays = set.opGetSubType(t)->Vectors();
        for (int o = 0; o < arrays.iGetNum(); ++o) {
            OType_VectorArray& vectors = *arrays.opGetAt(o);
            for (int f = 0; f < tool.iGetNumOfFeatures(); ++f) {
                OType_Vector v;
                v.featureType = tool.GetFeatureTypeAt(f);
                v.toolId = tool.iGetToolId();
                v.name = set.GetFeatureNameOrDash(v.featureType);
                vectors.InsertAt(firstFeature + f, std::move(v));
            }
        }
    }
}

// Starts a new image tool from the reference tool: its place and image, the sub-kind as
// feature type and the name. Fails when the tool cannot run on the device as set up.
bool bInitNewPlatformTool(OType_ConfigTool& tool, OType_ZRPartSet& set, const ZRINFO& info,
                          int subKind, const OType_ConfigTool* reference, int parameter,
                          const std::string& name) {
    if (subKind >= 0) tool.SetFeatureType(subKind);
    if (reference) {
        tool.SetRegion(reference->GetRegion());
        tool.SetImageType(reference->iGetImageType());
    }
    if (!name.empty()) tool.SetName(name);
    (void)parameter;
    OType_Part part;
    if (const OType_Part* shown = set.opGetShowPart()) part = *shown;
    tool.UpdateCFToolDefinition(set, info, part, part.Features());
    std::string reason;
    return (tool.iCheckPropertyCompatibility(info, reason) & ToolCompatibility::kIncompatible) == 0;
}

}  // namespace

bool OQuillon::IsToolAllowed(int kind, int subKind) const {
    const OType_ZRPartSet* set = opGetActualPartSet();
    if (!set) return false;
    if (bIsNewPlatformTarget()) return bIsNewPlatformToolAllowed(*set, m_deviceInfo, kind, subKind);
    return bIsClassicToolAllowed(*set, m_deviceInfo, kind);
}

OType_ConfigTool* OQuillon::AddTool(OType_ZRPartSet& set, int kind, int subKind, int parameter,
                                    const std::string& name, bool withUndoStep) {
    const OType_ConfigTool* reference = set.opShowFeatureGetConfigTool();
    const bool allowed = bIsNewPlatformTarget()
                             ? bIsNewPlatformToolAllowed(set, m_deviceInfo, kind, subKind)
                             : bIsClassicToolAllowed(set, m_deviceInfo, kind);
    std::unique_ptr<OType_ConfigTool> tool = allowed ? set.ToolPrototypes().Create(kind) : nullptr;
    if (!tool) {
        m_ui.Message(ResStr(2081), MsgIcon::Warning);
        return nullptr;
    }
    OType_ConfigTool* added = nullptr;
    if (bIsNewPlatformTarget()) {
        if (!bInitNewPlatformTool(*tool, set, m_deviceInfo, subKind, reference, parameter,
                                  bIsConvertibleToAnsi(name) ? name : std::string()))
            return nullptr;
        added = set.Tools().Add(std::move(tool));
        if (m_properties.useNewToolsOnCameraImage) added->SetImageType(1);
    } else {
        tool->SetFeatureType(subKind);
        tool->SetName(FormatPrintf("%s %d", tool->GetKindName(),
                                   FreeToolNumber(set.Tools(), tool->GetKindName())));
        const int position = GroupedPosition(set.Tools(), kind);
        added = set.Tools().Insert(position, std::move(tool));
        const int feature = set.Tools().GetFeatureIndex_First(position, set.iGetFixedFeatures());
        InsertFeatureRecords(set, *added, feature);
        set.iShowFeatureNo(feature);
        OType_Part part;
        if (const OType_Part* shown = set.opGetShowPart()) part = *shown;
        added->UpdateCFToolDefinition(set, m_deviceInfo, part, part.Features());
    }
    if (m_owner) m_owner->RecomputeAfterToolChange(set);
    if (withUndoStep) {
        set.UndoRedo().bStoreUndoData(set, "UNDO:Added Config Tool", "UNDO:Added the tool ...",
                                      kPartContourView);
    }
    return added;
}

bool OQuillon::bApplyToolProperties(OType_ZRPartSet& set, OType_ConfigTool& tool,
                                    const OPropertyValues& values, std::string& error) {
    if (!tool.bApplyProperties(values, {&set, &m_deviceInfo}, error)) return false;
    if (!tool.iGetModifiedFlag()) return true;
    OType_Part part;
    if (const OType_Part* shown = set.opGetShowPart()) part = *shown;
    tool.UpdateCFToolDefinition(set, m_deviceInfo, part, part.Features());
    if (m_owner) m_owner->RecomputeAfterToolEdit(set);
    set.UndoRedo().bStoreUndoData(set, "UNDO:Tool properties changed",
                                  "UNDO:Tool properties changed ...", kToolPropertiesView);
    return true;
}

std::vector<int> OQuillon::DependentToolIds(const OType_ZRPartSet& set, int toolId) {
    const OType_ConfigToolArray& tools = set.Tools();
    std::vector<int> ids{toolId};
    // Readers of the tools found so far, until no further one turns up.
    for (size_t i = 0; i < ids.size(); ++i) {
        for (const auto& t : tools) {
            if (std::find(ids.begin(), ids.end(), t->iGetToolId()) != ids.end()) continue;
            for (int feature : t->GetDirectReferencedFeatures(set)) {
                const OType_ConfigTool* read =
                    tools.opGetCFToolAtFeature(feature, set.iGetFixedFeatures());
                if (read && read->iGetToolId() == ids[i]) {
                    ids.push_back(t->iGetToolId());
                    break;
                }
            }
        }
    }
    return ids;
}

std::vector<std::string> OQuillon::RemoveToolWithDependents(OType_ZRPartSet& set, int position) {
    const OType_ConfigTool* tool = set.Tools().opGetAt(position);
    if (!tool) return {};
    std::vector<std::string> names;
    const std::vector<int> ids = DependentToolIds(set, tool->iGetToolId());
    for (int id : ids)
        names.push_back(set.Tools().opFindById(id)->GetName());
    for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
        const int at = set.Tools().iFindPosById(*it);
        const int first = set.Tools().GetFeatureIndex_First(at, set.iGetFixedFeatures());
        const int count = set.Tools().opGetAt(at)->iGetNumOfFeatures();
        for (int t = 0; t < set.iGetNum_SubTypes(); ++t) {
            OType_VectorArray_Array& arrays = set.opGetSubType(t)->Vectors();
            for (int o = 0; o < arrays.iGetNum(); ++o) {
                OType_VectorArray& vectors = *arrays.opGetAt(o);
                for (int f = 0; f < count && first < vectors.iGetNumOfVectors(); ++f)
                    vectors.RemoveAt(first);
            }
        }
        set.Tools().RemoveAt(at);
    }
    if (m_owner) m_owner->RecomputeAfterToolEdit(set);
    set.UndoRedo().bStoreUndoData(set, "UNDO:Removed Config Tool", "UNDO:Removed the tool ...",
                                  kPartContourView);
    return names;
}

bool OQuillon::bCanAddDataOutput(int kind) const {
    const OType_ZRPartSet* set = opGetActualPartSet();
    if (!set) return false;
    const OType_DeviceDataIO* prototype = set->DataOutputPrototypes().opGetPrototype(kind);
    std::string reason;
    return prototype && prototype->bIsAvailable(m_deviceInfo, reason) &&
           set->DataOutputs().iCountKind(kind) < prototype->iGetMaxInstances(m_deviceInfo);
}

int OQuillon::AddDataOutput(int kind, int withDefaults, int silent) {
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set || !bCanAddDataOutput(kind)) return 0;
    std::unique_ptr<OType_DeviceDataIO> output = set->DataOutputPrototypes().Create(kind);
    if (!output) return 0;
    OType_DeviceDataIOArray& outputs = set->DataOutputs();
    bool renumbered = false;
    if (output->iGetPacketId() >= 0 && outputs.bIsPacketIdUsed(output->iGetPacketId())) {
        const int id = outputs.iFirstFreePacketId();
        if (id > kMaxPacketId) {
            if (!silent) m_ui.Message(ResStr(9990), MsgIcon::Warning);
            return 0;
        }
        output->SetPacketId(id);
        renumbered = true;
    }
    if (!output->GetPacketName().empty() && outputs.bIsPacketNameUsed(output->GetPacketName())) {
        output->SetPacketName(outputs.FirstFreePacketName(output->GetPacketName()));
        renumbered = true;
    }
    if (renumbered && !silent) m_ui.Message(ResStr(9989), MsgIcon::Information);
    const int selected = outputs.iGetSelected();
    const int position = selected >= 0 ? selected + 1 : outputs.iGetNum();
    OType_DeviceDataIO* added = outputs.Insert(position, std::move(output));
    added->iInitForPartSet(*set, withDefaults != 0);
    outputs.SetSelected(outputs.iGetPos(added));
    if (m_owner) m_owner->RefreshAllViews();
    return 1;
}
