// Contours as text: one part per line "kind,type,orientation,v1,v2,..." with kind "teach"
// or "test" and the signed 16-bit run values of the contour. Blank lines and lines that
// start with '#' are skipped. Used for text part lists and for contours measured elsewhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct OContourCsvRow {
    bool teach = true;
    int type = 1;
    int orientation = 1;
    std::vector<int16_t> runs;
    bool operator==(const OContourCsvRow&) const = default;
};

// Parses the whole text; on failure `error` names the line and column and `rows` is empty.
bool bParseContourCsv(std::string_view text, std::vector<OContourCsvRow>& rows, std::string& error);
std::string FormatContourCsvRow(const OContourCsvRow& row);
