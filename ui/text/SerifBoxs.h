// TSerifBox: the box that types a text one character per cell, page by page, and waits for the
// player's click at the end of each page with a blinking mark. The battle window shows every
// battle message through it, the story window the closing story.
#pragma once

#include <QFont>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "ui/text/Fonts.h"

class QEventLoop;

namespace milgant {

// Whether byte k (1-based) of s is the second byte of a double-byte CP932 character: it is when
// the run of lead bytes directly before it is odd. Throws std::out_of_range ("Illegal Index")
// for k outside 1..s.size().
bool IsTrailByteAt(std::string_view s, std::size_t k);


class TSerifBox : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMaxCells = 100000;

  // One cell: one single-byte or one double-byte CP932 character; a blank cell holds " ".
  struct Cell {
    std::uint8_t Length = 0;
    std::array<char, 2> Bytes{};
    std::string_view View() const { return {Bytes.data(), Length}; }
  };

  explicit TSerifBox(QWidget* parent = nullptr);
  ~TSerifBox() override;

  // --- properties -------------------------------------------------------------------------
  QStringList Lines;            // the text; one entry per line
  int TextWidth = 15;           // cell width in pixels
  int TextHeight = 15;          // cell height in pixels
  int HorizontalSpace = 5;      // left and right margin
  int VerticalSpace = 5;        // top and bottom margin
  bool AutoStop = false;        // true: no click wait after the last page
  int WaitTime = 50;            // milliseconds between two typed characters
  bool SpaceSkip = true;        // blank cells appear without a pause
  bool ShowWaitCursor = true;   // the blinking mark while a click is awaited
  QColor FontColor = Qt::black; // text and wait-mark colour (the owner sets it in OnPaint)
  bool HoldMark = false;        // the owner waits on something else: the mark stands still
  int AutoAdvanceMs = 0;        // > 0: a page wait ends by itself after this long (a click sooner)

  // --- events -----------------------------------------------------------------------------
  std::function<void(TSerifBox*)> OnFlowStart;
  std::function<void(TSerifBox*)> OnFlowText;
  std::function<void(TSerifBox*)> OnFlowEnd;
  // Fired by the click that ends a page wait; may set the direction (0 next, 1 previous, other
  // the same page).
  std::function<void(TSerifBox*, std::uint8_t&)> OnPageChange;
  std::function<void(TSerifBox*)> OnIdle;
  // The owner's paint handler runs first, on the box's own painter: it paints the background
  // and may set the font and FontColor.
  std::function<void(TSerifBox*, QPainter&)> OnPaint;
  // A click on the box; the owner passes it on to Next().
  std::function<void(TSerifBox*)> OnClick;

  // --- operations -------------------------------------------------------------------------
  // Builds the cells from Lines and types them page by page; returns when the text is finished.
  // With pumpMessages false the pauses between characters take no input: a click made while
  // typing stays queued and ends the next click wait at once.
  void Play(bool pumpMessages);
  // A click: ends a click wait. While typing it does nothing, except that without message
  // processing it is kept for the next wait.
  void Next();
  // Empties the cells and repaints.
  void Clear();
  // Ends any wait and the typing at once (the program is closing); Play returns soon after.
  void Abort();

  // --- state, read by the owner and the tests -----------------------------------------------
  int Columns() const;
  int Rows() const;
  int CellsPerPage() const { return Columns() * Rows(); }
  // Top-left pixel of cell i (1-based).
  QPoint CellOrigin(int i) const;
  // The square of the wait mark for the page on screen.
  QRect MarkRect() const;
  int CellCount() const { return cellCount_; }
  int CurrentCell() const { return currentCell_; }
  int PageStart() const { return pageStart_; }
  int PageEnd() const { return pageEnd_; }
  bool Waiting() const { return waiting_; }
  bool Finished() const { return finished_; }
  bool Playing() const { return playing_; }
  bool Aborted() const { return aborted_; }
  const Cell& CellAt(int i) const { return cells_[static_cast<std::size_t>(i - 1)]; }
  // The text of a cell, decoded for drawing.
  QString CellText(int i) const;
  // How many click waits have begun since construction (the tests count them).
  int WaitsBegun() const { return waitsBegun_; }
  // How many pauses between characters typing has asked for since construction.
  int PausesTaken() const { return pausesTaken_; }
  // How many page waits ended by themselves (AutoAdvanceMs) since construction.
  int WaitsRunOut() const { return waitsRunOut_; }

  // Where a glyph sits in its cell.
  static Qt::Alignment CellAlignment(const QString& glyph);

  // Builds the cells from CP932 bytes as Play does, without typing (also used by the tests).
  void BuildCells(std::string_view cp932);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void TypePages();
  void Pause(int ms);
  void WaitForClick();
  void RunLoop(int ms, bool takeInput);
  QRect CellRect(int i) const;
  bool Hurried() const;

  std::array<Cell, kMaxCells> cells_{};
  int currentCell_ = 0;
  int pageStart_ = 0;
  int pageEnd_ = 0;
  int cellCount_ = 0;
  bool waiting_ = false;
  bool finished_ = true;
  bool pump_ = false;
  bool playing_ = false;
  bool pendingClick_ = false;
  bool aborted_ = false;
  bool pressed_ = false;
  int markPhase_ = 0;  // 0 none, 1 full circle, 2 lower half
  std::uint8_t direction_ = 0;
  int waitsBegun_ = 0;
  int pausesTaken_ = 0;
  int waitsRunOut_ = 0;
  QEventLoop* loop_ = nullptr;
};

}  // namespace milgant
