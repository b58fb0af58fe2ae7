// kalvorctl verbs on the tools of a project's actual check program (both device families):
// add, list, set and remove, through the device session's services and the tools'
// properties as data, as the desktop edits them; and extract, which recomputes the features
// of every part of a project or part list and prints them.
#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "CliVerb.h"
#include "JsonWriter.h"
#include "PartsInput.h"
#include "PartsOutput.h"
#include "ProjectSupport.h"
#include "device/DeviceInfoBuilder.h"
#include "device/OQuillon.h"
#include "document/OHeadlessDocument.h"
#include "extraction/OHeadlessExtraction.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/partset/OType_ZRPartSetArray.h"
#include "platform/OUserInteraction_Console.h"
#include "tools/OType_ConfigTool_Contour.h"

namespace {

constexpr int kUsage = 2;
constexpr int kFailed = 1;

const char* const kToolUsage =
    "usage: kalvorctl tool add IN OUT --kind K [--subkind S] [--region X,Y,W,H[,ANGLE]] "
    "[--set NAME=VALUE]...\n"
    "       kalvorctl tool list FILE [--json]\n"
    "       kalvorctl tool set IN OUT --tool N --set NAME=VALUE...\n"
    "       kalvorctl tool remove IN OUT --tool N\n"
    "       (each also takes --no-settings)";

struct OToolArgs {
    std::vector<std::string> files;
    std::optional<int> kind, subKind, tool;
    std::vector<double> region;  // x, y, width, height[, angle]
    std::vector<std::pair<std::string, std::string>> sets;
    bool json = false;
    bool noSettings = false;
    std::string error;
};

bool bParseRegion(const std::string& text, std::vector<double>& region) {
    region.clear();
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = std::min(text.find(',', start), text.size());
        try {
            size_t used = 0;
            const std::string item = text.substr(start, comma - start);
            const double v = std::stod(item, &used);
            if (used != item.size() || !std::isfinite(v)) return false;
            region.push_back(v);
        } catch (...) {
            return false;
        }
        start = comma + 1;
    }
    return (region.size() == 4 || region.size() == 5) && region[2] >= 1 && region[3] >= 1;
}

OToolArgs ParseToolArgs(const std::vector<std::string>& args) {
    OToolArgs o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--json") {
            o.json = true;
        } else if (a == "--no-settings") {
            o.noSettings = true;
        } else if (a == "--kind" || a == "--subkind" || a == "--tool") {
            const auto v = hasValue ? ParseInt(args[i + 1]) : std::nullopt;
            if (!v) {
                o.error = a + " needs a whole number";
                return o;
            }
            (a == "--kind" ? o.kind : a == "--subkind" ? o.subKind : o.tool) = *v;
            ++i;
        } else if (a == "--region") {
            if (!hasValue || !bParseRegion(args[i + 1], o.region)) {
                o.error = "--region needs X,Y,W,H or X,Y,W,H,ANGLE (width and height at least 1)";
                return o;
            }
            ++i;
        } else if (a == "--set") {
            const size_t eq = hasValue ? args[i + 1].find('=') : std::string::npos;
            if (eq == std::string::npos || eq == 0) {
                o.error = "--set needs NAME=VALUE";
                return o;
            }
            o.sets.emplace_back(args[i + 1].substr(0, eq), args[i + 1].substr(eq + 1));
            ++i;
        } else if (a.rfind("--", 0) == 0) {
            o.error = "unknown option " + a;
            return o;
        } else {
            o.files.push_back(a);
        }
    }
    return o;
}

// The values of --region and --set as the tool describes its properties.
bool bBuildValues(const OType_ConfigTool& tool, const OPropertyContext& context, const OToolArgs& o,
                  OPropertyValues& values, std::string& error) {
    const OPropertyList list = tool.DescribeProperties(context);
    if (!o.region.empty()) {
        const double x = o.region[0], y = o.region[1], w = o.region[2], h = o.region[3];
        if (PropertyList::Find(list, "region.x")) {
            values["region.x"] = x + (w - 1) / 2;
            values["region.y"] = y + (h - 1) / 2;
            values["region.width"] = w;
            values["region.height"] = h;
            values["region.angle"] = o.region.size() == 5 ? o.region[4] : 0.0;
        } else if (PropertyList::Find(list, "region.left")) {
            if (o.region.size() == 5) {
                error = "contour tools have upright regions: no angle";
                return false;
            }
            values["region.left"] = static_cast<int64_t>(std::llround(x));
            values["region.top"] = static_cast<int64_t>(std::llround(y));
            values["region.right"] = static_cast<int64_t>(std::llround(x + w - 1));
            values["region.bottom"] = static_cast<int64_t>(std::llround(y + h - 1));
        } else {
            error = "the tool has no region";
            return false;
        }
    }
    for (const auto& [name, text] : o.sets) {
        const OProperty* p = PropertyList::Find(list, name);
        if (!p) {
            error = "the tool has no property \"" + name + "\" (see kalvorctl tool list)";
            return false;
        }
        OPropertyValue value;
        if (!PropertyList::bParse(*p, text, value, error)) return false;
        values[name] = value;
    }
    return true;
}

const char* KindText(OPropertyKind kind) {
    switch (kind) {
        case OPropertyKind::Integer:
            return "integer";
        case OPropertyKind::Real:
            return "real";
        case OPropertyKind::Text:
            return "text";
        case OPropertyKind::Choice:
            return "choice";
        case OPropertyKind::Flag:
            return "flag";
    }
    return "";
}

void WriteToolJson(OJsonWriter& json, const OType_ZRPartSet& set, const ZRINFO& info,
                   int position) {
    const OType_ConfigTool& tool = *set.Tools().opGetAt(position);
    const int first = set.Tools().GetFeatureIndex_First(position, set.iGetFixedFeatures());
    json.BeginObject();
    json.Field("index", position + 1);
    json.Field("id", tool.iGetToolId());
    json.Field("kind", tool.iGetConfigToolType());
    json.Field("kindName", tool.GetKindName());
    json.Field("subkind", tool.iGetFeatureType());
    json.Field("name", tool.GetName());
    json.Key("features").BeginArray();
    for (int f = 0; f < tool.iGetNumOfFeatures(); ++f) {
        json.BeginObject();
        json.Field("index", first + f);
        json.Field("type", tool.GetFeatureTypeAt(f));
        json.EndObject();
    }
    json.EndArray();
    json.Key("properties").BeginArray();
    for (const OProperty& p : tool.DescribeProperties({&set, &info})) {
        json.BeginObject();
        json.Field("name", p.name);
        json.Field("label", p.label);
        json.Field("page", p.page);
        json.Field("kind", KindText(p.kind));
        json.Field("value", PropertyList::Display(p));
        if (!p.unit.empty()) json.Field("unit", p.unit);
        if (p.kind == OPropertyKind::Integer || p.kind == OPropertyKind::Real) {
            json.Field("minimum", p.minimum);
            json.Field("maximum", p.maximum);
        }
        if (!p.choices.empty()) {
            json.Key("choices").BeginArray();
            for (const OPropertyChoice& c : p.choices) {
                json.BeginObject();
                json.Field("value", static_cast<int64_t>(c.value));
                json.Field("text", c.text);
                json.EndObject();
            }
            json.EndArray();
        }
        if (p.readOnly) json.Field("readOnly", true);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

void PrintToolText(std::ostream& out, const OType_ZRPartSet& set, const ZRINFO& info,
                   int position) {
    const OType_ConfigTool& tool = *set.Tools().opGetAt(position);
    const int first = set.Tools().GetFeatureIndex_First(position, set.iGetFixedFeatures());
    out << position + 1 << ". " << tool.GetName() << " (kind " << tool.iGetConfigToolType()
        << ", sub-kind " << tool.iGetFeatureType() << "), features " << first + 1;
    if (tool.iGetNumOfFeatures() > 1) out << "-" << first + tool.iGetNumOfFeatures();
    out << "\n";
    for (const OProperty& p : tool.DescribeProperties({&set, &info})) {
        out << "    " << p.name << " = " << PropertyList::Display(p);
        if (!p.unit.empty()) out << " " << p.unit;
        out << "\n";
    }
}

// The loaded project's actual check program; reports and returns nullptr without one.
OType_ZRPartSet* ActualSet(OHeadlessDocument& doc, std::ostream& err) {
    OType_ZRPartSet* set = doc.Session().opGetActualPartSet();
    if (!set) err << "kalvorctl tool: the project holds no check program\n";
    return set;
}

int RunTool(const std::vector<std::string>& given, std::ostream& out, std::ostream& err) {
    if (given.empty()) {
        err << kToolUsage << "\n";
        return kUsage;
    }
    const std::string action = given[0];
    const OToolArgs o = ParseToolArgs({given.begin() + 1, given.end()});
    const bool list = action == "list";
    const size_t files = list ? 1 : 2;
    if (!o.error.empty() || o.files.size() != files ||
        (action != "add" && action != "list" && action != "set" && action != "remove") ||
        (action == "add" && !o.kind) || ((action == "set" || action == "remove") && !o.tool) ||
        (action == "set" && o.sets.empty())) {
        if (!o.error.empty()) err << "kalvorctl tool: " << o.error << "\n";
        err << kToolUsage << "\n";
        return kUsage;
    }
    const auto settings = OpenSettings(o.noSettings, err);
    OHeadlessDocument headless(*settings);
    if (!LoadProject(headless.Doc(), o.files[0], "tool", err)) return kFailed;
    OType_ZRPartSet* set = ActualSet(headless, err);
    if (!set) return kFailed;
    OQuillon& session = headless.Session();
    const ZRINFO& info = session.DeviceInfo();

    if (list) {
        if (o.json) {
            OJsonWriter json(out);
            json.BeginObject();
            json.Field("file", o.files[0]);
            json.Field("family", session.iGetFamily());
            json.Field("checkProgram", set->GetName());
            json.Key("tools").BeginArray();
            for (int i = 0; i < set->Tools().iGetNum(); ++i)
                WriteToolJson(json, *set, info, i);
            json.EndArray();
            json.EndObject();
            json.Finish();
        } else {
            for (int i = 0; i < set->Tools().iGetNum(); ++i)
                PrintToolText(out, *set, info, i);
        }
        return 0;
    }

    OType_ConfigTool* tool = nullptr;
    if (action == "add") {
        int subKind = o.subKind.value_or(-1);
        // Classic tools need their feature type; without one a kind takes its first.
        if (!o.subKind && session.iGetFamily() == 1) {
            const auto* proto = dynamic_cast<const OType_ConfigTool_Contour*>(
                set->ToolPrototypes().opGetPrototype(*o.kind));
            if (proto) subKind = proto->GetSubKinds().front();
        }
        if (!set->ToolPrototypes().bHasKind(*o.kind)) {
            err << "kalvorctl tool add: this program has no tool of kind " << *o.kind << "\n";
            return kFailed;
        }
        if (!session.IsToolAllowed(*o.kind, subKind)) {
            err << "kalvorctl tool add: the target system allows no tool of kind " << *o.kind
                << (o.subKind ? " and sub-kind " + std::to_string(*o.subKind) : std::string())
                << " in this check program\n";
            return kFailed;
        }
        tool = session.AddTool(*set, *o.kind, subKind, 0);
        if (!tool) {
            err << "kalvorctl tool add: the tool could not be made for this device\n";
            return kFailed;
        }
    } else {
        tool = set->Tools().opGetAt(*o.tool - 1);
        if (!tool) {
            err << "kalvorctl tool " << action << ": there is no tool " << *o.tool << " (the check "
                << "program has " << set->Tools().iGetNum() << ")\n";
            return kFailed;
        }
    }

    if (action == "remove") {
        const std::vector<std::string> removed =
            session.RemoveToolWithDependents(*set, *o.tool - 1);
        for (size_t i = 0; i < removed.size(); ++i)
            out << (i == 0 ? "removed " : "removed with it (it reads its features): ") << removed[i]
                << "\n";
    } else {
        OPropertyValues values;
        std::string error;
        if (!bBuildValues(*tool, {set, &info}, o, values, error) ||
            (!values.empty() && !session.bApplyToolProperties(*set, *tool, values, error))) {
            err << "kalvorctl tool " << action << ": " << error << "\n";
            return kFailed;
        }
        const int position = set->Tools().iGetPos(tool);
        const int first = set->Tools().GetFeatureIndex_First(position, set->iGetFixedFeatures());
        out << (action == "add" ? "added " : "changed ") << position + 1 << ". " << tool->GetName()
            << ", features " << first + 1 << "-" << first + tool->iGetNumOfFeatures() << "\n";
    }
    return SaveProject(headless.Doc(), o.files[1], "tool", err) ? 0 : kFailed;
}

// --- extract ---

int RunExtract(const std::vector<std::string>& given, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = given;
    const bool json = TakeFlag(args, "--json");
    const bool runs = TakeFlag(args, "--runs");
    const bool noSettings = TakeFlag(args, "--no-settings");
    const bool test = TakeFlag(args, "--test");
    if (args.empty() || args.size() > 2 || args[0].rfind("--", 0) == 0 ||
        (args.size() == 2 && args[1].rfind("--", 0) == 0)) {
        err << "usage: kalvorctl extract FILE [OUT] [--json [--runs]] [--test] [--no-settings]\n";
        return kUsage;
    }
    const std::string& file = args[0];
    std::optional<OJsonWriter> writer;
    if (json) {
        writer.emplace(out);
        writer->BeginObject();
        writer->Field("file", file);
    }
    auto print = [&](const OType_ZRPartSet& set, bool teach) {
        const OType_PartArray& parts = teach ? set.TeachParts() : set.TestParts();
        if (writer) {
            writer->Key(teach ? "teach" : "test");
            WritePartsJson(*writer, parts, runs);
        } else {
            out << (teach ? "sample parts" : "test parts") << " (" << parts.iGetSize() << ")\n";
            PrintPartsText(out, parts);
        }
    };

    if (bIsProjectFile(file)) {
        const auto settings = OpenSettings(noSettings, err);
        OHeadlessDocument headless(*settings);
        if (!LoadProject(headless.Doc(), file, "extract", err)) return kFailed;
        headless.Doc().RecomputeAll(1, 0, 1, 1, 0);
        const OType_ZRPartSetArray& sets = headless.Session().PartSets();
        if (writer) writer->Key("checkPrograms").BeginArray();
        for (int i = 0; i < sets.iGetNum(); ++i) {
            const OType_ZRPartSet& set = *sets.opGetPartSet(i);
            if (writer) {
                writer->BeginObject();
                writer->Field("name", set.GetName());
            } else {
                out << "check program " << i + 1 << " \"" << set.GetName() << "\"\n";
            }
            print(set, true);
            print(set, false);
            if (writer) writer->EndObject();
        }
        if (writer) {
            writer->EndArray();
            writer->EndObject();
            writer->Finish();
        }
        if (args.size() == 2 && !SaveProject(headless.Doc(), args[1], "extract", err))
            return kFailed;
        return 0;
    }

    // A part list: the parts of one list with the device's own features.
    OType_ZRPartSet set;
    OPartsInput input;
    std::string error;
    if (!bLoadPartsInput(file, !test, 778, set, input, error)) {
        err << "kalvorctl extract: " << file << ": " << error << "\n";
        return kFailed;
    }
    OUserInteraction_Console ui(err);
    OHeadlessExtraction extraction(input.deviceInfo, DeviceInfo::ReadTarget(input.deviceInfo), ui);
    extraction.PreparePartSet(set);
    if (!extraction.Extract(set)) {
        err << "kalvorctl extract: the features could not be extracted\n";
        return kFailed;
    }
    print(set, !test);
    if (writer) {
        writer->EndObject();
        writer->Finish();
    }
    if (args.size() == 2) {
        const std::string ext = std::filesystem::path(args[1]).extension().string();
        const int mode = ext == ".txt" ? 0 : ext == ".kvl" ? 2 : 1;
        if (set.iParts2File(!test, args[1], mode, nullptr, &error) != 1) {
            err << "kalvorctl extract: " << args[1] << ": " << error << "\n";
            return kFailed;
        }
    }
    return 0;
}

}  // namespace

KALVOR_CLI_VERB({"tool",
                 "(add IN OUT --kind K [--subkind S] [--region X,Y,W,H[,ANGLE]] "
                 "[--set NAME=VALUE]... | list FILE [--json] | set IN OUT --tool N --set "
                 "NAME=VALUE... | remove IN OUT --tool N) [--no-settings]",
                 "edits the tools of a project's actual check program as the desktop does: adds "
                 "one (X,Y the top-left corner of the region, ANGLE in degrees), lists them with "
                 "their properties, sets properties by name, removes one with the tools that "
                 "read it",
                 &RunTool});
KALVOR_CLI_VERB({"extract", "FILE [OUT] [--json [--runs]] [--test] [--no-settings]",
                 "recomputes the features of every part of a project (every check program, "
                 "with its tools) or of a part list, prints them and writes OUT when given",
                 &RunExtract});
