#include "platform/FileDialog.h"

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::vector<std::string> SplitPatterns(std::string_view list) {
    std::vector<std::string> patterns;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find_first_of("; ", start);
        if (end == std::string_view::npos) end = list.size();
        if (end > start) patterns.emplace_back(list.substr(start, end - start));
        start = end + 1;
    }
    return patterns;
}

OFileFilter ParseOneFilter(std::string_view text) {
    OFileFilter filter{std::string(text), {}};
    const size_t open = text.rfind('(');
    if (open != std::string_view::npos && text.back() == ')') {
        filter.patterns = SplitPatterns(text.substr(open + 1, text.size() - open - 2));
    } else {
        filter.patterns = SplitPatterns(text);
    }
    return filter;
}

}  // namespace

std::vector<OFileFilter> ParseFileFilters(std::string_view filterText) {
    std::vector<OFileFilter> filters;
    constexpr std::string_view kSeparator = ";;";
    while (true) {
        const size_t end = filterText.find(kSeparator);
        const std::string_view entry = Trimmed(filterText.substr(0, end));
        if (!entry.empty()) filters.push_back(ParseOneFilter(entry));
        if (end == std::string_view::npos) break;
        filterText.remove_prefix(end + kSeparator.size());
    }
    return filters;
}
