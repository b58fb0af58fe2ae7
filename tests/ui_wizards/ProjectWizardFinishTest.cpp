// Finishing the project wizard with a transfer to a part type that has no Teach-Data: the
// user is asked whether to skip it; Yes leaves the device alone, No clears that part-data
// number in the device. The simulator's trace shows what reached it.
#include <fstream>
#include <sstream>

#include "document/ODoc.h"
#include "model/strings/ResStr.h"
#include "ui_device/DeviceTestSupport.h"
#include "wizards/OProjectWizardSheet.h"

using namespace devicetest;

namespace {

constexpr OTargetSystem kTamrin{16, 818, 0, 6, 1, 8};

// The part-data requests of the trace, as "name number" lines.
std::vector<std::string> PartDataRequests(const std::string& trace) {
    std::vector<std::string> requests;
    std::ifstream in(trace);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string session, channel, op, name, number;
        words >> session >> channel >> op >> name >> number;
        if (name.find("PARTDT") != std::string::npos) requests.push_back(name + " " + number);
    }
    return requests;
}

}  // namespace

TEST(ProjectWizardFinish, ATypeWithoutTeachDataIsSkippedOrClearedAsTheUserAnswers) {
    for (const MsgResult answer : {MsgResult::Yes, MsgResult::No}) {
        SCOPED_TRACE(answer == MsgResult::Yes ? "skip" : "clear");
        TempDir dir;
        const std::string trace = (dir / "trace.txt").string();
        ODesktopWithDevice d(kTamrin, {"--trace", trace});
        d.Ui().AnswerDialog(
            [&](ODialogModel& model) {
                auto& sheet = dynamic_cast<OProjectWizardSheet&>(model);
                sheet.SetProjectPath((dir / "empty.zrp").string());
                OProjectWizardSheet::OResults& results = sheet.Results();
                results.transfer = true;
                results.target = 2;
                results.addDocumentation = false;
                results.saveProject = false;
                results.manualMode = true;
                return true;
            },
            OProjectWizardSheet::kDialogName);
        d.Ui().ExpectMessage(answer, ResStrFormat(4006, 1));
        d.Run(Cmd::kProjectWizard);
        EXPECT_TRUE(d.Ui().bAllScriptUsed()) << d.Ui().TranscriptText();
        EXPECT_TRUE(d.Ui().Mismatches().empty()) << d.Ui().TranscriptText();

        const std::vector<std::string> requests = PartDataRequests(trace);
        if (answer == MsgResult::Yes) {
            EXPECT_TRUE(requests.empty()) << requests.front();
        } else {
            EXPECT_EQ(requests, std::vector<std::string>{"$CPARTDT 2"}) << "number 2 cleared";
        }
        EXPECT_EQ(d.Doc().GetPathName(), (dir / "empty.zrp").string());
    }
}
