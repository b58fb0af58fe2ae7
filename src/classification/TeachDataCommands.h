// The teach-data view's commands on the host's part set: tolerance changes, deleting and
// renaming the shown part type, its counter, the evaluation dialog and the feature's use for
// the quality decision. Each returns true when it changed or showed something.
#pragma once

#include "platform/CommandState.h"

class OClassifier;
class OClassifierHost;

class OTeachDataCommands {
  public:
    OTeachDataCommands(OClassifier& classifier, OClassifierHost& host)
        : m_classifier(classifier), m_host(host) {}

    // Add tolerance (+1) and decrease tolerance (-1), also the spin control: cyclic in 0..20.
    bool ChangeTolerance(int delta);
    bool AddTolerance() { return ChangeTolerance(+1); }
    bool DecreaseTolerance() { return ChangeTolerance(-1); }
    bool DeletePartType();
    bool EditPartTypeProperties();
    bool SetCounter();
    bool ShowEvaluation();
    bool ToggleFeatureForQuality();
    OCommandState FeatureForQualityState() const;

  private:
    OClassifier& m_classifier;
    OClassifierHost& m_host;
};
