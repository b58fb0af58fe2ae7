// The project wizard's small rules without any state: how the project name and path follow
// each other, when enough stable sample parts were shown, which transfer targets exist and
// which part-data numbers a sorting target fills, and the length-priority task's factors.
#pragma once

#include <string>
#include <vector>

class OType_ZRPartSet;
class ZRINFO;

namespace ProjectWizardRules {

// Whether the file name ends in ".zrp" (either case).
bool bIsProjectFileName(const std::string& path);
// The path with its file-name part replaced by `name` (".zrp" appended when missing); the
// folder of `path` is kept.
std::string PathWithName(const std::string& path, const std::string& name);
// The file title of `path` without ".zrp".
std::string NameOfPath(const std::string& path);
// Whether a project file could be written at `path`: a file name and an existing folder.
bool bIsValidPath(const std::string& path);
// Bit 0 of device-information byte 157.
bool bHasEncoder(const ZRINFO& info);
// Whether the result values (in list order) of the sample parts of one orientation show
// that enough stable parts were recorded: 10 values with automatic optimisation, else 5;
// the four values before the last, divided by 5, 4, 3 and 2, lie within a tenth of the last.
bool bStableResults(const std::vector<double>& values, bool automaticOptimisation);
// How many transfer targets the last page offers.
int iTransferTargets(int partTypes, int partsInSet, bool sorting);
// The part-data numbers the part types 0, 1, … go to for target `target` (1-based); a
// sorting target fills partsInSet consecutive numbers within range, otherwise type 0 goes
// to number `target`.
std::vector<int> TransferNumbers(int target, int partTypes, int partsInSet, bool sorting);

// The tolerance factor of the length when the length has priority.
inline constexpr double kLengthFactor = 0.1;
// Sets the factor of feature 0 in the Teach-Data of every type and orientation; true when
// any factor changed.
bool bSetLengthFactor(OType_ZRPartSet& partSet, double factor);
// The spread of the length over its mean in percent, per taught orientation (1-based); an
// orientation whose mean length is not positive is left out.
struct OLengthVariation {
    int orientation = 0;
    int percent = 0;
};
std::vector<OLengthVariation> LengthVariations(const OType_ZRPartSet& partSet);

}  // namespace ProjectWizardRules
