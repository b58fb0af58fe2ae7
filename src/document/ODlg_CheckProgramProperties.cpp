#include "document/ODlg_CheckProgramProperties.h"

#include <charconv>
#include <cmath>

#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/CodePage.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"

namespace {

constexpr int kNotConvertible = 20407;
constexpr int kNotANumber = 20413;
constexpr const char* kDefaultUnitLabel = "[mm]";

// A finite number, with blanks around it allowed; a decimal comma is taken as a point.
bool bParseNumber(std::string text, double& value) {
    for (char& c : text) {
        if (c == ',') c = '.';
    }
    const size_t first = text.find_first_not_of(" \t");
    const size_t last = text.find_last_not_of(" \t");
    if (first == std::string::npos) return false;
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+') ++begin;
    const auto [stop, error] = std::from_chars(begin, end, value);
    return error == std::errc() && stop == end && std::isfinite(value);
}

}  // namespace

ODlg_CheckProgramProperties::ODlg_CheckProgramProperties(OType_ZRPartSet& partSet, bool zShown)
    : name(partSet.GetName()), m_partSet(partSet), m_zShown(zShown) {
    const OCoordTrans_Tsai_Transformer* transformer = partSet.opGetCoordTransformer();
    m_unitLabel = transformer ? transformer->strGetUnitLabel() : kDefaultUnitLabel;
    m_z = partSet.dGetZCoordinate();
    zText = FormatPrintf("%.10g", m_z);
    m_initialZText = zText;
}

bool ODlg_CheckProgramProperties::bValidate(std::string& message) {
    message.clear();
    if (!bIsConvertibleToAnsi(name)) {
        message = ResStr(kNotConvertible);
        return false;
    }
    double z = 0.0;
    if (m_zShown && !bParseNumber(zText, z)) {
        message = ResStr(kNotANumber);
        return false;
    }
    return true;
}

void ODlg_CheckProgramProperties::OnOk() {
    m_nameChanged = name != m_partSet.GetName();
    if (m_nameChanged) m_partSet.SetName(name);
    // The shown text may be rounded: Z changes only when the user edited it.
    double z = m_partSet.dGetZCoordinate();
    if (m_zShown && zText != m_initialZText) bParseNumber(zText, z);
    m_zChanged = z != m_partSet.dGetZCoordinate();
    m_z = z;
    if (m_zChanged) m_partSet.SetZCoordinate(z);
}
