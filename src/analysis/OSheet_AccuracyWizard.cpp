#include "analysis/OSheet_AccuracyWizard.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "classification/OClassifier.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"

namespace {

constexpr const char* kMm = "(e.g. mm)";
constexpr const char* kPixel = "(e.g. pixel)";
constexpr const char* kCapabilityUnit = "(OK as from 1.33, acc. GMPT EMS [50], Bosch H10 [58])";

// A number typed by the user; anything that is not one whole number counts as 0.
double ParseNumber(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    if (end == begin) return 0.0;
    while (*end == ' ' || *end == '\t')
        ++end;
    return *end == '\0' && std::isfinite(v) ? v : 0.0;
}

std::string Range4(double low, double high) {
    return FormatPrintf("%5.4lf .. %5.4lf", low, high);
}

std::string PlusMinus4(double v) {
    return FormatPrintf("+/- %5.4lf", v);
}

std::string CapabilityText(bool ok, double v) {
    return ok ? FormatPrintf("%05.4lf", v) : std::string(Accuracy::kNoDeviationText);
}

// The part whose feature names the feature page offers: the first sample part of type 1
// and orientation 1, else the first sample part.
const OType_Part* NamingPart(const OType_ZRPartSet& partSet) {
    const OType_PartArray& teach = partSet.TeachParts();
    for (int i = 0; i < teach.iGetSize(); ++i) {
        const OType_Part* part = teach.GetAt_NoSort(i);
        if (part->iGetType() == 1 && part->iGetOrientation() == 1) return part;
    }
    return teach.iGetSize() > 0 ? teach.GetAt_NoSort(0) : nullptr;
}

}  // namespace

// --- start page ---

void OPage_AccuracyWizardStart::OnActivate(const OType_ZRPartSet& partSet) {
    m_parts = Accuracy::CountSampleParts(partSet);
    if (m_parts >= Accuracy::kMinimumValues) {
        m_buttons = WizardButtons::kNext;
        m_text = kIntroText;
    } else {
        m_buttons = WizardButtons::kNone;
        m_text = Accuracy::kNotEnoughPartsText;
    }
}

// --- feature page ---

void OPage_AccuracyWizardFeature::OnActivate(const OType_ZRPartSet& partSet,
                                             OAccuracyResults& sheet) {
    m_features.clear();
    if (const OType_Part* part = NamingPart(partSet)) {
        const OType_FeatureArray& features = part->Features();
        for (int i = 0; i < features.iGetNumOfFeatures(); ++i)
            m_features.push_back({i, features.At(i).name});
    }
    m_selected = std::clamp(m_selected, 0, std::max(0, static_cast<int>(m_features.size()) - 1));
    Compute(partSet, sheet);
}

void OPage_AccuracyWizardFeature::SelectFeature(int position, const OType_ZRPartSet& partSet,
                                                OAccuracyResults& sheet) {
    if (position >= 0 && position < static_cast<int>(m_features.size())) m_selected = position;
    Compute(partSet, sheet);
}

void OPage_AccuracyWizardFeature::SetMeasuredText(const std::string& text,
                                                  const OType_ZRPartSet& partSet,
                                                  OAccuracyResults& sheet) {
    m_measuredText = text;
    Compute(partSet, sheet);
}

void OPage_AccuracyWizardFeature::Compute(const OType_ZRPartSet& partSet, OAccuracyResults& sheet) {
    m_mean = m_resolution = m_averageError = m_maxError = Accuracy::kNotComputed;
    m_message.clear();
    m_buttons = WizardButtons::kBack;
    if (m_features.empty()) {
        m_message = Accuracy::kTooFewValuesText;
        return;
    }
    const OAccuracyFeature& feature = m_features[static_cast<size_t>(m_selected)];
    const Accuracy::OSamples samples = Accuracy::CollectSamples(partSet, feature.index);
    if (!samples.bUsable()) {
        m_message = Accuracy::kTooFewValuesText;
        return;
    }
    const double measured = ParseNumber(m_measuredText);
    Accuracy::OFeatureFigures figures;
    if (!Accuracy::bComputeFeatureFigures(samples, measured, figures)) return;  // m = 0: "--"
    m_mean = Accuracy::Format4(figures.mean);
    m_resolution = Accuracy::Format4(figures.resolution);
    m_averageError = Accuracy::Format4(figures.sigma);
    m_maxError = Accuracy::Format4(figures.maxError);
    m_buttons = WizardButtons::kBack | WizardButtons::kNext;
    sheet.feature = feature.index;
    sheet.featureName = feature.name;
    sheet.measured = measured;
    sheet.count = samples.count;
    sheet.minimum = samples.minimum;
    sheet.maximum = samples.maximum;
    sheet.mean = figures.mean;
    sheet.resolution = figures.resolution;
    sheet.maxError = figures.maxError;
    sheet.sigma = figures.sigma;
    if (sheet.tolerance == 0.0 || !sheet.toleranceFromEvaluation)
        sheet.tolerance = Accuracy::InitialTolerance(figures.maxError);
}

// --- evaluation page ---

void OPage_AccuracyWizardEvaluation::OnActivate(const OAccuracyResults& sheet) {
    m_maxError = sheet.maxError;
    m_sigma = sheet.sigma;
    m_measuredMean = sheet.resolution * sheet.mean;
    m_specified = sheet.measured;
    m_tolerance = sheet.tolerance;
    m_uncertain = sheet.uncertainPercent;
    Recompute();
}

void OPage_AccuracyWizardEvaluation::SetMode(Mode mode) {
    m_mode = mode;
    Recompute();
}

void OPage_AccuracyWizardEvaluation::Recompute() {
    if (m_mode == Mode::ToleranceRange) {
        m_tolerance = std::max(m_tolerance, m_maxError);
        m_uncertain = Accuracy::UncertainShare(m_specified, m_tolerance, m_maxError);
        m_uncertainText = FormatPrintf("%d", m_uncertain);
        m_toleranceText.clear();
    } else if (m_uncertain > 0 && m_uncertain < 100) {
        m_tolerance = Accuracy::ToleranceForUncertainShare(m_specified, m_maxError, m_uncertain);
        m_toleranceText = FormatPrintf("%5.4lf (mm) (%5.4lf..%5.4lf)", m_tolerance,
                                       m_specified - m_tolerance, m_specified + m_tolerance);
        m_uncertainText.clear();
    } else {
        m_toleranceText = Accuracy::kNotComputed;
        m_uncertain = 0;
        m_uncertainText.clear();
    }
    m_capability = Accuracy::Capability(m_tolerance, m_sigma, m_specified, m_measuredMean);
    m_cgmText = CapabilityText(m_capability.ok, m_capability.cgm);
    m_cgmkText = CapabilityText(m_capability.ok, m_capability.cgmk);
}

void OPage_AccuracyWizardEvaluation::OnNext(OAccuracyResults& sheet) const {
    sheet.maxError = m_maxError;
    sheet.specified = m_specified;
    sheet.tolerance = m_tolerance;
    sheet.toleranceFromEvaluation = true;
    sheet.uncertainPercent = m_uncertain;
    sheet.cgm = m_capability.cgm;
    sheet.cgmk = m_capability.cgmk;
}

// --- result page ---

void OPage_AccuracyWizardResult::OnActivate(const OAccuracyResults& s) {
    const double r = s.resolution;
    const auto pixels = [r](double v) { return r != 0.0 ? v / r : 0.0; };
    const double x = s.specified, t = s.tolerance, e = s.maxError;
    m_rows.clear();
    const auto add = [this](std::string type, std::string value, std::string unit) {
        m_rows.push_back({std::move(type), std::move(value), std::move(unit)});
    };
    // A range in measured units, then the same in pixels.
    const auto range = [&](const char* type, double low, double high) {
        add(type, Range4(low, high), kMm);
        add("", Range4(pixels(low), pixels(high)), kPixel);
    };
    add("Feature", s.featureName, "");
    add("Number of used parts", FormatPrintf("%d", s.count), "");
    add("Measured value (mean)", Accuracy::Format4(s.measured), kMm);
    add("Mean value of samples", Accuracy::Format4(s.mean), kPixel);
    add("Resolution", Accuracy::Format4(r), kMm);
    add("", Accuracy::Format4(r != 0.0 ? 1.0 / r : 0.0), "(Pixel/mm)");
    add("Range of sample values", Range4(s.minimum * r, s.maximum * r), kMm);
    add("", Range4(s.minimum, s.maximum), kPixel);
    add("Max. error (0.5*range)", PlusMinus4(e), kMm);
    add("", PlusMinus4(pixels(e)), kPixel);
    add("Average error (standard deviation)", PlusMinus4(s.sigma), kMm);
    add("", PlusMinus4(pixels(s.sigma)), kPixel);
    add("Specified value", Accuracy::Format4(x), kMm);
    add("", Accuracy::Format4(pixels(x)), kPixel);
    range("Tol. range", x - t, x + t);
    range("Certain range", x - t + e, x + t - e);
    range("Uncertain range at min.", x - t - e, x - t + e);
    range("Uncertain range at max.", x + t - e, x + t + e);
    add("Uncertain decision at", FormatPrintf("%d", s.uncertainPercent), "% test parts");
    const bool ok = s.cgm != Accuracy::kNoCapability;
    add("Cgm:", CapabilityText(ok, s.cgm), kCapabilityUnit);
    add("Cgmk:", CapabilityText(ok, s.cgmk), kCapabilityUnit);
}

std::string OPage_AccuracyWizardResult::SummaryText() const {
    std::string text = "Type\tValue\tUnit\n";
    for (const OAccuracySummaryRow& row : m_rows)
        text += row.type + "\t" + row.value + "\t" + row.unit + "\n";
    return text;
}

// --- sheet ---

void OSheet_AccuracyWizard::TeachDataRanges(const OAccuracyResults& r, double ranges[6]) {
    const double x = r.specified, t = r.tolerance, e = r.maxError, res = r.resolution;
    ranges[0] = (x - t + e) / res + 0.1;
    ranges[1] = (x + t - e) / res - 0.1;
    ranges[2] = (x - t - e) / res;
    ranges[3] = (x - t + e) / res;
    ranges[4] = (x + t - e) / res;
    ranges[5] = (x + t + e) / res;
}

int OSheet_AccuracyWizard::iApplyOnFinish(OClassifier* classifier, bool detectsOrientations) const {
    const OAccuracyResults& r = m_results;
    if (!r.createTeachData || !classifier || !detectsOrientations || r.resolution == 0.0 ||
        r.feature < 0)
        return 0;
    double ranges[6];
    TeachDataRanges(r, ranges);
    return classifier->AddAccuracyOrientations(r.feature, ranges[0], ranges[1], ranges[2],
                                               ranges[3], ranges[4], ranges[5]);
}
