// Feature tables as CSV text: one part per line, "kind,type,orientation,f1,f2,...".
// The fields are separated by commas, or by tabs in tables whose first line holds a tab
// (the spreadsheet form the program exports, bWrite).
//
// - kind is "teach" or "test" (any letter case); type is 1..16, orientation -8..8 (0
//   unassigned, negative: ignored at teach).
// - Family 1: every feature is a number. Family 2: a feature in double quotes is a text
//   feature ("" inside quotes stands for one quote), an empty field an invalid value.
// - Numbers are decimal with '.' (exponents allowed), finite. Blanks around fields are
//   ignored. Blank lines and lines starting with '#' are skipped. An optional header line
//   whose first field is "kind" names the features. A UTF-8 byte order mark is skipped.
// - Every part has the same number of features: at most 32 (family 1) or 256 (family 2).
//
// Errors name the line and column (both from 1) where reading stopped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class OByteStream;
class OType_ZRPartSet;

struct OFeatureTableValue {
    enum class Kind { Number, Text, Invalid };
    Kind kind = Kind::Number;
    double number = 0.0;
    std::string text;
    bool operator==(const OFeatureTableValue&) const = default;
};

struct OFeatureTableRow {
    bool teach = true;
    int type = 1;
    int orientation = 0;
    std::vector<OFeatureTableValue> features;
    int line = 0;
    bool operator==(const OFeatureTableRow&) const = default;
};

struct OFeatureTable {
    int family = 1;
    std::vector<std::string> featureNames;  // from the header line, else "F1", "F2", ...
    std::vector<OFeatureTableRow> rows;
    int iGetNumFeatures() const { return static_cast<int>(featureNames.size()); }
};

namespace FeatureTableCsv {

inline constexpr int kMaxTypes = 16;
inline constexpr int kMaxOrientation = 8;
inline constexpr int kMaxFeaturesFamily1 = 32;
inline constexpr int kMaxFeaturesFamily2 = 256;
inline constexpr size_t kMaxRows = 1u << 20;
inline constexpr uint64_t kMaxFileBytes = uint64_t{1} << 30;

int iMaxFeatures(int family);

// Returns false with a message "line L, column C: ..." on malformed input.
bool bRead(std::string_view text, int family, OFeatureTable& table, std::string& error);
bool bReadFile(const std::string& path, int family, OFeatureTable& table, std::string& error);

// Writes the feature values of the teach or test list as tab-separated text: a header
// line "kind, type, orientation" and the feature names, then one line per part in sort
// order, numbers in their shortest exact form, lines ending in CR LF. Family 2 writes
// text features in quotes and invalid values as empty fields; family 1 writes the stored
// value of every feature. Returns false when the stream failed.
bool bWrite(const OType_ZRPartSet& partSet, bool teach, int family, OByteStream& out);
// A number as the table writes it: the shortest text that reads back to the same value.
std::string FormatNumber(double value);

// Adds the rows as parts to the teach and test lists, numbered by list position, with
// feature types 0, 1, 2 ... and the table's feature names.
void AddParts(const OFeatureTable& table, OType_ZRPartSet& partSet);

}  // namespace FeatureTableCsv
