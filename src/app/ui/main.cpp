// The Kalvor desktop program.
#include <QApplication>
#include <QSettings>
#include <string>
#include <vector>

#include "app/ui/ODesktop.h"
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

    ODesktop desktop(arguments);
    if (!desktop.Start()) return desktop.Finish();
    QApplication::exec();
    return desktop.Finish();
}
