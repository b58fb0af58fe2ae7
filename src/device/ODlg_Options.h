// The "Options" dialog (resource 209) over a copy of the program options: the connection
// choices of the device family, the companion viewer's path, the part buffer with what
// happens at its limit, and the display switches. OK writes the values to the settings
// (all but "DISPLAYRECEIVEDPART", which the caller writes once it has taken them over).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "device/OType_Options.h"
#include "platform/ODialogModel.h"

class Settings;
class UserInteraction;

class ODlg_Options : public ODialogModel {
  public:
    static constexpr int kTemplate = 209;
    static constexpr int kMinPartBuffer = 1;
    static constexpr int kMaxPartBuffer = 25000;

    // family: the project's device family, which decides the connection choices.
    ODlg_Options(Settings& settings, UserInteraction& ui, const OOptionValues& values, int family);

    std::string DialogName() const override { return "ODlg_Options"; }

    OOptionValues values;

    // The connection choices as (kind, text): family 2 Ethernet only, family 1 the two
    // serial kinds.
    std::vector<std::pair<int, std::string>> ConnectionChoices() const;
    // The entry of the current kind; the first when none matches.
    int iConnectionIndex() const;
    void ChooseConnection(int index);
    // "Set connection automatically" belongs to kind 0 only.
    bool bAutoSpeedShown() const { return values.connectionKind == 0; }

    // What the "..." file dialog starts from: the current path, or the default one when the
    // field holds fewer than 2 characters, cleaned for the dialog.
    std::string ViewerPathProposal() const;
    // "...": a program file chosen in the file dialog is stored at once, whatever the
    // dialog ends with. False when the user cancelled.
    bool bBrowseViewerPath();

    bool bValidate(std::string& message) override;
    void OnOk() override;

  private:
    Settings& m_settings;
    UserInteraction& m_ui;
    int m_family;
};
