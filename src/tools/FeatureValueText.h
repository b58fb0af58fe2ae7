// The display form of a feature value: "%05.2lf", and "%05.4le" from magnitude 100000 on.
#pragma once

#include <string>

std::string FormatFeatureValue(double value);
