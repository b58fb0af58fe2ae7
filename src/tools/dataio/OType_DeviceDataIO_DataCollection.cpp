#include "tools/dataio/OType_DeviceDataIO_DataCollection.h"

#include "model/part/OType_Part.h"
#include "model/stream/OByteStream.h"
#include "model/strings/FormatPrintf.h"

OType_DeviceDataIO_DataCollection::OType_DeviceDataIO_DataCollection()
    : ODataOutputKind({DataOutputKind::kDataCollection, "Telnet - KVT..-Q Data Collection",
                       "Data collection", 4, 2007, false, true, -1, "DC", true}) {}

std::unique_ptr<OType_DeviceDataIO> OType_DeviceDataIO_DataCollection::CreateNew() const {
    return std::make_unique<OType_DeviceDataIO_DataCollection>();
}

char OType_DeviceDataIO_DataCollection::cGetSeparator() const {
    return m_separator == 1 ? ',' : m_separator == 2 ? '\t' : ';';
}

std::vector<uint8_t> OType_DeviceDataIO_DataCollection::ResultForPart(
    const OType_ZRPartSet&, const OType_Part& part) const {
    const char sep = cGetSeparator();
    std::string line = GetPacketName();
    for (int v : {part.iGetRecordNo(), part.iGetType(), part.iGetOrientation()})
        line += sep + std::to_string(v);
    for (const auto& [index, feature] : SelectedFeatures(part))
        line += sep + DataOutputText::Value(*feature, iGetDecimals());
    line += "\r\n";
    return {line.begin(), line.end()};
}

OPropertyList OType_DeviceDataIO_DataCollection::DescribeProperties(
    const OPropertyContext& context) const {
    OPropertyList list = ODataOutputKind::DescribeProperties(context);
    list.push_back(PropertyList::Choice("separator", "Separator", "Output", m_separator,
                                        {{0, "semicolon"}, {1, "comma"}, {2, "tab"}}));
    return list;
}

void OType_DeviceDataIO_DataCollection::ApplyProperties(const OPropertyValues& values,
                                                        const OPropertyContext& context) {
    ODataOutputKind::ApplyProperties(values, context);
    m_separator = static_cast<int>(PropertyList::iGet(values, "separator", m_separator));
}

void OType_DeviceDataIO_DataCollection::EncodeKind(OByteStream& s) const {
    s.bWriteI32(m_separator);
}

bool OType_DeviceDataIO_DataCollection::bDecodeKind(OBlockFieldReader& r) {
    return r.I32(m_separator, 0, 2);
}

void OType_DeviceDataIO_DataCollection::CopyKindTo(ODataOutputKind& other) const {
    if (auto* o = dynamic_cast<OType_DeviceDataIO_DataCollection*>(&other))
        o->m_separator = m_separator;
}
