// The export of camera images: one part or a whole list, BMP or JPEG, numbered by the sort
// position, read back with the image codec.
#include "FilesTestSupport.h"
#include "model/image/ImageCodec.h"
#include "support/CtlRun.h"

namespace {

using namespace filestest;

// A picture whose pixels tell it apart from the others.
OType_Image Picture(int seed, int layers) {
    OType_Image image(40 + seed, 30, layers);
    for (int y = 0; y < image.iGetHeight(); ++y) {
        for (int x = 0; x < image.iGetWidth(); ++x) {
            for (int l = 0; l < layers; ++l)
                image.SetPixel(x, y, l,
                               static_cast<uint8_t>((x * 7 + y * 3 + seed * 40 + l * 50) & 0xFF));
        }
    }
    return image;
}

std::unique_ptr<OType_Part> CameraPart(int seed, const std::string& comment,
                                       bool withImage = true) {
    auto part = std::make_unique<OType_Part>();
    part->SetType(1);
    part->SetOrientation(1);
    part->SetComment(comment);
    if (withImage) part->AddImage(Picture(seed, seed % 2 ? 3 : 1));
    return part;
}

OType_Image Loaded(const std::filesystem::path& path) {
    OType_Image image;
    std::string error;
    EXPECT_TRUE(ImageCodec::bLoadFile(path, image, error)) << path << ": " << error;
    return image;
}

struct ImageExport : FilesFixture {
    void MakeCameraProject() {
        NewProject(kFamily2);
        // Added as c, a, b; sorted by comment they are a, b, c.
        set().TestParts().Add(CameraPart(0, "c"));
        set().TestParts().Add(CameraPart(1, "a"));
        set().TestParts().Add(CameraPart(2, "b"));
        set().TestParts().SetSortType(PartSortType::Comment);
    }
};

TEST_F(ImageExport, AListOfThreePartsGivesThreeFilesNumberedInSortOrder) {
    MakeCameraProject();
    const OExchangeResult r = exchange().Export(ExchangeKind::TestPartImages, Path("img.bmp"));
    ASSERT_TRUE(r.bDone()) << r.message;
    EXPECT_EQ(r.files,
              (std::vector<std::string>{Path("img_0.bmp"), Path("img_1.bmp"), Path("img_2.bmp")}));
    EXPECT_FALSE(std::filesystem::exists(dir / "img.bmp"));
    // Sort position 0 is the part commented "a" (added second); BMP keeps every pixel.
    EXPECT_EQ(Loaded(dir / "img_0.bmp").Pixels().size(), Picture(1, 3).Pixels().size());
    const OType_Image first = Loaded(dir / "img_0.bmp");
    EXPECT_TRUE(
        std::equal(first.Pixels().begin(), first.Pixels().end(), Picture(1, 3).Pixels().begin()));
    const OType_Image last = Loaded(dir / "img_2.bmp");
    EXPECT_EQ(last.iGetLayers(), 1);
    EXPECT_TRUE(
        std::equal(last.Pixels().begin(), last.Pixels().end(), Picture(0, 1).Pixels().begin()));
}

TEST_F(ImageExport, JpegWhenTheNameEndsInJpgAndTheShownPartAlone) {
    MakeCameraProject();
    ASSERT_TRUE(exchange().Export(ExchangeKind::TestPartImages, Path("shot.JPG")).bDone());
    for (int n = 0; n < 3; ++n) {
        const auto path = dir / ("shot_" + std::to_string(n) + ".jpg");
        auto bytes = ReadFile(path);
        EXPECT_EQ(ImageCodec::DetectFormat(bytes), ImageCodec::Format::Jpeg) << path;
    }
    EXPECT_EQ(Loaded(dir / "shot_1.jpg").iGetWidth(), Picture(2, 1).iGetWidth());

    set().iShowSetTeachTest(0);
    set().iShowTestPartNo(2);
    const OExchangeResult r = exchange().Export(ExchangeKind::ShownPartImage, Path("one.bmp"));
    ASSERT_TRUE(r.bDone()) << r.message;
    EXPECT_EQ(r.files, std::vector<std::string>{Path("one.bmp")});
    EXPECT_EQ(Loaded(dir / "one.bmp").iGetWidth(), Picture(0, 1).iGetWidth());
}

TEST_F(ImageExport, PartsWithoutImagesAreLeftOutAndTheEntriesFollowTheImages) {
    NewProject(kFamily2);
    const std::vector<ExchangeKind> none = exchange().ExportEntries();
    EXPECT_EQ(std::count(none.begin(), none.end(), ExchangeKind::TestPartImages), 0);
    set().TestParts().Add(CameraPart(0, "first", false));
    set().TestParts().Add(CameraPart(1, "second"));
    set().iShowSetTeachTest(0);
    set().iShowTestPartNo(0);
    const std::vector<ExchangeKind> entries = exchange().ExportEntries();
    EXPECT_EQ(std::count(entries.begin(), entries.end(), ExchangeKind::TestPartImages), 1);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), ExchangeKind::ShownPartImage), 0)
        << "the shown part has no image";
    EXPECT_EQ(std::count(entries.begin(), entries.end(), ExchangeKind::TeachPartImages), 0);

    ui.AnswerFileSave(Path("pic"));
    const OExchangeResult r = exchange().Export(ExchangeKind::TestPartImages);
    ASSERT_TRUE(r.bDone()) << r.message;
    EXPECT_EQ(r.files, std::vector<std::string>{Path("pic_1.bmp")});
    EXPECT_EQ(ui.Transcript().front().fileRequest.filter, ResStr(5351));
    EXPECT_EQ(ui.Transcript().front().fileRequest.defaultExtension, "bmp");

    ui.ExpectMessage(MsgResult::Ok, ResStr(5121));
    EXPECT_EQ(exchange().Export(ExchangeKind::ShownPartImage, Path("none.bmp")).code,
              OExchangeResult::Failed);
    ExpectNoMismatch();

    // A classic contour device has no cameras: no image entries.
    NewProject(kFamily1);
    set().TeachParts().Add(CameraPart(0, "with image"));
    const std::vector<ExchangeKind> classic = exchange().ExportEntries();
    EXPECT_EQ(std::count(classic.begin(), classic.end(), ExchangeKind::TeachPartImages), 0);
}

TEST_F(ImageExport, KalvorctlWritesTheImagesOfAList) {
    MakeCameraProject();
    Save("camera.kvp");
    const CtlRun run =
        Ctl(dir.Path(), {"export", "camera.kvp", "images", "cam.jpg", "--test", "--no-settings"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "cam_0.jpg\ncam_1.jpg\ncam_2.jpg\n");
    EXPECT_TRUE(std::filesystem::exists(dir / "cam_2.jpg"));
}

TEST_F(ImageExport, KalvorctlImportsExportedPicturesAsNewParts) {
    MakeCameraProject();
    std::vector<OType_Image> pictures;
    for (int i = 0; i < set().TestParts().iGetSize(); ++i)
        pictures.push_back(*set().TestParts().GetAt(i)->opGetImage(0));
    Save("camera.kvp");
    ASSERT_EQ(
        Ctl(dir.Path(), {"export", "camera.kvp", "images", "cam.bmp", "--test", "--no-settings"})
            .status,
        0);
    NewProject(kFamily2);
    Save("fresh.kvp");
    WriteFile(dir / "junk.bmp", Bytes("BM but no picture"));

    // Nothing readable: a failure, and the project file is left as it was.
    const std::vector<uint8_t> before = ReadFile(dir / "fresh.kvp");
    CtlRun run = Ctl(dir.Path(), {"import", "fresh.kvp", "images", "junk.bmp", "--no-settings"});
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_EQ(ReadFile(dir / "fresh.kvp"), before);

    run = Ctl(dir.Path(), {"import", "fresh.kvp", "images", "cam_0.bmp", "cam_2.bmp", "--test",
                           "--no-settings"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "cam_0.bmp\ncam_2.bmp\n");
    ASSERT_EQ(Load(Path("fresh.kvp")), 1);
    ASSERT_EQ(set().TestParts().iGetSize(), 2);
    EXPECT_TRUE(set().TeachParts().bIsEmpty());
    for (int i = 0; i < 2; ++i) {
        const OType_Part& part = *set().TestParts().GetAt(i);
        ASSERT_EQ(part.iGetNumImages(), 1);
        const OType_Image& expected = pictures[part.GetComment().ends_with("cam_0.bmp") ? 0 : 2];
        EXPECT_TRUE(std::equal(part.opGetImage(0)->Pixels().begin(),
                               part.opGetImage(0)->Pixels().end(), expected.Pixels().begin(),
                               expected.Pixels().end()))
            << part.GetComment();
    }
}

}  // namespace
