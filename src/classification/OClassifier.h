// The classifier of a device family: holds the working tables of the Teach-Data
// computation, computes Teach-Data from the sample parts, classifies test parts and
// answers the teach error and separation values. The document owns one for as long as the
// project is open; the teach-data window in classification/ui draws it.
//
// The first ten virtual operations are the classifier's slots, in their fixed order. The
// functions after them give the teach-data view, the evaluation list and the command-line
// tool read access to the working tables, and let the view's commands run single steps of
// the computation.
#pragma once

#include <string>
#include <vector>

#include "classification/OEvaluationRow.h"

class OClassifierHost;
class OType_ZRPartSet;

// One cell of the working tables: a class (type, orientation) and a feature.
struct OClassCell {
    double minimum = 0.0;  // during accumulation: unchanged; the mean cell holds the sum
    double mean = 0.0;
    double maximum = 0.0;
    double lowerBound = 0.0;
    double upperBound = 0.0;
    int usedToleranceBelow = 0;
    int usedToleranceAbove = 0;
    int optionMinimum = 0;
    int optionMean = 0;
    int optionMaximum = 0;
    double factor = 1.0;
    // Family 2 only.
    int validCount = 0;
    int state = 9;
    bool textFeature = false;
    std::string classText;
};

class OClassifier {
  public:
    explicit OClassifier(OClassifierHost& host) : m_host(host) {}
    OClassifier(const OClassifier&) = delete;
    OClassifier& operator=(const OClassifier&) = delete;
    virtual ~OClassifier() = default;

    // --- the slots ---
    // Separation of class A from class B (0-based type and orientation) on a feature, or the
    // largest over all usable features for feature -1; -1 when invalid or not separated.
    virtual double GetSeparation(int /*typeA*/, int /*orientationA*/, int /*typeB*/,
                                 int /*orientationB*/, int /*feature*/) {
        return 0.0;
    }
    // 20 (orientations of one type cannot be separated), 21 (types cannot) or 0.
    virtual int GetTeachError() { return 0; }
    virtual void TeachFromParts(OType_ZRPartSet& /*partSet*/) {}
    virtual void EvaluateTestParts(OType_ZRPartSet& /*partSet*/, int /*flag*/) {}
    virtual void PrepareTeach(OType_ZRPartSet& /*partSet*/) {}
    virtual void ReloadTeachData(OType_ZRPartSet& /*partSet*/) {}
    virtual void Reserved1(int /*value*/) {}
    virtual void Reserved2(int /*value*/) {}
    virtual void PrintTeachData() {}
    // Used by the accuracy evaluation; 1 done, 0 refused.
    virtual int AddAccuracyOrientations(int /*feature*/, double /*a*/, double /*b*/, double /*c*/,
                                        double /*d*/, double /*e*/, double /*f*/) {
        return 0;
    }

    // --- evaluation list of the host's part set ---
    // Fills rows (emptied first); leaves them untouched when the host has no part set or no
    // shown part type.
    void BuildEvaluationList(std::vector<OEvaluationRow>& rows);

    // --- read access to the working tables ---
    // 1 or 2.
    virtual int iGetFamily() const { return 0; }
    // Table limits: types, orientations per type, features per class.
    virtual int iGetMaxTypes() const { return 0; }
    virtual int iGetMaxOrientations() const { return 0; }
    virtual int iGetMaxFeatures() const { return 0; }
    virtual int iGetTypeCount() const { return 0; }
    virtual int iGetFeatureCount() const { return 0; }
    virtual int iGetOrientationCount(int /*type*/) const { return 0; }
    virtual int iGetTolerance(int /*type*/) const { return 0; }
    virtual int iGetPartCount(int /*type*/, int /*orientation*/) const { return 0; }
    virtual bool bTypeHasData(int /*type*/) const { return false; }
    virtual bool bTypeHasSampleParts(int /*type*/) const { return false; }
    // False for indexes outside the tables.
    virtual bool bGetCell(int /*type*/, int /*orientation*/, int /*feature*/,
                          OClassCell& /*cell*/) const {
        return false;
    }
    virtual int iGetSeparatingFeature(int /*typeA*/, int /*orientationA*/, int /*typeB*/,
                                      int /*orientationB*/) const {
        return -1;
    }
    // Threshold between orientation 1 and orientation index `orientation` (1..7).
    virtual double dGetDecisionThreshold(int /*type*/, int /*orientation*/) const { return 0.0; }
    // The teach error as last computed (GetTeachError answers only 20 and 21).
    int iGetTeachErrorCode() const { return m_teachError; }
    // The unseparable pairs and (family 1 special edition only) the narrow ones.
    const std::string& GetE20List() const { return m_e20List; }
    const std::string& GetE21List() const { return m_e21List; }
    const std::string& GetWarningList() const { return m_warningList; }

    // --- single steps, run by the teach-data view's commands in their own order ---
    virtual void LoadTeachData(OType_ZRPartSet& /*partSet*/) {}
    virtual void StoreStatistics(OType_ZRPartSet& /*partSet*/) {}
    virtual void FindSeparatingFeatures() {}
    virtual void FormToleranceBands() {}
    virtual void StoreDecisionRanges(OType_ZRPartSet& /*partSet*/) {}
    // Sets the tolerance of a type in the tables and in its part type record.
    virtual void SetTypeTolerance(OType_ZRPartSet& /*partSet*/, int /*type*/, int /*tolerance*/) {}
    // Clears a type in the tables: no orientations, no data, counts and statistics 0.
    virtual void ClearType(int /*type*/) {}
    void ClearTeachError() { m_teachError = 0; }

    OClassifierHost& Host() const { return m_host; }

  protected:
    // Rows a family adds right after "Used tools: %d".
    virtual void AddFamilyEvaluationRows(const OType_ZRPartSet& /*partSet*/,
                                         std::vector<OEvaluationRow>& /*rows*/) {}

    int m_teachError = 0;
    std::string m_e20List;
    std::string m_e21List;
    std::string m_warningList;

  private:
    OClassifierHost& m_host;
};
