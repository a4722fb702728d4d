#include "gui/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quelna {

namespace {

// A program installed from a package lives under /usr; even when that folder can be written
// (run as root), the user's files do not belong beside the system's.
bool isSystemProgramDirectory(const QString& dir) {
    return dir.startsWith(QStringLiteral(u"/usr/"));
}

} // namespace

QString appDataDirectory() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!isSystemProgramDirectory(exeDir) && QFileInfo(exeDir).isWritable())
        return exeDir;
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(userDir);
    return userDir;
}

} // namespace quelna
