#include "platform/UserInteractionTypes.h"

#include <algorithm>

std::vector<MsgResult> ButtonsOf(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::Ok:
            return {MsgResult::Ok};
        case MsgButtons::OkCancel:
            return {MsgResult::Ok, MsgResult::Cancel};
        case MsgButtons::YesNo:
            return {MsgResult::Yes, MsgResult::No};
        case MsgButtons::YesNoCancel:
            return {MsgResult::Yes, MsgResult::No, MsgResult::Cancel};
        case MsgButtons::RetryCancel:
            return {MsgResult::Retry, MsgResult::Cancel};
    }
    return {MsgResult::Ok};
}

bool bIsButtonOf(MsgButtons buttons, MsgResult result) {
    const auto set = ButtonsOf(buttons);
    return std::find(set.begin(), set.end(), result) != set.end();
}

MsgResult DefaultButtonOf(MsgButtons buttons, MsgResult requested) {
    return bIsButtonOf(buttons, requested) ? requested : ButtonsOf(buttons).front();
}

std::string_view MsgIconName(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::None:
            return "None";
        case MsgIcon::Information:
            return "Information";
        case MsgIcon::Warning:
            return "Warning";
        case MsgIcon::Error:
            return "Error";
        case MsgIcon::Question:
            return "Question";
    }
    return "?";
}

std::string_view MsgButtonsName(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::Ok:
            return "Ok";
        case MsgButtons::OkCancel:
            return "OkCancel";
        case MsgButtons::YesNo:
            return "YesNo";
        case MsgButtons::YesNoCancel:
            return "YesNoCancel";
        case MsgButtons::RetryCancel:
            return "RetryCancel";
    }
    return "?";
}

std::string_view MsgResultName(MsgResult result) {
    switch (result) {
        case MsgResult::None:
            return "None";
        case MsgResult::Ok:
            return "Ok";
        case MsgResult::Cancel:
            return "Cancel";
        case MsgResult::Yes:
            return "Yes";
        case MsgResult::No:
            return "No";
        case MsgResult::Retry:
            return "Retry";
    }
    return "?";
}
