// kalvorctl search / accuracy: the automatic tool search on the check program of a project,
// a part list or contours as text, and the accuracy figures of one feature of the sample
// parts of type 1 and orientation 1.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "CliVerb.h"
#include "JsonWriter.h"
#include "PartsInput.h"
#include "TeachInput.h"
#include "analysis/OSheet_AccuracyWizard.h"
#include "classification/OClassifier.h"
#include "device/OQuillon.h"
#include "device/TargetSystemSettings.h"
#include "document/OHeadlessDocument.h"
#include "extraction/OExtr_Default.h"
#include "extraction/OToolSearchJob.h"
#include "model/part/OType_Part.h"
#include "model/partset/OContourCsv.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"
#include "platform/OClock_System.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Console.h"
#include "tools/ContourToolTypes.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr const char* kStepNames[] = {"large", "medium", "small"};

bool bParseNumber(const std::string& text, double& value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    value = std::strtod(begin, &end);
    return end != begin && *end == '\0' && std::isfinite(value);
}

std::string LowerExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// --- search ---

struct OSearchOptions {
    std::string in, out;
    double minutes = 1.0;
    int step = 1;
    bool json = false;
};

bool bParseSearchOptions(const std::vector<std::string>& args, OSearchOptions& o,
                         std::string& error) {
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--json") {
            o.json = true;
        } else if (a == "--minutes") {
            if (i + 1 >= args.size() || !bParseNumber(args[i + 1], o.minutes) ||
                !(o.minutes > 0.0) || o.minutes > 1440.0) {
                error = "--minutes needs a number above 0, at most 1440";
                return false;
            }
            ++i;
        } else if (a == "--step") {
            const std::string v = i + 1 < args.size() ? args[i + 1] : std::string();
            o.step = v == "large" ? 0 : v == "medium" ? 1 : v == "small" ? 2 : -1;
            if (o.step < 0) {
                error = "--step needs large, medium or small";
                return false;
            }
            ++i;
        } else if (a.rfind("--", 0) == 0) {
            error = "unknown option " + a;
            return false;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) {
        error = "IN and OUT expected";
        return false;
    }
    o.in = positional[0];
    o.out = positional[1];
    return true;
}

// Puts the parts of a part list or of contour lines into the new project's check program.
bool bLoadPartsIntoProject(const fs::path& path, OType_ZRPartSet& partSet, std::string& error) {
    const std::string ext = LowerExtension(path);
    if (ext != ".csv" && ext != ".txt") {
        if (partSet.iLoadParts(path, true, &error)) return true;
        if (error.empty()) error = "the part list could not be read";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot be opened";
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::vector<OContourCsvRow> rows;
    if (!bParseContourCsv(text.str(), rows, error)) return false;
    for (OContourCsvRow& row : rows) {
        auto part = std::make_unique<OType_Part>();
        part->SetConturData(std::move(row.runs));
        part->SetType(row.type);
        part->SetOrientation(row.orientation);
        part->SetTeachPart(row.teach);
        OType_PartArray& list = row.teach ? partSet.TeachParts() : partSet.TestParts();
        OType_Part* added = list.Add(std::move(part));
        added->SetRecordNo(list.iGetSize());
    }
    return true;
}

struct OTeachState {
    int teachError = 0;
    std::vector<std::string> e20, e21;
};

OTeachState TeachState(ODoc& doc) {
    OTeachState s;
    if (const OClassifier* classifier = doc.opGetClassifier()) {
        s.teachError = const_cast<OClassifier*>(classifier)->GetTeachError();
        s.e20 = SplitPairs(classifier->GetE20List());
        s.e21 = SplitPairs(classifier->GetE21List());
    }
    return s;
}

void WriteTeachState(OJsonWriter& json, const char* key, const OTeachState& s) {
    json.Key(key).BeginObject();
    json.Field("teachError", s.teachError);
    json.Key("e20").BeginArray();
    for (const std::string& p : s.e20)
        json.String(p);
    json.EndArray();
    json.Key("e21").BeginArray();
    for (const std::string& p : s.e21)
        json.String(p);
    json.EndArray();
    json.EndObject();
}

std::string KindName(int kind) {
    return kind == ContourToolKind::kROI      ? "ROI"
           : kind == ContourToolKind::kVStrip ? "VStrip"
                                              : "CTool";
}

void WriteSearchJson(std::ostream& out, const OSearchOptions& o, const OToolSearchJob& job,
                     const OTeachState& before, const OTeachState& after) {
    const OToolSearchStats& stats = job.Search().Stats();
    OJsonWriter json(out);
    json.BeginObject();
    json.Field("input", o.in);
    json.Field("output", o.out);
    json.Key("minutes").Number(o.minutes);
    json.Field("step", kStepNames[o.step]);
    json.Key("candidates").BeginObject();
    json.Field("tried", stats.tried);
    json.Field("kept", stats.kept);
    json.Field("checked", stats.checked);
    json.Field("selected", stats.selected);
    json.EndObject();
    json.Field("cancelled", stats.cancelled);
    json.Key("toolsAdded").BeginArray();
    for (const OInstalledTool& t : job.Installed()) {
        json.BeginObject();
        json.Field("name", t.name);
        json.Field("kind", t.kind);
        json.Field("kindName", KindName(t.kind));
        json.Field("subKind", t.subKind);
        json.Field("placementMode", t.mode);
        json.Key("region").BeginObject();
        json.Field("left", t.region.left);
        json.Field("top", t.region.top);
        json.Field("right", t.region.right);
        json.Field("bottom", t.region.bottom);
        json.EndObject();
        json.EndObject();
    }
    json.EndArray();
    WriteTeachState(json, "before", before);
    WriteTeachState(json, "after", after);
    json.EndObject();
    json.Finish();
}

void WriteSearchText(std::ostream& out, const OToolSearchJob& job, const OTeachState& before,
                     const OTeachState& after) {
    const OToolSearchStats& stats = job.Search().Stats();
    out << FormatPrintf("Candidates: %lld tried, %lld kept, %lld after the check, %d selected%s\n",
                        stats.tried, stats.kept, stats.checked, stats.selected,
                        stats.cancelled ? " (cancelled)" : "");
    for (const OInstalledTool& t : job.Installed()) {
        out << FormatPrintf("Added %s %d (mode %d, region %d,%d..%d,%d): %s\n",
                            KindName(t.kind).c_str(), t.subKind, t.mode, t.region.left,
                            t.region.top, t.region.right, t.region.bottom, t.name.c_str());
    }
    const auto state = [&out](const char* when, const OTeachState& s) {
        out << when << ": teach error " << s.teachError;
        for (const std::string& p : s.e20)
            out << " [E20] " << p;
        for (const std::string& p : s.e21)
            out << " [E21] " << p;
        out << "\n";
    };
    state("Before", before);
    state("After", after);
}

int RunSearch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    OSearchOptions o;
    std::string error;
    if (!bParseSearchOptions(args, o, error)) {
        err << "kalvorctl search: " << error
            << "\nusage: kalvorctl search IN OUT [--minutes M] [--step large|medium|small] "
               "[--json]\n";
        return kUsage;
    }
    // A project of its own; part lists and contour lines go into a new classic one.
    OSettings_Memory settings;
    settings.SetInt("Settings", "SHOW_WIZARD_BAR", 0);
    // The new project tells orientations and types apart, as the parts are assigned.
    for (const char* name : {"PROJECT_USE_ORIENTATION", "PROJECT_USE_MANUALORIENTATION",
                             "PROJECT_USE_TYPES", "PROJECT_USE_MANUALTYPES"})
        settings.SetInt("Settings", name, 1);
    TargetSystemSettings::WriteTarget(settings, TargetSystem::kNewProjectDefaults);
    OUserInteraction_Console ui(err);
    OHeadlessDocument headless(settings, &ui);
    ODoc& doc = headless.Doc();
    const fs::path in = o.in;
    if (bIsProjectFile(in)) {
        std::string loadError;
        if (doc.LoadProjectFile(o.in, loadError, 1) != 1) {
            err << "kalvorctl search: " << o.in << ": " << ResStr(5103)
                << (loadError.empty() ? "" : " " + loadError) << "\n";
            return kFailed;
        }
        if (headless.Session().iGetFamily() != 1) {
            err << "kalvorctl search: " << o.in
                << ": the tool search works on contour devices only\n";
            return kFailed;
        }
    } else {
        OType_ZRPartSet* set = headless.Session().opGetActualPartSet();
        if (!set || !bLoadPartsIntoProject(in, *set, error)) {
            err << "kalvorctl search: " << o.in << ": " << error << "\n";
            return kFailed;
        }
    }
    OType_ZRPartSet* partSet = headless.Session().opGetActualPartSet();
    if (!partSet) {
        err << "kalvorctl search: " << o.in << ": the project holds no check program\n";
        return kFailed;
    }
    doc.Recompute(partSet, 1, 0, 1, 1, 0);
    const OTeachState before = TeachState(doc);
    auto* engine = dynamic_cast<OExtr_Default*>(doc.opEnsureExtractor());
    if (!engine) {
        err << "kalvorctl search: the project has no contour extraction\n";
        return kFailed;
    }
    std::unique_ptr<OToolSearchJob> job = engine->StartToolSearch({o.minutes, o.step, 0, 0, 0});
    if (!job) return kFailed;  // the message said why
    const OClock_System clock;
    std::string status;
    OToolSearchProgress progress(&headless.Progress(), &status, clock);
    job->Run(progress, clock);
    job->Install(&progress);
    const OTeachState after = TeachState(doc);
    std::string writeError;
    const int written = doc.WriteProjectFile(o.out, writeError);
    if (written != 1) {
        err << "kalvorctl search: " << o.out << ": "
            << (written == 2 ? "the file name must contain .zrp" : ResStr(5121) + " " + writeError)
            << "\n";
        return kFailed;
    }
    if (o.json)
        WriteSearchJson(out, o, *job, before, after);
    else
        WriteSearchText(out, *job, before, after);
    return 0;
}

// --- accuracy ---

struct OAccuracyOptions {
    OTeachInputOptions input;
    int feature = 0;  // 1-based
    double measured = 0.0;
    bool hasMeasured = false;
    double tolerance = 0.0;
    bool hasTolerance = false;
    int uncertain = 0;
    bool hasUncertain = false;
};

const char* kAccuracyUsage =
    "usage: kalvorctl accuracy IN --feature N --measured M [--tolerance T | --uncertain U] "
    "[--json]";

bool bParseAccuracyOptions(const std::vector<std::string>& args, OAccuracyOptions& o,
                           std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const std::string next = i + 1 < args.size() ? args[i + 1] : std::string();
        if (a == "--json") {
            o.input.json = true;
            continue;
        }
        if (a == "--feature") {
            if (!bParseIntOption(next, o.feature) || o.feature < 1) {
                error = "--feature needs a feature number from 1";
                return false;
            }
        } else if (a == "--measured") {
            if (!bParseNumber(next, o.measured)) {
                error = "--measured needs a number";
                return false;
            }
            o.hasMeasured = true;
        } else if (a == "--tolerance") {
            if (!bParseNumber(next, o.tolerance) || o.tolerance < 0) {
                error = "--tolerance needs a number of at least 0";
                return false;
            }
            o.hasTolerance = true;
        } else if (a == "--uncertain") {
            if (!bParseIntOption(next, o.uncertain)) {
                error = "--uncertain needs a whole percentage";
                return false;
            }
            o.hasUncertain = true;
        } else if (a.rfind("--", 0) == 0) {
            error = "unknown option " + a;
            return false;
        } else {
            if (!o.input.file.empty()) {
                error = "only one IN may be given";
                return false;
            }
            o.input.file = a;
            continue;
        }
        ++i;
    }
    if (o.feature < 1 || !o.hasMeasured) {
        error = "--feature and --measured are needed";
        return false;
    }
    if (o.hasTolerance && o.hasUncertain) {
        error = "--tolerance and --uncertain exclude each other";
        return false;
    }
    return bFinishTeachInputOptions(o.input, error);
}

void WriteOptional(OJsonWriter& json, const char* key, bool computed, double value) {
    json.Key(key);
    if (computed)
        json.Number(value);
    else
        json.Null();
}

int RunAccuracy(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    OAccuracyOptions o;
    std::string error;
    if (!bParseAccuracyOptions(args, o, error)) {
        err << "kalvorctl accuracy: " << error << "\n" << kAccuracyUsage << "\n";
        return kUsage;
    }
    OCliClassifierHost host(o.input, err);
    if (!bLoadInput(o.input, host, error)) {
        err << "kalvorctl accuracy: " << error << "\n";
        return kFailed;
    }
    const OType_ZRPartSet& partSet = host.PartSet();
    OSheet_AccuracyWizard sheet;
    OAccuracyResults& results = sheet.Results();
    OPage_AccuracyWizardFeature& featurePage = sheet.FeaturePage();
    featurePage.OnActivate(partSet, results);
    if (o.feature > static_cast<int>(featurePage.Features().size()) &&
        !featurePage.Features().empty()) {
        err << "kalvorctl accuracy: feature " << o.feature << " does not exist (the parts have "
            << featurePage.Features().size() << " features)\n";
        return kUsage;
    }
    featurePage.SelectFeature(o.feature - 1, partSet, results);
    featurePage.SetMeasuredText(FormatPrintf("%.17g", o.measured), partSet, results);
    if (!featurePage.Message().empty()) {
        err << featurePage.Message() << "\n";
        return kFailed;
    }
    const bool computed = (featurePage.iButtons() & WizardButtons::kNext) != 0;
    OPage_AccuracyWizardEvaluation& evaluation = sheet.EvaluationPage();
    OPage_AccuracyWizardResult& result = sheet.ResultPage();
    if (computed) {
        evaluation.OnActivate(results);
        if (o.hasUncertain) {
            evaluation.SetUncertainPercent(o.uncertain);
            evaluation.SetMode(OPage_AccuracyWizardEvaluation::Mode::UncertainShare);
        } else {
            if (o.hasTolerance) evaluation.SetTolerance(o.tolerance);
            evaluation.Recompute();
        }
        evaluation.OnNext(results);
        result.OnActivate(results);
    }
    if (!o.input.json) {
        out << "Mean value: " << featurePage.MeanText() << "\n";
        out << "Resolution: " << featurePage.ResolutionText() << "\n";
        out << "Average error: " << featurePage.AverageErrorText() << "\n";
        out << "Max. error: " << featurePage.MaxErrorText() << "\n";
        if (computed) out << "\n" << result.SummaryText();
        return computed ? 0 : kFailed;
    }
    OJsonWriter json(out);
    json.BeginObject();
    json.Field("file", o.input.file);
    json.Field("feature", o.feature);
    json.Field("featureName",
               featurePage.Features().empty()
                   ? std::string()
                   : featurePage.Features()[static_cast<size_t>(o.feature - 1)].name);
    json.Key("measured").Number(o.measured);
    json.Field("values", results.count);
    const bool capable = results.cgm != Accuracy::kNoCapability;
    WriteOptional(json, "mean", computed, results.mean);
    WriteOptional(json, "minimum", computed, results.minimum);
    WriteOptional(json, "maximum", computed, results.maximum);
    WriteOptional(json, "resolution", computed, results.resolution);
    WriteOptional(json, "maxError", computed, results.maxError);
    WriteOptional(json, "standardDeviation", computed, results.sigma);
    WriteOptional(json, "specified", computed, results.specified);
    WriteOptional(json, "tolerance", computed, results.tolerance);
    json.Key("uncertainShare");
    if (computed)
        json.Int(results.uncertainPercent);
    else
        json.Null();
    WriteOptional(json, "cgm", computed && capable, results.cgm);
    WriteOptional(json, "cgmk", computed && capable, results.cgmk);
    json.Key("texts").BeginObject();
    json.Field("mean", featurePage.MeanText());
    json.Field("resolution", featurePage.ResolutionText());
    json.Field("averageError", featurePage.AverageErrorText());
    json.Field("maxError", featurePage.MaxErrorText());
    if (computed) {
        json.Field("cgm", evaluation.CgmText());
        json.Field("cgmk", evaluation.CgmkText());
    }
    json.EndObject();
    json.Key("summary").BeginArray();
    for (const OAccuracySummaryRow& row : result.Rows()) {
        json.BeginObject();
        json.Field("type", row.type);
        json.Field("value", row.value);
        json.Field("unit", row.unit);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    json.Finish();
    return computed ? 0 : kFailed;
}

}  // namespace

KALVOR_CLI_VERB({"search", "IN OUT [--minutes M] [--step large|medium|small] [--json]",
                 "runs the automatic tool search on the check program of a project, a part list "
                 "or contour lines and writes the project with the tools found",
                 &RunSearch});
KALVOR_CLI_VERB({"accuracy", "IN --feature N --measured M [--tolerance T | --uncertain U] [--json]",
                 "the accuracy figures of feature N (from 1) of the sample parts of type 1 and "
                 "orientation 1, against the value M measured by hand",
                 &RunAccuracy});
