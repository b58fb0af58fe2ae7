#include "documentation/ODocumentationEditor.h"

#include <ctime>
#include <filesystem>

#include "document/files/ProjectPaths.h"
#include "model/strings/CodePage.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kNotConvertible = 20407;

using F = ProjectField;

}  // namespace

ODocumentationEditor::ODocumentationEditor(OType_ProjectData& data, UserInteraction& ui,
                                           std::function<void()> modified)
    : m_data(data), m_ui(ui), m_modified(std::move(modified)) {}

const std::vector<ODocumentationField>& ODocumentationEditor::Fields() {
    static const std::vector<ODocumentationField> kFields = {
        {F::ProjectName, 1502, 0, false, true},
        {F::ProjectNo, 1503, 0, false, true},
        {F::Engineer, 1504, 0, false, true},
        {F::Date, 1505, 0, false, false},
        {F::Category, 1506, 0, false, false},
        {F::Description, 1507, 0, true, true},
        {F::Notes, 1508, 0, true, false},
        {F::AdditionalFile, 1509, 0, false, false},
        {F::CustomerName, 1512, 1, false, false},
        {F::CustomerContact, 1513, 1, false, false},
        {F::CustomerReference, 1514, 1, false, false},
        {F::CustomerPhone, 1515, 1, false, false},
        {F::CustomerNumber, 1516, 1, false, false},
        {F::CustomerAddress, 1517, 1, true, false},
        {F::EndCustomerName, 1519, 1, false, false},
        {F::EndCustomerContact, 1520, 1, false, false},
        {F::EndCustomerReference, 1521, 1, false, false},
        {F::EndCustomerPhone, 1522, 1, false, false},
        {F::EndCustomerNumber, 1523, 1, false, false},
        {F::EndCustomerAddress, 1524, 1, true, false},
        {F::DeviceType, 1526, 2, false, false},
        {F::SerialNumber, 1527, 2, false, false},
        {F::FirmwareVersion, 1528, 2, false, false},
        {F::Lighting, 1529, 2, false, false},
        {F::NumberOfPixels, 1530, 2, false, false},
        {F::FieldOfView, 1531, 2, false, false},
        {F::LensType, 1532, 2, false, false},
        {F::Aperture, 1533, 2, false, false},
        {F::Focus, 1534, 2, false, false},
        {F::DistanceRings, 1535, 2, false, false},
        {F::DistanceToPart, 1536, 2, false, false},
        {F::Identcode, 1538, 2, false, false},
        {F::TransportSystem, 1541, 3, false, false},
        {F::EjectionSystem, 1542, 3, false, false},
        {F::CableLength, 1543, 3, false, false},
        {F::TransportSpeed, 1544, 3, false, false},
        {F::DeviceOptions, 1545, 3, false, false},
    };
    return kFields;
}

std::string ODocumentationEditor::PageTitle(int page) {
    static constexpr int kTitles[kPages] = {1501, 1510, 1525, 1540};
    return page >= 0 && page < kPages ? ResStr(kTitles[page]) : std::string();
}

int ODocumentationEditor::iWriteDelayMs(std::string_view text) {
    return text.empty() || text.back() == '.' ? kLongDelayMs : kShortDelayMs;
}

std::string ODocumentationEditor::DateText(std::chrono::system_clock::time_point when) {
    const std::time_t t = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&t, &local);
    char text[64];
    const std::string format = ResStr(3217);
    if (std::strftime(text, sizeof text, format.c_str(), &local) == 0) return {};
    return text;
}

bool ODocumentationEditor::bMissesImportantInfo(const OType_ProjectData& data) {
    return data.Get(F::ProjectNo).empty() || data.Get(F::Engineer).empty();
}

bool ODocumentationEditor::bWrite(ProjectField field, const std::string& text) {
    if (m_data.Get(field) == text) return true;
    if (!bIsConvertibleToAnsi(text)) {
        m_ui.Message(ResStr(kNotConvertible), MsgIcon::Warning);
        return false;
    }
    m_data.Set(field, text);
    if (m_modified) m_modified();
    return true;
}

void ODocumentationEditor::EnterToday(std::chrono::system_clock::time_point now) {
    bWrite(F::Date, DateText(now));
}

bool ODocumentationEditor::bBrowseAdditionalFile(const std::string& projectFolder) {
    const std::string& current = m_data.Get(F::AdditionalFile);
    const std::string folder =
        current.empty() ? projectFolder : std::filesystem::path(current).parent_path().string();
    FileDialogRequest request;
    request.filter = ResStr(5309);
    request.initialPath = ProjectPaths::CleanDialogPath(ProjectPaths::Join(folder, "*.*"));
    const FileDialogResult chosen = m_ui.FileOpen(request);
    if (!chosen.bAccepted || chosen.paths.empty()) return false;
    return bWrite(F::AdditionalFile, chosen.paths.front());
}

bool ODocumentationEditor::bPasteRecord(const std::vector<uint8_t>& bytes) {
    OType_ProjectData pasted;
    if (!pasted.iDecode(bytes)) return false;
    m_data = pasted;
    if (m_modified) m_modified();
    return true;
}
