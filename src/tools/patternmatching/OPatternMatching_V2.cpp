#include "tools/patternmatching/OPatternMatching_V2.h"

#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"

namespace {

// Reads a block's header and its payload bytes; the stream is then at the block's end.
// False (and the stream failed) when no block of `id` can be framed there.
bool bTakeBlock(OByteStream& s, uint32_t id, std::vector<uint8_t>& payload) {
    uint32_t length = 0, foundId = 0;
    if (!s.bReadU32(length)) return false;
    if (length < 4 || length > s.iRemaining()) return s.Fail();
    if (!s.bReadU32(foundId)) return false;
    if (foundId != id) return s.Fail();
    return s.bReadBytes(payload, length - 4);
}

std::vector<uint8_t> Rest(OByteStream_Memory& s) {
    std::vector<uint8_t> rest;
    s.bReadBytes(rest, s.iRemaining());
    return rest;
}

}  // namespace

// ---------------------------------------------------------------- search parameters

int OPatternMatching_V2_SearchParameter::AddObjectDataTo(OByteStream& s) const {
    OObjectBlockWriter block(s, kObjectId);
    s.bWriteDouble(startAngle);
    s.bWriteDouble(angleExtent);
    s.bWriteDouble(minScore);
    s.bWriteI32(numMatches);
    s.bWriteDouble(maxOverlap);
    s.bWriteI32(option1);
    s.bWriteI32(option2);
    s.bWriteDouble(greediness);
    block.bWriteTrailer(extraBytes);
    return block.bClose() ? 1 : 0;
}

int OPatternMatching_V2_SearchParameter::GetObjectDataFrom(OByteStream& s, bool resetFirst) {
    if (resetFirst) Reset();
    std::vector<uint8_t> payload;
    if (!bTakeBlock(s, kObjectId, payload)) return 0;
    OPatternMatching_V2_SearchParameter read;
    auto p = OByteStream_Memory::View(payload);
    if (payload.size() >= kFieldBytes) {
        p.bReadDouble(read.startAngle);
        p.bReadDouble(read.angleExtent);
        p.bReadDouble(read.minScore);
        p.bReadI32(read.numMatches);
        p.bReadDouble(read.maxOverlap);
        p.bReadI32(read.option1);
        p.bReadI32(read.option2);
        p.bReadDouble(read.greediness);
    }
    read.extraBytes = Rest(p);
    *this = std::move(read);
    return 1;
}

// ---------------------------------------------------------------- template

uint64_t OPatternMatching_V2_Template::GetObjectSize() const {
    return 8 + kFixedBytes + 4 + name.size() + image.iGetObjectSize() + extraBytes.size();
}

int OPatternMatching_V2_Template::AddObjectDataTo(OByteStream& s) const {
    OObjectBlockWriter block(s, kObjectId);
    s.bWriteI32(kind);
    s.bWriteDouble(startAngle);
    s.bWriteDouble(angleExtent);
    s.bWriteDouble(scale);
    for (int32_t v : params)
        s.bWriteI32(v);
    s.bWriteDouble(resultScore);
    s.bWriteString(name);
    image.iEncode(s);
    block.bWriteTrailer(extraBytes);
    return block.bClose() ? 1 : 0;
}

int OPatternMatching_V2_Template::GetObjectDataFrom(OByteStream& s, bool resetFirst) {
    if (resetFirst) Reset();
    std::vector<uint8_t> payload;
    if (!bTakeBlock(s, kObjectId, payload)) return 0;
    OPatternMatching_V2_Template read;
    read.runtimeId = runtimeId;
    auto p = OByteStream_Memory::View(payload);
    // The payload's fields are taken only when it holds more than a bare header's worth.
    if (payload.size() > 11) {
        p.bReadI32(read.kind);
        p.bReadDouble(read.startAngle);
        p.bReadDouble(read.angleExtent);
        p.bReadDouble(read.scale);
        for (int32_t& v : read.params)
            p.bReadI32(v);
        p.bReadDouble(read.resultScore);
        p.bReadString(read.name);
        if (!p.bIsOk() || !read.image.iDecode(p)) return 0;
    }
    read.extraBytes = Rest(p);
    *this = std::move(read);
    return 1;
}

void OPatternMatching_V2_Template::CopyTo(OPatternMatching_V2_Template& other) const {
    const int32_t keepId = other.runtimeId;
    other = *this;
    other.runtimeId = keepId;
}

std::unique_ptr<OPatternMatching_V2_Template> OPatternMatching_V2_Template::CreateCopy() const {
    return std::make_unique<OPatternMatching_V2_Template>(*this);
}

bool OPatternMatching_V2_Template::operator==(const OPatternMatching_V2_Template& o) const {
    return kind == o.kind && startAngle == o.startAngle && angleExtent == o.angleExtent &&
           scale == o.scale && params == o.params && resultScore == o.resultScore &&
           name == o.name && image == o.image && extraBytes == o.extraBytes;
}

// ---------------------------------------------------------------- template array

OPatternMatching_V2_TemplateArray::OPatternMatching_V2_TemplateArray(
    const OPatternMatching_V2_TemplateArray& other) {
    *this = other;
}

OPatternMatching_V2_TemplateArray& OPatternMatching_V2_TemplateArray::operator=(
    const OPatternMatching_V2_TemplateArray& other) {
    if (this == &other) return *this;
    std::vector<std::unique_ptr<OPatternMatching_V2_Template>> copies;
    copies.reserve(other.m_templates.size());
    for (const auto& t : other.m_templates)
        copies.push_back(t->CreateCopy());
    m_templates = std::move(copies);
    m_extraBytes = other.m_extraBytes;
    return *this;
}

OPatternMatching_V2_Template* OPatternMatching_V2_TemplateArray::GetAt(int i) {
    return i >= 0 && i < iGetSize() ? m_templates[static_cast<size_t>(i)].get() : nullptr;
}

const OPatternMatching_V2_Template* OPatternMatching_V2_TemplateArray::GetAt(int i) const {
    return i >= 0 && i < iGetSize() ? m_templates[static_cast<size_t>(i)].get() : nullptr;
}

void OPatternMatching_V2_TemplateArray::RemoveAt(int i) {
    if (i >= 0 && i < iGetSize()) m_templates.erase(m_templates.begin() + i);
}

uint64_t OPatternMatching_V2_TemplateArray::GetObjectSize() const {
    uint64_t size = 12 + m_extraBytes.size();
    for (const auto& t : m_templates)
        size += t->GetObjectSize();
    return size;
}

int OPatternMatching_V2_TemplateArray::AddObjectDataTo(OByteStream& s) const {
    OObjectBlockWriter block(s, kObjectId);
    s.bWriteU32(static_cast<uint32_t>(m_templates.size()));
    for (const auto& t : m_templates)
        t->AddObjectDataTo(s);
    block.bWriteTrailer(m_extraBytes);
    return block.bClose() ? 1 : 0;
}

int OPatternMatching_V2_TemplateArray::GetObjectDataFrom(OByteStream& s, bool) {
    Reset();
    std::vector<uint8_t> payload;
    if (!bTakeBlock(s, kObjectId, payload)) return 0;
    if (payload.size() <= 7) return 1;
    auto p = OByteStream_Memory::View(payload);
    uint32_t count = 0;
    p.bReadU32(count);
    // Each template is a block of at least 8 bytes, so the loop ends with the payload.
    for (uint32_t i = 0; i < count; ++i) {
        auto t = std::make_unique<OPatternMatching_V2_Template>();
        if (!t->GetObjectDataFrom(p, true)) return 0;
        Add(std::move(t));
    }
    m_extraBytes = Rest(p);
    return 1;
}

bool OPatternMatching_V2_TemplateArray::operator==(
    const OPatternMatching_V2_TemplateArray& o) const {
    if (m_templates.size() != o.m_templates.size()) return false;
    for (size_t i = 0; i < m_templates.size(); ++i)
        if (!(*m_templates[i] == *o.m_templates[i])) return false;
    return m_extraBytes == o.m_extraBytes;
}
