#include "tools/dataio/OType_DeviceDataIO_XML.h"

#include "model/part/OType_Part.h"
#include "model/stream/OByteStream.h"
#include "model/strings/FormatPrintf.h"

using DataOutputText::XmlEscaped;

OType_DeviceDataIO_XML::OType_DeviceDataIO_XML()
    : ODataOutputKind({DataOutputKind::kXML, "Telnet - XML", "XML", 4, 2008, false, true, -1,
                       "Result", true}) {}

std::unique_ptr<OType_DeviceDataIO> OType_DeviceDataIO_XML::CreateNew() const {
    return std::make_unique<OType_DeviceDataIO_XML>();
}

std::vector<uint8_t> OType_DeviceDataIO_XML::ResultForPart(const OType_ZRPartSet&,
                                                           const OType_Part& part) const {
    std::string xml = FormatPrintf(
        "<Result packet=\"%s\" record=\"%d\" type=\"%d\" orientation=\"%d\" good=\"%d\">",
        XmlEscaped(GetPacketName()), part.iGetRecordNo(), part.iGetType(), part.iGetOrientation(),
        part.dGetResultValue(0) <= 100 ? 1 : 0);
    for (const auto& [index, f] : SelectedFeatures(part)) {
        xml += FormatPrintf("<Feature index=\"%d\"", index + 1);
        if (m_names) xml += " name=\"" + XmlEscaped(f->name) + "\"";
        xml += FormatPrintf(" valid=\"%d\">", f->valid ? 1 : 0) +
               XmlEscaped(DataOutputText::Value(*f, iGetDecimals())) + "</Feature>";
    }
    xml += "</Result>\r\n";
    return {xml.begin(), xml.end()};
}

OPropertyList OType_DeviceDataIO_XML::DescribeProperties(const OPropertyContext& context) const {
    OPropertyList list = ODataOutputKind::DescribeProperties(context);
    list.push_back(PropertyList::Flag("names", "Feature names", "Output", m_names));
    return list;
}

void OType_DeviceDataIO_XML::ApplyProperties(const OPropertyValues& values,
                                             const OPropertyContext& context) {
    ODataOutputKind::ApplyProperties(values, context);
    m_names = PropertyList::bGet(values, "names", m_names);
}

void OType_DeviceDataIO_XML::EncodeKind(OByteStream& s) const {
    s.bWriteBool(m_names);
}

bool OType_DeviceDataIO_XML::bDecodeKind(OBlockFieldReader& r) {
    return r.Bool(m_names);
}

void OType_DeviceDataIO_XML::CopyKindTo(ODataOutputKind& other) const {
    if (auto* o = dynamic_cast<OType_DeviceDataIO_XML*>(&other)) o->m_names = m_names;
}
