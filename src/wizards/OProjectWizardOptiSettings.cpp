#include "wizards/OProjectWizardOptiSettings.h"

#include <atomic>

#include "extraction/OExtr_Default.h"
#include "extraction/OToolSearchJob.h"
#include "model/strings/FormatPrintf.h"

namespace {

constexpr int kNoButtons = 0;
constexpr int kNext = 2;

std::atomic<bool> g_searchRunning{false};

OExtr_Default* ContourEngine(OExtractor* view) {
    return dynamic_cast<OExtr_Default*>(view);
}

}  // namespace

bool OProjectWizardOptiSettings::bIsSearchRunning() {
    return g_searchRunning.load();
}

void OProjectWizardOptiSettings::OnActivate() {
    m_status = kReadyText;
    m_buttons = kNext;
}

bool OProjectWizardOptiSettings::bValidate(std::string& error) const {
    if (m_maxMinutes >= kMinMinutes && m_maxMinutes <= kMaxMinutes) return true;
    error = FormatPrintf("Please enter an integer between %d and %d.", kMinMinutes, kMaxMinutes);
    return false;
}

OProjectWizardOptiSettings::Press OProjectWizardOptiSettings::OnButton(
    OExtractor* contourView, std::unique_ptr<OToolSearchJob>& job, std::string& error) {
    job.reset();
    OExtr_Default* engine = ContourEngine(contourView);
    if (m_running) {
        if (engine) engine->CancelToolSearch();
        return Press::Cancelled;
    }
    if (!bValidate(error)) return Press::Invalid;
    if (!engine) return Press::Ignored;
    m_running = true;
    g_searchRunning = true;
    m_buttonText = kStopButton;
    m_status = kRunningText;
    m_buttons = kNoButtons;
    job = engine->StartToolSearch({static_cast<double>(m_maxMinutes), m_stepSize, 0, 0, 0});
    if (!job) {
        OnSearchFinished();
        return Press::Finished;
    }
    return Press::Started;
}

void OProjectWizardOptiSettings::OnSearchFinished() {
    m_buttons = kNext;
    m_status = kFinishedText;
    m_buttonText = kStartButton;
    m_running = false;
    g_searchRunning = false;
}

bool OProjectWizardOptiSettings::OnSheetCancel(OExtractor* contourView) {
    if (!m_running) return false;
    if (OExtr_Default* engine = ContourEngine(contourView)) engine->CancelToolSearch();
    return true;
}
