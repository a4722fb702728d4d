#include <QApplication>

#include "ui/entry.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return quelna::runEntry(app, QCoreApplication::applicationDirPath() +
                                     QStringLiteral(u"/quelna.ini"));
}
