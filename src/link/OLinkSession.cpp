#include "link/OLinkSession.h"

#include <termios.h>

#include <asio.hpp>
#include <deque>
#include <future>
#include <type_traits>

#include "platform/Log.h"

using namespace LinkProtocol;

namespace {

constexpr size_t kReadChunk = 256 * 1024;
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

}  // namespace

struct OLinkSession::OIo {
    asio::io_context context;
    asio::executor_work_guard<asio::io_context::executor_type> guard{context.get_executor()};
};

struct OLinkSession::OPending {
    std::condition_variable cv;
    bool done = false;
    int status = 0;
    std::vector<uint8_t> answer;
    std::atomic<uint64_t> sent{0};
    uint64_t sendTotal = 0;
    uint64_t received = 0;
    uint64_t receiveTotal = 0;
};

class OLinkSession::OSink : public OLinkFrameSink {
  public:
    explicit OSink(OLinkSession& session) : m_session(session) {}
    void OnMessage(OLinkMessage&& message) override { m_session.OnMessage(std::move(message)); }
    void OnRefusal(const OLinkRefusal& refusal) override { m_session.OnRefusal(refusal); }
    void OnProgress(const OLinkFrameHeader& header, uint64_t received) override {
        m_session.OnProgress(header, received);
    }

  private:
    OLinkSession& m_session;
};

struct OOutgoing {
    uint8_t kind = kRequest;
    uint8_t channel = 0;
    uint32_t code = 0;
    uint32_t id = 0;
    std::shared_ptr<const std::vector<uint8_t>> payload;
    std::function<void(uint64_t)> onSent;
};

class OLinkSession::OPipe {
  public:
    virtual ~OPipe() = default;
    // All three run on the io thread.
    virtual void Start() = 0;
    virtual void Enqueue(OOutgoing message) = 0;
    virtual void Close() = 0;
    virtual bool bSetBaud(unsigned /*baud*/) { return false; }
};

template <class Stream>
class OLinkSession::OStreamPipe : public OLinkSession::OPipe,
                                  public std::enable_shared_from_this<OStreamPipe<Stream>> {
  public:
    OStreamPipe(OLinkSession& session, Stream stream, uint32_t maxFrame, bool crc)
        : m_session(session),
          m_sink(session),
          m_stream(std::move(stream)),
          m_maxFrame(maxFrame),
          m_crc(crc) {
        m_decoder.SetRequireCrc(crc);
    }

    void Start() override { Read(); }

    void Enqueue(OOutgoing message) override {
        if (m_closed) return;
        m_queue.push_back(std::move(message));
        if (!m_writing) WriteNext();
    }

    void Close() override {
        m_closed = true;
        std::error_code ignored;
        m_stream.close(ignored);
        m_queue.clear();
    }

    bool bSetBaud(unsigned baud) override {
        if constexpr (std::is_same_v<Stream, asio::serial_port>) {
            std::error_code ec;
            m_stream.set_option(asio::serial_port_base::baud_rate(baud), ec);
            m_decoder.Reset();
            return !ec;
        }
        return false;
    }

  private:
    void Read() {
        if (m_closed) return;
        auto area = m_decoder.WriteArea(kReadChunk);
        auto self = this->shared_from_this();
        m_stream.async_read_some(asio::buffer(area.data(), area.size()),
                                 [self](const std::error_code& ec, size_t n) {
                                     if (ec) {
                                         if (!self->m_closed) self->m_session.OnPipeError();
                                         return;
                                     }
                                     self->m_decoder.Commit(n, self->m_sink);
                                     self->Read();
                                 });
    }

    void WriteNext() {
        if (m_queue.empty() || m_closed) {
            m_writing = false;
            return;
        }
        m_writing = true;
        const OOutgoing& m = m_queue.front();
        const auto& bytes = *m.payload;
        const OLinkFrameHeader h = LinkFrame::FrameHeader(m.kind, m.channel, m.code, m.id,
                                                          bytes.size(), m_maxFrame, m_frame, m_crc);
        m_header = LinkFrame::EncodeHeader(h);
        const size_t offset = m_frame * static_cast<size_t>(m_maxFrame);
        const std::span<const uint8_t> slice(bytes.data() + std::min(offset, bytes.size()),
                                             h.length);
        m_trailer = LinkFrame::EncodeTrailer(slice, m_crc);
        const std::array<asio::const_buffer, 3> buffers{
            asio::buffer(m_header), asio::buffer(slice.data(), slice.size()),
            asio::buffer(m_trailer.bytes.data(), m_trailer.size)};
        const bool last = !(h.flags & kFlagMore);
        auto self = this->shared_from_this();
        asio::async_write(m_stream, buffers,
                          [self, last, n = slice.size()](const std::error_code& ec, size_t) {
                              if (ec) {
                                  if (!self->m_closed) self->m_session.OnPipeError();
                                  return;
                              }
                              if (!self->m_queue.empty() && self->m_queue.front().onSent)
                                  self->m_queue.front().onSent(n);
                              if (last) {
                                  if (!self->m_queue.empty()) self->m_queue.pop_front();
                                  self->m_frame = 0;
                              } else {
                                  ++self->m_frame;
                              }
                              self->WriteNext();
                          });
    }

    OLinkSession& m_session;
    OSink m_sink;
    Stream m_stream;
    uint32_t m_maxFrame;
    bool m_crc;
    OLinkFrameDecoder m_decoder;
    std::deque<OOutgoing> m_queue;
    size_t m_frame = 0;
    bool m_writing = false;
    bool m_closed = false;
    std::array<uint8_t, kHeaderSize> m_header{};
    LinkFrame::OFrameTrailer m_trailer;
};

OLinkSession::OLinkSession(OLinkSessionListener* listener)
    : m_listener(listener), m_io(std::make_unique<OIo>()) {
    // Runs until Close() has closed every pipe and released the guard.
    m_thread = std::thread([this] { m_io->context.run(); });
}

OLinkSession::~OLinkSession() {
    Close();
}

void OLinkSession::Close() {
    std::vector<std::shared_ptr<OPipe>> pipes;
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return;
        m_closed = true;
        pipes = m_pipes;
        for (auto& [id, p] : m_pending) {
            p->status = Result::kConnectionLost;
            p->done = true;
            p->cv.notify_all();
        }
        m_pending.clear();
    }
    if (m_thread.joinable()) {
        asio::post(m_io->context, [this, pipes] {
            for (auto& p : pipes)
                p->Close();
            m_io->guard.reset();
        });
        m_thread.join();
    }
    std::lock_guard lock(m_mutex);
    m_channelPipe.fill(nullptr);
    m_pipes.clear();
}

uint32_t OLinkSession::NextId() {
    std::lock_guard lock(m_mutex);
    return ++m_nextId;
}

OLinkSession::OPipe* OLinkSession::PipeFor(uint8_t channel) const {
    std::lock_guard lock(m_mutex);
    return channel < kNumChannels ? m_channelPipe[channel] : nullptr;
}

int OLinkSession::iConnectTcp(uint8_t channel, const std::string& host, uint16_t port,
                              Clock::time_point deadline) {
    using asio::ip::tcp;
    if (channel >= kNumChannels) return Result::kBadArgument;
    auto socket = std::make_shared<tcp::socket>(m_io->context);
    auto resolver = std::make_shared<tcp::resolver>(m_io->context);
    auto done = std::make_shared<std::promise<std::error_code>>();
    auto result = done->get_future();
    resolver->async_resolve(
        host, std::to_string(port),
        [socket, resolver, done](const std::error_code& ec, tcp::resolver::results_type found) {
            if (ec) return done->set_value(ec);
            asio::async_connect(
                *socket, found,
                [done](const std::error_code& e, const tcp::endpoint&) { done->set_value(e); });
        });
    if (result.wait_until(deadline) != std::future_status::ready) {
        asio::post(m_io->context, [socket, resolver] {
            resolver->cancel();
            std::error_code ignored;
            socket->close(ignored);
        });
        result.wait();
        Log::Write(LogLevel::Warning, "link",
                   "connecting to " + host + ":" + std::to_string(port) + " timed out");
        return Result::kConnectFailed;
    }
    if (const std::error_code ec = result.get()) {
        Log::Write(LogLevel::Info, "link",
                   "cannot connect to " + host + ":" + std::to_string(port) + ": " + ec.message());
        return Result::kConnectFailed;
    }
    std::error_code ignored;
    socket->set_option(tcp::no_delay(true), ignored);
    auto pipe = std::make_shared<OStreamPipe<tcp::socket>>(*this, std::move(*socket),
                                                           kTcpFramePayload, false);
    {
        std::lock_guard lock(m_mutex);
        m_pipes.push_back(pipe);
        m_channelPipe[channel] = pipe.get();
    }
    asio::post(m_io->context, [pipe] { pipe->Start(); });
    return Result::kOk;
}

int OLinkSession::iOpenSerial(const std::string& device, unsigned baud) {
    asio::serial_port port(m_io->context);
    std::error_code ec;
    port.open(device, ec);
    if (!ec) port.set_option(asio::serial_port_base::baud_rate(baud), ec);
    if (!ec) port.set_option(asio::serial_port_base::character_size(8), ec);
    if (!ec)
        port.set_option(asio::serial_port_base::parity(asio::serial_port_base::parity::none), ec);
    if (!ec)
        port.set_option(asio::serial_port_base::stop_bits(asio::serial_port_base::stop_bits::one),
                        ec);
    if (!ec)
        port.set_option(
            asio::serial_port_base::flow_control(asio::serial_port_base::flow_control::none), ec);
    if (ec) {
        Log::Write(LogLevel::Info, "link", "cannot open " + device + ": " + ec.message());
        return Result::kConnectFailed;
    }
    // Bytes left on the line by an earlier session (late answers, parts) would be read as
    // this session's.
    ::tcflush(port.native_handle(), TCIOFLUSH);
    auto pipe = std::make_shared<OStreamPipe<asio::serial_port>>(*this, std::move(port),
                                                                 kSerialFramePayload, true);
    {
        std::lock_guard lock(m_mutex);
        m_pipes.push_back(pipe);
        m_channelPipe.fill(pipe.get());
    }
    asio::post(m_io->context, [pipe] { pipe->Start(); });
    return Result::kOk;
}

int OLinkSession::iSetSerialSpeed(unsigned baud) {
    OPipe* pipe = PipeFor(kControl);
    if (!pipe) return Result::kNotOnline;
    auto done = std::make_shared<std::promise<bool>>();
    auto result = done->get_future();
    asio::post(m_io->context, [pipe, baud, done] { done->set_value(pipe->bSetBaud(baud)); });
    return result.get() ? Result::kOk : Result::kConnectFailed;
}

int OLinkSession::iSend(uint8_t channel, uint32_t op, std::span<const uint8_t> payload) {
    OPipe* pipe = PipeFor(channel);
    if (!pipe) return Result::kNotOnline;
    {
        std::lock_guard lock(m_mutex);
        if (m_lost || m_closed) return Result::kConnectionLost;
    }
    OOutgoing out;
    out.channel = channel;
    out.code = op;
    out.id = NextId();
    out.payload = std::make_shared<const std::vector<uint8_t>>(payload.begin(), payload.end());
    asio::post(m_io->context,
               [pipe, out = std::move(out)]() mutable { pipe->Enqueue(std::move(out)); });
    return Result::kOk;
}

int OLinkSession::iExchange(uint8_t channel, uint32_t op, std::span<const uint8_t> payload,
                            std::vector<uint8_t>& answer, Clock::time_point deadline,
                            const ProgressCallback& progress) {
    if (payload.size() > kMaxMessageSize) return Result::kBadArgument;
    OPipe* pipe = PipeFor(channel);
    if (!pipe) return Result::kNotOnline;
    auto pending = std::make_shared<OPending>();
    pending->sendTotal = payload.size();
    OOutgoing out;
    out.channel = channel;
    out.code = op;
    out.payload = std::make_shared<const std::vector<uint8_t>>(payload.begin(), payload.end());
    out.onSent = [pending](uint64_t n) { pending->sent += n; };
    {
        std::lock_guard lock(m_mutex);
        if (m_closed) return Result::kNotOnline;
        if (m_lost) return Result::kConnectionLost;
        out.id = ++m_nextId;
        m_pending[out.id] = pending;
    }
    const uint32_t id = out.id;
    asio::post(m_io->context,
               [pipe, out = std::move(out)]() mutable { pipe->Enqueue(std::move(out)); });

    std::unique_lock lock(m_mutex);
    while (!pending->done) {
        const auto now = Clock::now();
        if (now >= deadline) {
            m_pending.erase(id);
            return Result::kTimeOut;
        }
        pending->cv.wait_until(lock, std::min(deadline, now + kProgressInterval));
        if (progress && !pending->done) {
            const OExchangeProgress snapshot{pending->sent.load(), pending->sendTotal,
                                             pending->received, pending->receiveTotal};
            lock.unlock();
            progress(snapshot);
            lock.lock();
        }
    }
    answer = std::move(pending->answer);
    if (progress) {
        const OExchangeProgress done{pending->sendTotal, pending->sendTotal, answer.size(),
                                     answer.size()};
        lock.unlock();
        progress(done);
    }
    return pending->status;
}

void OLinkSession::OnMessage(OLinkMessage&& m) {
    if (m.kind == kAnswer) {
        std::lock_guard lock(m_mutex);
        const auto it = m_pending.find(m.id);
        if (it == m_pending.end()) return;  // late answer of an exchange that timed out
        it->second->status = static_cast<int>(m.code);
        it->second->answer = std::move(m.payload);
        it->second->done = true;
        it->second->cv.notify_all();
        m_pending.erase(it);
        return;
    }
    if (m.kind == kNotification) {
        m_listener->OnNotification(std::move(m));
        return;
    }
    Log::Write(LogLevel::Warning, "link", "ignored a request sent by the device");
}

void OLinkSession::OnRefusal(const OLinkRefusal& r) {
    Log::Write(LogLevel::Warning, "link",
               std::string("refused a frame from the device: ") +
                   std::string(LinkFrameFaultName(r.fault)));
    std::lock_guard lock(m_mutex);
    ++m_refused;
    // Requests and notifications from the device have ids of their own; anything else with
    // an intact header was meant as the answer with that id.
    if (!r.bHasId || r.id == 0 || r.kind == kRequest || r.kind == kNotification) return;
    const auto it = m_pending.find(r.id);
    if (it == m_pending.end()) return;
    it->second->status = Result::kProtocolError;
    it->second->done = true;
    it->second->cv.notify_all();
    m_pending.erase(it);
}

void OLinkSession::OnProgress(const OLinkFrameHeader& h, uint64_t received) {
    if (h.kind != kAnswer) return;
    std::lock_guard lock(m_mutex);
    const auto it = m_pending.find(h.id);
    if (it == m_pending.end()) return;
    it->second->received = received;
    it->second->receiveTotal = h.total;
}

void OLinkSession::OnPipeError() {
    {
        std::lock_guard lock(m_mutex);
        if (m_closed || m_lost) return;
        m_lost = true;
        for (auto& [id, p] : m_pending) {
            p->status = Result::kConnectionLost;
            p->done = true;
            p->cv.notify_all();
        }
        m_pending.clear();
    }
    m_listener->OnConnectionLost(Result::kConnectionLost);
}

bool OLinkSession::bIsLost() const {
    std::lock_guard lock(m_mutex);
    return m_lost;
}

uint64_t OLinkSession::iRefusedFrames() const {
    std::lock_guard lock(m_mutex);
    return m_refused;
}
