// A plain part list: the sample parts and the test parts of the actual check program in
// two lists, with number, type, orientation and comment. It stands in until the full
// part list view is built.
#pragma once

#include <QWidget>

#include "document/ui/OViewWidget.h"

class ODoc;
class QLabel;
class QListWidget;
class OType_PartArray;

class OView_PartListSimple : public QWidget, public OViewWidget {
    Q_OBJECT
  public:
    OView_PartListSimple(ODoc& doc, QWidget* parent = nullptr);

    void OnUpdate() override;
    QListWidget* TeachList() const { return m_teach; }
    QListWidget* TestList() const { return m_test; }

    // The text of one list entry.
    static QString EntryText(int number, int type, int orientation, const QString& comment);

  private:
    void Fill(QListWidget* list, QLabel* heading, const QString& title,
              const OType_PartArray& parts);

    ODoc& m_doc;
    QLabel* m_teachHeading = nullptr;
    QLabel* m_testHeading = nullptr;
    QListWidget* m_teach = nullptr;
    QListWidget* m_test = nullptr;
};
