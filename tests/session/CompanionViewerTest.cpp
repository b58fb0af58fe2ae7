// The companion viewer talks to the device itself: starting or activating it gives up the
// program's connection first, so that the two never compete for the device.
#include "SessionTestSupport.h"
#include "document/CommandIds.h"
#include "model/strings/ResStr.h"

using namespace sessiontest;

namespace {

OSessionSetup Tamrin() {
    OSessionSetup s;
    s.target = {16, 818, 0, 6, 1, 8};
    s.simOptions = {"--hardware", "16", "--rate", "0.001"};
    return s;
}

}  // namespace

TEST(CompanionViewer, ActivatingItsWindowDisconnectsFirst) {
    OSessionFixture f(Tamrin());
    ASSERT_EQ(f.Session().EnsureConnected(), 1) << Shown(f.ui);
    f.headless->CompanionUser().SetText("Windows", "Mirrel_hWnd", "4711");
    f.headless->Programs().SetExistingWindow(4711);
    f.Doc().OnCommand(Cmd::kStartCompanionViewer, 0);
    EXPECT_FALSE(f.Session().bIsOnline());
    EXPECT_EQ(f.Session().iGetLoginNeeded(), 1) << "logged out, not only closed";
    ASSERT_EQ(f.headless->Programs().Activations().size(), 1u);
    EXPECT_TRUE(f.ui.Texts().empty()) << Shown(f.ui);
}

TEST(CompanionViewer, StartingItDisconnectsToo) {
    OSessionFixture f(Tamrin());
    ASSERT_EQ(f.Session().EnsureConnected(), 1) << Shown(f.ui);
    f.headless->Programs().AllowStart(f.Session().Options().viewerPath);
    f.ui.ExpectMessage(MsgResult::Ok, ResStr(2142));
    f.Doc().OnCommand(Cmd::kStartCompanionViewer, 0);
    EXPECT_FALSE(f.Session().bIsOnline());
    EXPECT_EQ(f.headless->Programs().StartAttempts().size(), 1u);
    EXPECT_TRUE(f.ui.bAllScriptUsed()) << Shown(f.ui);
    EXPECT_GE(f.Sim().iCount(LinkProtocol::kOpLogout), 1) << "the device saw the logout";
}

TEST(CompanionViewer, OfflineNothingIsDisconnected) {
    OSessionFixture f(Tamrin());
    f.headless->CompanionUser().SetText("Windows", "Mirrel_hWnd", "4711");
    f.headless->Programs().SetExistingWindow(4711);
    f.Doc().OnCommand(Cmd::kStartCompanionViewer, 0);
    EXPECT_EQ(f.Sim().iSize(), 0u) << "no traffic";
    EXPECT_EQ(f.headless->Programs().Activations().size(), 1u);
}
