// kalvorctl export and import: single pieces of a project to and from files of their own,
// through the same operations as the desktop's Export and Import commands.
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "CliVerb.h"
#include "ProjectSupport.h"
#include "document/OHeadlessDocument.h"
#include "document/files/OProjectExchange.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/ODialogModel.h"
#include "platform/OUserInteraction_Console.h"
#include "platform/Settings.h"

namespace {

// The kinds by their command-line names.
struct OKindName {
    const char* name;
    ExchangeKind teach;
    ExchangeKind test;
};

constexpr OKindName kKinds[] = {
    {"text", ExchangeKind::ProjectText, ExchangeKind::ProjectText},
    {"parts", ExchangeKind::TeachPartList, ExchangeKind::TestPartList},
    {"features", ExchangeKind::TeachFeatureTable, ExchangeKind::TestFeatureTable},
    {"teachdata", ExchangeKind::TeachData, ExchangeKind::TeachData},
    {"config", ExchangeKind::Configuration, ExchangeKind::Configuration},
    {"calibration", ExchangeKind::Calibration, ExchangeKind::Calibration},
    {"image", ExchangeKind::ShownPartImage, ExchangeKind::ShownPartImage},
    {"images", ExchangeKind::TeachPartImages, ExchangeKind::TestPartImages},
};

constexpr const char* kKindList =
    "text, parts, features, teachdata, config, calibration, image, images";
constexpr const char* kImportKindList = "text, parts, teachdata, config, calibration, images";

std::optional<ExchangeKind> KindOf(const std::string& name, bool test) {
    for (const OKindName& k : kKinds) {
        if (name == k.name) return test ? k.test : k.teach;
    }
    return std::nullopt;
}

// The console, with the answers the command line gives to the questions the operations ask.
class OCliInteraction : public OUserInteraction_Console {
  public:
    OCliInteraction(std::ostream& out, bool replaceParts)
        : OUserInteraction_Console(out), m_replaceParts(replaceParts) {}

  protected:
    MsgResult ShowMessage(const OMessageRequest& request) override {
        // Loading a configuration into a check program with parts: keep them, or replace
        // them by the configuration's with --replace-parts.
        if (request.text == ResStr(2109)) {
            OMessageRequest answered = request;
            answered.defaultButton = m_replaceParts ? MsgResult::No : MsgResult::Yes;
            return OUserInteraction_Console::ShowMessage(answered);
        }
        return OUserInteraction_Console::ShowMessage(request);
    }
    // The camera image import takes the position and thresholds last used.
    bool bShowDialog(ODialogModel& model) override {
        if (model.DialogName() == "ODlg_ImportImages") return bConfirmDialog(model);
        return OUserInteraction_Console::bShowDialog(model);
    }

  private:
    bool m_replaceParts;
};

struct OExchangeArgs {
    bool test = false;
    int partType = -1;  // 0-based
    bool replaceParts = false;
    bool noSettings = false;
    std::vector<std::string> rest;
};

bool bTakeCommon(const std::vector<std::string>& given, OExchangeArgs& a, std::ostream& err,
                 const char* verb) {
    a.rest = given;
    a.test = TakeFlag(a.rest, "--test");
    a.replaceParts = TakeFlag(a.rest, "--replace-parts");
    a.noSettings = TakeFlag(a.rest, "--no-settings");
    if (const auto type = TakeOption(a.rest, "--type")) {
        const auto number = ParseInt(*type);
        if (!number || *number < 1) {
            err << "kalvorctl " << verb << ": --type needs a part type number from 1\n";
            return false;
        }
        a.partType = *number - 1;
    }
    for (const std::string& arg : a.rest) {
        if (arg.rfind("--", 0) == 0) {
            err << "kalvorctl " << verb << ": unknown option '" << arg << "'\n";
            return false;
        }
    }
    return true;
}

// Prints the files of a result and its message; the exit status.
int Report(const OExchangeResult& result, const std::string& verb, std::ostream& out,
           std::ostream& err) {
    // The files done, also those before a failure.
    for (const std::string& file : result.files)
        out << file << '\n';
    if (result.code == OExchangeResult::Done) return 0;
    if (result.code == OExchangeResult::Cancelled) {
        err << "kalvorctl " << verb << ": nothing was done (a file name of the right kind is "
            << "needed, or the question was answered with Cancel)\n";
        return 1;
    }
    err << "kalvorctl " << verb << ": " << OneLine(result.message) << '\n';
    return 1;
}

int RunExport(const std::vector<std::string>& given, std::ostream& out, std::ostream& err) {
    OExchangeArgs a;
    if (!bTakeCommon(given, a, err, "export")) return 2;
    if (a.rest.size() != 3) {
        err << "usage: kalvorctl export FILE KIND OUT [--type N] [--test] [--no-settings]\n"
               "  KIND: "
            << kKindList << "\n";
        return 2;
    }
    const auto kind = KindOf(a.rest[1], a.test);
    if (!kind) {
        err << "kalvorctl export: unknown kind '" << a.rest[1] << "' (" << kKindList << ")\n";
        return 2;
    }
    const auto settings = OpenSettings(a.noSettings, err);
    std::ostringstream messages;
    OCliInteraction ui(messages, a.replaceParts);
    OHeadlessDocument headless(*settings, &ui);
    if (!LoadProject(headless.Doc(), a.rest[0], "export", err)) return 1;
    const OExchangeResult result = headless.Doc().Exchange().Export(*kind, a.rest[2], a.partType);
    return Report(result, "export", out, err);
}

bool bIsProjectPath(const std::string& path) {
    for (const char* ext : {".zrp", ".kvp", ".ZRP", ".KVP"}) {
        if (path.find(ext) != std::string::npos) return true;
    }
    return false;
}

int RunImport(const std::vector<std::string>& given, std::ostream& out, std::ostream& err) {
    OExchangeArgs a;
    if (!bTakeCommon(given, a, err, "import")) return 2;
    // The last argument is the project to write when it names a project file.
    std::string outPath;
    if (a.rest.size() >= 4 && bIsProjectPath(a.rest.back())) {
        outPath = a.rest.back();
        a.rest.pop_back();
    }
    if (a.rest.size() < 3) {
        err << "usage: kalvorctl import FILE KIND IN... [OUT] [--type N] [--test] "
               "[--replace-parts] [--no-settings]\n"
               "  KIND: "
            << kImportKindList << "; the project is written to OUT, or back to FILE\n";
        return 2;
    }
    const auto kind = KindOf(a.rest[1], a.test);
    if (!kind || *kind == ExchangeKind::TeachFeatureTable ||
        *kind == ExchangeKind::TestFeatureTable || *kind == ExchangeKind::ShownPartImage) {
        err << "kalvorctl import: unknown kind '" << a.rest[1] << "' (" << kImportKindList << ")\n";
        return 2;
    }
    const std::vector<std::string> inputs(a.rest.begin() + 2, a.rest.end());
    const bool several =
        *kind == ExchangeKind::TeachPartList || *kind == ExchangeKind::TestPartList ||
        *kind == ExchangeKind::TeachPartImages || *kind == ExchangeKind::TestPartImages;
    if (inputs.size() > 1 && !several) {
        err << "kalvorctl import: only part lists and pictures are imported several at once\n";
        return 2;
    }
    const auto settings = OpenSettings(a.noSettings, err);
    std::ostringstream messages;
    OCliInteraction ui(messages, a.replaceParts);
    OHeadlessDocument headless(*settings, &ui);
    ODoc& doc = headless.Doc();
    if (!LoadProject(doc, a.rest[0], "import", err)) return 1;
    const OExchangeResult result = doc.Exchange().Import(*kind, inputs, a.partType);
    const int status = Report(result, "import", out, err);
    // Part lists loaded before a failing one stay, as in the desktop; they are saved too.
    if (result.files.empty()) return status;
    if (!SaveProject(doc, outPath.empty() ? a.rest[0] : outPath, "import", err)) return 1;
    return status;
}

}  // namespace

KALVOR_CLI_VERB({"export", "FILE KIND OUT [--type N] [--test]",
                 "writes a piece of a project to a file of its own: text (project text), parts "
                 "(part list .zrl/.kvl/.txt), features (.xls table), teachdata (.typ/.zrt/.bin), "
                 "config (.kvc), calibration (.kvtr/.txt), image (shown part) or images (a list; "
                 "OUT_n.bmp/.jpg)",
                 &RunExport});
KALVOR_CLI_VERB({"import", "FILE KIND IN... [OUT] [--type N] [--test] [--replace-parts]",
                 "reads files into a project (text, parts, teachdata, config, calibration, or "
                 "images: pictures as new parts with the last used import settings) and saves it "
                 "to OUT or back to FILE",
                 &RunImport});
