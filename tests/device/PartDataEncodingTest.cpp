// The part data of one part type in the package form and in the 2380- and 2044-byte
// legacy records: layout, round trips, the precision of the legacy ranges, refusals, and
// conversions between the forms.
#include <gtest/gtest.h>

#include <cmath>

#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/partset/PartDataEncoding.h"

namespace {

using namespace PartData;

void Fill(OType_ZRPartSet_SubType& type, int orientations, int features) {
    type.SetName("key with teeth");
    type.SetTolerance(9);
    type.SetCounterTarget(70000);
    type.SetCounterFlag(0xFFFF);
    for (int o = 0; o < orientations; ++o) {
        OType_VectorArray& a = type.Vectors().Add();
        a.SetPartCount(20 + o);
        for (int f = 0; f < features; ++f) {
            OType_Vector v;
            v.featureType = 100 + f;
            v.name = "f" + std::to_string(f);
            v.mean = 12.5 + 1000.0 * f + o;
            v.lowerBound = v.mean - 0.75;
            v.upperBound = v.mean + 0.5;
            v.minimum = v.lowerBound;
            v.maximum = v.upperBound;
            v.option = static_cast<uint32_t>(f % 4) | 0x100;
            a.Add(v);
        }
    }
    type.SetNumOrientations(orientations);
    type.SetNumFeatures(features);
    type.SetHasData(true);
}

struct PartDataEncoding : ::testing::Test {
    PartDataEncoding() {
        legacy.SetFixedFeatures(12);
        legacy.SetNumSubTypes(2);
        legacy.SetName("Sorter");
        package.SetFixedFeatures(0);
        package.SetNumSubTypes(2);
        package.SetName("Sorter");
    }
    OType_ZRPartSet legacy;
    OType_ZRPartSet package;
};

int16_t S16At(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int16_t>((b[at] << 8) | b[at + 1]);
}

TEST_F(PartDataEncoding, TheProtocolFollowsTheDeviceInformationOrTheFamily) {
    EXPECT_EQ(iProtocolOf(legacy), kProtocolLegacy);
    EXPECT_EQ(iProtocolOf(package), kProtocolPackage);
    ZRINFO info;
    info.SetU16(ZRINFO::kPartDataProtocol, 1);
    legacy.SetDeviceInfo(&info);
    EXPECT_EQ(iProtocolOf(legacy), kProtocolPackage);
    info.SetU16(ZRINFO::kPartDataProtocol, 2);
    std::vector<uint8_t> bytes;
    int protocol = -1;
    EXPECT_EQ(iEncodePartSet_SubType_PartData(legacy, 0, 1, bytes, protocol), 0);
    EXPECT_EQ(protocol, 2);
    EXPECT_EQ(iEncodePartSet_SubType_PartData(legacy, 5, 1, bytes, protocol), 0) << "no type 6";
}

TEST_F(PartDataEncoding, ThePackageFormCarriesEverythingAndTheProgramName) {
    Fill(*package.opGetSubType(1), 3, 40);
    std::vector<uint8_t> bytes;
    int protocol = -1;
    ASSERT_EQ(iEncodePartSet_SubType_PartData(package, 1, 1, bytes, protocol), 1);
    EXPECT_EQ(protocol, kProtocolPackage);
    OType_ZRPartSet other;
    other.SetNumSubTypes(1);
    std::string name = "before";
    ASSERT_EQ(iDecodePartSet_SubType_PartData(other, 0, bytes, kProtocolPackage, name), 1);
    EXPECT_EQ(*other.opGetSubType(0), *package.opGetSubType(1));
    EXPECT_EQ(name, "Sorter");
    // Cut or with a byte more, it is refused and the type stays as it was.
    const OType_ZRPartSet_SubType kept = *other.opGetSubType(0);
    for (size_t cut : {size_t{0}, size_t{7}, bytes.size() / 2, bytes.size() - 1}) {
        std::vector<uint8_t> shorter(bytes.begin(), bytes.begin() + static_cast<long>(cut));
        EXPECT_EQ(iDecodePartSet_SubType_PartData(other, 0, shorter, kProtocolPackage, name), 0);
    }
    bytes.push_back(0);
    EXPECT_EQ(iDecodePartSet_SubType_PartData(other, 0, bytes, kProtocolPackage, name), 0);
    EXPECT_EQ(*other.opGetSubType(0), kept);
}

TEST_F(PartDataEncoding, TheLegacyRecordLayout) {
    Fill(*legacy.opGetSubType(1), 2, 3);
    std::vector<uint8_t> r;
    int protocol = -1;
    ASSERT_EQ(iEncodePartSet_SubType_PartData(legacy, 1, 1, r, protocol), 1);
    EXPECT_EQ(protocol, kProtocolLegacy);
    ASSERT_EQ(r.size(), 2380u);
    EXPECT_EQ(r[0], 0);
    EXPECT_EQ(r[1], 2) << "the number of the part type, high byte first";
    EXPECT_EQ(r[2044], 0);
    EXPECT_EQ(r[2045], 2);
    const size_t p = 2;
    EXPECT_EQ(r[p + 0], 1) << "has data";
    EXPECT_EQ(r[p + 1], 1) << "layout";
    EXPECT_EQ(r[p + 2], 2) << "orientations";
    EXPECT_EQ(r[p + 3], 9) << "tolerance";
    EXPECT_EQ((r[p + 4] << 24) | (r[p + 5] << 16) | (r[p + 6] << 8) | r[p + 7], 70000);
    EXPECT_EQ((r[p + 8] << 8) | r[p + 9], 0xFFFF);
    EXPECT_EQ(r[p + 17], 3) << "features per class";
    EXPECT_EQ(S16At(r, p + 20 + 2), 21) << "sample parts of orientation 2";
    EXPECT_EQ(S16At(r, p + 36 + 4), 102) << "feature type of feature 3";
    // Feature 2 reaches 2013.5: four digits before the point fit at exponent -1.
    EXPECT_EQ(static_cast<int8_t>(r[p + 100 + 2]), -1);
    // Orientation 2, feature 2: mean 2013.5 in tenths.
    EXPECT_EQ(S16At(r, p + 132 + (32 * 1 + 2) * 6 + 2), 20135);
    EXPECT_EQ(S16At(r, p + 132 + (32 * 1 + 2) * 6), 20128) << "the lower bound, 2012.75";
    const size_t c = 2046;
    EXPECT_EQ(r[c + 32 * 1 + 2], 2) << "option of orientation 2, feature 3 (low byte)";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[c + 256])), "key with teeth");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[c + 288])), "Sorter");
}

TEST_F(PartDataEncoding, LegacyRecordsKeepFourDigitsAndRoundTripStably) {
    Fill(*legacy.opGetSubType(0), 8, 32);
    std::vector<uint8_t> first;
    int protocol = -1;
    ASSERT_EQ(iEncodePartSet_SubType_PartData(legacy, 0, 1, first, protocol), 1);
    OType_ZRPartSet other;
    other.SetFixedFeatures(12);
    other.SetNumSubTypes(1);
    std::string name;
    ASSERT_EQ(iDecodePartSet_SubType_PartData(other, 0, first, kProtocolLegacy, name), 1);
    EXPECT_EQ(name, "Sorter");
    const OType_ZRPartSet_SubType& a = *legacy.opGetSubType(0);
    const OType_ZRPartSet_SubType& b = *other.opGetSubType(0);
    EXPECT_EQ(b.GetName(), a.GetName());
    EXPECT_EQ(b.iGetCounterFlag(), 0xFFFFu);
    ASSERT_EQ(b.Vectors().iGetNum(), 8);
    for (int o = 0; o < 8; ++o) {
        for (int f = 0; f < 32; ++f) {
            const OType_Vector& x = a.Vectors().opGetAt(o)->At(f);
            const OType_Vector& y = b.Vectors().opGetAt(o)->At(f);
            const double magnitude = 12.5 + 1000.0 * f + 7 + 0.5;
            const double step = magnitude > 3276.7 ? 1.0 : magnitude > 327.67 ? 0.1 : 0.01;
            EXPECT_NEAR(y.mean, x.mean, step / 2 + 1e-9);
            EXPECT_NEAR(y.upperBound, x.upperBound, step / 2 + 1e-9);
            EXPECT_EQ(y.option, x.option & 0xFF) << "the option's low byte";
            EXPECT_EQ(y.featureType, x.featureType);
            EXPECT_EQ(y.minimum, y.lowerBound) << "a new vector takes the range";
        }
    }
    std::vector<uint8_t> second;
    other.SetName(name);
    ASSERT_EQ(iEncodePartSet_SubType_PartData(other, 0, 1, second, protocol), 1);
    EXPECT_EQ(second, first) << "a decoded record encodes to itself";
}

TEST_F(PartDataEncoding, DecodingKeepsWhatTheRecordDoesNotCarry) {
    Fill(*legacy.opGetSubType(0), 1, 2);
    std::vector<uint8_t> r;
    int protocol = -1;
    ASSERT_EQ(iEncodePartSet_SubType_PartData(legacy, 0, 1, r, protocol), 1);
    OType_Vector& v = legacy.opGetSubType(0)->Vectors().opGetAt(0)->At(1);
    v.name = "kept name";
    v.minimum = -5;
    v.factor = 2.5;
    std::string name;
    ASSERT_EQ(iDecodePartSet_SubType_PartData(legacy, 0, r, kProtocolLegacy, name), 1);
    const OType_Vector& w = legacy.opGetSubType(0)->Vectors().opGetAt(0)->At(1);
    EXPECT_EQ(w.name, "kept name");
    EXPECT_EQ(w.minimum, -5);
    EXPECT_EQ(w.factor, 2.5);
    EXPECT_EQ(w.option, 1u | 0x100) << "the option's upper bits stay";
}

TEST_F(PartDataEncoding, TheShortRecordHasNoConditionBlock) {
    Fill(*legacy.opGetSubType(0), 2, 5);
    std::vector<uint8_t> full, shorter;
    int protocol = -1;
    ASSERT_EQ(iEncodePartSet_SubType_PartData(legacy, 0, 1, full, protocol), 1);
    ASSERT_EQ(iEncodePartSet_SubType_PartData(legacy, 0, 0, shorter, protocol), 1);
    EXPECT_EQ(protocol, kProtocolLegacy);
    ASSERT_EQ(shorter.size(), 2044u);
    EXPECT_TRUE(std::equal(shorter.begin(), shorter.end(), full.begin()));
    OType_ZRPartSet other;
    other.SetNumSubTypes(1);
    std::string name = "mine";
    ASSERT_EQ(iDecodePartSet_SubType_PartData(other, 0, shorter, kProtocolLegacy, name), 1);
    EXPECT_EQ(name, "mine") << "no name in the record";
    EXPECT_EQ(other.opGetSubType(0)->Vectors().opGetAt(1)->At(3).option, 0u);
    std::vector<uint8_t> converted;
    ASSERT_EQ(iConvertEncoded_PartData(shorter, kProtocolLegacy, kProtocolLegacy, converted), 1);
    ASSERT_EQ(converted.size(), 2380u);
    EXPECT_TRUE(std::equal(shorter.begin(), shorter.end(), converted.begin()));
    EXPECT_EQ(converted[2045], 1) << "the number again";
    EXPECT_TRUE(
        std::all_of(converted.begin() + 2046, converted.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(PartDataEncoding, WhatDoesNotFitOrDoesNotDecodeIsRefused) {
    Fill(*legacy.opGetSubType(0), 1, 33);
    std::vector<uint8_t> r;
    int protocol = -1;
    EXPECT_EQ(iEncodePartSet_SubType_PartData(legacy, 0, 1, r, protocol), 0) << "33 features";
    legacy.opGetSubType(0)->Vectors().RemoveAll();
    Fill(*legacy.opGetSubType(0), 9, 1);
    EXPECT_EQ(iEncodePartSet_SubType_PartData(legacy, 0, 1, r, protocol), 0) << "9 orientations";
    legacy.opGetSubType(0)->Vectors().RemoveAll();
    Fill(*legacy.opGetSubType(0), 2, 2);
    ASSERT_EQ(iEncodePartSet_SubType_PartData(legacy, 0, 1, r, protocol), 1);
    const OType_ZRPartSet_SubType kept = *legacy.opGetSubType(0);
    std::string name;
    auto refused = [&](std::vector<uint8_t> bad) {
        return iDecodePartSet_SubType_PartData(legacy, 0, bad, kProtocolLegacy, name) == 0;
    };
    auto changed = [&](size_t at, uint8_t value) {
        std::vector<uint8_t> bad = r;
        bad[at] = value;
        return bad;
    };
    EXPECT_TRUE(refused({r.begin(), r.end() - 1})) << "2379 bytes";
    EXPECT_TRUE(refused(changed(2 + 0, 2))) << "has-data 2";
    EXPECT_TRUE(refused(changed(2 + 1, 7))) << "unknown layout";
    EXPECT_TRUE(refused(changed(2 + 2, 9))) << "9 orientations";
    EXPECT_TRUE(refused(changed(2 + 3, 21))) << "tolerance above 20";
    EXPECT_TRUE(refused(changed(2 + 17, 33))) << "33 features";
    EXPECT_TRUE(refused(changed(2 + 8, 1))) << "counter flag neither 0 nor 0xFFFF";
    EXPECT_TRUE(refused(changed(2 + 100, 20))) << "exponent 20";
    EXPECT_EQ(*legacy.opGetSubType(0), kept);
    EXPECT_EQ(iDecodePartSet_SubType_PartData(legacy, 0, r, 2, name), 0) << "protocol 2";
    // A type memory never written reads as zeros: an empty part type.
    ASSERT_EQ(iDecodePartSet_SubType_PartData(legacy, 0, std::vector<uint8_t>(2380, 0),
                                              kProtocolLegacy, name),
              1);
    EXPECT_FALSE(legacy.opGetSubType(0)->bHasData());
    EXPECT_EQ(legacy.opGetSubType(0)->Vectors().iGetNum(), 0);
}

TEST_F(PartDataEncoding, ConversionsBetweenTheForms) {
    Fill(*package.opGetSubType(0), 4, 10);
    std::vector<uint8_t> bytes, record, back;
    int protocol = -1;
    ASSERT_EQ(iEncodePartSet_SubType_PartData(package, 0, 1, bytes, protocol), 1);
    ASSERT_EQ(iConvertEncoded_PartData(bytes, kProtocolPackage, kProtocolLegacy, record), 1);
    ASSERT_EQ(record.size(), 2380u);
    ASSERT_EQ(iConvertEncoded_PartData(record, kProtocolLegacy, kProtocolPackage, back), 1);
    OType_ZRPartSet other;
    other.SetNumSubTypes(1);
    std::string name;
    ASSERT_EQ(iDecodePartSet_SubType_PartData(other, 0, back, kProtocolPackage, name), 1);
    EXPECT_EQ(name, "Sorter");
    const OType_VectorArray& a = *other.opGetSubType(0)->Vectors().opGetAt(3);
    EXPECT_NEAR(a.At(9).mean, 9015.5, 0.5);
    EXPECT_EQ(a.At(9).featureType, 109);
    EXPECT_EQ(iConvertEncoded_PartData(bytes, 1, 3, back), 0);
    EXPECT_EQ(iConvertEncoded_PartData(bytes, kProtocolLegacy, kProtocolPackage, back), 0)
        << "a package is no record";
}

}  // namespace
