#include "tools/dataio/OType_DeviceDataIO_FileTransfer.h"

#include "model/part/OType_Part.h"
#include "model/stream/OByteStream.h"
#include "tools/dataio/OType_DeviceDataIO_TelmarViewer.h"

namespace {

constexpr size_t kTextLength = 127;

void Replace(std::string& text, const std::string& key, const std::string& value) {
    for (size_t at = text.find(key); at != std::string::npos;
         at = text.find(key, at + value.size()))
        text.replace(at, key.size(), value);
}

// A name that cannot leave its folder: no separators, no "..", printable characters only.
bool bIsSafeName(const std::string& name) {
    if (name.empty() || name.find("..") != std::string::npos) return false;
    for (unsigned char c : name) {
        if (c < 0x20 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
            c == '<' || c == '>' || c == '|')
            return false;
    }
    return true;
}

std::string Folder(const std::string& folder) {
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

}  // namespace

OType_DeviceDataIO_FileTransfer::OType_DeviceDataIO_FileTransfer()
    : ODataOutputKind({DataOutputKind::kFileTransfer, "FTP - File transfer", "FTP", 1, 21, true,
                       true, -1, "", true}) {}

std::unique_ptr<OType_DeviceDataIO> OType_DeviceDataIO_FileTransfer::CreateNew() const {
    return std::make_unique<OType_DeviceDataIO_FileTransfer>();
}

std::string OType_DeviceDataIO_FileTransfer::FileName(const OType_Part& part) const {
    std::string name = m_settings.pattern;
    Replace(name, "{record}", std::to_string(part.iGetRecordNo()));
    Replace(name, "{type}", std::to_string(part.iGetType()));
    Replace(name, "{orientation}", std::to_string(part.iGetOrientation()));
    return name;
}

std::vector<uint8_t> OType_DeviceDataIO_FileTransfer::ResultForPart(const OType_ZRPartSet&,
                                                                    const OType_Part& part) const {
    const std::string folder = Folder(m_settings.folder);
    std::string commands;
    if (DataOutputImages::bSends(m_settings.images, part))
        commands += "STOR " + folder + FileName(part) + ".bmp\r\n";
    if (m_settings.results) {
        std::string line = std::to_string(part.iGetRecordNo()) + ";" +
                           std::to_string(part.iGetType()) + ";" +
                           std::to_string(part.iGetOrientation());
        for (const auto& [index, f] : SelectedFeatures(part))
            line += ";" + DataOutputText::Value(*f, iGetDecimals());
        commands += "APPE " + folder + "results.csv\r\n" + line + "\r\n";
    }
    return {commands.begin(), commands.end()};
}

OPropertyList OType_DeviceDataIO_FileTransfer::DescribeProperties(
    const OPropertyContext& context) const {
    using namespace PropertyList;
    OPropertyList list = ODataOutputKind::DescribeProperties(context);
    const std::string page = "Server";
    list.push_back(Text("ftp.server", "Server", page, m_settings.server, kTextLength));
    list.push_back(Text("ftp.user", "User", page, m_settings.user, kTextLength));
    list.push_back(Text("ftp.folder", "Folder", page, m_settings.folder, kTextLength));
    OProperty pattern = Text("ftp.pattern", "File name", page, m_settings.pattern, kTextLength);
    pattern.help = "{record}, {type} and {orientation} stand for the part's numbers.";
    list.push_back(std::move(pattern));
    list.push_back(
        Choice("images", "Send images", page, m_settings.images, DataOutputImages::Choices()));
    list.push_back(Flag("ftp.results", "Append results to results.csv", page, m_settings.results));
    return list;
}

bool OType_DeviceDataIO_FileTransfer::bCheckProperties(const OPropertyValues& merged,
                                                       const OPropertyContext& context,
                                                       std::string& error) const {
    if (!ODataOutputKind::bCheckProperties(merged, context, error)) return false;
    if (PropertyList::sGet(merged, "ftp.server", {}).empty()) {
        error = "Name the FTP server.";
        return false;
    }
    if (!bIsSafeName(PropertyList::sGet(merged, "ftp.pattern", {}))) {
        error = "The file name must not be empty nor contain \"..\", / \\ : * ? \" < > |.";
        return false;
    }
    return true;
}

void OType_DeviceDataIO_FileTransfer::ApplyProperties(const OPropertyValues& values,
                                                      const OPropertyContext& context) {
    using namespace PropertyList;
    ODataOutputKind::ApplyProperties(values, context);
    Settings& s = m_settings;
    s.server = sGet(values, "ftp.server", s.server);
    s.user = sGet(values, "ftp.user", s.user);
    s.folder = sGet(values, "ftp.folder", s.folder);
    s.pattern = sGet(values, "ftp.pattern", s.pattern);
    s.images = static_cast<int>(iGet(values, "images", s.images));
    s.results = bGet(values, "ftp.results", s.results);
}

void OType_DeviceDataIO_FileTransfer::EncodeKind(OByteStream& st) const {
    const Settings& s = m_settings;
    st.bWriteString(s.server);
    st.bWriteString(s.user);
    st.bWriteString(s.folder);
    st.bWriteString(s.pattern);
    st.bWriteI32(s.images);
    st.bWriteBool(s.results);
}

bool OType_DeviceDataIO_FileTransfer::bDecodeKind(OBlockFieldReader& r) {
    Settings s = m_settings;
    if (!r.String(s.server, kTextLength) || !r.String(s.user, kTextLength) ||
        !r.String(s.folder, kTextLength) || !r.String(s.pattern, kTextLength) ||
        !r.I32(s.images, DataOutputImages::kAll, DataOutputImages::kNone) || !r.Bool(s.results))
        return false;
    if (!bIsSafeName(s.pattern)) return r.Fail();
    m_settings = s;
    return true;
}

void OType_DeviceDataIO_FileTransfer::CopyKindTo(ODataOutputKind& other) const {
    if (auto* o = dynamic_cast<OType_DeviceDataIO_FileTransfer*>(&other))
        o->m_settings = m_settings;
}
