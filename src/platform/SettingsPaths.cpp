#include "platform/SettingsPaths.h"

#include <pwd.h>
#include <unistd.h>
#include <cstdlib>
#include <string>

namespace {

std::filesystem::path AbsoluteEnvironmentPath(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return {};
    std::filesystem::path path(value);
    return path.is_absolute() ? path : std::filesystem::path();
}

std::filesystem::path HomeFolder() {
    if (auto home = AbsoluteEnvironmentPath("HOME"); !home.empty()) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && *entry->pw_dir) {
        return entry->pw_dir;
    }
    return {};
}

std::filesystem::path StoreFile(const std::filesystem::path& folder, std::string_view store) {
    if (folder.empty()) return {};
    return folder / std::string(SettingsPaths::kOrganisation) / (std::string(store) + ".ini");
}

}  // namespace

namespace SettingsPaths {

std::filesystem::path UserConfigFolder() {
    if (auto config = AbsoluteEnvironmentPath("XDG_CONFIG_HOME"); !config.empty()) return config;
    const auto home = HomeFolder();
    return home.empty() ? std::filesystem::path() : home / ".config";
}

std::filesystem::path MachineConfigFolder() {
    if (const char* dirs = std::getenv("XDG_CONFIG_DIRS"); dirs && *dirs) {
        const std::string_view list(dirs);
        const std::filesystem::path first(std::string(list.substr(0, list.find(':'))));
        if (first.is_absolute()) return first;
    }
    return "/etc/xdg";
}

std::filesystem::path UserIniPath(std::string_view store) {
    return StoreFile(UserConfigFolder(), store);
}

std::filesystem::path MachineIniPath(std::string_view store) {
    return StoreFile(MachineConfigFolder(), store);
}

}  // namespace SettingsPaths
