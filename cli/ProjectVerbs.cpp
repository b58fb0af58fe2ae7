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

// A small JSON writer: objects and arrays nest, commas and indentation are handled here.
class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : m_out(out) {}

    void BeginObject(std::string_view key = {}) { Open(key, '{'); }
    void EndObject() { Close('}'); }
    void BeginArray(std::string_view key = {}) { Open(key, '['); }
    void EndArray() { Close(']'); }
    void Value(std::string_view key, long long v) {
        Key(key);
        m_out << v;
    }
    void Value(std::string_view key, const std::string& v) {
        Key(key);
        WriteString(v);
    }
    void Value(std::string_view key, const char* v) { Value(key, std::string(v)); }
    void Finish() { m_out << '\n'; }

  private:
    void Key(std::string_view key) {
        if (!m_first.empty()) {
            if (!m_first.back()) m_out << ',';
            m_first.back() = false;
            m_out << '\n' << std::string(2 * m_first.size(), ' ');
        }
        if (!key.empty()) {
            WriteString(key);
            m_out << ": ";
        }
    }
    void Open(std::string_view key, char bracket) {
        Key(key);
        m_out << bracket;
        m_first.push_back(true);
    }
    void Close(char bracket) {
        const bool empty = m_first.back();
        m_first.pop_back();
        if (!empty) m_out << '\n' << std::string(2 * m_first.size(), ' ');
        m_out << bracket;
    }
    void WriteString(std::string_view s) {
        static const char* kHex = "0123456789abcdef";
        m_out << '"';
        for (unsigned char c : s) {
            switch (c) {
                case '"':
                    m_out << "\\\"";
                    break;
                case '\\':
                    m_out << "\\\\";
                    break;
                case '\n':
                    m_out << "\\n";
                    break;
                case '\r':
                    m_out << "\\r";
                    break;
                case '\t':
                    m_out << "\\t";
                    break;
                default:
                    if (c < 0x20) {
                        m_out << "\\u00" << kHex[c >> 4] << kHex[c & 15];
                    } else {
                        m_out << static_cast<char>(c);
                    }
            }
        }
        m_out << '"';
    }

    std::ostream& m_out;
    std::vector<bool> m_first;  // per open level: nothing written in it yet
};

// The settings the verbs read: the user's store, or an empty one with --no-settings.
std::unique_ptr<Settings> OpenSettings(bool noSettings, std::ostream& err) {
    if (noSettings) return std::make_unique<OSettings_Memory>();
    auto ini = std::make_unique<OSettings_Ini>();
    if (!ini->bLoad(SettingsPaths::UserIniPath()))
        err << "kalvorctl: the settings are ignored: " << ini->LastError() << "\n";
    return ini;
}

// Splits "--no-settings" off the arguments.
bool TakeFlag(std::vector<std::string>& args, const std::string& flag) {
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it == flag) {
            args.erase(it);
            return true;
        }
    }
    return false;
}

std::optional<int> ParseInt(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < -2147483647L || v > 2147483647L) return std::nullopt;
    return static_cast<int>(v);
}

std::string LoadError(const std::string& errorText) {
    return errorText.empty() ? ResStr(5103) : ResStr(5103) + " " + errorText;
}

// Loads a project quietly; the document's fresh project stays when loading fails.
bool Load(ODoc& doc, const std::string& path, const std::string& verb, std::ostream& err) {
    std::string errorText;
    const int result = doc.LoadProjectFile(path, errorText, 1);
    if (result == 1) return true;
    if (result == 2) {
        err << "kalvorctl " << verb << ": " << path
            << ": not a project file name (it must contain .zrp or .kvp)\n";
    } else {
        err << "kalvorctl " << verb << ": " << path << ": " << LoadError(errorText) << "\n";
    }
    return false;
}

bool Save(ODoc& doc, const std::string& path, const std::string& verb, std::ostream& err) {
    std::string errorText;
    const int result = doc.WriteProjectFile(path, errorText);
    if (result == 1) return true;
    if (result == 2) {
        err << "kalvorctl " << verb << ": " << path << ": the file name must contain "
            << (doc.iGetFamily() == 2 ? ".kvp" : ".zrp") << " for this target system\n";
    } else {
        err << "kalvorctl " << verb << ": " << path << ": " << ResStr(5121) << " " << errorText
            << "\n";
    }
    return false;
}

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
    JsonWriter json(out);
    json.BeginObject();
    json.Value("file", path);
    json.Value("family", session.iGetFamily());
    const OTargetSystem& t = session.GetTargetSystem();
    json.BeginObject("target");
    json.Value("hardware", t.hardware);
    json.Value("hardwareName", TargetSystem::HardwareName(t.hardware));
    json.Value("software", t.software);
    json.Value("softwareName", TargetSystem::SoftwareName(t.software));
    json.Value("addIn", t.addIn);
    json.Value("partTypes", t.partTypes);
    json.Value("partsInSet", t.partsInSet);
    json.Value("orientations", t.orientations);
    json.Value("fixedFeatures", session.iGetFixedFeatures());
    json.Value("toolCapacity", session.iGetToolCapacity());
    json.EndObject();
    const OType_ProjectProperties& p = session.ProjectProperties();
    json.BeginObject("projectProperties");
    json.Value("addOldFormat", p.addOldFormat);
    json.Value("useMultiplePartSets", p.useMultiplePartSets);
    json.Value("useOrientation", p.useOrientation);
    json.Value("useTypes", p.useTypes);
    json.Value("useManualOrientation", p.useManualOrientation);
    json.Value("useManualTypes", p.useManualTypes);
    json.Value("updateProjectDescription", p.updateProjectDescription);
    json.Value("useQuality", p.useQuality);
    json.Value("useAlternativeValue", p.useAlternativeValue);
    json.Value("useNewToolsOnCameraImage", p.useNewToolsOnCameraImage);
    json.EndObject();
    json.BeginArray("partSets");
    const OType_ZRPartSetArray& sets = session.PartSets();
    for (int i = 0; i < sets.iGetNum(); ++i) {
        const OType_ZRPartSet& set = *sets.opGetPartSet(i);
        json.BeginObject();
        json.Value("name", set.GetName());
        json.Value("teachParts", set.TeachParts().iGetSize());
        json.Value("testParts", set.TestParts().iGetSize());
        json.Value("tools", set.Tools().iGetNum());
        json.Value("features", set.iGetNumOfFeatures());
        json.Value("partTypes", set.iGetNum_SubTypes());
        json.EndObject();
    }
    json.EndArray();
    json.Value("unknownBlockBytes", static_cast<long long>(session.UnknownBlocks().size()));
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
    if (!Load(headless.Doc(), args[0], "info", err)) return 1;
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
    if (!Save(headless.Doc(), outPath, "new", err)) return 1;
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
    if (!Load(headless.Doc(), args[0], "resave", err)) return 1;
    if (!Save(headless.Doc(), args[1], "resave", err)) return 1;
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
