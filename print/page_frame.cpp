#include "print/page_frame.h"

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include "print/print_text.h"

namespace quelna {

namespace {

constexpr double kMarginMm = 15;
constexpr double kTitlePoints = 14;
constexpr double kCaptionPoints = 12;
constexpr double kFootPoints = 9;

} // namespace

PageFrame::PageFrame(QPagedPaintDevice& device, QPageLayout::Orientation orientation,
                     const QString& title)
    : device_(&device), title_(title) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                     QPageLayout::Millimeter));
}

void PageFrame::setCaption(const QString& caption) {
    caption_ = caption;
}

double PageFrame::mm(double millimetres) const {
    return millimetres * device_->logicalDpiX() / 25.4;
}

double PageFrame::headHeight() const {
    if (caption_.isEmpty())
        return 0;
    double h = QFontMetricsF(printFont(kCaptionPoints, true), device_).lineSpacing();
    if (!title_.isEmpty()) {
        const FittedText title =
            fitText(title_, printFont(kTitlePoints, true), device_->width(), 2, 10, device_);
        h += title.height();
    }
    return h + mm(4);
}

double PageFrame::footHeight() const {
    return QFontMetricsF(printFont(kFootPoints), device_).lineSpacing() + mm(3);
}

QRectF PageFrame::body() const {
    const double top = headHeight();
    return QRectF(0, top, device_->width(), device_->height() - top - footHeight());
}

void PageFrame::drawFrame(QPainter& p, int page) const {
    const double width = device_->width();
    p.setPen(QPen(Qt::black, mm(0.3)));
    if (!caption_.isEmpty()) {
        double y = 0;
        if (!title_.isEmpty()) {
            const FittedText title =
                fitText(title_, printFont(kTitlePoints, true), width, 2, 10, device_);
            drawFitted(p, title, QRectF(0, 0, width, title.height()), Qt::AlignHCenter);
            y = title.height();
        }
        const FittedText caption =
            fitText(caption_, printFont(kCaptionPoints, true), width, 1, 9, device_);
        drawFitted(p, caption, QRectF(0, y, width, caption.height()), Qt::AlignHCenter);
        y += caption.height() + mm(1.5);
        p.drawLine(QPointF(0, y), QPointF(width, y));
    }
    const QFont foot = printFont(kFootPoints);
    const double footLine = QFontMetricsF(foot, device_).lineSpacing();
    p.setFont(foot);
    p.drawText(QRectF(0, device_->height() - footLine, width, footLine), Qt::AlignCenter,
               QStringLiteral(u"стр. %1 из %2").arg(page + 1).arg(pageCount()));
}

void PageFrame::addToLastPage(PageDraw draw) {
    if (pages_.empty()) {
        addPage(std::move(draw));
        return;
    }
    pages_.back() = [before = std::move(pages_.back()), draw = std::move(draw)](QPainter& p) {
        before(p);
        draw(p);
    };
}

bool PageFrame::render() {
    if (pages_.empty())
        addPage([](QPainter&) {});
    QPainter p;
    if (!p.begin(device_))
        return false;
    for (int i = 0; i < pageCount(); ++i) {
        if (i > 0 && !device_->newPage()) {
            p.end();
            return false;
        }
        p.save();
        drawFrame(p, i);
        p.restore();
        p.save();
        p.setPen(QPen(Qt::black, mm(0.2)));
        pages_[i](p);
        p.restore();
    }
    return p.end();
}

} // namespace quelna
