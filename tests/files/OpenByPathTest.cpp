// Opening a Teach-Data, configuration or part-list file by its path: the file is read and
// checked before the open project is given up for a new one.
#include "FilesTestSupport.h"

namespace {

using namespace filestest;

struct OpenByPath : FilesFixture {
    // A project the user has worked on and saved: what a failed open must leave alone.
    std::string MakeSavedProject() {
        MakeContourProject();
        const std::string path = Save("work.zrp");
        EXPECT_FALSE(doc().IsModified());
        return path;
    }
    void ExpectProjectKept(const std::string& path) {
        EXPECT_EQ(session().GetProjectPath(), path);
        EXPECT_EQ(set().TeachParts().iGetSize(), 12);
        EXPECT_EQ(set().Tools().iGetNum(), 3);
    }
};

TEST_F(OpenByPath, ATeachDataFileThatCannotBeReadKeepsTheOpenProject) {
    const std::string project = MakeSavedProject();
    Export(ExchangeKind::TeachData, "good.zrt");
    const std::vector<uint8_t> good = ReadFile(dir / "good.zrt");
    WriteFile(dir / "cut.zrt", {good.begin(), good.end() - 20});
    WriteFile(dir / "noise.typ", std::vector<uint8_t>(700, 0x41));
    for (const char* name : {"cut.zrt", "noise.typ", "missing.zrt"}) {
        ui.ExpectMessage(MsgResult::Ok, ResStr(2017));
        EXPECT_TRUE(doc().OnOpenDocument(Path(name))) << name;
        ExpectProjectKept(project);
    }
    ExpectNoMismatch();
}

TEST_F(OpenByPath, ATeachDataFileStartsANewProjectWithItsTeachData) {
    MakeSavedProject();
    const OType_ZRPartSet_SubType taught = *set().opGetSubType(0);
    Export(ExchangeKind::TeachData, "good.zrt");
    doc().SetModifiedFlag(1);
    ui.ExpectMessage(MsgResult::No, ResStr(5005));
    ui.CancelDialog("ODlg_IdentifyZRType");
    EXPECT_TRUE(doc().OnOpenDocument(Path("good.zrt")));
    ExpectNoMismatch();
    EXPECT_TRUE(session().GetProjectPath().empty()) << "a new project";
    EXPECT_TRUE(set().TeachParts().bIsEmpty());
    ASSERT_GT(set().opGetSubType(0)->Vectors().iGetNum(), 0);
    EXPECT_EQ(set().opGetSubType(0)->Vectors().opGetAt(0)->At(0).mean,
              taught.Vectors().opGetAt(0)->At(0).mean);
    EXPECT_FALSE(doc().IsModified());
    EXPECT_EQ(doc().GetLastFolder(), dir.Path().string());
}

TEST_F(OpenByPath, CancelInTheSaveQuestionKeepsTheProject) {
    const std::string project = MakeSavedProject();
    Export(ExchangeKind::TeachData, "good.zrt");
    doc().SetModifiedFlag(1);
    ui.ExpectMessage(MsgResult::Cancel, ResStr(5005));
    EXPECT_FALSE(doc().OnOpenDocument(Path("good.zrt")));
    ExpectProjectKept(project);
    EXPECT_TRUE(doc().IsModified());
    ExpectNoMismatch();
}

TEST_F(OpenByPath, APartListIsReadFirstThenLoadedAsSampleOrTestParts) {
    const std::string project = MakeSavedProject();
    Export(ExchangeKind::TestPartList, "four.zrl");
    WriteFile(dir / "broken.txt", Bytes("teach,1,1,4,-8\nteach,x\n"));
    ui.ExpectMessage(MsgResult::Ok, ResStr(5103));
    EXPECT_TRUE(doc().OnOpenDocument(Path("broken.txt")));
    EXPECT_NE(ui.Texts().back().find("line 2"), std::string::npos) << Shown();
    ExpectProjectKept(project);

    ui.CancelDialog("ODlg_IdentifyZRType");
    ui.ExpectMessage(MsgResult::No, ResStr(5004));
    EXPECT_TRUE(doc().OnOpenDocument(Path("four.zrl")));
    EXPECT_TRUE(set().TeachParts().bIsEmpty());
    ASSERT_EQ(set().TestParts().iGetSize(), 4);
    EXPECT_EQ(set().TestParts().GetAt(3)->iGetRecordNo(), 4);
    EXPECT_FALSE(set().TestParts().GetAt(0)->bIsTeachPart());
    EXPECT_EQ(set().iShowGetTeachTest(), 0);
    ui.CancelDialog("ODlg_IdentifyZRType");
    ui.ExpectMessage(MsgResult::Yes, ResStr(5004));
    EXPECT_TRUE(doc().OnOpenDocument(Path("four.zrl")));
    EXPECT_EQ(set().TeachParts().iGetSize(), 4);
    EXPECT_TRUE(set().TeachParts().GetAt(0)->bIsTeachPart());
    ExpectNoMismatch();
}

TEST_F(OpenByPath, AConfigurationIsReadFirstAndLoadedIntoTheNewProject) {
    // The new project takes the last target from the settings: a camera device.
    NewProject(kFamily2);
    set().SetName("Cap");
    AddParts(set(), 2, 0);
    Export(ExchangeKind::Configuration, "cap.kvc");
    WriteFile(dir / "text.kvc", Bytes("not a configuration"));
    AddParts(set(), 5, 0);
    const std::string project = Save("cameras.kvp");

    ui.ExpectMessage(MsgResult::Ok, ResStr(2018));
    EXPECT_TRUE(doc().OnOpenDocument(Path("text.kvc")));
    EXPECT_EQ(session().GetProjectPath(), project);
    EXPECT_EQ(set().TeachParts().iGetSize(), 7);

    ui.CancelDialog("ODlg_IdentifyZRType");
    EXPECT_TRUE(doc().OnOpenDocument(Path("cap.kvc")));
    ExpectNoMismatch();
    EXPECT_TRUE(session().GetProjectPath().empty());
    EXPECT_EQ(set().GetName(), "Cap");
    EXPECT_EQ(set().TeachParts().iGetSize(), 2);
    EXPECT_FALSE(doc().IsModified());
}

}  // namespace
