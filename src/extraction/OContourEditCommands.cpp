#include "extraction/OContourEditCommands.h"

#include <algorithm>
#include <memory>

#include "extraction/OContourFilters.h"
#include "extraction/ODlg_ContourLimits.h"
#include "extraction/OExtractorHost.h"
#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/OWaitCursor.h"
#include "platform/UserInteraction.h"
#include "tools/ContourToolTypes.h"

namespace {

template <class Fn>
void ForEachTeachThenTestPart(OType_ZRPartSet& partSet, Fn fn) {
    for (OType_PartArray* list : {&partSet.TeachParts(), &partSet.TestParts()}) {
        for (int i = 0; i < list->iGetSize(); ++i)
            fn(*list->GetAt(i));
    }
}

int16_t Limit16(int v) {
    return static_cast<int16_t>(std::clamp(v, -32768, 32767));
}

}  // namespace

bool OContourEditCommands::bHandles(int id) {
    using namespace ContourEditCommand;
    return id == kViewingArea || id == kThinAreas || id == kHoles || id == kUndoFilter ||
           id == kCombineOr || id == kCombineXor || id == kCombineAnd;
}

OCommandState OContourEditCommands::CommandState(int id, const OType_ZRPartSet* ps) {
    using namespace ContourEditCommand;
    const bool parts = ps && ps->bHasPartData();
    switch (id) {
        case kViewingArea:
            return {parts, ps && ps->iGetFilterMode() == 1};
        case kThinAreas:
        case kHoles:
        case kUndoFilter:
            return {parts, false};
        case kCombineOr:
        case kCombineXor:
        case kCombineAnd: {
            const bool shown = ps && (ps->iShowGetTeachTest() ? !ps->TeachParts().bIsEmpty()
                                                              : !ps->TestParts().bIsEmpty());
            return {shown, false};
        }
        default:
            return {};
    }
}

bool OContourEditCommands::bExecute(int id) {
    using namespace ContourEditCommand;
    OType_ZRPartSet* partSet = m_host.opGetActualPartSet();
    if (!partSet || !bHandles(id)) return false;
    switch (id) {
        case kViewingArea:
            ToggleViewingArea(*partSet);
            break;
        case kThinAreas:
            FilterThinAreas(*partSet);
            break;
        case kHoles:
            FilterHoles(*partSet);
            break;
        case kUndoFilter:
            UndoLastFilter(*partSet);
            break;
        case kCombineOr:
            Combine(*partSet, ContourCombineOp::Or);
            break;
        case kCombineXor:
            Combine(*partSet, ContourCombineOp::Xor);
            break;
        default:
            Combine(*partSet, ContourCombineOp::And);
            break;
    }
    return true;
}

void OContourEditCommands::Recompute(OType_ZRPartSet& partSet) {
    m_host.Recompute(partSet, 1, 0, 1, 1, 0);
    m_host.UpdateAllViews();
}

void OContourEditCommands::ToggleViewingArea(OType_ZRPartSet& partSet) {
    if (partSet.iGetFilterMode() == ContourFilterKind::kViewingArea) {
        // The contours stay clipped until "Undo last filter".
        partSet.SetFilterMode(ContourFilterKind::kNone);
        m_host.UpdateAllViews();
        return;
    }
    m_host.CloseResultWindow();
    UserInteraction& ui = m_host.GetUserInteraction();
    ui.Message(ResStr(ContourEditCommand::kViewingAreaMessage), MsgIcon::Information);
    int lower = 0;
    int upper = ContourImageHeight(m_host.GetDeviceInfo());
    bInitialViewingArea(partSet, lower, upper);
    {
        OWaitCursor wait(ui);
        ForEachTeachThenTestPart(partSet,
                                 [&](OType_Part& p) { ApplyViewingAreaFilter(p, lower, upper); });
    }
    partSet.SetFilterLimits(Limit16(lower), Limit16(upper));
    partSet.SetFilterMode(ContourFilterKind::kViewingArea);
    Recompute(partSet);
}

void OContourEditCommands::ReapplyViewingArea(OType_ZRPartSet& partSet) {
    if (partSet.iGetFilterMode() != ContourFilterKind::kViewingArea) return;
    m_host.CloseResultWindow();
    {
        OWaitCursor wait(m_host.GetUserInteraction());
        const int lower = partSet.iGetFilterLimit1();
        const int upper = partSet.iGetFilterLimit2();
        ForEachTeachThenTestPart(partSet,
                                 [&](OType_Part& p) { ApplyViewingAreaFilter(p, lower, upper); });
    }
    Recompute(partSet);
}

bool OContourEditCommands::bAskLimitAndFilter(OType_ZRPartSet& partSet, int kind) {
    const bool thin = kind == ContourFilterKind::kThinAreas;
    const int proposal = partSet.iGetFilterMode() == kind ? partSet.iGetFilterLimit1()
                                                          : ContourFilterKind::kDefaultLimit;
    ODlg_FilterLimit dialog(
        thin ? ContourEditCommand::kPromptThinAreas : ContourEditCommand::kPromptHoles, proposal);
    UserInteraction& ui = m_host.GetUserInteraction();
    if (!ui.bRunDialog(dialog) || dialog.limit < 1) return false;
    m_host.CloseResultWindow();
    {
        OWaitCursor wait(ui);
        ForEachTeachThenTestPart(partSet, [&](OType_Part& p) {
            if (thin)
                ApplyThinAreaFilter(p, dialog.limit);
            else
                ApplyHoleFilter(p, dialog.limit);
        });
    }
    partSet.SetFilterMode(kind);
    partSet.SetFilterLimits(Limit16(dialog.limit), partSet.iGetFilterLimit2());
    Recompute(partSet);
    return true;
}

bool OContourEditCommands::FilterThinAreas(OType_ZRPartSet& partSet) {
    return bAskLimitAndFilter(partSet, ContourFilterKind::kThinAreas);
}

bool OContourEditCommands::FilterHoles(OType_ZRPartSet& partSet) {
    return bAskLimitAndFilter(partSet, ContourFilterKind::kHoles);
}

void OContourEditCommands::UndoLastFilter(OType_ZRPartSet& partSet) {
    m_host.CloseResultWindow();
    {
        OWaitCursor wait(m_host.GetUserInteraction());
        ForEachTeachThenTestPart(partSet, [](OType_Part& p) { ::UndoLastFilter(p); });
    }
    partSet.SetFilterMode(ContourFilterKind::kNone);
    Recompute(partSet);
}

void OContourEditCommands::Combine(OType_ZRPartSet& partSet, ContourCombineOp op) {
    const bool teach = partSet.iShowGetTeachTest() == 1;
    OType_PartArray& list = teach ? partSet.TeachParts() : partSet.TestParts();
    auto combined = std::make_unique<OType_Part>();
    combined->SetTeachPart(teach);
    bool first = true;
    {
        OWaitCursor wait(m_host.GetUserInteraction());
        for (int i = 0; i < list.iGetSize(); ++i) {
            const OType_Part& part = *list.GetAt(i);
            if (!part.bIsSelected()) continue;
            if (first) {
                combined->SetConturData({part.Contour().begin(), part.Contour().end()});
                combined->SetType(part.iGetType());
                combined->SetOrientation(part.iGetOrientation());
                first = false;
            } else {
                combined->SetConturData(CombineContours(combined->Contour(), part.Contour(), op));
            }
        }
    }
    combined->SetRecordNo(list.iGetSize() + 1);
    list.Add(std::move(combined));
    m_host.Recompute(partSet, 0, teach ? 0 : 1, 1, 1, 0);
    m_host.UpdateAllViews();
}
