#pragma once
// Qt's own texts (file dialogs, message-box buttons, the context menu of edits) in Russian, so
// they match the rest of the program.
#include <QStringList>

class QCoreApplication;

namespace quelna {

// Installs qtbase_ru.qm from Qt's translation folder, or from beside the executable (or its
// "translations" folder) where a Windows or macOS deployment puts it. Without the file Qt stays
// in English; that is no error, so the result only tells whether the translation was found.
[[nodiscard]] bool installQtTranslation(QCoreApplication& app);

// The same from the given folders, tried in order; used by the above and by tests.
[[nodiscard]] bool installQtTranslationFrom(QCoreApplication& app, const QStringList& folders);

} // namespace quelna
