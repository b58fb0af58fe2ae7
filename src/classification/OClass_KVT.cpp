#include "classification/OClass_KVT.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "classification/ClassifierSupport.h"
#include "classification/OClassifierHost.h"
#include "classification/ToleranceQuotient.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/strings/FormatPrintf.h"
#include "platform/OWaitCursor.h"
#include "platform/UserInteraction.h"

using namespace ClassTables;
using namespace ClassifierSupport;
using ClassState::bIsOutOfBands;
using ClassState::bIsPlainValid;

namespace {

constexpr int kF = OClass_KVT::kMaxFeatures;
constexpr double kClassifyEquality = 0.000002;
constexpr double kDeviationEquality = 0.0001;
constexpr double kNoClassYet = 3.4e38;
// Separation given to a feature whose state keeps it out of the bands, against a valid class.
constexpr double kOutOfBandsSeparation = 0.2;
// Deviation of a feature the class expects and the part does not deliver (or the reverse).
constexpr double kMismatchDeviation = 9.9999;
constexpr double kNotSeparating = -2.0;
const std::string kAnyText = "*";

int Cell(int type, int orientation, int feature) {
    return OClass_KVT::Tables::iCell(type, orientation, feature);
}

uint32_t WithClassOption(uint32_t word, uint8_t meanOption) {
    const uint32_t value = meanOption == 1 ? 1u : meanOption == 2 ? 2u : 0u;
    return FeatureOption::WithValue(word, value);
}

// Deviation of a text from the class text: 0 when the class accepts it, 1.0i for a first
// difference at position i-1 of equally long texts, else 10.0d for a length difference d
// (negative when the part's text is shorter).
double TextDeviation(const std::string& classText, const std::string& text) {
    if (classText.empty() || classText == kAnyText || classText == text) return 0.0;
    if (classText.size() == text.size()) {
        size_t i = 0;
        while (classText[i] == text[i])
            ++i;
        return 1.0 + static_cast<double>(i + 1) / 100.0;
    }
    const bool shorter = text.size() < classText.size();
    const double d = static_cast<double>(shorter ? classText.size() - text.size()
                                                 : text.size() - classText.size());
    const double u = 10.0 + d / 100.0;
    return shorter ? -u : u;
}

}  // namespace

OClass_KVT::OClass_KVT(OClassifierHost& host)
    : OClassifier(host), m_t(std::make_unique<Tables>()) {}

OClass_KVT::~OClass_KVT() = default;

// --- read access ---

bool OClass_KVT::bIsValidClass(int type, int orientation) const {
    return type >= 0 && type < kTypes && orientation >= 0 && orientation < kOrientations;
}
int OClass_KVT::iGetOrientationCount(int type) const {
    return type >= 0 && type < kTypes ? m_t->orientationCount[type] : 0;
}
int OClass_KVT::iGetTolerance(int type) const {
    return type >= 0 && type < kTypes ? m_t->tolerance[type] : 0;
}
int OClass_KVT::iGetPartCount(int type, int orientation) const {
    return bIsValidClass(type, orientation) ? m_t->partCount[iClass(type, orientation)] : 0;
}
bool OClass_KVT::bTypeHasData(int type) const {
    return type >= 0 && type < kTypes && m_t->hasData[type];
}
bool OClass_KVT::bTypeHasSampleParts(int type) const {
    return type >= 0 && type < kTypes && m_t->hasSampleParts[type];
}

bool OClass_KVT::bGetCell(int type, int orientation, int feature, OClassCell& cell) const {
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
    cell.validCount = t.validCount[c];
    cell.state = t.state[c];
    cell.textFeature = t.textFeature[feature] != 0;
    cell.classText = t.classText[c];
    return true;
}

int OClass_KVT::iGetSeparatingFeature(int typeA, int orientationA, int typeB,
                                      int orientationB) const {
    if (!bIsValidClass(typeA, orientationA) || !bIsValidClass(typeB, orientationB)) return -1;
    return m_t->separating[iPair(typeA, typeB, orientationA, orientationB)];
}

double OClass_KVT::dGetDecisionThreshold(int type, int orientation) const {
    if (!bIsValidClass(type, orientation) || orientation == 0) return 0.0;
    return m_t->threshold[iClass(type, orientation)];
}

int OClass_KVT::GetTeachError() {
    return m_teachError == 20 || m_teachError == 21 ? m_teachError : 0;
}

void OClass_KVT::AddFamilyEvaluationRows(const OType_ZRPartSet& partSet,
                                         std::vector<OEvaluationRow>& rows) {
    OEvaluationRow row;
    row.icon = EvaluationIcon::kInformation;
    row.text = FormatPrintf("Used features: %d", partSet.Tools().iGetNumOfFeatures());
    rows.push_back(std::move(row));
}

// --- loading ---

void OClass_KVT::ClearStatistics(int c) {
    Tables& t = *m_t;
    t.minimum[c] = t.mean[c] = t.maximum[c] = 0.0;
    t.optionMinimum[c] = t.optionMean[c] = t.optionMaximum[c] = 0;
    t.factor[c] = 1.0;
    t.validCount[c] = 0;
    t.classText[c].clear();
    t.state[c] = ClassState::kValid;
}

void OClass_KVT::ClearClassesWithoutArray(int type, int firstOrientation) {
    Tables& t = *m_t;
    for (int o = firstOrientation; o < kOrientations; ++o) {
        t.partCount[iClass(type, o)] = 0;
        for (int f = 0; f < kF; ++f) {
            const int c = Cell(type, o, f);
            t.ClearCell(c);
            t.validCount[c] = 0;
            t.classText[c].clear();
            t.state[c] = ClassState::kValid;
        }
    }
}

void OClass_KVT::LoadTeachData(OType_ZRPartSet& partSet) {
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
                if (v.textFeature) {
                    t.textFeature[f] = 1;
                    t.classText[c] = v.classText;
                    t.minimum[c] = t.mean[c] = t.maximum[c] = 0.0;
                } else {
                    t.classText[c].clear();
                    t.minimum[c] = v.minimum;
                    t.mean[c] = v.mean;
                    t.maximum[c] = v.maximum;
                }
                t.state[c] = ClassState::iLoaded(v.state);
                const auto option = static_cast<uint8_t>(FeatureOption::Value(v.option));
                t.optionMinimum[c] = t.optionMaximum[c] = option;
                t.optionMean[c] = option < 4 ? option : 0;
                t.factor[c] = v.factor;
                t.validCount[c] = 0;
                // A text feature's statistic is its class text.
                if (t.minimum[c] != 0.0 || t.mean[c] != 0.0 || t.maximum[c] != 0.0 || option != 0 ||
                    bIsOutOfBands(t.state[c]) || !t.classText[c].empty())
                    t.hasData[type] = 1;
            }
            for (int f = n; f < kF; ++f) {
                if (t.hasSampleParts[type] || f >= rememberedFeatures || f < toolFirst ||
                    f >= toolEnd)
                    ClearStatistics(Cell(type, o, f));
            }
        }
    }
    UnifyFeatureFactors();
}

void OClass_KVT::UnifyFeatureFactors() {
    Tables& t = *m_t;
    for (int f = 0; f < kF; ++f) {
        bool excluded = false;
        double unified = std::numeric_limits<double>::infinity();
        for (int type = 0; type < kTypes; ++type) {
            if (!t.hasData[type]) continue;
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

bool OClass_KVT::bPrepareTeach(OType_ZRPartSet& partSet) {
    if (Host().iGetFixedFeatureCount() + Host().iGetToolCapacity() > kF) {
        Host().UI().Message(TooManyFeaturesText(kF), MsgIcon::Error);
        return false;
    }
    Tables& t = *m_t;
    // Which features deliver text is learnt anew from the stored vectors and the parts.
    std::fill(t.textFeature.begin(), t.textFeature.end(), 0);
    LoadTeachData(partSet);
    for (int type = 0; type < kTypes; ++type) {
        if (!t.hasSampleParts[type]) continue;
        for (int o = 0; o < kOrientations; ++o) {
            t.partCount[iClass(type, o)] = 0;
            t.orientationCount[type] = 0;
            for (int f = 0; f < kF; ++f) {
                const int c = Cell(type, o, f);
                if (!bIsFixed(t.optionMean[c])) {
                    t.mean[c] = 0.0;
                    t.classText[c].clear();
                }
                if (!bIsFixed(t.optionMinimum[c])) t.minimum[c] = t.lowerBound[c] = kEmptyMinimum;
                if (!bIsFixed(t.optionMaximum[c])) t.maximum[c] = t.upperBound[c] = kEmptyMaximum;
                t.validCount[c] = 0;
                // "Invalid" is learnt from the parts again; other states were set on purpose.
                if (t.state[c] == ClassState::kInvalid) t.state[c] = ClassState::kValid;
            }
            t.ClearSeparatingOf(type, o);
        }
    }
    return true;
}

void OClass_KVT::PrepareTeach(OType_ZRPartSet& partSet) {
    bPrepareTeach(partSet);
}

void OClass_KVT::ReloadTeachData(OType_ZRPartSet& partSet) {
    Tables& t = *m_t;
    std::fill(t.partCount.begin(), t.partCount.end(), 0);
    for (int c = 0; c < Tables::kCells; ++c) {
        t.ResetCellForAccumulation(c);
        t.validCount[c] = 0;
        t.classText[c].clear();
        t.state[c] = ClassState::kValid;
    }
    std::fill(t.textFeature.begin(), t.textFeature.end(), 0);
    t.ClearAllSeparating();
    LoadTeachData(partSet);
}

// --- teaching ---

void OClass_KVT::AccumulatePart(OType_ZRPartSet& partSet, OType_Part& part) {
    Tables& t = *m_t;
    const int type = part.iGetType() - 1;
    const int o = part.iGetOrientation() - 1;
    if (!bIsValidClass(type, o)) return;
    OType_FeatureArray& features = part.Features();
    const int n = std::min(features.iGetNumOfFeatures(), kF);
    t.featureCount = std::max(t.featureCount, n);
    const int cls = iClass(type, o);
    const int count = ++t.partCount[cls];
    t.orientationCount[type] = std::max(t.orientationCount[type], o + 1);
    t.typeCount = std::max(t.typeCount, type + 1);

    for (int f = 0; f < n; ++f) {
        const OType_Feature& feature = features.At(f);
        const int c = Tables::iCellOfClass(cls, f);
        if (feature.bIsText()) t.textFeature[f] = 1;
        if (feature.valid && !bIsFixed(t.optionMean[c])) {
            ++t.validCount[c];
            if (t.textFeature[f]) {
                if (!feature.textValue.empty()) {
                    std::string& text = t.classText[c];
                    if (text.empty()) {
                        text = feature.textValue;
                    } else if (text != feature.textValue) {
                        text = kAnyText;
                    }
                }
            } else {
                const double v = feature.value;
                t.mean[c] += v;
                if (!bIsFixed(t.optionMinimum[c])) t.minimum[c] = std::min(t.minimum[c], v);
                if (!bIsFixed(t.optionMaximum[c])) t.maximum[c] = std::max(t.maximum[c], v);
            }
        }
        if (!feature.valid && t.state[c] == ClassState::kValid) t.state[c] = ClassState::kInvalid;
    }

    part.SetResultValue(0, 1.0);
    part.SetResultValue(1, 1.0);
    double learning = 0.0;
    if (count >= 2) {
        double largest = 0.0;
        for (int f = 0; f < n; ++f) {
            const int c = Tables::iCellOfClass(cls, f);
            if (bIsOutOfBands(t.state[c])) continue;
            double contribution = 0.0;
            if (t.textFeature[f]) {
                contribution = t.classText[c] == kAnyText ? 1.0 : 0.0;
            } else {
                double sum = t.mean[c];
                if (sum == 0.0) sum = 0.01;
                const double range = t.maximum[c] - t.minimum[c];
                contribution = bIsFixed(t.optionMean[c]) ? std::fabs(range) / sum
                                                         : std::fabs(range * t.validCount[c] / sum);
            }
            largest = std::max(largest, std::fabs(contribution));
        }
        learning = std::floor(100.0 * largest);
    }
    part.SetResultValue(2, learning);

    for (int f = 0; f < n; ++f) {
        OType_Feature& feature = features.At(f);
        feature.option =
            WithClassOption(feature.option, t.optionMean[Tables::iCellOfClass(cls, f)]);
    }
    for (const auto& tool : partSet.Tools())
        tool->TeachPart(partSet, part, part.Features());
    for (const auto& output : partSet.DataOutputs())
        output->TeachPart(partSet);
}

void OClass_KVT::TeachFromParts(OType_ZRPartSet& partSet) {
    OWaitCursor wait(Host().UI());
    if (!bPrepareTeach(partSet)) return;
    Tables& t = *m_t;
    const int largestType = iLargestType(Host());
    const int largestOrientation = iLargestOrientation(Host());
    OType_PartArray& teach = partSet.TeachParts();
    for (int i = 0; i < teach.iGetSize(); ++i) {
        OType_Part& part = *teach.GetAt(i);
        CorrectAssignment(part, largestType, largestOrientation);
        if (bHasValidAssignment(part, largestType, largestOrientation))
            AccumulatePart(partSet, part);
    }

    for (int type = 0; type < kTypes; ++type) {
        if (!t.hasSampleParts[type]) continue;
        for (int o = 0; o < kOrientations; ++o) {
            if (t.partCount[iClass(type, o)] == 0) continue;
            for (int f = 0; f < t.featureCount; ++f) {
                const int c = Cell(type, o, f);
                if (t.textFeature[f] || bIsFixed(t.optionMean[c])) continue;
                // No valid value: there is nothing to average.
                t.mean[c] = t.validCount[c] > 0 ? t.mean[c] / t.validCount[c] : 0.0;
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

void OClass_KVT::StoreStatistics(OType_ZRPartSet& partSet) {
    // Without sample parts the stored Teach-Data stays as it is.
    if (partSet.TeachParts().bIsEmpty()) return;
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
                v.state = ClassState::iStored(t.state[c]);
                v.textFeature = t.textFeature[f] != 0;
                if (v.textFeature) v.classText = t.classText[c];
                v.option = FeatureOption::WithValue(features[f].option & ~FeatureOption::kKeepValue,
                                                    t.optionMean[c]);
                v.factor = t.factor[c];
                anyValue = anyValue || v.minimum != 0.0 || v.mean != 0.0 || v.maximum != 0.0 ||
                           bIsOutOfBands(t.state[c]) || !v.classText.empty();
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

void OClass_KVT::ComputePartDeviations(OType_Part& part) const {
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
        double deviation = 0.0;
        if (feature.valid && !t.textFeature[f] && !bIsOutOfBands(t.state[c])) {
            const double v = feature.value;
            const double m = t.mean[c];
            if (std::fabs(v - m) >= kDeviationEquality) {
                if (v > m) {
                    const double divisor = t.maximum[c] - m;
                    deviation = divisor == 0.0 ? 0.0 : (v - m) / divisor;
                } else {
                    const double divisor = m - t.minimum[c];
                    deviation = divisor == 0.0 ? 0.0 : -(m - v) / divisor;
                }
            }
        }
        feature.deviation = 100.0 * deviation;
        feature.factor = t.factor[c];
    }
}

// --- separation ---

double OClass_KVT::dSeparationOnFeature(int a, int b, int f) const {
    const Tables& t = *m_t;
    const uint8_t stateA = t.state[a];
    const uint8_t stateB = t.state[b];
    const bool validA = bIsPlainValid(stateA);
    const bool validB = bIsPlainValid(stateB);
    if (!validA && !validB) return kNotSeparating;
    if (bIsOutOfBands(stateA) || bIsOutOfBands(stateB)) return kOutOfBandsSeparation;
    // A class in which parts delivered the feature as invalid has no range to separate by.
    if (!validA || !validB) return kNotSeparating;
    if (t.textFeature[f]) return -1.0;
    const double d = std::fabs(t.mean[a]) * t.factor[a] + std::fabs(t.mean[b]) * t.factor[b];
    if (t.minimum[a] > t.maximum[b]) return (t.minimum[a] - t.maximum[b]) / d;
    if (t.minimum[b] > t.maximum[a]) return (t.minimum[b] - t.maximum[a]) / d;
    return -1.0;
}

void OClass_KVT::FindSeparatingFeatures() {
    Tables& t = *m_t;
    m_e20List.clear();
    m_e21List.clear();
    m_warningList.clear();
    t.ClearAllSeparating();
    bool e20 = false;
    bool e21 = false;
    t.ForEachComparedPair([&](int tA, int oA, int tB, int oB) {
        double best = -1.0;
        int bestFeature = -1;
        for (int f = 0; f < t.featureCount; ++f) {
            const int a = Cell(tA, oA, f);
            const int b = Cell(tB, oB, f);
            if (bIsExcluded(t.optionMean[a]) || bIsExcluded(t.optionMean[b])) continue;
            const double s = dSeparationOnFeature(a, b, f);
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
        }
    });
    m_teachError = e20 ? 20 : e21 ? 21 : 0;
}

double OClass_KVT::GetSeparation(int typeA, int orientationA, int typeB, int orientationB,
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
        best = std::max(best, dSeparationOnFeature(a, b, f));
    }
    return best;
}

// --- bands ---

bool OClass_KVT::bTakesPartInBands(int c, int f) const {
    return !m_t->textFeature[f] && !bIsOutOfBands(m_t->state[c]);
}

void OClass_KVT::FormToleranceBands() {
    Tables& t = *m_t;
    const auto W = [&t](int c, unsigned k) {
        return std::fabs(t.mean[c]) * double(k) * t.factor[c] / 100.0;
    };
    const auto U = [&t](int c) { return std::fabs(t.mean[c]) * t.factor[c] / 100.0; };
    struct Pair {
        int a, b;
        int typeA, typeB;
    };
    std::vector<Pair> pairs;
    t.ForEachComparedPair([&](int tA, int oA, int tB, int oB) {
        const int f = t.separating[iPair(tA, tB, oA, oB)];
        if (f < 0) return;
        const int a = Cell(tA, oA, f);
        const int b = Cell(tB, oB, f);
        if (!bTakesPartInBands(a, f) || !bTakesPartInBands(b, f)) return;
        pairs.push_back({a, b, tA, tB});
    });
    auto overlapping = [&t](const Pair& p) {
        return t.lowerBound[p.a] <= t.upperBound[p.b] && t.lowerBound[p.b] <= t.upperBound[p.a];
    };

    for (int type = 0; type < kTypes; ++type) {
        const auto k = static_cast<unsigned>(t.tolerance[type]);
        for (int o = 0; o < kOrientations; ++o) {
            for (int f = 0; f < kF; ++f) {
                const int c = Cell(type, o, f);
                t.usedBelow[c] = t.usedAbove[c] = static_cast<uint8_t>(k);
                if (!bTakesPartInBands(c, f)) continue;
                t.upperBound[c] = t.maximum[c] + W(c, k);
                t.lowerBound[c] = t.minimum[c] - W(c, k);
            }
        }
    }

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
                t.upperBound[p.a] = std::min(t.upperBound[p.a], upperA);
                break;
            }
            if (upperB < lowerA) {
                t.upperBound[p.b] = std::min(t.upperBound[p.b], upperB);
                break;
            }
        }
        t.usedAbove[p.a] = static_cast<uint8_t>(std::min<int>(t.usedAbove[p.a], kA));
        t.usedAbove[p.b] = static_cast<uint8_t>(std::min<int>(t.usedAbove[p.b], kB));
    }

    for (const Pair& p : pairs) {
        if (!overlapping(p)) continue;
        const bool aHigher = t.minimum[p.b] <= t.maximum[p.a];
        const int high = aHigher ? p.a : p.b;
        const int low = aHigher ? p.b : p.a;
        const int q = iWholeUnits(t.minimum[high] - t.upperBound[low], U(high));
        t.lowerBound[high] = t.minimum[high] - W(high, static_cast<unsigned>(q));
        t.usedBelow[high] = static_cast<uint8_t>(std::min<int>(t.usedBelow[high], q));
    }

    for (int type = 0; type < kTypes; ++type) {
        const auto k = static_cast<unsigned>(t.tolerance[type]);
        for (int o = 0; o < kOrientations; ++o) {
            for (int f = 0; f < kF; ++f) {
                const int c = Cell(type, o, f);
                t.usedAbove[c] = static_cast<uint8_t>(k);
                if (bTakesPartInBands(c, f)) t.upperBound[c] = t.maximum[c] + W(c, k);
            }
        }
    }

    for (const Pair& p : pairs) {
        if (!overlapping(p)) continue;
        const bool bLower = t.minimum[p.b] <= t.maximum[p.a];
        const int low = bLower ? p.b : p.a;
        const int high = bLower ? p.a : p.b;
        const int q = iWholeUnits(t.lowerBound[high] - t.maximum[low], U(low));
        t.upperBound[low] = t.maximum[low] + W(low, static_cast<unsigned>(q));
        t.usedAbove[low] = static_cast<uint8_t>(std::min<int>(t.usedAbove[low], q));
    }

    std::fill(t.threshold.begin(), t.threshold.end(), 0.0);
    for (int type = 0; type < kTypes; ++type) {
        for (int o = 1; o < t.orientationCount[type]; ++o) {
            const int f = t.separating[iPair(type, type, 0, o)];
            if (f < 0 || t.textFeature[f]) continue;
            const int first = Cell(type, 0, f);
            const int other = Cell(type, o, f);
            double value = 0.0;
            if (bIsOutOfBands(t.state[first])) {
                value = t.mean[other];
            } else if (bIsOutOfBands(t.state[other])) {
                value = t.mean[first];
            } else if (t.mean[first] <= t.mean[other]) {
                value = (t.upperBound[first] + t.lowerBound[other]) / 2.0;
            } else {
                value = (t.lowerBound[first] + t.upperBound[other]) / 2.0;
            }
            t.threshold[iClass(type, o)] = value;
        }
    }
}

void OClass_KVT::StoreDecisionRanges(OType_ZRPartSet& partSet) {
    if (partSet.TeachParts().bIsEmpty()) return;
    const Tables& t = *m_t;
    const std::vector<OType_Feature> features = StoredFeatureList(partSet);
    const int n = t.featureCount;
    const int types = std::min(partSet.iGetNum_SubTypes(), kTypes);
    for (int type = 0; type < types; ++type) {
        OType_ZRPartSet_SubType& record = *partSet.opGetSubType(type);
        const int orientations = std::min(record.Vectors().iGetNum(), kOrientations);
        for (int o = 0; o < orientations; ++o) {
            OType_VectorArray& vectors = *record.opGetVectorArray(o);
            for (int f = 0; f < n; ++f) {
                const int c = Cell(type, o, f);
                OType_Vector* v = vectors.opGetAt(f);
                if (!v) {
                    OType_Vector created;
                    if (f < static_cast<int>(features.size())) {
                        created.featureType = features[f].type;
                        created.toolId = features[f].toolId;
                        created.name = features[f].name;
                    }
                    created.option = t.optionMean[c];
                    created.factor = t.factor[c];
                    created.textFeature = t.textFeature[f] != 0;
                    vectors.Add(std::move(created));
                    v = vectors.opGetAt(vectors.iGetNumOfVectors() - 1);
                }
                v->lowerBound = t.lowerBound[c];
                v->upperBound = t.upperBound[c];
                v->state = ClassState::iStored(t.state[c]);
                if (t.textFeature[f]) v->classText = t.classText[c];
            }
        }
    }
}

// --- classification ---

double OClass_KVT::dDeviation(const OType_Feature& feature, int c, int f) const {
    const Tables& t = *m_t;
    if (!feature.valid) return bIsPlainValid(t.state[c]) ? kMismatchDeviation : 0.0;
    if (bIsOutOfBands(t.state[c])) return kMismatchDeviation;
    if (t.textFeature[f]) return TextDeviation(t.classText[c], feature.textValue);
    return dNumericDeviation(feature.value, c);
}

double OClass_KVT::dNumericDeviation(double v, int c) const {
    const Tables& t = *m_t;
    const double m = t.mean[c];
    if (std::fabs(v - m) < kClassifyEquality) return 0.0;
    if (v > m) {
        const double divisor = t.upperBound[c] - m;
        return divisor == 0.0 ? 1000.0 : (v - m) / divisor;
    }
    const double divisor = m - t.lowerBound[c];
    return divisor == 0.0 ? -1000.0 : -(m - v) / divisor;
}

void OClass_KVT::ClassifyPart(OType_Part& part, bool firstTestPart) {
    Tables& t = *m_t;
    OType_FeatureArray& features = part.Features();
    const int n = std::min(features.iGetNumOfFeatures(), kF);
    t.featureCount = std::max(t.featureCount, n);
    // The part's values in dense arrays; numeric[f]: the plain numeric comparison applies
    // unless the class's state says otherwise.
    for (int f = 0; f < n; ++f) {
        const OType_Feature& feature = features.At(f);
        m_values[f] = feature.value;
        m_numeric[f] = feature.valid && !t.textFeature[f] ? 1 : 0;
    }

    int bestType = -1, bestOrientation = -1;
    double bestH = kNoClassYet, bestS = kNoClassYet;
    if (n > 0) {
        bool stop = false;
        for (int type = 0; type < t.typeCount && !stop; ++type) {
            for (int o = 0; o < t.orientationCount[type]; ++o) {
                const int first = Tables::iCellOfClass(iClass(type, o), 0);
                double h = 0.0, s = 0.0;
                bool beaten = false;
                for (int f = 0; f < n; ++f) {
                    const int c = first + f;
                    if (bIsExcluded(t.optionMean[c])) continue;
                    const double u = std::fabs(m_numeric[f] && !bIsOutOfBands(t.state[c])
                                                   ? dNumericDeviation(m_values[f], c)
                                                   : dDeviation(features.At(f), c, f));
                    h = std::max(h, u);
                    s += u;
                    // Outside, and its sum can only grow: this class is not taken.
                    if (h > 1.0 + kClassifyEquality && s >= bestS) {
                        beaten = true;
                        break;
                    }
                }
                if (beaten) continue;
                const bool inside = h <= 1.0 + kClassifyEquality;
                if (inside || s < bestS) {
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
        }
    }

    OTestCaseClassification result;
    int tolerance = 0;
    if (bestType < 0) {
        // No feature or no class: the first class with the largest deviation.
        result.type = 1;
        result.orientation = 1;
        result.deviation = 999.0;
    } else {
        const int type = bestType;
        const int orientation = bestOrientation;
        result.type = type + 1;
        result.orientation = orientation + 1;
        result.inside = bestH <= 1.0 + kClassifyEquality ? 1 : 0;
        result.deviation = std::min(100.0 * bestH, 999.0);
        tolerance = t.tolerance[type];
        if (t.orientationCount[type] > 1) {
            const int from = orientation != 0 ? orientation : 1;
            const int to = orientation != 0 ? orientation + 1 : t.orientationCount[type];
            for (int k = from; k < to; ++k) {
                const int f = t.separating[iPair(type, type, 0, k)];
                if (f < 0 || f >= n) continue;
                const int c1 = Cell(type, 0, f);
                const int ck = Cell(type, k, f);
                // Bands exist only for features that take part in them.
                if (!bTakesPartInBands(c1, f) || !bTakesPartInBands(ck, f)) continue;
                const double width = std::max(t.upperBound[ck] - t.lowerBound[ck],
                                              t.upperBound[c1] - t.lowerBound[c1]);
                const double distance =
                    std::fabs(features.At(f).value - t.threshold[iClass(type, k)]);
                result.margin = std::max(result.margin, dMarginValue(25.0 * width / distance));
            }
        }
        for (int f = 0; f < n; ++f) {
            OType_Feature& feature = features.At(f);
            const int c = Cell(type, orientation, f);
            feature.factor = t.factor[c];
            feature.deviation = 100.0 * dDeviation(feature, c, f);
            feature.option =
                FeatureOption::WithValue(feature.option, bIsExcluded(t.optionMean[c]) ? 1 : 0);
        }
    }

    if (firstTestPart && Host().bIsTestCaseTaskRunning()) {
        Host().HandOverTestCaseClassification(result);
        return;
    }
    part.SetType(result.type);
    part.SetOrientation(result.orientation);
    part.SetResultValue(0, result.deviation);
    part.SetResultValue(1, result.margin);
    part.SetResultValue(2, result.inside);
    part.SetTolerance(tolerance);
}

void OClass_KVT::EvaluateTestParts(OType_ZRPartSet& partSet, int /*flag*/) {
    ReloadTeachData(partSet);
    m_teachError = 0;
    FindSeparatingFeatures();
    FormToleranceBands();
    Host().SetModifiedFlag();
    StoreDecisionRanges(partSet);
    OType_PartArray& test = partSet.TestParts();
    for (int i = 0; i < test.iGetSize(); ++i)
        ClassifyPart(*test.GetAt(i), i == 0);
    Host().RedrawTeachDataView();
}

// --- edits ---

void OClass_KVT::SetTypeTolerance(OType_ZRPartSet& partSet, int type, int tolerance) {
    const int k = std::clamp(tolerance, 0, OType_ZRPartSet_SubType::kMaxTolerance);
    if (OType_ZRPartSet_SubType* record = partSet.opGetSubType(type)) record->SetTolerance(k);
    if (type >= 0 && type < kTypes) m_t->tolerance[type] = k;
}

void OClass_KVT::ClearType(int type) {
    if (type < 0 || type >= kTypes) return;
    Tables& t = *m_t;
    t.orientationCount[type] = 0;
    t.hasData[type] = 0;
    for (int o = 0; o < kOrientations; ++o) {
        t.partCount[iClass(type, o)] = 0;
        for (int f = 0; f < kF; ++f) {
            const int c = Cell(type, o, f);
            t.minimum[c] = t.mean[c] = t.maximum[c] = 0.0;
            t.lowerBound[c] = t.upperBound[c] = 0.0;
            t.validCount[c] = 0;
            t.classText[c].clear();
            t.state[c] = ClassState::kValid;
        }
    }
}

int OClass_KVT::AddAccuracyOrientations(int feature, double a, double b, double c, double d,
                                        double e, double f) {
    OType_ZRPartSet* partSet = Host().opGetActualPartSet();
    if (!partSet || feature < 0 || feature >= kF) return 0;
    Tables& t = *m_t;
    const int g = t.orientationCount[0];
    const int deviceOrientations = std::min(Host().iGetDeviceOrientationCount(), kOrientations);
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
            t.validCount[to] = t.validCount[from];
            t.classText[to] = t.classText[from];
            t.state[to] = t.state[from];
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
        t.minimum[cell] = low;
        t.mean[cell] = (low + high) / 2.0;
        t.maximum[cell] = high;
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
                if (j < kF && !feat.bIsText()) feat.value = t.mean[Cell(0, o, j)];
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
