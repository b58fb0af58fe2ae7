#include "analysis/ui/OSheet_AccuracyWizardWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdlib>

#include "analysis/OAccuracyWizardDialog.h"

namespace {

// A pause after the last key stroke before the evaluation page recomputes.
constexpr int kRecomputeDelayMs = 400;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

template <class W>
W* Named(W* widget, int id) {
    widget->setObjectName(QString::number(id));
    return widget;
}

QLabel* Output(int id) {
    auto* label = Named(new QLabel, id);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(140);
    return label;
}

QLabel* Wrapped(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

// A number as the user typed it, "0" when the text is not one.
double Number(const QLineEdit* edit) {
    bool ok = false;
    const double v = edit->text().trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}

QString NumberText(double v) {
    return QString::number(v, 'f', 4);
}

}  // namespace

OSheet_AccuracyWizardWindow::OSheet_AccuracyWizardWindow(OAccuracyWizardDialog& model,
                                                         QWidget* parent)
    : OWizardDialog(parent), m_model(model) {
    setWindowTitle(OAccuracyWizardDialog::kCaption);
    AddPage(BuildStartPage(), OPage_AccuracyWizardStart::kTitle);
    AddPage(BuildFeaturePage(), OPage_AccuracyWizardFeature::kTitle);
    AddPage(BuildEvaluationPage(), OPage_AccuracyWizardEvaluation::kTitle);
    AddPage(BuildResultPage(), OPage_AccuracyWizardResult::kTitle);
    connect(this, &OWizardDialog::backPressed, this, &OSheet_AccuracyWizardWindow::OnBack);
    connect(this, &OWizardDialog::nextPressed, this, &OSheet_AccuracyWizardWindow::OnNext);
    connect(this, &OWizardDialog::finishPressed, this, &OSheet_AccuracyWizardWindow::OnFinish);
    resize(640, 520);
    Activate(kStart);
}

// --- pages ---

QWidget* OSheet_AccuracyWizardWindow::BuildStartPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    m_startText = Named(Wrapped(QString()), 1000);
    m_partCount = new QLabel;
    layout->addWidget(m_startText);
    layout->addSpacing(12);
    layout->addWidget(m_partCount);
    layout->addStretch(1);
    return page;
}

QWidget* OSheet_AccuracyWizardWindow::BuildFeaturePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* input = new QFormLayout;
    m_feature = Named(new QComboBox, 1100);
    m_feature->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_measured = Named(new QLineEdit, 1001);
    m_measured->setMaximumWidth(140);
    input->addRow(tr("Feature:"), m_feature);
    input->addRow(tr("Value measured by hand (e.g. mm):"), m_measured);
    layout->addLayout(input);

    auto* box = new QGroupBox(tr("Result"));
    auto* outputs = new QFormLayout(box);
    m_mean = Output(1003);
    m_resolution = Output(1002);
    m_averageError = Output(1005);
    m_maxError = Output(1136);
    outputs->addRow(tr("Mean value of the samples (pixel):"), m_mean);
    outputs->addRow(tr("Resolution (e.g. mm/pixel):"), m_resolution);
    outputs->addRow(tr("Average error, standard deviation (e.g. mm):"), m_averageError);
    outputs->addRow(tr("Max. error, 0.5 * range (e.g. mm):"), m_maxError);
    layout->addWidget(box);
    m_featureMessage = Named(Wrapped(QString()), 1199);
    QPalette warning = m_featureMessage->palette();
    warning.setColor(QPalette::WindowText, QColor(170, 20, 20));
    m_featureMessage->setPalette(warning);
    layout->addWidget(m_featureMessage);
    layout->addStretch(1);

    connect(m_feature, &QComboBox::currentIndexChanged, this, [this](int position) {
        if (position < 0) return;
        m_model.Sheet().FeaturePage().SelectFeature(position, m_model.PartSet(),
                                                    m_model.Sheet().Results());
        ShowFeatureOutputs();
    });
    connect(m_measured, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.Sheet().FeaturePage().SetMeasuredText(text.trimmed().toStdString(),
                                                      m_model.PartSet(), m_model.Sheet().Results());
        ShowFeatureOutputs();
    });
    return page;
}

QWidget* OSheet_AccuracyWizardWindow::BuildEvaluationPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* modes = new QHBoxLayout;
    m_toleranceMode = Named(new QRadioButton(tr("Tolerance range")), 1108);
    m_shareMode = Named(new QRadioButton(tr("Amount of uncertain parts")), 1109);
    auto* group = new QButtonGroup(page);
    group->addButton(m_toleranceMode);
    group->addButton(m_shareMode);
    m_toleranceMode->setChecked(true);
    modes->addWidget(m_toleranceMode);
    modes->addWidget(m_shareMode);
    modes->addStretch(1);
    layout->addLayout(modes);

    auto* specified = new QFormLayout;
    m_specified = Named(new QLineEdit, 1114);
    m_specified->setMaximumWidth(140);
    specified->addRow(tr("Specified value (e.g. mm):"), m_specified);
    layout->addLayout(specified);

    m_toleranceRow = new QWidget;
    auto* toleranceForm = new QFormLayout(m_toleranceRow);
    toleranceForm->setContentsMargins(0, 0, 0, 0);
    m_tolerance = Named(new QLineEdit, 1131);
    m_tolerance->setMaximumWidth(140);
    m_uncertainOutput = Output(1107);
    toleranceForm->addRow(tr("Tolerance +/- (e.g. mm):"), m_tolerance);
    toleranceForm->addRow(tr("Uncertain decision at (% test parts):"), m_uncertainOutput);
    layout->addWidget(m_toleranceRow);

    m_shareRow = new QWidget;
    auto* shareForm = new QFormLayout(m_shareRow);
    shareForm->setContentsMargins(0, 0, 0, 0);
    m_uncertainInput = Named(new QLineEdit, 1113);
    m_uncertainInput->setMaximumWidth(140);
    m_toleranceOutput = Output(1120);
    shareForm->addRow(tr("Uncertain decision at (% test parts):"), m_uncertainInput);
    shareForm->addRow(tr("Tolerance +/- (range):"), m_toleranceOutput);
    layout->addWidget(m_shareRow);

    layout->addWidget(Wrapped(OPage_AccuracyWizardEvaluation::kAssumptionText));
    auto* capability = new QGroupBox(tr("Capability"));
    auto* capabilityLayout = new QVBoxLayout(capability);
    capabilityLayout->addWidget(Wrapped(OPage_AccuracyWizardEvaluation::kGuidelineText));
    auto* indices = new QFormLayout;
    m_cgm = Output(1137);
    m_cgmk = Output(1138);
    indices->addRow(tr("Cgm:"), m_cgm);
    indices->addRow(tr("Cgmk:"), m_cgmk);
    capabilityLayout->addLayout(indices);
    layout->addWidget(capability);
    layout->addStretch(1);

    m_recomputeTimer = new QTimer(this);
    m_recomputeTimer->setSingleShot(true);
    m_recomputeTimer->setInterval(kRecomputeDelayMs);
    connect(m_recomputeTimer, &QTimer::timeout, this, [this] {
        ReadEvaluationFields();
        m_model.Sheet().EvaluationPage().Recompute();
        ShowEvaluationOutputs();
    });
    for (QLineEdit* edit : {m_specified, m_tolerance, m_uncertainInput}) {
        connect(edit, &QLineEdit::textEdited, m_recomputeTimer, qOverload<>(&QTimer::start));
    }
    connect(m_toleranceMode, &QRadioButton::toggled, this, [this](bool on) {
        ReadEvaluationFields();
        m_model.Sheet().EvaluationPage().SetMode(
            on ? OPage_AccuracyWizardEvaluation::Mode::ToleranceRange
               : OPage_AccuracyWizardEvaluation::Mode::UncertainShare);
        ShowEvaluationOutputs();
    });
    return page;
}

QWidget* OSheet_AccuracyWizardWindow::BuildResultPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    m_summary = Named(new QTableWidget(0, 3), 1139);
    m_summary->setHorizontalHeaderLabels({tr("Type"), tr("Value"), tr("Unit")});
    m_summary->verticalHeader()->hide();
    m_summary->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_summary->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_summary->horizontalHeader()->setStretchLastSection(true);
    m_summary->verticalHeader()->setDefaultSectionSize(20);
    layout->addWidget(m_summary, 1);
    auto* row = new QHBoxLayout;
    auto* copy = Named(new QPushButton(tr("Copy summary")), 1140);
    m_create = Named(new QCheckBox(OPage_AccuracyWizardResult::kCreateText), 1141);
    row->addWidget(copy);
    row->addStretch(1);
    row->addWidget(m_create);
    layout->addLayout(row);
    connect(copy, &QPushButton::clicked, this, &OSheet_AccuracyWizardWindow::CopySummary);
    connect(m_create, &QCheckBox::toggled, this,
            [this](bool on) { m_model.Sheet().ResultPage().SetCreateTeachData(on); });
    return page;
}

// --- navigation ---

void OSheet_AccuracyWizardWindow::Activate(int page) {
    OSheet_AccuracyWizard& sheet = m_model.Sheet();
    switch (page) {
        case kStart: {
            OPage_AccuracyWizardStart& start = sheet.StartPage();
            start.OnActivate(m_model.PartSet());
            m_startText->setText(Q(start.Text()));
            m_partCount->setText(
                tr("Sample parts of type 1 and orientation 1: %1").arg(start.iSampleParts()));
            SetButtons(start.iButtons());
            break;
        }
        case kFeature: {
            OPage_AccuracyWizardFeature& feature = sheet.FeaturePage();
            feature.OnActivate(m_model.PartSet(), sheet.Results());
            const QSignalBlocker block(m_feature);
            m_feature->clear();
            for (const OAccuracyFeature& f : feature.Features())
                m_feature->addItem(QString("%1. %2").arg(f.index + 1).arg(Q(f.name)));
            m_feature->setCurrentIndex(feature.iSelected());
            m_measured->setText(Q(feature.MeasuredText()));
            ShowFeatureOutputs();
            break;
        }
        case kEvaluation: {
            OPage_AccuracyWizardEvaluation& evaluation = sheet.EvaluationPage();
            evaluation.OnActivate(sheet.Results());
            m_specified->setText(NumberText(evaluation.dSpecified()));
            m_tolerance->setText(NumberText(evaluation.dTolerance()));
            m_uncertainInput->setText(QString::number(evaluation.iUncertainPercent()));
            ShowEvaluationOutputs();
            break;
        }
        case kResult: {
            OPage_AccuracyWizardResult& result = sheet.ResultPage();
            result.OnActivate(sheet.Results());
            const auto& rows = result.Rows();
            m_summary->setRowCount(static_cast<int>(rows.size()));
            for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
                const OAccuracySummaryRow& r = rows[static_cast<size_t>(i)];
                m_summary->setItem(i, 0, new QTableWidgetItem(Q(r.type)));
                m_summary->setItem(i, 1, new QTableWidgetItem(Q(r.value)));
                m_summary->setItem(i, 2, new QTableWidgetItem(Q(r.unit)));
            }
            m_summary->resizeColumnsToContents();
            m_create->setChecked(result.bCreateTeachData());
            SetButtons(result.iButtons());
            break;
        }
        default:
            return;
    }
    ShowPage(page);
}

void OSheet_AccuracyWizardWindow::OnBack() {
    if (iCurrentPage() > kStart) Activate(iCurrentPage() - 1);
}

void OSheet_AccuracyWizardWindow::OnNext() {
    if (!(iButtons() & WizardButtons::kNext)) return;
    if (iCurrentPage() == kEvaluation) {
        // What was typed last counts, even within the pause.
        m_recomputeTimer->stop();
        ReadEvaluationFields();
        m_model.Sheet().EvaluationPage().Recompute();
        m_model.Sheet().EvaluationPage().OnNext(m_model.Sheet().Results());
    }
    if (iCurrentPage() < kResult) Activate(iCurrentPage() + 1);
}

void OSheet_AccuracyWizardWindow::OnFinish() {
    if (iCurrentPage() == kResult && (iButtons() & WizardButtons::kFinish)) accept();
}

// --- outputs ---

void OSheet_AccuracyWizardWindow::ShowFeatureOutputs() {
    const OPage_AccuracyWizardFeature& feature = m_model.Sheet().FeaturePage();
    m_mean->setText(Q(feature.MeanText()));
    m_resolution->setText(Q(feature.ResolutionText()));
    m_averageError->setText(Q(feature.AverageErrorText()));
    m_maxError->setText(Q(feature.MaxErrorText()));
    m_featureMessage->setText(Q(feature.Message()));
    m_featureMessage->setVisible(!feature.Message().empty());
    SetButtons(feature.iButtons());
}

void OSheet_AccuracyWizardWindow::ReadEvaluationFields() {
    OPage_AccuracyWizardEvaluation& evaluation = m_model.Sheet().EvaluationPage();
    evaluation.SetSpecified(Number(m_specified));
    evaluation.SetTolerance(Number(m_tolerance));
    evaluation.SetUncertainPercent(static_cast<int>(Number(m_uncertainInput)));
}

void OSheet_AccuracyWizardWindow::ShowEvaluationOutputs() {
    const OPage_AccuracyWizardEvaluation& evaluation = m_model.Sheet().EvaluationPage();
    const bool toleranceMode =
        evaluation.GetMode() == OPage_AccuracyWizardEvaluation::Mode::ToleranceRange;
    m_toleranceRow->setVisible(toleranceMode);
    m_shareRow->setVisible(!toleranceMode);
    // The tolerance may have been raised to the maximum error.
    if (toleranceMode && std::abs(Number(m_tolerance) - evaluation.dTolerance()) > 5e-5)
        m_tolerance->setText(NumberText(evaluation.dTolerance()));
    m_uncertainOutput->setText(Q(evaluation.UncertainText()));
    m_toleranceOutput->setText(Q(evaluation.ToleranceText()));
    m_cgm->setText(Q(evaluation.CgmText()));
    m_cgmk->setText(Q(evaluation.CgmkText()));
    SetButtons(evaluation.iButtons());
}

void OSheet_AccuracyWizardWindow::CopySummary() {
    QApplication::clipboard()->setText(Q(m_model.Sheet().ResultPage().SummaryText()));
}
