#include "device/ui/ODlg_OptionsWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ui/DialogButtons.h"

ODlg_OptionsWindow::ODlg_OptionsWindow(ODlg_Options& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setObjectName(QString::number(ODlg_Options::kTemplate));
    setWindowTitle(tr("Options"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeConnectionGroup());
    layout->addWidget(MakePartsGroup());
    layout->addWidget(MakeDisplayGroup());
    AddOkCancelButtons(*this, *layout);
}

QWidget* ODlg_OptionsWindow::MakeConnectionGroup() {
    auto* group = new QGroupBox(tr("Connection"), this);
    auto* column = new QVBoxLayout(group);
    m_connection = new QComboBox(group);
    m_connection->setObjectName("1128");
    for (const auto& [kind, text] : m_model.ConnectionChoices())
        m_connection->addItem(QString::fromStdString(text), kind);
    m_connection->setCurrentIndex(m_model.iConnectionIndex());
    m_model.ChooseConnection(m_connection->currentIndex());
    column->addWidget(m_connection);
    m_autoSpeed = AddCheck(1127, tr("Set connection automatically"), &OOptionValues::autoSpeed);
    column->addWidget(m_autoSpeed);
    m_autoSpeed->setVisible(m_model.bAutoSpeedShown());
    connect(m_connection, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_model.ChooseConnection(index);
        m_autoSpeed->setVisible(m_model.bAutoSpeedShown());
    });
    column->addWidget(
        AddCheck(1279, tr("Use signal tone on part reception"), &OOptionValues::msgBeep));
    column->addWidget(new QLabel(tr("Companion viewer:"), group));
    auto* pathRow = new QHBoxLayout;
    m_viewerPath = new QLineEdit(QString::fromStdString(m_model.values.viewerPath), group);
    m_viewerPath->setObjectName("1278");
    auto* browse = new QPushButton(tr("..."), group);
    browse->setObjectName("1277");
    browse->setMaximumWidth(40);
    connect(browse, &QPushButton::clicked, this, [this] {
        m_model.values.viewerPath = m_viewerPath->text().toStdString();
        if (m_model.bBrowseViewerPath())
            m_viewerPath->setText(QString::fromStdString(m_model.values.viewerPath));
    });
    pathRow->addWidget(m_viewerPath, 1);
    pathRow->addWidget(browse);
    column->addLayout(pathRow);
    return group;
}

QWidget* ODlg_OptionsWindow::MakePartsGroup() {
    auto* group = new QGroupBox(tr("Parts"), this);
    auto* column = new QVBoxLayout(group);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Parts buffer:"), group));
    m_partBuffer = new QLineEdit(QString::number(m_model.values.partBufferSize), group);
    m_partBuffer->setObjectName("1172");
    m_partBuffer->setMaximumWidth(90);
    row->addWidget(m_partBuffer);
    row->addWidget(new QLabel(tr("parts"), group));
    row->addStretch(1);
    column->addLayout(row);
    column->addWidget(new QLabel(tr("When limit of parts buffer is reached:"), group));
    m_policy = new QButtonGroup(this);
    const QString policies[] = {tr("Request"), tr("Delete new parts"), tr("Increase parts buffer"),
                                tr("Delete oldest parts")};
    auto* radios = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(policies[i], group);
        radio->setObjectName(QString("policy%1").arg(i));
        radio->setChecked(m_model.values.partLimitPolicy == i);
        m_policy->addButton(radio, i);
        radios->addWidget(radio);
    }
    column->addLayout(radios);
    column->addWidget(AddCheck(1065, tr("Delete parts with defect contour data automatically"),
                               &OOptionValues::rejectDefectContourParts));
    auto* differing =
        AddCheck(1016,
                 tr("Use features that differ form the part contour (this can occour on certain "
                    "parameter settings of the device, e.g. 'Ignore center area of part' )"),
                 &OOptionValues::useDifferingFeatures);
    column->addWidget(differing);
    return group;
}

QWidget* ODlg_OptionsWindow::MakeDisplayGroup() {
    auto* group = new QGroupBox(tr("Display"), this);
    auto* column = new QVBoxLayout(group);
    column->addWidget(AddCheck(1129,
                               tr("Display values of features used for quality decision only"),
                               &OOptionValues::hideDisabledFeatures));
    column->addWidget(AddCheck(
        1130, tr("Show camera or contour image automatically depending on usage of selected tool."),
        &OOptionValues::autoShowCameraOrContourImage));
    column->addWidget(
        AddCheck(1306, tr("Display flagword and string offsets ( e.g. for Modbus or Telnet)"),
                 &OOptionValues::showFlagwordInfo));
    column->addWidget(AddCheck(1307, tr("Display coordinate system in world coordinates"),
                               &OOptionValues::showWorldCoords));
    column->addWidget(
        AddCheck(1308, tr("Display position of all tools"), &OOptionValues::showUnselectedTools));
    column->addWidget(AddCheck(1206, tr("Display received part automatically"),
                               &OOptionValues::displayReceivedPart));
    return group;
}

QCheckBox* ODlg_OptionsWindow::AddCheck(int id, const QString& text, int OOptionValues::*field) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QString::number(id));
    box->setChecked(m_model.values.*field != 0);
    m_checks.emplace_back(box, field);
    return box;
}

void ODlg_OptionsWindow::accept() {
    OOptionValues& v = m_model.values;
    for (const auto& [box, field] : m_checks)
        v.*field = box->isChecked() ? 1 : 0;
    bool number = false;
    const int buffer = m_partBuffer->text().trimmed().toInt(&number);
    v.partBufferSize = number ? buffer : 0;
    v.partLimitPolicy = std::max(0, m_policy->checkedId());
    v.viewerPath = m_viewerPath->text().toStdString();
    m_model.ChooseConnection(m_connection->currentIndex());
    QDialog::accept();
}
