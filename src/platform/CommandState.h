// The state of a command, as a menu or toolbar shows it.
#pragma once

#include <optional>
#include <string>

struct OCommandState {
    bool enabled = false;
    bool checked = false;
    std::optional<std::string> text;  // set when the menu text differs from the table's
    bool operator==(const OCommandState&) const = default;
};
