// "Telmar - Mirrel (Viewer)" (kind 6): sends each part's result, and its camera image when
// chosen (of all parts, of bad parts only, or none), to the companion viewer. The result of
// a part is the record header the viewer receives, little-endian: "KVV1", u32 record, i32
// type, i32 orientation, f64 deviation, u8 good, u8 image follows, and when it does u16
// width, u16 height, u8 layers (the pixels follow on the connection, not in the result).
// Needs a camera; one per device.
#pragma once

#include "tools/dataio/ODataOutputKind.h"

namespace DataOutputImages {
enum : int { kAll = 0, kBadOnly = 1, kNone = 2 };
// Whether a part's image is sent.
bool bSends(int choice, const OType_Part& part);
std::vector<OPropertyChoice> Choices();
}  // namespace DataOutputImages

class OType_DeviceDataIO_TelmarViewer : public ODataOutputKind {
  public:
    OType_DeviceDataIO_TelmarViewer();
    std::unique_ptr<OType_DeviceDataIO> CreateNew() const override;
    std::vector<uint8_t> ResultForPart(const OType_ZRPartSet& partSet,
                                       const OType_Part& part) const override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;

  protected:
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void EncodeKind(OByteStream& stream) const override;
    bool bDecodeKind(OBlockFieldReader& reader) override;
    void CopyKindTo(ODataOutputKind& other) const override;

  private:
    int m_images = DataOutputImages::kAll;
};
