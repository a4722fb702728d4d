#include "ui/app_icon.h"

#include <QPainter>

namespace quelna {

QPixmap appIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal u = size / 16.0;

    // Four seats around the table, one per wind, in distinct colours.
    const QColor seatColours[4] = {QColor(200, 40, 40), QColor(40, 90, 200), QColor(230, 170, 20),
                                   QColor(40, 140, 60)};
    const QRectF seats[4] = {
        QRectF(5.5 * u, 0.5 * u, 5 * u, 3 * u), QRectF(12.5 * u, 5.5 * u, 3 * u, 5 * u),
        QRectF(5.5 * u, 12.5 * u, 5 * u, 3 * u), QRectF(0.5 * u, 5.5 * u, 3 * u, 5 * u)};
    p.setPen(QPen(QColor(40, 40, 40), std::max(1.0, 0.5 * u)));
    for (int i = 0; i < 4; ++i) {
        p.setBrush(seatColours[i]);
        p.drawRoundedRect(seats[i], u, u);
    }

    // The table: green cloth with a dark rim, and a tile in the middle.
    p.setBrush(QColor(20, 120, 70));
    p.setPen(QPen(QColor(60, 40, 20), std::max(1.0, 0.8 * u)));
    p.drawRect(QRectF(3.8 * u, 3.8 * u, 8.4 * u, 8.4 * u));
    p.setBrush(QColor(250, 245, 230));
    p.setPen(QPen(QColor(60, 60, 60), std::max(1.0, 0.4 * u)));
    p.drawRoundedRect(QRectF(6.6 * u, 5.8 * u, 2.8 * u, 4.4 * u), 0.5 * u, 0.5 * u);
    return pixmap;
}

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(appIconPixmap(size));
    return icon;
}

} // namespace quelna
