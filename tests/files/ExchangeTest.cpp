// Export and Import through the document with a scripted user: the list dialog's entries,
// the file dialogs, round trips of every kind, and files that must not change the project.
#include <signal.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>

#include "FilesTestSupport.h"
#include "classification/FeatureTableCsv.h"
#include "document/CommandIds.h"
#include "document/files/CalibrationFiles.h"
#include "document/files/TeachDataFile.h"
#include "model/coordtrans/OCoordTrans_CalibrationPlate.h"
#include "model/partset/PartDataEncoding.h"
#include "model/stream/OObjectBlock.h"
#include "model/strings/FormatPrintf.h"

namespace {

using namespace filestest;

using Kinds = std::vector<ExchangeKind>;

OCoordTrans_Tsai_Transformer Calibrated() {
    return CalibrateOnPlate(
        OCoordTrans_Tsai_CameraParameters::FromSensor(1280, 1280, 0.0048, 0.0048, 640, 512, 1),
        1e-3);
}

struct Exchange : FilesFixture {
    // A tool of a kind no tool library here implements: kept and written back byte for byte.
    void AddCameraTool(const std::string& name) {
        auto tool = std::make_unique<OType_ConfigTool_Opaque>(150);
        tool->SetName(name);
        tool->SetFeatureType(7);
        set().Tools().Add(std::move(tool));
    }
    // A family-1 project whose part type has `tools` single-feature tools besides the 12
    // basic features.
    void MakeProjectWithFeatures(int features) {
        NewProject(kFamily1);
        AddParts(set(), 8, 2);
        for (int i = 12; i < features; ++i)
            ASSERT_NE(session().AddTool(set(), 1, 30, 0), nullptr) << ui.TranscriptText();
        doc().RecomputeAll(1, 0, 1, 1, 0);
        ASSERT_EQ(TeachDataFile::iFeatureCount(*set().opGetSubType(0)), features);
        ui.Clear();
    }
};

// --- the list dialog ---

TEST_F(Exchange, ExportOffersItsEntriesInOrderUnderTheirConditions) {
    NewProject(kFamily1);
    EXPECT_EQ(exchange().ExportEntries(), Kinds{ExchangeKind::ProjectText});
    AddParts(set(), 3, 0);
    EXPECT_EQ(exchange().ExportEntries(),
              (Kinds{ExchangeKind::ProjectText, ExchangeKind::TeachPartList,
                     ExchangeKind::TeachFeatureTable}));
    AddParts(set(), 0, 2);
    doc().RecomputeAll(1, 0, 1, 1, 0);
    EXPECT_EQ(exchange().ExportEntries(),
              (Kinds{ExchangeKind::ProjectText, ExchangeKind::TeachPartList,
                     ExchangeKind::TeachFeatureTable, ExchangeKind::TestPartList,
                     ExchangeKind::TestFeatureTable, ExchangeKind::TeachData}));

    NewProject(kFamily2);
    EXPECT_EQ(exchange().ExportEntries(),
              (Kinds{ExchangeKind::ProjectText, ExchangeKind::Configuration}));
    session().CoordTransformer() = Calibrated();
    ASSERT_TRUE(session().CoordTransformer().bIsSetUp());
    EXPECT_EQ(
        exchange().ExportEntries(),
        (Kinds{ExchangeKind::ProjectText, ExchangeKind::Configuration, ExchangeKind::Calibration}));
}

TEST_F(Exchange, ImportOffersTeachDataOrConfigurationByFamily) {
    NewProject(kFamily1);
    EXPECT_EQ(exchange().ImportEntries(),
              (Kinds{ExchangeKind::ProjectText, ExchangeKind::TeachPartList,
                     ExchangeKind::TestPartList, ExchangeKind::TeachData,
                     ExchangeKind::TeachPartImages, ExchangeKind::TestPartImages}));
    NewProject(kFamily2);
    EXPECT_EQ(
        exchange().ImportEntries(),
        (Kinds{ExchangeKind::ProjectText, ExchangeKind::TeachPartList, ExchangeKind::TestPartList,
               ExchangeKind::Configuration, ExchangeKind::Calibration,
               ExchangeKind::TeachPartImages, ExchangeKind::TestPartImages}));
    // The camera image import asks for its pictures first.
    ui.CancelFileOpen();
    EXPECT_EQ(exchange().Import(ExchangeKind::TestPartImages).code, OExchangeResult::Cancelled);
    ExpectNoMismatch();
}

TEST_F(Exchange, TheExportCommandRunsTheListThenTheSaveDialogInTheLastFolder) {
    NewProject(kFamily1);
    AddParts(set(), 5, 0);
    doc().SetLastFolder(dir.Path().string());
    EXPECT_TRUE(doc().GetCommandState(Cmd::kFileExport).enabled);
    EXPECT_TRUE(doc().GetCommandState(Cmd::kFileImport).enabled);
    ui.AnswerChoice(1);  // the sample part list
    std::filesystem::create_directories(dir / "out");
    ui.AnswerFileSave(Path("out/samples.zrl"));
    doc().ShowPartListView();
    views().ClearCalls();
    doc().OnCommand(Cmd::kFileExport, 0);
    ExpectNoMismatch();
    const auto& transcript = ui.Transcript();
    ASSERT_GE(transcript.size(), 2u);
    EXPECT_EQ(transcript[0].kind, InteractionKind::Choice);
    EXPECT_EQ(transcript[0].caption, ResStr(5206));
    EXPECT_EQ(transcript[0].text, ResStr(5214));
    EXPECT_EQ(transcript[0].items,
              (std::vector<std::string>{ResStr(5201), ResStr(5216), ResStr(5209)}));
    const FileDialogRequest& request = transcript[1].fileRequest;
    EXPECT_EQ(request.initialPath, (dir / "*.zrl").string());
    EXPECT_EQ(request.filter, ResStr(5316));
    EXPECT_EQ(request.defaultExtension, "zrl");
    EXPECT_TRUE(request.bOverwritePrompt);
    EXPECT_TRUE(std::filesystem::exists(dir / "out/samples.zrl"));
    EXPECT_EQ(doc().GetLastFolder(), (dir / "out").string());
    EXPECT_GT(views().iCallCount("hide "), 0) << "child frames hidden during the dialog";
    EXPECT_GT(views().iCallCount("show "), 0) << "and shown again";
}

TEST_F(Exchange, CancelledDialogsWriteNothing) {
    NewProject(kFamily1);
    AddParts(set(), 2, 0);
    ui.CancelChoice();
    doc().OnCommand(Cmd::kFileExport, 0);
    ui.AnswerChoice(1);
    ui.CancelFileSave();
    doc().OnCommand(Cmd::kFileExport, 0);
    ExpectNoMismatch();
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

// --- part lists ---

TEST_F(Exchange, PartListsRoundTripInEveryForm) {
    MakeContourProject();
    const std::vector<OPartShape> teach = Shapes(set().TeachParts());
    const std::vector<OPartShape> test = Shapes(set().TestParts());
    Export(ExchangeKind::TeachPartList, "teach.zrl");
    Export(ExchangeKind::TestPartList, "test.txt");
    Export(ExchangeKind::TestPartList, "TEST.ZRL");

    NewProject(kFamily1);
    ASSERT_TRUE(exchange().Import(ExchangeKind::TeachPartList, {Path("teach.zrl")}).bDone());
    ASSERT_TRUE(exchange().Import(ExchangeKind::TestPartList, {Path("test.txt")}).bDone());
    EXPECT_EQ(Shapes(set().TeachParts()), teach);
    EXPECT_EQ(Shapes(set().TestParts()), test);
    EXPECT_EQ(set().TeachParts().GetAt(3)->GetComment(), "part 3") << "the binary form keeps all";
    EXPECT_EQ(set().TeachParts().GetAt(3)->iGetRecordNo(), 4);
    EXPECT_TRUE(set().UndoRedo().bHasUndoData()) << "loading parts is one undo step";
    EXPECT_TRUE(doc().IsModified());
    EXPECT_EQ(set().iShowGetTeachTest(), 0) << "the list loaded last is shown";
    // Both lists extracted and taught: features exist.
    EXPECT_GT(set().TeachParts().GetAt(0)->Features().iGetNumOfFeatures(), 0);
    EXPECT_TRUE(ui.Texts().empty()) << Shown();
}

TEST_F(Exchange, SeveralPartListsAtOnceAppendUntilTheFirstFailure) {
    NewProject(kFamily1);
    OType_ZRPartSet source;
    AddParts(source, 3, 0);
    ASSERT_EQ(source.iParts2File(true, dir / "a.zrl", 1, nullptr), 1);
    ASSERT_EQ(source.iParts2File(true, dir / "c.zrl", 1, nullptr), 1);
    WriteFile(dir / "b.zrl", Bytes("teach,1,1,5,-9\nnot a part\n"));

    // The dialog takes several files.
    ui.AnswerFileOpen({Path("a.zrl"), Path("b.zrl"), Path("c.zrl")});
    ui.ExpectMessage(MsgResult::Ok, ResStr(5103));
    const OExchangeResult r = exchange().LoadPartLists(true, {});
    ExpectNoMismatch();
    EXPECT_EQ(r.code, OExchangeResult::Failed);
    EXPECT_EQ(r.files, std::vector<std::string>{Path("a.zrl")});
    EXPECT_NE(r.message.find("b.zrl: line 2"), std::string::npos) << r.message;
    EXPECT_EQ(set().TeachParts().iGetSize(), 3) << "the first file stays, the failing adds nothing";
    EXPECT_TRUE(ui.Transcript().front().fileRequest.bMultipleSelection);

    ASSERT_TRUE(exchange().LoadPartLists(true, {Path("a.zrl"), Path("c.zrl")}).bDone());
    EXPECT_EQ(set().TeachParts().iGetSize(), 9);
    EXPECT_EQ(set().TeachParts().GetAt(8)->iGetRecordNo(), 9);
}

TEST_F(Exchange, DamagedOrMislabelledPartListsAddNothing) {
    MakeContourProject();
    Export(ExchangeKind::TeachPartList, "good.zrl");
    const std::vector<uint8_t> good = ReadFile(dir / "good.zrl");
    WriteFile(dir / "cut.zrl",
              {good.begin(), good.begin() + static_cast<ptrdiff_t>(good.size() / 2)});
    std::vector<uint8_t> padded = good;
    padded.insert(padded.end(), 64, 0);
    WriteFile(dir / "padded.zrl", padded);
    WriteFile(dir / "image.zrl", Bytes(std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)));
    WriteFile(dir / "empty-name.kvl", {});
    std::vector<uint8_t> hostile = good;
    hostile[16] = 0xFF;  // the part count
    hostile[17] = 0xFF;
    hostile[18] = 0xFF;
    WriteFile(dir / "hostile.zrl", hostile);

    NewProject(kFamily1);
    for (const char* name : {"cut.zrl", "image.zrl", "hostile.zrl", "missing.zrl"}) {
        ui.ExpectMessage(MsgResult::Ok, ResStr(5103));
        const OExchangeResult r = exchange().Import(ExchangeKind::TeachPartList, {Path(name)});
        EXPECT_EQ(r.code, OExchangeResult::Failed) << name;
        EXPECT_TRUE(set().TeachParts().bIsEmpty()) << name;
    }
    EXPECT_NE(ui.Texts()[1].find("not a part list"), std::string::npos) << Shown();
    EXPECT_FALSE(doc().IsModified());
    // Bytes after a complete list are not part of it, and an empty text list is empty.
    EXPECT_TRUE(exchange().Import(ExchangeKind::TeachPartList, {Path("padded.zrl")}).bDone());
    EXPECT_EQ(set().TeachParts().iGetSize(), 12);
    ExpectNoMismatch();
}

// --- feature tables ---

TEST_F(Exchange, TheFeatureTableHoldsEveryValueExactlyAndReadsBack) {
    MakeContourProject();
    Export(ExchangeKind::TeachFeatureTable, "teach.xls");
    Export(ExchangeKind::TestFeatureTable, "test.XLS");
    OFeatureTable table;
    std::string error;
    ASSERT_TRUE(FeatureTableCsv::bReadFile(Path("teach.xls"), 1, table, error)) << error;
    const OType_PartArray& list = set().TeachParts();
    ASSERT_EQ(static_cast<int>(table.rows.size()), list.iGetSize());
    const int features = list.GetAt(0)->Features().iGetNumOfFeatures();
    ASSERT_EQ(table.iGetNumFeatures(), features);
    EXPECT_EQ(table.featureNames[0], list.GetAt(0)->Features().At(0).name);
    for (int i = 0; i < list.iGetSize(); ++i) {
        const OFeatureTableRow& row = table.rows[static_cast<size_t>(i)];
        EXPECT_TRUE(row.teach);
        EXPECT_EQ(row.type, list.GetAt(i)->iGetType());
        EXPECT_EQ(row.orientation, list.GetAt(i)->iGetOrientation());
        for (int f = 0; f < features; ++f)
            EXPECT_EQ(row.features[static_cast<size_t>(f)].number,
                      list.GetAt(i)->Features().At(f).value)
                << i << "/" << f;
    }
    const std::string text = Text(ReadFile(dir / "teach.xls"));
    EXPECT_EQ(text.rfind("kind\ttype\torientation\t", 0), 0u);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), list.iGetSize() + 1);
    ASSERT_TRUE(FeatureTableCsv::bReadFile(Path("test.XLS"), 1, table, error)) << error;
    EXPECT_EQ(table.rows.size(), 4u);
    EXPECT_FALSE(table.rows[0].teach);
}

TEST_F(Exchange, TextFeaturesAreQuotedAndInvalidValuesEmpty) {
    OType_ZRPartSet partSet;
    auto part = std::make_unique<OType_Part>();
    OType_Feature number;
    number.value = 0.1 + 0.2;
    number.name = "Width\tin mm";
    OType_Feature text;
    text.valueType = FeatureValueType::Text;
    text.textValue = "say \"hi\"\nagain";
    OType_Feature invalid;
    invalid.valid = false;
    part->Features().Add(number);
    part->Features().Add(text);
    part->Features().Add(invalid);
    partSet.TestParts().Add(std::move(part));
    OByteStream_Memory out;
    ASSERT_TRUE(FeatureTableCsv::bWrite(partSet, false, 2, out));
    const std::string written = Text(out.TakeBytes());
    EXPECT_EQ(written,
              "kind\ttype\torientation\tWidth in mm\tF2\tF3\r\n"
              "test\t1\t0\t0.30000000000000004\t\"say \"\"hi\"\" again\"\t\r\n");
    OFeatureTable table;
    std::string error;
    ASSERT_TRUE(FeatureTableCsv::bRead(written, 2, table, error)) << error;
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0].features[0].number, 0.1 + 0.2);
    EXPECT_EQ(table.rows[0].features[1].text, "say \"hi\" again");
    EXPECT_EQ(table.rows[0].features[2].kind, OFeatureTableValue::Kind::Invalid);
}

// --- project text ---

TEST_F(Exchange, TheProjectTextRoundTripsAndABadFileChangesNothing) {
    NewProject(kFamily1);
    session().ProjectData().Set(ProjectField::Engineer, "Ada");
    session().ProjectData().Set(ProjectField::Notes, "line one\r\nline [two] \\ three");
    const OType_ProjectData written = session().ProjectData();
    Export(ExchangeKind::ProjectText, "doc.txt");
    session().ProjectData().RemoveAll();

    ui.ExpectMessage(MsgResult::Cancel, ResStr(5116));
    EXPECT_EQ(exchange().Import(ExchangeKind::ProjectText, {Path("doc.txt")}).code,
              OExchangeResult::Cancelled);
    EXPECT_TRUE(session().ProjectData().bIsEmpty());
    ui.ExpectMessage(MsgResult::Ok, ResStr(5116));
    ASSERT_TRUE(exchange().Import(ExchangeKind::ProjectText, {Path("doc.txt")}).bDone());
    EXPECT_EQ(session().ProjectData(), written);
    EXPECT_TRUE(doc().IsModified());

    WriteFile(dir / "bad.txt", Bytes("Engineer=Bob\nno equals sign here\n"));
    ui.ExpectMessage(MsgResult::Ok, ResStr(5116));
    ui.ExpectMessage(MsgResult::Ok, ResStr(5103));
    EXPECT_EQ(exchange().Import(ExchangeKind::ProjectText, {Path("bad.txt")}).code,
              OExchangeResult::Failed);
    EXPECT_EQ(session().ProjectData(), written);
    ExpectNoMismatch();
}

// --- Teach-Data ---

TEST_F(Exchange, APartTypeWithTwentyFeaturesIsNotOfferedAsTyp) {
    MakeProjectWithFeatures(20);
    ui.AnswerFileSave(Path("twenty.zrt"));
    ASSERT_TRUE(exchange().Export(ExchangeKind::TeachData).bDone()) << ui.TranscriptText();
    const FileDialogRequest& request = ui.Transcript().front().fileRequest;
    EXPECT_EQ(request.filter, ResStr(5315) + ";;" + ResStr(5310));
    EXPECT_EQ(request.defaultExtension, "zrt");

    // Named .typ anyway: refused with 5221, nothing written.
    ui.ExpectMessage(MsgResult::Ok, ResStr(5221));
    EXPECT_EQ(exchange().Export(ExchangeKind::TeachData, Path("twenty.typ")).code,
              OExchangeResult::Failed);
    EXPECT_FALSE(std::filesystem::exists(dir / "twenty.typ"));
    ExpectNoMismatch();
}

TEST_F(Exchange, NineteenFeaturesAreSavedInTheOldFormatFirst) {
    MakeProjectWithFeatures(19);
    set().opGetSubType(0)->SetName("Lid: \"top\".TYP");
    doc().SetLastFolder(dir.Path().string());
    ui.AnswerFileSave(Path("lid.typ"));
    ASSERT_TRUE(exchange().Export(ExchangeKind::TeachData).bDone());
    const FileDialogRequest& request = ui.Transcript().front().fileRequest;
    EXPECT_EQ(request.filter, ResStr(5303) + ";;" + ResStr(5315) + ";;" + ResStr(5310));
    EXPECT_EQ(request.defaultExtension, "typ");
    EXPECT_EQ(request.initialPath, (dir / "Lid_ _top_").string());
}

TEST_F(Exchange, TeachDataRoundTripInAllThreeForms) {
    MakeProjectWithFeatures(16);
    const OType_ZRPartSet_SubType taught = *set().opGetSubType(0);
    Export(ExchangeKind::TeachData, "new.zrt");
    Export(ExchangeKind::TeachData, "old.typ");
    Export(ExchangeKind::TeachData, "device.bin");
    EXPECT_EQ(ReadFile(dir / "device.bin").size(), PartData::kRecordBytes)
        << "a classic device takes the legacy record";

    for (const char* name : {"new.zrt", "old.typ", "device.bin"}) {
        // A project with the same tools and no parts yet, as when the Teach-Data of a
        // device are taken over.
        MakeProjectWithFeatures(16);
        set().TeachParts().RemoveAll();
        set().TestParts().RemoveAll();
        set().RemoveAllVectors();
        ASSERT_TRUE(exchange().Import(ExchangeKind::TeachData, {Path(name)}).bDone())
            << name << ui.TranscriptText();
        const OType_ZRPartSet_SubType& loaded = *set().opGetSubType(0);
        ASSERT_EQ(loaded.Vectors().iGetNum(), taught.Vectors().iGetNum()) << name;
        for (int o = 0; o < taught.Vectors().iGetNum(); ++o) {
            const OType_VectorArray& a = *taught.Vectors().opGetAt(o);
            const OType_VectorArray& b = *loaded.Vectors().opGetAt(o);
            ASSERT_EQ(a.iGetNumOfVectors(), b.iGetNumOfVectors()) << name;
            for (int f = 0; f < a.iGetNumOfVectors(); ++f) {
                if (std::string(name) == "new.zrt") {
                    EXPECT_EQ(b.At(f), a.At(f)) << name << " " << o << "/" << f;
                    continue;
                }
                // The legacy record keeps four significant digits of the class means (its
                // ranges lose the observed extremes, so the bands are formed anew).
                EXPECT_NEAR(b.At(f).mean, a.At(f).mean,
                            std::max(1e-9, std::fabs(a.At(f).mean) * 1e-3))
                    << name << " " << o << "/" << f;
                EXPECT_EQ(b.At(f).featureType, a.At(f).featureType);
            }
        }
        EXPECT_TRUE(set().UndoRedo().bHasUndoData());
    }
    // Mislabelled: a .zrt holding the device record loads as what it is.
    std::filesystem::copy_file(dir / "device.bin", dir / "record.zrt");
    EXPECT_TRUE(exchange().Import(ExchangeKind::TeachData, {Path("record.zrt")}).bDone());
}

TEST_F(Exchange, TheDeviceFormFollowsThePartDataProtocol) {
    MakeProjectWithFeatures(14);
    session().DeviceInfo().SetU16(ZRINFO::kPartDataProtocol, 1);
    Export(ExchangeKind::TeachData, "package.bin");
    uint32_t id = 0;
    auto s = OByteStream_Memory(ReadFile(dir / "package.bin"));
    ASSERT_TRUE(OObjectBlockReader::bPeekId(s, id));
    EXPECT_EQ(id, PartData::kPartDataObjectId);
    session().DeviceInfo().SetU16(ZRINFO::kPartDataProtocol, 2);
    ui.ExpectMessage(MsgResult::Ok, ResStr(5222));
    EXPECT_EQ(exchange().Export(ExchangeKind::TeachData, Path("none.bin")).code,
              OExchangeResult::Failed);
    ExpectNoMismatch();
}

TEST_F(Exchange, SeveralPartTypesAreChosenFromAList) {
    NewProject(kFamily1TwoTypes);
    AddParts(set(), 6, 0);
    set().TeachParts().GetAt(5)->SetType(2);
    doc().RecomputeAll(1, 0, 1, 1, 0);
    ASSERT_EQ(set().iGetNum_SubTypes(), 2);
    set().opGetSubType(0)->SetName("Big\r\nbolt");
    ui.AnswerChoice(1);
    ui.AnswerFileSave(Path("second.zrt"));
    ASSERT_TRUE(exchange().Export(ExchangeKind::TeachData).bDone()) << ui.TranscriptText();
    const OInteractionRecord& list = ui.Transcript().front();
    EXPECT_EQ(list.caption, ResStr(3235));
    EXPECT_EQ(list.items, (std::vector<std::string>{"Big  bolt", ResStr(2062) + " 2"}));
    ui.CancelChoice();
    EXPECT_EQ(exchange().Export(ExchangeKind::TeachData).code, OExchangeResult::Cancelled);
    ExpectNoMismatch();
}

TEST_F(Exchange, DamagedTeachDataLeaveThePartTypeAsItWas) {
    MakeProjectWithFeatures(14);
    const OType_ZRPartSet_SubType before = *set().opGetSubType(0);
    Export(ExchangeKind::TeachData, "good.zrt");
    const std::vector<uint8_t> good = ReadFile(dir / "good.zrt");
    WriteFile(dir / "cut.zrt", {good.begin(), good.end() - 9});
    std::vector<uint8_t> format = good;
    format[8] = 7;
    WriteFile(dir / "format.zrt", format);
    WriteFile(dir / "text.typ", Bytes("just some text"));
    std::vector<uint8_t> record(PartData::kRecordBytes, 0);
    record[2] = 1;   // has data
    record[3] = 1;   // layout
    record[4] = 99;  // orientations
    WriteFile(dir / "record.bin", record);
    for (const char* name : {"cut.zrt", "format.zrt", "text.typ", "record.bin", "absent.zrt"}) {
        ui.ExpectMessage(MsgResult::Ok, ResStr(2017));
        EXPECT_EQ(exchange().Import(ExchangeKind::TeachData, {Path(name)}).code,
                  OExchangeResult::Failed)
            << name;
        EXPECT_EQ(*set().opGetSubType(0), before) << name;
    }
    EXPECT_NE(Shown().find("unknown format 7"), std::string::npos) << Shown();
    ExpectNoMismatch();
}

// --- configurations (family 2) ---

TEST_F(Exchange, ConfigurationsRoundTripAndAskAboutExistingParts) {
    NewProject(kFamily2);
    AddCameraTool("Finder");
    AddParts(set(), 3, 1);
    set().SetName("Cap <blue>");
    const std::vector<uint8_t> tools = ToolBytes(set());
    ui.Clear();
    doc().SetLastFolder(dir.Path().string());
    ui.AnswerFileSave(Path("cap.kvc"));
    ASSERT_TRUE(exchange().Export(ExchangeKind::Configuration).bDone());
    EXPECT_EQ(ui.Transcript().front().fileRequest.initialPath, (dir / "Cap _blue_").string());
    EXPECT_EQ(ui.Transcript().front().fileRequest.filter, ResStr(5343));

    // Into a check program with parts: Cancel, Yes (keep them), No (take the file's).
    NewProject(kFamily2);
    AddParts(set(), 0, 7);
    ui.ExpectMessage(MsgResult::Cancel, ResStr(2109));
    EXPECT_EQ(exchange().Import(ExchangeKind::Configuration, {Path("cap.kvc")}).code,
              OExchangeResult::Cancelled);
    EXPECT_EQ(set().Tools().iGetNum(), 0);
    ui.ExpectMessage(MsgResult::Yes, ResStr(2109));
    ui.ExpectMessage(MsgResult::No, ResStr(3311));
    ASSERT_TRUE(exchange().Import(ExchangeKind::Configuration, {Path("cap.kvc")}).bDone());
    EXPECT_EQ(ToolBytes(set()), tools);
    EXPECT_EQ(set().GetName(), "Cap <blue>");
    EXPECT_EQ(set().TestParts().iGetSize(), 7);
    EXPECT_EQ(set().TeachParts().iGetSize(), 0);
    ui.ExpectMessage(MsgResult::No, ResStr(2109));
    ASSERT_TRUE(exchange().Import(ExchangeKind::Configuration, {Path("cap.kvc")}).bDone());
    EXPECT_EQ(set().TestParts().iGetSize(), 1);
    EXPECT_EQ(set().TeachParts().iGetSize(), 3);
    EXPECT_EQ(set().TeachParts().GetAt(0)->iGetNumImages(), 0);
    EXPECT_TRUE(doc().IsModified());
    ExpectNoMismatch();
}

TEST_F(Exchange, AConfigurationForANewCheckProgramIsAddedAndShown) {
    NewProject(kFamily2);
    set().SetName("First");
    Export(ExchangeKind::Configuration, "first.kvc");
    // Without sample parts and without manual assignment the user is asked to switch it on.
    session().ProjectProperties().useManualTypes = 0;
    ui.ExpectMessage(MsgResult::Yes, ResStr(3311));
    ASSERT_TRUE(exchange().LoadConfiguration(-1, Path("first.kvc")).bDone());
    ASSERT_EQ(session().PartSets().iGetNum(), 2);
    EXPECT_EQ(session().PartSets().iGetActualPartSetNo(), 1);
    EXPECT_EQ(set().GetName(), "First");
    EXPECT_EQ(session().ProjectProperties().useManualTypes, 1);
    EXPECT_EQ(session().ProjectProperties().useManualOrientation, 1);
    // Into the first one again: the loaded check program becomes the actual one.
    ASSERT_TRUE(exchange().LoadConfiguration(0, Path("first.kvc")).bDone());
    EXPECT_EQ(session().PartSets().iGetActualPartSetNo(), 0);
    ExpectNoMismatch();
}

TEST_F(Exchange, BadConfigurationsChangeNothing) {
    NewProject(kFamily2);
    AddCameraTool("Finder");
    Export(ExchangeKind::Configuration, "good.kvc");
    const std::vector<uint8_t> good = ReadFile(dir / "good.kvc");
    WriteFile(dir / "cut.kvc", {good.begin(), good.end() - 5});
    std::vector<uint8_t> padded = good;
    padded.push_back(0);
    WriteFile(dir / "padded.kvc", padded);
    std::string error;
    ASSERT_EQ(doc().WriteProjectFile(Path("project.kvp"), error), 1) << error;
    std::filesystem::copy_file(dir / "project.kvp", dir / "project.kvc");
    WriteFile(dir / "empty.kvc", {});

    NewProject(kFamily2);
    AddParts(set(), 2, 0);
    for (const char* name : {"cut.kvc", "padded.kvc", "project.kvc", "empty.kvc", "absent.kvc"}) {
        ui.ExpectMessage(MsgResult::Ok, ResStr(2018));
        EXPECT_EQ(exchange().Import(ExchangeKind::Configuration, {Path(name)}).code,
                  OExchangeResult::Failed)
            << name;
        EXPECT_EQ(set().Tools().iGetNum(), 0) << name;
        EXPECT_EQ(set().TeachParts().iGetSize(), 2) << name;
        EXPECT_EQ(session().PartSets().iGetNum(), 1) << name;
    }
    EXPECT_FALSE(doc().IsModified());
    // Family 1 has no configurations.
    NewProject(kFamily1);
    ui.ExpectMessage(MsgResult::Ok, ResStr(2018));
    EXPECT_EQ(exchange().Import(ExchangeKind::Configuration, {Path("good.kvc")}).code,
              OExchangeResult::Failed);
    ui.ExpectMessage(MsgResult::Ok, ResStr(2018));
    EXPECT_EQ(exchange().Export(ExchangeKind::Configuration, Path("x.kvc")).code,
              OExchangeResult::Failed);
    ExpectNoMismatch();
}

// --- calibration ---

TEST_F(Exchange, TheCalibrationRoundTripsAndItsTableIsExact) {
    NewProject(kFamily2);
    session().CoordTransformer() = Calibrated();
    const OCoordTrans_Tsai_Transformer& t = session().CoordTransformer();
    Export(ExchangeKind::Calibration, "plate.kvtr");
    Export(ExchangeKind::Calibration, "plate.txt");

    const std::string table = Text(ReadFile(dir / "plate.txt"));
    std::string expected = ResStr(9823) + "\t" + ResStr(9824) + "\t" + ResStr(9825) + "\t" +
                           ResStr(9826) + "\t" + ResStr(9827) + "\t" + ResStr(9830) + "\t" +
                           ResStr(9831) + "\r\n";
    const auto& points = t.GetCalibrationPoints();
    ASSERT_EQ(points.size(), 25u);
    for (size_t n = 0; n < points.size(); ++n) {
        const OCoordTrans_CalibPoint& p = points[n];
        char line[512];
        double x = 0, y = 0;
        ASSERT_TRUE(t.Image2World(p.imageX, p.imageY, 0, x, y));
        const double rx = p.worldX == 0 ? 0 : std::fabs((p.worldX - x) / p.worldX) * 100;
        const double ry = p.worldY == 0 ? 0 : std::fabs((p.worldY - y) / p.worldY) * 100;
        std::snprintf(
            line, sizeof line,
            "%d.\t%05.2lf\t%05.2lf\t%05.2lf\t%05.2lf\t%05.2lf\t%05.3lf\t%05.3lf\t%05.3lf\t"
            "%05.3lf\r\n",
            static_cast<int>(n + 1), p.imageX, p.imageY, p.worldX, p.worldY, p.worldZ, p.worldX - x,
            p.worldY - y, rx, ry);
        expected += line;
    }
    EXPECT_EQ(table, expected);
    // The mark at world x 0 (the third of the grid) has a relative x deviation of 0.
    const std::string third = table.substr(table.find("\r\n3.\t") + 2);
    const std::string row = third.substr(0, third.find("\r\n"));
    EXPECT_EQ(row.substr(row.rfind('\t', row.rfind('\t') - 1) + 1, 5), "0.000") << row;

    NewProject(kFamily2);
    session().CoordTransformer().Reset();
    ui.ExpectMessage(MsgResult::Cancel, ResStr(5133));
    EXPECT_EQ(exchange().Import(ExchangeKind::Calibration, {Path("plate.kvtr")}).code,
              OExchangeResult::Cancelled);
    EXPECT_FALSE(session().CoordTransformer().bIsSetUp());
    ui.ExpectMessage(MsgResult::Ok, ResStr(5133));
    ASSERT_TRUE(exchange().Import(ExchangeKind::Calibration, {Path("plate.kvtr")}).bDone());
    EXPECT_TRUE(session().CoordTransformer().bIsSameTransformation(Calibrated()));
    EXPECT_EQ(session().CoordTransformer().GetCalibrationPoints(), points);
    ExpectNoMismatch();
}

TEST_F(Exchange, ACalibrationTableWithoutCalibrationLeavesTheDeviationsBlank) {
    OCoordTrans_Tsai_Transformer calibrated = Calibrated();
    std::vector<uint8_t> bytes = calibrated.Encode();
    // The calibration-set indicator follows the 76-byte camera group.
    std::fill(bytes.begin() + 8 + 76, bytes.begin() + 8 + 80, 0);
    OCoordTrans_Tsai_Transformer points;
    ASSERT_EQ(points.iDecode(bytes), 1);
    ASSERT_FALSE(points.bIsSetUp());
    const std::string table = CalibrationFiles::CalibrationTable(points);
    const std::string first = table.substr(table.find("\r\n") + 2);
    const auto& p = points.GetCalibrationPoints().front();
    EXPECT_EQ(first.substr(0, first.find("\r\n") + 2),
              FormatPrintf("1.\t%05.2lf\t%05.2lf\t%05.2lf\t%05.2lf\t%05.2lf\t \t \t \t \r\n",
                           p.imageX, p.imageY, p.worldX, p.worldY, p.worldZ));
}

TEST_F(Exchange, BadCalibrationFilesChangeNothing) {
    NewProject(kFamily2);
    session().CoordTransformer() = Calibrated();
    Export(ExchangeKind::Calibration, "plate.kvtr");
    const std::vector<uint8_t> good = ReadFile(dir / "plate.kvtr");
    WriteFile(dir / "cut.kvtr", {good.begin(), good.end() - 3});
    WriteFile(dir / "big.kvtr", std::vector<uint8_t>((2u << 20), 7));
    NewProject(kFamily2);
    session().CoordTransformer().Reset();
    for (const char* name : {"cut.kvtr", "big.kvtr", "absent.kvtr"}) {
        ui.ExpectMessage(MsgResult::Ok, ResStr(5133));
        ui.ExpectMessage(MsgResult::Ok, ResStr(5103));
        EXPECT_EQ(exchange().Import(ExchangeKind::Calibration, {Path(name)}).code,
                  OExchangeResult::Failed);
        EXPECT_FALSE(session().CoordTransformer().bIsSetUp()) << name;
    }
    ExpectNoMismatch();
}

// --- a file that cannot be written ---

TEST_F(Exchange, AFailedExportLeavesTheOldFileAsItWas) {
    MakeContourProject();
    AddParts(set(), 400, 0);
    WriteFile(dir / "keep.zrl", Bytes("old content"));
    // Writing stops at 8 KiB: the temporary file cannot be completed.
    struct rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ui.ExpectMessage(MsgResult::Ok, ResStr(5121));
    const OExchangeResult r = exchange().Export(ExchangeKind::TeachPartList, Path("keep.zrl"));
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(r.code, OExchangeResult::Failed);
    EXPECT_EQ(Text(ReadFile(dir / "keep.zrl")), "old content");
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().filename().string().rfind(".keep", 0), std::string::npos)
            << "temporary file left behind: " << entry.path();
    ExpectNoMismatch();
}

}  // namespace
