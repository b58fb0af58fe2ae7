// The "Project properties" dialog (template 253) over ODlg_IdentifyZRType: the target
// device with its firmware, add-in and capacities, identifying the connected device over
// Ethernet, and the project's settings. Every control carries its id as object name.
#pragma once

#include <QDialog>

#include "device/ODlg_IdentifyZRType.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

class ODlg_IdentifyZRTypeWindow : public QDialog {
    Q_OBJECT
  public:
    ODlg_IdentifyZRTypeWindow(ODlg_IdentifyZRType& model, QWidget* parent);

    void accept() override;

  private:
    QWidget* MakeTargetGroup();
    QWidget* MakeProjectGroup();
    QSpinBox* AddSpin(int id, int min, int max);
    QCheckBox* AddCheck(int id, const char* text);
    // Puts the model's values into the controls, and the controls' into the model.
    void Refresh();
    void TakeFields();
    void IdentifyOverEthernet();

    ODlg_IdentifyZRType& m_model;
    QComboBox* m_device = nullptr;
    QComboBox* m_firmware = nullptr;
    QComboBox* m_addIn = nullptr;
    QSpinBox* m_orientations = nullptr;
    QSpinBox* m_tools = nullptr;
    QSpinBox* m_partTypes = nullptr;
    QSpinBox* m_partsPerProgram = nullptr;
    QLabel* m_status = nullptr;
    QCheckBox* m_insert = nullptr;
    QCheckBox* m_version1 = nullptr;
    QCheckBox* m_multiple = nullptr;
    QCheckBox* m_orientationSeparation = nullptr;
    QCheckBox* m_typeSeparation = nullptr;
    QCheckBox* m_deleteTypes = nullptr;
    QCheckBox* m_deleteOrientations = nullptr;
    QCheckBox* m_quality = nullptr;
    QCheckBox* m_coordTrans = nullptr;
    QCheckBox* m_cameraImage = nullptr;
};
