#include "print/print_text.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

namespace quelna {

QFont printFont(double pointSize, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

namespace {

QStringList breakLines(const QString& text, const QFont& font, double width, QPaintDevice* device) {
    QStringList lines;
    if (text.isEmpty()) {
        lines << QString();
        return lines;
    }
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

} // namespace

FittedText fitText(const QString& text, const QFont& font, double width, int maxLines,
                   double minPointSize, QPaintDevice* device) {
    FittedText fitted;
    fitted.font = font;
    for (;;) {
        fitted.lines = breakLines(text, fitted.font, width, device);
        if (fitted.lines.size() <= maxLines || fitted.font.pointSizeF() - 0.5 < minPointSize)
            break;
        fitted.font.setPointSizeF(fitted.font.pointSizeF() - 0.5);
    }
    fitted.lineHeight = QFontMetricsF(fitted.font, device).lineSpacing();
    return fitted;
}

void drawFitted(QPainter& p, const FittedText& text, const QRectF& rect, Qt::Alignment align) {
    p.setFont(text.font);
    double y = rect.top() + (rect.height() - text.height()) / 2;
    const Qt::Alignment horizontal = (align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
    for (const QString& line : text.lines) {
        p.drawText(QRectF(rect.left(), y, rect.width(), text.lineHeight),
                   horizontal | Qt::TextDontClip, line);
        y += text.lineHeight;
    }
}

double textWidth(const QString& text, const QFont& font, QPaintDevice* device) {
    return QFontMetricsF(font, device).horizontalAdvance(text);
}

} // namespace quelna
