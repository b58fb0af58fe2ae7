// The editable properties of the family-1 contour tools, described as data: what the tool
// manager's pages show and what kalvorctl sets by name.
#include <algorithm>

#include "model/part/OType_Part.h"
#include "model/partset/DefaultFeatureNames.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/MultiLanguageText.h"
#include "tools/ContourToolProperties.h"
#include "tools/OContourColumns.h"
#include "tools/OType_ConfigTool_Combination.h"
#include "tools/OType_ConfigTool_Contour.h"

namespace PL = PropertyList;

namespace ContourToolProperties {

std::string FeatureTypeName(const OPropertyContext& context, int featureType) {
    if (context.partSet) {
        if (const std::string* name = context.partSet->FindFeatureName(featureType)) return *name;
    } else {
        for (const OFeatureName& entry : DefaultFeatureNames()) {
            if (entry.number == featureType) return oStrExtractLanguage(entry.name, 0);
        }
    }
    return "Feature type " + std::to_string(featureType);
}

int iImageRows(const OPropertyContext& context) {
    return context.deviceInfo ? ContourImageHeight(*context.deviceInfo) : kDefaultImageRows;
}

std::string PlacementHelp(int mode) {
    switch (mode) {
        case PlacementMode::kFromEnd:
            return "The columns are distances back from the part's last column.";
        case PlacementMode::kFromBaseLine:
            return "Columns count from the part's first column, rows from its lowest row.";
        default:
            return "Columns count from the part's first column.";
    }
}

}  // namespace ContourToolProperties

using namespace ContourToolProperties;

OPropertyList OType_ConfigTool_Contour::DescribeProperties(const OPropertyContext& context) const {
    OPropertyList base = OType_ConfigTool::DescribeProperties(context);
    OPropertyList list;
    list.push_back(*PL::Find(base, kName));

    std::vector<OPropertyChoice> subKinds;
    for (int type : GetSubKinds())
        subKinds.push_back({type, FeatureTypeName(context, type)});
    OProperty subKind =
        PL::Choice(kSubKind, SubKindLabel(), kPageGeneral, iGetFeatureType(), std::move(subKinds));
    subKind.readOnly = GetSubKinds().size() < 2;
    list.push_back(std::move(subKind));
    if (!bUsesRegion()) return list;

    OProperty placement = PL::Choice(
        kPlacement, "Placement", kPageRegion, iGetPlacementMode(),
        {{PlacementMode::kFromStart, "From the part's first column"},
         {PlacementMode::kFromEnd, "From the part's last column"},
         {PlacementMode::kFromBaseLine, "From the first column and the part's lowest row"}});
    placement.help = PlacementHelp(iGetPlacementMode());
    list.push_back(std::move(placement));

    const int lastRow = iImageRows(context) - 1;
    const ORect& r = GetRegion();
    list.push_back(
        PL::Integer(kRegionLeft, "First column", kPageRegion, r.left, 0, kMaxRegionColumn, "px"));
    list.push_back(
        PL::Integer(kRegionRight, "Last column", kPageRegion, r.right, 0, kMaxRegionColumn, "px"));
    list.push_back(PL::Integer(kRegionTop, "Lowest row", kPageRegion, r.top, 0, lastRow, "px"));
    list.push_back(
        PL::Integer(kRegionBottom, "Highest row", kPageRegion, r.bottom, 0, lastRow, "px"));
    return list;
}

bool OType_ConfigTool_Contour::bCheckProperties(const OPropertyValues& merged,
                                                const OPropertyContext& context,
                                                std::string& error) const {
    if (!bIsSubKind(static_cast<int>(PL::iGet(merged, kSubKind, iGetFeatureType())))) {
        error = "This tool does not measure the chosen feature.";
        return false;
    }
    if (!bUsesRegion()) return true;
    return OType_ConfigTool::bCheckProperties(merged, context, error);
}

void OType_ConfigTool_Contour::ApplyProperties(const OPropertyValues& values,
                                               const OPropertyContext& context) {
    // A new placement mode alone keeps the region where the user sees it on the shown part;
    // with new region values as well, those are taken as they stand.
    const int mode = static_cast<int>(PL::iGet(values, kPlacement, iGetPlacementMode()));
    const bool regionGiven = values.contains(kRegionLeft) || values.contains(kRegionRight) ||
                             values.contains(kRegionTop) || values.contains(kRegionBottom);
    const OType_Part* shown = context.partSet ? context.partSet->opGetShowPart() : nullptr;
    if (bUsesRegion() && mode != iGetPlacementMode() && !regionGiven && shown) {
        OContourColumns columns;
        columns.Build(shown->Contour());
        const ORect placed = GetPlacedRegion(columns);
        SetPlacementMode(mode);
        SetPlacedRegion(placed, columns);
        ORect r = GetRegion();
        r.left = std::max(r.left, 0);
        r.right = std::max(r.right, r.left);
        r.top = std::max(r.top, 0);
        r.bottom = std::max(r.bottom, r.top);
        SetRegion(r);
    } else {
        SetPlacementMode(mode);
    }
    SetFeatureType(static_cast<int>(PL::iGet(values, kSubKind, iGetFeatureType())));
    OType_ConfigTool::ApplyProperties(values, context);
}

// --- the combination tool ---

namespace {

constexpr double kConstantLimit = 1e9;

struct OOperandNames {
    std::string source, basic, tool, constant;
};

OOperandNames OperandNames(int i) {
    const std::string p = i == 0 ? "a." : "b.";
    return {p + "source", p + "basic", p + "tool", p + "constant"};
}

std::string OperandLabel(int i) {
    return i == 0 ? "Operand A" : "Operand B";
}

using Source = OCombinationOperand::Source;

// Tools whose value the combination tool `toolId` reads, directly or through other
// combination tools, include `wanted`.
bool bDependsOn(const OType_ZRPartSet& set, int toolId, int wanted, int depth = 0) {
    if (toolId == wanted) return true;
    if (depth > static_cast<int>(OType_ConfigToolArray::kMaxTools)) return false;
    const auto* combination =
        dynamic_cast<const OType_ConfigTool_Combination*>(set.Tools().opFindById(toolId));
    if (!combination) return false;
    for (int k = 0; k < 2; ++k) {
        const OCombinationOperand& op = combination->GetOperand(k);
        if (op.source == Source::Tool && bDependsOn(set, op.toolId, wanted, depth + 1)) return true;
    }
    return false;
}

}  // namespace

OPropertyList OType_ConfigTool_Combination::DescribeProperties(
    const OPropertyContext& context) const {
    OPropertyList list = OType_ConfigTool_Contour::DescribeProperties(context);
    list.push_back(PL::Choice("operation", "Operation", kPageFunction,
                              static_cast<int64_t>(GetOperation()),
                              {{0, "A + B"},
                               {1, "A - B"},
                               {2, "A * B"},
                               {3, "A / B"},
                               {4, "Minimum of A and B"},
                               {5, "Maximum of A and B"},
                               {6, "|A - B|"},
                               {7, "A AND B"},
                               {8, "A OR B"},
                               {9, "A XOR B"},
                               {10, "A < B (1 or 0)"},
                               {11, "A > B (1 or 0)"},
                               {12, "A = B (1 or 0)"}}));

    std::vector<OPropertyChoice> basics;
    const int fixed = context.partSet ? context.partSet->iGetFixedFeatures() : BasicFeature::kCount;
    for (int b = 0; b < std::min(fixed, BasicFeature::kCount); ++b)
        basics.push_back(
            {b, std::to_string(b + 1) + ". " +
                    FeatureTypeName(context, BasicFeature::kTypes[static_cast<size_t>(b)])});
    std::vector<OPropertyChoice> tools{{-1, "(none)"}};
    if (context.partSet) {
        const OType_ConfigToolArray& all = context.partSet->Tools();
        for (int t = 0; t < all.iGetNum(); ++t) {
            const OType_ConfigTool* tool = all.opGetAt(t);
            if (tool->iGetToolId() == iGetToolId()) continue;
            const int first = all.GetFeatureIndex_First(t, context.partSet->iGetFixedFeatures());
            tools.push_back(
                {tool->iGetToolId(), std::to_string(first + 1) + ". " + tool->GetName()});
        }
    }
    for (int i = 0; i < 2; ++i) {
        const OCombinationOperand& op = GetOperand(i);
        const OOperandNames n = OperandNames(i);
        const std::string label = OperandLabel(i);
        list.push_back(PL::Choice(
            n.source, label, kPageFunction, static_cast<int64_t>(op.source),
            {{0, "None"}, {1, "Basic feature"}, {2, "Feature of a tool"}, {3, "Constant"}}));
        // An operand that names nothing valid shows the first choice.
        std::string unused;
        OProperty basic =
            PL::Choice(n.basic, label + ": basic feature", kPageFunction, op.basicIndex, basics);
        if (!PL::bValidate(basic, basic.value, unused)) basic.value = int64_t{0};
        list.push_back(std::move(basic));
        OProperty tool = PL::Choice(n.tool, label + ": tool", kPageFunction, op.toolId, tools);
        if (!PL::bValidate(tool, tool.value, unused)) tool.value = int64_t{-1};
        list.push_back(std::move(tool));
        list.push_back(PL::Real(n.constant, label + ": constant", kPageFunction, op.constant,
                                -kConstantLimit, kConstantLimit, 4));
    }
    return list;
}

bool OType_ConfigTool_Combination::bCheckProperties(const OPropertyValues& merged,
                                                    const OPropertyContext& context,
                                                    std::string& error) const {
    if (!OType_ConfigTool_Contour::bCheckProperties(merged, context, error)) return false;
    for (int i = 0; i < 2; ++i) {
        const OOperandNames n = OperandNames(i);
        const auto source = static_cast<Source>(PL::iGet(merged, n.source, 0));
        if (source != Source::Tool) continue;
        const int toolId = static_cast<int>(PL::iGet(merged, n.tool, -1));
        if (toolId < 0 || !context.partSet || !context.partSet->Tools().opFindById(toolId)) {
            error = OperandLabel(i) + ": choose the tool whose feature it reads.";
            return false;
        }
        if (bDependsOn(*context.partSet, toolId, iGetToolId())) {
            error = OperandLabel(i) +
                    " reads a feature that depends on this tool; the tools would read each "
                    "other in a circle.";
            return false;
        }
    }
    return true;
}

void OType_ConfigTool_Combination::ApplyProperties(const OPropertyValues& values,
                                                   const OPropertyContext& context) {
    OType_ConfigTool_Contour::ApplyProperties(values, context);
    SetOperation(static_cast<CombinationOp>(
        PL::iGet(values, "operation", static_cast<int64_t>(GetOperation()))));
    for (int i = 0; i < 2; ++i) {
        const OOperandNames n = OperandNames(i);
        const OCombinationOperand& old = GetOperand(i);
        const auto source =
            static_cast<Source>(PL::iGet(values, n.source, static_cast<int64_t>(old.source)));
        OCombinationOperand op;
        op.source = source;
        op.basicIndex = static_cast<int32_t>(PL::iGet(values, n.basic, old.basicIndex));
        op.toolId = static_cast<int32_t>(PL::iGet(values, n.tool, old.toolId));
        op.constant = PL::dGet(values, n.constant, old.constant);
        SetOperand(i, op);
    }
}
