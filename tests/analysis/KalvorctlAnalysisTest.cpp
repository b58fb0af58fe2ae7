// kalvorctl search and kalvorctl accuracy end to end: the programs run as a user runs them,
// on files written here.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "model/strings/FormatPrintf.h"
#include "support/TempDir.h"
#include "support/ToolSearchParts.h"

namespace {

struct OResult {
    int status = -1;
    std::string out, err;
};

OResult Ctl(const std::string& arguments, const TempDir& dir) {
    OResult r;
    const std::string errFile = (dir / "stderr.txt").string();
    const std::string command = std::string(KALVOR_CTL_PATH) + " " + arguments + " 2>" + errFile;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        r.out.append(buffer, n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errFile);
    std::stringstream s;
    s << in.rdbuf();
    r.err = s.str();
    return r;
}

// Contour lines of mirrored parts in orientations 1 and 2.
std::string MirroredContours(int perClass) {
    std::string text;
    for (int i = 0; i < perClass; ++i) {
        for (int o = 1; o <= 2; ++o) {
            text += FormatPrintf("teach,1,%d", o);
            for (int16_t v : searchparts::BumpPart(searchparts::PartLength(i, 300, 101),
                                                   searchparts::PartHeight(i), o == 1))
                text += FormatPrintf(",%d", v);
            text += "\n";
        }
    }
    return text;
}

// A feature table of `n` sample parts of type 1 and orientation 1 (lengths 397 .. 403) and
// a few parts of orientation 2.
std::string FeatureTable(int n, bool allEqual = false) {
    std::string text = "kind,type,orientation,Length,Height\n";
    for (int i = 0; i < n; ++i)
        text += FormatPrintf("teach,1,1,%d,100\n", allEqual ? 400 : 400 + i % 7 - 3);
    for (int i = 0; i < 5; ++i)
        text += "teach,1,2,200,50\n";
    return text;
}

// The JSON text without the blanks and line breaks between its tokens.
std::string Compact(const std::string& json) {
    std::string out;
    bool inString = false;
    for (size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            out += c;
            if (c == '\\' && i + 1 < json.size())
                out += json[++i];
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
            out += c;
        } else if (c != ' ' && c != '\n' && c != '\r' && c != '\t') {
            out += c;
        }
    }
    return out;
}

void Write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

TEST(KalvorctlSearch, AddsTheToolThatRemovesTheE20AndWritesTheProject) {
    TempDir dir;
    Write(dir / "parts.csv", MirroredContours(12));
    const std::string out = (dir / "out.zrp").string();
    OResult r =
        Ctl("search " + (dir / "parts.csv").string() + " " + out + " --step large --json", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    r.out = Compact(r.out);
    EXPECT_NE(r.out.find("\"step\":\"large\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"name\":\"1/1->2/1\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"before\":{\"teachError\":20,\"e20\":[\"1/1->1/2\"],\"e21\":[]}"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"after\":{\"teachError\":0,\"e20\":[],\"e21\":[]}"), std::string::npos)
        << r.out;
    // The written project holds the tool, which separates the orientations from the start.
    OResult info = Ctl("info " + out + " --json --no-settings", dir);
    ASSERT_EQ(info.status, 0) << info.err;
    info.out = Compact(info.out);
    EXPECT_NE(info.out.find("\"tools\":1"), std::string::npos) << info.out;
    const OResult again = Ctl("search " + out + " " + (dir / "again.zrp").string(), dir);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("Before: teach error 0\n"), std::string::npos) << again.out;
}

TEST(KalvorctlSearch, BadArgumentsAndInputs) {
    TempDir dir;
    Write(dir / "parts.csv", MirroredContours(2));
    const std::string parts = (dir / "parts.csv").string();
    EXPECT_EQ(Ctl("search " + parts, dir).status, 2);
    EXPECT_EQ(Ctl("search " + parts + " a.zrp --minutes 0", dir).status, 2);
    EXPECT_EQ(Ctl("search " + parts + " a.zrp --minutes 1441", dir).status, 2);
    EXPECT_EQ(Ctl("search " + parts + " a.zrp --step tiny", dir).status, 2);
    Write(dir / "bad.csv", "teach,x,1,10,-20\n");
    const OResult bad = Ctl("search " + (dir / "bad.csv").string() + " a.zrp", dir);
    EXPECT_EQ(bad.status, 1);
    EXPECT_FALSE(bad.err.empty());
    const OResult missing = Ctl("search " + (dir / "none.zrp").string() + " a.zrp", dir);
    EXPECT_EQ(missing.status, 1);
}

TEST(KalvorctlAccuracy, FiguresOfSixtyValues) {
    TempDir dir;
    Write(dir / "table.csv", FeatureTable(63));
    OResult r = Ctl("accuracy " + (dir / "table.csv").string() +
                        " --feature 1 --measured 20 --tolerance 0.5 --json",
                    dir);
    ASSERT_EQ(r.status, 0) << r.err;
    r.out = Compact(r.out);
    EXPECT_NE(r.out.find("\"values\":63"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"mean\":400"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"resolution\":0.05"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"tolerance\":0.5"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"featureName\":\"Length\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"type\":\"Certain range\",\"value\":\"19.6500 .. 20.3500\""),
              std::string::npos)
        << r.out;
    // The share of uncertain parts given: the tolerance comes out.
    const OResult u =
        Ctl("accuracy " + (dir / "table.csv").string() + " --feature 1 --measured 20 --uncertain 5",
            dir);
    ASSERT_EQ(u.status, 0) << u.err;
    EXPECT_NE(u.out.find("Uncertain decision at\t5\t% test parts"), std::string::npos) << u.out;
}

TEST(KalvorctlAccuracy, RefusalsAndOpenResults) {
    TempDir dir;
    Write(dir / "few.csv", FeatureTable(49));
    const OResult few =
        Ctl("accuracy " + (dir / "few.csv").string() + " --feature 1 --measured 20", dir);
    EXPECT_EQ(few.status, 1);
    EXPECT_NE(few.err.find("The evaluation can not be done since there are less than 50 values."),
              std::string::npos)
        << few.err;

    Write(dir / "table.csv", FeatureTable(50, true));
    const OResult zero =
        Ctl("accuracy " + (dir / "table.csv").string() + " --feature 1 --measured 0", dir);
    EXPECT_EQ(zero.status, 1);
    EXPECT_EQ(zero.out, "Mean value: --\nResolution: --\nAverage error: --\nMax. error: --\n");
    OResult equal =
        Ctl("accuracy " + (dir / "table.csv").string() + " --feature 1 --measured 20 --json", dir);
    ASSERT_EQ(equal.status, 0) << equal.err;
    equal.out = Compact(equal.out);
    EXPECT_NE(equal.out.find("\"cgm\":null"), std::string::npos) << equal.out;
    EXPECT_NE(equal.out.find("\"cgm\":\"Error, std.dev.=0\""), std::string::npos) << equal.out;

    EXPECT_EQ(
        Ctl("accuracy " + (dir / "table.csv").string() + " --feature 9 --measured 20", dir).status,
        2);
    EXPECT_EQ(Ctl("accuracy " + (dir / "table.csv").string() + " --measured 20", dir).status, 2);
    EXPECT_EQ(Ctl("accuracy " + (dir / "table.csv").string() +
                      " --feature 1 --measured 20 --tolerance 1 --uncertain 5",
                  dir)
                  .status,
              2);
}
