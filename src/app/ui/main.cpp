// The Kalvor desktop program. `kalvor --script FILE [ARGUMENTS]` runs an automation script
// against it (docs/automation.md).
#include <QApplication>
#include <QSettings>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/OApp.h"
#include "app/ui/ODesktop.h"
#include "app/ui/OInstanceChannel.h"
#include "app/ui/OScriptRunner.h"
#include "kalvor/Version.h"
#include "platform/HugePageHeap.h"

int main(int argc, char** argv) {
    HugePageHeap::RestartWithHugePages(argv);
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Brevik");
    QApplication::setApplicationName(kalvor::version::kApplicationTitle);
    QApplication::setApplicationVersion(kalvor::version::kVersion);
    QSettings::setDefaultFormat(QSettings::IniFormat);

    std::vector<std::string> arguments;
    std::string script;
    bool scripted = false;
    const QStringList given = QApplication::arguments().mid(1);
    for (qsizetype i = 0; i < given.size(); ++i) {
        if (given[i] == "--script") {
            if (i + 1 >= given.size()) {
                std::cerr << "--script needs a file" << std::endl;
                return OScriptRunner::kExitBadScript;
            }
            scripted = true;
            script = given[++i].toStdString();
            continue;
        }
        arguments.push_back(given[i].toStdString());
    }

    QApplication::setWindowIcon(ODesktop::ProgramIcon());

    // A file opened from the file manager while the program runs goes to that program.
    // A scripted run keeps its file: it must run its script itself.
    OInstanceChannel channel;
    const OStartRequest start = ResolveStart(OCommandLine::FromArguments(arguments));
    if (!scripted && start.startMode == StartMode::kOpenFile && !start.startFile.empty() &&
        channel.bHandOver(QString::fromStdString(start.startFile)))
        return 0;

    ODesktop desktop(arguments);
    channel.bListen(
        [&desktop](const QString& file) { desktop.OpenHandedFile(file.toStdString()); });
    std::unique_ptr<OScriptRunner> runner;
    if (scripted) {
        std::vector<OScriptStep> steps;
        std::string error;
        if (!OScriptRunner::bLoad(script, steps, error)) {
            std::cerr << error << std::endl;
            return OScriptRunner::kExitBadScript;
        }
        runner = std::make_unique<OScriptRunner>(desktop, std::move(steps));
        if (!runner->bValidate(error)) {
            std::cerr << error << std::endl;
            return OScriptRunner::kExitBadScript;
        }
        // Started before the program: the script may answer the welcome dialog.
        runner->Start();
    }
    if (!desktop.Start()) return desktop.Finish();
    const int code = runner && runner->bIsFinished() ? runner->iExitCode() : QApplication::exec();
    const int finished = desktop.Finish();
    return runner ? code : finished;
}
