// The typed text box. Cells are built on the CP932 form of the text, so a double-byte character
// and a single-byte one each take one cell. Pauses and click waits run nested event loops with a
// timer; without message processing the pauses take no input, and a click made meanwhile is kept
// for the next click wait, which it ends at once.
#include "ui/text/SerifBoxs.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <stdexcept>

#include "core/game/Text.h"

namespace milgant {
namespace {

// The CP932 bytes of a text; a character without a CP932 form becomes "？".
std::string ToCp932(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  if (auto whole = Utf8ToCp932(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))))
    return *whole;
  std::string out;
  const QList<uint> codePoints = text.toUcs4();
  for (uint cp : codePoints) {
    const QByteArray one = QString::fromUcs4(reinterpret_cast<const char32_t*>(&cp), 1).toUtf8();
    if (auto s = Utf8ToCp932(std::string_view(one.constData(), static_cast<std::size_t>(one.size()))))
      out += *s;
    else
      out += "\x81\x48";  // ？
  }
  return out;
}

}  // namespace

bool IsTrailByteAt(std::string_view s, std::size_t k) {
  if (k < 1 || k > s.size()) throw std::out_of_range("Illegal Index");
  std::size_t leads = 0;
  for (std::size_t j = k - 1; j >= 1 && IsCp932LeadByte(static_cast<unsigned char>(s[j - 1])); --j)
    ++leads;
  return leads % 2 == 1;
}

TSerifBox::TSerifBox(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

TSerifBox::~TSerifBox() = default;

int TSerifBox::Columns() const {
  return TextWidth > 0 ? std::max(1, (width() - 2 * HorizontalSpace) / TextWidth) : 1;
}

int TSerifBox::Rows() const {
  return TextHeight > 0 ? std::max(1, (height() - 2 * VerticalSpace) / TextHeight) : 1;
}

QPoint TSerifBox::CellOrigin(int i) const {
  const int cols = Columns(), rows = Rows();
  int c = i % cols;
  if (c == 0) c = cols;
  int r = ((i / cols) + (i % cols > 0 ? 1 : 0)) % rows;
  if (r == 0) r = rows;
  return {(c - 1) * TextWidth + HorizontalSpace, (r - 1) * TextHeight + VerticalSpace};
}

QRect TSerifBox::CellRect(int i) const { return {CellOrigin(i), QSize(TextWidth, TextHeight)}; }

QRect TSerifBox::MarkRect() const {
  const int last = std::min(pageEnd_, cellCount_);
  if (last < 1) return {};
  const QPoint o = CellOrigin(last);
  return {o.x() + TextWidth, o.y() + TextHeight - TextWidth, TextWidth, TextWidth};
}

QString TSerifBox::CellText(int i) const {
  return QString::fromStdString(Cp932ToUtf8Lossy(CellAt(i).View()));
}

void TSerifBox::BuildCells(std::string_view text) {
  for (int i = 0; i < cellCount_; ++i) cells_[static_cast<std::size_t>(i)] = Cell{};
  const int cols = Columns();
  std::size_t p = 0;
  int i = 1;
  auto put = [&](std::string_view bytes) {
    Cell& cell = cells_[static_cast<std::size_t>(i - 1)];
    cell.Length = static_cast<std::uint8_t>(bytes.size());
    for (std::size_t k = 0; k < bytes.size(); ++k) cell.Bytes[k] = bytes[k];
    ++i;
  };
  while (p < text.size() && i <= kMaxCells) {
    const char b = text[p];
    if (b == '\r') {
      // The rest of the row goes blank; a break on the last column blanks the next row too.
      const int pad = cols - i % cols + 1;
      for (int k = 0; k < pad && i <= kMaxCells; ++k) put(" ");
    } else if (p + 1 < text.size() && IsCp932LeadByte(static_cast<unsigned char>(b))) {
      // p always starts a character here, so "the next byte is a trail byte" is simply "this
      // one is a lead byte"; asking IsTrailByteAt would rescan long runs of lead-range bytes.
      put(text.substr(p, 2));
      ++p;
    } else if (b != '\n') {
      put(text.substr(p, 1));
    }
    ++p;
  }
  cellCount_ = i - 1;
  currentCell_ = pageStart_ = 1;
  pageEnd_ = std::min(CellsPerPage(), cellCount_);
}

void TSerifBox::Play(bool pumpMessages) {
  if (playing_) return;  // a message never starts inside another one
  const std::string text = ToCp932(Lines.join(QStringLiteral("\r\n")));
  if (text.empty()) return;
  BuildCells(text);
  finished_ = false;
  pump_ = pumpMessages;
  pendingClick_ = false;
  aborted_ = false;
  playing_ = true;
  if (OnFlowStart) OnFlowStart(this);
  TypePages();
  playing_ = false;
  pendingClick_ = false;
}

void TSerifBox::TypePages() {
  for (;;) {
    if (!finished_) update();
    while (!finished_ && currentCell_ <= pageEnd_ && currentCell_ <= cellCount_) {
      const std::string_view cell = CellAt(currentCell_).View();
      if (cell != " " && cell != "  ") {
        update(CellRect(currentCell_));
        if (OnFlowText) OnFlowText(this);
        Pause(WaitTime);
      } else if (!SpaceSkip) {
        Pause(WaitTime);
      }
      ++currentCell_;
    }
    if (currentCell_ > cellCount_ || aborted_) {
      if (!AutoStop) WaitForClick();
      currentCell_ = pageEnd_ = cellCount_;
      finished_ = true;
      update();
      if (OnFlowEnd) OnFlowEnd(this);
      return;
    }
    WaitForClick();
    const int perPage = CellsPerPage();
    if (direction_ == 0) {
      pageStart_ = pageEnd_ + 1;
    } else if (direction_ == 1) {
      pageStart_ = std::max(1, pageStart_ - perPage);
    }
    if (direction_ <= 1) {
      currentCell_ = pageStart_;
      pageEnd_ = pageStart_ + perPage - 1;
    }
    pageEnd_ = std::min(pageEnd_, cellCount_);
  }
}

bool TSerifBox::Hurried() const {
  // A player who has read enough holds Ctrl: the typing runs without pauses.
  return (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) != 0;
}

void TSerifBox::Pause(int ms) {
  ++pausesTaken_;
  if (ms <= 0 || aborted_ || Hurried()) return;
  RunLoop(ms, pump_);
}

void TSerifBox::RunLoop(int ms, bool takeInput) {
  QEventLoop loop;
  QEventLoop* const outer = loop_;
  loop_ = &loop;
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  timer.start(ms);
  loop.exec(takeInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
  loop_ = outer;
}

void TSerifBox::WaitForClick() {
  if (aborted_) return;
  waiting_ = true;
  ++waitsBegun_;
  QElapsedTimer held;
  held.start();
  while (waiting_ && !aborted_) {
    markPhase_ = ShowWaitCursor ? (markPhase_ == 1 ? 2 : 1) : 0;
    update(MarkRect());
    const qint64 left = AutoAdvanceMs > 0 ? AutoAdvanceMs - held.elapsed() : 150;
    if (pendingClick_) {
      // The click made while typing was queued; it is the first thing this wait handles.
      pendingClick_ = false;
      Next();
    } else if (left <= 0) {
      // A page shown for its hold moves on as if clicked.
      ++waitsRunOut_;
      Next();
    } else {
      RunLoop(static_cast<int>(std::min<qint64>(150, left)), true);
    }
    update(MarkRect());
    if (OnIdle) OnIdle(this);
  }
  markPhase_ = 0;
  waiting_ = false;
}

void TSerifBox::Next() {
  if (waiting_) {
    direction_ = 0;
    if (OnPageChange) OnPageChange(this, direction_);
    waiting_ = false;
    if (loop_ != nullptr) loop_->quit();
  } else if (playing_ && !pump_) {
    pendingClick_ = true;
  }
}

void TSerifBox::Clear() {
  for (int i = 0; i < cellCount_; ++i) cells_[static_cast<std::size_t>(i)] = Cell{};
  currentCell_ = pageStart_ = pageEnd_ = cellCount_ = 0;
  update();
}

void TSerifBox::Abort() {
  aborted_ = true;
  waiting_ = false;
  if (loop_ != nullptr) loop_->quit();
}

// The faces are proportional, the cells are not: a glyph flush left would leave uneven gaps
// between narrow and wide ones, so each sits in the middle of its cell, except the marks that
// belong to a side of it as in set type: commas, stops and closing brackets keep to the
// character before them, opening brackets to the one after.
Qt::Alignment TSerifBox::CellAlignment(const QString& glyph) {
  static const QString kLeft = QStringLiteral("、。，．」』）】〕”");
  static const QString kRight = QStringLiteral("「『（【〔“");
  if (glyph.size() == 1 && kLeft.contains(glyph)) return Qt::AlignLeft;
  if (glyph.size() == 1 && kRight.contains(glyph)) return Qt::AlignRight;
  return Qt::AlignHCenter;
}

void TSerifBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (OnPaint) OnPaint(this, p);
  if (pageStart_ == 0) return;
  p.setFont(font());
  p.setPen(FontColor);
  p.setBackgroundMode(Qt::TransparentMode);
  const int last = std::min({pageEnd_, currentCell_, cellCount_});
  for (int i = pageStart_; i <= last; ++i) {
    const std::string_view cell = CellAt(i).View();
    if (cell == " " || cell == "  ") continue;
    p.drawText(CellRect(i), CellAlignment(CellText(i)) | Qt::AlignVCenter | Qt::TextDontClip, CellText(i));
  }
  if ((waiting_ && markPhase_ != 0) || (HoldMark && !playing_)) {
    QRect mark = MarkRect();
    if (waiting_ && markPhase_ == 2) mark.setTop(mark.top() + TextHeight / 2);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(FontColor);
    p.drawEllipse(mark);
  }
}

void TSerifBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
  event->accept();
}

void TSerifBox::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  if (event->button() == Qt::LeftButton) pressed_ = false;
  event->accept();
  if (click && OnClick) OnClick(this);
}

}  // namespace milgant
