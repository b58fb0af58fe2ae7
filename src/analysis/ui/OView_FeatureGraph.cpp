#include "analysis/ui/OView_FeatureGraph.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/OPainter_Qt.h"
#include "app/ui/OPrintService.h"
#include "app/ui/OViewScreenshot.h"
#include "document/CommandIds.h"
#include "document/CommandTable.h"
#include "document/ODoc.h"
#include "document/OPartListController.h"
#include "model/draw/OPageLayout.h"
#include "model/draw/OPrintable.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectProperties.h"

using namespace FeatureGraph;

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Cut, copy, paste, delete and the part properties act on the current part of the shown list.
bool bIsPartCommand(int id) {
    return OPartListController::bIsViewCommand(id) && id != Cmd::kEditSelectAll;
}

void SetEntries(QComboBox* box, const std::vector<std::string>& entries, int current) {
    QStringList wanted;
    for (const std::string& e : entries)
        wanted << Q(e);
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown << box->itemText(i);
    if (wanted != shown) {
        box->clear();
        box->addItems(wanted);
        // The drop-down is as wide as its widest entry.
        int widest = 0;
        for (const QString& entry : wanted)
            widest = std::max(widest, box->fontMetrics().horizontalAdvance(entry));
        const int extra = 2 * box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) +
                          box->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8;
        box->view()->setMinimumWidth(widest + extra);
    }
    box->setCurrentIndex(
        std::clamp(current, entries.empty() ? -1 : 0, static_cast<int>(entries.size()) - 1));
}

// The printout: "Selected part:" with the description, the graph, the table per orientation.
class OFeatureGraphPrintable : public OPrintable {
  public:
    OFeatureGraphPrintable(std::string title, std::string description,
                           std::vector<OGraphPoint> points, std::vector<OBound> bounds,
                           OScale scale, int mode)
        : m_title(std::move(title)),
          m_description(std::move(description)),
          m_points(std::move(points)),
          m_bounds(std::move(bounds)),
          m_scale(std::move(scale)),
          m_mode(mode) {}
    std::string PrintTitle() const override { return m_title; }
    int iPreparePages(const OPage&) override { return 1; }
    void PaintPage(OPainter& painter, int, const OPage& page) override {
        painter.SetMapping(OMapping::Identity());
        const ORect rest = PageLayout::HeadLine(painter, page.Area(), "Selected part:", "");
        painter.SetPen({0, 0, 0});
        painter.SetFont(PageLayout::kTextHeight);
        painter.DrawText({rest.left, rest.top + 10}, m_description);
        const int graphTop = rest.top + 10 + PageLayout::kTextHeight * 2;
        const int graphBottom = graphTop + page.height / 2;
        // The graph in pixels of a 4:3 area stretched over the page's band.
        const ORect pixels{0, 0, 800, 600};
        painter.SetMapping(OMapping::Fit(pixels, {0, graphTop, page.width, graphBottom}, false));
        Paint(painter, pixels, m_points, m_bounds, m_scale, m_mode);
        painter.SetMapping(OMapping::Identity());
        PageLayout::OPrintTable table({{"Ori.:", 1, OTextAlign::Left},
                                       {"Min:", 2, OTextAlign::Right},
                                       {"Mean:", 2, OTextAlign::Right},
                                       {"Max:", 2, OTextAlign::Right}});
        for (const OTableRow& row : OrientationTable(m_points))
            table.AddRow({std::to_string(row.orientation), row.minimum, row.mean, row.maximum});
        table.Paint(painter, {0, graphBottom + 60, page.width, page.height}, 0,
                    table.iRowsFitting(page.height - graphBottom - 60));
    }

  private:
    std::string m_title;
    std::string m_description;
    std::vector<OGraphPoint> m_points;
    std::vector<OBound> m_bounds;
    OScale m_scale;
    int m_mode;
};

}  // namespace

// --- the graph area ---

OFeatureGraphArea::OFeatureGraphArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QString::number(kGraph));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
}

void OFeatureGraphArea::SetGraph(std::vector<OGraphPoint> points, std::vector<OBound> bounds,
                                 OScale scale, int mode) {
    m_points = std::move(points);
    m_bounds = std::move(bounds);
    m_scale = std::move(scale);
    m_mode = mode;
    // The markers are placed now, so that a click finds them before the next paint.
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    OPainter_Qt surface(painter);
    m_plot = Paint(surface, {0, 0, width() - 1, height() - 1}, m_points, m_bounds, m_scale, m_mode);
    update();
}

QPoint OFeatureGraphArea::MarkerCentre(int i) const {
    const ORect& r = m_plot.markers.at(static_cast<size_t>(i));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void OFeatureGraphArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    OPainter_Qt surface(painter);
    m_plot = Paint(surface, {0, 0, width() - 1, height() - 1}, m_points, m_bounds, m_scale, m_mode);
}

void OFeatureGraphArea::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int hit = iHitMarker(m_plot, at.x(), at.y());
    if (event->button() == Qt::LeftButton && hit >= 0) emit pointClicked(hit);
    if (event->button() == Qt::RightButton) {
        if (hit >= 0) emit pointClicked(hit);
        emit contextMenuAt(event->globalPosition().toPoint(), hit);
    }
}

void OFeatureGraphArea::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

// --- the view ---

OView_FeatureGraph::OView_FeatureGraph(ODoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc) {
    setObjectName(QString::number(kTemplate));
    m_choice.mode = 0;
    BuildForm();
    OnUpdate();
}

OView_FeatureGraph::~OView_FeatureGraph() = default;

QSize OView_FeatureGraph::sizeHint() const {
    return {760, 480};
}

QComboBox* OView_FeatureGraph::Combo(int id) const {
    switch (id) {
        case kFeatureCombo:
            return m_feature;
        case kDisplayCombo:
            return m_display;
        case kTypeCombo:
            return m_type;
        case kOrientationCombo:
            return m_orientation;
        default:
            return nullptr;
    }
}

void OView_FeatureGraph::BuildForm() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* row = new QHBoxLayout;
    const auto combo = [this, row](int id, const QString& caption, int captionId, QLabel** label) {
        auto* l = new QLabel(caption, this);
        if (captionId) l->setObjectName(QString::number(captionId));
        if (label) *label = l;
        auto* box = new QComboBox(this);
        box->setObjectName(QString::number(id));
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        l->setBuddy(box);
        row->addWidget(l);
        row->addWidget(box);
        row->addSpacing(8);
        connect(box, qOverload<int>(&QComboBox::activated), this, [this] {
            if (m_filling) return;
            m_choice.mode = iModeOfEntry(m_display->currentIndex(), m_transformedOffered);
            m_choice.typeEntry = std::max(0, m_type->currentIndex());
            m_choice.orientationEntry = std::max(0, m_orientation->currentIndex());
            OnUpdate();
        });
        return box;
    };
    m_feature = combo(kFeatureCombo, tr("Feature:"), 0, nullptr);
    m_feature->setMinimumWidth(180);
    disconnect(m_feature, qOverload<int>(&QComboBox::activated), this, nullptr);
    connect(m_feature, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (!m_filling && index >= 0) m_doc.SelectFeature(index);
    });
    m_display = combo(kDisplayCombo, tr("Display:"), 0, nullptr);
    m_type = combo(kTypeCombo, tr("Type:"), 1071, &m_typeCaption);
    m_orientation = combo(kOrientationCombo, tr("Ori.:"), 1322, &m_orientationCaption);
    row->addStretch(1);
    layout->addLayout(row);
    m_description = new QLabel(this);
    m_description->setObjectName("description");
    m_description->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_description);
    m_area = new OFeatureGraphArea(this);
    layout->addWidget(m_area, 1);
    connect(m_area, &OFeatureGraphArea::pointClicked, this, &OView_FeatureGraph::OnPointClicked);
    connect(m_area, &OFeatureGraphArea::contextMenuAt, this, [this](const QPoint& at, int) {
        QMenu* menu = CreateContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(at);
    });
}

void OView_FeatureGraph::FillCombos(const OType_ZRPartSet& partSet) {
    m_filling = true;
    const OType_Part* first = partSet.TeachParts().GetAt(0);
    if (!first) first = partSet.TestParts().GetAt(0);
    std::vector<std::string> features;
    const int count = first ? first->Features().iGetNumOfFeatures() : 0;
    for (int f = 0; f < count; ++f)
        features.push_back(std::to_string(f + 1) + ". " + first->Features().At(f).name);
    SetEntries(m_feature, features, partSet.iShowFeatureGetNo());
    m_transformedOffered = bHasTransformedValues(partSet);
    if (!m_transformedOffered && bTransformed(m_choice.mode)) m_choice.mode -= 2;
    SetEntries(m_display, DisplayEntries(m_transformedOffered),
               iEntryOfMode(m_choice.mode, m_transformedOffered));
    const OQuillon* session = m_doc.opGetSession();
    m_choice.typesShown =
        session && session->ProjectProperties().useTypes == 1 && partSet.iGetNum_SubTypes() > 1;
    SetEntries(m_type, TypeEntries(partSet.iGetNum_SubTypes()), m_choice.typeEntry);
    m_type->setVisible(m_choice.typesShown);
    m_typeCaption->setVisible(m_choice.typesShown);
    const OType_ZRPartSet_SubType* shown = partSet.opGetSubType(partSet.iShowSubTypeGetNo());
    const int orientations = shown ? shown->iGetNumOrientations() : 0;
    m_choice.orientationsShown = orientations > 1;
    SetEntries(m_orientation, OrientationEntries(orientations), m_choice.orientationEntry);
    m_orientation->setVisible(m_choice.orientationsShown);
    m_orientationCaption->setVisible(m_choice.orientationsShown);
    m_choice.typeEntry = std::max(0, m_type->currentIndex());
    m_choice.orientationEntry = std::max(0, m_orientation->currentIndex());
    m_filling = false;
}

void OView_FeatureGraph::OnUpdate() {
    if (m_doc.iGetBusy()) return;
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!set) {
        m_area->SetGraph({}, {}, {}, 0);
        m_description->clear();
        return;
    }
    FillCombos(*set);
    m_choice.feature = std::max(0, set->iShowFeatureGetNo());
    std::vector<OGraphPoint> points = CollectPoints(*set, m_choice);
    std::vector<OBound> bounds = CollectBounds(*set, m_choice);
    OScale scale = ComputeScale(points, bounds, bHistogram(m_choice.mode));
    m_area->SetGraph(std::move(points), std::move(bounds), std::move(scale), m_choice.mode);
    m_description->setText(Q(Description(*set, m_choice.feature)));
}

void OView_FeatureGraph::OnPointClicked(int point) {
    const auto& points = m_area->Points();
    if (point < 0 || point >= static_cast<int>(points.size())) return;
    m_doc.ShowShownListPart(points[static_cast<size_t>(point)].partIndex);
}

QMenu* OView_FeatureGraph::CreateContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QString::number(kContextMenu));
    const auto add = [this](QMenu* to, int id) {
        const OCommandInfo* info = FindCommand(id);
        QAction* action = to->addAction(info ? Q(std::string(info->text)) : QString::number(id));
        action->setObjectName(QString::number(id));
        action->setEnabled(RoutedState(id).enabled);
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    };
    for (int id : {Cmd::kEditCut, Cmd::kEditCopy, Cmd::kEditPaste, Cmd::kEditDelete})
        add(menu, id);
    menu->addSeparator();
    add(menu, Cmd::kViewToolProperties);
    add(menu, Cmd::kPartProperties);
    menu->addSeparator();
    QMenu* orientations = menu->addMenu("Assign &orientation");
    for (int n = 0; n < 8; ++n)
        add(orientations, Cmd::kAssignOrientationFirst + n);
    QMenu* types = menu->addMenu("Assign t&ype");
    for (int id : Cmd::kAssignTypeCommands)
        add(types, id);
    menu->addSeparator();
    add(menu, Cmd::kScreenshotToClipboard);
    add(menu, Cmd::kScreenshotToFile);
    return menu;
}

void OView_FeatureGraph::RunCommand(int id) {
    RouteCommand(id);
}

std::optional<OCommandState> OView_FeatureGraph::ViewCommandState(int id) {
    if (bIsPartCommand(id)) return PartCommandState(id);
    switch (id) {
        case Cmd::kScreenshotToClipboard:
        case Cmd::kScreenshotToFile:
            return OCommandState{true, false, std::nullopt};
        case Cmd::kFilePrint:
        case Cmd::kFilePrintPreview:
            return OCommandState{m_doc.opGetActualPartSet() != nullptr, false, std::nullopt};
        default:
            return std::nullopt;
    }
}

OCommandState OView_FeatureGraph::PartCommandState(int id) const {
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!set) return {};
    OPartListController parts(m_doc);
    parts.SetFocusedList(set->iShowGetTeachTest() == 1);
    if (id == Cmd::kEditPaste) return parts.CommandState(id);
    return OCommandState{set->opGetShowPart() != nullptr, false, std::nullopt};
}

// The part list's commands with the current part as the selection, as the part list shows
// it when another view moved to a part.
void OView_FeatureGraph::RunPartCommand(int id) {
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!set || !PartCommandState(id).enabled) return;
    const bool sample = set->iShowGetTeachTest() == 1;
    OPartListController parts(m_doc);
    parts.SetFocusedList(sample);
    if (id != Cmd::kEditPaste) parts.FollowShownPart(sample);
    parts.bExecute(id);
}

bool OView_FeatureGraph::bOnViewCommand(int id) {
    if (bIsPartCommand(id)) {
        RunPartCommand(id);
        return true;
    }
    return OPrintService::bRunCommand(id, *this, this) ||
           ViewScreenshot::bRunCommand(id, *this, m_doc.UI(), m_doc.GetLastFolder());
}

OPrintable* OView_FeatureGraph::opGetPrintable() {
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!set) return nullptr;
    std::vector<OGraphPoint> points = CollectPoints(*set, m_choice);
    std::vector<OBound> bounds = CollectBounds(*set, m_choice);
    OScale scale = ComputeScale(points, bounds, bHistogram(m_choice.mode));
    m_printable = std::make_unique<OFeatureGraphPrintable>(
        "Feature graph - " + m_doc.GetTitle(), Description(*set, m_choice.feature),
        std::move(points), std::move(bounds), std::move(scale), m_choice.mode);
    return m_printable.get();
}
