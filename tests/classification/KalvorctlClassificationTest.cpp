// kalvorctl teach / evaluate / classify, run as the program a user starts.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

#include "model/partset/OType_ZRPartSet.h"
#include "support/TempDir.h"

namespace {

struct ORun {
    int status = -1;
    std::string out;
};

ORun RunCtl(const std::string& arguments) {
    ORun run;
    const std::string command = std::string(KALVOR_CTL_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer;
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Write(const TempDir& dir, const std::string& name, const std::string& text) {
    const std::string path = (dir / name).string();
    std::ofstream(path) << text;
    return path;
}

TEST(KalvorctlTeach, TouchingOrientationsReportE20WithThePairs) {
    TempDir dir;
    const std::string file = Write(dir, "touch.csv",
                                   "kind,type,orientation,Length,Height\n"
                                   "teach,1,1,10,20\n"
                                   "teach,1,1,12,20\n"
                                   "teach,1,2,12,20\n"
                                   "teach,1,2,14,20\n"
                                   "teach,1,3,30,20\n");
    const ORun run = RunCtl("teach " + file + " --json");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\"teachError\": 20"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"e20\": [\n    \"1/1->1/2\"\n  ]"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"e21\": []"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"name\": \"Length\""), std::string::npos);
    // The pair 1/1 -> 1/3 is separated by feature 1, the touching pair by none.
    EXPECT_NE(run.out.find("\"orientationB\": 2,\n      \"feature\": null"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"orientationB\": 3,\n      \"feature\": 1"), std::string::npos)
        << run.out;
}

TEST(KalvorctlTeach, TouchingTypesReportE21AndTheToleranceIsApplied) {
    TempDir dir;
    const std::string file =
        Write(dir, "types.csv", "teach,1,1,10\nteach,1,1,12\nteach,2,1,12\nteach,2,1,14\n");
    const ORun run = RunCtl("teach " + file + " --json --tolerance 0 --type 2");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\"teachError\": 21"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"e21\": [\n    \"1/1->2/1\"\n  ]"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"type\": 2,\n  \"tolerance\": 0"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"lowerBound\": 12,"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"upperBound\": 14,"), std::string::npos) << run.out;
}

TEST(KalvorctlEvaluateAndClassify, RowsAndResults) {
    TempDir dir;
    const std::string file =
        Write(dir, "parts.csv", "teach,1,1,100\nteach,1,2,200\ntest,1,1,101\ntest,1,1,190\n");
    ORun run = RunCtl("evaluate " + file + " --json");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\"text\": \"Used tools: 0\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"text\": \"Separation of Orient. 1 from Orient. 2 is very good\""),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"command\": 32861"), std::string::npos);

    run = RunCtl("classify " + file + " --json");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\"part\": 2,\n      \"type\": 1,\n      \"orientation\": 2"),
              std::string::npos)
        << run.out;
    // 101 lies 1 above the mean 100 of a band 5 wide: 20 %, inside.
    EXPECT_NE(run.out.find("\"results\": [\n        20,"), std::string::npos) << run.out;
}

TEST(KalvorctlTeach, Family2TextAndInvalidValues) {
    TempDir dir;
    const std::string file =
        Write(dir, "kvt.csv", "teach,1,1,\"AB\",5\nteach,1,1,\"AB\",\nteach,1,2,\"CD\",9\n");
    const ORun run = RunCtl("teach " + file + " --json --family 2");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\"classText\": \"AB\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"validCount\": 1"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"state\": 8"), std::string::npos) << run.out;
}

TEST(KalvorctlTeach, BadInputAndUsage) {
    TempDir dir;
    const std::string file = Write(dir, "bad.csv", "teach,1,1,1\nteach,1,1,x\n");
    ORun run = RunCtl("teach " + file + " --json");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("line 2, column 11"), std::string::npos) << run.out;
    run = RunCtl("teach");
    EXPECT_EQ(run.status, 2);
    run = RunCtl("teach " + file + " --tolerance 21");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("--tolerance needs a number in 0..20"), std::string::npos) << run.out;
    run = RunCtl("teach " + file + " --family 2 --hardware 2");
    EXPECT_EQ(run.status, 2);
    run = RunCtl("teach " + (dir / "project.zrp").string());
    EXPECT_EQ(run.status, 1) << "a missing project fails with the loader's message";
    EXPECT_NE(run.out.find("project.zrp"), std::string::npos) << run.out;
}

// A part list of rectangles: orientation 1 wide and low, orientation 2 narrow and tall.
TEST(KalvorctlTeach, PartListsGetTheirFeaturesExtractedFirst) {
    TempDir dir;
    OType_ZRPartSet set;
    for (int i = 0; i < 4; ++i) {
        for (int orientation : {1, 2}) {
            const int width = orientation == 1 ? 60 + i : 20 + i;
            const int height = orientation == 1 ? 30 : 90;
            std::vector<int16_t> runs;
            for (int x = 0; x < width; ++x) {
                runs.push_back(10);
                runs.push_back(static_cast<int16_t>(-(10 + height)));
            }
            OType_Part part;
            part.SetOrientation(orientation);
            part.SetConturData(std::move(runs));
            set.TeachParts().Add(std::move(part));
        }
    }
    const std::string file = (dir / "parts.zrl").string();
    ASSERT_EQ(set.iParts2File(true, file, 1, nullptr), 1);
    const ORun run = RunCtl("teach " + file + " --json");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\"teachError\": 0"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"featureCount\": 12"), std::string::npos) << run.out;
    // The length of orientation 2 spans 20..23 columns.
    EXPECT_NE(run.out.find("\"name\": \"Length\",\n          \"minimum\": 20,"), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"tolerance\": 5"), std::string::npos) << "part lists take --tolerance";
}

}  // namespace
