#include "extraction/OContourViewController.h"

#include <algorithm>
#include <cmath>

#include "classification/ODlg_CaliperSettings.h"
#include "extraction/OContourEditCommands.h"
#include "extraction/OContourViewZoom.h"
#include "extraction/ODlg_ContourLimits.h"
#include "extraction/OExtr_Default.h"
#include "extraction/OExtractorHost.h"
#include "extraction/OToolTracking.h"
#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"
#include "platform/OWaitCursor.h"
#include "platform/UserInteraction.h"
#include "tools/OType_ConfigTool_Combination.h"
#include "tools/OType_ConfigTool_Contour.h"

namespace {

using namespace ContourViewCommand;

constexpr int kDisableBasicQuestion = 26007;
constexpr int kDeleteToolQuestion = 26008;
constexpr int kDeleteToolsQuestion = 26009;
constexpr int kClipboardWriteFailed = 26010;
constexpr int kToolCapacityReached = 26011;
constexpr int kPasteCompatibilityQuestion = 26012;
constexpr int kPasteCancelled = 26013;
constexpr int kPasteUnreadable = 26014;
constexpr int kPasteNotAdaptable = 26015;
constexpr int kCopyWord = 26016;
constexpr int kToolLimitMessage = 2081;
constexpr int kBarHalfHeightPixels = 3;

const char* const kUndoRemoved = "UNDO:Removed Config Tool";
const char* const kUndoRemovedLong = "UNDO:Removed the tool ...";
const char* const kUndoAdded = "UNDO:Added tool";
const char* const kUndoAddedLong = "UNDO:Added the tool ...";
const char* const kUndoChanged = "UNDO:Changed Config Tool";
const char* const kUndoChangedLong = "UNDO:Changed the position and or rotation";

const OType_Part* ShownPart(const OType_ZRPartSet* partSet) {
    return partSet ? partSet->opGetShowPart() : nullptr;
}

OContourColumns ColumnsOf(const OType_Part* part) {
    OContourColumns columns;
    if (part) columns.Build(part->Contour());
    return columns;
}

}  // namespace

const std::vector<OContourMenuEntry>& ContourContextMenu() {
    static const std::vector<OContourMenuEntry> entries = {
        {kDeletePart, "Delete part"},
        {kPartProperties, "Part properties\tCtrl+E"},
        {32852, "ROI"},
        {32853, "VStrip"},
        {32854, "CTool"},
        {32944, "Distance measurement"},
        {32793, "Multiple distance measurement"},
        {32788, "Vertical distance measurement"},
        {32945, "Angle measurement"},
        {32794, "Multiple angle measurement"},
        {32946, "Counting measurement"},
        {32872, "Math / logic function"},
        {32873, "External calculation (sensor)"},
        {kCopyTool, "&Copy tool\tCtrl+C"},
        {kCutTool, "Cu&t\tCtrl+X"},
        {kPasteTool, "&Paste tool\tCtrl+V"},
        {kDelete, "Delete / disable tool or feature\tDel"},
        {kToolProperties, "Tool properties\tAlt+S"},
        {kUseForQuality, "Use feature for quality decision\tCtrl+D"},
        {ContourEditCommand::kViewingArea, "Adjust viewing area on/off"},
        {ContourEditCommand::kThinAreas, "Ignore part areas with a height less than..."},
        {ContourEditCommand::kHoles, "Ignore hole areas with a height less than..."},
        {ContourEditCommand::kUndoFilter, "Undo last filter"},
        {ContourEditCommand::kCombineOr, "Combine with 'OR' operator"},
        {ContourEditCommand::kCombineXor, "Combine with 'XOR' operator"},
        {ContourEditCommand::kCombineAnd, "Combine with 'AND' operator"},
        {kTapeMeasureSettings, "Settings for tape measure"},
        {kScreenshotToClipboard, "Copy screenshot to &clipboard"},
        {kScreenshotToFile, "Save screenshot to &file"},
    };
    return entries;
}

OContourViewController::OContourViewController(OExtr_Default& engine, OExtractorHost& host)
    : m_engine(engine), m_host(host) {}

void OContourViewController::SetClientSize(int width, int height) {
    m_width = width;
    m_height = height;
}

OViewMapping OContourViewController::Mapping() const {
    return ContourViewMapping(m_engine.ViewState(), m_width, m_height);
}

OType_ZRPartSet* OContourViewController::PartSet() const {
    return m_host.opGetActualPartSet();
}

int OContourViewController::iSelectedFeature() const {
    const OType_ZRPartSet* ps = PartSet();
    if (!ps) return -1;
    const int f = ps->iShowFeatureGetNo();
    return f >= 0 && f < ps->iGetNumOfFeatures() ? f : -1;
}

void OContourViewController::SyncSelection() {
    const OType_ZRPartSet* ps = PartSet();
    int tool = -1;
    if (ps) {
        tool = ps->iShowFeatureGetNo() - ps->iGetFixedFeatures();
        if (tool < 0 || tool >= ps->Tools().iGetNum()) tool = -1;
    }
    m_engine.ViewState().selectedTool = tool;
}

bool OContourViewController::bShownDataHasParts() const {
    const OType_ZRPartSet* ps = PartSet();
    if (!ps) return false;
    return ps->iShowGetTeachTest() ? !ps->TeachParts().bIsEmpty() : !ps->TestParts().bIsEmpty();
}

// --- mouse ---

OLeftButtonDown OContourViewController::OnLeftButtonDown(OPoint p) {
    OContourViewState& s = m_engine.ViewState();
    OLeftButtonDown result;
    PrepareContourView(s, m_width, m_height);
    const OViewMapping mapping = Mapping();
    const OPoint c = WindowToContour(s, mapping, p);
    if (s.viewingAreaBarsShown) {
        if (ToolTracking::bContains(s.lowerBarRect, c)) {
            s.draggingLowerBar = 1;
            result.action = OLeftButtonDown::Action::DragLowerBar;
            return result;
        }
        if (ToolTracking::bContains(s.upperBarRect, c)) {
            s.draggingUpperBar = 1;
            result.action = OLeftButtonDown::Action::DragUpperBar;
            return result;
        }
    }
    if (s.magnifierOn == 1 && s.magnifierPercent > ContourView::kMinPercent) {
        result.action = OLeftButtonDown::Action::RubberBand;
        return result;
    }
    SyncSelection();
    OType_ZRPartSet* ps = PartSet();
    if (ps) {
        const OType_Part* shown = ShownPart(ps);
        const OContourColumns columns = ColumnsOf(shown);
        const int tool = ToolTracking::PickTool(*ps, columns, c, s.selectedTool);
        if (tool >= 0) {
            const int feature = ps->Tools().GetFeatureIndex_First(tool, ps->iGetFixedFeatures());
            if (feature != ps->iShowFeatureGetNo()) m_host.SelectFeature(feature, true);
            s.selectedTool = tool;
            result.action = OLeftButtonDown::Action::TrackTool;
            result.tool = tool;
            result.tracker = ToolTracking::TrackerRect(
                ToolTracking::PlacedRegion(*ps->Tools().opGetAt(tool), columns), s, mapping);
            return result;
        }
    }
    if (bInDrawingArea(p, m_width, m_height)) {
        s.measuring = 1;
        s.measureStart = s.measureEnd = p;
        result.action = OLeftButtonDown::Action::TapeMeasure;
    }
    return result;
}

void OContourViewController::OnRubberBandEnded(OPoint start, OPoint end) {
    ContourViewZoom::RubberBandEnded(m_engine.ViewState(), start, end, m_width, m_height);
}

bool OContourViewController::OnToolTracked(int toolIndex, const ORect& before, const ORect& after) {
    OType_ZRPartSet* ps = PartSet();
    if (!ps) return false;
    OType_ConfigTool* tool = ps->Tools().opGetAt(toolIndex);
    if (!tool) return false;
    const OContourColumns columns = ColumnsOf(ps->opGetShowPart());
    const std::optional<ORect> region = ToolTracking::TrackedRegion(
        ToolTracking::PlacedRegion(*tool, columns), before, after, m_engine.ViewState(), Mapping());
    if (!region) return false;
    CommitToolRegion(*ps, *tool, *region, columns);
    return true;
}

bool OContourViewController::bNudgeSelectedTool(int dx, int dy, int dWidth, int dHeight) {
    SyncSelection();
    OType_ZRPartSet* ps = PartSet();
    OType_ConfigTool* tool = ps ? ps->Tools().opGetAt(m_engine.ViewState().selectedTool) : nullptr;
    if (!tool || !ToolTracking::bHasRegion(*tool)) return false;
    const OContourColumns columns = ColumnsOf(ps->opGetShowPart());
    const ORect placed = ToolTracking::PlacedRegion(*tool, columns);
    const std::optional<ORect> region = NudgedRegion(placed, dx, dy, dWidth, dHeight);
    if (!region) return false;
    CommitToolRegion(*ps, *tool, *region, columns);
    return true;
}

std::optional<ORect> OContourViewController::NudgedRegion(const ORect& placed, int dx, int dy,
                                                          int dWidth, int dHeight) {
    ORect r = placed;
    r.left += dx;
    r.right += dx + dWidth;
    r.top += dy;
    r.bottom += dy + dHeight;
    // A resize never turns the region inside out; a move keeps its size exactly.
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    for (int32_t* v : {&r.left, &r.top, &r.right, &r.bottom})
        *v = std::clamp(*v, -32767, 32767);
    if (dWidth == 0 && (r.right - r.left != placed.right - placed.left)) return std::nullopt;
    if (dHeight == 0 && (r.bottom - r.top != placed.bottom - placed.top)) return std::nullopt;
    if (r == placed) return std::nullopt;
    return r;
}

void OContourViewController::CommitToolRegion(OType_ZRPartSet& ps, OType_ConfigTool& tool,
                                              const ORect& region, const OContourColumns& columns) {
    if (auto* contour = dynamic_cast<OType_ConfigTool_Contour*>(&tool))
        contour->SetPlacedRegion(region, columns);
    else
        tool.SetRegion(region);
    OType_Part* shown = ps.opGetShowPart();
    OType_Part blank;
    OType_Part& part = shown ? *shown : blank;
    tool.UpdateCFToolDefinition(ps, m_host.GetDeviceInfo(), part, part.Features());
    tool.SetModifiedFlag(true);
    m_host.Recompute(ps, 0, 0, 1, 1, 0);
    ps.UndoRedo().bStoreUndoData(ps, kUndoChanged, kUndoChangedLong, kViewCommand);
    m_host.UpdateAllViews();
}

std::string OContourViewController::OnMouseMove(OPoint p, bool leftDown) {
    OContourViewState& s = m_engine.ViewState();
    const OPoint c = WindowToContour(s, Mapping(), p);
    if (s.measuring) s.measureEnd = p;
    OType_ZRPartSet* ps = PartSet();
    if (leftDown && ps && ps->iGetFilterMode() == 1 && (s.draggingLowerBar || s.draggingUpperBar)) {
        int lower = ps->iGetFilterLimit1();
        int upper = ps->iGetFilterLimit2();
        const int y = std::clamp(c.y, -32768, 32767);
        if (s.draggingLowerBar) {
            lower = y;
            upper = std::max(upper, y);
        } else {
            upper = y;
            lower = std::min(lower, y);
        }
        ps->SetFilterLimits(static_cast<int16_t>(lower), static_cast<int16_t>(upper));
        m_host.RedrawContourView();
    }
    return ContourViewText::PointerPane(c);
}

void OContourViewController::OnLeftButtonUp() {
    OContourViewState& s = m_engine.ViewState();
    s.measuring = 0;
    if (!s.draggingLowerBar && !s.draggingUpperBar) return;
    s.draggingLowerBar = s.draggingUpperBar = 0;
    if (OType_ZRPartSet* ps = PartSet()) OContourEditCommands(m_host).ReapplyViewingArea(*ps);
}

void OContourViewController::OnLeftDoubleClick(OPoint p) {
    OContourViewState& s = m_engine.ViewState();
    if (s.magnifierOn == 1 && s.magnifierPercent > 30) {
        ContourViewZoom::ChangeMagnifier(s, -30, p);
        return;
    }
    SyncSelection();
    OType_ZRPartSet* ps = PartSet();
    const OType_ConfigTool* tool = ps ? ps->Tools().opGetAt(s.selectedTool) : nullptr;
    if (!tool || !ToolTracking::bHasRegion(*tool)) return;
    const OPoint c = WindowToContour(s, Mapping(), p);
    if (ToolTracking::bContains(ToolTracking::PlacedRegion(*tool, ColumnsOf(ShownPart(ps))), c))
        m_host.OpenToolProperties();
}

bool OContourViewController::OnRightButtonDown(OPoint p) {
    OContourViewState& s = m_engine.ViewState();
    if (s.magnifierOn == 1 && s.magnifierPercent < ContourView::kMaxPercent) {
        ContourViewZoom::ChangeMagnifier(s, 10, p);
        return false;
    }
    return true;
}

void OContourViewController::OnRightDoubleClick(OPoint p) {
    OContourViewState& s = m_engine.ViewState();
    if (s.magnifierOn == 1 && s.magnifierPercent < ContourView::kMaxPercent)
        ContourViewZoom::ChangeMagnifier(s, 30, p);
}

bool OContourViewController::OnWheel(bool towardsUser, OPoint p) {
    return ContourViewZoom::bOnWheel(m_engine.ViewState(), towardsUser, p, m_width, m_height);
}

OContourCursor OContourViewController::CursorAt(OPoint p, bool overHandle) const {
    const OContourViewState& s = m_engine.ViewState();
    const bool inside = bInDrawingArea(p, m_width, m_height);
    if (s.measuring) return inside ? OContourCursor::Measure : OContourCursor::Arrow;
    if (s.magnifierOn == 1) return OContourCursor::Magnifier;
    if (overHandle) return OContourCursor::TrackerHandle;
    return inside ? OContourCursor::Measure : OContourCursor::Arrow;
}

// --- painting helpers ---

std::vector<std::string> OContourViewController::TapeMeasureText() const {
    const OContourViewState& s = m_engine.ViewState();
    if (!s.measuring) return {};
    const OViewMapping mapping = Mapping();
    const auto lines = ContourViewText::TapeMeasureLines(
        WindowToContour(s, mapping, s.measureStart), WindowToContour(s, mapping, s.measureEnd),
        m_host.dGetTapeScaleX(), m_host.dGetTapeScaleY());
    return {lines.begin(), lines.end()};
}

void OContourViewController::UpdateViewingAreaBars() {
    OContourViewState& s = m_engine.ViewState();
    const OType_ZRPartSet* ps = PartSet();
    if (!ps || ps->iGetFilterMode() != 1) {
        s.viewingAreaBarsShown = 0;
        return;
    }
    const int sy = std::max(Mapping().iDeviceSizeY(), 1);
    const int half = std::max(1, kBarHalfHeightPixels * 10000 / sy);
    const int lower = ps->iGetFilterLimit1();
    const int upper = ps->iGetFilterLimit2();
    s.lowerBarRect = {s.windowLeft, lower - half, s.windowRight, lower + half};
    s.upperBarRect = {s.windowLeft, upper - half, s.windowRight, upper + half};
    s.viewingAreaBarsShown = 1;
}

ContourViewText::OStatusPanes OContourViewController::StatusPanes() {
    SyncSelection();
    const OType_ZRPartSet* ps = PartSet();
    const bool teach = !ps || ps->iShowGetTeachTest() == 1;
    return ContourViewText::PartPanes(ShownPart(ps), teach, m_host.GetTargetSystem().orientations,
                                      m_host.bUsesOrientations(), m_host.bUsesTypes());
}

// --- commands ---

OCommandState OContourViewController::GetCommandState(int id) {
    SyncSelection();
    const OContourViewState& s = m_engine.ViewState();
    const OType_ZRPartSet* ps = PartSet();
    const bool tool = s.selectedTool != -1;
    const bool parts = bShownDataHasParts();
    switch (id) {
        case kCopyTool:
        case kCutTool:
            return {tool, false};
        case kDelete:
            return {iSelectedFeature() >= 0, false};
        case kToolProperties:
            return {tool || parts, false};
        case kPartProperties:
        case kPrint:
        case kPrintPreview:
        case kDeletePart:
            return {parts, false};
        case kPasteTool:
            return {bCanPasteTool(m_host, ResStr(kToolClipboardFormat)), false};
        case kMagnifier:
            return {true, s.magnifierOn == 1};
        case kUseForQuality: {
            if (!m_host.bFeatureSelectionAllowed()) return {false, true};
            const int f = iSelectedFeature();
            if (f < 0) return {false, false};
            return {true, ps->bIsFeatureEnabled(f)};
        }
        case kTapeMeasureSettings:
        case kScreenshotToClipboard:
        case kScreenshotToFile:
            return {true, false};
        default:
            return OContourEditCommands::CommandState(id, ps);
    }
}

bool OContourViewController::bExecute(int id) {
    SyncSelection();
    switch (id) {
        case kCopyTool:
            return bCopyTool();
        case kCutTool:
            return bCutTool();
        case kPasteTool:
            return bPasteTool();
        case kDelete:
            return bDeleteSelected();
        case kUseForQuality:
            return bToggleQualityUse();
        case kTapeMeasureSettings:
            return bTapeMeasureSettings();
        case kDeletePart:
            return bDeleteShownPart();
        case kMagnifier:
            ContourViewZoom::ToggleMagnifier(m_engine.ViewState());
            m_host.RedrawContourView();
            return true;
        case kToolProperties:
            if (!GetCommandState(id).enabled) return false;
            m_host.OpenToolProperties();
            return true;
        case kPartProperties: {
            OType_ZRPartSet* ps = PartSet();
            if (!ps || !ps->opGetShowPart()) return false;
            if (m_host.bEditPartProperties()) {
                m_host.Recompute(*ps, 0, 0, 1, 1, 0);
                m_host.UpdateAllViews();
            }
            return true;
        }
        default:
            if (OContourEditCommands::bHandles(id))
                return OContourEditCommands(m_host).bExecute(id);
            return false;
    }
}

bool OContourViewController::bCopyTool() {
    const OType_ZRPartSet* ps = PartSet();
    const int tool = m_engine.ViewState().selectedTool;
    return ps && tool >= 0 && bCopyToolTo(m_host, *ps, tool, ResStr(kToolClipboardFormat));
}

bool OContourViewController::bCanPasteTool(OExtractorHost& host, std::string_view format) {
    const OType_ZRPartSet* ps = host.opGetActualPartSet();
    const bool room =
        ps && ps->Tools().iGetNumOfFeatures() < host.GetDeviceInfo().u16(ZRINFO::kToolCapacity);
    return room && ps->bHasPartData() && host.bClipboardHasFormat(format);
}

bool OContourViewController::bCopyToolTo(OExtractorHost& host, const OType_ZRPartSet& ps,
                                         int position, std::string_view format) {
    std::vector<uint8_t> bytes;
    if (!ps.Tools().iEncodeAt(bytes, position) || !host.bWriteClipboard(format, bytes)) {
        host.GetUserInteraction().Message(ResStr(kClipboardWriteFailed), MsgIcon::Warning);
        return false;
    }
    return true;
}

bool OContourViewController::bCutTool() {
    return bCopyTool() && bDeleteSelected();
}

std::string OContourViewController::PasteName(const OType_ZRPartSet& partSet,
                                              const std::string& base) {
    auto used = [&](const std::string& name) {
        for (const auto& t : partSet.Tools()) {
            if (t->GetName() == name) return true;
        }
        return false;
    };
    std::string name = base;
    for (int counter = 1; used(name); ++counter)
        name = FormatPrintf("%s (%s %d)", base, ResStr(kCopyWord), counter);
    return name;
}

bool OContourViewController::bPasteTool() {
    return bPasteToolFrom(m_host, ResStr(kToolClipboardFormat));
}

bool OContourViewController::bPasteToolFrom(OExtractorHost& host, std::string_view format) {
    OType_ZRPartSet* ps = host.opGetActualPartSet();
    if (!ps || !host.bClipboardHasFormat(format)) return false;
    UserInteraction& ui = host.GetUserInteraction();
    const ZRINFO& info = host.GetDeviceInfo();
    if (ps->Tools().iGetNum() >= info.u16(ZRINFO::kToolCapacity)) {
        ui.Message(ResStr(kToolCapacityReached), MsgIcon::Warning);
        return false;
    }
    if (!ps->bHasPartData()) return false;
    std::vector<uint8_t> bytes;
    if (!host.bReadClipboard(format, bytes)) return false;
    OWaitCursor wait(ui);
    auto stream = OByteStream_Memory::View(bytes);
    std::unique_ptr<OType_ConfigTool> pasted =
        OType_ConfigToolArray::opCreateCFToolFromStream(stream, ps->ToolPrototypes());
    if (!pasted) {
        ui.Message(ResStr(kPasteUnreadable), MsgIcon::Warning);
        return false;
    }
    const int kind = pasted->iGetConfigToolType();
    if (!host.bIsToolAllowed(kind, pasted->iGetFeatureType())) {
        ui.Message(ResStr(kToolLimitMessage), MsgIcon::Warning);
        return false;
    }
    std::string text;
    const int flags = pasted->iCheckPropertyCompatibility(info, text);
    if (flags != 0) {
        const int adjustable = ToolCompatibility::kAdjustable1 | ToolCompatibility::kAdjustable2;
        if ((flags & ~adjustable) != 0 || flags == adjustable) {
            ui.Message(ResStr(kPasteNotAdaptable), MsgIcon::Warning);
            return false;
        }
        if (ui.Message(ResStrFormat(kPasteCompatibilityQuestion, pasted->GetName(), text),
                       MsgIcon::Warning, MsgButtons::OkCancel) != MsgResult::Ok) {
            ui.Message(ResStr(kPasteCancelled), MsgIcon::Information);
            return false;
        }
    }
    if (!pasted->iAdjustPropertyCompatibility(info) ||
        pasted->iChangePositionSymmetrical(0, info) != 1) {
        ui.Message(ResStr(kPasteNotAdaptable), MsgIcon::Warning);
        return false;
    }
    const std::string name = PasteName(*ps, pasted->GetName());
    OType_ConfigTool* tool = host.opAddTool(*ps, kind, pasted->iGetFeatureType());
    if (!tool) return false;
    // The new tool keeps its own id: the pasted one may still be in use.
    const int id = tool->iGetToolId();
    pasted->CopyTo(*tool);
    tool->SetToolId(id);
    tool->SetName(name);
    tool->SetModifiedFlag(true);
    host.Recompute(*ps, 0, 0, 1, 1, 0);
    ps->UndoRedo().bStoreUndoData(*ps, kUndoAdded, kUndoAddedLong, kViewCommand);
    host.UpdateAllViews();
    return true;
}

std::vector<int> OContourViewController::DependentToolIds(const OType_ZRPartSet& partSet,
                                                          int toolId) {
    std::vector<int> ids = {toolId};
    for (const auto& t : partSet.Tools()) {
        const auto* comb = dynamic_cast<const OType_ConfigTool_Combination*>(t.get());
        if (!comb || std::find(ids.begin(), ids.end(), t->iGetToolId()) != ids.end()) continue;
        for (size_t i = 0; i < ids.size(); ++i) {
            if (comb->bReferencesTool(ids[i])) {
                ids.push_back(t->iGetToolId());
                break;
            }
        }
    }
    return ids;
}

void OContourViewController::RemoveTool(OType_ZRPartSet& partSet, int position) {
    const int feature =
        partSet.Tools().GetFeatureIndex_First(position, partSet.iGetFixedFeatures());
    if (feature < 0) return;
    for (int t = 0; t < partSet.iGetNum_SubTypes(); ++t) {
        OType_VectorArray_Array& arrays = partSet.opGetSubType(t)->Vectors();
        for (int o = 0; o < arrays.iGetNum(); ++o)
            arrays.opGetAt(o)->RemoveAt(feature);
    }
    partSet.Tools().RemoveAt(position);
}

bool OContourViewController::bDeleteSelected() {
    OType_ZRPartSet* ps = PartSet();
    const int feature = iSelectedFeature();
    if (!ps || feature < 0) return false;
    UserInteraction& ui = m_host.GetUserInteraction();
    const int tool = m_engine.ViewState().selectedTool;
    if (tool == -1) {
        const OType_Part* shown = ShownPart(ps);
        std::string name = shown ? shown->Features().oGetFeatureNameAt(feature) : std::string();
        if (name.empty() && feature < BasicFeature::kCount)
            name = ps->GetFeatureNameOrDash(BasicFeature::kTypes[static_cast<size_t>(feature)]);
        if (ui.Message(ResStrFormat(kDisableBasicQuestion, name), MsgIcon::Question,
                       MsgButtons::OkCancel) != MsgResult::Ok) {
            return false;
        }
        for (int t = 0; t < ps->iGetNum_SubTypes(); ++t) {
            OType_VectorArray_Array& arrays = ps->opGetSubType(t)->Vectors();
            for (int o = 0; o < arrays.iGetNum(); ++o) {
                if (OType_Vector* v = arrays.opGetAt(o)->opGetAt(feature))
                    v->option = FeatureOption::Set(v->option, FeatureOption::kNotForQuality, true);
            }
        }
        for (OType_PartArray* list : {&ps->TeachParts(), &ps->TestParts()}) {
            for (int i = 0; i < list->iGetSize(); ++i)
                list->GetAt_NoSort(i)->Features().SetModified(true);
        }
        m_host.Recompute(*ps, 0, 0, 1, 1, 0);
        ps->UndoRedo().bStoreUndoData(*ps, kUndoRemoved, kUndoRemovedLong, kViewCommand);
        m_host.UpdateAllViews();
        return true;
    }
    const OType_ConfigTool* selected = ps->Tools().opGetAt(tool);
    if (!selected) return false;
    const std::vector<int> ids = DependentToolIds(*ps, selected->iGetToolId());
    std::string question;
    if (ids.size() == 1) {
        question = ResStrFormat(kDeleteToolQuestion, selected->GetName());
    } else {
        std::string others;
        for (size_t i = 1; i < ids.size(); ++i)
            others += (i > 1 ? "\n" : "") + ps->Tools().opFindById(ids[i])->GetName();
        question = ResStrFormat(kDeleteToolsQuestion, selected->GetName(), others);
    }
    if (ui.Message(question, MsgIcon::Question, MsgButtons::OkCancel) != MsgResult::Ok)
        return false;
    for (auto it = ids.rbegin(); it != ids.rend(); ++it)
        RemoveTool(*ps, ps->Tools().iFindPosById(*it));
    m_host.Recompute(*ps, 0, 0, 1, 1, 0);
    ps->UndoRedo().bStoreUndoData(*ps, kUndoRemoved, kUndoRemovedLong, kViewCommand);
    const int remaining = ps->Tools().iGetNum();
    m_host.SelectFeature(
        remaining > 0 ? ps->Tools().GetFeatureIndex_First(remaining - 1, ps->iGetFixedFeatures())
                      : 0,
        true);
    m_host.UpdateAllViews();
    return true;
}

bool OContourViewController::bToggleQualityUse() {
    OType_ZRPartSet* ps = PartSet();
    if (!GetCommandState(kUseForQuality).enabled) return false;
    if (ps->SetFeatureEnable(iSelectedFeature(), -1) < 0) return false;
    m_host.Recompute(*ps, 0, 0, 1, 1, 0);
    m_host.UpdateAllViews();
    return true;
}

bool OContourViewController::bTapeMeasureSettings() {
    // Contour images have no world coordinates: the Z field stays hidden.
    ODlg_CaliperSettings dialog(m_host.dGetTapeScaleX(), m_host.dGetTapeScaleY(), 0.0, false);
    if (!m_host.GetUserInteraction().bRunDialog(dialog)) return false;
    if (!dialog.bChangedFrom(m_host.dGetTapeScaleX(), m_host.dGetTapeScaleY(), 0.0)) return true;
    m_host.SetTapeScale(dialog.dGetHorizontal(), dialog.dGetVertical());
    m_host.SetModified();
    return true;
}

bool OContourViewController::bDeleteShownPart() {
    OType_ZRPartSet* ps = PartSet();
    if (!ps || !ps->opGetShowPart()) return false;
    const bool teach = ps->iShowGetTeachTest() == 1;
    if (teach) {
        ps->TeachParts().RemoveAt(ps->iShowTeachPartGetNo());
        ps->iShowTeachPartNo(ps->iShowTeachPartGetNo());
        m_host.Recompute(*ps, 0, 0, 1, 1, 0);
    } else {
        ps->TestParts().RemoveAt(ps->iShowTestPartGetNo());
        ps->iShowTestPartNo(ps->iShowTestPartGetNo());
    }
    m_host.UpdateAllViews();
    return true;
}
