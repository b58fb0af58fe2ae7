#include "wizards/ProjectWizardRules.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSet.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kExtension = ".zrp";

}  // namespace

namespace ProjectWizardRules {

bool bIsProjectFileName(const std::string& path) {
    if (path.size() < 4) return false;
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == kExtension;
}

std::string PathWithName(const std::string& path, const std::string& name) {
    if (name.empty()) return fs::path(path).parent_path().string();
    std::string file = name;
    if (!bIsProjectFileName(file)) file += kExtension;
    const fs::path folder = fs::path(path).parent_path();
    return folder.empty() ? file : (folder / file).string();
}

std::string NameOfPath(const std::string& path) {
    std::string file = fs::path(path).filename().string();
    if (bIsProjectFileName(file)) file.resize(file.size() - 4);
    return file;
}

bool bIsValidPath(const std::string& path) {
    if (path.empty()) return false;
    const fs::path p(path);
    if (!p.has_filename() || p.filename() == "." || p.filename() == "..") return false;
    std::error_code error;
    if (fs::is_directory(p, error)) return false;
    const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
    return fs::is_directory(folder, error);
}

bool bHasEncoder(const ZRINFO& info) {
    return (info.u8(157) & 1) != 0;
}

bool bStableResults(const std::vector<double>& values, bool automaticOptimisation) {
    const size_t needed = automaticOptimisation ? 10 : 5;
    if (values.size() < needed) return false;
    const double last = values.back();
    const size_t first = values.size() - 5;
    double largest = 0;
    for (size_t i = 0; i < 4; ++i) {
        const double divisor = 5.0 - static_cast<double>(i);
        largest = std::max(largest, std::fabs(values[first + i] - last) / divisor);
    }
    return largest <= 0.1 * last;
}

int iTransferTargets(int partTypes, int partsInSet, bool sorting) {
    if (!sorting) return std::max(0, partTypes);
    return partsInSet > 0 ? partTypes / partsInSet : 0;
}

std::vector<int> TransferNumbers(int target, int partTypes, int partsInSet, bool sorting) {
    if (!sorting) return {target};
    std::vector<int> numbers;
    for (int i = 0; i < partsInSet; ++i) {
        const int number = partsInSet * (target - 1) + i + 1;
        if (number < 1 || number > partTypes) break;
        numbers.push_back(number);
    }
    return numbers;
}

bool bSetLengthFactor(OType_ZRPartSet& partSet, double factor) {
    bool changed = false;
    for (int t = 0; t < partSet.iGetNum_SubTypes(); ++t) {
        OType_ZRPartSet_SubType& record = *partSet.opGetSubType(t);
        for (int o = 0; o < record.iGetNumOrientations(); ++o) {
            OType_VectorArray* vectors = record.opGetVectorArray(o);
            OType_Vector* length = vectors ? vectors->opGetAt(0) : nullptr;
            // The classifier keeps factors as floats: 0.1 comes back as 0.10000000149.
            if (!length || std::abs(length->factor - factor) < 1e-6) continue;
            length->factor = factor;
            changed = true;
        }
    }
    return changed;
}

std::vector<OLengthVariation> LengthVariations(const OType_ZRPartSet& partSet) {
    std::vector<OLengthVariation> variations;
    for (int t = 0; t < partSet.iGetNum_SubTypes(); ++t) {
        const OType_ZRPartSet_SubType& record = *partSet.opGetSubType(t);
        for (int o = 0; o < record.iGetNumOrientations(); ++o) {
            const OType_VectorArray* vectors = record.opGetVectorArray(o);
            const OType_Vector* length = vectors ? vectors->opGetAt(0) : nullptr;
            if (!length || !(length->mean > 0)) continue;
            const double spread = (length->maximum - length->minimum) / length->mean;
            variations.push_back({o + 1, static_cast<int>(std::lround(spread * 100.0))});
        }
    }
    return variations;
}

}  // namespace ProjectWizardRules
