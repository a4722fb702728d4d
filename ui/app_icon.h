#pragma once
// The program's icon: a square table with four seats, painted in code so no image file is needed.
#include <QIcon>
#include <QPixmap>

namespace quelna {

// One square picture of the icon at the given edge length in pixels.
QPixmap appIconPixmap(int size);
// The icon in the usual sizes.
QIcon appIcon();

} // namespace quelna
