// The guidance around the game's commands: the hint line and the reasons it flashes, the
// outline of the acting corps, the greyed commands of the unit window and of the menus, the
// save slots' labels and the question before unsaved play is lost, the reinforcement choice of
// the battle window, and the end of a game.
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QWheelEvent>

#include "GuiFixture.h"
#include "core/game/HexGrid.h"
#include "core/game/SaveImage.h"
#include "core/game/Text.h"
#include "ui/battlewindow/SLG_Unit4.h"
#include "ui/mainwindow/AttackAid.h"
#include "ui/mainwindow/Guidance.h"
#include "ui/mainwindow/WindowUi.h"
#include "ui/text/SerifBoxs.h"
#include "ui/unitwindow/SLG_Unit3.h"
#include "ui/widgets/TImage.h"

namespace milgant::test {
namespace {

class Guidance : public GuiTest {
 protected:
  void ClickHex(int x, int y) {
    const HexPos o = HexOrigin(x, y);
    form1->Image5MouseDown(Qt::LeftButton, QPoint(o.X + 30 - game->ScrollX, o.Y + 30 - game->ScrollY));
  }
  // The view scrolled so that (x, y) is well inside it.
  void Show(int x, int y) {
    form1->ScrollBar1->setValue(std::max(0, x * 60 - 240));
    form1->ScrollBar2->setValue(std::max(0, y * 44 - 176));
    form1->RedrawMap();
  }
  static void Settle() {
    QEventLoop loop;
    QTimer::singleShot(30, &loop, &QEventLoop::quit);
    loop.exec();
  }
  // Looks at the next unit window, then cancels it.
  void OnUnitWindow(std::function<void(TForm3*)> look) {
    Settle();
    hand->Answers.push_back([look](QWidget* w) {
      auto* f3 = dynamic_cast<TForm3*>(w);
      ASSERT_NE(f3, nullptr);
      look(f3);
      f3->Button2->click();
    });
  }
  // A ソルカ軍 corps commander other than `not` on another hex.
  int OtherCorps(int side, int notSlot) const {
    const Unit& n = game->U(notSlot);
    for (int slot = 1; slot < kUnitSlots; ++slot) {
      const Unit& u = game->U(slot);
      if (slot != notSlot && u.OnMap == 1 && u.Side == side && u.CommanderIndex == -1 &&
          (u.HexX != n.HexX || u.HexY != n.HexY))
        return slot;
    }
    return -1;
  }
};

TEST(GuidanceTexts, EachPhaseSaysWhatToDoAndWhyPhaseEndWaits) {
  Game g;
  g.PlayerSide = 1;
  g.ComputerSide = 0;
  g.SelectedUnit = 71;
  g.U(71).ArmyName.Assign(Cp932("ソルカ軍"));
  g.U(71).GeneralName.Assign(Cp932("東雲家晴"));
  struct Case {
    int state;
    const char* hint;
    const char* refusal;  // empty: フェイズ終了 ends the phase
  };
  const Case cases[] = {
      {0, "ファイル ▸ 新規 (Ctrl+N) で始めるか、ロード で続きを遊べます", "ゲームが始まっていません"},
      {2, "補充フェイズ: 補充する自軍の部隊をクリック。終えたら フェイズ終了 (Ctrl+E)", ""},
      {27, "編成フェイズ: 自軍の部隊をクリックして 独立・編成。終えたら フェイズ終了 (Ctrl+E)", ""},
      {3, "行動フェイズ: 自軍の軍団をクリックして命令。動かし終えたら フェイズ終了 (Ctrl+E)", ""},
      {4, "移動先のヘックスをクリック（右クリックで取り消し）",
       "移動の途中です: 移動を決めるか、右クリックで取り消してから フェイズ終了"},
      {24, "同じヘックスをもう一度クリックで移動決定、ほかのヘックスのクリックで取り消し",
       "移動の途中です: 移動を決めるか、右クリックで取り消してから フェイズ終了"},
      {6, "攻撃する隣のヘックスをクリック（右クリックで攻撃する軍団の選び直し）",
       "攻撃の途中です: 攻撃先を選び、攻撃しないなら確認で「Cancel」を押してから フェイズ終了"},
      {7, "ソルカ軍 東雲家晴 が行動中: 続けて命令するか、ユニット情報の「行動終了」で行動を終えてください",
       "ソルカ軍 東雲家晴 が行動中です: ユニット情報の「行動終了」で行動を終えてから フェイズ終了"},
      {15, "ヴァルネ軍が行動中です", "コンピュータの手番が終わるまでお待ちください"},
  };
  for (const Case& c : cases) {
    g.GameState = c.state;
    EXPECT_EQ(PhaseHint(g, -1), QString::fromUtf8(c.hint)) << c.state;
    EXPECT_EQ(PhaseEndRefusal(g), QString::fromUtf8(c.refusal)) << c.state;
    EXPECT_EQ(SaveRefusal(g).isEmpty(), c.state == 2 || c.state == 27 || c.state == 3) << c.state;
  }
  g.GameState = 0;
  EXPECT_EQ(PhaseHint(g, 0), QStringLiteral("ヴァルネ軍の勝利でゲームは終わりました。次は ファイル ▸ 新規 か ロード で。"));
}

TEST_F(Guidance, TheActingCorpsIsOutlinedAndHoldsBackPhaseEndAndOtherCorps) {
  // Before a game only 新規 and ロード have anything to do.
  EXPECT_FALSE(form1->N1->isEnabled());
  EXPECT_FALSE(form1->SaveMenu->menuAction()->isEnabled());
  StartNewGame(1);
  EXPECT_TRUE(form1->N1->isEnabled());
  EXPECT_EQ(form1->HintLine->text(), PhaseHint(*game, -1));
  form1->N1->trigger();
  form1->N1->trigger();
  ASSERT_EQ(game->GameState, 3);
  const int acting = 71, other = OtherCorps(1, 71);
  ASSERT_NE(other, -1);
  const Unit& a = game->U(acting);
  Show(a.HexX, a.HexY);
  const HexPos o = HexOrigin(a.HexX, a.HexY);
  // The top corner of the hex: gold once the corps acts, the map's own colour before.
  const QPoint corner(o.X + 30 - game->ScrollX, o.Y + 2 - game->ScrollY);
  const QColor gold(255, 215, 0);
  EXPECT_NE(form1->Image5->grab().toImage().pixelColor(corner), gold);
  game->GameState = 7;
  game->SelectedUnit = game->ActiveUnit = acting;
  form1->RefreshHint();
  EXPECT_EQ(form1->Image5->grab().toImage().pixelColor(corner), gold);

  // フェイズ終了 keeps the phase and says why, highlighted.
  form1->N1->trigger();
  EXPECT_EQ(game->GameState, 7);
  EXPECT_TRUE(form1->HintFlashing());
  EXPECT_EQ(form1->HintLine->text(), PhaseEndRefusal(*game));
  EXPECT_EQ(form1->N1->toolTip(), PhaseEndRefusal(*game));

  // No move has just been confirmed: 取り消し says what it could take back.
  form1->UndoItem->trigger();
  EXPECT_EQ(game->GameState, 7);
  EXPECT_EQ(form1->HintLine->text(), QStringLiteral("取り消せるのは、決定したばかりの移動だけです（ほかの操作の前に）"));

  // Another corps: only 行動終了 and Cancel; an enemy corps: only Cancel.
  int seen = 0;
  OnUnitWindow([&](TForm3* f) {
    ++seen;
    for (QPushButton* b : {f->Button1, f->Button3, f->Button6, f->Button9, f->Button10}) EXPECT_FALSE(b->isEnabled());
    EXPECT_TRUE(f->Button7->isEnabled());
    EXPECT_EQ(f->HintLabel->text(),
              CorpsName(*game, acting) + QStringLiteral(" が行動中です。「行動終了」で終えるまで、ほかの軍団には命令できません"));
  });
  ClickHex(game->U(other).HexX, game->U(other).HexY);
  const int enemy = OtherCorps(0, acting);
  OnUnitWindow([&](TForm3* f) {
    ++seen;
    for (QPushButton* b : {f->Button1, f->Button3, f->Button4, f->Button5, f->Button6, f->Button7, f->Button8,
                           f->Button9, f->Button10})
      EXPECT_FALSE(b->isEnabled());
    EXPECT_TRUE(f->Button2->isEnabled());
    EXPECT_EQ(f->HintLabel->text(), QStringLiteral("敵の部隊です。様子は見られますが、命令はできません"));
  });
  Show(game->U(enemy).HexX, game->U(enemy).HexY);
  ClickHex(game->U(enemy).HexX, game->U(enemy).HexY);
  Settle();
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(game->GameState, 7);
  EXPECT_EQ(game->SelectedUnit, acting);
}

TEST_F(Guidance, CtrlZTakesBackTheMoveJustConfirmedInTheWindow) {
  StartNewGame(1);
  form1->N1->trigger();
  form1->N1->trigger();
  ASSERT_EQ(game->GameState, 3);
  auto image = [&] {
    auto copy = std::make_unique<Game>(*game);
    Snapshot(*copy);
    return copy->SaveImage;
  };
  const Unit& a = game->U(71);
  const int x0 = a.HexX, y0 = a.HexY;
  Show(x0, y0);
  const auto before = image();
  OnUnitWindow([](TForm3* f) { f->Button1->click(); });
  ClickHex(x0, y0);
  ASSERT_EQ(game->GameState, 4);
  HexPos to{-1, -1};
  for (int d = 1; d <= 6 && to.X < 0; ++d) {
    const HexPos n = Neighbour(x0, y0, d);
    if (OnMapHex(n.X, n.Y) && game->MoveBlocked[n.X][n.Y] == 0 && UnitsAt(*game, n.X, n.Y).Count == 0) to = n;
  }
  ASSERT_GE(to.X, 0);
  ClickHex(to.X, to.Y);
  ASSERT_EQ(game->GameState, 24);
  ClickHex(to.X, to.Y);
  ASSERT_EQ(game->GameState, 7);
  EXPECT_TRUE(form1->HintLine->text().endsWith(QStringLiteral("（Ctrl+Z で今の移動を取り消し）")));
  form1->UndoItem->trigger();
  EXPECT_EQ(game->GameState, 3);
  EXPECT_EQ(a.HexX, x0);
  EXPECT_EQ(a.HexY, y0);
  EXPECT_TRUE(image() == before);
  EXPECT_EQ(form1->HintLine->text(), QStringLiteral("移動を取り消しました"));
}

TEST_F(Guidance, OwnCorpsStillToActAreMarkedListedFirstAndVisitedByN) {
  StartNewGame(1);
  auto marked = [&](int r) { return form1->ListBox1->item(r)->data(Qt::UserRole).toBool(); };
  int own = 0;
  while (own < form1->PanelListCount && game->U(form1->PanelListSlots[own]).Side == 1) ++own;
  ASSERT_GE(own, 2);
  for (int r = own; r < form1->PanelListCount; ++r) EXPECT_EQ(game->U(form1->PanelListSlots[r]).Side, 0) << r;
  // Nobody is marked before the action phase.
  for (int r = 0; r < own; ++r) EXPECT_FALSE(marked(r)) << r;
  form1->N1->trigger();
  form1->N1->trigger();
  ASSERT_EQ(game->GameState, 3);
  form1->RedrawMap();
  for (int r = 0; r < form1->PanelListCount; ++r)
    EXPECT_EQ(marked(r), r < own && game->U(form1->PanelListSlots[r]).ActionPoints > 0) << r;
  // The first own corps has acted: N passes over it, and the view follows the one it shows.
  const int done = form1->PanelListSlots[0], next = form1->PanelListSlots[1];
  game->U(done).CanMove = 0;
  form1->ListBox1->setCurrentRow(own);  // an enemy row
  form1->NextCorpsItem->trigger();
  EXPECT_EQ(form1->ListBox1->currentRow(), 1);
  EXPECT_EQ(game->ScrollX, std::max(0, game->U(next).HexX * 60 - 240));
  EXPECT_EQ(game->ScrollY, std::max(0, game->U(next).HexY * 44 - 176));
  EXPECT_EQ(form1->Label[10]->text(), CorpsName(*game, next).section(QLatin1Char(' '), 1));
  form1->RedrawMap();
  EXPECT_FALSE(marked(0));
  // With everybody done the hint line says so and the list stays where it was.
  for (int r = 0; r < own; ++r) game->U(form1->PanelListSlots[r]).CanMove = 0;
  form1->NextCorpsItem->trigger();
  EXPECT_EQ(form1->ListBox1->currentRow(), 1);
  EXPECT_EQ(form1->HintLine->text(), QStringLiteral("動ける軍団は残っていません。フェイズ終了 (Ctrl+E) で次へ進みます"));
  EXPECT_EQ(game->GameState, 3);
}

TEST_F(Guidance, WheelMiddleDragAndArrowsScrollTheMapAndTheOutlineStaysOnIt) {
  StartNewGame(1);
  form1->ScrollBar1->setValue(300);
  form1->ScrollBar2->setValue(300);
  const QPointF at(200, 200);
  struct Case {
    const char* what;
    std::function<void()> act;
    int scrollX, scrollY;
  };
  auto wheel = [&](QPoint turn, Qt::KeyboardModifiers mods) {
    QWheelEvent e(at, form1->Image5->mapToGlobal(at), QPoint(), turn, Qt::NoButton, mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form1->Image5, &e);
  };
  auto key = [&](int k) {
    QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(form1->Image5, &e);
  };
  auto mouse = [&](QEvent::Type type, QPointF p, Qt::MouseButton b, Qt::MouseButtons held) {
    QMouseEvent e(type, p, form1->Image5->mapToGlobal(p), b, held, Qt::NoModifier);
    QApplication::sendEvent(form1->Image5, &e);
  };
  const Case cases[] = {
      {"wheel down a notch", [&] { wheel({0, -120}, Qt::NoModifier); }, 300, 360},
      {"Shift+wheel", [&] { wheel({0, -120}, Qt::ShiftModifier); }, 360, 360},
      {"wheel up two notches", [&] { wheel({0, 240}, Qt::NoModifier); }, 360, 240},
      {"middle drag",
       [&] {
         mouse(QEvent::MouseButtonPress, at, Qt::MiddleButton, Qt::MiddleButton);
         mouse(QEvent::MouseMove, at + QPointF(-50, 40), Qt::NoButton, Qt::MiddleButton);
       },
       410, 200},
      {"Left", [&] { key(Qt::Key_Left); }, 350, 200},
      {"Down", [&] { key(Qt::Key_Down); }, 350, 260},
      {"PageUp twice, held at the top", [&] { key(Qt::Key_PageUp); key(Qt::Key_PageUp); key(Qt::Key_PageUp); }, 350, 0},
  };
  for (const Case& c : cases) {
    c.act();
    EXPECT_EQ(game->ScrollX, c.scrollX) << c.what;
    EXPECT_EQ(game->ScrollY, c.scrollY) << c.what;
    EXPECT_EQ(form1->ScrollBar1->value(), c.scrollX) << c.what;
    EXPECT_EQ(form1->ScrollBar2->value(), c.scrollY) << c.what;
  }
  // Past the map's right edge the status line counts on, but no outline is drawn.
  form1->ScrollBar1->setValue(1000);
  const QPoint beyond(500, 200);
  form1->Image5MouseMove(beyond);
  const QImage before = form1->Image5->Picture;
  form1->Image5MouseMove(beyond + QPoint(1, 0));
  EXPECT_GE(form1->HoverX, kMapSize);
  EXPECT_TRUE(form1->Image5->Picture == before);
  // Over the map it is.
  form1->Image5MouseMove(QPoint(60, 200));
  ASSERT_TRUE(OnMapHex(form1->HoverX, form1->HoverY));
  EXPECT_FALSE(form1->Image5->Picture == before);
}

TEST_F(Guidance, SaveSlotsSayWhatTheyHoldAndUnsavedPlayIsAskedFor) {
  StartNewGame(1);
  form1->UpdateFileMenu();
  for (int n = 0; n < 5; ++n) {
    EXPECT_EQ(form1->LoadItems[n]->text(), QStringLiteral("データ%1\t空き").arg(n + 1));
    EXPECT_FALSE(form1->LoadItems[n]->isEnabled());
    EXPECT_TRUE(form1->SaveItems[n]->isEnabled());
  }
  // A short file is no save, but its load still answers with the game's own error.
  QFile bad(dir.filePath(QStringLiteral("Save4.dat")));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write(QByteArray(100, '\0'));
  bad.close();
  form1->SaveItems[1]->trigger();
  EXPECT_EQ(form1->HintLine->text(), QStringLiteral("データ2 にセーブしました"));
  form1->UpdateFileMenu();
  EXPECT_TRUE(form1->LoadItems[1]->text().startsWith(QStringLiteral("データ2\t1ターン ソルカ軍 補充フェイズ  ")));
  EXPECT_TRUE(form1->LoadItems[1]->isEnabled());
  EXPECT_EQ(form1->LoadItems[3]->text(), QStringLiteral("データ4\tセーブファイルではありません"));
  EXPECT_TRUE(form1->LoadItems[3]->isEnabled());
  // Mid-move the save items wait, with the reason as their tooltip.
  game->GameState = 4;
  form1->UpdateFileMenu();
  EXPECT_FALSE(form1->SaveItems[0]->isEnabled());
  EXPECT_EQ(form1->SaveItems[0]->toolTip(), SaveRefusal(*game));
  game->GameState = 2;

  // Nothing played since the save: 新規 asks nothing. Played on: it asks, and "いいえ" keeps it.
  ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("Autosave.dat"))));
  StartNewGame(0);
  for (const auto& seen : Seen()) EXPECT_NE(seen.Caption, QStringLiteral("確認"));
  ASSERT_EQ(game->PlayerSide, 0);
  ASSERT_EQ(game->GameState, 2);
  const std::size_t before = Seen().size();
  // A ヴァルネ軍 game's first turn is autosaved too.
  EXPECT_FALSE(form1->Unsaved());
  QFile autosave(dir.filePath(QStringLiteral("Autosave.dat")));
  ASSERT_TRUE(autosave.open(QIODevice::ReadOnly));
  auto now = std::make_unique<Game>(*game);
  Snapshot(*now);
  EXPECT_TRUE(autosave.readAll() ==
              QByteArray(reinterpret_cast<const char*>(now->SaveImage.data()), static_cast<qsizetype>(kSaveImageSize)));
  form1->N1->trigger();
  ASSERT_TRUE(form1->Unsaved());
  hand->Answers.push_back(ModalHand::Press(1));
  form1->K5->trigger();
  ASSERT_EQ(Seen().size(), before + 1);
  EXPECT_EQ(Seen().back().Caption, QStringLiteral("確認"));
  EXPECT_EQ(Seen().back().Text, QStringLiteral("最後のセーブの後の進行は失われます。\n新しいゲームを始めますか？"));
  EXPECT_EQ(game->GameState, 27);
  hand->Answers.push_back(ModalHand::Press(1));
  form1->close();
  EXPECT_FALSE(closed);
  EXPECT_EQ(Seen().back().Text, QStringLiteral("最後のセーブの後の進行は失われます。\n終了しますか？"));
  form1->close();  // answered "はい"
  EXPECT_TRUE(closed);
}

TEST_F(Guidance, TheReinforcementChoiceWaitsVisiblyForEnterOrEscape) {
  StartNewGame(1);
  hand->Windows = nullptr;
  TForm4* b = forms->Form4;
  b->BattleShow(game->U(71).HexX, game->U(71).HexY);
  UnitList candidates;
  candidates.Slots[0] = 71;
  candidates.Slots[1] = OtherCorps(1, 71);
  candidates.Count = 2;
  struct Case {
    int key;
    int row;  // what the choice returns
  };
  for (const Case& c : {Case{Qt::Key_Return, 0}, Case{Qt::Key_Escape, -1}}) {
    bool lit = false, hint = false, mark = false, focus = false;
    QTimer::singleShot(50, b, [&] {
      lit = !b->Button1->styleSheet().isEmpty() && !b->Button3->styleSheet().isEmpty();
      hint = b->ChoiceHint->isVisible() &&
             b->ChoiceHint->text() == QStringLiteral("援軍を送れます。一覧から武将を選んで「援軍選択」(Enter)、"
                                                     "送らないときは「援軍拒否」(Esc)。");
      mark = b->SerifBox1->HoldMark;
      focus = b->Button1->hasFocus();
      QKeyEvent key(QEvent::KeyPress, c.key, Qt::NoModifier);
      QApplication::sendEvent(b->ListBox1, &key);
    });
    EXPECT_EQ(b->BattleChooseReinforcement(0, candidates), c.row) << c.key;
    EXPECT_TRUE(lit && hint && mark && focus) << lit << hint << mark << focus;
    EXPECT_FALSE(b->ChoiceHint->isVisible());
    EXPECT_FALSE(b->SerifBox1->HoldMark);
    EXPECT_TRUE(b->Button1->styleSheet().isEmpty());
  }
  b->BattleClose();
}

TEST_F(Guidance, ADecidedBattleIsSummedUpFromItsOutcome) {
  StartNewGame(1);
  hand->Windows = nullptr;
  TForm4* b = forms->Form4;
  const int attacker = 71, defender = OtherCorps(0, 71), helper = OtherCorps(1, 71);
  Unit& a = game->U(attacker);
  Unit& d = game->U(defender);
  b->BattleShow(d.HexX, d.HexY);
  EXPECT_FALSE(b->Summary->isVisible());
  BattleView view;
  view.AttackerSide = 1;
  view.DefenderSide = 0;
  view.AttackerUnits.Slots[0] = attacker;
  view.AttackerUnits.Count = 1;
  view.DefenderUnits.Slots[0] = defender;
  view.DefenderUnits.Count = 1;
  b->BattleSides(view);
  const int attackerSteps = a.Steps, defenderSteps = d.Steps;
  // Round 2: a reinforcement joins with its steps of the moment; the sides as they began stay.
  game->U(helper).Steps -= 1;
  view.AttackerUnits.Slots[1] = helper;
  view.AttackerUnits.Count = 2;
  view.DefenderSide = 1;
  b->BattleSides(view);
  a.Steps = attackerSteps - 3;
  game->U(helper).Steps -= 2;
  d.OnMap = 0;  // wiped out: all it brought is lost
  d.Steps = 1;
  const QString head = QStringLiteral("戦闘の結果（2ラウンド）\n攻撃側 ソルカ軍: 損害 5ステップ\n");
  EXPECT_EQ(b->SummaryText({.Rounds = 2, .AdvancedUnit = attacker}),
            head + QStringLiteral("防御側 ヴァルネ軍: 損害 %1ステップ、全滅 1部隊\n防御側は全滅、東雲家晴が進出").arg(defenderSteps));
  d.OnMap = 1;
  d.Steps = defenderSteps;
  EXPECT_EQ(b->SummaryText({.Rounds = 2, .AttackerRetreated = true}),
            head + QStringLiteral("防御側 ヴァルネ軍: 損害 0ステップ\n攻撃側が後退"));
  b->BattleOver({.Rounds = 2, .DefenderRetreated = true});
  EXPECT_TRUE(b->Summary->isVisible());
  EXPECT_TRUE(b->Summary->text().endsWith(QStringLiteral("防御側が後退")));
  b->BattleClose();
  EXPECT_FALSE(b->Summary->isVisible());
}

TEST_F(Guidance, CastleNamesOnTheMapAndTipsOnThePanelsTerms) {
  StartNewGame(1);
  // One castle of each kind of hex: its name, and the points it moves when it changes hands.
  struct Kind {
    int terrain;
    const char* suffix;
  };
  const int c = 1;
  Castle& castle = game->Castles[c];
  const QString name = QString::fromStdString(Cp932ToUtf8Lossy(castle.Name.View()));
  const int kept = game->H(castle.HexX, castle.HexY).Terrain;
  for (const Kind& k : {Kind{8, " 1"}, Kind{9, " 1"}, Kind{10, " 2"}, Kind{11, " 2"}, Kind{12, ""}, Kind{13, ""}, Kind{2, ""}}) {
    game->H(castle.HexX, castle.HexY).Terrain = k.terrain;
    EXPECT_EQ(CastleLabel(*game, c), name + QString::fromUtf8(k.suffix)) << k.terrain;
  }
  game->H(castle.HexX, castle.HexY).Terrain = kept;
  // 京 (2, 5), a large city: the names show over the map only while 城名 is on.
  Show(2, 5);
  const QImage plain = form1->Image5->grab().toImage();
  form1->CastleNamesItem->setChecked(true);
  const QImage named = form1->Image5->grab().toImage();
  EXPECT_FALSE(plain == named);
  const HexPos kyo = HexOrigin(2, 5);
  int blue = 0;
  for (int x = kyo.X - game->ScrollX; x < kyo.X + 60 - game->ScrollX; ++x) {
    const QColor px = named.pixelColor(x, kyo.Y + 49 - game->ScrollY);
    blue += px == QColor(110, 160, 255) ? 1 : 0;
  }
  EXPECT_GT(blue, 0);  // ヴァルネ軍's colour
  form1->CastleNamesItem->setChecked(false);
  EXPECT_TRUE(form1->Image5->grab().toImage() == plain);
  struct Tip {
    int label;
    const char* tip;
  };
  for (const Tip& t : {Tip{25, "率いることのできる配下武将の数。采配より1人多くまで付けられます"},
                       Tip{29, "戦闘のとき、この武将の軍勢の強さに加わる修正"},
                       Tip{6, "高いほど、「回復」で混乱から立ち直りやすくなります"},
                       Tip{5, "移動・戦闘・回復・野戦築城・援軍待機に使うポイント（残り／このターン／軍団の上限）"},
                       Tip{37, "この距離（ヘックス）までの味方の戦闘に、援軍として加われます"},
                       Tip{36, "陣地を築いて守りを固めたかどうか。移動すると失われます"}, Tip{1, ""}})
    EXPECT_EQ(form1->Label[t.label]->toolTip(), QString::fromUtf8(t.tip)) << t.label;
}

TEST_F(Guidance, AfterAnEndingTheStatusLineNamesTheWinnerAndOnlyNewAndLoadAreLeft) {
  StartNewGame(1);
  game->GameState = 0;
  form1->GameOver(0);
  EXPECT_EQ(form1->Panel1->text(), GameOverLine(0));
  EXPECT_EQ(form1->HintLine->text(), GameOverLine(0));
  EXPECT_FALSE(form1->N1->isEnabled());
  EXPECT_FALSE(form1->N4->isEnabled());
  EXPECT_FALSE(form1->SaveMenu->menuAction()->isEnabled());
  EXPECT_TRUE(form1->K5->isEnabled());
  EXPECT_TRUE(form1->LoadMenu->menuAction()->isEnabled());
  // Nothing is lost by leaving an ended game.
  EXPECT_FALSE(form1->Unsaved());
}

}  // namespace
}  // namespace milgant::test

namespace milgant::test {
namespace {

// The tooltip the preview shows, a window of its own.
QWidget* TipWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && w->inherits("QTipLabel")) return w;
  return nullptr;
}

TEST_F(Guidance, ChoosingATargetRingsTheEnemyHexesAndPreviewsTheOneUnderTheMouse) {
  game->Rng.SetSeed(20261209);
  StartNewGame(1);
  form1->N1->trigger();
  form1->N1->trigger();
  ASSERT_EQ(game->GameState, 3);
  // The first enemy corps is put on open ground and corps 71 beside it.
  auto open = [&](HexPos h) {
    return OnMapHex(h.X, h.Y) && UnitsAt(*game, h.X, h.Y).Count == 0 && CastleAt(*game, h.X, h.Y) == -1 &&
           game->H(h.X, h.Y).Terrain != 5 && game->H(h.X, h.Y).Terrain != 7;
  };
  HexPos target{-1, -1}, stand{-1, -1};
  for (int x = 4; x < kMapSize - 4 && target.X < 0; ++x) {
    for (int y = 4; y < kMapSize - 4 && target.X < 0; ++y) {
      if (!open({x, y}) || !open(Neighbour(x, y, 4))) continue;
      target = {x, y};
      stand = Neighbour(x, y, 4);
    }
  }
  ASSERT_GE(target.X, 0);
  auto moveCorps = [&](int slot, HexPos to) {
    Unit& c = game->U(slot);
    c.HexX = static_cast<std::uint8_t>(to.X);
    c.HexY = static_cast<std::uint8_t>(to.Y);
    for (int i = 0; i < c.SubordinateCount; ++i) {
      Unit& s = game->U(c.Subordinates[static_cast<std::size_t>(i)]);
      s.HexX = c.HexX;
      s.HexY = c.HexY;
    }
  };
  int enemy = 1;
  while (!(game->U(enemy).OnMap == 1 && game->U(enemy).Side == 0 && game->U(enemy).CommanderIndex == -1)) ++enemy;
  moveCorps(enemy, target);
  moveCorps(71, stand);
  Unit& a = game->U(71);
  a.ActionPoints = 8;
  game->GameState = 6;
  game->SelectedUnit = game->ActiveUnit = 71;
  Show(stand.X, stand.Y);
  Snapshot(*game);
  const auto image = game->SaveImage;
  const std::uint32_t seed = game->Rng.Seed();

  // The enemy's hex is ringed in red, an empty neighbour is not.
  const std::vector<HexPos> targets = form1->Aid().Targets();
  ASSERT_FALSE(targets.empty());
  EXPECT_NE(std::find(targets.begin(), targets.end(), target), targets.end());
  const QImage view = form1->Image5->grab().toImage();
  auto leftEdge = [&](HexPos h) {
    const HexPos o = HexOrigin(h.X, h.Y);
    return view.pixelColor(o.X + 2 - game->ScrollX, o.Y + 30 - game->ScrollY);
  };
  EXPECT_EQ(leftEdge(target), QColor(230, 30, 30));
  for (int d = 1; d <= 6; ++d) {
    const HexPos n = Neighbour(stand.X, stand.Y, d);
    if (OnMapHex(n.X, n.Y) && UnitsAt(*game, n.X, n.Y).Count == 0 && CastleAt(*game, n.X, n.Y) == -1) {
      EXPECT_NE(leftEdge(n), QColor(230, 30, 30)) << n.X << "," << n.Y;
    }
  }

  // Over the target: the odds as the attack command reckons them, first without the estimate.
  const AttackPreview p = PreviewAttack(*game, 71, target.X, target.Y);
  const HexPos o = HexOrigin(target.X, target.Y);
  form1->Image5MouseMove(QPoint(o.X + 30 - game->ScrollX, o.Y + 30 - game->ScrollY));
  const QString odds = QStringLiteral("兵力比") + QString::number(p.Odds, 'f', 2);
  EXPECT_TRUE(form1->Panel1->text().contains(odds)) << form1->Panel1->text().toStdString();
  EXPECT_TRUE(form1->AttackTip().contains(QStringLiteral("1ラウンドの損害"))) << form1->AttackTip().toStdString();
  EXPECT_TRUE(form1->AttackTip().contains(QStringLiteral("試算中")));
  form1->Aid().WaitForEstimates();
  Settle();
  const AttackEstimate e = SimulateAttack(*game, 71, target.X, target.Y, kEstimateBattles, kEstimateSeed);
  const QString out = QStringLiteral("味方の後退・全滅</td><td align=\"right\">&nbsp;") + QString::number(e.AttackerOut * 100, 'f', 0) + QStringLiteral("%");
  EXPECT_TRUE(form1->AttackTip().contains(out)) << form1->AttackTip().toStdString();
  if (!p.SingleRound) {
    EXPECT_TRUE(form1->Panel1->text().contains(QStringLiteral("味方後退") + QString::number(e.AttackerOut * 100, 'f', 0)));
  }
  Shot(form1, QStringLiteral("attack-preview-field"));
  if (QWidget* tip = TipWindow()) Shot(tip, QStringLiteral("attack-preview-field-tip"));
  // Any castle among the targets is previewed with its walls.
  for (const HexPos t : targets) {
    if (CastleAt(*game, t.X, t.Y) == -1) continue;
    const HexPos co = HexOrigin(t.X, t.Y);
    form1->Image5MouseMove(QPoint(co.X + 30 - game->ScrollX, co.Y + 30 - game->ScrollY));
    form1->Aid().WaitForEstimates();
    Settle();
    EXPECT_TRUE(form1->AttackTip().contains(QStringLiteral("耐久"))) << form1->AttackTip().toStdString();
    EXPECT_TRUE(form1->AttackTip().contains(QStringLiteral("落城")));
    Shot(form1, QStringLiteral("attack-preview-castle"));
    if (QWidget* tip = TipWindow()) Shot(tip, QStringLiteral("attack-preview-castle-tip"));
  }

  // Two hexes off: why not, in the attack command's words, and no tooltip of odds.
  const HexPos far = Neighbour(Neighbour(stand.X, stand.Y, 1).X, Neighbour(stand.X, stand.Y, 1).Y, 1);
  const HexPos fo = HexOrigin(far.X, far.Y);
  form1->Image5MouseMove(QPoint(fo.X + 30 - game->ScrollX, fo.Y + 30 - game->ScrollY));
  EXPECT_TRUE(form1->Panel1->text().endsWith(QStringLiteral("隣接したへクスを攻撃して下さい")))
      << form1->Panel1->text().toStdString();

  // Previewing changed nothing; leaving the choice takes the rings and the preview away.
  EXPECT_EQ(game->Rng.Seed(), seed);
  Snapshot(*game);
  EXPECT_EQ(game->SaveImage, image);
  form1->Image5MouseDown(Qt::RightButton, QPoint(o.X + 30 - game->ScrollX, o.Y + 30 - game->ScrollY));
  EXPECT_EQ(game->GameState, 5);
  EXPECT_TRUE(form1->Aid().Targets().empty());
  EXPECT_TRUE(form1->AttackTip().isEmpty());
  EXPECT_NE(form1->Image5->grab().toImage().pixelColor(o.X + 2 - game->ScrollX, o.Y + 30 - game->ScrollY),
            QColor(230, 30, 30));
}

}  // namespace
}  // namespace milgant::test
