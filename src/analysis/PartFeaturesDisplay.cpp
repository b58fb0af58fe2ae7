#include "analysis/PartFeaturesDisplay.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"
#include "tools/FeatureValueText.h"

namespace PartFeaturesDisplay {

namespace {

constexpr std::string_view kIgnorePart = "Ignore part";

// Short labels in the order of the check program's standard references.
constexpr std::array<std::string_view, 14> kReferenceLabels = {
    "H", "W", "X", "Y", "", "Z", "Ra", "Rx", "Ry", "A", "Blo", "Bup", "Clo", "Cup"};

std::string Word(const OPartFeaturesContext& context, std::string_view word) {
    return context.dataWordMode != 0 ? std::string(word) : std::string();
}

// The tool at feature `f` (nullptr for basic features and features of missing tools).
const OType_ConfigTool* ToolAt(const OType_ZRPartSet& set, const OType_Part& part, int f) {
    const OType_Feature* feature = part.Features().opGetAt(f);
    return feature && feature->toolId >= 0 ? set.Tools().opFindById(feature->toolId) : nullptr;
}

std::vector<int> DirectReferences(const OType_ZRPartSet& set, const OType_Part& part, int f) {
    const OType_ConfigTool* tool = ToolAt(set, part, f);
    return tool ? tool->GetDirectReferencedFeatures(set) : std::vector<int>{};
}

// Every feature reachable from `start` along `next`, `start` excluded; cycles end.
template <typename Next>
std::vector<int> Closure(int start, int count, Next next) {
    std::set<int> seen;
    std::vector<int> pending = next(start);
    while (!pending.empty()) {
        const int f = pending.back();
        pending.pop_back();
        if (f < 0 || f >= count || f == start || !seen.insert(f).second) continue;
        for (int g : next(f))
            pending.push_back(g);
    }
    return {seen.begin(), seen.end()};
}

bool bContains(const std::vector<int>& list, int value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

}  // namespace

const std::array<std::string_view, kColumnCount>& FeatureColumnHeadings() {
    static const std::array<std::string_view, kColumnCount> headings = {
        "No.",       "Tool",    "Feature", "Ref.",      "Value",
        "Deviation", "Depends", "Quality", "Tolerance", "Data word"};
    return headings;
}

const std::array<std::string_view, 3>& InfoColumnHeadings() {
    static const std::array<std::string_view, 3> headings = {"Part", "Value", "Data word"};
    return headings;
}

std::string_view ReferenceLabel(int index) {
    return index >= 0 && index < static_cast<int>(kReferenceLabels.size())
               ? kReferenceLabels[static_cast<size_t>(index)]
               : std::string_view();
}

std::vector<OPartInfoRow> InfoRows(const OType_Part& part, const OPartFeaturesContext& context) {
    std::vector<OPartInfoRow> rows;
    const int orientation = part.iGetOrientation();
    if (context.usesTypes && context.partTypes > 1)
        rows.push_back({"Part type", FormatPrintf("%d", part.iGetType()), Word(context, "FW252")});
    if (context.usesOrientations) {
        rows.push_back(
            {"Orientation",
             orientation < 1 ? std::string(kIgnorePart) : FormatPrintf("%d", orientation),
             Word(context, "FW253")});
    }
    if (part.bIsTeachPart()) {
        rows.push_back({"At teach process",
                        std::string(orientation < 1 ? kIgnorePart : std::string_view("Use part")),
                        std::string()});
    }
    rows.push_back({"Learning value",
                    FormatPrintf("C:%d", static_cast<int>(std::lround(part.dGetResultValue(2)))),
                    Word(context, "FW254")});
    if (context.usesQuality) {
        rows.push_back(
            {"Deviation",
             FormatPrintf("%d%%", static_cast<int>(std::lround(part.dGetResultValue(0)))),
             Word(context, "FW256")});
        rows.push_back(
            {"Margin", FormatPrintf("%05.2lf", part.dGetResultValue(1)), Word(context, "FW255")});
    }
    rows.push_back({"Features", FormatPrintf("%d", part.Features().iGetNumOfFeatures()),
                    Word(context, "FW259..FW264")});
    if (!part.GetComment().empty()) rows.push_back({"Comment", part.GetComment(), std::string()});
    return rows;
}

OFeatureDependencies Dependencies(const OType_ZRPartSet& set, const OType_Part& part, int feature) {
    OFeatureDependencies deps;
    const int count = part.Features().iGetNumOfFeatures();
    if (feature < 0 || feature >= count) return deps;
    // Who reads whom, once per feature.
    std::vector<std::vector<int>> reads(static_cast<size_t>(count));
    std::vector<std::vector<int>> readBy(static_cast<size_t>(count));
    for (int f = 0; f < count; ++f) {
        reads[static_cast<size_t>(f)] = DirectReferences(set, part, f);
        for (int g : reads[static_cast<size_t>(f)]) {
            if (g >= 0 && g < count) readBy[static_cast<size_t>(g)].push_back(f);
        }
    }
    const auto readsOf = [&](int f) { return reads[static_cast<size_t>(f)]; };
    const auto readByOf = [&](int f) { return readBy[static_cast<size_t>(f)]; };
    deps.direct = readsOf(feature);
    deps.all = Closure(feature, count, readsOf);
    deps.directDependents = readByOf(feature);
    deps.allDependents = Closure(feature, count, readByOf);
    return deps;
}

std::string DependencyMarker(const OFeatureDependencies& deps, int current, int feature) {
    if (feature == current) return " X ";
    if (bContains(deps.direct, feature)) return " > ";
    if (bContains(deps.all, feature)) return ">> ";
    if (bContains(deps.directDependents, feature)) return " < ";
    if (bContains(deps.allDependents, feature)) return "<< ";
    return {};
}

std::vector<OFeatureRow> FeatureRows(const OType_ZRPartSet& set, const OType_Part& part,
                                     int current, const OPartFeaturesContext& context) {
    const OType_FeatureArray& features = part.Features();
    const OFeatureDependencies deps = Dependencies(set, part, current);
    std::vector<int> referenceOf(static_cast<size_t>(features.iGetNumOfFeatures()), -1);
    for (int r = 0; r < OType_DefaultReferenceFeatures::kCount; ++r) {
        const int f = set.DefaultReferences().iGetAt(r);
        if (f >= 0 && f < features.iGetNumOfFeatures() && !ReferenceLabel(r).empty())
            referenceOf[static_cast<size_t>(f)] = r;
    }
    std::vector<OFeatureRow> rows;
    rows.reserve(static_cast<size_t>(features.iGetNumOfFeatures()));
    int previousTool = -2;
    for (int i = 0; i < features.iGetNumOfFeatures(); ++i) {
        const OType_Feature& f = features.At(i);
        OFeatureRow row;
        row.feature = i;
        auto& c = row.columns;
        c[kNumber] = FormatPrintf("%d.", i + 1);
        if (f.toolId >= 0) {
            const OType_ConfigTool* tool = set.Tools().opFindById(f.toolId);
            // The tool's name only on its first feature.
            if (f.toolId != previousTool) c[kTool] = tool ? tool->GetName() : " - ";
        }
        previousTool = f.toolId;
        c[kFeature] = FormatPrintf("%s (%s)", f.name, set.GetFeatureNameOrDash(f.type));
        if (const int r = referenceOf[static_cast<size_t>(i)]; r >= 0)
            c[kReference] = std::string(ReferenceLabel(r));
        c[kValue] = f.bIsText() ? f.textValue : FormatFeatureValue(f.value);
        c[kDeviation] = FormatPrintf("%d%%", static_cast<int>(std::lround(f.deviation)));
        c[kDependency] = DependencyMarker(deps, current, i);
        const bool enabled = set.bIsFeatureEnabled(i);
        c[kQuality] = context.usesQuality ? (enabled ? "Yes" : "No") : "";
        c[kFactor] = FormatPrintf("%3.2lf", f.factor);
        if (context.dataWordMode != 0) {
            const int base = context.dataWordMode == 2 ? 400 : 10000;
            c[kAddress] = FormatPrintf("%d / %d", base + 100 * i, 5 * i);
        }
        row.state = !f.valid                          ? OFeatureRowState::Invalid
                    : context.usesQuality && !enabled ? OFeatureRowState::Disabled
                    : f.bIsText()                     ? OFeatureRowState::Text
                    : f.toolId >= 0                   ? OFeatureRowState::Tool
                                                      : OFeatureRowState::Basic;
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace PartFeaturesDisplay
