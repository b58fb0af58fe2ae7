#include "platform/OUserInteraction_Scripted.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Beeps need no answer, so they are never "unscripted".
bool bNeedsAnswer(InteractionKind kind) {
    return kind != InteractionKind::Beep && kind != InteractionKind::MessageBeep;
}

std::string FormatNumber(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

}  // namespace

std::string_view InteractionKindName(InteractionKind kind) {
    switch (kind) {
        case InteractionKind::Message:
            return "message";
        case InteractionKind::CheckMarkMessage:
            return "message with check mark";
        case InteractionKind::FileOpen:
            return "file open dialog";
        case InteractionKind::FileSave:
            return "file save dialog";
        case InteractionKind::Number:
            return "number input";
        case InteractionKind::Text:
            return "text input";
        case InteractionKind::List:
            return "list dialog";
        case InteractionKind::Choice:
            return "list choice";
        case InteractionKind::Dialog:
            return "dialog";
        case InteractionKind::Beep:
            return "beep";
        case InteractionKind::MessageBeep:
            return "message beep";
    }
    return "?";
}

// --- scripting ---

void OUserInteraction_Scripted::Script(Answer answer) {
    m_script.push_back(std::move(answer));
}

void OUserInteraction_Scripted::ExpectMessage(MsgResult result, std::string textContains) {
    Script(
        {.kind = InteractionKind::Message, .result = result, .expected = std::move(textContains)});
}

void OUserInteraction_Scripted::ExpectCheckMarkMessage(MsgResult result, bool checked,
                                                       std::string textContains) {
    Script({.kind = InteractionKind::CheckMarkMessage,
            .result = result,
            .expected = std::move(textContains),
            .bChecked = checked});
}

void OUserInteraction_Scripted::AnswerFileOpen(std::vector<std::string> paths) {
    Script({.kind = InteractionKind::FileOpen, .paths = std::move(paths)});
}

void OUserInteraction_Scripted::CancelFileOpen() {
    Script({.kind = InteractionKind::FileOpen, .bAccepted = false});
}

void OUserInteraction_Scripted::AnswerFileSave(std::string path) {
    Script({.kind = InteractionKind::FileSave, .paths = {std::move(path)}});
}

void OUserInteraction_Scripted::CancelFileSave() {
    Script({.kind = InteractionKind::FileSave, .bAccepted = false});
}

void OUserInteraction_Scripted::AnswerNumber(double value) {
    Script({.kind = InteractionKind::Number, .number = value});
}

void OUserInteraction_Scripted::CancelNumber() {
    Script({.kind = InteractionKind::Number, .bAccepted = false});
}

void OUserInteraction_Scripted::AnswerText(std::string text) {
    Script({.kind = InteractionKind::Text, .text = std::move(text)});
}

void OUserInteraction_Scripted::CancelText() {
    Script({.kind = InteractionKind::Text, .bAccepted = false});
}

void OUserInteraction_Scripted::AnswerList(MsgResult result) {
    Script({.kind = InteractionKind::List, .result = result});
}

void OUserInteraction_Scripted::AnswerChoice(int index) {
    Script({.kind = InteractionKind::Choice, .choice = index});
}

void OUserInteraction_Scripted::CancelChoice() {
    Script({.kind = InteractionKind::Choice, .bAccepted = false});
}

void OUserInteraction_Scripted::AnswerDialog(DialogAnswer answer, std::string expectedName) {
    Script({.kind = InteractionKind::Dialog,
            .expected = std::move(expectedName),
            .fill = std::move(answer)});
}

void OUserInteraction_Scripted::ConfirmDialog(std::string expectedName) {
    AnswerDialog([](ODialogModel&) { return true; }, std::move(expectedName));
}

void OUserInteraction_Scripted::CancelDialog(std::string expectedName) {
    AnswerDialog([](ODialogModel&) { return false; }, std::move(expectedName));
}

// --- inspection ---

std::vector<std::string> OUserInteraction_Scripted::Texts() const {
    std::vector<std::string> texts;
    for (const auto& record : m_transcript) {
        if (record.kind == InteractionKind::Message ||
            record.kind == InteractionKind::CheckMarkMessage ||
            record.kind == InteractionKind::List) {
            texts.push_back(record.text);
        }
    }
    return texts;
}

std::string OUserInteraction_Scripted::TranscriptText() const {
    std::ostringstream out;
    for (const auto& r : m_transcript) {
        out << InteractionKindName(r.kind);
        if (!r.bScripted && bNeedsAnswer(r.kind)) out << " (unscripted)";
        if (!r.dialogName.empty()) out << " " << r.dialogName;
        if (r.kind == InteractionKind::Beep)
            out << " " << r.frequencyHz << " Hz " << r.durationMs << " ms";
        if (r.kind == InteractionKind::Message || r.kind == InteractionKind::CheckMarkMessage ||
            r.kind == InteractionKind::MessageBeep) {
            out << " " << MsgIconName(r.icon);
        }
        out << " -> " << MsgResultName(r.result);
        if (!r.caption.empty()) out << " [" << r.caption << "]";
        if (!r.text.empty()) out << " " << Quoted(r.text);
        out << "\n";
    }
    return out.str();
}

int OUserInteraction_Scripted::iUnscriptedCount() const {
    return static_cast<int>(
        std::count_if(m_transcript.begin(), m_transcript.end(),
                      [](const auto& r) { return !r.bScripted && bNeedsAnswer(r.kind); }));
}

void OUserInteraction_Scripted::Clear() {
    m_transcript.clear();
    m_mismatches.clear();
    m_waitCursorShows = 0;
}

// --- answering ---

std::optional<OUserInteraction_Scripted::Answer> OUserInteraction_Scripted::Take(
    InteractionKind kind, std::string_view what) {
    if (m_script.empty()) return std::nullopt;
    if (m_script.front().kind != kind) {
        Mismatch("the script expected a " +
                 std::string(InteractionKindName(m_script.front().kind)) +
                 " but the program showed a " + std::string(InteractionKindName(kind)) + " " +
                 Quoted(what));
        return std::nullopt;
    }
    Answer answer = std::move(m_script.front());
    m_script.pop_front();
    return answer;
}

void OUserInteraction_Scripted::Mismatch(std::string text) {
    m_mismatches.push_back(std::move(text));
}

OInteractionRecord& OUserInteraction_Scripted::Record(InteractionKind kind, bool scripted) {
    OInteractionRecord& record = m_transcript.emplace_back();
    record.kind = kind;
    record.bScripted = scripted;
    return record;
}

MsgResult OUserInteraction_Scripted::ScriptedButton(const std::optional<Answer>& answer,
                                                    std::string_view text, MsgButtons buttons,
                                                    MsgResult defaultButton) {
    if (!answer) return defaultButton;
    if (!answer->expected.empty() && text.find(answer->expected) == std::string_view::npos) {
        Mismatch("expected a text containing " + Quoted(answer->expected) + " but got " +
                 Quoted(text));
    }
    if (!bIsButtonOf(buttons, answer->result)) {
        Mismatch("the script answered " + std::string(MsgResultName(answer->result)) + " to " +
                 Quoted(text) + ", which has the buttons " + std::string(MsgButtonsName(buttons)));
        return defaultButton;
    }
    return answer->result;
}

MsgResult OUserInteraction_Scripted::ShowMessage(const OMessageRequest& request) {
    const auto answer = Take(InteractionKind::Message, request.text);
    const MsgResult result =
        ScriptedButton(answer, request.text, request.buttons, request.defaultButton);
    auto& record = Record(InteractionKind::Message, answer.has_value());
    record.caption = request.caption;
    record.text = request.text;
    record.icon = request.icon;
    record.buttons = request.buttons;
    record.result = result;
    return result;
}

MsgResult OUserInteraction_Scripted::ShowMessageWithCheckMark(const OMessageRequest& request,
                                                              std::string_view checkText,
                                                              bool& checked) {
    const auto answer = Take(InteractionKind::CheckMarkMessage, request.text);
    const MsgResult result =
        ScriptedButton(answer, request.text, request.buttons, request.defaultButton);
    if (answer) checked = answer->bChecked;
    auto& record = Record(InteractionKind::CheckMarkMessage, answer.has_value());
    record.caption = request.caption;
    record.text = request.text;
    record.icon = request.icon;
    record.buttons = request.buttons;
    record.result = result;
    record.detail = checkText;
    record.bChecked = checked;
    return result;
}

FileDialogResult OUserInteraction_Scripted::ShowFileOpen(const FileDialogRequest& request) {
    const auto answer = Take(InteractionKind::FileOpen, request.title);
    FileDialogResult result;
    if (answer && answer->bAccepted) {
        if (answer->paths.empty()) {
            Mismatch("the script accepted the file open dialog " + Quoted(request.title) +
                     " without a file");
        } else if (answer->paths.size() > 1 && !request.bMultipleSelection) {
            Mismatch("the script chose several files in " + Quoted(request.title) +
                     ", which allows only one");
        } else {
            result = {true, answer->paths};
        }
    }
    auto& record = Record(InteractionKind::FileOpen, answer.has_value());
    record.caption = request.title;
    record.fileRequest = request;
    record.items = result.paths;
    record.result = result.bAccepted ? MsgResult::Ok : MsgResult::Cancel;
    return result;
}

FileDialogResult OUserInteraction_Scripted::ShowFileSave(const FileDialogRequest& request) {
    const auto answer = Take(InteractionKind::FileSave, request.title);
    FileDialogResult result;
    if (answer && answer->bAccepted) {
        if (answer->paths.size() != 1 || answer->paths.front().empty()) {
            Mismatch("the script must give exactly one file for the save dialog " +
                     Quoted(request.title));
        } else {
            result = {true, answer->paths};
        }
    }
    auto& record = Record(InteractionKind::FileSave, answer.has_value());
    record.caption = request.title;
    record.fileRequest = request;
    record.items = result.paths;
    record.result = result.bAccepted ? MsgResult::Ok : MsgResult::Cancel;
    return result;
}

std::optional<double> OUserInteraction_Scripted::ScriptedNumber(InteractionKind kind,
                                                                std::string_view prompt, double min,
                                                                double max, bool& scripted) {
    const auto answer = Take(kind, prompt);
    scripted = answer.has_value();
    if (!answer || !answer->bAccepted) return std::nullopt;
    if (!(answer->number >= min && answer->number <= max)) {
        Mismatch("the script answered " + FormatNumber(answer->number) + " to " + Quoted(prompt) +
                 ", which accepts " + FormatNumber(min) + " to " + FormatNumber(max));
        return std::nullopt;
    }
    return answer->number;
}

bool OUserInteraction_Scripted::AskNumber(std::string_view title, std::string_view prompt,
                                          double& value, double min, double max) {
    bool scripted = false;
    const auto number = ScriptedNumber(InteractionKind::Number, prompt, min, max, scripted);
    if (number) value = *number;
    auto& record = Record(InteractionKind::Number, scripted);
    record.caption = title;
    record.text = prompt;
    record.number = value;
    record.result = number ? MsgResult::Ok : MsgResult::Cancel;
    return number.has_value();
}

bool OUserInteraction_Scripted::AskInt(std::string_view title, std::string_view prompt, int& value,
                                       int min, int max) {
    bool scripted = false;
    auto number = ScriptedNumber(InteractionKind::Number, prompt, min, max, scripted);
    if (number && std::trunc(*number) != *number) {
        Mismatch("the script answered " + FormatNumber(*number) + " to the whole-number input " +
                 Quoted(prompt));
        number.reset();
    }
    if (number) value = static_cast<int>(*number);
    auto& record = Record(InteractionKind::Number, scripted);
    record.caption = title;
    record.text = prompt;
    record.number = value;
    record.result = number ? MsgResult::Ok : MsgResult::Cancel;
    return number.has_value();
}

bool OUserInteraction_Scripted::AskText(std::string_view title, std::string_view prompt,
                                        std::string& text) {
    const auto answer = Take(InteractionKind::Text, prompt);
    const bool accepted = answer && answer->bAccepted;
    if (accepted) text = answer->text;
    auto& record = Record(InteractionKind::Text, answer.has_value());
    record.caption = title;
    record.text = prompt;
    record.answer = text;
    record.result = accepted ? MsgResult::Ok : MsgResult::Cancel;
    return accepted;
}

MsgResult OUserInteraction_Scripted::ShowList(const OListRequest& request) {
    const auto answer = Take(InteractionKind::List, request.text);
    const MsgResult result = ScriptedButton(answer, request.text, request.buttons,
                                            DefaultButtonOf(request.buttons, MsgResult::None));
    auto& record = Record(InteractionKind::List, answer.has_value());
    record.caption = request.title;
    record.text = request.text;
    record.detail = request.question;
    record.items = request.items;
    record.buttons = request.buttons;
    record.result = result;
    return result;
}

bool OUserInteraction_Scripted::AskChoice(const OListRequest& request, int& index) {
    const auto answer = Take(InteractionKind::Choice, request.text);
    bool accepted = answer && answer->bAccepted;
    if (accepted &&
        (answer->choice < 0 || answer->choice >= static_cast<int>(request.items.size()))) {
        Mismatch("the script chose entry " + std::to_string(answer->choice) + " of " +
                 std::to_string(request.items.size()) + " in " + Quoted(request.text));
        accepted = false;
    }
    if (accepted) index = answer->choice;
    auto& record = Record(InteractionKind::Choice, answer.has_value());
    record.caption = request.title;
    record.text = request.text;
    record.items = request.items;
    record.choice = accepted ? index : -1;
    record.result = accepted ? MsgResult::Ok : MsgResult::Cancel;
    return accepted;
}

bool OUserInteraction_Scripted::bShowDialog(ODialogModel& model) {
    const std::string name = model.DialogName();
    // Each pass is one showing: the first, then one after every failed validation, for as
    // long as the script holds answers for this dialog.
    for (bool first = true;; first = false) {
        if (!first && (m_script.empty() || m_script.front().kind != InteractionKind::Dialog)) {
            return false;  // the user gives up on the dialog
        }
        const auto answer = Take(InteractionKind::Dialog, name);
        if (answer && !answer->expected.empty() && answer->expected != name) {
            Mismatch("the script expected the dialog " + Quoted(answer->expected) + " but got " +
                     Quoted(name));
        }
        const size_t recordIndex = m_transcript.size();
        Record(InteractionKind::Dialog, answer.has_value()).dialogName = name;
        const bool pressedOk = answer && answer->fill && answer->fill(model);
        // Validation may show a message, which appends to the transcript; keep the index.
        const bool confirmed = pressedOk && bConfirmDialog(model);
        m_transcript[recordIndex].result =
            confirmed ? MsgResult::Ok : (pressedOk ? MsgResult::Retry : MsgResult::Cancel);
        if (confirmed) return true;
        if (!pressedOk) return false;
    }
}

void OUserInteraction_Scripted::ShowWaitCursor(bool shown) {
    if (shown) ++m_waitCursorShows;
}

bool OUserInteraction_Scripted::PlayBeep(int frequencyHz, int durationMs) {
    auto& record = Record(InteractionKind::Beep, false);
    record.frequencyHz = frequencyHz;
    record.durationMs = durationMs;
    return m_beepResult;
}

bool OUserInteraction_Scripted::PlayMessageBeep(MsgIcon icon) {
    Record(InteractionKind::MessageBeep, false).icon = icon;
    return m_messageBeepResult;
}
