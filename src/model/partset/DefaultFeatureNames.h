// The built-in feature-name table of new part sets. Each name is given in every language
// the program knows, in the multi-language form the string helpers read.
#pragma once

#include <vector>

#include "model/partset/OType_ZRPartSet.h"

std::vector<OFeatureName> DefaultFeatureNames();
