#pragma once
// Dialog layouts are given in dialog units: a quarter of the average character width across and
// an eighth of the line height down, both taken from the dialog's font.
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

namespace quelna {

class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseWidth, int baseHeight) : baseWidth_(baseWidth), baseHeight_(baseHeight) {}

    // A text that must be readable in a control widthUnits wide; extraPixels is what the control
    // itself takes (a check box's box, a frame's margins).
    struct TextFit {
        QString text;
        int widthUnits;
        int extraPixels = 0;
    };
    // The units of the font, widened where the font's letters run wider than the layout was
    // drawn for, so that no text is cut off.
    static DialogUnits fitting(const QFont& font, const std::vector<TextFit>& texts);

    int x(int units) const;
    int y(int units) const;
    QRect rect(int x, int y, int width, int height) const;
    QSize size(int width, int height) const;

    int baseWidth() const { return baseWidth_; }
    int baseHeight() const { return baseHeight_; }

  private:
    int baseWidth_;
    int baseHeight_;
};

// The font dialogs are laid out with: the platform's dialog font at the given point size.
QFont dialogFont(int pointSize);

} // namespace quelna
