#include "gui/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUuid>

namespace quelna {

namespace {

// A program installed from a package lives under /usr; even when that folder can be written
// (run as root), the user's files do not belong beside the system's.
bool isSystemProgramDirectory(const QString& dir) {
    return dir.startsWith(QStringLiteral(u"/usr/"));
}

// Permission bits and attributes do not tell whether a folder takes new files (NTFS rights,
// read-only media, a folder of another user): only creating one does.
bool takesNewFiles(const QString& dir) {
    const QString probe = QDir(dir).filePath(QStringLiteral(u".quelna-probe-") +
                                             QUuid::createUuid().toString(QUuid::WithoutBraces));
    QFile file(probe);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    const bool written = file.write("probe", 5) == 5 && file.flush();
    file.close();
    const bool removed = QFile::remove(probe);
    return written && removed;
}

} // namespace

QString appDataDirectory() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!isSystemProgramDirectory(exeDir) && takesNewFiles(exeDir))
        return exeDir;
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(userDir);
    return userDir;
}

} // namespace quelna
