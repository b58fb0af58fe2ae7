#include "document/OPartListController.h"

#include <algorithm>
#include <chrono>
#include <new>

#include "document/CommandIds.h"
#include "document/DocumentTexts.h"
#include "document/ODoc.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/strings/ResStr.h"
#include "platform/Clipboard.h"
#include "platform/OProgressCtrl.h"
#include "platform/OWaitCursor.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kCopyFailed = 3300;
constexpr int kWrongFamilyParts = 21010;
constexpr int kDamagedParts = 21011;
// The part clipboard formats of family 1 and family 2.
constexpr int kPartFormatIds[2] = {5319, 5341};

enum PartLimitPolicy { kAsk = 0, kStop = 1, kRaise = 2 };

size_t Slot(bool sample) {
    return sample ? 0 : 1;
}

}  // namespace

OPartListController::OPartListController(ODoc& doc) : m_doc(doc) {}

// --- state ---

OType_ZRPartSet* OPartListController::PartSet() const {
    return m_doc.opGetActualPartSet();
}

OPartListSettings OPartListController::Settings() const {
    const OQuillon* session = m_doc.opGetSession();
    if (!session) return {};
    return OPartListSettings::Of(session->ProjectProperties(), session->GetTargetSystem());
}

OType_PartArray* OPartListController::opList(bool sample) const {
    OType_ZRPartSet* set = PartSet();
    if (!set) return nullptr;
    return sample ? &set->TeachParts() : &set->TestParts();
}

int OPartListController::iShownPosition(bool sample) const {
    const OType_ZRPartSet* set = PartSet();
    if (!set) return -1;
    const int shown = sample ? set->iShowTeachPartGetNo() : set->iShowTestPartGetNo();
    const OType_PartArray* list = opList(sample);
    return shown >= 0 && shown < list->iGetSize() ? shown : -1;
}

int OPartListController::iSelectedCount(bool sample) const {
    const OType_PartArray* list = opList(sample);
    if (!list) return 0;
    int count = 0;
    for (int i = 0; i < list->iGetSize(); ++i)
        count += list->GetAt_NoSort(i)->bIsSelected() ? 1 : 0;
    return count;
}

void OPartListController::FollowShownPart(bool sample) {
    OType_PartArray* list = opList(sample);
    const int position = iShownPosition(sample);
    OType_Part* shown = list && position >= 0 ? list->GetAt(position) : nullptr;
    if (shown == m_lastShown[Slot(sample)]) return;
    m_lastShown[Slot(sample)] = shown;
    if (!shown) return;
    for (int i = 0; i < list->iGetSize(); ++i)
        list->GetAt_NoSort(i)->SetSelected(false);
    shown->SetSelected(true);
}

// --- the user's actions ---

void OPartListController::TakeSelection(OType_PartArray& list, std::span<const int> selectedRows) {
    for (int i = 0; i < list.iGetSize(); ++i)
        list.GetAt_NoSort(i)->SetSelected(false);
    for (int row : selectedRows) {
        if (OType_Part* part = list.GetAt(row)) part->SetSelected(true);
    }
}

void OPartListController::ShowPart(bool sample, int position) {
    OType_ZRPartSet* set = PartSet();
    if (!set) return;
    if (sample) {
        set->iShowTeachPartNo(position);
    } else {
        set->iShowTestPartNo(position);
    }
    // The list moved the shown part itself: its selection stays as the user made it.
    const int shown = iShownPosition(sample);
    m_lastShown[Slot(sample)] = shown >= 0 ? opList(sample)->GetAt(shown) : nullptr;
}

void OPartListController::OnSelectionTimer(bool sample, std::span<const int> selectedRows,
                                           int currentRow) {
    OType_PartArray* list = opList(sample);
    if (!list) return;
    TakeSelection(*list, selectedRows);
    if (currentRow < 0 || currentRow >= list->iGetSize() || currentRow == iShownPosition(sample))
        return;
    // The focus moved with the keyboard: the part there is shown, as a click would.
    ShowPart(sample, currentRow);
    m_doc.ShowTeachOrTestList(sample ? 1 : 0, 0);
    m_doc.RefreshViews();
}

void OPartListController::OnClick(bool sample, std::span<const int> selectedRows, int clickedRow) {
    OType_PartArray* list = opList(sample);
    if (!list) return;
    m_sampleFocused = sample;
    TakeSelection(*list, selectedRows);
    if (clickedRow >= 0 && clickedRow < list->iGetSize()) ShowPart(sample, clickedRow);
    m_doc.ShowTeachOrTestList(sample ? 1 : 0, 0);
    m_doc.RefreshViews();
}

void OPartListController::OnDoubleClick(bool sample, std::span<const int> selectedRows,
                                        int clickedRow) {
    OnClick(sample, selectedRows, clickedRow);
    if (!m_doc.bEditPartProperties(true)) return;
    m_doc.Recompute(PartSet(), 0, 0, 1, 1, 0);
    m_doc.RefreshViews();
}

void OPartListController::OnArrowKey(bool sample, int step) {
    if (!opList(sample)) return;
    m_sampleFocused = sample;
    const int shown = std::max(0, iShownPosition(sample));
    m_doc.ShowTeachOrTestList(sample ? 1 : 0, 0);
    if (sample) {
        m_doc.ShowTeachPart(shown + step, 0, 0);
    } else {
        m_doc.ShowTestPart(shown + step, 0, 0);
    }
    m_doc.RefreshViews();
}

void OPartListController::OnSortSelection(bool sample, int sortType) {
    OType_ZRPartSet* set = PartSet();
    if (!set || sortType < 0 || sortType >= kNumPartSortTypes) return;
    OType_PartArray& list = sample ? set->TeachParts() : set->TestParts();
    const int position = iShownPosition(sample);
    const OType_Part* shown = position >= 0 ? list.GetAt(position) : nullptr;
    list.SetSortType(static_cast<PartSortType>(sortType), set->iShowFeatureGetNo());
    if (shown) ShowPart(sample, list.iGetSortPosOf(shown));
    m_doc.ShowTeachOrTestList(sample ? 1 : 0, 0);
    m_doc.RefreshViews();
}

// --- buttons ---

void OPartListController::FinishEdit(OType_ZRPartSet& set, bool testOnly,
                                     std::string_view undoText) {
    m_doc.Recompute(&set, 0, testOnly ? 1 : 0, 1, 1, 0);
    m_doc.bStoreUndoStep(set, undoText, 0);
    m_doc.SetModifiedFlag(1);
}

int OPartListController::iRemoveSelected(OType_PartArray& list) {
    int first = -1;
    for (int i = 0; i < list.iGetSize(); ++i) {
        if (list.GetAt(i)->bIsSelected()) {
            first = i;
            break;
        }
    }
    for (int i = list.iGetSize() - 1; i >= 0; --i) {
        if (list.GetAt_NoSort(i)->bIsSelected()) list.RemoveAt_NoSort(i);
    }
    return first;
}

void OPartListController::ShowAfterRemoval(bool sample, int firstRemoved) {
    OType_PartArray* list = opList(sample);
    for (int i = 0; i < list->iGetSize(); ++i)
        list->GetAt_NoSort(i)->SetSelected(false);
    const int position = std::max(0, firstRemoved - 1);
    if (sample) {
        m_doc.ShowTeachPart(position, 0, 0);
    } else {
        m_doc.ShowTestPart(position, 0, 0);
    }
}

bool OPartListController::bRoomForOneMore(const OType_PartArray& target) {
    OQuillon& session = *m_doc.opGetSession();
    if (target.iGetSize() < session.iGetPartLimit()) return true;
    switch (session.Options().partLimitPolicy) {
        case kAsk:
            return session.bAskToRaisePartLimit();
        case kStop:
            return false;
        case kRaise:
            session.RaisePartLimit();
            return true;
        default:
            return true;
    }
}

void OPartListController::CopyParts(bool fromSample, bool move) {
    OType_ZRPartSet* set = PartSet();
    if (!set) return;
    OType_PartArray& source = fromSample ? set->TeachParts() : set->TestParts();
    OType_PartArray& target = fromSample ? set->TestParts() : set->TeachParts();
    std::vector<OType_Part*> selected;
    for (int i = 0; i < source.iGetSize(); ++i) {
        if (source.GetAt(i)->bIsSelected()) selected.push_back(source.GetAt(i));
    }
    if (selected.empty()) return;
    int copied = 0;
    {
        OWaitCursor wait(m_doc.UI());
        for (int i = 0; i < target.iGetSize(); ++i)
            target.GetAt_NoSort(i)->SetSelected(false);
        for (OType_Part* part : selected) {
            // A full list: the policy decides. Moves obey it too, or the extraction run
            // would remove what was moved.
            if (!bRoomForOneMore(target)) break;
            auto copy = std::make_unique<OType_Part>();
            part->CopyTo(*copy);
            copy->SetTeachPart(!fromSample);
            OType_Part* added = target.Add(std::move(copy));
            added->SetRecordNo(target.iGetSize());
            ++copied;
        }
    }
    if (copied == 0) {
        m_doc.RefreshViews();
        return;
    }
    // A move removes what it copied; parts the full list did not take stay selected.
    for (size_t i = static_cast<size_t>(copied); i < selected.size(); ++i)
        selected[i]->SetSelected(false);
    const int firstRemoved = move ? iRemoveSelected(source) : -1;
    m_doc.Recompute(set, 0, 0, 1, 1, 0);
    if (move) {
        ShowAfterRemoval(fromSample, firstRemoved);
    } else {
        for (int i = 0; i < source.iGetSize(); ++i)
            source.GetAt_NoSort(i)->SetSelected(false);
    }
    m_doc.bStoreUndoStep(*set,
                         move ? DocumentText::kUndoPartsMoved : DocumentText::kUndoPartsCopied, 0);
    m_doc.SetModifiedFlag(1);
    m_doc.RefreshViews();
}

void OPartListController::DeleteSelectedParts(bool sample) {
    OType_ZRPartSet* set = PartSet();
    if (!set) return;
    OType_PartArray& list = sample ? set->TeachParts() : set->TestParts();
    const int firstRemoved = iRemoveSelected(list);
    if (firstRemoved < 0) return;
    m_doc.Recompute(set, 0, 0, 1, 1, 0);
    ShowAfterRemoval(sample, firstRemoved);
    m_doc.bStoreUndoStep(*set, DocumentText::kUndoPartsDeleted, 0);
    m_doc.SetModifiedFlag(1);
    m_doc.RefreshViews();
}

// --- commands ---

bool OPartListController::bIsViewCommand(int id) {
    return id == Cmd::kEditCopy || id == Cmd::kEditCut || id == Cmd::kEditPaste ||
           id == Cmd::kEditDelete || id == Cmd::kEditSelectAll || id == Cmd::kPartProperties;
}

OCommandState OPartListController::CommandState(int id) const {
    OCommandState state;
    const OType_ZRPartSet* set = PartSet();
    if (!set) return state;
    const OType_PartArray& focused = m_sampleFocused ? set->TeachParts() : set->TestParts();
    const bool sampleShown = set->iShowGetTeachTest() == 1;
    switch (id) {
        case Cmd::kEditCopy:
        case Cmd::kEditCut:
            state.enabled = ODoc::bHasSelectedPart(focused);
            break;
        case Cmd::kEditPaste:
            state.enabled = iOfferedPartFamily() > 0;
            break;
        case Cmd::kEditDelete:
            state.enabled = m_sampleFocused == sampleShown && ODoc::bHasSelectedPart(focused);
            break;
        case Cmd::kEditSelectAll:
            state.enabled = !focused.bIsEmpty();
            break;
        case Cmd::kPartProperties:
            state.enabled =
                ODoc::bHasSelectedPart(sampleShown ? set->TeachParts() : set->TestParts());
            break;
        default:
            break;
    }
    return state;
}

bool OPartListController::bExecute(int id) {
    if (!bIsViewCommand(id)) return false;
    m_doc.CloseCommunicationManager();
    if (!CommandState(id).enabled) return true;
    switch (id) {
        case Cmd::kEditCopy:
            bCopyToClipboard();
            break;
        case Cmd::kEditCut:
            Cut();
            break;
        case Cmd::kEditPaste:
            Paste();
            break;
        case Cmd::kEditDelete:
            DeleteSelectedParts(m_sampleFocused);
            break;
        case Cmd::kEditSelectAll:
            SelectAll();
            break;
        case Cmd::kPartProperties:
            if (m_doc.bEditPartProperties(true)) {
                m_doc.Recompute(PartSet(), 0, 0, 1, 1, 0);
                m_doc.RefreshViews();
            }
            break;
        default:
            break;
    }
    return true;
}

bool OPartListController::bCopyToClipboard() {
    const OType_PartArray* list = opList(m_sampleFocused);
    Clipboard* clipboard = m_doc.opGetClipboard();
    if (!list || !clipboard) return false;
    std::vector<uint8_t> bytes;
    try {
        OWaitCursor wait(m_doc.UI());
        bytes = EncodeSelectedParts(*list, m_doc.opGetProgress());
    } catch (const std::bad_alloc&) {
        m_doc.UI().Message(ResStr(kCopyFailed), MsgIcon::Error);
        return false;
    }
    if (!clipboard->bSetData(PartFormat(m_doc.iGetFamily()), bytes)) {
        m_doc.UI().Message(ResStr(kCopyFailed), MsgIcon::Error);
        return false;
    }
    return true;
}

void OPartListController::Cut() {
    // What could not be copied is not deleted.
    if (bCopyToClipboard()) DeleteSelectedParts(m_sampleFocused);
}

void OPartListController::Paste() {
    Clipboard* clipboard = m_doc.opGetClipboard();
    const int family = iOfferedPartFamily();
    if (!clipboard || family < 0) return;
    std::vector<uint8_t> bytes;
    if (!clipboard->bGetData(PartFormat(family), bytes)) return;
    bAddParts(m_sampleFocused, PartFormat(family), bytes);
}

void OPartListController::SelectAll() {
    OType_PartArray* list = opList(m_sampleFocused);
    if (!list) return;
    for (int i = 0; i < list->iGetSize(); ++i)
        list->GetAt_NoSort(i)->SetSelected(true);
    m_doc.RefreshViews();
}

int OPartListController::iOfferedPartFamily() const {
    return m_doc.iOfferedFamily(kPartFormatIds[0], kPartFormatIds[1]);
}

// --- drag and drop ---

std::array<std::string, 2> OPartListController::PartFormats() {
    return {PartFormat(1), PartFormat(2)};
}

OPartListTransfer OPartListController::DragData(bool sample) const {
    OPartListTransfer transfer;
    const OType_PartArray* list = opList(sample);
    if (!list) return transfer;
    transfer.format = PartFormat(m_doc.iGetFamily());
    transfer.bytes = EncodeSelectedParts(*list, nullptr);
    return transfer;
}

bool OPartListController::bAddParts(bool sample, std::string_view format,
                                    std::span<const uint8_t> bytes) {
    OType_ZRPartSet* set = PartSet();
    if (!set) return false;
    UserInteraction& ui = m_doc.UI();
    if (format != PartFormat(m_doc.iGetFamily())) {
        ui.Message(ResStr(kWrongFamilyParts), MsgIcon::Warning);
        return false;
    }
    OType_PartArray& list = sample ? set->TeachParts() : set->TestParts();
    std::vector<std::unique_ptr<OType_Part>> parts;
    try {
        OWaitCursor wait(ui);
        const size_t room = OType_PartArray::kMaxParts - static_cast<size_t>(list.iGetSize());
        if (!bDecodeParts(bytes, room, parts)) {
            ui.Message(ResStr(kDamagedParts), MsgIcon::Error);
            return false;
        }
    } catch (const std::bad_alloc&) {
        ui.Message(ResStr(kCopyFailed), MsgIcon::Error);
        return false;
    }
    // The parts that arrive become the list's selection; a full list takes what its
    // policy lets in.
    for (int i = 0; i < list.iGetSize(); ++i)
        list.GetAt_NoSort(i)->SetSelected(false);
    int added = 0;
    for (auto& part : parts) {
        if (!bRoomForOneMore(list)) break;
        ++added;
        part->SetTeachPart(sample);
        part->SetSelected(true);
        part->Features().SetModified(true);
        list.Add(std::move(part))->SetRecordNo(list.iGetSize());
    }
    if (added == 0) {
        m_doc.RefreshViews();
        return false;
    }
    FinishEdit(*set, !sample, DocumentText::kUndoPartsPasted);
    m_doc.RefreshViews();
    return true;
}

// --- encodings ---

std::string OPartListController::PartFormat(int family) {
    return ResStr(kPartFormatIds[family == 2 ? 1 : 0]);
}

std::vector<uint8_t> OPartListController::EncodeSelectedParts(const OType_PartArray& list,
                                                              OProgressCtrl* progress) {
    uint64_t total = 0;
    for (int i = 0; i < list.iGetSize(); ++i) {
        const OType_Part& part = *list.GetAt(i);
        if (part.bIsSelected()) total += part.iGetObjectSize();
    }
    OByteStream_Memory stream;
    stream.Reserve(static_cast<size_t>(total));
    if (progress) {
        progress->Start();
        progress->Length(static_cast<int64_t>(total));
    }
    for (int i = 0; i < list.iGetSize(); ++i) {
        const OType_Part& part = *list.GetAt(i);
        if (!part.bIsSelected()) continue;
        part.iEncode(stream);
        if (progress) {
            progress->Increase(static_cast<int64_t>(part.iGetObjectSize()));
            progress->bUpdateDisplayIfDue(std::chrono::steady_clock::now());
        }
    }
    if (progress) progress->End();
    return stream.TakeBytes();
}

bool OPartListController::bDecodeParts(std::span<const uint8_t> bytes, size_t maxParts,
                                       std::vector<std::unique_ptr<OType_Part>>& parts) {
    parts.clear();
    auto stream = OByteStream_Memory::View(bytes);
    while (stream.iRemaining() > 0) {
        auto part = std::make_unique<OType_Part>();
        if (parts.size() >= maxParts || !part->iDecode(stream)) {
            parts.clear();
            return false;
        }
        parts.push_back(std::move(part));
    }
    return !parts.empty();
}
