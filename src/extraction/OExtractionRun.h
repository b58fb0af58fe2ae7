// The extraction run: brings the feature arrays of all teach and test parts of a part set
// up to date after any change (the document's Recompute and RecomputeAll delegate here).
// It enforces the part limit, switches the coordinate transformation, brackets the tools
// and data outputs, lets the contour view's engine extract and the classifier teach and
// evaluate, and re-sorts the lists keeping the shown part.
#pragma once

class ORecomputeHost;
class OType_PartArray;
class OType_ZRPartSet;

class OExtractionRun {
  public:
    explicit OExtractionRun(ORecomputeHost& host) : m_host(host) {}

    // Returns 1 when the run went through, 0 when it did nothing (no part set or session,
    // a run already going on) or stopped at an extraction error.
    int Recompute(OType_ZRPartSet* partSet, int toolsChanged, int testOnly, int resortTeach,
                  int resortTest, int option);
    // The part limit over all part sets, then Recompute for every other part set and last
    // for the actual one. Returns 1 when every run went through.
    int RecomputeAll(int toolsChanged, int testOnly, int resortTeach, int resortTest, int option);

    // The process-wide re-entrance guard.
    static bool bIsRunning() { return s_running; }

  private:
    bool bEnforceLimit(OType_ZRPartSet& partSet);
    bool bSwitchCoordTrans(OType_ZRPartSet& partSet);
    void MarkNotForQuality(OType_ZRPartSet& partSet);
    void RegisterDataOutputs(OType_ZRPartSet& partSet);
    void Finalize(OType_ZRPartSet& partSet);
    static void Resort(OType_ZRPartSet& partSet, bool teach);

    ORecomputeHost& m_host;
    static inline bool s_running = false;
};
