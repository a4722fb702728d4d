#include "ui/about_box.h"

#include <QDir>
#include <QMessageBox>

#include "quelna_version.h"
#include "ui/app_icon.h"

namespace quelna {

void showAboutBox(QWidget* parent, const QString& dataDirectory) {
    const QString text =
        QStringLiteral(u"<b>quelna %1</b><p>Рассадка игроков турнира по риичи-маджонгу по "
                       u"швейцарской системе.</p><p>Настройки и автосохранения:<br>%2</p>"
                       u"<p>Qt %3</p>")
            .arg(QString::fromLatin1(kVersion),
                 QDir::toNativeSeparators(dataDirectory).toHtmlEscaped(),
                 QString::fromLatin1(qVersion()));
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral(u"О программе"), text, QMessageBox::Ok,
                    parent);
    box.setTextFormat(Qt::RichText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.setIconPixmap(appIconPixmap(64));
    box.exec();
}

} // namespace quelna
