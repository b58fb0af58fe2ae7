#include "model/tools/OType_DeviceDataIOArray.h"

#include <algorithm>
#include <limits>

#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

namespace {
bool PeekOutputKind(OByteStream& s, int32_t& kind) {
    if (!s.bIsOk() || s.iRemaining() < 12) return false;
    const uint64_t pos = s.iGetPos();
    uint32_t length = 0, id = 0;
    const bool ok =
        s.bReadU32(length) && s.bReadU32(id) && s.bReadI32(kind) && id == ObjectId::kDataOutput;
    s.bSeek(pos);
    return ok;
}

// The id after `id`; after the largest int the count starts again from 1.
int IdAfter(int id) {
    return id < std::numeric_limits<int>::max() ? id + 1 : 1;
}
}  // namespace

std::unique_ptr<OType_DeviceDataIO> OType_DeviceDataIO_Opaque::CreateNew() const {
    return std::make_unique<OType_DeviceDataIO_Opaque>(m_kind);
}

std::string OType_DeviceDataIO_Opaque::GetKindName() const {
    return "Data output " + std::to_string(m_kind);
}

void OType_DeviceDataIO_Opaque::CopyTo(OType_DeviceDataIO& other) const {
    OType_DeviceDataIO::CopyTo(other);
    if (auto* o = dynamic_cast<OType_DeviceDataIO_Opaque*>(&other)) o->m_payload = m_payload;
}

bool OType_DeviceDataIO_Opaque::bIsAvailable(const ZRINFO&, std::string& reason) const {
    reason = "unknown data output kind";
    return false;
}

void OType_DeviceDataIO_Opaque::EncodePayload(OByteStream& s) const {
    s.bWriteRaw(m_payload.data(), m_payload.size());
}

bool OType_DeviceDataIO_Opaque::bDecodePayload(OByteStream& s) {
    return s.bReadBytes(m_payload, s.iRemaining());
}

OType_DeviceDataIOArray& OType_DeviceDataIOArray::operator=(const OType_DeviceDataIOArray& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

void OType_DeviceDataIOArray::CopyFrom(const OType_DeviceDataIOArray& other) {
    m_outputs.clear();
    for (const auto& o : other.m_outputs)
        m_outputs.push_back(o->Clone());
    m_selected = other.m_selected;
    m_nextId = other.m_nextId;
    m_trailer = other.m_trailer;
}

OType_DeviceDataIO* OType_DeviceDataIOArray::opGetAt(int i) const {
    return i >= 0 && i < iGetNum() ? m_outputs[static_cast<size_t>(i)].get() : nullptr;
}

int OType_DeviceDataIOArray::iGetPos(const OType_DeviceDataIO* output) const {
    for (int i = 0; i < iGetNum(); ++i) {
        if (m_outputs[static_cast<size_t>(i)].get() == output) return i;
    }
    return -1;
}

int OType_DeviceDataIOArray::iCountKind(int kind) const {
    return static_cast<int>(
        std::count_if(m_outputs.begin(), m_outputs.end(),
                      [kind](const auto& o) { return o->iGetDataIOType() == kind; }));
}

OType_DeviceDataIO* OType_DeviceDataIOArray::Insert(int i,
                                                    std::unique_ptr<OType_DeviceDataIO> output) {
    if (!output) return nullptr;
    if (output->iGetDataIOId() < 0 || bIsIdUsed(output->iGetDataIOId()))
        output->SetDataIOId(NextFreeId());
    if (output->iGetDataIOId() >= m_nextId) m_nextId = IdAfter(output->iGetDataIOId());
    const int at = std::clamp(i, 0, iGetNum());
    m_outputs.insert(m_outputs.begin() + at, std::move(output));
    if (m_selected >= at) ++m_selected;
    return m_outputs[static_cast<size_t>(at)].get();
}

bool OType_DeviceDataIOArray::bIsIdUsed(int id) const {
    return std::any_of(m_outputs.begin(), m_outputs.end(),
                       [id](const auto& o) { return o->iGetDataIOId() == id; });
}

int OType_DeviceDataIOArray::NextFreeId() {
    if (m_nextId < 1) m_nextId = 1;
    while (bIsIdUsed(m_nextId))
        m_nextId = IdAfter(m_nextId);
    const int id = m_nextId;
    m_nextId = IdAfter(id);
    return id;
}

void OType_DeviceDataIOArray::RemoveAt(int i) {
    if (i < 0 || i >= iGetNum()) return;
    m_outputs.erase(m_outputs.begin() + i);
    if (m_selected == i) {
        m_selected = std::min(i, iGetNum() - 1);
    } else if (m_selected > i) {
        --m_selected;
    }
}

void OType_DeviceDataIOArray::RemoveAll() {
    m_outputs.clear();
    m_selected = -1;
}

void OType_DeviceDataIOArray::Swap(int a, int b) {
    if (a < 0 || b < 0 || a >= iGetNum() || b >= iGetNum()) return;
    std::swap(m_outputs[static_cast<size_t>(a)], m_outputs[static_cast<size_t>(b)]);
    if (m_selected == a) {
        m_selected = b;
    } else if (m_selected == b) {
        m_selected = a;
    }
}

bool OType_DeviceDataIOArray::bIsPacketIdUsed(int id, const OType_DeviceDataIO* except) const {
    if (id < 0) return false;
    return std::any_of(m_outputs.begin(), m_outputs.end(),
                       [&](const auto& o) { return o.get() != except && o->iGetPacketId() == id; });
}

bool OType_DeviceDataIOArray::bIsPacketNameUsed(const std::string& name,
                                                const OType_DeviceDataIO* except) const {
    if (name.empty()) return false;
    return std::any_of(m_outputs.begin(), m_outputs.end(), [&](const auto& o) {
        return o.get() != except && o->GetPacketName() == name;
    });
}

int OType_DeviceDataIOArray::iFirstFreePacketId() const {
    int id = 1;
    while (bIsPacketIdUsed(id))
        ++id;
    return id;
}

std::string OType_DeviceDataIOArray::FirstFreePacketName(const std::string& base) const {
    if (!bIsPacketNameUsed(base)) return base;
    for (int n = 2;; ++n) {
        std::string candidate = base + "_" + std::to_string(n);
        if (!bIsPacketNameUsed(candidate)) return candidate;
    }
}

void OType_DeviceDataIOArray::Update_LUT_FeatureIndexLists(const OType_ZRPartSet& partSet) {
    for (auto& o : m_outputs)
        o->UpdateFeatureIndexList(partSet);
}

int OType_DeviceDataIOArray::iEncode(OByteStream& s) const {
    OObjectBlockWriter block(s, ObjectId::kDataOutputArray);
    s.bWriteI32(m_selected);
    s.bWriteI32(m_nextId);
    s.bWriteU32(static_cast<uint32_t>(m_outputs.size()));
    for (const auto& o : m_outputs)
        o->iEncode(s);
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

std::unique_ptr<OType_DeviceDataIO> OType_DeviceDataIOArray::opCreateFromStream(
    OByteStream& s, const ODataOutputPrototypes& prototypes) {
    int32_t kind = 0;
    if (!PeekOutputKind(s, kind)) {
        s.Fail();
        return nullptr;
    }
    std::unique_ptr<OType_DeviceDataIO> output = prototypes.Create(kind);
    if (!output) output = std::make_unique<OType_DeviceDataIO_Opaque>(kind);
    if (!output->iDecodeInto(s)) return nullptr;
    return output;
}

int OType_DeviceDataIOArray::iDecode(OByteStream& s, const ODataOutputPrototypes& prototypes) {
    RemoveAll();
    m_trailer.clear();
    OObjectBlockReader block(s, ObjectId::kDataOutputArray);
    int32_t selected = -1, nextId = 1;
    uint32_t count = 0;
    s.bReadI32(selected);
    s.bReadI32(nextId);
    if (!block.bIsOk() || !s.bReadCount(count, 16) || count > kMaxOutputs) return s.Fail();
    std::vector<std::unique_ptr<OType_DeviceDataIO>> outputs;
    for (uint32_t i = 0; i < count; ++i) {
        auto o = opCreateFromStream(s, prototypes);
        if (!o) return 0;
        outputs.push_back(std::move(o));
    }
    std::vector<uint8_t> trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    m_trailer = std::move(trailer);
    // As for tools: the stored next id is kept, only a missing or repeated id gets a free one.
    m_nextId = std::max(1, nextId);
    for (auto& o : outputs) {
        if (o->iGetDataIOId() < 0 || bIsIdUsed(o->iGetDataIOId())) o->SetDataIOId(NextFreeId());
        m_outputs.push_back(std::move(o));
    }
    SetSelected(selected);
    return 1;
}
