// Icons, button sets and answers of the program's message boxes.
#pragma once

#include <string_view>
#include <vector>

enum class MsgIcon { None, Information, Warning, Error, Question };

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };

// None as a default button means the set's first button.
enum class MsgResult { None, Ok, Cancel, Yes, No, Retry };

// The buttons of a set, in the order they are shown.
std::vector<MsgResult> ButtonsOf(MsgButtons buttons);
bool bIsButtonOf(MsgButtons buttons, MsgResult result);
// The button a box answers when the user just confirms: the requested default when the set
// has it, else the set's first button.
MsgResult DefaultButtonOf(MsgButtons buttons, MsgResult requested);

std::string_view MsgIconName(MsgIcon icon);
std::string_view MsgButtonsName(MsgButtons buttons);
std::string_view MsgResultName(MsgResult result);
