#include "document/ui/OView_PartListSimple.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "document/ODoc.h"
#include "model/partset/OType_ZRPartSet.h"

OView_PartListSimple::OView_PartListSimple(ODoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc) {
    setObjectName("OView_PartList");
    auto* layout = new QHBoxLayout(this);
    for (int column = 0; column < 2; ++column) {
        auto* box = new QVBoxLayout;
        auto* heading = new QLabel(this);
        auto* list = new QListWidget(this);
        list->setObjectName(column == 0 ? "teachParts" : "testParts");
        box->addWidget(heading);
        box->addWidget(list, 1);
        layout->addLayout(box, 1);
        (column == 0 ? m_teachHeading : m_testHeading) = heading;
        (column == 0 ? m_teach : m_test) = list;
    }
    OnUpdate();
}

QString OView_PartListSimple::EntryText(int number, int type, int orientation,
                                        const QString& comment) {
    const QString orientationText = orientation == 0  ? QString("unassigned")
                                    : orientation < 0 ? QString("ignored (%1)").arg(-orientation)
                                                      : QString::number(orientation);
    QString text =
        QString("%1: type %2, orientation %3").arg(number).arg(type).arg(orientationText);
    if (!comment.isEmpty()) text += "  " + comment;
    return text;
}

void OView_PartListSimple::Fill(QListWidget* list, QLabel* heading, const QString& title,
                                const OType_PartArray& parts) {
    list->clear();
    for (int i = 0; i < parts.iGetSize(); ++i) {
        const OType_Part* part = parts.GetAt(i);
        list->addItem(EntryText(i + 1, part->iGetType(), part->iGetOrientation(),
                                QString::fromStdString(part->GetComment())));
    }
    heading->setText(QString("%1 (%2)").arg(title).arg(parts.iGetSize()));
}

void OView_PartListSimple::OnUpdate() {
    if (m_doc.iGetBusy()) return;
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!set) {
        m_teach->clear();
        m_test->clear();
        return;
    }
    Fill(m_teach, m_teachHeading, "Sample parts", set->TeachParts());
    Fill(m_test, m_testHeading, "Test parts", set->TestParts());
}
