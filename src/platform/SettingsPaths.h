// Where the headless tools keep their INI settings stores. The desktop program uses QSettings
// with the same organisation and application names, so both find the same files.
//
//   user store:          $XDG_CONFIG_HOME/Brevik/<store>.ini, else ~/.config/Brevik/<store>.ini
//   machine-wide store:  <first entry of $XDG_CONFIG_DIRS>/Brevik/<store>.ini, else
//                        /etc/xdg/Brevik/<store>.ini
// The program's own store is named after the application title ("Kalvor 4.0 en"); the store
// shared with companion programs, which holds the published window handles, is "Telmar".
// Only absolute environment paths are used; relative ones are ignored, as XDG asks.
#pragma once

#include <filesystem>
#include <string_view>

#include "kalvor/Version.h"

namespace SettingsPaths {

inline constexpr std::string_view kOrganisation = "Brevik";
inline constexpr std::string_view kApplicationTitle = kalvor::version::kApplicationTitle;
inline constexpr std::string_view kCompanionStore = "Telmar";

// Empty when neither $XDG_CONFIG_HOME nor a home folder can be found.
std::filesystem::path UserConfigFolder();
std::filesystem::path MachineConfigFolder();

std::filesystem::path UserIniPath(std::string_view store = kApplicationTitle);
std::filesystem::path MachineIniPath(std::string_view store = kCompanionStore);

}  // namespace SettingsPaths
