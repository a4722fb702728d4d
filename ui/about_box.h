#pragma once
// "О программе": the version, what the program is for, and the folder of its settings and
// autosaves, so the organiser can find an autosave after a failure.
#include <QString>

class QWidget;

namespace quelna {

void showAboutBox(QWidget* parent, const QString& dataDirectory);

} // namespace quelna
