#pragma once
// The full-screen slide show for the players: seating, round results and standings, paged by a
// one-second timer, on the first or the second monitor.
#include <QDialog>
#include <QFont>
#include <QRect>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

#include "core/tournament.h"
#include "slides/clock_slide.h"

class QFrame;
class QLabel;
class QScreen;

namespace quelna {

// In the order of the slide-show menu.
enum class SlideKind {
    Seating = 0,
    RoundResults = 1,
    RoundResultsAndSeating = 2,
    Standings = 3,
    TeamStandings = 4,
    RoundClock = 5,
    // The table cards of the round before the latest seated one: its results stay on show after
    // the next round has been seated.
    PreviousRoundResults = 6
};

// The slide options as they are when a show opens; a show never sees them change.
struct SlideOptions {
    QString title;
    bool onSecondary = false;
    int interval = 7; // seconds a page stays, minus one
    int tablesX = 2;
    int tablesY = 2;
    int lines = 8;
    // The standings lists name themselves in a band under the title and end at their last line.
    bool listHeadings = false;
};

// Reads settings(); a value outside its range gives its default, so no layout divides by zero.
SlideOptions currentSlideOptions();

// The screen the show covers: the second one when asked for and present, else the first.
// Null only when the platform reports no screen at all.
QScreen* slideScreen(bool onSecondary);

class SlideContent;

class SlideShow : public QDialog {
    Q_OBJECT
  public:
    // Lays the slide out on the screen chosen by the settings, with page 0 filled. The clock
    // kind needs clock.clock; the others show it in a corner when the clock asks for it.
    SlideShow(QWidget* owner, const Tournament& t, SlideKind kind, const SlideClock& clock = {});
    // Same on an explicit monitor rectangle (screen pixels).
    SlideShow(QWidget* owner, const Tournament& t, SlideKind kind, const QRect& monitor,
              const SlideOptions& options, const SlideClock& clock = {});
    ~SlideShow() override;

    SlideKind kind() const { return kind_; }
    QRect monitor() const { return monitor_; }
    const SlideOptions& options() const { return options_; }
    int page() const { return page_; }
    int pageCount() const { return pageCount_; }
    int secondsShown() const { return secondsShown_; }
    bool showing() const { return showing_; }
    bool timerActive() const { return timer_.isActive(); }
    int timerInterval() const { return timer_.interval(); }

    // One second of the paging timer.
    void tick();
    // Shows the clock (the clock slide, the corner) as it is now; a timer calls it 5 times a
    // second.
    void refreshClock();
    QLabel* clockCorner() const { return clockCorner_; } // null unless shown

    // The record changed: the next page is laid out and filled from it anew (at once when
    // there is only one page).
    void recordChanged();
    // While paused (the record is being written elsewhere) the show neither pages nor repaints.
    void setPaused(bool paused);

    QLabel* titleLabel() const { return titleLabel_; }
    QLabel* roundLabel() const { return roundLabel_; } // null for kinds without a round band
    // Column headings of the lists, left to right.
    const std::vector<QLabel*>& headingLabels() const { return headingLabels_; }
    // The cells a page fill writes, in fill order: per card the caption, then name and value of
    // seats 0..3; per list line one label per column.
    const std::vector<QLabel*>& contentLabels() const { return contentLabels_; }
    // Frames and lines in the order they were laid out.
    const std::vector<QFrame*>& frames() const { return frames_; }

    const QFont& titleFont() const { return titleFont_; }
    const QFont& roundFont() const { return roundFont_; }
    const QFont& captionFont() const { return captionFont_; }
    const QFont& cellFont() const { return cellFont_; }

    // Used by the kinds while they lay the slide out.
    void setContentFonts(int captionHeight, bool captionBold, int cellHeight);
    void addBands(int margin, int band, bool withRound, int roundNumber);
    // The second band with a text of the kind's own instead of the round.
    void addBands(int margin, int band, const QString& heading);
    // A widget of the kind's own (the clock's bar): shown with the slide, gone with its layout.
    void adoptWidget(QWidget* w);
    QLabel* addContentLabel(const QRect& r, const QFont& font);
    QLabel* addHeadingLabel(const QRect& r, Qt::Alignment align = Qt::AlignCenter,
                            bool wrap = false);
    QFrame* addFrame(const QRect& r);

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

  public slots:
    void done(int result) override;

  private:
    void open(QScreen* screen);
    void addClockCorner();
    void layOut();
    void clearLayout();
    QLabel* makeLabel(const QRect& r, const QFont& font, Qt::Alignment align, bool wrap);

    const Tournament& tournament_;
    SlideKind kind_;
    SlideOptions options_;
    QRect monitor_;
    int page_ = 0;
    int pageCount_ = 0;
    int secondsShown_ = 0;
    bool showing_ = true;
    bool stale_ = false;
    bool paused_ = false;
    QTimer timer_;
    QFont titleFont_;
    QFont roundFont_;
    QFont captionFont_;
    QFont cellFont_;
    QLabel* titleLabel_ = nullptr;
    QLabel* roundLabel_ = nullptr;
    std::vector<QLabel*> headingLabels_;
    std::vector<QLabel*> contentLabels_;
    std::vector<QFrame*> frames_;
    std::vector<QWidget*> ownWidgets_;
    std::unique_ptr<SlideContent> content_;
    SlideClock clock_;
    QTimer clockTimer_;
    QLabel* clockCorner_ = nullptr;
};

// Opens the show modally over owner and returns when it is closed.
void showSlideShow(QWidget* owner, const Tournament& t, SlideKind kind,
                   const SlideClock& clock = {});

// The main window's way: on the screen of owner as showSlideShow, returning null once closed.
// On another screen owner stays usable: returns the open show, which deletes itself when closed.
SlideShow* showSlideShowBeside(QWidget* owner, const Tournament& t, SlideKind kind,
                               const SlideClock& clock = {});

} // namespace quelna
