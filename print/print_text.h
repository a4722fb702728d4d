#pragma once
// Text on paper: the printed fonts, and text that wraps (and if need be shrinks) to fit a column,
// so that no name is ever clipped or runs into its neighbour.
#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;
class QPaintDevice;

namespace quelna {

// The slides' face (fontconfig maps Arial to Liberation Sans), in points.
QFont printFont(double pointSize, bool bold = false);

// A text broken into the lines it takes in a column of a given width on a given device.
struct FittedText {
    QFont font;
    QStringList lines;
    double lineHeight = 0;
    double height() const { return lineHeight * lines.size(); }
};

// Breaks text into lines of at most width device pixels, at word boundaries where it can and
// anywhere else where it must. When more than maxLines lines result, the font shrinks in half
// points down to minPointSize; below that the text keeps its lines (the row grows instead).
FittedText fitText(const QString& text, const QFont& font, double width, int maxLines,
                   double minPointSize, QPaintDevice* device);

// Draws the lines inside rect, vertically centred, with the horizontal part of align.
void drawFitted(QPainter& p, const FittedText& text, const QRectF& rect, Qt::Alignment align);

// The width of a one-line text on the device.
double textWidth(const QString& text, const QFont& font, QPaintDevice* device);

} // namespace quelna
