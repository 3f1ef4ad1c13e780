// The player's command windows in the real program: the unit window over the player's own corps
// and over an enemy corps, its buttons in each phase and its organisation, the two allocation
// windows with their scroll bar and close box, and a recorded session replayed by milgant-cli.
// MILGANT_SCREENSHOTS=<folder> also writes what the windows look like as PNGs.
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QScrollBar>

#include <functional>
#include <string>

#include "GuiFixture.h"
#include "ui/dialogs/SLG_Unit5.h"
#include "ui/dialogs/SLG_Unit9.h"
#include "core/game/HexGrid.h"
#include "core/game/InputScript.h"
#include "core/game/SaveImage.h"
#include "core/game/Text.h"
#include "ui/mainwindow/WindowUi.h"
#include "ui/unitwindow/SLG_Unit3.h"
#include "core/turn/UnitWindow.h"

namespace milgant::test {
namespace {


QString Name(const Unit& u) {
  return QString::fromStdString(Cp932ToUtf8Lossy(u.ArmyName.View()) + " " + Cp932ToUtf8Lossy(u.GeneralName.View()));
}

class CommandWindows : public GuiTest {
 protected:
  // A corps commander of `side` with subordinates; with `lonely`, one without any unit of the
  // other side within two hexes.
  int FindCorps(int side, bool lonely) const {
    for (int slot = 1; slot < kUnitSlots; ++slot) {
      const Unit& u = game->U(slot);
      if (u.OnMap != 1 || u.Side != side || u.CommanderIndex != -1 || u.SubordinateCount == 0) continue;
      bool near = false;
      for (int o = 1; o < kUnitSlots; ++o) {
        const Unit& v = game->U(o);
        near = near || (v.OnMap == 1 && v.Side != side && HexDistance(u.HexX, u.HexY, v.HexX, v.HexY) <= 2);
      }
      if (!lonely || !near) return slot;
    }
    return -1;
  }
  // A left press on the middle of hex (x, y) as the view stands.
  void ClickHex(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    const HexPos o = HexOrigin(x, y);
    form1->Image5MouseDown(button, QPoint(o.X + 30 - game->ScrollX, o.Y + 30 - game->ScrollY));
  }
  // Queues what to do with the next modal window, which must be the unit window; whatever
  // happens there, the window is left closed. The hand tells windows apart by noticing them
  // shut, so the event loop runs a moment before the next one opens.
  void OnUnitWindow(std::function<void(TForm3*)> act) {
    Settle();
    hand->Answers.push_back([act](QWidget* w) {
      auto* f3 = dynamic_cast<TForm3*>(w);
      EXPECT_NE(f3, nullptr) << w->windowTitle().toStdString();
      if (f3 != nullptr) act(f3);
      if (f3 != nullptr && f3->isVisible()) f3->Button2->click();
      if (auto* d = qobject_cast<QDialog*>(w); d != nullptr && d->isVisible()) d->done(0);
    });
  }
  static void Settle() {
    QEventLoop loop;
    QTimer::singleShot(30, &loop, &QEventLoop::quit);
    loop.exec();
  }
};

TEST_F(CommandWindows, OwnCorpsShowsItsDetailsAndThePhaseButtons) {
  StartNewGame(1);
  const int corps = FindCorps(1, false);
  ASSERT_NE(corps, -1);
  const Unit& u = game->U(corps);
  struct PhaseButtons {
    int Phase;
    std::vector<int> Enabled;  // Button numbers
  };
  const PhaseButtons phases[] = {{2, {8}}, {27, {4, 5}}, {3, {1, 3, 6, 7, 9, 10}}};
  for (const PhaseButtons& p : phases) {
    SCOPED_TRACE(p.Phase);
    ASSERT_EQ(game->GameState, p.Phase);
    bool seen = false;
    OnUnitWindow([&](TForm3* f) {
      seen = true;
      EXPECT_EQ(f->windowTitle(), QStringLiteral("ユニット情報"));
      EXPECT_TRUE(f->windowFlags() & Qt::WindowStaysOnTopHint);
      EXPECT_TRUE(f->isModal());
      EXPECT_EQ(f->size(), QSize(520, 420));
      ASSERT_GE(f->ListBox1->count(), 1);
      EXPECT_EQ(f->ListBox1->item(0)->text(), Name(u));
      EXPECT_EQ(f->ListBox1->currentRow(), 0);
      EXPECT_EQ(f->ListBox2->count(), u.SubordinateCount);
      EXPECT_EQ(f->Values[0]->text().toStdString(), Cp932ToUtf8Lossy(u.ArmyName.View()));
      EXPECT_EQ(f->Values[1]->text().toStdString(), Cp932ToUtf8Lossy(u.GeneralName.View()));
      EXPECT_EQ(f->Values[3]->text(), QStringLiteral("ユニット未選択"));
      EXPECT_EQ(f->Values[4]->text(), QStringLiteral("%1/%2").arg(u.CombatPower).arg(u.MaxCombatPower));
      EXPECT_EQ(f->Values[10]->text(), u.Supplied ? QStringLiteral("補給中") : QStringLiteral("補給切れ"));
      EXPECT_EQ(f->Values[11]->text(), QStringLiteral("移動可能"));
      EXPECT_EQ(f->Values[12]->text(), QStringLiteral("通常状態"));
      EXPECT_EQ(f->Button3->text(), QStringLiteral("戦闘　合戦"));
      QPushButton* const buttons[] = {nullptr,     f->Button1, f->Button2, f->Button3, f->Button4, f->Button5,
                                      f->Button6, f->Button7, f->Button8, f->Button9, f->Button10};
      for (int b = 1; b <= 10; ++b) {
        const bool on = b == 2 || std::find(p.Enabled.begin(), p.Enabled.end(), b) != p.Enabled.end();
        EXPECT_EQ(buttons[b]->isEnabled(), on) << "Button" << b;
      }
      // A subordinate's details replace the commander's.
      emit f->ListBox2->itemClicked(f->ListBox2->item(0));
      const Unit& sub = game->U(u.Subordinates[0]);
      EXPECT_EQ(f->Values[1]->text().toStdString(), Cp932ToUtf8Lossy(sub.GeneralName.View()));
      emit f->ListBox1->itemClicked(f->ListBox1->item(0));
      if (p.Phase == 3) Shot(f, QStringLiteral("unit-window-own-corps"));
      f->close();  // the close box does nothing
      EXPECT_TRUE(f->isVisible());
      f->Button2->click();
    });
    ClickHex(u.HexX, u.HexY);
    EXPECT_TRUE(seen);
    EXPECT_FALSE(forms->Form3->isVisible());
    form1->N1->trigger();
  }
}

TEST_F(CommandWindows, AnEnemyCorpsIsShownWithoutItsSubordinatesAndIsNotChosen) {
  StartNewGame(1);
  ASSERT_EQ(game->GameState, 2);
  form1->N1->trigger();
  form1->N1->trigger();
  ASSERT_EQ(game->GameState, 3);
  const int enemy = FindCorps(0, true);
  ASSERT_NE(enemy, -1);
  const Unit& u = game->U(enemy);
  OnUnitWindow([&](TForm3* f) {
    EXPECT_EQ(f->ListBox1->item(0)->text(), Name(u));
    EXPECT_EQ(f->ListBox2->count(), 0);
    Shot(f, QStringLiteral("unit-window-enemy-corps"));
    f->Button1->click();  // 移動, on a unit that cannot be chosen
  });
  ClickHex(u.HexX, u.HexY);
  EXPECT_EQ(game->GameState, 3);
  EXPECT_EQ(game->RangeOverlay, 0);
}

TEST_F(CommandWindows, DetachAndAttachInTheOrganisationPhase) {
  StartNewGame(1);
  form1->N1->trigger();
  ASSERT_EQ(game->GameState, 27);
  const int corps = FindCorps(1, false);
  ASSERT_NE(corps, -1);
  const int count = game->U(corps).SubordinateCount;
  const int leaving = game->U(corps).Subordinates[0];
  OnUnitWindow([&](TForm3* f) {
    const int rows = f->ListBox1->count();
    emit f->ListBox2->itemClicked(f->ListBox2->item(0));
    f->Button4->click();  // 独立
    EXPECT_EQ(f->ListBox1->count(), rows + 1);
    EXPECT_EQ(f->ListBox1->item(rows)->text(), Name(game->U(leaving)));
    EXPECT_EQ(f->ListBox2->count(), count - 1);
    f->Button2->click();
  });
  ClickHex(game->U(corps).HexX, game->U(corps).HexY);
  EXPECT_EQ(game->U(leaving).CommanderIndex, -1);
  EXPECT_EQ(game->U(corps).SubordinateCount, count - 1);
}

// --- the allocation windows ------------------------------------------------------------------

struct AllocationCase {
  bool Standby;
  bool HalfSteps;
  int Maximum;
  int Bar;
  int Chosen;
};

TEST_F(CommandWindows, AllocationWindowsChooseWithTheBarAndCloseOnlyByTheirButtons) {
  const AllocationCase cases[] = {{false, true, 10, 7, 3}, {false, false, 6, 6, 6}, {true, false, 3, 2, 2},
                                  {false, false, 0, 0, 0}};
  for (const AllocationCase& c : cases) {
    TAllocationForm* f = c.Standby ? static_cast<TAllocationForm*>(forms->Form9) : forms->Form5;
    SCOPED_TRACE(c.Standby ? "TForm9" : "TForm5");
    for (const bool ok : {true, false}) {
      Settle();
      hand->Answers.push_back([&, f, ok](QWidget* w) {
        ASSERT_EQ(w, f);
        EXPECT_EQ(f->size(), QSize(245, 190));
        EXPECT_EQ(f->Label1->pos(), QPoint(24, 8));
        EXPECT_EQ(f->Label2->text(), c.Standby ? QStringLiteral("最大援軍待機へクス") : QStringLiteral("全補充ポイント"));
        EXPECT_EQ(f->Label3->text(), c.Standby ? QStringLiteral("援軍待機へクス") : QStringLiteral("部隊補充"));
        EXPECT_EQ(f->Label4->pos(), QPoint(c.Standby ? 144 : 112, 32));
        EXPECT_EQ(f->Label4->text(), QString::number(c.Maximum));
        EXPECT_EQ(f->Label5->text(), QStringLiteral("0"));
        EXPECT_EQ(f->ScrollBar1->maximum(), c.Maximum);
        EXPECT_EQ(f->ScrollBar1->geometry(), QRect(24, 104, 193, 16));
        EXPECT_EQ(bool(f->windowFlags() & Qt::WindowStaysOnTopHint), c.Standby);
        f->ScrollBar1->setValue(c.Bar);
        EXPECT_EQ(f->Label5->text(), QString::number(c.Chosen));
        if (ok && c.Bar == 7) Shot(f, QStringLiteral("allocation-replenishment"));
        if (ok && c.Standby) Shot(f, QStringLiteral("allocation-standby"));
        f->close();  // the close box does nothing
        EXPECT_TRUE(f->isVisible());
        (ok ? f->Button1 : f->Button2)->click();
      });
      int value = 99;
      const QString caption = c.Standby ? QStringLiteral("援軍待機") : QStringLiteral("補充");
      const QString text = c.Standby ? QStringLiteral("援軍待機へクスを指定してください。")
                                     : QStringLiteral("補充ポイントを消費し部隊を補充します");
      // The callers always open the window at 0.
      value = 0;
      const bool accepted = f->Allocate(caption, text, c.HalfSteps, c.Maximum, value);
      EXPECT_EQ(accepted, ok);
      EXPECT_EQ(value, ok ? c.Chosen : 0);
      EXPECT_EQ(f->windowTitle(), caption);
      EXPECT_EQ(f->Label1->text(), text);
    }
  }
}

// --- a recorded session ----------------------------------------------------------------------

TEST_F(CommandWindows, ARecordedSessionReplaysToTheSameSaveByteForByte) {
  // milgant-cli is built beside the game.
  const QString cli = QFileInfo(QStringLiteral(MILGANT_BINARY)).dir().filePath(QStringLiteral("milgant-cli"));
  if (!QFileInfo::exists(cli)) GTEST_SKIP() << "milgant-cli is not built";
  InputRecorder recorder((dir.path() + QStringLiteral("/session.txt")).toStdString());
  forms->Ui->Recorder = &recorder;
  StartNewGame(1);
  ASSERT_TRUE(recorder.Recording());
  const int corps = FindCorps(1, false);
  ASSERT_NE(corps, -1);
  // Replenishment of the commander's first subordinate.
  game->U(game->U(corps).Subordinates[0]).Steps -= 2;
  OnUnitWindow([](TForm3* f) {
    emit f->ListBox2->itemClicked(f->ListBox2->item(0));
    f->Button8->click();
  });
  hand->Answers.push_back(ModalHand::Press(1));  // 配下武将 (the hand notices the unit window shut first)
  hand->Answers.push_back([](QWidget* w) {
    auto* f = dynamic_cast<TAllocationForm*>(w);
    ASSERT_NE(f, nullptr);
    f->ScrollBar1->setValue(f->ScrollBar1->maximum());
    f->Button1->click();
  });
  // The start image was taken before the steps were lost: write it again with them lost.
  Snapshot(*game);
  ASSERT_TRUE(recorder.Begin(game->Rng.Seed(), game->AdvanceLimit, game->SaveImage, "test", &game->ScrollX, &game->ScrollY));
  ClickHex(game->U(corps).HexX, game->U(corps).HexY);
  form1->N1->trigger();
  form1->N1->trigger();
  ASSERT_EQ(game->GameState, 3);
  // The corps moves as far as the range lets it and confirms.
  OnUnitWindow([](TForm3* f) { f->Button1->click(); });
  ClickHex(game->U(corps).HexX, game->U(corps).HexY);
  ASSERT_EQ(game->GameState, 4);
  int tx = -1, ty = -1;
  for (int x = 0; x < kMapSize && tx < 0; ++x)
    for (int y = 0; y < kMapSize && tx < 0; ++y)
      if (game->MoveBlocked[x][y] == 0 && HexDistance(x, y, game->U(corps).HexX, game->U(corps).HexY) == 2) tx = x, ty = y;
  ASSERT_GE(tx, 0);
  ClickHex(tx, ty);
  ClickHex(tx, ty);
  EXPECT_EQ(game->GameState, 7);
  // The player looks around before saving: the view position goes into the save too.
  form1->ScrollBar1->setValue(120);
  ClickHex(tx, ty, Qt::RightButton);  // the pop-up menu, left without a choice
  form1->PopupMenu1->hide();
  // 行動終了, so that the phase may be saved.
  OnUnitWindow([](TForm3* f) { f->Button7->click(); });
  ClickHex(game->U(corps).HexX, game->U(corps).HexY);
  ASSERT_EQ(game->GameState, 3);
  // The turn ends: the computer's whole phase, its battles with the player's answers in them,
  // and the start of the next turn.
  form1->N1->trigger();
  ASSERT_EQ(game->GameState, 2);
  form1->SaveClick(1);
  forms->Ui->Recorder = nullptr;

  QProcess play;
  play.setWorkingDirectory(dir.path());
  play.start(cli, {QStringLiteral("play"), QStringLiteral("session.txt.start.dat"), QStringLiteral("--script"),
                   QStringLiteral("session.txt"), QStringLiteral("--out"), QStringLiteral("replay.dat")});
  ASSERT_TRUE(play.waitForFinished(60000));
  ASSERT_EQ(play.exitCode(), 0) << play.readAllStandardError().toStdString();
  QFile saved(dir.path() + QStringLiteral("/Save1.dat")), replayed(dir.path() + QStringLiteral("/replay.dat"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  ASSERT_TRUE(replayed.open(QIODevice::ReadOnly));
  const QByteArray a = saved.readAll(), b = replayed.readAll();
  EXPECT_EQ(a.size(), 93856);
  if (a != b) dir.setAutoRemove(false);
  EXPECT_TRUE(a == b) << "the replay differs from the session's save; both kept in " << dir.path().toStdString();
  QFile script(dir.path() + QStringLiteral("/session.txt"));
  ASSERT_TRUE(script.open(QIODevice::ReadOnly));
  const QString lines = QString::fromUtf8(script.readAll());
  EXPECT_TRUE(lines.contains(QStringLiteral("button 補充\nanswer 0\nvalue "))) << lines.toStdString();
  EXPECT_TRUE(lines.contains(QStringLiteral("menu フェイズ終了\nmenu フェイズ終了\n")));
  EXPECT_TRUE(lines.contains(QStringLiteral("\nscroll 120 ")));
}

}  // namespace
}  // namespace milgant::test
