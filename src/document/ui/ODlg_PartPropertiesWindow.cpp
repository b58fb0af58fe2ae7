#include "document/ui/ODlg_PartPropertiesWindow.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/DialogButtons.h"
#include "model/strings/ResStr.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Comments keep their line breaks as "\r\n".
QString ShownComment(const std::string& comment) {
    return Q(comment).replace("\r\n", "\n");
}

std::string StoredComment(const QString& text) {
    QString stored = text;
    stored.replace("\r\n", "\n").replace("\n", "\r\n");
    return stored.toStdString();
}

QComboBox* Selector(const std::vector<std::string>& entries, int chosen, QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (const std::string& entry : entries)
        box->addItem(Q(entry));
    box->setCurrentIndex(chosen);
    return box;
}

void Apply(ODlg_PartProperties::Control control, QWidget* field, QWidget* label) {
    field->setEnabled(control == ODlg_PartProperties::Control::Shown);
    field->setVisible(control != ODlg_PartProperties::Control::Hidden);
    label->setVisible(control != ODlg_PartProperties::Control::Hidden);
}

}  // namespace

ODlg_PartPropertiesWindow::ODlg_PartPropertiesWindow(ODlg_PartProperties& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setObjectName(QString::number(ODlg_PartProperties::kTemplate));
    setWindowTitle(Q(ResStr(21018)));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_comment = new QPlainTextEdit(ShownComment(model.comment), this);
    m_comment->setObjectName("comment");
    m_comment->setTabChangesFocus(true);
    m_comment->setFixedHeight(m_comment->fontMetrics().lineSpacing() * 4 + 12);
    m_comment->setMinimumWidth(280);
    form->addRow(tr("Comment:"), m_comment);

    m_type = Selector(model.TypeEntries(), model.typeEntry, this);
    m_type->setObjectName("type");
    auto* typeLabel = new QLabel(tr("Part type:"), this);
    typeLabel->setBuddy(m_type);
    form->addRow(typeLabel, m_type);
    Apply(model.TypeControl(), m_type, typeLabel);

    m_orientation = Selector(model.OrientationEntries(), model.orientationEntry, this);
    m_orientation->setObjectName("orientation");
    auto* orientationLabel = new QLabel(Q(model.OrientationLabel()), this);
    orientationLabel->setBuddy(m_orientation);
    form->addRow(orientationLabel, m_orientation);
    Apply(model.OrientationControl(), m_orientation, orientationLabel);
    layout->addLayout(form);

    if (model.iGetNumParts() > 1) {
        auto* note = new QLabel(Q(ResStrFormat(21009, model.iGetNumParts())), this);
        note->setObjectName("partCount");
        layout->addWidget(note);
    }
    AddOkCancelButtons(*this, *layout);
    m_comment->setFocus();
}

void ODlg_PartPropertiesWindow::accept() {
    m_model.comment = StoredComment(m_comment->toPlainText());
    m_model.typeEntry = m_type->currentIndex();
    m_model.orientationEntry = m_orientation->currentIndex();
    // The model's validation decides; the caller shows its message and keeps the dialog.
    QDialog::accept();
}
