#include <gtest/gtest.h>

#include "ModelTestSupport.h"
#include "model/project/OType_ProjectProperties.h"

using namespace modeltest;

namespace {

// Distinct non-default values in every field.
OType_ProjectProperties Changed() {
    OType_ProjectProperties p;
    p.addOldFormat = 1;
    p.useMultiplePartSets = 0;
    p.useOrientation = 0;
    p.useTypes = 0;
    p.useManualOrientation = 0;
    p.useManualTypes = 0;
    p.scale[0] = 0.5;
    p.scale[1] = 2.0;
    p.scale[2] = -3.25;
    p.updateProjectDescription = 0;
    p.useQuality = 0;
    p.useAlternativeValue = 1;
    p.useNewToolsOnCameraImage = 1;
    return p;
}

// A record written by hand: length, id, then `fields` int32 values of fields 3, 4, ...
// (the three scale values count as one entry each, written as doubles).
Bytes Record(uint32_t length, const std::vector<double>& fields) {
    OByteStream_Memory s;
    s.bWriteU32(length);
    s.bWriteU32(OType_ProjectProperties::kRecordId);
    for (size_t i = 0; i < fields.size(); ++i) {
        const bool isScale = i >= 6 && i <= 8;
        if (isScale) {
            s.bWriteDouble(fields[i]);
        } else {
            s.bWriteI32(static_cast<int32_t>(fields[i]));
        }
    }
    return s.TakeBytes();
}

// The values of fields 3..15 of Changed(), in record order.
const std::vector<double> kChangedFields = {1, 0, 0, 0, 0, 0, 0.5, 2.0, -3.25, 0, 0, 1, 1};

TEST(ProjectProperties, DefaultsAreThoseOfARecordBeforeReading) {
    const OType_ProjectProperties p;
    EXPECT_EQ(p.addOldFormat, 0);
    EXPECT_EQ(p.useMultiplePartSets, 1);
    EXPECT_EQ(p.useOrientation, 1);
    EXPECT_EQ(p.useTypes, 1);
    EXPECT_EQ(p.useManualOrientation, 1);
    EXPECT_EQ(p.useManualTypes, 1);
    EXPECT_EQ(p.scale[0], 1.0);
    EXPECT_EQ(p.scale[1], 1.0);
    EXPECT_EQ(p.scale[2], 0.0);
    EXPECT_EQ(p.updateProjectDescription, 1);
    EXPECT_EQ(p.useQuality, 1);
    EXPECT_EQ(p.useAlternativeValue, 0);
    EXPECT_EQ(p.useNewToolsOnCameraImage, 0);
}

TEST(ProjectProperties, RecordLayoutIsFixed) {
    const Bytes bytes = Changed().Encode();
    ASSERT_EQ(bytes.size(), 72u);
    EXPECT_EQ(bytes, Record(68, kChangedFields));
}

TEST(ProjectProperties, RoundTrip) {
    OType_ProjectProperties back;
    ASSERT_EQ(back.iDecode(Changed().Encode()), 1);
    EXPECT_EQ(back, Changed());
    ASSERT_EQ(back.iDecode(OType_ProjectProperties().Encode()), 1);
    EXPECT_EQ(back, OType_ProjectProperties());
}

TEST(ProjectProperties, NewerRecordKeepsItsTrailingBytes) {
    Bytes newer = Record(68 + 6, kChangedFields);
    const Bytes extra{9, 8, 7, 6, 5, 4};
    newer.insert(newer.end(), extra.begin(), extra.end());
    newer.push_back(0x42);  // what follows the record
    auto s = OByteStream_Memory::View(newer);
    OType_ProjectProperties p;
    ASSERT_EQ(p.iDecode(s), 1);
    EXPECT_EQ(p.trailingBytes, extra);
    OType_ProjectProperties expected = Changed();
    expected.trailingBytes = extra;
    EXPECT_EQ(p, expected);
    EXPECT_EQ(s.iGetPos(), newer.size() - 1) << "reading stops at the record end";
    EXPECT_EQ(p.Encode(), Bytes(newer.begin(), newer.end() - 1));
}

TEST(ProjectProperties, OlderRecordsKeepTheDefaultsOfWhatTheyLack) {
    struct Case {
        uint32_t length;
        size_t fieldsWritten;  // of fields 3..15
        size_t fieldsRead;
    };
    // Fields 3-6 need a length above 15; field 6 needs the whole 20.
    const Case cases[] = {{4, 0, 0},  {8, 1, 0},    {12, 2, 0},   {15, 3, 0},  {16, 3, 3},
                          {19, 4, 3}, {20, 4, 4},   {27, 5, 4},   {28, 6, 6},  {40, 7, 6},
                          {52, 9, 9}, {56, 10, 10}, {60, 11, 10}, {68, 13, 13}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::vector<double> fields(
            kChangedFields.begin(),
            kChangedFields.begin() + static_cast<std::ptrdiff_t>(c.fieldsWritten));
        Bytes bytes = Record(c.length, fields);
        bytes.resize(4 + c.length, 0xAB);  // bytes of a partly written field
        bytes.push_back(0x42);
        auto s = OByteStream_Memory::View(bytes);
        OType_ProjectProperties p = Changed();
        p.trailingBytes = {1};
        ASSERT_EQ(p.iDecode(s), 1);
        EXPECT_EQ(s.iGetPos(), 4u + c.length) << "continues at the record end";

        OType_ProjectProperties expected;
        int* ints[] = {&expected.addOldFormat,         &expected.useMultiplePartSets,
                       &expected.useOrientation,       &expected.useTypes,
                       &expected.useManualOrientation, &expected.useManualTypes};
        for (size_t i = 0; i < 6 && i < c.fieldsRead; ++i)
            *ints[i] = static_cast<int>(kChangedFields[i]);
        if (c.fieldsRead >= 9) {
            for (int k = 0; k < 3; ++k)
                expected.scale[k] = kChangedFields[6 + static_cast<size_t>(k)];
        }
        if (c.fieldsRead >= 10) expected.updateProjectDescription = 0;
        if (c.fieldsRead >= 13) {
            expected.useQuality = 0;
            expected.useAlternativeValue = 1;
            expected.useNewToolsOnCameraImage = 1;
        }
        EXPECT_EQ(p, expected);
        EXPECT_TRUE(p.trailingBytes.empty()) << "parts of fields are no trailing bytes";
    }
}

TEST(ProjectProperties, RecordClaimingMoreThanTheDataReadsOnlyWhatIsThere) {
    Bytes bytes = Record(68, {1, 0, 0, 0});  // fields 3-6, then the data ends
    auto s = OByteStream_Memory::View(bytes);
    OType_ProjectProperties p;
    EXPECT_EQ(p.iDecode(s), 1);
    EXPECT_EQ(p.addOldFormat, 1);
    EXPECT_EQ(p.useTypes, 0);
    EXPECT_EQ(p.useManualOrientation, 1) << "beyond the data: default";
    EXPECT_EQ(p.useQuality, 1);
    EXPECT_TRUE(p.trailingBytes.empty());
    EXPECT_EQ(s.iGetPos(), bytes.size());
}

TEST(ProjectProperties, HeaderFaultsAreRefused) {
    OType_ProjectProperties p = Changed();
    EXPECT_EQ(p.iDecode(Bytes{}), 0);
    EXPECT_EQ(p, OType_ProjectProperties());
    Bytes wrongId = Changed().Encode();
    SetU32At(wrongId, 4, 0xFE7A1801);
    p = Changed();
    EXPECT_EQ(p.iDecode(wrongId), 0);
    EXPECT_EQ(p, OType_ProjectProperties());
    Bytes tooShort = Record(3, {});
    p = Changed();
    EXPECT_EQ(p.iDecode(tooShort), 0);
    EXPECT_EQ(p, OType_ProjectProperties());
    for (size_t n = 0; n < 8; ++n) {
        const Bytes valid = Changed().Encode();
        EXPECT_EQ(p.iDecode(std::span<const uint8_t>(valid.data(), n)), 0) << n;
    }
}

TEST(ProjectProperties, EveryTruncationReadsSafely) {
    const Bytes valid = Changed().Encode();
    for (size_t n = 8; n < valid.size(); ++n) {
        OType_ProjectProperties p;
        auto s = OByteStream_Memory::View(std::span<const uint8_t>(valid.data(), n));
        p.iDecode(s);
        EXPECT_LE(s.iGetPos(), n);
        EXPECT_TRUE(p.trailingBytes.empty()) << n;
        EXPECT_EQ(p.addOldFormat, n >= 12 ? 1 : 0) << n;
    }
}

}  // namespace
