#include "wizards/ui/OProjectWizardSheetWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "model/strings/ResStr.h"
#include "wizards/OProjectWizardSheet.h"
#include "wizards/ui/OProjectWizardEvaluationPage.h"
#include "wizards/ui/OProjectWizardOptiSettingsPage.h"
#include "wizards/ui/OWizardPartPicture.h"

namespace {

using namespace ProjectWizardPage;

constexpr const char* kTaskNames[6] = {
    "Advanced orientation detection (N to N)", "Test parts for typical defects",
    "Sorting of different part types",         "Automatic Optimization",
    "Test of Part Length has high Priority",   "Supervise test process"};

constexpr const char* kStartText =
    "This wizard guides you from an empty project to a device that recognises your part.\n\n"
    "1. It tests the connection and identifies the device.\n"
    "2. It asks for the project file and the tasks of the device.\n"
    "3. You show sample parts to the device, orientation by orientation.\n"
    "4. It creates the Teach-Data and, if you want, searches for tools that improve the "
    "recognition.\n"
    "5. It shows the evaluation, transfers the Teach-Data to the device and saves the "
    "project.\n\n"
    "Connect the device and press 'Next'.";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

template <class W>
W* Named(W* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

QLabel* Wrapped(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

}  // namespace

OProjectWizardSheetWindow::OProjectWizardSheetWindow(OProjectWizardSheet& sheet, QWidget* parent)
    : OWizardDialog(parent), m_sheet(sheet) {
    setWindowTitle(Q(ResStr(OProjectWizardSheet::kCaption)));
    AddPage(kStart, BuildStartPage());
    AddPage(kParameters, BuildParametersPage());
    AddPage(kTaskSettings, BuildTaskPage());
    AddPage(kShowTeachParts, BuildTeachPartsPage());
    AddPage(kMoreOris, BuildMoreOrisPage());
    AddPage(kShowBadParts,
            BuildPartsPage(kShowBadParts, tr("Show parts with typical defects to the device.")));
    m_opti = new OProjectWizardOptiSettingsPage(sheet.Optimizer());
    AddPage(kOptiSettings, m_opti);
    m_creation = new OProjectWizardEvaluationPage(sheet.CreationList());
    AddPage(kCreateTeachData, m_creation);
    AddPage(kShowTestParts, BuildPartsPage(kShowTestParts, tr("Show test parts to the device.")));
    m_evaluation = new OProjectWizardEvaluationPage(sheet.EvaluationList());
    AddPage(kEvaluation, m_evaluation);
    AddPage(kSaveFiles, BuildSaveFilesPage());

    connect(m_opti, &OProjectWizardOptiSettingsPage::buttonsChanged, this, [this](int flags) {
        if (m_sheet.iPage() == kOptiSettings) SetButtons(flags ? flags | 1 : 0);
    });
    connect(this, &OWizardDialog::nextPressed, this, [this] {
        if (m_sheet.iPage() == kOptiSettings && m_opti->bSearching()) return;
        Act([this] { m_sheet.Next(); });
    });
    connect(this, &OWizardDialog::backPressed, this, [this] {
        if (m_sheet.iPage() == kOptiSettings && m_opti->bSearching()) return;
        Act([this] { m_sheet.Back(); });
    });
    connect(this, &OWizardDialog::finishPressed, this, [this] {
        if (m_sheet.iPage() != kSaveFiles) return;
        accept();
    });
    m_sheet.SetPartArrivedHandler([this] {
        QMetaObject::invokeMethod(
            this, [this] { Act([this] { m_sheet.OnPartArrived(); }); }, Qt::QueuedConnection);
    });
    resize(660, 500);
    Sync();
}

OProjectWizardSheetWindow::~OProjectWizardSheetWindow() {
    m_sheet.SetPartArrivedHandler({});
}

void OProjectWizardSheetWindow::AddPage(int page, QWidget* widget) {
    m_index.insert(page, OWizardDialog::AddPage(widget, Q(OProjectWizardSheet::PageTitle(page))));
}

template <class F>
void OProjectWizardSheetWindow::Act(F action) {
    if (m_syncing) return;
    action();
    Sync();
}

QWidget* OProjectWizardSheetWindow::BuildStartPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Wrapped(tr(kStartText)));
    layout->addStretch(1);
    return page;
}

QWidget* OProjectWizardSheetWindow::BuildParametersPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* form = new QFormLayout;
    m_name = Named(new QLineEdit, kNameEdit);
    form->addRow(tr("Project name:"), m_name);
    auto* pathRow = new QHBoxLayout;
    m_path = Named(new QLineEdit, kPathEdit);
    auto* browse = Named(new QPushButton(tr("Browse...")), kBrowse);
    pathRow->addWidget(m_path, 1);
    pathRow->addWidget(browse);
    form->addRow(tr("Project file:"), pathRow);
    layout->addLayout(form);
    auto* viewerRow = new QHBoxLayout;
    auto* viewer = Named(new QPushButton(tr("Start Mirrel")), kStartViewer);
    viewer->setToolTip(tr("Set the device parameters in the viewer program"));
    viewerRow->addWidget(viewer);
    viewerRow->addStretch(1);
    layout->addLayout(viewerRow);
    layout->addStretch(1);
    auto* info = Named(new QLabel, kInfoText);
    m_infos.insert(kParameters, info);
    layout->addWidget(info);
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) {
        Act([&] { m_sheet.SetProjectName(text.toStdString()); });
    });
    connect(m_path, &QLineEdit::textEdited, this, [this](const QString& text) {
        Act([&] { m_sheet.SetProjectPath(text.toStdString()); });
    });
    connect(browse, &QPushButton::clicked, this, [this] { Act([this] { m_sheet.Browse(); }); });
    connect(viewer, &QPushButton::clicked, this,
            [this] { Act([this] { m_sheet.StartViewer(); }); });
    return page;
}

QWidget* OProjectWizardSheetWindow::BuildTaskPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    for (int i = 0; i < 6; ++i) {
        m_tasks[i] = Named(new QCheckBox(tr(kTaskNames[i])), kTaskFirst + i);
        layout->addWidget(m_tasks[i]);
        connect(m_tasks[i], &QCheckBox::toggled, this, [this, i](bool on) {
            Act([&] { m_sheet.SetTask(static_cast<WizardTask>(i), on); });
        });
    }
    layout->addStretch(1);
    auto* info = Named(new QLabel, kInfoText);
    m_infos.insert(kTaskSettings, info);
    layout->addWidget(info);
    return page;
}

QWidget* OProjectWizardSheetWindow::BuildTeachPartsPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    m_hint = Named(Wrapped({}), kHint);
    layout->addWidget(m_hint);
    layout->addSpacing(8);
    auto* prompt = Named(Wrapped({}), kInfoText);
    QFont bold = prompt->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    prompt->setFont(bold);
    m_infos.insert(kShowTeachParts, prompt);
    layout->addWidget(prompt);
    layout->addSpacing(8);
    auto* partRow = new QHBoxLayout;
    partRow->addWidget(new QLabel(tr("Sample part:")));
    m_spin = Named(new QSpinBox, kSpin);
    m_spin->setMinimum(0);
    partRow->addWidget(m_spin);
    m_partCount = Named(new QLabel, kPartCount);
    partRow->addWidget(m_partCount, 1);
    layout->addLayout(partRow);
    auto* picture = Named(new OWizardPartPicture, kPartPicture);
    m_pictures.insert(kShowTeachParts, picture);
    layout->addWidget(picture, 1);
    auto* buttons = new QHBoxLayout;
    m_start = Named(new QPushButton(tr("Start")), kStartButton);
    m_delete = Named(new QPushButton(tr("Delete")), kDelete);
    auto* abort = Named(new QPushButton(tr("Manual abort")), kManualAbort);
    abort->setToolTip(tr("Enough sample parts of this orientation: go on"));
    buttons->addWidget(m_start);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    buttons->addWidget(abort);
    layout->addLayout(buttons);
    connect(m_start, &QPushButton::clicked, this,
            [this] { Act([this] { m_sheet.OnStartRecording(); }); });
    connect(m_delete, &QPushButton::clicked, this,
            [this] { Act([this] { m_sheet.OnDeleteSample(); }); });
    connect(abort, &QPushButton::clicked, this,
            [this] { Act([this] { m_sheet.OnManualAbort(); }); });
    connect(m_spin, &QSpinBox::valueChanged, this, [this](int value) {
        Act([&] { m_sheet.OnSpin(value - 1 - m_sheet.iShownSample()); });
    });
    return page;
}

QWidget* OProjectWizardSheetWindow::BuildMoreOrisPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    m_highest = Named(Wrapped({}), kHighest);
    layout->addWidget(m_highest);
    layout->addSpacing(8);
    m_nextOrientation = Named(new QPushButton(tr("Next orientation")), kNextOrientation);
    m_typeFinished =
        Named(new QPushButton(tr("Part type finished - no further orientations")), kTypeFinished);
    m_nextType = Named(new QPushButton(tr("Next part type")), kNextType);
    m_allTypes =
        Named(new QPushButton(tr("All part types finished - no further types")), kAllTypesFinished);
    for (QPushButton* b : {m_nextOrientation, m_typeFinished, m_nextType, m_allTypes}) {
        b->setAutoDefault(false);
        layout->addWidget(b);
    }
    layout->addStretch(1);
    auto* info = Named(Wrapped({}), kInfoText);
    m_infos.insert(kMoreOris, info);
    layout->addWidget(info);
    connect(m_nextOrientation, &QPushButton::clicked, this,
            [this] { Act([this] { m_sheet.OnNextOrientation(); }); });
    connect(m_typeFinished, &QPushButton::clicked, this,
            [this] { Act([this] { m_sheet.OnTypeFinished(); }); });
    connect(m_nextType, &QPushButton::clicked, this,
            [this] { Act([this] { m_sheet.OnNextType(); }); });
    connect(m_allTypes, &QPushButton::clicked, this,
            [this] { Act([this] { m_sheet.OnAllTypesFinished(); }); });
    return page;
}

QWidget* OProjectWizardSheetWindow::BuildPartsPage(int pageId, const QString& text) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Wrapped(text));
    auto* picture = Named(new OWizardPartPicture, kPartPicture);
    m_pictures.insert(pageId, picture);
    layout->addWidget(picture, 1);
    return page;
}

QWidget* OProjectWizardSheetWindow::BuildSaveFilesPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* transferRow = new QHBoxLayout;
    // The box carries the caption: to a type, or to a sorting program.
    m_transfer = Named(new QCheckBox, kTransfer);
    m_target = Named(new QComboBox, kTransferTarget);
    transferRow->addWidget(m_transfer);
    transferRow->addWidget(m_target);
    transferRow->addStretch(1);
    layout->addLayout(transferRow);
    layout->addSpacing(8);
    m_documentation = Named(new QCheckBox(tr("Add project documentation")), kAddDocumentation);
    m_save = Named(new QCheckBox(tr("Save project file")), kSaveProject);
    m_manual = Named(new QCheckBox(tr("Evaluate in manual mode")), kManualMode);
    layout->addWidget(m_documentation);
    layout->addWidget(m_save);
    layout->addWidget(m_manual);
    layout->addStretch(1);
    auto* info = Named(Wrapped(tr("Press 'Finish' to end the wizard.")), kInfoText);
    layout->addWidget(info);
    auto bind = [this](QCheckBox* box, bool OProjectWizardSheet::OResults::*field) {
        connect(box, &QCheckBox::toggled, this,
                [this, field](bool on) { Act([&] { m_sheet.Results().*field = on; }); });
    };
    bind(m_transfer, &OProjectWizardSheet::OResults::transfer);
    bind(m_documentation, &OProjectWizardSheet::OResults::addDocumentation);
    bind(m_save, &OProjectWizardSheet::OResults::saveProject);
    bind(m_manual, &OProjectWizardSheet::OResults::manualMode);
    connect(m_target, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) Act([&] { m_sheet.Results().target = index + 1; });
    });
    return page;
}

void OProjectWizardSheetWindow::Sync() {
    m_syncing = true;
    const int page = m_sheet.iPage();
    if (QLabel* info = m_infos.value(page)) info->setText(Q(m_sheet.InfoText()));
    switch (page) {
        case kParameters:
            SyncParameters();
            break;
        case kTaskSettings:
            SyncTasks();
            break;
        case kShowTeachParts:
            SyncTeachParts();
            break;
        case kMoreOris:
            SyncMoreOris();
            break;
        case kOptiSettings:
            if (iCurrentPage() != m_index.value(page)) m_opti->Activate();
            break;
        case kCreateTeachData:
            m_creation->ShowModel();
            break;
        case kEvaluation:
            m_evaluation->ShowModel();
            break;
        case kSaveFiles:
            SyncSaveFiles();
            break;
        default:
            break;
    }
    if (OWizardPartPicture* picture = m_pictures.value(page))
        picture->ShowPart(m_sheet.opShownPart(), m_sheet.DeviceInfo());
    const bool entering = iCurrentPage() != m_index.value(page);
    ShowPage(m_index.value(page));
    if (entering && page == kParameters) m_name->setFocus();
    // A running search holds every wizard button until it ends.
    SetButtons(page == kOptiSettings && m_opti->bSearching() ? 0 : m_sheet.iButtons());
    m_syncing = false;
}

void OProjectWizardSheetWindow::SyncParameters() {
    if (m_name->text() != Q(m_sheet.ProjectName())) m_name->setText(Q(m_sheet.ProjectName()));
    if (m_path->text() != Q(m_sheet.ProjectPath())) m_path->setText(Q(m_sheet.ProjectPath()));
}

void OProjectWizardSheetWindow::SyncTasks() {
    for (int i = 0; i < 6; ++i) {
        const auto task = static_cast<WizardTask>(i);
        m_tasks[i]->setEnabled(m_sheet.bTaskEnabled(task));
        m_tasks[i]->setChecked(m_sheet.bTask(task));
    }
}

void OProjectWizardSheetWindow::SyncTeachParts() {
    m_hint->setText(Q(m_sheet.HintText()));
    m_start->setEnabled(m_sheet.bStartEnabled());
    m_delete->setEnabled(m_sheet.bDeleteEnabled());
    const int count = static_cast<int>(m_sheet.CurrentSamples().size());
    m_spin->setRange(count ? 1 : 0, count);
    m_spin->setValue(m_sheet.iShownSample() + 1);
    m_spin->setEnabled(count > 0);
    m_partCount->setText(tr("of %1 in orientation %2").arg(count).arg(m_sheet.iOrientation()));
}

void OProjectWizardSheetWindow::SyncMoreOris() {
    QString highest = tr("Highest orientation recorded: %1").arg(m_sheet.iHighestOrientation());
    if (m_sheet.bTypeButtonsShown())
        highest = tr("Highest part type recorded: %1\n").arg(m_sheet.iHighestType()) + highest;
    m_highest->setText(highest);
    m_nextOrientation->setEnabled(m_sheet.bNextOrientationEnabled());
    m_typeFinished->setEnabled(m_sheet.bTypeFinishedEnabled());
    m_nextType->setEnabled(m_sheet.bNextTypeEnabled());
    m_allTypes->setEnabled(m_sheet.bAllTypesFinishedEnabled());
    m_nextType->setVisible(m_sheet.bTypeButtonsShown());
    m_allTypes->setVisible(m_sheet.bTypeButtonsShown());
}

void OProjectWizardSheetWindow::SyncSaveFiles() {
    const OProjectWizardSheet::OResults& results = m_sheet.Results();
    m_transfer->setText(Q(m_sheet.TransferCaption()));
    const int targets = m_sheet.iTransferTargets();
    if (m_target->count() != targets) {
        m_target->clear();
        for (int i = 1; i <= targets; ++i)
            m_target->addItem(QString::number(i));
    }
    m_target->setCurrentIndex(results.target - 1);
    m_transfer->setChecked(results.transfer);
    m_transfer->setEnabled(targets > 0);
    m_target->setEnabled(results.transfer && targets > 0);
    m_documentation->setChecked(results.addDocumentation);
    m_save->setChecked(results.saveProject);
    m_manual->setChecked(results.manualMode);
}

void OProjectWizardSheetWindow::reject() {
    if (m_closing) return;
    if (!m_opti->bSearching()) {
        OWizardDialog::reject();
        return;
    }
    m_closing = true;
    SetButtons(0);
    m_opti->AbandonSearch([this] { OWizardDialog::reject(); });
}
