#pragma once
// The crossing between Qt's file names and the core's: UTF-8 on Windows (the core opens files
// through UTF-16 there, and the ANSI code page cannot hold every name), the file system's own
// bytes elsewhere.
#include <QFile>
#include <QString>
#include <string>

namespace quelna {

inline std::string corePath(const QString& fileName) {
#ifdef Q_OS_WIN
    return fileName.toStdString();
#else
    return QFile::encodeName(fileName).toStdString();
#endif
}

} // namespace quelna

namespace quelna {

// The way back: a core file name as Qt shows and opens it.
inline QString qtPath(const std::string& name) {
#ifdef Q_OS_WIN
    return QString::fromStdString(name);
#else
    return QFile::decodeName(QByteArray::fromStdString(name));
#endif
}

} // namespace quelna
