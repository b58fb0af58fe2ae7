#include "tools/kvt/OType_ConfigTool_KVT.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/device/ZRINFO.h"
#include "model/part/OType_Feature.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"
#include "model/strings/FormatPrintf.h"
#include "tools/OType_ConfigTool_Contour.h"
#include "tools/kvt/OKvtPartImage.h"

namespace {

constexpr int kMaxCameraImageChoice = 4;
constexpr int kNameLength = 63;
constexpr double kCoordinateLimit = 65536;

bool bIsCameraDevice(const ZRINFO& info) {
    return info.iGetImageWidth() > 0 && info.iGetImageHeight() > 0;
}

// The size of the image a tool of the given image type sees on the device.
void DeviceImageSize(const ZRINFO& info, int imageType, int& width, int& height) {
    if (imageType >= 1 && bIsCameraDevice(info)) {
        width = info.iGetImageWidth();
        height = info.iGetImageHeight();
        return;
    }
    // The contour picture: the device's rows; its columns follow the part.
    width = static_cast<int>(OKvtRegion::kMaxSide);
    height = KvtImage::ContourRows(info);
}

// The image a new tool is placed in: the camera image, or a contour picture as wide as it
// is high.
void PlacementImageSize(const ZRINFO& info, int imageType, int& width, int& height) {
    DeviceImageSize(info, imageType, width, height);
    if (width == static_cast<int>(OKvtRegion::kMaxSide)) width = height;
}

}  // namespace

OKvtFeatureRef OKvtFeatureRef::FromChoiceValue(int64_t value) {
    if (value < 0 || value / 1000 > INT32_MAX) return {};
    return {static_cast<int>(value / 1000), static_cast<int>(value % 1000)};
}

const OType_Feature* OKvtMeasureInput::Referenced(const OKvtFeatureRef& ref) const {
    if (!ref.bIsSet()) return nullptr;
    int seen = 0;
    for (const OType_Feature& f : features) {
        if (f.toolId != ref.toolId) continue;
        if (seen++ == ref.feature) return f.valid ? &f : nullptr;
    }
    return nullptr;
}

OType_ConfigTool_KVT::OType_ConfigTool_KVT(int kind, int defaultSubKind)
    : m_kind(kind), m_defaultSubKind(defaultSubKind) {
    SetFeatureType(defaultSubKind);
    SetImageType(0);
    OType_ConfigTool::SetRegion(m_shape.BoundingRect());
}

void OType_ConfigTool_KVT::CopyTo(OType_ConfigTool& other) const {
    OType_ConfigTool::CopyTo(other);
    auto* o = dynamic_cast<OType_ConfigTool_KVT*>(&other);
    if (!o) return;
    o->m_kind = m_kind;
    o->m_defaultSubKind = m_defaultSubKind;
    o->m_shape = m_shape;
    o->m_defaultShape = m_defaultShape;
    o->m_featureNames = m_featureNames;
    o->m_baseTrailer = m_baseTrailer;
    o->m_kindTrailer = m_kindTrailer;
    o->m_payloadTrailer = m_payloadTrailer;
    CopyKindTo(*o);
}

// --- sub-kind ---

std::vector<int> OType_ConfigTool_KVT::SubKinds() const {
    return {m_defaultSubKind};
}

bool OType_ConfigTool_KVT::bIsSubKind(int subKind) const {
    const std::vector<int> kinds = SubKinds();
    return std::find(kinds.begin(), kinds.end(), subKind) != kinds.end();
}

int OType_ConfigTool_KVT::iGetSubKind() const {
    return bIsSubKind(iGetFeatureType()) ? iGetFeatureType() : SubKinds().front();
}

// --- region ---

bool OType_ConfigTool_KVT::bSetShape(const OKvtRegion& shape) {
    if (!shape.bIsSane()) return false;
    m_shape = shape;
    m_defaultShape = false;
    OType_ConfigTool::SetRegion(m_shape.BoundingRect());
    return true;
}

void OType_ConfigTool_KVT::SetRegion(const ORect& r) {
    bSetShape(OKvtRegion::FromRect(r));
}

// --- features ---

int OType_ConfigTool_KVT::GetFeatureTypeAt(int i) const {
    const std::vector<OKvtFeatureDef> defs = FeatureDefs();
    return i >= 0 && i < static_cast<int>(defs.size()) ? defs[static_cast<size_t>(i)].type : -1;
}

std::string OType_ConfigTool_KVT::FeatureName(int i, const OType_ZRPartSet* partSet) const {
    if (i >= 0 && i < static_cast<int>(m_featureNames.size()) &&
        !m_featureNames[static_cast<size_t>(i)].empty())
        return m_featureNames[static_cast<size_t>(i)];
    return DefaultFeatureName(i, partSet);
}

std::string OType_ConfigTool_KVT::DefaultFeatureName(int i, const OType_ZRPartSet* partSet) const {
    const std::vector<OKvtFeatureDef> defs = FeatureDefs();
    if (i < 0 || i >= static_cast<int>(defs.size())) return {};
    const OKvtFeatureDef& def = defs[static_cast<size_t>(i)];
    const std::string* label = partSet ? partSet->FindFeatureName(def.type) : nullptr;
    return GetName() + ": " + (label ? *label : def.label);
}

bool OType_ConfigTool_KVT::bSetFeatureName(int i, std::string name) {
    if (i < 0 || i >= iGetNumOfFeatures()) return false;
    if (m_featureNames.size() <= static_cast<size_t>(i))
        m_featureNames.resize(static_cast<size_t>(i) + 1);
    m_featureNames[static_cast<size_t>(i)] = std::move(name);
    while (!m_featureNames.empty() && m_featureNames.back().empty())
        m_featureNames.pop_back();
    return true;
}

bool OType_ConfigTool_KVT::bResetFeatureNames() {
    const bool changed = !m_featureNames.empty();
    m_featureNames.clear();
    return changed;
}

std::vector<int> OType_ConfigTool_KVT::GetDirectReferencedFeatures(
    const OType_ZRPartSet& partSet) const {
    std::vector<int> indices;
    for (const OKvtFeatureRef& ref : References()) {
        const int index = iFeatureIndexOf(partSet, ref);
        if (index >= 0) indices.push_back(index);
    }
    return indices;
}

int OType_ConfigTool_KVT::iFeatureIndexOf(const OType_ZRPartSet& partSet,
                                          const OKvtFeatureRef& ref) {
    if (!ref.bIsSet()) return -1;
    const OType_ConfigToolArray& tools = partSet.Tools();
    const int pos = tools.iFindPosById(ref.toolId);
    if (pos < 0 || ref.feature < 0 || ref.feature >= tools.opGetAt(pos)->iGetNumOfFeatures())
        return -1;
    return tools.GetFeatureIndex_First(pos, partSet.iGetFixedFeatures()) + ref.feature;
}

void OType_ConfigTool_KVT::DropIfGone(const OType_ZRPartSet& partSet, OKvtFeatureRef& ref) {
    if (ref.bIsSet() && iFeatureIndexOf(partSet, ref) < 0) ref = {};
}

std::vector<OPropertyChoice> OType_ConfigTool_KVT::ReferenceChoices(
    const OType_ZRPartSet* partSet) const {
    std::vector<OPropertyChoice> choices{{-1, "none"}};
    if (!partSet) return choices;
    const OType_ConfigToolArray& tools = partSet->Tools();
    const int own = tools.iFindPosById(iGetToolId());
    const int end = own >= 0 && tools.opGetAt(own) == this ? own : tools.iGetNum();
    for (int t = 0; t < end; ++t) {
        const OType_ConfigTool* tool = tools.opGetAt(t);
        const int first = tools.GetFeatureIndex_First(t, partSet->iGetFixedFeatures());
        const auto* image = dynamic_cast<const OType_ConfigTool_KVT*>(tool);
        for (int f = 0; f < tool->iGetNumOfFeatures(); ++f) {
            const std::string name = image ? image->FeatureName(f, partSet) : tool->GetName();
            choices.push_back({OKvtFeatureRef{tool->iGetToolId(), f}.ChoiceValue(),
                               FormatPrintf("%d. %s", first + f + 1, name)});
        }
    }
    return choices;
}

// --- target checks ---

int OType_ConfigTool_KVT::iCheckPropertyCompatibility(const ZRINFO& info, std::string& text) const {
    text.clear();
    int flags = 0;
    auto note = [&](const std::string& line) { text += (text.empty() ? "" : "\n") + line; };
    const size_t byte = ZRINFO::ToolAvailabilityByte(m_kind);
    if (m_kind == KvtToolKind::kCoordTrans ? !info.bSupportsCoordTrans()
                                           : (byte == 0 || info.u8(byte) == 0)) {
        flags |= ToolCompatibility::kIncompatible;
        note("the device does not offer tools of this kind");
    }
    if (!bIsSubKind(iGetFeatureType())) {
        flags |= ToolCompatibility::kIncompatible;
        note("the tool's function is unknown");
    }
    if (bNeedsCameraImage() && !bIsCameraDevice(info)) {
        flags |= ToolCompatibility::kIncompatible;
        note("the tool needs a camera image, which the device does not take");
    }
    if (!bUsesImage()) return flags;
    if (iGetImageType() >= 1 && !bIsCameraDevice(info)) {
        flags |= ToolCompatibility::kAdjustable2;
        note("the device takes no camera image; the tool can work on the contour image");
    }
    int width = 0, height = 0;
    DeviceImageSize(info, iGetImageType(), width, height);
    if (!m_shape.bLiesInside(width, height)) {
        flags |= ToolCompatibility::kAdjustable1;
        note("the region lies partly outside the image of the device");
    }
    return flags;
}

int OType_ConfigTool_KVT::iAdjustPropertyCompatibility(const ZRINFO& info) {
    std::string text;
    if (iCheckPropertyCompatibility(info, text) & ToolCompatibility::kIncompatible) return 0;
    if (iGetImageType() >= 1 && !bIsCameraDevice(info)) SetImageType(0);
    int width = 0, height = 0;
    DeviceImageSize(info, iGetImageType(), width, height);
    if (bUsesImage() && !m_shape.bLiesInside(width, height))
        bSetShape(m_shape.FittedInto(width, height));
    SetModifiedFlag(true);
    return 1;
}

int OType_ConfigTool_KVT::iChangePositionSymmetrical(int mode, const ZRINFO& info) {
    int width = 0, height = 0;
    PlacementImageSize(info, iGetImageType(), width, height);
    OKvtRegion r = m_shape;
    switch (mode) {
        case 0:
            r = r.FittedInto(width, height);
            break;
        case 1:
            r.centreY = height - 1 - r.centreY;
            r.angle = -r.angle;
            break;
        case 2:
            r.centreX = width - 1 - r.centreX;
            r.angle = 180 - r.angle;
            break;
        default:
            return 0;
    }
    r.angle = r.NormalisedAngle();
    if (!bSetShape(r)) return 0;
    SetModifiedFlag(true);
    return 1;
}

void OType_ConfigTool_KVT::UpdateCFToolDefinition(OType_ZRPartSet& partSet, const ZRINFO& info,
                                                  const OType_Part&, OType_FeatureArray&) {
    if (GetName().empty()) {
        std::set<std::string> names;
        for (const auto& t : partSet.Tools())
            names.insert(t->GetName());
        int n = 1;
        while (names.count(FormatPrintf("%s %d", GetKindName(), n)))
            ++n;
        SetName(FormatPrintf("%s %d", GetKindName(), n));
    }
    if (bNeedsCameraImage() && iGetImageType() < 1) SetImageType(1);
    if (m_defaultShape && bUsesImage()) {
        int width = 0, height = 0;
        PlacementImageSize(info, iGetImageType(), width, height);
        bSetShape(DefaultRegion(width, height));
    }
    UpdateKindDefinition(partSet);
    SetModifiedFlag(true);
}

OKvtRegion OType_ConfigTool_KVT::DefaultRegion(int width, int height) const {
    return {(width - 1) / 2.0, (height - 1) / 2.0, std::max(1.0, width / 4.0),
            std::max(1.0, height / 4.0), 0};
}

void OType_ConfigTool_KVT::UpdateKindDefinition(const OType_ZRPartSet&) {}

// --- extraction ---

OKvtMeasureOutput OType_ConfigTool_KVT::Measure(const OType_ZRPartSet& partSet, const ZRINFO& info,
                                                const OType_Part& part,
                                                const OType_FeatureArray& features,
                                                bool teach) const {
    OKvtMeasureOutput out;
    out.values.resize(static_cast<size_t>(iGetNumOfFeatures()));
    OKvtMeasureInput in{partSet, info, part, features, teach, nullptr};
    if (!bUsesImage()) {
        MeasureRegion(in, out);
        return out;
    }
    const int imageType = bNeedsCameraImage() ? std::max(1, iGetImageType()) : iGetImageType();
    const OKvtPartImage image(part, imageType, info);
    const OPointD label = m_shape.ToImage(0, m_shape.height + 12);
    if (image.bIsEmpty()) {
        out.drawing.Region(m_shape, OKvtMarkRole::Failure);
        out.drawing.Text(label, GetName() + ": no image", OKvtMarkRole::Failure);
        return out;
    }
    const OKvtRegionSample sample(image.Mat(), m_shape);
    if (sample.bIsEmpty()) {
        out.drawing.Region(m_shape, OKvtMarkRole::Failure);
        out.drawing.Text(label, GetName() + ": region outside the image", OKvtMarkRole::Failure);
        return out;
    }
    out.drawing.Region(m_shape);
    out.drawing.Text(label, GetName(), OKvtMarkRole::Region);
    in.sample = &sample;
    MeasureRegion(in, out);
    return out;
}

void OType_ConfigTool_KVT::SetWorldValues(const OType_ZRPartSet& partSet,
                                          const std::vector<OKvtFeatureDef>& defs,
                                          const std::vector<OKvtFeatureValue>& values,
                                          std::vector<double>& world) const {
    world.resize(values.size());
    for (size_t i = 0; i < values.size(); ++i)
        world[i] = values[i].value;
    const OCoordTrans_Tsai_Transformer* t = partSet.opGetCoordTransformer();
    if (!bGetCoordTransSwitch() || !t) return;
    const double z = -partSet.dGetZCoordinate();
    // The world length of one pixel near the region's centre.
    double scale = 0;
    {
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        const double cx = m_shape.centreX, cy = m_shape.centreY;
        if (t->Image2World(cx, cy, z, x0, y0) && t->Image2World(cx + 1, cy, z, x1, y1) &&
            t->Image2World(cx, cy + 1, z, x2, y2))
            scale = (std::hypot(x1 - x0, y1 - y0) + std::hypot(x2 - x0, y2 - y0)) / 2;
    }
    for (size_t i = 0; i < values.size() && i < defs.size(); ++i) {
        if (!values[i].valid) continue;
        switch (defs[i].quantity) {
            case OKvtQuantity::ImageX:
                if (i + 1 < values.size() && defs[i + 1].quantity == OKvtQuantity::ImageY &&
                    values[i + 1].valid) {
                    double xw = 0, yw = 0;
                    if (t->Image2World(values[i].value, values[i + 1].value, z, xw, yw)) {
                        world[i] = xw;
                        world[i + 1] = yw;
                    }
                }
                break;
            case OKvtQuantity::Length:
                if (scale > 0) world[i] = values[i].value * scale;
                break;
            case OKvtQuantity::Area:
                if (scale > 0) world[i] = values[i].value * scale * scale;
                break;
            default:
                break;
        }
    }
}

void OType_ConfigTool_KVT::WriteFeatures(const OType_ZRPartSet& partSet,
                                         OType_FeatureArray& features,
                                         const std::vector<OKvtFeatureValue>& values) const {
    const std::vector<OKvtFeatureDef> defs = FeatureDefs();
    std::vector<double> world;
    SetWorldValues(partSet, defs, values, world);
    std::vector<OType_Feature> fresh;
    for (size_t i = 0; i < defs.size(); ++i) {
        OType_Feature f;
        f.type = defs[i].type;
        f.toolId = iGetToolId();
        const OKvtFeatureValue v = i < values.size() ? values[i] : OKvtFeatureValue{};
        f.valid = v.valid;
        f.valueType = defs[i].text ? FeatureValueType::Text : FeatureValueType::Numeric;
        f.value = v.valid && !defs[i].text ? v.value : 0.0;
        f.textValue = v.valid && defs[i].text ? v.text : std::string();
        f.alternativeValue = v.valid && !defs[i].text ? world[i] : 0.0;
        f.name = FeatureName(static_cast<int>(i), &partSet);
        f.modified = false;
        fresh.push_back(std::move(f));
    }
    std::vector<int> own;
    for (int i = 0; i < features.iGetNumOfFeatures(); ++i) {
        if (features.At(i).toolId == iGetToolId()) own.push_back(i);
    }
    if (own.size() == fresh.size()) {
        for (size_t i = 0; i < own.size(); ++i) {
            OType_Feature& f = features.At(own[i]);
            fresh[i].option = f.option;
            fresh[i].factor = f.factor;
            fresh[i].deviation = f.deviation;
            fresh[i].trailer = f.trailer;
            f = std::move(fresh[i]);
        }
        return;
    }
    const int at = own.empty() ? features.iGetNumOfFeatures() : own.front();
    for (auto it = own.rbegin(); it != own.rend(); ++it)
        features.RemoveAt(*it);
    for (size_t i = 0; i < fresh.size(); ++i)
        features.InsertAt(at + static_cast<int>(i), std::move(fresh[i]));
}

int OType_ConfigTool_KVT::iExtract(OType_ZRPartSet& partSet, const ZRINFO& info, OType_Part& part,
                                   OType_FeatureArray& features, OPainter* painter, int drawFlags,
                                   bool teach) {
    OKvtMeasureOutput out = Measure(partSet, info, part, features, teach);
    WriteFeatures(partSet, features, out.values);
    if (painter) out.drawing.Render(*painter, (drawFlags & ToolDrawFlags::kSelected) != 0);
    return out.result;
}

int OType_ConfigTool_KVT::iExtractObject_Test(OType_ZRPartSet& partSet, const ZRINFO& info,
                                              OType_Part& part, OType_FeatureArray& features, int,
                                              OPainter* painter, int drawFlags, const ORect&) {
    return iExtract(partSet, info, part, features, painter, drawFlags, false);
}

int OType_ConfigTool_KVT::iExtractObject_Teach(OType_ZRPartSet& partSet, const ZRINFO& info,
                                               OType_Part& part, OType_FeatureArray& features, int,
                                               OPainter* painter, int drawFlags, const ORect&) {
    return iExtract(partSet, info, part, features, painter, drawFlags, true);
}

void OType_ConfigTool_KVT::PrintCFTool(OPainter& painter, const OType_ZRPartSet& partSet) {
    const OType_Part* part = partSet.opGetShowPart();
    if (!part || !partSet.opGetDeviceInfo()) {
        OKvtDrawing drawing;
        drawing.Region(m_shape);
        drawing.Render(painter, false);
        return;
    }
    Measure(partSet, *partSet.opGetDeviceInfo(), *part, part->Features(), false)
        .drawing.Render(painter, false);
}

// --- properties ---

OPropertyList OType_ConfigTool_KVT::DescribeProperties(const OPropertyContext& context) const {
    using namespace PropertyList;
    OPropertyList list{Text("name", "Name", "General", GetName(), kNameLength)};
    const std::vector<int> subKinds = SubKinds();
    if (subKinds.size() > 1) {
        std::vector<OPropertyChoice> choices;
        for (int k : subKinds)
            choices.push_back({k, SubKindName(k)});
        list.push_back(Choice("subkind", "Function", "General", iGetSubKind(), choices));
    }
    if (bUsesImage()) {
        std::vector<OPropertyChoice> images;
        if (!bNeedsCameraImage()) images.push_back({0, "Contour image"});
        for (int i = 1; i <= kMaxCameraImageChoice; ++i)
            images.push_back({i, FormatPrintf("Camera image %d", i)});
        const int shown = bNeedsCameraImage() ? std::max(1, iGetImageType()) : iGetImageType();
        list.push_back(Choice("image", "Image", "General",
                              std::clamp(shown, 0, kMaxCameraImageChoice), images));
        list.push_back(Real("region.x", "Centre X", "Region", m_shape.centreX, -kCoordinateLimit,
                            kCoordinateLimit, 1, "px"));
        list.push_back(Real("region.y", "Centre Y", "Region", m_shape.centreY, -kCoordinateLimit,
                            kCoordinateLimit, 1, "px"));
        list.push_back(Real("region.width", "Width", "Region", m_shape.width, 1,
                            OKvtRegion::kMaxSide, 1, "px"));
        list.push_back(Real("region.height", "Height", "Region", m_shape.height, 1,
                            OKvtRegion::kMaxSide, 1, "px"));
        list.push_back(Real("region.angle", "Angle", "Region", m_shape.angle, -360, 360, 1, "°"));
    }
    for (int i = 0; i < iGetNumOfFeatures(); ++i) {
        OProperty p =
            Text(FormatPrintf("feature.%d.name", i + 1), FormatPrintf("Feature %d", i + 1),
                 "Features", FeatureName(i, context.partSet), kNameLength);
        p.help = "Leave empty for the name the tool gives it.";
        list.push_back(std::move(p));
    }
    return list;
}

std::string OType_ConfigTool_KVT::SubKindName(int subKind) const {
    return std::to_string(subKind);
}

bool OType_ConfigTool_KVT::bCheckProperties(const OPropertyValues& merged, const OPropertyContext&,
                                            std::string& error) const {
    using PropertyList::dGet;
    if (!bUsesImage()) return true;
    const OKvtRegion r{
        dGet(merged, "region.x", m_shape.centreX), dGet(merged, "region.y", m_shape.centreY),
        dGet(merged, "region.width", m_shape.width), dGet(merged, "region.height", m_shape.height),
        dGet(merged, "region.angle", m_shape.angle)};
    if (!r.bIsSane()) {
        error = "The region is not usable.";
        return false;
    }
    return true;
}

void OType_ConfigTool_KVT::ApplyProperties(const OPropertyValues& values,
                                           const OPropertyContext& context) {
    using namespace PropertyList;
    SetName(sGet(values, "name", GetName()));
    SetFeatureType(static_cast<int>(iGet(values, "subkind", iGetSubKind())));
    if (bUsesImage()) {
        SetImageType(static_cast<int>(iGet(values, "image", iGetImageType())));
        const OKvtRegion r{dGet(values, "region.x", m_shape.centreX),
                           dGet(values, "region.y", m_shape.centreY),
                           dGet(values, "region.width", m_shape.width),
                           dGet(values, "region.height", m_shape.height),
                           dGet(values, "region.angle", m_shape.angle)};
        if (!(r == m_shape)) bSetShape(r);
    }
    for (int i = 0; i < iGetNumOfFeatures(); ++i) {
        const auto it = values.find(FormatPrintf("feature.%d.name", i + 1));
        if (it == values.end()) continue;
        std::string name = sGet(values, it->first, {});
        if (name == FeatureName(i, context.partSet)) continue;
        // The default name given back counts as no name of the user's.
        if (name == DefaultFeatureName(i, context.partSet)) name.clear();
        bSetFeatureName(i, std::move(name));
    }
}

// --- encoding ---

void OType_ConfigTool_KVT::EncodeKind(OByteStream&) const {}
bool OType_ConfigTool_KVT::bDecodeKind(OBlockFieldReader&) {
    return true;
}
void OType_ConfigTool_KVT::CopyKindTo(OType_ConfigTool_KVT&) const {}

void OType_ConfigTool_KVT::EncodePayload(OByteStream& s) const {
    {
        OObjectBlockWriter block(s, ObjectId::kImageTool);
        s.bWriteDouble(m_shape.centreX);
        s.bWriteDouble(m_shape.centreY);
        s.bWriteDouble(m_shape.width);
        s.bWriteDouble(m_shape.height);
        s.bWriteDouble(m_shape.angle);
        s.bWriteU32(static_cast<uint32_t>(m_featureNames.size()));
        for (const std::string& name : m_featureNames)
            s.bWriteString(name);
        block.bWriteTrailer(m_baseTrailer);
    }
    {
        OObjectBlockWriter block(s, ObjectId::kImageToolKind);
        EncodeKind(s);
        block.bWriteTrailer(m_kindTrailer);
    }
    s.bWriteRaw(m_payloadTrailer.data(), m_payloadTrailer.size());
}

bool OType_ConfigTool_KVT::bDecodePayload(OByteStream& s) {
    constexpr uint32_t kMaxNames = 1024;
    OKvtRegion shape = m_shape;
    std::vector<std::string> names;
    {
        OObjectBlockReader block(s, ObjectId::kImageTool);
        if (!block.bIsOk()) return false;
        OBlockFieldReader fields(block, s);
        fields.Double(shape.centreX);
        fields.Double(shape.centreY);
        fields.Double(shape.width);
        fields.Double(shape.height);
        fields.Double(shape.angle);
        if (block.bHas(4)) {
            uint32_t count = 0;
            if (!s.bReadCount(count, 4) || count > kMaxNames) return false;
            names.resize(count);
            for (std::string& name : names) {
                if (!s.bReadString(name)) return false;
            }
        }
        if (!fields.bIsOk() || !shape.bIsSane()) return false;
        m_baseTrailer = block.TakeTrailer();
        if (!block.bClose()) return false;
    }
    if (s.iRemaining() >= 8) {
        OObjectBlockReader block(s, ObjectId::kImageToolKind);
        if (!block.bIsOk()) return false;
        OBlockFieldReader fields(block, s);
        if (!bDecodeKind(fields) || !fields.bIsOk()) return false;
        m_kindTrailer = block.TakeTrailer();
        if (!block.bClose()) return false;
    }
    if (!s.bReadBytes(m_payloadTrailer, s.iRemaining())) return false;
    m_shape = shape;
    m_defaultShape = false;
    OType_ConfigTool::SetRegion(m_shape.BoundingRect());
    m_featureNames = std::move(names);
    return true;
}

namespace KvtEncode {

void Ref(OByteStream& s, const OKvtFeatureRef& ref) {
    s.bWriteI32(ref.toolId);
    s.bWriteI32(ref.feature);
}

bool bReadRef(OBlockFieldReader& r, OKvtFeatureRef& ref) {
    OKvtFeatureRef read = ref;
    if (!r.I32(read.toolId) || !r.I32(read.feature)) return false;
    if (read.toolId < -1 || read.feature < 0 || read.feature >= 1000) return r.Fail();
    if (read.toolId == -1) read.feature = 0;
    ref = read;
    return true;
}

}  // namespace KvtEncode
