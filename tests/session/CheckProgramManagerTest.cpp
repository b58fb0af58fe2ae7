// The check program manager's dialog models against kalvor-devsim: connect and compare,
// copying programs and part data in both directions, deleting on both sides, the
// configuration list of the target with stored configurations, the device's refusals (busy,
// a code, a dropped connection, a time-out) that leave the project as it was, the exchange with
// files, and what the document does when the dialog closes.
#include <filesystem>
#include <fstream>

#include "SessionTestSupport.h"
#include "device/ODlg_TransferData.h"
#include "device/ODlg_TransferDataNew.h"
#include "document/CommandIds.h"
#include "model/strings/ResStr.h"

using namespace sessiontest;
using namespace LinkProtocol;
using namespace TransferControl;

namespace {

constexpr OTargetSystem kTamrin{16, 818, 0, 6, 1, 8};
constexpr OTargetSystem kTalon{1, 778, 0, 6, 1, 8};
constexpr OTargetSystem kMarrow{2, 778, 0, 6, 4, 8};  // a sorting edition: 4 types a program
constexpr OTargetSystem kOskel{1024, 828, 0, 6, 1, 8};

// The simulated device states the project's target, so that it does not differ from it.
OSessionSetup For(const OTargetSystem& target, std::vector<std::string> simOptions,
                  int timeOutSec = 5) {
    OSessionSetup s;
    s.target = target;
    s.simOptions = std::move(simOptions);
    s.simOptions.insert(s.simOptions.end(),
                        {"--rate", "0.001", "--part-types", std::to_string(target.partTypes),
                         "--parts-in-set", std::to_string(target.partsInSet)});
    s.linkTimeOutSec = timeOutSec;
    return s;
}

// Teach-Data of `orientations` orientations for part type `type`.
void Teach(OType_ZRPartSet& set, int type, int orientations) {
    OType_ZRPartSet_SubType& t = *set.opGetSubType(type);
    t.SetName("type " + std::to_string(type + 1));
    t.Vectors().RemoveAll();
    for (int o = 0; o < orientations; ++o) {
        OType_VectorArray& a = t.Vectors().Add();
        a.SetPartCount(5);
        for (int f = 0; f < 12; ++f) {
            OType_Vector v;
            v.featureType = f;
            v.mean = 10 * f + o;
            v.lowerBound = v.mean - 1;
            v.upperBound = v.mean + 1;
            a.Add(v);
        }
    }
    t.SetNumOrientations(orientations);
    t.SetNumFeatures(12);
    t.SetHasData(orientations > 0);
}

std::vector<uint32_t> Numbers(const std::vector<OTraceLine>& trace, const std::string& name) {
    std::vector<uint32_t> numbers;
    for (const OTraceLine& l : trace)
        if (l.name == name) numbers.push_back(l.number);
    return numbers;
}

struct OManagerFixture {
    explicit OManagerFixture(OSessionSetup setup) : f(std::move(setup)) {
        f.settings.SetInt("Settings", "WARNING_DISABLE_DIAGON", 1);
    }
    ODlg_TransferData& Dialog() {
        if (!dialog) dialog = std::make_unique<ODlg_TransferData>(f.Doc());
        return *dialog;
    }
    OSessionFixture f;
    std::unique_ptr<ODlg_TransferData> dialog;
};

}  // namespace

TEST(CheckProgramManager, CopiesAProgramToThreeSlotsBackAsANewProgramAndDeletesIt) {
    OManagerFixture m(For(kTamrin, {"--hardware", "16"}));
    OType_ZRPartSet& set = m.f.Set();
    set.SetName("Sorter");
    Teach(set, 0, 2);
    ODlg_TransferData& d = m.Dialog();
    ASSERT_TRUE(d.bProgramMode());
    EXPECT_EQ(d.ProjectSelection(), std::vector<int>{0}) << "the actual program";
    EXPECT_FALSE(d.ControlState(kCopyToDevice).enabled) << "before connect and compare";

    d.bExecute(kConnect);
    ASSERT_TRUE(m.f.Session().bIsOnline()) << Shown(m.f.ui);
    EXPECT_FALSE(d.bDeviceDiffers()) << Shown(m.f.ui);
    ASSERT_EQ(d.DeviceRows().size(), 16u) << "the device's program slots";
    EXPECT_EQ(d.DeviceRows()[3], (OTransferRow{"3", "", ""}));

    d.SelectDevice({3, 5, 7});
    m.f.ui.ExpectMessage(MsgResult::Ok, ResStr(4130));
    d.bExecute(kCopyToDevice);
    EXPECT_EQ(Numbers(m.f.Sim().Trace(), "$DCPRGDT"), (std::vector<uint32_t>{3, 5, 7}))
        << "one download per slot, with its number";
    EXPECT_EQ(d.DeviceRows()[3][1], "Sorter") << "the lists are read again";
    EXPECT_NE(d.DeviceRows()[3][2].find("KB"), std::string::npos) << d.DeviceRows()[3][2];
    EXPECT_EQ(d.StateText(), ResStr(4130));

    // Back as a new program: no project program selected.
    d.SelectProject({});
    d.SelectDevice({3});
    ASSERT_TRUE(d.ControlState(kCopyFromDevice).enabled);
    d.bExecute(kCopyFromDevice);
    ASSERT_EQ(m.f.Session().PartSets().iGetNum(), 2) << Shown(m.f.ui);
    const OType_ZRPartSet& copy = *m.f.Session().opGetPartSet(1);
    EXPECT_EQ(copy.GetName(), ResStr(3233) + " Sorter");
    EXPECT_EQ(copy.Encode(0, 0), [&] {
        OType_ZRPartSet renamed;
        m.f.Session().PreparePartSet(renamed);
        renamed.iDecode(set.Encode(0, 0));
        renamed.SetName(ResStr(3233) + " Sorter");
        return renamed.Encode(0, 0);
    }()) << "the program came back as it was sent";
    EXPECT_TRUE(m.f.Doc().IsModified());

    // A second copy of the same device program gets a number.
    d.SelectProject({});
    d.bExecute(kCopyFromDevice);
    ASSERT_EQ(m.f.Session().PartSets().iGetNum(), 3);
    EXPECT_EQ(m.f.Session().opGetPartSet(2)->GetName(), ResStr(3233) + " Sorter (2)");

    // Delete in the device: some slots one by one, counted from 0.
    d.SelectDevice({3, 7});
    d.bExecute(kDeleteInDevice);
    EXPECT_EQ(Numbers(m.f.Sim().Trace(), "$CCPRGDT"), (std::vector<uint32_t>{3, 7}));
    EXPECT_EQ(d.DeviceRows()[3][1], "");
    EXPECT_EQ(d.DeviceRows()[5][1], "Sorter");
    EXPECT_TRUE(m.f.ui.bAllScriptUsed()) << Shown(m.f.ui);
    EXPECT_TRUE(m.f.ui.Mismatches().empty()) << Shown(m.f.ui);
}

TEST(CheckProgramManager, DeletingAllSlotsSendsOneClearAndNothingSelectedOnlyAsks) {
    OManagerFixture m(For(kTamrin, {"--hardware", "16", "--program-slots", "4"}));
    ODlg_TransferData& d = m.Dialog();
    d.bExecute(kConnect);
    ASSERT_EQ(d.DeviceRows().size(), 4u);
    const size_t before = m.f.Sim().iSize();
    m.f.ui.ExpectMessage(MsgResult::Ok, "requires a selected type memory");
    d.bExecute(kDeleteInDevice);
    EXPECT_EQ(m.f.Sim().iSize(), before) << "nothing sent";
    d.SelectDevice({0, 1, 2, 3});
    d.bExecute(kDeleteInDevice);
    EXPECT_EQ(Numbers(m.f.Sim().Trace(), "$CCPRGDT"), std::vector<uint32_t>{65535});
    EXPECT_TRUE(m.f.ui.bAllScriptUsed()) << Shown(m.f.ui);
}

// The requests (logins and hellos aside, as the simulator counts them) that connect and
// compare makes, so that a fault can be placed on the transfer after it.
int RequestsOfConnect(const OTargetSystem& target, const std::string& hardware) {
    OManagerFixture m(For(target, {"--hardware", hardware}));
    m.Dialog().bExecute(kConnect);
    int n = 0;
    for (const OTraceLine& l : m.f.Sim().Trace())
        n += l.op != kOpLogin && l.op != kOpHello ? 1 : 0;
    return n;
}

TEST(CheckProgramManager, RefusedTransfersLeaveTheProjectAndTheDialogUsable) {
    struct Case {
        std::string what;
        OTargetSystem target;
        std::vector<std::string> options;
        int message;
    };
    const int programs = RequestsOfConnect(kTamrin, "16");
    const int partData = RequestsOfConnect(kTalon, "1");
    ASSERT_GT(partData, 2);
    const std::vector<Case> cases = {
        {"refused with a code: no room", kTamrin, {"--hardware", "16", "--memory", "1024"}, 2069},
        {"busy",
         kTamrin,
         {"--hardware", "16", "--busy-after", std::to_string(programs + 1), "--busy-for", "30"},
         4021},
        // Part data go as a parameter block and a condition block: the line drops between.
        {"dropped in the middle",
         kTalon,
         {"--hardware", "1", "--drop-after", std::to_string(partData + 1)},
         4111},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OManagerFixture m(For(c.target, c.options));
        Teach(m.f.Set(), 0, 1);
        const std::vector<uint8_t> project = m.f.Set().Encode();
        ODlg_TransferData& d = m.Dialog();
        d.bExecute(kConnect);
        ASSERT_TRUE(d.bHasCompared()) << Shown(m.f.ui);
        ASSERT_FALSE(d.DeviceRows().empty());
        d.SelectDevice({1});
        m.f.ui.Clear();
        d.bExecute(kCopyToDevice);
        const std::vector<std::string> texts = m.f.ui.Texts();
        EXPECT_NE(std::find(texts.begin(), texts.end(), ResStr(c.message)), texts.end())
            << Shown(m.f.ui);
        EXPECT_EQ(std::count(texts.begin(), texts.end(), ResStr(4130)), 0) << "no success";
        EXPECT_EQ(m.f.Set().Encode(), project) << "the project is unchanged";
        EXPECT_FALSE(d.bCloseRequested()) << "the dialog stays usable";
        EXPECT_NE(d.StateText().find("stopped"), std::string::npos) << d.StateText();
        EXPECT_TRUE(d.ControlState(kConnect).enabled);
    }
}

TEST(CheckProgramManager, ADeviceThatDoesNotAnswerInTimeLeavesTheDialogUsable) {
    OManagerFixture m(For(kTamrin, {"--hardware", "16", "--delay-ms", "1500"}, 1));
    const std::vector<uint8_t> project = m.f.Set().Encode();
    ODlg_TransferData& d = m.Dialog();
    m.f.ui.ExpectMessage(MsgResult::Ok, ResStr(4213));
    d.bExecute(kConnect);
    EXPECT_FALSE(d.bHasCompared());
    EXPECT_FALSE(d.bCloseRequested());
    EXPECT_EQ(d.StateText(), ResStr(4213));
    EXPECT_FALSE(d.ControlState(kCopyToDevice).enabled);
    EXPECT_TRUE(d.ControlState(kConnect).enabled) << "the user may try again";
    EXPECT_EQ(m.f.Set().Encode(), project);
    EXPECT_TRUE(m.f.ui.bAllScriptUsed()) << Shown(m.f.ui);
}

TEST(CheckProgramManager, ClassicTargetsMovePartDataOfPartTypes) {
    OManagerFixture m(For(kMarrow, {"--hardware", "2"}));
    OType_ZRPartSet& set = m.f.Set();
    Teach(set, 0, 2);
    Teach(set, 1, 0);
    ODlg_TransferData& d = m.Dialog();
    ASSERT_FALSE(d.bProgramMode());
    EXPECT_FALSE(d.bHasControl(kDeleteInProject));
    EXPECT_FALSE(d.bHasControl(kMoveUp));
    ASSERT_EQ(d.ProjectRows().size(), 4u);
    EXPECT_EQ(d.ProjectRows()[0], (OTransferRow{"1", "type 1", "2"}));
    d.bExecute(kConnect);
    ASSERT_EQ(d.DeviceRows().size(), 6u) << "the type memories";
    EXPECT_EQ(d.DeviceRows()[2], OTransferRow{"Type memory 3"});

    d.SelectProject({0});
    d.SelectDevice({2});
    m.f.ui.ExpectMessage(MsgResult::Ok, ResStr(4130));
    d.bExecute(kCopyToDevice);
    EXPECT_EQ(m.f.Sim().iCount(kOpPackageSend, "$DPARTDT") + m.f.Sim().iCount(kOpDownloadParame), 1)
        << Shown(m.f.ui);

    // A part type without orientations: Yes skips it, No clears the type memory.
    d.SelectProject({1});
    m.f.ui.ExpectMessage(MsgResult::Yes, "Part type 2");
    m.f.ui.ExpectMessage(MsgResult::Ok, ResStr(4130));
    const size_t before = m.f.Sim().iSize();
    d.bExecute(kCopyToDevice);
    EXPECT_EQ(m.f.Sim().iCount(kOpDownloadParame) + m.f.Sim().iCount(kOpPackageSend, "$DPARTDT"), 1)
        << "skipped";
    EXPECT_GT(m.f.Sim().iSize(), before) << "the device was read again";

    // Back into part type 4.
    set.opGetSubType(3)->Clear();
    d.SelectProject({3});
    d.SelectDevice({2});
    d.bExecute(kCopyFromDevice);
    EXPECT_EQ(set.opGetSubType(3)->iGetNumOrientations(), 2) << Shown(m.f.ui);
    EXPECT_DOUBLE_EQ(set.opGetSubType(3)->Vectors().opGetAt(1)->At(3).mean, 31);
    EXPECT_TRUE(m.f.ui.bAllScriptUsed()) << Shown(m.f.ui);
}

TEST(CheckProgramManager, ADeviceThatDiffersIsReportedOnceAndTheDocumentAsksForProperties) {
    OManagerFixture m(For(kTamrin, {"--hardware", "1024"}));
    int editCalls = 0;
    ODocExtensions extensions;
    extensions.editProjectProperties = [&](int) {
        ++editCalls;
        return 1;
    };
    m.f.Doc().SetExtensions(extensions);
    EXPECT_TRUE(m.f.Doc().GetCommandState(Cmd::kCheckProgramManager).enabled);
    m.f.ui.AnswerDialog(
        [&](ODialogModel& model) {
            auto& d = dynamic_cast<ODlg_TransferData&>(model);
            EXPECT_EQ(d.DialogName(), "ODlg_TransferData") << "the project's target decides";
            d.bExecute(kConnect);
            EXPECT_TRUE(d.bDeviceDiffers());
            d.bExecute(kConnect);
            return true;
        },
        "ODlg_TransferData");
    m.f.ui.ExpectMessage(MsgResult::Ok, ResStr(4207).substr(0, 20));
    m.f.Doc().OnCommand(Cmd::kCheckProgramManager, 0);
    EXPECT_TRUE(m.f.ui.bAllScriptUsed()) << Shown(m.f.ui);
    EXPECT_TRUE(m.f.ui.Mismatches().empty()) << Shown(m.f.ui);
    EXPECT_EQ(editCalls, 1) << "the project-properties dialog after the close";
}

TEST(CheckProgramManager, TheConfigurationListCopiesByNameAndAssignsNumbers) {
    OManagerFixture m(For(kOskel, {"--hardware", "1024", "--program-slots", "8"}));
    OType_ZRPartSet& set = m.f.Set();
    set.SetName("Config A");
    set.SetTimeStamp(1700000000);
    ODlg_TransferDataNew d(m.f.Doc());
    EXPECT_EQ(d.ControlText(kCopyToDevice), "Copy  >");
    EXPECT_TRUE(d.bHasControl(kAssign));
    d.bExecute(kConnect);
    ASSERT_TRUE(d.bHasCompared()) << Shown(m.f.ui);
    EXPECT_TRUE(d.DeviceRows().empty());
    ASSERT_EQ(d.NumberRows().size(), 8u);
    EXPECT_EQ(d.NumberRows()[2][0], "   2   ");

    d.SelectProject({0});
    m.f.ui.ExpectMessage(MsgResult::Ok, ResStr(4130));
    d.bExecute(kCopyToDevice);
    EXPECT_EQ(m.f.Sim().iCount(kOpPackageSend, "$DCPRG_F"), 1);
    ASSERT_EQ(d.DeviceRows().size(), 1u) << Shown(m.f.ui);
    EXPECT_EQ(d.DeviceRows()[0][0], "Config A");
    EXPECT_NE(d.DeviceRows()[0][1].find("Bytes"), std::string::npos);

    d.SelectDevice({0});
    d.SelectNumbers({2, 5});
    d.bExecute(kAssign);
    EXPECT_EQ(d.NumberRows()[2][1], "Config A");
    EXPECT_EQ(d.NumberRows()[5][1], "Config A");
    d.SelectNumbers({2});
    d.bExecute(kDeleteAssignment);
    EXPECT_EQ(d.NumberRows()[2][1], "");
    EXPECT_EQ(d.NumberRows()[5][1], "Config A");

    d.SelectProject({});
    d.SelectDevice({0});
    d.bExecute(kCopyFromDevice);
    ASSERT_EQ(m.f.Session().PartSets().iGetNum(), 2) << Shown(m.f.ui);
    EXPECT_EQ(m.f.Session().opGetPartSet(1)->GetName(), "Config A");

    d.SelectDevice({0});
    d.bExecute(kDeleteInDevice);
    EXPECT_TRUE(d.DeviceRows().empty());
    EXPECT_EQ(d.NumberRows()[5][1], "") << "a deleted program loses its numbers";
    EXPECT_TRUE(m.f.ui.bAllScriptUsed()) << Shown(m.f.ui);
}

TEST(CheckProgramManager, ProjectProgramsMoveRenameAndTheLastIsNeverDeleted) {
    OManagerFixture m(For(kTamrin, {"--hardware", "16"}));
    OQuillon& session = m.f.Session();
    session.opGetPartSet(0)->SetName("A");
    session.AddPartSet(std::string("B"));
    session.AddPartSet(std::string("C"));
    ODlg_TransferData& d = m.Dialog();
    auto names = [&] {
        std::vector<std::string> n;
        for (const OTransferRow& r : d.ProjectRows())
            n.push_back(r[1]);
        return n;
    };
    d.SelectProject({1, 2});
    EXPECT_FALSE(d.ControlState(kMoveDown).enabled) << "C is last";
    d.bExecute(kMoveUp);
    EXPECT_EQ(names(), (std::vector<std::string>{"B", "C", "A"}));
    EXPECT_EQ(d.ProjectSelection(), (std::vector<int>{0, 1})) << "the moved programs stay selected";
    EXPECT_FALSE(d.ControlState(kMoveUp).enabled);
    d.SelectProject({0});
    d.bExecute(kMoveDown);
    EXPECT_EQ(names(), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_TRUE(m.f.Doc().IsModified());

    m.f.ui.AnswerText("Bin");
    d.SelectProject({1});
    d.bExecute(kRename);
    EXPECT_EQ(names()[1], "Bin");

    d.SelectProject({0, 1, 2});
    m.f.ui.ExpectMessage(MsgResult::Ok, ResStr(3285));
    d.bExecute(kDeleteInProject);
    EXPECT_EQ(names(), std::vector<std::string>{"C"}) << "the last remaining program stays";
    EXPECT_FALSE(d.ControlState(kDeleteInProject).enabled);
    EXPECT_TRUE(m.f.ui.bAllScriptUsed()) << Shown(m.f.ui);
}

TEST(CheckProgramManager, ProgramsGoToFilesOfTheirOwnAndComeBackAsNewPrograms) {
    OManagerFixture m(For(kTamrin, {"--hardware", "16"}));
    TempDir dir;
    OQuillon& session = m.f.Session();
    session.opGetPartSet(0)->SetName("A");
    session.AddPartSet(std::string("B"));
    session.opGetPartSet(1)->opGetSubType(0)->SetName("bolt");
    ODlg_TransferData& d = m.Dialog();
    EXPECT_TRUE(d.ControlState(kImport).enabled) << "no device needed";

    // Cancelling the first file's dialog writes nothing more.
    d.SelectProject({0, 1});
    m.f.ui.CancelFileSave();
    d.bExecute(kExport);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));

    m.f.ui.AnswerFileSave((dir / "a.kvc").string());
    m.f.ui.AnswerFileSave((dir / "b.kvc").string());
    d.bExecute(kExport);
    ASSERT_TRUE(std::filesystem::exists(dir / "a.kvc")) << Shown(m.f.ui);
    ASSERT_TRUE(std::filesystem::exists(dir / "b.kvc")) << Shown(m.f.ui);
    EXPECT_NE(d.StateText().find("2 of 2"), std::string::npos) << d.StateText();

    // With no program selected the file becomes a new program, which is then selected.
    d.SelectProject({});
    EXPECT_FALSE(d.ControlState(kExport).enabled);
    m.f.ui.AnswerFileOpen({(dir / "b.kvc").string()});
    d.bExecute(kImport);
    ASSERT_EQ(session.PartSets().iGetNum(), 3) << Shown(m.f.ui);
    EXPECT_EQ(session.opGetPartSet(2)->GetName(), "B");
    EXPECT_EQ(session.opGetPartSet(2)->opGetSubType(0)->GetName(), "bolt");
    EXPECT_EQ(d.ProjectSelection(), std::vector<int>{2});
    EXPECT_EQ(session.opGetPartSet(0)->GetName(), "A") << "the others stay";

    // A damaged file is told and changes nothing.
    std::ofstream(dir / "bad.kvc") << "no configuration";
    m.f.ui.AnswerFileOpen({(dir / "bad.kvc").string()});
    m.f.ui.ExpectMessage(MsgResult::Ok, ResStr(2018));
    d.bExecute(kImport);
    EXPECT_EQ(session.PartSets().iGetNum(), 3);
    EXPECT_EQ(session.opGetPartSet(2)->GetName(), "B");
    EXPECT_TRUE(m.f.ui.bAllScriptUsed()) << Shown(m.f.ui);
    EXPECT_TRUE(m.f.ui.Mismatches().empty()) << Shown(m.f.ui);
}

TEST(CheckProgramManager, ClassicPartTypesGoToTeachDataFilesAndComeBack) {
    OManagerFixture m(For(kMarrow, {"--hardware", "2"}));
    TempDir dir;
    OType_ZRPartSet& set = m.f.Set();
    Teach(set, 0, 2);
    ODlg_TransferData& d = m.Dialog();
    d.SelectProject({0});
    m.f.ui.AnswerFileSave((dir / "first.zrt").string());
    d.bExecute(kExport);
    ASSERT_TRUE(std::filesystem::exists(dir / "first.zrt")) << Shown(m.f.ui);

    set.opGetSubType(3)->Clear();
    d.SelectProject({3});
    m.f.ui.AnswerFileOpen({(dir / "first.zrt").string()});
    d.bExecute(kImport);
    ASSERT_EQ(set.opGetSubType(3)->iGetNumOrientations(), 2) << Shown(m.f.ui);
    EXPECT_DOUBLE_EQ(set.opGetSubType(3)->Vectors().opGetAt(1)->At(3).mean, 31);

    // A file that holds no Teach-Data leaves the part type as it was.
    std::ofstream(dir / "bad.zrt") << "nothing";
    const int before = set.opGetSubType(1)->iGetNumOrientations();
    d.SelectProject({1});
    m.f.ui.AnswerFileOpen({(dir / "bad.zrt").string()});
    m.f.ui.ExpectMessage(MsgResult::Ok, ResStr(2017));
    d.bExecute(kImport);
    EXPECT_EQ(set.opGetSubType(1)->iGetNumOrientations(), before);
    EXPECT_TRUE(m.f.ui.bAllScriptUsed()) << Shown(m.f.ui);
    EXPECT_TRUE(m.f.ui.Mismatches().empty()) << Shown(m.f.ui);
}
