#include "platform/UserInteraction.h"

#include <algorithm>

MsgResult UserInteraction::UnattendedAnswer(std::string_view text, MsgButtons buttons) const {
    m_unattended(text);
    const std::vector<MsgResult> offered = ButtonsOf(buttons);
    for (const MsgResult answer : {MsgResult::Cancel, MsgResult::No})
        if (std::find(offered.begin(), offered.end(), answer) != offered.end()) return answer;
    return offered.empty() ? MsgResult::Ok : offered.front();
}

MsgResult UserInteraction::Message(std::string_view text, MsgIcon icon, MsgButtons buttons,
                                   MsgResult defaultButton, std::string_view caption) {
    if (m_unattended) return UnattendedAnswer(text, buttons);
    return ShowMessage({text, icon, buttons, DefaultButtonOf(buttons, defaultButton), caption});
}

MsgResult UserInteraction::MessageWithCheckMark(std::string_view text, std::string_view checkText,
                                                bool& checked, MsgIcon icon, MsgButtons buttons,
                                                std::string_view caption) {
    if (m_unattended) return UnattendedAnswer(text, buttons);
    const OMessageRequest request{text, icon, buttons, DefaultButtonOf(buttons, MsgResult::None),
                                  caption};
    return ShowMessageWithCheckMark(request, checkText, checked);
}

FileDialogResult UserInteraction::FileOpen(const FileDialogRequest& request) {
    if (m_unattended) return {};
    return ShowFileOpen(request);
}

FileDialogResult UserInteraction::FileSave(const FileDialogRequest& request) {
    if (m_unattended) return {};
    return ShowFileSave(request);
}

bool UserInteraction::GetNumber(std::string_view title, std::string_view prompt, double& value,
                                double min, double max) {
    if (m_unattended) return false;
    double answer = value;
    if (!AskNumber(title, prompt, answer, min, max) || !(answer >= min && answer <= max)) {
        return false;
    }
    value = answer;
    return true;
}

bool UserInteraction::GetNumber(std::string_view title, std::string_view prompt, int& value,
                                int min, int max) {
    if (m_unattended) return false;
    int answer = value;
    if (!AskInt(title, prompt, answer, min, max) || answer < min || answer > max) return false;
    value = answer;
    return true;
}

bool UserInteraction::GetText(std::string_view title, std::string_view prompt, std::string& text) {
    if (m_unattended) return false;
    std::string answer = text;
    if (!AskText(title, prompt, answer)) return false;
    text = std::move(answer);
    return true;
}

MsgResult UserInteraction::ListDialog(std::string_view title, std::string_view text,
                                      const std::vector<std::string>& items,
                                      std::string_view question, MsgButtons buttons) {
    if (m_unattended) {
        std::string all(text);
        for (const std::string& item : items)
            all += " " + item;
        return UnattendedAnswer(all, buttons);
    }
    return ShowList({title, text, items, question, buttons});
}

bool UserInteraction::bChooseFromList(std::string_view title, std::string_view text,
                                      const std::vector<std::string>& items, int& index) {
    if (m_unattended) return false;
    int answer = index;
    if (items.empty() || !AskChoice({title, text, items, {}, MsgButtons::OkCancel}, answer) ||
        answer < 0 || answer >= static_cast<int>(items.size())) {
        return false;
    }
    index = answer;
    return true;
}

bool UserInteraction::bRunDialog(ODialogModel& model) {
    if (m_unattended) {
        model.OnCancel();
        return false;
    }
    bool confirmed = bShowDialog(model);
    const bool validated = bTakeConfirmation(model);
    // An implementation that closed on OK without confirming still gets the model checked;
    // the dialog is gone by then, so a failed check counts as cancel.
    if (confirmed && !validated) confirmed = bConfirmDialog(model) && bTakeConfirmation(model);
    if (!confirmed) model.OnCancel();
    return confirmed;
}

bool UserInteraction::bTakeConfirmation(const ODialogModel& model) {
    const auto mark = std::find(m_confirmedDialogs.begin(), m_confirmedDialogs.end(), &model);
    if (mark == m_confirmedDialogs.end()) return false;
    m_confirmedDialogs.erase(mark);
    return true;
}

bool UserInteraction::bConfirmDialog(ODialogModel& model) {
    std::string message;
    if (!model.bValidate(message)) {
        if (!message.empty()) Message(message, MsgIcon::Warning);
        return false;
    }
    model.OnOk();
    m_confirmedDialogs.push_back(&model);
    return true;
}

void UserInteraction::BeginWaitCursor() {
    if (m_waitCursorDepth++ == 0) ShowWaitCursor(true);
}

void UserInteraction::EndWaitCursor() {
    if (m_waitCursorDepth == 0) return;
    if (--m_waitCursorDepth == 0) ShowWaitCursor(false);
}

bool UserInteraction::Beep(int frequencyHz, int durationMs) {
    return PlayBeep(frequencyHz, durationMs);
}

bool UserInteraction::MessageBeep(MsgIcon icon) {
    return PlayMessageBeep(icon);
}
