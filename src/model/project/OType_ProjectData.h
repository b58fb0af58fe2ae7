// The project documentation record: project, customer, device and transport-system
// information kept with the project.
#pragma once

#include <array>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class OByteStream;

enum class ProjectField : int {
    // Project page
    ProjectName,
    ProjectNo,
    Engineer,
    Date,
    Category,
    Description,
    Notes,
    AdditionalFile,
    // Customer page: customer, then end customer
    CustomerName,
    CustomerContact,
    CustomerReference,
    CustomerPhone,
    CustomerNumber,
    CustomerAddress,
    EndCustomerName,
    EndCustomerContact,
    EndCustomerReference,
    EndCustomerPhone,
    EndCustomerNumber,
    EndCustomerAddress,
    // Device page
    DeviceType,
    SerialNumber,
    FirmwareVersion,
    Lighting,
    NumberOfPixels,
    FieldOfView,
    LensType,
    Aperture,
    Focus,
    DistanceRings,
    DistanceToPart,
    Identcode,
    // Transport system page
    TransportSystem,
    EjectionSystem,
    CableLength,
    TransportSpeed,
    DeviceOptions,
    Count
};
inline constexpr int kNumProjectFields = static_cast<int>(ProjectField::Count);

class OType_ProjectData {
  public:
    // Stable key of a field in text files ("ProjectName" ...).
    static std::string_view FieldKey(ProjectField field);

    const std::string& Get(ProjectField field) const { return m_fields[Index(field)]; }
    void Set(ProjectField field, std::string text) { m_fields[Index(field)] = std::move(text); }
    void RemoveAll();
    bool bIsEmpty() const;

    int iEncode(OByteStream& stream) const;
    std::vector<uint8_t> Encode() const;
    // Returns 0 on malformed input and leaves the record empty.
    int iDecode(OByteStream& stream);
    int iDecode(std::span<const uint8_t> bytes);

    // The documentation as text: one "Key=Value" line per non-empty field, with "\\",
    // "\r" and "\n" written as "\\\\", "\\r" and "\\n". UTF-8. escapeBrackets also writes
    // "[" and "]" as "\\[" and "\\]", so that the text never holds a bracketed marker (the
    // legacy project format embeds it between such markers).
    std::string ToText(bool escapeBrackets = false) const;
    // Reads such text; unknown keys are ignored. Returns 0 when a line is malformed.
    int iFromText(std::string_view text);
    int iSaveProjectTextFile(const std::filesystem::path& path, std::string& errorText) const;
    int iLoadProjectTextFile(const std::filesystem::path& path, std::string& errorText);

    bool operator==(const OType_ProjectData& o) const { return m_fields == o.m_fields; }

  private:
    static size_t Index(ProjectField f) { return static_cast<size_t>(f); }
    std::array<std::string, kNumProjectFields> m_fields;
    std::vector<std::string> m_newerFields;  // fields of a newer record, written back unchanged
    std::vector<uint8_t> m_trailer;
};
