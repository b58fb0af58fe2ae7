// The welcome dialog "Welcome to Kalvor": the user picks the working task — create a new
// project, open a project file, or open a recently used one. The radio index starts from
// "Settings"\"START_TYPE" − 1 and is written back as index + 1 when the dialog closes.
#pragma once

#include <string>
#include <vector>

#include "platform/ODialogModel.h"

class Settings;

class ODlg_SelectTask : public ODialogModel {
  public:
    static constexpr const char* kTitle = "Welcome to Kalvor";
    static constexpr const char* kPrompt = "Please select your working task...";
    static constexpr const char* kChoices[3] = {"Create new project", "Open existing project file",
                                                "Open recently used project file"};
    static constexpr const char* kNextText = "Next >";
    static constexpr const char* kExitText = "Exit";
    static constexpr int kNoChoice = -1;
    static constexpr int kRecentChoice = 2;

    ODlg_SelectTask(Settings& settings, std::vector<std::string> recentFiles);

    std::string DialogName() const override { return "ODlg_SelectTask"; }
    void OnOk() override;
    void OnCancel() override;

    // -1 (no choice), 0, 1 or 2.
    int iGetIndex() const { return m_index; }
    void SetIndex(int index);

    const std::vector<std::string>& RecentFiles() const { return m_recent; }
    // The entries' titles (names without folders), as the drop-down list shows them.
    std::vector<std::string> RecentTitles() const;
    int iGetRecentSelection() const { return m_recentSelection; }
    void SelectRecent(int index);
    // Confirming an entry of the list (or double-clicking the third choice): the entry is
    // the start file and the third choice is taken; the dialog closes at once with OK.
    void ConfirmRecent(int index);

    // The file to open for the third choice (the selected entry's path).
    std::string StartFile() const;
    bool bExitChosen() const { return m_exit; }

    // Drop-down width: the widest title plus twice the edge plus the scroll bar.
    static int DropDownWidth(const std::vector<int>& titleWidths, int edgeWidth,
                             int scrollBarWidth);

  private:
    void StoreChoice();

    Settings& m_settings;
    std::vector<std::string> m_recent;
    int m_index = kNoChoice;
    int m_recentSelection = -1;
    bool m_exit = false;
};
