// The typed text box: cell geometry, the cells built from a text (line-break padding, one cell
// per character of either width, the cut at 100000 cells), page turns and click waits ended by
// clicks, and what is painted before and after a text.
#include "ui/text/SerifBoxs.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/game/Text.h"

using milgant::TSerifBox;

namespace {

// A box of 5 columns and 2 rows of 10-pixel cells without margins.
void MakeSmall(TSerifBox& box) {
  box.TextWidth = 10;
  box.TextHeight = 10;
  box.HorizontalSpace = 0;
  box.VerticalSpace = 0;
  box.resize(50, 20);
  box.WaitTime = 0;
}

// Clicks the box whenever it waits, noting the page on screen; gives up (and aborts the box)
// after a few seconds so a broken wait fails the test instead of hanging it.
class Clicker {
 public:
  explicit Clicker(TSerifBox& box) : box_(box) {
    tick_.setInterval(0);
    QObject::connect(&tick_, &QTimer::timeout, [this] {
      if (!box_.Waiting()) return;
      pages.push_back(box_.PageStart());
      box_.Next();
    });
    tick_.start();
    guard_.setSingleShot(true);
    QObject::connect(&guard_, &QTimer::timeout, [this] {
      timedOut = true;
      box_.Abort();
    });
    guard_.start(5000);
  }
  std::vector<int> pages;
  bool timedOut = false;

 private:
  TSerifBox& box_;
  QTimer tick_, guard_;
};

void PostClick(QWidget* w) {
  const QPointF at(w->width() / 2.0, w->height() / 2.0);
  const QPointF global = w->mapToGlobal(at);
  QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                 Qt::LeftButton, Qt::NoModifier));
  QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                                 Qt::NoButton, Qt::NoModifier));
}

TEST(SerifBoxGeometry, CellsOfTheBattleAndStoryBoxes) {
  struct Case {
    int width, height, cell, columns, rows;
    QPoint origin;
  };
  // The battle box is 301 x 94, the story box 790 x 150, both with margins 16 and 10.
  const Case cases[] = {
      {301, 94, 1, 17, 4, {16, 10}},    {301, 94, 17, 17, 4, {256, 10}},
      {301, 94, 18, 17, 4, {16, 25}},   {301, 94, 68, 17, 4, {256, 55}},
      {301, 94, 69, 17, 4, {16, 10}},   {301, 94, 86, 17, 4, {16, 25}},
      {790, 150, 1, 50, 8, {16, 10}},   {790, 150, 50, 50, 8, {751, 10}},
      {790, 150, 51, 50, 8, {16, 25}},  {790, 150, 400, 50, 8, {751, 115}},
      {790, 150, 401, 50, 8, {16, 10}},
  };
  for (const Case& c : cases) {
    TSerifBox box;
    box.HorizontalSpace = 16;
    box.VerticalSpace = 10;
    box.resize(c.width, c.height);
    EXPECT_EQ(box.Columns(), c.columns);
    EXPECT_EQ(box.Rows(), c.rows);
    EXPECT_EQ(box.CellOrigin(c.cell), c.origin) << c.width << " cell " << c.cell;
  }
}

TEST(SerifBoxCells, TrailByteTest) {
  const std::string hyo = "\x95\x5C";  // 表: a trail byte that is also a backslash
  EXPECT_FALSE(milgant::IsTrailByteAt(hyo, 1));
  EXPECT_TRUE(milgant::IsTrailByteAt(hyo, 2));
  const std::string run = "\x88\x9F\x88\x9F";  // trail bytes in the lead range
  EXPECT_TRUE(milgant::IsTrailByteAt(run, 2));
  EXPECT_FALSE(milgant::IsTrailByteAt(run, 3));
  EXPECT_TRUE(milgant::IsTrailByteAt(run, 4));
  EXPECT_FALSE(milgant::IsTrailByteAt("a\x5C", 2));
  EXPECT_THROW(milgant::IsTrailByteAt(hyo, 0), std::out_of_range);
  EXPECT_THROW(milgant::IsTrailByteAt(hyo, 3), std::out_of_range);
}

TEST(SerifBoxCells, BuiltFromTheText) {
  struct Case {
    const char* name;
    std::string cp932;
    int count;
    std::vector<std::pair<int, std::string>> cells;  // cell number and its bytes
  };
  const std::string a = milgant::Cp932("あ");
  const std::string so = milgant::Cp932("ソ");  // 83 5C
  const Case cases[] = {
      {"single bytes", "ab", 2, {{1, "a"}, {2, "b"}}},
      {"double bytes", milgant::Cp932("あいう"), 3, {{1, a}, {3, milgant::Cp932("う")}}},
      {"mixed", "a" + a + "b", 3, {{1, "a"}, {2, a}, {3, "b"}}},
      {"backslash trail byte", so + "\\", 2, {{1, so}, {2, "\\"}}},
      {"half-width kana", milgant::Cp932("ｱｲ"), 2, {{1, "\xB1"}, {2, "\xB2"}}},
      {"break mid-row", "ab\rc", 6, {{3, " "}, {4, " "}, {5, " "}, {6, "c"}}},
      {"break on the first column blanks the row", "abcde\rf", 11, {{6, " "}, {10, " "}, {11, "f"}}},
      {"break on the last column blanks the next row too", "abcd\re", 11, {{5, " "}, {10, " "}, {11, "e"}}},
      {"line feed dropped", "a\r\nb", 6, {{2, " "}, {5, " "}, {6, "b"}}},
      {"lead byte at the end", "a\x83", 2, {{1, "a"}, {2, "\x83"}}},
  };
  for (const Case& c : cases) {
    TSerifBox box;
    MakeSmall(box);
    box.BuildCells(c.cp932);
    EXPECT_EQ(box.CellCount(), c.count) << c.name;
    for (const auto& [i, bytes] : c.cells) EXPECT_EQ(box.CellAt(i).View(), bytes) << c.name << " cell " << i;
    EXPECT_EQ(box.PageStart(), 1) << c.name;
    EXPECT_EQ(box.PageEnd(), std::min(10, c.count)) << c.name;
  }
}

// The cells split any bytes where the trail-byte test, asked at every position, splits them.
TEST(SerifBoxCells, SplitAgreesWithTheTrailByteTest) {
  std::uint32_t seed = 12345;
  for (int n = 0; n < 300; ++n) {
    std::string bytes;
    const int length = 1 + n % 40;
    for (int k = 0; k < length; ++k) {
      seed = seed * 134775813u + 1u;
      const char pool[] = {'a', '\x5C', '\x81', '\x88', '\x9F', '\xB1', '\xE0', '\xFC', '\x40', '\xFD'};
      bytes += pool[(seed >> 16) % sizeof(pool)];
    }
    int expected = 0;
    for (std::size_t p = 0; p < bytes.size(); ++p) {
      if (p + 1 < bytes.size() && milgant::IsTrailByteAt(bytes, p + 2)) ++p;
      ++expected;
    }
    TSerifBox box;
    MakeSmall(box);
    box.resize(500, 500);
    box.BuildCells(bytes);
    EXPECT_EQ(box.CellCount(), expected) << n;
  }
}

TEST(SerifBoxCells, CutAtOneHundredThousandCells) {
  TSerifBox box;
  MakeSmall(box);
  box.BuildCells(std::string(100005, 'x'));
  EXPECT_EQ(box.CellCount(), TSerifBox::kMaxCells);
  // Padding of a break stops at the limit as well.
  box.BuildCells(std::string(99998, 'x') + "\ry");
  EXPECT_EQ(box.CellCount(), TSerifBox::kMaxCells);
  EXPECT_EQ(box.CellAt(TSerifBox::kMaxCells).View(), " ");
}

TEST(SerifBoxPlay, WaitsPerPage) {
  struct Case {
    const char* name;
    const char* text;
    bool autoStop;
    int waits;
    std::vector<int> pages;
  };
  const Case cases[] = {
      {"exactly one page waits once", "abcdefghij", false, 1, {1}},
      {"one page with AutoStop never waits", "abcdefghij", true, 0, {}},
      {"two pages", "abcdefghijk", false, 2, {1, 11}},
      {"two pages with AutoStop", "abcdefghijk", true, 1, {1}},
      {"three pages through a break", "abcdefghij\rk\rxyz", false, 3, {1, 11, 21}},
  };
  for (const Case& c : cases) {
    TSerifBox box;
    MakeSmall(box);
    box.AutoStop = c.autoStop;
    box.Lines = QStringList{QString::fromUtf8(c.text)};
    Clicker clicker(box);
    box.Play(false);
    EXPECT_FALSE(clicker.timedOut) << c.name;
    EXPECT_EQ(box.WaitsBegun(), c.waits) << c.name;
    EXPECT_EQ(clicker.pages, c.pages) << c.name;
    EXPECT_TRUE(box.Finished()) << c.name;
    EXPECT_EQ(box.CurrentCell(), box.CellCount()) << c.name;
  }
}

TEST(SerifBoxPlay, AHeldPageMovesOnByItself) {
  // Nobody clicks: each of the three pages ends its wait when its hold has passed.
  TSerifBox box;
  MakeSmall(box);
  box.AutoAdvanceMs = 1;
  box.Lines = QStringList{QStringLiteral("abcdefghij\rk\rxyz")};
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [&box] { box.Abort(); });
  guard.start(5000);
  box.Play(false);
  EXPECT_FALSE(box.Aborted());
  EXPECT_EQ(box.WaitsBegun(), 3);
  EXPECT_EQ(box.WaitsRunOut(), 3);
  EXPECT_TRUE(box.Finished());
}

TEST(SerifBoxPlay, PageTurnBackAndForth) {
  TSerifBox box;
  MakeSmall(box);
  box.Lines = QStringList{QStringLiteral("abcdefghijklmnopqrstuvwxy")};
  const std::vector<std::uint8_t> directions = {0, 1, 0, 0};
  std::size_t clicks = 0;
  box.OnPageChange = [&](TSerifBox*, std::uint8_t& d) { d = clicks < directions.size() ? directions[clicks++] : 0; };
  Clicker clicker(box);
  box.Play(true);
  // The click at the end of the text finishes it whatever the direction.
  EXPECT_EQ(clicker.pages, (std::vector<int>{1, 11, 1, 11, 21}));
}

TEST(SerifBoxPlay, EmptyTextReturnsAtOnce) {
  TSerifBox box;
  MakeSmall(box);
  bool started = false;
  box.OnFlowStart = [&](TSerifBox*) { started = true; };
  box.Play(false);
  box.Lines = QStringList{QString()};
  box.Play(true);
  EXPECT_FALSE(started);
  EXPECT_EQ(box.WaitsBegun(), 0);
  EXPECT_EQ(box.PageStart(), 0);
}

TEST(SerifBoxPlay, BlankCellsPauseOnlyWithoutSpaceSkip) {
  for (bool skip : {true, false}) {
    TSerifBox box;
    MakeSmall(box);
    box.SpaceSkip = skip;
    box.Lines = QStringList{QStringLiteral("ab\rc")};
    int typed = 0;
    box.OnFlowText = [&](TSerifBox*) { ++typed; };
    Clicker clicker(box);
    box.Play(false);
    EXPECT_EQ(typed, 3);
    EXPECT_EQ(box.PausesTaken(), skip ? 3 : 6);
  }
}

// A click made while a text types without message processing waits its turn and ends the next
// click wait at once; with message processing it is lost and the wait needs a click of its own.
TEST(SerifBoxPlay, ClickWhileTyping) {
  for (bool pump : {false, true}) {
    TSerifBox box;
    MakeSmall(box);
    box.WaitTime = 5;
    box.OnClick = [](TSerifBox* b) { b->Next(); };
    box.Lines = QStringList{QStringLiteral("abc")};
    bool posted = false;
    box.OnFlowText = [&](TSerifBox* b) {
      if (!posted) PostClick(b);
      posted = true;
    };
    bool extraClick = false;
    QTimer late;
    late.setSingleShot(true);
    QObject::connect(&late, &QTimer::timeout, [&] {
      extraClick = true;
      box.Next();
    });
    box.OnFlowEnd = [&](TSerifBox*) { late.stop(); };
    late.start(400);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] { box.Abort(); });
    guard.start(5000);
    box.Play(pump);
    EXPECT_EQ(box.WaitsBegun(), 1) << pump;
    EXPECT_EQ(extraClick, pump) << "pump " << pump;
    EXPECT_TRUE(box.Finished());
  }
}

int BrightPixels(const QImage& img) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (qGray(img.pixel(x, y)) > 128) ++n;
  return n;
}

TEST(SerifBoxPaint, NothingBeforeTheFirstTextAndAfterClear) {
  TSerifBox box;
  box.resize(301, 94);
  box.HorizontalSpace = 16;
  box.VerticalSpace = 10;
  box.WaitTime = 0;
  box.setFont(milgant::MinchoFont());
  box.OnPaint = [](TSerifBox* b, QPainter& p) {
    p.fillRect(b->rect(), Qt::black);
    b->FontColor = Qt::white;
  };
  EXPECT_EQ(BrightPixels(box.grab().toImage()), 0);
  box.Lines = QStringList{QStringLiteral("合戦がエスカレートしました。")};
  Clicker clicker(box);
  box.Play(false);
  const QImage shown = box.grab().toImage();
  // The first and the last character are drawn in their cells, nothing beyond the text.
  EXPECT_GT(BrightPixels(shown.copy(QRect(box.CellOrigin(1), QSize(15, 15)))), 0);
  EXPECT_GT(BrightPixels(shown.copy(QRect(box.CellOrigin(13), QSize(15, 15)))), 0);
  EXPECT_EQ(BrightPixels(shown.copy(QRect(box.CellOrigin(15), QSize(15, 15)))), 0);
  box.Clear();
  EXPECT_EQ(BrightPixels(box.grab().toImage()), 0);
}

}  // namespace
