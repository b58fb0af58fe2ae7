// The optimising wizard's flow on a real project: two orientations that the basic contour
// features cannot tell apart ("[E20]"), the settings page starting the tool search in a
// worker and installing its result, the evaluation page afterwards, and the button rules.
#include <gtest/gtest.h>

#include <thread>

#include "analysis/OOptimizeWizardSheet.h"
#include "classification/OClassifier.h"
#include "device/OQuillon.h"
#include "device/TargetSystemSettings.h"
#include "document/OHeadlessDocument.h"
#include "extraction/OExtr_Default.h"
#include "extraction/OToolSearchJob.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OClock_System.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"
#include "support/ToolSearchParts.h"

namespace {

using Press = OProjectWizardOptiSettings::Press;

class OptimizeWizard : public ::testing::Test {
  protected:
    OptimizeWizard() {
        TargetSystemSettings::WriteTarget(settings, TargetSystem::kNewProjectDefaults);
        settings.SetInt("Settings", "PROJECT_USE_ORIENTATION", 1);
        headless = std::make_unique<OHeadlessDocument>(settings, &ui);
    }

    ODoc& Doc() { return headless->Doc(); }
    OType_ZRPartSet& Set() { return *headless->Session().opGetActualPartSet(); }

    // Mirrored parts in orientations 1 and 2, recomputed into Teach-Data.
    void AddMirroredParts(int perClass) {
        for (int i = 0; i < perClass; ++i) {
            for (int o = 1; o <= 2; ++o) {
                auto part = std::make_unique<OType_Part>();
                part->SetConturData(searchparts::BumpPart(searchparts::PartLength(i, 300, 101),
                                                          searchparts::PartHeight(i), o == 1));
                part->SetOrientation(o);
                part->SetType(1);
                OType_Part* added = Set().TeachParts().Add(std::move(part));
                added->SetRecordNo(Set().TeachParts().iGetSize());
            }
        }
        Doc().Recompute(&Set(), 1, 0, 1, 1, 0);
    }

    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    std::unique_ptr<OHeadlessDocument> headless;
};

}  // namespace

TEST_F(OptimizeWizard, TheSearchRemovesAnE20TheBasicFeaturesCannot) {
    AddMirroredParts(20);
    OClassifier* classifier = Doc().opGetClassifier();
    ASSERT_TRUE(classifier);
    ASSERT_EQ(classifier->GetTeachError(), 20) << "the basic features must not separate";
    EXPECT_EQ(classifier->GetE20List(), "1/1->1/2  ");
    EXPECT_FALSE(Set().UndoRedo().bHasUndoData());

    OOptimizeWizardSheet sheet;
    OProjectWizardOptiSettings& page = sheet.SettingsPage();
    page.OnActivate();
    EXPECT_EQ(page.StatusText(), "Change the settings, then press 'Start Optimization'.");
    EXPECT_EQ(page.iButtons(), 2);
    EXPECT_EQ(page.iGetMaxMinutes(), 3);
    EXPECT_EQ(page.iGetStepSize(), 1);

    std::unique_ptr<OToolSearchJob> job;
    std::string error;
    ASSERT_EQ(page.OnButton(Doc().opEnsureExtractor(), job, error), Press::Started);
    ASSERT_TRUE(job);
    EXPECT_TRUE(OProjectWizardOptiSettings::bIsSearchRunning());
    EXPECT_EQ(page.ButtonText(), "> Stop Optimization <");
    EXPECT_EQ(page.StatusText(), "Processing in progress, please wait...");
    EXPECT_EQ(page.iButtons(), 0);
    // Next does nothing while the search runs.
    sheet.Next(classifier);
    EXPECT_EQ(sheet.iPage(), 0);

    // The window's worker runs the search; the user-interface thread installs the result.
    OToolSearchMonitor monitor;
    const OClock_System clock;
    std::thread worker([&] { job->Run(monitor, clock); });
    worker.join();
    ASSERT_EQ(job->Install(&monitor), 1);
    page.OnSearchFinished();
    EXPECT_FALSE(OProjectWizardOptiSettings::bIsSearchRunning());
    EXPECT_EQ(page.StatusText(), "Processing is finished, press 'Next'.");
    EXPECT_EQ(page.ButtonText(), "> Start Optimization <");
    EXPECT_EQ(page.iButtons(), 2);

    ASSERT_EQ(Set().Tools().iGetNum(), 1);
    EXPECT_EQ(Set().Tools().opGetAt(0)->GetName(), "1/1->2/1");
    EXPECT_EQ(classifier->GetTeachError(), 0);
    EXPECT_TRUE(classifier->GetE20List().empty());
    // The installed tool is one undo step.
    EXPECT_TRUE(Set().UndoRedo().bHasUndoData());

    sheet.Next(classifier);
    ASSERT_EQ(sheet.iPage(), 1);
    const OProjectWizardEvaluation& evaluation = sheet.EvaluationPage();
    EXPECT_EQ(evaluation.iTeachError(), 0);
    ASSERT_FALSE(evaluation.Rows().empty());
    EXPECT_EQ(evaluation.Rows().front().text, "Used tools: 1");
    EXPECT_EQ(evaluation.Footer(), std::string("Press 'Finish'."));
    EXPECT_EQ(evaluation.iButtons(), 5);
    sheet.Back();
    EXPECT_EQ(sheet.iPage(), 0);
}

TEST_F(OptimizeWizard, ButtonCancelsARunningSearchAndTimeIsValidated) {
    AddMirroredParts(6);
    OProjectWizardOptiSettings page(false);
    page.OnActivate();
    std::unique_ptr<OToolSearchJob> job;
    std::string error;
    page.SetMaxMinutes(1441);
    EXPECT_EQ(page.OnButton(Doc().opEnsureExtractor(), job, error), Press::Invalid);
    EXPECT_EQ(error, "Please enter an integer between 1 and 1440.");
    EXPECT_FALSE(page.bRunning());
    page.SetMaxMinutes(1440);
    ASSERT_EQ(page.OnButton(Doc().opEnsureExtractor(), job, error), Press::Started);
    // Pressing again asks the engine to stop; the worker then ends at its next check.
    EXPECT_EQ(page.OnButton(Doc().opEnsureExtractor(), job, error), Press::Cancelled);
    auto* engine = dynamic_cast<OExtr_Default*>(Doc().opEnsureExtractor());
    EXPECT_EQ(engine->iGetSearchCancel(), 1);
    // The sheet's Cancel would cancel first as well.
    EXPECT_TRUE(page.OnSheetCancel(engine));
    page.OnSearchFinished();
    EXPECT_FALSE(page.OnSheetCancel(engine));
    EXPECT_EQ(page.StatusText(), "Processing is finished, press 'Next'.");
    // Without a part contour view the button does nothing.
    EXPECT_EQ(page.OnButton(nullptr, job, error), Press::Ignored);
    EXPECT_FALSE(page.bRunning());
}

TEST_F(OptimizeWizard, NoFreeToolSlotFinishesAtOnceWithTheMessage) {
    AddMirroredParts(3);
    // Fill every tool slot of the classic device with tools of the three kinds.
    OQuillon& session = headless->Session();
    for (const auto& [kind, subKind] : {std::pair{1, 30}, std::pair{2, 33}, std::pair{3, 22}}) {
        while (session.IsToolAllowed(kind, subKind) &&
               session.AddTool(Set(), kind, subKind, 0, {}, false)) {
        }
    }
    const int tools = Set().Tools().iGetNum();
    ASSERT_GE(Set().Tools().iGetNumOfFeatures(), session.DeviceInfo().iGetToolCapacity());
    ui.ExpectMessage(MsgResult::Ok, "It is not possible to add further tools.");
    OProjectWizardOptiSettings page(false);
    std::unique_ptr<OToolSearchJob> job;
    std::string error;
    EXPECT_EQ(page.OnButton(Doc().opEnsureExtractor(), job, error), Press::Finished);
    EXPECT_FALSE(job);
    EXPECT_TRUE(ui.bAllScriptUsed());
    EXPECT_EQ(Set().Tools().iGetNum(), tools);
    EXPECT_EQ(page.StatusText(), "Processing is finished, press 'Next'.");
}
