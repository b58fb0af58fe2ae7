// The desktop program against the device simulator: connect over the simulator's serial
// line, record sample parts through the menu command, see them in the part list and save.
#include <QLabel>
#include <QListWidget>
#include <chrono>
#include <thread>

#include "ShellTestSupport.h"
#include "app/ui/OFrame_Child.h"
#include "document/CommandIds.h"
#include "document/ui/OPartListModel.h"
#include "document/ui/OView_PartList.h"
#include "link/OConnectionProfile.h"
#include "model/strings/ResStr.h"
#include "support/DevsimProcess.h"

namespace {

using namespace shelltest;

bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(ShellRecording, SamplePartsFromTheSimulatorReachThePartListAndTheProjectFile) {
    DevsimProcess sim({"--hardware", "1", "--software", "778", "--serial", "pty", "--rate", "40"});
    ASSERT_TRUE(sim.bIsReady()) << sim.ReadyLine();
    TempDir dir;
    auto store = std::make_unique<OSettings_Memory>();
    OConnectionProfile line;
    line.name = "simulator";
    line.kind = OConnectionProfile::Kind::Serial;
    line.serialDevice = sim.SerialPath();
    ConnectionProfiles::Save(*store, {line});
    ConnectionProfiles::SetLast(*store, OConnectionProfile::Kind::Serial, 1);
    ConnectionProfiles::SetAskAtLogin(*store, false);
    store->SetInt("Settings", "MSG_BEEP", 0);
    Shell shell({"-ETH:1"}, std::move(store));
    ASSERT_TRUE(shell.desktop->Start());
    OFrame_Main& frame = shell.Frame();
    frame.show();
    frame.UpdateActions();
    frame.Action(Cmd::kFileNew)->trigger();
    ODoc* doc = shell.App().opGetDocument();
    ASSERT_NE(doc, nullptr);
    ProcessEvents();

    shell.ui.ExpectCheckMarkMessage(MsgResult::Ok, false, ResStr(7002));
    frame.UpdateActions();
    frame.Action(Cmd::kRecordSampleParts)->trigger();
    const OType_ZRPartSet& set = *doc->opGetActualPartSet();
    ASSERT_TRUE(
        PumpUntil([&] { return set.TeachParts().iGetSize() >= 10; }, std::chrono::seconds(20)))
        << "received " << set.TeachParts().iGetSize() << "\n"
        << shell.ui.TranscriptText();
    frame.UpdateActions();
    EXPECT_TRUE(frame.Action(Cmd::kRecordSampleParts)->isChecked()) << "recording shows as on";
    doc->RefreshViews();
    EXPECT_EQ(frame.Pane(2)->text().toStdString(), ResStrFormat(20500, line.Describe()));
    EXPECT_EQ(frame.Pane(3)->text().toStdString(), ResStr(20501));
    frame.Action(Cmd::kRecordSampleParts)->trigger();  // stop
    ProcessEvents();

    EXPECT_EQ(frame.Pane(3)->text().toStdString(), ResStr(20502)) << "back in operating mode";
    auto* view = qobject_cast<OView_PartList*>(frame.Frame(ViewKind::PartList)->widget());
    ASSERT_NE(view, nullptr);
    const int received = set.TeachParts().iGetSize();
    EXPECT_GE(view->Model(true)->rowCount(), 10);
    EXPECT_LE(view->Model(true)->rowCount(), received);
    // Every received part carries a contour with its basic features extracted.
    const OType_Part& first = *set.TeachParts().GetAt_NoSort(0);
    EXPECT_GT(first.iGetConturDataSize(), 0);
    EXPECT_GE(first.Features().iGetNumOfFeatures(), 12);
    EXPECT_GT(first.Features().dGetFeatureValueAt(2), 0) << "area";
    SaveScreenshot(frame.grab().toImage(), dir, "main_window_recorded_parts");

    const std::string path = (dir / "recorded.zrp").string();
    shell.ui.AnswerFileSave(path);
    frame.UpdateActions();
    frame.Action(Cmd::kFileSave)->trigger();
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_TRUE(shell.ui.Mismatches().empty()) << shell.ui.TranscriptText();
}

}  // namespace
