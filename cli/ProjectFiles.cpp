#include "ProjectFiles.h"

#include <ostream>

#include "document/ODoc.h"
#include "model/strings/ResStr.h"
#include "platform/OSettings_Ini.h"
#include "platform/OSettings_Memory.h"
#include "platform/SettingsPaths.h"

std::unique_ptr<Settings> OpenCliSettings(bool noSettings, std::ostream& err) {
    if (noSettings) return std::make_unique<OSettings_Memory>();
    auto ini = std::make_unique<OSettings_Ini>();
    if (!ini->bLoad(SettingsPaths::UserIniPath()))
        err << "kalvorctl: the settings are ignored: " << ini->LastError() << "\n";
    return ini;
}

bool TakeCliFlag(std::vector<std::string>& args, const std::string& flag) {
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it == flag) {
            args.erase(it);
            return true;
        }
    }
    return false;
}

bool bLoadCliProject(ODoc& doc, const std::string& path, const std::string& verb,
                     std::ostream& err) {
    std::string errorText;
    const int result = doc.LoadProjectFile(path, errorText, 1);
    if (result == 1) return true;
    if (result == 2) {
        err << "kalvorctl " << verb << ": " << path
            << ": not a project file name (it must contain .zrp or .kvp)\n";
    } else {
        err << "kalvorctl " << verb << ": " << path << ": " << ResStr(5103)
            << (errorText.empty() ? "" : " " + errorText) << "\n";
    }
    return false;
}

bool bSaveCliProject(ODoc& doc, const std::string& path, const std::string& verb,
                     std::ostream& err) {
    std::string errorText;
    const int result = doc.WriteProjectFile(path, errorText);
    if (result == 1) return true;
    if (result == 2) {
        err << "kalvorctl " << verb << ": " << path << ": the file name must contain "
            << (doc.iGetFamily() == 2 ? ".kvp" : ".zrp") << " for this target system\n";
    } else {
        err << "kalvorctl " << verb << ": " << path << ": " << ResStr(5121) << " " << errorText
            << "\n";
    }
    return false;
}
