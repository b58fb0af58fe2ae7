#include "device/ui/ODlg_MsgBox_WithCheckMarkWindow.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/ui/DialogButtons.h"

namespace {
QString Q(const std::string& text) {
    return QString::fromStdString(text).replace("\r\n", "\n");
}
}  // namespace

ODlg_MsgBox_WithCheckMarkWindow::ODlg_MsgBox_WithCheckMarkWindow(ODlg_MsgBox_WithCheckMark& model,
                                                                 QWidget* parent)
    : QDialog(parent), m_model(model) {
    setWindowTitle(Q(model.caption));
    auto* layout = new QVBoxLayout(this);
    if (!model.text.empty()) {
        auto* text = new QLabel(Q(model.text), this);
        text->setObjectName("text");
        text->setWordWrap(true);
        layout->addWidget(text);
    }
    if (model.hasNumber) {
        auto* form = new QFormLayout;
        m_number = new QSpinBox(this);
        m_number->setObjectName("number");
        m_number->setRange(model.numberMinimum, model.numberMaximum);
        m_number->setValue(model.number);
        m_number->setMinimumWidth(100);
        m_number->setMaximumWidth(160);
        form->addRow(Q(model.numberLabel), m_number);
        layout->addLayout(form);
        if (!model.numberHelp.empty()) {
            auto* help = new QLabel(Q(model.numberHelp), this);
            help->setObjectName("numberHelp");
            help->setWordWrap(true);
            help->setEnabled(false);
            layout->addWidget(help);
        }
    }
    if (!model.checks.empty()) {
        auto* group = new QGroupBox(Q(model.checksTitle), this);
        auto* checks = new QVBoxLayout(group);
        for (size_t i = 0; i < model.checks.size(); ++i) {
            auto* box = new QCheckBox(Q(model.checks[i].label), group);
            box->setObjectName(QString("check%1").arg(i + 1));
            box->setChecked(model.checks[i].checked);
            checks->addWidget(box);
            m_checks.push_back(box);
        }
        layout->addWidget(group);
    }
    layout->addStretch(1);
    AddOkCancelButtons(*this, *layout);
    setMinimumWidth(380);
}

void ODlg_MsgBox_WithCheckMarkWindow::accept() {
    if (m_number) {
        m_number->interpretText();
        m_model.number = m_number->value();
    }
    for (size_t i = 0; i < m_checks.size(); ++i)
        m_model.checks[i].checked = m_checks[i]->isChecked();
    QDialog::accept();
}
