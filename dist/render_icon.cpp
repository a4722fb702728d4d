// Renders the program's icon to a PNG file at build time, so the installed desktop entry shows
// the same picture as the manual-placement button.
#include <QGuiApplication>

#include "ui/app_icon.h"

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int size = QString::fromLocal8Bit(argv[2]).toInt();
    return quelna::appIconPixmap(size > 0 ? size : 128).save(QString::fromLocal8Bit(argv[1]))
               ? 0
               : 1;
}
