#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "ModelTestSupport.h"
#include "model/project/OType_ProjectData.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"
#include "support/TempDir.h"

using namespace modeltest;

namespace {

ProjectField Field(int i) {
    return static_cast<ProjectField>(i);
}

OType_ProjectData Filled() {
    OType_ProjectData d;
    for (int i = 0; i < kNumProjectFields; ++i)
        d.Set(Field(i), "value " + std::to_string(i));
    d.Set(ProjectField::Notes, "line 1\r\nline 2 with \\ backslash");
    d.Set(ProjectField::CustomerAddress, "Große Straße 5\n12345 Köln");
    return d;
}

// A record written by hand with the given field texts.
Bytes RecordOf(const std::vector<std::string>& fields, const Bytes& extra = {}) {
    OByteStream_Memory s;
    {
        OObjectBlockWriter block(s, ObjectId::kProjectData);
        s.bWriteU32(static_cast<uint32_t>(fields.size()));
        for (const auto& f : fields)
            s.bWriteString(f);
        s.bWriteRaw(extra.data(), extra.size());
    }
    return s.TakeBytes();
}

TEST(ProjectData, FieldKeysAreDistinct) {
    std::set<std::string_view> keys;
    for (int i = 0; i < kNumProjectFields; ++i) {
        EXPECT_FALSE(OType_ProjectData::FieldKey(Field(i)).empty());
        keys.insert(OType_ProjectData::FieldKey(Field(i)));
    }
    EXPECT_EQ(keys.size(), static_cast<size_t>(kNumProjectFields));
    EXPECT_EQ(OType_ProjectData::FieldKey(ProjectField::Count), "");
}

TEST(ProjectData, RoundTripsAndClears) {
    const OType_ProjectData d = Filled();
    const Bytes bytes = d.Encode();
    EXPECT_EQ(U32At(bytes, 8), static_cast<uint32_t>(kNumProjectFields));
    OType_ProjectData back;
    ASSERT_EQ(back.iDecode(bytes), 1);
    EXPECT_EQ(back, d);
    EXPECT_EQ(back.Get(ProjectField::CustomerAddress), "Große Straße 5\n12345 Köln");
    EXPECT_EQ(back.Encode(), bytes);

    EXPECT_FALSE(back.bIsEmpty());
    back.RemoveAll();
    EXPECT_TRUE(back.bIsEmpty());
    EXPECT_EQ(back.Encode(), OType_ProjectData().Encode());
}

TEST(ProjectData, OlderRecordWithFewerFieldsLeavesTheRestEmpty) {
    OType_ProjectData d = Filled();
    ASSERT_EQ(d.iDecode(RecordOf({"Name", "No. 7"})), 1);
    EXPECT_EQ(d.Get(ProjectField::ProjectName), "Name");
    EXPECT_EQ(d.Get(ProjectField::ProjectNo), "No. 7");
    EXPECT_EQ(d.Get(ProjectField::Engineer), "");
    EXPECT_EQ(d.Get(ProjectField::DeviceOptions), "");
}

TEST(ProjectData, NewerRecordKeepsItsFieldsAndTrailingBytes) {
    std::vector<std::string> fields;
    for (int i = 0; i < kNumProjectFields; ++i)
        fields.push_back("field " + std::to_string(i));
    fields.push_back("a field added later");
    fields.push_back("and another");
    const Bytes newer = RecordOf(fields, FutureFields());
    OType_ProjectData d;
    ASSERT_EQ(d.iDecode(newer), 1);
    EXPECT_EQ(d.Get(ProjectField::DeviceOptions), "field " + std::to_string(kNumProjectFields - 1));
    EXPECT_EQ(d.Encode(), newer);
}

TEST(ProjectData, MalformedInputLeavesTheRecordEmpty) {
    const Bytes valid = Filled().Encode();
    Bytes b = valid;
    SetU32At(b, 8, 0xFFFFFFFFu);
    OType_ProjectData d = Filled();
    EXPECT_EQ(d.iDecode(b), 0);
    EXPECT_TRUE(d.bIsEmpty());
    b = valid;
    SetU32At(b, 4, ObjectId::kZRInfo);
    d = Filled();
    EXPECT_EQ(d.iDecode(b), 0);
    EXPECT_TRUE(d.bIsEmpty());
    // A string running past its record.
    b = RecordOf({"abc"});
    SetU32At(b, 12, 4);
    d = Filled();
    EXPECT_EQ(d.iDecode(b), 0);
    EXPECT_TRUE(d.bIsEmpty());

    ExpectBadInputHandled(
        valid, [] { return std::make_unique<OType_ProjectData>(Filled()); },
        [](OType_ProjectData& data, OByteStream& s) { return data.iDecode(s); },
        [](const OType_ProjectData& data) { return data.Encode(); }, OType_ProjectData().Encode());
}

TEST(ProjectData, TextFormEscapesAndRoundTrips) {
    OType_ProjectData d;
    d.Set(ProjectField::ProjectName, "Line\\Feeder");
    d.Set(ProjectField::Notes, "a\r\nb\nc");
    const std::string text = d.ToText();
    EXPECT_EQ(text, "ProjectName=Line\\\\Feeder\nNotes=a\\r\\nb\\nc\n")
        << "empty fields are left out";
    OType_ProjectData back = Filled();
    ASSERT_EQ(back.iFromText(text), 1);
    EXPECT_EQ(back, d) << "fields missing from the text become empty";

    ASSERT_EQ(Filled().ToText().find('\r'), std::string::npos);
    OType_ProjectData full;
    ASSERT_EQ(full.iFromText(Filled().ToText()), 1);
    EXPECT_EQ(full, Filled());
}

TEST(ProjectData, TextReaderAcceptsCrLfAndSkipsUnknownKeys) {
    OType_ProjectData d;
    ASSERT_EQ(d.iFromText("Engineer=Ana=Lima\r\n\r\nFutureKey=x\nDate=2024"), 1);
    EXPECT_EQ(d.Get(ProjectField::Engineer), "Ana=Lima");
    EXPECT_EQ(d.Get(ProjectField::Date), "2024");
}

TEST(ProjectData, MalformedTextIsRefusedAndChangesNothing) {
    for (const char* text : {"Engineer Ana\n", "Notes=bad \\x escape\n", "Notes=ends with \\"}) {
        OType_ProjectData d = Filled();
        EXPECT_EQ(d.iFromText(text), 0) << text;
        EXPECT_EQ(d, Filled());
    }
}

TEST(ProjectData, TextFilesSaveAndLoad) {
    TempDir dir;
    std::string error;
    ASSERT_EQ(Filled().iSaveProjectTextFile(dir / "doc.txt", error), 1) << error;
    OType_ProjectData d;
    ASSERT_EQ(d.iLoadProjectTextFile(dir / "doc.txt", error), 1) << error;
    EXPECT_EQ(d, Filled());

    error.clear();
    EXPECT_EQ(d.iLoadProjectTextFile(dir / "missing.txt", error), 0);
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_EQ(d.iSaveProjectTextFile(dir / "no-such-folder" / "doc.txt", error), 0);
    EXPECT_FALSE(error.empty());

    std::ofstream(dir / "bad.txt") << "no equals sign\n";
    error.clear();
    EXPECT_EQ(d.iLoadProjectTextFile(dir / "bad.txt", error), 0);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(d, Filled());
}

}  // namespace
