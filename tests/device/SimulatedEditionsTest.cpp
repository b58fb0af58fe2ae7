// Every edition kalvor-devsim plays is identified as itself from the information record it
// reports over the link; and kalvorctl's device info shows the identified target.
#include <gtest/gtest.h>

#include <cstdio>

#include "device/DeviceIdentification.h"
#include "device/TargetSystem.h"
#include "link/OQuillonComInterface_TCP.h"
#include "support/DevsimProcess.h"

namespace {

std::vector<int> EditionCodes() {
    std::vector<int> codes;
    for (int hw = 0; hw <= 1024; ++hw) {
        if (TargetSystem::HardwareName(hw) != "unknown") codes.push_back(hw);
    }
    return codes;
}

int DefaultSoftware(int hardware) {
    if (hardware == 1024) return 828;
    return TargetSystem::bIsNewPlatform(hardware) ? 818 : 788;
}

std::unique_ptr<OQuillonComInterface_TCP> Connect(const DevsimProcess& sim) {
    auto link = std::make_unique<OQuillonComInterface_TCP>(nullptr, nullptr, nullptr, nullptr, 0);
    link->SetAddress("127.0.0.1");
    link->SetPorts(sim.PortText(0), sim.PortText(1), sim.PortText(2));
    link->SetTimeOut_SEC(5);
    return link;
}

std::string RunCommand(const std::string& command) {
    std::string out;
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return out;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0)
        out.append(buffer, n);
    pclose(p);
    return out;
}

TEST(SimulatedEditions, EveryEditionIsIdentifiedAsItself) {
    const std::vector<int> codes = EditionCodes();
    ASSERT_EQ(codes.size(), 29u) << "the edition table of the target system";
    for (int hardware : codes) {
        SCOPED_TRACE("hardware " + std::to_string(hardware));
        DevsimProcess sim({"--hardware", std::to_string(hardware)});
        ASSERT_TRUE(sim.bIsReady());
        auto link = Connect(sim);
        ASSERT_EQ(link->iConnect(0, 0, 0, 0, 0, true, true), 1);
        ASSERT_EQ(link->uploadZRINFO(), 1);
        const ZRINFO& info = *link->opGetZRInfo_ComBuffer();
        const OIdentification id = DeviceIdentification::Identify(info, {});
        EXPECT_EQ(id.target.hardware, hardware) << info.GetDeviceTypeText();
        EXPECT_EQ(id.target.software, DefaultSoftware(hardware));
        EXPECT_FALSE(id.fallback);
        EXPECT_TRUE(id.messages.empty());
        EXPECT_EQ(id.fixedFeatures, TargetSystem::bIsNewPlatform(hardware) ? 0 : 12);
        link->iDisConnect(1, 0);
    }
}

TEST(SimulatedEditions, ATypeTextOfAnotherEditionIsTakenForThatEdition) {
    // The device's text decides, not its record's own hardware field.
    DevsimProcess sim({"--hardware", "9", "--device-type", "Rovan KR-3B"});
    ASSERT_TRUE(sim.bIsReady());
    auto link = Connect(sim);
    ASSERT_EQ(link->iConnect(0, 0, 0, 0, 0, true, true), 1);
    ASSERT_EQ(link->uploadZRINFO(), 1);
    EXPECT_EQ(DeviceIdentification::Identify(*link->opGetZRInfo_ComBuffer(), {}).target.hardware,
              517);
}

TEST(SimulatedEditions, DeviceInfoShowsTheIdentifiedTarget) {
    DevsimProcess sim({"--hardware", "769"});
    ASSERT_TRUE(sim.bIsReady());
    const std::string json = RunCommand(std::string(KALVOR_CTL_PATH) +
                                        " device info --json --host 127.0.0.1:" + sim.PortText(0));
    EXPECT_NE(json.find("\"source\": \"identified\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"hardwareName\": \"Sarn host b\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"fallback\": false"), std::string::npos) << json;

    DevsimProcess unknown({"--hardware", "1", "--device-type", "Mystery box"});
    ASSERT_TRUE(unknown.bIsReady());
    const std::string text = RunCommand(std::string(KALVOR_CTL_PATH) +
                                        " device info --host 127.0.0.1:" + unknown.PortText(0));
    EXPECT_NE(text.find("identified target:"), std::string::npos) << text;
    EXPECT_NE(text.find("Talon (1)"), std::string::npos) << text;
    EXPECT_NE(text.find("Mystery box"), std::string::npos) << text;
    EXPECT_NE(text.find("is not known"), std::string::npos) << "the 4202 message: " << text;
}

}  // namespace
