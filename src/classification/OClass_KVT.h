// The classifier of device family 2 (camera systems): the family-1 computation for up to
// 256 features per class in double precision without decimal rounding, with features that
// are valid for some parts only (class states) and text features (class texts).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "classification/OClassTables.h"
#include "classification/OClassifier.h"

class OType_Part;
struct OType_Feature;

// Validity states of a feature in a class.
namespace ClassState {
inline constexpr uint8_t kInvalid = 8;  // a part delivered the feature as invalid
inline constexpr uint8_t kValid = 9;
inline bool bIsPlainValid(uint8_t state) {
    return state == 9 || state == 11;
}
// States that keep the feature out of bands, deviations and learning values.
inline bool bIsOutOfBands(uint8_t state) {
    return state == 13 || state == 15;
}
// The state as the vectors store it (valid 1, invalid 0, any other code unchanged) and back.
inline uint8_t iStored(uint8_t state) {
    return state == kValid ? 1 : state == kInvalid ? 0 : state;
}
inline uint8_t iLoaded(uint8_t stored) {
    return stored == 1 ? kValid : stored == 0 ? kInvalid : stored;
}
}  // namespace ClassState

class OClass_KVT : public OClassifier {
  public:
    static constexpr int kMaxTypes = ClassTables::kTypes;
    static constexpr int kMaxOrientations = ClassTables::kOrientations;
    static constexpr int kMaxFeatures = 256;

    struct Tables : OClassTables<double, kMaxFeatures> {
        std::vector<int> validCount = std::vector<int>(kCells, 0);
        std::vector<std::string> classText = std::vector<std::string>(kCells);
        std::vector<uint8_t> textFeature = std::vector<uint8_t>(kMaxFeatures, 0);
        std::vector<uint8_t> state = std::vector<uint8_t>(kCells, ClassState::kValid);
    };

    explicit OClass_KVT(OClassifierHost& host);
    ~OClass_KVT() override;

    double GetSeparation(int typeA, int orientationA, int typeB, int orientationB,
                         int feature) override;
    int GetTeachError() override;
    void TeachFromParts(OType_ZRPartSet& partSet) override;
    void EvaluateTestParts(OType_ZRPartSet& partSet, int flag) override;
    void PrepareTeach(OType_ZRPartSet& partSet) override;
    void ReloadTeachData(OType_ZRPartSet& partSet) override;
    int AddAccuracyOrientations(int feature, double a, double b, double c, double d, double e,
                                double f) override;

    int iGetFamily() const override { return 2; }
    int iGetMaxTypes() const override { return kMaxTypes; }
    int iGetMaxOrientations() const override { return kMaxOrientations; }
    int iGetMaxFeatures() const override { return kMaxFeatures; }
    int iGetTypeCount() const override { return m_t->typeCount; }
    int iGetFeatureCount() const override { return m_t->featureCount; }
    int iGetOrientationCount(int type) const override;
    int iGetTolerance(int type) const override;
    int iGetPartCount(int type, int orientation) const override;
    bool bTypeHasData(int type) const override;
    bool bTypeHasSampleParts(int type) const override;
    bool bGetCell(int type, int orientation, int feature, OClassCell& cell) const override;
    int iGetSeparatingFeature(int typeA, int orientationA, int typeB,
                              int orientationB) const override;
    double dGetDecisionThreshold(int type, int orientation) const override;

    void LoadTeachData(OType_ZRPartSet& partSet) override;
    void StoreStatistics(OType_ZRPartSet& partSet) override;
    void FindSeparatingFeatures() override;
    void FormToleranceBands() override;
    void StoreDecisionRanges(OType_ZRPartSet& partSet) override;
    void SetTypeTolerance(OType_ZRPartSet& partSet, int type, int tolerance) override;
    void ClearType(int type) override;

    // The remaining named steps, public for tests.
    bool bPrepareTeach(OType_ZRPartSet& partSet);
    void UnifyFeatureFactors();
    void AccumulatePart(OType_ZRPartSet& partSet, OType_Part& part);
    void ComputePartDeviations(OType_Part& part) const;
    // firstTestPart: the part whose results go to a running test-case task.
    void ClassifyPart(OType_Part& part, bool firstTestPart);

    const Tables& GetTables() const { return *m_t; }

  protected:
    void AddFamilyEvaluationRows(const OType_ZRPartSet& partSet,
                                 std::vector<OEvaluationRow>& rows) override;

  private:
    bool bIsValidClass(int type, int orientation) const;
    // Separation of two cells of feature f; -2 when the feature takes no part.
    double dSeparationOnFeature(int cellA, int cellB, int feature) const;
    bool bTakesPartInBands(int cell, int feature) const;
    void ClearStatistics(int cell);
    void ClearClassesWithoutArray(int type, int firstOrientation);
    double dDeviation(const OType_Feature& feature, int cell, int f) const;
    double dNumericDeviation(double v, int cell) const;

    std::unique_ptr<Tables> m_t;
    std::vector<double> m_values = std::vector<double>(kMaxFeatures, 0.0);
    std::vector<uint8_t> m_numeric = std::vector<uint8_t>(kMaxFeatures, 0);
};
