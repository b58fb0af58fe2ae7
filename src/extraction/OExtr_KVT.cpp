#include "extraction/OExtr_KVT.h"

#include <algorithm>
#include <chrono>

#include "extraction/OExtractionSlots.h"
#include "extraction/OExtractorHost.h"
#include "extraction/OKvtViewController.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/OProgressCtrl.h"
#include "platform/OWaitCursor.h"
#include "tools/kvt/KvtToolKinds.h"

namespace {

constexpr int kExtractingStatus = 26100;
// Parts in state 2 need extraction (option 1 extracts only those, unless a tool changed).
constexpr int kStateNeedsExtraction = 2;

// Copies tool k's features from the kept array, starting at `at`; false at the first entry
// that does not belong to the tool or has another feature type.
bool bCopyKept(const OType_ConfigTool& tool, const OType_FeatureArray& kept, int at,
               OType_FeatureArray& features) {
    const int n = tool.iGetNumOfFeatures();
    if (at + n > kept.iGetNumOfFeatures()) return false;
    for (int i = 0; i < n; ++i) {
        const OType_Feature& f = kept.At(at + i);
        if (f.toolId != tool.iGetToolId() || f.type != tool.GetFeatureTypeAt(i)) return false;
    }
    for (int i = 0; i < n; ++i)
        features.Add(kept.At(at + i));
    return true;
}

}  // namespace

OExtr_KVT::OExtr_KVT(OExtractorHost& host) : OExtractor(host) {}

void OExtr_KVT::ResetView() {
    m_view = OKvtViewState();
    ShowImageRegion();
}

void OExtr_KVT::ShowImageRegion() {
    const OKvtShownPicture picture = OKvtViewController::PictureOf(
        Host().opGetActualPartSet(), m_view.shownImage, Host().GetDeviceInfo());
    if (picture.bIsEmpty()) return;
    m_view.rangeLeft = -0.5;
    m_view.rangeTop = -0.5;
    m_view.rangeWidth = picture.width;
    m_view.rangeHeight = picture.height;
}

int OExtr_KVT::iGetWorkerCount() const {
    return m_workerCount > 0 ? m_workerCount : OExtractionSlots::iLogicalProcessors();
}

bool OExtr_KVT::bUsesThreads(const OType_ZRPartSet& partSet) {
    for (const auto& tool : partSet.Tools()) {
        if (KvtToolKind::bIsReaderKind(tool->iGetConfigToolType())) return false;
    }
    return true;
}

void OExtr_KVT::PrepareExtraction(OType_ZRPartSet& partSet) {
    const OType_ConfigToolArray& tools = partSet.Tools();
    const size_t n = static_cast<size_t>(tools.iGetNum());
    std::vector<bool> dirty(n, false);
    m_anyToolModified = false;
    for (size_t k = 0; k < n; ++k) {
        dirty[k] = tools.opGetAt(static_cast<int>(k))->iGetModifiedFlag();
        m_anyToolModified = m_anyToolModified || dirty[k];
    }
    // A tool that reads a changed tool changes too, through any chain of readers.
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t k = 0; k < n; ++k) {
            if (dirty[k]) continue;
            const OType_ConfigTool* tool = tools.opGetAt(static_cast<int>(k));
            for (int feature : tool->GetDirectReferencedFeatures(partSet)) {
                const OType_ConfigTool* read =
                    tools.opGetCFToolAtFeature(feature, partSet.iGetFixedFeatures());
                const int pos = tools.iGetPos(read);
                if (pos >= 0 && dirty[static_cast<size_t>(pos)]) {
                    dirty[k] = changed = true;
                    break;
                }
            }
        }
    }
    m_reusable.assign(n, false);
    for (size_t k = 0; k < n; ++k) {
        m_reusable[k] = !dirty[k] && tools.opGetAt(static_cast<int>(k))->iGetConfigToolType() !=
                                         KvtToolKind::kIOAccess;
    }
}

void OExtr_KVT::PrepareTestExtraction(OType_ZRPartSet& partSet) {
    PrepareExtraction(partSet);
}

void OExtr_KVT::ExtractTeachParts(OType_ZRPartSet& partSet, int option) {
    if (partSet.TeachParts().bIsEmpty()) return;
    PrepareExtraction(partSet);
    ExtractList(partSet, partSet.TeachParts(), true, option);
    FinishTeachExtraction(partSet);
}

void OExtr_KVT::ExtractTestParts(OType_ZRPartSet& partSet, int option) {
    if (partSet.TestParts().bIsEmpty()) return;
    PrepareTestExtraction(partSet);
    ExtractList(partSet, partSet.TestParts(), false, option);
    FinishTestExtraction(partSet);
}

void OExtr_KVT::ExtractList(OType_ZRPartSet& partSet, OType_PartArray& list, bool teach,
                            int option) {
    OWaitCursor wait(Host().GetUserInteraction());
    m_runFlags = 0;
    OProgressCtrl* progress = Host().opGetProgress();
    if (progress) {
        progress->Start();
        progress->Length(list.iGetSize());
        progress->SetStatusText(ResStr(kExtractingStatus));
    }
    // More slots than parts would only start idle threads.
    const int workers = bUsesThreads(partSet) ? std::min(iGetWorkerCount(), list.iGetSize()) : 1;
    const auto extract = [&, teach](OType_Part& part) {
        ExtractPart(partSet, part, teach);
        if (progress) progress->Increase(1);
    };
    {
        // One worker runs on the calling thread: no slots.
        std::unique_ptr<OExtractionSlots> slots;
        if (workers > 1) slots = std::make_unique<OExtractionSlots>(workers);
        for (int i = 0; i < list.iGetSize(); ++i) {
            OType_Part& part = *list.GetAt_NoSort(i);
            if (option == 1 && part.iGetState() != kStateNeedsExtraction && !m_anyToolModified) {
                if (progress) progress->Increase(1);
                continue;
            }
            if (!slots || !slots->bStart([&extract, &part] { extract(part); }, m_wait)) {
                if (slots) m_runFlags |= ExtractionError::kToolBusy;
                extract(part);
            }
            if (progress) progress->bUpdateDisplayIfDue(std::chrono::steady_clock::now());
        }
        if (slots && !slots->bWaitAll(m_wait)) m_runFlags |= ExtractionError::kToolBusy;
        // The slots are joined here, before the list's parts are read again.
    }
    if (progress) {
        progress->UpdateDisplay();
        progress->End();
    }
    AddExtractionErrorFlags(m_runFlags.load());
    const int features = partSet.Tools().iGetNumOfFeatures();
    for (int t = 0; t < partSet.iGetNum_SubTypes(); ++t)
        partSet.opGetSubType(t)->SetNumFeatures(features);
    const int shown = teach ? partSet.iShowTeachPartGetNo() : partSet.iShowTestPartGetNo();
    if (shown < 0 || shown >= list.iGetSize()) {
        if (teach)
            partSet.iShowTeachPartNo(0);
        else
            partSet.iShowTestPartNo(0);
    }
    Host().RedrawContourView();
}

void OExtr_KVT::ExtractPart(OType_ZRPartSet& partSet, OType_Part& part, bool teach) {
    const OType_ConfigToolArray& tools = partSet.Tools();
    // The previous features are reused only when they have the layout of the tools now,
    // and the part itself has not changed since.
    const OType_FeatureArray kept = std::move(part.Features());
    const bool reuse =
        kept.iGetNumOfFeatures() == tools.iGetNumOfFeatures() && !part.bGetModified();
    OType_FeatureArray& features = part.Features();
    features = OType_FeatureArray();
    part.DataOutputResults().clear();
    const ZRINFO& info = Host().GetDeviceInfo();
    int at = 0;
    for (int k = 0; k < tools.iGetNum(); ++k) {
        OType_ConfigTool& tool = *tools.opGetAt(k);
        const int first = features.iGetNumOfFeatures();
        if (reuse && bMayReuse(static_cast<size_t>(k)) && bCopyKept(tool, kept, at, features)) {
            at += tool.iGetNumOfFeatures();
            continue;
        }
        at += tool.iGetNumOfFeatures();
        features.RemoveFrom(first);
        const bool shared = tool.bExtractsConcurrently();
        if (!(shared ? tool.bTryLockShared(m_wait) : tool.bTryLock(m_wait))) {
            m_runFlags |= ExtractionError::kToolBusy;
            continue;
        }
        try {
            const int result =
                teach ? tool.iExtractObject_Teach(partSet, info, part, features, 0, nullptr, 0, {})
                      : tool.iExtractObject_Test(partSet, info, part, features, 0, nullptr, 0, {});
            if (result & kToolResultConditionBit) m_runFlags |= ExtractionError::kToolCondition;
        } catch (...) {
            // The tool's features stay as far as it got; the part goes on.
        }
        if (shared)
            tool.UnlockShared();
        else
            tool.Unlock();
    }
    features.SetModified(false);
}
