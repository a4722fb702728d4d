#pragma once
// The main window: the whole tournament as one grid (player list, then a seat column and a points
// column per round), the command buttons and the menu. It runs modally; its exec() is the
// program's main loop.
#include <QDialog>
#include <QHash>
#include <QPointer>
#include <QRect>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "core/tournament.h"
#include "slides/slide_show.h"
#include "ui/grid_cells.h"
#include "ui/grid_layout.h"
#include "ui/grid_scroll.h"
#include "ui/manual_placement.h"
#include "ui/points_check.h"
#include "ui/tournament_document.h"

class QAction;
class QContextMenuEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QScrollBar;
class QTimer;

namespace quelna {

class AdjustmentCommands;
class ManualPlacement;
class PlayerPageService;
class RoundClockService;
class PrintMenu;
struct SeatingOutcome;
enum class SeatingRun;

// Control identifiers of the window; cells are addressed by (round, position) instead.
namespace ids {
inline constexpr int kSeatButton = 999;
inline constexpr int kManualButton = 990;
inline constexpr int kNumberButton = 993;
inline constexpr int kNamesButton = 995;
inline constexpr int kTeamsButton = 989;
inline constexpr int kResultsButton = 1000; // + round, test mode only
inline constexpr int kRoundButton = 1500;   // + round
inline constexpr int kNameEdit = 2000;      // + row
inline constexpr int kTeamEdit = 2500;      // + row
inline constexpr int kNumberEdit = 3000;    // + row
inline constexpr int kRoundHeader = 4000;   // + round, normal mode only
inline constexpr int kTableLabel = 9000;    // + table

inline constexpr int kLoadCommand = 40001;
inline constexpr int kSaveCommand = 40005;
inline constexpr int kExitCommand = 40003;
inline constexpr int kSettingsCommand = 40004;
inline constexpr int kSlideSeating = 40006;
inline constexpr int kSlideRoundResults = 40007;
inline constexpr int kSlideResultsAndSeating = 40008;
inline constexpr int kSlideStandings = 40009;
inline constexpr int kSlideTeamStandings = 40011;
inline constexpr int kCorrectRoundCommand = 40020;
inline constexpr int kCloseSlidesCommand = 40021;
inline constexpr int kRenamePlayerCommand = 40022;
inline constexpr int kSlidePreviousRoundResults = 40051;
inline constexpr int kSlideListHeadings = 40052;
inline constexpr int kSeatCommand = 40050; // the seat button's command in the "Тур" menu
inline constexpr int kShowRound = 40060;   // + round: widen it, as its round button does
} // namespace ids

// Where the window takes its size from and writes its autosave files; tests replace both.
struct MainWindowEnvironment {
    std::optional<QRect> workArea; // default: the primary screen's available geometry
    QString appDir;                // default: the directory of the settings and autosave files
};

class MainWindow : public QDialog, private GridCellListener {
    Q_OBJECT
  public:
    MainWindow(Tournament& t, bool testMode, QWidget* parent = nullptr);
    MainWindow(Tournament& t, bool testMode, const MainWindowEnvironment& env,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    QWidget* control(int id) const;
    QLineEdit* seatCell(int round, int position) const;
    QLineEdit* pointsCell(int round, int position) const;
    QAction* menuAction(int command) const;
    RoundClockService* roundClock() const { return clock_; }
    AdjustmentCommands* adjustmentCommands() const { return adjustmentCommands_; }

    // The record was changed outside the window (a test, a file read before): the document takes
    // it as a whole and the grid shows it.
    void refreshFromTournament();
    TournamentDocument* document() const { return doc_; }
    void showRound(int k);
    // A points cell still being typed in goes to the document, as leaving it would.
    void commitFocusedCell();
    // Reads a tournament file chosen before the window opened (resuming), and shows it.
    void openTournamentFile(const QString& fileName);
    // The file the organiser chose to open with its own size: the window closed for it, and
    // whoever runs the window opens it anew for that size. Empty otherwise.
    QString reopenFile() const { return reopenFile_; }

    // Correcting a past round: its points are editable until "Готово".
    void startCorrection(int round);
    // Asks first when the round has a red table or one not typed yet; false when the organiser
    // goes on correcting.
    bool finishCorrection(bool ask = false);
    int correctingRound() const { return correctingRound_; }
    QWidget* correctionBanner() const { return correctionBanner_; }
    // The slide show running beside the window on another screen, if any.
    SlideShow* slidesBeside() const { return slidesBeside_; }

    // Vertical scrolling by rows of 20 pixels, as the scroll bar and the wheel drive it.
    void lineUp() { scroll_->lineUp(); }
    void lineDown() { scroll_->lineDown(); }
    void pageUp() { scroll_->pageUp(); }
    void pageDown() { scroll_->pageDown(); }

    bool testMode() const { return testMode_; }
    int shownRound() const { return shownRound_; }
    int scrollPos() const { return scroll_->pos(); }
    int scrollMax() const { return geometry_.scrollMax; }
    bool upArrowEnabled() const { return scroll_->upArrow(); }
    bool downArrowEnabled() const { return scroll_->downArrow(); }
    const ColumnWidths& columnWidths() const { return geometry_.widths; }
    const GridGeometry& gridGeometry() const { return geometry_; }
    QScrollBar* verticalBar() const { return scrollBar_; }
    // The widget that holds the grid and moves when the window scrolls.
    QWidget* gridArea() const { return content_; }
    QString autosaveDir() const { return appDir_; }

    bool manualMode() const { return placement_->on(); }
    int selectedUnplaced() const { return placement_->selectedUnplaced(); }
    int selectedPlaced() const { return placement_->selectedPlaced(); }
    bool tableError(int table) const { return tableError_[table]; }

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void buildMenu();
    void buildGrid();
    void placePlayerList(int listWidth);

    // Reaching the seat command and past rounds on a grid that scrolls: the "Тур" menu, the seat
    // button's twin in the menu bar, and the marks of red tables whose points column is folded.
    void buildRoundMenu();
    void buildSeatPointer();
    void syncSeatCommands();
    void updateRoundItems();
    void relayoutMenuCorner();
    void placeListHeaders(int listWidth);
    enum class OtherSize { Reopen, Load, Cancel };
    OtherSize askOtherSize(int players, int rounds);

    GridCell* cell(GridCell::Kind kind, int round, int position) const;
    QString seatText(int player, int round) const;
    // What a points cell shows for the player's entry of the round.
    QString pointsText(int round, int player) const;
    // Whether a cell's text means what the record holds for the player.
    bool cellSays(const QString& text, int round, int player) const;

    // The views following the document.
    void showRecord();
    void showTable(int round, int table);
    void onPointsChanged(int round, int table);
    void onPlayersChanged();
    void onNameChanged(int player);
    void renamePlayerCommand();

    // Enable rules on typing, and the states a refresh leaves.
    void nameRule();
    void numberRule();
    void pointsRule();
    bool numbersComplete() const;
    bool latestPointsFilled() const;
    bool computeTableError(int round, int table) const;
    void applyTableTone(int round, int table);
    void updateSlideItems();

    void seatCommand();
    // Runs one seating of the copy behind the progress dialog; the slides wait meanwhile.
    SeatingOutcome runSeating(Tournament& copy, SeatingRun run);
    void numberPlayersInOrder();
    void roundButton(int r);
    void loadFile();
    void saveFile();
    void openSettings();
    void openSlides(int kind);
    void registrationEdited(int row);
    void autosave(int k);

    // Beside the plain commands: the question before seating over errors, correcting a past
    // round, saving what was typed, and the slides on another screen following the record.
    bool confirmSeatOverErrors();
    // Yes or No to a question of the window, No the default.
    bool askYesNo(const QString& question);
    void buildCorrectionBanner();
    void chooseRoundToCorrect(int suggested);
    bool pointsCellMenu(QContextMenuEvent* e);
    void showTotalsFrom(int round);
    void closeSlides();
    void updateCorrectionItems();

    // Test mode.
    void randomNames();
    void randomTeams();
    void randomResults(int r);

    void cellFocusIn(GridCell& cell, Qt::FocusReason reason) override;
    void cellFocusOut(GridCell& cell, Qt::FocusReason reason) override;
    void cellStep(GridCell& cell, int step) override;

    TournamentDocument* doc_;
    const Tournament& t_; // read only: every change goes through doc_
    const bool testMode_;
    const int n_;
    const int rounds_;
    QString appDir_;
    QRect workArea_;
    GridGeometry geometry_;

    QMenuBar* menuBar_ = nullptr;
    QWidget* clip_ = nullptr;
    QWidget* content_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QHash<int, QWidget*> controls_;
    QHash<int, QAction*> actions_;
    PrintMenu* printMenu_ = nullptr;
    QWidget* menuCorner_ = nullptr;      // the seat pointer and the correction banner
    QPushButton* seatPointer_ = nullptr; // shown while the grid scrolls
    QLabel* nameHeader_ = nullptr;
    QLabel* teamHeader_ = nullptr;
    std::vector<RoundColumn> columns_; // of the view shown now

    std::vector<QLineEdit*> nameEdits_;
    std::vector<QLineEdit*> teamEdits_;
    std::vector<QLineEdit*> numberEdits_;
    std::vector<GridCell*> seatCells_;   // [round * N + position]
    std::vector<GridCell*> pointsCells_; // [round * N + position]
    std::vector<QWidget*> headers_;      // label 4000 + r or button 1000 + r
    std::vector<QPushButton*> roundButtons_;
    std::vector<QLabel*> tableLabels_;
    QPushButton* seatButton_ = nullptr;
    QPushButton* manualButton_ = nullptr;
    QPushButton* numberButton_ = nullptr;
    QPushButton* namesButton_ = nullptr;
    QPushButton* teamsButton_ = nullptr;

    int shownRound_ = 0;
    std::unique_ptr<GridScroll> scroll_;
    bool refreshing_ = false;
    std::vector<int> rowPlayer_; // player shown in each row of the list
    std::vector<bool> tableError_;

    std::unique_ptr<ManualPlacement> placement_;

    int correctingRound_ = -1;
    QWidget* correctionBanner_ = nullptr;
    QLabel* correctionText_ = nullptr;
    QTimer* typedSave_ = nullptr; // coalesces typed points into one autosave
    QPointer<SlideShow> slidesBeside_;
    QString reopenFile_;

    QMenu* serviceMenu_ = nullptr;
    AdjustmentCommands* adjustmentCommands_ = nullptr; // substitutes, penalties, final scores

#if QUELNA_PLAYER_PAGE
    // The players' page and its server; stopped before the record goes.
    std::unique_ptr<PlayerPageService> playerPage_;
#endif
    RoundClockService* clock_ = nullptr; // a child of the window
};

} // namespace quelna
