// `kalvor --script`: steps against the real desktop, dialogs answered while they are open,
// screenshots and the window tree written, and failures reported with their line.
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QVBoxLayout>

#include "DesktopTestSupport.h"
#include "app/ui/OScriptRunner.h"

namespace {

using namespace desktoptest;

struct ORun {
    std::unique_ptr<OScriptRunner> runner;
    std::vector<std::string> output;
};

std::unique_ptr<OScriptRunner> Runner(Desk& desk, const std::string& text,
                                      std::vector<std::string>& output) {
    std::vector<OScriptStep> steps;
    std::string error;
    EXPECT_TRUE(bParseScript(text, steps, error)) << error;
    auto runner = std::make_unique<OScriptRunner>(*desk.desktop, std::move(steps));
    runner->SetExitApplication(false);
    runner->SetOutput([&output](const std::string& line) { output.push_back(line); });
    return runner;
}

bool bRunToEnd(OScriptRunner& runner) {
    runner.Start();
    return PumpUntil([&] { return runner.bIsFinished(); }, std::chrono::seconds(20));
}

QJsonObject FindByName(const QJsonArray& nodes, const QString& name) {
    for (const auto& value : nodes) {
        const QJsonObject node = value.toObject();
        if (node["objectName"].toString() == name) return node;
        const QJsonObject inner = FindByName(node["children"].toArray(), name);
        if (!inner.isEmpty()) return inner;
    }
    return {};
}

TEST(ScriptRunner, GrabsWindowsWritesTheWidgetTreeAndQuitsWithItsCode) {
    Desk desk;
    TempDir dir;
    const std::string main = (dir / "shots" / "main.png").string();
    const std::string list = (dir / "list.png").string();
    const std::string json = (dir / "widgets.json").string();
    std::vector<std::string> output;
    auto runner = Runner(desk,
                         "grab main \"" + main + "\"\ngrab PARTLIST \"" + list + "\"\nwidgets \"" +
                             json + "\"\necho done\nquit 3\nwait 100000\n",
                         output);
    ASSERT_TRUE(bRunToEnd(*runner));
    EXPECT_EQ(runner->iExitCode(), 3);
    EXPECT_EQ(output, (std::vector<std::string>{"done"}));
    QImage shot(QString::fromStdString(main));
    EXPECT_EQ(shot.size(), desk.Frame().size()) << "the main window, in a folder made for it";
    EXPECT_FALSE(QImage(QString::fromStdString(list)).isNull());
    QFile file(QString::fromStdString(json));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray windows = QJsonDocument::fromJson(file.readAll())["windows"].toArray();
    const QJsonObject mainWindow = FindByName(windows, "128");
    ASSERT_FALSE(mainWindow.isEmpty());
    EXPECT_EQ(mainWindow["class"].toString(), "OFrame_Main");
    EXPECT_TRUE(mainWindow["text"].toString().startsWith("Kalvor"));
    const QJsonObject partList = FindByName(windows, "PARTLIST");
    ASSERT_FALSE(partList.isEmpty());
    EXPECT_TRUE(partList["visible"].toBool());
    EXPECT_GT(partList["geometry"].toObject()["width"].toInt(), 0);
    const QJsonObject pane = FindByName(windows, "59393");
    EXPECT_EQ(pane["class"].toString(), "QStatusBar");
}

TEST(ScriptRunner, AnswersAModalDialogTheCommandOpened) {
    Desk desk;
    TempDir dir;
    const std::string shot = (dir / "about.png").string();
    std::vector<std::string> output;
    auto runner = Runner(desk,
                         "command 57664\n"
                         "grab dialog \"" +
                             shot +
                             "\"\n"
                             "expect 1333 3.6.0.0\n"
                             "dialog accept\n"
                             "quit\n",
                         output);
    ASSERT_TRUE(bRunToEnd(*runner)) << (output.empty() ? "" : output.back());
    EXPECT_EQ(runner->iExitCode(), 0) << runner->LastError();
    EXPECT_FALSE(QImage(QString::fromStdString(shot)).isNull());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the about box is closed";
}

TEST(ScriptRunner, FillsControlsOfAnOpenDialog) {
    Desk desk;
    QDialog dialog(&desk.Frame());
    auto* layout = new QVBoxLayout(&dialog);
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName("1001");
    auto* check = new QCheckBox("Use", &dialog);
    check->setObjectName("1002");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(edit);
    layout->addWidget(check);
    layout->addWidget(buttons);
    std::vector<std::string> output;
    auto runner = Runner(desk,
                         "set 1001 \"Edge finder\"\nset 1002 1\nclick 1002\nclick 1002\n"
                         "expect 1001 \"Edge finder\"\ndialog accept\n",
                         output);
    runner->Start();
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(edit->text(), "Edge finder");
    EXPECT_TRUE(check->isChecked());
    ASSERT_TRUE(PumpUntil([&] { return runner->bIsFinished(); }));
    EXPECT_EQ(runner->iExitCode(), 0) << runner->LastError();
}

TEST(ScriptRunner, AFailingStepSaysWhyWithItsLineAndEndsWithOne) {
    Desk desk;
    std::vector<std::string> output;
    auto runner = Runner(desk, "timeout 50\n\ncommand 57643\nquit\n", output);
    ASSERT_TRUE(bRunToEnd(*runner));
    EXPECT_EQ(runner->iExitCode(), OScriptRunner::kExitFailed);
    EXPECT_EQ(runner->LastError(), "line 3 (command 57643): command 57643 is disabled")
        << "undo with nothing to undo";
    ASSERT_EQ(output.size(), 1u);

    output.clear();
    auto missing = Runner(desk, "timeout 20\ndialog accept\n", output);
    ASSERT_TRUE(bRunToEnd(*missing));
    EXPECT_EQ(missing->iExitCode(), 1);
    EXPECT_NE(missing->LastError().find("no dialog is open"), std::string::npos);

    auto badValue = Runner(desk, "wait soon\n", output);
    ASSERT_TRUE(bRunToEnd(*badValue));
    EXPECT_EQ(badValue->iExitCode(), 1);
}

TEST(ScriptRunner, UnknownVerbsAndWrongArgumentsStopTheScriptBeforeItRuns) {
    Desk desk;
    std::vector<std::string> output;
    auto unknown = Runner(desk, "echo first\nfly away\n", output);
    std::string error;
    EXPECT_FALSE(unknown->bValidate(error));
    EXPECT_EQ(error, "line 2: unknown verb 'fly'");
    ASSERT_TRUE(bRunToEnd(*unknown));
    EXPECT_EQ(unknown->iExitCode(), OScriptRunner::kExitBadScript);
    EXPECT_EQ(output, (std::vector<std::string>{"line 2: unknown verb 'fly'"}))
        << "nothing ran: no 'first'";
    auto arity = Runner(desk, "grab main\n", output);
    EXPECT_FALSE(arity->bValidate(error));
    EXPECT_EQ(error, "line 1: usage: grab WINDOWKEY|main|dialog PNG");
}

TEST(ScriptRunner, LaterEngineersAddVerbs) {
    Desk desk;
    std::vector<std::string> output;
    auto runner = Runner(desk, "count 2\ncount 3\n", output);
    int total = 0;
    runner->RegisterVerb("count", 1, 1, "count N", [&](const OScriptStep& step, std::string&) {
        total += std::stoi(step.args[0]);
        return OScriptRunner::Result::Done;
    });
    ASSERT_TRUE(bRunToEnd(*runner));
    EXPECT_EQ(runner->iExitCode(), 0);
    EXPECT_EQ(total, 5);
}

}  // namespace
