// Camera image import into a project: files chosen, the import dialog confirmed, parts
// appended to the chosen list as one undo step.
#include "DocTestSupport.h"
#include "document/CommandIds.h"
#include "extraction/ODlg_ImportImages.h"
#include "model/image/ImageCodec.h"
#include "model/strings/ResStr.h"

namespace {

using namespace doctest;

constexpr OTargetSystem kCamera{7, 818, 0, 16, 1, 8};

struct ImageImport : DocFixture {
    void SetUp() override {
        NewProject(kCamera);
        ui.Clear();
    }
    std::string Picture(const std::string& name, int w, int h, uint8_t value) {
        OType_Image img(w, h, 1);
        std::fill(img.Pixels().begin(), img.Pixels().end(), value);
        WriteFile(dir / name, ImageCodec::EncodeBmp(img));
        return Path(name);
    }
    OType_ZRPartSet& set() { return *doc().opGetActualPartSet(); }
};

TEST_F(ImageImport, ChosenPicturesBecomeSampleOrTestPartsInOneUndoStep) {
    const std::string dark = Picture("dark.bmp", 30, 20, 10);
    const std::string light = Picture("light.bmp", 30, 20, 240);
    ui.AnswerFileOpen({dark, light});
    ui.AnswerDialog(
        [](ODialogModel& model) {
            auto& d = static_cast<ODlg_ImportImages&>(model);
            d.SetPositionX(100);
            d.SetPositionY(50);
            d.SetThresholdType(0);
            d.SetDark(0);
            d.SetBright(100);
            return true;
        },
        "ODlg_ImportImages");
    const size_t stepsBefore = set().UndoRedo().iGetNumSteps();
    EXPECT_EQ(doc().ImportCameraImages(1), 1);
    ExpectNoMismatch();
    ASSERT_EQ(set().TeachParts().iGetSize(), 2);
    EXPECT_EQ(set().TestParts().iGetSize(), 0);
    const OType_Part& first = *set().TeachParts().GetAt_NoSort(0);
    EXPECT_TRUE(first.bIsTeachPart());
    EXPECT_EQ(first.GetComment(), dark);
    EXPECT_EQ(first.opGetImage(0)->iGetPosX(), 100);
    EXPECT_EQ(first.iGetColumns(), 130);
    // The dark picture is all part: its first image column is one run over rows 50 ... 69.
    EXPECT_EQ(first.Contour()[200], 50);
    EXPECT_EQ(first.Contour()[201], -70);
    // The light one is outside the limits: empty columns only.
    EXPECT_EQ(set().TeachParts().GetAt_NoSort(1)->Contour()[201], -1);
    EXPECT_TRUE(doc().IsModified());
    EXPECT_EQ(set().UndoRedo().iGetNumSteps(), stepsBefore + 1);
    EXPECT_EQ(doc().GetLastFolder(), dir.Path().string());
    EXPECT_EQ(settings.iGetInt("Settings", "VIEWINGAREALEFTLIMIT", -1), 100);

    // Into the test list, with the settings kept from the first import.
    ui.AnswerFileOpen({light});
    ui.AnswerDialog([](ODialogModel& model) {
        EXPECT_EQ(static_cast<ODlg_ImportImages&>(model).iGetPositionY(), 50);
        return true;
    });
    EXPECT_EQ(doc().ImportCameraImages(0), 1);
    EXPECT_EQ(set().TestParts().iGetSize(), 1);
    EXPECT_FALSE(set().TestParts().GetAt_NoSort(0)->bIsTeachPart());
    ExpectNoMismatch();
}

TEST_F(ImageImport, CancelOrNothingReadableChangesNothing) {
    ui.CancelFileOpen();
    EXPECT_EQ(doc().ImportCameraImages(1), 2);
    const std::string pic = Picture("p.bmp", 4, 4, 0);
    ui.AnswerFileOpen({pic});
    ui.CancelDialog("ODlg_ImportImages");
    EXPECT_EQ(doc().ImportCameraImages(1), 2);
    WriteFile(dir / "bad.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 3});
    ui.AnswerFileOpen({Path("bad.jpg")});
    ui.ConfirmDialog("ODlg_ImportImages");
    ui.ExpectMessage(MsgResult::Ok, "bad.jpg");
    EXPECT_EQ(doc().ImportCameraImages(1), 0);
    EXPECT_EQ(set().TeachParts().iGetSize(), 0);
    EXPECT_FALSE(doc().IsModified());
    ExpectNoMismatch();
}

}  // namespace
