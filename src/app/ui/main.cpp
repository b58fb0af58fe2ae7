// The Kalvor desktop program.
#include <QApplication>
#include <QSettings>
#include <string>
#include <vector>

#include "app/OApp.h"
#include "app/ui/ODesktop.h"
#include "app/ui/OInstanceChannel.h"
#include "kalvor/Version.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Brevik");
    QApplication::setApplicationName(kalvor::version::kApplicationTitle);
    QApplication::setApplicationVersion(kalvor::version::kVersion);
    QSettings::setDefaultFormat(QSettings::IniFormat);

    std::vector<std::string> arguments;
    for (const QString& argument : QApplication::arguments().mid(1))
        arguments.push_back(argument.toStdString());

    QApplication::setWindowIcon(ODesktop::ProgramIcon());

    // A file opened from the file manager while the program runs goes to that program.
    OInstanceChannel channel;
    const OStartRequest start = ResolveStart(OCommandLine::FromArguments(arguments));
    if (start.startMode == StartMode::kOpenFile && !start.startFile.empty() &&
        channel.bHandOver(QString::fromStdString(start.startFile)))
        return 0;

    ODesktop desktop(arguments);
    channel.bListen(
        [&desktop](const QString& file) { desktop.OpenHandedFile(file.toStdString()); });
    if (!desktop.Start()) return desktop.Finish();
    QApplication::exec();
    return desktop.Finish();
}
