// What the part features view shows of the current part, without a window: the rows of the
// upper list (type, orientation, use at teach process, result values, each with the device
// data word that carries it) and one row per feature for the lower list (number, tool,
// feature and type, standard reference, value, deviation, dependency marker, data address).
// The view and its printout take the texts from here.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

class OType_Part;
class OType_ZRPartSet;

// How the project shows a part: what it decides and whether data words are shown.
struct OPartFeaturesContext {
    bool usesTypes = false;
    int partTypes = 1;  // part types of the check program
    bool usesOrientations = true;
    bool usesQuality = false;
    // Data words of the device's field bus are shown (0 none, 1 addresses from 10000, 2 the
    // other address mode, from 400).
    int dataWordMode = 0;
};

struct OPartInfoRow {
    std::string caption;
    std::string value;
    std::string dataWord;
    bool operator==(const OPartInfoRow&) const = default;
};

// The state icon of a feature row.
enum class OFeatureRowState { Basic, Tool, Disabled, Invalid, Text };

struct OFeatureRow {
    int feature = 0;
    OFeatureRowState state = OFeatureRowState::Basic;
    std::array<std::string, 10> columns;
    bool operator==(const OFeatureRow&) const = default;
};

// The dependencies of the current feature: features its tool reads directly, all it reads
// directly or through other tools, features whose tools read it directly, and all that
// depend on it.
struct OFeatureDependencies {
    std::vector<int> direct;
    std::vector<int> all;
    std::vector<int> directDependents;
    std::vector<int> allDependents;
};

namespace PartFeaturesDisplay {

// Columns of the feature list.
enum Column {
    kNumber,
    kTool,
    kFeature,
    kReference,
    kValue,
    kDeviation,
    kDependency,
    kQuality,
    kFactor,
    kAddress,
    kColumnCount
};
const std::array<std::string_view, kColumnCount>& FeatureColumnHeadings();
const std::array<std::string_view, 3>& InfoColumnHeadings();

// The short label of standard reference `index` of the check program ("W", "H", ...).
std::string_view ReferenceLabel(int index);

std::vector<OPartInfoRow> InfoRows(const OType_Part& part, const OPartFeaturesContext& context);

OFeatureDependencies Dependencies(const OType_ZRPartSet& partSet, const OType_Part& part,
                                  int feature);
// " X ", " > ", ">> ", " < ", "<< " or empty.
std::string DependencyMarker(const OFeatureDependencies& deps, int current, int feature);

std::vector<OFeatureRow> FeatureRows(const OType_ZRPartSet& partSet, const OType_Part& part,
                                     int currentFeature, const OPartFeaturesContext& context);

}  // namespace PartFeaturesDisplay
