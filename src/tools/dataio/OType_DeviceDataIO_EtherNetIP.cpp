#include "tools/dataio/OType_DeviceDataIO_EtherNetIP.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "model/part/OType_Part.h"
#include "model/stream/OByteStream_Memory.h"

OType_DeviceDataIO_EtherNetIP::OType_DeviceDataIO_EtherNetIP()
    : ODataOutputKind({DataOutputKind::kEtherNetIP, "EtherNet/IP - CIP Object", "EtherNet/IP", 1, 0,
                       false, true, 100, "", false}) {}

std::unique_ptr<OType_DeviceDataIO> OType_DeviceDataIO_EtherNetIP::CreateNew() const {
    return std::make_unique<OType_DeviceDataIO_EtherNetIP>();
}

std::vector<uint8_t> OType_DeviceDataIO_EtherNetIP::ResultForPart(const OType_ZRPartSet&,
                                                                  const OType_Part& part) const {
    const auto features = SelectedFeatures(part);
    OByteStream_Memory s;
    const double deviation = part.dGetResultValue(0);
    const uint16_t status = (deviation <= 100 ? 1 : 0) | (part.dGetResultValue(2) != 0 ? 2 : 0);
    s.bWriteU16(static_cast<uint16_t>(iGetPacketId()));
    s.bWriteU16(static_cast<uint16_t>(part.iGetType()));
    s.bWriteU16(static_cast<uint16_t>(part.iGetOrientation()));
    s.bWriteU16(status);
    s.bWriteU16(static_cast<uint16_t>(features.size()));
    std::vector<uint32_t> valid((features.size() + 31) / 32, 0);
    for (size_t i = 0; i < features.size(); ++i) {
        const OType_Feature& f = *features[i].second;
        if (f.valid && !f.bIsText()) valid[i / 32] |= 1u << (i % 32);
    }
    for (uint32_t word : valid)
        s.bWriteU32(word);
    for (size_t i = 0; i < features.size(); ++i) {
        const OType_Feature& f = *features[i].second;
        const double v = (valid[i / 32] >> (i % 32)) & 1u ? f.value : 0.0;
        if (m_format == kDint) {
            const double scaled = std::clamp(std::round(v * 1000), -2147483648.0, 2147483647.0);
            s.bWriteI32(static_cast<int32_t>(scaled));
        } else {
            s.bWriteU32(std::bit_cast<uint32_t>(static_cast<float>(v)));
        }
    }
    return s.TakeBytes();
}

OPropertyList OType_DeviceDataIO_EtherNetIP::DescribeProperties(
    const OPropertyContext& context) const {
    OPropertyList list = ODataOutputKind::DescribeProperties(context);
    list.push_back(PropertyList::Choice(
        "format", "Values as", "Output", m_format,
        {{kReal, "REAL (32-bit floating point)"}, {kDint, "DINT (value x 1000)"}}));
    return list;
}

void OType_DeviceDataIO_EtherNetIP::ApplyProperties(const OPropertyValues& values,
                                                    const OPropertyContext& context) {
    ODataOutputKind::ApplyProperties(values, context);
    m_format = static_cast<int>(PropertyList::iGet(values, "format", m_format));
}

void OType_DeviceDataIO_EtherNetIP::EncodeKind(OByteStream& s) const {
    s.bWriteI32(m_format);
}

bool OType_DeviceDataIO_EtherNetIP::bDecodeKind(OBlockFieldReader& r) {
    return r.I32(m_format, kReal, kDint);
}

void OType_DeviceDataIO_EtherNetIP::CopyKindTo(ODataOutputKind& other) const {
    if (auto* o = dynamic_cast<OType_DeviceDataIO_EtherNetIP*>(&other)) o->m_format = m_format;
}
