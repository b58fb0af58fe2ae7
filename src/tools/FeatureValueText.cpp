#include "tools/FeatureValueText.h"

#include <cmath>

#include "model/strings/FormatPrintf.h"

std::string FormatFeatureValue(double value) {
    return FormatPrintf(std::fabs(value) >= 100000.0 ? "%05.4le" : "%05.2lf", value);
}
