// kalvorctl import-images: picture files become parts of a part list, as the desktop's
// camera image import makes them (ODlg_ImportImages).
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "CliVerb.h"
#include "PartsInput.h"
#include "ProjectSupport.h"
#include "document/ODoc.h"
#include "document/OHeadlessDocument.h"
#include "document/files/OSafeFileWriter.h"
#include "extraction/ODlg_ImportImages.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/OSettings_Memory.h"

namespace {

namespace fs = std::filesystem;

constexpr int kUsage = 2;
constexpr int kFailed = 1;
constexpr const char* kUsageText =
    "usage: import-images OUT IMAGE... [--x X] [--y Y] [--threshold-type 0|1] [--dark D] "
    "[--bright B] [--test] [--type T] [--orientation O] [--no-settings]";

struct OImportOptions {
    std::vector<std::string> positional;
    int x = 0, y = 0, type = 0, dark = 0, bright = 127;
    int partType = 0, orientation = 0;  // 0: as the import makes them
    bool teach = true;
    bool noSettings = false;
    std::string error;
};

bool bParseInt(const std::string& text, int& value) {
    try {
        size_t used = 0;
        const long v = std::stol(text, &used);
        if (used != text.size() || v < -1000000 || v > 1000000) return false;
        value = static_cast<int>(v);
        return true;
    } catch (...) {
        return false;
    }
}

OImportOptions Parse(const std::vector<std::string>& args) {
    OImportOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        int* target = a == "--x"                ? &o.x
                      : a == "--y"              ? &o.y
                      : a == "--threshold-type" ? &o.type
                      : a == "--dark"           ? &o.dark
                      : a == "--bright"         ? &o.bright
                      : a == "--type"           ? &o.partType
                      : a == "--orientation"    ? &o.orientation
                                                : nullptr;
        if (target) {
            if (i + 1 >= args.size() || !bParseInt(args[i + 1], *target)) {
                o.error = a + " needs a number";
                return o;
            }
            ++i;
        } else if (a == "--test") {
            o.teach = false;
        } else if (a == "--teach") {
            o.teach = true;
        } else if (a == "--no-settings") {
            o.noSettings = true;
        } else if (a.size() > 2 && a.rfind("--", 0) == 0) {
            o.error = "unknown option " + a;
            return o;
        } else {
            o.positional.push_back(a);
        }
    }
    if (o.error.empty() &&
        (o.partType < 0 || o.partType > 16 || o.orientation < 0 || o.orientation > 8))
        o.error = "--type must lie within 1..16 and --orientation within 1..8";
    return o;
}

// ".kvl" lists keep everything; ".zrl" too; ".txt" and ".csv" keep the contours only.
int ListMode(const fs::path& path) {
    const std::string ext = path.extension().string();
    if (ext == ".txt" || ext == ".csv") return 0;
    return ext == ".zrl" ? 1 : 2;
}

int Fail(std::ostream& err, const std::string& why, int code) {
    err << "kalvorctl import-images: " << why << "\n";
    return code;
}

// Reads the pictures and names what could not be read; the parts carry the type and the
// orientation asked for.
std::vector<std::unique_ptr<OType_Part>> Import(const OImportOptions& o, ODlg_ImportImages& dialog,
                                                std::ostream& err) {
    dialog.iImport();
    for (const auto& skipped : dialog.SkippedFiles())
        err << "kalvorctl import-images: skipped " << skipped.reason << "\n";
    if (dialog.bOutsideFieldOfView()) err << "kalvorctl import-images: " << ResStr(5356) << "\n";
    auto parts = dialog.TakeParts();
    for (auto& part : parts) {
        part->SetTeachPart(o.teach);
        if (o.partType > 0) part->SetType(o.partType);
        if (o.orientation > 0) part->SetOrientation(o.orientation);
    }
    return parts;
}

std::string Summary(const OImportOptions& o, size_t imported, const fs::path& output) {
    return std::to_string(imported) + (o.teach ? " sample" : " test") +
           (imported == 1 ? " part" : " parts") + " imported into " + output.string();
}

// Into the actual check program of a project, through the program's document: the parts are
// recomputed with its tools, as the desktop's Import command does it.
int ImportIntoProject(const OImportOptions& o, ODlg_ImportImages& dialog, const fs::path& output,
                      std::ostream& out, std::ostream& err) {
    std::error_code ec;
    if (!fs::exists(output, ec))
        return Fail(err,
                    output.string() +
                        ": no such project (make one with kalvorctl new or device identify "
                        "--project)",
                    kFailed);
    const auto settings = OpenSettings(o.noSettings, err);
    OHeadlessDocument headless(*settings);
    if (!LoadProject(headless.Doc(), output.string(), "import-images", err)) return kFailed;
    // A type or orientation the device does not know would be reset by the next recompute.
    const auto& target = headless.Session().GetTargetSystem();
    if (o.partType > target.partsInSet || o.orientation > target.orientations)
        return Fail(err,
                    output.string() + " is for " + std::to_string(target.partsInSet) +
                        " part types and " + std::to_string(target.orientations) +
                        " orientations; nothing imported",
                    kUsage);
    auto parts = Import(o, dialog, err);
    if (parts.empty())
        return Fail(err, "no picture could be read; " + output.string() + " unchanged", kFailed);
    // A given type or orientation switches on the project's separation of them.
    OType_ProjectProperties& properties = headless.Session().ProjectProperties();
    if (o.partType > 0) properties.useTypes = 1;
    if (o.orientation > 0) properties.useOrientation = 1;
    OType_ZRPartSet* partSet = headless.Session().opGetActualPartSet();
    if (!partSet)
        return Fail(err, output.string() + ": the project holds no check program", kFailed);
    OType_PartArray& list = o.teach ? partSet->TeachParts() : partSet->TestParts();
    const size_t imported = parts.size();
    for (auto& part : parts)
        list.Add(std::move(part));
    headless.Doc().Recompute(partSet, 0, o.teach ? 0 : 1, 1, 1, 0);
    if (!SaveProject(headless.Doc(), output.string(), "import-images", err)) return kFailed;
    out << Summary(o, imported, output) << "\n";
    return dialog.SkippedFiles().empty() ? 0 : kFailed;
}

int ImportIntoPartList(const OImportOptions& o, ODlg_ImportImages& dialog, const fs::path& output,
                       std::ostream& out, std::ostream& err) {
    OType_ZRPartSet partSet;
    std::string error;
    std::error_code ec;
    const bool append = fs::exists(output, ec);
    if (append && partSet.iLoadParts(output, o.teach, &error) != 1)
        return Fail(err, output.string() + ": " + error, kFailed);
    OType_PartArray& list = o.teach ? partSet.TeachParts() : partSet.TestParts();
    const int before = list.iGetSize();
    auto parts = Import(o, dialog, err);
    if (parts.empty())
        return Fail(err, "no picture could be read; " + output.string() + " unchanged", kFailed);
    for (auto& part : parts) {
        part->SetRecordNo(list.iGetSize() + 1);
        list.Add(std::move(part));
    }
    OSafeFileWriter writer(output);
    if (!writer.bBegin()) return Fail(err, output.string() + ": " + writer.LastError(), kFailed);
    const int written =
        partSet.iParts2File(o.teach, writer.TemporaryPath(), ListMode(output), nullptr, &error);
    if (written != 1 || !writer.bCommit()) {
        return Fail(err,
                    output.string() + ": " +
                        (written == 1  ? writer.LastError()
                         : written < 0 ? "cannot be created"
                                       : error),
                    kFailed);
    }
    const int imported = list.iGetSize() - before;
    out << Summary(o, static_cast<size_t>(imported), output)
        << (append ? " (appended to " + std::to_string(before) + ")" : "") << "\n";
    return dialog.SkippedFiles().empty() ? 0 : kFailed;
}

int RunImportImages(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const OImportOptions o = Parse(args);
    if (!o.error.empty()) return Fail(err, o.error, kUsage);
    if (o.positional.size() < 2) return Fail(err, kUsageText, kUsage);
    const fs::path output = o.positional[0];

    // The values go through the dialog's own checks; nothing is kept in the user's settings.
    OSettings_Memory settings;
    ODlg_ImportImages dialog(settings, {o.positional.begin() + 1, o.positional.end()});
    dialog.SetPositionX(o.x);
    dialog.SetPositionY(o.y);
    dialog.SetThresholdType(o.type);
    dialog.SetDark(o.dark);
    dialog.SetBright(o.bright);
    std::string message;
    if (!dialog.bValidate(message)) return Fail(err, message, kUsage);
    if (bIsProjectFile(output)) return ImportIntoProject(o, dialog, output, out, err);
    return ImportIntoPartList(o, dialog, output, out, err);
}

KALVOR_CLI_VERB({"import-images",
                 "OUT IMAGE... [--x X] [--y Y] [--threshold-type 0|1] [--dark D] [--bright B] "
                 "[--test] [--type T] [--orientation O] [--no-settings]",
                 "imports BMP, JPEG or PNG pictures as sample (or test) parts of the part list OUT "
                 "(appended when it exists) or of the actual check program of the project OUT "
                 "(recomputed with its tools): each picture at position X, Y with its contour by "
                 "thresholding, of type T and orientation O when given; unreadable pictures are "
                 "named and make the exit status 1",
                 &RunImportImages});

}  // namespace
