// The seven data-output kinds: what each sends for a part, the feature selection, where
// they run and how many, their properties and their encodings.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "KvtTestSupport.h"
#include "model/stream/OByteStream_Memory.h"
#include "tools/dataio/OType_DeviceDataIO_DataCollection.h"
#include "tools/dataio/OType_DeviceDataIO_EtherNetIP.h"
#include "tools/dataio/OType_DeviceDataIO_FileTransfer.h"
#include "tools/dataio/OType_DeviceDataIO_PartDetector.h"
#include "tools/dataio/OType_DeviceDataIO_TelmarViewer.h"
#include "tools/dataio/OType_DeviceDataIO_WebViewer.h"
#include "tools/dataio/OType_DeviceDataIO_XML.h"

using namespace KvtTest;

namespace {

std::string Text(const std::vector<uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// A part set with two ROI tools (features 1-4) and a part whose features are set by hand:
// area 12.5, share 50, an invalid one, and a text feature.
struct OFixture {
    ZRINFO info = CameraInfo();
    std::unique_ptr<OType_ZRPartSet> set = PartSet(info);
    OType_Part part;

    OFixture() {
        AddTool(*set, KvtToolKind::kROI);
        AddTool(*set, KvtToolKind::kROI);
        auto feature = [](double v, bool valid, std::string name) {
            OType_Feature f;
            f.value = v;
            f.valid = valid;
            f.name = std::move(name);
            return f;
        };
        part.Features().Add(feature(12.5, true, "A<1>"));
        part.Features().Add(feature(50, true, "B"));
        part.Features().Add(feature(0, false, "C"));
        OType_Feature text = feature(0, true, "Code");
        text.valueType = FeatureValueType::Text;
        text.textValue = "AB\"C";
        part.Features().Add(text);
        part.SetRecordNo(7);
        part.SetType(2);
        part.SetOrientation(3);
        part.SetResultValue(0, 42.25);
        part.SetResultValue(2, 1);
    }
    std::unique_ptr<OType_DeviceDataIO> Make(int kind) {
        auto output = set->DataOutputPrototypes().Create(kind);
        EXPECT_NE(output, nullptr) << kind;
        output->iInitForPartSet(*set, true);
        return output;
    }
    void Apply(OType_DeviceDataIO& output, const OPropertyValues& values) {
        std::string error;
        ASSERT_TRUE(output.bApplyProperties(values, {set.get(), &info}, error)) << error;
        output.UpdateFeatureIndexList(*set);
    }
};

}  // namespace

TEST(DataOutputs, AllSevenKindsAreRegisteredWithTheirMenuNames) {
    OFixture fx;
    const std::vector<std::pair<int, std::string>> kinds{{1, "Telnet - KVT..-Q Part Detector"},
                                                         {2, "EtherNet/IP - CIP Object"},
                                                         {3, "Telnet - KVT..-Q Data Collection"},
                                                         {4, "Telnet - XML"},
                                                         {5, "HTTP - WebViewer"},
                                                         {6, "Telmar - Mirrel (Viewer)"},
                                                         {7, "FTP - File transfer"}};
    for (const auto& [kind, name] : kinds) {
        auto output = fx.Make(kind);
        EXPECT_EQ(output->iGetDataIOType(), kind);
        EXPECT_EQ(output->GetKindName(), name);
    }
    EXPECT_EQ(fx.set->DataOutputPrototypes().Kinds(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
}

TEST(DataOutputs, PartDetectorSendsTypeOrientationAndVerdict) {
    OFixture fx;
    auto out = fx.Make(DataOutputKind::kPartDetector);
    EXPECT_EQ(out->iGetPacketId(), 1);
    EXPECT_EQ(out->GetName(), "Part detector 1");
    EXPECT_EQ(Text(out->ResultForPart(*fx.set, fx.part)), "1;2;3;1;42.250\r\n");
    fx.Apply(*out, {{"decimals", int64_t{0}}});
    fx.part.SetResultValue(0, 180);
    EXPECT_EQ(Text(out->ResultForPart(*fx.set, fx.part)), "1;2;3;0;180\r\n");
}

TEST(DataOutputs, DataCollectionWritesTheChosenFeaturesAsALine) {
    OFixture fx;
    auto out = fx.Make(DataOutputKind::kDataCollection);
    out->UpdateFeatureIndexList(*fx.set);
    EXPECT_EQ(Text(out->ResultForPart(*fx.set, fx.part)), "DC;7;2;3;12.500;50.000;;AB\"C\r\n");
    fx.Apply(
        *out,
        {{"features", std::string("2, 4")}, {"separator", int64_t{2}}, {"decimals", int64_t{1}}});
    EXPECT_EQ(Text(out->ResultForPart(*fx.set, fx.part)), "DC\t7\t2\t3\t50.0\tAB\"C\r\n");
}

TEST(DataOutputs, XmlEscapesTextsAndCanLeaveOutNames) {
    OFixture fx;
    auto out = fx.Make(DataOutputKind::kXML);
    fx.Apply(*out, {{"features", std::string("1,3-4")}, {"decimals", int64_t{1}}});
    EXPECT_EQ(Text(out->ResultForPart(*fx.set, fx.part)),
              "<Result packet=\"Result\" record=\"7\" type=\"2\" orientation=\"3\" good=\"1\">"
              "<Feature index=\"1\" name=\"A&lt;1&gt;\" valid=\"1\">12.5</Feature>"
              "<Feature index=\"3\" name=\"C\" valid=\"0\"></Feature>"
              "<Feature index=\"4\" name=\"Code\" valid=\"1\">AB&quot;C</Feature></Result>\r\n");
    fx.Apply(*out, {{"names", false}, {"features", std::string("2")}});
    EXPECT_EQ(Text(out->ResultForPart(*fx.set, fx.part)),
              "<Result packet=\"Result\" record=\"7\" type=\"2\" orientation=\"3\" good=\"1\">"
              "<Feature index=\"2\" valid=\"1\">50.0</Feature></Result>\r\n");
}

TEST(DataOutputs, EtherNetIpWritesTheAssemblyLittleEndian) {
    OFixture fx;
    auto out = fx.Make(DataOutputKind::kEtherNetIP);
    out->UpdateFeatureIndexList(*fx.set);
    const std::vector<uint8_t> bytes = out->ResultForPart(*fx.set, fx.part);
    ASSERT_EQ(bytes.size(), 10u + 4 + 4 * 4);
    auto u16 = [&](size_t at) { return bytes[at] | bytes[at + 1] << 8; };
    auto u32 = [&](size_t at) {
        uint32_t v;
        std::memcpy(&v, &bytes[at], 4);
        return v;
    };
    EXPECT_EQ(u16(0), 100);
    EXPECT_EQ(u16(2), 2);
    EXPECT_EQ(u16(4), 3);
    EXPECT_EQ(u16(6), 3) << "good and inside";
    EXPECT_EQ(u16(8), 4);
    EXPECT_EQ(u32(10), 0b0011u) << "the invalid and the text feature have their bits clear";
    EXPECT_EQ(std::bit_cast<float>(u32(14)), 12.5f);
    EXPECT_EQ(std::bit_cast<float>(u32(18)), 50.0f);
    EXPECT_EQ(u32(22), 0u);
    fx.Apply(*out, {{"format", int64_t{OType_DeviceDataIO_EtherNetIP::kDint}},
                    {"features", std::string("1")}});
    const std::vector<uint8_t> dint = out->ResultForPart(*fx.set, fx.part);
    ASSERT_EQ(dint.size(), 10u + 4 + 4);
    int32_t v;
    std::memcpy(&v, &dint[14], 4);
    EXPECT_EQ(v, 12500);
}

TEST(DataOutputs, WebViewerWritesJson) {
    OFixture fx;
    auto out = fx.Make(DataOutputKind::kWebViewer);
    fx.Apply(*out, {{"features", std::string("3-4")}, {"decimals", int64_t{2}}});
    EXPECT_EQ(Text(out->ResultForPart(*fx.set, fx.part)),
              "{\"record\":7,\"type\":2,\"orientation\":3,\"good\":true,\"deviation\":42.25,"
              "\"features\":[{\"index\":3,\"name\":\"C\",\"valid\":false,\"value\":null},"
              "{\"index\":4,\"name\":\"Code\",\"valid\":true,\"value\":\"AB\\\"C\"}]}");
}

TEST(DataOutputs, ViewerAndFtpSendImagesAsChosen) {
    OFixture fx;
    fx.part.AddImage(OType_Image(64, 48, 3));
    auto viewer = fx.Make(DataOutputKind::kTelmarViewer);
    std::vector<uint8_t> header = viewer->ResultForPart(*fx.set, fx.part);
    ASSERT_EQ(header.size(), 4u + 4 + 4 + 4 + 8 + 1 + 1 + 5);
    EXPECT_EQ(std::string(header.begin(), header.begin() + 4), "KVV1");
    EXPECT_EQ(header[24], 1) << "a good part";
    EXPECT_EQ(header[25], 1) << "an image follows";
    EXPECT_EQ(header[26] | header[27] << 8, 64);
    EXPECT_EQ(header[30], 3);
    fx.Apply(*viewer, {{"images", int64_t{1}}});
    EXPECT_EQ(viewer->ResultForPart(*fx.set, fx.part)[25], 0) << "a good part: no image";

    auto ftp = fx.Make(DataOutputKind::kFileTransfer);
    fx.Apply(*ftp, {{"ftp.folder", std::string("/parts")},
                    {"ftp.pattern", std::string("t{type}_o{orientation}_{record}")},
                    {"images", int64_t{0}},
                    {"features", std::string("1")},
                    {"decimals", int64_t{1}}});
    EXPECT_EQ(Text(ftp->ResultForPart(*fx.set, fx.part)),
              "STOR /parts/t2_o3_7.bmp\r\nAPPE /parts/results.csv\r\n7;2;3;12.5\r\n");
    std::string error;
    EXPECT_FALSE(ftp->bApplyProperties({{"ftp.pattern", std::string("../x")}},
                                       {fx.set.get(), &fx.info}, error));
    EXPECT_FALSE(ftp->bApplyProperties({{"ftp.pattern", std::string("a/b")}},
                                       {fx.set.get(), &fx.info}, error));
    EXPECT_FALSE(
        ftp->bApplyProperties({{"ftp.server", std::string()}}, {fx.set.get(), &fx.info}, error));
}

TEST(DataOutputs, FeatureSelectionsAreCheckedAndFollowTheirTools) {
    OFixture fx;
    auto out = fx.Make(DataOutputKind::kDataCollection);
    std::string error;
    const OPropertyContext context{fx.set.get(), &fx.info};
    for (const char* bad : {"0", "5", "2-1", "x", "1;2", ""})
        EXPECT_FALSE(out->bApplyProperties({{"features", std::string(bad)}}, context, error))
            << bad;
    fx.Apply(*out, {{"features", std::string("3,4,3")}});
    auto& kind = static_cast<ODataOutputKind&>(*out);
    EXPECT_EQ(kind.FeatureIndices(), (std::vector<int>{2, 3}));
    EXPECT_EQ(kind.Features().Text(fx.set.get()), "3,4");
    // The first tool goes: the chosen features move down with their tool.
    fx.set->Tools().RemoveAt(0);
    out->UpdateFeatureIndexList(*fx.set);
    EXPECT_EQ(kind.FeatureIndices(), (std::vector<int>{0, 1}));
    fx.set->Tools().RemoveAt(0);
    out->UpdateFeatureIndexList(*fx.set);
    EXPECT_TRUE(kind.FeatureIndices().empty());
    EXPECT_TRUE(kind.Features().Refs().empty()) << "references of removed tools are dropped";
}

TEST(DataOutputs, RunOnTheNewPlatformAndImagesNeedACamera) {
    OFixture fx;
    ODeviceInfoRequest classic;
    classic.target = {1, 778, 0, 6, 1, 8};
    classic.tools = 7;
    const ZRINFO talon = DeviceInfo::MakeWithoutDevice(classic);
    ODeviceInfoRequest contour;
    contour.target = {16, 818, 0, 16, 1, 8};
    contour.fixedFeatures = 0;
    contour.tools = 256;
    const ZRINFO tamrin = DeviceInfo::MakeWithoutDevice(contour);
    std::string reason;
    for (int kind = 1; kind <= 7; ++kind) {
        auto out = fx.Make(kind);
        EXPECT_TRUE(out->bIsAvailable(fx.info, reason)) << kind;
        EXPECT_FALSE(out->bIsAvailable(talon, reason)) << kind;
        EXPECT_FALSE(reason.empty());
        const bool images = kind >= 5;
        EXPECT_EQ(out->bIsAvailable(tamrin, reason), !images) << kind;
        EXPECT_EQ(out->iCheckPropertyCompatibility(tamrin, reason), images ? 1 : 0);
    }
    EXPECT_EQ(fx.Make(DataOutputKind::kDataCollection)->iGetMaxInstances(fx.info), 4);
    EXPECT_EQ(fx.Make(DataOutputKind::kEtherNetIP)->iGetMaxInstances(fx.info), 1);
}

namespace {
std::vector<uint8_t> Encoded(const OType_DeviceDataIO& output) {
    OByteStream_Memory s;
    output.iEncode(s);
    return {s.Bytes().begin(), s.Bytes().end()};
}
}  // namespace

TEST(DataOutputs, EncodingsRoundTripAndRefuseDamage) {
    OFixture fx;
    for (int kind = 1; kind <= 7; ++kind) {
        auto out = fx.Make(kind);
        OPropertyValues changes{{"name", std::string("Out ") + std::to_string(kind)}};
        if (kind != DataOutputKind::kPartDetector && kind != DataOutputKind::kTelmarViewer)
            changes["features"] = std::string("2-3");
        fx.Apply(*out, changes);
        const std::vector<uint8_t> bytes = Encoded(*out);
        auto view = OByteStream_Memory::View(bytes);
        auto back =
            OType_DeviceDataIOArray::opCreateFromStream(view, fx.set->DataOutputPrototypes());
        ASSERT_NE(back, nullptr) << kind;
        EXPECT_EQ(back->GetName(), "Out " + std::to_string(kind));
        EXPECT_EQ(Encoded(*back), bytes) << kind;
        EXPECT_EQ(Encoded(*back->Clone()), bytes) << kind;
        back->UpdateFeatureIndexList(*fx.set);
        EXPECT_EQ(back->ResultForPart(*fx.set, fx.part), out->ResultForPart(*fx.set, fx.part))
            << kind;
        for (size_t n = 0; n < bytes.size(); ++n) {
            const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<long>(n));
            auto s = OByteStream_Memory::View(cut);
            EXPECT_EQ(
                OType_DeviceDataIOArray::opCreateFromStream(s, fx.set->DataOutputPrototypes()),
                nullptr)
                << kind << " cut at " << n;
        }
    }
}
