#include "extraction/ODlg_ContourLimits.h"

#include <cmath>

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

bool ODlg_TapeMeasureSettings::bValidate(std::string& message) {
    message.clear();
    return std::isfinite(scaleX) && std::isfinite(scaleY);
}
