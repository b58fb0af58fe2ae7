#include "model/tools/OType_DeviceDataIO.h"

#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

std::unique_ptr<OType_DeviceDataIO> OType_DeviceDataIO::Clone() const {
    auto copy = CreateNew();
    CopyTo(*copy);
    return copy;
}

void OType_DeviceDataIO::CopyTo(OType_DeviceDataIO& other) const {
    other.m_dataIOId = m_dataIOId;
    other.m_name = m_name;
    other.m_packetName = m_packetName;
    other.m_packetId = m_packetId;
    other.m_modified = m_modified;
    other.m_trailer = m_trailer;
}

bool OType_DeviceDataIO::bIsAvailable(const ZRINFO&, std::string& reason) const {
    reason.clear();
    return true;
}

int OType_DeviceDataIO::iGetMaxInstances(const ZRINFO&) const {
    return 1;
}

int OType_DeviceDataIO::iCheckPropertyCompatibility(const ZRINFO&, std::string& text) const {
    text.clear();
    return 0;
}

int OType_DeviceDataIO::iAdjustPropertyCompatibility(const ZRINFO&) {
    return 1;
}
int OType_DeviceDataIO::iInitForPartSet(OType_ZRPartSet&, bool) {
    return 1;
}
int OType_DeviceDataIO::iBeginExtraction(OType_ZRPartSet&, const ZRINFO&) {
    return 1;
}
int OType_DeviceDataIO::iEndExtraction(OType_ZRPartSet&, const ZRINFO&) {
    return 1;
}
std::vector<uint8_t> OType_DeviceDataIO::ResultForPart(const OType_ZRPartSet&,
                                                       const OType_Part&) const {
    return {};
}
void OType_DeviceDataIO::TeachPart(OType_ZRPartSet&) {}
void OType_DeviceDataIO::iStopTeach(OType_ZRPartSet&) {}
void OType_DeviceDataIO::iStopTest(OType_ZRPartSet&) {}
void OType_DeviceDataIO::UpdateFeatureIndexList(const OType_ZRPartSet&) {}

OPropertyList OType_DeviceDataIO::DescribeProperties(const OPropertyContext&) const {
    OPropertyList list{PropertyList::Text("name", "Name", "General", m_name, 63)};
    if (!m_packetName.empty()) {
        list.push_back(
            PropertyList::Text("packet.name", "Packet name", "General", m_packetName, 63));
    }
    if (m_packetId != -1) {
        list.push_back(PropertyList::Integer("packet.id", "Packet identifier", "General",
                                             m_packetId, 0, 65535));
    }
    return list;
}

bool OType_DeviceDataIO::bApplyProperties(const OPropertyValues& values,
                                          const OPropertyContext& context, std::string& error) {
    const OPropertyList list = DescribeProperties(context);
    if (!PropertyList::bValidateAll(list, values, error) ||
        !bCheckProperties(PropertyList::Merge(list, values), context, error)) {
        return false;
    }
    const bool changed = PropertyList::bAnyChanged(list, values);
    ApplyProperties(values, context);
    if (changed) {
        SetModifiedFlag(true);
    }
    return true;
}

bool OType_DeviceDataIO::bCheckProperties(const OPropertyValues&, const OPropertyContext&,
                                          std::string&) const {
    return true;
}

void OType_DeviceDataIO::ApplyProperties(const OPropertyValues& values, const OPropertyContext&) {
    m_name = PropertyList::sGet(values, "name", m_name);
    m_packetName = PropertyList::sGet(values, "packet.name", m_packetName);
    m_packetId = static_cast<int>(PropertyList::iGet(values, "packet.id", m_packetId));
}

int OType_DeviceDataIO::iEncode(OByteStream& s) const {
    OObjectBlockWriter block(s, ObjectId::kDataOutput);
    s.bWriteI32(iGetDataIOType());
    s.bWriteI32(m_dataIOId);
    s.bWriteString(m_name);
    s.bWriteString(m_packetName);
    s.bWriteI32(m_packetId);
    s.bWriteBool(m_modified);
    OByteStream_Memory payload;
    EncodePayload(payload);
    s.bWriteByteArray(payload.Bytes());
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

int OType_DeviceDataIO::iDecodeInto(OByteStream& s) {
    OObjectBlockReader block(s, ObjectId::kDataOutput);
    int32_t kind = 0, id = -1, packetId = -1;
    std::string name, packetName;
    bool modified = true;
    std::vector<uint8_t> payload;
    s.bReadI32(kind);
    if (!block.bIsOk() || kind != iGetDataIOType()) return s.Fail();
    s.bReadI32(id);
    s.bReadString(name);
    s.bReadString(packetName);
    s.bReadI32(packetId);
    s.bReadBool(modified);
    s.bReadByteArray(payload);
    if (!block.bIsOk()) return 0;
    auto payloadStream = OByteStream_Memory::View(payload);
    if (!bDecodePayload(payloadStream) || !payloadStream.bIsOk()) return s.Fail();
    m_trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    m_dataIOId = id;
    m_name = std::move(name);
    m_packetName = std::move(packetName);
    m_packetId = packetId;
    m_modified = modified;
    return 1;
}
