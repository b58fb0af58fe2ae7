#include "app/ui/OExternalPrograms_Qt.h"

#include <QFileInfo>
#include <QProcess>

bool OExternalPrograms_Qt::bStartDetached(const std::string& program, std::string& error) {
    const QString path = QString::fromStdString(program);
    if (!QFileInfo(path).isExecutable()) {
        error = program + ": not an executable file";
        return false;
    }
    if (!QProcess::startDetached(path, {})) {
        error = program + ": could not be started";
        return false;
    }
    return true;
}

bool OExternalPrograms_Qt::bActivateWindow(int64_t /*handle*/, int /*commandId*/) {
    return false;
}
