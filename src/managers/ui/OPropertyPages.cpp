#include "managers/ui/OPropertyPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cmath>

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString NumberText(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

// "0 ... 511 px" for the field's tool tip.
QString RangeHint(const OProperty& p) {
    const int decimals = p.kind == OPropertyKind::Real ? p.decimals : 0;
    QString hint = NumberText(p.minimum, decimals) + QString::fromUtf8(" \u2026 ") +
                   NumberText(p.maximum, decimals);
    if (!p.unit.empty()) hint += " " + Q(p.unit);
    return hint;
}

}  // namespace

OPropertyPages::OPropertyPages(OPropertyList list, QObject* parent)
    : QObject(parent), m_model(std::move(list)) {}

QWidget* OPropertyPages::MakeField(const OProperty& p, QWidget* parent) {
    QWidget* field = nullptr;
    switch (p.kind) {
        case OPropertyKind::Choice: {
            auto* combo = new QComboBox(parent);
            const std::string shown = m_model.ShownText(p.name);
            for (const OPropertyChoice& c : p.choices) {
                combo->addItem(Q(c.text), QVariant::fromValue<qlonglong>(c.value));
                if (std::to_string(c.value) == shown) combo->setCurrentIndex(combo->count() - 1);
            }
            connect(combo, &QComboBox::currentIndexChanged, this, [this, combo, name = p.name] {
                m_model.SetText(name, std::to_string(combo->currentData().toLongLong()));
                emit edited();
            });
            field = combo;
            break;
        }
        case OPropertyKind::Flag: {
            auto* box = new QCheckBox(parent);
            box->setChecked(m_model.ShownText(p.name) == "1");
            connect(box, &QCheckBox::toggled, this, [this, name = p.name](bool on) {
                m_model.SetText(name, on ? "1" : "0");
                emit edited();
            });
            field = box;
            break;
        }
        default: {
            auto* edit = new QLineEdit(Q(m_model.ShownText(p.name)), parent);
            if (p.kind == OPropertyKind::Text) {
                if (p.maxLength > 0) edit->setMaxLength(p.maxLength);
            } else {
                edit->setToolTip(RangeHint(p));
                edit->setPlaceholderText(RangeHint(p));
                edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            connect(edit, &QLineEdit::textEdited, this, [this, name = p.name](const QString& t) {
                m_model.SetText(name, t.toStdString());
                emit edited();
            });
            connect(edit, &QLineEdit::returnPressed, this, &OPropertyPages::applyRequested);
            field = edit;
            break;
        }
    }
    field->setObjectName(Q(p.name));
    field->setEnabled(!p.readOnly);
    m_fields[p.name] = field;
    return field;
}

std::vector<std::pair<QString, QWidget*>> OPropertyPages::BuildPages(QWidget* parent) {
    std::vector<std::pair<QString, QWidget*>> pages;
    for (const std::string& title : m_model.PageTitles()) {
        auto* scroll = new QScrollArea(parent);
        scroll->setObjectName(Q("page:" + title));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        auto* page = new QWidget(scroll);
        auto* form = new QFormLayout(page);
        form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        form->setRowWrapPolicy(QFormLayout::DontWrapRows);
        for (const OProperty* p : m_model.PropertiesOnPage(title)) {
            QWidget* field = MakeField(*p, page);
            QWidget* row = field;
            if (!p->unit.empty()) {
                row = new QWidget(page);
                auto* line = new QHBoxLayout(row);
                line->setContentsMargins(0, 0, 0, 0);
                line->addWidget(field, 1);
                line->addWidget(new QLabel(Q(p->unit), row));
            }
            if (p->help.empty()) {
                form->addRow(Q(p->label + ":"), row);
                continue;
            }
            auto* column = new QWidget(page);
            auto* lines = new QVBoxLayout(column);
            lines->setContentsMargins(0, 0, 0, 0);
            lines->setSpacing(2);
            lines->addWidget(row);
            auto* help = new QLabel(Q(p->help), column);
            help->setObjectName(Q(p->name + ".help"));
            help->setWordWrap(true);
            help->setEnabled(false);
            lines->addWidget(help);
            form->addRow(Q(p->label + ":"), column);
        }
        scroll->setWidget(page);
        pages.push_back({Q(title), scroll});
    }
    return pages;
}

QWidget* OPropertyPages::Field(const std::string& name) const {
    const auto it = m_fields.find(name);
    return it == m_fields.end() ? nullptr : it->second;
}

bool OPropertyPages::bCollect(OPropertyValues& values, std::string& error, std::string& failed) {
    if (m_model.bCollect(values, error, failed)) return true;
    if (QWidget* field = Field(failed)) {
        field->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
    }
    return false;
}
