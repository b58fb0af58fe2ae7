// The frame of the program's wizards: a heading with the page title, the pages one at a time
// and the buttons "< Back", "Next >", "Finish" and "Cancel". The wizard's pages decide which
// buttons are offered (SetButtons with the flags 1 Back, 2 Next, 4 Finish); the frame only
// reports the presses. The buttons are named by their control ids so that scripts and tests
// find them.
#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QPushButton;
class QStackedWidget;

class OWizardDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kBackId = 12323;
    static constexpr int kNextId = 12324;
    static constexpr int kFinishId = 12325;
    static constexpr int kCancelId = 2;

    explicit OWizardDialog(QWidget* parent);

    // Adds a page with the title its heading shows; returns its index.
    int AddPage(QWidget* page, const QString& title);
    void ShowPage(int index);
    int iCurrentPage() const;
    QWidget* Page(int index) const;
    // Which buttons may be pressed; Finish takes the place of Next when Next is not offered.
    void SetButtons(int flags);
    int iButtons() const { return m_buttons; }

  signals:
    void backPressed();
    void nextPressed();
    void finishPressed();

  private:
    QLabel* m_title = nullptr;
    QStackedWidget* m_pages = nullptr;
    QDialogButtonBox* m_box = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_finish = nullptr;
    QStringList m_titles;
    int m_buttons = 0;
};
