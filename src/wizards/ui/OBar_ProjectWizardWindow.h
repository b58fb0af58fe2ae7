// The dockable "Project Wizard Bar": the checklist of OBar_ProjectWizard in a single-column
// list with status icons. Activating a line (double click or Enter) asks for its command;
// the bar's close button asks for the command that shows and hides the bar.
#pragma once

#include <QDockWidget>
#include <vector>

#include "wizards/OBar_ProjectWizard.h"

class QTreeWidget;
class QTreeWidgetItem;

class OBar_ProjectWizardWindow : public QDockWidget {
    Q_OBJECT
  public:
    static constexpr const char* kListName = "ProjectWizardList";

    explicit OBar_ProjectWizardWindow(QWidget* parent);

    // Replaces the lines; the line that was at the top stays in view.
    void SetLines(const std::vector<OWizardBarLine>& lines);
    QTreeWidget* List() const { return m_list; }

  signals:
    void commandRequested(int command);
    void closeRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    static void ShowLine(QTreeWidgetItem& item, const OWizardBarLine& line);

    QTreeWidget* m_list = nullptr;
};
