#include "classification/FeatureTableCsv.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <memory>
#include <optional>

#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream.h"
#include "model/strings/FormatPrintf.h"

namespace FeatureTableCsv {

namespace {

struct OField {
    std::string text;
    bool quoted = false;
    int column = 1;  // where the field's content starts
};

// The field separator of a table: a comma, or a tab in tables written as tab-separated
// text (the spreadsheet form the program exports). Blanks around fields are ignored.
struct OSeparator {
    char c = ',';
};

bool bIsBlank(char c, OSeparator sep = {}) {
    return c == ' ' || (c == '\t' && sep.c != '\t');
}

std::string Located(int line, int column, const std::string& message) {
    return FormatPrintf("line %d, column %d: %s", line, column, message);
}

// Splits one line into fields. Quotes are allowed around a whole field only.
bool bSplit(std::string_view line, int lineNo, OSeparator sep, std::vector<OField>& fields,
            std::string& error) {
    fields.clear();
    size_t i = 0;
    while (true) {
        OField field;
        while (i < line.size() && bIsBlank(line[i], sep))
            ++i;
        field.column = static_cast<int>(i) + 1;
        if (i < line.size() && line[i] == '"') {
            field.quoted = true;
            ++i;
            while (true) {
                if (i >= line.size()) {
                    error = Located(lineNo, field.column, "the quoted text has no closing quote");
                    return false;
                }
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field.text += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field.text += line[i++];
            }
            while (i < line.size() && bIsBlank(line[i], sep))
                ++i;
            if (i < line.size() && line[i] != sep.c) {
                error = Located(lineNo, static_cast<int>(i) + 1,
                                sep.c == ',' ? "only a comma may follow the closing quote"
                                             : "only a tab may follow the closing quote");
                return false;
            }
        } else {
            const size_t start = i;
            while (i < line.size() && line[i] != sep.c) {
                if (line[i] == '"') {
                    error = Located(lineNo, static_cast<int>(i) + 1,
                                    "a quote may only enclose a whole field");
                    return false;
                }
                ++i;
            }
            size_t end = i;
            while (end > start && bIsBlank(line[end - 1], sep))
                --end;
            field.text.assign(line.substr(start, end - start));
        }
        fields.push_back(std::move(field));
        if (i >= line.size()) return true;
        ++i;  // the separator
    }
}

bool bParseInt(const OField& field, int lineNo, const char* what, int low, int high, int& value,
               std::string& error) {
    const char* first = field.text.data();
    const char* last = first + field.text.size();
    if (first != last && *first == '+') ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (field.quoted || field.text.empty() || ec != std::errc() || end != last) {
        error =
            Located(lineNo, field.column,
                    FormatPrintf("the %s must be a whole number, not \"%s\"", what, field.text));
        return false;
    }
    if (value < low || value > high) {
        error = Located(lineNo, field.column,
                        FormatPrintf("the %s %d is outside %d..%d", what, value, low, high));
        return false;
    }
    return true;
}

bool bParseNumber(const OField& field, int lineNo, double& value, std::string& error) {
    const char* first = field.text.data();
    const char* last = first + field.text.size();
    if (first != last && *first == '+') ++first;
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || end != last || !std::isfinite(value)) {
        error = Located(lineNo, field.column,
                        FormatPrintf("\"%s\" is not a finite decimal number", field.text));
        return false;
    }
    return true;
}

bool bParseFeature(const OField& field, int lineNo, int family, OFeatureTableValue& value,
                   std::string& error) {
    if (field.quoted) {
        if (family != 2) {
            error = Located(lineNo, field.column, "text features need --family 2");
            return false;
        }
        value.kind = OFeatureTableValue::Kind::Text;
        value.text = field.text;
        return true;
    }
    if (field.text.empty()) {
        if (family != 2) {
            error = Located(lineNo, field.column,
                            "the value is missing (invalid values need --family 2)");
            return false;
        }
        value.kind = OFeatureTableValue::Kind::Invalid;
        return true;
    }
    value.kind = OFeatureTableValue::Kind::Number;
    return bParseNumber(field, lineNo, value.number, error);
}

bool bIsHeader(const std::vector<OField>& fields) {
    if (fields.empty() || fields[0].quoted) return false;
    std::string first = fields[0].text;
    for (char& c : first)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return first == "kind";
}

bool bParseKind(const OField& field, int lineNo, bool& teach, std::string& error) {
    std::string kind = field.text;
    for (char& c : kind)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (!field.quoted && (kind == "teach" || kind == "test")) {
        teach = kind == "teach";
        return true;
    }
    error = Located(lineNo, field.column,
                    FormatPrintf("the kind must be \"teach\" or \"test\", not \"%s\"", field.text));
    return false;
}

}  // namespace

int iMaxFeatures(int family) {
    return family == 2 ? kMaxFeaturesFamily2 : kMaxFeaturesFamily1;
}

bool bRead(std::string_view text, int family, OFeatureTable& table, std::string& error) {
    table = OFeatureTable();
    table.family = family;
    if (family != 1 && family != 2) {
        error = FormatPrintf("the device family must be 1 or 2, not %d", family);
        return false;
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

    const int maxFeatures = iMaxFeatures(family);
    int expected = -1;  // features per part, fixed by the header or the first part
    int expectedLine = 0;
    std::vector<OField> fields;
    std::optional<OSeparator> sep;  // fixed by the first line with content
    int lineNo = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        size_t first = 0;
        while (first < line.size() && (line[first] == ' ' || line[first] == '\t'))
            ++first;
        if (first == line.size() || line[first] == '#') continue;
        if (line.find('\0') != std::string_view::npos) {
            error = Located(lineNo, static_cast<int>(line.find('\0')) + 1,
                            "the line holds a zero byte");
            return false;
        }
        if (!sep) sep = OSeparator{line.find('\t') != std::string_view::npos ? '\t' : ','};
        if (!bSplit(line, lineNo, *sep, fields, error)) return false;

        const bool header = expected < 0 && table.rows.empty() && bIsHeader(fields);
        if (fields.size() < 3) {
            error = Located(lineNo, 1, "a line needs at least kind, type and orientation");
            return false;
        }
        const int features = static_cast<int>(fields.size()) - 3;
        if (features > maxFeatures) {
            error = Located(lineNo, fields[3 + maxFeatures].column,
                            FormatPrintf("more than %d features", maxFeatures));
            return false;
        }
        if (expected >= 0 && features != expected) {
            error = Located(
                lineNo, 1,
                FormatPrintf("%d features, but line %d has %d", features, expectedLine, expected));
            return false;
        }
        if (expected < 0) {
            expected = features;
            expectedLine = lineNo;
        }
        if (header) {
            for (size_t i = 3; i < fields.size(); ++i)
                table.featureNames.push_back(fields[i].text);
            continue;
        }
        if (table.rows.size() >= kMaxRows) {
            error =
                Located(lineNo, 1, FormatPrintf("more than %d parts", static_cast<int>(kMaxRows)));
            return false;
        }
        OFeatureTableRow row;
        row.line = lineNo;
        if (!bParseKind(fields[0], lineNo, row.teach, error)) return false;
        if (!bParseInt(fields[1], lineNo, "type", 1, kMaxTypes, row.type, error)) return false;
        if (!bParseInt(fields[2], lineNo, "orientation", -kMaxOrientation, kMaxOrientation,
                       row.orientation, error))
            return false;
        row.features.resize(static_cast<size_t>(features));
        for (int f = 0; f < features; ++f) {
            if (!bParseFeature(fields[3 + static_cast<size_t>(f)], lineNo, family,
                               row.features[static_cast<size_t>(f)], error))
                return false;
        }
        table.rows.push_back(std::move(row));
    }
    if (table.featureNames.empty()) {
        for (int f = 0; f < std::max(expected, 0); ++f)
            table.featureNames.push_back(FormatPrintf("F%d", f + 1));
    }
    return true;
}

bool bReadFile(const std::string& path, int family, OFeatureTable& table, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path;
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<uint64_t>(size) > kMaxFileBytes) {
        error = path + ": the file is too large for a feature table";
        return false;
    }
    in.seekg(0, std::ios::beg);
    std::string text(static_cast<size_t>(size), '\0');
    if (size > 0 && !in.read(text.data(), size)) {
        error = "cannot read " + path;
        return false;
    }
    if (!bRead(text, family, table, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

std::string FormatNumber(double value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

namespace {

// A text feature in quotes, with quotes doubled; line breaks and tabs, which the table
// cannot hold, become blanks.
std::string QuotedText(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') {
            out += "\"\"";
        } else if (c == '\n' || c == '\r' || c == '\t') {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out + '"';
}

// A header field: the name without the characters that would split it.
std::string HeaderName(std::string_view name) {
    std::string out;
    for (char c : name)
        out += c == '\t' || c == '\n' || c == '\r' || c == '"' ? ' ' : c;
    return out;
}

}  // namespace

bool bWrite(const OType_ZRPartSet& partSet, bool teach, int family, OByteStream& out) {
    const OType_PartArray& list = teach ? partSet.TeachParts() : partSet.TestParts();
    int features = 0;
    const OType_Part* named = nullptr;
    for (int i = 0; i < list.iGetSize(); ++i) {
        const int n = list.GetAt(i)->Features().iGetNumOfFeatures();
        if (n > features) {
            features = n;
            named = list.GetAt(i);
        }
    }
    features = std::min(features, iMaxFeatures(family));
    std::string line = "kind\ttype\torientation";
    for (int f = 0; f < features; ++f) {
        const std::string& name = named->Features().oGetFeatureNameAt(f);
        line += '\t';
        line += name.empty() ? FormatPrintf("F%d", f + 1) : HeaderName(name);
    }
    line += "\r\n";
    out.bWriteRaw(line.data(), line.size());
    for (int i = 0; i < list.iGetSize(); ++i) {
        const OType_Part& part = *list.GetAt(i);
        line = teach ? "teach" : "test";
        line +=
            '\t' + std::to_string(part.iGetType()) + '\t' + std::to_string(part.iGetOrientation());
        const OType_FeatureArray& values = part.Features();
        for (int f = 0; f < features; ++f) {
            line += '\t';
            const OType_Feature* feature = values.opGetAt(f);
            if (!feature || (!feature->valid && family == 2)) continue;
            line +=
                feature->bIsText() ? QuotedText(feature->textValue) : FormatNumber(feature->value);
        }
        line += "\r\n";
        if (!out.bWriteRaw(line.data(), line.size())) return false;
    }
    return out.bIsOk();
}

void AddParts(const OFeatureTable& table, OType_ZRPartSet& partSet) {
    for (const OFeatureTableRow& row : table.rows) {
        auto part = std::make_unique<OType_Part>();
        part->SetTeachPart(row.teach);
        part->SetType(row.type);
        part->SetOrientation(row.orientation);
        OType_FeatureArray& features = part->Features();
        for (size_t f = 0; f < row.features.size(); ++f) {
            const OFeatureTableValue& value = row.features[f];
            OType_Feature feature;
            feature.type = static_cast<int>(f);
            feature.name = f < table.featureNames.size() ? table.featureNames[f] : std::string();
            feature.valid = value.kind != OFeatureTableValue::Kind::Invalid;
            if (value.kind == OFeatureTableValue::Kind::Text) {
                feature.valueType = FeatureValueType::Text;
                feature.textValue = value.text;
            } else {
                feature.value = value.number;
            }
            feature.modified = false;
            features.Add(std::move(feature));
        }
        features.SetModified(false);
        OType_PartArray& list = row.teach ? partSet.TeachParts() : partSet.TestParts();
        OType_Part* added = list.Add(std::move(part));
        added->SetRecordNo(list.iGetSize());
    }
}

}  // namespace FeatureTableCsv
