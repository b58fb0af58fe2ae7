// The project documentation sheet: four pages ("Project", "Customer", "Device",
// "Transport system") over the project's documentation record. Every change is written at
// once, except the Project page's name, number, engineer and description, which a one-shot
// timer of the page writes 800 ms after the last change (2400 ms while the text is empty or
// ends with "."). The context menu copies and pastes the whole record.
#pragma once

#include <QDialog>
#include <map>
#include <memory>

#include "documentation/ODocumentationEditor.h"

class ODoc;
class QTabWidget;
class QTimer;

class OProjectDataSheet : public QDialog {
    Q_OBJECT
  public:
    OProjectDataSheet(ODoc& doc, QWidget* parent, const QString& title = QString());
    ~OProjectDataSheet() override;

    // The field's editor (a QLineEdit, QPlainTextEdit or the category's QComboBox).
    QWidget* Editor(ProjectField field) const;
    QTabWidget* Pages() const { return m_pages; }
    // Writes what the timers still hold.
    void CommitPendingEdits();
    // Puts the record's values into every page.
    void Reload();
    void CopyRecord();
    bool bPasteRecord();
    bool bCanPaste() const;

  protected:
    void done(int result) override;

  private:
    QWidget* MakePage(int page);
    void OnEdited(const ODocumentationField& field);
    void WriteTimed(int page);
    void ShowDeviceInformation();
    std::string Text(ProjectField field) const;

    ODoc& m_doc;
    ODocumentationEditor m_editor;
    QTabWidget* m_pages = nullptr;
    std::map<ProjectField, QWidget*> m_editors;
    QTimer* m_timers[ODocumentationEditor::kPages] = {};
    bool m_loading = false;
};
