#include "app/ODlg_SelectTask.h"

#include <algorithm>

#include "document/files/ProjectPaths.h"
#include "platform/Settings.h"

namespace {
constexpr const char* kSection = "Settings";
constexpr const char* kStartType = "START_TYPE";
}  // namespace

ODlg_SelectTask::ODlg_SelectTask(Settings& settings, std::vector<std::string> recentFiles)
    : m_settings(settings), m_recent(std::move(recentFiles)) {
    SetIndex(settings.iGetInt(kSection, kStartType, 3) - 1);
    m_recentSelection = m_recent.empty() ? -1 : 0;
}

void ODlg_SelectTask::SetIndex(int index) {
    m_index = index >= 0 && index <= kRecentChoice ? index : kNoChoice;
}

std::vector<std::string> ODlg_SelectTask::RecentTitles() const {
    std::vector<std::string> titles;
    for (const std::string& path : m_recent)
        titles.push_back(ProjectPaths::FileTitleOf(path));
    return titles;
}

void ODlg_SelectTask::SelectRecent(int index) {
    if (index >= 0 && index < static_cast<int>(m_recent.size())) m_recentSelection = index;
}

void ODlg_SelectTask::ConfirmRecent(int index) {
    SelectRecent(index);
    m_index = kRecentChoice;
}

std::string ODlg_SelectTask::StartFile() const {
    if (m_recentSelection < 0) return {};
    return m_recent[static_cast<size_t>(m_recentSelection)];
}

void ODlg_SelectTask::StoreChoice() {
    m_settings.SetInt(kSection, kStartType, m_index + 1);
}

void ODlg_SelectTask::OnOk() {
    m_exit = false;
    StoreChoice();
}

void ODlg_SelectTask::OnCancel() {
    m_exit = true;
    StoreChoice();
}

int ODlg_SelectTask::DropDownWidth(const std::vector<int>& titleWidths, int edgeWidth,
                                   int scrollBarWidth) {
    const int widest =
        titleWidths.empty() ? 0 : *std::max_element(titleWidths.begin(), titleWidths.end());
    return widest + 2 * edgeWidth + scrollBarWidth;
}
