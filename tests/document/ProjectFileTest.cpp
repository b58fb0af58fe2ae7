// Saving and loading project files through the document: both families, every block,
// unknown blocks, hand-made and damaged files, paths and dialogs, the safe replacement of
// the old file.
#include <signal.h>
#include <sys/resource.h>

#include <random>

#include "DocTestSupport.h"
#include "document/files/ProjectFileFormat.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/strings/ResStr.h"

namespace {

using namespace doctest;

constexpr OTargetSystem kFamily1{1, 818, 0, 6, 2, 8};
constexpr OTargetSystem kFamily2{9, 818, 0, 20, 3, 4};

std::vector<std::string> BlockNames(const std::string& path) {
    auto s = OByteStream_Memory(ReadFile(path));
    std::vector<std::string> names;
    EXPECT_TRUE(ListBlocks(s, names));
    return names;
}

struct ProjectFile : DocFixture {
    // Saves the current project to `name`; expects success.
    std::string Save(const std::string& name) {
        std::string error;
        const std::string path = Path(name);
        EXPECT_EQ(doc().WriteProjectFile(path, error), 1) << error;
        return path;
    }
    int Load(const std::string& path, std::string* errorOut = nullptr) {
        std::string error;
        const int result = doc().LoadProjectFile(path, error, 1);
        if (errorOut) *errorOut = error;
        return result;
    }
    // After a failed load: a new empty project named after the file, nothing to overwrite.
    void ExpectFreshProject(const std::string& path) {
        ASSERT_EQ(session().PartSets().iGetNum(), 1);
        EXPECT_TRUE(session().opGetActualPartSet()->TeachParts().bIsEmpty());
        EXPECT_TRUE(session().GetProjectPath().empty());
        EXPECT_TRUE(session().UnknownBlocks().empty());
        EXPECT_EQ(doc().GetTitle(), std::filesystem::path(path).filename().string());
        EXPECT_FALSE(doc().IsModified());
    }
};

TEST_F(ProjectFile, Family1RoundTripKeepsEveryPartSetInOrderOfItsBlocks) {
    NewProject(kFamily1);
    OType_ZRPartSet* first = session().opGetActualPartSet();
    AddParts(*first, 5, 3);
    first->SetName("Housing");
    OType_ZRPartSet* second = session().AddPartSet(true);
    AddParts(*second, 2, 0);
    session().ProjectData().Set(ProjectField::Engineer, "Ada");
    // Loading recomputes the Teach-Data; so does this, for a like-for-like comparison.
    doc().RecomputeAll(1, 0, 1, 1, 0);
    const std::vector<uint8_t> firstBytes = first->Encode();
    const std::vector<uint8_t> secondBytes = second->Encode();
    const std::string path = Save("one.zrp");
    EXPECT_EQ(BlockNames(path), (std::vector<std::string>{"TARGETSYSTEM", "PROJECTDATA",
                                                          "PARTTYPE_1", "PARTTYPE_2"}));

    NewProject(kFamily2);
    ASSERT_EQ(Load(path), 1);
    ASSERT_EQ(session().PartSets().iGetNum(), 2);
    EXPECT_EQ(session().GetTargetSystem(), kFamily1);
    EXPECT_EQ(session().opGetPartSet(0)->Encode(), firstBytes);
    EXPECT_EQ(session().opGetPartSet(1)->Encode(), secondBytes);
    EXPECT_EQ(session().ProjectData().Get(ProjectField::Engineer), "Ada");
    EXPECT_EQ(session().GetProjectPath(), path);
    EXPECT_EQ(doc().GetTitle(), "one.zrp");
    EXPECT_EQ(doc().iGetNewProject(), 0);
    EXPECT_EQ(session().ProjectProperties().useMultiplePartSets, 1)
        << "no stored record: more than one part set";
    EXPECT_EQ(session().ProjectProperties().useTypes, 1);
    EXPECT_EQ(session().ProjectProperties().useAlternativeValue, 0);
    EXPECT_FALSE(session().opGetPartSet(0)->UndoRedo().bHasUndoData());
}

TEST_F(ProjectFile, Family2WritesArrayTransformerAndProperties) {
    NewProject(kFamily2);
    AddParts(*session().opGetActualPartSet(), 3, 1);
    session().ProjectProperties().useNewToolsOnCameraImage = 1;
    session().ProjectProperties().trailingBytes = {9, 8, 7};
    const std::string plain = Save("plain.kvp");
    EXPECT_EQ(BlockNames(plain), (std::vector<std::string>{"TARGETSYSTEM", "PROJECTDATA",
                                                           "PARTSET_ARRAY", "PROJECT_PROPERTIES"}));

    OCoordTrans_Tsai_Transformer& t = session().CoordTransformer();
    ASSERT_TRUE(t.iSetCameraParameters(
        OCoordTrans_Tsai_CameraParameters::FromSensor(640, 480, 0.006, 0.006, 320, 240, 1)));
    OCoordTrans_Tsai_CalibrationParameters k;
    k.f = 8;
    k.Tz = 300;
    ASSERT_TRUE(t.iSetCalibrationParameters(k));
    const std::string withTransformer = Save("trans.kvp");
    EXPECT_EQ(BlockNames(withTransformer),
              (std::vector<std::string>{"TARGETSYSTEM", "PROJECTDATA", "PARTSET_ARRAY",
                                        "COORD_TRANS_PARAMETER", "PROJECT_PROPERTIES"}));
    const OCoordTrans_Tsai_Transformer saved = t;

    ASSERT_EQ(Load(withTransformer), 1);
    EXPECT_TRUE(session().CoordTransformer().bIsSameTransformation(saved));
    EXPECT_EQ(session().ProjectProperties().useNewToolsOnCameraImage, 1);
    EXPECT_EQ(session().ProjectProperties().trailingBytes, (std::vector<uint8_t>{9, 8, 7}));
    EXPECT_EQ(session().iGetConnectionKind(), 3) << "family 2 always connects by TCP";
    EXPECT_EQ(session().opGetActualPartSet()->TeachParts().iGetSize(), 3);
    EXPECT_EQ(session().opGetActualPartSet()->TestParts().iGetSize(), 1);
}

TEST_F(ProjectFile, AFamily1ProjectDropsAStoredTcpConnection) {
    settings.SetInt("Settings", "CONTYPE", 3);
    NewProject(kFamily1);
    const std::string path = Save("tcp.zrp");
    ASSERT_EQ(Load(path), 1);
    EXPECT_EQ(session().iGetConnectionKind(), 0);
}

TEST_F(ProjectFile, UnknownBlocksSurviveALoadSaveCycleUnpaddedAtTheEnd) {
    const std::vector<uint8_t> newer = Bytes("data of a newer version");
    HandFile file;
    file.Block("NEWER_FIRST", newer)
        .Block("TARGETSYSTEM", TargetBlock(kFamily1))
        .Block("EMPTY_NEWER", {})
        .Block("PROJECTDATA", OType_ProjectData().Encode())
        .Block("PARTTYPE_1", PartSetBlock(4, "first"))
        .Block("PARTTYPE_3", PartSetBlock(1, "after a gap"));
    const std::string in = Path("hand.zrp");
    WriteFile(in, file.Bytes());
    ASSERT_EQ(Load(in), 1);
    EXPECT_EQ(session().PartSets().iGetNum(), 1) << "PARTTYPE_3 does not follow PARTTYPE_1";

    const std::string out = Save("again.zrp");
    const std::vector<uint8_t> bytes = ReadFile(out);
    std::vector<uint8_t> expectedTail;
    for (const auto& [name, data] : std::vector<std::pair<std::string, std::vector<uint8_t>>>{
             {"NEWER_FIRST", newer},
             {"EMPTY_NEWER", {}},
             {"PARTTYPE_3", PartSetBlock(1, "after a gap")}}) {
        const auto wrapped = WrapUnpaddedBlock(name, data);
        expectedTail.insert(expectedTail.end(), wrapped.begin(), wrapped.end());
    }
    ASSERT_GE(bytes.size(), expectedTail.size());
    EXPECT_TRUE(std::equal(expectedTail.begin(), expectedTail.end(),
                           bytes.end() - static_cast<long>(expectedTail.size())));
    EXPECT_EQ(BlockNames(out),
              (std::vector<std::string>{"TARGETSYSTEM", "PROJECTDATA", "PARTTYPE_1", "NEWER_FIRST",
                                        "EMPTY_NEWER", "PARTTYPE_3"}));
    // A second cycle keeps them exactly once.
    ASSERT_EQ(Load(out), 1);
    const std::string third = Save("third.zrp");
    EXPECT_EQ(ReadFile(third), bytes);
}

TEST_F(ProjectFile, AShortPropertiesRecordKeepsTheDefaultsOfMissingFields) {
    OByteStream_Memory record;
    record.bWriteU32(16);
    record.bWriteU32(OType_ProjectProperties::kRecordId);
    for (int v : {0, 0, 0})
        record.bWriteI32(v);
    HandFile file;
    file.Block("TARGETSYSTEM", TargetBlock(kFamily2))
        .Block("PROJECTDATA", OType_ProjectData().Encode())
        .Block("PROJECT_PROPERTIES", record.TakeBytes())
        .Block("PARTSET_ARRAY", [] {
            OType_ZRPartSetArray array;
            array.opAddPartSet(nullptr, nullptr, nullptr, 3);
            OByteStream_Memory s;
            array.iEncode(s);
            return s.TakeBytes();
        }());
    const std::string path = Path("short.kvp");
    WriteFile(path, file.Bytes());
    ASSERT_EQ(Load(path), 1);
    const OType_ProjectProperties& p = session().ProjectProperties();
    const OType_ProjectProperties defaults;
    EXPECT_EQ(p.addOldFormat, 0);
    EXPECT_EQ(p.useMultiplePartSets, 0);
    EXPECT_EQ(p.useManualOrientation, defaults.useManualOrientation);
    EXPECT_EQ(p.useManualTypes, defaults.useManualTypes);
    EXPECT_EQ(p.scale[0], 1.0);
    EXPECT_EQ(p.scale[2], 0.0);
    EXPECT_EQ(p.updateProjectDescription, defaults.updateProjectDescription);
    EXPECT_EQ(p.useQuality, defaults.useQuality);
    EXPECT_EQ(p.useAlternativeValue, defaults.useAlternativeValue);
    EXPECT_EQ(p.useNewToolsOnCameraImage, defaults.useNewToolsOnCameraImage);
    EXPECT_EQ(session().opGetActualPartSet()->iGetNum_SubTypes(), 3);
}

TEST_F(ProjectFile, AMissingRequiredBlockFailsWithTheDamageTextAndLeavesAFreshProject) {
    NewProject(kFamily1);
    AddParts(*session().opGetActualPartSet(), 2, 0);
    for (const char* missing : {"TARGETSYSTEM", "PROJECTDATA", "PARTTYPE_1"}) {
        HandFile file;
        if (std::string(missing) != "TARGETSYSTEM")
            file.Block("TARGETSYSTEM", TargetBlock(kFamily1));
        if (std::string(missing) != "PROJECTDATA")
            file.Block("PROJECTDATA", OType_ProjectData().Encode());
        if (std::string(missing) != "PARTTYPE_1") file.Block("PARTTYPE_1", PartSetBlock(2));
        file.Block("PADDING", std::vector<uint8_t>(200, 'p'));
        const std::string path = Path(std::string("no_") + missing + ".zrp");
        WriteFile(path, file.Bytes());
        std::string error;
        EXPECT_EQ(Load(path, &error), 0) << missing;
        EXPECT_EQ(error, ResStr(5105)) << missing;
        ExpectFreshProject(path);
    }
}

TEST_F(ProjectFile, TruncatedCorruptedAndRandomFilesFailAndLeaveAFreshProject) {
    NewProject(kFamily1);
    AddParts(*session().opGetActualPartSet(), 30, 10);
    const std::vector<uint8_t> good = ReadFile(Save("good.zrp"));
    std::mt19937 random(42);
    std::vector<std::vector<uint8_t>> bad;
    for (size_t cut :
         {size_t{1}, size_t{99}, size_t{150}, good.size() / 2, good.size() - 11, good.size() - 1})
        bad.emplace_back(good.begin(), good.begin() + static_cast<long>(cut));
    for (int i = 0; i < 20; ++i) {
        std::vector<uint8_t> corrupted = good;
        const size_t at = 1700 + random() % (good.size() - 1800);
        for (size_t k = 0; k < 8; ++k)
            corrupted[at + k] ^= static_cast<uint8_t>(1 + random() % 255);
        bad.push_back(std::move(corrupted));
    }
    std::vector<uint8_t> noise(5000);
    for (auto& b : noise)
        b = static_cast<uint8_t>(random());
    bad.push_back(noise);
    int failures = 0;
    for (size_t i = 0; i < bad.size(); ++i) {
        const std::string path = Path("bad" + std::to_string(i) + ".zrp");
        WriteFile(path, bad[i]);
        std::string error;
        const int result = Load(path, &error);
        if (result == 1) {
            // A flipped byte inside a comment text can still decode; the project is whole then.
            EXPECT_EQ(session().PartSets().iGetNum(), 1);
            continue;
        }
        ++failures;
        EXPECT_EQ(result, 0);
        EXPECT_EQ(error, ResStr(5105)) << "file " << i;
        ExpectFreshProject(path);
    }
    EXPECT_GE(failures, 6 + 1) << "every truncation and the noise fail";
}

TEST_F(ProjectFile, AnUnreadableFileReportsTheSystemText) {
    std::string error;
    const std::string path = Path("missing.zrp");
    EXPECT_EQ(Load(path, &error), 0);
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    ExpectFreshProject(path);
}

TEST_F(ProjectFile, LegacyFilesAreRecognisedByTheirFirstBytes) {
    const std::string legacy = Path("old.zrp");
    // Read by the legacy reader, which misses its sample parts section.
    WriteFile(legacy, Bytes("[ZRP_FILE_VERSION:\t1.0][ZRP_PROJECT_TEXT_VERSION: 1.0]"
                            "[ZRP_PROJECT_TEXT_START][ZRP_PROJECT_TEXT_END][PARTS]..."));
    std::string error;
    EXPECT_EQ(Load(legacy, &error), 0);
    EXPECT_EQ(error, ResStr(5106));
    ExpectFreshProject(legacy);

    // A marker after the first 100 bytes does not count.
    const std::string late = Path("late.zrp");
    WriteFile(late, Bytes(std::string(100, ' ') + "[ZRP_FILE_VERSION: 1.0]"));
    EXPECT_EQ(Load(late, &error), 0);
    EXPECT_EQ(error, ResStr(5105));

    // A block file whose first block holds a legacy copy is read as block format.
    HandFile file;
    file.Block("ZRP_FORMAT10", Bytes("[ZRP_FILE_VERSION: 1.0]\r\nlegacy copy"))
        .Block("TARGETSYSTEM", TargetBlock(kFamily1))
        .Block("PROJECTDATA", OType_ProjectData().Encode())
        .Block("PARTTYPE_1", PartSetBlock(3));
    const std::string both = Path("both.zrp");
    WriteFile(both, file.Bytes());
    ASSERT_EQ(Load(both, &error), 1) << error;
    EXPECT_EQ(session().opGetActualPartSet()->TeachParts().iGetSize(), 3);
    EXPECT_TRUE(session().UnknownBlocks().empty()) << "ZRP_FORMAT10 is a known block";
}

TEST_F(ProjectFile, PathsOfFiveCharactersAreUsedAsTheyAre) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    NewProject(kFamily2);
    std::string error;
    EXPECT_EQ(doc().WriteProjectFile("a.kvp", error), 1) << error;
    EXPECT_TRUE(std::filesystem::exists(dir / "a.kvp"));
    EXPECT_EQ(doc().LoadProjectFile("a.kvp", error, 1), 1) << error;
    EXPECT_EQ(ui.Transcript().size(), 0u) << "no dialog: " << ui.TranscriptText();
    std::filesystem::current_path(previous);
}

TEST_F(ProjectFile, ShortOrForeignPathsGoThroughTheDialog) {
    NewProject(kFamily2);
    const std::string saved = Save("x.kvp");
    std::string error;
    // Saving: the last folder with a pattern; the wrong extension for the family.
    ui.CancelFileSave();
    EXPECT_EQ(doc().WriteProjectFile(".kvp", error), 2);
    ui.AnswerFileSave(Path("chosen.kvp"));
    EXPECT_EQ(doc().WriteProjectFile(Path("wrong.zrp"), error), 1);
    ASSERT_EQ(ui.Transcript().size(), 2u);
    EXPECT_EQ(ui.Transcript()[0].fileRequest.initialPath, dir.Path().string() + "/*.kvp");
    EXPECT_EQ(ui.Transcript()[0].fileRequest.filter, ResStr(5345));
    EXPECT_EQ(ui.Transcript()[0].fileRequest.defaultExtension, "kvp");
    EXPECT_TRUE(ui.Transcript()[0].fileRequest.bOverwritePrompt);
    EXPECT_EQ(session().GetProjectPath(), Path("chosen.kvp"));
    // Loading: a path shorter than five characters starts at the last folder's "Systemfile".
    ui.Clear();
    ui.CancelFileOpen();
    EXPECT_EQ(doc().LoadProjectFile("a.kv", error, 1), 2);
    ASSERT_EQ(ui.Transcript().size(), 1u);
    EXPECT_EQ(ui.Transcript()[0].fileRequest.initialPath, dir.Path().string() + "/Systemfile");
    EXPECT_EQ(ui.Transcript()[0].fileRequest.filter, ResStr(5344));
    ui.Clear();
    ui.AnswerFileOpen({saved});
    EXPECT_EQ(doc().LoadProjectFile(Path("odd|name.txt"), error, 1), 1);
    EXPECT_EQ(ui.Transcript()[0].fileRequest.initialPath, Path("odd_name.txt"))
        << "the proposed name is cleaned";
    ExpectNoMismatch();
}

TEST_F(ProjectFile, AFailedSaveLeavesTheOldFileAsItWas) {
    NewProject(kFamily1);
    const std::string path = Save("keep.zrp");
    const std::vector<uint8_t> old = ReadFile(path);
    AddParts(*session().opGetActualPartSet(), 400, 0);
    doc().SetModifiedFlag(1);

    // Writing stops at 8 KiB: the temporary file cannot be completed.
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ui.ExpectMessage(MsgResult::Ok, ResStr(5121));
    const int result = doc().SaveProject(0, 1);
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_TRUE(doc().IsModified()) << "a failed save keeps the changes marked";
    ASSERT_FALSE(ui.Transcript().empty());
    EXPECT_NE(ui.Transcript().back().text.find("left unchanged"), std::string::npos);
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().filename().string().rfind(".keep", 0), std::string::npos)
            << "temporary file left behind: " << entry.path();
    EXPECT_EQ(doc().iGetBusy(), 0);
    ExpectNoMismatch();
}

TEST_F(ProjectFile, SavingOverAnExistingFileReplacesItCompletely) {
    NewProject(kFamily1);
    AddParts(*session().opGetActualPartSet(), 50, 0);
    const std::string path = Save("replace.zrp");
    session().opGetActualPartSet()->TeachParts().RemoveAll();
    Save("replace.zrp");
    ASSERT_EQ(Load(path), 1);
    EXPECT_TRUE(session().opGetActualPartSet()->TeachParts().bIsEmpty());
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::owner_read,
              std::filesystem::perms::owner_read);
}

TEST_F(ProjectFile, SavingAddsTheRecentFileAndTitlesTheDocument) {
    NewProject(kFamily1);
    doc().SetModifiedFlag(1);
    const std::string path = Save("recent.zrp");
    EXPECT_EQ(headless->RecentFiles().Entries().front(), path);
    EXPECT_EQ(settings.GetText("Recent File List", "File1", ""), path);
    EXPECT_EQ(doc().GetTitle(), "recent.zrp");
    EXPECT_EQ(doc().GetPathName(), path);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(doc().GetLastFolder(), dir.Path().string());
}

TEST_F(ProjectFile, FoldersWithBackslashesAreSplitAtTheLastOne) {
    NewProject(kFamily1);
    ui.CancelFileSave();
    std::string error;
    // Not a file of this platform: the folder text still ends at the last backslash.
    EXPECT_EQ(doc().WriteProjectFile("C:\\Projects\\Line 4\\housing.kvp", error), 2)
        << "a family-1 project needs .zrp";
    settings.SetText("Settings", "PATH", "C:\\Projects");
    OHeadlessDocument other(settings, &ui);
    ui.CancelFileSave();
    EXPECT_EQ(other.Doc().WriteProjectFile("", error), 2);
    EXPECT_EQ(ui.Transcript().back().fileRequest.initialPath, "C:\\Projects\\*.zrp");
}

}  // namespace
