// The editor of the stored Teach-Data of one feature, without a window: what the vector
// properties form shows for the current feature and a chosen part type and orientation, the
// rules of its fields (tolerance-factor normalisation, the radio groups' stored values, the
// apply delays) and applying an edited form to the part set's vectors. Applying checks every
// field first and changes nothing when one is refused.
#pragma once

#include <string>
#include <vector>

class OType_ZRPartSet;

namespace VectorProperties {

// Control ids of the form (template 322).
inline constexpr int kTemplate = 322;
inline constexpr int kUseForQuality = 1244;
inline constexpr int kName = 1312;
inline constexpr int kFeature = 1161;
inline constexpr int kFactor = 1272;
inline constexpr int kType = 1249;
inline constexpr int kOrientation = 1252;
inline constexpr int kRangeAutomatic = 1248;
inline constexpr int kRangeManual = 1271;
inline constexpr int kRangeManualLocked = 1264;
inline constexpr int kMinimum = 1260;
inline constexpr int kMean = 1261;
inline constexpr int kMaximum = 1262;
inline constexpr int kInvalidAutomatic = 1245;
inline constexpr int kInvalidBad = 1250;
inline constexpr int kInvalidGoodAlways = 1246;
inline constexpr int kInvalidGoodOnlyInvalid = 1247;
inline constexpr int kCheckExpression = 1263;

// The delays after the last keystroke in an edit field before the edit is applied.
inline constexpr int kApplyDelayMs = 800;
inline constexpr int kSlowApplyDelayMs = 2400;
// Entered values beyond this magnitude are refused.
inline constexpr double kLargestValue = 1e20;
// Minimum, mean and maximum are written when they differ by more than this.
inline constexpr double kValueTolerance = 0.0001;
inline constexpr double kLargestFactor = 127.0;

// Value range radio: 0 automatic (option 0), 1 manually (option 3), 2 manually with lock
// (option 2).
enum class ValueRange { Automatic = 0, Manual = 1, ManualLocked = 2 };
// Quality decision when the feature is invalid: 0 automatic (state 9 or 8), 1 bad (11),
// 2 good when valid and invalid (10), 3 good only when invalid (15).
enum class InvalidDecision { Automatic = 0, Bad = 1, GoodAlways = 2, GoodOnlyInvalid = 3 };

ValueRange RangeOfOption(unsigned option);
unsigned OptionOfRange(ValueRange range);
InvalidDecision DecisionOfState(int state);
// The state stored for a decision; automatic keeps a computed state (9, 8, 13, ...) and
// resets the states the other choices set (10, 11, 15) to 9.
int StateOfDecision(InvalidDecision decision, int storedState);

// The magnitude; from 1 upwards its integer part, at most 127; below 1 truncated to
// hundredths.
double NormaliseFactor(double entered);
// The delay before an edit is applied: longer while the field is empty or ends with a
// decimal point, since the user is most likely still typing.
int iApplyDelayMs(const std::string& text);
// A number field: the whole text (blanks around it allowed) must be a finite number within
// +-1e20. False with the reason otherwise.
bool bParseValue(const std::string& text, double& value, std::string& error);
// The form's text of a stored value.
std::string ValueText(double value);

}  // namespace VectorProperties

// What the form shows.
struct OVectorForm {
    bool hasFeature = false;  // false: no current feature, every field empty and disabled
    int feature = -1;
    bool hasClass = false;  // the chosen type and orientation have a vector of the feature
    int type = 0;
    int orientation = 0;
    std::vector<std::string> featureEntries;  // "%d. %s"
    std::vector<std::string> typeEntries;
    std::vector<std::string> orientationEntries;
    std::string name;
    bool usedForQuality = true;
    std::string factor;
    VectorProperties::ValueRange range = VectorProperties::ValueRange::Automatic;
    VectorProperties::InvalidDecision invalidDecision =
        VectorProperties::InvalidDecision::Automatic;
    bool textFeature = false;
    std::string minimum, mean, maximum;
    std::string checkExpression;

    bool operator==(const OVectorForm&) const = default;
};

struct OVectorApplyResult {
    bool changed = false;
    bool nameChanged = false;
    std::string error;     // why nothing was applied; empty when the form was taken
    int errorControl = 0;  // the field the error is about
    double factor = 1.0;   // the normalised factor that was applied
};

class OVectorPropertiesEditor {
  public:
    // family: 1 or 2 (family 2 renames a tool's feature in the tool, family 1 the feature
    // type in the name table).
    OVectorPropertiesEditor(OType_ZRPartSet& partSet, int family)
        : m_partSet(partSet), m_family(family) {}

    // The form for a feature and a part type and orientation (0-based; clamped into the
    // part set's types and that type's orientations).
    OVectorForm Read(int feature, int type, int orientation) const;
    // Applies what differs between the form as read and as edited. Nothing is changed when a
    // field is refused.
    OVectorApplyResult Apply(const OVectorForm& read, const OVectorForm& edited);

  private:
    bool bValidate(const OVectorForm& edited, OVectorApplyResult& result, double& factor,
                   double values[3]) const;
    void ApplyName(int feature, const std::string& name);
    void ApplyUse(int feature, bool used);
    void SetFactorEverywhere(int feature, double factor);

    OType_ZRPartSet& m_partSet;
    int m_family;
};
