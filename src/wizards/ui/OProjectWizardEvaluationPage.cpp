#include "wizards/ui/OProjectWizardEvaluationPage.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "analysis/OOptimizeWizardSheet.h"
#include "wizards/ui/WizardIcons.h"

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
        auto* item =
            new QListWidgetItem(WizardStatusIcon(row.icon), QString::fromStdString(row.text));
        m_list->addItem(item);
    }
    QString footer = QString::fromUtf8(m_model.Footer());
    if (m_model.Rows().empty()) footer = tr("No Teach-Data to evaluate. ") + footer;
    m_footer->setText(footer);
}
