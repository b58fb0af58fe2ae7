// Everything the core shows to or asks of the user: message boxes, file dialogs, small input
// dialogs, list dialogs, modal dialog models, the wait cursor and beeps. The desktop
// implements it with Qt, tests with OUserInteraction_Scripted, headless tools with
// OUserInteraction_Console. Used from the UI thread only.
//
// The public calls are fixed here; implementations override the protected Show/Ask/Play
// functions, which receive the request with the default button already resolved.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileDialog.h"
#include "platform/ODialogModel.h"
#include "platform/UserInteractionTypes.h"

struct OMessageRequest {
    std::string_view text;
    MsgIcon icon = MsgIcon::Information;
    MsgButtons buttons = MsgButtons::Ok;
    MsgResult defaultButton = MsgResult::Ok;  // always one of the set's buttons
    std::string_view caption;                 // empty: the application title
};

struct OListRequest {
    std::string_view title;
    std::string_view text;
    const std::vector<std::string>& items;
    std::string_view question;
    MsgButtons buttons = MsgButtons::OkCancel;
};

class UserInteraction {
  public:
    virtual ~UserInteraction() = default;

    MsgResult Message(std::string_view text, MsgIcon icon = MsgIcon::Information,
                      MsgButtons buttons = MsgButtons::Ok,
                      MsgResult defaultButton = MsgResult::None, std::string_view caption = {});
    // A message with a "do not show again" check mark; checked goes in as the mark's initial
    // state and comes back as the user left it.
    MsgResult MessageWithCheckMark(std::string_view text, std::string_view checkText, bool& checked,
                                   MsgIcon icon = MsgIcon::Warning,
                                   MsgButtons buttons = MsgButtons::Ok,
                                   std::string_view caption = {});

    FileDialogResult FileOpen(const FileDialogRequest& request);
    FileDialogResult FileSave(const FileDialogRequest& request);

    // Small input dialogs; value goes in as the proposal and is changed only on OK. Numbers
    // outside [min, max] are refused by the dialog.
    bool GetNumber(std::string_view title, std::string_view prompt, double& value, double min,
                   double max);
    bool GetNumber(std::string_view title, std::string_view prompt, int& value, int min, int max);
    bool GetText(std::string_view title, std::string_view prompt, std::string& text);

    // Shows a list of findings under text, with question and the buttons below it.
    MsgResult ListDialog(std::string_view title, std::string_view text,
                         const std::vector<std::string>& items, std::string_view question,
                         MsgButtons buttons);
    // Lets the user pick one entry of items; index goes in as the preselected entry.
    bool bChooseFromList(std::string_view title, std::string_view text,
                         const std::vector<std::string>& items, int& index);

    // Runs the model modally. True when the user confirmed: bValidate passed and OnOk ran.
    // Otherwise OnCancel ran.
    bool bRunDialog(ODialogModel& model);

    // Nesting is counted; the cursor changes only on the outermost begin and end.
    void BeginWaitCursor();
    void EndWaitCursor();
    int iWaitCursorDepth() const { return m_waitCursorDepth; }

    // False when no sound could be played.
    bool Beep(int frequencyHz, int durationMs);
    bool MessageBeep(MsgIcon icon);

    // For runs nobody watches (test cases): while a sink is set no window opens. Messages and
    // lists go to the sink and are answered with Cancel, else No, else their first
    // button; dialogs, file dialogs and input boxes count as cancelled. An empty function
    // ends it.
    void SetUnattended(std::function<void(std::string_view text)> sink) {
        m_unattended = std::move(sink);
    }
    bool bIsUnattended() const { return static_cast<bool>(m_unattended); }

  protected:
    virtual MsgResult ShowMessage(const OMessageRequest& request) = 0;
    virtual MsgResult ShowMessageWithCheckMark(const OMessageRequest& request,
                                               std::string_view checkText, bool& checked) = 0;
    virtual FileDialogResult ShowFileOpen(const FileDialogRequest& request) = 0;
    virtual FileDialogResult ShowFileSave(const FileDialogRequest& request) = 0;
    virtual bool AskNumber(std::string_view title, std::string_view prompt, double& value,
                           double min, double max) = 0;
    virtual bool AskInt(std::string_view title, std::string_view prompt, int& value, int min,
                        int max) = 0;
    virtual bool AskText(std::string_view title, std::string_view prompt, std::string& text) = 0;
    virtual MsgResult ShowList(const OListRequest& request) = 0;
    virtual bool AskChoice(const OListRequest& request, int& index) = 0;
    // Shows the model's dialog modally. When the user presses OK, call bConfirmDialog: when it
    // fails the dialog stays open, else it closes and bShowDialog returns true.
    virtual bool bShowDialog(ODialogModel& model) = 0;
    virtual void ShowWaitCursor(bool shown) = 0;
    virtual bool PlayBeep(int frequencyHz, int durationMs) = 0;
    virtual bool PlayMessageBeep(MsgIcon icon) = 0;

    // Validates the model; on failure shows the validation message and returns false,
    // otherwise runs OnOk and returns true.
    bool bConfirmDialog(ODialogModel& model);

  private:
    bool bTakeConfirmation(const ODialogModel& model);
    MsgResult UnattendedAnswer(std::string_view text, MsgButtons buttons) const;

    int m_waitCursorDepth = 0;
    std::vector<const ODialogModel*> m_confirmedDialogs;
    std::function<void(std::string_view)> m_unattended;
};
