// The QR slide of the players' page: the code it draws is the code of the address, module for
// module, and it closes like the other slides. QUELNA_SLIDES_SHOTS names a directory for its
// picture at 1920 x 1080.
#include <QDir>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include "slides/qr_slide.h"

namespace {

using namespace quelna;

TEST(QrSlide, DrawsTheCodeOfTheAddressAndClosesOnEscOrClick) {
    const QString url = QStringLiteral(u"http://192.168.1.23:8080/");
    const QrModules code = encodeQr(url);
    ASSERT_GE(code.size, 21); // version 1 or more
    // The three finder patterns: dark 7 x 7 corners with a light ring inside.
    for (const auto& [x0, y0] :
         {std::pair{0, 0}, std::pair{code.size - 7, 0}, std::pair{0, code.size - 7}}) {
        EXPECT_TRUE(code.at(x0, y0));
        EXPECT_FALSE(code.at(x0 + 1, y0 + 1));
        EXPECT_TRUE(code.at(x0 + 3, y0 + 3));
    }
    EXPECT_NE(encodeQr(QStringLiteral(u"http://10.0.0.1:8080/")).dark, code.dark);

    QrSlide slide(nullptr, url, QRect(0, 0, 1920, 1080));
    slide.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slide));
    const QImage image = slide.grab().toImage();
    const QRect r = slide.codeRect();
    const int side = slide.moduleSide();
    ASSERT_GE(side, 10) << "large enough to read from the back of the hall";
    EXPECT_EQ(r.width(), side * code.size);
    EXPECT_TRUE(
        QRect(0, 0, 1920, 1080).contains(r.adjusted(-4 * side, -4 * side, 4 * side, 4 * side)))
        << "the quiet zone fits on the screen";
    for (int y = 0; y < code.size; ++y)
        for (int x = 0; x < code.size; ++x) {
            const QRgb pixel =
                image.pixel(r.x() + x * side + side / 2, r.y() + y * side + side / 2);
            ASSERT_EQ(qGray(pixel) < 128, code.at(x, y)) << x << "," << y;
        }
    const QString dir = qEnvironmentVariable("QUELNA_SLIDES_SHOTS");
    if (!dir.isEmpty()) {
        ASSERT_TRUE(QDir().mkpath(dir));
        image.save(dir + QStringLiteral(u"/slides_player_page_qr.png"));
    }

    QTest::keyClick(&slide, Qt::Key_Return);
    EXPECT_TRUE(slide.isVisible());
    QTest::keyClick(&slide, Qt::Key_Escape);
    EXPECT_FALSE(slide.isVisible());
    slide.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slide));
    QTest::mouseClick(&slide, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(slide.isVisible());
}

} // namespace
