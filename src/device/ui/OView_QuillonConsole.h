// The communication manager: a small form of the device commands — connect, the image mode,
// where received parts go, and the orientation and part type received sample parts get —
// with the logging status. It shows the device's state on every update and runs the
// document's commands through OQuillonConsole.
#pragma once

#include <QWidget>

#include "device/OQuillonConsole.h"
#include "document/ui/OViewWidget.h"

class ODoc;
class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;

class OView_QuillonConsole : public QWidget, public OViewWidget {
    Q_OBJECT

  public:
    OView_QuillonConsole(ODoc& doc, QWidget* parent = nullptr);

    void OnUpdate() override;
    QSize sizeHint() const override;

  private:
    void Show(const OConsoleState& state);

    ODoc& m_doc;
    OQuillonConsole m_console;
    QPushButton* m_connect = nullptr;
    QButtonGroup* m_images = nullptr;
    QButtonGroup* m_recording = nullptr;
    QLabel* m_orientationLabel = nullptr;
    QComboBox* m_orientation = nullptr;
    QLabel* m_typeLabel = nullptr;
    QComboBox* m_type = nullptr;
    QLabel* m_status = nullptr;
    bool m_showing = false;
};
