// The legacy project format: the "ZRP_FORMAT10" copy of a project read back as a project of
// its own, the reader's markers and lengths, damaged and hostile files.
#include "FilesTestSupport.h"
#include "document/files/LegacyProjectFormat.h"
#include "document/files/ProjectFileFormat.h"
#include "support/CtlRun.h"

namespace {

using namespace filestest;

// Replaces the first occurrence of `what`; fails the test when there is none.
std::vector<uint8_t> Replaced(std::vector<uint8_t> bytes, const std::string& what,
                              const std::string& by) {
    std::string text = Text(bytes);
    const size_t at = text.find(what);
    EXPECT_NE(at, std::string::npos) << what;
    if (at == std::string::npos) return bytes;
    text.replace(at, what.size(), by);
    return {text.begin(), text.end()};
}

std::vector<uint8_t> ReplacedAll(const std::vector<uint8_t>& bytes, const std::string& what,
                                 const std::string& by) {
    std::string text = Text(bytes);
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + by.size()))
        text.replace(at, what.size(), by);
    return {text.begin(), text.end()};
}

struct Legacy : FilesFixture {
    // The project in the legacy layout, written by the legacy writer.
    std::vector<uint8_t> LegacyBytes() {
        OByteStream_Memory out;
        std::string error;
        EXPECT_EQ(LegacyProject::iWrite(out, session(), error), 1) << error;
        return out.TakeBytes();
    }
    // The data of the file's "ZRP_FORMAT10" block.
    std::vector<uint8_t> CopyBlock(const std::string& path) {
        auto file = OByteStream_Memory(ReadFile(path));
        std::vector<uint8_t> data;
        EXPECT_TRUE(ReadBlock(file, "ZRP_FORMAT10", data));
        return data;
    }
    std::string WriteLegacy(const std::string& name, const std::vector<uint8_t>& bytes) {
        WriteFile(dir / name, bytes);
        return Path(name);
    }
    // Parses legacy bytes; the error text (empty on success).
    std::string ParseError(const std::vector<uint8_t>& bytes) {
        LegacyProject::OLegacyContent content;
        std::string error;
        if (LegacyProject::iParse(bytes, content, error)) return {};
        EXPECT_FALSE(error.empty());
        return error;
    }
};

TEST_F(Legacy, TheOldFormatCopyCutOutOpensWithTheSamePartsToolsAndTeachData) {
    MakeContourProject();
    session().ProjectData().Set(ProjectField::Engineer, "Ada [ZRP_PROJECT_TEXT_END] \\ ]");
    session().ProjectData().Set(ProjectField::Notes, "two\r\nlines");
    session().ProjectProperties().addOldFormat = 1;
    const std::vector<OPartShape> teach = Shapes(set().TeachParts());
    const std::vector<OPartShape> test = Shapes(set().TestParts());
    const std::vector<uint8_t> tools = ToolBytes(set());
    const OType_ZRPartSet_SubType type = *set().opGetSubType(0);
    ASSERT_TRUE(type.bHasData());
    const OType_ProjectData projectData = session().ProjectData();
    const std::string path = Save("with-copy.zrp");

    std::vector<std::string> names;
    auto file = OByteStream_Memory(ReadFile(path));
    ASSERT_TRUE(ListBlocks(file, names));
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "ZRP_FORMAT10");
    EXPECT_FALSE(ProjectFile::bIsLegacyProjectHeader(ReadFile(path)))
        << "a block file that starts with the copy is read as a block file";
    const std::vector<uint8_t> copy = CopyBlock(path);
    EXPECT_EQ(Text(copy).rfind("[ZRP_HEADER][ZRP_FILE_VERSION:\t1.0]", 0), 0u);
    EXPECT_TRUE(ProjectFile::bIsLegacyProjectHeader(copy));
    const std::string alone = WriteLegacy("alone.zrp", copy);

    NewProject(kFamily2);
    std::string error;
    ASSERT_EQ(Load(alone, &error), 1) << error;
    EXPECT_EQ(session().GetTargetSystem(), kFamily1);
    ASSERT_EQ(session().PartSets().iGetNum(), 1);
    EXPECT_EQ(set().GetName(), "Housing");
    EXPECT_EQ(Shapes(set().TeachParts()), teach);
    EXPECT_EQ(Shapes(set().TestParts()), test);
    EXPECT_EQ(ToolBytes(set()), tools);
    ASSERT_NE(set().opGetSubType(0), nullptr);
    EXPECT_EQ(*set().opGetSubType(0), type);
    EXPECT_EQ(session().ProjectData(), projectData);
    EXPECT_EQ(session().GetProjectPath(), alone);
    EXPECT_FALSE(doc().IsModified());

    // The block file itself loads as a block file, with the same content.
    ASSERT_EQ(Load(path, &error), 1) << error;
    EXPECT_EQ(ToolBytes(set()), tools);
    EXPECT_EQ(set().TeachParts().GetAt(0)->GetComment(), "part 0")
        << "the block file keeps what the old layout cannot";
}

TEST_F(Legacy, VersionMarkersWithABlankInsteadOfATabLoad) {
    MakeContourProject();
    const std::vector<uint8_t> tabs = LegacyBytes();
    const std::vector<uint8_t> blanks = ReplacedAll(tabs, "_VERSION:\t1.0]", "_VERSION: 1.0]");
    ASSERT_NE(blanks, tabs);
    EXPECT_EQ(Text(blanks).find(":\t1.0]"), std::string::npos);
    const std::string path = WriteLegacy("blanks.zrp", blanks);
    NewProject(kFamily1);
    std::string error;
    ASSERT_EQ(Load(path, &error), 1) << error;
    EXPECT_EQ(set().TeachParts().iGetSize(), 12);
    EXPECT_EQ(set().Tools().iGetNum(), 3);
}

TEST_F(Legacy, TeachDataLengthsThatDoNotAddUpFailWith5103) {
    MakeContourProject();
    // CF one byte longer: the bytes are there (AD follows), but the lengths are not the
    // old format's.
    const std::vector<uint8_t> bytes =
        Replaced(LegacyBytes(), "[ZRP_TEACH_DATA_CF_LENGTH=336]", "[ZRP_TEACH_DATA_CF_LENGTH=337]");
    const std::string path = WriteLegacy("cf337.zrp", bytes);
    doc().SetModifiedFlag(0);
    ui.ExpectMessage(MsgResult::Ok, ResStr(5103));
    EXPECT_TRUE(doc().OnOpenDocument(path));
    EXPECT_NE(ui.Texts().back().find("2044 and 336"), std::string::npos) << Shown();
    EXPECT_TRUE(set().TeachParts().bIsEmpty()) << "a failed load leaves a fresh project";
    ExpectNoMismatch();

    // Without any teach data the file does not load either.
    std::string error;
    const std::vector<uint8_t> none =
        Replaced(Replaced(bytes, "[ZRP_TEACH_DATA_TD_LENGTH=2044]", "[ZRP_TEACH_DATA_TD_LENGTH=0]"),
                 "[ZRP_TEACH_DATA_CF_LENGTH=337]", "[ZRP_TEACH_DATA_CF_LENGTH=0]");
    EXPECT_EQ(Load(WriteLegacy("none.zrp", none), &error), 0);
}

TEST_F(Legacy, EveryRequiredMarkerHasItsOwnText) {
    MakeContourProject();
    const std::vector<uint8_t> good = LegacyBytes();
    EXPECT_EQ(ParseError(good), "");
    const std::pair<const char*, int> cases[] = {
        {"[ZRP_FILE_VERSION:\t1.0]", 5104},        {"[ZRP_PROJECT_TEXT_VERSION:\t1.0]", 5105},
        {"[ZRP_TEACH_PARTS_VERSION:\t1.0]", 5106}, {"[ZRP_AUTO_PARTS_VERSION:\t1.0]", 5107},
        {"[ZRP_TEACH_DATA_VERSION:\t1.0]", 5108},  {"[ZRP_QUILLON_PARAMETER_VERSION:\t1.0]", 5109},
    };
    for (const auto& [marker, textId] : cases) {
        // A version other than 1.0 is no version marker of this format.
        std::string other = marker;
        other.replace(other.find("1.0"), 3, "2.0");
        EXPECT_EQ(ParseError(Replaced(good, marker, other)).rfind(ResStr(textId), 0), 0u) << marker;
    }
    // Start and end markers of the text sections are required too.
    EXPECT_EQ(ParseError(Replaced(good, "[ZRP_TEACH_PARTS_END]", "[ZRP_TEACH_PARTS_XXX]"))
                  .rfind(ResStr(5106), 0),
              0u);
    EXPECT_EQ(ParseError(Replaced(good, "[ZRP_TEACH_DATA_START]", "[ZRP_TEACH_DATA_XXXXX]"))
                  .rfind(ResStr(5108), 0),
              0u);
    EXPECT_EQ(
        ParseError(Replaced(good, "[ZRP_QUILLON_PARAMETER_START]", "[ZRP_QUILLON_PARAMETER_XXXXX]"))
            .rfind(ResStr(5109), 0),
        0u);
}

TEST_F(Legacy, LengthsThatRunPastTheEndOrAreNoNumbersFail) {
    MakeContourProject();
    const std::vector<uint8_t> good = LegacyBytes();
    const std::string adMarker = "[ZRP_TEACH_DATA_AD_LENGTH=";
    const std::string text = Text(good);
    const size_t at = text.find(adMarker) + adMarker.size();
    const std::string adLength = text.substr(at, text.find(']', at) - at);
    for (const std::string& bad : {std::string("999999999999"), std::string("99999999999999999999"),
                                   std::string("12x"), std::string(""), std::string("-5")}) {
        EXPECT_EQ(ParseError(Replaced(good, adMarker + adLength + "]", adMarker + bad + "]"))
                      .rfind(ResStr(5108), 0),
                  0u)
            << bad;
    }
    EXPECT_EQ(ParseError(Replaced(good, "[ZRP_QUILLON_PARAMETER_LENGTH=0]",
                                  "[ZRP_QUILLON_PARAMETER_LENGTH=5000]"))
                  .rfind(ResStr(5109), 0),
              0u);
    // Cut inside the teach data.
    const size_t start = text.find("[ZRP_TEACH_DATA_START]") + 22;
    EXPECT_EQ(ParseError({good.begin(), good.begin() + static_cast<ptrdiff_t>(start + 100)})
                  .rfind(ResStr(5108), 0),
              0u);
}

TEST_F(Legacy, AFileWithoutTargetSystemTakesTheCurrentDeviceAndSaysSo) {
    MakeContourProject();
    const std::vector<uint8_t> good = LegacyBytes();
    const std::string text = Text(good);
    const std::vector<uint8_t> cut(
        good.begin(),
        good.begin() + static_cast<ptrdiff_t>(text.find("[ZRP_QUILLON_TARGET_SYSTEM]")));
    const std::string path = WriteLegacy("no-target.zrp", cut);
    NewProject(kFamily1TwoTypes);
    ui.ExpectMessage(MsgResult::Ok, ResStr(5113));
    std::string error;
    ASSERT_EQ(Load(path, &error, 0), 1) << error;
    EXPECT_EQ(session().GetTargetSystem(), kFamily1TwoTypes);
    EXPECT_EQ(set().TeachParts().iGetSize(), 12);
    ExpectNoMismatch();
}

TEST_F(Legacy, ATargetSystemOfFewerBytesKeepsTheRestOfTheCurrentDevice) {
    MakeContourProject();
    const std::vector<uint8_t> good = LegacyBytes();
    // Only the first 16 bytes (hardware, part types, orientations, parts in set, basic
    // features, add-in) are declared; the rest of the record is not read.
    const std::vector<uint8_t> shorter = Replaced(good, "[ZRP_QUILLON_TARGET_SYSTEM_LENGTH=1228]",
                                                  "[ZRP_QUILLON_TARGET_SYSTEM_LENGTH=16]");
    LegacyProject::OLegacyContent content;
    std::string error;
    ASSERT_EQ(LegacyProject::iParse(shorter, content, error), 1) << error;
    EXPECT_TRUE(content.hasTargetSystem);
    EXPECT_EQ(content.targetSystem.size(), 16u);
    NewProject(kFamily1TwoTypes);
    ASSERT_EQ(Load(WriteLegacy("short.zrp", shorter), &error), 1) << error;
    EXPECT_EQ(session().GetTargetSystem().partsInSet, kFamily1.partsInSet);
}

TEST_F(Legacy, WithoutAdditionalDataTheToolsComeFromTheConfigurationWithDefaults) {
    MakeContourProject();
    const std::vector<OPartShape> teach = Shapes(set().TeachParts());
    std::vector<std::pair<int, int>> kinds;
    for (int i = 0; i < set().Tools().iGetNum(); ++i)
        kinds.emplace_back(set().Tools().opGetAt(i)->iGetConfigToolType(),
                           set().Tools().opGetAt(i)->iGetFeatureType());
    const std::vector<uint8_t> good = LegacyBytes();
    const std::string text = Text(good);
    const std::string adMarker = "[ZRP_TEACH_DATA_AD_LENGTH=";
    const size_t at = text.find(adMarker) + adMarker.size();
    const std::string adLength = text.substr(at, text.find(']', at) - at);
    // The additional data stay in the file but are not declared: the reader skips them.
    const std::vector<uint8_t> withoutAd =
        Replaced(good, adMarker + adLength + "]", adMarker + "0]");
    NewProject(kFamily1);
    std::string error;
    ASSERT_EQ(Load(WriteLegacy("no-ad.zrp", withoutAd), &error), 1) << error;
    ASSERT_EQ(set().Tools().iGetNum(), static_cast<int>(kinds.size()));
    for (int i = 0; i < set().Tools().iGetNum(); ++i) {
        EXPECT_EQ(set().Tools().opGetAt(i)->iGetConfigToolType(),
                  kinds[static_cast<size_t>(i)].first);
        EXPECT_EQ(set().Tools().opGetAt(i)->iGetFeatureType(),
                  kinds[static_cast<size_t>(i)].second);
    }
    EXPECT_EQ(Shapes(set().TeachParts()), teach);
    EXPECT_TRUE(set().opGetSubType(0)->bHasData());
}

TEST_F(Legacy, DamagedAdditionalDataOrToolTableFail) {
    MakeContourProject();
    const std::vector<uint8_t> good = LegacyBytes();
    const std::string text = Text(good);
    const size_t data = text.find("[ZRP_TEACH_DATA_START]") + 22;
    std::vector<uint8_t> bad = good;
    bad[data + LegacyProject::kTeachDataBytes] = 200;  // tool count above the table's room
    std::string error;
    NewProject(kFamily1);
    EXPECT_EQ(Load(WriteLegacy("tools.zrp", bad), &error), 0);
    EXPECT_NE(error.find("tool configuration"), std::string::npos) << error;

    bad = good;
    bad[data + LegacyProject::kTeachDataBytes + LegacyProject::kConfigBytes + 4] ^= 0xFF;  // AD id
    EXPECT_EQ(Load(WriteLegacy("ad.zrp", bad), &error), 0);
    EXPECT_NE(error.find("additional data"), std::string::npos) << error;
    EXPECT_TRUE(set().TeachParts().bIsEmpty());
}

TEST_F(Legacy, PartTextThatIsNoPartListFails) {
    MakeContourProject();
    const std::vector<uint8_t> bad = Replaced(LegacyBytes(), "[ZRP_TEACH_PARTS_START]teach,",
                                              "[ZRP_TEACH_PARTS_START]nonsense,");
    std::string error;
    NewProject(kFamily1);
    EXPECT_EQ(Load(WriteLegacy("parts.zrp", bad), &error), 0);
    EXPECT_NE(error.find("Sample parts: line 1"), std::string::npos) << error;
}

TEST_F(Legacy, AProjectTheOldFormatCannotHoldIsSavedWithoutTheCopy) {
    MakeContourProject();
    session().ProjectProperties().addOldFormat = 1;
    // More tools than the old tool table has room for.
    while (set().Tools().iGetNum() <= LegacyProject::kMaxConfigTools)
        set().Tools().Add(set().ToolPrototypes().Create(1));
    ui.ExpectMessage(MsgResult::Ok, ResStr(2017));
    const std::string path = Save("too-many-tools.zrp");
    EXPECT_NE(ui.Texts().back().find("without the copy in the old format"), std::string::npos);
    std::vector<std::string> names;
    auto file = OByteStream_Memory(ReadFile(path));
    ASSERT_TRUE(ListBlocks(file, names));
    EXPECT_EQ(std::count(names.begin(), names.end(), "ZRP_FORMAT10"), 0);
    NewProject(kFamily1);
    ASSERT_EQ(Load(path), 1);
    EXPECT_EQ(set().Tools().iGetNum(), LegacyProject::kMaxConfigTools + 1);
    ExpectNoMismatch();
}

TEST_F(Legacy, TheCopyIsWrittenOnlyForFamilyOneWithTheProperty) {
    MakeContourProject();
    auto firstBlock = [&](const std::string& path) {
        std::vector<std::string> names;
        auto file = OByteStream_Memory(ReadFile(path));
        EXPECT_TRUE(ListBlocks(file, names));
        return names.empty() ? std::string() : names.front();
    };
    EXPECT_EQ(firstBlock(Save("plain.zrp")), "TARGETSYSTEM");
    session().ProjectProperties().addOldFormat = 1;
    EXPECT_EQ(firstBlock(Save("copy.zrp")), "ZRP_FORMAT10");
    NewProject(kFamily2);
    session().ProjectProperties().addOldFormat = 1;
    EXPECT_EQ(firstBlock(Save("camera.kvp")), "TARGETSYSTEM");
}

TEST_F(Legacy, KalvorctlInfoAndPartsReadLegacyFiles) {
    MakeContourProject();
    const std::string path = WriteLegacy("old.zrp", LegacyBytes());
    CtlRun run = Ctl(dir.Path(), {"info", "old.zrp", "--json", "--no-settings"});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* expected : {"\"family\": 1", "\"name\": \"Housing\"", "\"teachParts\": 12",
                                 "\"testParts\": 4", "\"tools\": 3"})
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
    run = Ctl(dir.Path(), {"parts", "old.zrp", "--test", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\"list\": \"test\""), std::string::npos) << run.out;
    size_t parts = 0;
    for (size_t at = run.out.find("\"record\":"); at != std::string::npos;
         at = run.out.find("\"record\":", at + 1))
        ++parts;
    EXPECT_EQ(parts, 4u) << run.out;

    WriteLegacy("broken.zrp", Replaced(LegacyBytes(), "[ZRP_AUTO_PARTS_VERSION:\t1.0]", "[X]"));
    run = Ctl(dir.Path(), {"info", "broken.zrp", "--json", "--no-settings"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(ResStr(5107)), std::string::npos) << run.err;
}

}  // namespace
