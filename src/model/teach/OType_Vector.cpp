#include "model/teach/OType_Vector.h"

#include <algorithm>

#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

namespace {
constexpr uint64_t kMinVectorBytes = 8 + 4 + 4 + 4 + 5 * 8 + 4 + 8 + 1 + 1 + 4;
constexpr uint64_t kMinArrayBytes = 8 + 4 + 4;
}  // namespace

int OType_Vector::iEncode(OByteStream& s) const {
    OObjectBlockWriter block(s, ObjectId::kVector);
    s.bWriteI32(featureType);
    s.bWriteI32(toolId);
    s.bWriteString(name);
    s.bWriteDouble(minimum);
    s.bWriteDouble(mean);
    s.bWriteDouble(maximum);
    s.bWriteDouble(lowerBound);
    s.bWriteDouble(upperBound);
    s.bWriteU32(option);
    s.bWriteDouble(factor);
    s.bWriteU8(state);
    s.bWriteBool(textFeature);
    s.bWriteString(classText);
    block.bWriteTrailer(trailer);
    return block.bClose() ? 1 : 0;
}

int OType_Vector::iDecode(OByteStream& s) {
    *this = OType_Vector();
    OObjectBlockReader block(s, ObjectId::kVector);
    OType_Vector v;
    s.bReadI32(v.featureType);
    s.bReadI32(v.toolId);
    s.bReadString(v.name);
    s.bReadDouble(v.minimum);
    s.bReadDouble(v.mean);
    s.bReadDouble(v.maximum);
    s.bReadDouble(v.lowerBound);
    s.bReadDouble(v.upperBound);
    s.bReadU32(v.option);
    s.bReadDouble(v.factor);
    s.bReadU8(v.state);
    s.bReadBool(v.textFeature);
    s.bReadString(v.classText);
    if (!block.bIsOk()) return 0;
    v.trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    *this = std::move(v);
    return 1;
}

void OType_VectorArray::InsertAt(int i, OType_Vector v) {
    const int at = std::clamp(i, 0, iGetNumOfVectors());
    m_vectors.insert(m_vectors.begin() + at, std::move(v));
}

void OType_VectorArray::RemoveAt(int i) {
    if (bIsValidIndex(i)) m_vectors.erase(m_vectors.begin() + i);
}

int OType_VectorArray::iEncode(OByteStream& s) const {
    OObjectBlockWriter block(s, ObjectId::kVectorArray);
    s.bWriteI32(m_partCount);
    s.bWriteU32(static_cast<uint32_t>(m_vectors.size()));
    for (const auto& v : m_vectors)
        v.iEncode(s);
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

int OType_VectorArray::iDecode(OByteStream& s) {
    *this = OType_VectorArray();
    OObjectBlockReader block(s, ObjectId::kVectorArray);
    OType_VectorArray a;
    uint32_t count = 0;
    s.bReadI32(a.m_partCount);
    if (!block.bIsOk() || !s.bReadCount(count, kMinVectorBytes) || count > kMaxVectors)
        return s.Fail();
    a.m_vectors.resize(count);
    for (auto& v : a.m_vectors) {
        if (!v.iDecode(s)) return 0;
    }
    a.m_trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    *this = std::move(a);
    return 1;
}

void OType_VectorArray_Array::RemoveAt(int i) {
    if (bIsValidIndex(i)) m_arrays.erase(m_arrays.begin() + i);
}

int OType_VectorArray_Array::iEncode(OByteStream& s) const {
    OObjectBlockWriter block(s, ObjectId::kVectorArrayArray);
    s.bWriteU32(static_cast<uint32_t>(m_arrays.size()));
    for (const auto& a : m_arrays)
        a.iEncode(s);
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

int OType_VectorArray_Array::iDecode(OByteStream& s) {
    *this = OType_VectorArray_Array();
    OObjectBlockReader block(s, ObjectId::kVectorArrayArray);
    OType_VectorArray_Array aa;
    uint32_t count = 0;
    if (!block.bIsOk() || !s.bReadCount(count, kMinArrayBytes) || count > kMaxArrays)
        return s.Fail();
    aa.m_arrays.resize(count);
    for (auto& a : aa.m_arrays) {
        if (!a.iDecode(s)) return 0;
    }
    aa.m_trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    *this = std::move(aa);
    return 1;
}
