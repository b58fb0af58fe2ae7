#include "analysis/ui/OView_PartFeatures.h"

#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "app/ui/OViewScreenshot.h"
#include "document/CommandIds.h"
#include "document/CommandTable.h"
#include "document/ODoc.h"
#include "extraction/OContourViewController.h"
#include "extraction/OContourViewPaint.h"
#include "extraction/ui/OContourPrintable.h"
#include "model/partset/OType_ZRPartSet.h"

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString MenuText(int id) {
    const OCommandInfo* info = FindCommand(id);
    return info ? Q(info->text) : QString::number(id);
}

// A 16 x 16 state icon: a coloured square (basic, tool, text), grey when the feature takes
// no part in the quality decision, red with a cross when its value is not valid.
QIcon StateIcon(OFeatureRowState state) {
    static const std::array<QIcon, 5> icons = [] {
        std::array<QIcon, 5> made;
        const std::array<QColor, 5> colours = {QColor(16, 96, 16), QColor(0, 64, 160),
                                               QColor(150, 150, 150), QColor(200, 30, 30),
                                               QColor(140, 90, 0)};
        for (size_t i = 0; i < made.size(); ++i) {
            QPixmap pixmap(16, 16);
            pixmap.fill(Qt::transparent);
            QPainter p(&pixmap);
            p.setPen(Qt::NoPen);
            p.setBrush(colours[i]);
            p.drawRoundedRect(QRectF(2, 2, 12, 12), 2, 2);
            if (static_cast<OFeatureRowState>(i) == OFeatureRowState::Invalid) {
                p.setPen(QPen(Qt::white, 2));
                p.drawLine(5, 5, 11, 11);
                p.drawLine(11, 5, 5, 11);
            }
            made[i] = QIcon(pixmap);
        }
        return made;
    }();
    return icons[static_cast<size_t>(state)];
}

QTreeWidget* MakeList(QWidget* parent, const QString& name, const QStringList& headings) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setHeaderLabels(headings);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->header()->setStretchLastSection(true);
    list->setIconSize(QSize(16, 16));
    return list;
}

}  // namespace

OView_PartFeatures::OView_PartFeatures(ODoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc) {
    setObjectName("PartFeatures");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName("separator");
    m_splitter->setChildrenCollapsible(false);
    QStringList info;
    for (std::string_view h : PartFeaturesDisplay::InfoColumnHeadings())
        info << Q(h);
    m_info = MakeList(m_splitter, "parts", info);
    m_info->setMinimumHeight(kMinListHeight);
    QStringList features;
    for (std::string_view h : PartFeaturesDisplay::FeatureColumnHeadings())
        features << Q(h);
    m_features = MakeList(m_splitter, "features", features);
    m_features->setMinimumHeight(kMinListHeight);
    m_splitter->addWidget(m_info);
    m_splitter->addWidget(m_features);
    m_splitter->setSizes({150, 330});
    layout->addWidget(m_splitter);
    connect(m_features, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        OnFeatureClicked(m_features->indexOfTopLevelItem(item));
    });
    connect(m_features, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!m_filling && item) OnFeatureClicked(m_features->indexOfTopLevelItem(item));
    });
    for (QTreeWidget* list : {m_info, m_features}) {
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
            QMenu* menu = CreateContextMenu();
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(list->viewport()->mapToGlobal(at));
        });
    }
    OnUpdate();
}

QSize OView_PartFeatures::sizeHint() const {
    return {320, 480};
}

void OView_PartFeatures::Clear() {
    m_filling = true;
    m_info->clear();
    m_features->clear();
    m_rows.clear();
    m_filling = false;
}

void OView_PartFeatures::OnUpdate() {
    if (m_doc.iGetBusy()) return;
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    const OType_Part* part = set ? ContourViewPaint::ShownPart(*set).part : nullptr;
    if (!part) {
        Clear();
        return;
    }
    const OPartFeaturesContext context = OContourPrintable::FeaturesContext(m_doc);
    FillInfo(PartFeaturesDisplay::InfoRows(*part, context));
    const int current = set->iShowFeatureGetNo();
    FillFeatures(PartFeaturesDisplay::FeatureRows(*set, *part, current, context), current);
}

void OView_PartFeatures::FillInfo(const std::vector<OPartInfoRow>& rows) {
    m_info->setColumnHidden(2, std::all_of(rows.begin(), rows.end(), [](const OPartInfoRow& r) {
                                return r.dataWord.empty();
                            }));
    const bool same = m_info->topLevelItemCount() == static_cast<int>(rows.size());
    if (!same) m_info->clear();
    for (size_t i = 0; i < rows.size(); ++i) {
        QTreeWidgetItem* item =
            same ? m_info->topLevelItem(static_cast<int>(i)) : new QTreeWidgetItem(m_info);
        item->setText(0, Q(rows[i].caption));
        item->setText(1, Q(rows[i].value));
        item->setText(2, Q(rows[i].dataWord));
    }
    if (!same) m_info->resizeColumnToContents(0);
}

void OView_PartFeatures::FillFeatures(const std::vector<OFeatureRow>& rows, int current) {
    m_filling = true;
    const bool sameCount = m_rows.size() == rows.size();
    if (!sameCount) m_features->clear();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (sameCount && m_rows[i] == rows[i]) continue;
        QTreeWidgetItem* item = sameCount ? m_features->topLevelItem(static_cast<int>(i))
                                          : new QTreeWidgetItem(m_features);
        for (int c = 0; c < PartFeaturesDisplay::kColumnCount; ++c)
            item->setText(c, Q(rows[i].columns[static_cast<size_t>(c)]));
        item->setIcon(0, StateIcon(rows[i].state));
        item->setData(0, Qt::UserRole, rows[i].feature);
    }
    m_features->setColumnHidden(PartFeaturesDisplay::kAddress,
                                OContourPrintable::FeaturesContext(m_doc).dataWordMode == 0);
    if (!sameCount) {
        for (int c = 0; c < PartFeaturesDisplay::kColumnCount; ++c)
            m_features->resizeColumnToContents(c);
    }
    m_rows = rows;
    const int row = iRowOfFeature(current);
    if (row >= 0) {
        QTreeWidgetItem* item = m_features->topLevelItem(row);
        m_features->setCurrentItem(item);
        m_features->scrollToItem(item);
    } else {
        m_features->clearSelection();
    }
    m_filling = false;
}

int OView_PartFeatures::iRowOfFeature(int feature) const {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].feature == feature) return static_cast<int>(i);
    }
    return -1;
}

void OView_PartFeatures::OnFeatureClicked(int row) {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return;
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    const int feature = m_rows[static_cast<size_t>(row)].feature;
    if (set && set->iShowFeatureGetNo() != feature) m_doc.SelectFeature(feature);
}

// --- commands ---

std::optional<OCommandState> OView_PartFeatures::ViewCommandState(int id) {
    // Screenshots show this pane when it has the focus; everything else is the contour
    // view's or the document's.
    if (id == Cmd::kScreenshotToClipboard || id == Cmd::kScreenshotToFile)
        return OCommandState{true, false, std::nullopt};
    return std::nullopt;
}

bool OView_PartFeatures::bOnViewCommand(int id) {
    return ViewScreenshot::bRunCommand(id, *this, m_doc.UI(), m_doc.GetLastFolder());
}

void OView_PartFeatures::RunCommand(int id) {
    RouteCommand(id);
}

QMenu* OView_PartFeatures::CreateContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName("PartFeaturesMenu");
    // Copy, cut, paste, delete and the tool properties are carried out by the part contour
    // view beside (the frame offers a command to both panes).
    const auto add = [this, menu](int id, const QString& text) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::number(id));
        const OCommandState state = RoutedState(id);
        action->setEnabled(state.enabled);
        if (state.checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    };
    add(Cmd::kEditCopy, "&Copy tool\tCtrl+C");
    add(Cmd::kEditCut, "Cu&t\tCtrl+X");
    add(Cmd::kEditPaste, "&Paste tool\tCtrl+V");
    add(Cmd::kEditDelete, "Delete / disable tool or feature\tDel");
    menu->addSeparator();
    add(ContourViewCommand::kToolProperties, "Tool properties\tAlt+S");
    add(ContourViewCommand::kUseForQuality, "Use feature for quality decision\tCtrl+D");
    menu->addSeparator();
    add(Cmd::kScreenshotToClipboard, MenuText(Cmd::kScreenshotToClipboard));
    add(Cmd::kScreenshotToFile, MenuText(Cmd::kScreenshotToFile));
    return menu;
}
