// kalvor-devsim as a program: its options, its editions, its synthetic parts and its
// robustness against hostile frames; kalvorctl's device verbs against it.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <set>
#include <thread>

#include "device/TargetSystem.h"
#include "link/LinkPayloads.h"
#include "link/OLinkFrame.h"
#include "link/OQuillonComInterface_TCP.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "support/DevsimProcess.h"
#include "support/TempDir.h"

using namespace LinkProtocol;

namespace {

struct ORun {
    int status = -1;
    std::string output;
};

ORun RunCommand(const std::string& command) {
    ORun r;
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0)
        r.output.append(buffer, n);
    const int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::unique_ptr<OQuillonComInterface_TCP> Connect(const DevsimProcess& sim) {
    auto link = std::make_unique<OQuillonComInterface_TCP>(nullptr, nullptr, nullptr, nullptr, 0);
    link->SetAddress("127.0.0.1");
    link->SetPorts(sim.PortText(0), sim.PortText(1), sim.PortText(2));
    link->SetTimeOut_SEC(5);
    EXPECT_EQ(link->iConnect(0, 0, 0, 0, 0, true, true), 1);
    return link;
}

std::vector<OType_Part> Receive(OQuillonComInterface& link, int count) {
    std::vector<OType_Part> parts;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (static_cast<int>(parts.size()) < count && std::chrono::steady_clock::now() < end) {
        if (auto p = link.opTakeReceivedPart())
            parts.push_back(std::move(*p));
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return parts;
}

// The material cells of a run list: (column, row).
std::set<std::pair<int, int>> Cells(std::span<const int16_t> runs) {
    std::set<std::pair<int, int>> cells;
    int column = 0;
    for (size_t i = 0; i + 1 < runs.size(); i += 2) {
        const int top = runs[i];
        const int bottom = std::abs(runs[i + 1]);
        for (int r = top; r < bottom; ++r)
            cells.insert({column, r});
        if (runs[i + 1] < 0) ++column;
    }
    return cells;
}

// How much of a differs from b, relative to a's size.
double Difference(const std::set<std::pair<int, int>>& a, const std::set<std::pair<int, int>>& b) {
    size_t differing = 0;
    for (const auto& c : a)
        differing += !b.count(c);
    for (const auto& c : b)
        differing += !a.count(c);
    return a.empty() ? 1.0 : static_cast<double>(differing) / static_cast<double>(a.size());
}

int RawConnect(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

class Collector : public OLinkFrameSink {
  public:
    void OnMessage(OLinkMessage&& m) override { messages.push_back(std::move(m)); }
    void OnRefusal(const OLinkRefusal&) override {}
    std::vector<OLinkMessage> messages;
};

// Reads answers until `count` arrived or a second passed.
std::vector<OLinkMessage> ReadAnswers(int fd, size_t count) {
    OLinkFrameDecoder decoder;
    Collector sink;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (sink.messages.size() < count && std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 50) <= 0) continue;
        uint8_t buffer[4096];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        decoder.Feed({buffer, static_cast<size_t>(n)}, sink);
    }
    return sink.messages;
}

void Write(int fd, std::span<const uint8_t> bytes) {
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

}  // namespace

TEST(Devsim, HelpEditionsAndBadOptions) {
    const ORun help = RunCommand(std::string(KALVOR_DEVSIM_PATH) + " --help");
    EXPECT_EQ(help.status, 0);
    for (const char* option :
         {"--hardware", "--software", "--port", "--serial", "--rate", "--schedule", "--drop-after",
          "--busy-for", "--reject", "--delay-ms", "--malformed-every", "--part-data-protocol",
          "--coord-trans", "--encoder", "--login-retries"})
        EXPECT_NE(help.output.find(option), std::string::npos) << option;
    const ORun editions = RunCommand(std::string(KALVOR_DEVSIM_PATH) + " --list-editions");
    EXPECT_EQ(editions.status, 0);
    EXPECT_NE(editions.output.find("Kesta KV-2B"), std::string::npos);
    EXPECT_NE(editions.output.find("1024\tOskel"), std::string::npos);
    for (const char* bad : {" --rate -1", " --schedule 1:9", " --frobnicate", " --port",
                            " --malformed-kind x", " --edition Nobody"}) {
        const ORun r = RunCommand(std::string(KALVOR_DEVSIM_PATH) + bad);
        EXPECT_EQ(r.status, 2) << bad << ": " << r.output;
    }
}

TEST(Devsim, KalvorctlReadsTheInformationOfSeveralEditions) {
    struct Case {
        int hardware;
        int software;
        const char* deviceType;
    };
    for (const Case& c : {Case{1, 788, "Talon ZR-T3"}, Case{4, 788, "Brindle Relay ZRC-BR"},
                          Case{9, 818, "Kesta KV-2A"}, Case{16, 818, "Tamrin ZRC-T1"},
                          Case{515, 818, "Rovan KR-2B"}, Case{1024, 828, "Oskel KO-1"}}) {
        DevsimProcess sim({"--hardware", std::to_string(c.hardware)});
        ASSERT_TRUE(sim.bIsReady());
        const ORun r = RunCommand(std::string(KALVOR_CTL_PATH) +
                                  " device info --json --host 127.0.0.1:" + sim.PortText(0));
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_NE(r.output.find("\"hardwareCode\": " + std::to_string(c.hardware) + ","),
                  std::string::npos)
            << r.output;
        EXPECT_NE(r.output.find("\"softwareCode\": " + std::to_string(c.software) + ","),
                  std::string::npos);
        EXPECT_NE(r.output.find(std::string("\"deviceType\": \"") + c.deviceType + "\""),
                  std::string::npos);
        EXPECT_NE(
            r.output.find("\"hardwareName\": \"" + TargetSystem::HardwareName(c.hardware) + "\""),
            std::string::npos);
        const bool newPlatform = TargetSystem::bIsNewPlatform(c.hardware);
        EXPECT_NE(
            r.output.find(newPlatform ? "\"partDataProtocol\": 1," : "\"partDataProtocol\": 0,"),
            std::string::npos);
    }
    const ORun none =
        RunCommand(std::string(KALVOR_CTL_PATH) + " device info --host 127.0.0.1:1 --timeout 1");
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(RunCommand(std::string(KALVOR_CTL_PATH) + " device info").status, 2);
}

TEST(Devsim, RecordedPartListsReadBackWithEveryPartIntact) {
    const std::vector<std::string> options = {
        "--hardware", "7",  "--variation", "0",
        "--rate",     "50", "--schedule",  "1:1x1,2:3x1,3:5x1,4:8x1"};
    TempDir dir;
    for (const bool images : {false, true}) {
        DevsimProcess sim(options);
        const std::string file = (dir / (images ? "test.kvl" : "teach.kvl")).string();
        const ORun r = RunCommand(
            std::string(KALVOR_CTL_PATH) + " device record --host 127.0.0.1:" + sim.PortText(0) +
            " --count 4 " + (images ? "--test --images " : "--teach ") + file);
        ASSERT_EQ(r.status, 0) << r.output;
        OType_ZRPartSet set;
        std::string error;
        ASSERT_EQ(set.iLoadParts(file, !images, &error), 1) << error;
        const OType_PartArray& list = images ? set.TestParts() : set.TeachParts();
        ASSERT_EQ(list.iGetSize(), 4);
        // The same parts, received directly from a fresh simulator of the same kind.
        DevsimProcess again(options);
        auto link = Connect(again);
        // As kalvorctl does: images on before the stream starts, so that its first part has one.
        if (images) {
            ASSERT_EQ(link->commandPARTIMAGES_ON(), 1);
        }
        ASSERT_EQ(link->commandEWDIAG(), 1);
        ASSERT_EQ(link->commandKONTUR(), 1);
        const auto direct = Receive(*link, 4);
        ASSERT_EQ(direct.size(), 4u);
        const int types[] = {1, 2, 3, 4}, orientations[] = {1, 3, 5, 8};
        for (int i = 0; i < 4; ++i) {
            const OType_Part& p = *list.GetAt_NoSort(i);
            EXPECT_EQ(p.bIsTeachPart(), !images);
            EXPECT_EQ(p.iGetType(), types[i]);
            EXPECT_EQ(p.iGetOrientation(), orientations[i]);
            EXPECT_EQ(p.iGetRecordNo(), i + 1);
            EXPECT_EQ(std::vector<int16_t>(p.Contour().begin(), p.Contour().end()),
                      std::vector<int16_t>(direct[static_cast<size_t>(i)].Contour().begin(),
                                           direct[static_cast<size_t>(i)].Contour().end()));
            ASSERT_EQ(p.iGetNumImages(), images ? 1 : 0);
            if (images) {
                EXPECT_EQ(*p.opGetImage(0), *direct[static_cast<size_t>(i)].opGetImage(0));
            }
        }
    }
}

TEST(Devsim, OrientationsAreGeometricTransformationsOfDistinctShapes) {
    DevsimProcess sim({"--hardware", "1", "--variation", "0", "--rate", "100", "--diag",
                       "--schedule", "1:1x1,1:2x1,1:3x1,1:4x1,1:5x1,2:1x1,3:1x1"});
    auto link = Connect(sim);
    const auto parts = Receive(*link, 7);
    ASSERT_EQ(parts.size(), 7u);
    const auto base = Cells(parts[0].Contour());
    int width = 0, low = 1 << 30, high = 0;
    for (const auto& [c, r] : base) {
        width = std::max(width, c + 1);
        low = std::min(low, r);
        high = std::max(high, r);
    }
    auto transformed = [&](auto map) {
        std::set<std::pair<int, int>> out;
        for (const auto& [c, r] : base)
            out.insert(map(c, r));
        return out;
    };
    const auto mirroredX =
        transformed([&](int c, int r) { return std::make_pair(width - 1 - c, r); });
    const auto mirroredY =
        transformed([&](int c, int r) { return std::make_pair(c, low + high - r); });
    const auto turned =
        transformed([&](int c, int r) { return std::make_pair(width - 1 - c, low + high - r); });
    EXPECT_LT(Difference(Cells(parts[1].Contour()), mirroredX), 0.01);
    EXPECT_LT(Difference(Cells(parts[2].Contour()), mirroredY), 0.01);
    EXPECT_LT(Difference(Cells(parts[3].Contour()), turned), 0.01);
    // No shape is its own mirror image, so the orientations can be told apart.
    EXPECT_GT(Difference(base, mirroredX), 0.1);
    EXPECT_GT(Difference(base, mirroredY), 0.1);
    // A quarter turn swaps the box: its columns span the shape's height.
    EXPECT_NEAR(parts[4].iGetColumns(), high - low + 1, 2);
    // Same area under every transformation; the other types are other shapes.
    for (int i = 1; i < 5; ++i)
        EXPECT_NEAR(static_cast<double>(Cells(parts[static_cast<size_t>(i)].Contour()).size()),
                    static_cast<double>(base.size()), base.size() * 0.02);
    EXPECT_GT(Difference(base, Cells(parts[5].Contour())), 0.3);
    EXPECT_GT(Difference(base, Cells(parts[6].Contour())), 0.3);
    EXPECT_GT(Difference(Cells(parts[5].Contour()), Cells(parts[6].Contour())), 0.3);
}

TEST(Devsim, RandomVariationChangesEveryPartALittle) {
    DevsimProcess sim({"--hardware", "1", "--rate", "200", "--diag", "--schedule", "1:1x100"});
    auto link = Connect(sim);
    const auto parts = Receive(*link, 4);
    ASSERT_EQ(parts.size(), 4u);
    const auto first = Cells(parts[0].Contour());
    for (size_t i = 1; i < parts.size(); ++i) {
        const auto other = Cells(parts[i].Contour());
        EXPECT_NE(first, other);
        EXPECT_NEAR(static_cast<double>(other.size()), static_cast<double>(first.size()),
                    first.size() * 0.15);
    }
}

TEST(Devsim, HostileFramesAreRefusedWithAnErrorAndTheDeviceGoesOn) {
    DevsimProcess sim;
    const int fd = RawConnect(sim.iBasePort());
    ASSERT_GE(fd, 0);
    OLinkFrameHeader huge;
    huge.kind = kRequest;
    huge.id = 77;
    huge.code = kOpSync;
    huge.length = huge.total = 0xFFFFFF00u;
    const auto header = LinkFrame::EncodeHeader(huge);
    Write(fd, header);
    auto answers = ReadAnswers(fd, 1);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].id, 77u);
    EXPECT_EQ(answers[0].code, static_cast<uint32_t>(Result::kProtocolError));

    // Garbage, a request before the login, a malformed login, then a good one.
    const std::vector<uint8_t> garbage(300, 0x4B);
    Write(fd, garbage);
    Write(fd, LinkFrame::EncodeMessage(kRequest, kControl, kOpSync, 78, {}));
    Write(fd, LinkFrame::EncodeMessage(kRequest, kControl, kOpLogin, 79, std::vector<uint8_t>{1}));
    OByteStream_Memory login;
    LinkPayload::Encode(login, LinkPayload::OLogin{1, "none", ""});
    Write(fd, LinkFrame::EncodeMessage(kRequest, kControl, kOpLogin, 80, login.Bytes()));
    answers = ReadAnswers(fd, 3);
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[0].code, static_cast<uint32_t>(Result::kRefusedInMode));
    EXPECT_EQ(answers[1].code, static_cast<uint32_t>(Result::kProtocolError));
    EXPECT_EQ(answers[2].id, 80u);
    EXPECT_EQ(answers[2].code, 1u);
    // A truncated package and an unknown operation.
    Write(fd, LinkFrame::EncodeMessage(kRequest, kControl, kOpSetPar, 81,
                                       std::vector<uint8_t>{255, 255, 255, 255}));
    Write(fd, LinkFrame::EncodeMessage(kRequest, kControl, 0x7777, 82, {}));
    Write(fd, LinkFrame::EncodeMessage(kRequest, kControl, kOpSync, 83, {}));
    answers = ReadAnswers(fd, 3);
    ASSERT_EQ(answers.size(), 3u);
    EXPECT_EQ(answers[0].code, static_cast<uint32_t>(Result::kProtocolError));
    EXPECT_EQ(answers[1].code, static_cast<uint32_t>(Result::kNotSupported));
    EXPECT_EQ(answers[2].code, 1u);
    close(fd);
    // The device still serves a regular client.
    auto link = Connect(sim);
    EXPECT_EQ(link->commandSYNCRO(), 1);
}

namespace {

ORun Kalvorctl(const std::string& arguments) {
    return RunCommand(std::string(KALVOR_CTL_PATH) + " " + arguments);
}

// The test parts of a binary part list written by `kalvorctl device record --test`.
std::vector<OType_Part> LoadTestParts(const std::string& file) {
    OType_ZRPartSet set;
    std::string error;
    EXPECT_EQ(set.iLoadParts(file, false, &error), 1) << error;
    std::vector<OType_Part> parts;
    for (int i = 0; i < set.TestParts().iGetSize(); ++i)
        parts.push_back(*set.TestParts().GetAt_NoSort(i));
    return parts;
}

// The scheduled orientation of a part labelled "#N" under the schedule 1:3x2,1:1x2,1:2x2.
int ScheduledOrientation(const OType_Part& part) {
    const int n = std::stoi(part.GetComment().substr(1));
    const int kOrientations[] = {3, 3, 1, 1, 2, 2};
    return kOrientations[(n - 1) % 6];
}

}  // namespace

// A contour device classifies with the check program it was sent: Teach-Data of
// orientations 1 and 2 are recorded from two devices, the project goes to a third, whose
// parts then carry the program's classification rather than what the feeder brought.
TEST(Devsim, ResultsComeFromTheStoredCheckProgram) {
    TempDir dir;
    const std::string project = (dir / "line.zrp").string();
    for (const int orientation : {1, 2}) {
        DevsimProcess teacher(
            {"--hardware", "1", "--rate", "200", "--schedule", "1:" + std::to_string(orientation)});
        ASSERT_TRUE(teacher.bIsReady());
        const std::string host = " --host 127.0.0.1:" + teacher.PortText(0);
        if (orientation == 1) {
            const ORun r = Kalvorctl("device identify" + host + " --project " + project);
            ASSERT_EQ(r.status, 0) << r.output;
        }
        const ORun r = Kalvorctl("device record" + host + " --count 30 --teach --orientation " +
                                 std::to_string(orientation) + " " + project);
        ASSERT_EQ(r.status, 0) << r.output;
    }

    DevsimProcess device(
        {"--hardware", "1", "--rate", "200", "--label-parts", "--schedule", "1:3x2,1:1x2,1:2x2"});
    ASSERT_TRUE(device.bIsReady());
    const std::string host = " --host 127.0.0.1:" + device.PortText(0);
    const std::string before = (dir / "before.zrl").string();
    const std::string after = (dir / "after.zrl").string();

    ORun r = Kalvorctl("device record" + host + " --count 6 --test " + before);
    ASSERT_EQ(r.status, 0) << r.output;
    for (const OType_Part& part : LoadTestParts(before)) {
        // Without a program the device reports what was scheduled, with fixed figures.
        EXPECT_EQ(part.iGetOrientation(), ScheduledOrientation(part)) << part.GetComment();
        EXPECT_DOUBLE_EQ(part.dGetResultValue(0), 12.5);
    }

    r = Kalvorctl("device send " + project + " --program 0" + host);
    ASSERT_EQ(r.status, 0) << r.output;
    r = Kalvorctl("device record" + host + " --count 18 --test " + after);
    ASSERT_EQ(r.status, 0) << r.output;
    const std::vector<OType_Part> parts = LoadTestParts(after);
    ASSERT_EQ(parts.size(), 18u);
    int taughtInside = 0, taught = 0;
    for (const OType_Part& part : parts) {
        const int scheduled = ScheduledOrientation(part);
        EXPECT_EQ(part.iGetType(), 1);
        if (scheduled == 3) {
            // Not taught: the program knows only orientations 1 and 2 and rejects the part.
            EXPECT_NE(part.iGetOrientation(), 3) << part.GetComment();
            EXPECT_GT(part.dGetResultValue(0), 100.0) << part.GetComment();
            EXPECT_EQ(part.dGetResultValue(2), 0.0) << part.GetComment();
            continue;
        }
        ++taught;
        EXPECT_EQ(part.iGetOrientation(), scheduled) << part.GetComment();
        EXPECT_NE(part.dGetResultValue(0), 12.5) << part.GetComment();
        if (part.dGetResultValue(2) == 1.0) {
            ++taughtInside;
            EXPECT_LE(part.dGetResultValue(0), 100.0) << part.GetComment();
        }
    }
    // Small variation lets a part leave its 5 % band now and then, not as a rule.
    EXPECT_GE(taughtInside, taught / 2);
    // kalvorctl shows the device's results of a recorded part.
    r = Kalvorctl("parts " + after + " --test --json");
    ASSERT_EQ(r.status, 0) << r.output;
    std::smatch first;
    ASSERT_TRUE(std::regex_search(r.output, first,
                                  std::regex(R"("results": \[\s*([-0-9.e]+),\s*([-0-9.e]+),)")))
        << r.output;
    EXPECT_DOUBLE_EQ(std::stod(first[1].str()), parts[0].dGetResultValue(0));
    EXPECT_DOUBLE_EQ(std::stod(first[2].str()), parts[0].dGetResultValue(1));

    // The fixed figures come back for a simulator told not to run programs.
    DevsimProcess fixed({"--hardware", "1", "--rate", "200", "--label-parts", "--fixed-results",
                         "--schedule", "1:3x2,1:1x2,1:2x2"});
    ASSERT_TRUE(fixed.bIsReady());
    const std::string fixedHost = " --host 127.0.0.1:" + fixed.PortText(0);
    r = Kalvorctl("device send " + project + " --program 0" + fixedHost);
    ASSERT_EQ(r.status, 0) << r.output;
    r = Kalvorctl("device record" + fixedHost + " --count 6 --test " + after);
    ASSERT_EQ(r.status, 0) << r.output;
    for (const OType_Part& part : LoadTestParts(after)) {
        EXPECT_EQ(part.iGetOrientation(), ScheduledOrientation(part)) << part.GetComment();
        EXPECT_DOUBLE_EQ(part.dGetResultValue(0), 12.5);
    }
}

// A slow feeder is recorded as long as parts keep coming; a silent one ends the recording
// after the time-out, with what arrived so far named.
TEST(Devsim, RecordingWaitsForASlowFeederAndGivesUpOnASilentOne) {
    TempDir dir;
    DevsimProcess slow({"--hardware", "1", "--rate", "2", "--schedule", "1:1"});
    ASSERT_TRUE(slow.bIsReady());
    const std::string host = " --host 127.0.0.1:" + slow.PortText(0) + " --timeout 1";
    const std::string project = (dir / "slow.zrp").string();
    // Six parts take 2.5 s: longer than the time-out, and than 200 ms a part on top of it.
    ORun r = Kalvorctl("device record" + host + " --count 6 --test " + (dir / "slow.zrl").string());
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(LoadTestParts((dir / "slow.zrl").string()).size(), 6u);
    ASSERT_EQ(Kalvorctl("device identify" + host + " --project " + project).status, 0);
    r = Kalvorctl("device record" + host + " --count 6 --teach " + project);
    EXPECT_EQ(r.status, 0) << r.output;

    DevsimProcess silent({"--hardware", "1", "--rate", "0.2", "--schedule", "1:1"});
    ASSERT_TRUE(silent.bIsReady());
    const std::string silentHost = " --host 127.0.0.1:" + silent.PortText(0) + " --timeout 1";
    r = Kalvorctl("device record" + silentHost + " --count 3 --test " +
                  (dir / "silent.zrl").string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(" of 3 parts"), std::string::npos) << r.output;
    EXPECT_FALSE(std::filesystem::exists(dir / "silent.zrl"));
    r = Kalvorctl("device record" + silentHost + " --count 3 --teach " + project);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(" of 3 parts"), std::string::npos) << r.output;
}
