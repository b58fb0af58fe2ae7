// kalvorctl teach / evaluate / classify: Teach-Data of a feature table, its evaluation list
// and the classification of its test parts, computed by the project's own classifiers.
#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "CliVerb.h"
#include "JsonWriter.h"
#include "PartsInput.h"
#include "TeachInput.h"
#include "classification/FeatureTableCsv.h"
#include "classification/OClass_ConfV12.h"
#include "classification/OClass_KVT.h"
#include "classification/OClassifierHost.h"
#include "device/DeviceInfoBuilder.h"
#include "device/TargetSystem.h"
#include "extraction/OHeadlessExtraction.h"
#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/strings/FormatPrintf.h"
#include "platform/OUserInteraction_Console.h"

namespace {

constexpr int kUsageError = 2;

const char* kUsage =
    "FILE [--json] [--family 1|2] [--tolerance N] [--type N] [--hardware CODE] "
    "[--software CODE] [--device-types N] [--device-orientations N] [--no-types] "
    "[--no-orientations]";

bool bParseOptions(const std::vector<std::string>& args, OTeachInputOptions& options,
                   std::string& error) {
    struct IntOption {
        const char* name;
        int* value;
        int low, high;
    };
    const IntOption ints[] = {
        {"--family", &options.family, 1, 2},
        {"--hardware", &options.hardware, 0, 65535},
        {"--software", &options.software, 0, 65535},
        {"--tolerance", &options.tolerance, 0, OType_ZRPartSet_SubType::kMaxTolerance},
        {"--type", &options.type, 1, ClassTables::kTypes},
        {"--device-types", &options.deviceTypes, 1, ClassTables::kTypes},
        {"--device-orientations", &options.deviceOrientations, 1, ClassTables::kOrientations},
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--json") {
            options.json = true;
            continue;
        }
        if (arg == "--no-types") {
            options.useTypes = false;
            continue;
        }
        if (arg == "--no-orientations") {
            options.useOrientation = false;
            continue;
        }
        const IntOption* match = nullptr;
        for (const IntOption& o : ints) {
            if (arg == o.name) match = &o;
        }
        if (match) {
            if (i + 1 >= args.size() || !bParseIntOption(args[i + 1], *match->value) ||
                *match->value < match->low || *match->value > match->high) {
                error = FormatPrintf("%s needs a number in %d..%d", match->name, match->low,
                                     match->high);
                return false;
            }
            ++i;
            continue;
        }
        if (arg.rfind("--", 0) == 0) {
            error = "unknown option " + arg;
            return false;
        }
        if (!options.file.empty()) {
            error = "only one FILE may be given";
            return false;
        }
        options.file = arg;
    }
    return bFinishTeachInputOptions(options, error);
}

std::unique_ptr<OClassifier> MakeClassifier(int family, OClassifierHost& host) {
    if (family == 2) return std::make_unique<OClass_KVT>(host);
    return std::make_unique<OClass_ConfV12>(host);
}

void WriteStringArray(OJsonWriter& json, const char* key, const std::vector<std::string>& items) {
    json.Key(key).BeginArray();
    for (const std::string& item : items)
        json.String(item);
    json.EndArray();
}

// Family 1 holds its statistics in single precision; they are written in that form.
void WriteReal(OJsonWriter& json, const char* key, double value, int family) {
    json.Key(key);
    if (family == 1) {
        json.Number(static_cast<float>(value));
    } else {
        json.Number(value);
    }
}

void WriteClassFeatures(OJsonWriter& json, const OClassifier& classifier,
                        const OType_ZRPartSet& partSet, int type, int orientation) {
    const OType_Part* first = partSet.TeachParts().GetAt(0);
    const int family = classifier.iGetFamily();
    json.Key("features").BeginArray();
    for (int f = 0; f < classifier.iGetFeatureCount(); ++f) {
        OClassCell cell;
        if (!classifier.bGetCell(type, orientation, f, cell)) break;
        json.BeginObject();
        json.Field("feature", f + 1);
        if (first && f < first->Features().iGetNumOfFeatures())
            json.Field("name", first->Features().At(f).name);
        WriteReal(json, "minimum", cell.minimum, family);
        WriteReal(json, "mean", cell.mean, family);
        WriteReal(json, "maximum", cell.maximum, family);
        WriteReal(json, "lowerBound", cell.lowerBound, family);
        WriteReal(json, "upperBound", cell.upperBound, family);
        json.Field("toleranceBelow", cell.usedToleranceBelow);
        json.Field("toleranceAbove", cell.usedToleranceAbove);
        json.Field("factor", cell.factor);
        json.Field("option", cell.optionMean);
        json.Field("partCount", classifier.iGetPartCount(type, orientation));
        if (classifier.iGetFamily() == 2) {
            json.Field("validCount", cell.validCount);
            json.Field("state", cell.state);
            json.Field("text", cell.textFeature);
            if (cell.textFeature) json.Field("classText", cell.classText);
        }
        json.EndObject();
    }
    json.EndArray();
}

void WriteTeachJson(std::ostream& out, OClassifier& classifier, const OType_ZRPartSet& partSet,
                    int type) {
    OJsonWriter json(out);
    json.BeginObject();
    json.Field("family", classifier.iGetFamily());
    json.Field("type", type + 1);
    json.Field("tolerance", classifier.iGetTolerance(type));
    json.Field("typeCount", classifier.iGetTypeCount());
    json.Field("featureCount", classifier.iGetFeatureCount());
    json.Field("teachError", classifier.GetTeachError());
    WriteStringArray(json, "e20", SplitPairs(classifier.GetE20List()));
    WriteStringArray(json, "e21", SplitPairs(classifier.GetE21List()));
    WriteStringArray(json, "warnings", SplitPairs(classifier.GetWarningList()));

    json.Key("classes").BeginArray();
    for (int o = 0; o < classifier.iGetOrientationCount(type); ++o) {
        json.BeginObject();
        json.Field("type", type + 1);
        json.Field("orientation", o + 1);
        json.Field("partCount", classifier.iGetPartCount(type, o));
        WriteClassFeatures(json, classifier, partSet, type, o);
        json.EndObject();
    }
    json.EndArray();

    json.Key("pairs").BeginArray();
    for (int tA = 0; tA < classifier.iGetTypeCount(); ++tA) {
        for (int tB = tA; tB < classifier.iGetTypeCount(); ++tB) {
            if (!classifier.bTypeHasData(tA) || !classifier.bTypeHasData(tB)) continue;
            for (int oA = 0; oA < classifier.iGetOrientationCount(tA); ++oA) {
                for (int oB = 0; oB < classifier.iGetOrientationCount(tB); ++oB) {
                    if (tA == tB && !(oA == 0 && oB != 0)) continue;
                    const int f = classifier.iGetSeparatingFeature(tA, oA, tB, oB);
                    json.BeginObject();
                    json.Field("typeA", tA + 1);
                    json.Field("orientationA", oA + 1);
                    json.Field("typeB", tB + 1);
                    json.Field("orientationB", oB + 1);
                    json.Key("feature");
                    if (f >= 0) {
                        json.Int(f + 1);
                    } else {
                        json.Null();
                    }
                    json.Field("separation", classifier.GetSeparation(tA, oA, tB, oB, -1));
                    json.EndObject();
                }
            }
        }
    }
    json.EndArray();

    json.Key("thresholds").BeginArray();
    for (int t = 0; t < classifier.iGetTypeCount(); ++t) {
        for (int o = 1; o < classifier.iGetOrientationCount(t); ++o) {
            json.BeginObject();
            json.Field("type", t + 1);
            json.Field("orientation", o + 1);
            const int f = classifier.iGetSeparatingFeature(t, 0, t, o);
            json.Key("feature");
            if (f >= 0) {
                json.Int(f + 1);
            } else {
                json.Null();
            }
            WriteReal(json, "value", classifier.dGetDecisionThreshold(t, o),
                      classifier.iGetFamily());
            json.EndObject();
        }
    }
    json.EndArray();
    json.EndObject();
    json.Finish();
}

void WriteTeachText(std::ostream& out, OClassifier& classifier, int type) {
    out << "Teach error: " << classifier.GetTeachError() << "\n";
    if (!classifier.GetE20List().empty()) out << "E20: " << classifier.GetE20List() << "\n";
    if (!classifier.GetE21List().empty()) out << "E21: " << classifier.GetE21List() << "\n";
    if (!classifier.GetWarningList().empty())
        out << "Warnings: " << classifier.GetWarningList() << "\n";
    for (int o = 0; o < classifier.iGetOrientationCount(type); ++o) {
        out << FormatPrintf("Type %d, orientation %d: %d parts\n", type + 1, o + 1,
                            classifier.iGetPartCount(type, o));
        for (int f = 0; f < classifier.iGetFeatureCount(); ++f) {
            OClassCell c;
            if (!classifier.bGetCell(type, o, f, c)) break;
            out << FormatPrintf("  %2d. min %g mean %g max %g  bounds %g .. %g  tol %d/%d\n", f + 1,
                                c.minimum, c.mean, c.maximum, c.lowerBound, c.upperBound,
                                c.usedToleranceBelow, c.usedToleranceAbove);
        }
    }
}

enum class Verb { Teach, Evaluate, Classify };

int RunVerb(Verb verb, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    OTeachInputOptions options;
    std::string error;
    if (!bParseOptions(args, options, error)) {
        err << error << "\nusage: " << kUsage << "\n";
        return kUsageError;
    }
    OCliClassifierHost host(options, err);
    OType_ZRPartSet& partSet = host.PartSet();
    if (!bLoadInput(options, host, error)) {
        err << error << "\n";
        return 1;
    }
    std::unique_ptr<OClassifier> classifier = MakeClassifier(host.iGetFamily(), host);
    classifier->TeachFromParts(partSet);
    if (verb == Verb::Teach) {
        const int type = options.type > 0 ? options.type - 1 : partSet.iShowSubTypeGetNo();
        if (options.json) {
            WriteTeachJson(out, *classifier, partSet, type);
        } else {
            WriteTeachText(out, *classifier, type);
        }
        return 0;
    }
    // As the document's recompute: test parts are classified after teaching.
    if (!partSet.TestParts().bIsEmpty()) classifier->EvaluateTestParts(partSet, 0);
    if (verb == Verb::Evaluate) {
        std::vector<OEvaluationRow> rows;
        classifier->BuildEvaluationList(rows);
        if (!options.json) {
            for (const OEvaluationRow& row : rows)
                out << row.icon << "  " << row.text << "\n";
            return 0;
        }
        OJsonWriter json(out);
        json.BeginObject().Key("rows").BeginArray();
        for (const OEvaluationRow& row : rows) {
            json.BeginObject();
            json.Field("icon", row.icon);
            json.Field("text", row.text);
            json.Field("command", row.command);
            json.Field("indent", row.indent);
            json.EndObject();
        }
        json.EndArray().EndObject().Finish();
        return 0;
    }

    const OType_PartArray& test = partSet.TestParts();
    if (!options.json) {
        for (int i = 0; i < test.iGetSize(); ++i) {
            const OType_Part& p = *test.GetAt(i);
            out << FormatPrintf("%d. type %d orientation %d  %g %g %g\n", p.iGetRecordNo(),
                                p.iGetType(), p.iGetOrientation(), p.dGetResultValue(0),
                                p.dGetResultValue(1), p.dGetResultValue(2));
        }
        return 0;
    }
    OJsonWriter json(out);
    json.BeginObject().Key("parts").BeginArray();
    for (int i = 0; i < test.iGetSize(); ++i) {
        const OType_Part& p = *test.GetAt(i);
        json.BeginObject();
        json.Field("part", p.iGetRecordNo());
        json.Field("type", p.iGetType());
        json.Field("orientation", p.iGetOrientation());
        json.Key("results").BeginArray();
        for (int r = 0; r < 3; ++r)
            json.Number(p.dGetResultValue(r));
        json.EndArray();
        json.Field("tolerance", p.iGetTolerance());
        json.EndObject();
    }
    json.EndArray().EndObject().Finish();
    return 0;
}

int RunTeach(const std::vector<std::string>& a, std::ostream& o, std::ostream& e) {
    return RunVerb(Verb::Teach, a, o, e);
}
int RunEvaluate(const std::vector<std::string>& a, std::ostream& o, std::ostream& e) {
    return RunVerb(Verb::Evaluate, a, o, e);
}
int RunClassify(const std::vector<std::string>& a, std::ostream& o, std::ostream& e) {
    return RunVerb(Verb::Classify, a, o, e);
}

}  // namespace

KALVOR_CLI_VERB({"teach", kUsage,
                 "Teach-Data of a feature table: class statistics and bounds, separating "
                 "features, thresholds, teach error",
                 &RunTeach});
KALVOR_CLI_VERB({"evaluate", kUsage, "the evaluation list of the Teach-Data (icon, text, command)",
                 &RunEvaluate});
KALVOR_CLI_VERB({"classify", kUsage,
                 "classifies the test parts: detected type and orientation, the three result "
                 "values",
                 &RunClassify});
