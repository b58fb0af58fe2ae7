// Every kind of Export and Import as the desktop runs it: File › Export... and File › Import...
// from the main window, the list dialog and file dialogs answered by a scripted user, the
// files read back into a fresh project.
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <fstream>
#include <iterator>

#include "app/ODlg_SelectTask.h"
#include "app/ui/OUserInteraction_Qt.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "document/files/OProjectExchange.h"
#include "document/files/TeachDataFile.h"
#include "extraction/ODlg_ImportImages.h"
#include "model/coordtrans/OCoordTrans_CalibrationPlate.h"
#include "model/image/ImageCodec.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectData.h"
#include "model/strings/ResStr.h"
#include "ui_shell/ShellTestSupport.h"

namespace {

using namespace shelltest;

struct OTarget {
    int hardware, software, partTypes, partsInSet, orientations;
};
constexpr OTarget kContourSensor{1, 818, 6, 1, 8};
constexpr OTarget kCameraDevice{9, 818, 20, 3, 4};

std::vector<char> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A picture whose pixels tell it apart from the others.
OType_Image Picture(int seed) {
    OType_Image image(32 + seed, 24, 1);
    for (int y = 0; y < image.iGetHeight(); ++y) {
        for (int x = 0; x < image.iGetWidth(); ++x)
            image.SetPixel(x, y, 0, static_cast<uint8_t>((x * 5 + y * 9 + seed * 31) & 0xFF));
    }
    return image;
}

std::unique_ptr<OType_Part> ContourPart(int i, bool sample, bool withImage) {
    auto part = std::make_unique<OType_Part>();
    std::vector<int16_t> runs;
    for (int x = 0; x < 30; ++x) {
        runs.push_back(static_cast<int16_t>(10 + (x + i) % 5));
        runs.push_back(static_cast<int16_t>(-(40 + (x * (i + 1)) % 9)));
    }
    part->SetConturData(std::move(runs));
    part->SetType(1);
    part->SetOrientation(1 + i % 2);
    part->SetTeachPart(sample);
    part->SetComment("part " + std::to_string(i));
    if (withImage) part->AddImage(Picture(i));
    return part;
}

// A question the user answers: its string id (0: none) and the button.
struct OQuestion {
    int text = 0;
    MsgResult answer = MsgResult::Ok;
};

// The desktop with a new project for the given device, the main window shown.
struct ExchangeDesk {
    Shell shell{{"-ETH:1", "/nologo"}};
    TempDir dir;
    ODoc* doc = nullptr;

    explicit ExchangeDesk(const OTarget& target) {
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_HW", target.hardware);
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_SW", target.software);
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_PARTTYPES", target.partTypes);
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_PARTSINSET", target.partsInSet);
        shell.settings->SetInt("Settings", "TARGET_SYSTEM_ORI", target.orientations);
        shell.settings->SetInt("Settings", "PROJECT_USE_ORIENTATION", 1);
        shell.settings->SetInt("Settings", "PROJECT_USE_TYPES", 1);
        shell.settings->SetInt("Settings", "SHOW_WIZARD_BAR", 0);
        EXPECT_TRUE(shell.desktop->Start());
        shell.App().OnFileNew();
        doc = shell.App().opGetDocument();
        Frame().resize(1100, 700);
        Frame().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Frame()));
    }
    ~ExchangeDesk() {
        if (doc) doc->SetModifiedFlag(0);
    }

    OFrame_Main& Frame() { return shell.Frame(); }
    OUserInteraction_Scripted& Ui() { return shell.ui; }
    OType_ZRPartSet& Set() { return *doc->opGetActualPartSet(); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    void AddParts(int sample, int test, bool withImages) {
        for (int i = 0; i < sample; ++i)
            Set().TeachParts().Add(ContourPart(i, true, withImages))->SetRecordNo(i + 1);
        for (int i = 0; i < test; ++i)
            Set().TestParts().Add(ContourPart(20 + i, false, withImages))->SetRecordNo(i + 1);
        doc->RecomputeAll(1, 0, 1, 1, 0);
        doc->RefreshViews();
        ProcessEvents();
    }
    // A command as the user gives it from the main menu.
    void Menu(int id) {
        Frame().UpdateActions();
        QAction* action = Frame().Action(id);
        ASSERT_TRUE(action->isEnabled()) << action->text().toStdString();
        action->trigger();
        ProcessEvents();
    }
    int Entry(const std::vector<ExchangeKind>& entries, ExchangeKind kind) {
        const auto at = std::find(entries.begin(), entries.end(), kind);
        EXPECT_NE(at, entries.end()) << ResStr(iExchangeTextId(kind)) << " is not offered";
        return static_cast<int>(at - entries.begin());
    }
    // Export: the entry of `kind` in the list, then `name` in the save dialog.
    void Export(ExchangeKind kind, const std::string& name) {
        Ui().AnswerChoice(Entry(doc->Exchange().ExportEntries(), kind));
        Ui().AnswerFileSave(Path(name));
        Menu(Cmd::kFileExport);
    }
    // Import: the entry of `kind`, the question asked before the open dialog (a string id,
    // 0 for none) and its answer, the files chosen, then the question asked after reading.
    void Import(ExchangeKind kind, std::vector<std::string> names, OQuestion before = {},
                OQuestion after = {}) {
        Ui().AnswerChoice(Entry(doc->Exchange().ImportEntries(), kind));
        if (before.text) Ui().ExpectMessage(before.answer, ResStr(before.text));
        std::vector<std::string> paths;
        for (const std::string& name : names)
            paths.push_back(Path(name));
        Ui().AnswerFileOpen(paths);
        if (after.text) Ui().ExpectMessage(after.answer, ResStr(after.text));
        Menu(Cmd::kFileImport);
    }
    // File › New without saving the open project: a fresh project for the same device.
    void FreshProject() {
        Ui().ExpectMessage(MsgResult::No, ResStr(5005));
        Ui().AnswerDialog(
            [](ODialogModel& m) {
                static_cast<ODlg_SelectTask&>(m).SetIndex(0);
                return true;
            },
            "ODlg_SelectTask");
        Menu(Cmd::kFileNew);
        ASSERT_TRUE(Set().TeachParts().bIsEmpty());
        ASSERT_TRUE(Set().TestParts().bIsEmpty());
    }
    void ExpectScriptFollowed() {
        EXPECT_TRUE(Ui().Mismatches().empty()) << Ui().TranscriptText();
        EXPECT_TRUE(Ui().bAllScriptUsed()) << Ui().TranscriptText();
    }
};

std::vector<std::vector<int16_t>> Contours(const OType_PartArray& list) {
    std::vector<std::vector<int16_t>> contours;
    for (int i = 0; i < list.iGetSize(); ++i)
        contours.emplace_back(list.GetAt(i)->Contour().begin(), list.GetAt(i)->Contour().end());
    return contours;
}

bool bSamePixels(const OType_Image& a, const OType_Image& b) {
    return a.iGetWidth() == b.iGetWidth() && a.iGetHeight() == b.iGetHeight() &&
           a.iGetLayers() == b.iGetLayers() &&
           std::equal(a.Pixels().begin(), a.Pixels().end(), b.Pixels().begin());
}

TEST(ExchangeKindsDesktop, EveryKindOfACameraDeviceGoesOutAndComesBackThroughTheMenu) {
    ExchangeDesk desk(kCameraDevice);
    ASSERT_TRUE(desk.doc->opGetSession()->bIsCameraTarget());
    desk.AddParts(2, 3, true);
    desk.Set().SetName("Cap");
    desk.Set().iShowSetTeachTest(0);
    desk.Set().iShowTestPartNo(1);
    desk.doc->opGetSession()->ProjectData().Set(ProjectField::Engineer, "Grace");
    desk.doc->opGetSession()->CoordTransformer() = CalibrateOnPlate(
        OCoordTrans_Tsai_CameraParameters::FromSensor(1280, 1280, 0.0048, 0.0048, 640, 512, 1),
        1e-3);
    const OType_ProjectData projectText = desk.doc->opGetSession()->ProjectData();
    const auto teachContours = Contours(desk.Set().TeachParts());
    const auto testContours = Contours(desk.Set().TestParts());
    // The pictures in the list's sort order, as the export numbers them.
    std::vector<OType_Image> testPictures;
    for (int i = 0; i < desk.Set().TestParts().iGetSize(); ++i)
        testPictures.push_back(*desk.Set().TestParts().GetAt(i)->opGetImage(0));

    const std::vector<ExchangeKind> entries = desk.doc->Exchange().ExportEntries();
    EXPECT_EQ(entries, (std::vector<ExchangeKind>{
                           ExchangeKind::ProjectText, ExchangeKind::TeachPartList,
                           ExchangeKind::TeachFeatureTable, ExchangeKind::TestPartList,
                           ExchangeKind::TestFeatureTable, ExchangeKind::Configuration,
                           ExchangeKind::ShownPartImage, ExchangeKind::TeachPartImages,
                           ExchangeKind::TestPartImages, ExchangeKind::Calibration}));
    desk.Export(ExchangeKind::ProjectText, "project.txt");
    desk.Export(ExchangeKind::TeachPartList, "samples.kvl");
    desk.Export(ExchangeKind::TeachFeatureTable, "samples.xls");
    desk.Export(ExchangeKind::TestPartList, "tests.kvl");
    desk.Export(ExchangeKind::TestFeatureTable, "tests.xls");
    desk.Export(ExchangeKind::Configuration, "cap.kvc");
    desk.Export(ExchangeKind::ShownPartImage, "shown.jpg");
    desk.Export(ExchangeKind::TeachPartImages, "sample.bmp");
    desk.Export(ExchangeKind::TestPartImages, "test.bmp");
    desk.Export(ExchangeKind::Calibration, "plate.kvtr");
    desk.Export(ExchangeKind::Calibration, "plate.txt");
    desk.ExpectScriptFollowed();
    for (const char* name : {"project.txt", "samples.kvl", "samples.xls", "tests.kvl", "tests.xls",
                             "cap.kvc", "shown.jpg", "sample_0.bmp", "sample_1.bmp", "test_0.bmp",
                             "test_1.bmp", "test_2.bmp", "plate.kvtr", "plate.txt"})
        EXPECT_TRUE(std::filesystem::exists(desk.dir / name)) << name;
    EXPECT_EQ(desk.doc->GetLastFolder(), desk.dir.Path().string())
        << "the folder of the files used becomes the last folder";

    desk.FreshProject();
    desk.doc->opGetSession()->CoordTransformer().Reset();
    desk.Import(ExchangeKind::ProjectText, {"project.txt"}, {5116, MsgResult::Ok});
    EXPECT_EQ(desk.doc->opGetSession()->ProjectData(), projectText);
    desk.Import(ExchangeKind::TeachPartList, {"samples.kvl"});
    desk.Import(ExchangeKind::TestPartList, {"tests.kvl"});
    EXPECT_EQ(Contours(desk.Set().TeachParts()), teachContours);
    EXPECT_EQ(Contours(desk.Set().TestParts()), testContours);
    ASSERT_EQ(desk.Set().TestParts().iGetSize(), 3);
    ASSERT_EQ(desk.Set().TestParts().GetAt(2)->iGetNumImages(), 1);
    EXPECT_TRUE(bSamePixels(*desk.Set().TestParts().GetAt(2)->opGetImage(0), testPictures[2]));

    // The configuration into the check program that now has parts: keep them (Yes).
    desk.Import(ExchangeKind::Configuration, {"cap.kvc"}, {}, {2109, MsgResult::Yes});
    EXPECT_EQ(desk.Set().GetName(), "Cap");
    EXPECT_EQ(desk.Set().TeachParts().iGetSize(), 2);

    desk.Import(ExchangeKind::Calibration, {"plate.kvtr"}, {5133, MsgResult::Ok});
    EXPECT_TRUE(desk.doc->opGetSession()->CoordTransformer().bIsSetUp());

    // The exported pictures come back as new test parts through the camera image import.
    desk.Ui().AnswerChoice(
        desk.Entry(desk.doc->Exchange().ImportEntries(), ExchangeKind::TestPartImages));
    desk.Ui().AnswerFileOpen({desk.Path("test_0.bmp"), desk.Path("test_1.bmp")});
    desk.Ui().AnswerDialog(
        [](ODialogModel& m) {
            auto& dialog = static_cast<ODlg_ImportImages&>(m);
            dialog.SetPositionX(100);
            dialog.SetPositionY(100);
            return true;
        },
        "ODlg_ImportImages");
    desk.Menu(Cmd::kFileImport);
    ASSERT_EQ(desk.Set().TestParts().iGetSize(), 5);
    // Each new part carries its file's path as comment.
    for (int n = 0; n < 2; ++n) {
        const std::string file = desk.Path("test_" + std::to_string(n) + ".bmp");
        const OType_Part* imported = nullptr;
        for (int i = 0; i < desk.Set().TestParts().iGetSize(); ++i) {
            if (desk.Set().TestParts().GetAt(i)->GetComment() == file)
                imported = desk.Set().TestParts().GetAt(i);
        }
        ASSERT_NE(imported, nullptr) << file;
        ASSERT_EQ(imported->iGetNumImages(), 1);
        EXPECT_TRUE(bSamePixels(*imported->opGetImage(0), testPictures[static_cast<size_t>(n)]))
            << file;
    }
    desk.ExpectScriptFollowed();
}

TEST(ExchangeKindsDesktop, ANewUserMovesTestPartsAndFindsTypNotOfferedForTwentyFeatures) {
    ExchangeDesk desk(kContourSensor);
    desk.AddParts(8, 4, false);
    desk.Export(ExchangeKind::TestPartList, "tests.zrl");
    desk.Export(ExchangeKind::TestFeatureTable, "tests.xls");
    const std::vector<char> table = ReadFile(desk.dir / "tests.xls");
    const auto testContours = Contours(desk.Set().TestParts());

    desk.FreshProject();
    desk.Import(ExchangeKind::TestPartList, {"tests.zrl"});
    EXPECT_EQ(Contours(desk.Set().TestParts()), testContours);
    desk.Export(ExchangeKind::TestFeatureTable, "again.xls");
    EXPECT_EQ(ReadFile(desk.dir / "again.xls"), table)
        << "the imported parts have the same features";

    // Eight tools besides the twelve basic features: twenty features.
    desk.AddParts(8, 0, false);
    for (int i = 0; i < 8; ++i)
        ASSERT_NE(desk.doc->opGetSession()->AddTool(desk.Set(), 1, 30, 0), nullptr);
    desk.doc->RecomputeAll(1, 0, 1, 1, 0);
    ASSERT_EQ(TeachDataFile::iFeatureCount(*desk.Set().opGetSubType(0)), 20);
    desk.Ui().Clear();
    desk.Ui().AnswerChoice(
        desk.Entry(desk.doc->Exchange().ExportEntries(), ExchangeKind::TeachData));
    desk.Ui().CancelFileSave();
    desk.Menu(Cmd::kFileExport);
    desk.ExpectScriptFollowed();
    const auto& transcript = desk.Ui().Transcript();
    ASSERT_EQ(transcript.size(), 2u) << desk.Ui().TranscriptText();
    const FileDialogRequest request = transcript[1].fileRequest;
    EXPECT_EQ(request.defaultExtension, "zrt");
    EXPECT_EQ(request.filter.find(".typ"), std::string::npos) << request.filter;
    EXPECT_NE(request.filter.find(".zrt"), std::string::npos) << request.filter;
    EXPECT_NE(request.filter.find(".bin"), std::string::npos) << request.filter;

    // The same request in the real file dialog: its file types hold no ".typ".
    QStringList shownFilters;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shownFilters = dialog->nameFilters();
        dialog->resize(760, 460);
        ProcessEvents();
        SaveScreenshot(Composite(desk.Frame(), *dialog), desk.dir, "export_teachdata_dialog");
        dialog->reject();
    });
    OUserInteraction_Qt qtUi;
    qtUi.SetParentWindow(&desk.Frame());
    EXPECT_FALSE(qtUi.FileSave(request).bAccepted);
    ASSERT_FALSE(shownFilters.isEmpty());
    EXPECT_TRUE(shownFilters.front().contains("*.zrt")) << shownFilters.join("|").toStdString();
    EXPECT_FALSE(shownFilters.join("|").contains("typ")) << shownFilters.join("|").toStdString();
}

// Files dropped onto the main window open by their path: a damaged Teach-Data file leaves the
// open project as it was; a part list starts a new project with its parts.
TEST(ExchangeKindsDesktop, DroppedFilesAreReadBeforeTheOpenProjectIsGivenUp) {
    ExchangeDesk desk(kContourSensor);
    desk.AddParts(6, 3, false);
    desk.Export(ExchangeKind::TestPartList, "tests.zrl");
    desk.Export(ExchangeKind::TeachData, "good.zrt");
    const std::vector<char> good = ReadFile(desk.dir / "good.zrt");
    {
        std::ofstream cut(desk.dir / "cut.zrt", std::ios::binary);
        cut.write(good.data(), static_cast<std::streamsize>(good.size() - 20));
    }
    const auto testContours = Contours(desk.Set().TestParts());
    desk.doc->SetModifiedFlag(1);

    auto drop = [&](const std::string& name) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(desk.Path(name)))});
        const QPoint at(500, 300);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&desk.Frame(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&desk.Frame(), &dropped);
        ProcessEvents();
    };
    desk.Ui().ExpectMessage(MsgResult::Ok, ResStr(2017));
    drop("cut.zrt");
    EXPECT_EQ(desk.Set().TeachParts().iGetSize(), 6) << "the open project is kept";
    EXPECT_TRUE(desk.doc->IsModified());

    desk.Ui().ExpectMessage(MsgResult::No, ResStr(5005));
    desk.Ui().CancelDialog("ODlg_IdentifyZRType");  // the new project's properties
    desk.Ui().ExpectMessage(MsgResult::No, ResStr(5004));  // test parts, not sample parts
    drop("tests.zrl");
    EXPECT_TRUE(desk.Set().TeachParts().bIsEmpty());
    EXPECT_EQ(Contours(desk.Set().TestParts()), testContours);
    desk.ExpectScriptFollowed();
}

}  // namespace
