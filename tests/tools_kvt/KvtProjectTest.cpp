// Family-2 projects through the document and kalvorctl: features recomputed after every
// change of tools, tools added, listed, set and removed from the command line as the
// desktop's session does it, and extract, parts --runs on real project files.
#include <gtest/gtest.h>

#include <regex>

#include "KvtTestSupport.h"
#include "device/OQuillon.h"
#include "device/TargetSystemSettings.h"
#include "document/OHeadlessDocument.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"
#include "support/CtlRun.h"
#include "support/TempDir.h"

using namespace KvtTest;

namespace {

constexpr OTargetSystem kCamera{7, 818, 0, 16, 1, 8};

// A dark box of the given width on a bright 640 x 480 image.
OType_Image BoxImage(int boxWidth) {
    return GreyImage(640, 480, [boxWidth](int x, int y) {
        return x >= 100 && x < 100 + boxWidth && y >= 100 && y < 200 ? 30 : 220;
    });
}

struct OCameraProject {
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    std::unique_ptr<OHeadlessDocument> headless;

    OCameraProject() {
        TargetSystemSettings::WriteTarget(settings, kCamera);
        headless = std::make_unique<OHeadlessDocument>(settings, &ui);
        headless->Doc().OnNewDocument();
        headless->Doc().SetBusy(0);
    }
    OType_ZRPartSet& Set() { return *headless->Session().opGetActualPartSet(); }
    void AddParts(std::initializer_list<int> widths, bool teach = true) {
        int n = 0;
        for (int w : widths) {
            OType_Part part = PartWithImage(BoxImage(w));
            part.SetOrientation(1 + n++ % 2);
            part.SetTeachPart(teach);
            (teach ? Set().TeachParts() : Set().TestParts()).Add(std::move(part));
        }
    }
    std::string Save(const TempDir& dir, const std::string& name) {
        std::string error;
        EXPECT_EQ(headless->Doc().WriteProjectFile((dir / name).string(), error), 1) << error;
        return name;
    }
};

// The numbers after "value": in kalvorctl's JSON, in order.
std::vector<double> Values(const std::string& json) {
    std::vector<double> values;
    const std::regex number("\"value\": (-?[0-9.eE+-]+)");
    for (auto it = std::sregex_iterator(json.begin(), json.end(), number);
         it != std::sregex_iterator(); ++it)
        values.push_back(std::stod((*it)[1]));
    return values;
}

}  // namespace

TEST(KvtProject, EveryToolChangeRecomputesTheFeatures) {
    OCameraProject p;
    p.AddParts({50, 120});
    OQuillon& session = p.headless->Session();
    OType_ConfigTool* tool = session.AddTool(p.Set(), KvtToolKind::kROI, -1, 0);
    ASSERT_NE(tool, nullptr);
    std::string error;
    ASSERT_TRUE(session.bApplyToolProperties(p.Set(), *tool,
                                             {{"image", int64_t{1}},
                                              {"region.x", 299.5},
                                              {"region.y", 149.5},
                                              {"region.width", 400.0},
                                              {"region.height", 100.0}},
                                             error))
        << error;
    const OType_Part& first = *p.Set().TeachParts().GetAt_NoSort(0);
    const OType_Part& second = *p.Set().TeachParts().GetAt_NoSort(1);
    ASSERT_EQ(first.Features().iGetNumOfFeatures(), 2);
    EXPECT_DOUBLE_EQ(first.Features().At(0).value, 50 * 100);
    EXPECT_DOUBLE_EQ(second.Features().At(0).value, 120 * 100);
    EXPECT_EQ(p.Set().UndoRedo().GetUndoShortText(), "UNDO:Tool properties changed");
    // A narrower region over the left part of the boxes: the features follow at once.
    ASSERT_TRUE(session.bApplyToolProperties(
        p.Set(), *tool, {{"region.x", 149.5}, {"region.width", 100.0}}, error));
    EXPECT_DOUBLE_EQ(first.Features().At(0).value, 50 * 100);
    EXPECT_DOUBLE_EQ(second.Features().At(0).value, 100 * 100);
    // Undo brings the wider region and its features back.
    p.headless->Doc().OnCommand(57643, 0);
    const OType_Part& again = *p.Set().TeachParts().GetAt_NoSort(1);
    EXPECT_DOUBLE_EQ(again.Features().At(0).value, 120 * 100);
    // Removing the tool leaves the parts without features.
    EXPECT_EQ(session.RemoveToolWithDependents(p.Set(), 0), (std::vector<std::string>{"ROI 1"}));
    EXPECT_EQ(p.Set().TeachParts().GetAt_NoSort(0)->Features().iGetNumOfFeatures(), 0);
}

TEST(KvtProject, RemovingAToolRemovesTheToolsThatReadIt) {
    OCameraProject p;
    OQuillon& session = p.headless->Session();
    OType_ConfigTool* blob = session.AddTool(p.Set(), KvtToolKind::kBlobPlus, -1, 0);
    OType_ConfigTool* other = session.AddTool(p.Set(), KvtToolKind::kROI, -1, 0);
    OType_ConfigTool* math =
        session.AddTool(p.Set(), KvtToolKind::kCombination, KvtSubKind::kMathLogic, 0);
    OType_ConfigTool* world =
        session.AddTool(p.Set(), KvtToolKind::kCombination, KvtSubKind::kMathLogic, 0);
    ASSERT_TRUE(blob && other && math && world);
    std::string error;
    ASSERT_TRUE(session.bApplyToolProperties(
        p.Set(), *math, {{"math.a", OKvtFeatureRef{blob->iGetToolId(), 2}.ChoiceValue()}}, error))
        << error;
    // The second reads the first math tool: it goes as well, through it.
    ASSERT_TRUE(session.bApplyToolProperties(
        p.Set(), *world, {{"math.a", OKvtFeatureRef{math->iGetToolId(), 0}.ChoiceValue()}}, error))
        << error;
    const std::vector<std::string> removed = session.RemoveToolWithDependents(p.Set(), 0);
    EXPECT_EQ(removed, (std::vector<std::string>{"Blob finder+ 1", "Math 1", "Math 2"}));
    ASSERT_EQ(p.Set().Tools().iGetNum(), 1);
    EXPECT_EQ(p.Set().Tools().opGetAt(0)->GetName(), "ROI 1");
}

TEST(KvtProject, ApplyingRefusedValuesChangesNothing) {
    OCameraProject p;
    OQuillon& session = p.headless->Session();
    OType_ConfigTool* tool = session.AddTool(p.Set(), KvtToolKind::kBlob, -1, 0);
    ASSERT_NE(tool, nullptr);
    const std::string undo = p.Set().UndoRedo().GetUndoShortText();
    std::string error;
    EXPECT_FALSE(session.bApplyToolProperties(
        p.Set(), *tool, {{"blob.minarea", int64_t{500}}, {"blob.maxarea", int64_t{100}}}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(p.Set().UndoRedo().GetUndoShortText(), undo) << "no undo step";
    // Values that change nothing store no step either.
    ASSERT_TRUE(
        session.bApplyToolProperties(p.Set(), *tool, {{"blob.minarea", int64_t{10}}}, error));
    EXPECT_EQ(p.Set().UndoRedo().GetUndoShortText(), undo);
}

// --- kalvorctl ---

TEST(KvtKalvorctl, ToolsAreAddedListedSetAndRemoved) {
    TempDir dir;
    OCameraProject p;
    p.AddParts({50, 120, 80});
    p.Save(dir, "a.kvp");
    CtlRun run = Ctl(dir.Path(), {"tool", "add", "a.kvp", "b.kvp", "--kind", "100", "--region",
                                  "100,100,400,100", "--set", "image=1", "--no-settings"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "added 1. ROI 1, features 1-2\n");
    run = Ctl(dir.Path(), {"tool", "add", "b.kvp", "c.kvp", "--kind", "114", "--subkind", "800",
                           "--region", "60,120,100,40", "--set", "image=Camera image 1", "--set",
                           "name=Left edge", "--no-settings"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = Ctl(dir.Path(), {"tool", "list", "c.kvp", "--json", "--no-settings"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"name\": \"Left edge\""), std::string::npos);
    EXPECT_NE(run.out.find("\"kind\": 114"), std::string::npos);
    EXPECT_NE(run.out.find("\"name\": \"region.angle\""), std::string::npos);
    EXPECT_NE(run.out.find("\"name\": \"edge.contrast\""), std::string::npos);

    // The features of the saved project are those of the tools on the parts.
    run = Ctl(dir.Path(), {"extract", "c.kvp", "--json", "--no-settings"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<double> v = Values(run.out);
    // Per part: ROI area, share, then the edge finder's five features.
    ASSERT_EQ(v.size(), 3u * 7);
    EXPECT_DOUBLE_EQ(v[0], 5000);
    EXPECT_DOUBLE_EQ(v[7], 12000);
    EXPECT_DOUBLE_EQ(v[14], 8000);
    EXPECT_DOUBLE_EQ(v[2], 40) << "the edge at x = 100, 40 from the region's start";

    run = Ctl(dir.Path(), {"tool", "set", "c.kvp", "d.kvp", "--tool", "1", "--set",
                           "material.outside=1", "--no-settings"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = Ctl(dir.Path(), {"extract", "d.kvp", "--json", "--no-settings"});
    EXPECT_DOUBLE_EQ(Values(run.out)[0], 40000 - 5000);

    run = Ctl(dir.Path(), {"tool", "remove", "d.kvp", "e.kvp", "--tool", "1", "--no-settings"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "removed ROI 1\n");
    run = Ctl(dir.Path(), {"tool", "list", "e.kvp", "--no-settings"});
    EXPECT_EQ(run.out.rfind("1. Left edge (kind 114, sub-kind 800), features 1-5\n", 0), 0u)
        << run.out;
}

TEST(KvtKalvorctl, BadRequestsAreRefusedWithAReason) {
    TempDir dir;
    OCameraProject p;
    p.Save(dir, "a.kvp");
    auto refused = [&](std::vector<std::string> args, int status, const std::string& reason) {
        args.push_back("--no-settings");
        const CtlRun run = Ctl(dir.Path(), args);
        EXPECT_EQ(run.status, status) << run.err;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "b.kvp"));
    };
    refused({"tool", "add", "a.kvp", "b.kvp"}, 2, "usage");
    refused({"tool", "add", "a.kvp", "b.kvp", "--kind", "1"}, 1, "allows no tool of kind 1");
    refused({"tool", "add", "a.kvp", "b.kvp", "--kind", "177"}, 1, "no tool of kind 177");
    refused({"tool", "add", "a.kvp", "b.kvp", "--kind", "103", "--set", "nothing=1"}, 1,
            "no property \"nothing\"");
    refused({"tool", "add", "a.kvp", "b.kvp", "--kind", "103", "--set", "blob.minarea=-3"}, 1,
            "must lie within");
    refused({"tool", "add", "a.kvp", "b.kvp", "--kind", "103", "--region", "1,2,0,4"}, 2,
            "--region");
    refused({"tool", "set", "a.kvp", "b.kvp", "--tool", "1", "--set", "name=x"}, 1, "no tool 1");
    refused({"tool", "remove", "a.kvp", "b.kvp"}, 2, "usage");
    refused({"tool", "list", "missing.kvp"}, 1, "missing.kvp");
}

TEST(KvtKalvorctl, PartsShowTheirRunListsOnRequest) {
    TempDir dir;
    OCameraProject p;
    OType_Part part = PartWithImage(BoxImage(10));
    part.SetConturData({3, -7, 1, -1, 2, 4, 6, -9});
    p.Set().TeachParts().Add(std::move(part));
    p.Save(dir, "a.kvp");
    CtlRun run = Ctl(dir.Path(), {"parts", "a.kvp", "--json", "--runs"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::regex runs("\"runs\": \\[([^\\]]*)\\]");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(run.out, m, runs)) << run.out;
    std::string values = m[1];
    values.erase(std::remove_if(values.begin(), values.end(), ::isspace), values.end());
    EXPECT_EQ(values, "3,-7,1,-1,2,4,6,-9");
    EXPECT_NE(run.out.find("\"images\": 1"), std::string::npos);
    run = Ctl(dir.Path(), {"parts", "a.kvp", "--json"});
    EXPECT_EQ(run.out.find("\"runs\""), std::string::npos);
}
