// Recording parts from kalvor-devsim: the acceptance rules, the orientation and type of
// sample parts, the four part-limit policies, at most 21 parts per notification, the
// document's steps after parts arrived, the record commands with their states, the
// trigger, the device's part log, and a connection lost while recording.
//
// Where exact parts matter, the simulator streams (almost) nothing and the test places its
// own parts in the link's received-part array, as the link's receive thread does.
#include "SessionTestSupport.h"
#include "document/CommandIds.h"
#include "model/strings/ResStr.h"

using namespace sessiontest;
using namespace LinkProtocol;

namespace {

constexpr const char* kQuiet = "0.001";  // parts per second: none within a test

OSessionSetup For(const OTargetSystem& target, std::vector<std::string> simOptions) {
    OSessionSetup s;
    s.target = target;
    s.simOptions = std::move(simOptions);
    return s;
}

constexpr OTargetSystem kKesta{7, 818, 0, 6, 4, 8};
constexpr OTargetSystem kTalon{1, 778, 0, 6, 1, 8};

std::unique_ptr<OType_Part> Part(int label, int contourValues = 40, bool image = false) {
    auto part = std::make_unique<OType_Part>();
    std::vector<int16_t> runs;
    for (int i = 0; i + 1 < contourValues; i += 2) {
        runs.push_back(10);
        runs.push_back(-20);
    }
    if (contourValues % 2) runs.push_back(-5);
    part->SetConturData(std::move(runs));
    if (image) part->AddImage(OType_Image(8, 8, 1));
    part->SetComment("#" + std::to_string(label));
    part->SetOrientation(3);
    part->SetType(2);
    return part;
}

// The quiet simulator's stream sends one part as it starts; wait for it (however loaded the
// machine) and drop it with the notifications queued so far.
void DropTheFirstTick(OQuillonComInterface& link, OCommandQueue_Manual& queue) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (link.iGetNumReceivedParts() == 0 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    link.bRemoveAllReceivedParts();
    queue.Clear();
    link.UpdateKO();
    link.UpdateAE();
}

void Inject(OQuillonComInterface& link, std::unique_ptr<OType_Part> part) {
    ASSERT_TRUE(link.bLockReceivedParts());
    link.ReceivedParts().Add(std::move(part));
    link.UnlockReceivedParts();
}

std::vector<std::string> Labels(const OType_PartArray& list) {
    std::vector<std::string> labels;
    for (int i = 0; i < list.iGetSize(); ++i)
        labels.push_back(list.GetAt_NoSort(i)->GetComment());
    return labels;
}

std::vector<std::string> Range(int first, int last) {
    std::vector<std::string> labels;
    for (int i = first; i <= last; ++i)
        labels.push_back("#" + std::to_string(i));
    return labels;
}

// A fixture in diagnostic mode whose simulator sends nothing by itself.
struct ODiagFixture {
    explicit ODiagFixture(const OTargetSystem& target = kTalon, const char* hardware = "1")
        : f(For(target, {"--hardware", hardware, "--rate", kQuiet})) {
        f.ui.ExpectMessage(MsgResult::Ok, ResStr(7002));
        EXPECT_EQ(f.Session().SetDiagnosticMode(1), 1);
        DropTheFirstTick(f.Link(), f.headless->Queue());
        f.ui.Clear();
    }
    OSessionFixture f;
};

TEST(SessionRecording, ContourDefectsAreRejectedOnlyWhereContoursAreSent) {
    ODiagFixture d(kKesta, "7");
    OSessionFixture& f = d.f;
    OQuillon& session = f.Session();
    session.Options().rejectDefectContourParts = 1;
    session.SetRecordingTarget(0);
    Inject(f.Link(), Part(1, 1));
    Inject(f.Link(), Part(2, 2));
    Inject(f.Link(), Part(3, 1, true));
    OFetchResult r = session.FetchReceivedParts();
    EXPECT_EQ(r.taken, 3);
    EXPECT_EQ(r.accepted, 2);
    EXPECT_EQ(Labels(f.Set().TestParts()), (std::vector<std::string>{"#2", "#3"}));
    // Send mode 0: camera images only; the contour is not looked at.
    ASSERT_EQ(f.Link().commandKONZEI(), 1);
    ASSERT_EQ(session.iGetSendMode(), 0);
    Inject(f.Link(), Part(4, 1));
    EXPECT_EQ(session.FetchReceivedParts().accepted, 1);
    // Without the option every part is taken.
    ASSERT_EQ(f.Link().commandKONTUR(), 1);
    session.Options().rejectDefectContourParts = 0;
    Inject(f.Link(), Part(5, 0));
    EXPECT_EQ(session.FetchReceivedParts().accepted, 1);
    // Outside diagnostic mode nothing is taken.
    ASSERT_EQ(f.Link().iSetDiagMode(0, 0), 1);
    Inject(f.Link(), Part(6));
    r = session.FetchReceivedParts();
    EXPECT_EQ(r.taken, 1);
    EXPECT_EQ(r.accepted, 0);
    EXPECT_EQ(Labels(f.Set().TestParts()), (std::vector<std::string>{"#2", "#3", "#4", "#5"}));
}

TEST(SessionRecording, SamplePartsTakeTheRecordingOrientationAndType) {
    ODiagFixture d(kKesta, "7");
    OSessionFixture& f = d.f;
    OQuillon& session = f.Session();
    OType_ProjectProperties& p = session.ProjectProperties();
    session.SetRecordingTarget(1);
    session.SetRecordOrientation(5);
    session.SetRecordType(3);
    p.useOrientation = 0;
    p.useTypes = 1;
    Inject(f.Link(), Part(1));
    session.FetchReceivedParts();
    p.useOrientation = 1;
    p.useTypes = 0;
    Inject(f.Link(), Part(2));
    session.FetchReceivedParts();
    p.useTypes = 1;
    session.SetRecordOrientation(9);
    session.SetRecordType(6);
    Inject(f.Link(), Part(3));
    session.FetchReceivedParts();
    const OType_PartArray& list = f.Set().TeachParts();
    ASSERT_EQ(list.iGetSize(), 3);
    EXPECT_EQ(list.GetAt_NoSort(0)->iGetOrientation(), 1) << "orientations off: always 1";
    EXPECT_EQ(list.GetAt_NoSort(0)->iGetType(), 3);
    EXPECT_EQ(list.GetAt_NoSort(1)->iGetOrientation(), 5);
    EXPECT_EQ(list.GetAt_NoSort(1)->iGetType(), 1) << "types off: always 1";
    EXPECT_EQ(list.GetAt_NoSort(2)->iGetOrientation(), 8) << "at most the target's 8";
    EXPECT_EQ(list.GetAt_NoSort(2)->iGetType(), 4) << "at most the 4 types per program";
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(list.GetAt_NoSort(i)->bIsTeachPart());
        EXPECT_EQ(list.GetAt_NoSort(i)->iGetRecordNo(), i + 1);
    }
    session.SetRecordingTarget(0);
    Inject(f.Link(), Part(4));
    session.FetchReceivedParts();
    ASSERT_EQ(f.Set().TestParts().iGetSize(), 1);
    const OType_Part& test = *f.Set().TestParts().GetAt(0);
    EXPECT_FALSE(test.bIsTeachPart());
    EXPECT_EQ(test.iGetOrientation(), 3) << "test parts keep what the device said";
}

TEST(SessionRecording, PolicyDeleteOldestKeepsTheListAtItsLimit) {
    ODiagFixture d;
    OQuillon& session = d.f.Session();
    session.Options().partBufferSize = 3;
    session.Options().partLimitPolicy = 3;
    for (int i = 1; i <= 7; ++i)
        Inject(d.f.Link(), Part(i));
    const OFetchResult r = session.FetchReceivedParts();
    EXPECT_EQ(r.removed, 4);
    EXPECT_EQ(Labels(d.f.Set().TestParts()), Range(5, 7));
    EXPECT_EQ(session.iGetPartLimit(), 3);
}

TEST(SessionRecording, PolicyDeleteNewAndPolicyRaise) {
    ODiagFixture d;
    OQuillon& session = d.f.Session();
    session.Options().partBufferSize = 3;
    session.Options().partLimitPolicy = 1;
    for (int i = 1; i <= 5; ++i)
        Inject(d.f.Link(), Part(i));
    session.FetchReceivedParts();
    EXPECT_EQ(Labels(d.f.Set().TestParts()), Range(1, 3));
    session.Options().partLimitPolicy = 2;
    for (int i = 6; i <= 8; ++i)
        Inject(d.f.Link(), Part(i));
    session.FetchReceivedParts();
    EXPECT_EQ(Labels(d.f.Set().TestParts()),
              (std::vector<std::string>{"#1", "#2", "#3", "#6", "#7", "#8"}));
    EXPECT_EQ(session.iGetPartLimit(), 503) << "raised once, when the list was full";
    session.ResetPartLimit();
    EXPECT_EQ(session.iGetPartLimit(), 3) << "until the options are read again";
    EXPECT_TRUE(d.f.ui.Texts().empty());
}

// A user who answers the part-limit question while the message loop brings in more parts.
class OPumpingUser : public OUserInteraction_Scripted {
  public:
    std::function<void()> whileAsked;

  protected:
    MsgResult ShowMessage(const OMessageRequest& request) override {
        if (whileAsked && request.text == ResStr(3227)) {
            auto pump = std::move(whileAsked);
            pump();
        }
        return OUserInteraction_Scripted::ShowMessage(request);
    }
};

TEST(SessionRecording, PolicyAskLosesThePartsArrivingWhileAskingAndYesRaisesOnce) {
    OTracedSim sim({"--hardware", "1", "--rate", kQuiet});
    OSettings_Memory settings;
    ReachSimulator(settings, sim.Sim());
    OPumpingUser ui;
    OHeadlessDocument doc(settings, &ui);
    OQuillon& session = doc.Session();
    session.Options().partBufferSize = 2;
    session.Options().partLimitPolicy = 0;
    session.Options().msgBeep = 0;
    ui.ExpectMessage(MsgResult::Ok, ResStr(7002));
    ASSERT_EQ(session.SetDiagnosticMode(1), 1);
    OQuillonComInterface& link = *session.opGetConnection();
    DropTheFirstTick(link, doc.Queue());
    for (int i = 1; i <= 4; ++i)
        Inject(link, Part(i));
    int nested = 0;
    ui.whileAsked = [&] {
        EXPECT_TRUE(OQuillon::bIsLimitQuestionOpen());
        // Two further parts come in while the box is open; the loop fetches them.
        Inject(link, Part(10));
        Inject(link, Part(11));
        doc.Queue().Post(Cmd::kLinkContinue);
        nested = doc.iDispatchPosted();
    };
    ui.ExpectMessage(MsgResult::Yes, ResStr(3227));
    session.FetchReceivedParts();
    EXPECT_EQ(nested, 1);
    EXPECT_FALSE(OQuillon::bIsLimitQuestionOpen());
    const OType_PartArray& list = session.opGetActualPartSet()->TestParts();
    // #1, #2 fill the list; #3 asks; the nested fetch takes #4, #10, #11 and loses them
    // all (the question is open); Yes appends #3.
    EXPECT_EQ(Labels(list), (std::vector<std::string>{"#1", "#2", "#3"}));
    EXPECT_EQ(session.iGetPartLimit(), 502);
    EXPECT_TRUE(ui.bAllScriptUsed());
    // No destroys the part that asked; the next one asks again.
    session.Options().partBufferSize = 3;
    session.ResetPartLimit();
    Inject(link, Part(20));
    Inject(link, Part(21));
    ui.ExpectMessage(MsgResult::No, ResStr(3227));
    ui.ExpectMessage(MsgResult::No, ResStr(3227));
    session.FetchReceivedParts();
    EXPECT_EQ(list.iGetSize(), 3);
    EXPECT_TRUE(ui.bAllScriptUsed());
}

TEST(SessionRecording, AtMost21PartsPerNotificationThenItFetchesOn) {
    ODiagFixture d;
    OSessionFixture& f = d.f;
    for (int i = 1; i <= 50; ++i)
        Inject(f.Link(), Part(i));
    f.headless->Queue().Post(Cmd::kLinkContourPart);
    ASSERT_TRUE(f.headless->Queue().bDispatchOne(f.Doc()));
    EXPECT_EQ(f.Set().TestParts().iGetSize(), 21);
    auto pending = f.headless->Queue().Pending();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].first, Cmd::kLinkContinue);
    f.headless->iDispatchPosted();
    EXPECT_EQ(Labels(f.Set().TestParts()), Range(1, 50));
    EXPECT_TRUE(f.headless->Queue().Pending().empty()) << "no further 35104 once empty";
}

TEST(SessionRecording, WithoutAProjectTheNotificationsStillReachTheLink) {
    ODiagFixture d;
    OSessionFixture& f = d.f;
    f.Session().PartSets().RemoveAll();
    Inject(f.Link(), Part(1));
    f.headless->Queue().Post(Cmd::kLinkContourPart);
    f.headless->iDispatchPosted();
    EXPECT_EQ(f.Link().iGetNumReceivedParts(), 0) << "taken and dropped: there is no list";
}

TEST(SessionRecording, AfterPartsArrivedTheDocumentShowsBeepsAndTellsTheWizard) {
    ODiagFixture d;
    OSessionFixture& f = d.f;
    OQuillon& session = f.Session();
    OCommandQueue_Manual wizard;
    f.Doc().SetWizardWindow(&wizard);
    session.Options().msgBeep = 1;
    session.Options().displayReceivedPart = 1;
    session.SetRecordingTarget(1);
    f.Set().iShowSetTeachTest(0);
    f.ui.SetMessageBeepResult(false);
    for (int i = 1; i <= 3; ++i)
        Inject(f.Link(), Part(i));
    // Two more notifications of the same kind queued behind, and another kind.
    OCommandQueue_Manual& queue = f.headless->Queue();
    queue.Post(Cmd::kLinkContourPart);
    queue.Post(Cmd::kLinkContourPart);
    queue.Post(Cmd::kLinkContourPart);
    queue.Post(Cmd::kLinkStateChanged);
    ASSERT_TRUE(queue.bDispatchOne(f.Doc()));
    const auto pending = queue.Pending();
    ASSERT_EQ(pending.size(), 1u) << "the duplicates at the head are dropped";
    EXPECT_EQ(pending[0].first, Cmd::kLinkStateChanged);
    EXPECT_EQ(f.Set().iShowGetTeachTest(), 1) << "the list of the new parts is shown";
    EXPECT_EQ(f.Set().iShowTeachPartGetNo(), 2) << "the newest part";
    EXPECT_EQ(wizard.iPendingCount(), 3u);
    int messageBeeps = 0, tones = 0;
    for (const OInteractionRecord& r : f.ui.Transcript()) {
        messageBeeps += r.kind == InteractionKind::MessageBeep ? 1 : 0;
        if (r.kind == InteractionKind::Beep) {
            ++tones;
            EXPECT_EQ(r.frequencyHz, 2000);
            EXPECT_EQ(r.durationMs, 200);
        }
    }
    EXPECT_EQ(messageBeeps, 1);
    EXPECT_EQ(tones, 1) << "the tone when the message beep could not be played";

    // Without display and beep nothing is selected and nothing sounds.
    session.Options().msgBeep = 0;
    session.Options().displayReceivedPart = 0;
    f.Set().iShowTeachPartNo(0);
    f.ui.Clear();
    Inject(f.Link(), Part(4));
    queue.Clear();
    queue.Post(Cmd::kLinkContourPart);
    queue.bDispatchOne(f.Doc());
    EXPECT_EQ(f.Set().iShowTeachPartGetNo(), 0);
    EXPECT_TRUE(f.ui.Transcript().empty());
    EXPECT_EQ(f.Set().TeachParts().iGetSize(), 4);
}

TEST(SessionRecording, ImagesAreNeededUnlessEveryToolWorksOnTheContour) {
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    OQuillon session(settings, ui, nullptr);
    EXPECT_FALSE(session.bImagesNeeded()) << "no check program";
    ASSERT_TRUE(session.bSetUpNewProject({1, 788, 0, 6, 1, 8}, {}));
    EXPECT_TRUE(session.bImagesNeeded()) << "no tools yet";
    OType_ZRPartSet& set = *session.opGetActualPartSet();
    ASSERT_TRUE(set.ToolPrototypes().bHasKind(1)) << "the ROI of the tool library";
    OType_ConfigTool* roi = set.Tools().Add(set.ToolPrototypes().Create(1));
    ASSERT_EQ(roi->iGetImageType(), 0);
    EXPECT_FALSE(session.bImagesNeeded()) << "every tool works on the contour";
    session.ProjectProperties().useNewToolsOnCameraImage = 1;
    EXPECT_TRUE(session.bImagesNeeded());
    session.ProjectProperties().useNewToolsOnCameraImage = 0;
    roi->SetImageType(1);
    EXPECT_TRUE(session.bImagesNeeded()) << "a tool on the camera image";
}

// --- the record commands against a streaming device ---

TEST(SessionRecording, RecordSamplePartsTogglesAndSwitchesTheTarget) {
    OSessionFixture f(For(kTalon, {"--hardware", "1", "--rate", "100"}));
    ODoc& doc = f.Doc();
    f.ui.ExpectMessage(MsgResult::Ok, ResStr(7002));
    EXPECT_TRUE(doc.GetCommandState(Cmd::kRecordSampleParts).enabled);
    EXPECT_FALSE(doc.GetCommandState(Cmd::kRecordSampleParts).checked);
    doc.OnCommand(Cmd::kRecordSampleParts, 0);
    ASSERT_TRUE(f.Session().bIsDiagMode()) << Shown(f.ui);
    EXPECT_TRUE(doc.GetCommandState(Cmd::kRecordSampleParts).checked);
    EXPECT_FALSE(doc.GetCommandState(Cmd::kRecordTestParts).checked);
    ASSERT_TRUE(f.bPumpUntil([&] { return f.Set().TeachParts().iGetSize() >= 5; }));
    // Ctrl+A while recording samples: the same recording goes on into the test list.
    doc.OnCommand(Cmd::kRecordTestParts, 0);
    EXPECT_TRUE(f.Session().bIsDiagMode());
    EXPECT_TRUE(doc.GetCommandState(Cmd::kRecordTestParts).checked);
    f.headless->iDispatchPosted();
    const int samples = f.Set().TeachParts().iGetSize();
    ASSERT_TRUE(f.bPumpUntil([&] { return f.Set().TestParts().iGetSize() >= 5; }));
    EXPECT_EQ(f.Set().TeachParts().iGetSize(), samples);
    // Ctrl+A again stops.
    doc.OnCommand(Cmd::kRecordTestParts, 0);
    EXPECT_FALSE(f.Session().bIsDiagMode());
    EXPECT_FALSE(doc.GetCommandState(Cmd::kRecordTestParts).checked);
    EXPECT_EQ(f.Sim().iCount(kOpSetDiagMode), 1);
    EXPECT_TRUE(f.ui.bAllScriptUsed());
}

TEST(SessionRecording, TheImageCommandsSwitchTheSendMode) {
    OSessionFixture f(For(kKesta, {"--hardware", "7", "--rate", kQuiet}));
    ODoc& doc = f.Doc();
    EXPECT_FALSE(doc.GetCommandState(Cmd::kRecordWithoutCamera).enabled) << "offline";
    f.ui.ExpectMessage(MsgResult::Ok, ResStr(7002));
    doc.OnCommand(Cmd::kRecordSampleParts, 0);
    ASSERT_TRUE(f.Session().bIsDiagMode());
    ASSERT_EQ(f.Session().iGetSendMode(), 4) << "a new project with no tools needs images";
    EXPECT_TRUE(doc.GetCommandState(Cmd::kRecordWithoutCamera).enabled);
    EXPECT_FALSE(doc.GetCommandState(Cmd::kRecordWithoutCamera).checked);
    EXPECT_FALSE(doc.GetCommandState(Cmd::kRecordWithoutContour).checked);
    doc.OnCommand(Cmd::kRecordWithoutCamera, 0);
    EXPECT_EQ(f.Session().iGetSendMode(), 1);
    EXPECT_TRUE(doc.GetCommandState(Cmd::kRecordWithoutCamera).checked);
    doc.OnCommand(Cmd::kRecordWithoutCamera, 0);
    EXPECT_EQ(f.Session().iGetSendMode(), 4);
    doc.OnCommand(Cmd::kRecordWithoutContour, 0);
    EXPECT_EQ(f.Session().iGetSendMode(), 0);
    EXPECT_TRUE(doc.GetCommandState(Cmd::kRecordWithoutContour).checked);
    doc.OnCommand(Cmd::kRecordWithoutContour, 0);
    EXPECT_EQ(f.Session().iGetSendMode(), 1);
    EXPECT_TRUE(f.ui.bAllScriptUsed()) << Shown(f.ui);
}

TEST(SessionRecording, TriggerOnAnOfflineCameraStartsRecording) {
    OSessionFixture f(For(kKesta, {"--hardware", "7", "--rate", kQuiet}));
    ODoc& doc = f.Doc();
    EXPECT_FALSE(doc.GetCommandState(Cmd::kSendTrigger).enabled);
    f.ui.ExpectMessage(MsgResult::Ok, ResStr(7002));
    doc.OnCommand(Cmd::kSendTrigger, 0);
    EXPECT_TRUE(f.Session().bIsDiagMode());
    EXPECT_EQ(f.Sim().iCount(kOpPackageAction, "$CTRIGGR"), 1);
    ASSERT_TRUE(f.bPumpUntil([&] { return f.Set().TestParts().iGetSize() == 1; }));
    EXPECT_TRUE(doc.GetCommandState(Cmd::kSendTrigger).enabled);
    doc.OnCommand(Cmd::kSendTrigger, 0);
    ASSERT_TRUE(f.bPumpUntil([&] { return f.Set().TestParts().iGetSize() == 2; }));
    EXPECT_TRUE(f.ui.bAllScriptUsed()) << Shown(f.ui);
}

TEST(SessionRecording, TheDevicesPartLogIsOfferedDownloadedAndDeleted) {
    OSessionFixture f(For(kKesta, {"--hardware", "7", "--rate", "200", "--log-capacity", "8"}));
    ODoc& doc = f.Doc();
    f.ui.ExpectMessage(MsgResult::Ok, ResStr(7002));
    ASSERT_EQ(f.Session().EnsureConnected(), 1);
    EXPECT_FALSE(doc.GetCommandState(Cmd::kDownloadPartLog).enabled) << "the log is empty";
    ASSERT_EQ(f.Session().SetDiagnosticMode(1), 1);
    ASSERT_TRUE(bWaitFor([&] { return f.Link().iGetNumLoggedParts() == 8; }));
    ASSERT_EQ(f.Link().iSetDiagMode(0, 0), 1);
    f.headless->iDispatchPosted();
    ASSERT_TRUE(doc.GetCommandState(Cmd::kDownloadPartLog).enabled);
    const int before = f.Set().TestParts().iGetSize();
    const int saved = f.Link().iGetTimeOut_SEC();
    doc.OnCommand(Cmd::kDownloadPartLog, 0);
    EXPECT_EQ(f.Set().TestParts().iGetSize(), before + 8);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(f.Link().iGetTimeOut_SEC(), saved);
    doc.OnCommand(Cmd::kDeletePartLog, 0);
    EXPECT_EQ(f.Sim().iCount(kOpPackageAction, "$CLPTLOG"), 1);
    ASSERT_TRUE(bWaitFor([&] { return f.Link().iGetNumLoggedParts() == 0; }));
    EXPECT_FALSE(doc.GetCommandState(Cmd::kDownloadPartLog).enabled);
    EXPECT_FALSE(doc.GetCommandState(Cmd::kDeletePartLog).enabled);
}

TEST(SessionRecording, ALostConnectionKeepsThePartsReceivedSoFar) {
    OSessionFixture f(For(kTalon, {"--hardware", "1", "--rate", "100", "--drop-after", "4"}));
    f.ui.ExpectMessage(MsgResult::Ok, ResStr(7002));
    f.Doc().OnCommand(Cmd::kRecordSampleParts, 0);
    ASSERT_TRUE(f.Session().bIsDiagMode()) << Shown(f.ui);
    f.ui.ExpectMessage(MsgResult::No, ResStr(6399));
    // Two more requests (keep-alives) and the device drops the session.
    f.Pump(std::chrono::milliseconds(200));
    f.Link().commandSYNCRO();
    f.Link().commandSYNCRO();
    ASSERT_TRUE(f.bPumpUntil([&] { return f.ui.bAllScriptUsed(); })) << Shown(f.ui);
    f.Pump(std::chrono::milliseconds(200));
    const int kept = f.Set().TeachParts().iGetSize();
    EXPECT_GT(kept, 0);
    int questions = 0;
    for (const std::string& t : f.ui.Texts())
        questions += t == ResStr(6399) ? 1 : 0;
    EXPECT_EQ(questions, 1);
    EXPECT_FALSE(f.Session().bIsOnline());
    ASSERT_EQ(f.Session().EnsureConnected(), 1);
    EXPECT_EQ(f.Sim().iCount(kOpLogin), 2);
    EXPECT_EQ(f.Set().TeachParts().iGetSize(), kept);
}

}  // namespace
