#include "model/part/OType_Part.h"

#include <algorithm>

#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

int OType_Part::iCountColumns(std::span<const int16_t> runs) {
    return static_cast<int>(
        std::count_if(runs.begin(), runs.end(), [](int16_t v) { return v < 0; }));
}

const OType_Part::Runs& OType_Part::RunsOf(const SharedRuns& runs) {
    static const Runs kNone;
    return runs ? *runs : kNone;
}

OType_Part::SharedRuns OType_Part::Share(Runs runs) {
    if (runs.empty()) return nullptr;
    return std::make_shared<const Runs>(std::move(runs));
}

void OType_Part::SetConturData(std::vector<int16_t> runs) {
    m_columns = iCountColumns(runs);
    m_contour = Share(std::move(runs));
    m_features.SetModified(true);
    m_modified = true;
}

void OType_Part::RemoveConturData() {
    m_contour.reset();
    m_columns = 0;
}

const OType_Image* OType_Part::opGetImage(int i) const {
    return i >= 0 && i < iGetNumImages() ? m_images[static_cast<size_t>(i)].get() : nullptr;
}

std::shared_ptr<const OType_Image> OType_Part::GetImageShared(int i) const {
    return i >= 0 && i < iGetNumImages() ? m_images[static_cast<size_t>(i)] : nullptr;
}

void OType_Part::AddImage(OType_Image image) {
    m_images.push_back(std::make_shared<const OType_Image>(std::move(image)));
}

void OType_Part::AddImage(std::shared_ptr<const OType_Image> image) {
    if (image) m_images.push_back(std::move(image));
}

void OType_Part::SetImage(int i, OType_Image image) {
    if (i < 0) return;
    if (i >= iGetNumImages()) {
        AddImage(std::move(image));
        return;
    }
    m_images[static_cast<size_t>(i)] = std::make_shared<const OType_Image>(std::move(image));
}

bool OType_Part::operator==(const OType_Part& o) const {
    if (m_images.size() != o.m_images.size()) return false;
    for (size_t i = 0; i < m_images.size(); ++i) {
        if (*m_images[i] != *o.m_images[i]) return false;
    }
    return RunsOf(m_contour) == RunsOf(o.m_contour) && m_columns == o.m_columns &&
           RunsOf(m_backupContour) == RunsOf(o.m_backupContour) &&
           m_appliedFilter == o.m_appliedFilter && m_features == o.m_features &&
           m_orientation == o.m_orientation && m_type == o.m_type && m_teach == o.m_teach &&
           m_selected == o.m_selected && m_recordNo == o.m_recordNo && m_comment == o.m_comment &&
           m_results == o.m_results && m_tolerance == o.m_tolerance &&
           m_dataOutputResults == o.m_dataOutputResults && m_modified == o.m_modified &&
           m_state == o.m_state && m_flagWord == o.m_flagWord && m_inputs == o.m_inputs;
}

int OType_Part::iEncode(OByteStream& stream, uint32_t content) const {
    OObjectBlockWriter block(stream, ObjectId::kPart);
    content &= PartContent::kAll;
    stream.bWriteU32(content);
    stream.bWriteI32(m_orientation);
    stream.bWriteI32(m_type);
    stream.bWriteBool(m_teach);
    stream.bWriteBool(m_selected);
    stream.bWriteI32(m_recordNo);
    stream.bWriteString(m_comment);
    for (double r : m_results)
        stream.bWriteDouble(r);
    stream.bWriteI32(m_tolerance);
    stream.bWriteBool(m_modified);
    stream.bWriteI32(m_state);
    stream.bWriteI32(m_appliedFilter);
    if (content & PartContent::kContour) {
        stream.bWriteI32(m_columns);
        stream.bWriteI16Array(RunsOf(m_contour));
        stream.bWriteI16Array(RunsOf(m_backupContour));
    }
    if (content & PartContent::kImages) {
        stream.bWriteU32(static_cast<uint32_t>(m_images.size()));
        for (const auto& img : m_images)
            img->iEncode(stream);
    }
    if (content & PartContent::kFeatures) m_features.iEncode(stream);
    stream.bWriteU32(static_cast<uint32_t>(m_dataOutputResults.size()));
    for (const auto& r : m_dataOutputResults) {
        stream.bWriteI32(r.dataOutputId);
        stream.bWriteByteArray(r.result);
    }
    stream.bWriteU32(m_flagWord);
    stream.bWriteU32(m_inputs);
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

std::vector<uint8_t> OType_Part::Encode(uint32_t content) const {
    OByteStream_Memory out;
    out.Reserve(static_cast<size_t>(iGetObjectSize(content)));
    iEncode(out, content);
    return out.TakeBytes();
}

int OType_Part::iDecode(OByteStream& stream) {
    *this = OType_Part();
    OObjectBlockReader block(stream, ObjectId::kPart);
    OType_Part p;
    uint32_t content = 0;
    stream.bReadU32(content);
    stream.bReadI32(p.m_orientation);
    stream.bReadI32(p.m_type);
    stream.bReadBool(p.m_teach);
    stream.bReadBool(p.m_selected);
    stream.bReadI32(p.m_recordNo);
    stream.bReadString(p.m_comment);
    for (double& r : p.m_results)
        stream.bReadDouble(r);
    stream.bReadI32(p.m_tolerance);
    stream.bReadBool(p.m_modified);
    stream.bReadI32(p.m_state);
    stream.bReadI32(p.m_appliedFilter);
    if (!block.bIsOk() || (content & ~PartContent::kAll) != 0) return stream.Fail();
    if (content & PartContent::kContour) {
        stream.bReadI32(p.m_columns);
        Runs contour;
        Runs backup;
        stream.bReadI16Array(contour);
        stream.bReadI16Array(backup);
        if (!stream.bIsOk()) return 0;
        if (contour.size() > kMaxContourValues || backup.size() > kMaxContourValues ||
            p.m_columns < 0) {
            return stream.Fail();
        }
        p.m_contour = Share(std::move(contour));
        p.m_backupContour = Share(std::move(backup));
    }
    if (content & PartContent::kImages) {
        uint32_t count = 0;
        if (!stream.bReadCount(count, 8) || count > kMaxImages) return stream.Fail();
        for (uint32_t i = 0; i < count; ++i) {
            OType_Image img;
            if (!img.iDecode(stream)) return 0;
            p.AddImage(std::move(img));
        }
    }
    if ((content & PartContent::kFeatures) && !p.m_features.iDecode(stream)) return 0;
    uint32_t results = 0;
    if (!stream.bReadCount(results, 8)) return 0;
    p.m_dataOutputResults.resize(results);
    for (auto& r : p.m_dataOutputResults) {
        stream.bReadI32(r.dataOutputId);
        stream.bReadByteArray(r.result);
    }
    // The device words came later; an older part ends before them.
    if (block.bHas(8)) {
        stream.bReadU32(p.m_flagWord);
        stream.bReadU32(p.m_inputs);
    }
    if (!stream.bIsOk()) return 0;
    p.m_trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    *this = std::move(p);
    return 1;
}

int OType_Part::iDecode(std::span<const uint8_t> bytes) {
    auto stream = OByteStream_Memory::View(bytes);
    return iDecode(stream);
}

uint64_t OType_Part::iGetObjectSize(uint32_t content) const {
    uint64_t size = 136 + m_comment.size();
    if (content & PartContent::kContour)
        size += 2 * (RunsOf(m_contour).size() + RunsOf(m_backupContour).size()) + 12;
    if (content & PartContent::kImages) {
        for (const auto& img : m_images)
            size += img->iGetByteSize() + 40;
    }
    if (content & PartContent::kFeatures)
        size += static_cast<uint64_t>(m_features.iGetNumOfFeatures()) * 96;
    for (const auto& r : m_dataOutputResults)
        size += r.result.size() + 8;
    return size;
}
