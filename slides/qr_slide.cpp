#include "slides/qr_slide.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <qrencode.h>

#include "slides/clock_slide.h"
#include "slides/slide_content.h"
#include "slides/slide_show.h"

namespace quelna {

QrModules encodeQr(const QString& text) {
    QrModules m;
    const QByteArray bytes = text.toUtf8();
    QRcode* code = QRcode_encodeString(bytes.constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1);
    if (!code)
        return m;
    m.size = code->width;
    m.dark.resize(static_cast<std::size_t>(m.size) * m.size);
    for (std::size_t i = 0; i < m.dark.size(); ++i)
        m.dark[i] = (code->data[i] & 1) != 0; // bit 0: a dark module
    QRcode_free(code);
    return m;
}

QrSlide::QrSlide(QWidget* owner, const QString& url, const QRect& monitor)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), url_(url), modules_(encodeQr(url)) {
    setModal(true);
    setGeometry(monitor);
    // Phones read the code best dark on white, whatever the desktop's colours.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    const int w = monitor.width();
    const int h = monitor.height();
    // The code takes the top three quarters, with the four-module quiet zone around it.
    if (modules_.size > 0) {
        const int room = std::min(w * 90 / 100, h * 72 / 100);
        moduleSide_ = std::max(1, room / (modules_.size + 8));
        const int side = moduleSide_ * modules_.size;
        codeRect_ = QRect((w - side) / 2, h * 4 / 100 + 4 * moduleSide_, side, side);
    }
}

QString qrSlideNote() {
    return QStringLiteral(u"Код открывает на телефоне рассадку, турнирную таблицу и «Мой турнир»");
}

void QrSlide::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const int w = width();
    const int h = height();
    for (int y = 0; y < modules_.size; ++y)
        for (int x = 0; x < modules_.size; ++x)
            if (modules_.at(x, y))
                p.fillRect(codeRect_.x() + x * moduleSide_, codeRect_.y() + y * moduleSide_,
                           moduleSide_, moduleSide_, Qt::black);
    const int textTop = modules_.size > 0 ? codeRect_.bottom() + 4 * moduleSide_ : h / 3;
    const QRect textRect(w * 2 / 100, textTop, w * 96 / 100, h - textTop);
    p.setPen(Qt::black);
    const QString text = url_.isEmpty() ? QStringLiteral(u"Компьютер не подключён к сети") : url_;
    // As large as fits on one line, at most a tenth of the screen high.
    QFont font = slideFont(h / 10, true);
    while (font.pixelSize() > 12 && QFontMetrics(font).horizontalAdvance(text) > textRect.width())
        font.setPixelSize(font.pixelSize() * 9 / 10);
    p.setFont(font);
    p.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
    if (url_.isEmpty())
        return;
    // Under the address, one line on what the phone will show.
    const int noteTop = textTop + QFontMetrics(font).height() + h / 60;
    noteRect_ = QRect(textRect.left(), noteTop, textRect.width(), h / 18);
    p.setFont(fittingFont(slideFont(h / 18, false), qrSlideNote(), noteRect_));
    p.drawText(noteRect_, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, qrSlideNote());
}

void QrSlide::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    e->accept();
}

void QrSlide::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        close();
        return;
    }
    e->accept();
}

void showQrSlide(QWidget* owner, const QString& url) {
    QScreen* screen = slideScreen(currentSlideOptions().onSecondary);
    const QRect monitor = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    QrSlide slide(owner, url, monitor);
    if (screen)
        slide.setScreen(screen);
    slide.exec();
}

} // namespace quelna
