// The check program manager of the target with stored configurations (hardware 1024,
// template 334): the device keeps check programs by name, and a third list maps the
// device's program numbers to them. Programs are copied by name ("$DCPRG_F" / "$UCPRG_F"),
// deleted by name, and assigned to or removed from program numbers.
#pragma once

#include "device/ODlg_TransferData.h"

class ODlg_TransferDataNew : public ODlg_TransferData {
  public:
    explicit ODlg_TransferDataNew(ODoc& doc);

    std::string DialogName() const override { return "ODlg_TransferDataNew"; }

    std::vector<std::string> NumberColumns() const { return {"Program number", "Check program"}; }
    // "   %d   " with the program name assigned to the number.
    std::vector<OTransferRow> NumberRows() const;
    std::string NumberHeader() const { return "Check Program Config:"; }
    const std::vector<int>& NumberSelection() const { return m_numberSelection; }
    void SelectNumbers(std::vector<int> rows);

    // The programs stored in the device by name.
    std::vector<std::string> DeviceColumns() const override;
    std::vector<OTransferRow> DeviceRows() const override;

    bool bHasControl(int id) const override;
    OCommandState ControlState(int id) const override;
    std::string ControlText(int id) const override;
    bool bExecute(int id) override;

    void CopyToDevice() override;
    void CopyFromDevice() override;
    void DeleteInDevice() override;
    void AssignNumbers();
    void DeleteAssignments();

  protected:
    bool bReadDeviceLists() override;

  private:
    void AssignSelectedNumbers(const std::string& name);

    std::vector<int> m_numberSelection;
};
