#include "model/part/OType_Feature.h"

#include <algorithm>

#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

namespace {
const std::string kNoName;
// Smallest possible encoded feature: block header plus the fixed fields and two empty strings.
constexpr uint64_t kMinFeatureBytes = 8 + 4 + 4 + 8 + 1 + 4 + 4 + 4 + 8 + 4 + 8 + 8 + 1;
}  // namespace

int OType_Feature::iEncode(OByteStream& stream) const {
    OObjectBlockWriter block(stream, ObjectId::kFeature);
    stream.bWriteI32(type);
    stream.bWriteI32(toolId);
    stream.bWriteDouble(value);
    stream.bWriteBool(valid);
    stream.bWriteI32(static_cast<int32_t>(valueType));
    stream.bWriteString(textValue);
    stream.bWriteString(name);
    stream.bWriteDouble(deviation);
    stream.bWriteU32(option);
    stream.bWriteDouble(factor);
    stream.bWriteDouble(alternativeValue);
    stream.bWriteBool(modified);
    block.bWriteTrailer(trailer);
    return block.bClose() ? 1 : 0;
}

int OType_Feature::iDecode(OByteStream& stream) {
    *this = OType_Feature();
    OObjectBlockReader block(stream, ObjectId::kFeature);
    OType_Feature f;
    int32_t kind = 0;
    stream.bReadI32(f.type);
    stream.bReadI32(f.toolId);
    stream.bReadDouble(f.value);
    stream.bReadBool(f.valid);
    stream.bReadI32(kind);
    stream.bReadString(f.textValue);
    stream.bReadString(f.name);
    stream.bReadDouble(f.deviation);
    stream.bReadU32(f.option);
    stream.bReadDouble(f.factor);
    stream.bReadDouble(f.alternativeValue);
    stream.bReadBool(f.modified);
    if (!block.bIsOk()) return 0;
    if (kind != 0 && kind != 1) return stream.Fail();
    f.valueType = static_cast<FeatureValueType>(kind);
    f.trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    *this = std::move(f);
    return 1;
}

const OType_FeatureArray::Entries& OType_FeatureArray::View() const {
    static const Entries kNone;
    return m_features ? *m_features : kNone;
}

OType_FeatureArray::Entries& OType_FeatureArray::Own() {
    if (!m_features)
        m_features = std::make_shared<Entries>();
    else if (m_features.use_count() > 1)
        m_features = std::make_shared<Entries>(*m_features);
    return *m_features;
}

bool OType_FeatureArray::operator==(const OType_FeatureArray& other) const {
    return m_modified == other.m_modified && m_trailer == other.m_trailer &&
           (m_features == other.m_features || View() == other.View());
}

double OType_FeatureArray::dGetFeatureValueAt(int i) const {
    return bIsValidIndex(i) ? View()[static_cast<size_t>(i)].value : 0.0;
}

const std::string& OType_FeatureArray::oGetFeatureNameAt(int i) const {
    return bIsValidIndex(i) ? View()[static_cast<size_t>(i)].name : kNoName;
}

int OType_FeatureArray::GetFeatureTypeAt(int i) const {
    return bIsValidIndex(i) ? View()[static_cast<size_t>(i)].type : -1;
}

void OType_FeatureArray::InsertAt(int i, OType_Feature feature) {
    const size_t at = static_cast<size_t>(std::clamp(i, 0, iGetNumOfFeatures()));
    Entries& entries = Own();
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), std::move(feature));
}

void OType_FeatureArray::RemoveAt(int i) {
    if (!bIsValidIndex(i)) return;
    Entries& entries = Own();
    entries.erase(entries.begin() + i);
}

void OType_FeatureArray::RemoveFrom(int i) {
    if (i < 0) i = 0;
    if (i == 0)
        RemoveAll();
    else if (i < iGetNumOfFeatures())
        Own().resize(static_cast<size_t>(i));
}

void OType_FeatureArray::Resize(int count) {
    if (count <= 0)
        RemoveAll();
    else if (count != iGetNumOfFeatures())
        Own().resize(static_cast<size_t>(count));
}

int OType_FeatureArray::iEncode(OByteStream& stream) const {
    OObjectBlockWriter block(stream, ObjectId::kFeatureArray);
    stream.bWriteBool(m_modified);
    stream.bWriteU32(static_cast<uint32_t>(View().size()));
    for (const auto& f : View())
        f.iEncode(stream);
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

int OType_FeatureArray::iDecode(OByteStream& stream) {
    *this = OType_FeatureArray();
    OObjectBlockReader block(stream, ObjectId::kFeatureArray);
    OType_FeatureArray a;
    uint32_t count = 0;
    stream.bReadBool(a.m_modified);
    if (!stream.bReadCount(count, kMinFeatureBytes) || count > kMaxFeatures) return stream.Fail();
    a.Resize(static_cast<int>(count));
    for (auto& f : a) {
        if (!f.iDecode(stream)) return 0;
    }
    a.m_trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    *this = std::move(a);
    return 1;
}
