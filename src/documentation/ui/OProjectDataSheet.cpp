#include "documentation/ui/OProjectDataSheet.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "device/TargetSystem.h"
#include "document/ODoc.h"
#include "model/strings/ResStr.h"
#include "platform/Clipboard.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kClipboardFormatText = 5350;  // the project texts
const QStringList kCategories = {"Feeding", "Sorting", "Quality inspection", "Orientation",
                                 "Counting"};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Texts are kept with CR LF line breaks, as the project file stores them.
std::string WithCrLf(const QString& text) {
    std::string out;
    for (char c : text.toStdString()) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

QString WithoutCr(const std::string& text) {
    QString out = Q(text);
    out.remove('\r');
    return out;
}

}  // namespace

OProjectDataSheet::OProjectDataSheet(ODoc& doc, QWidget* parent, const QString& title)
    : QDialog(parent),
      m_doc(doc),
      m_editor(doc.opGetSession()->ProjectData(), doc.UI(), [&doc] { doc.SetModifiedFlag(1); }) {
    setObjectName("OProjectDataSheet");
    setWindowTitle(title.isEmpty() ? Q(ResStr(1500)) : title);
    auto* layout = new QVBoxLayout(this);
    m_pages = new QTabWidget(this);
    for (int page = 0; page < ODocumentationEditor::kPages; ++page) {
        m_timers[page] = new QTimer(this);
        m_timers[page]->setSingleShot(true);
        connect(m_timers[page], &QTimer::timeout, this, [this, page] { WriteTimed(page); });
        m_pages->addTab(MakePage(page), Q(ODocumentationEditor::PageTitle(page)));
    }
    layout->addWidget(m_pages);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName("2");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        QAction* copy = menu.addAction(tr("&Copy\tCtrl+C"), this, &OProjectDataSheet::CopyRecord);
        copy->setObjectName("copy");
        QAction* paste = menu.addAction(tr("&Paste\tCtrl+V"), this, [this] { bPasteRecord(); });
        paste->setObjectName("paste");
        paste->setEnabled(bCanPaste());
        menu.exec(mapToGlobal(at));
    });
    Reload();
    resize(560, 520);
}

OProjectDataSheet::~OProjectDataSheet() = default;

QWidget* OProjectDataSheet::MakePage(int page) {
    auto* widget = new QWidget(m_pages);
    widget->setObjectName(QString::number(220 + page));
    auto* form = new QFormLayout(widget);
    for (const ODocumentationField& f : ODocumentationEditor::Fields()) {
        if (f.page != page) continue;
        if (f.field == ProjectField::CustomerName || f.field == ProjectField::EndCustomerName) {
            auto* heading = new QLabel(
                "<b>" + Q(ResStr(f.field == ProjectField::CustomerName ? 1511 : 1518)) + "</b>",
                widget);
            form->addRow(heading);
        }
        QWidget* editor = nullptr;
        QWidget* row = nullptr;
        if (f.field == ProjectField::Category) {
            auto* combo = new QComboBox(widget);
            combo->setEditable(true);
            combo->addItems(kCategories);
            connect(combo, &QComboBox::activated, this, [this, &f](int) { OnEdited(f); });
            connect(combo->lineEdit(), &QLineEdit::editingFinished, this,
                    [this, &f] { OnEdited(f); });
            editor = combo;
        } else if (f.multiLine) {
            auto* text = new QPlainTextEdit(widget);
            text->setTabChangesFocus(true);
            text->setMaximumHeight(f.page == 0 ? 90 : 60);
            connect(text, &QPlainTextEdit::textChanged, this, [this, &f] { OnEdited(f); });
            editor = text;
        } else {
            auto* line = new QLineEdit(widget);
            connect(line, &QLineEdit::textEdited, this, [this, &f] { OnEdited(f); });
            editor = line;
        }
        editor->setObjectName(Q(std::string(OType_ProjectData::FieldKey(f.field))));
        m_editors[f.field] = editor;
        row = editor;
        if (f.field == ProjectField::Date || f.field == ProjectField::AdditionalFile) {
            auto* box = new QWidget(widget);
            auto* h = new QHBoxLayout(box);
            h->setContentsMargins(0, 0, 0, 0);
            h->addWidget(editor, 1);
            const bool today = f.field == ProjectField::Date;
            auto* button = new QPushButton(today ? tr("Today") : tr("Browse"), box);
            button->setObjectName(today ? "today" : "browse");
            connect(button, &QPushButton::clicked, this, [this, today] {
                if (today) {
                    m_editor.EnterToday(std::chrono::system_clock::now());
                } else {
                    m_editor.bBrowseAdditionalFile(m_doc.GetProjectFolder());
                }
                Reload();
            });
            h->addWidget(button);
            row = box;
        }
        form->addRow(Q(ResStr(f.labelText)), row);
    }
    if (page == 2) {
        form->addRow(new QLabel(Q(ResStr(1537)), widget));
        auto* display = new QPushButton(tr("...display"), widget);
        display->setObjectName("display");
        connect(display, &QPushButton::clicked, this, &OProjectDataSheet::ShowDeviceInformation);
        form->addRow(Q(ResStr(1539)), display);
    }
    return widget;
}

std::string OProjectDataSheet::Text(ProjectField field) const {
    QWidget* editor = Editor(field);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) return line->text().toStdString();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) return combo->currentText().toStdString();
    if (auto* text = qobject_cast<QPlainTextEdit*>(editor)) return WithCrLf(text->toPlainText());
    return {};
}

void OProjectDataSheet::OnEdited(const ODocumentationField& field) {
    if (m_loading) return;
    if (field.timed) {
        m_timers[field.page]->start(ODocumentationEditor::iWriteDelayMs(Text(field.field)));
        return;
    }
    if (!m_editor.bWrite(field.field, Text(field.field))) Reload();
}

void OProjectDataSheet::WriteTimed(int page) {
    bool refused = false;
    for (const ODocumentationField& f : ODocumentationEditor::Fields()) {
        if (f.page == page && f.timed && !m_editor.bWrite(f.field, Text(f.field))) refused = true;
    }
    if (refused) Reload();
}

void OProjectDataSheet::CommitPendingEdits() {
    for (int page = 0; page < ODocumentationEditor::kPages; ++page) {
        if (!m_timers[page]->isActive()) continue;
        m_timers[page]->stop();
        WriteTimed(page);
    }
}

void OProjectDataSheet::Reload() {
    m_loading = true;
    const OType_ProjectData& data = m_editor.Data();
    for (const auto& [field, editor] : m_editors) {
        const std::string& value = data.Get(field);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setText(Q(value));
        if (auto* combo = qobject_cast<QComboBox*>(editor)) combo->setCurrentText(Q(value));
        if (auto* text = qobject_cast<QPlainTextEdit*>(editor)) {
            if (text->toPlainText() != WithoutCr(value)) text->setPlainText(WithoutCr(value));
        }
    }
    m_loading = false;
}

QWidget* OProjectDataSheet::Editor(ProjectField field) const {
    const auto it = m_editors.find(field);
    return it == m_editors.end() ? nullptr : it->second;
}

void OProjectDataSheet::CopyRecord() {
    CommitPendingEdits();
    Clipboard* clipboard = m_doc.opGetClipboard();
    const std::vector<uint8_t> bytes = m_editor.CopyRecord();
    if (clipboard) clipboard->bSetData(ResStr(kClipboardFormatText), bytes);
}

bool OProjectDataSheet::bCanPaste() const {
    const Clipboard* clipboard = m_doc.opGetClipboard();
    return clipboard && clipboard->bHasFormat(ResStr(kClipboardFormatText));
}

bool OProjectDataSheet::bPasteRecord() {
    Clipboard* clipboard = m_doc.opGetClipboard();
    std::vector<uint8_t> bytes;
    if (!clipboard || !clipboard->bGetData(ResStr(kClipboardFormatText), bytes)) return false;
    for (QTimer* timer : m_timers)
        timer->stop();
    const bool pasted = m_editor.bPasteRecord(bytes);
    Reload();
    m_doc.RefreshViews();
    return pasted;
}

void OProjectDataSheet::ShowDeviceInformation() {
    const OQuillon& session = *m_doc.opGetSession();
    const ZRINFO& info = session.DeviceInfo();
    const OTargetSystem& target = session.GetTargetSystem();
    std::string text = ResStr(1588) + "\r\n\r\n";
    text += ResStr(1526) + " " + TargetSystem::HardwareName(target.hardware) + " (" +
            info.GetDeviceTypeText() + ")\r\n";
    text += ResStr(1528) + " " + TargetSystem::SoftwareName(target.software) + "\r\n";
    text +=
        ResStr(1527) + " " + info.Text(ZRINFO::kSerialNumber, ZRINFO::kSerialNumberLength) + "\r\n";
    text += ResStr(1530) + " " + std::to_string(info.iGetImageWidth()) + "x" +
            std::to_string(info.iGetImageHeight()) + "\r\n";
    text += ResStr(1560) + " " + std::to_string(info.iGetToolCapacity());
    // A new-platform device that is online over TCP names its web page.
    const std::string web = info.Text(ZRINFO::kWebName, ZRINFO::kWebNameLength);
    if (session.bIsNewPlatformTarget() && session.bIsOnline() &&
        session.iGetConnectionKind() == 3 && !web.empty() && web.size() < 40)
        text += "\r\n\r\nWeb page: " + web;
    m_doc.UI().Message(text, MsgIcon::Information, MsgButtons::Ok, MsgResult::None, ResStr(1539));
}

void OProjectDataSheet::done(int result) {
    CommitPendingEdits();
    if (ODocumentationEditor::bMissesImportantInfo(m_editor.Data()))
        m_doc.UI().Message(ODocumentationEditor::kMissingInfoWarning, MsgIcon::Warning);
    m_doc.RefreshViews();
    QDialog::done(result);
}
