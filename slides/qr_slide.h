#pragma once
// A full-screen slide with the QR code of the players' page and its address in large text under
// it, on the slide monitor; Esc or a click closes it like the other slides.
#include <QDialog>
#include <QRect>
#include <QString>
#include <vector>

namespace quelna {

// The modules of the QR code of text (error correction level M), row by row; empty when the text
// cannot be encoded.
struct QrModules {
    int size = 0;
    std::vector<bool> dark; // size * size
    bool at(int x, int y) const { return dark[static_cast<std::size_t>(y) * size + x]; }
};
QrModules encodeQr(const QString& text);

class QrSlide : public QDialog {
    Q_OBJECT
  public:
    // url empty: the computer has no network address the phones could reach.
    QrSlide(QWidget* owner, const QString& url, const QRect& monitor);

    const QrModules& modules() const { return modules_; }
    // Where the code is drawn, and the side of one module in pixels.
    QRect codeRect() const { return codeRect_; }
    int moduleSide() const { return moduleSide_; }
    // Where the line saying what the code opens was last painted; empty without an address.
    QRect noteRect() const { return noteRect_; }

  protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

  private:
    QString url_;
    QrModules modules_;
    QRect codeRect_;
    int moduleSide_ = 0;
    QRect noteRect_;
};

// The line under the address that says what the code opens.
QString qrSlideNote();

// Opens the slide modally over owner on the monitor the slide settings choose.
void showQrSlide(QWidget* owner, const QString& url);

} // namespace quelna
