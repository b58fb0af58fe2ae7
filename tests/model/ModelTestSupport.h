// Shared helpers of the model tests: encoding to and decoding from byte vectors, editing
// block lengths by hand, and a tool kind and a data-output kind defined only for the tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <future>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "model/stream/OByteStream_Memory.h"
#include "model/tools/OType_ConfigTool.h"
#include "model/tools/OType_DeviceDataIO.h"

namespace modeltest {

using Bytes = std::vector<uint8_t>;

template <class T>
Bytes EncodeOf(const T& object) {
    OByteStream_Memory s;
    EXPECT_EQ(object.iEncode(s), 1);
    return s.TakeBytes();
}

template <class T>
int DecodeFrom(T& object, const Bytes& bytes) {
    auto s = OByteStream_Memory::View(bytes);
    return object.iDecode(s);
}

inline uint32_t U32At(const Bytes& bytes, size_t offset) {
    uint32_t v = 0;
    std::memcpy(&v, bytes.data() + offset, 4);
    return v;
}

inline void SetU32At(Bytes& bytes, size_t offset, uint32_t v) {
    std::memcpy(bytes.data() + offset, &v, 4);
}

inline Bytes U32Bytes(uint32_t v) {
    Bytes b(4);
    std::memcpy(b.data(), &v, 4);
    return b;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// What a newer writer produces: the object block of `block` (starting at offset 0) with
// `extra` appended to its payload and its length field raised accordingly.
inline Bytes WithExtraPayload(Bytes block, const Bytes& extra) {
    const uint32_t length = U32At(block, 0);
    EXPECT_EQ(static_cast<size_t>(length) + 4, block.size()) << "expects a single block";
    block.insert(block.end(), extra.begin(), extra.end());
    SetU32At(block, 0, length + static_cast<uint32_t>(extra.size()));
    return block;
}

// Some bytes a newer writer might append: a field and a string.
inline Bytes FutureFields() {
    OByteStream_Memory s;
    s.bWriteI32(0x5EED);
    s.bWriteString("added later");
    s.bWriteDouble(2.5);
    return s.TakeBytes();
}

// Offset of the first occurrence of a 32-bit value (e.g. an object id); npos when missing.
inline size_t FindU32(const Bytes& bytes, uint32_t v, size_t from = 0) {
    for (size_t i = from; i + 4 <= bytes.size(); ++i) {
        if (U32At(bytes, i) == v) return i;
    }
    return std::string::npos;
}

// Every proper prefix of a valid encoding must be refused, never crash, and leave the
// object encoding as `emptyEncoding` (that of a default-constructed object). `fresh` makes
// the object to decode into (it may hold data), `decode` decodes, `encode` encodes.
template <class Make, class Decode, class Encode>
void ExpectEveryPrefixRefused(const Bytes& valid, Make fresh, Decode decode, Encode encode,
                              const Bytes& emptyEncoding) {
    for (size_t n = 0; n < valid.size(); ++n) {
        auto object = fresh();
        const Bytes prefix(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(n));
        auto s = OByteStream_Memory::View(prefix);
        ASSERT_EQ(decode(*object, s), 0) << "prefix of " << n << " of " << valid.size();
        ASSERT_EQ(encode(*object), emptyEncoding) << "prefix of " << n << " left data behind";
    }
}

// Random bytes and randomly changed valid encodings never crash the decoder. A refused
// input leaves the object encoding as `emptyEncoding`; an accepted one encodes to bytes
// that decode again to the same encoding.
template <class Make, class Decode, class Encode>
void ExpectRandomInputHandled(const Bytes& valid, Make fresh, Decode decode, Encode encode,
                              const Bytes& emptyEncoding, int rounds = 300) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < rounds; ++round) {
        Bytes input;
        if (round % 3 == 0) {
            input.resize(rng() % 256);
            for (auto& b : input)
                b = static_cast<uint8_t>(rng());
        } else {
            input = valid;
            const int changes = 1 + static_cast<int>(rng() % 4);
            for (int c = 0; c < changes && !input.empty(); ++c)
                input[rng() % input.size()] = static_cast<uint8_t>(rng());
        }
        auto object = fresh();
        auto s = OByteStream_Memory::View(input);
        if (decode(*object, s) == 0) {
            ASSERT_EQ(encode(*object), emptyEncoding) << "round " << round;
            continue;
        }
        const Bytes again = encode(*object);
        auto second = fresh();
        auto s2 = OByteStream_Memory::View(again);
        ASSERT_EQ(decode(*second, s2), 1) << "round " << round;
        ASSERT_EQ(encode(*second), again) << "round " << round;
    }
}

// Both of the above.
template <class Make, class Decode, class Encode>
void ExpectBadInputHandled(const Bytes& valid, Make fresh, Decode decode, Encode encode,
                           const Bytes& emptyEncoding) {
    ExpectEveryPrefixRefused(valid, fresh, decode, encode, emptyEncoding);
    ExpectRandomInputHandled(valid, fresh, decode, encode, emptyEncoding);
}

// Holds a lock in another thread until released (or destroyed).
class LockHolder {
  public:
    template <class Lock, class Unlock>
    LockHolder(Lock lock, Unlock unlock) {
        auto locked = m_locked.get_future();
        m_thread = std::thread([this, lock, unlock, release = m_release.get_future()]() mutable {
            const bool ok = lock();
            m_locked.set_value(ok);
            release.wait();
            if (ok) unlock();
        });
        m_ok = locked.get();
    }
    ~LockHolder() { Release(); }
    bool bLocked() const { return m_ok; }
    void Release() {
        if (m_thread.joinable()) {
            m_release.set_value();
            m_thread.join();
        }
    }

  private:
    std::promise<bool> m_locked;
    std::promise<void> m_release;
    std::thread m_thread;
    bool m_ok = false;
};

// A tool kind of the tests: `features` features, a threshold and a label in its payload.
class OTestTool : public OType_ConfigTool {
  public:
    static constexpr int kKind = 901;

    explicit OTestTool(int features = 1, double threshold = 0.5, std::string label = {})
        : m_features(features), m_threshold(threshold), m_label(std::move(label)) {}

    int iGetConfigToolType() const override { return kKind; }
    std::unique_ptr<OType_ConfigTool> CreateNew() const override {
        return std::make_unique<OTestTool>();
    }
    std::string GetKindName() const override { return "TestTool"; }
    void CopyTo(OType_ConfigTool& other) const override {
        OType_ConfigTool::CopyTo(other);
        auto& o = dynamic_cast<OTestTool&>(other);
        o.m_features = m_features;
        o.m_threshold = m_threshold;
        o.m_label = m_label;
    }
    int iGetNumOfFeatures() const override { return m_features; }
    int iExtractObject_Test(OType_ZRPartSet&, const ZRINFO&, OType_Part&, OType_FeatureArray&, int,
                            OPainter*, int, const ORect&) override {
        return 0;
    }

    double dGetThreshold() const { return m_threshold; }
    void SetThreshold(double t) { m_threshold = t; }
    const std::string& GetLabel() const { return m_label; }

  protected:
    void EncodePayload(OByteStream& s) const override {
        s.bWriteI32(m_features);
        s.bWriteDouble(m_threshold);
        s.bWriteString(m_label);
    }
    bool bDecodePayload(OByteStream& s) override {
        int32_t features = 0;
        double threshold = 0;
        std::string label;
        if (!s.bReadI32(features) || !s.bReadDouble(threshold) || !s.bReadString(label))
            return false;
        if (features < 0 || features > 256) return false;
        m_features = features;
        m_threshold = threshold;
        m_label = std::move(label);
        return true;
    }

  private:
    int m_features;
    double m_threshold;
    std::string m_label;
};

// A data-output kind of the tests: a host and a port in its payload.
class OTestOutput : public OType_DeviceDataIO {
  public:
    static constexpr int kKind = 4;

    explicit OTestOutput(std::string host = "localhost", int port = 23)
        : m_host(std::move(host)), m_port(port) {}

    int iGetDataIOType() const override { return kKind; }
    std::unique_ptr<OType_DeviceDataIO> CreateNew() const override {
        return std::make_unique<OTestOutput>();
    }
    std::string GetKindName() const override { return "Telnet - XML"; }
    void CopyTo(OType_DeviceDataIO& other) const override {
        OType_DeviceDataIO::CopyTo(other);
        auto& o = dynamic_cast<OTestOutput&>(other);
        o.m_host = m_host;
        o.m_port = m_port;
    }

    const std::string& GetHost() const { return m_host; }
    int iGetPort() const { return m_port; }

  protected:
    void EncodePayload(OByteStream& s) const override {
        s.bWriteString(m_host);
        s.bWriteI32(m_port);
    }
    bool bDecodePayload(OByteStream& s) override {
        std::string host;
        int32_t port = 0;
        if (!s.bReadString(host) || !s.bReadI32(port) || port < 0 || port > 65535) return false;
        m_host = std::move(host);
        m_port = port;
        return true;
    }

  private:
    std::string m_host;
    int m_port;
};

}  // namespace modeltest
