// The document's part-editing commands: moving through parts, orientations, part types,
// features, tools, data outputs and check programs; assigning orientations and types to the
// selected sample parts; standard references; mirrors; deleting camera images; managing the
// check programs; and the part and check-program property dialogs.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "app/OClipboardFormats.h"
#include "device/TargetSystem.h"
#include "document/CommandIds.h"
#include "document/DocumentTexts.h"
#include "document/ODlg_CheckProgramProperties.h"
#include "document/ODlg_PartProperties.h"
#include "document/ODoc.h"
#include "extraction/OExtractor.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/strings/ResStr.h"
#include "platform/Clipboard.h"
#include "platform/OWaitCursor.h"
#include "platform/Settings.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kGotoPrompt = 2080;
constexpr int kDeletePartSetQuestion = 3285;
constexpr int kCheckMarkText = 3289;
constexpr int kCopyFailed = 3300;
constexpr int kLargePartSetQuestion = 3322;
constexpr int kInconsistentProject = 4240;
constexpr int kZWarning = 9835;
constexpr int kWrongFamilyPartSet = 21012;
constexpr int kDamagedPartSet = 21013;
constexpr const char* kZWarningSetting = "WARNING_DISABLE_COORDTRANS_Z_0";
constexpr uint64_t kLargePartSetBytes = 20'000'000;
// The check-program clipboard formats of family 1 and family 2.
constexpr int kPartSetFormatIds[2] = {5346, 5347};

// Standard references: the command of each reference index (0 none) and the feature kind
// the automatic assignment looks for (-1 none).
struct OReferenceCommand {
    int command;
    int featureKind;
};
constexpr OReferenceCommand kReferences[OType_DefaultReferenceFeatures::kCount] = {
    {33093, 6}, {33094, 6}, {33095, 3},  {33096, 4},  {0, -1},     {33097, 37}, {33098, 7},
    {33099, 3}, {33100, 4}, {33101, -1}, {33102, 11}, {33103, 11}, {33104, 13}, {33105, 13},
};

int TypeOfCommand(int id) {
    for (int t = 0; t < 16; ++t) {
        if (Cmd::kAssignTypeCommands[t] == id) return t + 1;
    }
    return 0;
}

int OrientationOfCommand(int id) {
    return id >= Cmd::kAssignOrientationFirst && id < Cmd::kAssignOrientationFirst + 8
               ? id - Cmd::kAssignOrientationFirst + 1
               : 0;
}

int ReferenceOfCommand(int id) {
    for (int i = 0; i < OType_DefaultReferenceFeatures::kCount; ++i) {
        if (kReferences[i].command == id && id != 0) return i;
    }
    return -1;
}

bool bIsNavigationCommand(int id) {
    switch (id) {
        case Cmd::kPrevPart:
        case Cmd::kNextPart:
        case Cmd::kTenPartsBack:
        case Cmd::kTenPartsForward:
        case Cmd::kGotoPart:
        case Cmd::kSwitchTeachTest:
        case Cmd::kPrevOrientation:
        case Cmd::kNextOrientation:
        case Cmd::kPrevPartType:
        case Cmd::kNextPartType:
        case Cmd::kPrevFeature:
        case Cmd::kNextFeature:
        case Cmd::kPrevDataOutput:
        case Cmd::kNextDataOutput:
        case Cmd::kPrevTool:
        case Cmd::kNextTool:
        case Cmd::kPrevPartSet:
        case Cmd::kNextPartSet:
            return true;
        default:
            return false;
    }
}

OType_PartArray& ShownList(OType_ZRPartSet& set) {
    return set.iShowGetTeachTest() ? set.TeachParts() : set.TestParts();
}

const OType_PartArray& ShownList(const OType_ZRPartSet& set) {
    return set.iShowGetTeachTest() ? set.TeachParts() : set.TestParts();
}

int ShownPartNo(const OType_ZRPartSet& set) {
    return set.iShowGetTeachTest() ? set.iShowTeachPartGetNo() : set.iShowTestPartGetNo();
}

// The number of orientation vectors the shown part type can show (as the setter clamps).
int ShownVectorCount(const OType_ZRPartSet& set) {
    const OType_ZRPartSet_SubType* type = set.opGetSubType(set.iShowSubTypeGetNo());
    return type ? std::max(type->iGetNumOrientations(), type->Vectors().iGetNum()) : 0;
}

// The tool owning the shown feature and its position; -1 for basic features.
int ShownToolPos(const OType_ZRPartSet& set) {
    const OType_ConfigTool* tool = set.opShowFeatureGetConfigTool();
    return tool ? set.Tools().iGetPos(tool) : -1;
}

// The feature kind of feature index f: the type of the tool feature; -1 for basic features.
int FeatureKindAt(const OType_ZRPartSet& set, int f) {
    const int fixed = set.iGetFixedFeatures();
    const OType_ConfigTool* tool = set.Tools().opGetCFToolAtFeature(f, fixed);
    if (!tool) return -1;
    const int first = set.Tools().GetFeatureIndex_First(set.Tools().iGetPos(tool), fixed);
    return tool->GetFeatureTypeAt(f - first);
}

int NextAfterTen(int shown, int size) {
    return shown < size - 10 ? shown + 10 : size - 1;
}

int BackByTen(int shown) {
    return shown > 10 ? shown - 10 : 0;
}

}  // namespace

bool ODoc::bIsPartCommand(int id) {
    return bIsNavigationCommand(id) || TypeOfCommand(id) || OrientationOfCommand(id) ||
           ReferenceOfCommand(id) >= 0 || id == Cmd::kUseParts || id == Cmd::kIgnoreParts ||
           id == Cmd::kResetReferences || id == Cmd::kAutoAssignReferences ||
           id == Cmd::kMirrorVertical || id == Cmd::kMirrorHorizontal ||
           id == Cmd::kDeleteCameraImages || id == Cmd::kAddPartSet || id == Cmd::kDeletePartSet ||
           id == Cmd::kSelectPartSet || id == Cmd::kCopyPartSet || id == Cmd::kPastePartSet ||
           id == Cmd::kPartSetProperties;
}

bool ODoc::bOnPartCommand(int id, int64_t argument) {
    if (!bIsPartCommand(id)) return false;
    CloseCommunicationManager();
    // Disabled commands do nothing, whoever sends them (a shortcut, a script, a test).
    if (!PartCommandState(id)->enabled) return true;
    OType_ZRPartSet& set = *opGetActualPartSet();
    if (const int n = OrientationOfCommand(id)) {
        AssignToSelectedSampleParts([n](OType_Part& p) { p.SetOrientation(n); },
                                    DocumentText::kUndoOrientationAssigned);
        return true;
    }
    if (const int n = TypeOfCommand(id)) {
        AssignToSelectedSampleParts(
            [n](OType_Part& p) {
                p.SetType(n);
                p.SetOrientation(std::abs(p.iGetOrientation()));
            },
            DocumentText::kUndoTypeAssigned);
        return true;
    }
    if (const int reference = ReferenceOfCommand(id); reference >= 0) {
        AssignStandardReference(reference);
        return true;
    }
    switch (id) {
        case Cmd::kUseParts:
            // Back to the orientation it had before it was ignored (1 when it had none).
            AssignToSelectedSampleParts(
                [](OType_Part& p) { p.SetOrientation(std::max(1, std::abs(p.iGetOrientation()))); },
                DocumentText::kUndoPartsUsed);
            break;
        case Cmd::kIgnoreParts:
            AssignToSelectedSampleParts(
                [](OType_Part& p) { p.SetOrientation(-std::abs(p.iGetOrientation())); },
                DocumentText::kUndoPartsIgnored);
            break;
        case Cmd::kPrevPart:
        case Cmd::kNextPart:
        case Cmd::kTenPartsBack:
        case Cmd::kTenPartsForward: {
            const int shown = ShownPartNo(set);
            const int size = ShownList(set).iGetSize();
            const int target = id == Cmd::kPrevPart       ? shown - 1
                               : id == Cmd::kNextPart     ? shown + 1
                               : id == Cmd::kTenPartsBack ? BackByTen(shown)
                                                          : NextAfterTen(shown, size);
            ShowShownListPart(target);
            break;
        }
        case Cmd::kGotoPart:
            GotoPartNo();
            break;
        case Cmd::kSwitchTeachTest:
            ShowTeachOrTestList(set.iShowGetTeachTest() ? 0 : 1);
            break;
        case Cmd::kPrevOrientation:
            ShowPrevVector();
            break;
        case Cmd::kNextOrientation:
            ShowNextVector();
            break;
        case Cmd::kPrevPartType:
            set.iShowSubTypePrev();
            RefreshViews();
            break;
        case Cmd::kNextPartType:
            set.iShowSubTypeNext();
            RefreshViews();
            break;
        case Cmd::kPrevFeature:
            SelectPrevFeature();
            break;
        case Cmd::kNextFeature:
            SelectNextFeature();
            break;
        case Cmd::kPrevDataOutput:
            ShowPrevDataOutput();
            break;
        case Cmd::kNextDataOutput:
            ShowNextDataOutput();
            break;
        case Cmd::kPrevTool:
        case Cmd::kNextTool: {
            const int tool = ShownToolPos(set) + (id == Cmd::kNextTool ? 1 : -1);
            set.iShowToolNo(tool);
            SelectFeature(set.Tools().GetFeatureIndex_First(tool, set.iGetFixedFeatures()));
            break;
        }
        case Cmd::kPrevPartSet:
        case Cmd::kNextPartSet:
            SelectPartSet(m_session->PartSets().iGetActualPartSetNo() +
                          (id == Cmd::kNextPartSet ? 1 : -1));
            break;
        case Cmd::kSelectPartSet:
            SelectPartSet(static_cast<int>(argument));
            break;
        case Cmd::kResetReferences:
            set.DefaultReferences().Reset();
            StoreReferencesChanged(set);
            RefreshViews();
            break;
        case Cmd::kAutoAssignReferences:
            AutoAssignStandardReferences();
            break;
        case Cmd::kMirrorVertical:
        case Cmd::kMirrorHorizontal:
            MirrorSelectedParts(id == Cmd::kMirrorVertical);
            break;
        case Cmd::kDeleteCameraImages:
            DeleteCameraImages();
            break;
        case Cmd::kAddPartSet:
            AddCheckProgram();
            break;
        case Cmd::kDeletePartSet:
            DeleteCheckProgram();
            break;
        case Cmd::kCopyPartSet:
            CopyCheckProgram();
            break;
        case Cmd::kPastePartSet:
            PasteCheckProgram();
            break;
        case Cmd::kPartSetProperties:
            EditCheckProgramProperties();
            break;
        default:
            break;
    }
    return true;
}

std::optional<OCommandState> ODoc::PartCommandState(int id) const {
    if (!bIsPartCommand(id)) return std::nullopt;
    OCommandState state;
    const OType_ZRPartSet& set = *opGetActualPartSet();
    const bool logging = m_session->bIsLoggingToFile();
    const OType_ProjectProperties& properties = m_session->ProjectProperties();
    const OTargetSystem& target = m_session->GetTargetSystem();
    const bool teachShown = set.iShowGetTeachTest() == 1;
    const int partSets = m_session->PartSets().iGetNum();
    const int actualSet = m_session->PartSets().iGetActualPartSetNo();
    if (const int n = OrientationOfCommand(id)) {
        state.enabled =
            properties.useOrientation && target.orientations >= n && teachShown && !logging;
        return state;
    }
    if (const int n = TypeOfCommand(id)) {
        state.enabled = properties.useTypes && target.partsInSet >= n && teachShown && !logging;
        return state;
    }
    if (const int reference = ReferenceOfCommand(id); reference >= 0) {
        state.enabled = iGetFamily() == 2 && set.iGetNumOfFeatures() > 0;
        state.checked =
            state.enabled && set.DefaultReferences().iGetAt(reference) == set.iShowFeatureGetNo();
        return state;
    }
    if (bIsNavigationCommand(id) && logging) return state;
    const int shown = ShownPartNo(set);
    const int size = ShownList(set).iGetSize();
    const int tool = ShownToolPos(set);
    const int tools = set.Tools().iGetNum();
    switch (id) {
        case Cmd::kUseParts:
        case Cmd::kIgnoreParts:
            state.enabled = teachShown && !logging;
            break;
        case Cmd::kPrevPart:
            state.enabled = shown > 0;
            break;
        case Cmd::kNextPart:
            state.enabled = shown + 1 < size;
            break;
        case Cmd::kTenPartsBack:
        case Cmd::kTenPartsForward:
        case Cmd::kGotoPart:
            state.enabled = size > 0;
            break;
        case Cmd::kSwitchTeachTest:
            state.enabled = true;
            state.checked = !teachShown;
            break;
        case Cmd::kPrevOrientation:
            state.enabled = set.iShowVectorGetNo() > 0;
            break;
        case Cmd::kNextOrientation:
            state.enabled = set.iShowVectorGetNo() + 1 < ShownVectorCount(set);
            break;
        case Cmd::kPrevPartType:
            state.enabled = set.iShowSubTypeGetNo() > 0;
            break;
        case Cmd::kNextPartType:
            state.enabled = set.iShowSubTypeGetNo() + 1 < set.iGetNum_SubTypes();
            break;
        case Cmd::kPrevFeature:
            state.enabled = set.iShowFeatureGetNo() > 0;
            break;
        case Cmd::kNextFeature:
            state.enabled = set.iShowFeatureGetNo() + 1 < set.iGetNumOfFeatures();
            break;
        case Cmd::kPrevDataOutput:
            state.enabled = set.iShowDataOutputGetNo() > 0;
            break;
        case Cmd::kNextDataOutput:
            state.enabled = set.iShowDataOutputGetNo() + 1 < set.DataOutputs().iGetNum();
            break;
        case Cmd::kPrevTool:
            state.enabled = tools > 1 && tool > 0;
            break;
        case Cmd::kNextTool:
            state.enabled = tools > 1 && tool >= 0 && tool + 1 < tools;
            break;
        case Cmd::kPrevPartSet:
            state.enabled = actualSet > 0;
            break;
        case Cmd::kNextPartSet:
            state.enabled = actualSet + 1 < partSets;
            break;
        case Cmd::kSelectPartSet:
            state.enabled = partSets > 1 && !logging;
            break;
        case Cmd::kResetReferences:
        case Cmd::kAutoAssignReferences:
            state.enabled = iGetFamily() == 2;
            break;
        case Cmd::kMirrorVertical:
        case Cmd::kMirrorHorizontal:
            // Mirrors work on contours, which family-1 parts have.
            state.enabled = iGetFamily() == 1 && !logging && bHasSelectedPart(ShownList(set));
            break;
        case Cmd::kDeleteCameraImages:
            state.enabled = m_session->bIsCameraTarget() && !logging && bAnyPartHasImages(set);
            break;
        case Cmd::kAddPartSet:
            state.enabled = partSets < static_cast<int>(OType_ZRPartSetArray::kMaxPartSets);
            break;
        case Cmd::kDeletePartSet:
            state.enabled = partSets > 1;
            break;
        case Cmd::kCopyPartSet:
            state.enabled = m_services.clipboard != nullptr;
            break;
        case Cmd::kPastePartSet:
            state.enabled = iOfferedPartSetFormat() >= 0;
            break;
        case Cmd::kPartSetProperties:
            state.enabled = !logging;
            break;
        default:
            break;
    }
    return state;
}

// --- parts ---

bool ODoc::bHasSelectedPart(const OType_PartArray& list) {
    for (int i = 0; i < list.iGetSize(); ++i) {
        if (list.GetAt_NoSort(i)->bIsSelected()) return true;
    }
    return false;
}

bool ODoc::bAnyPartHasImages(const OType_ZRPartSet& set) {
    for (const OType_PartArray* list : {&set.TeachParts(), &set.TestParts()}) {
        for (int i = 0; i < list->iGetSize(); ++i) {
            if (list->GetAt_NoSort(i)->iGetNumImages() > 0) return true;
        }
    }
    return false;
}

void ODoc::ShowShownListPart(int number) {
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set) return;
    if (set->iShowGetTeachTest()) {
        ShowTeachPart(number);
    } else {
        ShowTestPart(number);
    }
}

void ODoc::AssignToSelectedSampleParts(const std::function<void(OType_Part&)>& assign,
                                       std::string_view undoText) {
    OType_ZRPartSet& set = *opGetActualPartSet();
    OType_PartArray& teach = set.TeachParts();
    bool changed = false;
    for (int i = 0; i < teach.iGetSize(); ++i) {
        OType_Part& part = *teach.GetAt_NoSort(i);
        if (!part.bIsSelected()) continue;
        const int type = part.iGetType();
        const int orientation = part.iGetOrientation();
        assign(part);
        changed = changed || type != part.iGetType() || orientation != part.iGetOrientation();
    }
    Recompute(&set, 0, 0, 1, 1, 0);
    if (changed) {
        bStoreUndoStep(set, undoText, 0);
        SetModifiedFlag(1);
    }
    RefreshViews();
}

void ODoc::GotoPartNo() {
    OType_ZRPartSet& set = *opGetActualPartSet();
    const OType_PartArray& list = ShownList(set);
    int number = ShownPartNo(set) + 1;
    if (!m_services.ui.GetNumber(DocumentText::kGotoPartTitle, ResStr(kGotoPrompt), number, 0,
                                 INT_MAX)) {
        return;
    }
    int position = list.iGetSortPos(number - 1);
    if (position < 0 || position >= list.iGetSize()) position = list.iGetSize() - 1;
    ShowShownListPart(position);
}

bool ODoc::bEditPartProperties(bool selection) {
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set) return false;
    const bool sample = set->iShowGetTeachTest() == 1;
    OType_PartArray& list = ShownList(*set);
    std::vector<OType_Part*> parts;
    if (selection) {
        for (int i = 0; i < list.iGetSize(); ++i) {
            if (list.GetAt(i)->bIsSelected()) parts.push_back(list.GetAt(i));
        }
    } else if (OType_Part* shown = set->opGetShowPart()) {
        parts.push_back(shown);
    }
    if (parts.empty()) return false;
    ODlg_PartProperties dialog(std::move(parts), sample, m_session->ProjectProperties(),
                               m_session->GetTargetSystem());
    if (!m_services.ui.bRunDialog(dialog) || !dialog.bChanged()) return false;
    bStoreUndoStep(*set, DocumentText::kUndoPartProperties, 0);
    SetModifiedFlag(1);
    return true;
}

void ODoc::MirrorSelectedParts(bool vertical) {
    OType_ZRPartSet& set = *opGetActualPartSet();
    OExtractor* extractor = opEnsureExtractor();
    if (!extractor) return;
    OType_PartArray& list = ShownList(set);
    const int size = list.iGetSize();
    {
        OWaitCursor wait(m_services.ui);
        for (int i = 0; i < size; ++i) {
            const OType_Part& original = *list.GetAt(i);
            if (!original.bIsSelected()) continue;
            auto copy = std::make_unique<OType_Part>(original);
            if (vertical) {
                extractor->MirrorVertical(*copy);
            } else {
                extractor->MirrorHorizontal(*copy);
            }
            OType_Part* added = list.Add(std::move(copy));
            added->SetRecordNo(list.iGetSize());
        }
    }
    Recompute(&set, 1, 0, 1, 1, 0);
    SetModifiedFlag(1);
    RefreshViews();
}

void ODoc::DeleteCameraImages() {
    OType_ZRPartSet& set = *opGetActualPartSet();
    for (OType_PartArray* list : {&set.TeachParts(), &set.TestParts()}) {
        for (int i = 0; i < list->iGetSize(); ++i)
            list->GetAt_NoSort(i)->RemoveImages();
    }
    Recompute(&set, 1, 0, 1, 1, 0);
    bStoreUndoStep(set, DocumentText::kUndoCameraImagesDeleted, 0);
    SetModifiedFlag(1);
    RefreshViews();
}

// --- standard references ---

void ODoc::StoreReferencesChanged(OType_ZRPartSet& set) {
    bStoreUndoStep(set, DocumentText::kUndoStandardReferences, 32860);
    SetModifiedFlag(1);
}

void ODoc::AssignStandardReference(int reference) {
    OType_ZRPartSet& set = *opGetActualPartSet();
    if (set.iGetNumOfFeatures() <= 0) return;
    set.DefaultReferences().SetAt(reference, set.iShowFeatureGetNo());
    StoreReferencesChanged(set);
    RefreshViews();
}

void ODoc::AutoAssignStandardReferences() {
    OType_ZRPartSet& set = *opGetActualPartSet();
    const int features = set.iGetNumOfFeatures();
    const int start = std::max(0, set.iShowFeatureGetNo());
    bool changed = false;
    for (int i = 0; i < OType_DefaultReferenceFeatures::kCount; ++i) {
        const int kind = kReferences[i].featureKind;
        if (kind < 0) continue;
        for (int f = start; f < features; ++f) {
            if (FeatureKindAt(set, f) != kind) continue;
            if (set.DefaultReferences().iGetAt(i) != f) {
                set.DefaultReferences().SetAt(i, f);
                changed = true;
            }
            break;
        }
    }
    if (changed) StoreReferencesChanged(set);
    RefreshViews();
}

// --- check programs ---

void ODoc::SelectPartSet(int number) {
    OType_ZRPartSetArray& sets = m_session->PartSets();
    const int before = sets.iGetActualPartSetNo();
    sets.iSetActualPartSetNo(number);
    if (sets.iGetActualPartSetNo() != before) Recompute(opGetActualPartSet(), 0, 0, 1, 1, 0);
    RefreshPartSetBar(1);
    RefreshViews();
}

void ODoc::AddCheckProgram() {
    OType_ZRPartSet* set = m_session->AddPartSet(true);
    if (!set) return;
    const int hardware = m_session->GetTargetSystem().hardware;
    if ((hardware == 16 || hardware == 1024) && m_extensions.createEditionTemplate)
        FillEditionTemplate(*set);
    OType_ZRPartSetArray& sets = m_session->PartSets();
    sets.iSetActualPartSetNo(sets.iGetNum() - 1);
    RefreshPartSetBar(1);
    Recompute(set, 1, 0, 1, 1, 0);
    set->UndoRedo().bStartUndoRedo(*set);
    SetModifiedFlag(1);
    RefreshViews();
}

void ODoc::FillEditionTemplate(OType_ZRPartSet& set) {
    if (!m_extensions.createEditionTemplate(set)) return;
    // The template's features are enabled by extracting them once from a part.
    const bool temporaryPart = set.TeachParts().bIsEmpty();
    if (temporaryPart) set.TeachParts().Add(std::make_unique<OType_Part>());
    Recompute(&set, 0, 0, 1, 1, 0);
    const int enable = std::min(3, set.iGetNumOfFeatures());
    for (int f = 0; f < enable; ++f)
        set.SetFeatureEnable(f, 1);
    Recompute(&set, 0, 0, 1, 1, 0);
    if (temporaryPart) set.TeachParts().RemoveAll();
}

void ODoc::DeleteCheckProgram() {
    OType_ZRPartSetArray& sets = m_session->PartSets();
    if (sets.iGetNum() <= 1) return;
    if (m_services.ui.Message(ResStr(kDeletePartSetQuestion), MsgIcon::Question,
                              MsgButtons::OkCancel) != MsgResult::Ok) {
        return;
    }
    sets.RemoveAt(sets.iGetActualPartSetNo());
    RefreshPartSetBar(1);
    Recompute(opGetActualPartSet(), 0, 0, 1, 1, 0);
    SetModifiedFlag(1);
    RefreshViews();
}

std::string ODoc::PartSetFormat(int family) {
    return ResStr(kPartSetFormatIds[family == 2 ? 1 : 0]);
}

int ODoc::iOfferedFamily(int family1FormatId, int family2FormatId) const {
    const Clipboard* clipboard = m_services.clipboard;
    if (!clipboard) return -1;
    std::vector<std::string> formats;
    for (int id : OClipboardFormats::kNameIds)
        formats.push_back(ResStr(id));
    const int offered = clipboard->iGetPriorityFormat(formats);
    if (offered < 0) return -1;
    const int id = OClipboardFormats::kNameIds[static_cast<size_t>(offered)];
    return id == family1FormatId ? 1 : id == family2FormatId ? 2 : -1;
}

int ODoc::iOfferedPartSetFormat() const {
    return iOfferedFamily(kPartSetFormatIds[0], kPartSetFormatIds[1]);
}

void ODoc::CopyCheckProgram() {
    OType_ZRPartSet& set = *opGetActualPartSet();
    Clipboard* clipboard = m_services.clipboard;
    if (!clipboard) return;
    const int family = iGetFamily();
    std::vector<uint8_t> bytes;
    {
        OWaitCursor wait(m_services.ui);
        int withImages = 1;
        if (family == 2 && set.iGetObjectSize(1, 1) > kLargePartSetBytes &&
            m_services.ui.Message(ResStr(kLargePartSetQuestion), MsgIcon::Question,
                                  MsgButtons::YesNo, MsgResult::No) != MsgResult::Yes) {
            withImages = 0;
        }
        try {
            bytes = set.Encode(1, withImages);
        } catch (const std::bad_alloc&) {
            return;  // not enough memory: the copy ends without a word
        }
    }
    if (family == 2) Recompute(&set, 1, 0, 1, 1, 0);
    if (!clipboard->bSetData(PartSetFormat(family), bytes))
        m_services.ui.Message(ResStr(kCopyFailed), MsgIcon::Error);
}

void ODoc::PasteCheckProgram() {
    Clipboard* clipboard = m_services.clipboard;
    const int offered = iOfferedPartSetFormat();
    if (!clipboard || offered < 0) return;
    UserInteraction& ui = m_services.ui;
    if (offered != iGetFamily()) {
        ui.Message(ResStr(kWrongFamilyPartSet), MsgIcon::Warning);
        return;
    }
    std::vector<uint8_t> bytes;
    if (!clipboard->bGetData(PartSetFormat(offered), bytes)) return;
    OType_ZRPartSetArray& sets = m_session->PartSets();
    const int before = sets.iGetActualPartSetNo();
    OType_ZRPartSet* set = nullptr;
    bool decoded = false;
    bool outOfMemory = false;
    try {
        OWaitCursor wait(ui);
        set = m_session->AddPartSet(true);
        decoded = set && set->iDecode(bytes, OType_ZRPartSet::DecodeHistory::Clear) == 1;
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    }
    if (!decoded) {
        // Whatever went wrong, the project stays as it was.
        const bool damaged = set && !outOfMemory;
        if (set) sets.RemoveAt(sets.iGetPos(set));
        sets.iSetActualPartSetNo(before);
        ui.Message(ResStr(damaged ? kDamagedPartSet : kCopyFailed), MsgIcon::Error);
        return;
    }
    sets.iSetActualPartSetNo(sets.iGetPos(set));
    RefreshPartSetBar(1);
    if (!CheckProjectConsistency()) {
        ui.Message(ResStr(kInconsistentProject), MsgIcon::Warning);
        EditProjectProperties(1);
    }
    Recompute(set, 1, 0, 1, 1, 0);
    set->UndoRedo().bStartUndoRedo(*set);
    SetModifiedFlag(1);
    RefreshViews();
}

void ODoc::EditCheckProgramProperties() {
    OType_ZRPartSet& set = *opGetActualPartSet();
    const OTargetSystem& target = m_session->GetTargetSystem();
    const bool zShown = iGetFamily() == 2 && target.software >= 818 &&
                        m_session->ProjectProperties().useAlternativeValue == 1;
    ODlg_CheckProgramProperties dialog(set, zShown);
    if (!m_services.ui.bRunDialog(dialog)) {
        RefreshViews();
        return;
    }
    Settings& settings = m_services.settings;
    if (zShown && dialog.dGetZ() != 0.0 && settings.iGetInt("Settings", kZWarningSetting, 0) != 1) {
        bool dontShowAgain = false;
        m_services.ui.MessageWithCheckMark(ResStr(kZWarning), ResStr(kCheckMarkText), dontShowAgain,
                                           MsgIcon::Warning, MsgButtons::Ok, ResStr(128));
        if (dontShowAgain) settings.SetInt("Settings", kZWarningSetting, 1);
    }
    if (dialog.bNameChanged() || dialog.bZChanged()) {
        if (dialog.bNameChanged()) RefreshPartSetBar(1);
        Recompute(&set, dialog.bZChanged() ? 1 : 0, 0, 1, 1, 0);
        set.UndoRedo().bStoreUndoData(
            set, std::string(DocumentText::kUndoPrefix) + DocumentText::kUndoPartSetProperties,
            std::string(DocumentText::kUndoPrefix) + DocumentText::kUndoPropertiesChanged, 0);
        SetModifiedFlag(1);
    }
    RefreshViews();
}
