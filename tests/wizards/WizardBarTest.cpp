// The checklist of the project wizard bar built from hand-made project states: which steps
// appear, their status icons, their texts in the four modes and the commands behind them.
#include <gtest/gtest.h>

#include <algorithm>

#include "wizards/OBar_ProjectWizard.h"

namespace {

using Line = OWizardBarLine;
using namespace WizardBarCommand;

// A classic counter edition (hardware 1) that detects up to eight orientations, one type.
OWizardBarInput Classic(std::vector<int> sampleParts) {
    OWizardBarInput in;
    in.useOrientation = true;
    in.maxOrientations = 8;
    in.hardware = 1;
    OWizardBarInput::Type type;
    type.taught = true;
    type.sampleParts = std::move(sampleParts);
    type.separation.assign(type.sampleParts.size(), 20.0);
    in.types.push_back(type);
    return in;
}

const Line* Find(const std::vector<Line>& lines, const std::string& text) {
    const auto it =
        std::find_if(lines.begin(), lines.end(), [&](const Line& l) { return l.text == text; });
    return it == lines.end() ? nullptr : &*it;
}

int iCountStarting(const std::vector<Line>& lines, const std::string& prefix) {
    return static_cast<int>(std::count_if(
        lines.begin(), lines.end(), [&](const Line& l) { return l.text.rfind(prefix, 0) == 0; }));
}

const std::string kTeach =
    "Teach via device connection - show at least 10 sample parts per possible orientation.";

}  // namespace

TEST(WizardBar, BeginsWithPreparationAndEndsWithDocumentationSaveAndTransfer) {
    for (const OWizardBarInput& in : {OWizardBarInput{}, Classic({0}), Classic({12, 7, 4})}) {
        const std::vector<Line> lines = OBar_ProjectWizard::Build(in);
        ASSERT_GE(lines.size(), 4u);
        EXPECT_EQ(lines.front(),
                  (Line{"Prepare the device for the parts (e.g. mechanical settings, parameter "
                        "etc.)",
                        5, kStartMirrel}));
        const size_t n = lines.size();
        EXPECT_EQ(lines[n - 3], (Line{"Add the project documentation.", 7, kProjectDocumentation}));
        EXPECT_EQ(lines[n - 2], (Line{"Save the project.", 3, kSave}));
        EXPECT_EQ(lines[n - 1],
                  (Line{"The Teach-Data created in Kalvor have to be transfered to the device.", 4,
                        kCheckProgramManager}));
    }
    OWizardBarInput done = Classic({0});
    done.documented = true;
    done.modified = true;
    const std::vector<Line> lines = OBar_ProjectWizard::Build(done);
    EXPECT_EQ(Find(lines, "Add the project documentation.")->icon, 3);
    EXPECT_EQ(Find(lines, "Save the project.")->icon, 7) << "not saved yet";
}

TEST(WizardBar, ANewProgramAsksToTeachAndSkipsItsEmptyOrientation) {
    const std::vector<Line> lines = OBar_ProjectWizard::Build(Classic({0}));
    const Line* teach = Find(lines, kTeach);
    ASSERT_TRUE(teach);
    EXPECT_EQ(teach->icon, 7);
    EXPECT_EQ(teach->command, kRecordSampleParts);
    EXPECT_EQ(iCountStarting(lines, "  For Orientation"), 0) << "one orientation with 0 parts";
    EXPECT_EQ(iCountStarting(lines, "For checking special details"), 0) << "no sample parts yet";
    const Line* test = Find(lines,
                            "Test via device connection - show at least 10 test parts ( of "
                            "good and bad quality in the different orientations) and "
                            "check the result for each part.");
    ASSERT_TRUE(test);
    EXPECT_EQ(test->icon, 7);
    EXPECT_EQ(test->command, kRecordTestParts);
    // The counter edition reminds of the counter; a target of 1 is the untouched default.
    const Line* counter =
        Find(lines, "In case the counter will be used, set the required target counter value.");
    ASSERT_TRUE(counter);
    EXPECT_EQ(counter->icon, 5);
    EXPECT_EQ(counter->command, kCounterProperties);
}

TEST(WizardBar, TeachingIconFollowsTheSmallestOrientation) {
    // 12, 7 and 4 parts: the smallest (4) gives icon 1; 7 and 4 each get a detail line.
    const std::vector<Line> lines = OBar_ProjectWizard::Build(Classic({12, 7, 4}));
    ASSERT_TRUE(Find(lines, kTeach));
    EXPECT_EQ(Find(lines, kTeach)->icon, 1);
    const Line* seven = Find(lines, "  For Orientation 2 only 7 parts were used.");
    const Line* four = Find(lines, "  For Orientation 3 only 4 parts were used.");
    ASSERT_TRUE(seven);
    ASSERT_TRUE(four);
    EXPECT_EQ(seven->icon, 6);
    EXPECT_EQ(seven->command, kRecordSampleParts);
    EXPECT_FALSE(Find(lines, "  For Orientation 1 only 12 parts were used."));
    EXPECT_LT(seven - lines.data(), Find(lines, kTeach) - lines.data()) << "details first";

    for (const auto& [smallest, icon] :
         {std::pair{10, 3}, {6, 2}, {9, 2}, {3, 1}, {5, 1}, {1, 0}, {2, 0}}) {
        const auto more = OBar_ProjectWizard::Build(Classic({smallest, 30}));
        EXPECT_EQ(Find(more, kTeach)->icon, icon) << smallest << " parts";
    }
    EXPECT_TRUE(Find(lines,
                     "For checking special details for quality, appropriate tools have "
                     "to be added."));
}

TEST(WizardBar, WeakOrientationSeparationsAreListedWithAdvice) {
    OWizardBarInput in = Classic({12, 12, 12});
    in.types[0].separation = {0.0, 12.0, 7.0};  // good, acceptable
    std::vector<Line> lines = OBar_ProjectWizard::Build(in);
    EXPECT_FALSE(Find(lines, "  Separation of Orient. 1 from Orient. 2 is good"));
    const Line* weak = Find(lines, "  Separation of Orient. 1 from Orient. 3 is acceptable");
    ASSERT_TRUE(weak);
    EXPECT_EQ(weak->command, kTeachData);
    EXPECT_EQ(Find(lines, "  Check sample parts for correct orientation assignment.")->command,
              kPartList);
    EXPECT_EQ(Find(lines, "  Add tools to improove the orientation detection")->command,
              kPartContour);
    const Line* check = Find(lines, "Check for a reliable orientation detection.");
    ASSERT_TRUE(check);
    EXPECT_EQ(check->icon, 2);

    // All very good: no details, and the icon stops at 3.
    in.types[0].separation = {0.0, 40.0, 40.0};
    lines = OBar_ProjectWizard::Build(in);
    EXPECT_EQ(iCountStarting(lines, "  Separation"), 0);
    EXPECT_FALSE(Find(lines, "  Check sample parts for correct orientation assignment."));
    EXPECT_EQ(Find(lines, "Check for a reliable orientation detection.")->icon, 3);

    // "[E20]" rates every pair "not possible".
    in.teachError = 20;
    lines = OBar_ProjectWizard::Build(in);
    EXPECT_TRUE(Find(lines, "  Separation of Orient. 1 from Orient. 2 is not possible !!"));
    EXPECT_TRUE(Find(lines, "  Separation of Orient. 1 from Orient. 3 is not possible !!"));
    EXPECT_EQ(Find(lines, "Check for a reliable orientation detection.")->icon, 0);
}

TEST(WizardBar, TestPartsAreAveragedPerOrientation) {
    OWizardBarInput in = Classic({12, 12});
    in.types[0].testParts = 9;  // 4 per orientation
    std::vector<Line> lines = OBar_ProjectWizard::Build(in);
    const Line* few =
        Find(lines, "  Per orientation an average of only 4 test parts have been used.");
    ASSERT_TRUE(few);
    EXPECT_EQ(few->command, kRecordTestParts);
    EXPECT_TRUE(Find(lines, "Check the test parts regarding their results."));
    in.types[0].testParts = 20;
    lines = OBar_ProjectWizard::Build(in);
    EXPECT_EQ(iCountStarting(lines, "  Per orientation"), 0);
    EXPECT_EQ(Find(lines,
                   "Test via device connection - show at least 10 test parts ( of good "
                   "and bad quality in the different orientations) and check the result "
                   "for each part.")
                  ->icon,
              3);
}

TEST(WizardBar, SortingEditionListsEachTypeAndTheTypeSeparation) {
    OWizardBarInput in;
    in.useTypes = true;
    in.useOrientation = true;
    in.maxTypes = 4;
    in.maxOrientations = 2;
    in.hardware = 512;
    in.newPlatform = true;
    in.tools = 0;
    in.teachError = 21;
    for (int t = 0; t < 2; ++t) {
        OWizardBarInput::Type type;
        type.taught = true;
        type.sampleParts = {10, 10};
        type.separation = {0.0, 30.0};
        in.types.push_back(type);
    }
    in.typePairs = {{0, 0, 1, 0, 2.0}, {0, 1, 1, 1, 50.0}};
    const std::vector<Line> lines = OBar_ProjectWizard::Build(in);
    EXPECT_EQ(Find(lines, "Steps for type 1 ...")->icon, 4);
    EXPECT_TRUE(Find(lines, "Steps for type 2 ..."));
    EXPECT_TRUE(Find(lines,
                     "Teach type 2 via device connection - show at least 10 sample parts "
                     "per possible orientation."));
    EXPECT_TRUE(Find(lines, "Check for a reliable orientation detection at type 2."));
    EXPECT_TRUE(Find(lines,
                     "The project does not contain any tools. Add tools according to "
                     "your application requirements."));
    // Types 3 and 4 are still to be taught.
    EXPECT_EQ(Find(lines, "Steps for types 3 bis 4 ...")->icon, 4);
    EXPECT_EQ(Find(lines,
                   "Teach types 3 to 4 via device connection - show at least 10 sample "
                   "parts per possible orientation.")
                  ->icon,
              7);
    const Line* separation = Find(lines, "Separation of the part types");
    ASSERT_TRUE(separation);
    const Line* e21 = Find(lines, "[E21] - The differnt types can not be clearly separated.");
    ASSERT_TRUE(e21);
    EXPECT_EQ(e21->icon, 0);
    EXPECT_TRUE(Find(lines, "  Separation of type 1, orient. 1 to type 2, orient. 1 is bad !"));
    EXPECT_FALSE(
        Find(lines, "  Separation of type 1, orient. 2 to type 2, orient. 2 is very good"));
    EXPECT_TRUE(Find(lines, "  Add tools to improove the type separation."));
    EXPECT_FALSE(Find(lines,
                      "In case the counter will be used, set the required target counter "
                      "value."))
        << "not a counter edition";
}

TEST(WizardBar, NewPlatformWithoutSamplePartsSaysSo) {
    OWizardBarInput in = Classic({0});
    in.hardware = 512;
    in.newPlatform = true;
    const std::vector<Line> lines = OBar_ProjectWizard::Build(in);
    const Line* none = Find(lines, "The check program does not contain any sample parts.");
    ASSERT_TRUE(none);
    EXPECT_EQ(none->icon, 0);
    EXPECT_TRUE(Find(lines,
                     "  Tools can be added to the check program only if sample parts are "
                     "available,"));
}
