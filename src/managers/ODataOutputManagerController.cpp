#include "managers/ODataOutputManagerController.h"

#include <algorithm>

#include "device/OQuillon.h"
#include "document/ODoc.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/strings/ResStr.h"
#include "platform/Clipboard.h"
#include "platform/UserInteraction.h"

namespace {

namespace DC = DataOutputCommand;

constexpr int kStatusLabel = 27100;
constexpr int kAddTitle = 27101;
constexpr int kAddPrompt = 27102;
constexpr int kAtMaximumNote = 27103;
constexpr int kAtMaximumMessage = 27104;
constexpr int kPasteUnreadable = 27105;
constexpr int kPasteNotAvailable = 27106;
constexpr int kClipboardWriteFailed = 26010;
constexpr int kNoFreePacket = 9990;

constexpr const char* kUndoAdded = "Data output added";
constexpr const char* kUndoRemoved = "Data output removed";
constexpr const char* kUndoUp = "Moved DDIO upwards";
constexpr const char* kUndoDown = "Moved DDIO downwards";
constexpr const char* kUndoChanged = "Data output properties changed";

}  // namespace

namespace DataOutputText {

std::string EntryText(const OType_DeviceDataIO& o, int number) {
    if (!o.GetPacketName().empty())
        return FormatPrintf("%d. %s (\"%s\")", number, o.GetName(), o.GetPacketName());
    if (o.iGetPacketId() != -1)
        return FormatPrintf("%d. %s (%d)", number, o.GetName(), o.iGetPacketId());
    return FormatPrintf("%d. %s", number, o.GetName());
}

std::string StatusText(const OType_DeviceDataIO& o) {
    const std::string& label = ResStr(kStatusLabel);
    if (!o.GetPacketName().empty())
        return FormatPrintf(" %s: %s (%s: \"%s\")", label, o.GetName(), o.GetKindName(),
                            o.GetPacketName());
    if (o.iGetPacketId() != -1)
        return FormatPrintf(" %s: %s (%s: %d)", label, o.GetName(), o.GetKindName(),
                            o.iGetPacketId());
    return FormatPrintf(" %s: %s (%s)", label, o.GetName(), o.GetKindName());
}

}  // namespace DataOutputText

ODataOutputManagerController::ODataOutputManagerController(ODoc& doc) : m_doc(doc) {}

OType_ZRPartSet* ODataOutputManagerController::PartSet() const {
    return m_doc.opGetSession() ? m_doc.opGetActualPartSet() : nullptr;
}

OType_DeviceDataIO* ODataOutputManagerController::Selected() const {
    const OType_ZRPartSet* set = PartSet();
    return set ? set->DataOutputs().opGetAt(set->DataOutputs().iGetSelected()) : nullptr;
}

std::vector<std::string> ODataOutputManagerController::Entries() const {
    std::vector<std::string> entries;
    if (const OType_ZRPartSet* set = PartSet()) {
        int number = 0;
        for (const auto& output : set->DataOutputs())
            entries.push_back(DataOutputText::EntryText(*output, ++number));
    }
    return entries;
}

int ODataOutputManagerController::iSelectedEntry() const {
    const OType_ZRPartSet* set = PartSet();
    return set ? set->DataOutputs().iGetSelected() : -1;
}

std::string ODataOutputManagerController::StatusText() const {
    const OType_DeviceDataIO* output = Selected();
    return output ? DataOutputText::StatusText(*output) : std::string();
}

OPropertyContext ODataOutputManagerController::Context() const {
    OPropertyContext context;
    context.partSet = PartSet();
    if (const OQuillon* session = m_doc.opGetSession()) context.deviceInfo = &session->DeviceInfo();
    return context;
}

OPropertyList ODataOutputManagerController::DescribeProperties() const {
    const OType_DeviceDataIO* output = Selected();
    return output ? output->DescribeProperties(Context()) : OPropertyList();
}

void ODataOutputManagerController::SelectEntry(int index) {
    OType_ZRPartSet* set = PartSet();
    if (!set || index < 0 || index >= set->DataOutputs().iGetNum()) return;
    set->iShowDataOutputNo(index);
    m_doc.RefreshViews();
}

std::vector<ODataOutputOffer> ODataOutputManagerController::Offers() const {
    std::vector<ODataOutputOffer> offers;
    const OType_ZRPartSet* set = PartSet();
    if (!set) return offers;
    const ZRINFO& info = m_doc.opGetSession()->DeviceInfo();
    for (int kind : set->DataOutputPrototypes().Kinds()) {
        const OType_DeviceDataIO* prototype = set->DataOutputPrototypes().opGetPrototype(kind);
        std::string reason;
        if (!prototype || !prototype->bIsAvailable(info, reason)) continue;
        ODataOutputOffer offer;
        offer.kind = kind;
        offer.atMaximum = set->DataOutputs().iCountKind(kind) >= prototype->iGetMaxInstances(info);
        offer.text = prototype->GetKindName();
        if (offer.atMaximum) offer.text += " " + ResStr(kAtMaximumNote);
        offers.push_back(std::move(offer));
    }
    return offers;
}

void ODataOutputManagerController::Changed(const char* undoText) {
    OType_ZRPartSet& set = *PartSet();
    set.DataOutputs().Update_LUT_FeatureIndexLists(set);
    m_doc.SetModifiedFlag(1);
    m_doc.bStoreUndoStep(set, undoText, DC::kViewCommand);
    m_doc.RefreshViews();
}

bool ODataOutputManagerController::bAdd() {
    OQuillon* session = m_doc.opGetSession();
    if (!session || !PartSet()) return false;
    const std::vector<ODataOutputOffer> offers = Offers();
    if (offers.empty()) return false;
    std::vector<std::string> items;
    for (const ODataOutputOffer& offer : offers)
        items.push_back(offer.text);
    int index = 0;
    UserInteraction& ui = m_doc.UI();
    if (!ui.bChooseFromList(ResStr(kAddTitle), ResStr(kAddPrompt), items, index)) return false;
    if (index < 0 || index >= static_cast<int>(offers.size())) return false;
    const ODataOutputOffer& chosen = offers[static_cast<size_t>(index)];
    if (chosen.atMaximum) {
        ui.Message(ResStr(kAtMaximumMessage), MsgIcon::Information);
        return false;
    }
    if (!session->AddDataOutput(chosen.kind, 1)) return false;
    Changed(kUndoAdded);
    return true;
}

bool ODataOutputManagerController::bCopy() {
    const OType_DeviceDataIO* output = Selected();
    Clipboard* clipboard = m_doc.opGetClipboard();
    if (!output || !clipboard) return false;
    OByteStream_Memory stream;
    if (!output->iEncode(stream) ||
        !clipboard->bSetData(ResStr(DC::kClipboardFormat), stream.Bytes())) {
        m_doc.UI().Message(ResStr(kClipboardWriteFailed), MsgIcon::Warning);
        return false;
    }
    return true;
}

bool ODataOutputManagerController::bPaste() {
    OType_ZRPartSet* set = PartSet();
    Clipboard* clipboard = m_doc.opGetClipboard();
    const std::string format = ResStr(DC::kClipboardFormat);
    if (!set || !clipboard || !clipboard->bHasFormat(format)) return false;
    std::vector<uint8_t> bytes;
    if (!clipboard->bGetData(format, bytes)) return false;
    UserInteraction& ui = m_doc.UI();
    auto stream = OByteStream_Memory::View(bytes);
    std::unique_ptr<OType_DeviceDataIO> pasted =
        OType_DeviceDataIOArray::opCreateFromStream(stream, set->DataOutputPrototypes());
    if (!pasted || !stream.bIsOk()) {
        ui.Message(ResStr(kPasteUnreadable), MsgIcon::Warning);
        return false;
    }
    // Only a kind this device runs, below its maximum.
    const ZRINFO& info = m_doc.opGetSession()->DeviceInfo();
    const OType_DeviceDataIO* prototype =
        set->DataOutputPrototypes().opGetPrototype(pasted->iGetDataIOType());
    std::string reason;
    if (!prototype || !prototype->bIsAvailable(info, reason) ||
        set->DataOutputs().iCountKind(pasted->iGetDataIOType()) >=
            prototype->iGetMaxInstances(info)) {
        ui.Message(ResStr(kPasteNotAvailable), MsgIcon::Warning);
        return false;
    }
    OType_DeviceDataIOArray& outputs = set->DataOutputs();
    if (pasted->iGetPacketId() >= 0 && outputs.bIsPacketIdUsed(pasted->iGetPacketId())) {
        const int id = outputs.iFirstFreePacketId();
        if (id > static_cast<int>(OType_DeviceDataIOArray::kMaxOutputs)) {
            ui.Message(ResStr(kNoFreePacket), MsgIcon::Warning);
            return false;
        }
        pasted->SetPacketId(id);
    }
    if (!pasted->GetPacketName().empty() && outputs.bIsPacketNameUsed(pasted->GetPacketName()))
        pasted->SetPacketName(outputs.FirstFreePacketName(pasted->GetPacketName()));
    // A new identity in this list: the array hands out a free id.
    pasted->SetDataIOId(-1);
    const int selected = outputs.iGetSelected();
    OType_DeviceDataIO* inserted =
        outputs.Insert(selected >= 0 ? selected + 1 : outputs.iGetNum(), std::move(pasted));
    outputs.SetSelected(outputs.iGetPos(inserted));
    Changed(kUndoAdded);
    return true;
}

bool ODataOutputManagerController::bDelete() {
    OType_ZRPartSet* set = PartSet();
    if (!set || !Selected()) return false;
    OType_DeviceDataIOArray& outputs = set->DataOutputs();
    const int selected = outputs.iGetSelected();
    outputs.RemoveAt(selected);
    outputs.SetSelected(std::min(selected, outputs.iGetNum() - 1));
    Changed(kUndoRemoved);
    return true;
}

bool ODataOutputManagerController::bMoveUp() {
    return bMove(-1);
}

bool ODataOutputManagerController::bMoveDown() {
    return bMove(1);
}

bool ODataOutputManagerController::bMove(int direction) {
    OType_ZRPartSet* set = PartSet();
    if (!set || !Selected()) return false;
    OType_DeviceDataIOArray& outputs = set->DataOutputs();
    const int selected = outputs.iGetSelected();
    const int other = selected + direction;
    if (other < 0 || other >= outputs.iGetNum()) return false;
    outputs.Swap(selected, other);
    outputs.SetSelected(other);
    Changed(direction < 0 ? kUndoUp : kUndoDown);
    return true;
}

bool ODataOutputManagerController::bApply(const OPropertyValues& values, std::string& error) {
    error.clear();
    OType_DeviceDataIO* output = Selected();
    if (!output) return false;
    if (values.empty()) return true;
    const bool wasModified = output->iGetModifiedFlag();
    output->SetModifiedFlag(false);
    if (!output->bApplyProperties(values, Context(), error)) {
        output->SetModifiedFlag(wasModified);
        return false;
    }
    if (!output->iGetModifiedFlag()) {
        output->SetModifiedFlag(wasModified);
        return true;
    }
    Changed(kUndoChanged);
    return true;
}

OCommandState ODataOutputManagerController::GetCommandState(int id) const {
    OCommandState state;
    const OType_ZRPartSet* set = PartSet();
    if (!set) return state;
    const int selected = set->DataOutputs().iGetSelected();
    const int count = set->DataOutputs().iGetNum();
    switch (id) {
        case DC::kAdd:
            state.enabled = !Offers().empty();
            break;
        case DC::kCopy:
        case DC::kDelete:
            state.enabled = selected >= 0;
            break;
        case DC::kPaste: {
            const Clipboard* clipboard = m_doc.opGetClipboard();
            state.enabled = clipboard && clipboard->bHasFormat(ResStr(DC::kClipboardFormat));
            break;
        }
        case DC::kMoveUp:
            state.enabled = selected > 0;
            break;
        case DC::kMoveDown:
            state.enabled = selected >= 0 && selected + 1 < count;
            break;
        default:
            break;
    }
    return state;
}

bool ODataOutputManagerController::bExecute(int id) {
    if (!GetCommandState(id).enabled) return false;
    switch (id) {
        case DC::kAdd:
            return bAdd();
        case DC::kCopy:
            return bCopy();
        case DC::kPaste:
            return bPaste();
        case DC::kDelete:
            return bDelete();
        case DC::kMoveUp:
            return bMoveUp();
        case DC::kMoveDown:
            return bMoveDown();
        default:
            return false;
    }
}
