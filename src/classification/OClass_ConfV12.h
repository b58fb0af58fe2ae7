// The classifier of device family 1: statistics, tolerance bands, decision bounds and
// thresholds of up to 16 part types x 8 orientations x 32 features in single precision,
// with the device's decimal rounding (dZRRound) of widths, units, quotients and means.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "classification/OClassTables.h"
#include "classification/OClassifier.h"

class OType_Part;

class OClass_ConfV12 : public OClassifier {
  public:
    static constexpr int kMaxTypes = ClassTables::kTypes;
    static constexpr int kMaxOrientations = ClassTables::kOrientations;
    static constexpr int kMaxFeatures = 32;
    using Tables = OClassTables<float, kMaxFeatures>;

    explicit OClass_ConfV12(OClassifierHost& host);
    ~OClass_ConfV12() override;

    double GetSeparation(int typeA, int orientationA, int typeB, int orientationB,
                         int feature) override;
    int GetTeachError() override;
    void TeachFromParts(OType_ZRPartSet& partSet) override;
    void EvaluateTestParts(OType_ZRPartSet& partSet, int flag) override;
    void PrepareTeach(OType_ZRPartSet& partSet) override;
    void ReloadTeachData(OType_ZRPartSet& partSet) override;
    int AddAccuracyOrientations(int feature, double a, double b, double c, double d, double e,
                                double f) override;

    int iGetFamily() const override { return 1; }
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
    // False (after the message) when the device's feature counts exceed the tables.
    bool bPrepareTeach(OType_ZRPartSet& partSet);
    void UnifyFeatureFactors();
    void AccumulatePart(OType_Part& part);
    void ComputePartDeviations(OType_Part& part) const;
    void ClassifyPart(OType_Part& part);

    const Tables& GetTables() const { return *m_t; }

  private:
    bool bIsValidClass(int type, int orientation) const;
    double dSeparationOnFeature(int cellA, int cellB) const;
    // Tolerance width and unit of a cell.
    double W(int cell, unsigned k) const;
    double U(int cell) const;
    void ClearClassesWithoutArray(int type, int firstOrientation);

    // The deviation divisors of every cell, prepared once before classifying test parts.
    struct OClassifyCache {
        bool newer = true;
        std::vector<double> mean = std::vector<double>(Tables::kCells, 0.0);
        std::vector<double> above = std::vector<double>(Tables::kCells, 0.0);
        std::vector<double> below = std::vector<double>(Tables::kCells, 0.0);
        std::vector<uint8_t> excluded = std::vector<uint8_t>(Tables::kCells, 0);
    };
    void PrepareClassification();
    void ClassifyPrepared(OType_Part& part);
    double dDeviation(double v, int cell) const;

    std::unique_ptr<Tables> m_t;
    OClassifyCache m_cache;
};
