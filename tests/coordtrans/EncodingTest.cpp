#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "coordtrans/SyntheticCamera.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/stream/OByteStream_Memory.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Fixed layout of the encoding, written out here to build and damage encodings by hand.
constexpr size_t kHeader = 8;
constexpr size_t kCameraGroup = 4 + 9 * 8;
constexpr size_t kCalibrationGroup = 4 + 8 * 8;

OCoordTrans_Tsai_Transformer MakeCalibrated() {
    const SyntheticCamera cam = MakeTiltedCamera(-2.5e-3);
    OCoordTrans_Tsai_Transformer t;
    EXPECT_EQ(t.iSetCameraParameters(cam.camera), 1);
    EXPECT_EQ(t.iSetCalibrationParameters(cam.truth), 1);
    std::vector<OCoordTrans_CalibPoint> points;
    for (double x = -40; x <= 40; x += 20) {
        for (double y = -40; y <= 40; y += 20) {
            OCoordTrans_CalibPoint p;
            p.worldX = x;
            p.worldY = y;
            cam.Project(x, y, 0, p.imageX, p.imageY);
            points.push_back(p);
        }
    }
    EXPECT_EQ(t.iCalibrateCoplanar(points), 1);
    EXPECT_EQ(t.iSetUnit("inch"), 1);
    return t;
}

void PutU32(Bytes& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t GetU32(const Bytes& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
    return v;
}

void PutDouble(Bytes& bytes, size_t at, double v) {
    std::memcpy(&bytes[at], &v, 8);
}

// The block with its payload cut to `payload` bytes and the length field fixed up.
Bytes CutPayload(Bytes bytes, size_t payload) {
    bytes.resize(kHeader + payload);
    PutU32(bytes, 0, static_cast<uint32_t>(4 + payload));
    return bytes;
}

void ExpectEmpty(const OCoordTrans_Tsai_Transformer& t) {
    EXPECT_TRUE(t.bIsSameTransformation(OCoordTrans_Tsai_Transformer()));
    EXPECT_FALSE(t.bIsSetUp());
    EXPECT_TRUE(t.GetCalibrationPoints().empty());
    EXPECT_EQ(t.strGetUnit(), "mm");
    EXPECT_EQ(t.Encode(), OCoordTrans_Tsai_Transformer().Encode());
}

TEST(TsaiEncoding, LayoutOfTheBlock) {
    const auto t = MakeCalibrated();
    const Bytes bytes = t.Encode();
    const size_t points = t.GetCalibrationPoints().size();
    ASSERT_EQ(bytes.size(), kHeader + kCameraGroup + kCalibrationGroup + 4 + 4 + 4 + points * 40);
    EXPECT_EQ(GetU32(bytes, 0), bytes.size() - 4);
    EXPECT_EQ(GetU32(bytes, 4), OCoordTrans_Tsai_Transformer::kObjectId);
    EXPECT_EQ(GetU32(bytes, 8), 1u);                       // camera set
    EXPECT_EQ(GetU32(bytes, kHeader + kCameraGroup), 1u);  // calibration set
    double f = 0;
    std::memcpy(&f, &bytes[kHeader + kCameraGroup + 4], 8);
    EXPECT_EQ(f, t.GetCalibrationParameters().f);
}

TEST(TsaiEncoding, RoundTripKeepsEverything) {
    const auto t = MakeCalibrated();
    const Bytes bytes = t.Encode();
    OCoordTrans_Tsai_Transformer decoded;
    ASSERT_EQ(decoded.iDecode(bytes), 1);
    EXPECT_TRUE(decoded.bIsSameTransformation(t));
    EXPECT_TRUE(decoded.bIsSetUp());
    EXPECT_EQ(decoded.strGetUnit(), "inch");
    EXPECT_EQ(decoded.GetCalibrationPoints(), t.GetCalibrationPoints());
    EXPECT_EQ(decoded.GetRotationMatrix(), t.GetRotationMatrix());
    EXPECT_EQ(decoded.Encode(), bytes);
    double a = 0, b = 0, c = 0, d = 0;
    ASSERT_EQ(t.Image2World(321, 456, -12, a, b), 1);
    ASSERT_EQ(decoded.Image2World(321, 456, -12, c, d), 1);
    EXPECT_EQ(a, c);
    EXPECT_EQ(b, d);
}

TEST(TsaiEncoding, EmptyTransformerRoundTrips) {
    OCoordTrans_Tsai_Transformer decoded = MakeCalibrated();
    ASSERT_EQ(decoded.iDecode(OCoordTrans_Tsai_Transformer().Encode()), 1);
    ExpectEmpty(decoded);
}

TEST(TsaiEncoding, UnknownTrailerIsKeptAndWrittenBack) {
    Bytes bytes = MakeCalibrated().Encode();
    const Bytes trailer{0xDE, 0xAD, 0x00, 0x01, 0x7F};
    bytes.insert(bytes.end(), trailer.begin(), trailer.end());
    PutU32(bytes, 0, static_cast<uint32_t>(bytes.size() - 4));
    OCoordTrans_Tsai_Transformer t;
    ASSERT_EQ(t.iDecode(bytes), 1);
    EXPECT_TRUE(t.bIsSameTransformation(MakeCalibrated()));
    EXPECT_EQ(t.Encode(), bytes);
    // A copy carries the trailer too.
    OCoordTrans_Tsai_Transformer copy;
    t.CopyTo(copy);
    EXPECT_EQ(copy.Encode(), bytes);
}

TEST(TsaiEncoding, ShorterPayloadEndingAfterAGroupReadsWithDefaults) {
    const Bytes full = MakeCalibrated().Encode();
    OCoordTrans_Tsai_Transformer t;
    ASSERT_EQ(t.iDecode(CutPayload(full, kCameraGroup)), 1);
    EXPECT_EQ(t.iGetCameraParametersSet(), 1);
    EXPECT_EQ(t.iGetCalibrationSet(), 0);
    EXPECT_EQ(t.GetCameraParameters(), MakeCalibrated().GetCameraParameters());
    EXPECT_EQ(t.strGetUnit(), "mm");

    ASSERT_EQ(t.iDecode(CutPayload(full, kCameraGroup + kCalibrationGroup)), 1);
    EXPECT_TRUE(t.bIsSetUp());
    EXPECT_EQ(t.strGetUnit(), "mm");
    EXPECT_TRUE(t.GetCalibrationPoints().empty());

    ASSERT_EQ(t.iDecode(CutPayload(full, 0)), 1);
    ExpectEmpty(t);
}

TEST(TsaiEncoding, PayloadEndingInsideAGroupFails) {
    const Bytes full = MakeCalibrated().Encode();
    for (size_t payload :
         {size_t{1}, size_t{40}, kCameraGroup + 3, kCameraGroup + kCalibrationGroup + 2,
          kCameraGroup + kCalibrationGroup + 4 + 2}) {
        OCoordTrans_Tsai_Transformer t = MakeCalibrated();
        EXPECT_EQ(t.iDecode(CutPayload(full, payload)), 0) << payload;
        ExpectEmpty(t);
    }
}

TEST(TsaiEncoding, EveryTruncationFailsAndLeavesAnEmptyUsableTransformer) {
    const Bytes full = MakeCalibrated().Encode();
    OCoordTrans_Tsai_Transformer t;
    for (size_t n = 0; n < full.size(); ++n) {
        t = MakeCalibrated();
        EXPECT_EQ(t.iDecode(std::span<const uint8_t>(full.data(), n)), 0) << n;
        ExpectEmpty(t);
    }
    // Still usable afterwards.
    ASSERT_EQ(t.iDecode(full), 1);
    EXPECT_TRUE(t.bIsSetUp());
}

TEST(TsaiEncoding, ExtraBytesAfterTheBlockFailForAByteArray) {
    Bytes bytes = MakeCalibrated().Encode();
    bytes.push_back(0);
    OCoordTrans_Tsai_Transformer t;
    EXPECT_EQ(t.iDecode(bytes), 0);
    ExpectEmpty(t);
}

TEST(TsaiEncoding, StreamDecodingContinuesAfterTheBlock) {
    OByteStream_Memory out;
    const auto first = MakeCalibrated();
    OCoordTrans_Tsai_Transformer second;
    second.iSetUnit("cm");
    ASSERT_EQ(first.iEncode(out), 1);
    ASSERT_EQ(second.iEncode(out), 1);
    out.bWriteU32(0xCAFEF00D);
    OByteStream_Memory in(out.TakeBytes());
    OCoordTrans_Tsai_Transformer a, b;
    ASSERT_EQ(a.iDecode(in), 1);
    ASSERT_EQ(b.iDecode(in), 1);
    EXPECT_TRUE(a.bIsSameTransformation(first));
    EXPECT_TRUE(b.bIsSameTransformation(second));
    uint32_t marker = 0;
    ASSERT_TRUE(in.bReadU32(marker));
    EXPECT_EQ(marker, 0xCAFEF00Du);
}

TEST(TsaiEncoding, LengthBeyondTheDataAndWrongIdFail) {
    Bytes bytes = MakeCalibrated().Encode();
    Bytes oversized = bytes;
    PutU32(oversized, 0, GetU32(bytes, 0) + 1);
    Bytes wrongId = bytes;
    PutU32(wrongId, 4, OCoordTrans_Tsai_Transformer::kObjectId + 1);
    for (const Bytes* b : {&oversized, &wrongId}) {
        OCoordTrans_Tsai_Transformer t = MakeCalibrated();
        EXPECT_EQ(t.iDecode(*b), 0);
        ExpectEmpty(t);
    }
}

TEST(TsaiEncoding, InvalidValuesFail) {
    const Bytes full = MakeCalibrated().Encode();
    const size_t dpx = kHeader + 4 + 4 * 8;
    const size_t f = kHeader + kCameraGroup + 4;
    const size_t unit = kHeader + kCameraGroup + kCalibrationGroup;
    const size_t count = unit + 4 + 4;
    std::vector<Bytes> bad;
    bad.push_back(full);
    PutDouble(bad.back(), dpx, 0.0);  // camera set, zero pitch
    bad.push_back(full);
    PutDouble(bad.back(), f, -12.0);  // calibration set, negative focal length
    bad.push_back(full);
    PutDouble(bad.back(), f + 8, std::numeric_limits<double>::quiet_NaN());  // kappa1
    bad.push_back(full);
    bad.back()[unit + 4] = '\n';  // control character in the unit
    bad.push_back(full);
    PutU32(bad.back(), count, 257);  // more points than allowed (and than present)
    bad.push_back(full);
    PutU32(bad.back(), count, 0xFFFFFFFF);
    bad.push_back(full);
    PutDouble(bad.back(), count + 4 + 16, std::numeric_limits<double>::infinity());  // a point
    for (size_t i = 0; i < bad.size(); ++i) {
        OCoordTrans_Tsai_Transformer t = MakeCalibrated();
        EXPECT_EQ(t.iDecode(bad[i]), 0) << i;
        ExpectEmpty(t);
    }
    // Without the indicator the same zero pitch is only a stored value.
    Bytes unset = full;
    PutU32(unset, kHeader, 0);
    PutDouble(unset, dpx, 0.0);
    OCoordTrans_Tsai_Transformer t;
    EXPECT_EQ(t.iDecode(unset), 1);
    EXPECT_FALSE(t.bIsSetUp());
}

TEST(TsaiEncoding, RandomBytesFail) {
    std::mt19937 rng(99);
    const Bytes valid = MakeCalibrated().Encode();
    for (int i = 0; i < 2000; ++i) {
        Bytes bytes(rng() % 600);
        for (auto& b : bytes)
            b = static_cast<uint8_t>(rng());
        OCoordTrans_Tsai_Transformer t = MakeCalibrated();
        EXPECT_EQ(t.iDecode(bytes), 0);
        ExpectEmpty(t);
        ASSERT_EQ(t.iDecode(valid), 1);
    }
}

TEST(TsaiSameTransformation, ChangingAnySingleParameterMakesADifference) {
    const auto original = MakeCalibrated();
    using Camera = OCoordTrans_Tsai_CameraParameters;
    using Calibration = OCoordTrans_Tsai_CalibrationParameters;
    for (double Camera::*field :
         {&Camera::Ncx, &Camera::Nfx, &Camera::dx, &Camera::dy, &Camera::dpx, &Camera::dpy,
          &Camera::Cx, &Camera::Cy, &Camera::sx}) {
        auto changed = original;
        auto camera = changed.GetCameraParameters();
        camera.*field = std::nextafter(camera.*field, 1e9);  // the smallest change there is
        ASSERT_EQ(changed.iSetCameraParameters(camera), 1);
        EXPECT_FALSE(changed.bIsSameTransformation(original));
        EXPECT_FALSE(original.bIsSameTransformation(changed));
    }
    for (double Calibration::*field :
         {&Calibration::f, &Calibration::kappa1, &Calibration::Tx, &Calibration::Ty,
          &Calibration::Tz, &Calibration::Rx, &Calibration::Ry, &Calibration::Rz}) {
        auto changed = original;
        auto calibration = changed.GetCalibrationParameters();
        calibration.*field = std::nextafter(calibration.*field, 1e9);
        ASSERT_EQ(changed.iSetCalibrationParameters(calibration), 1);
        EXPECT_FALSE(changed.bIsSameTransformation(original));
    }
    for (int indicator : {0, 1}) {
        auto p = original.oGetParameters();
        (indicator == 0 ? p.iCameraParametersSet : p.iCalibrationSet) = 2;
        auto changed = original;
        ASSERT_EQ(changed.iSetParameters(p), 1);
        EXPECT_TRUE(changed.bIsSetUp());
        EXPECT_FALSE(changed.bIsSameTransformation(original));
    }
    auto changed = original;
    changed.iSetUnit("mm");
    EXPECT_FALSE(changed.bIsSameTransformation(original));
}

TEST(TsaiSameTransformation, CalibrationPointsDoNotCount) {
    const auto original = MakeCalibrated();
    auto points = original.GetCalibrationPoints();
    points[0].imageX += 0.25;  // a calibration from slightly different points ...
    auto other = original;
    ASSERT_EQ(other.iCalibrateCoplanar(points), 1);
    EXPECT_FALSE(other.bIsSameTransformation(original));  // ... gives other parameters
    ASSERT_EQ(other.iSetCalibrationParameters(original.GetCalibrationParameters()), 1);
    EXPECT_TRUE(other.bIsSameTransformation(original));  // same parameters, other points
}

TEST(TsaiTransformerValue, CopiesAreIndependentAndResetEmpties) {
    const auto original = MakeCalibrated();
    OCoordTrans_Tsai_Transformer copy;
    original.CopyTo(copy);
    EXPECT_TRUE(copy.bIsSameTransformation(original));
    EXPECT_EQ(copy.GetCalibrationPoints(), original.GetCalibrationPoints());
    copy.iSetUnit("cm");
    EXPECT_EQ(original.strGetUnit(), "inch");
    copy.Reset();
    ExpectEmpty(copy);
    EXPECT_TRUE(original.bIsSetUp());
}

TEST(TsaiParameters, FlatOrderOfTheDoubles) {
    OCoordTrans_Tsai_Parameters p;
    p.camera = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    p.calibration = {10, 11, 12, 13, 14, 15, 16, 17};
    for (int i = 0; i < 9; ++i)
        p.r[i] = 18 + i;
    p.iCameraParametersSet = 27;
    p.iCalibrationSet = 28;
    const auto values = p.ToDoubles();
    ASSERT_EQ(values.size(), 28u);
    EXPECT_EQ(p.camera.Ncx, 1);
    EXPECT_EQ(p.camera.sx, 9);
    EXPECT_EQ(p.calibration.f, 10);
    EXPECT_EQ(p.calibration.kappa1, 11);
    EXPECT_EQ(p.calibration.Rz, 17);
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(values[i], static_cast<double>(i + 1));

    OCoordTrans_Tsai_Parameters back;
    ASSERT_EQ(OCoordTrans_Tsai_Parameters::iFromDoubles(values, back), 1);
    EXPECT_EQ(back.ToDoubles(), values);
}

TEST(TsaiParameters, FlatFormRejectsBadInput) {
    auto values = MakeCalibrated().oGetParameters().ToDoubles();
    OCoordTrans_Tsai_Parameters p;
    EXPECT_EQ(OCoordTrans_Tsai_Parameters::iFromDoubles({values.data(), 27}, p), 0);
    auto fractional = values;
    fractional[27] = 0.5;
    EXPECT_EQ(OCoordTrans_Tsai_Parameters::iFromDoubles(fractional, p), 0);
    auto huge = values;
    huge[26] = 1e12;
    EXPECT_EQ(OCoordTrans_Tsai_Parameters::iFromDoubles(huge, p), 0);

    // r1..r9 that do not belong to the angles are refused by the transformer.
    auto wrongRotation = values;
    wrongRotation[17] += 1e-3;
    ASSERT_EQ(OCoordTrans_Tsai_Parameters::iFromDoubles(wrongRotation, p), 1);
    OCoordTrans_Tsai_Transformer t;
    EXPECT_EQ(t.iSetParameters(p), 0);
    EXPECT_FALSE(t.bIsSetUp());
}

TEST(TsaiParameters, DeviceTransferRoundTrip) {
    const auto original = MakeCalibrated();
    OByteStream_Memory out;
    ASSERT_TRUE(original.oGetParameters().bWrite(out));
    EXPECT_EQ(out.Bytes().size(), OCoordTrans_Tsai_Parameters::kCount * 8);
    OByteStream_Memory in(out.TakeBytes());
    OCoordTrans_Tsai_Parameters p;
    ASSERT_TRUE(p.bRead(in));
    OCoordTrans_Tsai_Transformer received;
    received.iSetUnit("inch");
    ASSERT_EQ(received.iSetParameters(p), 1);
    EXPECT_TRUE(received.bIsSameTransformation(original));

    // The rotation matrix travels as the matrix of the angles (checked by hand here).
    const auto& k = original.GetCalibrationParameters();
    EXPECT_NEAR(p.r[6], -std::sin(k.Ry), 1e-15);
    EXPECT_NEAR(p.r[8], std::cos(k.Rx) * std::cos(k.Ry), 1e-15);
    EXPECT_NEAR(p.r[0], std::cos(k.Ry) * std::cos(k.Rz), 1e-15);

    OByteStream_Memory shortIn(Bytes(8 * 27, 0));
    EXPECT_FALSE(p.bRead(shortIn));
}

}  // namespace
