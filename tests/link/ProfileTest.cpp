#include <gtest/gtest.h>

#include "link/ODlg_ConnectionProfile.h"
#include "link/OQuillonComInterface_Serial.h"
#include "link/OQuillonComInterface_TCP.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"

TEST(ConnectionProfiles, DefaultsReachASimulatorOnThisMachine) {
    OSettings_Memory settings;
    const auto profiles = ConnectionProfiles::Load(settings);
    ASSERT_FALSE(profiles.empty());
    EXPECT_EQ(profiles[0].kind, OConnectionProfile::Kind::Tcp);
    EXPECT_EQ(profiles[0].host, "127.0.0.1");
    EXPECT_EQ(profiles[0].ports, (std::array<std::string, 3>{"10000", "10001", "10002"}));
    EXPECT_TRUE(std::any_of(profiles.begin(), profiles.end(), [](const auto& p) {
        return p.kind == OConnectionProfile::Kind::Serial;
    }));
}

TEST(ConnectionProfiles, SaveAndLoadRoundTripAndDropInvalidEntries) {
    OSettings_Memory settings;
    OConnectionProfile line;
    line.name = "Line 2";
    line.kind = OConnectionProfile::Kind::Serial;
    line.serialDevice = "/dev/ttyS1";
    line.baud = 57600;
    OConnectionProfile cell;
    cell.name = "Cell";
    cell.host = "10.1.2.3";
    cell.ports = {"20000", "20001", "20005"};
    ConnectionProfiles::Save(settings, {line, cell, line, cell});
    ConnectionProfiles::Save(settings, {line, cell});  // shrinking removes the surplus values
    EXPECT_FALSE(settings.bHasValue(ConnectionProfiles::kSection, "PROFILE3_NAME"));
    EXPECT_EQ(ConnectionProfiles::Load(settings), (std::vector<OConnectionProfile>{line, cell}));
    settings.SetText(ConnectionProfiles::kSection, "PROFILE2_PORT2", "70000");
    EXPECT_EQ(ConnectionProfiles::Load(settings), (std::vector<OConnectionProfile>{line}));
}

TEST(ConnectionProfiles, HostAndPortTexts) {
    std::string host;
    uint16_t port = 0;
    ASSERT_TRUE(ConnectionProfiles::bParseHostPort("device.local", host, port));
    EXPECT_EQ(host, "device.local");
    EXPECT_EQ(port, 10000);
    ASSERT_TRUE(ConnectionProfiles::bParseHostPort("127.0.0.1:40000", host, port));
    EXPECT_EQ(port, 40000);
    ASSERT_TRUE(ConnectionProfiles::bParseHostPort("[::1]:12000", host, port));
    EXPECT_EQ(host, "::1");
    EXPECT_FALSE(
        ConnectionProfiles::bParseHostPort("host:65534", host, port));  // needs three ports
    EXPECT_FALSE(ConnectionProfiles::bParseHostPort(":100", host, port));
    EXPECT_FALSE(ConnectionProfiles::bParseHostPort("host:x", host, port));
    EXPECT_FALSE(ConnectionProfiles::bParseHostPort("[::1", host, port));
}

TEST(ConnectionProfiles, TheDialogListsOnlyItsKindAndValidates) {
    ODlg_ConnectionProfile dialog(ConnectionProfiles::Defaults(), OConnectionProfile::Kind::Serial,
                                  0);
    const auto listed = dialog.ListedProfiles();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(dialog.iGetSelected(), listed[0]);  // a profile of the other kind is not preselected
    EXPECT_EQ(dialog.Profiles()[static_cast<size_t>(listed[0])].serialDevice,
              "/tmp/kalvor-devsim.tty")
        << "the first serial profile reaches the simulator the run script starts";
    std::string message;
    EXPECT_TRUE(dialog.bValidate(message));
    dialog.Profiles()[static_cast<size_t>(listed[0])].baud = 10;
    EXPECT_FALSE(dialog.bValidate(message));
    EXPECT_FALSE(message.empty());
    dialog.Profiles()[static_cast<size_t>(listed[0])].baud = 9600;
    dialog.Profiles()[0].ports[1] = "0";  // another profile that cannot be used
    EXPECT_FALSE(dialog.bValidate(message));
    EXPECT_NE(message.find(dialog.Profiles()[0].name), std::string::npos);
    dialog.Profiles()[0].ports[1] = "10001";
    dialog.SetSelected(0);  // a TCP profile
    EXPECT_FALSE(dialog.bValidate(message));
    dialog.SetSelected(listed[0]);
    const int added = dialog.iAddProfile("New line");
    EXPECT_EQ(dialog.Profiles()[static_cast<size_t>(added)].kind, OConnectionProfile::Kind::Serial);
    EXPECT_TRUE(dialog.bValidate(message));
}

TEST(ConnectionProfiles, LoginOffersTheProfilesAndRemembersTheChoice) {
    OSettings_Memory settings;
    OUserInteraction_Scripted user;
    OQuillonComInterface_TCP link(nullptr, nullptr, nullptr, nullptr, 0);
    link.SetServices({nullptr, &user, &settings});
    user.AnswerDialog(
        [](ODialogModel& model) {
            auto& d = dynamic_cast<ODlg_ConnectionProfile&>(model);
            const int i = d.iAddProfile("Line 4");
            d.Profiles()[static_cast<size_t>(i)].host = "192.168.4.20";
            d.SetAskAgain(false);
            return true;
        },
        "ODlg_ConnectionProfile");
    int level = 0, profile = 0;
    ASSERT_EQ(link.iUserLogIn(level, 0, "none", 3, profile, 0, ""), 1);
    EXPECT_TRUE(user.Mismatches().empty());
    const int added = static_cast<int>(ConnectionProfiles::Defaults().size()) + 1;
    EXPECT_EQ(profile, added);  // after the defaults
    EXPECT_EQ(link.GetCurrentProfile().host, "192.168.4.20");
    EXPECT_EQ(ConnectionProfiles::iGetLast(settings, OConnectionProfile::Kind::Tcp), added);
    EXPECT_FALSE(ConnectionProfiles::bAskAtLogin(settings));
    // Not asked again: the remembered profile is taken without a dialog.
    OQuillonComInterface_TCP again(nullptr, nullptr, nullptr, nullptr, 0);
    again.SetServices({nullptr, &user, &settings});
    user.Clear();
    ASSERT_EQ(again.iUserLogIn(level, 0, "none", 3, profile, 0, ""), 1);
    EXPECT_TRUE(user.Transcript().empty());
    EXPECT_EQ(profile, added);
    EXPECT_EQ(again.GetCurrentProfile().host, "192.168.4.20");
    // A cancelled dialog is a failed login.
    ConnectionProfiles::SetAskAtLogin(settings, true);
    user.CancelDialog("ODlg_ConnectionProfile");
    EXPECT_EQ(again.iUserLogIn(level, 0, "none", 3, profile, 0, ""), 0);
    EXPECT_EQ(again.GetLastComInterfaceError(), LinkProtocol::Result::kCancelled);
    // The serial kind takes only serial logins.
    OQuillonComInterface_Serial serial(nullptr, nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(serial.iUserLogIn(level, 0, "none", 3, profile, 0, ""), 0);
}
