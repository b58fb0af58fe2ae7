#include "ProjectSupport.h"

#include <cerrno>
#include <cstdlib>
#include <iostream>

#include "document/ODoc.h"
#include "model/strings/ResStr.h"
#include "platform/OSettings_Ini.h"
#include "platform/OSettings_Memory.h"
#include "platform/SettingsPaths.h"

namespace {

std::string LoadError(const std::string& errorText) {
    return OneLine(errorText.empty() ? ResStr(5103) : ResStr(5103) + " " + errorText);
}

}  // namespace

std::string OneLine(const std::string& text) {
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            line += text[i];
        } else if (!line.empty() && line.back() != ' ') {
            line += ' ';
        }
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

std::unique_ptr<Settings> OpenSettings(bool noSettings, std::ostream& err) {
    if (noSettings) return std::make_unique<OSettings_Memory>();
    auto ini = std::make_unique<OSettings_Ini>();
    if (!ini->bLoad(SettingsPaths::UserIniPath()))
        err << "kalvorctl: the settings are ignored: " << ini->LastError() << "\n";
    return ini;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& flag) {
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it == flag) {
            args.erase(it);
            return true;
        }
    }
    return false;
}

std::optional<std::string> TakeOption(std::vector<std::string>& args, const std::string& option) {
    for (auto it = args.begin(); it != args.end(); ++it) {
        if (*it != option) continue;
        if (it + 1 == args.end()) {
            args.erase(it);
            return std::string();
        }
        std::string value = *(it + 1);
        args.erase(it, it + 2);
        return value;
    }
    return std::nullopt;
}

std::optional<int> ParseInt(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || v < -2147483647L || v > 2147483647L) return std::nullopt;
    return static_cast<int>(v);
}

bool LoadProject(ODoc& doc, const std::string& path, const std::string& verb, std::ostream& err) {
    std::string errorText;
    const int result = doc.LoadProjectFile(path, errorText, 1);
    if (result == 1) return true;
    if (result == 2) {
        err << "kalvorctl " << verb << ": " << path
            << ": not a project file name (it must contain .zrp or .kvp)\n";
    } else {
        err << "kalvorctl " << verb << ": " << path << ": " << LoadError(errorText) << "\n";
    }
    return false;
}

bool SaveProject(ODoc& doc, const std::string& path, const std::string& verb, std::ostream& err) {
    std::string errorText;
    const int result = doc.WriteProjectFile(path, errorText);
    if (result == 1) return true;
    if (result == 2) {
        err << "kalvorctl " << verb << ": " << path << ": the file name must contain "
            << (doc.iGetFamily() == 2 ? ".kvp" : ".zrp") << " for this target system\n";
    } else {
        err << "kalvorctl " << verb << ": " << path << ": "
            << OneLine(ResStr(5121) + " " + errorText) << "\n";
    }
    return false;
}
