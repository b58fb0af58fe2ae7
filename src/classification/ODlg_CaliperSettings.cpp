#include "classification/ODlg_CaliperSettings.h"

#include <cmath>

#include "classification/ClassificationStrings.h"
#include "model/strings/ResStr.h"

bool ODlg_CaliperSettings::bChangedFrom(double horizontal, double vertical, double z) const {
    return m_horizontal != horizontal || m_vertical != vertical || (m_showZ && m_z != z);
}

bool ODlg_CaliperSettings::bValidate(std::string& message) {
    if (std::isfinite(m_horizontal) && std::isfinite(m_vertical) &&
        (!m_showZ || std::isfinite(m_z)))
        return true;
    message = ResStr(ClassificationText::kNumberValidation);
    return false;
}
