// Window placements as the program keeps them in section "WndPos": ten comma-separated
// numbers, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d" — flags, show command, minimised position x, y,
// maximised position x, y, normal rectangle left, top, right, bottom.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class Settings;

struct OWindowPlacement {
    // Flags
    static constexpr unsigned kSetMinPosition = 1;
    static constexpr unsigned kRestoreToMaximized = 2;
    // Show commands
    static constexpr unsigned kShowNormal = 1;
    static constexpr unsigned kShowMinimized = 2;
    static constexpr unsigned kShowMaximized = 3;

    unsigned flags = kSetMinPosition;
    unsigned showCommand = kShowNormal;
    int minX = -1;
    int minY = -1;
    int maxX = -1;
    int maxY = -1;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    // The placement of a window as it is now: its normal rectangle and state.
    static OWindowPlacement Of(int left, int top, int right, int bottom, bool maximized,
                               bool minimized);
    bool bIsMaximized() const { return showCommand == kShowMaximized; }
    bool bIsMinimized() const { return showCommand == kShowMinimized; }
    bool operator==(const OWindowPlacement&) const = default;
};

inline constexpr const char* kWindowPlacementSection = "WndPos";

std::string FormatWindowPlacement(const OWindowPlacement& placement);
// Exactly ten integers separated by commas (blanks around them allowed), the first two
// not negative; nothing for any other text.
std::optional<OWindowPlacement> ParseWindowPlacement(std::string_view text);

void SaveWindowPlacement(Settings& settings, std::string_view key,
                         const OWindowPlacement& placement);
// The stored placement; nothing when none is stored or the text is malformed.
std::optional<OWindowPlacement> ReadWindowPlacement(const Settings& settings, std::string_view key);
