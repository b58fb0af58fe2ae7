// The page "Settings for Optimizing" without its window: the time limit and step size of the
// automatic tool search, the one button that starts and stops it, the status line and the
// wizard buttons it offers. The project wizard and the optimising wizard both use it.
//
// A window drives it like this: the button calls OnButton; when that hands out a job, the
// window runs the job's Run in a worker (showing an OToolSearchMonitor on the page's progress
// bar and status line), calls the job's Install on the user-interface thread when the worker
// has ended and then OnSearchFinished. Pressing the button again meanwhile cancels the search
// (OnButton answers Cancelled), and so does the sheet's Cancel (OnSheetCancel).
#pragma once

#include <memory>
#include <string>

class OExtractor;
class OToolSearchJob;

class OProjectWizardOptiSettings {
  public:
    static constexpr int kTemplate = 262;
    static constexpr const char* kTitle = "Settings for Optimizing";
    static constexpr const char* kHeading = "The Optimization attempts to improve recognition";
    static constexpr const char* kExplanation =
        "The optimization process will search and install automatically tools to improve the "
        "recognition of the orientations.\nThis process can be specified below. For best "
        "results use 'small' and a long 'Max. Opt. Time'";
    static constexpr const char* kTimeLabel = "Max. Optimization time (approx.):";
    static constexpr const char* kTimeUnit = "min.";
    static constexpr const char* kStepLabel = "Optimization steps:";
    static constexpr const char* kStepNames[3] = {"large", "medium", "small"};
    static constexpr const char* kReadyText =
        "Change the settings, then press 'Start Optimization'.";
    static constexpr const char* kRunningText = "Processing in progress, please wait...";
    static constexpr const char* kFinishedText = "Processing is finished, press 'Next'.";
    static constexpr const char* kStartButton = "> Start Optimization <";
    static constexpr const char* kStopButton = "> Stop Optimization <";
    static constexpr int kMinMinutes = 1;
    static constexpr int kMaxMinutes = 1440;

    // Control ids of the page.
    static constexpr int kTimeEdit = 1283;
    static constexpr int kLargeRadio = 1289;
    static constexpr int kMediumRadio = 1290;
    static constexpr int kSmallRadio = 1291;
    static constexpr int kStatusText = 1214;
    static constexpr int kButton = 1196;
    static constexpr int kProgressBar = 1294;

    explicit OProjectWizardOptiSettings(bool inProjectWizard)
        : m_inProjectWizard(inProjectWizard) {}

    // The fields; inside the project wizard they come from and go back to its sheet.
    int iGetMaxMinutes() const { return m_maxMinutes; }
    void SetMaxMinutes(int minutes) { m_maxMinutes = minutes; }
    int iGetStepSize() const { return m_stepSize; }
    void SetStepSize(int step) { m_stepSize = step < 0 ? 0 : step > 2 ? 2 : step; }
    bool bInProjectWizard() const { return m_inProjectWizard; }

    void OnActivate();
    // The range check of the time field; `error` receives the message.
    bool bValidate(std::string& error) const;

    enum class Press {
        Invalid,    // the fields did not validate (`error` says why)
        Cancelled,  // a running search was asked to stop
        Started,    // `job` holds the search to run
        Finished,   // the search refused to start (no free tool slot): finished at once
        Ignored,    // no part contour view: the button does nothing
    };
    Press OnButton(OExtractor* contourView, std::unique_ptr<OToolSearchJob>& job,
                   std::string& error);
    // After the job was run and installed (or when none was started).
    void OnSearchFinished();
    // The sheet's Cancel: stops a running search first; true when one was running.
    bool OnSheetCancel(OExtractor* contourView);

    // Whether a search started from this page (or its twin in the other wizard) runs.
    static bool bIsSearchRunning();

    const std::string& StatusText() const { return m_status; }
    const std::string& ButtonText() const { return m_buttonText; }
    int iButtons() const { return m_buttons; }
    bool bRunning() const { return m_running; }

  private:
    bool m_inProjectWizard;
    int m_maxMinutes = 3;
    int m_stepSize = 1;
    bool m_running = false;
    std::string m_status = kReadyText;
    std::string m_buttonText = kStartButton;
    int m_buttons = 2;  // Next
};
