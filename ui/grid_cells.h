#pragma once
// The cells of the round columns: a seat cell (who sits at a table position) and a points cell
// (what that player scored). Each knows its round and position and reports focus changes.
#include <QLineEdit>

namespace quelna {

class GridCell;

class GridCellListener {
  public:
    virtual void cellFocusIn(GridCell& cell, Qt::FocusReason reason) = 0;
    virtual void cellFocusOut(GridCell& cell, Qt::FocusReason reason) = 0;
    // Enter or Down (step +1), Up (step -1) in a points cell: move on within the round.
    virtual void cellStep(GridCell& cell, int step) = 0;

  protected:
    ~GridCellListener() = default;
};

// How a cell is drawn; the palette is touched only when the tone changes.
enum class CellTone {
    Normal,
    ErrorText,    // red text: a table whose points do not sum to zero
    SelectedText, // red text on button face: the player picked for placement
    PlacedText,   // grey text on button face: a player already placed in the next round
};

class GridCell : public QLineEdit {
  public:
    enum class Kind { Seat, Points };

    GridCell(Kind kind, int round, int position, GridCellListener* listener, QWidget* parent);

    Kind kind() const { return kind_; }
    int round() const { return round_; }
    int position() const { return position_; }

    void setListener(GridCellListener* listener) { listener_ = listener; }

    // Text set by the program: shown from its beginning, as a read-only edit set by the program
    // shows it on Windows, with the whole text as tip when it does not fit.
    void showText(const QString& text);
    // The text is wider than what the cell shows of it.
    bool textCut() const;

    CellTone tone() const { return tone_; }
    void setTone(CellTone tone);

  protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void updateCutTip();

    Kind kind_;
    int round_;
    int position_;
    GridCellListener* listener_;
    CellTone tone_ = CellTone::Normal;
    bool selectOnPress_ = false; // the click that brings the focus selects, as Tab does
    bool heldSelected_ = false;  // that click's button is still down where it was pressed
    QPoint pressPos_;
};

} // namespace quelna
