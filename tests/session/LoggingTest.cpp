// "Record received parts to file": numbered part-list files of a given size, the question
// for an existing file, the choice of part kinds, empty files, write failures, and the
// document's command with its settings dialog.
#include <filesystem>

#include "SessionTestSupport.h"
#include "device/ODlg_MsgBox_WithCheckMark.h"
#include "document/CommandIds.h"
#include "model/strings/ResStr.h"

using namespace sessiontest;

namespace {

namespace fs = std::filesystem;

std::unique_ptr<OType_Part> Part(int label, bool teach = false, double deviation = 10) {
    auto part = std::make_unique<OType_Part>();
    part->SetConturData({5, -9, 6, -10});
    part->SetComment("#" + std::to_string(label));
    part->SetTeachPart(teach);
    part->SetResultValue(0, deviation);
    return part;
}

int PartsIn(const fs::path& file) {
    OType_ZRPartSet set;
    std::string error;
    if (set.iLoadParts(file, false, &error) != 1) return -1;
    return set.TestParts().iGetSize();
}

std::string FirstLabelIn(const fs::path& file) {
    OType_ZRPartSet set;
    if (set.iLoadParts(file, false) != 1 || set.TestParts().bIsEmpty()) return {};
    return set.TestParts().GetAt_NoSort(0)->GetComment();
}

struct SessionLogFile : ::testing::Test {
    SessionLogFile() { session = std::make_unique<OQuillon>(settings, ui, nullptr); }
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    std::unique_ptr<OQuillon> session;
    TempDir dir;
};

TEST_F(SessionLogFile, TwoHundredFiftyPartsMakeThreeFilesOfAHundred) {
    ASSERT_TRUE(session->bSetUpNewProject({1, 778, 0, 6, 1, 8}, {}));
    session->LogSettings().partsPerFile = 100;
    ui.AnswerFileSave((dir / "run.zrl").string());
    ASSERT_EQ(session->StartLogging(), 1);
    ASSERT_EQ(ui.Transcript().size(), 1u);
    EXPECT_EQ(ui.Transcript()[0].fileRequest.defaultExtension, "zrl");
    EXPECT_TRUE(ui.Transcript()[0].fileRequest.bOverwritePrompt);
    for (int i = 1; i <= 250; ++i)
        ASSERT_EQ(session->LogPart(*Part(i)), 1);
    session->StopLogging();
    EXPECT_FALSE(session->bIsLoggingToFile());
    EXPECT_EQ(PartsIn(dir / "run.zrl"), 100);
    EXPECT_EQ(PartsIn(dir / "run_1.zrl"), 100);
    EXPECT_EQ(PartsIn(dir / "run_2.zrl"), 50);
    EXPECT_FALSE(fs::exists(dir / "run_3.zrl"));
    EXPECT_EQ(FirstLabelIn(dir / "run_1.zrl"), "#101");
    EXPECT_EQ(FirstLabelIn(dir / "run_2.zrl"), "#201");
    EXPECT_EQ(settings.GetText("Settings", "LOGGING_TOFILE_FILEPATH", ""), (dir / "run").string());
    EXPECT_EQ(settings.GetText("Settings", "LOGGING_TOFILE_FILEEXTENSION", ""), "zrl");
    EXPECT_EQ(settings.iGetInt("Settings", "LOGGING_TOFILE_PARTSPERFILE", -1), 100);
}

TEST_F(SessionLogFile, AnExistingFileIsKeptOnYesOverwrittenOnNoAndCancelAborts) {
    ASSERT_TRUE(session->bSetUpNewProject({9, 818, 0, 6, 1, 8}, {}));
    session->LogSettings().partsPerFile = 2;
    std::ofstream(dir / "old.kvl") << "kept";
    std::ofstream(dir / "old_1.kvl") << "kept too";
    ui.AnswerFileSave((dir / "old.kvl").string());
    ui.ExpectMessage(MsgResult::Yes, ResStr(4146));
    ASSERT_EQ(session->StartLogging(), 1);
    EXPECT_EQ(ui.Transcript()[0].fileRequest.defaultExtension, "kvl") << "new platform";
    for (int i = 1; i <= 3; ++i)
        session->LogPart(*Part(i));
    session->StopLogging();
    EXPECT_EQ(fs::file_size(dir / "old.kvl"), 4u) << "kept";
    EXPECT_EQ(fs::file_size(dir / "old_1.kvl"), 8u) << "the next free number is taken";
    EXPECT_EQ(PartsIn(dir / "old_2.kvl"), 2);
    EXPECT_EQ(PartsIn(dir / "old_3.kvl"), 1);

    ui.AnswerFileSave((dir / "old.kvl").string());
    ui.ExpectMessage(MsgResult::No, ResStr(4146));
    ASSERT_EQ(session->StartLogging(), 1);
    session->LogPart(*Part(9));
    session->StopLogging();
    EXPECT_EQ(PartsIn(dir / "old.kvl"), 1) << "overwritten";

    ui.AnswerFileSave((dir / "old.kvl").string());
    ui.ExpectMessage(MsgResult::Cancel, ResStr(4146));
    EXPECT_EQ(session->StartLogging(), 0);
    EXPECT_FALSE(session->bIsLoggingToFile());
    EXPECT_EQ(PartsIn(dir / "old.kvl"), 1);
    EXPECT_TRUE(ui.bAllScriptUsed());
}

TEST_F(SessionLogFile, AFileWithoutPartsIsDeletedWhenLoggingStops) {
    ASSERT_TRUE(session->bSetUpNewProject({1, 778, 0, 6, 1, 8}, {}));
    ui.AnswerFileSave((dir / "empty.zrl").string());
    ASSERT_EQ(session->StartLogging(), 1);
    EXPECT_TRUE(fs::exists(dir / "empty.zrl"));
    session->StopLogging();
    EXPECT_FALSE(fs::exists(dir / "empty.zrl"));
    ui.CancelFileSave();
    EXPECT_EQ(session->StartLogging(), 0);
}

TEST_F(SessionLogFile, OnlyTheChosenKindsOfPartsAreLogged) {
    ASSERT_TRUE(session->bSetUpNewProject({1, 778, 0, 6, 1, 8}, {}));
    OLogToFileSettings& s = session->LogSettings();
    s.useTeachParts = 0;
    s.useGoodParts = 1;
    s.useBadParts = 0;
    ui.AnswerFileSave((dir / "kinds.zrl").string());
    ASSERT_EQ(session->StartLogging(), 1);
    EXPECT_EQ(session->LogPart(*Part(1, true)), 2) << "a sample part is skipped";
    EXPECT_EQ(session->LogPart(*Part(2, false, 100)), 1) << "100 is still good";
    EXPECT_EQ(session->LogPart(*Part(3, false, 100.5)), 2) << "bad";
    session->StopLogging();
    EXPECT_EQ(PartsIn(dir / "kinds.zrl"), 1);
    EXPECT_EQ(FirstLabelIn(dir / "kinds.zrl"), "#2");
}

TEST_F(SessionLogFile, AWriteFailureStopsLoggingWith5132) {
    ASSERT_TRUE(session->bSetUpNewProject({1, 778, 0, 6, 1, 8}, {}));
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    fs::create_symlink("/dev/full", dir / "full.zrl");
    // The name exists (it is the device); No writes into it.
    ui.AnswerFileSave((dir / "full.zrl").string());
    ui.ExpectMessage(MsgResult::No, ResStr(4146));
    ui.ExpectMessage(MsgResult::Ok, ResStr(5132));
    ASSERT_EQ(session->StartLogging(), 1);
    EXPECT_EQ(session->LogPart(*Part(1)), 0);
    EXPECT_FALSE(session->bIsLoggingToFile());
    EXPECT_TRUE(ui.bAllScriptUsed()) << ui.TranscriptText();
}

TEST_F(SessionLogFile, ANextFileThatCannotBeMadeStopsLoggingWith5132) {
    ASSERT_TRUE(session->bSetUpNewProject({1, 778, 0, 6, 1, 8}, {}));
    session->LogSettings().partsPerFile = 2;
    // The name of the second file is taken by a folder, so it cannot be created.
    fs::create_directory(dir / "run_1.zrl");
    ui.AnswerFileSave((dir / "run.zrl").string());
    ASSERT_EQ(session->StartLogging(), 1);
    ASSERT_EQ(session->LogPart(*Part(1)), 1);
    ASSERT_EQ(session->LogPart(*Part(2)), 1);
    ui.ExpectMessage(MsgResult::Ok, ResStr(5132));
    EXPECT_EQ(session->LogPart(*Part(3)), 0);
    EXPECT_FALSE(session->bIsLoggingToFile()) << "recording to file has ended";
    EXPECT_TRUE(ui.bAllScriptUsed()) << ui.TranscriptText();
    EXPECT_EQ(ui.Transcript().back().icon, MsgIcon::Error);
    EXPECT_EQ(session->LogPart(*Part(4)), 0) << "later parts are not taken for logged";
    EXPECT_EQ(ui.Transcript().size(), 2u) << "and the message is not repeated";
    EXPECT_EQ(PartsIn(dir / "run.zrl"), 2) << "the parts logged before stay";
}

TEST(SessionLogging, TheCommandAsksItsSettingsAndRecordsTestPartsToFiles) {
    OSessionSetup setup;
    setup.target = {1, 778, 0, 6, 1, 8};
    setup.simOptions = {"--hardware", "1", "--rate", "200"};
    OSessionFixture f(setup);
    TempDir dir;
    ODoc& doc = f.Doc();
    EXPECT_FALSE(doc.GetCommandState(Cmd::kRecordToFile).checked);
    f.ui.AnswerDialog(
        [](ODialogModel& model) {
            auto& d = dynamic_cast<ODlg_MsgBox_WithCheckMark&>(model);
            EXPECT_EQ(d.caption, ResStr(4143));
            EXPECT_EQ(d.numberLabel, ResStr(4177));
            EXPECT_EQ(d.checks.size(), 3u) << "no camera-image box on a contour device";
            d.number = 0;  // taken as 1
            d.checks[0].checked = false;
            return true;
        },
        "ODlg_MsgBox_WithCheckMark");
    f.ui.AnswerFileSave((dir / "stream.zrl").string());
    f.ui.ExpectMessage(MsgResult::Ok, ResStr(7002));
    doc.OnCommand(Cmd::kRecordToFile, 0);
    ASSERT_TRUE(f.Session().bIsLoggingToFile()) << Shown(f.ui);
    EXPECT_EQ(f.Session().LogSettings().partsPerFile, 1);
    EXPECT_EQ(f.Session().LogSettings().useTeachParts, 0);
    EXPECT_TRUE(doc.GetCommandState(Cmd::kRecordToFile).checked);
    EXPECT_FALSE(doc.GetCommandState(Cmd::kRecordSampleParts).enabled) << "while logging";
    EXPECT_EQ(f.Session().iGetRecordingTarget(), 0);
    ASSERT_TRUE(f.bPumpUntil([&] { return f.Session().iGetLogFileCounter() >= 3; }));
    doc.OnCommand(Cmd::kRecordToFile, 0);
    EXPECT_FALSE(f.Session().bIsLoggingToFile());
    EXPECT_TRUE(f.Set().TestParts().bIsEmpty()) << "the parts went to the files";
    EXPECT_EQ(PartsIn(dir / "stream.zrl"), 1);
    EXPECT_EQ(PartsIn(dir / "stream_1.zrl"), 1);
    EXPECT_EQ(PartsIn(dir / "stream_2.zrl"), 1);
    EXPECT_TRUE(f.ui.bAllScriptUsed()) << Shown(f.ui);
}

}  // namespace
