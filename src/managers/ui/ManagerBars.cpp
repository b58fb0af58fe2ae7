#include "managers/ui/ManagerBars.h"

#include <QByteArray>
#include <QMainWindow>
#include <string>

#include "platform/Settings.h"

namespace ManagerBars {

namespace {

constexpr const char* kValue = "Bars";

std::string Section(std::string_view profile) {
    return std::string(profile) + "-Summary";
}

}  // namespace

void Restore(QMainWindow& window, const Settings& settings, std::string_view profile) {
    const std::string state = settings.GetText(Section(profile), kValue, "");
    if (!state.empty())
        window.restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state)));
}

void Save(const QMainWindow& window, Settings& settings, std::string_view profile) {
    settings.SetText(Section(profile), kValue, window.saveState().toBase64().toStdString());
}

}  // namespace ManagerBars
