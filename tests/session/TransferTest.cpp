// Check-program and part-data transfers against kalvor-devsim: round trips by number and
// by name, time-outs, the device's refusals and their messages, busy devices, both
// part-data protocols (with the 2380- and 2044-byte records), the coordinate
// transformation and the one-shot actions; a connection dropped in the middle of a
// download.
#include <cmath>

#include "SessionTestSupport.h"
#include "document/CommandIds.h"
#include "model/partset/PartDataEncoding.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/strings/ResStr.h"

using namespace sessiontest;
using namespace LinkProtocol;

namespace {

OSessionSetup For(const OTargetSystem& target, std::vector<std::string> simOptions) {
    OSessionSetup s;
    s.target = target;
    s.simOptions = std::move(simOptions);
    return s;
}

constexpr OTargetSystem kTamrin{16, 818, 0, 6, 1, 8};
constexpr OTargetSystem kTalon{1, 778, 0, 6, 1, 8};

// Teach-Data for a part type: `orientations` orientations of `features` vectors.
void FillTeachData(OType_ZRPartSet_SubType& type, int orientations, int features, double scale) {
    type.SetName("bracket");
    type.SetTolerance(7);
    type.SetCounterTarget(12);
    type.Vectors().RemoveAll();
    for (int o = 0; o < orientations; ++o) {
        OType_VectorArray& a = type.Vectors().Add();
        a.SetPartCount(10 + o);
        for (int f = 0; f < features; ++f) {
            OType_Vector v;
            v.featureType = 30 + f;
            v.name = "feature " + std::to_string(f);
            v.mean = scale * (f + 1) + o * 0.37;
            v.lowerBound = v.mean - 1.25 * (f + 1);
            v.upperBound = v.mean + 2.5;
            v.minimum = v.lowerBound + 0.1;
            v.maximum = v.upperBound - 0.1;
            v.option = static_cast<uint32_t>(f % 4);
            a.Add(v);
        }
    }
    type.SetNumOrientations(orientations);
    type.SetNumFeatures(features);
    type.SetHasData(true);
}

std::vector<uint8_t> ProgramBytes(const OType_ZRPartSet& set) {
    return set.Encode(0, 0);
}

// A part set whose device encoding is about `megabytes` MiB large (many stored vectors).
void MakeLargeProgram(OType_ZRPartSet& set, double megabytes) {
    set.SetNumSubTypes(0);
    while (set.iGetObjectSize(0, 0) < megabytes * 1048576) {
        OType_ZRPartSet_SubType* type = set.opAddSubType();
        FillTeachData(*type, 8, 40, 100);
    }
}

TEST(SessionTransfer, ProgramTimeOutGrowsWithTheProgram) {
    EXPECT_EQ(OQuillon::iProgramTimeOutSec(500000), 10);
    EXPECT_EQ(OQuillon::iProgramTimeOutSec(1048575), 10);
    EXPECT_EQ(OQuillon::iProgramTimeOutSec(1048576), 20);
    EXPECT_EQ(OQuillon::iProgramTimeOutSec(static_cast<uint64_t>(3.5 * 1048576)), 40);
}

TEST(SessionTransfer, ProgramByNumberRoundTripKeepsOrReplacesTheParts) {
    OSessionFixture f(For(kTamrin, {"--hardware", "16"}));
    OQuillon& session = f.Session();
    OType_ZRPartSet& set = f.Set();
    set.SetName("Sorter A");
    FillTeachData(*set.opGetSubType(0), 2, 5, 10);
    const std::vector<uint8_t> sent = ProgramBytes(set);
    ASSERT_EQ(session.DownloadProgram(0, 3, 0), 1) << Shown(f.ui);
    EXPECT_EQ(f.Sim().iCount(kOpPackageSend, "$DCPRGDT"), 1);
    EXPECT_EQ(f.Sim().iCount(kOpSync), 1) << "one keep-alive after the download";

    set.TeachParts().Add(OType_Part());
    set.TestParts().Add(OType_Part());
    set.opGetSubType(0)->Clear();
    ASSERT_EQ(session.UploadProgram(0, 3, 0), 1);
    EXPECT_EQ(set.TeachParts().iGetSize(), 1) << "replace-all clear keeps the parts";
    EXPECT_EQ(set.TestParts().iGetSize(), 1);
    EXPECT_EQ(ProgramBytes(set), sent);
    ASSERT_EQ(session.UploadProgram(0, 3, 1), 1);
    EXPECT_TRUE(set.TeachParts().bIsEmpty()) << "replace-all empties the part set";
    EXPECT_EQ(ProgramBytes(set), sent);
    EXPECT_EQ(session.UploadProgram(5, 3, 1), 0) << "no such part set";
    EXPECT_EQ(f.Link().iGetTimeOut_SEC(), 5) << "the time-out is restored";
    EXPECT_TRUE(f.ui.Texts().empty());
}

TEST(SessionTransfer, TheTransferTimeOutCoversASlowDevice) {
    OSessionSetup setup = For(kTamrin, {"--hardware", "16", "--delay-ms", "1300"});
    setup.linkTimeOutSec = 1;
    OSessionFixture f(setup);
    ASSERT_EQ(f.Session().DownloadProgram(0, 1, 0), 1) << "10 s while sending" << Shown(f.ui);
    EXPECT_EQ(f.Link().iGetTimeOut_SEC(), 1);
    ASSERT_EQ(f.Session().UploadProgram(0, 1, 1), 1) << "30 s while receiving";
    EXPECT_EQ(f.Link().iGetTimeOut_SEC(), 1);
    EXPECT_EQ(f.Link().commandSYNCRO(), Result::kTimeOut) << "outside a transfer 1 s is short";
}

TEST(SessionTransfer, ProgramAsANamedFileRoundTrip) {
    OSessionFixture f(For(kTamrin, {"--hardware", "16"}));
    OType_ZRPartSet& set = f.Set();
    set.SetName("Sorter B");
    set.SetTimeStamp(1700000123);
    set.SetProgramNo(4);
    FillTeachData(*set.opGetSubType(0), 3, 4, 2);
    const std::vector<uint8_t> sent = ProgramBytes(set);
    ASSERT_EQ(f.Session().DownloadProgramFile(0), 1) << Shown(f.ui);
    EXPECT_EQ(f.Sim().iCount(kOpPackageSend, "$DCPRG_F"), 1);
    OType_ZRPartSet copy;
    f.Session().PreparePartSet(copy);
    ASSERT_EQ(f.Session().UploadProgramFile(copy, "Sorter B"), 1) << Shown(f.ui);
    EXPECT_EQ(copy.GetName(), "Sorter B");
    EXPECT_EQ(copy.iGetTimeStamp(), 1700000123);
    EXPECT_EQ(ProgramBytes(copy), sent);
    ASSERT_EQ(f.Sim().Trace().back().name, "$UCPRG_F");
    EXPECT_EQ(f.Session().UploadProgramFile(copy, "Nobody"), 0);
    EXPECT_EQ(f.ui.Texts(), std::vector<std::string>{ResStr(2073)}) << "17476: no such program";
}

TEST(SessionTransfer, ClearingAProgram) {
    OSessionFixture f(For(kTamrin, {"--hardware", "16"}));
    ASSERT_EQ(f.Session().DownloadProgram(0, 2, 0), 1);
    ASSERT_EQ(f.Session().ClearProgram(2), 1);
    const OTraceLine clear = f.Sim().Trace().back();
    EXPECT_EQ(clear.op, kOpPackageAction);
    EXPECT_EQ(clear.name, "$CCPRGDT");
    EXPECT_EQ(clear.number, 2u);
    EXPECT_EQ(clear.result, 1) << "the device takes the two bytes 0, 1";
    EXPECT_EQ(f.Link().iGetTimeOut_SEC(), 5);
    EXPECT_EQ(f.Session().UploadProgram(0, 2, 1), 0);
    EXPECT_EQ(f.ui.Texts(), std::vector<std::string>{ResStr(2073)});
    EXPECT_EQ(f.Session().ClearProgram(65535), 1) << "every program";
}

TEST(SessionTransfer, RejectedTransfersShowTheirMessages) {
    struct Case {
        int code;
        int download, upload;
    };
    for (const Case& c : {Case{8738, 2068, 2068}, Case{13107, 2069, 2069}, Case{17476, 2073, 2073},
                          Case{3855, 2074, 2070}}) {
        SCOPED_TRACE("code " + std::to_string(c.code));
        OSessionFixture f(For(kTamrin, {"--hardware", "16", "--reject", std::to_string(c.code)}));
        EXPECT_EQ(f.Session().DownloadProgram(0, 1, 0), 0);
        EXPECT_EQ(f.Session().UploadProgram(0, 1, 1), 0);
        EXPECT_EQ(f.ui.Texts(), (std::vector<std::string>{ResStr(c.download), ResStr(c.upload)}));
        f.ui.Clear();
        EXPECT_EQ(f.Session().DownloadProgram(0, 1, 1), 0);
        EXPECT_TRUE(f.ui.Texts().empty()) << "a silent download shows nothing";
        EXPECT_EQ(f.Session().DownloadProgramFile(0), 0);
        if (c.code != 3855) {
            EXPECT_EQ(f.ui.Texts(), std::vector<std::string>{ResStr(c.download)});
        }
    }
}

TEST(SessionTransfer, AProgramThatDoesNotFitIsNotSent) {
    OSessionFixture f(For(kTamrin, {"--hardware", "16"}));
    f.Set().SetNumSubTypes(7);  // the target holds 6 part types
    EXPECT_EQ(f.Session().DownloadProgram(0, 1, 1), 0);
    EXPECT_TRUE(f.ui.Texts().empty());
    EXPECT_EQ(f.Session().DownloadProgram(0, 1, 0), 0);
    EXPECT_EQ(f.Session().DownloadProgramFile(0), 0);
    ASSERT_EQ(f.ui.Texts().size(), 2u);
    EXPECT_EQ(f.ui.Texts()[0].rfind(ResStr(2018), 0), 0u) << f.ui.Texts()[0];
    EXPECT_EQ(f.Sim().iCount(kOpPackageSend), 0);
}

TEST(SessionTransfer, ABusyDeviceRefusesTransfersWithoutTraffic) {
    OSessionFixture f(For(kTamrin, {"--hardware", "16", "--busy-after", "1", "--busy-for", "30"}));
    OQuillon& session = f.Session();
    ASSERT_EQ(session.EnsureConnected(), 1);
    ASSERT_EQ(f.Link().commandSYNCRO(), 1);
    ASSERT_TRUE(session.bIsBusy());
    const size_t before = f.Sim().iSize();
    EXPECT_EQ(session.DownloadProgram(0, 1, 0), 0);
    EXPECT_EQ(session.UploadProgram(0, 1, 1), 0);
    EXPECT_EQ(session.DownloadProgramFile(0), 0);
    EXPECT_EQ(session.ClearProgram(1), 0);
    EXPECT_EQ(session.DownloadPartData(0, 1), 0);
    EXPECT_EQ(session.UploadPartData(0, 1), 0);
    EXPECT_EQ(session.ClearPartData(1), 0);
    EXPECT_EQ(session.SendErrorAcknowledge(), 0);
    EXPECT_EQ(session.SendCoordinateTransformation(), 0);
    EXPECT_EQ(f.Sim().iSize(), before) << "nothing was sent";
    EXPECT_TRUE(f.ui.Texts().empty());
}

TEST(SessionTransfer, ADropInTheMiddleOfADownloadLeavesTheProjectAsItWas) {
    OSessionFixture f(For({16, 818, 0, 512, 16, 8},
                          {"--hardware", "16", "--part-types", "512", "--drop-after", "2"}));
    OQuillon& session = f.Session();
    OType_ZRPartSet& set = f.Set();
    MakeLargeProgram(set, 2.5);
    set.TeachParts().Add(OType_Part());
    const std::vector<uint8_t> before = set.Encode();
    ASSERT_EQ(session.EnsureConnected(), 1);
    EXPECT_EQ(session.DownloadProgram(0, 1, 0), 0);
    EXPECT_EQ(f.Sim().iCount(kOpPackageSend, "$DCPRGDT"), 2) << "two of three pieces went";
    EXPECT_EQ(f.ui.Texts(), std::vector<std::string>{ResStr(2074)});
    EXPECT_EQ(set.Encode(), before);
    f.ui.ExpectMessage(MsgResult::No, ResStr(6399));
    ASSERT_TRUE(f.bPumpUntil([&] { return f.ui.Texts().size() == 2; }));
    f.Pump(std::chrono::milliseconds(100));
    EXPECT_EQ(f.ui.Texts().size(), 2u) << "the loss is asked once";
    ASSERT_EQ(session.EnsureConnected(), 1);
    EXPECT_EQ(f.Sim().iCount(kOpLogin), 2) << "reconnected";
}

// --- part data ---

TEST(SessionPartData, PackageProtocolRoundTripAndClear) {
    OSessionFixture f(For(kTamrin, {"--hardware", "16"}));
    OQuillon& session = f.Session();
    OType_ZRPartSet& set = f.Set();
    set.SetName("program 7");
    FillTeachData(*set.opGetSubType(0), 3, 6, 12.5);
    const OType_ZRPartSet_SubType sent = *set.opGetSubType(0);
    ASSERT_EQ(session.DownloadPartData(0, 2), 1) << Shown(f.ui);
    EXPECT_EQ(f.Sim().iCount(kOpPackageSend, "$DPARTDT"), 1);
    set.opGetSubType(0)->Clear();
    set.SetName("renamed");
    ASSERT_EQ(session.UploadPartData(0, 2), 1);
    EXPECT_EQ(*set.opGetSubType(0), sent);
    EXPECT_EQ(set.GetName(), "program 7") << "the name comes back from the data";

    ASSERT_EQ(session.ClearPartData(2), 1);
    EXPECT_EQ(f.Sim().Trace().back().name, "$CPARTDT");
    EXPECT_EQ(f.Sim().Trace().back().result, 1);
    EXPECT_EQ(session.UploadPartData(0, 2), 0) << "cleared";
    EXPECT_EQ(*set.opGetSubType(0), sent) << "a failed upload changes nothing";
    EXPECT_EQ(session.DownloadPartData(0, 0), 0) << "numbers start at 1";
    EXPECT_EQ(session.UploadPartData(3, 1), 0) << "no such part type";
}

TEST(SessionPartData, LegacyProtocolRoundTripAndClear) {
    OSessionFixture f(For(kTalon, {"--hardware", "1"}));
    OQuillon& session = f.Session();
    OType_ZRPartSet& set = f.Set();
    set.SetName("legacy");
    FillTeachData(*set.opGetSubType(0), 3, 12, 1234.5678);
    const OType_ZRPartSet_SubType sent = *set.opGetSubType(0);
    ASSERT_EQ(session.DownloadPartData(0, 2), 1) << Shown(f.ui);
    EXPECT_EQ(f.Sim().iCount(kOpDownloadParame), 1);
    EXPECT_EQ(f.Sim().iCount(kOpDownloadCondat), 1);
    set.opGetSubType(0)->Clear();
    set.opGetSubType(0)->SetName("");
    ASSERT_EQ(session.UploadPartData(0, 2), 1) << Shown(f.ui);
    const OType_ZRPartSet_SubType& got = *set.opGetSubType(0);
    EXPECT_EQ(got.GetName(), "bracket");
    EXPECT_EQ(got.iGetTolerance(), 7);
    EXPECT_EQ(got.iGetCounterTarget(), 12u);
    ASSERT_EQ(got.Vectors().iGetNum(), 3);
    for (int o = 0; o < 3; ++o) {
        const OType_VectorArray& a = *got.Vectors().opGetAt(o);
        const OType_VectorArray& b = *sent.Vectors().opGetAt(o);
        ASSERT_EQ(a.iGetNumOfVectors(), 12);
        EXPECT_EQ(a.iGetPartCount(), b.iGetPartCount());
        for (int i = 0; i < 12; ++i) {
            // Four significant digits of the largest value of the feature.
            const double tolerance = std::fabs(b.At(i).upperBound) * 5e-4;
            EXPECT_NEAR(a.At(i).mean, b.At(i).mean, tolerance);
            EXPECT_NEAR(a.At(i).lowerBound, b.At(i).lowerBound, tolerance);
            EXPECT_NEAR(a.At(i).upperBound, b.At(i).upperBound, tolerance);
            EXPECT_EQ(a.At(i).featureType, b.At(i).featureType);
            EXPECT_EQ(a.At(i).option, b.At(i).option);
        }
    }
    ASSERT_EQ(session.ClearPartData(2), 1);
    OLegacyTransferBuffer& buffer = f.Link().opGetTransferBuffer();
    buffer.SetNumber(2);
    ASSERT_EQ(f.Link().uploadPARAME(), 1);
    EXPECT_EQ(buffer.parameters[1], 1);
    EXPECT_EQ(buffer.parameters[17], 12 + 7) << "fixed features plus the tool capacity";
    EXPECT_EQ(buffer.parameters[0], 0);
    ASSERT_EQ(session.UploadPartData(0, 2), 1);
    EXPECT_FALSE(set.opGetSubType(0)->bHasData()) << "a cleared record empties the part type";
    EXPECT_EQ(set.opGetSubType(0)->Vectors().iGetNum(), 0);
}

TEST(SessionPartData, AShortLegacyRecordGoesWithItsConditionBlockZero) {
    OSessionFixture f(For(kTalon, {"--hardware", "1"}));
    OQuillon& session = f.Session();
    OType_ZRPartSet& set = f.Set();
    FillTeachData(*set.opGetSubType(0), 2, 8, 50);
    std::vector<uint8_t> record;
    int protocol = -1;
    ASSERT_EQ(iEncodePartSet_SubType_PartData(set, 0, 0, record, protocol), 1);
    ASSERT_EQ(record.size(), 2044u);
    // Something in the device's condition block first, which the download must zero.
    session.SetPartDataFormat(1);
    ASSERT_EQ(session.DownloadPartData(0, 3), 1);
    session.SetPartDataFormat(0);
    ASSERT_EQ(session.DownloadPartData(0, 3), 1) << Shown(f.ui);
    OLegacyTransferBuffer& buffer = f.Link().opGetTransferBuffer();
    buffer.SetNumber(3);
    ASSERT_EQ(f.Link().uploadPARAME(), 1);
    EXPECT_TRUE(std::equal(record.begin() + 2, record.end(), buffer.parameters.begin()));
    buffer.PutNumberIntoBytes(3);
    ASSERT_EQ(f.Link().uploadCONDAT(), 1);
    EXPECT_TRUE(std::all_of(buffer.conditions.begin(), buffer.conditions.end(),
                            [](uint8_t b) { return b == 0; }));
}

TEST(SessionPartData, ADeviceOfProtocolTwoTakesNoPartDataAndIsNotAsked) {
    OSessionFixture f(For(kTamrin, {"--hardware", "16", "--part-data-protocol", "2"}));
    OQuillon& session = f.Session();
    ZRINFO info;
    ASSERT_EQ(session.UploadDeviceInfo(info), 1);
    ASSERT_EQ(session.iGetDevicePartDataProtocol(), 2);
    const size_t before = f.Sim().iSize();
    EXPECT_EQ(session.DownloadPartData(0, 1), 0);
    EXPECT_EQ(session.UploadPartData(0, 1), 0);
    EXPECT_EQ(session.ClearPartData(1), 0);
    EXPECT_EQ(session.ClearAllPartData(), 0);
    EXPECT_EQ(f.Sim().iSize(), before);
    EXPECT_TRUE(f.ui.Texts().empty());
}

TEST(SessionPartData, AProtocolOtherThanTheDevicesShows2017) {
    OSessionFixture f(For(kTamrin, {"--hardware", "16", "--part-data-protocol", "0"}));
    ZRINFO info;
    ASSERT_EQ(f.Session().UploadDeviceInfo(info), 1);
    FillTeachData(*f.Set().opGetSubType(0), 1, 2, 1);
    const size_t before = f.Sim().iSize();
    EXPECT_EQ(f.Session().DownloadPartData(0, 1), 0);
    EXPECT_EQ(f.ui.Texts(), std::vector<std::string>{ResStr(2017)});
    EXPECT_EQ(f.Sim().iSize(), before);
}

TEST(SessionPartData, ClearingAllPartTypesCountsThroughThem) {
    OSessionFixture f(For(kTamrin, {"--hardware", "16"}));
    ASSERT_EQ(f.Session().ClearAllPartData(), 1);
    std::vector<uint32_t> numbers;
    for (const OTraceLine& l : f.Sim().Trace()) {
        if (l.name == "$CPARTDT") numbers.push_back(l.number);
    }
    EXPECT_EQ(numbers, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
    std::vector<std::string> counting;
    for (const std::string& text : f.headless->StatusBar().StatusTexts()) {
        if (text.rfind("Processing", 0) == 0) counting.push_back(text);
    }
    ASSERT_EQ(counting.size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(counting[static_cast<size_t>(i)], ResStrFormat(2119, i + 1, 6));
    EXPECT_EQ(f.headless->StatusBar().StatusTexts().back(), " ") << "cleared at the end";
}

TEST(SessionPartData, ClearingAllStopsAtTheFirstFailure) {
    OSessionFixture f(For(kTamrin, {"--hardware", "16", "--part-types", "3"}));
    EXPECT_EQ(f.Session().ClearAllPartData(), 0) << "the device has 3 of the project's 6 types";
    int clears = 0;
    for (const OTraceLine& l : f.Sim().Trace())
        clears += l.name == "$CPARTDT" ? 1 : 0;
    EXPECT_EQ(clears, 4);
}

// --- coordinate transformation and one-shot actions ---

TEST(SessionTransfer, CoordinateTransformationCalibrateReceiveSend) {
    OSessionFixture f(For({7, 818, 0, 6, 1, 8}, {"--hardware", "7"}));
    OQuillon& session = f.Session();
    ASSERT_EQ(session.EnsureConnected(), 1);
    ASSERT_EQ(session.iGetSendMode(), 1);
    ASSERT_EQ(session.CalibrateCoordinateTransformation(), 1) << Shown(f.ui);
    ASSERT_TRUE(session.CoordTransformer().bIsSetUp());
    const auto calibrated = session.CoordTransformer().oGetParameters().ToDoubles();
    EXPECT_EQ(session.iGetSendMode(), 1) << "back to contour images only, as before";
    EXPECT_TRUE(session.bIsDiagMode());
    EXPECT_EQ(f.Sim().iCount(kOpPartImagesOn), 1);
    EXPECT_EQ(f.Sim().iCount(kOpPartImagesOff), 1);
    session.CoordTransformer().Reset();
    ASSERT_EQ(session.ReceiveCoordinateTransformation(), 1);
    EXPECT_EQ(session.CoordTransformer().oGetParameters().ToDoubles(), calibrated);
    ASSERT_EQ(session.SendCoordinateTransformation(), 1);
    EXPECT_EQ(f.Sim().iCount(kOpCoordSend), 1);
    const auto texts = f.headless->StatusBar().StatusTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), ResStr(4179)), texts.end());
}

TEST(SessionTransfer, CalibrationOfflineEntersAndThenLeavesDiagnosticMode) {
    OSessionFixture f(For({7, 818, 0, 6, 1, 8}, {"--hardware", "7"}));
    ASSERT_EQ(f.Session().CalibrateCoordinateTransformation(), 1) << Shown(f.ui);
    EXPECT_TRUE(f.Session().CoordTransformer().bIsSetUp());
    EXPECT_FALSE(f.Session().bIsDiagMode());
    EXPECT_EQ(f.Sim().iCount(kOpEwDiag), 1);
    EXPECT_EQ(f.Sim().iCount(kOpSetDiagMode), 1);
}

TEST(SessionTransfer, CalibrationIsRefusedInTheDisplayModes) {
    for (const auto& [mode, text] : {std::pair{"2", 4012}, std::pair{"3", 4015}}) {
        OSessionFixture f(For({7, 818, 0, 6, 1, 8}, {"--hardware", "7", "--send-mode", mode}));
        ASSERT_EQ(f.Session().EnsureConnected(), 1);
        EXPECT_EQ(f.Session().CalibrateCoordinateTransformation(), 0);
        EXPECT_EQ(f.ui.Texts(), std::vector<std::string>{ResStr(text)});
        EXPECT_EQ(f.Sim().iCount(kOpCoordCalibrate), 0);
    }
}

TEST(SessionTransfer, OneShotActions) {
    OSessionFixture f(For(kTamrin, {"--hardware", "16"}));
    f.Doc().OnCommand(Cmd::kConnect, 0);
    ASSERT_TRUE(f.Doc().GetCommandState(Cmd::kSendErrorAcknowledge).enabled);
    f.Doc().OnCommand(Cmd::kSendErrorAcknowledge, 0);
    f.Doc().OnCommand(Cmd::kSendAcceptCheckProgram, 0);
    EXPECT_EQ(f.Sim().iCount(kOpPackageAction, "$CERRACK"), 1);
    EXPECT_EQ(f.Sim().iCount(kOpPackageAction, "$CCHGPRG"), 1);
    EXPECT_TRUE(f.ui.Texts().empty());

    // A classic device has no such commands.
    OSessionFixture g(For(kTamrin, {"--hardware", "1"}));
    ASSERT_EQ(g.Session().EnsureConnected(), 1);
    EXPECT_EQ(g.Session().SendErrorAcknowledge(), 0);
    EXPECT_EQ(g.ui.Texts(), std::vector<std::string>{ResStr(4174)});
    // And a classic project does not offer them.
    OSessionFixture h(For(kTalon, {"--hardware", "1"}));
    h.Doc().OnCommand(Cmd::kConnect, 0);
    EXPECT_FALSE(h.Doc().GetCommandState(Cmd::kSendErrorAcknowledge).enabled);
    EXPECT_FALSE(h.Doc().GetCommandState(Cmd::kSendCoordTrans).enabled);
}

}  // namespace
