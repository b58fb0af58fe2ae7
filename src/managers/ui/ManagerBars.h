// The layout of a manager window's bars, kept in the settings in the section
// "<profile>-Summary" under "Bars" so that the window opens as the user left it.
#pragma once

#include <string_view>

class QMainWindow;
class Settings;

namespace ManagerBars {

void Restore(QMainWindow& window, const Settings& settings, std::string_view profile);
void Save(const QMainWindow& window, Settings& settings, std::string_view profile);

}  // namespace ManagerBars
