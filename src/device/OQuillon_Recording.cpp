// Recording: which parts the link has received are taken into the project's sample or
// test list (or the log file), under the part limit and its policy; the device's own part
// log is downloaded into the lists or deleted.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <new>

#include "device/OQuillon.h"
#include "link/LinkProtocol.h"
#include "link/OQuillonComInterface.h"
#include "link/OType_ComPackage.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/strings/ResStr.h"
#include "platform/CommandQueue.h"
#include "platform/UserInteraction.h"

namespace {

using LinkProtocol::Result::kOk;

constexpr int kContinueCommand = 35104;

// Process-wide: the part-limit question is on screen. While its message box lets
// notifications through, parts that find their list full are destroyed, not asked about.
std::atomic<bool> gLimitQuestionOpen{false};

bool bSendsContour(int sendMode) {
    return sendMode == 1 || sendMode == 4;
}

enum PartLimitPolicy { kAsk = 0, kDropNew = 1, kRaise = 2, kDropOldest = 3 };

class OQuestionOpen {
  public:
    OQuestionOpen() { gLimitQuestionOpen = true; }
    ~OQuestionOpen() { gLimitQuestionOpen = false; }
    OQuestionOpen(const OQuestionOpen&) = delete;
    OQuestionOpen& operator=(const OQuestionOpen&) = delete;
};

}  // namespace

bool OQuillon::bIsLimitQuestionOpen() {
    return gLimitQuestionOpen;
}

bool OQuillon::bAskToRaisePartLimit() {
    if (gLimitQuestionOpen) return false;
    MsgResult answer = MsgResult::No;
    {
        OQuestionOpen open;
        answer = m_ui.Message(ResStr(3227), MsgIcon::Question, MsgButtons::YesNo);
    }
    if (answer != MsgResult::Yes) return false;
    RaisePartLimit();
    return true;
}

bool OQuillon::bImagesNeeded() const {
    const OType_ZRPartSet* set = opGetActualPartSet();
    if (!set) return false;
    if (set->Tools().iGetNum() == 0) return true;
    if (m_properties.useNewToolsOnCameraImage) return true;
    // Tool image type 0 is the contour; every other value names a camera image.
    for (const auto& tool : set->Tools()) {
        if (tool->iGetImageType() != 0) return true;
    }
    return false;
}

bool OQuillon::bAppendWithinLimit(OType_PartArray& list, std::unique_ptr<OType_Part> part,
                                  OFetchResult& result) {
    bool dropOldest = false;
    if (list.iGetSize() >= iGetPartLimit()) {
        switch (m_options.partLimitPolicy) {
            case kAsk:
                if (!bAskToRaisePartLimit()) return false;
                break;
            case kRaise:
                RaisePartLimit();
                break;
            case kDropOldest:
                dropOldest = true;
                break;
            default:
                return false;
        }
    }
    OType_Part* added = list.Add(std::move(part));
    added->SetRecordNo(list.iGetSize());
    if (dropOldest) {
        list.RemoveAt_NoSort(0);
        ++result.removed;
    }
    return true;
}

OFetchResult OQuillon::FetchReceivedParts() {
    OFetchResult result;
    if (!m_link) return result;
    const int maxOrientation = m_properties.useOrientation ? m_target.orientations : 1;
    const int maxType = m_properties.useTypes ? m_target.partsInSet : 1;
    const bool diagMode = m_link->iGetDiagMode() == 1;
    const bool contourMode = bSendsContour(m_link->iGetSendMode());
    const bool rejectDefect = m_options.rejectDefectContourParts == 1;
    while (result.taken < kMaxPartsPerFetch) {
        std::unique_ptr<OType_Part> part =
            m_link->opTakeReceivedPart(OQuillonComInterface::kReceivedPartsLockTimeout);
        if (!part) break;
        ++result.taken;
        const bool accepted =
            diagMode && (!contourMode || !rejectDefect || part->iGetConturDataSize() >= 2 ||
                         part->iGetNumImages() > 0);
        if (!accepted) continue;
        ++result.accepted;
        if (m_loggingToFile) {
            if (LogPart(*part)) ++result.logged;
            continue;
        }
        OType_ZRPartSet* set = opGetActualPartSet();
        if (!set) continue;
        if (m_recordTeach) {
            part->SetTeachPart(true);
            part->SetOrientation(std::min(m_recordOrientation, maxOrientation));
            part->SetType(std::min(m_recordType, maxType));
            if (bAppendWithinLimit(set->TeachParts(), std::move(part), result)) ++result.addedTeach;
        } else {
            part->SetTeachPart(false);
            if (bAppendWithinLimit(set->TestParts(), std::move(part), result)) ++result.addedTest;
        }
    }
    CommandQueue* mainWindow = m_owner ? m_owner->opGetMainWindow() : nullptr;
    if (result.taken == kMaxPartsPerFetch && mainWindow && m_link->iGetNumReceivedParts() > 0) {
        mainWindow->Post(kContinueCommand);
        result.continued = true;
    }
    return result;
}

// --- the device's part log ---

bool OQuillon::bCanUsePartLog() const {
    return bIsNewPlatformTarget() && bIsOnline() && !bIsBusy() &&
           m_link->iGetInterfaceType() == OQuillonComInterface::kInterfaceTypeTcp &&
           !m_loggingToFile && m_link->iGetNumLoggedParts() > 0;
}

int OQuillon::DownloadPartLog() {
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set || !m_link) return 0;
    const int loggedParts = m_link->iGetNumLoggedParts();
    if (!iTransferPreamble()) return 0;
    // Time for the logged parts' images: about 10 megapixels a second of one layer.
    const ZRINFO& reported = *m_link->opGetZRInfo_ComBuffer();
    const ZRINFO& info = reported.u16(ZRINFO::kHardwareCode) != 0 ? reported : m_deviceInfo;
    const double pixels = static_cast<double>(info.iGetImageWidth()) * info.iGetImageHeight();
    double seconds = pixels > 0 ? pixels / 10000000.0 : 0.5;
    const int format = info.iGetPixelFormat();
    if (pixels > 0 && (format == 16 || format == 24)) seconds *= 3;
    if (pixels > 0 && format == 32) seconds *= 4;
    const int saved = m_link->iGetTimeOut_SEC();
    m_link->SetTimeOut_SEC(std::max(1, saved) * static_cast<int>(loggedParts * seconds + 3));
    OType_ComPackage package(0, 1, 1, 0);
    package.SetUploadName("$UPT_LOG");
    const int r = package.iReceiveDataPackage(*m_link);
    m_link->SetTimeOut_SEC(saved);
    if (r != kOk) {
        m_ui.Message(ResStr(4111), MsgIcon::Error);
        return 0;
    }
    OType_PartArray parts;
    try {
        auto s = OByteStream_Memory::View(package.Data());
        if (!parts.iDecode(s)) {
            m_ui.Message(ResStr(4111), MsgIcon::Error);
            return 0;
        }
    } catch (const std::bad_alloc&) {
        m_ui.Message(ResStr(3300), MsgIcon::Error);
        return 0;
    }
    int added = 0;
    while (!parts.bIsEmpty()) {
        std::unique_ptr<OType_Part> part = parts.DetachAt_NoSort(0);
        OType_PartArray& list = part->bIsTeachPart() ? set->TeachParts() : set->TestParts();
        list.Add(std::move(part))->SetRecordNo(list.iGetSize());
        ++added;
    }
    if (added > 0 && m_owner) {
        m_owner->RefreshPartLists();
        m_owner->RefreshAllViews();
        m_owner->SetModified();
    }
    return 1;
}

int OQuillon::DeletePartLog() {
    if (!iTransferPreamble()) return 0;
    if (iSendAction("$CLPTLOG", 0, false) == kOk) return 1;
    m_ui.Message(ResStr(4174), MsgIcon::Error);
    return 0;
}
