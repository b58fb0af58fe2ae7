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
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class OProgressCtrl;

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
        m_fastLeft = 0;
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

    bool bReadRaw(void* data, size_t size) {
        // Fast path: the bytes lie in the implementation's read window and inside the limit.
        if (size <= m_fastLeft) {
            if (size == 0) return m_ok;  // an empty array may come with no buffer at all
            std::memcpy(data, m_window, size);
            m_window += size;
            m_windowLeft -= size;
            m_fastLeft -= size;
            m_pos += size;
            return true;
        }
        return ReadSlow(data, size);
    }
    bool bReadU8(uint8_t& v) { return bReadRaw(&v, 1); }
    bool bReadU16(uint16_t& v) { return bReadRaw(&v, sizeof v); }
    bool bReadU32(uint32_t& v) { return bReadRaw(&v, sizeof v); }
    bool bReadI32(int32_t& v) { return bReadRaw(&v, sizeof v); }
    bool bReadU64(uint64_t& v) { return bReadRaw(&v, sizeof v); }
    bool bReadI64(int64_t& v) { return bReadRaw(&v, sizeof v); }
    bool bReadDouble(double& v) { return bReadRaw(&v, sizeof v); }
    bool bReadBool(bool& v) {
        uint8_t b = 0;
        if (!bReadRaw(&b, 1)) return false;
        v = b != 0;
        return true;
    }
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

    // Moves `progress` by the bytes read or written from now on (in steps of about 1 MiB
    // and at the end); nullptr reports what is left and detaches.
    void SetProgress(OProgressCtrl* progress);

  protected:
    // An implementation may expose the bytes from m_pos on as a window that reads copy
    // from directly. The base asks for a new one when its window is used up; false means
    // there is none and DoRead serves the read.
    virtual bool FillReadWindow() { return false; }
    // Called by FillReadWindow: the window starts at m_pos.
    void SetReadWindow(const uint8_t* begin, size_t size);
    void DropReadWindow();

    // Implementations move bytes at m_pos and report the total size of the data.
    virtual size_t DoRead(void* data, size_t size) = 0;
    virtual bool DoWrite(const void* data, size_t size) = 0;
    virtual bool DoSeek(uint64_t pos) = 0;
    virtual uint64_t DoSize() const = 0;

    uint64_t m_pos = 0;
    bool m_ok = true;

  private:
    bool ReadSlow(void* data, size_t size);
    void UpdateFastLeft();
    void ReportProgress();

    std::vector<uint64_t> m_limits;
    const uint8_t* m_window = nullptr;
    size_t m_windowLeft = 0;  // window bytes from m_pos on
    size_t m_fastLeft = 0;    // of those, the ones before the limit and the data end
    OProgressCtrl* m_progress = nullptr;
    uint64_t m_progressMark = 0;
};

// Moves a progress object by the bytes a stream reads or writes while the scope lasts.
class OStreamProgressScope {
  public:
    OStreamProgressScope(OByteStream& stream, OProgressCtrl* progress) : m_stream(stream) {
        m_stream.SetProgress(progress);
    }
    ~OStreamProgressScope() { m_stream.SetProgress(nullptr); }
    OStreamProgressScope(const OStreamProgressScope&) = delete;
    OStreamProgressScope& operator=(const OStreamProgressScope&) = delete;

  private:
    OByteStream& m_stream;
};
