#include "extraction/ui/ODlg_FilterLimitWindow.h"

#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/ui/DialogButtons.h"
#include "extraction/ODlg_ContourLimits.h"

ODlg_FilterLimitWindow::ODlg_FilterLimitWindow(ODlg_FilterLimit& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    const QString prompt = QString::fromStdString(model.Prompt());
    setObjectName(QString::fromStdString(model.DialogName()));
    setWindowTitle(prompt);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(prompt, this));
    m_limit = new QLineEdit(QString::number(model.limit), this);
    m_limit->setObjectName(kLimitEdit);
    // Heights are stored in 16 bits; the validator only keeps letters out, the model judges the
    // value (0 and negative numbers get its message).
    m_limit->setValidator(new QIntValidator(-32768, 32767, m_limit));
    layout->addWidget(m_limit);
    AddOkCancelButtons(*this, *layout);
    m_limit->selectAll();
    m_limit->setFocus();
}

void ODlg_FilterLimitWindow::accept() {
    bool ok = false;
    const int value = m_limit->text().trimmed().toInt(&ok);
    m_model.limit = ok ? value : 0;
    QDialog::accept();
}
