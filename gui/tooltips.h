#pragma once
// Tips of every window: shown 300 ms after the pointer comes to rest, wrapped at 200 pixels.
#include <QString>

class QApplication;
class QFontMetrics;

namespace quelna {

inline constexpr int kToolTipDelayMs = 300;
inline constexpr int kToolTipWidth = 200;

// Breaks a plain-text tip into lines no wider than width pixels: at blanks where possible,
// inside a word only when the word alone is wider. Line breaks already in the text stay.
QString wrapToolTip(const QString& text, const QFontMetrics& metrics, int width = kToolTipWidth);

// Sets the wake-up delay through the application style and shows every plain-text tip wrapped.
// Safe to call more than once.
void installToolTipBehaviour(QApplication& app);

} // namespace quelna
