#include "document/ui/ODlg_CheckProgramPropertiesWindow.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/DialogButtons.h"
#include "model/strings/ResStr.h"

ODlg_CheckProgramPropertiesWindow::ODlg_CheckProgramPropertiesWindow(
    ODlg_CheckProgramProperties& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setObjectName(QString::number(ODlg_CheckProgramProperties::kTemplate));
    setWindowTitle(QString::fromStdString(ResStr(21019)));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    auto* nameLabel = new QLabel(tr("Name of check program:"), this);
    m_name = new QLineEdit(QString::fromStdString(model.name), this);
    m_name->setObjectName("name");
    m_name->setMinimumWidth(260);
    nameLabel->setBuddy(m_name);
    grid->addWidget(nameLabel, 0, 0, 1, 2);
    grid->addWidget(m_name, 1, 0, 1, 2);
    if (model.bZShown()) {
        auto* zLabel = new QLabel(
            tr("Z coordinate for (automatic) coordinate transformation of features:"), this);
        zLabel->setObjectName("zLabel");
        m_z = new QLineEdit(QString::fromStdString(model.zText), this);
        m_z->setObjectName("z");
        auto* unit = new QLabel(QString::fromStdString(model.UnitLabel()), this);
        unit->setObjectName("unit");
        zLabel->setBuddy(m_z);
        grid->addWidget(zLabel, 2, 0, 1, 2);
        grid->addWidget(m_z, 3, 0);
        grid->addWidget(unit, 3, 1);
    }
    layout->addLayout(grid);
    AddOkCancelButtons(*this, *layout);
    m_name->setFocus();
    m_name->selectAll();
}

void ODlg_CheckProgramPropertiesWindow::accept() {
    m_model.name = m_name->text().toStdString();
    if (m_z) m_model.zText = m_z->text().toStdString();
    QDialog::accept();
}
