#include "sim/OSimSchedule.h"

#include <charconv>

namespace {

bool bNumber(std::string_view text, int& value, int min, int max) {
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= min && value <= max;
}

}  // namespace

OSimSchedule::OSimSchedule() {
    for (int type = 1; type <= 3; ++type) {
        for (int orientation = 1; orientation <= 2; ++orientation)
            m_entries.push_back({{type, orientation}, 5});
    }
}

bool OSimSchedule::bParse(std::string_view text, std::string& message) {
    std::vector<OEntry> entries;
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        const size_t colon = item.find(':');
        const size_t times = item.find('x');
        OEntry e;
        if (colon == std::string_view::npos ||
            !bNumber(item.substr(0, colon), e.spec.type, 1, 512)) {
            message =
                "schedule entry '" + std::string(item) + "': expected type:orientation[xcount]";
            return false;
        }
        const std::string_view orientation =
            item.substr(colon + 1, times == std::string_view::npos ? std::string_view::npos
                                                                   : times - colon - 1);
        if (!bNumber(orientation, e.spec.orientation, 1, 8) ||
            (times != std::string_view::npos &&
             !bNumber(item.substr(times + 1), e.count, 1, 1000000))) {
            message = "schedule entry '" + std::string(item) +
                      "': orientation 1..8 and a count of at least 1 expected";
            return false;
        }
        entries.push_back(e);
    }
    if (entries.empty()) {
        message = "the schedule is empty";
        return false;
    }
    m_entries = std::move(entries);
    m_entry = 0;
    m_done = 0;
    return true;
}

OSimPartSpec OSimSchedule::Next() {
    const OSimPartSpec spec = m_entries[m_entry].spec;
    if (++m_done >= m_entries[m_entry].count) {
        m_done = 0;
        m_entry = (m_entry + 1) % m_entries.size();
    }
    return spec;
}
