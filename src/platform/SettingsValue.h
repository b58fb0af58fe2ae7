// Conversions between stored value texts and integers, shared by the settings stores.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// section -> value name -> value text; names are case-sensitive and kept exactly.
using SettingsValueMap =
    std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>>;

// The integer a stored text holds: optional sign and decimal digits, surrounding blanks and
// tabs allowed; nothing when the text is anything else or out of the range of int.
std::optional<int> ParseSettingsInt(std::string_view text);
std::string FormatSettingsInt(int value);
