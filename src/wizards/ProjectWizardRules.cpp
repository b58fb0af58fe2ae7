#include "wizards/ProjectWizardRules.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "model/device/ZRINFO.h"

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

}  // namespace ProjectWizardRules
