#include "analysis/OAccuracyWizardDialog.h"

void OAccuracyWizardDialog::OnOk() {
    m_sheet.ResultPage().OnFinish(m_sheet.Results());
}
