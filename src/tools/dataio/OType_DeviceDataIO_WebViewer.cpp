#include "tools/dataio/OType_DeviceDataIO_WebViewer.h"

#include "model/part/OType_Part.h"
#include "model/stream/OByteStream.h"
#include "model/strings/FormatPrintf.h"

namespace {
std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            out += FormatPrintf("\\u%04x", static_cast<int>(c));
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}
}  // namespace

OType_DeviceDataIO_WebViewer::OType_DeviceDataIO_WebViewer()
    : ODataOutputKind({DataOutputKind::kWebViewer, "HTTP - WebViewer", "WebViewer", 1, 80, true,
                       true, -1, "", true}) {}

std::unique_ptr<OType_DeviceDataIO> OType_DeviceDataIO_WebViewer::CreateNew() const {
    return std::make_unique<OType_DeviceDataIO_WebViewer>();
}

std::vector<uint8_t> OType_DeviceDataIO_WebViewer::ResultForPart(const OType_ZRPartSet&,
                                                                 const OType_Part& part) const {
    OType_Feature deviation;
    deviation.value = part.dGetResultValue(0);
    std::string json = FormatPrintf("{\"record\":%d,\"type\":%d,\"orientation\":%d,\"good\":%s,",
                                    part.iGetRecordNo(), part.iGetType(), part.iGetOrientation(),
                                    deviation.value <= 100 ? "true" : "false");
    json += "\"deviation\":" + DataOutputText::Value(deviation, iGetDecimals()) + ",\"features\":[";
    bool first = true;
    for (const auto& [index, f] : SelectedFeatures(part)) {
        if (!first) json += ",";
        first = false;
        std::string value = "null";
        if (f->valid)
            value =
                f->bIsText() ? JsonString(f->textValue) : DataOutputText::Value(*f, iGetDecimals());
        json += FormatPrintf("{\"index\":%d,\"name\":", index + 1) + JsonString(f->name) +
                ",\"valid\":" + (f->valid ? "true" : "false") + ",\"value\":" + value + "}";
    }
    json += "]}";
    return {json.begin(), json.end()};
}

OPropertyList OType_DeviceDataIO_WebViewer::DescribeProperties(
    const OPropertyContext& context) const {
    using namespace PropertyList;
    OPropertyList list = ODataOutputKind::DescribeProperties(context);
    list.push_back(Integer("refresh", "Refresh every", "Output", m_refresh, 1, 60, "s"));
    list.push_back(Integer("imagescale", "Image size", "Output", m_imageScale, 10, 100, "%"));
    return list;
}

void OType_DeviceDataIO_WebViewer::ApplyProperties(const OPropertyValues& values,
                                                   const OPropertyContext& context) {
    ODataOutputKind::ApplyProperties(values, context);
    m_refresh = static_cast<int>(PropertyList::iGet(values, "refresh", m_refresh));
    m_imageScale = static_cast<int>(PropertyList::iGet(values, "imagescale", m_imageScale));
}

void OType_DeviceDataIO_WebViewer::EncodeKind(OByteStream& s) const {
    s.bWriteI32(m_refresh);
    s.bWriteI32(m_imageScale);
}

bool OType_DeviceDataIO_WebViewer::bDecodeKind(OBlockFieldReader& r) {
    return r.I32(m_refresh, 1, 60) && r.I32(m_imageScale, 10, 100);
}

void OType_DeviceDataIO_WebViewer::CopyKindTo(ODataOutputKind& other) const {
    if (auto* o = dynamic_cast<OType_DeviceDataIO_WebViewer*>(&other)) {
        o->m_refresh = m_refresh;
        o->m_imageScale = m_imageScale;
    }
}
