// The working tables of a classifier, as flat arrays indexed [type][orientation][feature].
// Real is the precision of the statistics (float for family 1, double for family 2).
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace ClassTables {
inline constexpr int kTypes = 16;
inline constexpr int kOrientations = 8;
inline constexpr int kClasses = kTypes * kOrientations;
inline constexpr double kEmptyMinimum = 1e20;
inline constexpr double kEmptyMaximum = -1e20;

inline int iClass(int type, int orientation) {
    return type * kOrientations + orientation;
}
inline int iPair(int typeA, int typeB, int orientationA, int orientationB) {
    return ((typeA * kTypes + typeB) * kOrientations + orientationA) * kOrientations + orientationB;
}
// Options 2 and 3 fix a statistic: accumulation and resetting leave it alone.
inline bool bIsFixed(uint8_t option) {
    return option == 2 || option == 3;
}
inline bool bIsExcluded(uint8_t option) {
    return option == 1;
}
}  // namespace ClassTables

template <typename Real, int kFeatures>
struct OClassTables {
    static constexpr int kCells = ClassTables::kClasses * kFeatures;

    static int iCell(int type, int orientation, int feature) {
        return ClassTables::iClass(type, orientation) * kFeatures + feature;
    }
    static int iCellOfClass(int classIndex, int feature) {
        return classIndex * kFeatures + feature;
    }

    int featureCount = 0;
    int typeCount = 0;
    std::vector<int> tolerance = std::vector<int>(ClassTables::kTypes, 5);
    std::vector<int> orientationCount = std::vector<int>(ClassTables::kTypes, 0);
    std::vector<uint8_t> hasSampleParts = std::vector<uint8_t>(ClassTables::kTypes, 0);
    std::vector<uint8_t> hasData = std::vector<uint8_t>(ClassTables::kTypes, 0);
    std::vector<int> partCount = std::vector<int>(ClassTables::kClasses, 0);

    std::vector<Real> minimum = std::vector<Real>(kCells, Real(0));
    std::vector<Real> mean = std::vector<Real>(kCells, Real(0));  // the sum while accumulating
    std::vector<Real> maximum = std::vector<Real>(kCells, Real(0));
    std::vector<Real> lowerBound = std::vector<Real>(kCells, Real(0));
    std::vector<Real> upperBound = std::vector<Real>(kCells, Real(0));
    std::vector<uint8_t> usedBelow = std::vector<uint8_t>(kCells, 0);
    std::vector<uint8_t> usedAbove = std::vector<uint8_t>(kCells, 0);
    std::vector<uint8_t> optionMinimum = std::vector<uint8_t>(kCells, 0);
    std::vector<uint8_t> optionMean = std::vector<uint8_t>(kCells, 0);
    std::vector<uint8_t> optionMaximum = std::vector<uint8_t>(kCells, 0);
    std::vector<double> factor = std::vector<double>(kCells, 1.0);

    // [type A][type B][orientation A][orientation B]
    std::vector<int> separating =
        std::vector<int>(ClassTables::kTypes * ClassTables::kTypes * ClassTables::kOrientations *
                             ClassTables::kOrientations,
                         -1);
    // [type][orientation]; entry 0 of each type is unused.
    std::vector<Real> threshold = std::vector<Real>(ClassTables::kClasses, Real(0));

    // Statistics, options and bounds of one cell back to zero, factor 1.
    void ClearCell(int c) {
        minimum[c] = mean[c] = maximum[c] = Real(0);
        lowerBound[c] = upperBound[c] = Real(0);
        usedBelow[c] = usedAbove[c] = 0;
        optionMinimum[c] = optionMean[c] = optionMaximum[c] = 0;
        factor[c] = 1.0;
    }
    // The state of a class before any part is added.
    void ResetCellForAccumulation(int c) {
        mean[c] = Real(0);
        minimum[c] = lowerBound[c] = static_cast<Real>(ClassTables::kEmptyMinimum);
        maximum[c] = upperBound[c] = static_cast<Real>(ClassTables::kEmptyMaximum);
    }
    void ClearSeparatingOf(int type, int orientation) {
        using namespace ClassTables;
        for (int t = 0; t < kTypes; ++t) {
            for (int o = 0; o < kOrientations; ++o) {
                separating[iPair(type, t, orientation, o)] = -1;
                separating[iPair(t, type, o, orientation)] = -1;
            }
        }
    }
    void ClearAllSeparating() { std::fill(separating.begin(), separating.end(), -1); }

    // The classes compared when finding separating features and forming bands: both types
    // with data; between types every orientation pair, within a type orientation 1 against
    // each other orientation.
    template <typename Visit>
    void ForEachComparedPair(Visit&& visit) const {
        for (int tA = 0; tA < typeCount; ++tA) {
            if (!hasData[tA]) continue;
            for (int tB = tA; tB < typeCount; ++tB) {
                if (!hasData[tB]) continue;
                for (int oA = 0; oA < orientationCount[tA]; ++oA) {
                    for (int oB = 0; oB < orientationCount[tB]; ++oB) {
                        if (tA == tB && !(oA == 0 && oB != 0)) continue;
                        visit(tA, oA, tB, oB);
                    }
                }
            }
        }
    }
};
