// A byte stream over a growable in-memory buffer, or over borrowed read-only bytes.
#pragma once

#include "model/stream/OByteStream.h"

class OByteStream_Memory : public OByteStream {
  public:
    OByteStream_Memory() = default;
    // Reads (and may overwrite a copy of) the given bytes.
    explicit OByteStream_Memory(std::vector<uint8_t> bytes) : m_data(std::move(bytes)) {}
    // Reads borrowed bytes without copying them; writing to such a stream fails.
    static OByteStream_Memory View(std::span<const uint8_t> bytes);

    OByteStream_Memory(OByteStream_Memory&& other) noexcept;

    const uint8_t* Data() const { return m_view ? m_view : m_data.data(); }
    std::span<const uint8_t> Bytes() const { return {Data(), static_cast<size_t>(DoSize())}; }
    // Moves the written bytes out; the stream is empty afterwards.
    std::vector<uint8_t> TakeBytes();
    void Reserve(size_t bytes) { m_data.reserve(bytes); }
    void Clear();

  protected:
    bool FillReadWindow() override;
    size_t DoRead(void* data, size_t size) override;
    bool DoWrite(const void* data, size_t size) override;
    bool DoSeek(uint64_t pos) override;
    uint64_t DoSize() const override { return m_view ? m_viewSize : m_data.size(); }

  private:
    std::vector<uint8_t> m_data;
    const uint8_t* m_view = nullptr;
    size_t m_viewSize = 0;
};
