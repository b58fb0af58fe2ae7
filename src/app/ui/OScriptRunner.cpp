#include "app/ui/OScriptRunner.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QTextEdit>
#include <iostream>

#include "app/ui/ODesktop.h"
#include "app/ui/OFrame_Child.h"
#include "app/ui/OFrame_Main.h"
#include "app/ui/OPrintService.h"
#include "document/ODoc.h"
#include "document/ui/OViewWidget.h"

namespace {

using Result = OScriptRunner::Result;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

constexpr int kMaxItemTexts = 500;

bool bIsDialog(const QWidget* w) {
    return w && w->isVisible() && (qobject_cast<const QDialog*>(w) || w->isModal());
}

// The text a user reads on a widget, for `widgets` and `expect`.
QString TextOf(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) return combo->currentText();
    if (const auto* text = qobject_cast<const QTextEdit*>(w)) return text->toPlainText();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(w)) return plain->toPlainText();
    if (const auto* group = qobject_cast<const QGroupBox*>(w)) return group->title();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(w)) return spin->text();
    if (const auto* bar = qobject_cast<const QProgressBar*>(w))
        return QString::number(bar->value());
    if (const auto* slider = qobject_cast<const QAbstractSlider*>(w))
        return QString::number(slider->value());
    if (w->isWindow() || qobject_cast<const QMdiSubWindow*>(w)) return w->windowTitle();
    return {};
}

QJsonObject Describe(const QWidget* w) {
    QJsonObject o;
    o["class"] = w->metaObject()->className();
    o["objectName"] = w->objectName();
    o["text"] = TextOf(w);
    o["enabled"] = w->isEnabled();
    o["visible"] = w->isVisible();
    const QRect g = w->isWindow() ? w->frameGeometry() : w->geometry();
    o["geometry"] =
        QJsonObject{{"x", g.x()}, {"y", g.y()}, {"width", g.width()}, {"height", g.height()}};
    if (const auto* button = qobject_cast<const QAbstractButton*>(w);
        button && button->isCheckable())
        o["checked"] = button->isChecked();
    if (const auto* view = qobject_cast<const QAbstractItemView*>(w); view && view->model()) {
        QJsonArray items;
        const QAbstractItemModel* model = view->model();
        const int rows = std::min(model->rowCount(view->rootIndex()), kMaxItemTexts);
        for (int r = 0; r < rows; ++r)
            items.append(model->index(r, 0, view->rootIndex()).data().toString());
        o["items"] = items;
    }
    QJsonArray children;
    for (const QObject* child : w->children()) {
        if (const auto* cw = qobject_cast<const QWidget*>(child); cw && !cw->isWindow())
            children.append(Describe(cw));
    }
    if (!children.isEmpty()) o["children"] = children;
    return o;
}

bool bWriteFile(const QString& path, const QByteArray& bytes, std::string& error) {
    const QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        error = "cannot write " + path.toStdString();
        return false;
    }
    return true;
}

bool bParseBool(const std::string& v, bool& value) {
    if (v == "1" || v == "true" || v == "on" || v == "yes") {
        value = true;
        return true;
    }
    if (v == "0" || v == "false" || v == "off" || v == "no") {
        value = false;
        return true;
    }
    return false;
}

// The button of a dialog that accepts or rejects it.
QAbstractButton* AnswerButton(QWidget* dialog, bool accept) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
        QAbstractButton* fallback = nullptr;
        for (QAbstractButton* b : box->buttons()) {
            const auto role = box->buttonRole(b);
            const bool yes = role == QMessageBox::AcceptRole || role == QMessageBox::YesRole;
            const bool no = role == QMessageBox::RejectRole || role == QMessageBox::NoRole;
            if (accept ? yes : no) return b;
            if (!fallback && accept) fallback = b;
        }
        return accept ? fallback : box->escapeButton();
    }
    for (QDialogButtonBox* box : dialog->findChildren<QDialogButtonBox*>()) {
        if (!box->isVisible()) continue;
        for (QAbstractButton* b : box->buttons()) {
            const auto role = box->buttonRole(b);
            const bool yes =
                role == QDialogButtonBox::AcceptRole || role == QDialogButtonBox::YesRole;
            const bool no =
                role == QDialogButtonBox::RejectRole || role == QDialogButtonBox::NoRole;
            if (b->isEnabled() && (accept ? yes : no)) return b;
        }
    }
    return nullptr;
}

}  // namespace

OScriptRunner::OScriptRunner(ODesktop& desktop, std::vector<OScriptStep> steps, QObject* parent)
    : QObject(parent), m_desktop(desktop), m_steps(std::move(steps)) {
    m_timer.setInterval(kTickMs);
    // A timer does not fire again while its own slot runs, so a step that waits in a modal
    // dialog would stop the script: each tick runs as a single shot of its own instead.
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_tickPending) return;
        m_tickPending = true;
        QTimer::singleShot(0, this, &OScriptRunner::Tick);
    });
    RegisterStandardVerbs();
}

bool OScriptRunner::bLoad(const std::string& path, std::vector<OScriptStep>& steps,
                          std::string& error) {
    QFile file(Q(path));
    if (!file.open(QIODevice::ReadOnly)) {
        error = "cannot read the script " + path;
        return false;
    }
    const QByteArray bytes = file.readAll();
    return bParseScript(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())),
                        steps, error);
}

void OScriptRunner::RegisterVerb(const std::string& verb, int minArgs, int maxArgs,
                                 std::string usage, Handler handler) {
    m_verbs[verb] = OVerb{minArgs, maxArgs, std::move(usage), std::move(handler)};
}

bool OScriptRunner::bValidate(std::string& error) const {
    for (const OScriptStep& step : m_steps) {
        const auto it = m_verbs.find(step.verb);
        const std::string where = "line " + std::to_string(step.line) + ": ";
        if (it == m_verbs.end()) {
            error = where + "unknown verb '" + step.verb + "'";
            return false;
        }
        const int n = static_cast<int>(step.args.size());
        if (n < it->second.minArgs || n > it->second.maxArgs) {
            error = where + "usage: " + it->second.usage;
            return false;
        }
    }
    return true;
}

void OScriptRunner::Start() {
    m_clock.start();
    std::string error;
    if (!bValidate(error)) {
        // Reported from the event loop, so that the caller's exec() sees the exit code.
        QTimer::singleShot(0, this, [this, error] { Finish(kExitBadScript, error); });
        return;
    }
    m_timer.start();
}

void OScriptRunner::Print(const std::string& text) const {
    if (m_output) {
        m_output(text);
    } else {
        std::cerr << text << std::endl;
    }
}

void OScriptRunner::Finish(int code, const std::string& message) {
    if (m_finished) return;
    m_finished = true;
    m_exitCode = code;
    m_lastError = code == 0 ? std::string() : message;
    m_timer.stop();
    if (!message.empty()) Print(message);
    emit finished(code);
    if (m_exitApplication) QCoreApplication::exit(code);
    // Dialogs still open (also before the main event loop runs) are cancelled, so that the
    // loops they run end and the program can stop.
    for (int i = 0; i < 32; ++i) {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) break;
        dialog->reject();
    }
}

void OScriptRunner::Tick() {
    m_tickPending = false;
    if (m_finished || m_clock.elapsed() < m_resumeAt) return;
    // A step that waits in a dialog it opened lets the next steps answer that dialog; a
    // step that merely keeps the event loop turning is waited for.
    if (!m_modalAtStart.empty() && QApplication::activeModalWidget() == m_modalAtStart.back())
        return;
    if (m_next >= m_steps.size()) {
        m_finished = true;
        m_timer.stop();
        emit finished(0);
        return;
    }
    const OScriptStep step = m_steps[m_next];
    if (!m_retrying) m_stepClock.start();
    const OVerb& verb = m_verbs.at(step.verb);
    std::string error;
    m_modalAtStart.emplace_back(QApplication::activeModalWidget());
    m_retrying = false;
    // The step counts as taken before it runs: a dialog it opens runs the following ones.
    const size_t index = m_next++;
    const Result result = verb.handler(step, error);
    m_modalAtStart.pop_back();
    if (m_finished) return;
    const std::string where = "line " + std::to_string(step.line) + " (" + step.Text() + "): ";
    switch (result) {
        case Result::Done:
            break;
        case Result::Retry:
            if (m_stepClock.elapsed() > m_timeoutMs) {
                Finish(kExitFailed, where + error);
                return;
            }
            if (m_next == index + 1) {
                m_next = index;
                m_retrying = true;
            }
            break;
        case Result::Failed:
            Finish(kExitFailed, where + error);
            break;
    }
}

// --- finding windows ---

QWidget* OScriptRunner::OpenDialog() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    QWidget* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (bIsDialog(w)) found = w;
    }
    return found;
}

QWidget* OScriptRunner::FindControl(const std::string& id) {
    const QString name = Q(id);
    std::vector<QWidget*> roots;
    if (QWidget* dialog = OpenDialog()) roots.push_back(dialog);
    if (QWidget* active = QApplication::activeWindow()) roots.push_back(active);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) roots.push_back(w);
    }
    for (QWidget* root : roots) {
        if (root->objectName() == name && root->isVisible()) return root;
        for (QWidget* w : root->findChildren<QWidget*>(name)) {
            if (w->isVisible()) return w;
        }
    }
    return nullptr;
}

// --- verbs ---

void OScriptRunner::RegisterStandardVerbs() {
    using namespace std::placeholders;
    auto bind = [this](Result (OScriptRunner::*f)(const OScriptStep&, std::string&)) {
        return [this, f](const OScriptStep& s, std::string& e) { return (this->*f)(s, e); };
    };
    RegisterVerb("open", 1, 1, "open PATH", bind(&OScriptRunner::Open));
    RegisterVerb("command", 1, 1, "command ID", bind(&OScriptRunner::Command));
    RegisterVerb("wait", 1, 1, "wait MS", [this](const OScriptStep& s, std::string& e) {
        int ms = 0;
        if (!bParseScriptInt(s.args[0], ms) || ms < 0) {
            e = "not a time in milliseconds: " + s.args[0];
            return Result::Failed;
        }
        m_resumeAt = m_clock.elapsed() + ms;
        return Result::Done;
    });
    RegisterVerb("timeout", 1, 1, "timeout MS", [this](const OScriptStep& s, std::string& e) {
        int ms = 0;
        if (!bParseScriptInt(s.args[0], ms) || ms < 0) {
            e = "not a time in milliseconds: " + s.args[0];
            return Result::Failed;
        }
        m_timeoutMs = ms;
        return Result::Done;
    });
    RegisterVerb("grab", 2, 2, "grab WINDOWKEY|main|dialog PNG", bind(&OScriptRunner::Grab));
    RegisterVerb("widgets", 1, 1, "widgets JSON", bind(&OScriptRunner::Widgets));
    RegisterVerb("dialog", 1, 1, "dialog accept|reject", bind(&OScriptRunner::Dialog));
    RegisterVerb("set", 2, 2, "set CONTROLID VALUE", bind(&OScriptRunner::Set));
    RegisterVerb("click", 1, 1, "click CONTROLID", bind(&OScriptRunner::Click));
    RegisterVerb("key", 1, 2, "key KEYS [CONTROLID]", bind(&OScriptRunner::Key));
    RegisterVerb("expect", 2, 2, "expect CONTROLID TEXT", bind(&OScriptRunner::Expect));
    RegisterVerb("pdf", 2, 2, "pdf WINDOWKEY PATH", bind(&OScriptRunner::Pdf));
    RegisterVerb("echo", 0, 100, "echo TEXT...", [this](const OScriptStep& s, std::string&) {
        std::string text;
        for (const std::string& a : s.args)
            text += (text.empty() ? "" : " ") + a;
        if (m_output) {
            m_output(text);
        } else {
            std::cout << text << std::endl;
        }
        return Result::Done;
    });
    RegisterVerb("quit", 0, 1, "quit [CODE]", [this](const OScriptStep& s, std::string& e) {
        int code = 0;
        if (!s.args.empty() && !bParseScriptInt(s.args[0], code)) {
            e = "not an exit code: " + s.args[0];
            return Result::Failed;
        }
        Finish(code, {});
        return Result::Done;
    });
}

Result OScriptRunner::Open(const OScriptStep& step, std::string& error) {
    const QString path = QFileInfo(Q(step.args[0])).absoluteFilePath();
    if (!QFileInfo::exists(path)) {
        error = "no such file";
        return Result::Failed;
    }
    ODoc* doc = m_desktop.App().OpenDocumentFile(path.toStdString());
    if (!doc || doc->GetPathName() != path.toStdString()) {
        error = "the project could not be opened";
        return Result::Failed;
    }
    return Result::Done;
}

Result OScriptRunner::Command(const OScriptStep& step, std::string& error) {
    int id = 0;
    if (!bParseScriptInt(step.args[0], id) || id <= 0) {
        error = "not a command id: " + step.args[0];
        return Result::Failed;
    }
    OFrame_Main& frame = m_desktop.Frame();
    OViewWidget* view = frame.CurrentView();
    if (!frame.CommandState(id, view).enabled) {
        error = "command " + step.args[0] + " is disabled";
        return Result::Retry;
    }
    frame.ExecuteCommand(id, view);
    return Result::Done;
}

Result OScriptRunner::Grab(const OScriptStep& step, std::string& error) {
    const std::string& target = step.args[0];
    QWidget* widget = nullptr;
    if (target == "main") {
        widget = &m_desktop.Frame();
    } else if (target == "dialog") {
        widget = OpenDialog();
        if (!widget) {
            error = "no dialog is open";
            return Result::Retry;
        }
    } else {
        for (QMdiSubWindow* sub : m_desktop.Frame().MdiArea()->subWindowList()) {
            if (sub->objectName() == Q(target) && sub->isVisible()) widget = sub;
        }
        if (!widget) {
            error = "no window " + target + " is open";
            return Result::Retry;
        }
    }
    const QImage image = widget->grab().toImage();
    const QString path = Q(step.args[1]);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (image.isNull() || !image.save(path, "PNG")) {
        error = "cannot write " + step.args[1];
        return Result::Failed;
    }
    return Result::Done;
}

Result OScriptRunner::Widgets(const OScriptStep& step, std::string& error) {
    QJsonArray windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) windows.append(Describe(w));
    }
    const QByteArray json = QJsonDocument(QJsonObject{{"windows", windows}}).toJson();
    return bWriteFile(Q(step.args[0]), json, error) ? Result::Done : Result::Failed;
}

Result OScriptRunner::Dialog(const OScriptStep& step, std::string& error) {
    const std::string& answer = step.args[0];
    if (answer != "accept" && answer != "reject") {
        error = "answer accept or reject";
        return Result::Failed;
    }
    QWidget* dialog = OpenDialog();
    if (!dialog) {
        error = "no dialog is open";
        return Result::Retry;
    }
    const bool accept = answer == "accept";
    if (QAbstractButton* button = AnswerButton(dialog, accept)) {
        button->click();
        return Result::Done;
    }
    if (auto* d = qobject_cast<QDialog*>(dialog)) {
        accept ? d->accept() : d->reject();
        return Result::Done;
    }
    error = "the dialog has no button to " + answer + " it";
    return Result::Failed;
}

Result OScriptRunner::Set(const OScriptStep& step, std::string& error) {
    QWidget* w = FindControl(step.args[0]);
    if (!w) {
        error = "no visible control " + step.args[0];
        return Result::Retry;
    }
    const std::string& value = step.args[1];
    const QString text = Q(value);
    bool flag = false;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(text);
        emit edit->textEdited(text);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        plain->setPlainText(text);
    } else if (auto* rich = qobject_cast<QTextEdit*>(w)) {
        rich->setPlainText(text);
    } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
        int v = 0;
        if (!bParseScriptInt(value, v)) {
            error = "not a whole number: " + value;
            return Result::Failed;
        }
        spin->setValue(v);
    } else if (auto* dspin = qobject_cast<QDoubleSpinBox*>(w)) {
        bool ok = false;
        const double v = text.toDouble(&ok);
        if (!ok) {
            error = "not a number: " + value;
            return Result::Failed;
        }
        dspin->setValue(v);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        int index = combo->findText(text);
        if (index < 0 && combo->isEditable()) {
            combo->setEditText(text);
            return Result::Done;
        }
        if (index < 0 && !bParseScriptInt(value, index)) index = -1;
        if (index < 0 || index >= combo->count()) {
            error = "no entry " + value + " in " + step.args[0];
            return Result::Failed;
        }
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w); button && button->isCheckable()) {
        if (!bParseBool(value, flag)) {
            error = "not 1 or 0: " + value;
            return Result::Failed;
        }
        if (button->isChecked() != flag) button->click();
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(w)) {
        int v = 0;
        if (!bParseScriptInt(value, v)) {
            error = "not a whole number: " + value;
            return Result::Failed;
        }
        slider->setValue(v);
    } else {
        error = std::string("cannot set a ") + w->metaObject()->className();
        return Result::Failed;
    }
    return Result::Done;
}

Result OScriptRunner::Click(const OScriptStep& step, std::string& error) {
    QWidget* w = FindControl(step.args[0]);
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (!button->isEnabled()) {
            error = step.args[0] + " is disabled";
            return Result::Retry;
        }
        button->click();
        return Result::Done;
    }
    if (w) {
        error = std::string("cannot click a ") + w->metaObject()->className();
        return Result::Failed;
    }
    error = "no visible button " + step.args[0];
    return Result::Retry;
}

Result OScriptRunner::Key(const OScriptStep& step, std::string& error) {
    const QKeySequence sequence(Q(step.args[0]));
    if (sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown) {
        error = "not a key: " + step.args[0];
        return Result::Failed;
    }
    QWidget* target = nullptr;
    if (step.args.size() > 1) {
        target = FindControl(step.args[1]);
        if (!target) {
            error = "no visible control " + step.args[1];
            return Result::Retry;
        }
        target->setFocus();
    } else {
        target = QApplication::focusWidget();
        if (!target) target = OpenDialog();
        if (!target) target = QApplication::activeWindow();
        if (!target) target = &m_desktop.Frame();
    }
    for (int i = 0; i < sequence.count(); ++i) {
        const QKeyCombination combination = sequence[i];
        const Qt::Key key = combination.key();
        const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
        // The focused control may claim the key before a shortcut does, as on the screen.
        QKeyEvent override(QEvent::ShortcutOverride, key, modifiers);
        override.ignore();
        QApplication::sendEvent(target, &override);
        if (!override.isAccepted()) {
            QWidget* window = OpenDialog() ? OpenDialog() : &m_desktop.Frame();
            bool triggered = false;
            for (QAction* action : window->findChildren<QAction*>()) {
                if (action->shortcut() == QKeySequence(combination) && action->isEnabled()) {
                    action->trigger();
                    triggered = true;
                    break;
                }
            }
            if (triggered) continue;
        }
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(target, &release);
    }
    return Result::Done;
}

Result OScriptRunner::Expect(const OScriptStep& step, std::string& error) {
    QWidget* w = FindControl(step.args[0]);
    if (!w) {
        error = "no visible control " + step.args[0];
        return Result::Retry;
    }
    const QString text = TextOf(w);
    if (text != Q(step.args[1])) {
        error = step.args[0] + " shows \"" + text.toStdString() + "\"";
        return Result::Retry;
    }
    return Result::Done;
}

Result OScriptRunner::Pdf(const OScriptStep& step, std::string& error) {
    OFrame_Child* frame = nullptr;
    for (QMdiSubWindow* sub : m_desktop.Frame().MdiArea()->subWindowList()) {
        if (sub->objectName() == Q(step.args[0])) frame = qobject_cast<OFrame_Child*>(sub);
    }
    if (!frame) {
        error = "no window " + step.args[0] + " is open";
        return Result::Retry;
    }
    OPrintable* printable = nullptr;
    for (QWidget* w : frame->ViewWidgets()) {
        auto* view = dynamic_cast<OViewWidget*>(w);
        if (view && !printable) printable = view->opGetPrintable();
    }
    if (!printable) {
        error = "the window " + step.args[0] + " prints nothing";
        return Result::Failed;
    }
    const QString path = QFileInfo(Q(step.args[1])).absoluteFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    return OPrintService::bWritePdf(*printable, path, error) ? Result::Done : Result::Failed;
}
