#include <QApplication>

#include "gui/app_paths.h"
#include "quelna_version.h"
#include "ui/entry.h"
#include "ui/qt_translation.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(u"quelna"));
    (void)quelna::installQtTranslation(app);
    QCoreApplication::setApplicationVersion(QString::fromLatin1(quelna::kVersion));
    return quelna::runEntry(app, quelna::appDataDirectory() + QStringLiteral(u"/quelna.ini"));
}
