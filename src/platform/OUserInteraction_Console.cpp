#include "platform/OUserInteraction_Console.h"

#include <iostream>

namespace {

std::string_view IconWord(MsgIcon icon) {
    return icon == MsgIcon::None ? std::string_view("Message") : MsgIconName(icon);
}

}  // namespace

OUserInteraction_Console::OUserInteraction_Console() : m_out(std::cerr) {}

OUserInteraction_Console::OUserInteraction_Console(std::ostream& out) : m_out(out) {}

void OUserInteraction_Console::WriteMessage(std::string_view prefix, std::string_view caption,
                                            std::string_view text) {
    m_out << prefix << ":";
    if (!caption.empty()) m_out << " [" << caption << "]";
    // Continuation lines are indented so that each message stays recognisable in a log.
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        m_out << (start == 0 ? " " : "    ") << line << "\n";
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
}

void OUserInteraction_Console::WriteAnswer(MsgButtons buttons, MsgResult answer) {
    if (buttons != MsgButtons::Ok) m_out << "  -> " << MsgResultName(answer) << " (default)\n";
    m_out.flush();
}

void OUserInteraction_Console::WriteCancelled(std::string_view what, std::string_view title) {
    m_out << what;
    if (!title.empty()) m_out << " \"" << title << "\"";
    m_out << " cancelled: no interactive input\n";
    m_out.flush();
}

MsgResult OUserInteraction_Console::ShowMessage(const OMessageRequest& request) {
    WriteMessage(IconWord(request.icon), request.caption, request.text);
    WriteAnswer(request.buttons, request.defaultButton);
    return request.defaultButton;
}

MsgResult OUserInteraction_Console::ShowMessageWithCheckMark(const OMessageRequest& request,
                                                             std::string_view, bool&) {
    return ShowMessage(request);
}

FileDialogResult OUserInteraction_Console::ShowFileOpen(const FileDialogRequest& request) {
    WriteCancelled("File open dialog", request.title);
    return {};
}

FileDialogResult OUserInteraction_Console::ShowFileSave(const FileDialogRequest& request) {
    WriteCancelled("File save dialog", request.title);
    return {};
}

bool OUserInteraction_Console::AskNumber(std::string_view title, std::string_view, double&, double,
                                         double) {
    WriteCancelled("Number input", title);
    return false;
}

bool OUserInteraction_Console::AskInt(std::string_view title, std::string_view, int&, int, int) {
    WriteCancelled("Number input", title);
    return false;
}

bool OUserInteraction_Console::AskText(std::string_view title, std::string_view, std::string&) {
    WriteCancelled("Text input", title);
    return false;
}

MsgResult OUserInteraction_Console::ShowList(const OListRequest& request) {
    WriteMessage(IconWord(MsgIcon::Information), request.title, request.text);
    for (const auto& item : request.items)
        m_out << "    - " << item << "\n";
    if (!request.question.empty()) m_out << "    " << request.question << "\n";
    const MsgResult answer = DefaultButtonOf(request.buttons, MsgResult::None);
    WriteAnswer(request.buttons, answer);
    return answer;
}

bool OUserInteraction_Console::AskChoice(const OListRequest& request, int&) {
    WriteCancelled("Selection", request.title);
    return false;
}

bool OUserInteraction_Console::bShowDialog(ODialogModel& model) {
    WriteCancelled("Dialog", model.DialogName());
    return false;
}

void OUserInteraction_Console::ShowWaitCursor(bool) {}

bool OUserInteraction_Console::PlayBeep(int, int) {
    return false;
}

bool OUserInteraction_Console::PlayMessageBeep(MsgIcon) {
    return false;
}
