#include "tools/kvt/OType_ConfigTool_KVT_IMGCOMPARE.h"

#include <cmath>

#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/strings/FormatPrintf.h"
#include "tools/kvt/OKvtPartImage.h"
#include "tools/kvt/OKvtTeaching.h"

namespace {

constexpr const char* kPage = "Compare";
enum : size_t { kMean, kShare, kDefects, kLargest, kShiftX, kShiftY };

}  // namespace

OType_ConfigTool_KVT_IMGCOMPARE::OType_ConfigTool_KVT_IMGCOMPARE()
    : OType_ConfigTool_KVT(KvtToolKind::kImageCompare, -1) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_KVT_IMGCOMPARE::CreateNew() const {
    return std::make_unique<OType_ConfigTool_KVT_IMGCOMPARE>();
}

std::vector<OKvtFeatureDef> OType_ConfigTool_KVT_IMGCOMPARE::FeatureDefs() const {
    namespace T = KvtFeatureType;
    return {{T::kCompareMeanDifference, "Mean difference", "grey levels", OKvtQuantity::Plain},
            {T::kCompareDifferingShare, "Differing pixels", "%", OKvtQuantity::Plain},
            {T::kCompareDefects, "Defects", "", OKvtQuantity::Plain},
            {T::kCompareLargestDefect, "Largest defect", "px²", OKvtQuantity::Area},
            {T::kCompareShiftX, "Shift X", "px", OKvtQuantity::Length},
            {T::kCompareShiftY, "Shift Y", "px", OKvtQuantity::Length}};
}

bool OType_ConfigTool_KVT_IMGCOMPARE::bReferenceFits() const {
    return !m_reference.bIsEmpty() &&
           m_reference.iGetWidth() == int(std::lround(GetShape().width)) &&
           m_reference.iGetHeight() == int(std::lround(GetShape().height));
}

int OType_ConfigTool_KVT_IMGCOMPARE::iInitAfterCheckprogramLoad(OType_ZRPartSet& partSet,
                                                                const ZRINFO& info) {
    if (!bReferenceFits()) {
        OType_Image taught;
        const OType_PartArray& parts = partSet.TeachParts();
        for (int i = 0; i < parts.iGetSize() && taught.bIsEmpty(); ++i)
            taught = KvtTeaching::ImageOf(KvtTeaching::RegionGrey(*parts.GetAt(i), *this, info));
        if (!(taught == m_reference)) {
            m_reference = std::move(taught);
            SetModifiedFlag(true);
        }
    }
    return OType_ConfigTool_KVT::iInitAfterCheckprogramLoad(partSet, info);
}

OPropertyList OType_ConfigTool_KVT_IMGCOMPARE::DescribeProperties(
    const OPropertyContext& context) const {
    using namespace PropertyList;
    OPropertyList list = OType_ConfigTool_KVT::DescribeProperties(context);
    OProperty taught = Text(
        "reference.taught", "Reference", kPage,
        m_reference.bIsEmpty()
            ? std::string("none yet: taught from the sample parts at the next extraction")
            : FormatPrintf("%d x %d pixels", m_reference.iGetWidth(), m_reference.iGetHeight()));
    taught.readOnly = true;
    list.push_back(taught);
    OProperty teach = Flag("reference.teach", "Teach again", kPage, false);
    teach.help = "Forget the reference; it is taught again from the sample parts.";
    list.push_back(teach);
    list.push_back(Integer("compare.threshold", "Least difference", kPage, m_settings.threshold, 1,
                           255, "grey levels"));
    list.push_back(Integer("compare.minArea", "Least defect area", kPage, m_settings.minDefectArea,
                           1, 1000000, "px²"));
    OProperty tolerance = Integer("compare.tolerance", "Position tolerance", kPage,
                                  m_settings.tolerance, 0, 64, "px");
    tolerance.help =
        "How far a part may lie off in each direction; the region is read that much larger.";
    list.push_back(tolerance);
    return list;
}

void OType_ConfigTool_KVT_IMGCOMPARE::ApplyProperties(const OPropertyValues& v,
                                                      const OPropertyContext& context) {
    OType_ConfigTool_KVT::ApplyProperties(v, context);
    if (PropertyList::bGet(v, "reference.teach", false)) m_reference = OType_Image();
    m_settings.threshold = int(PropertyList::iGet(v, "compare.threshold", m_settings.threshold));
    m_settings.minDefectArea =
        int(PropertyList::iGet(v, "compare.minArea", m_settings.minDefectArea));
    m_settings.tolerance = int(PropertyList::iGet(v, "compare.tolerance", m_settings.tolerance));
}

void OType_ConfigTool_KVT_IMGCOMPARE::EncodeKind(OByteStream& s) const {
    s.bWriteI32(m_settings.threshold);
    s.bWriteI32(m_settings.minDefectArea);
    s.bWriteI32(m_settings.tolerance);
    OByteStream_Memory reference;
    m_reference.iEncode(reference);
    s.bWriteByteArray(reference.Bytes());
}

bool OType_ConfigTool_KVT_IMGCOMPARE::bDecodeKind(OBlockFieldReader& r) {
    std::vector<uint8_t> reference;
    if (!r.I32(m_settings.threshold, 1, 255) || !r.I32(m_settings.minDefectArea, 1, 1000000) ||
        !r.I32(m_settings.tolerance, 0, 64) || !r.Bytes(reference))
        return false;
    if (reference.empty()) return true;  // an older block without a reference
    auto s = OByteStream_Memory::View(reference);
    OType_Image image;
    if (!image.iDecode(s) || s.iRemaining() != 0) return false;
    // The reference is compared grey: a colour one is not what this tool writes.
    if (!image.bIsEmpty() && image.iGetLayers() != 1) return false;
    m_reference = std::move(image);
    return true;
}

void OType_ConfigTool_KVT_IMGCOMPARE::CopyKindTo(OType_ConfigTool_KVT& other) const {
    if (auto* o = dynamic_cast<OType_ConfigTool_KVT_IMGCOMPARE*>(&other)) {
        o->m_settings = m_settings;
        o->m_reference = m_reference;
    }
}

void OType_ConfigTool_KVT_IMGCOMPARE::MeasureRegion(const OKvtMeasureInput& in,
                                                    OKvtMeasureOutput& out) const {
    const OKvtRegionSample& sample = *in.sample;
    const OPointD label = sample.Region().ToImage(0, -8);
    if (!bReferenceFits()) {
        out.drawing.Text(label, "no reference taught", OKvtMarkRole::Failure);
        return;
    }
    // With a tolerance the region is read larger by it on every side.
    cv::Mat grey = sample.Grey();
    std::unique_ptr<OKvtRegionSample> wide;
    if (m_settings.tolerance > 0) {
        OKvtRegion larger = sample.Region();
        larger.width += 2 * m_settings.tolerance;
        larger.height += 2 * m_settings.tolerance;
        const OKvtPartImage image(in.part, std::max(1, iGetImageType()), in.deviceInfo);
        wide = std::make_unique<OKvtRegionSample>(image.Mat(), larger);
        if (wide->bIsEmpty()) {
            out.drawing.Text(label, "region and tolerance leave the image", OKvtMarkRole::Failure);
            return;
        }
        grey = wide->Grey();
    }
    const KvtCompare::OResult r =
        KvtCompare::Compare(grey, KvtTeaching::GreyOf(m_reference), m_settings);
    if (!r.compared) return;
    out.Set(kMean, r.meanDifference);
    out.Set(kShare, r.differingShare);
    out.Set(kDefects, r.defects);
    out.Set(kLargest, r.largestDefect);
    out.Set(kShiftX, r.shift.x);
    out.Set(kShiftY, r.shift.y);
    const OKvtRegionSample& on = wide ? *wide : sample;
    for (const cv::Rect& box : r.defectBoxes) {
        out.drawing.Polygon({on.PixelToImage(box.x - 0.5, box.y - 0.5),
                             on.PixelToImage(box.x + box.width - 0.5, box.y - 0.5),
                             on.PixelToImage(box.x + box.width - 0.5, box.y + box.height - 0.5),
                             on.PixelToImage(box.x - 0.5, box.y + box.height - 0.5)},
                            OKvtMarkRole::Rejected);
    }
}
