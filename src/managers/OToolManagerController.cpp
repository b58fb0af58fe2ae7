#include "managers/OToolManagerController.h"

#include <algorithm>

#include "document/ODoc.h"
#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"
#include "tools/ContourToolProperties.h"
#include "tools/ContourToolTypes.h"

namespace {

constexpr int kDescriptionFirst = 27000;
constexpr int kLabelTool = 27020;
constexpr int kLabelKind = 27021;
constexpr int kLabelFeatures = 27022;
constexpr int kLabelFeatureType = 27023;
constexpr int kLabelWorksOn = 27024;
constexpr int kContourImage = 27025;
constexpr int kCameraImage = 27026;
constexpr int kLabelToolNumber = 27027;
constexpr int kLabelBasicFeature = 27028;
constexpr int kPlaceholderText = 27029;
constexpr int kCannotMoveUp = 27030;
constexpr int kCannotMoveDown = 27031;

constexpr int kMinDropDownWidth = 200;
constexpr int kMaxDropDownWidth = 600;

constexpr const char* kUndoChanged = "Tool properties changed";
constexpr const char* kUndoUp = "Moved tool upwards";
constexpr const char* kUndoDown = "Moved tool downwards";

int iToolFeatureFirst(const OType_ZRPartSet& set, int position) {
    return set.Tools().GetFeatureIndex_First(position, 0);
}

std::string FeatureNumbers(const OType_ZRPartSet& set, int position, int offset) {
    const int first = iToolFeatureFirst(set, position) + offset + 1;
    const int last = set.Tools().GetFeatureIndex_Last(position, 0) + offset + 1;
    return first == last ? FormatPrintf("%d.", first) : FormatPrintf("%d.-%d.", first, last);
}

}  // namespace

namespace ToolManagerText {

int iNumberingOffset(const ZRINFO* info, int fixedFeatures) {
    if (info) {
        const int all = info->u16(ZRINFO::kFeatureCapacity);
        const int tools = info->u16(ZRINFO::kToolCapacity);
        if (all > 0 && all >= tools) return all - tools;
    }
    return std::max(0, fixedFeatures);
}

std::string EntryText(const OType_ZRPartSet& set, int position, int offset) {
    const OType_ConfigTool* tool = set.Tools().opGetAt(position);
    if (!tool) return {};
    return FeatureNumbers(set, position, offset) + " " + tool->GetName();
}

std::vector<std::string> Entries(const OType_ZRPartSet& set, int offset) {
    std::vector<std::string> entries;
    for (int i = 0; i < set.Tools().iGetNum(); ++i)
        entries.push_back(EntryText(set, i, offset));
    return entries;
}

int iDropDownWidth(int widestEntry, int averageChar, int edge, int scrollBar) {
    const int list = std::max(widestEntry + averageChar, kMinDropDownWidth);
    return std::min(list + 2 * edge + scrollBar, kMaxDropDownWidth);
}

std::string BasicFeatureDescription(int index) {
    if (index < 0 || index >= BasicFeature::kCount) return {};
    return ResStr(kDescriptionFirst + index);
}

}  // namespace ToolManagerText

OToolManagerController::OToolManagerController(ODoc& doc) : m_doc(doc) {}

OType_ZRPartSet* OToolManagerController::PartSet() const {
    return m_doc.opGetSession() ? m_doc.opGetActualPartSet() : nullptr;
}

int OToolManagerController::iNumberingOffset() const {
    const OType_ZRPartSet* set = PartSet();
    const OQuillon* session = m_doc.opGetSession();
    return ToolManagerText::iNumberingOffset(session ? &session->DeviceInfo() : nullptr,
                                             set ? set->iGetFixedFeatures() : 0);
}

std::vector<std::string> OToolManagerController::Entries() const {
    const OType_ZRPartSet* set = PartSet();
    return set ? ToolManagerText::Entries(*set, iNumberingOffset()) : std::vector<std::string>{};
}

int OToolManagerController::iSelectedToolPosition() const {
    const OType_ZRPartSet* set = PartSet();
    if (!set) return -1;
    const OType_ConfigTool* tool = set->opShowFeatureGetConfigTool();
    return tool ? set->Tools().iGetPos(tool) : -1;
}

int OToolManagerController::iSelectedEntry() const {
    return iSelectedToolPosition();
}

OToolSheetContent OToolManagerController::WantedSheet() const {
    OToolSheetContent content;
    OType_ZRPartSet* set = PartSet();
    if (!set) return content;
    content.partSet = set;
    const int feature = set->iShowFeatureGetNo();
    if (feature < 0 || feature >= set->iGetNumOfFeatures()) {
        content.pages = OToolPageSet::Placeholder;
        return content;
    }
    content.feature = feature;
    if (OType_ConfigTool* tool = set->opShowFeatureGetConfigTool()) {
        content.pages = OToolPageSet::Tool;
        content.tool = tool;
    } else {
        content.pages = OToolPageSet::BasicFeature;
    }
    return content;
}

std::string OToolManagerController::InfoTitle(const OToolSheetContent& content) const {
    switch (content.pages) {
        case OToolPageSet::Tool:
            return content.tool->GetName();
        case OToolPageSet::BasicFeature:
            return ResStr(kLabelBasicFeature) + " " + std::to_string(content.feature + 1);
        default:
            return {};
    }
}

std::vector<std::pair<std::string, std::string>> OToolManagerController::InfoLines(
    const OToolSheetContent& content) const {
    std::vector<std::pair<std::string, std::string>> lines;
    const OType_ZRPartSet* set = content.partSet;
    if (!set) return lines;
    const OPropertyContext context = Context(set);
    if (content.pages == OToolPageSet::BasicFeature) {
        const int type = content.feature < BasicFeature::kCount
                             ? BasicFeature::kTypes[static_cast<size_t>(content.feature)]
                             : -1;
        lines.push_back({ResStr(kLabelBasicFeature),
                         FormatPrintf("%d. %s", content.feature + 1,
                                      ContourToolProperties::FeatureTypeName(context, type))});
        return lines;
    }
    if (content.pages != OToolPageSet::Tool) return lines;
    const OType_ConfigTool& tool = *content.tool;
    const int position = set->Tools().iGetPos(&tool);
    lines.push_back({ResStr(kLabelTool), tool.GetName()});
    lines.push_back({ResStr(kLabelKind), tool.GetKindName()});
    lines.push_back({ResStr(kLabelToolNumber), std::to_string(tool.iGetToolId())});
    lines.push_back({ResStr(kLabelFeatures), FeatureNumbers(*set, position, iNumberingOffset())});
    std::string types;
    for (int i = 0; i < tool.iGetNumOfFeatures(); ++i) {
        if (!types.empty()) types += ", ";
        types += ContourToolProperties::FeatureTypeName(context, tool.GetFeatureTypeAt(i));
    }
    lines.push_back({ResStr(kLabelFeatureType), types});
    lines.push_back(
        {ResStr(kLabelWorksOn), ResStr(tool.iGetImageType() == 0 ? kContourImage : kCameraImage)});
    return lines;
}

std::string OToolManagerController::InfoText(const OToolSheetContent& content) const {
    switch (content.pages) {
        case OToolPageSet::BasicFeature:
            return ToolManagerText::BasicFeatureDescription(content.feature);
        case OToolPageSet::Placeholder:
            return ResStr(kPlaceholderText);
        default:
            return {};
    }
}

OPropertyContext OToolManagerController::Context(const OType_ZRPartSet* partSet) const {
    OPropertyContext context;
    context.partSet = partSet;
    if (const OQuillon* session = m_doc.opGetSession()) context.deviceInfo = &session->DeviceInfo();
    return context;
}

OPropertyList OToolManagerController::DescribeProperties(const OToolSheetContent& content) const {
    if (content.pages != OToolPageSet::Tool || !content.tool) return {};
    return content.tool->DescribeProperties(Context(content.partSet));
}

void OToolManagerController::SelectEntry(int index) {
    const OType_ZRPartSet* set = PartSet();
    if (!set || index < 0 || index >= set->Tools().iGetNum()) return;
    m_doc.SelectFeature(set->Tools().GetFeatureIndex_First(index, set->iGetFixedFeatures()), 1);
}

bool OToolManagerController::bApply(const OToolSheetContent& content, const OPropertyValues& values,
                                    std::string& error) {
    error.clear();
    OQuillon* session = m_doc.opGetSession();
    if (!session || content.pages != OToolPageSet::Tool || !content.tool || !content.partSet)
        return false;
    // The tool may have gone meanwhile (deleted, or its check program removed).
    OType_ZRPartSetArray& sets = session->PartSets();
    bool known = false;
    for (int i = 0; i < sets.iGetNum(); ++i)
        known = known || sets.opGetPartSet(i) == content.partSet;
    if (!known || content.partSet->Tools().iGetPos(content.tool) < 0) return false;
    if (values.empty()) return true;
    OType_ConfigTool& tool = *content.tool;
    const bool wasModified = tool.iGetModifiedFlag();
    tool.SetModifiedFlag(false);
    if (!tool.bApplyProperties(values, Context(content.partSet), error)) {
        tool.SetModifiedFlag(wasModified);
        return false;
    }
    if (!tool.iGetModifiedFlag()) {
        tool.SetModifiedFlag(wasModified);
        return true;
    }
    m_doc.Recompute(content.partSet, 0, 0, 1, 1, 0);
    m_doc.bStoreUndoStep(*content.partSet, kUndoChanged, ToolManagerCommand::kViewCommand);
    m_doc.RefreshViews();
    return true;
}

OCommandState OToolManagerController::GetCommandState(int id) const {
    OCommandState state;
    const OType_ZRPartSet* set = PartSet();
    const int position = iSelectedToolPosition();
    if (!set || m_doc.iGetFamily() != 2 || position < 0) return state;
    if (id == ToolManagerCommand::kMoveUp) state.enabled = position > 0;
    if (id == ToolManagerCommand::kMoveDown) state.enabled = position + 1 < set->Tools().iGetNum();
    return state;
}

bool OToolManagerController::bMoveUp() {
    return bMove(-1);
}

bool OToolManagerController::bMoveDown() {
    return bMove(1);
}

bool OToolManagerController::bMove(int direction) {
    OType_ZRPartSet* set = PartSet();
    const int id = direction < 0 ? ToolManagerCommand::kMoveUp : ToolManagerCommand::kMoveDown;
    if (!set || !GetCommandState(id).enabled) return false;
    const int position = iSelectedToolPosition();
    const int other = position + direction;
    // Moving up: the tool must not read the one above. Moving down: the one below must not
    // read the moving tool.
    const int reader = direction < 0 ? position : other;
    const int read = direction < 0 ? other : position;
    const int fixed = set->iGetFixedFeatures();
    const int first = set->Tools().GetFeatureIndex_First(read, fixed);
    const int last = set->Tools().GetFeatureIndex_Last(read, fixed);
    for (int f : set->GetAllReferencedFeatures(reader)) {
        if (f < first || f > last) continue;
        m_doc.UI().Message(ResStrFormat(direction < 0 ? kCannotMoveUp : kCannotMoveDown,
                                        set->Tools().opGetAt(other)->GetName()),
                           MsgIcon::Warning);
        return false;
    }
    if (!set->SwapCFTools_WithDependencies(position, other)) return false;
    m_doc.Recompute(set, 1, 0, 1, 1, 0);
    m_doc.bStoreUndoStep(*set, direction < 0 ? kUndoUp : kUndoDown,
                         ToolManagerCommand::kViewCommand);
    m_doc.RefreshViews();
    return true;
}
