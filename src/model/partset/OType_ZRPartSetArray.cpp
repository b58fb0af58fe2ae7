#include "model/partset/OType_ZRPartSetArray.h"

#include <algorithm>

#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

OType_ZRPartSet* OType_ZRPartSetArray::opGetPartSet(int i) const {
    return i >= 0 && i < iGetNum() ? m_partSets[static_cast<size_t>(i)].get() : nullptr;
}

int OType_ZRPartSetArray::iSetActualPartSetNo(int n) {
    m_actual = m_partSets.empty() ? -1 : std::clamp(n, 0, iGetNum() - 1);
    return m_actual;
}

int OType_ZRPartSetArray::iGetPos(const OType_ZRPartSet* partSet) const {
    for (int i = 0; i < iGetNum(); ++i) {
        if (m_partSets[static_cast<size_t>(i)].get() == partSet) return i;
    }
    return -1;
}

OType_ZRPartSet* OType_ZRPartSetArray::opAddPartSet(const ZRINFO* deviceInfo,
                                                    OCoordTrans_Tsai_Transformer* coordTrans,
                                                    OProgressCtrl* progress, int partTypes) {
    if (m_partSets.size() >= kMaxPartSets) return nullptr;
    auto set = std::make_unique<OType_ZRPartSet>();
    set->SetDeviceInfo(deviceInfo);
    set->SetCoordTransformer(coordTrans);
    set->SetProgress(progress);
    set->SetNumSubTypes(partTypes);
    set->SetProgramNo(iGetNum() + 1);
    set->UndoRedo().bStartUndoRedo(*set);
    m_partSets.push_back(std::move(set));
    if (m_actual < 0) m_actual = 0;
    return m_partSets.back().get();
}

void OType_ZRPartSetArray::RemoveAt(int i) {
    if (i < 0 || i >= iGetNum()) return;
    m_partSets.erase(m_partSets.begin() + i);
    iSetActualPartSetNo(m_actual > i ? m_actual - 1 : m_actual);
}

bool OType_ZRPartSetArray::bSwap(int a, int b) {
    if (a < 0 || b < 0 || a >= iGetNum() || b >= iGetNum()) return false;
    std::swap(m_partSets[static_cast<size_t>(a)], m_partSets[static_cast<size_t>(b)]);
    if (m_actual == a) {
        m_actual = b;
    } else if (m_actual == b) {
        m_actual = a;
    }
    return true;
}

void OType_ZRPartSetArray::RemoveAll() {
    m_partSets.clear();
    m_actual = -1;
}

int OType_ZRPartSetArray::iEncode(OByteStream& s, int withParts, int withImages) const {
    OObjectBlockWriter block(s, ObjectId::kPartSetArray);
    s.bWriteI32(m_actual);
    s.bWriteU32(static_cast<uint32_t>(m_partSets.size()));
    for (const auto& set : m_partSets)
        set->iEncode(s, withParts, withImages);
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

int OType_ZRPartSetArray::iDecode(OByteStream& s, const Preparer& prepare,
                                  OType_ZRPartSet::DecodeHistory history) {
    RemoveAll();
    m_trailer.clear();
    OObjectBlockReader block(s, ObjectId::kPartSetArray);
    int32_t actual = 0;
    uint32_t count = 0;
    s.bReadI32(actual);
    if (!block.bIsOk() || !s.bReadCount(count, 8) || count > kMaxPartSets) return s.Fail();
    std::vector<std::unique_ptr<OType_ZRPartSet>> sets;
    for (uint32_t i = 0; i < count; ++i) {
        auto set = std::make_unique<OType_ZRPartSet>();
        if (prepare) prepare(*set);
        if (!set->iDecode(s, history)) return 0;
        sets.push_back(std::move(set));
    }
    std::vector<uint8_t> trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    m_partSets = std::move(sets);
    m_trailer = std::move(trailer);
    iSetActualPartSetNo(actual);
    return 1;
}

uint64_t OType_ZRPartSetArray::iGetObjectSize(int withParts, int withImages) const {
    uint64_t size = 16;
    for (const auto& set : m_partSets)
        size += set->iGetObjectSize(withParts, withImages);
    return size;
}
