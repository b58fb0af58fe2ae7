// The optimising wizard as a modal dialog of the document: the two-page sheet, the part
// contour view whose tool search the settings page starts, the classifier the evaluation page
// reads and the clock the search measures its budget with.
//
// The window runs a started search in a worker (RunSearch) while the user-interface thread
// stays free, then finishes it on the user-interface thread (FinishSearch): the page's stop
// button ends the search early and installs what it found; the wizard's Cancel abandons it
// and installs nothing.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "analysis/OOptimizeWizardSheet.h"
#include "extraction/OToolSearchJob.h"
#include "platform/ODialogModel.h"

class Clock;
class OClassifier;
class OExtractor;
class UserInteraction;

class OOptimizeWizardDialog : public ODialogModel {
  public:
    static constexpr const char* kDialogName = "OOptimizeWizardSheet";

    OOptimizeWizardDialog(OExtractor* contourView, OClassifier* classifier, const Clock& clock,
                          UserInteraction& ui);
    ~OOptimizeWizardDialog() override;

    std::string DialogName() const override { return kDialogName; }

    OOptimizeWizardSheet& Sheet() { return m_sheet; }
    OClassifier* opGetClassifier() const { return m_classifier; }

    // The settings page's button. Started: a job waits for RunSearch. Invalid: the range
    // message has been shown.
    OProjectWizardOptiSettings::Press OnSearchButton(std::string& error);
    bool bHasJob() const { return m_job != nullptr; }
    // The search itself; call it in a worker. Safe while the user-interface thread polls
    // Monitor and calls RequestCancel.
    void RunSearch();
    bool bSearchEnded() const { return m_ended.load(); }
    // On the user-interface thread after RunSearch has returned: installs the selected tools
    // unless the search was abandoned; returns how many were installed (-1 when the part set
    // changed meanwhile, 0 when abandoned).
    int FinishSearch();
    // The wizard's Cancel during a search: stops it and marks it abandoned.
    void AbandonSearch();
    bool bAbandoned() const { return m_abandoned; }

    const OToolSearchMonitor& Monitor() const { return m_monitor; }
    const OToolSearchJob* opGetJob() const { return m_job.get(); }
    // What the last finished search installed.
    int iInstalled() const { return m_installed; }

  private:
    OExtractor* m_contourView;
    OClassifier* m_classifier;
    const Clock& m_clock;
    UserInteraction& m_ui;
    OOptimizeWizardSheet m_sheet;
    std::unique_ptr<OToolSearchJob> m_job;
    OToolSearchMonitor m_monitor;
    std::atomic<bool> m_ended{false};
    bool m_abandoned = false;
    int m_installed = 0;
};
