#include "ui/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace quelna {

bool installQtTranslation(QCoreApplication& app) {
    const QString exeDir = QCoreApplication::applicationDirPath();
    return installQtTranslationFrom(app, {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                          exeDir, exeDir + QStringLiteral(u"/translations")});
}

bool installQtTranslationFrom(QCoreApplication& app, const QStringList& folders) {
    auto* translator = new QTranslator(&app);
    for (const QString& folder : folders) {
        if (!folder.isEmpty() && translator->load(QStringLiteral(u"qtbase_ru"), folder) &&
            QCoreApplication::installTranslator(translator))
            return true;
    }
    delete translator;
    return false;
}

} // namespace quelna
