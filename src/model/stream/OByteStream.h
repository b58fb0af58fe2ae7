// Typed byte streams of the model library: little-endian integers and doubles, byte
// arrays and UTF-8 strings with a 32-bit length, forward skip and nested read limits.
//
// Every read is bounds-checked against the stream size and the innermost read limit.
// The first failure makes the stream "failed" (sticky, like std::ios): later reads
// return false and write nothing into their outputs, so a decoder may read a run of
// fields and test bIsOk() once. Lengths read from the stream are checked against the
// bytes that remain before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class OByteStream {
  public:
    OByteStream() = default;
    OByteStream(const OByteStream&) = delete;
    OByteStream& operator=(const OByteStream&) = delete;
    virtual ~OByteStream() = default;

    bool bIsOk() const { return m_ok; }
    // Marks the stream failed; decoders call this for semantically invalid input.
    bool Fail() {
        m_ok = false;
        return false;
    }

    uint64_t iGetPos() const { return m_pos; }
    uint64_t iGetSize() const { return DoSize(); }
    // Bytes that may still be read: up to the innermost limit or the end of the data.
    uint64_t iRemaining() const;
    bool bSeek(uint64_t pos);
    bool bSkip(uint64_t count);

    // Read limits for nested objects: reads past `end` fail until the limit is popped.
    bool bPushLimit(uint64_t end);
    void PopLimit();
    size_t iLimitDepth() const { return m_limits.size(); }

    bool bWriteRaw(const void* data, size_t size);
    bool bWriteU8(uint8_t v) { return bWriteRaw(&v, 1); }
    bool bWriteU16(uint16_t v);
    bool bWriteU32(uint32_t v);
    bool bWriteI32(int32_t v) { return bWriteU32(static_cast<uint32_t>(v)); }
    bool bWriteU64(uint64_t v);
    bool bWriteI64(int64_t v) { return bWriteU64(static_cast<uint64_t>(v)); }
    bool bWriteDouble(double v);
    bool bWriteBool(bool v) { return bWriteU8(v ? 1 : 0); }
    // u32 length, then the bytes.
    bool bWriteByteArray(std::span<const uint8_t> bytes);
    bool bWriteString(std::string_view text);
    // u32 count, then the values.
    bool bWriteI16Array(std::span<const int16_t> values);
    bool bWriteDoubleArray(std::span<const double> values);

    bool bReadRaw(void* data, size_t size);
    bool bReadU8(uint8_t& v) { return bReadRaw(&v, 1); }
    bool bReadU16(uint16_t& v);
    bool bReadU32(uint32_t& v);
    bool bReadI32(int32_t& v);
    bool bReadU64(uint64_t& v);
    bool bReadI64(int64_t& v);
    bool bReadDouble(double& v);
    bool bReadBool(bool& v);
    bool bReadByteArray(std::vector<uint8_t>& bytes);
    bool bReadString(std::string& text);
    bool bReadI16Array(std::vector<int16_t>& values);
    bool bReadDoubleArray(std::vector<double>& values);
    // Reads a u32 element count and fails unless count * minElementSize bytes remain,
    // so that hostile counts never lead to large allocations.
    bool bReadCount(uint32_t& count, uint64_t minElementSize);
    // Reads `size` bytes into a fresh vector (bounded by what remains).
    bool bReadBytes(std::vector<uint8_t>& bytes, uint64_t size);

    virtual bool bFlush() { return m_ok; }

  protected:
    // Implementations move bytes at m_pos and report the total size of the data.
    virtual size_t DoRead(void* data, size_t size) = 0;
    virtual bool DoWrite(const void* data, size_t size) = 0;
    virtual bool DoSeek(uint64_t pos) = 0;
    virtual uint64_t DoSize() const = 0;

    uint64_t m_pos = 0;
    bool m_ok = true;

  private:
    std::vector<uint64_t> m_limits;
};
