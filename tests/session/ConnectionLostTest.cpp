// The handling of the link's connection-lost notification: one question per loss within
// the debounce time, no question while the document changes the connection or while a
// previous question is open, the save command on Yes, and reconnecting afterwards.
#include "SessionTestSupport.h"
#include "document/CommandIds.h"
#include "model/strings/ResStr.h"

using namespace sessiontest;
using namespace LinkProtocol;

namespace {

// A user who, while the question is on screen, lets the message loop run (as a modal
// message box does): the queued commands reach the document meanwhile.
class OPumpingUser : public OUserInteraction_Scripted {
  public:
    std::function<void()> whileAsked;

  protected:
    MsgResult ShowMessage(const OMessageRequest& request) override {
        if (whileAsked && request.text == ResStr(6399)) whileAsked();
        return OUserInteraction_Scripted::ShowMessage(request);
    }
};

int CountQuestions(const OUserInteraction_Scripted& ui) {
    int n = 0;
    for (const std::string& text : ui.Texts())
        n += text == ResStr(6399) ? 1 : 0;
    return n;
}

OSessionSetup Dropping() {
    OSessionSetup s;
    s.simOptions = {"--drop-after", "1"};
    return s;
}

// Connects and lets the simulator drop the session after one request.
void ConnectAndLose(OSessionFixture& f) {
    ASSERT_EQ(f.Session().EnsureConnected(), 1);
    f.Link().commandSYNCRO();
    ASSERT_TRUE(
        bWaitFor([&] { return f.headless->Queue().bHasPending(Cmd::kLinkConnectionLost); }));
}

TEST(SessionConnectionLost, TwoLossesWithinTwoSecondsAskOnce) {
    OSessionFixture f(Dropping());
    ConnectAndLose(f);
    f.ui.ExpectMessage(MsgResult::No, ResStr(6399));
    f.headless->iDispatchPosted();
    EXPECT_EQ(CountQuestions(f.ui), 1);
    EXPECT_FALSE(f.Session().bIsOnline());

    f.clock.Advance(std::chrono::milliseconds(1500));
    f.headless->Queue().Post(Cmd::kLinkConnectionLost);
    f.headless->iDispatchPosted();
    EXPECT_EQ(CountQuestions(f.ui), 1) << "within 2 s of the previous one";
    f.clock.Advance(std::chrono::milliseconds(1500));
    f.headless->Queue().Post(Cmd::kLinkConnectionLost);
    f.headless->iDispatchPosted();
    EXPECT_EQ(CountQuestions(f.ui), 1) << "the time is taken from every notification";
    f.clock.Advance(std::chrono::seconds(3));
    f.ui.ExpectMessage(MsgResult::No, ResStr(6399));
    f.headless->Queue().Post(Cmd::kLinkConnectionLost);
    f.headless->iDispatchPosted();
    EXPECT_EQ(CountQuestions(f.ui), 2);
    EXPECT_TRUE(f.ui.bAllScriptUsed());
    EXPECT_TRUE(f.headless->Queue().Pending().empty()) << "No posts no save";
}

TEST(SessionConnectionLost, YesPostsSaveAndALaterEnsureConnectedReconnects) {
    OSessionFixture f(Dropping());
    ConnectAndLose(f);
    f.ui.ExpectMessage(MsgResult::Yes, ResStr(6399));
    f.headless->Queue().Post(Cmd::kLinkConnectionLost);  // a second, queued behind it
    f.headless->Queue().bDispatchOne(f.Doc());
    const auto pending = f.headless->Queue().Pending();
    ASSERT_EQ(pending.size(), 1u) << "the queued duplicate at the head is dropped";
    EXPECT_EQ(pending[0].first, Cmd::kFileSave);
    const auto calls = f.headless->Views().Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "cancel modal dialog"), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "main window to front"), calls.end());
    f.headless->Queue().Clear();
    ASSERT_EQ(f.Session().EnsureConnected(), 1) << "the session reconnects";
    EXPECT_EQ(f.Sim().iCount(kOpLogin), 2);
    EXPECT_EQ(f.Session().iGetLoginNeeded(), 0);
}

TEST(SessionConnectionLost, IgnoredWhileTheDocumentChangesTheConnection) {
    OSessionFixture f(Dropping());
    ConnectAndLose(f);
    f.Doc().SetLinkStateChanging(true);
    f.headless->iDispatchPosted();
    EXPECT_EQ(CountQuestions(f.ui), 0);
    // The notification re-armed the link: a later loss is posted again.
    f.Doc().SetLinkStateChanging(false);
    ASSERT_EQ(f.Session().EnsureConnected(), 1);
    f.Link().commandSYNCRO();
    ASSERT_TRUE(
        bWaitFor([&] { return f.headless->Queue().bHasPending(Cmd::kLinkConnectionLost); }));
    f.ui.ExpectMessage(MsgResult::No, ResStr(6399));
    f.headless->iDispatchPosted();
    EXPECT_EQ(CountQuestions(f.ui), 1);
}

TEST(SessionConnectionLost, ANotificationWhileTheQuestionIsOpenIsIgnored) {
    OPumpingUser ui;
    OSessionFixture f(Dropping());
    // The fixture's document uses its own scripted user; build one that pumps.
    OHeadlessOptions options;
    options.clock = &f.clock;
    OHeadlessDocument doc(f.settings, &ui, options);
    ASSERT_EQ(doc.Session().EnsureConnected(), 1);
    doc.Session().opGetConnection()->commandSYNCRO();
    ASSERT_TRUE(bWaitFor([&] { return doc.Queue().bHasPending(Cmd::kLinkConnectionLost); }));
    int reentered = 0;
    ui.whileAsked = [&] {
        f.clock.Advance(std::chrono::seconds(5));  // well past the debounce
        doc.Queue().Post(Cmd::kLinkConnectionLost);
        reentered += doc.iDispatchPosted();
    };
    ui.ExpectMessage(MsgResult::No, ResStr(6399));
    doc.iDispatchPosted();
    EXPECT_EQ(reentered, 1);
    EXPECT_EQ(CountQuestions(ui), 1) << ui.TranscriptText();
}

}  // namespace
