// The window of "Import of camera images": the position of the pictures in the field of
// view, the threshold type and the two brightness limits, bound to ODlg_ImportImages by
// control id; beside them the chosen files and a preview of the selected picture with the
// pixels that become part of the contour tinted, updated as the limits change.
#pragma once

#include <QDialog>

#include "extraction/ODlg_ImportImages.h"
#include "model/part/OType_Image.h"

class QComboBox;
class QLabel;
class QListWidget;
class QSpinBox;

class ODlg_ImportImagesWindow : public QDialog {
    Q_OBJECT

  public:
    ODlg_ImportImagesWindow(ODlg_ImportImages& model, QWidget* parent);

    void accept() override;

  private:
    void LoadPreview(int row);
    void UpdatePreview();
    void TakeFields();

    ODlg_ImportImages& m_model;
    QSpinBox* m_positionY = nullptr;
    QSpinBox* m_positionX = nullptr;
    QComboBox* m_thresholdType = nullptr;
    QSpinBox* m_dark = nullptr;
    QSpinBox* m_bright = nullptr;
    QListWidget* m_files = nullptr;
    QLabel* m_preview = nullptr;
    QLabel* m_previewInfo = nullptr;
    OType_Image m_previewImage;
    QString m_previewError;
};
