// The "Part properties" dialog over ODlg_PartProperties: the comment (several lines), the
// part type and the orientation (or teach use), each shown, greyed or hidden as the model
// says.
#pragma once

#include <QDialog>

#include "document/ODlg_PartProperties.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;

class ODlg_PartPropertiesWindow : public QDialog {
    Q_OBJECT
  public:
    ODlg_PartPropertiesWindow(ODlg_PartProperties& model, QWidget* parent);

    void accept() override;

  private:
    ODlg_PartProperties& m_model;
    QPlainTextEdit* m_comment = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_orientation = nullptr;
};
