#include "device/ui/ODlg_TransferDataWindow.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "device/ODlg_TransferDataNew.h"

namespace {

using namespace TransferControl;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QTreeWidget* MakeList(const QString& name, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setMinimumSize(220, 180);
    return list;
}

QLabel* Heading(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

std::vector<int> SelectedRows(const QTreeWidget* list) {
    std::vector<int> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->isSelected()) rows.push_back(i);
    }
    return rows;
}

}  // namespace

ODlg_TransferDataWindow::ODlg_TransferDataWindow(ODlg_TransferData& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_new(dynamic_cast<ODlg_TransferDataNew*>(&model)) {
    setObjectName(Q(model.DialogName()));
    setWindowTitle(Q(model.Title()));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);

    auto* lists = new QGridLayout;
    m_projectHeader = Heading(Q(model.ProjectHeader()), this);
    lists->addWidget(m_projectHeader, 0, 0);
    m_project = MakeList(kProjectList, this);
    lists->addWidget(m_project, 1, 0);

    auto* middle = new QVBoxLayout;
    for (int id : {kConnect, kCopyToDevice, kCopyFromDevice, kDeleteInDevice})
        middle->addWidget(MakeButton(id, this));
    middle->addStretch(1);
    lists->addLayout(middle, 1, 1);

    lists->addWidget(Heading(Q(model.DeviceHeader()), this), 0, 2);
    m_device = MakeList(kDeviceList, this);
    lists->addWidget(m_device, 1, 2);
    lists->setColumnStretch(0, 3);
    lists->setColumnStretch(2, 3);
    lists->setRowStretch(1, 1);
    if (m_new) {
        lists->addWidget(Heading(Q(m_new->NumberHeader()), this), 0, 3);
        auto* column = new QVBoxLayout;
        m_numbers = MakeList(QString::number(kNumberList), this);
        column->addWidget(m_numbers, 1);
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(MakeButton(kAssign, this));
        buttons->addWidget(MakeButton(kDeleteAssignment, this));
        column->addLayout(buttons);
        lists->addLayout(column, 1, 3);
        lists->setColumnStretch(3, 2);
    }
    layout->addLayout(lists, 1);

    auto* below = new QHBoxLayout;
    for (int id : {kNew, kCopy, kPaste, kRename, kDeleteInProject, kMoveUp, kMoveDown}) {
        if (model.bHasControl(id)) below->addWidget(MakeButton(id, this));
    }
    below->addStretch(1);
    for (int id : {kImport, kExport})
        below->addWidget(MakeButton(id, this));
    layout->addLayout(below);

    m_count = new QLabel(this);
    m_count->setObjectName(QString::number(kCountText));
    layout->addWidget(m_count);
    auto* stateLine = new QHBoxLayout;
    m_state = new QLabel(this);
    m_state->setObjectName(QString::number(kStateText));
    m_state->setWordWrap(true);
    m_state->setFrameShape(QFrame::StyledPanel);
    m_state->setMinimumHeight(m_state->fontMetrics().height() * 2 + 6);
    stateLine->addWidget(m_state, 1);
    m_busy = new QProgressBar(this);
    m_busy->setObjectName("busy");
    m_busy->setRange(0, 0);
    m_busy->setMaximumWidth(120);
    m_busy->setVisible(false);
    stateLine->addWidget(m_busy);
    layout->addLayout(stateLine);

    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    close->button(QDialogButtonBox::Close)->setObjectName("1");
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::accept);
    layout->addWidget(close);

    for (QTreeWidget* list : {m_project, m_device, m_numbers}) {
        if (!list) continue;
        connect(list, &QTreeWidget::itemSelectionChanged, this, [this] {
            if (m_filling) return;
            TakeSelections();
            UpdateControls();
        });
    }
    m_model.onProgress = [this] { ShowProgress(); };
    resize(m_new ? 980 : 820, 480);
    Refresh();
}

ODlg_TransferDataWindow::~ODlg_TransferDataWindow() {
    m_model.onProgress = nullptr;
}

QPushButton* ODlg_TransferDataWindow::MakeButton(int id, QWidget* parent) {
    auto* button = new QPushButton(Q(m_model.ControlText(id)), parent);
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, id] { Run(id); });
    m_buttons[id] = button;
    return button;
}

QPushButton* ODlg_TransferDataWindow::Button(int id) const {
    const auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

void ODlg_TransferDataWindow::TakeSelections() {
    m_model.SelectProject(SelectedRows(m_project));
    m_model.SelectDevice(SelectedRows(m_device));
    if (m_new && m_numbers) m_new->SelectNumbers(SelectedRows(m_numbers));
}

void ODlg_TransferDataWindow::ShowProgress() {
    m_state->setText(Q(m_model.StateText()));
    // Paint the state line while the action goes on; the user's input waits.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ODlg_TransferDataWindow::Run(int id) {
    if (m_running) return;
    m_running = true;
    TakeSelections();
    for (auto& [buttonId, button] : m_buttons)
        button->setEnabled(false);
    m_busy->setVisible(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_model.bExecute(id);
    QApplication::restoreOverrideCursor();
    m_busy->setVisible(false);
    m_running = false;
    if (m_model.bCloseRequested()) {
        reject();
        return;
    }
    Refresh();
}

void ODlg_TransferDataWindow::FillList(QTreeWidget* list, const std::vector<std::string>& columns,
                                       const std::vector<OTransferRow>& rows,
                                       const std::vector<int>& selected) {
    QStringList headers;
    for (const std::string& c : columns)
        headers << Q(c);
    list->setColumnCount(static_cast<int>(columns.size()));
    list->setHeaderLabels(headers);
    list->clear();
    for (size_t r = 0; r < rows.size(); ++r) {
        auto* item = new QTreeWidgetItem(list);
        for (size_t c = 0; c < rows[r].size(); ++c)
            item->setText(static_cast<int>(c), Q(rows[r][c]));
    }
    for (int r : selected) {
        if (QTreeWidgetItem* item = list->topLevelItem(r)) item->setSelected(true);
    }
    for (int c = 0; c < list->columnCount(); ++c)
        list->resizeColumnToContents(c);
}

void ODlg_TransferDataWindow::Refresh() {
    m_filling = true;
    FillList(m_project, m_model.ProjectColumns(), m_model.ProjectRows(),
             m_model.ProjectSelection());
    FillList(m_device, m_model.DeviceColumns(), m_model.DeviceRows(), m_model.DeviceSelection());
    if (m_new && m_numbers)
        FillList(m_numbers, m_new->NumberColumns(), m_new->NumberRows(), m_new->NumberSelection());
    m_filling = false;
    UpdateControls();
}

void ODlg_TransferDataWindow::UpdateControls() {
    for (auto& [id, button] : m_buttons) {
        button->setText(Q(m_model.ControlText(id)));
        button->setEnabled(m_model.ControlState(id).enabled);
    }
    m_count->setText(Q(m_model.CountText()));
    m_state->setText(Q(m_model.StateText()));
}
