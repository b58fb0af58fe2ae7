#include "model/partset/OContourCsv.h"

#include <charconv>
#include <limits>

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool ParseInt(std::string_view field, long long lo, long long hi, long long& value) {
    field = Trim(field);
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    if (field.empty()) return false;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    return ec == std::errc() && end == field.data() + field.size() && value >= lo && value <= hi;
}

std::string Where(size_t line, size_t column) {
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
}

}  // namespace

bool bParseContourCsv(std::string_view text, std::vector<OContourCsvRow>& rows,
                      std::string& error) {
    rows.clear();
    std::vector<OContourCsvRow> parsed;
    size_t lineNo = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = Trim(text.substr(start, end - start));
        ++lineNo;
        start = end + 1;
        if (line.empty() || line.front() == '#') {
            if (end == text.size()) break;
            continue;
        }
        OContourCsvRow row;
        size_t column = 0;
        size_t fieldStart = 0;
        while (fieldStart <= line.size()) {
            size_t comma = line.find(',', fieldStart);
            if (comma == std::string_view::npos) comma = line.size();
            const std::string_view field = Trim(line.substr(fieldStart, comma - fieldStart));
            ++column;
            long long v = 0;
            if (column == 1) {
                if (field == "teach") {
                    row.teach = true;
                } else if (field == "test") {
                    row.teach = false;
                } else {
                    error = Where(lineNo, column) + "the kind must be \"teach\" or \"test\"";
                    return false;
                }
            } else if (column == 2 || column == 3) {
                if (!ParseInt(field, std::numeric_limits<int>::min(),
                              std::numeric_limits<int>::max(), v)) {
                    error = Where(lineNo, column) + (column == 2 ? "the type" : "the orientation") +
                            " must be an integer";
                    return false;
                }
                (column == 2 ? row.type : row.orientation) = static_cast<int>(v);
            } else {
                if (!ParseInt(field, std::numeric_limits<int16_t>::min(),
                              std::numeric_limits<int16_t>::max(), v)) {
                    error = Where(lineNo, column) +
                            "a run value must be an integer from -32768 to 32767";
                    return false;
                }
                row.runs.push_back(static_cast<int16_t>(v));
            }
            if (comma == line.size()) break;
            fieldStart = comma + 1;
        }
        if (column < 3) {
            error = Where(lineNo, column + 1) + "expected kind, type and orientation";
            return false;
        }
        parsed.push_back(std::move(row));
        if (end == text.size()) break;
    }
    rows = std::move(parsed);
    return true;
}

std::string FormatContourCsvRow(const OContourCsvRow& row) {
    std::string out = row.teach ? "teach" : "test";
    out += ',' + std::to_string(row.type) + ',' + std::to_string(row.orientation);
    for (int16_t v : row.runs)
        out += ',' + std::to_string(v);
    return out;
}
