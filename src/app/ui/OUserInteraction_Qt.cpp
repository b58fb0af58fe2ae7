#include "app/ui/OUserInteraction_Qt.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/OListChoiceDialog.h"
#include "kalvor/Version.h"

namespace {

QString Q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

QString Caption(std::string_view caption) {
    return caption.empty() ? QString(kalvor::version::kApplicationTitle) : Q(caption);
}

QMessageBox::Icon IconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Warning:
            return QMessageBox::Warning;
        case MsgIcon::Error:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ButtonOf(MsgResult result) {
    switch (result) {
        case MsgResult::Ok:
            return QMessageBox::Ok;
        case MsgResult::Cancel:
            return QMessageBox::Cancel;
        case MsgResult::Yes:
            return QMessageBox::Yes;
        case MsgResult::No:
            return QMessageBox::No;
        case MsgResult::Retry:
            return QMessageBox::Retry;
        case MsgResult::None:
            break;
    }
    return QMessageBox::NoButton;
}

MsgResult ResultOf(int button) {
    switch (button) {
        case QMessageBox::Ok:
            return MsgResult::Ok;
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        case QMessageBox::Retry:
            return MsgResult::Retry;
        default:
            return MsgResult::Cancel;
    }
}

// The core's "\r\n" line breaks as Qt shows them.
QString MessageText(std::string_view text) {
    QString q = Q(text);
    q.replace("\r\n", "\n");
    return q;
}

MsgResult RunBox(QMessageBox& box, const OMessageRequest& request) {
    box.setIcon(IconOf(request.icon));
    box.setWindowTitle(Caption(request.caption));
    box.setText(MessageText(request.text));
    QMessageBox::StandardButtons buttons;
    for (MsgResult r : ButtonsOf(request.buttons))
        buttons |= ButtonOf(r);
    box.setStandardButtons(buttons);
    box.setDefaultButton(ButtonOf(request.defaultButton));
    const int answer = box.exec();
    const MsgResult result = ResultOf(answer);
    // Closing the box answers its escape button, which is Cancel or No when it has one.
    return bIsButtonOf(request.buttons, result) ? result
                                                : DefaultButtonOf(request.buttons, MsgResult::None);
}

}  // namespace

QString QtFileFilter(const std::string& filter) {
    QStringList parts;
    for (const OFileFilter& f : ParseFileFilters(filter)) {
        QString description = Q(f.description);
        const int open = description.indexOf('(');
        const QString name = open >= 0 ? description.left(open).trimmed() : description;
        QStringList patterns;
        for (const std::string& p : f.patterns)
            patterns << Q(p);
        parts << QString("%1 (%2)").arg(name, patterns.join(' '));
    }
    return parts.join(";;");
}

void OUserInteraction_Qt::RegisterDialog(const std::string& dialogName, DialogFactory factory) {
    m_factories[dialogName] = std::move(factory);
}

QDialog* OUserInteraction_Qt::CreateDialog(ODialogModel& model, QWidget* parent) const {
    const auto it = m_factories.find(model.DialogName());
    return it != m_factories.end() ? it->second(model, parent) : nullptr;
}

MsgResult OUserInteraction_Qt::ShowMessage(const OMessageRequest& request) {
    QMessageBox box(m_parent);
    return RunBox(box, request);
}

MsgResult OUserInteraction_Qt::ShowMessageWithCheckMark(const OMessageRequest& request,
                                                        std::string_view checkText, bool& checked) {
    QMessageBox box(m_parent);
    auto* check = new QCheckBox(Q(checkText), &box);
    check->setChecked(checked);
    box.setCheckBox(check);
    const MsgResult result = RunBox(box, request);
    checked = check->isChecked();
    return result;
}

FileDialogResult OUserInteraction_Qt::RunFileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(m_parent, Q(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save                         ? QFileDialog::AnyFile
                       : request.bMultipleSelection ? QFileDialog::ExistingFiles
                                                    : QFileDialog::ExistingFile);
    if (!request.filter.empty()) dialog.setNameFilter(QtFileFilter(request.filter));
    if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(Q(request.defaultExtension));
    if (save && !request.bOverwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QString initial = Q(request.initialPath);
    if (!initial.isEmpty()) {
        const QFileInfo info(initial);
        if (info.isDir()) {
            dialog.setDirectory(initial);
        } else {
            dialog.setDirectory(info.absolutePath());
            if (!info.fileName().contains('*')) dialog.selectFile(info.fileName());
        }
    }
    FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted) return result;
    result.bAccepted = true;
    for (const QString& file : dialog.selectedFiles())
        result.paths.push_back(file.toStdString());
    result.bAccepted = !result.paths.empty();
    return result;
}

FileDialogResult OUserInteraction_Qt::ShowFileOpen(const FileDialogRequest& request) {
    return RunFileDialog(request, false);
}

FileDialogResult OUserInteraction_Qt::ShowFileSave(const FileDialogRequest& request) {
    return RunFileDialog(request, true);
}

bool OUserInteraction_Qt::AskNumber(std::string_view title, std::string_view prompt, double& value,
                                    double min, double max) {
    bool ok = false;
    const double v =
        QInputDialog::getDouble(m_parent, Q(title), Q(prompt), value, min, max, 4, &ok);
    if (ok) value = v;
    return ok;
}

bool OUserInteraction_Qt::AskInt(std::string_view title, std::string_view prompt, int& value,
                                 int min, int max) {
    bool ok = false;
    const int v = QInputDialog::getInt(m_parent, Q(title), Q(prompt), value, min, max, 1, &ok);
    if (ok) value = v;
    return ok;
}

bool OUserInteraction_Qt::AskText(std::string_view title, std::string_view prompt,
                                  std::string& text) {
    bool ok = false;
    const QString v =
        QInputDialog::getText(m_parent, Q(title), Q(prompt), QLineEdit::Normal, Q(text), &ok);
    if (ok) text = v.toStdString();
    return ok;
}

MsgResult OUserInteraction_Qt::ShowList(const OListRequest& request) {
    QDialog dialog(m_parent);
    dialog.setWindowTitle(Caption(request.title));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(MessageText(request.text), &dialog));
    auto* list = new QListWidget(&dialog);
    for (const std::string& item : request.items)
        list->addItem(Q(item));
    layout->addWidget(list);
    layout->addWidget(new QLabel(MessageText(request.question), &dialog));
    auto* box = new QDialogButtonBox(&dialog);
    MsgResult answer = MsgResult::Cancel;
    for (MsgResult r : ButtonsOf(request.buttons)) {
        QPushButton* button =
            box->addButton(ButtonOf(r) == QMessageBox::Ok      ? QDialogButtonBox::Ok
                           : ButtonOf(r) == QMessageBox::Yes   ? QDialogButtonBox::Yes
                           : ButtonOf(r) == QMessageBox::No    ? QDialogButtonBox::No
                           : ButtonOf(r) == QMessageBox::Retry ? QDialogButtonBox::Retry
                                                               : QDialogButtonBox::Cancel);
        QObject::connect(button, &QPushButton::clicked, &dialog, [&, r] {
            answer = r;
            dialog.accept();
        });
    }
    layout->addWidget(box);
    dialog.exec();
    return answer;
}

bool OUserInteraction_Qt::AskChoice(const OListRequest& request, int& index) {
    OListChoiceDialog dialog(Caption(request.title), MessageText(request.text), request.items,
                             index, m_parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    const int chosen = dialog.iChosen();
    if (chosen < 0) return false;
    index = chosen;
    return true;
}

bool OUserInteraction_Qt::bShowDialog(ODialogModel& model) {
    std::unique_ptr<QDialog> dialog(CreateDialog(model, m_parent));
    if (!dialog) {
        // A model nobody registered a window for: say so instead of showing an empty form.
        QMessageBox::critical(m_parent, Caption({}),
                              QString("There is no window for \"%1\".").arg(Q(model.DialogName())));
        return false;
    }
    while (dialog->exec() == QDialog::Accepted) {
        if (bConfirmDialog(model)) return true;
    }
    return false;
}

void OUserInteraction_Qt::ShowWaitCursor(bool shown) {
    if (shown) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

// A beep of its own pitch and length is a tone played through the sound system.
bool OUserInteraction_Qt::PlayBeep(int frequencyHz, int durationMs) {
    return m_tone.bPlay(frequencyHz, durationMs);
}

// The system's beep: the X server's bell. The other platforms (Wayland, offscreen) have no
// beep, which the caller learns from the result and answers with a tone of its own.
bool OUserInteraction_Qt::PlayMessageBeep(MsgIcon /*icon*/) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return false;
    QApplication::beep();
    return true;
}
