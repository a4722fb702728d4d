#pragma once
// Runs test cases of the running test binary again in a child process whose offscreen platform
// has two screens: A (1600 x 900) and B (1920 x 1080) left of it.
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace test_support {

struct ChildRun {
    int exitCode = -1;
    QString output; // standard output and errors together
};

// filter: the --gtest_filter of the cases; flag: an environment variable set to 1 for them.
inline ChildRun runOnTwoScreens(const QString& filter, const QString& flag) {
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral(u"screens.json"));
    QFile file(config);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"screens":[
 {"name":"A","x":0,"y":0,"width":1600,"height":900,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1},
 {"name":"B","x":-1920,"y":0,"width":1920,"height":1080,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
    file.close();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // Named relative to the child's folder: the platform's arguments are split at colons, so a
    // Windows path with its drive letter would not reach the platform whole.
    env.insert(QStringLiteral(u"QT_QPA_PLATFORM"),
               QStringLiteral(u"offscreen:configfile=screens.json"));
    child.setWorkingDirectory(dir.path());
    env.insert(flag, QStringLiteral(u"1"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral(u"--gtest_filter=") + filter});
    if (!child.waitForFinished(120000)) {
        child.kill();
        child.waitForFinished();
        return {-1, QString::fromUtf8(child.readAll())};
    }
    return {child.exitCode(), QString::fromUtf8(child.readAll())};
}

} // namespace test_support
