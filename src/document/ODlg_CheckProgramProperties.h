// The model of the "Check program properties" dialog (template 168): the check program's
// name and, for family-2 projects that transform features automatically, the Z coordinate
// of that transformation with its unit.
#pragma once

#include <string>

#include "platform/ODialogModel.h"

class OType_ZRPartSet;

class ODlg_CheckProgramProperties : public ODialogModel {
  public:
    static constexpr int kTemplate = 168;

    // zShown: whether the Z field, its label and its unit are shown.
    ODlg_CheckProgramProperties(OType_ZRPartSet& partSet, bool zShown);

    std::string DialogName() const override { return "ODlg_CheckProgramProperties"; }
    // The name must convert to the 8-bit code page; Z must be a number.
    bool bValidate(std::string& message) override;
    // Stores a changed name and a changed Z in the check program.
    void OnOk() override;

    bool bZShown() const { return m_zShown; }
    // "[mm]", or the coordinate transformer's unit in square brackets.
    const std::string& UnitLabel() const { return m_unitLabel; }
    bool bNameChanged() const { return m_nameChanged; }
    bool bZChanged() const { return m_zChanged; }
    double dGetZ() const { return m_z; }

    // --- the fields ---
    std::string name;
    std::string zText;  // as the user typed it

  private:
    OType_ZRPartSet& m_partSet;
    bool m_zShown;
    std::string m_unitLabel;
    std::string m_initialZText;
    double m_z = 0.0;
    bool m_nameChanged = false;
    bool m_zChanged = false;
};
