#pragma once
// Dialog layouts are given in dialog units: a quarter of the average character width across and
// an eighth of the line height down, both taken from the dialog's font.
#include <QFont>
#include <QRect>
#include <QSize>

namespace quelna {

class DialogUnits {
  public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseWidth, int baseHeight) : baseWidth_(baseWidth), baseHeight_(baseHeight) {}

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
