// The vector properties view (form 322): the editor of the stored Teach-Data of the current
// feature, the right-hand pane of the teach-data frame. Check boxes and radio buttons apply
// at once; an edit field applies 800 ms after the last keystroke (2400 ms while it is empty
// or ends with a decimal point). A refused entry is named below the form and nothing is
// applied; an accepted change recomputes the project and is one undo step.
#pragma once

#include <QTimer>
#include <QWidget>
#include <map>

#include "analysis/VectorPropertiesEditor.h"
#include "document/ui/OViewWidget.h"

class ODoc;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

class OView_VectorProperties : public QWidget, public OViewWidget {
    Q_OBJECT
  public:
    explicit OView_VectorProperties(ODoc& doc, QWidget* parent = nullptr);
    ~OView_VectorProperties() override;

    // --- OViewWidget ---
    void OnUpdate() override;
    // Applies an edit whose timer has not fired yet.
    void CommitPendingEdits() override;

    QWidget* Control(int id) const;
    QTimer& ApplyTimer() { return m_timer; }
    QLabel* ErrorLabel() const { return m_errorLabel; }
    const OVectorForm& ShownForm() const { return m_read; }
    QSize sizeHint() const override;

  private:
    void BuildForm();
    QLineEdit* AddEdit(int id);
    void Fill(const OVectorForm& form);
    OVectorForm EditedForm() const;
    void OnEdited(const QString& text);
    void Apply();
    void ShowError(const std::string& message, int control);

    ODoc& m_doc;
    QTimer m_timer;
    std::map<int, QWidget*> m_controls;
    QCheckBox* m_use = nullptr;
    QLineEdit* m_name = nullptr;
    QComboBox* m_feature = nullptr;
    QLineEdit* m_factor = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_orientation = nullptr;
    QButtonGroup* m_range = nullptr;
    QLineEdit* m_minimum = nullptr;
    QLineEdit* m_mean = nullptr;
    QLineEdit* m_maximum = nullptr;
    QGroupBox* m_invalidBox = nullptr;
    QButtonGroup* m_invalid = nullptr;
    QLineEdit* m_expression = nullptr;
    QLabel* m_expressionLabel = nullptr;
    QLabel* m_errorLabel = nullptr;
    OVectorForm m_read;
    // The part type and orientation chosen in the form, and the document's shown ones they
    // were taken from.
    int m_chosenType = 0;
    int m_chosenOrientation = 0;
    int m_seenType = -1;
    int m_seenOrientation = -1;
    bool m_filling = false;
};
