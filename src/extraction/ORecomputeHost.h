// What the extraction run (Recompute / RecomputeAll) needs from the document: the session's
// values, the project properties, the part limit, the engines (each made to exist on
// demand, as the document opens their windows), and the user interaction for the wait
// cursor, the part-limit question and the error message.
#pragma once

#include "device/TargetSystem.h"

class OClassifier;
class OExtractor;
class OType_ProjectProperties;
class OType_ZRPartSetArray;
class UserInteraction;
class ZRINFO;

class ORecomputeHost {
  public:
    virtual ~ORecomputeHost() = default;

    // False while the document has no device session; the run then does nothing.
    virtual bool bHasDeviceSession() const = 0;
    virtual const ZRINFO& GetDeviceInfo() const = 0;
    virtual OTargetSystem GetTargetSystem() const = 0;
    virtual const OType_ProjectProperties& GetProjectProperties() const = 0;

    // The session's maximum number of parts per list and what to do when a list holds more:
    // 0 ask, 1 remove the newest, 3 remove the oldest, any other value raise the maximum.
    virtual int iGetMaxPartsPerList() const = 0;
    virtual void SetMaxPartsPerList(int maximum) = 0;
    virtual int iGetPartLimitPolicy() const = 0;

    virtual UserInteraction& GetUserInteraction() = 0;

    // The part contour view's engine, its window opened first when there is none (the
    // document then calls ResetView); nullptr when the window cannot be created (the
    // document has shown "Can't create Frame").
    virtual OExtractor* opEnsureContourView() = 0;
    // The teach-data view's engine, made to exist the same way.
    virtual OClassifier* opEnsureTeachDataView() = 0;

    // The project's part sets, for RecomputeAll; nullptr without a project.
    virtual OType_ZRPartSetArray* opGetPartSets() = 0;
};
