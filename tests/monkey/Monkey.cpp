// A random hand on the real game windows: a seeded stream of plausible inputs (map clicks and
// hovers, scroll bars, minimap, unit list, every menu command, the pop-up menu, and whatever the
// open window offers: question buttons, the side choice, the unit window's lists and buttons,
// the allocation bars, the battle window's text, map and reinforcement lists, the closing story)
// played into the windows under the offscreen platform. After every input that returns to the
// top level the game must keep its invariants; a crash, a wait nobody can end, a modal window
// without an enabled button or a watchdog timeout fails the run.
//
// Usage: monkey INPUTS SEED [--watchdog SECONDS] [--quiet] [--trace] [--during-walks] [--data FOLDER]
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>

#include "ui/battlewindow/SLG_Unit4.h"
#include "ui/dialogs/AllocationForm.h"
#include "ui/dialogs/SLG_Unit2.h"
#include "ui/dialogs/SLG_Unit8.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Invariants.h"
#include "ui/text/Fonts.h"
#include "ui/mainwindow/Forms.h"
#include "ui/mainwindow/SLG_Unit1.h"
#include "ui/text/SLG_Unit7.h"
#include "ui/text/SerifBoxs.h"
#include "ui/unitwindow/SLG_Unit3.h"
#include "ui/widgets/TImage.h"

namespace milgant::monkey {
namespace {

using Clock = std::chrono::steady_clock;

// The last inputs, kept in fixed buffers so a crash handler can print them.
constexpr int kLogLines = 40;
constexpr int kLogWidth = 160;
char gLog[kLogLines][kLogWidth];
std::atomic<long> gLogCount{0};

void Log(const std::string& line) {
  const long n = gLogCount.load();
  std::snprintf(gLog[n % kLogLines], kLogWidth, "%s", line.c_str());
  gLogCount.store(n + 1);
}

void PrintLog(int fd) {
  const long n = gLogCount.load();
  const char head[] = "last inputs (oldest first):\n";
  (void)!write(fd, head, sizeof head - 1);
  for (long i = n > kLogLines ? n - kLogLines : 0; i < n; ++i) {
    const char* line = gLog[i % kLogLines];
    (void)!write(fd, "  ", 2);
    (void)!write(fd, line, std::strlen(line));
    (void)!write(fd, "\n", 1);
  }
}

std::uint32_t gSeed = 0;
bool gTrace = false;  // --trace: every input on stdout, to compare two runs of a seed

extern "C" void OnFatalSignal(int sig) {
  char head[96];
  const int n = std::snprintf(head, sizeof head, "\nmonkey: signal %d (seed %u)\n", sig, gSeed);
  (void)!write(2, head, static_cast<std::size_t>(n));
  PrintLog(2);
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "\nmonkey: FAILED (seed %u): %s\n", gSeed, why.c_str());
  std::fflush(stderr);
  PrintLog(2);
  std::_Exit(1);
}

bool CopyFolder(const QString& from, const QString& to) {
  QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString file = it.next();
    const QString rel = QDir(from).relativeFilePath(file);
    // A save lying in the repository's folder is not part of the game's data.
    if (rel.startsWith(QStringLiteral("Save"))) continue;
    const QString target = to + QLatin1Char('/') + rel;
    QDir().mkpath(QFileInfo(target).path());
    if (!QFile::copy(file, target)) return false;
  }
  return true;
}

// A left (or other) press and release at `at` in widget coordinates, as the mouse gives them.
void Press(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  QPointer<QWidget> guard(w);
  const QPointF local(at), global(w->mapToGlobal(at));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  if (guard.isNull()) return;
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
}

void Key(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
}

std::vector<QPushButton*> Buttons(QWidget* w) {
  std::vector<QPushButton*> out;
  for (QPushButton* b : w->findChildren<QPushButton*>())
    if (b->isVisible() && b->isEnabled()) out.push_back(b);
  return out;
}

QString Describe(QWidget* w) {
  QString s = QString::fromLatin1(w->metaObject()->className()) + QStringLiteral(" \"") + w->windowTitle() +
              QStringLiteral("\" buttons:");
  for (QPushButton* b : w->findChildren<QPushButton*>())
    s += QStringLiteral(" [") + b->text() + (b->isVisible() ? QString() : QStringLiteral(" hidden")) +
         (b->isEnabled() ? QString() : QStringLiteral(" off")) + QStringLiteral("]");
  return s;
}

class Monkey {
 public:
  Monkey(QString data, QString folder, long inputs, std::uint32_t seed, bool duringWalks)
      : data_(std::move(data)), folder_(std::move(folder)), inputs_(inputs), seed_(seed), rng_(seed),
        walkRng_(seed ^ 0x9e3779b9u), duringWalks_(duringWalks) {}

  int Run(int watchdogSeconds, bool quiet);

 private:
  void Open();
  void Step();
  void Act();
  bool PlayerWaited();
  void ActOnModal(QWidget* w);
  void ActOnPopup(QMenu* menu);
  void ActOnBattle();
  void ActOnStory();
  void ActOnMain();
  void ClickMap(Qt::MouseButton button);
  void ClickList(QListWidget* list, bool twice = false);
  void CheckGame();
  void Did(const std::string& what);
  int Below(int n) { return static_cast<int>(std::uniform_int_distribution<int>(0, n - 1)(rng_)); }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }

  QString data_, folder_;
  long inputs_;
  std::uint32_t seed_;
  std::mt19937 rng_, walkRng_;
  bool duringWalks_;
  std::unique_ptr<Game> game_;
  std::unique_ptr<Forms> forms_;
  QObject anchor_;
  int depth_ = 0;
  bool finishing_ = false;
  int modalWithoutWayOut_ = 0;
  Clock::time_point busySince_{};
  bool wasBusy_ = false;

 public:
  // Read by the watchdog thread.
  std::atomic<long> done{0};
  std::atomic<long long> lastInputAt{0};
  // What the run saw.
  long checks = 0, games = 0, saves = 0, loads = 0, phaseEnds = 0, battleInputs = 0, unitWindowInputs = 0,
       questionInputs = 0, allocationInputs = 0, storyInputs = 0, closes = 0, topLevelInputs = 0,
       walkInputs = 0;
};

long long Now() { return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count(); }

void Monkey::Open() {
  game_ = std::make_unique<Game>();
  QString failure;
  forms_ = CreateForms(*game_, folder_, &failure);
  if (forms_ == nullptr) Fail("the windows did not start: " + failure.toStdString());
  game_->Rng.SetSeed(seed_ + static_cast<std::uint32_t>(closes));
  // The run only shortens the pauses: typing without delay and a walk's steps 1 ms apart.
  forms_->Form4->SerifBox1->WaitTime = 0;
  forms_->Form7->SerifBox1->WaitTime = 0;
  forms_->Form1->Timer1->setInterval(1);
  forms_->Form1->show();
}

void Monkey::Did(const std::string& what) {
  const long n = done.load() + 1;
  Log(std::to_string(n) + (depth_ > 1 ? " (in a wait) " : " ") + what);
  if (depth_ <= 1) ++topLevelInputs;
  if (gTrace) std::printf("%s\n", gLog[(n - 1) % kLogLines]);
  done.store(n);
  lastInputAt.store(Now());
}

int Monkey::Run(int watchdogSeconds, bool quiet) {
  Open();
  lastInputAt.store(Now());
  std::atomic<bool> over{false};
  std::thread watchdog([&] {
    while (!over.load()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      if (Now() - lastInputAt.load() > watchdogSeconds * 1000LL)
        Fail("hang: no input completed for " + std::to_string(watchdogSeconds) + " s after input " +
             std::to_string(done.load()));
    }
  });
  const auto start = Clock::now();
  QTimer::singleShot(0, &anchor_, [this] { Step(); });
  long shown = 0;
  QTimer progress;
  QObject::connect(&progress, &QTimer::timeout, [&] {
    if (!quiet && done.load() / 1000 != shown) {
      shown = done.load() / 1000;
      std::printf("monkey: %ld inputs\n", done.load());
      std::fflush(stdout);
    }
  });
  progress.start(500);
  QApplication::exec();
  over.store(true);
  watchdog.join();
  if (!finishing_) Fail("the program ended by itself after " + std::to_string(done.load()) + " inputs");
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf(
      "monkey: seed %u, %ld inputs in %.1f s (%.0f per second); %ld invariant checks, %ld games begun, %ld saves, "
      "%ld loads, %ld phase ends, %ld window closes; %ld inputs at the top level, inputs to questions %ld, unit window %ld, allocations %ld, "
      "battle window %ld, story %ld, during walks %ld\n",
      seed_, done.load(), seconds, done.load() / std::max(seconds, 0.001), checks, games, saves, loads, phaseEnds,
      closes, topLevelInputs, questionInputs, unitWindowInputs, allocationInputs, battleInputs, storyInputs, walkInputs);
  forms_.reset();
  return 0;
}

// One input per step. The next step is queued first, so that when the input opens a wait (a
// modal window, a typed text, a walk) the next input is played inside it, as a player would.
void Monkey::Step() {
  const bool closing = forms_->Form1->Closing;
  if (closing) {
    // The program is closing: every wait must end by itself; once all have, a new program.
    if (depth_ > 0) {
      QTimer::singleShot(1, &anchor_, [this] { Step(); });
      return;
    }
    forms_.reset();
    game_.reset();
    if (finishing_) {
      QApplication::quit();
      return;
    }
    Open();
  }
  // The end: 終了, asked again until the question about unsaved play (if any) lets it close.
  if (done.load() >= inputs_ && (!finishing_ || !forms_->Form1->Closing) && QApplication::activeModalWidget() == nullptr) {
    finishing_ = true;
    Did("the end: 終了");
    QTimer::singleShot(0, &anchor_, [this] { Step(); });
    forms_->Form1->close();
    return;
  }
  // While the game works on its own (a walk, the computer's moves) nobody is asked anything:
  // no input is played, so the stream stays the same from run to run.
  if (!PlayerWaited()) {
    QTimer::singleShot(1, &anchor_, [this] { Step(); });
    // With --during-walks the player also clicks, hovers and scrolls while units walk; how
    // many such inputs fall into a walk depends on timing, so they come from a stream of their
    // own and the main stream stays as it was.
    if (duringWalks_ && forms_->Form1->Timer1->isActive() && std::uniform_int_distribution<int>(0, 3)(walkRng_) == 0) {
      std::swap(rng_, walkRng_);
      ++depth_;
      ++walkInputs;
      ActOnMain();
      --depth_;
      std::swap(rng_, walkRng_);
    }
    return;
  }
  QTimer::singleShot(0, &anchor_, [this] { Step(); });
  ++depth_;
  Act();
  --depth_;
  if (depth_ == 0) CheckGame();
}

bool Monkey::PlayerWaited() {
  TForm1* main = forms_->Form1;
  const bool busy = main->Busy();
  if (busy && !wasBusy_) busySince_ = Clock::now();
  wasBusy_ = busy;
  if (!busy) return true;
  if (QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr) return true;
  TForm4* battle = forms_->Form4;
  if (battle->isVisible() && (battle->SerifBox1->Waiting() || (battle->Button3->isVisible() && battle->Button3->isEnabled()) ||
                              (battle->Button4->isVisible() && battle->Button4->isEnabled())))
    return true;
  TForm7* story = forms_->Form7;
  if (story->isVisible() && story->SerifBox1->Waiting()) return true;
  return false;
}

void Monkey::CheckGame() {
  if (forms_ == nullptr || forms_->Form1->Busy() || game_->GameState == 0) return;
  ++checks;
  const std::vector<std::string> broken = CheckInvariants(*game_);
  if (broken.empty()) return;
  std::string all;
  for (const std::string& b : broken) all += "\n  " + b;
  Fail("broken invariants after input " + std::to_string(done.load()) + ":" + all);
}

void Monkey::Act() {
  if (QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) return ActOnPopup(menu);
  if (QWidget* modal = QApplication::activeModalWidget()) return ActOnModal(modal);
  modalWithoutWayOut_ = 0;
  TForm4* battle = forms_->Form4;
  TForm7* story = forms_->Form7;
  // The main window's close box stays reachable during a battle or the story (they are not modal).
  if ((battle->isVisible() || story->isVisible()) && Chance(0.004)) {
    Did("close box of the main window during the battle or the story");
    ++closes;
    forms_->Form1->close();
    return;
  }
  // Now and then the player turns to the main window in the middle of a battle or the story.
  if (battle->isVisible() && !Chance(0.15)) return ActOnBattle();
  if (story->isVisible() && !Chance(0.15)) return ActOnStory();
  ActOnMain();
}

void Monkey::ActOnPopup(QMenu* menu) {
  TForm1* main = forms_->Form1;
  const int pick = Below(3);
  menu->hide();
  if (menu == main->PopupMenu1 && pick == 0) {
    Did("pop-up: フェイズ終了");
    ++phaseEnds;
    main->N4->trigger();
  } else if (menu == main->PopupMenu1 && pick == 1) {
    Did("pop-up: キャンセル");
    main->N5->trigger();
  } else {
    Did("pop-up: closed");
  }
}

void Monkey::ActOnModal(QWidget* w) {
  const std::vector<QPushButton*> buttons = Buttons(w);
  if (buttons.empty()) {
    // A window just opening may not have its buttons yet; one that stays without any has no way out.
    if (++modalWithoutWayOut_ > 50) Fail("a modal window with no way out: " + Describe(w).toStdString());
    Did("modal without buttons yet: " + Describe(w).toStdString());
    return;
  }
  modalWithoutWayOut_ = 0;
  // The close box and Escape, which must not end a window that wants an answer.
  if (Chance(0.05)) {
    if (Chance(0.5)) {
      Did("modal: Escape on " + w->windowTitle().toStdString());
      Key(w, Qt::Key_Escape);
    } else {
      Did("modal: close box of " + w->windowTitle().toStdString());
      w->close();
    }
    return;
  }
  if (auto* unit = dynamic_cast<TForm3*>(w)) {
    ++unitWindowInputs;
    unit->ListBox1->setObjectName(QStringLiteral("unit window ListBox1"));
    unit->ListBox2->setObjectName(QStringLiteral("unit window ListBox2"));
    const int pick = Below(10);
    if (pick < 3 && unit->ListBox1->count() > 0) return ClickList(unit->ListBox1, pick == 0);
    if (pick < 5 && unit->ListBox2->count() > 0) return ClickList(unit->ListBox2);
  } else if (auto* alloc = dynamic_cast<TAllocationForm*>(w)) {
    ++allocationInputs;
    if (Chance(0.5)) {
      QScrollBar* bar = alloc->ScrollBar1;
      const int to = bar->minimum() + Below(bar->maximum() - bar->minimum() + 1);
      Did("allocation bar to " + std::to_string(to));
      bar->setValue(to);
      return;
    }
  } else {
    ++questionInputs;
  }
  QPushButton* b = buttons[static_cast<std::size_t>(Below(static_cast<int>(buttons.size())))];
  Did("modal \"" + w->windowTitle().toStdString() + "\": button " + b->text().toStdString());
  b->click();
}

void Monkey::ClickList(QListWidget* list, bool twice) {
  const int row = Below(list->count());
  QListWidgetItem* item = list->item(row);
  Did(std::string(twice ? "double click" : "click") + " on row " + std::to_string(row) + " of " +
      list->objectName().toStdString() + " \"" + item->text().toStdString() + "\"");
  // A click makes the row current and then reports it, as the mouse does.
  QPointer<QListWidget> guard(list);
  list->setCurrentItem(item);
  emit list->itemClicked(item);
  if (twice && !guard.isNull() && list->count() > row) emit list->itemDoubleClicked(list->item(row));
}

void Monkey::ActOnBattle() {
  TForm4* battle = forms_->Form4;
  ++battleInputs;
  const bool choosing = (battle->Button3->isVisible() && battle->Button3->isEnabled()) ||
                        (battle->Button4->isVisible() && battle->Button4->isEnabled());
  if (Chance(0.02)) {
    // The battle window's close box and Escape: only the battle itself closes it.
    Did("battle window: close box or Escape");
    return Chance(0.5) ? (void)battle->close() : Key(battle, Qt::Key_Escape);
  }
  const int pick = Below(10);
  if (pick < 2) {
    const QPoint at(Below(battle->Image1->width()), Below(battle->Image1->height()));
    Did("battle map excerpt click");
    return Press(battle->Image1, at);
  }
  if (choosing) {
    QListWidget* list = battle->ListBox1->isEnabled() && (!battle->ListBox2->isEnabled() || Chance(0.5))
                            ? battle->ListBox1
                            : battle->ListBox2;
    if (pick < 5 && list->isEnabled() && list->count() > 0) {
      list->setObjectName(list == battle->ListBox1 ? QStringLiteral("battle ListBox1") : QStringLiteral("battle ListBox2"));
      return ClickList(list);
    }
    std::vector<QPushButton*> buttons;
    for (QPushButton* b : {battle->Button1, battle->Button2, battle->Button3, battle->Button4})
      if (b->isVisible() && b->isEnabled()) buttons.push_back(b);
    QPushButton* b = buttons[static_cast<std::size_t>(Below(static_cast<int>(buttons.size())))];
    Did("battle button " + b->text().toStdString());
    return b->click();
  }
  Did("battle text click");
  TSerifBox* box = battle->SerifBox1;
  Press(box, QPoint(Below(box->width()), Below(box->height())));
}

void Monkey::ActOnStory() {
  ++storyInputs;
  if (Chance(0.05)) {
    Did("story window: close box");
    forms_->Form7->close();
    return;
  }
  Did("story text click");
  TSerifBox* box = forms_->Form7->SerifBox1;
  Press(box, QPoint(Below(box->width()), Below(box->height())));
}

void Monkey::ClickMap(Qt::MouseButton button) {
  TForm1* main = forms_->Form1;
  int x = Below(kMapSize), y = Below(kMapSize);
  // Most clicks fall on or near a unit, where the commands are.
  if (game_->GameState != 0 && Chance(0.7)) {
    const Unit& u = game_->U(1 + Below(kUnitSlots - 1));
    const int reach = Chance(0.4) ? 0 : 3;
    if (u.OnMap == 1) {
      x = std::clamp(u.HexX + Below(2 * reach + 1) - reach, 0, kMapSize - 1);
      y = std::clamp(u.HexY + Below(2 * reach + 1) - reach, 0, kMapSize - 1);
    }
  }
  // The player scrolls the hex into view when it is not, then presses somewhere inside it.
  const HexPos o = HexOrigin(x, y);
  QPoint at(o.X - game_->ScrollX + 12 + Below(36), o.Y - game_->ScrollY + 12 + Below(36));
  if (at.x() < 8 || at.x() > 580 || at.y() < 0 || at.y() > 500) {
    main->ScrollBar1->setValue(std::clamp(o.X - 260, 0, main->ScrollBar1->maximum()));
    main->ScrollBar2->setValue(std::clamp(o.Y - 220, 0, main->ScrollBar2->maximum()));
    at = QPoint(o.X - game_->ScrollX + 12 + Below(36), o.Y - game_->ScrollY + 12 + Below(36));
  }
  Did(std::string(button == Qt::LeftButton ? "left" : "right") + " click on the map at hex (" + std::to_string(x) +
      "," + std::to_string(y) + ") pixel (" + std::to_string(at.x()) + "," + std::to_string(at.y()) + ")");
  QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(main->Image5->mapToGlobal(at)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(main->Image5, &move);
  Press(main->Image5, at, button);
}

void Monkey::ActOnMain() {
  TForm1* main = forms_->Form1;
  // Weights per thousand. A game is left for another (新規, ロード, 終了) rarely enough that
  // games run long enough for endings; before the first game a player starts or loads one.
  int roll = Below(1000);
  if (game_->GameState == 0 && Chance(0.6)) roll = Chance(0.5) ? 938 : 940;
  if (roll < 480) return ClickMap(Qt::LeftButton);
  if (roll < 540) return ClickMap(Qt::RightButton);
  if (roll < 620) {
    const QPoint at(Below(main->Image5->width()), Below(main->Image5->height()));
    Did("mouse over the map at (" + std::to_string(at.x()) + "," + std::to_string(at.y()) + ")");
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(main->Image5->mapToGlobal(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(main->Image5, &move);
    return;
  }
  if (roll < 670) {
    QScrollBar* bar = Chance(0.5) ? main->ScrollBar1 : main->ScrollBar2;
    if (!bar->isEnabled()) return Did("scroll bar (off)");
    if (Chance(0.5)) {
      const int to = Below(bar->maximum() + 1);
      Did("drag a scroll bar to " + std::to_string(to));
      bar->setValue(to);
    } else {
      static const int kKeys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp,
                                  Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
      const int key = kKeys[Below(8)];
      Did("key " + std::to_string(key) + " on a scroll bar");
      Key(bar, key);
    }
    return;
  }
  if (roll < 710) {
    const QPoint at(Below(168), Below(168));
    Did("minimap click at (" + std::to_string(at.x()) + "," + std::to_string(at.y()) + ")");
    return Press(main->Image2, at);
  }
  if (roll < 770) {
    if (main->ListBox1->count() == 0 || !main->ListBox1->isEnabled()) return Did("unit list (empty)");
    main->ListBox1->setObjectName(QStringLiteral("unit list"));
    return ClickList(main->ListBox1);
  }
  if (roll < 900) {
    Did("menu フェイズ終了");
    ++phaseEnds;
    return main->N1->trigger();
  }
  if (roll < 930) {
    const int slot = 1 + Below(5);
    Did("menu セーブ データ" + std::to_string(slot));
    ++saves;
    return main->SaveItems[static_cast<std::size_t>(slot - 1)]->trigger();
  }
  if (roll < 935) {
    Did("menu バージョン");
    return main->Help1->trigger();
  }
  if (roll < 937) {
    Did("menu 終了");
    ++closes;
    return main->Exit2->trigger();
  }
  if (roll < 939) {
    Did("menu 新規");
    ++games;
    return main->K5->trigger();
  }
  if (roll < 942) {
    const int slot = 1 + Below(5);
    Did("menu ロード データ" + std::to_string(slot));
    ++loads;
    return main->LoadItems[static_cast<std::size_t>(slot - 1)]->trigger();
  }
  ClickMap(Qt::LeftButton);
}

}  // namespace
}  // namespace milgant::monkey

// The offscreen platform's remarks on what it cannot do (raise, grab) would drown the report.
void QuietOffscreen(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (text.startsWith(QStringLiteral("This plugin does not support")) || text.startsWith(QStringLiteral("QStandardPaths:")))
    return;
  std::fprintf(stderr, "%s%s\n", type == QtWarningMsg ? "Qt: " : "", text.toLocal8Bit().constData());
}

int main(int argc, char** argv) {
  using namespace milgant::monkey;
  qInstallMessageHandler(QuietOffscreen);
  if (argc < 3) {
    std::fprintf(stderr, "usage: monkey INPUTS SEED [--watchdog SECONDS] [--quiet] [--trace] [--during-walks] [--data FOLDER]\n");
    return 2;
  }
  const long inputs = std::atol(argv[1]);
  gSeed = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
  int watchdog = 30;
  bool quiet = false, duringWalks = false;
  QString data = QStringLiteral(MILGANT_DATA_DIR);
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--watchdog") == 0 && i + 1 < argc) watchdog = std::atoi(argv[++i]);
    else if (std::strcmp(argv[i], "--quiet") == 0) quiet = true;
    else if (std::strcmp(argv[i], "--trace") == 0) gTrace = quiet = true;
    else if (std::strcmp(argv[i], "--during-walks") == 0) duringWalks = true;
    else if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc) data = QString::fromLocal8Bit(argv[++i]);
  }
  // Everything the game writes goes into a scratch folder: its working folder, and a home of
  // its own for anything kept per user.
  QTemporaryDir scratch;
  if (!scratch.isValid()) Fail("no scratch folder");
  const QString folder = scratch.path() + QStringLiteral("/game");
  const QString home = scratch.path() + QStringLiteral("/home");
  QDir().mkpath(folder);
  QDir().mkpath(home);
  qputenv("HOME", home.toLocal8Bit());
  qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toLocal8Bit());
  qputenv("XDG_STATE_HOME", (home + QStringLiteral("/.local/state")).toLocal8Bit());
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("MILGANT_MUTE", "1");
  for (int sig : {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL}) std::signal(sig, OnFatalSignal);

  QApplication app(argc, argv);
  // The run ends the program itself; a closed main window is followed by a new one.
  QApplication::setQuitOnLastWindowClosed(false);
  if (!milgant::SetUpFonts()) Fail("the IPA fonts are not installed");
  if (!CopyFolder(data, folder)) Fail("cannot copy the game's data into the scratch folder");
  Monkey monkey(data, folder, inputs, gSeed, duringWalks);
  return monkey.Run(watchdog, quiet);
}
