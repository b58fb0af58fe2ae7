// Parts from the device: the stream in diagnostic mode, its notifications, trigger and
// test-image results, and the part log.
#include "LinkTestSupport.h"
#include "model/partset/OType_PartArray.h"

using namespace LinkProtocol;
using LinkTest::iConnect;
using LinkTest::MakeLink;

namespace {

// Columns end with a negative value; every run lies within the contour image.
bool bIsValidRunList(std::span<const int16_t> runs, int height) {
    if (runs.empty() || runs.size() % 2) return false;
    for (size_t i = 0; i < runs.size(); i += 2) {
        const int top = runs[i];
        const int bottom = std::abs(runs[i + 1]);
        if (top < 0 || top > bottom || bottom > height) return false;
    }
    return runs.back() < 0;
}

}  // namespace

TEST(LinkParts, ContourPartsArriveWithOneNotificationAtATime) {
    DevsimProcess sim({"--hardware", "1", "--rate", "400", "--schedule", "2:3x100"});
    OCommandQueue_Manual queue;
    auto link = MakeLink(sim, &queue);
    ASSERT_EQ(iConnect(*link), 1);
    ASSERT_EQ(link->commandEWDIAG(), 1);
    ASSERT_EQ(link->commandKONTUR(), 1);
    ASSERT_TRUE(LinkTest::bWaitForParts(*link, 10, std::chrono::seconds(5)));
    std::vector<std::pair<int, int64_t>> pending = queue.Pending();
    EXPECT_EQ(std::count(pending.begin(), pending.end(),
                         std::make_pair(LinkNotification::kContourPart, int64_t{0})),
              1);
    queue.Clear();
    EXPECT_GE(link->UpdateEKG(), 10);  // re-arms the notification
    ASSERT_TRUE(LinkTest::bWaitForParts(*link, 12, std::chrono::seconds(5)));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!queue.bHasPending(LinkNotification::kContourPart) &&
           std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(queue.bHasPending(LinkNotification::kContourPart));
    auto part = link->opTakeReceivedPart();
    ASSERT_TRUE(part);
    EXPECT_TRUE(bIsValidRunList(part->Contour(), 512));
    EXPECT_GT(part->iGetColumns(), 20);
    EXPECT_EQ(part->iGetNumImages(), 0);
    EXPECT_EQ(part->iGetType(), 2);
    EXPECT_EQ(part->iGetOrientation(), 3);
    EXPECT_DOUBLE_EQ(part->dGetResultValue(0), 12.5);
    EXPECT_FALSE(part->bIsTeachPart());
    // Leaving diagnostic mode stops the stream.
    ASSERT_EQ(link->iSetDiagMode(0, 0), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_TRUE(link->bRemoveAllReceivedParts());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(link->iGetNumReceivedParts(), 0);
}

TEST(LinkParts, CameraEditionsSendImagesOfTheSameParts) {
    DevsimProcess sim({"--hardware", "8", "--rate", "100", "--diag", "--send-mode", "4"});
    OCommandQueue_Manual queue;
    auto link = MakeLink(sim, &queue);
    ASSERT_EQ(iConnect(*link), 1);
    ASSERT_TRUE(LinkTest::bWaitForParts(*link, 3, std::chrono::seconds(5)));
    auto part = link->opTakeReceivedPart();
    ASSERT_TRUE(part);
    ASSERT_EQ(part->iGetNumImages(), 1);
    const OType_Image* image = part->opGetImage(0);
    EXPECT_EQ(image->iGetWidth(), 640);
    EXPECT_EQ(image->iGetHeight(), 480);
    EXPECT_EQ(image->iGetLayers(), 3);  // hardware 8 is a colour camera
    EXPECT_GT(part->iGetConturDataSize(), 2);
    EXPECT_TRUE(queue.bHasPending(LinkNotification::kImagePart));
    // Images only: send mode 0. Parts already on their way still carry their contours; from
    // the first part without one on, none has one.
    ASSERT_EQ(link->commandKONZEI(), 1);
    bool switched = false;
    int imageOnly = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (imageOnly < 3 && std::chrono::steady_clock::now() < end) {
        part = link->opTakeReceivedPart();
        if (!part) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        EXPECT_EQ(part->iGetNumImages(), 1);
        switched = switched || part->iGetConturDataSize() == 0;
        if (switched) {
            EXPECT_EQ(part->iGetConturDataSize(), 0);
            ++imageOnly;
        }
    }
    EXPECT_EQ(imageOnly, 3);
}

TEST(LinkParts, TestImagesAndTriggersAnswerWithAResultPart) {
    DevsimProcess sim({"--rate", "0.01"});
    OCommandQueue_Manual queue;
    auto link = MakeLink(sim, &queue);
    ASSERT_EQ(iConnect(*link), 1);
    OType_Image image(640, 480, 1);
    for (int x = 100; x < 200; ++x)
        image.SetPixel(x, 240, 0, 77);
    ASSERT_EQ(link->iTestSendImage(image), 1);
    ASSERT_EQ(link->iSendTrigger(), 1);
    ASSERT_TRUE(LinkTest::bWaitForParts(*link, 1, std::chrono::seconds(5)));
    auto part = link->opTakeReceivedPart();
    ASSERT_TRUE(part);
    ASSERT_EQ(part->iGetNumImages(), 1);
    EXPECT_EQ(*part->opGetImage(0), image);
    EXPECT_TRUE(queue.bHasPending(LinkNotification::kResultPart));
    EXPECT_EQ(link->iTestSendImage(OType_Image()), Result::kBadArgument);
    // "$CTRIGGR" needs diagnostic mode.
    OType_ComPackage trigger(1, 1, 1, 0);
    trigger.SetDownloadName("$CTRIGGR");
    EXPECT_EQ(trigger.iSendActionPackage(*link), Result::kRefusedInMode);
    ASSERT_EQ(link->commandEWDIAG(), 1);
    ASSERT_EQ(link->commandKONTUR(), 1);
    ASSERT_EQ(trigger.iSendActionPackage(*link), 1);
    ASSERT_TRUE(LinkTest::bWaitForParts(*link, 1, std::chrono::seconds(5)));
    part = link->opTakeReceivedPart();
    ASSERT_TRUE(part);
    EXPECT_GT(part->iGetConturDataSize(), 2);
}

TEST(LinkParts, ThePartLogIsCountedUploadedAndCleared) {
    DevsimProcess sim({"--rate", "200", "--diag", "--log-capacity", "5"});
    OCommandQueue_Manual queue;
    auto link = MakeLink(sim, &queue);
    ASSERT_EQ(iConnect(*link), 1);
    ASSERT_TRUE(LinkTest::bWaitForParts(*link, 8, std::chrono::seconds(5)));
    ASSERT_EQ(link->iSetDiagMode(0, 0), 1);
    ASSERT_EQ(link->commandSYNCRO(), 1);
    EXPECT_EQ(link->iGetNumLoggedParts(), 5);
    OType_ComPackage log(0, 1, 1, 0);
    log.SetUploadName("$UPT_LOG");
    ASSERT_EQ(log.iReceiveDataPackage(*link), 1);
    OType_PartArray parts;
    auto s = OByteStream_Memory::View(log.Data());
    ASSERT_EQ(parts.iDecode(s), 1);
    EXPECT_EQ(parts.iGetSize(), 5);
    OType_ComPackage clear(1, 1, 1, 0);
    clear.SetDownloadName("$CLPTLOG");
    ASSERT_EQ(clear.iSendActionPackage(*link), 1);
    ASSERT_EQ(link->commandSYNCRO(), 1);
    EXPECT_EQ(link->iGetNumLoggedParts(), 0);
}

TEST(LinkParts, AFullReceivedArrayDropsPartsInsteadOfGrowing) {
    DevsimProcess sim({"--rate", "500", "--diag"});
    auto link = MakeLink(sim, nullptr);
    link->SetReceivedPartLimits(5, 1u << 30);
    ASSERT_EQ(iConnect(*link), 1);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (link->iGetDroppedParts() < 3 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GE(link->iGetDroppedParts(), 3u);
    EXPECT_EQ(link->iGetNumReceivedParts(), 5);
    // While the caller holds the array, the receive thread waits for it.
    ASSERT_TRUE(link->bLockReceivedParts());
    EXPECT_EQ(link->ReceivedParts().iGetSize(), 5);
    link->UnlockReceivedParts();
}
