#include "classification/OClass_ConfV12.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "classification/ClassifierSupport.h"
#include "classification/OClassifierHost.h"
#include "classification/ToleranceQuotient.h"
#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/strings/FormatPrintf.h"
#include "model/util/Rounding.h"
#include "platform/OWaitCursor.h"
#include "platform/UserInteraction.h"

using namespace ClassTables;
using namespace ClassifierSupport;

namespace {

constexpr int kF = OClass_ConfV12::kMaxFeatures;
constexpr double kClassifyEquality = 0.000002;
constexpr double kDeviationEquality = 0.0001;
constexpr double kNoClassYet = 3.4e38;
constexpr double kWarningSeparation = 0.2;

int Cell(int type, int orientation, int feature) {
    return OClass_ConfV12::Tables::iCell(type, orientation, feature);
}

// Deviation of a value from a class mean in units of the band above or below it.
inline double dClassDeviation(double v, double m, double above, double below) {
    if (std::fabs(v - m) < kClassifyEquality) return 0.0;
    if (v > m) return above == 0.0 ? 1000.0 : (v - m) / above;
    return below == 0.0 ? -1000.0 : -(m - v) / below;
}

// Statistics, options and factor of a cell cleared; its bounds stay.
void ClearStatistics(OClass_ConfV12::Tables& t, int c) {
    t.minimum[c] = t.mean[c] = t.maximum[c] = 0.0f;
    t.optionMinimum[c] = t.optionMean[c] = t.optionMaximum[c] = 0;
    t.factor[c] = 1.0;
}

// The option word a part or vector gets from the class's mean option: value bits replaced.
uint32_t WithClassOption(uint32_t word, uint8_t meanOption) {
    const uint32_t value = meanOption == 1 ? 1u : meanOption == 2 ? 2u : 0u;
    return FeatureOption::WithValue(word, value);
}

}  // namespace

OClass_ConfV12::OClass_ConfV12(OClassifierHost& host)
    : OClassifier(host), m_t(std::make_unique<Tables>()) {}

OClass_ConfV12::~OClass_ConfV12() = default;

// --- read access ---

int OClass_ConfV12::iGetOrientationCount(int type) const {
    return type >= 0 && type < kTypes ? m_t->orientationCount[type] : 0;
}
int OClass_ConfV12::iGetTolerance(int type) const {
    return type >= 0 && type < kTypes ? m_t->tolerance[type] : 0;
}
int OClass_ConfV12::iGetPartCount(int type, int orientation) const {
    return bIsValidClass(type, orientation) ? m_t->partCount[iClass(type, orientation)] : 0;
}
bool OClass_ConfV12::bTypeHasData(int type) const {
    return type >= 0 && type < kTypes && m_t->hasData[type];
}
bool OClass_ConfV12::bTypeHasSampleParts(int type) const {
    return type >= 0 && type < kTypes && m_t->hasSampleParts[type];
}
bool OClass_ConfV12::bIsValidClass(int type, int orientation) const {
    return type >= 0 && type < kTypes && orientation >= 0 && orientation < kOrientations;
}

bool OClass_ConfV12::bGetCell(int type, int orientation, int feature, OClassCell& cell) const {
    if (!bIsValidClass(type, orientation) || feature < 0 || feature >= kF) return false;
    const Tables& t = *m_t;
    const int c = Cell(type, orientation, feature);
    cell = OClassCell();
    cell.minimum = t.minimum[c];
    cell.mean = t.mean[c];
    cell.maximum = t.maximum[c];
    cell.lowerBound = t.lowerBound[c];
    cell.upperBound = t.upperBound[c];
    cell.usedToleranceBelow = t.usedBelow[c];
    cell.usedToleranceAbove = t.usedAbove[c];
    cell.optionMinimum = t.optionMinimum[c];
    cell.optionMean = t.optionMean[c];
    cell.optionMaximum = t.optionMaximum[c];
    cell.factor = t.factor[c];
    return true;
}

int OClass_ConfV12::iGetSeparatingFeature(int typeA, int orientationA, int typeB,
                                          int orientationB) const {
    if (!bIsValidClass(typeA, orientationA) || !bIsValidClass(typeB, orientationB)) return -1;
    return m_t->separating[iPair(typeA, typeB, orientationA, orientationB)];
}

double OClass_ConfV12::dGetDecisionThreshold(int type, int orientation) const {
    if (!bIsValidClass(type, orientation) || orientation == 0) return 0.0;
    return m_t->threshold[iClass(type, orientation)];
}

int OClass_ConfV12::GetTeachError() {
    return m_teachError == 20 || m_teachError == 21 ? m_teachError : 0;
}

// --- loading ---

void OClass_ConfV12::LoadTeachData(OType_ZRPartSet& partSet) {
    Tables& t = *m_t;
    const int largestType = iLargestType(Host());
    const int largestOrientation = iLargestOrientation(Host());
    std::fill(t.hasSampleParts.begin(), t.hasSampleParts.end(), 0);
    std::fill(t.hasData.begin(), t.hasData.end(), 0);
    const OType_PartArray& teach = partSet.TeachParts();
    for (int i = 0; i < teach.iGetSize(); ++i) {
        const OType_Part& part = *teach.GetAt_NoSort(i);
        if (bHasValidAssignment(part, largestType, largestOrientation))
            t.hasSampleParts[part.iGetType() - 1] = 1;
    }

    const int rememberedFeatures = t.featureCount;
    t.typeCount = 0;
    t.featureCount = 0;
    // Features of tools not yet in the stored vectors keep their table values.
    const int toolFirst = Host().iGetFixedFeatureCount();
    const int toolEnd = toolFirst + partSet.Tools().iGetNumOfFeatures();

    for (int type = 0; type < kTypes; ++type) {
        const OType_ZRPartSet_SubType* record = partSet.opGetSubType(type);
        if (!record) {
            t.orientationCount[type] = 0;
            t.tolerance[type] = 0;
            ClearClassesWithoutArray(type, 0);
            continue;
        }
        t.typeCount = type + 1;
        t.tolerance[type] = record->iGetTolerance();
        t.orientationCount[type] = std::clamp(record->iGetNumOrientations(), 0, kOrientations);
        for (int o = 0; o < kOrientations; ++o) {
            const OType_VectorArray* vectors = record->opGetVectorArray(o);
            if (!vectors) {
                ClearClassesWithoutArray(type, o);
                break;
            }
            t.partCount[iClass(type, o)] = t.hasSampleParts[type] ? 0 : vectors->iGetPartCount();
            const int n = std::min(vectors->iGetNumOfVectors(), kF);
            t.featureCount = std::max(t.featureCount, n);
            for (int f = 0; f < n; ++f) {
                const OType_Vector& v = vectors->At(f);
                const int c = Cell(type, o, f);
                t.minimum[c] = static_cast<float>(v.minimum);
                t.mean[c] = static_cast<float>(v.mean);
                t.maximum[c] = static_cast<float>(v.maximum);
                const auto option = static_cast<uint8_t>(FeatureOption::Value(v.option));
                t.optionMinimum[c] = t.optionMean[c] = t.optionMaximum[c] = option;
                t.factor[c] = static_cast<double>(static_cast<float>(v.factor));
                if (t.minimum[c] != 0.0f || t.mean[c] != 0.0f || t.maximum[c] != 0.0f ||
                    option != 0)
                    t.hasData[type] = 1;
            }
            for (int f = n; f < kF; ++f) {
                if (t.hasSampleParts[type] || f >= rememberedFeatures || f < toolFirst ||
                    f >= toolEnd)
                    ClearStatistics(t, Cell(type, o, f));
            }
        }
    }
    UnifyFeatureFactors();
}

void OClass_ConfV12::ClearClassesWithoutArray(int type, int firstOrientation) {
    Tables& t = *m_t;
    for (int o = firstOrientation; o < kOrientations; ++o) {
        t.partCount[iClass(type, o)] = 0;
        for (int f = 0; f < kF; ++f)
            t.ClearCell(Cell(type, o, f));
    }
}

void OClass_ConfV12::UnifyFeatureFactors() {
    Tables& t = *m_t;
    for (int f = 0; f < kF; ++f) {
        bool excluded = false;
        double unified = std::numeric_limits<double>::infinity();
        for (int type = 0; type < kTypes; ++type) {
            if (!t.hasData[type]) continue;
            // The classes of the type: its orientations, not the unused table slots.
            for (int o = 0; o < t.orientationCount[type]; ++o) {
                const int c = Cell(type, o, f);
                if (bIsExcluded(t.optionMinimum[c]) || bIsExcluded(t.optionMean[c]) ||
                    bIsExcluded(t.optionMaximum[c]))
                    excluded = true;
                unified = std::min(unified, t.factor[c]);
            }
        }
        if (unified == std::numeric_limits<double>::infinity()) unified = 1.0;
        for (int type = 0; type < kTypes; ++type) {
            for (int o = 0; o < kOrientations; ++o) {
                const int c = Cell(type, o, f);
                if (excluded) {
                    t.optionMinimum[c] = t.optionMean[c] = t.optionMaximum[c] = 1;
                } else if (!t.hasData[type]) {
                    t.optionMinimum[c] = t.optionMean[c] = t.optionMaximum[c] = 0;
                }
                t.factor[c] = unified;
            }
        }
    }
}

bool OClass_ConfV12::bPrepareTeach(OType_ZRPartSet& partSet) {
    if (Host().iGetFixedFeatureCount() + Host().iGetToolCapacity() > kF) {
        Host().UI().Message(TooManyFeaturesText(kF), MsgIcon::Error);
        return false;
    }
    LoadTeachData(partSet);
    Tables& t = *m_t;
    for (int type = 0; type < kTypes; ++type) {
        if (!t.hasSampleParts[type]) continue;
        for (int o = 0; o < kOrientations; ++o) {
            t.partCount[iClass(type, o)] = 0;
            t.orientationCount[type] = 0;
            for (int f = 0; f < kF; ++f) {
                const int c = Cell(type, o, f);
                if (!bIsFixed(t.optionMean[c])) t.mean[c] = 0.0f;
                if (!bIsFixed(t.optionMinimum[c]))
                    t.minimum[c] = t.lowerBound[c] = static_cast<float>(kEmptyMinimum);
                if (!bIsFixed(t.optionMaximum[c]))
                    t.maximum[c] = t.upperBound[c] = static_cast<float>(kEmptyMaximum);
            }
            t.ClearSeparatingOf(type, o);
        }
    }
    return true;
}

void OClass_ConfV12::PrepareTeach(OType_ZRPartSet& partSet) {
    bPrepareTeach(partSet);
}

void OClass_ConfV12::ReloadTeachData(OType_ZRPartSet& partSet) {
    Tables& t = *m_t;
    std::fill(t.partCount.begin(), t.partCount.end(), 0);
    for (int c = 0; c < Tables::kCells; ++c)
        t.ResetCellForAccumulation(c);
    t.ClearAllSeparating();
    LoadTeachData(partSet);
}

// --- teaching ---

void OClass_ConfV12::AccumulatePart(OType_Part& part) {
    Tables& t = *m_t;
    const int type = part.iGetType() - 1;
    const int o = part.iGetOrientation() - 1;
    if (!bIsValidClass(type, o)) return;
    OType_FeatureArray& features = part.Features();
    const int n = std::min(features.iGetNumOfFeatures(), kF);
    t.featureCount = n;
    const int cls = iClass(type, o);
    const int count = ++t.partCount[cls];
    t.orientationCount[type] = std::max(t.orientationCount[type], o + 1);
    t.typeCount = std::max(t.typeCount, type + 1);

    for (int f = 0; f < n; ++f) {
        const double v = features.At(f).value;
        const int c = Tables::iCellOfClass(cls, f);
        if (!bIsFixed(t.optionMean[c])) t.mean[c] = static_cast<float>(t.mean[c] + v);
        if (!bIsFixed(t.optionMinimum[c])) {
            t.minimum[c] = static_cast<float>(std::min<double>(t.minimum[c], v));
            t.lowerBound[c] = static_cast<float>(std::min<double>(t.lowerBound[c], v));
        }
        if (!bIsFixed(t.optionMaximum[c])) {
            t.maximum[c] = static_cast<float>(std::max<double>(t.maximum[c], v));
            t.upperBound[c] = static_cast<float>(std::max<double>(t.upperBound[c], v));
        }
    }

    part.SetResultValue(0, 1.0);
    part.SetResultValue(1, 1.0);
    double learning = 0.0;
    if (count >= 2) {
        double largest = 0.0;
        for (int f = 0; f < n; ++f) {
            const int c = Tables::iCellOfClass(cls, f);
            double sum = t.mean[c];
            if (sum == 0.0) sum = 0.01;
            double r = dZRRound(std::fabs((double(t.maximum[c]) - double(t.minimum[c])) / sum));
            if (!bIsFixed(t.optionMean[c])) r *= count;
            largest = std::max(largest, r);
        }
        learning = std::floor(100.0 * largest);
    }
    part.SetResultValue(2, learning);

    for (int f = 0; f < n; ++f) {
        OType_Feature& feature = features.At(f);
        feature.option =
            WithClassOption(feature.option, t.optionMean[Tables::iCellOfClass(cls, f)]);
    }
}

void OClass_ConfV12::TeachFromParts(OType_ZRPartSet& partSet) {
    OWaitCursor wait(Host().UI());
    if (!bPrepareTeach(partSet)) return;
    Tables& t = *m_t;
    const int largestType = iLargestType(Host());
    const int largestOrientation = iLargestOrientation(Host());
    OType_PartArray& teach = partSet.TeachParts();
    for (int i = 0; i < teach.iGetSize(); ++i) {
        OType_Part& part = *teach.GetAt(i);
        CorrectAssignment(part, largestType, largestOrientation);
        if (bHasValidAssignment(part, largestType, largestOrientation)) AccumulatePart(part);
    }

    for (int type = 0; type < kTypes; ++type) {
        if (!t.hasSampleParts[type]) continue;
        for (int o = 0; o < kOrientations; ++o) {
            const int count = t.partCount[iClass(type, o)];
            if (count == 0) continue;
            for (int f = 0; f < t.featureCount; ++f) {
                const int c = Cell(type, o, f);
                if (!bIsFixed(t.optionMean[c]))
                    t.mean[c] = static_cast<float>(dZRRound(double(t.mean[c]) / count));
            }
        }
    }

    StoreStatistics(partSet);
    for (int i = 0; i < teach.iGetSize(); ++i) {
        OType_Part& part = *teach.GetAt(i);
        if (bHasValidAssignment(part, largestType, largestOrientation)) ComputePartDeviations(part);
    }
    m_teachError = 0;
    FindSeparatingFeatures();
    FormToleranceBands();
    StoreDecisionRanges(partSet);
    Host().SetModifiedFlag();
    Host().RedrawTeachDataView();
}

void OClass_ConfV12::StoreStatistics(OType_ZRPartSet& partSet) {
    Tables& t = *m_t;
    const std::vector<OType_Feature> features = StoredFeatureList(partSet);
    const int n = std::min(static_cast<int>(features.size()), kF);
    partSet.RemoveAllVectors();
    UnifyFeatureFactors();
    for (int type = 0; type < t.typeCount; ++type) {
        OType_ZRPartSet_SubType& record = TakeOrCreateSubType(partSet, type);
        bool anyValue = false;
        const int orientations = std::max(t.orientationCount[type], 1);
        for (int o = 0; o < orientations; ++o) {
            OType_VectorArray& vectors = record.Vectors().Add();
            for (int f = 0; f < n; ++f) {
                const int c = Cell(type, o, f);
                OType_Vector v;
                v.featureType = features[f].type;
                v.toolId = features[f].toolId;
                v.name = features[f].name;
                v.minimum = std::min(t.minimum[c], t.mean[c]);
                v.mean = t.mean[c];
                v.maximum = std::max(t.maximum[c], t.mean[c]);
                v.state = 1;
                // Flags above the option value (e.g. option 7) stay as the parts carry them.
                v.option = FeatureOption::WithValue(features[f].option & ~FeatureOption::kKeepValue,
                                                    t.optionMean[c]);
                v.factor = t.factor[c];
                anyValue = anyValue || v.minimum != 0.0 || v.mean != 0.0 || v.maximum != 0.0;
                vectors.Add(std::move(v));
            }
            vectors.SetPartCount(t.partCount[iClass(type, o)]);
        }
        record.SetNumFeatures(n);
        record.SetNumOrientations(t.orientationCount[type]);
        t.hasData[type] = anyValue ? 1 : 0;
        record.SetHasData(anyValue);
    }
}

void OClass_ConfV12::ComputePartDeviations(OType_Part& part) const {
    const Tables& t = *m_t;
    OType_FeatureArray& features = part.Features();
    const int type = part.iGetType() - 1;
    const int o = part.iGetOrientation() - 1;
    if (!bIsValidClass(type, o)) {
        for (OType_Feature& feature : features)
            feature.deviation = 0.0;
        return;
    }
    const int n = std::min(features.iGetNumOfFeatures(), kF);
    for (int f = 0; f < n; ++f) {
        OType_Feature& feature = features.At(f);
        const int c = Cell(type, o, f);
        const double v = feature.value;
        const double m = t.mean[c];
        double deviation = 0.0;
        if (std::fabs(v - m) >= kDeviationEquality) {
            if (v > m) {
                const double divisor = double(t.maximum[c]) - m;
                deviation = divisor == 0.0 ? 0.0 : (v - m) / divisor;
            } else {
                const double divisor = m - double(t.minimum[c]);
                deviation = divisor == 0.0 ? 0.0 : -(m - v) / divisor;
            }
        }
        feature.deviation = 100.0 * deviation;
        feature.factor = t.factor[c];
    }
}

// --- separation ---

double OClass_ConfV12::dSeparationOnFeature(int a, int b) const {
    const Tables& t = *m_t;
    const double d = dZRRound(std::fabs(double(t.mean[b])) * t.factor[b] +
                              std::fabs(double(t.mean[a])) * t.factor[a]);
    const double minA = t.minimum[a], maxA = t.maximum[a];
    const double minB = t.minimum[b], maxB = t.maximum[b];
    if (minA > maxB) return (minA - maxB) / d;
    if (minB > maxA) return (minB - maxA) / d;
    return -1.0;
}

void OClass_ConfV12::FindSeparatingFeatures() {
    Tables& t = *m_t;
    m_e20List.clear();
    m_e21List.clear();
    m_warningList.clear();
    t.ClearAllSeparating();
    const bool edition = bIsSpecialEdition(Host().DeviceInfo());
    bool e20 = false;
    bool e21 = false;
    t.ForEachComparedPair([&](int tA, int oA, int tB, int oB) {
        double best = -1.0;
        int bestFeature = -1;
        for (int f = 0; f < t.featureCount; ++f) {
            const int a = Cell(tA, oA, f);
            const int b = Cell(tB, oB, f);
            if (bIsExcluded(t.optionMean[a]) || bIsExcluded(t.optionMean[b])) continue;
            const double s = dSeparationOnFeature(a, b);
            if (s > best) {
                best = s;
                bestFeature = f;
            }
        }
        if (bestFeature >= 0) {
            t.separating[iPair(tA, tB, oA, oB)] = bestFeature;
            t.separating[iPair(tB, tA, oB, oA)] = bestFeature;
        }
        if (best < 0.0) {
            const std::string pair = FormatPrintf("%d/%d->%d/%d  ", tA + 1, oA + 1, tB + 1, oB + 1);
            if (tA == tB) {
                m_e20List += pair;
                e20 = true;
            } else {
                m_e21List += pair;
                e21 = true;
            }
        } else if (edition && best < kWarningSeparation && !(tA == 0 && oA == 0)) {
            m_warningList += FormatPrintf("%d/%d->%d/%d %s%d  ", tA + 1, oA + 1, tB + 1, oB + 1,
                                          "Tol.:", static_cast<int>(100.0 * best));
        }
    });
    m_teachError = e20 ? 20 : e21 ? 21 : 0;
}

double OClass_ConfV12::GetSeparation(int typeA, int orientationA, int typeB, int orientationB,
                                     int feature) {
    const Tables& t = *m_t;
    if (typeA < 0 || typeA >= t.typeCount || typeB < 0 || typeB >= t.typeCount) return -1.0;
    if (orientationA < 0 || orientationA >= t.orientationCount[typeA] || orientationB < 0 ||
        orientationB >= t.orientationCount[typeB])
        return -1.0;
    if (feature < -1 || feature >= kF || feature >= t.featureCount) return -1.0;
    const int first = feature == -1 ? 0 : feature;
    const int end = feature == -1 ? t.featureCount : feature + 1;
    double best = -1.0;
    for (int f = first; f < end; ++f) {
        const int a = Cell(typeA, orientationA, f);
        const int b = Cell(typeB, orientationB, f);
        if (bIsExcluded(t.optionMean[a]) || bIsExcluded(t.optionMean[b])) continue;
        best = std::max(best, dSeparationOnFeature(a, b));
    }
    return best;
}

// --- bands ---

double OClass_ConfV12::W(int c, unsigned k) const {
    return dZRRound(std::fabs(double(m_t->mean[c])) * double(k) * m_t->factor[c] / 100.0);
}

double OClass_ConfV12::U(int c) const {
    return dZRRound(std::fabs(double(m_t->mean[c])) * m_t->factor[c] / 100.0);
}

void OClass_ConfV12::FormToleranceBands() {
    Tables& t = *m_t;
    const bool edition = bIsSpecialEdition(Host().DeviceInfo());
    struct Pair {
        int a, b;  // cells on the separating feature
        int typeA, typeB;
    };
    std::vector<Pair> pairs;
    t.ForEachComparedPair([&](int tA, int oA, int tB, int oB) {
        if (edition && !(tA == 0 && oA == 0)) return;
        const int f = t.separating[iPair(tA, tB, oA, oB)];
        if (f < 0) return;
        pairs.push_back({Cell(tA, oA, f), Cell(tB, oB, f), tA, tB});
    });
    auto overlapping = [&t](const Pair& p) {
        return t.lowerBound[p.a] <= t.upperBound[p.b] && t.lowerBound[p.b] <= t.upperBound[p.a];
    };

    // 1. Full bands.
    for (int type = 0; type < kTypes; ++type) {
        const auto k = static_cast<unsigned>(t.tolerance[type]);
        for (int o = 0; o < kOrientations; ++o) {
            for (int f = 0; f < kF; ++f) {
                const int c = Cell(type, o, f);
                t.upperBound[c] = static_cast<float>(t.maximum[c] + W(c, k));
                t.lowerBound[c] = static_cast<float>(t.minimum[c] - W(c, k));
                t.usedBelow[c] = t.usedAbove[c] = static_cast<uint8_t>(k);
            }
        }
    }

    // 2. Lower both tolerances step by step until the bands part.
    for (const Pair& p : pairs) {
        if (!overlapping(p)) continue;
        int kA = t.tolerance[p.typeA];
        int kB = t.tolerance[p.typeB];
        while (!(kA == 0 && kB == 0)) {
            if (kA > kB) {
                --kA;
            } else if (kB > kA) {
                --kB;
            } else {
                --kA;
                --kB;
            }
            const double wA = W(p.a, static_cast<unsigned>(kA));
            const double wB = W(p.b, static_cast<unsigned>(kB));
            const double upperA = t.maximum[p.a] + wA, upperB = t.maximum[p.b] + wB;
            const double lowerA = t.minimum[p.a] - wA, lowerB = t.minimum[p.b] - wB;
            if (upperA < lowerB) {
                t.upperBound[p.a] = static_cast<float>(std::min<double>(t.upperBound[p.a], upperA));
                break;
            }
            if (upperB < lowerA) {
                t.upperBound[p.b] = static_cast<float>(std::min<double>(t.upperBound[p.b], upperB));
                break;
            }
        }
        t.usedAbove[p.a] = static_cast<uint8_t>(std::min<int>(t.usedAbove[p.a], kA));
        t.usedAbove[p.b] = static_cast<uint8_t>(std::min<int>(t.usedAbove[p.b], kB));
    }

    // 3. The higher class's lower bound up to the other's upper bound, in whole units.
    for (const Pair& p : pairs) {
        if (!overlapping(p)) continue;
        const bool aHigher = t.minimum[p.b] <= t.maximum[p.a];
        const int high = aHigher ? p.a : p.b;
        const int low = aHigher ? p.b : p.a;
        const int q = iWholeUnits(double(t.minimum[high]) - t.upperBound[low], U(high));
        t.lowerBound[high] =
            static_cast<float>(t.minimum[high] - W(high, static_cast<unsigned>(q)));
        t.usedBelow[high] = static_cast<uint8_t>(std::min<int>(t.usedBelow[high], q));
    }

    // 4. Full upper bounds again.
    for (int type = 0; type < kTypes; ++type) {
        const auto k = static_cast<unsigned>(t.tolerance[type]);
        for (int o = 0; o < kOrientations; ++o) {
            for (int f = 0; f < kF; ++f) {
                const int c = Cell(type, o, f);
                t.upperBound[c] = static_cast<float>(t.maximum[c] + W(c, k));
                t.usedAbove[c] = static_cast<uint8_t>(k);
            }
        }
    }

    // 5. The lower class's upper bound up to the other's lower bound, in whole units.
    for (const Pair& p : pairs) {
        if (!overlapping(p)) continue;
        const bool bLower = t.minimum[p.b] <= t.maximum[p.a];
        const int low = bLower ? p.b : p.a;
        const int high = bLower ? p.a : p.b;
        const int q = iWholeUnits(double(t.lowerBound[high]) - t.maximum[low], U(low));
        t.upperBound[low] = static_cast<float>(t.maximum[low] + W(low, static_cast<unsigned>(q)));
        t.usedAbove[low] = static_cast<uint8_t>(std::min<int>(t.usedAbove[low], q));
    }

    // 6. Decision thresholds between orientation 1 and each other orientation.
    std::fill(t.threshold.begin(), t.threshold.end(), 0.0f);
    for (int type = 0; type < kTypes; ++type) {
        for (int o = 1; o < t.orientationCount[type]; ++o) {
            const int f = t.separating[iPair(type, type, 0, o)];
            if (f < 0) continue;
            const int first = Cell(type, 0, f);
            const int other = Cell(type, o, f);
            const double value = t.mean[first] <= t.mean[other]
                                     ? (double(t.upperBound[first]) + t.lowerBound[other]) / 2.0
                                     : (double(t.lowerBound[first]) + t.upperBound[other]) / 2.0;
            t.threshold[iClass(type, o)] = static_cast<float>(value);
        }
    }
}

void OClass_ConfV12::StoreDecisionRanges(OType_ZRPartSet& partSet) {
    const Tables& t = *m_t;
    const bool hasSampleParts = !partSet.TeachParts().bIsEmpty();
    const std::vector<OType_Feature> features = StoredFeatureList(partSet);
    const int n = hasSampleParts ? t.featureCount : std::min(static_cast<int>(features.size()), kF);
    const int types = std::min(partSet.iGetNum_SubTypes(), kTypes);
    for (int type = 0; type < types; ++type) {
        OType_ZRPartSet_SubType& record = *partSet.opGetSubType(type);
        const int orientations = std::min(record.Vectors().iGetNum(), kOrientations);
        for (int o = 0; o < orientations; ++o) {
            OType_VectorArray& vectors = *record.opGetVectorArray(o);
            for (int f = 0; f < n; ++f) {
                const int c = Cell(type, o, f);
                if (OType_Vector* v = vectors.opGetAt(f)) {
                    v->lowerBound = t.lowerBound[c];
                    v->upperBound = t.upperBound[c];
                    continue;
                }
                OType_Vector v;
                if (f < static_cast<int>(features.size())) {
                    v.featureType = features[f].type;
                    v.toolId = features[f].toolId;
                    v.name = features[f].name;
                }
                v.lowerBound = t.lowerBound[c];
                v.upperBound = t.upperBound[c];
                v.option = t.optionMean[c];
                v.factor = t.factor[c];
                vectors.Add(std::move(v));
            }
        }
    }
}

// --- classification ---

void OClass_ConfV12::PrepareClassification() {
    const Tables& t = *m_t;
    OClassifyCache& k = m_cache;
    k.newer = bUsesNewerClassifyRule(Host().DeviceInfo());
    for (int c = 0; c < Tables::kCells; ++c) {
        const double m = t.mean[c];
        k.mean[c] = m;
        k.above[c] = double(t.upperBound[c]) - m;
        k.below[c] = m - double(t.lowerBound[c]);
        k.excluded[c] = bIsExcluded(t.optionMean[c]) ? 1 : 0;
    }
}

double OClass_ConfV12::dDeviation(double v, int c) const {
    return dClassDeviation(v, m_cache.mean[c], m_cache.above[c], m_cache.below[c]);
}

void OClass_ConfV12::ClassifyPart(OType_Part& part) {
    PrepareClassification();
    ClassifyPrepared(part);
}

void OClass_ConfV12::ClassifyPrepared(OType_Part& part) {
    Tables& t = *m_t;
    const bool newer = m_cache.newer;
    OType_FeatureArray& features = part.Features();
    const int n = std::min(features.iGetNumOfFeatures(), kF);
    t.featureCount = n;
    double values[kF];
    for (int f = 0; f < n; ++f)
        values[f] = features.At(f).value;
    auto deviation = [this](double v, int c) { return dDeviation(v, c); };

    int bestType = -1, bestOrientation = -1;
    double bestH = kNoClassYet, bestS = kNoClassYet;
    for (int type = 0; type < t.typeCount; ++type) {
        bool stop = false;
        for (int o = 0; o < t.orientationCount[type]; ++o) {
            const int first = Tables::iCellOfClass(iClass(type, o), 0);
            double h = 0.0, s = 0.0;
            bool beaten = false;
            const double* mean = &m_cache.mean[first];
            const double* above = &m_cache.above[first];
            const double* below = &m_cache.below[first];
            const uint8_t* excluded = &m_cache.excluded[first];
            for (int f = 0; f < n; ++f) {
                if (excluded[f]) continue;
                const double u = std::fabs(dClassDeviation(values[f], mean[f], above[f], below[f]));
                h = std::max(h, u);
                s += u;
                // Outside, and its sum (or largest deviation) can only grow: not taken.
                if (h > 1.0 + kClassifyEquality && (newer ? s >= bestS : h >= bestH)) {
                    beaten = true;
                    break;
                }
            }
            if (beaten) continue;
            const bool inside = h <= 1.0 + kClassifyEquality;
            const bool take = newer ? (inside || s < bestS) : (h < bestH);
            if (take) {
                bestType = type;
                bestOrientation = o;
                bestH = h;
                bestS = s;
            }
            if (inside) {
                stop = true;
                break;
            }
        }
        if (stop) break;
    }

    const bool found = bestType >= 0;
    const int type = found ? bestType : 0;
    const int orientation = found ? bestOrientation : 0;
    const bool inside = found && bestH <= 1.0 + kClassifyEquality;
    double first = std::floor(std::min(100.0 * bestH, 999.0));
    if (!inside && first == 100.0) first = 101.0;

    double margin = 0.0;
    if (found && t.orientationCount[type] > 1) {
        const int from = orientation != 0 ? orientation : 1;
        const int to = orientation != 0 ? orientation + 1 : t.orientationCount[type];
        for (int k = from; k < to; ++k) {
            const int f = t.separating[iPair(type, type, 0, k)];
            if (f < 0 || f >= n) continue;
            const int c1 = Cell(type, 0, f);
            const int ck = Cell(type, k, f);
            const double width = std::max(double(t.upperBound[ck]) - t.lowerBound[ck],
                                          double(t.upperBound[c1]) - t.lowerBound[c1]);
            const double distance = std::fabs(values[f] - t.threshold[iClass(type, k)]);
            margin = std::max(margin, dMarginValue(dZRRound(25.0 * width / distance)));
        }
    }

    for (int f = 0; f < n; ++f) {
        OType_Feature& feature = features.At(f);
        const int c = Cell(type, orientation, f);
        feature.factor = t.factor[c];
        feature.deviation = found ? 100.0 * deviation(values[f], c) : 0.0;
        feature.option =
            FeatureOption::WithValue(feature.option, bIsExcluded(t.optionMean[c]) ? 1 : 0);
    }
    part.SetType(type + 1);
    part.SetOrientation(orientation + 1);
    part.SetResultValue(0, first);
    part.SetResultValue(1, margin);
    part.SetResultValue(2, inside ? 1.0 : 0.0);
    part.SetTolerance(t.tolerance[type]);
}

void OClass_ConfV12::EvaluateTestParts(OType_ZRPartSet& partSet, int /*flag*/) {
    ReloadTeachData(partSet);
    m_teachError = 0;
    FindSeparatingFeatures();
    FormToleranceBands();
    Host().SetModifiedFlag();
    StoreDecisionRanges(partSet);
    OType_PartArray& test = partSet.TestParts();
    PrepareClassification();
    for (int i = 0; i < test.iGetSize(); ++i)
        ClassifyPrepared(*test.GetAt(i));
    Host().RedrawTeachDataView();
}

// --- edits ---

void OClass_ConfV12::SetTypeTolerance(OType_ZRPartSet& partSet, int type, int tolerance) {
    const int k = std::clamp(tolerance, 0, OType_ZRPartSet_SubType::kMaxTolerance);
    if (OType_ZRPartSet_SubType* record = partSet.opGetSubType(type)) record->SetTolerance(k);
    if (type >= 0 && type < kTypes) m_t->tolerance[type] = k;
}

void OClass_ConfV12::ClearType(int type) {
    if (type < 0 || type >= kTypes) return;
    Tables& t = *m_t;
    t.orientationCount[type] = 0;
    t.hasData[type] = 0;
    for (int o = 0; o < kOrientations; ++o) {
        t.partCount[iClass(type, o)] = 0;
        for (int f = 0; f < kF; ++f) {
            const int c = Cell(type, o, f);
            t.minimum[c] = t.mean[c] = t.maximum[c] = 0.0f;
            t.lowerBound[c] = t.upperBound[c] = 0.0f;
        }
    }
}

int OClass_ConfV12::AddAccuracyOrientations(int feature, double a, double b, double c, double d,
                                            double e, double f) {
    OType_ZRPartSet* partSet = Host().opGetActualPartSet();
    if (!partSet || feature < 0 || feature >= kF) return 0;
    Tables& t = *m_t;
    const int g = t.orientationCount[0];
    const int deviceOrientations = std::min(Host().iGetDeviceOrientationCount(), kOrientations);
    // Type 1 needs Teach-Data of its own to copy; the two new classes must fit.
    if (g == 0 || g + 1 >= deviceOrientations) return 0;
    if (!Host().ProjectProperties().useOrientation) return 0;

    for (int o : {g, g + 1}) {
        for (int j = 0; j < kF; ++j) {
            const int from = Cell(0, 0, j);
            const int to = Cell(0, o, j);
            t.minimum[to] = t.minimum[from];
            t.mean[to] = t.mean[from];
            t.maximum[to] = t.maximum[from];
            t.lowerBound[to] = t.lowerBound[from];
            t.upperBound[to] = t.upperBound[from];
            t.usedBelow[to] = t.usedBelow[from];
            t.usedAbove[to] = t.usedAbove[from];
            t.factor[to] = t.factor[from];
            t.optionMinimum[to] = t.optionMean[to] = t.optionMaximum[to] = 2;
        }
    }
    t.orientationCount[0] = g + 2;
    for (int o = 0; o < g + 2; ++o) {
        const int cell = Cell(0, o, feature);
        t.factor[cell] = 0.0;
        t.optionMinimum[cell] = t.optionMean[cell] = t.optionMaximum[cell] = 2;
    }
    const auto setRange = [&t](int cell, double low, double high) {
        t.minimum[cell] = static_cast<float>(low);
        t.mean[cell] = static_cast<float>((low + high) / 2.0);
        t.maximum[cell] = static_cast<float>(high);
    };
    setRange(Cell(0, 0, feature), a, b);
    setRange(Cell(0, g, feature), c, d);
    setRange(Cell(0, g + 1, feature), e, f);
    t.partCount[iClass(0, g)] = 1;
    t.partCount[iClass(0, g + 1)] = 1;

    OType_PartArray& teach = partSet->TeachParts();
    const OType_Part* source = nullptr;
    for (int i = 0; i < teach.iGetSize() && !source; ++i) {
        const OType_Part* part = teach.GetAt(i);
        if (part->iGetType() == 1 && part->iGetOrientation() == 1) source = part;
    }
    if (source) {
        const OType_Part original = *source;
        for (int o : {g, g + 1}) {
            auto copy = std::make_unique<OType_Part>(original);
            copy->SetOrientation(o + 1);
            OType_FeatureArray& features = copy->Features();
            for (int j = 0; j < features.iGetNumOfFeatures(); ++j) {
                OType_Feature& feat = features.At(j);
                if (j < kF) feat.value = t.mean[Cell(0, o, j)];
                feat.option |= FeatureOption::kKeepValue;
            }
            OType_Part* added = teach.Add(std::move(copy));
            added->SetRecordNo(teach.iGetSize());
        }
    }
    StoreStatistics(*partSet);
    Host().RecomputeProject();
    Host().SetModifiedFlag();
    Host().UpdateAllViews();
    return 1;
}
