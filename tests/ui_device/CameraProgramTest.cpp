// A camera check program made on the desktop and sent to the camera simulator: pictures
// imported, a pattern-matching tool added from the menu, the program copied into a slot of
// the camera through the check program manager and copied back as the camera keeps it.
#include <QTreeWidget>

#include "DeviceTestSupport.h"
#include "device/ODlg_TransferData.h"
#include "device/ui/ODlg_TransferDataWindow.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "tools/kvt/KvtToolKinds.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"
#include "ui_shell/CameraDeskSupport.h"

using namespace devicetest;
using namespace TransferControl;

namespace {

constexpr int kAddPatternMatching = 32895;

std::vector<uint8_t> ToolBytes(const OType_ZRPartSet& set) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < set.Tools().iGetNum(); ++i) {
        std::vector<uint8_t> tool;
        EXPECT_EQ(set.Tools().iEncodeAt(tool, i), 1);
        bytes.insert(bytes.end(), tool.begin(), tool.end());
    }
    return bytes;
}

}  // namespace

TEST(CameraProgram, APatternToolGoesToTheCameraAndComesBackUnchanged) {
    ODesktopWithDevice d(kColourCamera, {"--rate", "0.001"});
    TempDir dir;
    ImportCameraPictures(d.Frame(), d.Doc(), d.Ui(), dir.Path(), 2);
    OType_ZRPartSet& set = *d.Doc().opGetActualPartSet();
    ASSERT_EQ(set.TeachParts().iGetSize(), 2);
    ASSERT_TRUE(d.Doc().ShowPartContourView());
    ProcessEvents();
    TriggerMenu(d.Frame(), kAddPatternMatching);
    ASSERT_EQ(set.Tools().iGetNum(), 1);
    auto* tool = dynamic_cast<OType_ConfigTool_KVT*>(set.Tools().opGetAt(0));
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->iGetConfigToolType(), KvtToolKind::kPatternMatching);
    OKvtRegion turned = tool->GetShape();
    turned.angle = 30;
    ASSERT_TRUE(tool->bSetShape(turned));
    set.SetName("Bracket");
    const std::vector<uint8_t> sent = ToolBytes(set);
    ASSERT_FALSE(sent.empty());

    d.Ui().AnswerDialog(
        [&](ODialogModel& model) {
            auto& m = dynamic_cast<ODlg_TransferData&>(model);
            ODlg_TransferDataWindow window(m, &d.Frame());
            window.show();
            ProcessEvents();
            Click(window, kConnect);
            EXPECT_GT(window.DeviceList()->topLevelItemCount(), 2) << "the camera's slots";
            SelectRows(window.DeviceList(), {2});
            d.Ui().ExpectMessage(MsgResult::Ok, ResStr(4130));
            Click(window, kCopyToDevice);
            EXPECT_EQ(window.DeviceList()->topLevelItem(2)->text(1).toStdString(), "Bracket");
            SelectRows(window.ProjectList(), {});
            SelectRows(window.DeviceList(), {2});
            Click(window, kCopyFromDevice);
            EXPECT_EQ(window.ProjectList()->topLevelItemCount(), 2);
            window.accept();
            return true;
        },
        "ODlg_TransferData");
    TriggerMenu(d.Frame(), Cmd::kCheckProgramManager);
    EXPECT_TRUE(d.Ui().bAllScriptUsed()) << d.Ui().TranscriptText();
    EXPECT_TRUE(d.Ui().Mismatches().empty()) << d.Ui().TranscriptText();

    ASSERT_EQ(d.Session().PartSets().iGetNum(), 2) << "the program copied back";
    const OType_ZRPartSet& back = *d.Session().opGetPartSet(1);
    ASSERT_EQ(back.Tools().iGetNum(), 1);
    const auto* received = dynamic_cast<const OType_ConfigTool_KVT*>(back.Tools().opGetAt(0));
    ASSERT_NE(received, nullptr);
    EXPECT_EQ(received->iGetConfigToolType(), KvtToolKind::kPatternMatching);
    EXPECT_EQ(received->GetShape(), turned) << "the turned region came back";
    EXPECT_EQ(ToolBytes(back), sent) << "the tool as the camera kept it";
}
