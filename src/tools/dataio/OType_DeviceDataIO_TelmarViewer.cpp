#include "tools/dataio/OType_DeviceDataIO_TelmarViewer.h"

#include "model/part/OType_Part.h"
#include "model/stream/OByteStream_Memory.h"

namespace DataOutputImages {

bool bSends(int choice, const OType_Part& part) {
    if (part.iGetNumImages() == 0) return false;
    if (choice == kAll) return true;
    return choice == kBadOnly && part.dGetResultValue(0) > 100;
}

std::vector<OPropertyChoice> Choices() {
    return {{kAll, "of every part"}, {kBadOnly, "of bad parts only"}, {kNone, "none"}};
}

}  // namespace DataOutputImages

OType_DeviceDataIO_TelmarViewer::OType_DeviceDataIO_TelmarViewer()
    : ODataOutputKind({DataOutputKind::kTelmarViewer, "Telmar - Mirrel (Viewer)", "Viewer", 1, 2010,
                       true, false, -1, "", false}) {}

std::unique_ptr<OType_DeviceDataIO> OType_DeviceDataIO_TelmarViewer::CreateNew() const {
    return std::make_unique<OType_DeviceDataIO_TelmarViewer>();
}

std::vector<uint8_t> OType_DeviceDataIO_TelmarViewer::ResultForPart(const OType_ZRPartSet&,
                                                                    const OType_Part& part) const {
    OByteStream_Memory s;
    s.bWriteRaw("KVV1", 4);
    s.bWriteU32(static_cast<uint32_t>(part.iGetRecordNo()));
    s.bWriteI32(part.iGetType());
    s.bWriteI32(part.iGetOrientation());
    s.bWriteDouble(part.dGetResultValue(0));
    s.bWriteU8(part.dGetResultValue(0) <= 100 ? 1 : 0);
    const bool image = DataOutputImages::bSends(m_images, part);
    s.bWriteU8(image ? 1 : 0);
    if (image) {
        const OType_Image& img = *part.opGetImage(0);
        s.bWriteU16(static_cast<uint16_t>(img.iGetWidth()));
        s.bWriteU16(static_cast<uint16_t>(img.iGetHeight()));
        s.bWriteU8(static_cast<uint8_t>(img.iGetLayers()));
    }
    return s.TakeBytes();
}

OPropertyList OType_DeviceDataIO_TelmarViewer::DescribeProperties(
    const OPropertyContext& context) const {
    OPropertyList list = ODataOutputKind::DescribeProperties(context);
    list.push_back(PropertyList::Choice("images", "Send images", "Output", m_images,
                                        DataOutputImages::Choices()));
    return list;
}

void OType_DeviceDataIO_TelmarViewer::ApplyProperties(const OPropertyValues& values,
                                                      const OPropertyContext& context) {
    ODataOutputKind::ApplyProperties(values, context);
    m_images = static_cast<int>(PropertyList::iGet(values, "images", m_images));
}

void OType_DeviceDataIO_TelmarViewer::EncodeKind(OByteStream& s) const {
    s.bWriteI32(m_images);
}

bool OType_DeviceDataIO_TelmarViewer::bDecodeKind(OBlockFieldReader& r) {
    return r.I32(m_images, DataOutputImages::kAll, DataOutputImages::kNone);
}

void OType_DeviceDataIO_TelmarViewer::CopyKindTo(ODataOutputKind& other) const {
    if (auto* o = dynamic_cast<OType_DeviceDataIO_TelmarViewer*>(&other)) o->m_images = m_images;
}
