#include "extraction/OKvtViewController.h"

#include <algorithm>
#include <cmath>

#include "classification/ODlg_CaliperSettings.h"
#include "extraction/OContourViewController.h"
#include "extraction/OExtr_KVT.h"
#include "extraction/OExtractorHost.h"
#include "extraction/OKvtViewHost.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/CodePage.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"
#include "tools/kvt/OKvtPartImage.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

namespace {

using namespace KvtViewCommand;
using namespace ContourViewCommand;

constexpr int kDeleteToolQuestion = 26008;
constexpr int kDeleteToolsQuestion = 26009;
constexpr int kRenamePrompt = 26202;
constexpr int kRenameTitle = 26203;
constexpr double kWheelFactor = 1.25;

const char* const kUndoChanged = "UNDO:Changed Config Tool";
const char* const kUndoChangedLong = "UNDO:Changed the position and or rotation";
const char* const kUndoRenamed = "UNDO:Renamed Config Tool";
const char* const kUndoRenamedLong = "UNDO:Renamed the tool ...";
const char* const kUndoResetNames = "UNDO:Reset the feature names of tool";
const char* const kUndoResetNamesLong = "UNDO:Reset the feature names of tool ...";

// The contour editing commands of the family-1 view: they do nothing here.
bool bIsContourEditCommand(int id) {
    switch (id) {
        case 32887:
        case 32888:
        case 32823:
        case 32822:
        case 32826:
        case 32827:
        case 32832:
            return true;
        default:
            return false;
    }
}

}  // namespace

OKvtViewController::OKvtViewController(OExtr_KVT& engine, OExtractorHost& host,
                                       OKvtViewHost& viewHost)
    : m_engine(engine), m_host(host), m_viewHost(viewHost) {}

OType_ZRPartSet* OKvtViewController::PartSet() const {
    return m_host.opGetActualPartSet();
}

void OKvtViewController::SetClientSize(int width, int height) {
    m_width = width;
    m_height = height;
}

OKvtViewMapping OKvtViewController::Mapping() const {
    return OKvtViewMapping::Of(m_engine.ViewState(), m_width, m_height);
}

int OKvtViewController::iSelectedFeature() const {
    const OType_ZRPartSet* ps = PartSet();
    if (!ps) return -1;
    const int f = ps->iShowFeatureGetNo();
    return f >= 0 && f < ps->iGetNumOfFeatures() ? f : -1;
}

void OKvtViewController::SyncSelection() {
    const OType_ZRPartSet* ps = PartSet();
    int tool = -1;
    if (const int f = iSelectedFeature(); ps && f >= 0) {
        const OType_ConfigTool* owner =
            ps->Tools().opGetCFToolAtFeature(f, ps->iGetFixedFeatures());
        tool = owner ? ps->Tools().iGetPos(owner) : -1;
    }
    m_engine.ViewState().selectedTool = tool;
}

OType_ConfigTool_KVT* OKvtViewController::SelectedTool() const {
    OType_ZRPartSet* ps = PartSet();
    if (!ps) return nullptr;
    return dynamic_cast<OType_ConfigTool_KVT*>(
        ps->Tools().opGetAt(m_engine.ViewState().selectedTool));
}

// --- what is shown ---

void OKvtViewController::SyncShownImage() {
    SyncSelection();
    OKvtViewState& s = m_engine.ViewState();
    if (s.manualImageChoice || !m_viewHost.bAutoShowCameraOrContourImage()) return;
    const OType_ConfigTool_KVT* tool = SelectedTool();
    if (!tool || !tool->bUsesImage()) return;
    const int wanted = tool->iGetImageType() - 1;
    if (wanted == s.shownImage) return;
    s.shownImage = wanted;
    m_engine.ShowImageRegion();
}

OKvtShownPicture OKvtViewController::ShownPicture() const {
    return PictureOf(PartSet(), m_engine.ViewState().shownImage, m_host.GetDeviceInfo());
}

OKvtShownPicture OKvtViewController::PictureOf(const OType_ZRPartSet* ps, int shown,
                                               const ZRINFO& deviceInfo) {
    OKvtShownPicture picture;
    const OType_Part* part = ps ? ps->opGetShowPart() : nullptr;
    if (!part) return picture;
    if (shown >= 0) {
        const OType_Image* image = part->opGetImage(shown);
        if (!image || image->bIsEmpty()) return picture;
        picture.pixels = KvtImage::View(*image);
        picture.layers = image->iGetLayers();
    } else {
        picture.pixels = KvtImage::ContourPicture(*part, KvtImage::ContourRows(deviceInfo));
        picture.layers = 1;
        picture.contour = true;
    }
    if (picture.pixels.empty()) return {};
    picture.width = picture.pixels.cols;
    picture.height = picture.pixels.rows;
    return picture;
}

bool OKvtViewController::bShowsWorld() const {
    const OType_ZRPartSet* ps = PartSet();
    return ps && ps->bIsCoordTransformerUsed() && ps->opGetCoordTransformer();
}

std::vector<OKvtToolOnView> OKvtViewController::ToolsToDraw() const {
    std::vector<OKvtToolOnView> tools;
    const OType_ZRPartSet* ps = PartSet();
    if (!ps) return tools;
    const OType_Part* part = ps->opGetShowPart();
    OExtr_KVT::ODrawingCache& cache = m_engine.DrawingCache();
    const int count = ps->Tools().iGetNum();
    if (cache.part != part || cache.teach != ps->iShowGetTeachTest() ||
        static_cast<int>(cache.drawings.size()) != count) {
        cache.part = part;
        cache.teach = ps->iShowGetTeachTest();
        cache.drawings = MeasureDrawings(*ps, part);
    }
    const int selected = m_engine.ViewState().selectedTool;
    const bool all = m_viewHost.bShowUnselectedTools();
    for (int k = 0; k < count; ++k) {
        if (k != selected && !all) continue;
        tools.push_back({k, k == selected, cache.drawings[static_cast<size_t>(k)]});
    }
    return tools;
}

std::vector<OKvtDrawing> OKvtViewController::MeasureDrawings(const OType_ZRPartSet& ps,
                                                             const OType_Part* part) const {
    std::vector<OKvtDrawing> drawings(static_cast<size_t>(ps.Tools().iGetNum()));
    const ZRINFO& info = m_host.GetDeviceInfo();
    // Each tool measures with the features of the tools before it, as in extraction.
    OType_FeatureArray before;
    int at = 0;
    for (int k = 0; k < ps.Tools().iGetNum(); ++k) {
        const auto* tool = dynamic_cast<const OType_ConfigTool_KVT*>(ps.Tools().opGetAt(k));
        if (!tool) continue;
        OKvtDrawing& drawing = drawings[static_cast<size_t>(k)];
        if (part) {
            try {
                drawing =
                    tool->Measure(ps, info, *part, before, ps.iShowGetTeachTest() == 1).drawing;
            } catch (...) {
                drawing = OKvtDrawing();
            }
        }
        // A tool that drew nothing still shows where it looks.
        if (drawing.bIsEmpty() && tool->bUsesImage()) drawing.Region(tool->GetShape());
        const int n = tool->iGetNumOfFeatures();
        if (part) {
            for (int i = 0; i < n && at + i < part->Features().iGetNumOfFeatures(); ++i)
                before.Add(part->Features().At(at + i));
        }
        at += n;
    }
    return drawings;
}

// --- pointer and tape measure ---

KvtViewText::OPointerInfo OKvtViewController::PointerInfo(OPoint window) const {
    KvtViewText::OPointerInfo info;
    info.pixel = Mapping().PixelAt(window);
    if (bShowsWorld()) {
        const OType_ZRPartSet* ps = PartSet();
        if (const auto w = KvtViewText::ImageToWorld(*ps->opGetCoordTransformer(),
                                                     {double(info.pixel.x), double(info.pixel.y)},
                                                     -m_viewHost.dGetTapeZ())) {
            info.world = true;
            info.xw = w->x;
            info.yw = w->y;
        }
    }
    // The contour picture has no brightness of its own to report.
    if (m_engine.ViewState().shownImage < 0) return info;
    const OKvtShownPicture picture = ShownPicture();
    if (picture.bIsEmpty()) return info;
    info.layers = picture.layers;
    const int x = info.pixel.x, y = info.pixel.y;
    info.inside = x >= 0 && y >= 0 && x < picture.width && y < picture.height;
    if (!info.inside) return info;
    if (picture.layers < 2) {
        info.grey = picture.pixels.at<uint8_t>(y, x);
        return info;
    }
    const cv::Vec3b rgb = picture.pixels.at<cv::Vec3b>(y, x);
    info.low = rgb[0];
    info.middle = rgb[1];
    info.high = rgb[2];
    info.grey = (299 * rgb[0] + 587 * rgb[1] + 114 * rgb[2] + 500) / 1000;
    return info;
}

std::string OKvtViewController::OnMouseMove(OPoint window) {
    OKvtViewState& s = m_engine.ViewState();
    if (s.measuring) {
        const OPoint p = Mapping().PixelAt(window);
        s.measureEnd = {double(p.x), double(p.y)};
    }
    return KvtViewText::PointerPane(PointerInfo(window));
}

std::vector<std::string> OKvtViewController::TapeMeasureText() const {
    const OKvtViewState& s = m_engine.ViewState();
    if (!s.measuring) return {};
    const OPoint start{int32_t(std::lround(s.measureStart.x)),
                       int32_t(std::lround(s.measureStart.y))};
    const OPoint end{int32_t(std::lround(s.measureEnd.x)), int32_t(std::lround(s.measureEnd.y))};
    std::optional<OPointD> ws, we;
    if (bShowsWorld()) {
        const OCoordTrans_Tsai_Transformer& t = *PartSet()->opGetCoordTransformer();
        ws = KvtViewText::ImageToWorld(t, s.measureStart, -m_viewHost.dGetTapeZ());
        we = KvtViewText::ImageToWorld(t, s.measureEnd, -m_viewHost.dGetTapeZ());
    }
    return KvtViewText::TapeMeasureLines(start, end, m_host.dGetTapeScaleX(),
                                         m_host.dGetTapeScaleY(), ws, we);
}

// --- mouse ---

OKvtLeftButtonDown OKvtViewController::OnLeftButtonDown(OPoint window) {
    OKvtLeftButtonDown down;
    SyncSelection();
    OType_ZRPartSet* ps = PartSet();
    OKvtViewState& s = m_engine.ViewState();
    const OKvtViewMapping mapping = Mapping();
    const OPointD at{double(window.x), double(window.y)};
    if (ps) {
        // The selected tool first (its knob lies outside its region), then the others from
        // the top of the drawing downwards.
        std::vector<int> order;
        if (s.selectedTool >= 0) order.push_back(s.selectedTool);
        if (m_viewHost.bShowUnselectedTools()) {
            for (int k = ps->Tools().iGetNum() - 1; k >= 0; --k) {
                if (k != s.selectedTool) order.push_back(k);
            }
        }
        for (int k : order) {
            const auto* tool = dynamic_cast<const OType_ConfigTool_KVT*>(ps->Tools().opGetAt(k));
            if (!tool || !tool->bUsesImage()) continue;
            KvtShapeTracker::Grip grip = KvtShapeTracker::GripAt(tool->GetShape(), mapping, at);
            // Only the selected tool shows its handles and knob.
            if (k != s.selectedTool && grip != KvtShapeTracker::Grip::None)
                grip = KvtShapeTracker::Grip::Move;
            if (grip == KvtShapeTracker::Grip::None) continue;
            const int feature = ps->Tools().GetFeatureIndex_First(k, ps->iGetFixedFeatures());
            if (feature != ps->iShowFeatureGetNo()) m_host.SelectFeature(feature, true);
            s.selectedTool = k;
            down.action = OKvtLeftButtonDown::Action::TrackTool;
            down.tool = k;
            down.grip = grip;
            down.region = tool->GetShape();
            return down;
        }
    }
    if (bInKvtDrawingArea(window, m_width, m_height)) {
        const OPoint p = mapping.PixelAt(window);
        s.measuring = true;
        s.measureStart = s.measureEnd = {double(p.x), double(p.y)};
        down.action = OKvtLeftButtonDown::Action::TapeMeasure;
    }
    return down;
}

void OKvtViewController::OnLeftButtonUp() {
    m_engine.ViewState().measuring = false;
}

OKvtRegion OKvtViewController::TrackedRegion(const OKvtLeftButtonDown& down, OPoint press,
                                             OPoint window, const OKvtRegion& current) const {
    const OKvtViewMapping mapping = Mapping();
    const OPointD from = mapping.ToImage({double(press.x), double(press.y)});
    const OPointD to = mapping.ToImage({double(window.x), double(window.y)});
    const OKvtShownPicture picture = ShownPicture();
    const auto region =
        KvtShapeTracker::Dragged(down.region, down.grip, from, to, picture.width, picture.height);
    return region ? *region : current;
}

bool OKvtViewController::OnToolTracked(int index, const OKvtRegion& after) {
    OType_ZRPartSet* ps = PartSet();
    auto* tool = ps ? dynamic_cast<OType_ConfigTool_KVT*>(ps->Tools().opGetAt(index)) : nullptr;
    if (!tool || after == tool->GetShape() || !after.bIsSane()) return false;
    CommitRegion(*ps, *tool, after);
    return true;
}

void OKvtViewController::CommitRegion(OType_ZRPartSet& ps, OType_ConfigTool_KVT& tool,
                                      const OKvtRegion& region) {
    if (!tool.bSetShape(region)) return;
    OType_Part* shown = ps.opGetShowPart();
    OType_Part blank;
    OType_Part& part = shown ? *shown : blank;
    tool.UpdateCFToolDefinition(ps, m_host.GetDeviceInfo(), part, part.Features());
    tool.SetModifiedFlag(true);
    m_host.Recompute(ps, 0, 0, 1, 1, 0);
    ps.UndoRedo().bStoreUndoData(ps, kUndoChanged, kUndoChangedLong, kViewCommand);
    m_host.UpdateAllViews();
}

void OKvtViewController::OnLeftDoubleClick(OPoint window) {
    SyncSelection();
    const OType_ConfigTool_KVT* tool = SelectedTool();
    if (!tool) return;
    const OPointD at{double(window.x), double(window.y)};
    if (KvtShapeTracker::GripAt(tool->GetShape(), Mapping(), at) != KvtShapeTracker::Grip::None)
        m_host.OpenToolProperties();
}

bool OKvtViewController::OnWheel(bool towardsUser, OPoint window) {
    if (!bInKvtDrawingArea(window, m_width, m_height)) return false;
    OKvtViewState& s = m_engine.ViewState();
    const OKvtViewMapping mapping = Mapping();
    const OPointD anchor = mapping.ToImage({double(window.x), double(window.y)});
    const double factor = towardsUser ? kWheelFactor : 1 / kWheelFactor;
    const double width = std::clamp(s.rangeWidth * factor, KvtView::kMinRange, KvtView::kMaxRange);
    const double height =
        std::clamp(s.rangeHeight * factor, KvtView::kMinRange, KvtView::kMaxRange);
    if (width == s.rangeWidth && height == s.rangeHeight) return false;
    // The image point under the pointer stays where it is.
    s.rangeLeft = anchor.x - (anchor.x - s.rangeLeft) * width / s.rangeWidth;
    s.rangeTop = anchor.y - (anchor.y - s.rangeTop) * height / s.rangeHeight;
    s.rangeWidth = width;
    s.rangeHeight = height;
    return true;
}

double OKvtViewController::dGetZoom() const {
    const OKvtShownPicture picture = ShownPicture();
    const OKvtViewState& s = m_engine.ViewState();
    if (picture.bIsEmpty() || s.rangeWidth <= 0) return 1.0;
    return picture.width / s.rangeWidth;
}

void OKvtViewController::SetZoom(double zoom) {
    const OKvtShownPicture picture = ShownPicture();
    if (picture.bIsEmpty() || !(zoom > 0)) return;
    OKvtViewState& s = m_engine.ViewState();
    const double cx = s.rangeLeft + s.rangeWidth / 2;
    const double cy = s.rangeTop + s.rangeHeight / 2;
    s.rangeWidth = std::clamp(picture.width / zoom, KvtView::kMinRange, KvtView::kMaxRange);
    s.rangeHeight = std::clamp(picture.height / zoom, KvtView::kMinRange, KvtView::kMaxRange);
    // Back at full size the whole picture shows again.
    if (std::abs(zoom - 1.0) < 1e-9) {
        m_engine.ShowImageRegion();
        return;
    }
    s.rangeLeft = cx - s.rangeWidth / 2;
    s.rangeTop = cy - s.rangeHeight / 2;
}

// --- commands ---

OCommandState OKvtViewController::GetCommandState(int id) {
    SyncSelection();
    const OType_ZRPartSet* ps = PartSet();
    const bool tool = SelectedTool() != nullptr;
    const bool parts = ps && (ps->iShowGetTeachTest() ? !ps->TeachParts().bIsEmpty()
                                                      : !ps->TestParts().bIsEmpty());
    if (bIsContourEditCommand(id)) return {false, false};
    switch (id) {
        case kSwitchImage:
            return {ps != nullptr, m_engine.ViewState().shownImage >= 0};
        case kShowUnselectedTools:
            return {ps != nullptr, m_viewHost.bShowUnselectedTools()};
        case kRenameFeature:
        case kResetFeatureNames:
        case kCopyTool:
            return {tool, false};
        case kDelete:
            return {tool, false};
        case kToolProperties:
            return {tool || parts, false};
        case kPasteTool:
            return {OContourViewController::bCanPasteTool(
                        m_host, ResStr(KvtViewCommand::kToolClipboardFormat)),
                    false};
        case kUseForQuality: {
            if (!m_host.bFeatureSelectionAllowed()) return {false, true};
            const int f = iSelectedFeature();
            if (f < 0) return {false, false};
            return {true, ps->bIsFeatureEnabled(f)};
        }
        case kPrint:
        case kPrintPreview:
            return {parts, false};
        case kTapeMeasureSettings:
        case kScreenshotToClipboard:
        case kScreenshotToFile:
            return {true, false};
        default:
            return {false, false};
    }
}

bool OKvtViewController::bExecute(int id) {
    SyncSelection();
    if (bIsContourEditCommand(id)) return true;
    if (!GetCommandState(id).enabled) return false;
    switch (id) {
        case kSwitchImage:
            return bSwitchImage();
        case kShowUnselectedTools:
            return bToggleUnselectedTools();
        case kRenameFeature:
            return bRenameFeature();
        case kResetFeatureNames:
            return bResetFeatureNames();
        case kCopyTool: {
            const OType_ZRPartSet* ps = PartSet();
            return ps && OContourViewController::bCopyToolTo(
                             m_host, *ps, m_engine.ViewState().selectedTool,
                             ResStr(KvtViewCommand::kToolClipboardFormat));
        }
        case kPasteTool:
            return OContourViewController::bPasteToolFrom(
                m_host, ResStr(KvtViewCommand::kToolClipboardFormat));
        case kDelete:
            return bDeleteSelected();
        case kUseForQuality:
            return bToggleQualityUse();
        case kTapeMeasureSettings:
            return bTapeMeasureSettings();
        case kToolProperties:
            m_host.OpenToolProperties();
            return true;
        default:
            return false;
    }
}

bool OKvtViewController::bSwitchImage() {
    OKvtViewState& s = m_engine.ViewState();
    s.shownImage = s.shownImage >= 0 ? -1 : 0;
    s.manualImageChoice = true;
    m_engine.ShowImageRegion();
    m_host.RedrawContourView();
    return true;
}

bool OKvtViewController::bToggleUnselectedTools() {
    m_viewHost.SetShowUnselectedTools(!m_viewHost.bShowUnselectedTools());
    m_host.RedrawContourView();
    return true;
}

bool OKvtViewController::bRenameFeature() {
    OType_ZRPartSet* ps = PartSet();
    OType_ConfigTool_KVT* tool = SelectedTool();
    const int feature = iSelectedFeature();
    if (!ps || !tool || feature < 0) return false;
    const int index = feature - ps->Tools().GetFeatureIndex_First(m_engine.ViewState().selectedTool,
                                                                  ps->iGetFixedFeatures());
    const std::string before = tool->FeatureName(index, ps);
    std::string name = before;
    if (!m_host.GetUserInteraction().GetText(ResStr(kRenameTitle), ResStr(kRenamePrompt), name))
        return false;
    // Names travel to 8-bit peers: what Windows-1252 cannot hold becomes '?'.
    name = Cp1252ToUtf8(Utf8ToCp1252(name));
    if (name == before || !tool->bSetFeatureName(index, name)) return false;
    tool->SetModifiedFlag(true);
    m_host.Recompute(*ps, 0, 0, 1, 1, 0);
    ps->UndoRedo().bStoreUndoData(*ps, kUndoRenamed, kUndoRenamedLong, kViewCommand);
    m_host.UpdateAllViews();
    return true;
}

bool OKvtViewController::bResetFeatureNames() {
    OType_ZRPartSet* ps = PartSet();
    OType_ConfigTool_KVT* tool = SelectedTool();
    if (!ps || !tool || !tool->bResetFeatureNames()) return false;
    tool->SetModifiedFlag(true);
    m_host.Recompute(*ps, 0, 0, 1, 1, 0);
    ps->UndoRedo().bStoreUndoData(*ps, kUndoResetNames, kUndoResetNamesLong, kViewCommand);
    m_host.UpdateAllViews();
    return true;
}

bool OKvtViewController::bDeleteSelected() {
    OType_ZRPartSet* ps = PartSet();
    const int position = m_engine.ViewState().selectedTool;
    if (!ps || !SelectedTool()) return false;
    m_host.UpdateAllViews();
    const std::vector<std::string> names = m_viewHost.DependentToolNames(*ps, position);
    if (names.empty()) return false;
    std::string question;
    if (names.size() == 1) {
        question = ResStrFormat(kDeleteToolQuestion, names[0]);
    } else {
        std::string others;
        for (size_t i = 1; i < names.size(); ++i)
            others += (i > 1 ? "\n" : "") + names[i];
        question = ResStrFormat(kDeleteToolsQuestion, names[0], others);
    }
    if (m_host.GetUserInteraction().Message(question, MsgIcon::Question, MsgButtons::OkCancel) !=
        MsgResult::Ok)
        return false;
    if (!m_viewHost.bRemoveToolWithDependents(*ps, position)) return false;
    const int remaining = ps->Tools().iGetNum();
    m_host.SelectFeature(
        remaining > 0 ? ps->Tools().GetFeatureIndex_First(remaining - 1, ps->iGetFixedFeatures())
                      : -1,
        true);
    m_host.UpdateAllViews();
    return true;
}

bool OKvtViewController::bToggleQualityUse() {
    OType_ZRPartSet* ps = PartSet();
    if (!ps || ps->SetFeatureEnable(iSelectedFeature(), -1) < 0) return false;
    m_host.Recompute(*ps, 0, 0, 1, 1, 0);
    m_host.UpdateAllViews();
    return true;
}

bool OKvtViewController::bTapeMeasureSettings() {
    const double x = m_host.dGetTapeScaleX(), y = m_host.dGetTapeScaleY(),
                 z = m_viewHost.dGetTapeZ();
    ODlg_CaliperSettings dialog(x, y, z, bShowsWorld());
    if (!m_host.GetUserInteraction().bRunDialog(dialog)) return false;
    if (!dialog.bChangedFrom(x, y, z)) return true;
    m_host.SetTapeScale(dialog.dGetHorizontal(), dialog.dGetVertical());
    m_viewHost.SetTapeZ(dialog.dGetZ());
    m_host.SetModified();
    return true;
}
