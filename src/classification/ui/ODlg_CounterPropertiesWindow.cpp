#include "classification/ui/ODlg_CounterPropertiesWindow.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/DialogButtons.h"
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
    AddOkCancelButtons(*this, *layout);
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
