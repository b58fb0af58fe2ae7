// "FTP - File transfer" (kind 7): stores the camera images (of every part, of bad parts
// only, or none) as BMP files on an FTP server, named by a pattern in which {record},
// {type} and {orientation} stand for the part's numbers, and appends one line per part to
// "results.csv" in the same folder when chosen. The result of a part is the list of FTP
// commands the device issues for it ("STOR <folder>/<name>.bmp", "APPE <folder>/results.csv"
// followed by the line). The password is kept on the device, never in the project. Needs a
// camera; one per device.
#pragma once

#include "tools/dataio/ODataOutputKind.h"

class OType_DeviceDataIO_FileTransfer : public ODataOutputKind {
  public:
    struct Settings {
        std::string server = "192.168.0.1";
        std::string user = "anonymous";
        std::string folder = "/";
        std::string pattern = "part_{record}";
        int images = 1;  // DataOutputImages
        bool results = true;
        bool operator==(const Settings&) const = default;
    };

    OType_DeviceDataIO_FileTransfer();
    std::unique_ptr<OType_DeviceDataIO> CreateNew() const override;
    std::vector<uint8_t> ResultForPart(const OType_ZRPartSet& partSet,
                                       const OType_Part& part) const override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;
    // The file name of a part's image (without folder and extension).
    std::string FileName(const OType_Part& part) const;

  protected:
    bool bCheckProperties(const OPropertyValues& merged, const OPropertyContext& context,
                          std::string& error) const override;
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void EncodeKind(OByteStream& stream) const override;
    bool bDecodeKind(OBlockFieldReader& reader) override;
    void CopyKindTo(ODataOutputKind& other) const override;

  private:
    Settings m_settings;
};
