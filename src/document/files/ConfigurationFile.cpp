#include "document/files/ConfigurationFile.h"

#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

namespace ConfigurationFile {

bool bWrite(const OType_ZRPartSet& partSet, OByteStream& out) {
    return partSet.iEncode(out, 1, 0) == 1 && out.bIsOk();
}

int iDecode(std::span<const uint8_t> bytes, OType_ZRPartSet& decoded, std::string& detail) {
    auto stream = OByteStream_Memory::View(bytes);
    uint32_t id = 0;
    if (!OObjectBlockReader::bPeekId(stream, id) || id != ObjectId::kPartSet) {
        detail = "The file is not a check program configuration.";
        return 0;
    }
    if (decoded.iDecode(stream, OType_ZRPartSet::DecodeHistory::Clear) != 1) {
        detail = "The check program configuration is damaged or incomplete.";
        return 0;
    }
    if (stream.iRemaining() != 0) {
        decoded.Clear();
        detail = "The check program configuration is followed by bytes that do not belong to it.";
        return 0;
    }
    return 1;
}

}  // namespace ConfigurationFile
