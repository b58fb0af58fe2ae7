#include "classification/ODlg_CounterProperties.h"

#include "classification/ClassificationStrings.h"
#include "model/strings/ResStr.h"

bool ODlg_CounterProperties::bValidate(std::string& message) {
    if (m_target >= iGetMinTarget() && m_target <= kMaxTarget) return true;
    message = ResStrFormat(ClassificationText::kRangeValidation, iGetMinTarget(), kMaxTarget);
    return false;
}
