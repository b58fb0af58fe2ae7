// kalvorctl's extraction verbs end to end.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "document/OHeadlessDocument.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"
#include "support/TempDir.h"

namespace {

struct OResult {
    int status = -1;
    std::string out;
};

OResult Ctl(const std::string& arguments) {
    OResult r;
    const std::string command = std::string(KALVOR_CTL_PATH) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        r.out.append(buffer, n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

void Write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(Kalvorctl, FeaturesOfContoursGivenAsText) {
    TempDir dir;
    Write(dir / "c.csv", "teach,1,1,10,-20\n# skipped\ntest,2,3,10,-20\n");
    const OResult plain = Ctl("features --csv " + (dir / "c.csv").string());
    ASSERT_EQ(plain.status, 0);
    // Rows 11..20: sum y 155, sum y^2 2485; moment y = 2485 - floor(155^2 / 10) = 83.
    // Under the variant rule the top point of a column only lowers the minimum radius, so
    // the largest radius is the bottom point's 4.5, and the x moment is one more.
    EXPECT_EQ(plain.out,
              "teach,1,1,1,10,10,22,0,5,15.5,0,4.5,5.5,0,83\n"
              "test,2,3,1,10,10,22,0,5,15.5,0,4.5,5.5,0,83\n");
    const OResult variant = Ctl("features --csv " + (dir / "c.csv").string() + " --sw 258");
    EXPECT_EQ(variant.out.substr(0, variant.out.find('\n')),
              "teach,1,1,1,10,10,22,0,5,15.5,0,4.5,4.5,1,83");
    const OResult json = Ctl("features --csv " + (dir / "c.csv").string() + " --json");
    ASSERT_EQ(json.status, 0);
    EXPECT_NE(json.out.find("\"name\": \"Centre of gravity Y\""), std::string::npos);
    EXPECT_NE(json.out.find("\"kind\": \"test\""), std::string::npos);
    EXPECT_NE(json.out.find("\"value\": 15.5"), std::string::npos);
}

TEST(Kalvorctl, ContourEditsAndTheExtractedParts) {
    TempDir dir;
    Write(dir / "in.txt", "teach,1,2,10,20,22,-30\nteach,1,1,0,-5\n");
    ASSERT_EQ(
        Ctl("contour holes 3 " + (dir / "in.txt").string() + " " + (dir / "h.zrl").string()).status,
        0);
    const OResult parts = Ctl("parts " + (dir / "h.zrl").string() + " --json");
    ASSERT_EQ(parts.status, 0);
    EXPECT_NE(parts.out.find("\"comment\": \"(filtered: holes < 3)\""), std::string::npos);
    EXPECT_NE(parts.out.find("\"orientation\": 2"), std::string::npos);
    EXPECT_NE(parts.out.find("\"name\": \"Area\",\n          \"value\": 20,"), std::string::npos);
    EXPECT_NE(parts.out.find("\"valid\": true"), std::string::npos);
    // Undo in a later call: the binary list kept the backup.
    ASSERT_EQ(
        Ctl("contour undo " + (dir / "h.zrl").string() + " " + (dir / "u.txt").string()).status, 0);
    EXPECT_EQ(Read(dir / "u.txt"), "teach,1,2,10,20,22,-30\nteach,1,1,0,-5\n");
    ASSERT_EQ(
        Ctl("contour or " + (dir / "in.txt").string() + " " + (dir / "o.txt").string()).status, 0);
    EXPECT_EQ(Read(dir / "o.txt"),
              "teach,1,2,10,20,22,-30\nteach,1,1,0,-5\nteach,1,2,0,5,10,20,22,-30\n");
    ASSERT_EQ(Ctl("contour mirror-h " + (dir / "in.txt").string() + " " + (dir / "m.txt").string() +
                  " --height 100")
                  .status,
              0);
    EXPECT_EQ(Read(dir / "m.txt"), "teach,1,2,70,78,80,-90\nteach,1,1,95,-100\n");
}

TEST(Kalvorctl, PartsOfAProjectWithItsTools) {
    TempDir dir;
    const std::string path = (dir / "p.zrp").string();
    {
        OSettings_Memory settings;
        settings.SetInt("Settings", "TARGET_SYSTEM_HW", 1);
        settings.SetInt("Settings", "TARGET_SYSTEM_SW", 778);
        OUserInteraction_Scripted ui;
        OHeadlessDocument headless(settings, &ui);
        headless.Doc().OnNewDocument();
        headless.Doc().SetBusy(0);
        OType_ZRPartSet& ps = *headless.Session().opGetActualPartSet();
        auto tool = ps.ToolPrototypes().Create(1);
        ASSERT_TRUE(tool);
        tool->SetName("Window");
        tool->SetRegion({0, 0, 1, 99});
        ps.Tools().Add(std::move(tool));
        auto part = std::make_unique<OType_Part>();
        part->SetConturData({10, -20, 10, -30, 10, -40});
        part->SetOrientation(1);
        part->SetComment("from the device");
        ps.TeachParts().Add(std::move(part));
        std::string error;
        ASSERT_EQ(headless.Doc().WriteProjectFile(path, error), 1) << error;
    }
    const OResult r = Ctl("parts " + path + " --json");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\"comment\": \"from the device\""), std::string::npos);
    // The ROI over the first two columns: 10 + 20 pixels.
    EXPECT_NE(r.out.find("\"name\": \"ROI area\",\n          \"value\": 30,"), std::string::npos)
        << r.out;
    EXPECT_EQ(Ctl("contour holes 2 " + path + " " + (dir / "x.txt").string()).status, 2);
}

TEST(Kalvorctl, UsageAndFileErrors) {
    TempDir dir;
    EXPECT_EQ(Ctl("contour thin 0 a b").status, 2);
    EXPECT_EQ(Ctl("contour view 1 a b").status, 2);
    EXPECT_EQ(Ctl("contour spin a b").status, 2);
    EXPECT_EQ(Ctl("features " + (dir / "x").string()).status, 2);
    EXPECT_EQ(Ctl("parts").status, 2);
    EXPECT_EQ(Ctl("parts " + (dir / "missing.zrl").string()).status, 1);
    Write(dir / "bad.csv", "teach,1,1,70000\n");
    EXPECT_EQ(Ctl("features --csv " + (dir / "bad.csv").string()).status, 1);
}
