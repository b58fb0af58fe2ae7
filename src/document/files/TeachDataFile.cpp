#include "document/files/TeachDataFile.h"

#include <algorithm>

#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/partset/PartDataEncoding.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"
#include "model/strings/FormatPrintf.h"

namespace TeachDataFile {
namespace {

constexpr int kTooManyFeatures = 5221;
constexpr int kNotConvertible = 5220;
constexpr int kNotConvertibleForDevice = 5222;

int Refuse(int textId, std::string detail, int& errorTextId, std::string& detailOut) {
    errorTextId = textId;
    detailOut = std::move(detail);
    return 0;
}

bool bContains(const std::string& text, const char* what) {
    return text.find(what) != std::string::npos;
}

// The part data of a part type in the form of a protocol (with the part type's number,
// its options and names), made without touching the part set.
bool bConvert(const OType_ZRPartSet& set, int subType, int protocol, std::vector<uint8_t>& out) {
    ZRINFO info;
    if (set.opGetDeviceInfo()) info = *set.opGetDeviceInfo();
    info.SetU16(ZRINFO::kPartDataProtocol, static_cast<uint16_t>(protocol));
    OType_ZRPartSet scratch;
    scratch.SetName(set.GetName());
    scratch.SetNumSubTypes(subType + 1);
    *scratch.opGetSubType(subType) = *set.opGetSubType(subType);
    scratch.SetDeviceInfo(&info);
    int used = -1;
    return iEncodePartSet_SubType_PartData(scratch, subType, 1, out, used) == 1 && used == protocol;
}

std::vector<uint8_t> WithFileHeader(Format format, const std::vector<uint8_t>& payload) {
    OByteStream_Memory s;
    {
        OObjectBlockWriter block(s, ObjectId::kTeachDataFile);
        s.bWriteU32(static_cast<uint32_t>(format));
        s.bWriteByteArray(payload);
        block.bClose();
    }
    return s.TakeBytes();
}

// The part data and their protocol inside a file of any form; false when it is none.
bool bUnwrap(std::span<const uint8_t> bytes, std::vector<uint8_t>& payload, int& protocol,
             std::string& detail) {
    auto s = OByteStream_Memory::View(bytes);
    uint32_t id = 0;
    if (bytes.size() >= 8 && OObjectBlockReader::bPeekId(s, id) && id == ObjectId::kTeachDataFile) {
        OObjectBlockReader block(s, ObjectId::kTeachDataFile);
        uint32_t format = 0;
        s.bReadU32(format);
        s.bReadByteArray(payload);
        block.TakeTrailer();
        if (!block.bIsOk() || !block.bClose() || s.iRemaining() != 0) {
            detail = "The Teach-Data file is damaged or incomplete.";
            return false;
        }
        if (format > 1) {
            detail = FormatPrintf("The Teach-Data file has the unknown format %u.", format);
            return false;
        }
        protocol = format == 0 ? PartData::kProtocolLegacy : PartData::kProtocolPackage;
        return true;
    }
    if (bytes.size() >= 8 && OObjectBlockReader::bPeekId(s, id) &&
        id == PartData::kPartDataObjectId) {
        payload.assign(bytes.begin(), bytes.end());
        protocol = PartData::kProtocolPackage;
        return true;
    }
    if (bytes.size() == PartData::kRecordBytes || bytes.size() == PartData::kShortRecordBytes) {
        payload.assign(bytes.begin(), bytes.end());
        protocol = PartData::kProtocolLegacy;
        return true;
    }
    detail = "The file holds no Teach-Data of a part type.";
    return false;
}

}  // namespace

int iFeatureCount(const OType_ZRPartSet_SubType& type) {
    int n = 0;
    for (int o = 0; o < type.Vectors().iGetNum(); ++o)
        n = std::max(n, type.Vectors().opGetAt(o)->iGetNumOfVectors());
    return n;
}

Format ChooseFormat(const OType_ZRPartSet& set, int subType) {
    const OType_ZRPartSet_SubType* type = set.opGetSubType(subType);
    const std::string name = type ? type->GetName() : std::string();
    const int features = type ? iFeatureCount(*type) : 0;
    if (PartData::iProtocolOf(set) == PartData::kProtocolPackage || bContains(name, ".zrt") ||
        features > kMaxOldFormatFeatures)
        return Format::New;
    return Format::Old;
}

int iEncode(const OType_ZRPartSet& set, int subType, int conversion, std::vector<uint8_t>& bytes,
            int& errorTextId, std::string& detail) {
    const OType_ZRPartSet_SubType* type = set.opGetSubType(subType);
    if (!type) return Refuse(kNotConvertible, "The part type does not exist.", errorTextId, detail);
    const bool deviceForm = conversion >= kDeviceBinary;
    const auto format = static_cast<Format>(conversion % kDeviceBinary);
    const int features = iFeatureCount(*type);
    if (format == Format::Old && features > kMaxOldFormatFeatures) {
        return Refuse(
            kTooManyFeatures,
            FormatPrintf("The part type has %d features; the old format holds at most %d.",
                         features, kMaxOldFormatFeatures),
            errorTextId, detail);
    }
    if (deviceForm) {
        const int protocol = PartData::iProtocolOf(set);
        if (protocol != PartData::kProtocolLegacy && protocol != PartData::kProtocolPackage) {
            return Refuse(
                kNotConvertibleForDevice,
                FormatPrintf("The target device takes no part data (protocol %d).", protocol),
                errorTextId, detail);
        }
        if (!bConvert(set, subType, protocol, bytes)) {
            return Refuse(
                kNotConvertibleForDevice,
                FormatPrintf("The device's form holds at most %d orientations and %d "
                             "features.",
                             PartData::kMaxLegacyOrientations, PartData::kMaxLegacyFeatures),
                errorTextId, detail);
        }
        return 1;
    }
    std::vector<uint8_t> payload;
    const int protocol =
        format == Format::Old ? PartData::kProtocolLegacy : PartData::kProtocolPackage;
    if (!bConvert(set, subType, protocol, payload)) {
        return Refuse(kNotConvertible,
                      FormatPrintf("The old format holds at most %d orientations.",
                                   PartData::kMaxLegacyOrientations),
                      errorTextId, detail);
    }
    bytes = WithFileHeader(format, payload);
    return 1;
}

int iDecode(OType_ZRPartSet& set, int subType, std::span<const uint8_t> bytes,
            std::string& detail) {
    if (!set.opGetSubType(subType)) {
        detail = "The part type does not exist.";
        return 0;
    }
    std::vector<uint8_t> payload;
    int protocol = 0;
    if (!bUnwrap(bytes, payload, protocol, detail)) return 0;
    std::string name = set.GetName();
    if (iDecodePartSet_SubType_PartData(set, subType, payload, protocol, name) != 1) {
        detail = "The Teach-Data are damaged.";
        return 0;
    }
    return 1;
}

}  // namespace TeachDataFile
