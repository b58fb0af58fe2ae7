#include "extraction/ODlg_ContourLimits.h"

#include "model/strings/ResStr.h"

bool ODlg_FilterLimit::bValidate(std::string& message) {
    message.clear();
    if (limit >= 1) return true;
    message = "Limit can not be set to a Value less than 1";
    return false;
}

std::string ODlg_FilterLimit::Prompt() const {
    return ResStr(m_promptId);
}
