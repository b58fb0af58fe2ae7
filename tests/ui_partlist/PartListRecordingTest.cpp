// The part list filled from the device simulator: sample parts recorded in two
// orientations, test parts classified by the Teach-Data of those, the test statistics in
// the view's status bar, and the screenshot of it all.
#include "PartListTestSupport.h"
#include "document/CommandIds.h"
#include "link/OConnectionProfile.h"
#include "model/strings/ResStr.h"
#include "support/DevsimProcess.h"

namespace {

using namespace partlisttest;

// Records parts into the sample list (teach) or the test list until `count` more arrived.
bool Record(PartListDesk& desk, bool teach, int count) {
    const OType_PartArray& list = teach ? desk.Set().TeachParts() : desk.Set().TestParts();
    const int target = list.iGetSize() + count;
    desk.Run(teach ? Cmd::kRecordSampleParts : Cmd::kRecordTestParts);
    const bool arrived = QTest::qWaitFor([&] { return list.iGetSize() >= target; }, 20000);
    desk.Run(teach ? Cmd::kRecordSampleParts : Cmd::kRecordTestParts);  // stop
    ProcessEvents();
    return arrived;
}

TEST(PartListRecording, SampleAndTestPartsFromTheSimulator) {
    DevsimProcess sim({"--hardware", "1", "--software", "818", "--parts-in-set", "2", "--serial",
                       "pty", "--rate", "40", "--schedule", "1:1x4,1:2x4"});
    ASSERT_TRUE(sim.bIsReady()) << sim.ReadyLine();
    TempDir dir;
    PartListDesk desk;
    Settings& store = *desk.shell.settings;
    OConnectionProfile line;
    line.name = "simulator";
    line.kind = OConnectionProfile::Kind::Serial;
    line.serialDevice = sim.SerialPath();
    ConnectionProfiles::Save(store, {line});
    ConnectionProfiles::SetLast(store, OConnectionProfile::Kind::Serial, 1);
    ConnectionProfiles::SetAskAtLogin(store, false);
    desk.doc->opGetSession()->Options().msgBeep = 0;
    desk.Ui().ExpectCheckMarkMessage(MsgResult::Ok, true, ResStr(7002));

    OQuillon& session = *desk.doc->opGetSession();
    session.SetRecordOrientation(1);
    ASSERT_TRUE(Record(desk, true, 8)) << desk.Ui().TranscriptText();
    session.SetRecordOrientation(2);
    ASSERT_TRUE(Record(desk, true, 8)) << desk.Ui().TranscriptText();
    ASSERT_TRUE(Record(desk, false, 8)) << desk.Ui().TranscriptText();
    desk.doc->RefreshViews();
    ProcessEvents();

    const OType_PartArray& sample = desk.Set().TeachParts();
    EXPECT_EQ(desk.Rows(true), sample.iGetSize());
    EXPECT_EQ(desk.Rows(false), desk.Set().TestParts().iGetSize());
    EXPECT_EQ(sample.GetAt(0)->iGetOrientation(), 1);
    EXPECT_EQ(sample.GetAt(sample.iGetSize() - 1)->iGetOrientation(), 2);
    EXPECT_NE(desk.Text(true, sample.iGetSize() - 1).find("Orient.= 2"), std::string::npos);
    EXPECT_EQ(desk.view->StatusPane(0)->text().left(5), "Good:");
    EXPECT_EQ(desk.view->StatusPane(2)->text().left(12), "Orient. > 1:");

    // A few parts selected and one with a comment, as a user would leave them.
    desk.Set().TeachParts().GetAt(3)->SetComment("edge chipped");
    desk.Set().TeachParts().GetAt(5)->SetOrientation(-2);
    desk.doc->RefreshViews();
    desk.Frame().Frame(ViewKind::PartList)->resize(760, 520);
    ProcessEvents();
    SaveScreenshot(desk.Frame().grab().toImage(), dir, "part_list_recorded");
    EXPECT_TRUE(desk.Ui().Mismatches().empty()) << desk.Ui().TranscriptText();
}

}  // namespace
