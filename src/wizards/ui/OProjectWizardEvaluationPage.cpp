#include "wizards/ui/OProjectWizardEvaluationPage.h"

#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "analysis/OOptimizeWizardSheet.h"

namespace {

// The rating icons 0 (not possible) … 3 (good), information, advice.
QIcon RowIcon(int index) {
    static const std::array<QColor, 8> colours = {
        QColor(200, 30, 30),  QColor(235, 120, 20), QColor(230, 200, 30), QColor(60, 160, 60),
        QColor(40, 110, 200), QColor(60, 160, 60),  QColor(120, 120, 120), QColor(60, 160, 60)};
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colour = colours[static_cast<size_t>(std::clamp(index, 0, 7))];
    p.setPen(colour.darker(140));
    p.setBrush(colour);
    if (index == EvaluationIcon::kIndentedAdvice) {
        p.drawPolygon(QPolygonF({QPointF(4, 3), QPointF(13, 8), QPointF(4, 13)}));
    } else {
        p.drawEllipse(QRectF(2, 2, 12, 12));
    }
    if (index == EvaluationIcon::kInformation) {
        p.setPen(Qt::white);
        QFont f = p.font();
        f.setPixelSize(10);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(2, 2, 12, 12), Qt::AlignCenter, "i");
    }
    return QIcon(pixmap);
}

}  // namespace

OProjectWizardEvaluationPage::OProjectWizardEvaluationPage(OProjectWizardEvaluation& model,
                                                           QWidget* parent)
    : QWidget(parent), m_model(model) {
    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget;
    m_list->setObjectName(QString::number(kListId));
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setIconSize(QSize(16, 16));
    layout->addWidget(m_list, 1);
    m_footer = new QLabel;
    m_footer->setObjectName(QString::number(kFooterId));
    layout->addWidget(m_footer);
}

void OProjectWizardEvaluationPage::ShowModel() {
    m_list->clear();
    for (const OEvaluationRow& row : m_model.Rows()) {
        auto* item = new QListWidgetItem(RowIcon(row.icon), QString::fromStdString(row.text));
        m_list->addItem(item);
    }
    QString footer = QString::fromUtf8(m_model.Footer());
    if (m_model.Rows().empty()) footer = tr("No Teach-Data to evaluate. ") + footer;
    m_footer->setText(footer);
}
