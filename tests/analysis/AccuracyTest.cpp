// The accuracy wizard's figures against plain computations, its pages' refusals and button
// rules, the summary, and Finish turning the ranges into Teach-Data of a real project.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "analysis/AccuracyFigures.h"
#include "analysis/OSheet_AccuracyWizard.h"
#include "classification/OClassifier.h"
#include "device/TargetSystemSettings.h"
#include "document/OHeadlessDocument.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"

namespace {

using Mode = OPage_AccuracyWizardEvaluation::Mode;

// A sample part whose feature 0 is `value` (text or invalid on request).
std::unique_ptr<OType_Part> FeaturePart(double value, int type = 1, int orientation = 1,
                                        bool valid = true, bool text = false) {
    auto part = std::make_unique<OType_Part>();
    part->SetType(type);
    part->SetOrientation(orientation);
    OType_Feature f;
    f.name = "Length";
    f.value = value;
    f.valid = valid;
    if (text) {
        f.valueType = FeatureValueType::Text;
        f.textValue = "A";
    }
    part->Features().Add(f);
    OType_Feature g = f;
    g.name = "Height";
    g.value = 7.0;
    part->Features().Add(g);
    return part;
}

// Values 400 + (i % 7) - 3: mean 400 when n is a multiple of 7.
double SampleValue(int i) {
    return 400.0 + (i % 7) - 3.0;
}

void AddSamples(OType_ZRPartSet& set, int n) {
    for (int i = 0; i < n; ++i)
        set.TeachParts().Add(FeaturePart(SampleValue(i)));
}

// The trapezoidal integral written out plainly, for the comparison.
double PlainProbability(double lo, double hi, double mu, double sigma) {
    const int n = 10000;
    const double h = (hi - lo) / n;
    double sum = 0.0;
    for (int k = 0; k < n; ++k) {
        const double a = lo + k * h, b = a + h;
        const auto f = [&](double x) {
            return 1.0 / (sigma * 2.50662875) *
                   std::exp(-(x - mu) * (x - mu) / (2 * sigma * sigma));
        };
        sum += (f(a) + f(b)) / 2 * h;
    }
    return sum;
}

}  // namespace

TEST(AccuracyFigures, NormalProbabilityIsTheTrapezoidalIntegralOfTheDensity) {
    EXPECT_NEAR(Accuracy::NormalProbability(-1, 1, 0, 1), std::erf(1 / std::sqrt(2.0)), 1e-6);
    EXPECT_NEAR(Accuracy::NormalProbability(10, 14, 10, 2), 0.4772499, 1e-6);
    EXPECT_NEAR(Accuracy::NormalProbability(3.1, 3.3, 3, 0.05), PlainProbability(3.1, 3.3, 3, 0.05),
                1e-9);
    EXPECT_EQ(Accuracy::NormalProbability(2, 1, 0, 1), 0.0);  // empty interval
    EXPECT_EQ(Accuracy::NormalProbability(0, 1, 0, 0), 0.0);  // no spread
}

TEST(AccuracyFigures, FiguresMatchAPlainComputation) {
    OType_ZRPartSet set;
    AddSamples(set, 63);
    set.TeachParts().Add(FeaturePart(999, 2, 1));       // another type: not used
    set.TeachParts().Add(FeaturePart(999, 1, 2));       // another orientation: not used
    set.TeachParts().Add(FeaturePart(0, 1, 1, false));  // invalid: not used
    const Accuracy::OSamples s = Accuracy::CollectSamples(set, 0);
    EXPECT_EQ(s.parts, 64);
    EXPECT_EQ(s.count, 63);
    EXPECT_TRUE(s.anyOther);
    EXPECT_TRUE(s.anyInvalid);
    EXPECT_FALSE(s.anyText);
    EXPECT_EQ(s.minimum, 397.0);
    EXPECT_EQ(s.maximum, 403.0);
    // Plainly: mean 400, deviations -3..3 nine times each: sum of squares 9 * 28 = 252.
    Accuracy::OFeatureFigures f;
    ASSERT_TRUE(Accuracy::bComputeFeatureFigures(s, 20.0, f));
    EXPECT_DOUBLE_EQ(f.mean, 400.0);
    EXPECT_DOUBLE_EQ(f.resolution, 0.05);
    EXPECT_DOUBLE_EQ(f.maxError, 0.5 * 6 * 0.05);
    EXPECT_DOUBLE_EQ(f.pixelSigma, std::sqrt(252.0 / 62.0));
    EXPECT_DOUBLE_EQ(f.sigma, std::sqrt(252.0 / 62.0) * 0.05);
    EXPECT_FALSE(Accuracy::bComputeFeatureFigures(s, 0.0, f));
    EXPECT_DOUBLE_EQ(Accuracy::InitialTolerance(0.15), 0.4);
    EXPECT_DOUBLE_EQ(Accuracy::InitialTolerance(0.3), 0.6);
}

TEST(AccuracyFigures, UncertainShareAndItsInverse) {
    // t = 0.5, e = 0.15: 2 P(x + 0.35 .. x + 0.65; x, 0.25) = 2 (Phi(2.6) - Phi(1.4)).
    const double expected = 2 * PlainProbability(20.35, 20.65, 20, 0.25) * 100;
    EXPECT_EQ(Accuracy::UncertainShare(20, 0.5, 0.15), static_cast<int>(expected + 0.5));
    EXPECT_EQ(Accuracy::UncertainShare(20, 0.0, 0.0), 0);
    EXPECT_LE(Accuracy::UncertainShare(20, 0.01, 5), 100);
    // The inverse: the first step e + k x / 10000 that meets the share, as a plain walk finds.
    for (int u : {1, 5, 10, 20}) {
        const double x = 20, e = 0.15, step = x / 10000;
        double t = e + step;
        while (2 * Accuracy::NormalProbability(x + t - e, x + t + e, x, t / 2) > u / 100.0)
            t += step;
        EXPECT_NEAR(Accuracy::ToleranceForUncertainShare(x, e, u), t, step / 2) << u;
    }
    // A specified value of 0 still ends (the maximum error sets the step).
    const double t0 = Accuracy::ToleranceForUncertainShare(0, 0.2, 10);
    EXPECT_GT(t0, 0.2);
    EXPECT_LE(2 * Accuracy::NormalProbability(t0 - 0.2, t0 + 0.2, 0, t0 / 2), 0.1);
}

TEST(AccuracyFigures, CapabilityIndicesOfATypeOneStudy) {
    const Accuracy::OCapability c = Accuracy::Capability(0.5, 0.01, 20.0, 20.02);
    ASSERT_TRUE(c.ok);
    EXPECT_DOUBLE_EQ(c.cgm, 0.2 * 1.0 / 0.06);
    EXPECT_NEAR(c.cgmk, (0.1 - 0.02) / 0.03, 1e-12);
    const Accuracy::OCapability none = Accuracy::Capability(0.5, 0.0, 20.0, 20.0);
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.cgm, Accuracy::kNoCapability);
    EXPECT_EQ(none.cgm, -1.7976931348623157e308);
}

TEST(AccuracyWizard, StartPageNeedsFiftySampleParts) {
    OType_ZRPartSet set;
    AddSamples(set, 49);
    set.TeachParts().Add(FeaturePart(400, 1, 2));
    OPage_AccuracyWizardStart start;
    start.OnActivate(set);
    EXPECT_EQ(start.iSampleParts(), 49);
    EXPECT_EQ(start.iButtons(), WizardButtons::kNone);
    EXPECT_EQ(start.Text(), Accuracy::kNotEnoughPartsText);
    set.TeachParts().Add(FeaturePart(400));
    start.OnActivate(set);
    EXPECT_EQ(start.iButtons(), WizardButtons::kNext);
}

TEST(AccuracyWizard, FeaturePageRefusesFortyNineValuesAndAcceptsFifty) {
    OType_ZRPartSet set;
    AddSamples(set, 49);
    set.TeachParts().Add(FeaturePart(0, 1, 1, true, true));  // a text value does not count
    OSheet_AccuracyWizard sheet;
    OPage_AccuracyWizardFeature& page = sheet.FeaturePage();
    page.OnActivate(set, sheet.Results());
    ASSERT_EQ(page.Features().size(), 2u);
    EXPECT_EQ(page.Features()[1].name, "Height");
    page.SetMeasuredText("20", set, sheet.Results());
    EXPECT_EQ(page.Message(), Accuracy::kTooFewValuesText);
    EXPECT_EQ(page.iButtons(), WizardButtons::kBack);
    EXPECT_EQ(page.MeanText(), "--");

    set.TeachParts().Add(FeaturePart(SampleValue(49)));
    page.SetMeasuredText("20", set, sheet.Results());
    EXPECT_TRUE(page.Message().empty());
    EXPECT_EQ(page.iButtons(), WizardButtons::kBack | WizardButtons::kNext);
    EXPECT_EQ(sheet.Results().count, 50);
    EXPECT_EQ(page.ResolutionText(), Accuracy::Format4(20.0 / sheet.Results().mean));
    EXPECT_EQ(page.MaxErrorText(), Accuracy::Format4(0.5 * 6 * sheet.Results().resolution));
    // The first computation sets the tolerance from the maximum error.
    EXPECT_DOUBLE_EQ(sheet.Results().tolerance,
                     Accuracy::InitialTolerance(sheet.Results().maxError));
}

// The value is typed a key at a time: the suggested tolerance is that of the whole value,
// not of its first digit, until the evaluation page has taken it over.
TEST(AccuracyWizard, SuggestedToleranceFollowsTheValueAsItIsTyped) {
    OType_ZRPartSet set;
    AddSamples(set, 50);
    OSheet_AccuracyWizard sheet;
    OPage_AccuracyWizardFeature& page = sheet.FeaturePage();
    page.OnActivate(set, sheet.Results());
    for (const char* typed : {"2", "20", "200"})
        page.SetMeasuredText(typed, set, sheet.Results());
    const double suggested = Accuracy::InitialTolerance(sheet.Results().maxError);
    EXPECT_DOUBLE_EQ(sheet.Results().tolerance, suggested);
    EXPECT_GT(suggested, Accuracy::InitialTolerance(0.5 * 6 * 2 / sheet.Results().mean))
        << "the first digit alone suggests less";

    // Once the evaluation page has passed it on, the tolerance is the user's and stays.
    OPage_AccuracyWizardEvaluation& evaluation = sheet.EvaluationPage();
    evaluation.OnActivate(sheet.Results());
    evaluation.SetTolerance(5.0);
    evaluation.Recompute();
    evaluation.OnNext(sheet.Results());
    page.SetMeasuredText("100", set, sheet.Results());
    EXPECT_DOUBLE_EQ(sheet.Results().tolerance, 5.0);
}

TEST(AccuracyWizard, MeasuredZeroLeavesTheResultsOpen) {
    OType_ZRPartSet set;
    AddSamples(set, 60);
    OSheet_AccuracyWizard sheet;
    OPage_AccuracyWizardFeature& page = sheet.FeaturePage();
    page.OnActivate(set, sheet.Results());
    for (const std::string text : {"0", "", "abc", "0.0"}) {
        page.SetMeasuredText(text, set, sheet.Results());
        EXPECT_TRUE(page.Message().empty()) << text;
        EXPECT_EQ(page.MeanText(), "--");
        EXPECT_EQ(page.ResolutionText(), "--");
        EXPECT_EQ(page.AverageErrorText(), "--");
        EXPECT_EQ(page.MaxErrorText(), "--");
        EXPECT_EQ(page.iButtons(), WizardButtons::kBack) << text;
    }
    EXPECT_EQ(sheet.Results().feature, -1);
}

TEST(AccuracyWizard, EqualValuesCannotGiveCapabilityIndices) {
    OType_ZRPartSet set;
    for (int i = 0; i < 50; ++i)
        set.TeachParts().Add(FeaturePart(250));
    OSheet_AccuracyWizard sheet;
    sheet.FeaturePage().OnActivate(set, sheet.Results());
    sheet.FeaturePage().SetMeasuredText("10", set, sheet.Results());
    ASSERT_EQ(sheet.FeaturePage().iButtons(), 3);
    EXPECT_EQ(sheet.Results().sigma, 0.0);
    OPage_AccuracyWizardEvaluation& evaluation = sheet.EvaluationPage();
    evaluation.OnActivate(sheet.Results());
    EXPECT_EQ(evaluation.CgmText(), "Error, std.dev.=0");
    EXPECT_EQ(evaluation.CgmkText(), "Error, std.dev.=0");
    evaluation.OnNext(sheet.Results());
    EXPECT_EQ(sheet.Results().cgm, -1.7976931348623157e308);
}

TEST(AccuracyWizard, EvaluationPageModes) {
    OType_ZRPartSet set;
    AddSamples(set, 63);
    OSheet_AccuracyWizard sheet;
    sheet.FeaturePage().OnActivate(set, sheet.Results());
    sheet.FeaturePage().SetMeasuredText("20", set, sheet.Results());
    const double e = sheet.Results().maxError;  // 0.15
    OPage_AccuracyWizardEvaluation& page = sheet.EvaluationPage();
    page.OnActivate(sheet.Results());
    EXPECT_DOUBLE_EQ(page.dSpecified(), 20.0);
    EXPECT_DOUBLE_EQ(page.dTolerance(), 0.4);
    // A tolerance below the maximum error is raised to it.
    page.SetTolerance(0.1);
    page.Recompute();
    EXPECT_DOUBLE_EQ(page.dTolerance(), e);
    EXPECT_EQ(page.iUncertainPercent(), Accuracy::UncertainShare(20, e, e));
    EXPECT_EQ(page.UncertainText(), std::to_string(page.iUncertainPercent()));
    // Cgm = 0.2 T / (6 sigma) with T = 2t.
    page.SetTolerance(0.5);
    page.Recompute();
    EXPECT_EQ(page.CgmText(), FormatPrintf("%05.4lf", 0.2 * 1.0 / (6 * sheet.Results().sigma)));
    // The share given: the tolerance is found.
    page.SetUncertainPercent(5);
    page.SetMode(Mode::UncertainShare);
    const double t = Accuracy::ToleranceForUncertainShare(20, e, 5);
    EXPECT_DOUBLE_EQ(page.dTolerance(), t);
    EXPECT_EQ(page.ToleranceText(),
              FormatPrintf("%5.4lf (mm) (%5.4lf..%5.4lf)", t, 20 - t, 20 + t));
    for (int bad : {0, 100, -3}) {
        page.SetUncertainPercent(bad);
        page.Recompute();
        EXPECT_EQ(page.ToleranceText(), "--");
        EXPECT_EQ(page.iUncertainPercent(), 0);
    }
    page.OnNext(sheet.Results());
    EXPECT_EQ(sheet.Results().uncertainPercent, 0);
    EXPECT_DOUBLE_EQ(sheet.Results().specified, 20.0);
}

TEST(AccuracyWizard, SummaryListsEveryFigureInBothUnits) {
    OType_ZRPartSet set;
    AddSamples(set, 63);
    OSheet_AccuracyWizard sheet;
    sheet.FeaturePage().OnActivate(set, sheet.Results());
    sheet.FeaturePage().SetMeasuredText("20", set, sheet.Results());
    sheet.EvaluationPage().OnActivate(sheet.Results());
    sheet.EvaluationPage().SetTolerance(0.5);
    sheet.EvaluationPage().Recompute();
    sheet.EvaluationPage().OnNext(sheet.Results());
    OPage_AccuracyWizardResult& result = sheet.ResultPage();
    result.OnActivate(sheet.Results());
    const auto& rows = result.Rows();
    const auto find = [&rows](const std::string& type) {
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].type == type) return i;
        }
        return rows.size();
    };
    ASSERT_LT(find("Certain range"), rows.size());
    const size_t certain = find("Certain range");
    EXPECT_EQ(rows[certain].value, "19.6500 .. 20.3500");
    EXPECT_EQ(rows[certain].unit, "(e.g. mm)");
    EXPECT_EQ(rows[certain + 1].value, "393.0000 .. 407.0000");
    EXPECT_EQ(rows[certain + 1].unit, "(e.g. pixel)");
    EXPECT_EQ(rows[find("Number of used parts")].value, "63");
    EXPECT_EQ(rows[find("Feature")].value, "Length");
    EXPECT_EQ(rows[find("Uncertain decision at")].unit, "% test parts");
    EXPECT_EQ(rows[find("Cgm:")].unit, "(OK as from 1.33, acc. GMPT EMS [50], Bosch H10 [58])");
    const std::string text = result.SummaryText();
    EXPECT_EQ(text.rfind("Type\tValue\tUnit\n", 0), 0u);
    EXPECT_NE(text.find("Uncertain range at max.\t20.3500 .. 20.6500\t(e.g. mm)\n"),
              std::string::npos);
    // Orientation 1 between the uncertain ranges, the two new ones at the limits, in pixels.
    double ranges[6];
    OSheet_AccuracyWizard::TeachDataRanges(sheet.Results(), ranges);
    EXPECT_DOUBLE_EQ(ranges[0], 19.65 / 0.05 + 0.1);
    EXPECT_DOUBLE_EQ(ranges[1], 20.35 / 0.05 - 0.1);
    EXPECT_DOUBLE_EQ(ranges[2], 19.35 / 0.05);
    EXPECT_DOUBLE_EQ(ranges[5], 20.65 / 0.05);
}

TEST(AccuracyWizard, FinishTurnsTheRangesIntoTwoArtificialOrientations) {
    OSettings_Memory settings;
    TargetSystemSettings::WriteTarget(settings, TargetSystem::kNewProjectDefaults);
    settings.SetInt("Settings", "PROJECT_USE_ORIENTATION", 1);
    OUserInteraction_Scripted ui;
    OHeadlessDocument headless(settings, &ui);
    OType_ZRPartSet& set = *headless.Session().opGetActualPartSet();
    // 60 parts of one real part: rectangles whose length varies by a few columns.
    for (int i = 0; i < 60; ++i) {
        auto part = std::make_unique<OType_Part>();
        std::vector<int16_t> runs;
        for (int x = 0; x < 200 + i % 5; ++x)
            runs.insert(runs.end(), {40, -140});
        part->SetConturData(std::move(runs));
        part->SetOrientation(1);
        part->SetType(1);
        OType_Part* added = set.TeachParts().Add(std::move(part));
        added->SetRecordNo(i + 1);
    }
    headless.Doc().Recompute(&set, 1, 0, 1, 1, 0);
    OClassifier* classifier = headless.Doc().opGetClassifier();
    ASSERT_TRUE(classifier);
    ASSERT_EQ(classifier->iGetOrientationCount(0), 1);

    OSheet_AccuracyWizard sheet;
    sheet.StartPage().OnActivate(set);
    ASSERT_EQ(sheet.StartPage().iButtons(), WizardButtons::kNext);
    OPage_AccuracyWizardFeature& feature = sheet.FeaturePage();
    feature.OnActivate(set, sheet.Results());
    feature.SelectFeature(0, set, sheet.Results());  // number of columns (length)
    feature.SetMeasuredText("40.4", set, sheet.Results());
    ASSERT_EQ(feature.iButtons(), 3) << feature.Message();
    sheet.EvaluationPage().OnActivate(sheet.Results());
    sheet.EvaluationPage().OnNext(sheet.Results());
    sheet.ResultPage().OnActivate(sheet.Results());
    sheet.ResultPage().SetCreateTeachData(true);
    sheet.ResultPage().OnFinish(sheet.Results());
    // Not without orientations detected, nor without the check.
    EXPECT_EQ(sheet.iApplyOnFinish(classifier, false), 0);
    EXPECT_EQ(sheet.iApplyOnFinish(nullptr, true), 0);
    ASSERT_EQ(sheet.iApplyOnFinish(classifier, true), 1);
    EXPECT_EQ(classifier->iGetOrientationCount(0), 3);
    int artificial = 0;
    for (int i = 0; i < set.TeachParts().iGetSize(); ++i) {
        const OType_Part& p = *set.TeachParts().GetAt_NoSort(i);
        if (p.iGetOrientation() == 2 || p.iGetOrientation() == 3) ++artificial;
    }
    EXPECT_EQ(artificial, 2);
    double ranges[6];
    OSheet_AccuracyWizard::TeachDataRanges(sheet.Results(), ranges);
    OClassCell low, high;
    ASSERT_TRUE(classifier->bGetCell(0, 1, 0, low));
    ASSERT_TRUE(classifier->bGetCell(0, 2, 0, high));
    EXPECT_NEAR(low.minimum, ranges[2], 1e-3);
    EXPECT_NEAR(low.maximum, ranges[3], 1e-3);
    EXPECT_NEAR(high.minimum, ranges[4], 1e-3);
    EXPECT_NEAR(high.maximum, ranges[5], 1e-3);
}
