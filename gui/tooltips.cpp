#include "gui/tooltips.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QStringList>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>

namespace quelna {

namespace {

class ToolTipDelayStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay)
            return kToolTipDelayMs;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// Shows the widget's own tip text wrapped, leaving the text itself as the code set it.
class ToolTipWrapper : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        const QString tip = widget->toolTip();
        if (tip.isEmpty() || Qt::mightBeRichText(tip))
            return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), wrapToolTip(tip, QFontMetrics(QToolTip::font())),
                           widget, QRect(), widget->toolTipDuration());
        return true;
    }
};

// Appends one word to the lines, splitting it by characters when it is wider than the line.
void appendWord(QStringList& lines, const QString& word, const QFontMetrics& fm, int width) {
    QString& current = lines.last();
    const QString joined = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
    if (fm.horizontalAdvance(joined) <= width) {
        current = joined;
        return;
    }
    if (!current.isEmpty())
        lines.append(QString());
    QString rest = word;
    while (fm.horizontalAdvance(rest) > width && rest.size() > 1) {
        qsizetype cut = 1;
        while (cut < rest.size() && fm.horizontalAdvance(rest.left(cut + 1)) <= width)
            ++cut;
        lines.last() = rest.left(cut);
        lines.append(QString());
        rest = rest.mid(cut);
    }
    lines.last() = rest;
}

} // namespace

QString wrapToolTip(const QString& text, const QFontMetrics& metrics, int width) {
    QStringList out;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QStringList lines{QString()};
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            appendWord(lines, word, metrics, width);
        out += lines;
    }
    return out.join(QLatin1Char('\n'));
}

void installToolTipBehaviour(QApplication& app) {
    static QPointer<ToolTipWrapper> wrapper;
    if (!dynamic_cast<ToolTipDelayStyle*>(QApplication::style()))
        QApplication::setStyle(new ToolTipDelayStyle);
    if (!wrapper) {
        wrapper = new ToolTipWrapper(&app);
        app.installEventFilter(wrapper);
    }
}

} // namespace quelna
