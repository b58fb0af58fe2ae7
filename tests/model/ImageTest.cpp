#include <gtest/gtest.h>

#include "ModelTestSupport.h"
#include "model/part/OType_Image.h"
#include "model/stream/ObjectIds.h"

using namespace modeltest;

namespace {

OType_Image GreyRamp() {
    OType_Image img(5, 3, 1);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x)
            img.SetPixel(x, y, 0, static_cast<uint8_t>(10 * y + x));
    }
    img.SetPos(-7, 120);
    return img;
}

OType_Image Colour() {
    OType_Image img(2, 2, 3);
    img.SetPixel(0, 0, 0, 255);  // red
    img.SetPixel(1, 0, 1, 255);  // green
    img.SetPixel(0, 1, 2, 255);  // blue
    for (int l = 0; l < 3; ++l)
        img.SetPixel(1, 1, l, 200);
    img.SetPos(3, 4);
    return img;
}

OType_Image Decoded(const Bytes& bytes) {
    OType_Image img;
    EXPECT_EQ(DecodeFrom(img, bytes), 1);
    return img;
}

TEST(Image, ConstructorRejectsBadShapes) {
    EXPECT_TRUE(OType_Image(0, 5, 1).bIsEmpty());
    EXPECT_TRUE(OType_Image(5, -1, 1).bIsEmpty());
    EXPECT_TRUE(OType_Image(5, 5, 2).bIsEmpty());
    EXPECT_TRUE(OType_Image(OType_Image::kMaxSide + 1, 1, 1).bIsEmpty());
    const OType_Image ok(4, 2, 3);
    EXPECT_FALSE(ok.bIsEmpty());
    EXPECT_EQ(ok.iGetByteSize(), 4u * 2u * 3u);
}

TEST(Image, PixelsAreRowMajorWithInterleavedLayers) {
    const OType_Image img = Colour();
    const auto px = img.Pixels();
    // Pixel (1, 0) green sits at byte (0 * 2 + 1) * 3 + 1.
    EXPECT_EQ(px[4], 255);
    // Pixel (0, 1) blue at (1 * 2 + 0) * 3 + 2.
    EXPECT_EQ(px[8], 255);
    EXPECT_EQ(img.GetPixel(1, 1, 2), 200);
}

TEST(Image, OutOfRangePixelsReadZeroAndIgnoreWrites) {
    OType_Image img = GreyRamp();
    const Bytes before(img.Pixels().begin(), img.Pixels().end());
    for (auto [x, y, l] : {std::tuple{-1, 0, 0}, {5, 0, 0}, {0, 3, 0}, {0, 0, 1}, {0, 0, -1}}) {
        EXPECT_EQ(img.GetPixel(x, y, l), 0);
        img.SetPixel(x, y, l, 99);
    }
    EXPECT_EQ(Bytes(img.Pixels().begin(), img.Pixels().end()), before);
    EXPECT_EQ(img.GetPixel_Grey(-1, 0), 0);
    EXPECT_EQ(img.GetPixel_Grey(7, 7), 0);
}

TEST(Image, GreyValueOfColourIsRoundedLuminance) {
    const OType_Image img = Colour();
    EXPECT_EQ(img.GetPixel_Grey(0, 0), 76);   // 0.299 * 255 = 76.2
    EXPECT_EQ(img.GetPixel_Grey(1, 0), 150);  // 0.587 * 255 = 149.7
    EXPECT_EQ(img.GetPixel_Grey(0, 1), 29);   // 0.114 * 255 = 29.07
    EXPECT_EQ(img.GetPixel_Grey(1, 1), 200);  // equal layers keep their value
    EXPECT_EQ(GreyRamp().GetPixel_Grey(4, 2), 24);
}

TEST(Image, GreyColourAndEmptyImagesRoundTrip) {
    for (const OType_Image& img : {GreyRamp(), Colour(), OType_Image()}) {
        const Bytes bytes = EncodeOf(img);
        const OType_Image back = Decoded(bytes);
        EXPECT_EQ(back, img);
        EXPECT_EQ(back.iGetPosX(), img.iGetPosX());
        EXPECT_EQ(back.iGetLayers(), img.iGetLayers());
        EXPECT_EQ(EncodeOf(back), bytes);
        EXPECT_EQ(img.iGetObjectSize(), bytes.size());
    }
}

TEST(Image, NewerEncodingKeepsItsExtraBytes) {
    const Bytes newer = WithExtraPayload(EncodeOf(Colour()), FutureFields());
    const OType_Image back = Decoded(newer);
    EXPECT_EQ(back.GetPixel(1, 1, 0), 200);
    EXPECT_EQ(back.iGetPosY(), 4);
    EXPECT_EQ(EncodeOf(back), newer);
    EXPECT_EQ(back.iGetObjectSize(), newer.size());
}

// Byte offsets of an image encoding: header 8, then pos x, pos y, width, height, layers.
constexpr size_t kWidthAt = 16;
constexpr size_t kLayersAt = 24;
constexpr size_t kPixelCountAt = 28;

TEST(Image, RefusesInconsistentShapes) {
    const Bytes valid = EncodeOf(GreyRamp());
    auto refused = [](Bytes bytes) {
        OType_Image img = GreyRamp();
        const int result = DecodeFrom(img, bytes);
        return result == 0 && img == OType_Image();
    };
    Bytes b = valid;
    SetU32At(b, kLayersAt, 2);
    EXPECT_TRUE(refused(b)) << "two layers";
    b = valid;
    SetU32At(b, kWidthAt, static_cast<uint32_t>(-5));
    EXPECT_TRUE(refused(b)) << "negative width";
    b = valid;
    SetU32At(b, kWidthAt, 4);
    EXPECT_TRUE(refused(b)) << "pixel count does not match the shape";
    b = valid;
    SetU32At(b, kPixelCountAt, 0xFFFFFFFFu);
    EXPECT_TRUE(refused(b)) << "pixel count beyond the data";
    b = valid;
    SetU32At(b, 4, ObjectId::kFeature);
    EXPECT_TRUE(refused(b)) << "wrong object id";
}

TEST(Image, TruncatedAndRandomInputIsHandled) {
    ExpectBadInputHandled(
        EncodeOf(Colour()), [] { return std::make_unique<OType_Image>(GreyRamp()); },
        [](OType_Image& img, OByteStream& s) { return img.iDecode(s); },
        [](const OType_Image& img) { return EncodeOf(img); }, EncodeOf(OType_Image()));
}

}  // namespace
