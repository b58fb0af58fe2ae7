// The classifier of a device family: holds the working tables of the Teach-Data
// computation, computes Teach-Data from the sample parts, classifies test parts and
// answers the teach error and separation values. The document owns one for as long as the
// project is open; the teach-data window in classification/ui draws it.
#pragma once

class OClassifierHost;
class OType_ZRPartSet;

class OClassifier {
public:
    explicit OClassifier(OClassifierHost& host) : m_host(host) {}
    OClassifier(const OClassifier&) = delete;
    OClassifier& operator=(const OClassifier&) = delete;
    virtual ~OClassifier() = default;

    // Separation of class A from class B (0-based type and orientation) on a feature, or the
    // largest over all usable features for feature -1; -1 when invalid or not separated.
    virtual double GetSeparation(int /*typeA*/, int /*orientationA*/, int /*typeB*/, int /*orientationB*/,
                                 int /*feature*/) {
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
    virtual int AddAccuracyOrientations(int /*feature*/, double /*a*/, double /*b*/, double /*c*/, double /*d*/,
                                        double /*e*/, double /*f*/) {
        return 0;
    }

protected:
    OClassifierHost& Host() const { return m_host; }

private:
    OClassifierHost& m_host;
};
