#include "ui/dialog_units.h"

#include <QApplication>
#include <QFontMetrics>

#include <algorithm>

namespace quelna {

namespace {

// units * base / divisor, rounded to the nearest pixel like the platform's own conversion.
int scale(int units, int base, int divisor) {
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor
                                         : -((-product + half) / divisor));
}

} // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics fm(font);
    baseWidth_ = fm.averageCharWidth();
    baseHeight_ = fm.height();
}

DialogUnits DialogUnits::fitting(const QFont& font, const std::vector<TextFit>& texts) {
    DialogUnits units(font);
    const QFontMetrics fm(font);
    for (const TextFit& fit : texts) {
        if (fit.widthUnits <= 0)
            continue;
        const int needed = fm.horizontalAdvance(fit.text) + fit.extraPixels;
        units.baseWidth_ =
            std::max(units.baseWidth_, (needed * 4 + fit.widthUnits - 1) / fit.widthUnits);
    }
    return units;
}

int DialogUnits::x(int units) const {
    return scale(units, baseWidth_, 4);
}

int DialogUnits::y(int units) const {
    return scale(units, baseHeight_, 8);
}

QRect DialogUnits::rect(int x, int y, int width, int height) const {
    // Convert the edges, not the extent, so neighbouring controls meet without gaps.
    const int left = this->x(x);
    const int top = this->y(y);
    return QRect(left, top, this->x(x + width) - left, this->y(y + height) - top);
}

QSize DialogUnits::size(int width, int height) const {
    return QSize(x(width), y(height));
}

QFont dialogFont(int pointSize) {
    // The dialogs were drawn for a classic sans-serif bitmap face that Linux does not have; the
    // platform's own dialog font at the same point size keeps the proportions.
    QFont font = QApplication::font("QDialog");
    font.setPointSize(pointSize);
    return font;
}

} // namespace quelna
