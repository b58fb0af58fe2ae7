#include <gtest/gtest.h>

#include "ScopedEnv.h"
#include "platform/SettingsPaths.h"

namespace {

TEST(SettingsPaths, UserStoreFollowsXdgConfigHome) {
    ScopedEnv config("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(SettingsPaths::UserIniPath(), "/tmp/cfg/Brevik/Kalvor 4.0 en.ini");
    EXPECT_EQ(SettingsPaths::UserIniPath("Telmar"), "/tmp/cfg/Brevik/Telmar.ini");
}

TEST(SettingsPaths, UserStoreFallsBackToHomeConfig) {
    ScopedEnv home("HOME", "/home/engineer");
    {
        ScopedEnv config("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(SettingsPaths::UserIniPath(), "/home/engineer/.config/Brevik/Kalvor 4.0 en.ini");
    }
    {
        ScopedEnv empty("XDG_CONFIG_HOME", "");
        EXPECT_EQ(SettingsPaths::UserConfigFolder(), "/home/engineer/.config");
    }
    {
        ScopedEnv relative("XDG_CONFIG_HOME", "relative/cfg");  // XDG: ignore relative paths
        EXPECT_EQ(SettingsPaths::UserConfigFolder(), "/home/engineer/.config");
    }
}

TEST(SettingsPaths, MachineStoreUsesTheFirstConfigDir) {
    {
        ScopedEnv dirs("XDG_CONFIG_DIRS", "/opt/a:/opt/b");
        EXPECT_EQ(SettingsPaths::MachineIniPath(), "/opt/a/Brevik/Telmar.ini");
    }
    {
        ScopedEnv dirs("XDG_CONFIG_DIRS", nullptr);
        EXPECT_EQ(SettingsPaths::MachineIniPath(), "/etc/xdg/Brevik/Telmar.ini");
        EXPECT_EQ(SettingsPaths::MachineIniPath("Kalvor 4.0 en"),
                  "/etc/xdg/Brevik/Kalvor 4.0 en.ini");
    }
    {
        ScopedEnv dirs("XDG_CONFIG_DIRS", "relative:/opt/b");
        EXPECT_EQ(SettingsPaths::MachineConfigFolder(), "/etc/xdg");
    }
}

}  // namespace
