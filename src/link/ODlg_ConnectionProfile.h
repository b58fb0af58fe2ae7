// The login dialog: the user picks the profile to connect with (of the connection kind
// asked for), may edit or add profiles, and chooses whether to be asked again.
#pragma once

#include <vector>

#include "link/OConnectionProfile.h"
#include "platform/ODialogModel.h"

class ODlg_ConnectionProfile : public ODialogModel {
  public:
    ODlg_ConnectionProfile(std::vector<OConnectionProfile> profiles, OConnectionProfile::Kind kind,
                           int selected);

    std::string DialogName() const override { return "ODlg_ConnectionProfile"; }
    bool bValidate(std::string& message) override;

    OConnectionProfile::Kind GetKind() const { return m_kind; }
    std::vector<OConnectionProfile>& Profiles() { return m_profiles; }
    const std::vector<OConnectionProfile>& Profiles() const { return m_profiles; }
    // Indices into Profiles() of the profiles of the dialog's kind, as listed.
    std::vector<int> ListedProfiles() const;
    // Index into Profiles() of the chosen profile; -1 for none.
    int iGetSelected() const { return m_selected; }
    void SetSelected(int index) { m_selected = index; }
    // Appends a profile of the dialog's kind and selects it; returns its index.
    int iAddProfile(std::string name);
    bool bGetAskAgain() const { return m_askAgain; }
    void SetAskAgain(bool ask) { m_askAgain = ask; }

  private:
    std::vector<OConnectionProfile> m_profiles;
    OConnectionProfile::Kind m_kind;
    int m_selected;
    bool m_askAgain = true;
};
