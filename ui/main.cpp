#include <QApplication>

#include "gui/app_paths.h"
#include "ui/entry.h"
#include "ui/qt_translation.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(u"quelna"));
    (void)quelna::installQtTranslation(app);
    return quelna::runEntry(app, quelna::appDataDirectory() + QStringLiteral(u"/quelna.ini"));
}
