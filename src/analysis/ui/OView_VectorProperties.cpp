#include "analysis/ui/OView_VectorProperties.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "document/ODoc.h"
#include "model/partset/OType_ZRPartSet.h"

using namespace VectorProperties;

namespace {

constexpr int kTeachDataViewCommand = 32861;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

void SetEntries(QComboBox* box, const std::vector<std::string>& entries, int current) {
    QStringList wanted;
    for (const std::string& e : entries)
        wanted << Q(e);
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown << box->itemText(i);
    if (wanted != shown) {
        box->clear();
        box->addItems(wanted);
    }
    box->setCurrentIndex(entries.empty() ? -1 : current);
}

void SetText(QLineEdit* edit, const std::string& text) {
    if (edit->text() != Q(text)) edit->setText(Q(text));
}

}  // namespace

OView_VectorProperties::OView_VectorProperties(ODoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc) {
    setObjectName(QString::number(kTemplate));
    m_timer.setSingleShot(true);
    m_timer.setObjectName("applyTimer");
    connect(&m_timer, &QTimer::timeout, this, &OView_VectorProperties::Apply);
    BuildForm();
    OnUpdate();
}

OView_VectorProperties::~OView_VectorProperties() {
    m_timer.stop();
}

QSize OView_VectorProperties::sizeHint() const {
    return {300, 520};
}

QWidget* OView_VectorProperties::Control(int id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

QLineEdit* OView_VectorProperties::AddEdit(int id) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::number(id));
    m_controls[id] = edit;
    connect(edit, &QLineEdit::textEdited, this, &OView_VectorProperties::OnEdited);
    return edit;
}

void OView_VectorProperties::BuildForm() {
    // The form scrolls rather than widening the pane beyond the width the user gave it.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* content = new QWidget(scroll);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->addWidget(scroll);
    auto* outer = new QVBoxLayout(content);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);

    m_use = new QCheckBox(tr("Feature used for quality decision"), this);
    m_use->setObjectName(QString::number(kUseForQuality));
    m_controls[kUseForQuality] = m_use;
    connect(m_use, &QCheckBox::clicked, this, &OView_VectorProperties::Apply);
    outer->addWidget(m_use);

    auto* top = new QFormLayout;
    top->setContentsMargins(0, 0, 0, 0);
    m_feature = new QComboBox(this);
    m_feature->setObjectName(QString::number(kFeature));
    m_controls[kFeature] = m_feature;
    connect(m_feature, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        CommitPendingEdits();
        if (index >= 0) m_doc.SelectFeature(index);
    });
    top->addRow(tr("Feature:"), m_feature);
    m_name = AddEdit(kName);
    top->addRow(tr("Name:"), m_name);
    m_factor = AddEdit(kFactor);
    top->addRow(tr("Tolerance factor:"), m_factor);
    auto* hint = new QLabel(tr("steps:  0 ... 1 = 0.01  and 1 ... 127 = 1.0"), this);
    hint->setEnabled(false);
    hint->setWordWrap(true);
    top->addRow(QString(), hint);
    outer->addLayout(top);

    outer->addWidget(new QLabel(tr("Further properties specific for:"), this));
    auto* specific = new QGroupBox(this);
    auto* form = new QFormLayout(specific);
    m_type = new QComboBox(specific);
    m_type->setObjectName(QString::number(kType));
    m_controls[kType] = m_type;
    m_orientation = new QComboBox(specific);
    m_orientation->setObjectName(QString::number(kOrientation));
    m_controls[kOrientation] = m_orientation;
    auto* classRow = new QHBoxLayout;
    classRow->addWidget(m_type, 1);
    classRow->addWidget(new QLabel(tr("Orientation:"), specific));
    classRow->addWidget(m_orientation, 1);
    form->addRow(tr("Type:"), classRow);
    const auto chooseClass = [this] {
        CommitPendingEdits();
        m_chosenType = std::max(0, m_type->currentIndex());
        m_chosenOrientation = std::max(0, m_orientation->currentIndex());
        OnUpdate();
    };
    connect(m_type, qOverload<int>(&QComboBox::activated), this, [this, chooseClass] {
        m_orientation->setCurrentIndex(0);
        chooseClass();
    });
    connect(m_orientation, qOverload<int>(&QComboBox::activated), this, chooseClass);

    const auto radios = [this, specific](QButtonGroup*& group,
                                         std::initializer_list<std::pair<int, const char*>> items,
                                         QVBoxLayout* into) {
        group = new QButtonGroup(this);
        int index = 0;
        for (const auto& [id, text] : items) {
            auto* radio = new QRadioButton(tr(text), specific);
            radio->setObjectName(QString::number(id));
            m_controls[id] = radio;
            group->addButton(radio, index++);
            into->addWidget(radio);
        }
        connect(group, &QButtonGroup::buttonClicked, this, &OView_VectorProperties::Apply);
    };
    auto* rangeBox = new QVBoxLayout;
    rangeBox->setSpacing(2);
    rangeBox->addWidget(new QLabel(tr("Value range:"), specific));
    radios(m_range,
           {{kRangeAutomatic, "automatic (from sample parts)"},
            {kRangeManual, "manually"},
            {kRangeManualLocked, "manually with lock"}},
           rangeBox);
    form->addRow(rangeBox);
    m_minimum = AddEdit(kMinimum);
    m_mean = AddEdit(kMean);
    m_maximum = AddEdit(kMaximum);
    form->addRow(tr("Min.:"), m_minimum);
    form->addRow(tr("Mean:"), m_mean);
    form->addRow(tr("Max.:"), m_maximum);

    m_invalidBox = new QGroupBox(specific);
    auto* invalidColumn = new QVBoxLayout(m_invalidBox);
    invalidColumn->setSpacing(2);
    auto* invalidCaption =
        new QLabel(tr("Quality decision when calculation not possible (invalid):"), m_invalidBox);
    invalidCaption->setWordWrap(true);
    invalidColumn->addWidget(invalidCaption);
    radios(m_invalid,
           {{kInvalidAutomatic, "automatic (from sample parts)"},
            {kInvalidBad, "bad"},
            {kInvalidGoodAlways, "good (when valid and invalid)"},
            {kInvalidGoodOnlyInvalid, "good (only when invalid)"}},
           invalidColumn);
    form->addRow(m_invalidBox);
    m_expressionLabel =
        new QLabel(tr("Check expression for text features ( * = no check )"), specific);
    m_expressionLabel->setWordWrap(true);
    form->addRow(m_expressionLabel);
    m_expression = AddEdit(kCheckExpression);
    form->addRow(m_expression);
    outer->addWidget(specific);

    m_errorLabel = new QLabel(this);
    m_errorLabel->setObjectName("error");
    m_errorLabel->setWordWrap(true);
    m_errorLabel->setStyleSheet("color: #b00000;");
    m_errorLabel->setVisible(false);
    outer->addWidget(m_errorLabel);
    outer->addStretch(1);
    scroll->setWidget(content);
}

// --- refresh ---

void OView_VectorProperties::OnUpdate() {
    if (m_doc.iGetBusy() || m_timer.isActive()) return;
    OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!set) {
        Fill(OVectorForm{});
        return;
    }
    // The form follows the type and orientation the document shows until the user picks
    // another one here.
    if (set->iShowSubTypeGetNo() != m_seenType || set->iShowVectorGetNo() != m_seenOrientation) {
        m_seenType = m_chosenType = set->iShowSubTypeGetNo();
        m_seenOrientation = m_chosenOrientation = set->iShowVectorGetNo();
    }
    const OVectorPropertiesEditor editor(*set, m_doc.iGetFamily());
    Fill(editor.Read(set->iShowFeatureGetNo(), m_chosenType, m_chosenOrientation));
}

void OView_VectorProperties::Fill(const OVectorForm& form) {
    m_filling = true;
    m_read = form;
    m_chosenType = form.type;
    m_chosenOrientation = form.orientation;
    SetEntries(m_feature, form.featureEntries, form.hasFeature ? form.feature : -1);
    SetEntries(m_type, form.typeEntries, form.type);
    SetEntries(m_orientation, form.orientationEntries, form.orientation);
    m_use->setChecked(form.usedForQuality);
    SetText(m_name, form.name);
    SetText(m_factor, form.factor);
    m_range->button(static_cast<int>(form.range))->setChecked(true);
    m_invalid->button(static_cast<int>(form.invalidDecision))->setChecked(true);
    SetText(m_minimum, form.minimum);
    SetText(m_mean, form.mean);
    SetText(m_maximum, form.maximum);
    SetText(m_expression, form.checkExpression);

    for (QWidget* w : std::initializer_list<QWidget*>{m_use, m_name, m_factor})
        w->setEnabled(form.hasFeature);
    const bool classShown = form.hasFeature && form.hasClass;
    for (QAbstractButton* b : m_range->buttons())
        b->setEnabled(classShown && form.usedForQuality);
    for (QLineEdit* e : {m_minimum, m_mean, m_maximum}) {
        e->setEnabled(classShown && !form.textFeature);
        e->setStyleSheet(QString());
    }
    // Only family 2 features can be invalid or deliver text.
    const bool family2 = m_doc.iGetFamily() == 2;
    m_invalidBox->setVisible(family2);
    m_invalidBox->setEnabled(classShown);
    m_expressionLabel->setVisible(family2);
    m_expression->setVisible(family2);
    m_expression->setEnabled(classShown && form.textFeature);
    m_filling = false;
}

OVectorForm OView_VectorProperties::EditedForm() const {
    OVectorForm edited = m_read;
    edited.name = m_name->text().toStdString();
    edited.usedForQuality = m_use->isChecked();
    edited.factor = m_factor->text().toStdString();
    edited.range = static_cast<ValueRange>(std::max(0, m_range->checkedId()));
    edited.invalidDecision = static_cast<InvalidDecision>(std::max(0, m_invalid->checkedId()));
    edited.minimum = m_minimum->text().toStdString();
    edited.mean = m_mean->text().toStdString();
    edited.maximum = m_maximum->text().toStdString();
    edited.checkExpression = m_expression->text().toStdString();
    return edited;
}

// --- editing ---

void OView_VectorProperties::OnEdited(const QString& text) {
    if (m_filling) return;
    m_timer.start(iApplyDelayMs(text.toStdString()));
}

void OView_VectorProperties::CommitPendingEdits() {
    if (!m_timer.isActive()) return;
    m_timer.stop();
    Apply();
}

void OView_VectorProperties::ShowError(const std::string& message, int control) {
    m_errorLabel->setText(Q(message));
    m_errorLabel->setVisible(!message.empty());
    for (QLineEdit* e : {m_factor, m_minimum, m_mean, m_maximum})
        e->setStyleSheet(e->objectName() == QString::number(control) ? "background: #ffe0e0;"
                                                                     : QString());
}

void OView_VectorProperties::Apply() {
    m_timer.stop();
    if (m_filling) return;
    OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    if (!set || !m_read.hasFeature) return;
    OVectorPropertiesEditor editor(*set, m_doc.iGetFamily());
    const OVectorApplyResult result = editor.Apply(m_read, EditedForm());
    ShowError(result.error, result.errorControl);
    if (!result.error.empty()) return;
    if (result.changed) {
        m_doc.Recompute(set, result.nameChanged ? 1 : 0, 0, 1, 1, 0);
        m_doc.SetModifiedFlag(1);
        m_doc.bStoreUndoStep(*set, "Teach-Data modified", kTeachDataViewCommand);
    }
    m_doc.RefreshViews();
    // The refresh above skipped this view while the timer ran; show what was stored (the
    // normalised factor, the rounded values).
    OnUpdate();
}
