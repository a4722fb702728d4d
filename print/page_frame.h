#pragma once
// The frame every printed page shares: A4 with 15 mm margins, the tournament title and the
// document's caption at the head, "стр. i из n" at the foot. Documents add their pages as
// drawing steps first, so the frame knows n before the first page is painted.
#include <QFont>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QRectF>
#include <QString>
#include <functional>
#include <vector>

class QPainter;

namespace quelna {

class PageFrame {
  public:
    using PageDraw = std::function<void(QPainter&)>;

    // Sets the device to A4 in the given orientation with 15 mm margins.
    PageFrame(QPagedPaintDevice& device, QPageLayout::Orientation orientation,
              const QString& title);

    // The heading of every page: the title over the caption. An empty caption leaves the head
    // of the page to the document (the score sheets carry their own).
    void setCaption(const QString& caption);

    // The area left to the document between head and foot, in device pixels.
    QRectF body() const;
    double mm(double millimetres) const;
    QPagedPaintDevice* device() const { return device_; }
    const QString& title() const { return title_; }

    void addPage(PageDraw draw) { pages_.push_back(std::move(draw)); }
    // Draws more on the page added last (a new page when there is none yet).
    void addToLastPage(PageDraw draw);
    int pageCount() const { return static_cast<int>(pages_.size()); }

    // Paints every page, at least one. False when the device could not be painted on.
    [[nodiscard]] bool render();

  private:
    double headHeight() const;
    double footHeight() const;
    void drawFrame(QPainter& p, int page) const;

    QPagedPaintDevice* device_;
    QString title_;
    QString caption_;
    std::vector<PageDraw> pages_;
};

} // namespace quelna
