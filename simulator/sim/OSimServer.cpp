#include "sim/OSimServer.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <asio.hpp>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>

#include "link/LinkProtocol.h"
#include "link/OLinkFrame.h"
#include "link/OType_ComPackage.h"
#include "model/stream/OByteStream_Memory.h"
#include "platform/Log.h"

using namespace LinkProtocol;
using SteadyClock = std::chrono::steady_clock;

namespace {

constexpr size_t kReadChunk = 256 * 1024;
constexpr size_t kMaxQueuedPartBytes = 16u << 20;
constexpr auto kHousekeeping = std::chrono::milliseconds(250);
constexpr auto kIdlePoll = std::chrono::milliseconds(20);

struct OOutFrame {
    bool raw = false;  // bytes written as they are (malformed frames)
    uint8_t kind = kAnswer;
    uint8_t channel = 0;
    uint32_t code = 0;
    uint32_t id = 0;
    std::shared_ptr<const std::vector<uint8_t>> payload;
    bool part = false;
};

class OSimConnection;

struct OSimClient {
    uint32_t token = 0;
    std::array<std::weak_ptr<OSimConnection>, kNumChannels> channels;
    int requests = 0;
    SteadyClock::time_point lastActivity = SteadyClock::now();
};

// What a connection tells the server.
class OSimConnectionOwner {
  public:
    virtual ~OSimConnectionOwner() = default;
    virtual void OnRequest(const std::shared_ptr<OSimConnection>& c, OLinkMessage&& m) = 0;
    virtual void OnRefused(const std::shared_ptr<OSimConnection>& c, const OLinkRefusal& r) = 0;
    virtual void OnClosed(const std::shared_ptr<OSimConnection>& c) = 0;
    virtual void OnDrained() = 0;
};

class OSimConnection : public std::enable_shared_from_this<OSimConnection>, public OLinkFrameSink {
  public:
    OSimConnection(OSimConnectionOwner& owner, int channel, bool serial)
        : m_owner(owner), m_channel(channel), m_serial(serial) {
        m_decoder.SetRequireCrc(serial);
    }
    ~OSimConnection() override = default;

    virtual void Start() = 0;
    virtual void Close() = 0;

    int iChannel() const { return m_channel; }  // -1: every channel (serial line)
    bool bIsSerial() const { return m_serial; }
    std::weak_ptr<OSimClient> client;

    void Send(OOutFrame frame) {
        if (m_closed) return;
        if (frame.part) m_queuedPartBytes += frame.payload->size();
        m_queue.push_back(std::move(frame));
        if (!m_writing) WriteNext();
    }
    size_t iQueuedPartBytes() const { return m_queuedPartBytes; }
    void CloseWhenFlushed() {
        m_closeWhenFlushed = true;
        if (!m_writing) Close();
    }

    void OnMessage(OLinkMessage&& m) override {
        m_owner.OnRequest(shared_from_this(), std::move(m));
    }
    void OnRefusal(const OLinkRefusal& r) override { m_owner.OnRefused(shared_from_this(), r); }

  protected:
    virtual void AsyncRead(asio::mutable_buffer buffer,
                           std::function<void(std::error_code, size_t)> done) = 0;
    virtual void AsyncWrite(const std::vector<asio::const_buffer>& buffers,
                            std::function<void(std::error_code, size_t)> done) = 0;

    void Read() {
        if (m_closed) return;
        auto area = m_decoder.WriteArea(kReadChunk);
        auto self = shared_from_this();
        AsyncRead(asio::buffer(area.data(), area.size()), [self](std::error_code ec, size_t n) {
            if (ec) return self->Lost();
            self->m_decoder.Commit(n, *self);
            self->Read();
        });
    }

    void Lost() {
        if (m_closed) return;
        Close();
    }

    void MarkClosed() {
        if (m_closed) return;
        m_closed = true;
        m_queue.clear();
        m_owner.OnClosed(shared_from_this());
    }

  private:
    // Writes as many queued frames as fit one batch with a single gathered write, so that
    // a stream of small parts costs one system call per batch rather than per part.
    void WriteNext() {
        if (m_queue.empty() || m_closed) {
            m_writing = false;
            if (m_closeWhenFlushed) Close();
            return;
        }
        m_writing = true;
        m_batchHeaders.clear();
        m_batchTrailers.clear();
        m_batchLast.clear();
        m_buffers.clear();
        m_batchHeaders.reserve(kMaxBatchFrames);
        m_batchTrailers.reserve(kMaxBatchFrames);
        size_t bytes = 0;
        size_t frame = m_frame;
        for (size_t entry = 0; entry < m_queue.size() && m_batchLast.size() < kMaxBatchFrames &&
                               bytes < kMaxBatchBytes;) {
            const OOutFrame& f = m_queue[entry];
            const auto& payload = *f.payload;
            bool last = true;
            if (f.raw) {
                m_buffers.push_back(asio::buffer(payload));
                bytes += payload.size();
            } else {
                const uint32_t maxFrame = m_serial ? kSerialFramePayload : kTcpFramePayload;
                const OLinkFrameHeader h = LinkFrame::FrameHeader(
                    f.kind, f.channel, f.code, f.id, payload.size(), maxFrame, frame, m_serial);
                const size_t offset = frame * static_cast<size_t>(maxFrame);
                const std::span<const uint8_t> slice(
                    payload.data() + std::min(offset, payload.size()), h.length);
                m_batchHeaders.push_back(LinkFrame::EncodeHeader(h));
                m_batchTrailers.push_back(LinkFrame::EncodeTrailer(slice, m_serial));
                m_buffers.push_back(asio::buffer(m_batchHeaders.back()));
                m_buffers.push_back(asio::buffer(slice.data(), slice.size()));
                m_buffers.push_back(
                    asio::buffer(m_batchTrailers.back().bytes.data(), m_batchTrailers.back().size));
                bytes += kHeaderSize + slice.size() + m_batchTrailers.back().size;
                last = !(h.flags & kFlagMore);
            }
            m_batchLast.push_back(last);
            if (last) {
                ++entry;
                frame = 0;
            } else {
                ++frame;
            }
        }
        auto self = shared_from_this();
        AsyncWrite(m_buffers, [self](std::error_code ec, size_t) {
            if (ec) return self->Lost();
            for (bool last : self->m_batchLast) {
                if (!last) {
                    ++self->m_frame;
                    continue;
                }
                if (self->m_queue.empty()) break;
                if (self->m_queue.front().part)
                    self->m_queuedPartBytes -= self->m_queue.front().payload->size();
                self->m_queue.pop_front();
                self->m_frame = 0;
            }
            if (self->m_queuedPartBytes == 0) self->m_owner.OnDrained();
            self->WriteNext();
        });
    }

    static constexpr size_t kMaxBatchFrames = 64;
    static constexpr size_t kMaxBatchBytes = 1u << 20;

    OSimConnectionOwner& m_owner;
    int m_channel;
    bool m_serial;
    OLinkFrameDecoder m_decoder;
    std::deque<OOutFrame> m_queue;
    size_t m_frame = 0;
    size_t m_queuedPartBytes = 0;
    bool m_writing = false;
    bool m_closeWhenFlushed = false;
    std::vector<std::array<uint8_t, kHeaderSize>> m_batchHeaders;
    std::vector<LinkFrame::OFrameTrailer> m_batchTrailers;
    std::vector<bool> m_batchLast;
    std::vector<asio::const_buffer> m_buffers;

  protected:
    bool m_closed = false;
};

template <class Stream>
class OSimStreamConnection : public OSimConnection {
  public:
    OSimStreamConnection(OSimConnectionOwner& owner, Stream stream, int channel, bool serial)
        : OSimConnection(owner, channel, serial), m_stream(std::move(stream)) {}
    void Start() override { Read(); }
    void Close() override {
        std::error_code ignored;
        m_stream.close(ignored);
        MarkClosed();
    }

  protected:
    void AsyncRead(asio::mutable_buffer buffer,
                   std::function<void(std::error_code, size_t)> done) override {
        m_stream.async_read_some(buffer, std::move(done));
    }
    void AsyncWrite(const std::vector<asio::const_buffer>& buffers,
                    std::function<void(std::error_code, size_t)> done) override {
        asio::async_write(m_stream, buffers, std::move(done));
    }

  private:
    Stream m_stream;
};

std::shared_ptr<const std::vector<uint8_t>> Shared(std::vector<uint8_t> bytes) {
    return std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
}

std::vector<uint8_t> StatePayload(const ODeviceState& state) {
    OByteStream_Memory s;
    state.Encode(s);
    return s.TakeBytes();
}

}  // namespace

class OSimServer::OImpl : public OSimConnectionOwner {
  public:
    explicit OImpl(const OSimOptions& options)
        : m_options(options),
          m_device(options),
          m_signals(m_io, SIGINT, SIGTERM),
          m_streamTimer(m_io),
          m_housekeeping(m_io),
          m_quitTimer(m_io),
          m_busyTimer(m_io),
          m_random(options.seed) {
        if (!options.tracePath.empty()) m_trace.open(options.tracePath, std::ios::trunc);
    }

    ~OImpl() override {
        if (m_slaveFd >= 0) ::close(m_slaveFd);
        if (!m_options.serialLink.empty() && m_ptyMade) {
            std::error_code ignored;
            std::filesystem::remove(m_options.serialLink, ignored);
        }
    }

    bool bOpen(std::string& message) {
        if (!m_options.serial.empty()) return bOpenSerial(message);
        return bOpenTcp(message);
    }

    std::string ReadyLine() const {
        const std::string edition = TargetSystem::HardwareName(m_options.device.target.hardware) +
                                    ", " +
                                    TargetSystem::SoftwareName(m_options.device.target.software);
        if (!m_options.serial.empty())
            return "kalvor-devsim: serial " + m_serialPath + " (" + edition + ")";
        return "kalvor-devsim: listening on " + m_options.bind + " ports " +
               std::to_string(m_base) + " " + std::to_string(m_base + 1) + " " +
               std::to_string(m_base + 2) + " (" + edition + ")";
    }

    void Run() {
        m_signals.async_wait([this](std::error_code ec, int) {
            if (!ec) Stop();
        });
        if (m_options.quitAfter > 0) {
            m_quitTimer.expires_after(std::chrono::duration_cast<SteadyClock::duration>(
                std::chrono::duration<double>(m_options.quitAfter)));
            m_quitTimer.async_wait([this](std::error_code ec) {
                if (!ec) Stop();
            });
        }
        if (m_options.faults.busyFor > 0 && m_options.faults.busyAfter == 0) StartBusy();
        Housekeeping();
        ScheduleStream(kIdlePoll);
        m_io.run();
    }

    void Stop() {
        asio::post(m_io, [this] { m_io.stop(); });
    }

    // --- connection events ---

    void OnRequest(const std::shared_ptr<OSimConnection>& c, OLinkMessage&& m) override {
        if (m.kind != kRequest) return;
        if (c->iChannel() >= 0 && m.channel != c->iChannel())
            return Answer(c, m, Result::kProtocolError, {});
        auto client = c->client.lock();
        // A login starts a new session, also on a line that had one.
        if (!client || m.code == kOpLogin) return FirstRequest(c, std::move(m));
        client->lastActivity = SteadyClock::now();
        ++client->requests;
        ++m_requests;
        if (m_options.faults.busyFor > 0 && m_options.faults.busyAfter > 0 &&
            m_requests == m_options.faults.busyAfter)
            StartBusy();
        OSimDevice::OAnswer answer;
        if (m_options.faults.rejectCode && OSimDevice::bIsTransfer(m.code))
            answer.code = static_cast<uint32_t>(m_options.faults.rejectCode);
        else
            answer = m_device.Handle(client->token, m.code, m.payload);
        Trace(client->token, m, answer.code);
        SendAnswer(c, m, answer.code, std::move(answer.payload), true);
        FlushEvents();
        if (m_options.faults.dropAfter > 0 && client->requests >= m_options.faults.dropAfter) {
            Log::Write(LogLevel::Info, "devsim",
                       "dropping session " + std::to_string(client->token));
            DropClient(client->token);
        }
    }

    void OnRefused(const std::shared_ptr<OSimConnection>& c, const OLinkRefusal& r) override {
        Log::Write(LogLevel::Warning, "devsim",
                   "refused a frame: " + std::string(LinkFrameFaultName(r.fault)));
        if (!r.bHasId || r.kind != kRequest) return;
        OLinkMessage m;
        m.kind = kRequest;
        m.channel = r.channel;
        m.id = r.id;
        Answer(c, m, Result::kProtocolError, {});
    }

    void OnClosed(const std::shared_ptr<OSimConnection>& c) override {
        std::erase_if(m_connections, [&](const auto& w) { return w.lock() == c || w.expired(); });
        if (auto client = c->client.lock()) {
            // A session ends with its command connection.
            if (c->bIsSerial() || c->iChannel() == kControl) EndClient(client->token);
        }
    }

    void OnDrained() override {
        if (m_waitingForRoom) {
            m_waitingForRoom = false;
            ScheduleStream(SteadyClock::duration::zero());
        }
    }

  private:
    // --- opening ---

    bool bOpenTcp(std::string& message) {
        std::error_code ec;
        const auto address = asio::ip::make_address(m_options.bind, ec);
        if (ec) {
            message = "invalid address " + m_options.bind;
            return false;
        }
        // Free ports are picked at random, so that simulators started together do not collide.
        std::mt19937 portRandom(std::random_device{}());
        std::uniform_int_distribution<int> pick(20000, 60000);
        for (int attempt = 0; attempt < (m_options.port == 0 ? 50 : 1); ++attempt) {
            const int base = m_options.port == 0 ? pick(portRandom) : m_options.port;
            m_acceptors.clear();
            bool ok = true;
            for (int i = 0; i < kNumChannels && ok; ++i) {
                auto a = std::make_unique<asio::ip::tcp::acceptor>(m_io);
                const asio::ip::tcp::endpoint ep(address, static_cast<uint16_t>(base + i));
                a->open(ep.protocol(), ec);
                if (!ec) a->set_option(asio::socket_base::reuse_address(true), ec);
                if (!ec) a->bind(ep, ec);
                if (!ec) a->listen(asio::socket_base::max_listen_connections, ec);
                if (ec) {
                    ok = false;
                    message = "cannot listen on " + m_options.bind + ":" +
                              std::to_string(base + i) + ": " + ec.message();
                } else {
                    m_acceptors.push_back(std::move(a));
                }
            }
            if (ok) {
                m_base = base;
                for (int i = 0; i < kNumChannels; ++i)
                    Accept(i);
                return true;
            }
        }
        return false;
    }

    void Accept(int channel) {
        m_acceptors[static_cast<size_t>(channel)]->async_accept(
            [this, channel](std::error_code ec, asio::ip::tcp::socket socket) {
                if (ec) {
                    if (ec != asio::error::operation_aborted) Accept(channel);
                    return;
                }
                socket.set_option(asio::ip::tcp::no_delay(true), ec);
                auto c = std::make_shared<OSimStreamConnection<asio::ip::tcp::socket>>(
                    *this, std::move(socket), channel, false);
                m_connections.push_back(c);
                c->Start();
                Accept(channel);
            });
    }

    bool bOpenSerial(std::string& message) {
        if (m_options.serial == "pty") {
            const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
            if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
                message = "cannot make a pseudo-terminal";
                if (master >= 0) ::close(master);
                return false;
            }
            m_serialPath = ::ptsname(master);
            // Keeping the slave side open lets clients come and go without hanging it up.
            m_slaveFd = ::open(m_serialPath.c_str(), O_RDWR | O_NOCTTY);
            termios t{};
            if (m_slaveFd >= 0 && ::tcgetattr(m_slaveFd, &t) == 0) {
                ::cfmakeraw(&t);
                ::tcsetattr(m_slaveFd, TCSANOW, &t);
            }
            m_ptyMade = true;
            if (!m_options.serialLink.empty()) {
                std::error_code ec;
                std::filesystem::remove(m_options.serialLink, ec);
                std::filesystem::create_symlink(m_serialPath, m_options.serialLink, ec);
                if (ec)
                    Log::Write(LogLevel::Warning, "devsim", "cannot link " + m_options.serialLink);
            }
            asio::posix::stream_descriptor stream(m_io, master);
            m_serialConnection =
                std::make_shared<OSimStreamConnection<asio::posix::stream_descriptor>>(
                    *this, std::move(stream), -1, true);
        } else {
            asio::serial_port port(m_io);
            std::error_code ec;
            port.open(m_options.serial, ec);
            if (ec) {
                message = "cannot open " + m_options.serial + ": " + ec.message();
                return false;
            }
            m_serialPath = m_options.serial;
            m_serialConnection = std::make_shared<OSimStreamConnection<asio::serial_port>>(
                *this, std::move(port), -1, true);
        }
        m_connections.push_back(m_serialConnection);
        m_serialConnection->Start();
        return true;
    }

    // --- trace ---

    // One line per request: session, channel, operation (hex), package name and number
    // ("-" and 0 for other requests), result.
    void Trace(uint32_t session, const OLinkMessage& m, uint32_t result) {
        if (!m_trace.is_open()) return;
        std::string name = "-";
        uint32_t number = 0;
        if (m.code == kOpPackageAction || m.code == kOpPackageSend || m.code == kOpPackageReceive) {
            OType_ComPackage p(0, 1, 1, 0);
            if (p.iSetPackageFromReceive(m.payload)) {
                name = m.code == kOpPackageReceive ? p.GetUploadName() : p.GetDownloadName();
                number = p.iGetNumber();
            }
        }
        char op[16];
        std::snprintf(op, sizeof op, "0x%04x", m.code);
        m_trace << session << ' ' << static_cast<int>(m.channel) << ' ' << op << ' ' << name << ' '
                << number << ' ' << result << '\n';
        m_trace.flush();
    }

    // --- sessions ---

    void FirstRequest(const std::shared_ptr<OSimConnection>& c, OLinkMessage&& m) {
        if (m.code == kOpLogin && m.channel == kControl) {
            const uint32_t token = ++m_nextToken;
            OSimDevice::OAnswer a = m_device.Login(m.payload, token);
            if (a.code == Result::kOk) {
                // A new login on a serial line replaces the line's session.
                if (auto old = c->client.lock()) EndClient(old->token, c.get());
                auto client = std::make_shared<OSimClient>();
                client->token = token;
                if (c->bIsSerial())
                    client->channels.fill(c);
                else
                    client->channels[kControl] = c;
                m_clients[token] = client;
                c->client = client;
                Log::Write(LogLevel::Info, "devsim", "login, session " + std::to_string(token));
            }
            Trace(token, m, a.code);
            return SendAnswer(c, m, a.code, std::move(a.payload), false);
        }
        if (m.code == kOpHello && !c->bIsSerial() && c->iChannel() != kControl) {
            auto s = OByteStream_Memory::View(m.payload);
            uint32_t token = 0;
            const auto it = s.bReadU32(token) ? m_clients.find(token) : m_clients.end();
            if (it == m_clients.end()) return Answer(c, m, Result::kRefusedInMode, {});
            it->second->channels[static_cast<size_t>(c->iChannel())] = c;
            c->client = it->second;
            return Answer(c, m, Result::kOk, {});
        }
        Answer(c, m, Result::kRefusedInMode, {});
    }

    // Ends a session and closes its connections, except `keep`.
    void EndClient(uint32_t token, const OSimConnection* keep = nullptr) {
        const auto it = m_clients.find(token);
        if (it == m_clients.end()) return;
        auto client = it->second;
        m_clients.erase(it);
        m_device.ForgetSession(token);
        for (auto& w : client->channels) {
            if (auto c = w.lock()) {
                c->client.reset();
                if (!c->bIsSerial() && c.get() != keep) c->Close();
            }
        }
    }

    // Closes a session's connections once what they still send is written.
    void DropClient(uint32_t token) {
        const auto it = m_clients.find(token);
        if (it == m_clients.end()) return;
        const std::shared_ptr<OSimClient> client = it->second;
        m_clients.erase(it);
        m_device.ForgetSession(token);
        for (auto& w : client->channels) {
            if (auto c = w.lock()) {
                c->client.reset();
                if (!c->bIsSerial()) c->CloseWhenFlushed();
            }
        }
    }

    // --- answers ---

    void Answer(const std::shared_ptr<OSimConnection>& c, const OLinkMessage& request,
                uint32_t code, std::vector<uint8_t> payload) {
        SendAnswer(c, request, code, std::move(payload), false);
    }

    void SendAnswer(const std::shared_ptr<OSimConnection>& c, const OLinkMessage& request,
                    uint32_t code, std::vector<uint8_t> payload, bool faultable) {
        OOutFrame f;
        f.kind = kAnswer;
        f.channel = request.channel;
        f.code = code;
        f.id = request.id;
        f.payload = Shared(std::move(payload));
        if (faultable && m_options.faults.malformedEvery > 0 &&
            ++m_answers % static_cast<uint64_t>(m_options.faults.malformedEvery) == 0)
            f = Malformed(f);
        if (faultable && m_options.faults.delayMs > 0) {
            auto timer = std::make_shared<asio::steady_timer>(
                m_io, std::chrono::milliseconds(m_options.faults.delayMs));
            std::weak_ptr<OSimConnection> weak = c;
            timer->async_wait([timer, weak, f](std::error_code ec) {
                if (auto conn = weak.lock(); conn && !ec) conn->Send(f);
            });
            return;
        }
        c->Send(std::move(f));
    }

    OOutFrame Malformed(const OOutFrame& answer) {
        static constexpr const char* kKinds[] = {"oversize", "unknown", "truncated", "badcheck",
                                                 "garbage"};
        std::string kind = m_options.faults.malformedKind;
        if (kind == "cycle") kind = kKinds[m_malformed++ % 5];
        Log::Write(LogLevel::Info, "devsim", "sending a malformed frame (" + kind + ")");
        OLinkFrameHeader h;
        h.kind = kAnswer;
        h.channel = answer.channel;
        h.code = answer.code;
        h.id = answer.id;
        std::vector<uint8_t> bytes;
        if (kind == "oversize") {
            h.length = h.total = 0x7FFFFFF0u;
        } else if (kind == "unknown") {
            h.kind = 9;
        } else if (kind == "truncated") {
            h.total = 64;
            h.length = 8;
        }
        const auto header = LinkFrame::EncodeHeader(h);
        bytes.assign(header.begin(), header.end());
        if (kind == "truncated") {
            bytes.insert(bytes.end(), 8, 0xAB);
            const auto t = LinkFrame::EncodeTrailer({bytes.data() + kHeaderSize, 8},
                                                    m_serialConnection != nullptr);
            bytes.insert(bytes.end(), t.Span().begin(), t.Span().end());
        } else if (kind == "unknown") {
            const auto t = LinkFrame::EncodeTrailer({}, m_serialConnection != nullptr);
            bytes.insert(bytes.end(), t.Span().begin(), t.Span().end());
        } else if (kind == "badcheck") {
            bytes[6] ^= 0x5A;
        } else if (kind == "garbage") {
            bytes.assign(40, 0);
            for (auto& b : bytes)
                b = static_cast<uint8_t>(m_random() % 60 + 1);
        }
        OOutFrame f;
        f.raw = true;
        f.payload = Shared(std::move(bytes));
        return f;
    }

    // --- events and the part stream ---

    void Broadcast(uint32_t event, std::vector<uint8_t> payload) {
        auto shared = Shared(std::move(payload));
        for (auto& [token, client] : m_clients) {
            if (auto c = client->channels[kControl].lock()) {
                OOutFrame f;
                f.kind = kNotification;
                f.channel = kControl;
                f.code = event;
                f.payload = shared;
                c->Send(std::move(f));
            }
        }
    }

    void SendPart(OSimConnection& c, const std::shared_ptr<const std::vector<uint8_t>>& payload) {
        OOutFrame f;
        f.kind = kNotification;
        f.channel = kParts;
        f.code = kEventPart;
        f.payload = payload;
        f.part = true;
        c.Send(std::move(f));
    }

    void FlushEvents() {
        const ODeviceState state = m_device.State();
        m_device.bTakeStateChanged();
        if (!(state == m_lastBroadcast)) {
            m_lastBroadcast = state;
            Broadcast(kEventState, StatePayload(state));
        }
        if (m_device.bTakeProgramsChanged()) Broadcast(kEventProgramsChanged, {});
        for (auto& p : m_device.TakeParts()) {
            const auto it = m_clients.find(p.session);
            if (it == m_clients.end()) continue;
            if (auto c = it->second->channels[kParts].lock()) SendPart(*c, p.payload);
        }
    }

    void ScheduleStream(SteadyClock::duration after) {
        m_streamTimer.expires_after(after);
        m_streamTimer.async_wait([this](std::error_code ec) {
            if (!ec) StreamTick();
        });
    }

    void StreamTick() {
        const auto interval = m_options.rate > 0
                                  ? std::chrono::duration_cast<SteadyClock::duration>(
                                        std::chrono::duration<double>(1.0 / m_options.rate))
                                  : SteadyClock::duration::zero();
        std::vector<std::shared_ptr<OSimConnection>> targets;
        for (auto& [token, client] : m_clients) {
            if (auto c = client->channels[kParts].lock()) targets.push_back(c);
        }
        if (!m_device.bIsStreaming() || targets.empty()) {
            m_nextPart.reset();
            return ScheduleStream(std::max<SteadyClock::duration>(interval, kIdlePoll));
        }
        if (m_options.rate > 0) return StreamAtRate(targets, interval);
        bool room = false;
        for (auto& c : targets)
            room = room || c->iQueuedPartBytes() < kMaxQueuedPartBytes;
        if (!room && m_options.rate == 0) {
            m_waitingForRoom = true;
            return;
        }
        SendStreamPart(targets);
        // As fast as taken: go on while some client has room.
        room = false;
        for (auto& c : targets)
            room = room || c->iQueuedPartBytes() < kMaxQueuedPartBytes;
        if (!room) {
            m_waitingForRoom = true;
            return;
        }
        asio::post(m_io, [this] { StreamTick(); });
    }

    void SendStreamPart(const std::vector<std::shared_ptr<OSimConnection>>& targets) {
        const auto payload = m_device.NextStreamPart();
        for (auto& c : targets) {
            if (c->iQueuedPartBytes() < kMaxQueuedPartBytes)
                SendPart(*c, payload);
            else if (m_dropped++ % 100 == 0)
                Log::Write(LogLevel::Info, "devsim", "a client does not keep up; parts dropped");
        }
    }

    // Parts fall due at the rate counted from the start of the stream, so that timer
    // latency does not slow the stream down: a late tick sends what fell due meanwhile.
    void StreamAtRate(const std::vector<std::shared_ptr<OSimConnection>>& targets,
                      SteadyClock::duration interval) {
        constexpr int kMaxPartsPerTick = 64;
        const auto now = SteadyClock::now();
        if (!m_nextPart || now - *m_nextPart > std::chrono::seconds(1)) m_nextPart = now;
        for (int sent = 0; *m_nextPart <= now && sent < kMaxPartsPerTick; ++sent) {
            SendStreamPart(targets);
            *m_nextPart += interval;
        }
        ScheduleStream(std::max<SteadyClock::duration>(*m_nextPart - now, {}));
    }

    void StartBusy() {
        m_device.SetBusy(true);
        FlushEvents();
        m_busyTimer.expires_after(std::chrono::duration_cast<SteadyClock::duration>(
            std::chrono::duration<double>(m_options.faults.busyFor)));
        m_busyTimer.async_wait([this](std::error_code ec) {
            if (ec) return;
            m_device.SetBusy(false);
            FlushEvents();
        });
    }

    void Housekeeping() {
        FlushEvents();
        if (m_options.keepAliveTimeout > 0) {
            const auto limit = std::chrono::duration<double>(m_options.keepAliveTimeout);
            std::vector<uint32_t> silent;
            for (auto& [token, client] : m_clients) {
                if (SteadyClock::now() - client->lastActivity > limit) silent.push_back(token);
            }
            for (uint32_t token : silent) {
                Log::Write(LogLevel::Info, "devsim",
                           "session " + std::to_string(token) + " timed out");
                DropClient(token);
            }
        }
        m_housekeeping.expires_after(kHousekeeping);
        m_housekeeping.async_wait([this](std::error_code ec) {
            if (!ec) Housekeeping();
        });
    }

    OSimOptions m_options;
    asio::io_context m_io;
    OSimDevice m_device;
    asio::signal_set m_signals;
    asio::steady_timer m_streamTimer;
    asio::steady_timer m_housekeeping;
    asio::steady_timer m_quitTimer;
    asio::steady_timer m_busyTimer;
    std::mt19937 m_random;
    std::vector<std::unique_ptr<asio::ip::tcp::acceptor>> m_acceptors;
    std::vector<std::weak_ptr<OSimConnection>> m_connections;
    std::shared_ptr<OSimConnection> m_serialConnection;
    std::map<uint32_t, std::shared_ptr<OSimClient>> m_clients;
    std::string m_serialPath;
    int m_slaveFd = -1;
    bool m_ptyMade = false;
    int m_base = 0;
    uint32_t m_nextToken = 0;
    int m_requests = 0;
    uint64_t m_answers = 0;
    uint64_t m_malformed = 0;
    uint64_t m_dropped = 0;
    bool m_waitingForRoom = false;
    ODeviceState m_lastBroadcast;
    std::ofstream m_trace;
    std::optional<SteadyClock::time_point> m_nextPart;  // when the next stream part is due
};

OSimServer::OSimServer(const OSimOptions& options) : m_impl(std::make_unique<OImpl>(options)) {}
OSimServer::~OSimServer() = default;
bool OSimServer::bOpen(std::string& message) {
    return m_impl->bOpen(message);
}
std::string OSimServer::ReadyLine() const {
    return m_impl->ReadyLine();
}
void OSimServer::Run() {
    m_impl->Run();
}
void OSimServer::Stop() {
    m_impl->Stop();
}
