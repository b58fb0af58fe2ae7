#include "tools/kvt/OKvtThreshold.h"

#include <opencv2/imgproc.hpp>

#include "model/stream/OByteStream.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

cv::Mat OKvtThreshold::Mask(const cv::Mat& grey) const {
    cv::Mat mask;
    if (automatic) {
        const bool dark = high < 128;
        cv::threshold(grey, mask, 0, 255,
                      (dark ? cv::THRESH_BINARY_INV : cv::THRESH_BINARY) | cv::THRESH_OTSU);
        return mask;
    }
    cv::inRange(grey, cv::Scalar(low), cv::Scalar(high), mask);
    if (outside) cv::bitwise_not(mask, mask);
    return mask;
}

void OKvtThreshold::Describe(OPropertyList& list, const std::string& prefix,
                             const std::string& page) const {
    using namespace PropertyList;
    list.push_back(Integer(prefix + ".low", "Lower brightness", page, low, 0, 255));
    list.push_back(Integer(prefix + ".high", "Upper brightness", page, high, 0, 255));
    list.push_back(Choice(prefix + ".outside", "Material is", page, outside ? 1 : 0,
                          {{0, "inside the brightness band"}, {1, "outside the brightness band"}}));
    OProperty a = Flag(prefix + ".automatic", "Automatic threshold", page, automatic);
    a.help = "Otsu's threshold per image; the upper brightness below 128 looks for dark material.";
    list.push_back(std::move(a));
}

bool OKvtThreshold::bCheck(const OPropertyValues& merged, const std::string& prefix,
                           std::string& error) const {
    if (PropertyList::iGet(merged, prefix + ".low", low) >
        PropertyList::iGet(merged, prefix + ".high", high)) {
        error = "The lower brightness must not lie above the upper one.";
        return false;
    }
    return true;
}

void OKvtThreshold::Apply(const OPropertyValues& values, const std::string& prefix) {
    low = static_cast<int>(PropertyList::iGet(values, prefix + ".low", low));
    high = static_cast<int>(PropertyList::iGet(values, prefix + ".high", high));
    outside = PropertyList::iGet(values, prefix + ".outside", outside ? 1 : 0) != 0;
    automatic = PropertyList::bGet(values, prefix + ".automatic", automatic);
}

void OKvtThreshold::Encode(OByteStream& s) const {
    s.bWriteI32(low);
    s.bWriteI32(high);
    s.bWriteBool(outside);
    s.bWriteBool(automatic);
}

bool OKvtThreshold::bDecode(OBlockFieldReader& r) {
    OKvtThreshold t = *this;
    if (!r.I32(t.low, 0, 255) || !r.I32(t.high, 0, 255) || !r.Bool(t.outside) ||
        !r.Bool(t.automatic))
        return false;
    if (t.low > t.high) return false;
    *this = t;
    return true;
}

OPropertyList OKvtMaterialTool::DescribeProperties(const OPropertyContext& context) const {
    OPropertyList list = OType_ConfigTool_KVT::DescribeProperties(context);
    m_material.Describe(list, "material", "Material");
    return list;
}

bool OKvtMaterialTool::bCheckProperties(const OPropertyValues& merged,
                                        const OPropertyContext& context, std::string& error) const {
    return OType_ConfigTool_KVT::bCheckProperties(merged, context, error) &&
           m_material.bCheck(merged, "material", error);
}

void OKvtMaterialTool::ApplyProperties(const OPropertyValues& values,
                                       const OPropertyContext& context) {
    OType_ConfigTool_KVT::ApplyProperties(values, context);
    m_material.Apply(values, "material");
}

void OKvtMaterialTool::EncodeKind(OByteStream& s) const {
    m_material.Encode(s);
}

bool OKvtMaterialTool::bDecodeKind(OBlockFieldReader& r) {
    return m_material.bDecode(r);
}

void OKvtMaterialTool::CopyKindTo(OType_ConfigTool_KVT& other) const {
    if (auto* o = dynamic_cast<OKvtMaterialTool*>(&other)) o->m_material = m_material;
}
