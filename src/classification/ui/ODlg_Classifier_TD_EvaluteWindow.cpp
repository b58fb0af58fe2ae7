#include "classification/ui/ODlg_Classifier_TD_EvaluteWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "classification/ODlg_Classifier_TD_Evalute.h"
#include "classification/ui/TeachDataIcons.h"

ODlg_Classifier_TD_EvaluteWindow::ODlg_Classifier_TD_EvaluteWindow(
    ODlg_Classifier_TD_Evaluation& model, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QString::number(model.iGetTemplate()));
    setWindowTitle(QString::fromStdString(ODlg_Classifier_TD_Evaluation::Title()));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QString::fromStdString(ODlg_Classifier_TD_Evaluation::Caption()), this));
    auto* heading =
        new QLabel(QString("<b>%1</b>")
                       .arg(QString::fromStdString(ODlg_Classifier_TD_Evaluation::ColumnHeader())),
                   this);
    layout->addWidget(heading);
    m_list = new QListWidget(this);
    m_list->setObjectName(QString::number(ODlg_Classifier_TD_Evaluation::kList));
    m_list->setIconSize(QSize(TeachDataIcons::kSize, TeachDataIcons::kSize));
    m_list->setUniformItemSizes(true);
    m_list->setMinimumSize(520, 320);
    const auto icons = TeachDataIcons::EvaluationIcons();
    for (const OEvaluationRow& row : model.Rows()) {
        auto* item = new QListWidgetItem(QString::fromStdString(row.text), m_list);
        if (row.icon >= 0 && row.icon < static_cast<int>(icons.size()))
            item->setIcon(icons[static_cast<size_t>(row.icon)]);
        if (row.command != 0) item->setData(Qt::UserRole, row.command);
    }
    layout->addWidget(m_list, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(600, 420);
}
