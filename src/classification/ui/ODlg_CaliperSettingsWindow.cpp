#include "classification/ui/ODlg_CaliperSettingsWindow.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

#include "classification/ODlg_CaliperSettings.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The number in an edit; text that is no number (or nothing) becomes NaN, which the model
// refuses with its message.
double NumberOf(const QLineEdit* edit) {
    bool ok = false;
    const double value = QLocale::c().toDouble(edit->text().trimmed(), &ok);
    return ok ? value : std::numeric_limits<double>::quiet_NaN();
}

}  // namespace

ODlg_CaliperSettingsWindow::ODlg_CaliperSettingsWindow(ODlg_CaliperSettings& model, QWidget* parent)
    : QDialog(parent), m_model(model) {
    setObjectName(QString::number(ODlg_CaliperSettings::kTemplate));
    setWindowTitle(Q(ODlg_CaliperSettings::Title()));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    grid->setColumnStretch(0, 1);
    m_horizontal = AddField(ODlg_CaliperSettings::kHorizontalEdit, model.dGetHorizontal());
    m_vertical = AddField(ODlg_CaliperSettings::kVerticalEdit, model.dGetVertical());
    grid->addWidget(new QLabel(Q(ODlg_CaliperSettings::HorizontalCaption()), this), 0, 0);
    grid->addWidget(m_horizontal, 0, 1);
    grid->addWidget(new QLabel(Q(ODlg_CaliperSettings::VerticalCaption()), this), 1, 0);
    grid->addWidget(m_vertical, 1, 1);
    if (model.bShowsZ()) {
        auto* caption = new QLabel(Q(ODlg_CaliperSettings::ZCaption()), this);
        caption->setObjectName(QString::number(ODlg_CaliperSettings::kZCaption));
        caption->setWordWrap(true);
        caption->setMinimumWidth(320);
        m_z = AddField(ODlg_CaliperSettings::kZEdit, model.dGetZ());
        grid->addWidget(caption, 2, 0);
        grid->addWidget(m_z, 2, 1, Qt::AlignTop);
    }
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
    connect(buttons, &QDialogButtonBox::accepted, this, &ODlg_CaliperSettingsWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    m_horizontal->selectAll();
    m_horizontal->setFocus();
}

QLineEdit* ODlg_CaliperSettingsWindow::AddField(int id, double value) {
    auto* edit = new QLineEdit(QLocale::c().toString(value, 'g', 12), this);
    edit->setObjectName(QString::number(id));
    edit->setMinimumWidth(110);
    edit->setMaxLength(32);
    return edit;
}

void ODlg_CaliperSettingsWindow::accept() {
    m_model.SetHorizontal(NumberOf(m_horizontal));
    m_model.SetVertical(NumberOf(m_vertical));
    if (m_z) m_model.SetZ(NumberOf(m_z));
    QDialog::accept();
}
