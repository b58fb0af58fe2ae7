// A buffered byte stream over a file, for reading or for writing (with seeking back to
// patch length fields).
#pragma once

#include <cstdio>
#include <filesystem>

#include "model/stream/OByteStream.h"

class OByteStream_File : public OByteStream {
  public:
    enum class Mode { Read, Write };

    OByteStream_File() = default;
    ~OByteStream_File() override;

    // Opens the file; Write creates or truncates it. On failure bIsOpen() is false and
    // LastError() holds the system's description.
    bool bOpen(const std::filesystem::path& path, Mode mode);
    bool bIsOpen() const { return m_file != nullptr; }
    // Flushes and closes; returns false when buffered data could not be written.
    bool bClose();
    bool bFlush() override;
    const std::string& LastError() const { return m_lastError; }

  protected:
    bool FillReadWindow() override;
    size_t DoRead(void* data, size_t size) override;
    bool DoWrite(const void* data, size_t size) override;
    bool DoSeek(uint64_t pos) override;
    uint64_t DoSize() const override;

  private:
    bool FlushWriteBuffer();
    void RecordError();

    std::FILE* m_file = nullptr;
    Mode m_mode = Mode::Read;
    uint64_t m_size = 0;  // file size (read mode) or high-water mark (write mode)
    std::vector<uint8_t> m_buffer;
    uint64_t m_bufferStart = 0;  // file offset of m_buffer[0]
    size_t m_bufferFill = 0;     // valid bytes in m_buffer
    std::string m_lastError;
};
