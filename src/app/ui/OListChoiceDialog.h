// The list dialog in which the user picks one entry (the Export and Import lists, the part
// type of a Teach-Data file, ...): a text above a list, OK and Cancel. A double click or
// Enter takes the entry; OK is enabled only while an entry is selected.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

class OListChoiceDialog : public QDialog {
    Q_OBJECT

  public:
    // Control names: the list "list", OK "1", Cancel "2".
    OListChoiceDialog(const QString& title, const QString& text,
                      const std::vector<std::string>& items, int preselected, QWidget* parent);

    // The chosen row; -1 when none is selected.
    int iChosen() const;
    QListWidget* List() const { return m_list; }

  private:
    void UpdateOk();

    QListWidget* m_list = nullptr;
    QPushButton* m_ok = nullptr;
};
