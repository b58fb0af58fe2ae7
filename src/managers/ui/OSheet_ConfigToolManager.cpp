#include "managers/ui/OSheet_ConfigToolManager.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "model/strings/ResStr.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

constexpr int kInformationTitle = 27032;
constexpr int kPropertiesTitle = 27033;

}  // namespace

OPage_ConfigTool_Info::OPage_ConfigTool_Info(QWidget* parent) : QWidget(parent) {
    setObjectName("OPage_ConfigTool_Info");
    auto* layout = new QVBoxLayout(this);
    m_title = new QLabel(this);
    m_title->setObjectName("title");
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    m_title->setFont(bold);
    layout->addWidget(m_title);
    m_lines = new QFormLayout;
    layout->addLayout(m_lines);
    m_text = new QLabel(this);
    m_text->setObjectName("text");
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_text);
    layout->addStretch(1);
}

void OPage_ConfigTool_Info::Show(const std::string& title,
                                 const std::vector<std::pair<std::string, std::string>>& lines,
                                 const std::string& text) {
    m_title->setText(Q(title));
    while (m_lines->rowCount() > 0)
        m_lines->removeRow(0);
    for (const auto& [label, value] : lines) {
        auto* valueLabel = new QLabel(Q(value), this);
        valueLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        m_lines->addRow(Q(label + ":"), valueLabel);
    }
    m_text->setText(Q(text));
    m_text->setVisible(!text.empty());
}

OPage_ConfigToolManager::OPage_ConfigToolManager(QWidget* parent) : QWidget(parent) {
    setObjectName("OPage_ConfigToolManager");
    auto* layout = new QVBoxLayout(this);
    m_text = new QLabel(this);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignCenter);
    layout->addStretch(1);
    layout->addWidget(m_text);
    layout->addStretch(2);
}

void OPage_ConfigToolManager::SetText(const std::string& text) {
    m_text->setText(Q(text));
}

OSheet_ConfigToolManager::OSheet_ConfigToolManager(QWidget* parent) : QTabWidget(parent) {
    setObjectName("OSheet_ConfigToolManager");
    m_info = new OPage_ConfigTool_Info(this);
    m_placeholder = new OPage_ConfigToolManager(this);
    m_info->hide();
    m_placeholder->hide();
}

void OSheet_ConfigToolManager::RemoveAllPages() {
    std::vector<QWidget*> own;
    for (int i = 0; i < count(); ++i) {
        QWidget* page = widget(i);
        if (page != m_info && page != m_placeholder) own.push_back(page);
    }
    clear();
    for (QWidget* page : own)
        delete page;
    m_toolPages.reset();
    m_info->hide();
    m_placeholder->hide();
}

void OSheet_ConfigToolManager::ShowPlaceholder(const std::string& text) {
    RemoveAllPages();
    m_placeholder->SetText(text);
    addTab(m_placeholder, Q(ResStr(kPropertiesTitle)));
}

void OSheet_ConfigToolManager::ShowInformation(
    const std::string& title, const std::vector<std::pair<std::string, std::string>>& lines,
    const std::string& text) {
    RemoveAllPages();
    m_info->Show(title, lines, text);
    addTab(m_info, Q(ResStr(kInformationTitle)));
}

void OSheet_ConfigToolManager::ShowTool(
    const std::string& title, const std::vector<std::pair<std::string, std::string>>& lines,
    OPropertyList properties) {
    ShowInformation(title, lines, {});
    AddPages(std::move(properties));
}

void OSheet_ConfigToolManager::ShowPages(OPropertyList properties) {
    RemoveAllPages();
    AddPages(std::move(properties));
}

void OSheet_ConfigToolManager::AddPages(OPropertyList properties) {
    m_toolPages = std::make_unique<OPropertyPages>(std::move(properties));
    connect(m_toolPages.get(), &OPropertyPages::edited, this, &OSheet_ConfigToolManager::edited);
    connect(m_toolPages.get(), &OPropertyPages::applyRequested, this,
            &OSheet_ConfigToolManager::applyRequested);
    for (const auto& [pageTitle, page] : m_toolPages->BuildPages(this))
        addTab(page, pageTitle);
}

bool OSheet_ConfigToolManager::bCollect(OPropertyValues& values, std::string& error) {
    if (!m_toolPages) {
        values.clear();
        return true;
    }
    std::string failed;
    if (m_toolPages->bCollect(values, error, failed)) return true;
    QWidget* field = m_toolPages->Field(failed);
    for (int i = 0; i < count() && field; ++i) {
        if (widget(i)->isAncestorOf(field)) {
            setCurrentIndex(i);
            field->setFocus(Qt::OtherFocusReason);
        }
    }
    return false;
}
