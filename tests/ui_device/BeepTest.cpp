// The desktop's beeps: a platform without a beep of its own says so, so that the document
// plays its own tone instead; the tone player either plays or reports that it cannot.
#include <QGuiApplication>

#include "DeviceTestSupport.h"
#include "app/ui/OTonePlayer.h"
#include "app/ui/OUserInteraction_Qt.h"

using namespace devicetest;

TEST(Beep, TheOffscreenPlatformHasNoMessageBeep) {
    Application();
    ASSERT_EQ(QGuiApplication::platformName(), "offscreen");
    OUserInteraction_Qt ui;
    EXPECT_FALSE(ui.MessageBeep(MsgIcon::Information)) << "the caller falls back to its tone";
}

TEST(Beep, AToneIsPlayedInTheBackgroundOrRefused) {
    OTonePlayer player;
    if (player.bPlay(2000, 200)) {
        EXPECT_TRUE(player.bIsPlaying()) << "the tone sounds on after the call returned";
        EXPECT_TRUE(player.bPlay(1000, 100)) << "a sounding tone answers for a second one";
    } else {
        EXPECT_FALSE(player.bIsPlaying());
    }
    player.Wait();
    EXPECT_FALSE(player.bIsPlaying());
}
