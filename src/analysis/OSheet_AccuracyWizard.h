// The accuracy wizard without its windows: the results its four pages share, each page's
// fields, what the page computes from them, its output texts and which wizard buttons it
// offers, and what Finish does. A window binds its controls (by control id) to these fields
// and calls the page operations; everything it shows comes from here.
//
// Pages in order: start (count the sample parts), feature (feature, hand-measured value,
// resolution and repeatability), evaluation (tolerance or share of uncertain parts, Cgm,
// Cgmk) and result (the summary, "Copy summary", "Create the ranges as Teach-Data").
#pragma once

#include <string>
#include <vector>

#include "analysis/AccuracyFigures.h"

class OClassifier;
class OType_ZRPartSet;

// Wizard-button flags of the pages.
namespace WizardButtons {
inline constexpr int kNone = 0;
inline constexpr int kBack = 1;
inline constexpr int kNext = 2;
inline constexpr int kFinish = 4;
}  // namespace WizardButtons

// What the pages share.
struct OAccuracyResults {
    int feature = -1;  // index into the parts' feature arrays
    std::string featureName;
    double measured = 0.0;                            // m, by hand
    int count = 0;                                    // values used
    double minimum = 0.0, maximum = 0.0, mean = 0.0;  // of the samples, in pixels
    double resolution = 0.0;                          // r
    double maxError = 0.0;                            // e
    double sigma = 0.0;                               // average error, measured units
    double specified = 0.0;                           // x_m
    double tolerance = 0.0;                           // t (+/-)
    // Whether t came from the evaluation page; until then it is only the suggestion made
    // from e and follows the measured value as the user types it.
    bool toleranceFromEvaluation = false;
    int uncertainPercent = 0;  // u
    double cgm = Accuracy::kNoCapability;
    double cgmk = Accuracy::kNoCapability;
    bool createTeachData = false;
};

// A feature offered by the feature page.
struct OAccuracyFeature {
    int index = 0;
    std::string name;
};

// Page 1: "Statistical evaluation of a feature".
class OPage_AccuracyWizardStart {
  public:
    static constexpr int kTemplate = 292;
    static constexpr const char* kTitle = "Statistical evaluation of a feature";
    static constexpr const char* kIntroText =
        "This wizard evaluates one feature statistically. Measure one real part by hand, then "
        "record it at least 50 times as sample part of type 1 and orientation 1.\nThe wizard "
        "derives the resolution, the repeatability, the tolerance range or the share of "
        "uncertain parts, and the capability indices Cgm and Cgmk.";

    void OnActivate(const OType_ZRPartSet& partSet);
    int iSampleParts() const { return m_parts; }
    int iButtons() const { return m_buttons; }
    const std::string& Text() const { return m_text; }

  private:
    int m_parts = 0;
    int m_buttons = WizardButtons::kNone;
    std::string m_text = kIntroText;
};

// Page 2: "Determination of resolution and repeatibility (accuracy)". Controls: feature combo
// 1100, measured value 1001; outputs mean 1003, resolution 1002, average error 1005, maximum
// error 1136.
class OPage_AccuracyWizardFeature {
  public:
    static constexpr int kTemplate = 293;
    static constexpr const char* kTitle =
        "Determination of resolution and repeatibility (accuracy)";

    // Fills the feature list from the part set (names of the first sample part's features)
    // and computes.
    void OnActivate(const OType_ZRPartSet& partSet, OAccuracyResults& sheet);
    const std::vector<OAccuracyFeature>& Features() const { return m_features; }

    // The user's input; each change recomputes.
    void SelectFeature(int position, const OType_ZRPartSet& partSet, OAccuracyResults& sheet);
    void SetMeasuredText(const std::string& text, const OType_ZRPartSet& partSet,
                         OAccuracyResults& sheet);
    int iSelected() const { return m_selected; }
    const std::string& MeasuredText() const { return m_measuredText; }

    const std::string& MeanText() const { return m_mean; }
    const std::string& ResolutionText() const { return m_resolution; }
    const std::string& AverageErrorText() const { return m_averageError; }
    const std::string& MaxErrorText() const { return m_maxError; }
    // The refusal, empty when the figures were computed or only the measured value is 0.
    const std::string& Message() const { return m_message; }
    int iButtons() const { return m_buttons; }

  private:
    void Compute(const OType_ZRPartSet& partSet, OAccuracyResults& sheet);

    std::vector<OAccuracyFeature> m_features;
    int m_selected = 0;
    std::string m_measuredText = "0";
    std::string m_mean = Accuracy::kNotComputed, m_resolution = Accuracy::kNotComputed;
    std::string m_averageError = Accuracy::kNotComputed, m_maxError = Accuracy::kNotComputed;
    std::string m_message;
    int m_buttons = WizardButtons::kBack;
};

// Page 3: "Determinations of the uncertain parts and tolerance range". Controls: mode radio
// 1108 / 1109, specified value 1114, tolerance 1131, uncertain share 1113 (input) and 1107
// (output), results 1120, Cgm 1137, Cgmk 1138.
class OPage_AccuracyWizardEvaluation {
  public:
    static constexpr int kTemplate = 291;
    static constexpr const char* kTitle =
        "Determinations of the uncertain parts and tolerance range";
    static constexpr const char* kAssumptionText =
        "Assumption:\nThe test parts have a standard deviation inside the tolerance range and "
        "the range equals 2 x sigma of the (production) process.";
    static constexpr const char* kGuidelineText =
        "Gauge measurement capability and coefficient based on measurements.\nAccording GMPT "
        "EMS [50] / Bosch H10 [58]";
    enum class Mode { ToleranceRange, UncertainShare };

    // Takes e, t and u from the sheet and the measured value as the nominal value; computes.
    void OnActivate(const OAccuracyResults& sheet);
    void SetMode(Mode mode);
    // Edits; a window recomputes after a short pause (Recompute).
    void SetSpecified(double value) { m_specified = value; }
    void SetTolerance(double value) { m_tolerance = value; }
    void SetUncertainPercent(int value) { m_uncertain = value; }
    void Recompute();
    // Stores e, x_m, t and u in the sheet (Next).
    void OnNext(OAccuracyResults& sheet) const;

    Mode GetMode() const { return m_mode; }
    double dSpecified() const { return m_specified; }
    double dTolerance() const { return m_tolerance; }
    int iUncertainPercent() const { return m_uncertain; }
    const std::string& UncertainText() const { return m_uncertainText; }  // 1107
    const std::string& ToleranceText() const { return m_toleranceText; }  // 1120
    const std::string& CgmText() const { return m_cgmText; }
    const std::string& CgmkText() const { return m_cgmkText; }
    double dCgm() const { return m_capability.cgm; }
    double dCgmk() const { return m_capability.cgmk; }
    int iButtons() const { return WizardButtons::kBack | WizardButtons::kNext; }

  private:
    Mode m_mode = Mode::ToleranceRange;
    double m_maxError = 0.0, m_sigma = 0.0, m_measuredMean = 0.0;
    double m_specified = 0.0, m_tolerance = 0.0;
    int m_uncertain = 0;
    Accuracy::OCapability m_capability;
    std::string m_uncertainText, m_toleranceText, m_cgmText, m_cgmkText;
};

// One line of the summary: "Type", "Value", "Unit".
struct OAccuracySummaryRow {
    std::string type, value, unit;
    bool operator==(const OAccuracySummaryRow&) const = default;
};

// Page 4: "Summary".
class OPage_AccuracyWizardResult {
  public:
    static constexpr int kTemplate = 294;
    static constexpr const char* kTitle = "Summary";
    static constexpr const char* kCreateText = "Create the ranges as Teach-Data";

    void OnActivate(const OAccuracyResults& sheet);
    const std::vector<OAccuracySummaryRow>& Rows() const { return m_rows; }
    // What "Copy summary" puts on the clipboard: a tab-separated line per row.
    std::string SummaryText() const;
    bool bCreateTeachData() const { return m_create; }
    void SetCreateTeachData(bool on) { m_create = on; }
    void OnFinish(OAccuracyResults& sheet) const { sheet.createTeachData = m_create; }
    int iButtons() const { return WizardButtons::kBack | WizardButtons::kFinish; }

  private:
    std::vector<OAccuracySummaryRow> m_rows;
    bool m_create = false;
};

// The sheet: its shared results and the four pages.
class OSheet_AccuracyWizard {
  public:
    OAccuracyResults& Results() { return m_results; }
    const OAccuracyResults& Results() const { return m_results; }
    OPage_AccuracyWizardStart& StartPage() { return m_start; }
    OPage_AccuracyWizardFeature& FeaturePage() { return m_feature; }
    OPage_AccuracyWizardEvaluation& EvaluationPage() { return m_evaluation; }
    OPage_AccuracyWizardResult& ResultPage() { return m_result; }

    // After Finish: turns the ranges into Teach-Data when asked, the project detects
    // orientations and the resolution is known. Returns the classifier's answer (1 done),
    // 0 when nothing was applied.
    int iApplyOnFinish(OClassifier* classifier, bool detectsOrientations) const;
    // The six range ends AddAccuracyOrientations receives, in pixels: orientation 1 (the
    // certain range), the uncertain range at the lower and at the upper limit.
    static void TeachDataRanges(const OAccuracyResults& r, double ranges[6]);

  private:
    OAccuracyResults m_results;
    OPage_AccuracyWizardStart m_start;
    OPage_AccuracyWizardFeature m_feature;
    OPage_AccuracyWizardEvaluation m_evaluation;
    OPage_AccuracyWizardResult m_result;
};
