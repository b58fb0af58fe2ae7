#include "device/ui/ODlg_IdentifyZRTypeWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ui/DialogButtons.h"
#include "model/strings/ResStr.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

int IndexOf(const std::vector<int>& codes, int code) {
    const auto it = std::find(codes.begin(), codes.end(), code);
    return it == codes.end() ? -1 : static_cast<int>(it - codes.begin());
}

// Shows the entry of `code`, or, when the list does not offer it, its name greyed in
// the empty field.
void Select(QComboBox& combo, const std::vector<int>& codes, int code, const std::string& name) {
    combo.setPlaceholderText(Q(name));
    combo.setCurrentIndex(IndexOf(codes, code));
}

}  // namespace

ODlg_IdentifyZRTypeWindow::ODlg_IdentifyZRTypeWindow(ODlg_IdentifyZRType& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setObjectName(QString::number(ODlg_IdentifyZRType::kTemplate));
    setWindowTitle(tr("Project properties"));
    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    columns->addWidget(MakeTargetGroup(), 1);
    columns->addWidget(MakeProjectGroup(), 1);
    layout->addLayout(columns);
    AddOkCancelButtons(*this, *layout);
    Refresh();
}

QWidget* ODlg_IdentifyZRTypeWindow::MakeTargetGroup() {
    auto* group = new QGroupBox(tr("Target device"), this);
    auto* form = new QFormLayout(group);
    m_device = new QComboBox(group);
    m_device->setObjectName(QString::number(ODlg_IdentifyZRType::kDeviceTypeCombo));
    for (const std::string& name : ODlg_IdentifyZRType::DeviceTypeChoices())
        m_device->addItem(Q(name));
    m_firmware = new QComboBox(group);
    m_firmware->setObjectName(QString::number(ODlg_IdentifyZRType::kFirmwareCombo));
    m_addIn = new QComboBox(group);
    m_addIn->setObjectName(QString::number(ODlg_IdentifyZRType::kAddInCombo));
    m_orientations = AddSpin(ODlg_IdentifyZRType::kOrientations, 1, 8);
    m_tools = AddSpin(ODlg_IdentifyZRType::kTools, 0, 256);
    m_partTypes = AddSpin(ODlg_IdentifyZRType::kPartTypes, 1, 512);
    m_partsPerProgram = AddSpin(ODlg_IdentifyZRType::kPartsPerProgram, 1, 16);
    form->addRow(tr("Device type:"), m_device);
    form->addRow(tr("Firmware version:"), m_firmware);
    form->addRow(tr("Firmware Add-Ins:"), m_addIn);
    form->addRow(tr("Max. number of orientations (1..8):"), m_orientations);
    form->addRow(tr("Max. number of tools:"), m_tools);
    form->addRow(tr("Max. number of part types (1..512):"), m_partTypes);
    form->addRow(tr("Max. number of part types per sorting program (1..16):"), m_partsPerProgram);

    auto* ethernet = new QPushButton(tr("Ethernet interface"), group);
    ethernet->setObjectName(QString::number(ODlg_IdentifyZRType::kEthernet));
    ethernet->setToolTip(tr("Reads the connected device over the network and takes over its type"));
    m_status = new QLabel(group);
    m_status->setObjectName(QString::number(ODlg_IdentifyZRType::kStatusText));
    m_status->setWordWrap(true);
    m_status->setFrameShape(QFrame::StyledPanel);
    m_status->setMinimumHeight(m_status->fontMetrics().height() * 2 + 8);
    form->addRow(ethernet);
    form->addRow(m_status);

    connect(m_device, &QComboBox::activated, this, [this](int index) {
        TakeFields();
        m_model.ChooseHardware(ODlg_IdentifyZRType::DeviceTypeCodes()[index]);
        Refresh();
    });
    connect(m_firmware, &QComboBox::activated, this, [this](int index) {
        TakeFields();
        m_model.ChooseSoftware(
            ODlg_IdentifyZRType::FirmwareChoices(m_model.target.hardware)[index]);
        Refresh();
    });
    connect(m_addIn, &QComboBox::activated, this, [this](int index) {
        TakeFields();
        m_model.ChooseAddIn(index);
        Refresh();
    });
    connect(ethernet, &QPushButton::clicked, this,
            &ODlg_IdentifyZRTypeWindow::IdentifyOverEthernet);
    return group;
}

QWidget* ODlg_IdentifyZRTypeWindow::MakeProjectGroup() {
    auto* group = new QGroupBox(tr("Project"), this);
    auto* column = new QVBoxLayout(group);
    m_version1 = AddCheck(1017, "Project file compatible with Kalvor 1.0");
    m_multiple = AddCheck(1077, "Project with multiple check programs");
    m_quality = AddCheck(1083, "Project with quality inspection");
    m_orientationSeparation =
        AddCheck(1079, "Project with orientation separation (preferred orientation)");
    m_typeSeparation = AddCheck(1080, "Project with type separation (sorting function)");
    m_deleteTypes = AddCheck(1081, "Delete types without sample parts automatically");
    m_deleteOrientations = AddCheck(1082, "Delete orientations without sample parts automatically");
    m_coordTrans = AddCheck(1084, "Project with automatic coordinate transformation of features");
    m_cameraImage = AddCheck(1085, "Calculate tools as default on camera image");
    m_insert = AddCheck(1283, "Insert device properties into projectdescription");
    for (QCheckBox* box :
         {m_version1, m_multiple, m_quality, m_orientationSeparation, m_typeSeparation,
          m_deleteTypes, m_deleteOrientations, m_coordTrans, m_cameraImage}) {
        box->setParent(group);
        column->addWidget(box);
    }
    column->addStretch(1);
    m_insert->setParent(group);
    column->addWidget(m_insert);
    // Type and orientation separation are part of the quality inspection.
    connect(m_quality, &QCheckBox::toggled, this, [this](bool on) {
        m_orientationSeparation->setEnabled(on);
        m_typeSeparation->setEnabled(on);
    });
    return group;
}

QSpinBox* ODlg_IdentifyZRTypeWindow::AddSpin(int id, int min, int max) {
    auto* spin = new QSpinBox(this);
    spin->setObjectName(QString::number(id));
    spin->setRange(min, max);
    return spin;
}

QCheckBox* ODlg_IdentifyZRTypeWindow::AddCheck(int id, const char* text) {
    auto* box = new QCheckBox(tr(text), this);
    box->setObjectName(QString::number(id));
    return box;
}

void ODlg_IdentifyZRTypeWindow::Refresh() {
    const ODlg_IdentifyZRType& m = m_model;
    const OTargetSystem& t = m.target;
    Select(*m_device, ODlg_IdentifyZRType::DeviceTypeCodes(), t.hardware,
           TargetSystem::HardwareName(t.hardware));
    const std::vector<int> firmware = ODlg_IdentifyZRType::FirmwareChoices(t.hardware);
    m_firmware->clear();
    for (int software : firmware)
        m_firmware->addItem(Q(TargetSystem::SoftwareName(software)));
    Select(*m_firmware, firmware, t.software, TargetSystem::SoftwareName(t.software));
    m_addIn->clear();
    for (const std::string& name : m.AddInChoices())
        m_addIn->addItem(Q(name));
    m_addIn->setCurrentIndex(std::clamp(t.addIn, 0, m_addIn->count() - 1));
    m_addIn->setEnabled(m.bIsAddInEnabled());
    m_orientations->setValue(t.orientations);
    m_orientations->setEnabled(m.bIsOrientationEditable());
    m_tools->setValue(m.tools);
    m_partTypes->setValue(t.partTypes);
    m_partsPerProgram->setValue(t.partsInSet);
    m_status->setText(Q(m.statusText));
    m_insert->setChecked(m.insertIntoProjectDescription);
    m_version1->setChecked(m.compatibleWithVersion1);
    m_multiple->setChecked(m.multipleCheckPrograms);
    m_orientationSeparation->setChecked(m.orientationSeparation);
    m_typeSeparation->setChecked(m.typeSeparation);
    m_deleteTypes->setChecked(m.deleteTypesWithoutParts);
    m_deleteOrientations->setChecked(m.deleteOrientationsWithoutParts);
    m_quality->setChecked(m.qualityInspection);
    m_coordTrans->setChecked(m.coordTransOfFeatures);
    m_cameraImage->setChecked(m.toolsOnCameraImage);
    m_orientationSeparation->setEnabled(m.qualityInspection);
    m_typeSeparation->setEnabled(m.qualityInspection);
}

void ODlg_IdentifyZRTypeWindow::TakeFields() {
    ODlg_IdentifyZRType& m = m_model;
    m.target.orientations = m_orientations->value();
    m.tools = m_tools->value();
    m.target.partTypes = m_partTypes->value();
    m.target.partsInSet = m_partsPerProgram->value();
    m.insertIntoProjectDescription = m_insert->isChecked();
    m.compatibleWithVersion1 = m_version1->isChecked();
    m.multipleCheckPrograms = m_multiple->isChecked();
    m.orientationSeparation = m_orientationSeparation->isChecked();
    m.typeSeparation = m_typeSeparation->isChecked();
    m.deleteTypesWithoutParts = m_deleteTypes->isChecked();
    m.deleteOrientationsWithoutParts = m_deleteOrientations->isChecked();
    m.qualityInspection = m_quality->isChecked();
    m.coordTransOfFeatures = m_coordTrans->isChecked();
    m.toolsOnCameraImage = m_cameraImage->isChecked();
}

void ODlg_IdentifyZRTypeWindow::IdentifyOverEthernet() {
    TakeFields();
    m_status->setText(Q(ResStr(4008)));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QApplication::processEvents();
    m_model.bIdentifyOverEthernet();
    QApplication::restoreOverrideCursor();
    Refresh();
}

void ODlg_IdentifyZRTypeWindow::accept() {
    TakeFields();
    QDialog::accept();
}
