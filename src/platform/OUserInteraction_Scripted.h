// The test double of UserInteraction. A test scripts the user's answers in the order the
// program will ask for them; every call is recorded in a transcript.
//
// A call takes the next scripted answer when that answer is of the call's kind. When the
// script is empty the call is answered as if the user just confirmed (a message's default
// button, the first button of a list dialog) or cancelled (file, input and model dialogs) and
// is recorded as unscripted. When the next answer is of another kind, or does not fit the call
// (a button the box does not have, several files where one is asked for, a number out of
// range, a different dialog or text than expected), the call is recorded as a mismatch and
// answered as unscripted; a wrong-kind answer stays in the script. Tests check Mismatches()
// and bAllScriptUsed().
//
// A model dialog answer fills the model and says OK or Cancel. When OK fails validation, the
// validation message is shown (script it with ExpectMessage) and the dialog stays open: the
// next answer, when it is for a dialog, is the user's next try; otherwise the user cancels.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/UserInteraction.h"

enum class InteractionKind {
    Message,
    CheckMarkMessage,
    FileOpen,
    FileSave,
    Number,  // GetNumber, both the double and the int variant
    Text,
    List,
    Choice,
    Dialog,
    Beep,
    MessageBeep,
};

std::string_view InteractionKindName(InteractionKind kind);

struct OInteractionRecord {
    InteractionKind kind = InteractionKind::Message;
    bool bScripted = false;
    std::string caption;  // message caption, or the title of a dialog
    std::string text;     // message text, input prompt or list text
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    // The button answered. Dialogs: Ok or Cancel; a model dialog whose OK was refused by its
    // validation is recorded as Retry (the dialog then stays open).
    MsgResult result = MsgResult::None;
    std::string detail;              // check-mark text, or the list dialog's question
    bool bChecked = false;           // the check mark after the message
    std::vector<std::string> items;  // list entries, or the chosen file paths
    FileDialogRequest fileRequest;
    std::string dialogName;
    double number = 0;    // the number answered
    std::string answer;   // the text answered
    int choice = -1;      // the list entry chosen
    int frequencyHz = 0;  // beeps
    int durationMs = 0;
};

class OUserInteraction_Scripted : public UserInteraction {
  public:
    using DialogAnswer = std::function<bool(ODialogModel&)>;

    // textContains: when not empty, the message's text must contain it.
    void ExpectMessage(MsgResult result, std::string textContains = {});
    void ExpectCheckMarkMessage(MsgResult result, bool checked, std::string textContains = {});
    void AnswerFileOpen(std::vector<std::string> paths);
    void CancelFileOpen();
    void AnswerFileSave(std::string path);
    void CancelFileSave();
    void AnswerNumber(double value);
    void CancelNumber();
    void AnswerText(std::string text);
    void CancelText();
    void AnswerList(MsgResult result);
    void AnswerChoice(int index);
    void CancelChoice();
    // answer fills the model as the user would and returns true for OK, false for Cancel.
    // expectedName: when not empty, the dialog's DialogName() must equal it.
    void AnswerDialog(DialogAnswer answer, std::string expectedName = {});
    void ConfirmDialog(std::string expectedName = {});
    void CancelDialog(std::string expectedName = {});

    void SetBeepResult(bool played) { m_beepResult = played; }
    void SetMessageBeepResult(bool played) { m_messageBeepResult = played; }

    const std::vector<OInteractionRecord>& Transcript() const { return m_transcript; }
    // The texts of the messages and list dialogs shown, in order.
    std::vector<std::string> Texts() const;
    // The transcript as one line per call, for failure output.
    std::string TranscriptText() const;
    const std::vector<std::string>& Mismatches() const { return m_mismatches; }
    bool bAllScriptUsed() const { return m_script.empty(); }
    size_t iScriptLeft() const { return m_script.size(); }
    // Calls answered without a script (beeps need none and do not count).
    int iUnscriptedCount() const;
    int iWaitCursorShowCount() const { return m_waitCursorShows; }
    // Empties the transcript and the mismatches; the script stays.
    void Clear();
    void ClearScript() { m_script.clear(); }

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
    struct Answer {
        InteractionKind kind = InteractionKind::Message;
        bool bAccepted = true;
        MsgResult result = MsgResult::None;
        std::string expected;  // text the message must contain, or the dialog's name
        bool bChecked = false;
        std::vector<std::string> paths;
        double number = 0;
        std::string text;
        int choice = -1;
        DialogAnswer fill;
    };

    void Script(Answer answer);
    // The next answer when it is of this kind; else nothing (a mismatch when the script
    // holds an answer of another kind).
    std::optional<Answer> Take(InteractionKind kind, std::string_view what);
    void Mismatch(std::string text);
    MsgResult ScriptedButton(const std::optional<Answer>& answer, std::string_view text,
                             MsgButtons buttons, MsgResult defaultButton);
    std::optional<double> ScriptedNumber(InteractionKind kind, std::string_view prompt, double min,
                                         double max, bool& scripted);
    OInteractionRecord& Record(InteractionKind kind, bool scripted);

    std::deque<Answer> m_script;
    std::vector<OInteractionRecord> m_transcript;
    std::vector<std::string> m_mismatches;
    int m_waitCursorShows = 0;
    bool m_beepResult = true;
    bool m_messageBeepResult = true;
};
