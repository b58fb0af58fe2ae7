// A byte stream that forwards to another one at the same positions and moves a progress
// bar by the bytes that pass, so that the big blocks of a project file stream straight
// into or out of the file while the status bar shows how far they got.
#pragma once

#include "model/stream/OByteStream.h"

class OProgressCtrl;

class OByteStream_Progress : public OByteStream {
  public:
    // The progress object may be null; its length should be the expected byte count.
    OByteStream_Progress(OByteStream& inner, OProgressCtrl* progress);
    ~OByteStream_Progress() override;

    bool bFlush() override;

  protected:
    size_t DoRead(void* data, size_t size) override;
    bool DoWrite(const void* data, size_t size) override;
    bool DoSeek(uint64_t pos) override;
    uint64_t DoSize() const override;

  private:
    void Advance(size_t bytes);

    OByteStream& m_inner;
    OProgressCtrl* m_progress;
    uint64_t m_pending = 0;  // bytes not yet reported
};
