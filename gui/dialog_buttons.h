#pragma once
// The "ОК" and "Отмена" buttons of a dialog, wired to accept and reject.
#include <QDialog>
#include <QDialogButtonBox>

namespace quelna {

QDialogButtonBox* okCancelButtons(QDialog* dialog);

} // namespace quelna
