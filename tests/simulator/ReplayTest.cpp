// kalvor-devsim --replay: the parts of a recording come back in diagnostic mode, in order and
// then again, with their camera images as recorded and the device's own results.
#include <gtest/gtest.h>

#include <fstream>

#include "model/partset/OType_ZRPartSet.h"
#include "support/CtlRun.h"
#include "support/DevsimProcess.h"
#include "support/TempDir.h"

namespace {

const std::vector<std::string> kCamera = {"--hardware",     "7", "--image", "320x240",
                                          "--pixel-format", "8", "--rate",  "0"};

std::vector<std::string> CameraWith(std::vector<std::string> more) {
    std::vector<std::string> options = kCamera;
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

std::unique_ptr<OType_ZRPartSet> Load(const std::filesystem::path& file) {
    auto set = std::make_unique<OType_ZRPartSet>();
    std::string error;
    EXPECT_EQ(set->iLoadParts(file, false, &error), 1) << error;
    return set;
}

void Record(const TempDir& dir, const std::string& host, int count, const std::string& file) {
    const CtlRun run = Ctl(dir.Path(), {"device", "record", "--host", host, "--count",
                                        std::to_string(count), "--test", "--images", file});
    ASSERT_EQ(run.status, 0) << run.err;
}

TEST(Replay, RecordedPartsComeBackInOrderAndThenAgain) {
    TempDir dir;
    {
        DevsimProcess line(CameraWith({"--label-parts", "--schedule", "1:1,2:1,3:1"}));
        ASSERT_TRUE(line.bIsReady());
        ASSERT_NO_FATAL_FAILURE(Record(dir, "127.0.0.1:" + line.PortText(0), 3, "line.kvl"));
    }
    DevsimProcess replay(CameraWith({"--replay", (dir / "line.kvl").string()}));
    ASSERT_TRUE(replay.bIsReady()) << replay.ReadyLine();
    ASSERT_NO_FATAL_FAILURE(Record(dir, "127.0.0.1:" + replay.PortText(0), 7, "again.kvl"));

    const auto recorded = Load(dir / "line.kvl");
    const auto replayed = Load(dir / "again.kvl");
    ASSERT_EQ(recorded->TestParts().iGetSize(), 3);
    ASSERT_EQ(replayed->TestParts().iGetSize(), 7);
    for (int i = 0; i < 7; ++i) {
        const OType_Part& original = *recorded->TestParts().GetAt_NoSort(i % 3);
        const OType_Part& again = *replayed->TestParts().GetAt_NoSort(i);
        EXPECT_EQ(again.GetComment(), original.GetComment()) << "part " << i + 1;
        ASSERT_EQ(again.iGetNumImages(), 1) << "part " << i + 1;
        EXPECT_EQ(*again.opGetImage(0), *original.opGetImage(0)) << "the image as recorded";
    }
    EXPECT_NE(*replayed->TestParts().GetAt_NoSort(0)->opGetImage(0),
              *replayed->TestParts().GetAt_NoSort(1)->opGetImage(0))
        << "different parts, not one part repeated";
}

TEST(Replay, WhatIsNoPartListIsRefusedWithItsName) {
    TempDir dir;
    CtlRun run = RunProgram(dir.Path(), KALVOR_DEVSIM_PATH, {"--replay", "missing.kvl"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("missing.kvl"), std::string::npos) << run.err;
    std::ofstream(dir / "notes.txt") << "not parts";
    run = RunProgram(dir.Path(), KALVOR_DEVSIM_PATH, {"--replay", "notes.txt"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(".zrl or .kvl"), std::string::npos) << run.err;
    std::ofstream(dir / "broken.kvl") << "not parts either";
    run = RunProgram(dir.Path(), KALVOR_DEVSIM_PATH, {"--replay", "broken.kvl"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("broken.kvl"), std::string::npos) << run.err;
}

}  // namespace
