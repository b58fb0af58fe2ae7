// kalvorctl verbs of the family-1 extraction: the extracted parts of a part list, the basic
// features of contours given as text, and the contour filters applied to a part list.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "CliVerb.h"
#include "JsonWriter.h"
#include "PartsInput.h"
#include "PartsOutput.h"
#include "device/DeviceInfoBuilder.h"
#include "extraction/OBasicContourFeatures.h"
#include "extraction/OContourCombine.h"
#include "extraction/OContourFilters.h"
#include "extraction/OHeadlessExtraction.h"
#include "model/part/OType_Part.h"
#include "model/partset/OContourCsv.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OUserInteraction_Console.h"
#include "tools/ContourToolTypes.h"

namespace {

namespace fs = std::filesystem;

constexpr int kUsage = 2;
constexpr int kFailed = 1;
constexpr int kDefaultSoftware = 778;

struct OOptions {
    std::vector<std::string> positional;
    bool json = false;
    bool teach = true;
    bool csv = false;
    bool runs = false;
    int software = kDefaultSoftware;
    int height = 512;
    std::string error;
};

bool bParseInt(const std::string& text, int& value) {
    try {
        size_t used = 0;
        const long v = std::stol(text, &used);
        if (used != text.size() || v < -32768 || v > 65535) return false;
        value = static_cast<int>(v);
        return true;
    } catch (...) {
        return false;
    }
}

OOptions ParseOptions(const std::vector<std::string>& args) {
    OOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json") {
            o.json = true;
        } else if (a == "--teach") {
            o.teach = true;
        } else if (a == "--test") {
            o.teach = false;
        } else if (a == "--csv") {
            o.csv = true;
        } else if (a == "--runs") {
            o.runs = true;
        } else if (a == "--sw" || a == "--height") {
            int v = 0;
            if (i + 1 >= args.size() || !bParseInt(args[i + 1], v)) {
                o.error = a + " needs a number";
                return o;
            }
            (a == "--sw" ? o.software : o.height) = v;
            ++i;
        } else if (a.size() > 2 && a.rfind("--", 0) == 0) {
            o.error = "unknown option " + a;
            return o;
        } else {
            o.positional.push_back(a);
        }
    }
    return o;
}

// Loads the parts of a file into `partSet`; `info` receives the device they belong to.
bool bLoadParts(const fs::path& path, bool teach, int software, OType_ZRPartSet& partSet,
                ZRINFO& info, std::string& error) {
    OPartsInput input;
    if (!bLoadPartsInput(path, teach, software, partSet, input, error)) return false;
    info = input.deviceInfo;
    return true;
}

// Part lists: ".txt" and ".csv" as contour text, ".kvl" as family-2 list, else ".zrl".
int PartListMode(const fs::path& path) {
    const std::string ext = path.extension().string();
    if (ext == ".txt" || ext == ".csv") return 0;
    return ext == ".kvl" ? 2 : 1;
}

void PrintPartsJson(std::ostream& out, const std::string& file, bool teach,
                    const OType_PartArray& list, bool runs) {
    OJsonWriter json(out);
    json.BeginObject();
    json.Key("file").String(file);
    json.Key("list").String(teach ? "teach" : "test");
    json.Key("parts");
    WritePartsJson(json, list, runs);
    json.EndObject();
    json.Finish();
}

int RunParts(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const OOptions o = ParseOptions(args);
    if (!o.error.empty() || o.positional.size() != 1) {
        err << "kalvorctl parts: " << (o.error.empty() ? "one file expected" : o.error) << "\n";
        return kUsage;
    }
    OType_ZRPartSet partSet;
    ZRINFO info;
    std::string error;
    OPartsInput input;
    if (!bLoadPartsInput(o.positional[0], o.teach, o.software, partSet, input, error, true)) {
        err << "kalvorctl parts: " << o.positional[0] << ": " << error << "\n";
        return kFailed;
    }
    info = input.deviceInfo;
    OUserInteraction_Console ui(err);
    OHeadlessExtraction extraction(info, DeviceInfo::ReadTarget(info), ui);
    extraction.PreparePartSet(partSet);
    if (!extraction.Extract(partSet)) {
        err << "kalvorctl parts: the features could not be extracted\n";
        return kFailed;
    }
    const OType_PartArray& list = o.teach ? partSet.TeachParts() : partSet.TestParts();
    if (o.json)
        PrintPartsJson(out, o.positional[0], o.teach, list, o.runs);
    else
        PrintPartsText(out, list);
    return 0;
}

int RunFeatures(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const OOptions o = ParseOptions(args);
    if (!o.error.empty() || !o.csv || o.positional.size() != 1) {
        err << "kalvorctl features: "
            << (!o.error.empty() ? o.error : "usage: features --csv FILE [--sw S] [--json]")
            << "\n";
        return kUsage;
    }
    std::ifstream in(o.positional[0], std::ios::binary);
    if (!in) {
        err << "kalvorctl features: " << o.positional[0] << ": cannot be opened\n";
        return kFailed;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::vector<OContourCsvRow> rows;
    std::string error;
    if (!bParseContourCsv(text.str(), rows, error)) {
        err << "kalvorctl features: " << o.positional[0] << ": " << error << "\n";
        return kFailed;
    }
    OType_ZRPartSet names;
    names.ExtractFeatureNameLanguage(0);
    const bool variant = bIsVariantDeviceType(o.software);
    OBasicContourMeasure measure;
    OBasicContourFeatures f;
    std::optional<OJsonWriter> json;
    if (o.json) {
        json.emplace(out);
        json->BeginObject();
        json->Key("file").String(o.positional[0]);
        json->Key("software").Int(o.software);
        json->Key("variant").Bool(variant);
        json->Key("parts").BeginArray();
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        measure.Measure(rows[r].runs, variant, f);
        if (!json) {
            out << (rows[r].teach ? "teach" : "test") << "," << rows[r].type << ","
                << rows[r].orientation;
            for (double v : f.values)
                out << "," << v;
            out << "\n";
            continue;
        }
        json->BeginObject();
        json->Key("index").Int(static_cast<long long>(r + 1));
        json->Key("kind").String(rows[r].teach ? "teach" : "test");
        json->Key("type").Int(rows[r].type);
        json->Key("orientation").Int(rows[r].orientation);
        json->Key("features").BeginArray();
        for (int i = 0; i < BasicFeature::kCount; ++i) {
            json->BeginObject();
            json->Key("index").Int(i);
            json->Key("type").Int(BasicFeature::kTypes[static_cast<size_t>(i)]);
            json->Key("name").String(
                names.GetFeatureNameOrDash(BasicFeature::kTypes[static_cast<size_t>(i)]));
            json->Key("value").Number(f.values[static_cast<size_t>(i)]);
            json->EndObject();
        }
        json->EndArray();
        json->EndObject();
    }
    if (json) {
        json->EndArray();
        json->EndObject();
        json->Finish();
    }
    return 0;
}

// The edit of one `contour` command on the parts of a list.
struct OContourEdit {
    std::string op;
    int a = 0;
    int b = 0;
};

bool bApplyEdit(const OContourEdit& e, OType_PartArray& list, int height, bool teach) {
    if (e.op == "or" || e.op == "and" || e.op == "xor") {
        const ContourCombineOp op = e.op == "or"    ? ContourCombineOp::Or
                                    : e.op == "and" ? ContourCombineOp::And
                                                    : ContourCombineOp::Xor;
        auto combined = std::make_unique<OType_Part>();
        combined->SetTeachPart(teach);
        for (int i = 0; i < list.iGetSize(); ++i) {
            const OType_Part& p = *list.GetAt(i);
            if (i == 0) {
                combined->SetConturData({p.Contour().begin(), p.Contour().end()});
                combined->SetType(p.iGetType());
                combined->SetOrientation(p.iGetOrientation());
            } else {
                combined->SetConturData(CombineContours(combined->Contour(), p.Contour(), op));
            }
        }
        combined->SetRecordNo(list.iGetSize() + 1);
        list.Add(std::move(combined));
        return true;
    }
    for (int i = 0; i < list.iGetSize(); ++i) {
        OType_Part& p = *list.GetAt(i);
        if (e.op == "holes")
            ApplyHoleFilter(p, e.a);
        else if (e.op == "thin")
            ApplyThinAreaFilter(p, e.a);
        else if (e.op == "view")
            ApplyViewingAreaFilter(p, e.a, e.b);
        else if (e.op == "undo")
            UndoLastFilter(p);
        else if (e.op == "mirror-v")
            MirrorPartVertical(p);
        else if (e.op == "mirror-h")
            MirrorPartHorizontal(p, height);
        else
            return false;
    }
    return true;
}

int RunContour(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    OOptions o = ParseOptions(args);
    const char* usage =
        "usage: contour (holes H | thin H | view L U | undo | mirror-v | mirror-h | or | and | "
        "xor) IN OUT [--test] [--height H]";
    auto fail = [&](const std::string& why, int code) {
        err << "kalvorctl contour: " << why << "\n";
        return code;
    };
    if (!o.error.empty()) return fail(o.error, kUsage);
    if (o.positional.empty()) return fail(usage, kUsage);
    OContourEdit edit;
    edit.op = o.positional[0];
    const std::vector<std::string> known = {"holes",    "thin", "view", "undo", "mirror-v",
                                            "mirror-h", "or",   "and",  "xor"};
    if (std::find(known.begin(), known.end(), edit.op) == known.end()) return fail(usage, kUsage);
    const size_t numbers = edit.op == "view"                           ? 2
                           : (edit.op == "holes" || edit.op == "thin") ? 1
                                                                       : 0;
    if (o.positional.size() != 3 + numbers) return fail(usage, kUsage);
    if (numbers >= 1 && !bParseInt(o.positional[1], edit.a)) return fail(usage, kUsage);
    if (numbers == 2 && !bParseInt(o.positional[2], edit.b)) return fail(usage, kUsage);
    if (numbers == 1 && edit.a < 1)
        return fail("Limit can not be set to a Value less than 1", kUsage);
    const fs::path input = o.positional[1 + numbers];
    const fs::path output = o.positional[2 + numbers];

    if (bIsProjectFile(input) || bIsProjectFile(output))
        return fail("works on part lists; export the parts of a project first", kUsage);
    OType_ZRPartSet partSet;
    ZRINFO info;
    std::string error;
    if (!bLoadParts(input, o.teach, o.software, partSet, info, error))
        return fail(input.string() + ": " + error, kFailed);
    OType_PartArray& list = o.teach ? partSet.TeachParts() : partSet.TestParts();
    if (!bApplyEdit(edit, list, o.height, o.teach)) return fail(usage, kUsage);
    const int written = partSet.iParts2File(o.teach, output, PartListMode(output), nullptr, &error);
    if (written != 1)
        return fail(output.string() + ": " + (written < 0 ? "cannot be created" : error), kFailed);
    out << list.iGetSize() << " parts written to " << output.string() << "\n";
    return 0;
}

KALVOR_CLI_VERB(
    {"parts", "FILE [--teach | --test] [--sw S] [--json [--runs]]",
     "the parts of a part list or project (either family) with type, orientation, comment, result "
     "values and their extracted features (names, values, validity, texts); --runs adds each "
     "part's contour run list",
     &RunParts});
KALVOR_CLI_VERB({"features", "--csv FILE [--sw S] [--json]",
                 "the twelve basic contour features of contours given as lines "
                 "kind,type,orientation,v1,v2,... (S: firmware code, default 778)",
                 &RunFeatures});
KALVOR_CLI_VERB({"contour",
                 "(holes H | thin H | view L U | undo | mirror-v | mirror-h | or | and | xor) IN "
                 "OUT [--test] [--height H]",
                 "applies a contour filter, mirror or combination to the parts of a part list and "
                 "writes the result (OUT .txt: contour text, else a binary part list)",
                 &RunContour});

}  // namespace
