#include "classification/ClassifierSupport.h"

#include <algorithm>
#include <cstdlib>

#include "classification/OClassTables.h"
#include "classification/OClassifierHost.h"
#include "device/TargetSystem.h"
#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/strings/FormatPrintf.h"

namespace ClassifierSupport {

namespace {
constexpr int kReferenceFeatureTypes[] = {3, 4, 0, 12, 9, 18, 5, 6, 1, 2, 7, 8};
}

int iLargestOrientation(const OClassifierHost& host) {
    if (!host.ProjectProperties().useOrientation) return 1;
    return std::clamp(host.iGetDeviceOrientationCount(), 1, ClassTables::kOrientations);
}

int iLargestType(const OClassifierHost& host) {
    if (!host.ProjectProperties().useTypes) return 1;
    return std::clamp(host.iGetDeviceTypeCount(), 1, ClassTables::kTypes);
}

bool bHasValidAssignment(const OType_Part& part, int largestType, int largestOrientation) {
    const int type = part.iGetType();
    const int orientation = part.iGetOrientation();
    return type >= 1 && type <= largestType && orientation >= 1 &&
           orientation <= largestOrientation;
}

void CorrectAssignment(OType_Part& part, int largestType, int largestOrientation) {
    if (part.iGetType() < 1 || part.iGetType() > largestType) {
        part.SetType(1);
        if (part.iGetOrientation() > 0) part.SetOrientation(-part.iGetOrientation());
    }
    if (std::abs(part.iGetOrientation()) > largestOrientation) part.SetOrientation(0);
}

int iDeviceKind(const ZRINFO& info) {
    return info.u16(ZRINFO::kHardwareCode);
}

int iOsVersion(const ZRINFO& info) {
    return info.u16(ZRINFO::kOsVersion);
}

bool bIsSpecialEdition(const ZRINFO& info) {
    return iDeviceKind(info) == 2 && iOsVersion(info) == 0x300;
}

bool bUsesNewerClassifyRule(const ZRINFO& info) {
    const int os = iOsVersion(info);
    const int kind = iDeviceKind(info);
    return (os >= 0x30A && os <= 0x600) || (kind >= 3 && kind <= 6);
}

bool bSupportsPartTypes(const ZRINFO& info) {
    return TargetSystem::bIsSortingEdition(iDeviceKind(info));
}

bool bHasCounter(const ZRINFO& info) {
    return TargetSystem::bIsCounterEdition(iDeviceKind(info));
}

std::vector<OType_Feature> ReferenceFeatureList(const OType_ZRPartSet& partSet) {
    std::vector<OType_Feature> list;
    for (int type : kReferenceFeatureTypes) {
        OType_Feature feature;
        feature.type = type;
        feature.name = partSet.GetFeatureNameOrDash(type);
        list.push_back(std::move(feature));
    }
    for (const auto& tool : partSet.Tools()) {
        OType_Feature feature;
        feature.type = tool->iGetFeatureType();
        feature.toolId = tool->iGetToolId();
        feature.name = partSet.GetFeatureNameOrDash(feature.type);
        list.push_back(std::move(feature));
    }
    return list;
}

std::vector<OType_Feature> StoredFeatureList(const OType_ZRPartSet& partSet) {
    if (const OType_Part* first = partSet.TeachParts().GetAt(0)) {
        return {first->Features().begin(), first->Features().end()};
    }
    return ReferenceFeatureList(partSet);
}

OType_ZRPartSet_SubType& TakeOrCreateSubType(OType_ZRPartSet& partSet, int type) {
    while (partSet.iGetNum_SubTypes() <= type)
        partSet.opAddSubType();
    return *partSet.opGetSubType(type);
}

std::string TooManyFeaturesText(int maximum) {
    return FormatPrintf("%s %d",
                        "Error:\nData can not be created\nToo many features.\nMaximum Number of "
                        "Features:",
                        maximum);
}

}  // namespace ClassifierSupport
