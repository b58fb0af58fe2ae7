#include "app/OWindowPlacement.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "platform/Settings.h"

OWindowPlacement OWindowPlacement::Of(int left, int top, int right, int bottom, bool maximized,
                                      bool minimized) {
    OWindowPlacement p;
    p.flags = kSetMinPosition | (maximized ? kRestoreToMaximized : 0);
    p.showCommand = minimized ? kShowMinimized : maximized ? kShowMaximized : kShowNormal;
    p.left = left;
    p.top = top;
    p.right = right;
    p.bottom = bottom;
    return p;
}

std::string FormatWindowPlacement(const OWindowPlacement& p) {
    std::array<char, 160> text{};
    std::snprintf(text.data(), text.size(), "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.showCommand,
                  p.minX, p.minY, p.maxX, p.maxY, p.left, p.top, p.right, p.bottom);
    return text.data();
}

std::optional<OWindowPlacement> ParseWindowPlacement(std::string_view text) {
    std::array<long long, 10> values{};
    size_t count = 0;
    size_t begin = 0;
    while (true) {
        const size_t comma = text.find(',', begin);
        std::string_view field =
            text.substr(begin, comma == std::string_view::npos ? text.npos : comma - begin);
        while (!field.empty() && field.front() == ' ')
            field.remove_prefix(1);
        while (!field.empty() && field.back() == ' ')
            field.remove_suffix(1);
        if (field.empty() || count == values.size()) return std::nullopt;
        long long v = 0;
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), v);
        if (error != std::errc() || end != field.data() + field.size() || v < -2147483648LL ||
            v > 2147483647LL)
            return std::nullopt;
        values[count++] = v;
        if (comma == std::string_view::npos) break;
        begin = comma + 1;
    }
    if (count != values.size() || values[0] < 0 || values[1] < 0) return std::nullopt;
    OWindowPlacement p;
    p.flags = static_cast<unsigned>(values[0]);
    p.showCommand = static_cast<unsigned>(values[1]);
    int* fields[] = {&p.minX, &p.minY, &p.maxX, &p.maxY, &p.left, &p.top, &p.right, &p.bottom};
    for (size_t i = 0; i < 8; ++i)
        *fields[i] = static_cast<int>(values[i + 2]);
    return p;
}

void SaveWindowPlacement(Settings& settings, std::string_view key, const OWindowPlacement& p) {
    settings.SetText(kWindowPlacementSection, key, FormatWindowPlacement(p));
}

std::optional<OWindowPlacement> ReadWindowPlacement(const Settings& settings,
                                                    std::string_view key) {
    const std::string text = settings.GetText(kWindowPlacementSection, key, "");
    if (text.empty()) return std::nullopt;
    return ParseWindowPlacement(text);
}
