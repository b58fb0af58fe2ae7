#include "TeachInput.h"

#include <algorithm>

#include "classification/FeatureTableCsv.h"
#include "device/DeviceInfoBuilder.h"
#include "device/TargetSystem.h"
#include "extraction/OHeadlessExtraction.h"
#include "model/strings/FormatPrintf.h"

bool bParseIntOption(const std::string& text, int& value) {
    try {
        size_t used = 0;
        value = std::stoi(text, &used);
        return used == text.size();
    } catch (...) {
        return false;
    }
}

bool bFinishTeachInputOptions(OTeachInputOptions& options, std::string& error) {
    if (options.file.empty()) {
        error = "FILE is missing";
        return false;
    }
    if (options.family == 0)
        options.family = options.hardware >= 0 ? TargetSystem::iFamily(options.hardware) : 1;
    if (options.hardware < 0) options.hardware = options.family == 2 ? 7 : 2;
    if (options.software < 0) options.software = 818;
    if (TargetSystem::iFamily(options.hardware) != options.family) {
        error = FormatPrintf("hardware code %d is not a device of family %d", options.hardware,
                             options.family);
        return false;
    }
    return true;
}

namespace {

bool bEndsWith(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) return false;
    std::string tail = text.substr(text.size() - suffix.size());
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == suffix;
}

// Fills the part set from a project or a part list (its parts as sample parts); family-1
// parts get their features extracted by the program's own extraction.
bool bLoadPartsFile(const OTeachInputOptions& options, OCliClassifierHost& host,
                    std::string& error) {
    OType_ZRPartSet& partSet = host.PartSet();
    OPartsInput input;
    if (!bLoadPartsInput(options.file, true, options.software, partSet, input, error, true)) {
        error = options.file + ": " + error;
        return false;
    }
    host.Adopt(input);
    if (host.iGetFamily() == 1) {
        OHeadlessExtraction extraction(input.deviceInfo, DeviceInfo::ReadTarget(input.deviceInfo),
                                       host.UI());
        extraction.PreparePartSet(partSet);
        if (!extraction.Extract(partSet)) {
            error = options.file + ": the features could not be extracted";
            return false;
        }
        partSet.SetDeviceInfo(&host.DeviceInfo());
    }
    // A part list carries no part types; they get the tolerance asked for. A project keeps
    // the tolerances it was saved with.
    if (!input.fromProject) {
        int highestType = 1;
        for (int i = 0; i < partSet.TeachParts().iGetSize(); ++i)
            highestType = std::max(highestType, partSet.TeachParts().GetAt_NoSort(i)->iGetType());
        if (partSet.iGetNum_SubTypes() < highestType) partSet.SetNumSubTypes(highestType);
        for (int t = 0; t < partSet.iGetNum_SubTypes(); ++t)
            partSet.opGetSubType(t)->SetTolerance(options.tolerance);
    }
    return true;
}

}  // namespace

// Fills the part set from FILE: a project, a part list or a feature table (CSV).
bool bLoadInput(const OTeachInputOptions& options, OCliClassifierHost& host, std::string& error) {
    if (bIsProjectFile(options.file) ||
        (bIsPartListFile(options.file) && !bEndsWith(options.file, ".txt"))) {
        return bLoadPartsFile(options, host, error);
    }
    OType_ZRPartSet& partSet = host.PartSet();
    OFeatureTable table;
    if (!FeatureTableCsv::bReadFile(options.file, options.family, table, error)) return false;
    FeatureTableCsv::AddParts(table, partSet);
    int highestType = 1;
    for (const OFeatureTableRow& row : table.rows)
        highestType = std::max(highestType, row.type);
    for (int t = 0; t < highestType; ++t) {
        OType_ZRPartSet_SubType* record =
            t < partSet.iGetNum_SubTypes() ? partSet.opGetSubType(t) : partSet.opAddSubType();
        record->SetTolerance(options.tolerance);
    }
    return true;
}

std::vector<std::string> SplitPairs(const std::string& list) {
    std::vector<std::string> pairs;
    size_t pos = 0;
    while (pos < list.size()) {
        const size_t end = list.find("  ", pos);
        const std::string item = list.substr(pos, end == std::string::npos ? end : end - pos);
        if (!item.empty()) pairs.push_back(item);
        if (end == std::string::npos) break;
        pos = end + 2;
    }
    return pairs;
}
