// The device at 500 parts a second for 30 s into one project (run alone with
// `ctest --preset default -L session_load`): 15 s of sample parts under the delete-oldest
// policy, then 15 s of test parts under the delete-new policy. Afterwards every part the
// policy keeps is in its list, in the order the device made them, none twice, and the
// lists hold exactly their limits.
#include <chrono>
#include <iostream>

#include "document/CommandIds.h"
#include "model/strings/ResStr.h"
#include "session/SessionTestSupport.h"

using namespace sessiontest;

namespace {

constexpr int kSampleLimit = 2000;
constexpr int kTestLimit = 3000;
constexpr auto kPhase = std::chrono::seconds(15);

// The device's running number of a part ("#N" in its comment), -1 without one.
int64_t Label(const OType_Part& part) {
    const std::string& c = part.GetComment();
    if (c.size() < 2 || c[0] != '#') return -1;
    return std::stoll(c.substr(1));
}

std::vector<int64_t> Labels(const OType_PartArray& list) {
    std::vector<int64_t> labels;
    for (int i = 0; i < list.iGetSize(); ++i)
        labels.push_back(Label(*list.GetAt_NoSort(i)));
    return labels;
}

bool bConsecutive(const std::vector<int64_t>& labels) {
    for (size_t i = 1; i < labels.size(); ++i) {
        if (labels[i] != labels[i - 1] + 1) return false;
    }
    return true;
}

TEST(RecordingLoad, FiveHundredPartsASecondForThirtySeconds) {
    OSessionSetup setup;
    setup.target = {1, 778, 0, 6, 1, 8};
    setup.simOptions = {"--hardware", "1", "--rate", "500", "--label-parts", "--variants", "4"};
    OSessionFixture f(setup);
    OQuillon& session = f.Session();
    OType_Options& options = session.Options();
    options.partBufferSize = kSampleLimit;
    options.partLimitPolicy = 3;
    options.msgBeep = 1;
    options.displayReceivedPart = 1;
    f.ui.ExpectMessage(MsgResult::Ok, ResStr(7002));

    const auto start = std::chrono::steady_clock::now();
    f.Doc().OnCommand(Cmd::kRecordSampleParts, 0);
    ASSERT_TRUE(session.bIsDiagMode()) << Shown(f.ui);
    f.Pump(kPhase);
    // Between two notifications, as the user interface thread would: the same recording
    // goes on into the test list under another policy.
    session.SetRecordingTarget(0);
    options.partBufferSize = kTestLimit;
    options.partLimitPolicy = 1;
    session.ResetPartLimit();
    const uint64_t takenBeforeSwitch = f.Link().iGetReceivedPartCount();
    f.Pump(kPhase);
    ASSERT_EQ(f.Link().iSetDiagMode(0, 0), 1);
    f.Pump(std::chrono::milliseconds(300));
    ASSERT_TRUE(f.bPumpUntil([&] { return f.Link().iGetNumReceivedParts() == 0; }));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const OType_PartArray& samples = f.Set().TeachParts();
    const OType_PartArray& tests = f.Set().TestParts();
    const uint64_t received = f.Link().iGetReceivedPartCount();
    std::cout << "[ figures  ] " << received << " parts in " << seconds << " s ("
              << received / seconds << " parts/s); " << f.Link().iGetDroppedParts()
              << " dropped by the link\n";
    EXPECT_EQ(f.Link().iGetDroppedParts(), 0u);
    EXPECT_EQ(f.Link().iGetRefusedFrames(), 0u);
    ASSERT_GT(takenBeforeSwitch, static_cast<uint64_t>(kSampleLimit) * 2) << "the device was slow";
    ASSERT_GT(received - takenBeforeSwitch, static_cast<uint64_t>(kTestLimit) * 2);

    // Delete-oldest: exactly the limit, the newest sample parts in device order.
    ASSERT_EQ(samples.iGetSize(), kSampleLimit);
    const std::vector<int64_t> sampleLabels = Labels(samples);
    EXPECT_TRUE(bConsecutive(sampleLabels)) << "in order, none twice, none missing";
    for (int i = 0; i < samples.iGetSize(); ++i) {
        ASSERT_TRUE(samples.GetAt_NoSort(i)->bIsTeachPart());
        ASSERT_EQ(samples.GetAt_NoSort(i)->iGetOrientation(), 1);
    }
    // Delete-new: exactly the limit, the first test parts after the switch.
    ASSERT_EQ(tests.iGetSize(), kTestLimit);
    const std::vector<int64_t> testLabels = Labels(tests);
    EXPECT_TRUE(bConsecutive(testLabels));
    EXPECT_EQ(testLabels.front(), sampleLabels.back() + 1)
        << "the last sample part kept is the last one before the switch";
    EXPECT_EQ(session.iGetPartLimit(), kTestLimit) << "neither policy raises the limit";
    EXPECT_TRUE(f.ui.bAllScriptUsed()) << "no question: the policies do not ask";
}

}  // namespace
