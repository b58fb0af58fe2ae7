#include <gtest/gtest.h>

#include "platform/OUserInteraction_Scripted.h"
#include "platform/OWaitCursor.h"

namespace {

// A dialog model like the options dialog's part buffer field: 1 to 25000.
class BufferSizeModel : public ODialogModel {
  public:
    std::string DialogName() const override { return "ODlg_Options"; }
    bool bValidate(std::string& message) override {
        if (size >= 1 && size <= 25000) return true;
        message = "Please enter an integer between 1 and 25000.";
        return false;
    }
    void OnOk() override { okRuns.push_back(size); }
    void OnCancel() override { ++cancelRuns; }

    int size = 4000;
    std::vector<int> okRuns;
    int cancelRuns = 0;
};

TEST(UserInteractionScripted, UnscriptedMessagesAnswerTheDefaultButton) {
    OUserInteraction_Scripted ui;
    UserInteraction& core = ui;
    EXPECT_EQ(core.Message("a"), MsgResult::Ok);
    EXPECT_EQ(core.Message("b", MsgIcon::Question, MsgButtons::YesNo), MsgResult::Yes);
    EXPECT_EQ(core.Message("c", MsgIcon::Question, MsgButtons::YesNo, MsgResult::No),
              MsgResult::No);
    // A default the set does not have falls back to the set's first button.
    EXPECT_EQ(core.Message("d", MsgIcon::Warning, MsgButtons::OkCancel, MsgResult::Yes),
              MsgResult::Ok);
    EXPECT_EQ(core.Message("e", MsgIcon::Error, MsgButtons::RetryCancel), MsgResult::Retry);
    EXPECT_EQ(ui.iUnscriptedCount(), 5);
    EXPECT_TRUE(ui.Mismatches().empty());
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
}

TEST(UserInteractionScripted, ScriptedAnswersAreTakenInOrderAndRecorded) {
    OUserInteraction_Scripted ui;
    ui.ExpectMessage(MsgResult::No, "Save changes");
    ui.AnswerFileOpen({"/p/a.kvl", "/p/b.kvl"});
    ui.ExpectMessage(MsgResult::Cancel);

    UserInteraction& core = ui;
    EXPECT_EQ(core.Message("Save changes to the project?", MsgIcon::Question,
                           MsgButtons::YesNoCancel, MsgResult::None, "Kalvor"),
              MsgResult::No);
    FileDialogRequest request{
        .title = "Load part list", .defaultExtension = "kvl", .bMultipleSelection = true};
    const FileDialogResult files = core.FileOpen(request);
    EXPECT_TRUE(files.bAccepted);
    EXPECT_EQ(files.paths, (std::vector<std::string>{"/p/a.kvl", "/p/b.kvl"}));
    EXPECT_EQ(core.Message("Transfer?", MsgIcon::Warning, MsgButtons::OkCancel), MsgResult::Cancel);

    EXPECT_TRUE(ui.bAllScriptUsed());
    EXPECT_TRUE(ui.Mismatches().empty());
    ASSERT_EQ(ui.Transcript().size(), 3u);
    const OInteractionRecord& first = ui.Transcript()[0];
    EXPECT_EQ(first.kind, InteractionKind::Message);
    EXPECT_TRUE(first.bScripted);
    EXPECT_EQ(first.caption, "Kalvor");
    EXPECT_EQ(first.icon, MsgIcon::Question);
    EXPECT_EQ(first.buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(first.result, MsgResult::No);
    EXPECT_EQ(ui.Transcript()[1].kind, InteractionKind::FileOpen);
    EXPECT_EQ(ui.Transcript()[1].fileRequest.defaultExtension, "kvl");
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Save changes to the project?", "Transfer?"}));
}

TEST(UserInteractionScripted, AnswerOfTheWrongKindIsAMismatchAndStaysScripted) {
    OUserInteraction_Scripted ui;
    ui.CancelFileSave();
    UserInteraction& core = ui;
    EXPECT_EQ(core.Message("unexpected", MsgIcon::Question, MsgButtons::YesNo, MsgResult::No),
              MsgResult::No);
    ASSERT_EQ(ui.Mismatches().size(), 1u);
    EXPECT_NE(ui.Mismatches()[0].find("file save dialog"), std::string::npos) << ui.Mismatches()[0];
    EXPECT_NE(ui.Mismatches()[0].find("unexpected"), std::string::npos);
    EXPECT_FALSE(ui.bAllScriptUsed());
    EXPECT_FALSE(ui.Transcript()[0].bScripted);

    EXPECT_FALSE(core.FileSave({.title = "Save"}).bAccepted);
    EXPECT_TRUE(ui.bAllScriptUsed());
    EXPECT_TRUE(ui.Transcript()[1].bScripted);
}

TEST(UserInteractionScripted, AnswersThatDoNotFitTheCallAreMismatches) {
    OUserInteraction_Scripted ui;
    UserInteraction& core = ui;

    ui.ExpectMessage(MsgResult::Yes);  // the box has OK and Cancel
    EXPECT_EQ(core.Message("x", MsgIcon::Warning, MsgButtons::OkCancel, MsgResult::Cancel),
              MsgResult::Cancel);
    ui.ExpectMessage(MsgResult::Ok, "part limit");
    EXPECT_EQ(core.Message("Some other text"), MsgResult::Ok);
    ui.AnswerFileOpen({"/a", "/b"});  // two files for a single-selection dialog
    EXPECT_FALSE(core.FileOpen({.title = "Open"}).bAccepted);
    ui.AnswerNumber(30000);  // out of range
    double z = 1.5;
    EXPECT_FALSE(core.GetNumber("Z", "Z coordinate:", z, -100.0, 100.0));
    EXPECT_EQ(z, 1.5);
    ui.AnswerNumber(2.5);  // not a whole number
    int count = 7;
    EXPECT_FALSE(core.GetNumber("Count", "Parts:", count, 1, 10));
    EXPECT_EQ(count, 7);
    ui.AnswerChoice(3);  // only two entries
    int index = 0;
    EXPECT_FALSE(core.bChooseFromList("Part type", "Choose:", {"A", "B"}, index));
    ui.ConfirmDialog("ODlg_Other");
    BufferSizeModel model;
    EXPECT_TRUE(core.bRunDialog(model));

    EXPECT_EQ(ui.Mismatches().size(), 7u) << ui.TranscriptText();
    EXPECT_TRUE(ui.bAllScriptUsed());
}

TEST(UserInteractionScripted, CheckMarkMessages) {
    OUserInteraction_Scripted ui;
    UserInteraction& core = ui;
    bool dontShowAgain = false;
    ui.ExpectCheckMarkMessage(MsgResult::Ok, true);
    EXPECT_EQ(core.MessageWithCheckMark("Z is not 0", "Do not show again", dontShowAgain),
              MsgResult::Ok);
    EXPECT_TRUE(dontShowAgain);
    EXPECT_EQ(ui.Transcript()[0].detail, "Do not show again");
    EXPECT_TRUE(ui.Transcript()[0].bChecked);

    // Unscripted: the mark stays as it was, the default button answers.
    bool mark = true;
    EXPECT_EQ(core.MessageWithCheckMark("reset undo?", "Do not show again", mark, MsgIcon::Warning,
                                        MsgButtons::OkCancel),
              MsgResult::Ok);
    EXPECT_TRUE(mark);
    // A plain message answer does not answer a check-mark message.
    ui.ExpectMessage(MsgResult::Ok);
    core.MessageWithCheckMark("again", "x", mark);
    EXPECT_EQ(ui.Mismatches().size(), 1u);
}

TEST(UserInteractionScripted, FileDialogs) {
    OUserInteraction_Scripted ui;
    UserInteraction& core = ui;
    // Unscripted file dialogs are cancelled.
    EXPECT_FALSE(core.FileOpen({.title = "Open"}).bAccepted);
    ui.AnswerFileSave("/p/list.zrl");
    const FileDialogResult saved = core.FileSave(
        {.title = "Save part list", .filter = "Part list (*.zrl)", .bOverwritePrompt = true});
    EXPECT_TRUE(saved.bAccepted);
    EXPECT_EQ(saved.paths, std::vector<std::string>{"/p/list.zrl"});
    EXPECT_TRUE(ui.Transcript()[1].fileRequest.bOverwritePrompt);
    EXPECT_EQ(ui.Transcript()[1].items, std::vector<std::string>{"/p/list.zrl"});
    ui.CancelFileOpen();
    EXPECT_FALSE(core.FileOpen({.title = "Open"}).bAccepted);
    EXPECT_EQ(ui.Transcript()[2].result, MsgResult::Cancel);
    EXPECT_TRUE(ui.Mismatches().empty());
}

TEST(UserInteractionScripted, InputDialogsChangeTheValueOnlyOnOk) {
    OUserInteraction_Scripted ui;
    UserInteraction& core = ui;
    double z = 0;
    ui.AnswerNumber(-12.25);
    EXPECT_TRUE(core.GetNumber("Z", "Z:", z, -100.0, 100.0));
    EXPECT_EQ(z, -12.25);
    int minutes = 10;
    ui.AnswerNumber(1440);
    EXPECT_TRUE(core.GetNumber("Time", "Minutes:", minutes, 1, 1440));
    EXPECT_EQ(minutes, 1440);
    ui.CancelNumber();
    EXPECT_FALSE(core.GetNumber("Time", "Minutes:", minutes, 1, 1440));
    EXPECT_EQ(minutes, 1440);

    std::string name = "old";
    EXPECT_FALSE(core.GetText("Name", "Name:", name));  // unscripted
    EXPECT_EQ(name, "old");
    ui.AnswerText("Check program 2");
    EXPECT_TRUE(core.GetText("Name", "Name:", name));
    EXPECT_EQ(name, "Check program 2");
    ui.CancelText();
    EXPECT_FALSE(core.GetText("Name", "Name:", name));
    EXPECT_EQ(name, "Check program 2");
    EXPECT_EQ(ui.iUnscriptedCount(), 1);
    EXPECT_TRUE(ui.Mismatches().empty());
}

TEST(UserInteractionScripted, ListDialogsAndChoices) {
    OUserInteraction_Scripted ui;
    UserInteraction& core = ui;
    const std::vector<std::string> findings{"Part type 7 holds part data",
                                            "Tool 'Edge' does not fit"};
    EXPECT_EQ(core.ListDialog("Target system", "These changes follow:", findings, "Continue?",
                              MsgButtons::YesNo),
              MsgResult::Yes);  // unscripted: first button
    ui.AnswerList(MsgResult::No);
    EXPECT_EQ(core.ListDialog("Target system", "These changes follow:", findings, "Continue?",
                              MsgButtons::YesNo),
              MsgResult::No);
    EXPECT_EQ(ui.Transcript()[1].items, findings);
    EXPECT_EQ(ui.Transcript()[1].detail, "Continue?");

    int index = 0;
    ui.AnswerChoice(1);
    EXPECT_TRUE(
        core.bChooseFromList("Export", "Choose:", {"Project text", "Teach part list"}, index));
    EXPECT_EQ(index, 1);
    ui.CancelChoice();
    EXPECT_FALSE(
        core.bChooseFromList("Export", "Choose:", {"Project text", "Teach part list"}, index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(core.bChooseFromList("Export", "Choose:", {}, index));  // nothing to choose
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{"These changes follow:", "These changes follow:"}));
}

TEST(UserInteractionScripted, DialogConfirmedRunsValidationAndOk) {
    OUserInteraction_Scripted ui;
    BufferSizeModel model;
    ui.AnswerDialog(
        [](ODialogModel& m) {
            dynamic_cast<BufferSizeModel&>(m).size = 25000;
            return true;
        },
        "ODlg_Options");
    EXPECT_TRUE(ui.bRunDialog(model));
    EXPECT_EQ(model.okRuns, std::vector<int>{25000});
    EXPECT_EQ(model.cancelRuns, 0);
    ASSERT_EQ(ui.Transcript().size(), 1u);
    EXPECT_EQ(ui.Transcript()[0].kind, InteractionKind::Dialog);
    EXPECT_EQ(ui.Transcript()[0].dialogName, "ODlg_Options");
    EXPECT_EQ(ui.Transcript()[0].result, MsgResult::Ok);
    EXPECT_TRUE(ui.Mismatches().empty());
}

TEST(UserInteractionScripted, DialogCancelledOrUnscriptedRunsCancel) {
    OUserInteraction_Scripted ui;
    BufferSizeModel model;
    ui.AnswerDialog([](ODialogModel& m) {
        dynamic_cast<BufferSizeModel&>(m).size = 12;  // typed, then Cancel
        return false;
    });
    EXPECT_FALSE(ui.bRunDialog(model));
    EXPECT_FALSE(ui.bRunDialog(model));  // unscripted
    EXPECT_TRUE(model.okRuns.empty());
    EXPECT_EQ(model.cancelRuns, 2);
    EXPECT_EQ(ui.iUnscriptedCount(), 1);
}

TEST(UserInteractionScripted, RefusedOkKeepsTheDialogOpenForTheNextTry) {
    OUserInteraction_Scripted ui;
    BufferSizeModel model;
    ui.AnswerDialog([](ODialogModel& m) {
        dynamic_cast<BufferSizeModel&>(m).size = 0;
        return true;
    });
    ui.ExpectMessage(MsgResult::Ok, "between 1 and 25000");
    ui.AnswerDialog([](ODialogModel& m) {
        dynamic_cast<BufferSizeModel&>(m).size = 500;
        return true;
    });
    EXPECT_TRUE(ui.bRunDialog(model));
    EXPECT_EQ(model.okRuns, std::vector<int>{500});
    EXPECT_EQ(model.cancelRuns, 0);
    ASSERT_EQ(ui.Transcript().size(), 3u) << ui.TranscriptText();
    EXPECT_EQ(ui.Transcript()[0].result, MsgResult::Retry);
    EXPECT_EQ(ui.Transcript()[1].kind, InteractionKind::Message);
    EXPECT_EQ(ui.Transcript()[1].icon, MsgIcon::Warning);
    EXPECT_EQ(ui.Transcript()[2].result, MsgResult::Ok);
    EXPECT_TRUE(ui.Mismatches().empty());
    EXPECT_TRUE(ui.bAllScriptUsed());
}

TEST(UserInteractionScripted, RefusedOkWithoutAnotherTryCancels) {
    OUserInteraction_Scripted ui;
    BufferSizeModel model;
    model.size = 30000;
    ui.ConfirmDialog();
    ui.ExpectMessage(MsgResult::Ok);
    EXPECT_FALSE(ui.bRunDialog(model));
    EXPECT_TRUE(model.okRuns.empty());
    EXPECT_EQ(model.cancelRuns, 1);
    EXPECT_TRUE(ui.Mismatches().empty());
}

TEST(UserInteractionScripted, WaitCursorNestsAndBeepsAreRecorded) {
    OUserInteraction_Scripted ui;
    {
        OWaitCursor outer(ui);
        OWaitCursor inner(ui);
        EXPECT_EQ(ui.iWaitCursorDepth(), 2);
    }
    EXPECT_EQ(ui.iWaitCursorDepth(), 0);
    ui.EndWaitCursor();  // unbalanced end: ignored
    EXPECT_EQ(ui.iWaitCursorDepth(), 0);
    ui.BeginWaitCursor();
    ui.EndWaitCursor();
    EXPECT_EQ(ui.iWaitCursorShowCount(), 2);

    ui.SetMessageBeepResult(false);
    EXPECT_FALSE(ui.MessageBeep(MsgIcon::Information));
    EXPECT_TRUE(ui.Beep(2000, 200));
    ASSERT_EQ(ui.Transcript().size(), 2u);
    EXPECT_EQ(ui.Transcript()[0].kind, InteractionKind::MessageBeep);
    EXPECT_EQ(ui.Transcript()[1].frequencyHz, 2000);
    EXPECT_EQ(ui.Transcript()[1].durationMs, 200);
    EXPECT_EQ(ui.iUnscriptedCount(), 0);
    EXPECT_TRUE(ui.Texts().empty());
}

TEST(UserInteractionScripted, ClearEmptiesTheTranscriptButKeepsTheScript) {
    OUserInteraction_Scripted ui;
    ui.ExpectMessage(MsgResult::Ok);
    ui.CancelText();
    ui.Message("first");
    ui.Message("wrong kind");
    EXPECT_EQ(ui.Mismatches().size(), 1u);
    ui.Clear();
    EXPECT_TRUE(ui.Transcript().empty());
    EXPECT_TRUE(ui.Mismatches().empty());
    EXPECT_EQ(ui.iScriptLeft(), 1u);
    ui.ClearScript();
    EXPECT_TRUE(ui.bAllScriptUsed());
}

TEST(UserInteractionScripted, TranscriptTextNamesEveryCall) {
    OUserInteraction_Scripted ui;
    ui.ExpectMessage(MsgResult::Yes);
    ui.Message("Delete 3 parts?", MsgIcon::Question, MsgButtons::YesNo);
    ui.Beep(4000, 100);
    EXPECT_EQ(ui.TranscriptText(),
              "message Question -> Yes \"Delete 3 parts?\"\n"
              "beep 4000 Hz 100 ms -> None\n");
}

}  // namespace
