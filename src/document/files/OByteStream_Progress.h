// A byte stream that forwards to another one at the same positions and moves a progress
// bar by the bytes that pass, so that the big blocks of a project file stream straight
// into or out of the file while the status bar shows how far they got.
//
// It keeps a buffer of its own, so that the many small fields of an encoding reach the
// file stream in large pieces: written bytes until the buffer is full, a position leaves
// it or the stream is flushed or destroyed; read-ahead up to the inner stream's limit.
#pragma once

#include <vector>

#include "model/stream/OByteStream.h"

class OProgressCtrl;

class OByteStream_Progress : public OByteStream {
  public:
    enum class Direction { Read, Write };

    // The progress object may be null; its length should be the expected byte count.
    OByteStream_Progress(OByteStream& inner, OProgressCtrl* progress, Direction direction);
    // Writes what is buffered and reports the rest of the progress.
    ~OByteStream_Progress() override;

    bool bFlush() override;

  protected:
    size_t DoRead(void* data, size_t size) override;
    bool DoWrite(const void* data, size_t size) override;
    bool DoSeek(uint64_t pos) override;
    uint64_t DoSize() const override;

  private:
    bool bFlushBuffer();
    bool bFill(uint64_t pos);
    void Advance(size_t bytes);

    OByteStream& m_inner;
    OProgressCtrl* m_progress;
    Direction m_direction;
    std::vector<uint8_t> m_buffer;
    uint64_t m_bufferStart = 0;  // stream offset of m_buffer[0]
    size_t m_bufferFill = 0;
    uint64_t m_readEnd = 0;  // reading: the inner stream's limit when this one was made
    uint64_t m_pending = 0;  // bytes not yet reported
};
