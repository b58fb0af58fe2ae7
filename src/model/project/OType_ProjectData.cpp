#include "model/project/OType_ProjectData.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"

namespace {
constexpr std::array<std::string_view, kNumProjectFields> kKeys = {"ProjectName",
                                                                   "ProjectNo",
                                                                   "Engineer",
                                                                   "Date",
                                                                   "Category",
                                                                   "Description",
                                                                   "Notes",
                                                                   "AdditionalFile",
                                                                   "CustomerName",
                                                                   "CustomerContact",
                                                                   "CustomerReference",
                                                                   "CustomerPhone",
                                                                   "CustomerNumber",
                                                                   "CustomerAddress",
                                                                   "EndCustomerName",
                                                                   "EndCustomerContact",
                                                                   "EndCustomerReference",
                                                                   "EndCustomerPhone",
                                                                   "EndCustomerNumber",
                                                                   "EndCustomerAddress",
                                                                   "DeviceType",
                                                                   "SerialNumber",
                                                                   "FirmwareVersion",
                                                                   "Lighting",
                                                                   "NumberOfPixels",
                                                                   "FieldOfView",
                                                                   "LensType",
                                                                   "Aperture",
                                                                   "Focus",
                                                                   "DistanceRings",
                                                                   "DistanceToPart",
                                                                   "Identcode",
                                                                   "TransportSystem",
                                                                   "EjectionSystem",
                                                                   "CableLength",
                                                                   "TransportSpeed",
                                                                   "DeviceOptions"};

std::string Escape(std::string_view text, bool escapeBrackets) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (escapeBrackets && (c == '[' || c == ']')) {
            out += '\\';
            out += c;
            continue;
        }
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

bool Unescape(std::string_view text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
            case '\\':
                out += '\\';
                break;
            case 'r':
                out += '\r';
                break;
            case 'n':
                out += '\n';
                break;
            case '[':
            case ']':
                out += text[i];
                break;
            default:
                return false;
        }
    }
    return true;
}
}  // namespace

std::string_view OType_ProjectData::FieldKey(ProjectField field) {
    const auto i = static_cast<size_t>(field);
    return i < kKeys.size() ? kKeys[i] : std::string_view{};
}

void OType_ProjectData::RemoveAll() {
    for (auto& f : m_fields)
        f.clear();
    m_newerFields.clear();
    m_trailer.clear();
}

bool OType_ProjectData::bIsEmpty() const {
    return std::all_of(m_fields.begin(), m_fields.end(),
                       [](const std::string& f) { return f.empty(); });
}

int OType_ProjectData::iEncode(OByteStream& s) const {
    OObjectBlockWriter block(s, ObjectId::kProjectData);
    s.bWriteU32(static_cast<uint32_t>(m_fields.size() + m_newerFields.size()));
    for (const auto& f : m_fields)
        s.bWriteString(f);
    for (const auto& f : m_newerFields)
        s.bWriteString(f);
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

std::vector<uint8_t> OType_ProjectData::Encode() const {
    OByteStream_Memory s;
    iEncode(s);
    return s.TakeBytes();
}

int OType_ProjectData::iDecode(OByteStream& s) {
    RemoveAll();
    OObjectBlockReader block(s, ObjectId::kProjectData);
    uint32_t count = 0;
    if (!block.bIsOk() || !s.bReadCount(count, 4) || count > 4096) return s.Fail();
    std::array<std::string, kNumProjectFields> fields;
    std::vector<std::string> newerFields;
    for (uint32_t i = 0; i < count; ++i) {
        std::string text;
        if (!s.bReadString(text)) return 0;
        if (i < fields.size()) {
            fields[i] = std::move(text);
        } else {
            newerFields.push_back(std::move(text));
        }
    }
    auto trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    m_fields = std::move(fields);
    m_newerFields = std::move(newerFields);
    m_trailer = std::move(trailer);
    return 1;
}

int OType_ProjectData::iDecode(std::span<const uint8_t> bytes) {
    auto s = OByteStream_Memory::View(bytes);
    return iDecode(s);
}

std::string OType_ProjectData::ToText(bool escapeBrackets) const {
    std::string out;
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].empty()) continue;
        out += kKeys[i];
        out += '=';
        out += Escape(m_fields[i], escapeBrackets);
        out += '\n';
    }
    return out;
}

int OType_ProjectData::iFromText(std::string_view text) {
    std::array<std::string, kNumProjectFields> fields;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) return 0;
        const auto key = line.substr(0, eq);
        const auto it = std::find(kKeys.begin(), kKeys.end(), key);
        if (it == kKeys.end()) continue;
        if (!Unescape(line.substr(eq + 1), fields[static_cast<size_t>(it - kKeys.begin())]))
            return 0;
    }
    m_fields = std::move(fields);
    return 1;
}

int OType_ProjectData::iSaveProjectTextFile(const std::filesystem::path& path,
                                            std::string& errorText) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        errorText = std::strerror(errno);
        return 0;
    }
    const std::string text = ToText();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        errorText = std::strerror(errno);
        return 0;
    }
    return 1;
}

int OType_ProjectData::iLoadProjectTextFile(const std::filesystem::path& path,
                                            std::string& errorText) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        errorText = std::strerror(errno);
        return 0;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (!iFromText(buffer.str())) {
        errorText = "malformed project text";
        return 0;
    }
    return 1;
}
