#include "classification/ui/ODlg_CounterPropertiesWindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "classification/ODlg_CounterProperties.h"

ODlg_CounterPropertiesWindow::ODlg_CounterPropertiesWindow(ODlg_CounterProperties& model,
                                                           QWidget* parent)
    : QDialog(parent), m_model(model) {
    setObjectName(QString::number(ODlg_CounterProperties::kTemplate));
    setWindowTitle(QString::fromStdString(ODlg_CounterProperties::Title()));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QString::fromStdString(ODlg_CounterProperties::StatusCaption()), this));
    auto* form = new QFormLayout;
    m_target = new QLineEdit(QString::number(model.iGetTarget()), this);
    m_target->setObjectName(QString::number(ODlg_CounterProperties::kTargetEdit));
    m_target->setMaxLength(12);
    form->addRow(tr("Target counter value:"), m_target);
    m_ignore = new QCheckBox(this);
    m_ignore->setObjectName(QString::number(ODlg_CounterProperties::kIgnoreOrientationCheck));
    m_ignore->setChecked(model.bGetIgnoreOrientation());
    form->addRow(QString::fromStdString(ODlg_CounterProperties::IgnoreOrientationText()), m_ignore);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
    connect(buttons, &QDialogButtonBox::accepted, this, &ODlg_CounterPropertiesWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    m_target->selectAll();
    m_target->setFocus();
}

void ODlg_CounterPropertiesWindow::accept() {
    bool ok = false;
    const qlonglong target = m_target->text().trimmed().toLongLong(&ok);
    // Text that is no number is out of range, so the model's range message answers it.
    m_model.SetTarget(ok ? target : -1);
    m_model.SetIgnoreOrientation(m_ignore->isChecked());
    QDialog::accept();
}
