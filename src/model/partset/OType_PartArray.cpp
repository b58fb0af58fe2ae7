#include "model/partset/OType_PartArray.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

OType_PartArray& OType_PartArray::operator=(const OType_PartArray& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

OType_PartArray& OType_PartArray::operator=(OType_PartArray&& other) noexcept {
    if (this == &other) return *this;
    m_parts = std::move(other.m_parts);
    m_order = std::move(other.m_order);
    m_sortType = other.m_sortType;
    m_sortFeature = other.m_sortFeature;
    other.RemoveAll();
    return *this;
}

void OType_PartArray::CopyFrom(const OType_PartArray& other) {
    m_parts.clear();
    m_parts.reserve(other.m_parts.size());
    for (const auto& p : other.m_parts)
        m_parts.push_back(std::make_unique<OType_Part>(*p));
    m_order = other.m_order;
    m_sortType = other.m_sortType;
    m_sortFeature = other.m_sortFeature;
    m_trailer = other.m_trailer;
}

OType_Part* OType_PartArray::GetAt(int i) const {
    if (i < 0 || i >= iGetSize()) return nullptr;
    return m_parts[static_cast<size_t>(m_order[static_cast<size_t>(i)])].get();
}

OType_Part* OType_PartArray::GetAt_NoSort(int i) const {
    if (i < 0 || i >= iGetSize()) return nullptr;
    return m_parts[static_cast<size_t>(i)].get();
}

int OType_PartArray::iGetSortPos(int noSortIndex) const {
    if (noSortIndex < 0 || noSortIndex >= iGetSize()) return -1;
    const auto it = std::find(m_order.begin(), m_order.end(), noSortIndex);
    return it == m_order.end() ? -1 : static_cast<int>(it - m_order.begin());
}

int OType_PartArray::iGetSortPosOf(const OType_Part* part) const {
    for (size_t i = 0; i < m_order.size(); ++i) {
        if (m_parts[static_cast<size_t>(m_order[i])].get() == part) return static_cast<int>(i);
    }
    return -1;
}

OType_Part* OType_PartArray::Add(std::unique_ptr<OType_Part> part) {
    if (!part) return nullptr;
    m_parts.push_back(std::move(part));
    m_order.push_back(iGetSize() - 1);
    return m_parts.back().get();
}

void OType_PartArray::RemoveAt(int i) {
    if (i < 0 || i >= iGetSize()) return;
    RemoveAt_NoSort(m_order[static_cast<size_t>(i)]);
}

void OType_PartArray::RemoveAt_NoSort(int i) {
    DetachAt_NoSort(i);
}

std::unique_ptr<OType_Part> OType_PartArray::DetachAt_NoSort(int i) {
    if (i < 0 || i >= iGetSize()) return nullptr;
    std::unique_ptr<OType_Part> part = std::move(m_parts[static_cast<size_t>(i)]);
    m_parts.erase(m_parts.begin() + i);
    std::erase(m_order, i);
    for (int& idx : m_order) {
        if (idx > i) --idx;
    }
    return part;
}

void OType_PartArray::RemoveAll() {
    m_parts.clear();
    m_order.clear();
}

void OType_PartArray::SetSortType(PartSortType type, int sortFeature) {
    m_sortType = type;
    m_sortFeature = sortFeature < 0 ? 0 : sortFeature;
    UpdateSortOrder();
}

void OType_PartArray::UpdateSortOrder() {
    m_order.resize(m_parts.size());
    std::iota(m_order.begin(), m_order.end(), 0);
    auto part = [this](int i) -> const OType_Part& { return *m_parts[static_cast<size_t>(i)]; };
    auto byKey = [&](auto key) {
        std::stable_sort(m_order.begin(), m_order.end(),
                         [&](int a, int b) { return key(part(a)) < key(part(b)); });
    };
    switch (m_sortType) {
        case PartSortType::RecordNo:
            byKey([](const OType_Part& p) { return p.iGetRecordNo(); });
            break;
        case PartSortType::Type:
            byKey([](const OType_Part& p) { return p.iGetType(); });
            break;
        case PartSortType::Orientation:
            byKey([](const OType_Part& p) { return std::abs(p.iGetOrientation()); });
            break;
        case PartSortType::Result:
            byKey([](const OType_Part& p) { return p.dGetResultValue(0); });
            break;
        case PartSortType::Feature: {
            const int f = m_sortFeature;
            byKey([f](const OType_Part& p) { return p.Features().dGetFeatureValueAt(f); });
            break;
        }
        case PartSortType::Comment:
            byKey([](const OType_Part& p) { return p.GetComment(); });
            break;
    }
}

bool OType_PartArray::Synchronized_Lock(std::chrono::milliseconds timeout) {
    return m_lock.try_lock_for(timeout);
}

void OType_PartArray::Synchronized_Unlock() {
    m_lock.unlock();
}

int OType_PartArray::iEncode(OByteStream& stream, uint32_t content) const {
    OObjectBlockWriter block(stream, ObjectId::kPartArray);
    stream.bWriteI32(static_cast<int32_t>(m_sortType));
    stream.bWriteI32(m_sortFeature);
    stream.bWriteU32(static_cast<uint32_t>(m_parts.size()));
    for (const auto& p : m_parts)
        p->iEncode(stream, content);
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

int OType_PartArray::iDecode(OByteStream& stream) {
    OObjectBlockReader block(stream, ObjectId::kPartArray);
    int32_t sortType = 0;
    int32_t sortFeature = 0;
    uint32_t count = 0;
    stream.bReadI32(sortType);
    stream.bReadI32(sortFeature);
    if (!block.bIsOk() || !stream.bReadCount(count, 8) || count > kMaxParts) {
        RemoveAll();
        return stream.Fail();
    }
    std::vector<std::unique_ptr<OType_Part>> parts;
    parts.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        auto p = std::make_unique<OType_Part>();
        if (!p->iDecode(stream)) {
            RemoveAll();
            return 0;
        }
        parts.push_back(std::move(p));
    }
    std::vector<uint8_t> trailer = block.TakeTrailer();
    if (!block.bClose()) {
        RemoveAll();
        return 0;
    }
    m_trailer = std::move(trailer);
    for (auto& p : parts)
        Add(std::move(p));
    if (sortType >= 0 && sortType < kNumPartSortTypes) {
        m_sortType = static_cast<PartSortType>(sortType);
        m_sortFeature = std::max(0, sortFeature);
    }
    UpdateSortOrder();
    return 1;
}

uint64_t OType_PartArray::iGetObjectSize(uint32_t content) const {
    uint64_t size = 32;
    for (const auto& p : m_parts)
        size += p->iGetObjectSize(content);
    return size;
}
