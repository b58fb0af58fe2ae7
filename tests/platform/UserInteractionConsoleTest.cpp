#include <gtest/gtest.h>

#include <sstream>

#include "platform/FileDialog.h"
#include "platform/OUserInteraction_Console.h"

namespace {

class CountingModel : public ODialogModel {
  public:
    std::string DialogName() const override { return "ODlg_ProjectProperties"; }
    void OnOk() override { ++oks; }
    void OnCancel() override { ++cancels; }
    int oks = 0;
    int cancels = 0;
};

TEST(UserInteractionConsole, MessagesCarryTheirIconWordAndAnswerTheDefault) {
    std::ostringstream out;
    OUserInteraction_Console console(out);
    UserInteraction& ui = console;
    EXPECT_EQ(ui.Message("Connection lost.", MsgIcon::Error), MsgResult::Ok);
    EXPECT_EQ(ui.Message("Delete parts?", MsgIcon::Question, MsgButtons::YesNo, MsgResult::No),
              MsgResult::No);
    EXPECT_EQ(ui.Message("Plain", MsgIcon::None, MsgButtons::OkCancel, MsgResult::None, "Kalvor"),
              MsgResult::Ok);
    EXPECT_EQ(out.str(),
              "Error: Connection lost.\n"
              "Question: Delete parts?\n"
              "  -> No (default)\n"
              "Message: [Kalvor] Plain\n"
              "  -> Ok (default)\n");
}

TEST(UserInteractionConsole, LaterLinesOfAMessageAreIndented) {
    std::ostringstream out;
    OUserInteraction_Console console(out);
    console.Message("Cannot open the file.\r\n\r\nPermission denied", MsgIcon::Warning);
    EXPECT_EQ(out.str(), "Warning: Cannot open the file.\n    \n    Permission denied\n");
}

TEST(UserInteractionConsole, EverythingThatNeedsInputIsCancelled) {
    std::ostringstream out;
    OUserInteraction_Console console(out);
    UserInteraction& ui = console;
    EXPECT_FALSE(ui.FileOpen({.title = "Open project"}).bAccepted);
    EXPECT_FALSE(ui.FileSave({.title = "Save project"}).bAccepted);
    double z = 4;
    EXPECT_FALSE(ui.GetNumber("Z", "Z:", z, 0.0, 10.0));
    EXPECT_EQ(z, 4);
    std::string name = "keep";
    EXPECT_FALSE(ui.GetText("Name", "Name:", name));
    EXPECT_EQ(name, "keep");
    int index = 0;
    EXPECT_FALSE(ui.bChooseFromList("Export", "Choose:", {"a", "b"}, index));
    CountingModel model;
    EXPECT_FALSE(ui.bRunDialog(model));
    EXPECT_EQ(model.cancels, 1);
    EXPECT_EQ(model.oks, 0);
    EXPECT_NE(out.str().find("Dialog \"ODlg_ProjectProperties\" cancelled"), std::string::npos)
        << out.str();
    bool checked = false;
    EXPECT_EQ(ui.MessageWithCheckMark("Reset undo data?", "Do not show again", checked,
                                      MsgIcon::Warning, MsgButtons::OkCancel),
              MsgResult::Ok);
    EXPECT_FALSE(checked);
    EXPECT_FALSE(ui.Beep(2000, 200));
    EXPECT_FALSE(ui.MessageBeep(MsgIcon::Information));
}

TEST(UserInteractionConsole, ListDialogPrintsTheFindings) {
    std::ostringstream out;
    OUserInteraction_Console console(out);
    EXPECT_EQ(
        console.ListDialog("Target", "Changes:", {"one", "two"}, "Continue?", MsgButtons::YesNo),
        MsgResult::Yes);
    EXPECT_EQ(out.str(),
              "Information: [Target] Changes:\n"
              "    - one\n"
              "    - two\n"
              "    Continue?\n"
              "  -> Yes (default)\n");
}

TEST(FileDialogFilter, ParsesSeveralFiltersAndPatternLists) {
    const auto filters =
        ParseFileFilters("Project File (*.zrp;*.kvp);; Images (*.bmp *.jpg) ;;All Files (*.*)");
    ASSERT_EQ(filters.size(), 3u);
    EXPECT_EQ(filters[0].description, "Project File (*.zrp;*.kvp)");
    EXPECT_EQ(filters[0].patterns, (std::vector<std::string>{"*.zrp", "*.kvp"}));
    EXPECT_EQ(filters[1].description, "Images (*.bmp *.jpg)");
    EXPECT_EQ(filters[1].patterns, (std::vector<std::string>{"*.bmp", "*.jpg"}));
    EXPECT_EQ(filters[2].patterns, std::vector<std::string>{"*.*"});
}

TEST(FileDialogFilter, ToleratesOddFilterTexts) {
    EXPECT_TRUE(ParseFileFilters("").empty());
    EXPECT_TRUE(ParseFileFilters(";;;;").empty());
    const auto bare = ParseFileFilters("*.kvl");
    ASSERT_EQ(bare.size(), 1u);
    EXPECT_EQ(bare[0].patterns, std::vector<std::string>{"*.kvl"});
    const auto empty = ParseFileFilters("Nothing ()");
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_TRUE(empty[0].patterns.empty());
}

}  // namespace
