#include "model/tools/OType_ConfigToolArray.h"

#include <algorithm>
#include <limits>

#include "model/part/OType_Feature.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

namespace {
// Reads the kind of the next encoded tool without consuming anything.
bool PeekToolKind(OByteStream& s, int32_t& kind) {
    if (!s.bIsOk() || s.iRemaining() < 12) return false;
    const uint64_t pos = s.iGetPos();
    uint32_t length = 0, id = 0;
    const bool ok =
        s.bReadU32(length) && s.bReadU32(id) && s.bReadI32(kind) && id == ObjectId::kConfigTool;
    s.bSeek(pos);
    return ok;
}

// The id after `id`; after the largest int the count starts again from 1.
int IdAfter(int id) {
    return id < std::numeric_limits<int>::max() ? id + 1 : 1;
}
}  // namespace

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_Opaque::CreateNew() const {
    return std::make_unique<OType_ConfigTool_Opaque>(m_kind);
}

std::string OType_ConfigTool_Opaque::GetKindName() const {
    return "Tool " + std::to_string(m_kind);
}

void OType_ConfigTool_Opaque::CopyTo(OType_ConfigTool& other) const {
    OType_ConfigTool::CopyTo(other);
    if (auto* o = dynamic_cast<OType_ConfigTool_Opaque*>(&other)) o->m_payload = m_payload;
}

int OType_ConfigTool_Opaque::iExtractObject_Test(OType_ZRPartSet&, const ZRINFO&, OType_Part&,
                                                 OType_FeatureArray& features, int, OPainter*, int,
                                                 const ORect&) {
    for (auto& f : features) {
        if (f.toolId == iGetToolId()) f.valid = false;
    }
    return 0;
}

void OType_ConfigTool_Opaque::EncodePayload(OByteStream& s) const {
    s.bWriteRaw(m_payload.data(), m_payload.size());
}

bool OType_ConfigTool_Opaque::bDecodePayload(OByteStream& s) {
    return s.bReadBytes(m_payload, s.iRemaining());
}

OType_ConfigToolArray& OType_ConfigToolArray::operator=(const OType_ConfigToolArray& other) {
    if (this != &other) CopyFrom(other);
    return *this;
}

void OType_ConfigToolArray::CopyFrom(const OType_ConfigToolArray& other) {
    m_tools.clear();
    for (const auto& t : other.m_tools)
        m_tools.push_back(t->Clone());
    m_nextId = other.m_nextId;
    m_trailer = other.m_trailer;
}

OType_ConfigTool* OType_ConfigToolArray::opGetAt(int i) const {
    return i >= 0 && i < iGetNum() ? m_tools[static_cast<size_t>(i)].get() : nullptr;
}

int OType_ConfigToolArray::iGetPos(const OType_ConfigTool* tool) const {
    for (int i = 0; i < iGetNum(); ++i) {
        if (m_tools[static_cast<size_t>(i)].get() == tool) return i;
    }
    return -1;
}

int OType_ConfigToolArray::iFindPosById(int toolId) const {
    if (toolId < 0) return -1;
    for (int i = 0; i < iGetNum(); ++i) {
        if (m_tools[static_cast<size_t>(i)]->iGetToolId() == toolId) return i;
    }
    return -1;
}

OType_ConfigTool* OType_ConfigToolArray::opFindById(int toolId) const {
    return opGetAt(iFindPosById(toolId));
}

int OType_ConfigToolArray::NextFreeId() {
    if (m_nextId < 1) m_nextId = 1;
    while (iFindPosById(m_nextId) >= 0)
        m_nextId = IdAfter(m_nextId);
    const int id = m_nextId;
    m_nextId = IdAfter(id);
    return id;
}

OType_ConfigTool* OType_ConfigToolArray::Insert(int i, std::unique_ptr<OType_ConfigTool> tool) {
    if (!tool) return nullptr;
    if (tool->iGetToolId() < 0 || iFindPosById(tool->iGetToolId()) >= 0)
        tool->SetToolId(NextFreeId());
    if (tool->iGetToolId() >= m_nextId) m_nextId = IdAfter(tool->iGetToolId());
    const int at = std::clamp(i, 0, iGetNum());
    m_tools.insert(m_tools.begin() + at, std::move(tool));
    return m_tools[static_cast<size_t>(at)].get();
}

void OType_ConfigToolArray::RemoveAt(int i) {
    DetachAt(i);
}

std::unique_ptr<OType_ConfigTool> OType_ConfigToolArray::DetachAt(int i) {
    if (i < 0 || i >= iGetNum()) return nullptr;
    auto tool = std::move(m_tools[static_cast<size_t>(i)]);
    m_tools.erase(m_tools.begin() + i);
    return tool;
}

void OType_ConfigToolArray::RemoveAll() {
    m_tools.clear();
}

void OType_ConfigToolArray::Swap(int a, int b) {
    if (a < 0 || b < 0 || a >= iGetNum() || b >= iGetNum()) return;
    std::swap(m_tools[static_cast<size_t>(a)], m_tools[static_cast<size_t>(b)]);
}

int OType_ConfigToolArray::iGetNumOfFeatures() const {
    int n = 0;
    for (const auto& t : m_tools)
        n += t->iGetNumOfFeatures();
    return n;
}

int OType_ConfigToolArray::GetFeatureIndex_First(int i, int fixedFeatures) const {
    if (i < 0 || i >= iGetNum()) return -1;
    int f = fixedFeatures;
    for (int k = 0; k < i; ++k)
        f += m_tools[static_cast<size_t>(k)]->iGetNumOfFeatures();
    return f;
}

int OType_ConfigToolArray::GetFeatureIndex_Last(int i, int fixedFeatures) const {
    const int first = GetFeatureIndex_First(i, fixedFeatures);
    return first < 0
               ? -1
               : first + std::max(1, m_tools[static_cast<size_t>(i)]->iGetNumOfFeatures()) - 1;
}

OType_ConfigTool* OType_ConfigToolArray::opGetCFToolAtFeature(int f, int fixedFeatures) const {
    if (f < 0 || f < fixedFeatures) return nullptr;
    int next = fixedFeatures;
    for (const auto& t : m_tools) {
        next += t->iGetNumOfFeatures();
        if (f < next) return t.get();
    }
    return nullptr;
}

int OType_ConfigToolArray::iEncode(OByteStream& s) const {
    OObjectBlockWriter block(s, ObjectId::kConfigToolArray);
    s.bWriteI32(m_nextId);
    s.bWriteU32(static_cast<uint32_t>(m_tools.size()));
    for (const auto& t : m_tools)
        t->iEncode(s);
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

int OType_ConfigToolArray::iEncodeAt(std::vector<uint8_t>& bytes, int i) const {
    const OType_ConfigTool* tool = opGetAt(i);
    if (!tool) return 0;
    OByteStream_Memory s;
    if (!tool->iEncode(s)) return 0;
    bytes = s.TakeBytes();
    return 1;
}

std::unique_ptr<OType_ConfigTool> OType_ConfigToolArray::opCreateCFToolFromStream(
    OByteStream& s, const OToolPrototypes& prototypes) {
    int32_t kind = 0;
    if (!PeekToolKind(s, kind)) {
        s.Fail();
        return nullptr;
    }
    std::unique_ptr<OType_ConfigTool> tool = prototypes.Create(kind);
    if (!tool) tool = std::make_unique<OType_ConfigTool_Opaque>(kind);
    if (!tool->iDecodeInto(s)) return nullptr;
    return tool;
}

int OType_ConfigToolArray::iDecode(OByteStream& s, const OToolPrototypes& prototypes) {
    RemoveAll();
    m_trailer.clear();
    OObjectBlockReader block(s, ObjectId::kConfigToolArray);
    int32_t nextId = 1;
    uint32_t count = 0;
    s.bReadI32(nextId);
    if (!block.bIsOk() || !s.bReadCount(count, 16) || count > kMaxTools) return s.Fail();
    std::vector<std::unique_ptr<OType_ConfigTool>> tools;
    for (uint32_t i = 0; i < count; ++i) {
        auto tool = opCreateCFToolFromStream(s, prototypes);
        if (!tool) return 0;
        tools.push_back(std::move(tool));
    }
    std::vector<uint8_t> trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    m_trailer = std::move(trailer);
    // The stored next id is kept as it is: raising it past the ids read would depend on their
    // order (ids wrap at the largest int), and a list read back would not encode alike. Only a
    // missing or repeated id gets a free one.
    m_nextId = std::max(1, nextId);
    for (auto& t : tools) {
        if (t->iGetToolId() < 0 || iFindPosById(t->iGetToolId()) >= 0) t->SetToolId(NextFreeId());
        m_tools.push_back(std::move(t));
    }
    return 1;
}
