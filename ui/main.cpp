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
    // `quelna FILE.csv`, as the file manager's "Open with" starts it; options are skipped.
    QString file;
    for (const QString& argument : app.arguments().mid(1))
        if (!argument.startsWith(QLatin1Char('-'))) {
            file = argument;
            break;
        }
    return quelna::runEntry(app, quelna::appDataDirectory() + QStringLiteral(u"/quelna.ini"), file);
}
