// UserInteraction for headless tools (kalvorctl, the simulator): messages are written to a
// stream (stderr by default) with their icon as a word in front; every question is answered
// with its default button, file, input, list-choice and model dialogs are cancelled. Nothing
// ever waits for input. There is no sound, so the beeps report that nothing was played.
#pragma once

#include <iosfwd>

#include "platform/UserInteraction.h"

class OUserInteraction_Console : public UserInteraction {
  public:
    OUserInteraction_Console();
    explicit OUserInteraction_Console(std::ostream& out);

  protected:
    MsgResult ShowMessage(const OMessageRequest& request) override;
    MsgResult ShowMessageWithCheckMark(const OMessageRequest& request, std::string_view checkText,
                                       bool& checked) override;
    FileDialogResult ShowFileOpen(const FileDialogRequest& request) override;
    FileDialogResult ShowFileSave(const FileDialogRequest& request) override;
    bool AskNumber(std::string_view title, std::string_view prompt, double& value, double min,
                   double max) override;
    bool AskInt(std::string_view title, std::string_view prompt, int& value, int min,
                int max) override;
    bool AskText(std::string_view title, std::string_view prompt, std::string& text) override;
    MsgResult ShowList(const OListRequest& request) override;
    bool AskChoice(const OListRequest& request, int& index) override;
    bool bShowDialog(ODialogModel& model) override;
    void ShowWaitCursor(bool shown) override;
    bool PlayBeep(int frequencyHz, int durationMs) override;
    bool PlayMessageBeep(MsgIcon icon) override;

  private:
    void WriteMessage(std::string_view prefix, std::string_view caption, std::string_view text);
    void WriteAnswer(MsgButtons buttons, MsgResult answer);
    void WriteCancelled(std::string_view what, std::string_view title);

    std::ostream& m_out;
};
