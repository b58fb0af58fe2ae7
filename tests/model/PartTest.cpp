#include <gtest/gtest.h>

#include "ModelTestSupport.h"
#include "model/part/OType_Part.h"
#include "model/stream/ObjectIds.h"

using namespace modeltest;

namespace {

OType_Image SmallImage(int layers, uint8_t fill) {
    OType_Image img(3, 2, layers);
    for (auto& p : img.Pixels())
        p = fill;
    return img;
}

OType_Part SamplePart() {
    OType_Part p;
    p.SetConturData({10, -20, 5, 8, 12, -30});
    p.SetBackupContour({10, -25, 5, -31});
    p.SetAppliedFilter(3);
    p.AddImage(SmallImage(1, 7));
    p.AddImage(SmallImage(3, 200));
    OType_Feature f;
    f.type = 3;
    f.value = 41.0;
    p.Features().Add(f);
    f.type = 22;
    f.toolId = 2;
    f.value = -0.5;
    p.Features().Add(f);
    p.Features().SetModified(false);
    p.SetOrientation(-3);
    p.SetType(7);
    p.SetTeachPart(false);
    p.SetSelected(true);
    p.SetRecordNo(42);
    p.SetComment("first line\r\nsecond");
    p.SetResultValue(0, 101.5);
    p.SetResultValue(1, -2.25);
    p.SetResultValue(2, 1.0);
    p.SetTolerance(6);
    p.DataOutputResults().push_back({3, {1, 2, 3}});
    p.DataOutputResults().push_back({7, {}});
    p.SetModified(false);
    p.SetState(2);
    return p;
}

// What a part encoded with `content` must decode to.
OType_Part Restricted(OType_Part p, uint32_t content) {
    if (!(content & PartContent::kContour)) {
        p.RemoveConturData();
        p.RemoveBackupContour();
    }
    if (!(content & PartContent::kImages)) p.RemoveImages();
    if (!(content & PartContent::kFeatures)) p.Features() = OType_FeatureArray();
    return p;
}

TEST(Part, ColumnsAreTheNegativeRunEnds) {
    EXPECT_EQ(OType_Part::iCountColumns({}), 0);
    const std::vector<int16_t> runs{10, -20, 5, 8, 12, -30, 4, -4};
    EXPECT_EQ(OType_Part::iCountColumns(runs), 3);
    OType_Part p;
    p.Features().SetModified(false);
    p.SetModified(false);
    p.SetConturData(runs);
    EXPECT_EQ(p.iGetColumns(), 3);
    EXPECT_EQ(p.iGetConturDataSize(), 8);
    EXPECT_EQ(p.opGetConturData()[5], -30);
    EXPECT_TRUE(p.bGetModified()) << "new contour data needs a new extraction";
    EXPECT_TRUE(p.Features().bGetModified());
    p.RemoveConturData();
    EXPECT_EQ(p.iGetConturDataSize(), 0);
    EXPECT_EQ(p.iGetColumns(), 0);
}

TEST(Part, ResultValuesOutsideTheThreeSlotsAreIgnored) {
    OType_Part p;
    p.SetResultValue(3, 9.0);
    p.SetResultValue(-1, 9.0);
    EXPECT_EQ(p.dGetResultValue(3), 0.0);
    EXPECT_EQ(p.dGetResultValue(-1), 0.0);
    EXPECT_EQ(p, OType_Part());
}

TEST(Part, ImagesAreSharedByCopiesAndReplacedNotChanged) {
    const OType_Part original = SamplePart();
    OType_Part copy;
    original.CopyTo(copy);
    EXPECT_EQ(copy, original);
    EXPECT_EQ(copy.opGetImage(1), original.opGetImage(1)) << "copies share camera images";

    copy.SetImage(1, SmallImage(1, 9));
    EXPECT_NE(copy.opGetImage(1), original.opGetImage(1));
    EXPECT_EQ(original.opGetImage(1)->iGetLayers(), 3) << "the original keeps its image";
    copy.Features().At(0).value = 5.0;
    EXPECT_EQ(original.Features().dGetFeatureValueAt(0), 41.0) << "features are copied";

    copy.SetImage(-1, SmallImage(1, 1));
    EXPECT_EQ(copy.iGetNumImages(), 2);
    copy.SetImage(10, SmallImage(1, 1));
    EXPECT_EQ(copy.iGetNumImages(), 3) << "an index beyond the list appends";
    copy.AddImage(std::shared_ptr<const OType_Image>());
    EXPECT_EQ(copy.iGetNumImages(), 3);
    EXPECT_EQ(copy.opGetImage(3), nullptr);
    EXPECT_EQ(copy.GetImageShared(-1), nullptr);
}

TEST(Part, CopiesShareContourRunsAndFeaturesUntilChanged) {
    const OType_Part original = SamplePart();
    OType_Part copy = original;
    EXPECT_EQ(copy.opGetConturData(), original.opGetConturData()) << "runs are shared";
    EXPECT_EQ(&copy.BackupContour(), &original.BackupContour());
    EXPECT_TRUE(copy.Features().bSharesEntriesWith(original.Features()));

    copy.SetConturData({1, -2});
    copy.SetBackupContour({3, -4});
    EXPECT_EQ(copy.iGetColumns(), 1);
    EXPECT_EQ(original.iGetConturDataSize(), 6) << "the original keeps its runs";
    EXPECT_EQ(original.iGetColumns(), 2);
    EXPECT_EQ(original.BackupContour(), (std::vector<int16_t>{10, -25, 5, -31}));
    EXPECT_NE(copy, original);

    copy = original;
    copy.RemoveConturData();
    copy.RemoveBackupContour();
    EXPECT_EQ(copy.iGetConturDataSize(), 0);
    EXPECT_TRUE(copy.Contour().empty());
    EXPECT_FALSE(copy.bHasBackup());
    EXPECT_EQ(original.iGetConturDataSize(), 6);
    EXPECT_TRUE(original.bHasBackup());

    // Equal runs in separate storage compare equal.
    OType_Part rebuilt = original;
    rebuilt.SetConturData({10, -20, 5, 8, 12, -30});
    rebuilt.SetBackupContour({10, -25, 5, -31});
    rebuilt.Features().SetModified(false);
    rebuilt.SetModified(false);
    EXPECT_NE(rebuilt.opGetConturData(), original.opGetConturData());
    EXPECT_EQ(rebuilt, original);
}

TEST(Part, EveryContentCombinationRoundTrips) {
    const OType_Part part = SamplePart();
    for (uint32_t content = 0; content <= PartContent::kAll; ++content) {
        SCOPED_TRACE(content);
        const Bytes bytes = part.Encode(content);
        OType_Part back;
        ASSERT_EQ(back.iDecode(bytes), 1);
        EXPECT_EQ(back, Restricted(part, content));
        EXPECT_EQ(back.Encode(content), bytes);
        // The shared fields are there whatever the content.
        EXPECT_EQ(back.GetComment(), "first line\r\nsecond");
        EXPECT_EQ(back.iGetOrientation(), -3);
        EXPECT_EQ(back.DataOutputResults().size(), 2u);
    }
}

TEST(Part, ContentBitsBeyondTheKnownOnesAreNotWritten) {
    const OType_Part part = SamplePart();
    EXPECT_EQ(part.Encode(0xF0 | PartContent::kImages), part.Encode(PartContent::kImages));
}

TEST(Part, DefaultPartRoundTrips) {
    const OType_Part part;
    OType_Part back = SamplePart();
    ASSERT_EQ(back.iDecode(part.Encode()), 1);
    EXPECT_EQ(back, part);
}

TEST(Part, NewerEncodingKeepsItsExtraBytes) {
    const Bytes newer = WithExtraPayload(SamplePart().Encode(), FutureFields());
    OType_Part back;
    ASSERT_EQ(back.iDecode(newer), 1);
    EXPECT_EQ(back, SamplePart());
    EXPECT_EQ(back.Encode(), newer);
}

// Offset of the column count in an encoding of a part without comment: header 8, content,
// orientation, type 4 each, two flags, record number, empty comment 4, results 24,
// tolerance 4, modified 1, state 4, filter 4.
constexpr size_t kColumnsAt = 8 + 12 + 2 + 4 + 4 + 24 + 4 + 1 + 4 + 4;

TEST(Part, MalformedFieldsAreRefused) {
    OType_Part plain = SamplePart();
    plain.SetComment("");
    const Bytes valid = plain.Encode();
    auto refused = [](const Bytes& b) {
        OType_Part p = SamplePart();
        return p.iDecode(b) == 0 && p == OType_Part();
    };
    ASSERT_EQ(static_cast<int32_t>(U32At(valid, kColumnsAt)), 2);

    Bytes b = valid;
    SetU32At(b, 8, PartContent::kAll | 8);
    EXPECT_TRUE(refused(b)) << "unknown content bit";
    b = valid;
    SetU32At(b, kColumnsAt, static_cast<uint32_t>(-1));
    EXPECT_TRUE(refused(b)) << "negative column count";
    b = valid;
    SetU32At(b, kColumnsAt + 4, 0x7FFFFFFF);
    EXPECT_TRUE(refused(b)) << "contour longer than the data";
    const size_t firstImage = FindU32(valid, ObjectId::kImage);
    ASSERT_NE(firstImage, std::string::npos);
    b = valid;
    SetU32At(b, firstImage - 8, OType_Part::kMaxImages + 1);
    EXPECT_TRUE(refused(b)) << "too many images";
    b = valid;
    SetU32At(b, 4, ObjectId::kPartArray);
    EXPECT_TRUE(refused(b)) << "wrong object id";
    // The data-output result count comes before the results and the two device words.
    const size_t resultsAt = valid.size() - (4 + 4 + 3) - (4 + 4 + 0) - 4 - (4 + 4);
    ASSERT_EQ(U32At(valid, resultsAt), 2u);
    b = valid;
    SetU32At(b, resultsAt, 1000);
    EXPECT_TRUE(refused(b)) << "more results than the data holds";
}

TEST(Part, TruncatedAndRandomInputIsHandled) {
    ExpectBadInputHandled(
        SamplePart().Encode(), [] { return std::make_unique<OType_Part>(SamplePart()); },
        [](OType_Part& p, OByteStream& s) { return p.iDecode(s); },
        [](const OType_Part& p) { return p.Encode(); }, OType_Part().Encode());
}

}  // namespace
