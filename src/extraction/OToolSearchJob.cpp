#include "extraction/OToolSearchJob.h"

#include <algorithm>

#include "extraction/OExtractorHost.h"
#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/CodePage.h"
#include "platform/Clock.h"
#include "platform/OProgressCtrl.h"
#include "platform/ParallelFor.h"
#include "platform/UserInteraction.h"
#include "tools/ContourToolTypes.h"
#include "tools/OType_ConfigTool_Contour.h"

namespace {

constexpr int kPartContourView = 32860;
constexpr int kMaxThreads = 2;

}  // namespace

const char* OToolSearchJob::NoFreeSlotText() {
    return "It is not possible to add further tools.\nEventually delete existing tools and "
           "repeat this process.";
}

std::unique_ptr<OToolSearchJob> OToolSearchJob::opStart(OExtractorHost& host,
                                                        OType_ZRPartSet& partSet,
                                                        const OToolSearchRequest& request,
                                                        const std::atomic<int>& cancel) {
    const int freeSlots =
        host.GetDeviceInfo().iGetToolCapacity() - partSet.Tools().iGetNumOfFeatures();
    if (freeSlots < 1) {
        host.GetUserInteraction().Message(NoFreeSlotText(), MsgIcon::Warning);
        return nullptr;
    }
    std::unique_ptr<OToolSearchJob> job(new OToolSearchJob(host, partSet, cancel));
    job->m_freeSlots = freeSlots;

    OToolSearchInput input;
    input.rules.usesOrientations = host.bUsesOrientations();
    input.rules.usesTypes = host.bUsesTypes();
    input.rules.compareTypes = request.compareTypes != 0;
    input.rules.includeUnassigned = request.includeUnassigned != 0;
    input.maxMinutes = std::max(0.0, request.maxMinutes);
    input.step = static_cast<OSearchStep>(std::clamp(request.stepSize, 0, 2));
    input.allowROI = host.bIsToolAllowed(ContourToolKind::kROI, ContourFeatureType::kRoiArea);
    input.allowVStrip =
        host.bIsToolAllowed(ContourToolKind::kVStrip, ContourFeatureType::kStripArea);
    input.allowCTool =
        host.bIsToolAllowed(ContourToolKind::kCTool, ContourFeatureType::kContourArea);
    input.freeSlots = freeSlots;
    input.threads = request.threads > 0 ? request.threads : iUsableThreads(kMaxThreads);
    const OType_PartArray& teach = partSet.TeachParts();
    input.parts.reserve(static_cast<size_t>(teach.iGetSize()));
    for (int i = 0; i < teach.iGetSize(); ++i) {
        const OType_Part& part = *teach.GetAt_NoSort(i);
        if (part.iGetConturDataSize() < 2) continue;
        input.parts.push_back({{part.Contour().begin(), part.Contour().end()},
                               part.iGetOrientation(),
                               part.iGetType()});
    }
    job->m_search = std::make_unique<OToolSearch>(std::move(input));
    return job;
}

void OToolSearchJob::Run(OToolSearchObserver& observer, const Clock& clock) {
    m_search->Run(observer, m_cancel, clock);
}

int OToolSearchJob::Install(OToolSearchObserver* observer) {
    m_installed.clear();
    if (m_host.opGetActualPartSet() != &m_partSet) return -1;
    const std::vector<OSelectedTool>& selected = m_search->Selected();
    const size_t count = std::min(selected.size(), static_cast<size_t>(m_freeSlots));
    for (size_t i = 0; i < count; ++i) {
        const OSearchCandidateSpec& spec = selected[i].spec;
        if (!m_host.bIsToolAllowed(spec.kind, spec.subKind)) continue;
        OType_ConfigTool* tool = m_host.opAddTool(m_partSet, spec.kind, spec.subKind);
        auto* contour = dynamic_cast<OType_ConfigTool_Contour*>(tool);
        if (!contour) continue;
        contour->SetName(Cp1252ToUtf8(Utf8ToCp1252(selected[i].name)));
        contour->SetFeatureType(spec.subKind);
        contour->SetPlacementMode(spec.mode);
        contour->SetRegion(spec.region);
        contour->SetModifiedFlag(true);
        m_installed.push_back({contour->iGetToolId(), spec.kind, spec.subKind, spec.mode,
                               spec.region, contour->GetName()});
    }
    if (observer) {
        observer->SetRange(0, 100);
        observer->SetPosition(100);
    }
    if (m_installed.empty()) return 0;
    m_partSet.UndoRedo().bStoreUndoData(m_partSet, "UNDO:Tool search",
                                        "UNDO:Added the tools found by the tool search ...",
                                        kPartContourView);
    m_host.SetModified();
    m_host.Recompute(m_partSet, 1, 0, 1, 1, 0);
    m_host.UpdateAllViews();
    return static_cast<int>(m_installed.size());
}

void OToolSearchMonitor::SetRange(int low, int high) {
    std::lock_guard lock(m_mutex);
    m_state.low = low;
    m_state.high = high;
    m_state.position = low;
}

void OToolSearchMonitor::SetPosition(int position) {
    std::lock_guard lock(m_mutex);
    m_state.position = position;
}

void OToolSearchMonitor::SetStatus(const std::string& text) {
    std::lock_guard lock(m_mutex);
    m_state.status = text;
}

OToolSearchMonitor::OState OToolSearchMonitor::State() const {
    std::lock_guard lock(m_mutex);
    return m_state;
}

void OToolSearchProgress::SetRange(int low, int high) {
    m_low = low;
    if (!m_progress) return;
    m_progress->Start();
    m_progress->Length(high - low);
}

void OToolSearchProgress::SetPosition(int position) {
    if (m_progress) m_progress->Increase(position - m_low - m_progress->iPosition());
}

void OToolSearchProgress::SetStatus(const std::string& text) {
    if (m_statusText) *m_statusText = text;
    if (m_progress) m_progress->SetStatusText(text);
}

void OToolSearchProgress::Pump() {
    if (m_progress) m_progress->bUpdateDisplayIfDue(m_clock.Now());
}
