// Helpers both classifiers share: the assignment limits of sample parts, the device rules,
// the feature lists written into stored Teach-Data, and the part-type record access.
#pragma once

#include <string>
#include <vector>

#include "model/part/OType_Feature.h"

class OClassifierHost;
class OType_Part;
class OType_ZRPartSet;
class OType_ZRPartSet_SubType;
class ZRINFO;

namespace ClassifierSupport {

// Largest orientation number of a sample part: the device's orientation count when the
// project detects orientations, else 1 (never beyond the tables' 8).
int iLargestOrientation(const OClassifierHost& host);
// Largest type number: the device's type count when the project detects types, else 1
// (never beyond the tables' 16).
int iLargestType(const OClassifierHost& host);
// Whether a part's assignment lies in 1..largest type and 1..largest orientation.
bool bHasValidAssignment(const OType_Part& part, int largestType, int largestOrientation);
// Corrects a sample part's assignment before teaching: a type outside 1..largest type
// becomes 1 with the orientation negated (ignored), an orientation beyond the largest
// becomes 0 (unassigned).
void CorrectAssignment(OType_Part& part, int largestType, int largestOrientation);

int iDeviceKind(const ZRINFO& info);
int iOsVersion(const ZRINFO& info);
// The Marrow edition with operating system 3.0: band forming only from type 1 orientation
// 1, and narrow separations are collected as warnings.
bool bIsSpecialEdition(const ZRINFO& info);
// Newer classification rule: operating system 0x30A..0x600, or device kinds 3..6.
bool bUsesNewerClassifyRule(const ZRINFO& info);
// Device kinds that sort part types.
bool bSupportsPartTypes(const ZRINFO& info);
bool bHasCounter(const ZRINFO& info);

// The standard reference features (types 3, 4, 0, 12, 9, 18, 5, 6, 1, 2, 7, 8) named from
// the part set's name table, then one feature per tool.
std::vector<OType_Feature> ReferenceFeatureList(const OType_ZRPartSet& partSet);
// The features whose identity the stored vectors take: those of the first sample part, or
// the reference list when the part set has no sample parts.
std::vector<OType_Feature> StoredFeatureList(const OType_ZRPartSet& partSet);

// The record of part type `type`, created (with those before it) when missing.
OType_ZRPartSet_SubType& TakeOrCreateSubType(OType_ZRPartSet& partSet, int type);

// "Error:\nData can not be created\nToo many features.\nMaximum Number of Features: N".
std::string TooManyFeaturesText(int maximum);

}  // namespace ClassifierSupport
