// An unattended run opens no window: what would ask the user is logged and answered so that
// the run goes on and ends by itself.
#include <gtest/gtest.h>

#include "platform/OUserInteraction_Scripted.h"

namespace {

struct CountingDialog : ODialogModel {
    std::string DialogName() const override { return "Counting"; }
    void OnCancel() override { ++cancelled; }
    int cancelled = 0;
};

TEST(Unattended, MessagesAreLoggedAndAnsweredWithoutAWindow) {
    OUserInteraction_Scripted ui;  // fails the test on any window it was not told about
    std::vector<std::string> logged;
    ui.SetUnattended([&](std::string_view text) { logged.emplace_back(text); });
    EXPECT_EQ(ui.Message("retry?", MsgIcon::Error, MsgButtons::RetryCancel), MsgResult::Cancel)
        << "a retry question would otherwise loop for ever";
    EXPECT_EQ(ui.Message("sure?", MsgIcon::Question, MsgButtons::YesNo), MsgResult::No);
    EXPECT_EQ(ui.Message("note"), MsgResult::Ok);
    bool checked = false;
    EXPECT_EQ(ui.MessageWithCheckMark("warn", "again", checked), MsgResult::Ok);
    EXPECT_EQ(ui.ListDialog("t", "changes:", {"a", "b"}, "go?", MsgButtons::OkCancel),
              MsgResult::Cancel);
    EXPECT_EQ(logged,
              (std::vector<std::string>{"retry?", "sure?", "note", "warn", "changes: a b"}));

    CountingDialog dialog;
    EXPECT_FALSE(ui.bRunDialog(dialog));
    EXPECT_EQ(dialog.cancelled, 1);
    EXPECT_FALSE(ui.FileOpen({}).bAccepted);
    double number = 5;
    EXPECT_FALSE(ui.GetNumber("t", "p", number, 0, 10));
    EXPECT_EQ(number, 5);
    EXPECT_TRUE(ui.Transcript().empty()) << "no window was shown";

    ui.SetUnattended({});
    EXPECT_FALSE(ui.bIsUnattended());
    ui.ExpectMessage(MsgResult::Ok, "shown");
    EXPECT_EQ(ui.Message("shown again"), MsgResult::Ok) << "windows open again afterwards";
    EXPECT_EQ(ui.Transcript().size(), 1u);
}

}  // namespace
