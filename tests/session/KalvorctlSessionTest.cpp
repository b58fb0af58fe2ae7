// A whole device session from the command line: identify the device into a new project,
// record 50 sample parts into it, send its check program, fetch it back and compare; and
// the part data of a part type there and back.
#include <cstdio>
#include <regex>

#include "SessionTestSupport.h"
#include "link/OQuillonComInterface_TCP.h"
#include "model/partset/PartDataEncoding.h"
#include "model/strings/ResStr.h"

using namespace sessiontest;

namespace {

struct ORun {
    int status = -1;
    std::string output;
};

ORun Kalvorctl(const std::string& arguments) {
    ORun r;
    FILE* p = popen((std::string(KALVOR_CTL_PATH) + " " + arguments + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0)
        r.output.append(buffer, n);
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string Fingerprint(const std::string& output) {
    std::smatch m;
    static const std::regex pattern(R"(\((\d+ bytes, CRC-32 [0-9a-f]{8})\))");
    return std::regex_search(output, m, pattern) ? m[1].str() : std::string();
}

struct OLoaded {
    explicit OLoaded(const std::string& path) {
        std::string error;
        loaded = headless.Doc().LoadProjectFile(path, error, 1) == 1;
    }
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    OHeadlessDocument headless{settings, &ui};
    bool loaded = false;
    OType_ZRPartSet& Set() { return *headless.Session().opGetActualPartSet(); }
};

TEST(KalvorctlSession, IdentifyRecordSendFetchAndCompare) {
    DevsimProcess sim({"--hardware", "16", "--rate", "200", "--schedule", "1:1x50"});
    ASSERT_TRUE(sim.bIsReady());
    TempDir dir;
    const std::string host = " --host 127.0.0.1:" + sim.PortText(0);
    const std::string project = (dir / "line.kvp").string();
    const std::string fetched = (dir / "fetched.kvp").string();

    ORun r = Kalvorctl("device identify" + host + " --project " + project);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("Tamrin (16), Config V3.5 (818)"), std::string::npos) << r.output;
    ASSERT_TRUE(std::filesystem::exists(project));

    r = Kalvorctl("device record" + host + " --count 50 --teach --orientation 2 " + project);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("recorded 50 sample parts"), std::string::npos) << r.output;
    {
        OLoaded p(project);
        ASSERT_TRUE(p.loaded);
        EXPECT_EQ(p.headless.Session().GetTargetSystem().hardware, 16);
        const OType_PartArray& teach = p.Set().TeachParts();
        ASSERT_EQ(teach.iGetSize(), 50);
        for (int i = 0; i < 50; ++i) {
            EXPECT_TRUE(teach.GetAt_NoSort(i)->bIsTeachPart());
            EXPECT_EQ(teach.GetAt_NoSort(i)->iGetOrientation(), 2);
            EXPECT_EQ(teach.GetAt_NoSort(i)->iGetRecordNo(), i + 1);
            EXPECT_GT(teach.GetAt_NoSort(i)->iGetConturDataSize(), 2);
        }
    }

    r = Kalvorctl("device send " + project + " --program 3" + host);
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string sent = Fingerprint(r.output);
    ASSERT_FALSE(sent.empty()) << r.output;

    r = Kalvorctl("device fetch --program 3" + host + " " + fetched);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(Fingerprint(r.output), sent) << "the device returned what it was sent";
    OLoaded p(project);
    OLoaded f(fetched);
    ASSERT_TRUE(p.loaded);
    ASSERT_TRUE(f.loaded);
    EXPECT_TRUE(f.Set().TeachParts().bIsEmpty()) << "a check program carries no parts";
    EXPECT_EQ(f.Set().iGetNum_SubTypes(), p.Set().iGetNum_SubTypes());
    EXPECT_EQ(f.Set().GetName(), p.Set().GetName());
    EXPECT_EQ(f.Set().Tools().iGetNum(), p.Set().Tools().iGetNum());
    EXPECT_EQ(f.headless.Session().GetTargetSystem(), p.headless.Session().GetTargetSystem());

    r = Kalvorctl("device fetch --program 9" + host + " " + (dir / "none.kvp").string());
    EXPECT_EQ(r.status, 1) << "nothing stored under 9";
    EXPECT_NE(r.output.find(ResStr(2073)), std::string::npos) << r.output;
}

TEST(KalvorctlSession, PartDataThereAndBack) {
    DevsimProcess sim({"--hardware", "1", "--rate", "200"});
    ASSERT_TRUE(sim.bIsReady());
    TempDir dir;
    const std::string host = " --host 127.0.0.1:" + sim.PortText(0);
    const std::string project = (dir / "classic.zrp").string();
    ORun r = Kalvorctl("device identify --json" + host + " --project " + project);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("\"hardwareName\": \"Talon\""), std::string::npos) << r.output;
    // Teach-Data of part type 1 come from recorded sample parts.
    r = Kalvorctl("device record" + host + " --count 10 --teach " + project);
    ASSERT_EQ(r.status, 0) << r.output;
    r = Kalvorctl("device partdata send " + project + " --type 1 --number 4" + host);
    ASSERT_EQ(r.status, 0) << r.output;
    std::vector<uint8_t> expected;
    {
        OLoaded p(project);
        ASSERT_TRUE(p.loaded);
        ASSERT_TRUE(p.Set().opGetSubType(0)->bHasData());
        int protocol = -1;
        ASSERT_EQ(iEncodePartSet_SubType_PartData(p.Set(), 0, 1, expected, protocol), 1);
        ASSERT_EQ(protocol, 0);
    }
    {
        // The device holds the legacy record of the part type under number 4.
        OQuillonComInterface_TCP link(nullptr, nullptr, nullptr, nullptr, 0);
        link.SetAddress("127.0.0.1");
        link.SetPorts(sim.PortText(0), sim.PortText(1), sim.PortText(2));
        ASSERT_EQ(link.iConnect(0, 0, 0, 0, 0, true, true), 1);
        OLegacyTransferBuffer& buffer = link.opGetTransferBuffer();
        buffer.SetNumber(4);
        ASSERT_EQ(link.uploadPARAME(), 1);
        EXPECT_TRUE(std::equal(buffer.parameters.begin(), buffer.parameters.begin() + 2042,
                               expected.begin() + 2));
        buffer.PutNumberIntoBytes(4);
        ASSERT_EQ(link.uploadCONDAT(), 1);
        EXPECT_TRUE(std::equal(buffer.conditions.begin(), buffer.conditions.end(),
                               expected.begin() + 2046));
        link.iDisConnect(0, 0);
    }
    const std::string back = (dir / "back.zrp").string();
    r = Kalvorctl("device partdata fetch " + project + " " + back + " --type 1 --number 4" + host);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("fetched part data 4 into part type 1"), std::string::npos) << r.output;
    EXPECT_TRUE(OLoaded(back).loaded);
    r = Kalvorctl("device partdata fetch " + project + " --type 7 --number 4" + host);
    EXPECT_EQ(r.status, 1) << "the project has no part type 7";
    EXPECT_EQ(Kalvorctl("device partdata push " + project + host).status, 2);
}

}  // namespace
