// Part-list files of a part set: binary (every part with everything it holds) or text
// (contours only).
#include <chrono>
#include <string_view>

#include "model/partset/OContourCsv.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_File.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"
#include "platform/OProgressCtrl.h"

namespace {

constexpr uint32_t kFormatVersion = 1;
// Text lists are read whole; anything larger is not a part list this program wrote.
constexpr uint64_t kMaxTextListBytes = uint64_t{1} << 30;
constexpr std::string_view kNotAPartList = "the file is not a part list";

void SetError(std::string* errorText, std::string text) {
    if (errorText) *errorText = std::move(text);
}

class ProgressScope {
  public:
    ProgressScope(OProgressCtrl* progress, int64_t length) : m_progress(progress) {
        if (!m_progress) return;
        m_progress->Start();
        m_progress->Length(length);
    }
    ~ProgressScope() {
        if (m_progress) m_progress->End();
    }
    void Step() {
        if (!m_progress) return;
        m_progress->Increase(1);
        m_progress->bUpdateDisplayIfDue(std::chrono::steady_clock::now());
    }

  private:
    OProgressCtrl* m_progress;
};

// Writes the list as text lines into the stream.
bool WriteTextLines(const OType_PartArray& list, bool teach, OByteStream& out,
                    OProgressCtrl* progress) {
    ProgressScope scope(progress, list.iGetSize());
    std::string line;
    for (int i = 0; i < list.iGetSize(); ++i) {
        const OType_Part& part = *list.GetAt(i);
        OContourCsvRow row;
        row.teach = teach;
        row.type = part.iGetType();
        row.orientation = part.iGetOrientation();
        row.runs.assign(part.Contour().begin(), part.Contour().end());
        line = FormatContourCsvRow(row);
        line += '\n';
        if (!out.bWriteRaw(line.data(), line.size())) return false;
        scope.Step();
    }
    return out.bIsOk();
}

int WriteText(const OType_PartArray& list, bool teach, const std::filesystem::path& path,
              OProgressCtrl* progress, std::string* errorText) {
    OByteStream_File out;
    if (!out.bOpen(path, OByteStream_File::Mode::Write)) return -1;
    const bool written = WriteTextLines(list, teach, out, progress);
    if (!out.bClose() || !written) {
        SetError(errorText,
                 out.LastError().empty() ? "the part list could not be written" : out.LastError());
        return 0;
    }
    return 1;
}

int WriteBinary(const OType_PartArray& list, const std::filesystem::path& path, int mode,
                OProgressCtrl* progress, std::string* errorText) {
    OByteStream_File out;
    if (!out.bOpen(path, OByteStream_File::Mode::Write)) return -1;
    ProgressScope scope(progress, list.iGetSize());
    {
        OObjectBlockWriter block(out, ObjectId::kPartListFile);
        out.bWriteU32(kFormatVersion);
        out.bWriteI32(mode);
        out.bWriteU32(static_cast<uint32_t>(list.iGetSize()));
        for (int i = 0; i < list.iGetSize(); ++i) {
            list.GetAt(i)->iEncode(out, PartContent::kAll);
            scope.Step();
        }
        block.bClose();
    }
    if (!out.bClose()) {
        SetError(errorText, out.LastError());
        return 0;
    }
    return 1;
}

bool ReadBinary(OByteStream& in, std::vector<std::unique_ptr<OType_Part>>& parts) {
    OObjectBlockReader block(in, ObjectId::kPartListFile);
    uint32_t version = 0, count = 0;
    int32_t mode = 0;
    in.bReadU32(version);
    in.bReadI32(mode);
    if (!block.bIsOk() || version == 0 || !in.bReadCount(count, 8) ||
        count > OType_PartArray::kMaxParts) {
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        auto part = std::make_unique<OType_Part>();
        if (!part->iDecode(in)) return false;
        parts.push_back(std::move(part));
    }
    return block.bClose();
}

// Parts from text lines; false with the line and column of the first fault.
bool PartsFromText(std::string_view text, std::vector<std::unique_ptr<OType_Part>>& parts,
                   std::string* errorText) {
    std::vector<OContourCsvRow> rows;
    std::string error;
    if (!bParseContourCsv(text, rows, error)) {
        // A binary file read as text fails at once; say what it is not.
        const bool binary = text.find('\0') != std::string_view::npos;
        SetError(errorText, binary ? std::string(kNotAPartList) : error);
        return false;
    }
    if (rows.size() > OType_PartArray::kMaxParts) {
        SetError(errorText, "the part list holds more parts than a list can take");
        return false;
    }
    for (auto& row : rows) {
        auto part = std::make_unique<OType_Part>();
        part->SetType(row.type);
        part->SetOrientation(row.orientation);
        part->SetConturData(std::move(row.runs));
        parts.push_back(std::move(part));
    }
    return true;
}

bool ReadText(OByteStream_File& in, std::vector<std::unique_ptr<OType_Part>>& parts,
              std::string* errorText) {
    if (in.iGetSize() > kMaxTextListBytes) {
        SetError(errorText, "the file is too large for a part list as text");
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!in.bSeek(0) || !in.bReadBytes(bytes, in.iGetSize())) {
        SetError(errorText, in.LastError().empty() ? "the file could not be read" : in.LastError());
        return false;
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return PartsFromText(text, parts, errorText);
}

// Appends parts to a list, each numbered by the list size after adding it.
void AppendParts(OType_PartArray& list, std::vector<std::unique_ptr<OType_Part>>& parts,
                 bool teach) {
    for (auto& part : parts) {
        part->SetTeachPart(teach);
        part->Features().SetModified(true);
        OType_Part* added = list.Add(std::move(part));
        added->SetRecordNo(list.iGetSize());
    }
}

}  // namespace

int OType_ZRPartSet::iParts2File(bool teach, const std::filesystem::path& path, int mode,
                                 OProgressCtrl* progress, std::string* errorText) const {
    const OType_PartArray& list = teach ? m_teach : m_test;
    if (mode == 0) return WriteText(list, teach, path, progress, errorText);
    return WriteBinary(list, path, mode, progress, errorText);
}

int OType_ZRPartSet::iParts2Text(bool teach, OByteStream& out, OProgressCtrl* progress) const {
    return WriteTextLines(teach ? m_teach : m_test, teach, out, progress) ? 1 : 0;
}

int OType_ZRPartSet::iContur2Parts(std::string_view text, bool teach, std::string* errorText) {
    std::vector<std::unique_ptr<OType_Part>> parts;
    if (!PartsFromText(text, parts, errorText)) return 0;
    AppendParts(teach ? m_teach : m_test, parts, teach);
    return 1;
}

int OType_ZRPartSet::iLoadParts(const std::filesystem::path& path, bool teach,
                                std::string* errorText) {
    OByteStream_File in;
    if (!in.bOpen(path, OByteStream_File::Mode::Read)) {
        SetError(errorText, in.LastError());
        return 0;
    }
    std::vector<std::unique_ptr<OType_Part>> parts;
    uint32_t length = 0, id = 0;
    // A file too short for a block header is read as text (the probe would fail the stream).
    const bool binary = in.iGetSize() >= 8 && in.bReadU32(length) && in.bReadU32(id) &&
                        id == ObjectId::kPartListFile;
    if (binary) {
        in.bSeek(0);
        if (!ReadBinary(in, parts)) {
            SetError(errorText, "the part list is damaged or incomplete");
            return 0;
        }
    } else {
        if (!ReadText(in, parts, errorText)) return 0;
    }
    AppendParts(teach ? m_teach : m_test, parts, teach);
    return 1;
}
