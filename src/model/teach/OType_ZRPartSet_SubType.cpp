#include "model/teach/OType_ZRPartSet_SubType.h"

#include <algorithm>

#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

void OType_ZRPartSet_SubType::SetTolerance(int percent) {
    m_tolerance = std::clamp(percent, 0, kMaxTolerance);
}

void OType_ZRPartSet_SubType::Clear() {
    m_orientations = 0;
    m_features = 0;
    m_hasData = false;
    m_vectors.RemoveAll();
}

int OType_ZRPartSet_SubType::iEncode(OByteStream& s) const {
    OObjectBlockWriter block(s, ObjectId::kSubType);
    s.bWriteString(m_name);
    s.bWriteI32(m_tolerance);
    s.bWriteI32(m_orientations);
    s.bWriteI32(m_features);
    s.bWriteBool(m_hasData);
    s.bWriteU32(m_counterTarget);
    s.bWriteU32(m_counterFlag);
    m_vectors.iEncode(s);
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

int OType_ZRPartSet_SubType::iDecode(OByteStream& s) {
    *this = OType_ZRPartSet_SubType();
    OObjectBlockReader block(s, ObjectId::kSubType);
    OType_ZRPartSet_SubType t;
    s.bReadString(t.m_name);
    s.bReadI32(t.m_tolerance);
    s.bReadI32(t.m_orientations);
    s.bReadI32(t.m_features);
    s.bReadBool(t.m_hasData);
    s.bReadU32(t.m_counterTarget);
    s.bReadU32(t.m_counterFlag);
    if (!block.bIsOk()) return 0;
    // The counter flag is 0 or 0xFFFF; no other value can be sent to a device or stored in a
    // part-data record.
    if (t.m_tolerance < 0 || t.m_tolerance > kMaxTolerance || t.m_orientations < 0 ||
        t.m_orientations > 64 || t.m_features < 0 ||
        (t.m_counterFlag != 0 && t.m_counterFlag != 0xFFFF)) {
        return s.Fail();
    }
    if (!t.m_vectors.iDecode(s)) return 0;
    t.m_trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    *this = std::move(t);
    return 1;
}
