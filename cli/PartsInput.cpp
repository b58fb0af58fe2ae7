#include "PartsInput.h"

#include <sstream>

#include "device/DeviceInfoBuilder.h"
#include "device/TargetSystem.h"
#include "document/OHeadlessDocument.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Console.h"

namespace fs = std::filesystem;

namespace {
std::string LowerExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}
}  // namespace

bool bIsProjectFile(const fs::path& path) {
    const std::string ext = LowerExtension(path);
    return ext == ".zrp" || ext == ".kvp";
}

bool bIsPartListFile(const fs::path& path) {
    const std::string ext = LowerExtension(path);
    return ext == ".zrl" || ext == ".kvl" || ext == ".txt";
}

ZRINFO ClassicDevice(int software) {
    ODeviceInfoRequest request;
    request.target = TargetSystem::kNewProjectDefaults;
    request.target.software = software;
    request.tools = 20;
    return DeviceInfo::MakeWithoutDevice(request);
}

bool bLoadPartsInput(const fs::path& path, bool teach, int software, OType_ZRPartSet& partSet,
                     OPartsInput& input, std::string& error, bool anyFamily) {
    if (!bIsProjectFile(path)) {
        input.deviceInfo = ClassicDevice(software);
        input.fromProject = false;
        if (partSet.iLoadParts(path, teach, &error)) return true;
        if (error.empty()) error = "the part list could not be read";
        return false;
    }
    OSettings_Memory settings;
    std::ostringstream messages;
    OUserInteraction_Console quiet(messages);
    OHeadlessDocument document(settings, &quiet);
    std::string loadError;
    if (document.Doc().LoadProjectFile(path.string(), loadError, 1) != 1) {
        error = loadError.empty() ? ResStr(5103) : ResStr(5103) + " " + loadError;
        return false;
    }
    const OType_ZRPartSet* actual = document.Session().opGetActualPartSet();
    if (!actual) {
        error = "the project holds no check program";
        return false;
    }
    if (!anyFamily && document.Session().iGetFamily() != 1) {
        error = "the project is made for a camera device; its parts have no contour images";
        return false;
    }
    partSet.CopyContentFrom(*actual);
    input.deviceInfo = document.Session().DeviceInfo();
    input.properties = document.Session().ProjectProperties();
    input.fromProject = true;
    return true;
}
