// The clipboard with the program's private formats. A format is named by its MIME type
// (the names of the registered clipboard formats); the core produces and consumes the
// bytes. The desktop implements it with QClipboard/QMimeData; OClipboard_Memory serves
// headless runs and tests.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class Clipboard {
  public:
    virtual ~Clipboard() = default;

    // Replaces the clipboard content by `bytes` under `format`; false when that failed.
    virtual bool bSetData(std::string_view format, std::span<const uint8_t> bytes) = 0;
    // The bytes offered under `format`; false when the clipboard does not offer it.
    virtual bool bGetData(std::string_view format, std::vector<uint8_t>& bytes) const = 0;
    virtual bool bHasFormat(std::string_view format) const = 0;
    // The first of `formats` (in the caller's priority order) that the clipboard offers;
    // -1 when it offers none.
    int iGetPriorityFormat(std::span<const std::string> formats) const;
    virtual void Clear() = 0;
};

class OClipboard_Memory : public Clipboard {
  public:
    bool bSetData(std::string_view format, std::span<const uint8_t> bytes) override;
    bool bGetData(std::string_view format, std::vector<uint8_t>& bytes) const override;
    bool bHasFormat(std::string_view format) const override {
        return !m_format.empty() && m_format == format;
    }
    void Clear() override;
    // Makes the next bSetData fail, as a full or locked system clipboard does.
    void FailNextWrite() { m_failNext = true; }

  private:
    std::string m_format;
    std::vector<uint8_t> m_bytes;
    bool m_failNext = false;
};
