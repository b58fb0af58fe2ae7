#include "link/ui/ODlg_ConnectionProfileWindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
}  // namespace

ODlg_ConnectionProfileWindow::ODlg_ConnectionProfileWindow(ODlg_ConnectionProfile& model,
                                                           QWidget* parent)
    : QDialog(parent), m_model(model) {
    const bool tcp = model.GetKind() == OConnectionProfile::Kind::Tcp;
    setWindowTitle(tr("Connect to device"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tcp ? tr("Connect over the network with:")
                                     : tr("Connect over a serial line with:")));

    auto* columns = new QHBoxLayout;
    m_list = new QListWidget(this);
    m_list->setObjectName("profiles");
    m_list->setMinimumWidth(220);
    columns->addWidget(m_list);

    auto* form = new QFormLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName("name");
    form->addRow(tr("Name:"), m_name);
    if (tcp) {
        m_host = new QLineEdit(this);
        m_host->setObjectName("host");
        form->addRow(tr("Address:"), m_host);
        const char* roles[3] = {QT_TR_NOOP("Command port:"), QT_TR_NOOP("Part port:"),
                                QT_TR_NOOP("Data port:")};
        for (int i = 0; i < 3; ++i) {
            m_ports[i] = new QLineEdit(this);
            m_ports[i]->setObjectName(QString("port%1").arg(i + 1));
            form->addRow(tr(roles[i]), m_ports[i]);
        }
    } else {
        m_device = new QLineEdit(this);
        m_device->setObjectName("device");
        form->addRow(tr("Serial device:"), m_device);
        m_baud = new QSpinBox(this);
        m_baud->setObjectName("baud");
        m_baud->setRange(1200, 4000000);
        form->addRow(tr("Speed (baud):"), m_baud);
    }
    auto* add = new QPushButton(tr("New profile"), this);
    add->setObjectName("add");
    form->addRow(QString(), add);
    columns->addLayout(form);
    layout->addLayout(columns);

    m_askAgain = new QCheckBox(tr("Ask at every connection"), this);
    m_askAgain->setObjectName("askAgain");
    m_askAgain->setChecked(model.bGetAskAgain());
    layout->addWidget(m_askAgain);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Connect"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName("1");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("2");
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &ODlg_ConnectionProfileWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(add, &QPushButton::clicked, this, &ODlg_ConnectionProfileWindow::AddProfile);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_filling || row < 0) return;
        TakeFields();
        const auto listed = m_model.ListedProfiles();
        if (row < static_cast<int>(listed.size()))
            m_model.SetSelected(listed[static_cast<size_t>(row)]);
        ShowSelected();
    });
    FillList();
    ShowSelected();
}

void ODlg_ConnectionProfileWindow::FillList() {
    m_filling = true;
    m_list->clear();
    const auto listed = m_model.ListedProfiles();
    for (size_t row = 0; row < listed.size(); ++row) {
        const OConnectionProfile& p = m_model.Profiles()[static_cast<size_t>(listed[row])];
        auto* item = new QListWidgetItem(Q(p.name), m_list);
        item->setToolTip(Q(p.Describe()));
        if (listed[row] == m_model.iGetSelected()) m_list->setCurrentRow(static_cast<int>(row));
    }
    m_filling = false;
}

void ODlg_ConnectionProfileWindow::ShowSelected() {
    const int selected = m_model.iGetSelected();
    const bool valid = selected >= 0 && selected < static_cast<int>(m_model.Profiles().size());
    const OConnectionProfile p =
        valid ? m_model.Profiles()[static_cast<size_t>(selected)] : OConnectionProfile{};
    m_name->setText(Q(p.name));
    if (m_host) {
        m_host->setText(Q(p.host));
        for (int i = 0; i < 3; ++i)
            m_ports[i]->setText(Q(p.ports[static_cast<size_t>(i)]));
    }
    if (m_device) {
        m_device->setText(Q(p.serialDevice));
        m_baud->setValue(p.baud);
    }
}

void ODlg_ConnectionProfileWindow::TakeFields() {
    const int selected = m_model.iGetSelected();
    if (selected < 0 || selected >= static_cast<int>(m_model.Profiles().size())) return;
    OConnectionProfile& p = m_model.Profiles()[static_cast<size_t>(selected)];
    p.name = m_name->text().trimmed().toStdString();
    if (m_host) {
        p.host = m_host->text().trimmed().toStdString();
        for (int i = 0; i < 3; ++i)
            p.ports[static_cast<size_t>(i)] = m_ports[i]->text().trimmed().toStdString();
    }
    if (m_device) {
        p.serialDevice = m_device->text().trimmed().toStdString();
        p.baud = m_baud->value();
    }
}

void ODlg_ConnectionProfileWindow::AddProfile() {
    TakeFields();
    m_model.iAddProfile(tr("New profile").toStdString());
    FillList();
    ShowSelected();
    m_name->setFocus();
    m_name->selectAll();
}

void ODlg_ConnectionProfileWindow::accept() {
    TakeFields();
    m_model.SetAskAgain(m_askAgain->isChecked());
    // The model's validation decides; the caller shows its message and keeps the dialog.
    QDialog::accept();
}
