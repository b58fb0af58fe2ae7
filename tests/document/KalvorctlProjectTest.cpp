// kalvorctl blocks / info / new / resave on files written by hand.
#include <array>
#include <cstdio>
#include <sstream>

#include "DocTestSupport.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/strings/ResStr.h"
#include "support/CtlRun.h"

namespace {

using namespace doctest;

std::string Slurp(const std::filesystem::path& path) {
    const std::vector<uint8_t> b = ReadFile(path);
    return {b.begin(), b.end()};
}

constexpr OTargetSystem kFamily1{2, 808, 0, 12, 4, 6};

HandFile ValidFamily1WithExtras() {
    HandFile file;
    file.Block("TARGETSYSTEM", TargetBlock(kFamily1))
        .Block("ZERO", {})
        .Block("PROJECTDATA", OType_ProjectData().Encode())
        .Block("PARTTYPE_1", PartSetBlock(3, "Bolts"))
        .Block("PARTTYPE_2", PartSetBlock(1, "Nuts"))
        .Block("FUTURE_BLOCK", Bytes("kept"));
    return file;
}

struct Kalvorctl : ::testing::Test {
    TempDir dir;
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        WriteFile(dir / name, bytes);
        return name;
    }
};

TEST_F(Kalvorctl, BlocksListsNameOffsetAndLengthOfEveryBlock) {
    const HandFile file = ValidFamily1WithExtras();
    Write("hand.zrp", file.Bytes());
    // Expected lines computed from the hand-made layout.
    std::string expected;
    uint64_t offset = 0;
    for (const auto& [name, length] : std::vector<std::pair<std::string, size_t>>{
             {"TARGETSYSTEM", TargetBlock(kFamily1).size()},
             {"ZERO", 0},
             {"PROJECTDATA", OType_ProjectData().Encode().size()},
             {"PARTTYPE_1", PartSetBlock(3, "Bolts").size()},
             {"PARTTYPE_2", PartSetBlock(1, "Nuts").size()},
             {"FUTURE_BLOCK", 4}}) {
        const std::string header =
            "[BLOCKSTART][BLOCKNAME=" + name + "][BLOCKLENGTH=" + std::to_string(length) + "]";
        expected += name + "\t" + std::to_string(offset + header.size()) + "\t" +
                    std::to_string(length) + "\n";
        offset += header.size() + length + 10;
    }
    const CtlRun run = Ctl(dir.Path(), {"blocks", "hand.zrp"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expected);
}

TEST_F(Kalvorctl, BlocksFailsOnFilesThatCannotBeScanned) {
    const std::vector<uint8_t> good = ValidFamily1WithExtras().Bytes();
    // Cut inside the header of the last block.
    Write("cut.zrp", std::vector<uint8_t>(good.begin(), good.end() - 40));
    CtlRun run = Ctl(dir.Path(), {"blocks", "cut.zrp"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("cannot be scanned"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 5) << "the blocks before it";

    Write("noise.zrp", std::vector<uint8_t>(300, 0x5A));
    run = Ctl(dir.Path(), {"blocks", "noise.zrp"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty());
    run = Ctl(dir.Path(), {"blocks", "absent.zrp"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("No such file"), std::string::npos);
    EXPECT_EQ(Ctl(dir.Path(), {"blocks"}).status, 2);
}

TEST_F(Kalvorctl, InfoDescribesTargetPropertiesAndCheckPrograms) {
    Write("hand.zrp", ValidFamily1WithExtras().Bytes());
    const CtlRun run = Ctl(dir.Path(), {"info", "hand.zrp", "--json", "--no-settings"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* expected :
         {"\"family\": 1", "\"hardware\": 2", "\"hardwareName\": \"Marrow\"", "\"software\": 808",
          "\"addIn\": 0", "\"partTypes\": 12", "\"partsInSet\": 4", "\"orientations\": 6",
          "\"fixedFeatures\": 12", "\"toolCapacity\": 20", "\"useMultiplePartSets\": 1",
          "\"name\": \"Bolts\"", "\"teachParts\": 3", "\"name\": \"Nuts\"", "\"testParts\": 0",
          "\"tools\": 0", "\"features\": 12", "\"partTypes\": 2", "\"unknownBlockBytes\": "}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    }
    const size_t unknown = WrapUnpaddedBlock("ZERO", {}).size() +
                           WrapUnpaddedBlock("FUTURE_BLOCK", Bytes("kept")).size();
    EXPECT_NE(run.out.find("\"unknownBlockBytes\": " + std::to_string(unknown)), std::string::npos);
    EXPECT_EQ(Ctl(dir.Path(), {"info", "hand.zrp"}).status, 2) << "--json is required";
}

TEST_F(Kalvorctl, InfoReadsAShortPropertiesRecord) {
    OByteStream_Memory record;
    record.bWriteU32(16);
    record.bWriteU32(OType_ProjectProperties::kRecordId);
    for (int v : {1, 0, 0})
        record.bWriteI32(v);
    OType_ZRPartSetArray array;
    array.opAddPartSet(nullptr, nullptr, nullptr, 2);
    OByteStream_Memory arrayBytes;
    array.iEncode(arrayBytes);
    HandFile file;
    file.Block("TARGETSYSTEM", TargetBlock({512, 828, 0, 30, 8, 4}))
        .Block("PROJECTDATA", OType_ProjectData().Encode())
        .Block("PARTSET_ARRAY", arrayBytes.TakeBytes())
        .Block("PROJECT_PROPERTIES", record.TakeBytes());
    Write("s.kvp", file.Bytes());
    const CtlRun run = Ctl(dir.Path(), {"info", "s.kvp", "--json", "--no-settings"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* expected :
         {"\"family\": 2", "\"fixedFeatures\": 0", "\"toolCapacity\": 256", "\"addOldFormat\": 1",
          "\"useMultiplePartSets\": 0", "\"useManualTypes\": 1", "\"useQuality\": 1",
          "\"useNewToolsOnCameraImage\": 0"}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    }
}

TEST_F(Kalvorctl, InfoFailsWithTheLoadsMessage) {
    const std::vector<uint8_t> good = ValidFamily1WithExtras().Bytes();
    Write("cut.zrp", std::vector<uint8_t>(good.begin(), good.begin() + 1000));
    CtlRun run = Ctl(dir.Path(), {"info", "cut.zrp", "--json", "--no-settings"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_NE(run.err.find(ResStr(5105)), std::string::npos) << run.err;
    Write("old.zrp", Bytes("[ZRP_FILE_VERSION: 1.0][ZRP_PROJECT_TEXT_VERSION: 1.0]"));
    run = Ctl(dir.Path(), {"info", "old.zrp", "--json", "--no-settings"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(ResStr(5105) + " The start or the end of the section is missing."),
              std::string::npos)
        << run.err;
}

TEST_F(Kalvorctl, NewWritesAnEmptyProjectForTheTarget) {
    CtlRun run = Ctl(dir.Path(), {"new", "--hw", "16", "--sw", "828", "--parttypes", "40",
                                  "--partsinset", "5", "--ori", "2", "--no-settings", "t.kvp"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = Ctl(dir.Path(), {"info", "t.kvp", "--json", "--no-settings"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* expected :
         {"\"hardware\": 16", "\"hardwareName\": \"Tamrin\"", "\"software\": 828",
          "\"partTypes\": 40", "\"partsInSet\": 5", "\"orientations\": 2", "\"partTypes\": 5"}) {
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    }
    EXPECT_EQ(Ctl(dir.Path(), {"new", "--hw", "1", "--sw", "777", "--no-settings", "u.zrp"}).status,
              1);
    EXPECT_EQ(Ctl(dir.Path(), {"new", "--hw", "1", "--sw", "778", "--no-settings", "u.kvp"}).status,
              1)
        << "a family-1 target needs .zrp";
    EXPECT_EQ(Ctl(dir.Path(), {"new", "--sw", "778", "u.zrp"}).status, 2);
    EXPECT_EQ(Ctl(dir.Path(), {"new", "--hw", "x", "--sw", "778", "u.zrp"}).status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "u.zrp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "u.kvp"));
}

TEST_F(Kalvorctl, ResaveKeepsUnknownBlocksAndWorksWithFiveCharacterPaths) {
    Write("h.zrp", ValidFamily1WithExtras().Bytes());
    CtlRun run = Ctl(dir.Path(), {"resave", "h.zrp", "o.zrp", "--no-settings"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = Ctl(dir.Path(), {"blocks", "o.zrp"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> names;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);)
        names.push_back(line.substr(0, line.find('\t')));
    EXPECT_EQ(names, (std::vector<std::string>{"TARGETSYSTEM", "PROJECTDATA", "PARTTYPE_1",
                                               "PARTTYPE_2", "ZERO", "FUTURE_BLOCK"}));
    const std::string out = Slurp(dir / "o.zrp");
    EXPECT_NE(out.find("[BLOCKNAME=ZERO][BLOCKLENGTH=0][BLOCKEND]"), std::string::npos);
    EXPECT_NE(out.find("[BLOCKNAME=FUTURE_BLOCK][BLOCKLENGTH=4]kept[BLOCKEND]"), std::string::npos);
    // Resaving the resaved file gives the same bytes.
    ASSERT_EQ(Ctl(dir.Path(), {"resave", "o.zrp", "p.zrp", "--no-settings"}).status, 0);
    EXPECT_EQ(Slurp(dir / "p.zrp"), out);

    run = Ctl(dir.Path(), {"resave", "h.zrp", "x.zr", "--no-settings"});
    EXPECT_EQ(run.status, 1) << "a path shorter than five characters needs the dialog";
    std::vector<uint8_t> truncated = ValidFamily1WithExtras().Bytes();
    truncated.resize(truncated.size() / 2);
    Write("t.zrp", truncated);
    EXPECT_EQ(Ctl(dir.Path(), {"resave", "t.zrp", "q.zrp", "--no-settings"}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "q.zrp"));
}

}  // namespace
