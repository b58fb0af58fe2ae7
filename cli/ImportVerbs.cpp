// kalvorctl import-images: picture files become parts of a part list, as the desktop's
// camera image import makes them (ODlg_ImportImages).
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "CliVerb.h"
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
    "[--bright B] [--test]";

struct OImportOptions {
    std::vector<std::string> positional;
    int x = 0, y = 0, type = 0, dark = 0, bright = 127;
    bool teach = true;
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
        } else if (a.size() > 2 && a.rfind("--", 0) == 0) {
            o.error = "unknown option " + a;
            return o;
        } else {
            o.positional.push_back(a);
        }
    }
    return o;
}

// ".kvl" lists keep everything; ".zrl" too; ".txt" and ".csv" keep the contours only.
int ListMode(const fs::path& path) {
    const std::string ext = path.extension().string();
    if (ext == ".txt" || ext == ".csv") return 0;
    return ext == ".zrl" ? 1 : 2;
}

int RunImportImages(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const OImportOptions o = Parse(args);
    auto fail = [&](const std::string& why, int code) {
        err << "kalvorctl import-images: " << why << "\n";
        return code;
    };
    if (!o.error.empty()) return fail(o.error, kUsage);
    if (o.positional.size() < 2) return fail(kUsageText, kUsage);
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
    if (!dialog.bValidate(message)) return fail(message, kUsage);

    OType_ZRPartSet partSet;
    std::string error;
    std::error_code ec;
    const bool append = fs::exists(output, ec);
    if (append && partSet.iLoadParts(output, o.teach, &error) != 1)
        return fail(output.string() + ": " + error, kFailed);
    OType_PartArray& list = o.teach ? partSet.TeachParts() : partSet.TestParts();
    const int before = list.iGetSize();

    dialog.iImport();
    for (const auto& skipped : dialog.SkippedFiles())
        err << "kalvorctl import-images: skipped " << skipped.reason << "\n";
    if (dialog.bOutsideFieldOfView()) err << "kalvorctl import-images: " << ResStr(5356) << "\n";
    auto parts = dialog.TakeParts();
    if (parts.empty())
        return fail("no picture could be read; " + output.string() + " unchanged", kFailed);
    for (auto& part : parts) {
        part->SetTeachPart(o.teach);
        part->SetRecordNo(list.iGetSize() + 1);
        list.Add(std::move(part));
    }

    OSafeFileWriter writer(output);
    if (!writer.bBegin()) return fail(output.string() + ": " + writer.LastError(), kFailed);
    const int written =
        partSet.iParts2File(o.teach, writer.TemporaryPath(), ListMode(output), nullptr, &error);
    if (written != 1 || !writer.bCommit()) {
        return fail(output.string() + ": " +
                        (written == 1  ? writer.LastError()
                         : written < 0 ? "cannot be created"
                                       : error),
                    kFailed);
    }
    const int imported = list.iGetSize() - before;
    out << imported << (o.teach ? " sample" : " test") << (imported == 1 ? " part" : " parts")
        << " imported into " << output.string()
        << (append ? " (appended to " + std::to_string(before) + ")" : "") << "\n";
    return dialog.SkippedFiles().empty() ? 0 : kFailed;
}

KALVOR_CLI_VERB({"import-images",
                 "OUT IMAGE... [--x X] [--y Y] [--threshold-type 0|1] [--dark D] [--bright B] "
                 "[--test]",
                 "imports BMP, JPEG or PNG pictures as sample (or test) parts of the part list OUT "
                 "(appended when it exists): each picture at position X, Y with its contour by "
                 "thresholding; unreadable pictures are named and make the exit status 1",
                 &RunImportImages});

}  // namespace
