// The system clipboard for the core: each of the program's formats is a MIME type of the
// clipboard's QMimeData.
#pragma once

#include "platform/Clipboard.h"

class OClipboard_Qt : public Clipboard {
  public:
    bool bSetData(std::string_view format, std::span<const uint8_t> bytes) override;
    bool bGetData(std::string_view format, std::vector<uint8_t>& bytes) const override;
    bool bHasFormat(std::string_view format) const override;
    void Clear() override;
};
