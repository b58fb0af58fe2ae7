// The accuracy wizard as a modal dialog of the document: the sheet with its four pages over
// the actual part set. The window drives the pages; on Finish the sheet keeps the state of
// "Create the ranges as Teach-Data" and the document applies it.
#pragma once

#include <string>

#include "analysis/OSheet_AccuracyWizard.h"
#include "platform/ODialogModel.h"

class OAccuracyWizardDialog : public ODialogModel {
  public:
    static constexpr const char* kDialogName = "OSheet_AccuracyWizard";
    static constexpr const char* kCaption = "Accuracy wizard";

    explicit OAccuracyWizardDialog(const OType_ZRPartSet& partSet) : m_partSet(partSet) {}

    std::string DialogName() const override { return kDialogName; }
    // Finish: the result page hands its check to the sheet.
    void OnOk() override;

    OSheet_AccuracyWizard& Sheet() { return m_sheet; }
    const OType_ZRPartSet& PartSet() const { return m_partSet; }

  private:
    const OType_ZRPartSet& m_partSet;
    OSheet_AccuracyWizard m_sheet;
};
