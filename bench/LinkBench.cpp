// Receiving parts from kalvor-devsim over loopback through the whole link (framing,
// reassembly, part decoding, the received-part array), beside a plain loopback socket
// moving the same bytes in messages of the same size. Counters: parts/s and MB/s of the
// link, MB/s of the plain socket, and the ratio of the link's time to the plain time.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "link/OQuillonComInterface_TCP.h"
#include "platform/OCommandQueue_Manual.h"
#include "support/DevsimProcess.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

// Moves `messages` messages of `size` bytes from a writer thread to this thread over a
// loopback TCP connection; returns the seconds it took.
double PlainTransfer(size_t size, int64_t messages) {
    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    listen(listener, 1);
    getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &length);
    const int reader = socket(AF_INET, SOCK_STREAM, 0);
    connect(reader, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    const int writer = accept(listener, nullptr, nullptr);
    const int one = 1;
    setsockopt(writer, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    const auto start = SteadyClock::now();
    std::thread send([&] {
        std::vector<uint8_t> message(size, 0x5A);
        for (int64_t m = 0; m < messages; ++m) {
            size_t done = 0;
            while (done < size) {
                const ssize_t n = write(writer, message.data() + done, size - done);
                if (n <= 0) return;
                done += static_cast<size_t>(n);
            }
        }
    });
    std::vector<uint8_t> buffer(256 * 1024);
    std::vector<uint8_t> message;
    const uint64_t total = static_cast<uint64_t>(size) * static_cast<uint64_t>(messages);
    uint64_t received = 0;
    while (received < total) {
        const ssize_t n = read(reader, buffer.data(), buffer.size());
        if (n <= 0) break;
        received += static_cast<uint64_t>(n);
        // A receiver keeps what it reads, as the link does.
        message.insert(message.end(), buffer.begin(), buffer.begin() + n);
        if (message.size() >= size) message.clear();
    }
    const double seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
    send.join();
    close(writer);
    close(reader);
    close(listener);
    return seconds;
}

enum class Content { Contour, Image, Both };

// Diagnostic mode with the content wanted: contour (send mode 1), camera images only (0)
// or both (4).
void StartStream(OQuillonComInterface& link, Content content) {
    link.commandEWDIAG();
    if (content == Content::Image) {
        link.commandKONZEI();
        return;
    }
    link.commandKONTUR();
    if (content == Content::Both) link.commandPARTIMAGES_ON();
}

void LinkVersusPlain(benchmark::State& state, std::vector<std::string> options, Content content,
                     int partsPerIteration) {
    options.insert(options.begin(), {"--rate", "0"});
    DevsimProcess sim(std::move(options));
    if (!sim.bIsReady()) {
        state.SkipWithError("kalvor-devsim did not start");
        return;
    }
    OQuillonComInterface_TCP link(nullptr, nullptr, nullptr, nullptr, 0);
    link.SetAddress("127.0.0.1");
    link.SetPorts(sim.PortText(0), sim.PortText(1), sim.PortText(2));
    OCommandQueue_Manual queue;
    link.SetServices({&queue, nullptr, nullptr});
    link.SetReceivedPartLimits(256, 1ull << 30);
    if (link.iConnect(0, 0, 0, 0, 0, true, true) != 1) {
        state.SkipWithError("cannot connect");
        return;
    }
    double linkSeconds = 0, plainSeconds = 0;
    uint64_t parts = 0, bytes = 0;
    for (auto _ : state) {
        link.iSetDiagMode(0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        link.bRemoveAllReceivedParts();
        const uint64_t before = link.iGetReceivedPartCount() + link.iGetDroppedParts();
        const auto start = SteadyClock::now();
        StartStream(link, content);
        uint64_t partBytes = 0;
        const auto limit = start + std::chrono::seconds(60);
        while (link.iGetReceivedPartCount() + link.iGetDroppedParts() - before <
               static_cast<uint64_t>(partsPerIteration)) {
            if (SteadyClock::now() > limit) {
                state.SkipWithError("the simulator stopped sending");
                return;
            }
            if (auto part = link.opTakeReceivedPart()) {
                if (partBytes == 0) partBytes = part->iGetObjectSize();
                benchmark::DoNotOptimize(part.get());
            } else {
                // Sleep until the link posts, as the program's message loop does.
                queue.bWaitForPost(std::chrono::milliseconds(10));
                queue.Clear();
                link.UpdateKO();
            }
        }
        const double seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
        state.SetIterationTime(seconds);
        linkSeconds += seconds;
        parts += static_cast<uint64_t>(partsPerIteration);
        bytes += partBytes * static_cast<uint64_t>(partsPerIteration);
        plainSeconds += PlainTransfer(partBytes, partsPerIteration);
    }
    link.iDisConnect(0, 0);
    state.counters["parts_per_s"] = static_cast<double>(parts) / linkSeconds;
    state.counters["link_MB_per_s"] = static_cast<double>(bytes) / linkSeconds / 1e6;
    state.counters["plain_MB_per_s"] = static_cast<double>(bytes) / plainSeconds / 1e6;
    state.counters["part_bytes"] = static_cast<double>(bytes) / static_cast<double>(parts);
    state.counters["ratio"] = linkSeconds / plainSeconds;
}

void BM_LinkFamily1Contours(benchmark::State& state) {
    LinkVersusPlain(state, {"--hardware", "1"}, Content::Contour, 20000);
}
void BM_LinkFamily2GreyImages(benchmark::State& state) {
    LinkVersusPlain(state, {"--hardware", "9"}, Content::Image, 400);
}
void BM_LinkFamily2ColourImages(benchmark::State& state) {
    LinkVersusPlain(state, {"--hardware", "8"}, Content::Both, 1000);
}

}  // namespace

BENCHMARK(BM_LinkFamily1Contours)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LinkFamily2GreyImages)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LinkFamily2ColourImages)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
