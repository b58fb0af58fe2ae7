// kalvorctl verbs on project files: blocks, info, new, resave. They run the program's own
// document and session code without windows; messages of the document go to stderr.
// The user's settings are read (unless --no-settings) but never written back.
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "CliVerb.h"
#include "JsonWriter.h"
#include "ProjectSupport.h"
#include "TargetJson.h"
#include "device/OQuillon.h"
#include "device/TargetSystemSettings.h"
#include "document/OHeadlessDocument.h"
#include "document/files/ProjectBlocks.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_File.h"
#include "model/strings/ResStr.h"
#include "platform/OSettings_Ini.h"
#include "platform/OSettings_Memory.h"
#include "platform/SettingsPaths.h"

namespace {

int RunBlocks(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 1) {
        err << "usage: kalvorctl blocks FILE\n";
        return 2;
    }
    OByteStream_File file;
    if (!file.bOpen(args[0], OByteStream_File::Mode::Read)) {
        err << "kalvorctl blocks: " << args[0] << ": " << file.LastError() << "\n";
        return 1;
    }
    std::vector<OProjectBlock> blocks;
    const bool complete = ScanBlocks(file, blocks);
    for (const OProjectBlock& b : blocks)
        out << b.name << '\t' << b.dataOffset << '\t' << b.length << '\n';
    if (!complete) {
        err << "kalvorctl blocks: " << args[0] << ": the file cannot be scanned after "
            << blocks.size() << " block(s): a block header is missing, damaged or cut off\n";
        return 1;
    }
    return 0;
}

void WriteInfo(const std::string& path, OQuillon& session, std::ostream& out) {
    OJsonWriter json(out);
    json.BeginObject();
    json.Field("file", path);
    json.Field("family", session.iGetFamily());
    const OTargetSystem& t = session.GetTargetSystem();
    json.Key("target").BeginObject();
    WriteTargetFields(json, t, session.iGetFixedFeatures(), session.iGetToolCapacity());
    json.EndObject();
    const OType_ProjectProperties& p = session.ProjectProperties();
    json.Key("projectProperties").BeginObject();
    json.Field("addOldFormat", p.addOldFormat);
    json.Field("useMultiplePartSets", p.useMultiplePartSets);
    json.Field("useOrientation", p.useOrientation);
    json.Field("useTypes", p.useTypes);
    json.Field("useManualOrientation", p.useManualOrientation);
    json.Field("useManualTypes", p.useManualTypes);
    json.Field("updateProjectDescription", p.updateProjectDescription);
    json.Field("useQuality", p.useQuality);
    json.Field("useAlternativeValue", p.useAlternativeValue);
    json.Field("useNewToolsOnCameraImage", p.useNewToolsOnCameraImage);
    json.EndObject();
    json.Key("partSets").BeginArray();
    const OType_ZRPartSetArray& sets = session.PartSets();
    for (int i = 0; i < sets.iGetNum(); ++i) {
        const OType_ZRPartSet& set = *sets.opGetPartSet(i);
        json.BeginObject();
        json.Field("name", set.GetName());
        json.Field("teachParts", set.TeachParts().iGetSize());
        json.Field("testParts", set.TestParts().iGetSize());
        json.Field("tools", set.Tools().iGetNum());
        json.Field("features", set.iGetNumOfFeatures());
        json.Field("partTypes", set.iGetNum_SubTypes());
        json.EndObject();
    }
    json.EndArray();
    json.Field("unknownBlockBytes", static_cast<int64_t>(session.UnknownBlocks().size()));
    json.EndObject();
    json.Finish();
}

int RunInfo(const std::vector<std::string>& given, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = given;
    const bool noSettings = TakeFlag(args, "--no-settings");
    const bool json = TakeFlag(args, "--json");
    if (args.size() != 1 || !json) {
        err << "usage: kalvorctl info FILE --json [--no-settings]\n";
        return 2;
    }
    const auto settings = OpenSettings(noSettings, err);
    OHeadlessDocument headless(*settings);
    if (!LoadProject(headless.Doc(), args[0], "info", err)) return 1;
    WriteInfo(args[0], headless.Session(), out);
    return 0;
}

int RunNew(const std::vector<std::string>& given, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = given;
    const bool noSettings = TakeFlag(args, "--no-settings");
    OTargetSystem target = TargetSystem::kNewProjectDefaults;
    bool hasHardware = false, hasSoftware = false;
    std::string outPath;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        int* field = a == "--hw"           ? &target.hardware
                     : a == "--sw"         ? &target.software
                     : a == "--parttypes"  ? &target.partTypes
                     : a == "--partsinset" ? &target.partsInSet
                     : a == "--ori"        ? &target.orientations
                                           : nullptr;
        if (field) {
            const auto value = i + 1 < args.size() ? ParseInt(args[i + 1]) : std::nullopt;
            if (!value) {
                err << "kalvorctl new: " << a << " needs an integer\n";
                return 2;
            }
            *field = *value;
            hasHardware = hasHardware || a == "--hw";
            hasSoftware = hasSoftware || a == "--sw";
            ++i;
        } else if (outPath.empty() && a.rfind("--", 0) != 0) {
            outPath = a;
        } else {
            err << "kalvorctl new: unexpected argument '" << a << "'\n";
            return 2;
        }
    }
    if (!hasHardware || !hasSoftware || outPath.empty()) {
        err << "usage: kalvorctl new --hw H --sw S [--parttypes N] [--partsinset N] [--ori N] "
               "[--no-settings] OUT\n";
        return 2;
    }
    std::string reason;
    if (!OQuillon::bIsAcceptableTarget(target, &reason)) {
        err << "kalvorctl new: the target system is not usable: " << reason << "\n";
        return 1;
    }
    const auto settings = OpenSettings(noSettings, err);
    TargetSystemSettings::WriteTarget(*settings, target);
    OHeadlessDocument headless(*settings);
    if (headless.Session().GetTargetSystem() != target) {
        err << "kalvorctl new: the target system was refused\n";
        return 1;
    }
    if (!SaveProject(headless.Doc(), outPath, "new", err)) return 1;
    out << outPath << '\n';
    return 0;
}

int RunResave(const std::vector<std::string>& given, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args = given;
    const bool noSettings = TakeFlag(args, "--no-settings");
    if (args.size() != 2) {
        err << "usage: kalvorctl resave IN OUT [--no-settings]\n";
        return 2;
    }
    const auto settings = OpenSettings(noSettings, err);
    OHeadlessDocument headless(*settings);
    if (!LoadProject(headless.Doc(), args[0], "resave", err)) return 1;
    if (!SaveProject(headless.Doc(), args[1], "resave", err)) return 1;
    out << args[1] << '\n';
    return 0;
}

}  // namespace

KALVOR_CLI_VERB({"blocks", "FILE",
                 "lists the blocks of a project file: NAME<TAB>DATA_OFFSET<TAB>LENGTH per line",
                 &RunBlocks});
KALVOR_CLI_VERB({"info", "FILE --json [--no-settings]",
                 "prints target system, project properties and check programs of a project as "
                 "JSON",
                 &RunInfo});
KALVOR_CLI_VERB({"new", "--hw H --sw S [--parttypes N] [--partsinset N] [--ori N] OUT",
                 "writes a new empty project for a target system", &RunNew});
KALVOR_CLI_VERB({"resave", "IN OUT [--no-settings]",
                 "loads a project and saves it again (unknown blocks are kept)", &RunResave});
