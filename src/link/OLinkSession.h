// One connection of the link to a device: its io_context thread, its pipes (three TCP
// sockets, or one serial line carrying all channels), the exchanges waiting for answers
// and the reassembly of incoming messages. Thread-safe: any thread may run exchanges;
// notifications and connection loss are reported to the listener on the io thread.
// Close() (and the destructor) closes every pipe and joins the thread.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "link/OLinkFrame.h"

class OLinkSessionListener {
  public:
    virtual ~OLinkSessionListener() = default;
    // A notification from the device (io thread).
    virtual void OnNotification(OLinkMessage&& message) = 0;
    // The line broke or the device closed it; reported once (io thread).
    virtual void OnConnectionLost(int result) = 0;
};

// Bytes moved by an exchange so far, for progress bars.
struct OExchangeProgress {
    uint64_t sent = 0;
    uint64_t sendTotal = 0;
    uint64_t received = 0;
    uint64_t receiveTotal = 0;
};

class OLinkSession {
  public:
    using Clock = std::chrono::steady_clock;
    // Called on the waiting thread about every 100 ms while an exchange runs.
    using ProgressCallback = std::function<void(const OExchangeProgress&)>;

    explicit OLinkSession(OLinkSessionListener* listener);
    ~OLinkSession();
    OLinkSession(const OLinkSession&) = delete;
    OLinkSession& operator=(const OLinkSession&) = delete;

    // Adds a TCP pipe carrying one channel. Result code (1 on success).
    int iConnectTcp(uint8_t channel, const std::string& host, uint16_t port,
                    Clock::time_point deadline);
    // Adds a serial pipe carrying every channel; frames get a CRC-32.
    int iOpenSerial(const std::string& device, unsigned baud);
    // Changes the speed of the serial pipe.
    int iSetSerialSpeed(unsigned baud);

    // Sends a request and waits for its answer until the deadline. Returns the answer's
    // code (1 = done, else the device's error), 21 on time-out, 22 when the connection was
    // lost, 24 when the answer was malformed.
    int iExchange(uint8_t channel, uint32_t op, std::span<const uint8_t> payload,
                  std::vector<uint8_t>& answer, Clock::time_point deadline,
                  const ProgressCallback& progress = {});
    // Sends a request without waiting for an answer (answers are discarded).
    int iSend(uint8_t channel, uint32_t op, std::span<const uint8_t> payload);

    bool bIsLost() const;
    uint64_t iRefusedFrames() const;
    void Close();

  private:
    struct OPending;
    class OPipe;
    template <class Stream>
    class OStreamPipe;
    class OSink;

    uint32_t NextId();
    OPipe* PipeFor(uint8_t channel) const;
    void OnMessage(OLinkMessage&& message);
    void OnRefusal(const OLinkRefusal& refusal);
    void OnProgress(const OLinkFrameHeader& header, uint64_t received);
    void OnPipeError();

    struct OIo;

    OLinkSessionListener* m_listener;
    std::unique_ptr<OIo> m_io;
    std::thread m_thread;
    std::vector<std::shared_ptr<OPipe>> m_pipes;
    std::array<OPipe*, LinkProtocol::kNumChannels> m_channelPipe{};
    mutable std::mutex m_mutex;
    std::map<uint32_t, std::shared_ptr<OPending>> m_pending;
    uint32_t m_nextId = 0;
    bool m_lost = false;
    bool m_closed = false;
    uint64_t m_refused = 0;
};
