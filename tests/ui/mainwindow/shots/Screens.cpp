// gui_screens: what a player sees, written as PNG files for looking at: the title, a new game of
// each side, a scrolled map, a hovered castle, the side choice, a note, the about window, the
// settings' menus and battles; at 100 %, or at the window size given.
//   gui_screens <folder> [--zoom 100|150|200]
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../GuiFixture.h"
#include "ui/battlewindow/SLG_Unit4.h"
#include "ui/dialogs/SLG_Unit6.h"
#include "core/game/HexGrid.h"
#include "ui/text/Fonts.h"
#include "ui/mainwindow/Settings.h"
#include "ui/mainwindow/WindowUi.h"
#include "ui/text/SerifBoxs.h"
#include "core/rules/Movement.h"
#include "ui/unitwindow/SLG_Unit3.h"

using namespace milgant;

namespace {

QString out;
int zoom = 100;

void Save(QWidget* w, const QString& name) {
  QApplication::processEvents();
  w->grab().save(out + QLatin1Char('/') + name + QStringLiteral(".png"));
  std::printf("%s\n", qPrintable(name));
}

// Dialogs or menus drawn over the main window where they stand.
void SaveOver(QWidget* main, std::initializer_list<QWidget*> over, const QString& name) {
  QImage shot = main->grab().toImage();
  QPainter p(&shot);
  for (QWidget* dialog : over)
    p.drawPixmap(dialog->frameGeometry().topLeft() - main->frameGeometry().topLeft(), dialog->grab());
  p.end();
  shot.save(out + QLatin1Char('/') + name + QStringLiteral(".png"));
  std::printf("%s\n", qPrintable(name));
}

struct Session {
  QTemporaryDir dir;
  std::unique_ptr<Game> game = std::make_unique<Game>();
  std::unique_ptr<Forms> forms;
  test::ModalHand hand;
  Session() {
    test::CopyGameData(dir.path());
    forms = CreateForms(*game, dir.path(), nullptr);
    forms->Form1->OnClosed = [] {};
    GameSettings settings;
    settings.Zoom = zoom;
    forms->Form1->UseSettings(settings, QString());
    forms->Form1->show();
    hand.Windows = forms.get();
    forms->Form4->SerifBox1->WaitTime = 0;
  }
  void NewGame(int side) {
    hand.Answers.push_back(test::ModalHand::Press(side));
    forms->Form1->K5->trigger();
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("MILGANT_MUTE", "1");
  // --zoom 150 or 200: every window at that size, as the game starts with it.
  if (argc == 4 && std::strcmp(argv[2], "--zoom") == 0) zoom = std::atoi(argv[3]);
  if (zoom != 100 && zoom != 150 && zoom != 200) zoom = 100;
  ApplyZoomBeforeStart(zoom);
  QApplication app(argc, argv);
  if (argc != 2 && argc != 4) {
    std::fputs("usage: gui_screens <folder> [--zoom 100|150|200]\n", stderr);
    return 2;
  }
  out = QString::fromLocal8Bit(argv[1]);
  SetUpFonts();
  QApplication::setFont(WindowFont());
  {
    Session s;
    Save(s.forms->Form1, QStringLiteral("title"));
    s.hand.Answers.push_back([&](QWidget* w) {
      SaveOver(s.forms->Form1, {w}, QStringLiteral("side-choice"));
      test::ModalHand::Press(1)(w);
    });
    s.forms->Form1->K5->trigger();
    Save(s.forms->Form1, QStringLiteral("new-game-side1"));
    // The mouse over 京 in the replenishment phase of the first turn.
    const HexPos kyo = HexOrigin(2, 5);
    s.forms->Form1->Image5MouseMove(QPoint(kyo.X + 30 - s.game->ScrollX, kyo.Y + 30 - s.game->ScrollY));
    Save(s.forms->Form1, QStringLiteral("hover-kyo"));
    // The movement range of ソルカ軍's commander shown in the action phase.
    s.game->GameState = 3;
    s.game->PhaseSide = s.game->PlayerSide;
    s.game->ScrollX = 700;
    s.game->ScrollY = 320;
    s.game->ClickX = s.game->U(71).HexX;
    s.game->ClickY = s.game->U(71).HexY;
    s.game->ActiveUnit = 71;
    ShowMoveRange(*s.game, *s.forms->Ui, 71);
    const HexPos near = HexOrigin(17, 12);
    s.forms->Form1->Image5MouseMove(QPoint(near.X + 30 - 700, near.Y + 30 - 320));
    Save(s.forms->Form1, QStringLiteral("move-range"));
    ClearMoveRange(*s.game);
    s.game->RangeOverlay = 0;
    s.game->RangeShown = 0;
    s.game->GameState = 2;
    s.forms->Form1->ScrollBar1->setValue(600);
    s.forms->Form1->ScrollBar2->setValue(360);
    const HexPos yoshida = HexOrigin(18, 11);
    s.forms->Form1->Image5MouseMove(QPoint(yoshida.X + 30 - 600, yoshida.Y + 30 - 360));
    Save(s.forms->Form1, QStringLiteral("scrolled-hover-okazaki"));
    s.forms->Form1->ScrollBar1->setValue(1000);
    s.forms->Form1->ScrollBar2->setValue(1000);
    Save(s.forms->Form1, QStringLiteral("scrolled-to-the-end"));
    s.hand.Answers.push_back([&](QWidget* w) {
      SaveOver(s.forms->Form1, {w}, QStringLiteral("note-save-phase"));
      test::ModalHand::Press(0)(w);
    });
    s.game->GameState = 4;
    s.forms->Form1->SaveItems[0]->trigger();
    s.game->GameState = 2;
    s.forms->Form1->Help1->trigger();
    SaveOver(s.forms->Form1, {s.forms->Form6}, QStringLiteral("about"));
  }
  {
    Session s;
    s.NewGame(0);
    Save(s.forms->Form1, QStringLiteral("new-game-side0"));
  }
  {
    // The guidance: the hint line, the acting corps, a refused phase end, the unit window over
    // another corps, the save slots, the reinforcement choice and the end of a game.
    Session s;
    TForm1* f = s.forms->Form1;
    s.NewGame(1);
    Save(f, QStringLiteral("hint-replenishment"));
    f->N1->trigger();
    f->N1->trigger();
    Save(f, QStringLiteral("hint-action"));
    // 東雲家晴's corps has moved and still acts.
    Game& g = *s.game;
    g.GameState = 7;
    g.SelectedUnit = g.ActiveUnit = 71;
    const int x = g.U(71).HexX, y = g.U(71).HexY;
    f->ScrollBar1->setValue(std::max(0, x * 60 - 240));
    f->ScrollBar2->setValue(std::max(0, y * 44 - 176));
    f->RedrawMap();
    f->RefreshHint();
    Save(f, QStringLiteral("acting-corps-outlined"));
    f->N1->trigger();
    Save(f, QStringLiteral("phase-end-refused"));
    // Another corps of ソルカ軍 clicked while 71 acts.
    int other = -1;
    for (int slot = 1; slot < kUnitSlots && other == -1; ++slot) {
      const Unit& u = g.U(slot);
      if (slot != 71 && u.OnMap == 1 && u.Side == 1 && u.CommanderIndex == -1 &&
          (u.HexX != x || u.HexY != y))
        other = slot;
    }
    s.hand.Answers.push_back([&](QWidget* w) {
      SaveOver(f, {w}, QStringLiteral("unit-window-other-corps"));
      if (auto* f3 = dynamic_cast<TForm3*>(w)) f3->Button2->click();
    });
    const HexPos o = HexOrigin(g.U(other).HexX, g.U(other).HexY);
    f->Image5MouseDown(Qt::LeftButton, QPoint(o.X + 30 - g.ScrollX, o.Y + 30 - g.ScrollY));
    s.hand.Answers.push_back([&](QWidget* w) {
      SaveOver(f, {w}, QStringLiteral("unit-window-enemy"));
      if (auto* f3 = dynamic_cast<TForm3*>(w)) f3->Button2->click();
    });
    // A corps of ヴァルネ軍, scrolled into view and clicked.
    int enemy = -1;
    for (int slot = 1; slot < kUnitSlots && enemy == -1; ++slot) {
      const Unit& u = g.U(slot);
      if (u.OnMap == 1 && u.Side == 0 && u.CommanderIndex == -1) enemy = slot;
    }
    const HexPos e = HexOrigin(g.U(enemy).HexX, g.U(enemy).HexY);
    f->ScrollBar1->setValue(std::max(0, e.X - 240));
    f->ScrollBar2->setValue(std::max(0, e.Y - 176));
    f->Image5MouseDown(Qt::LeftButton, QPoint(e.X + 30 - g.ScrollX, e.Y + 30 - g.ScrollY));
    f->CastleNamesItem->setChecked(true);
    f->ScrollBar1->setValue(0);
    f->ScrollBar2->setValue(60);
    Save(f, QStringLiteral("castle-names"));
    f->CastleNamesItem->setChecked(false);
    g.GameState = 3;
    f->SaveItems[0]->trigger();
    Save(f, QStringLiteral("saved"));
    f->UpdateFileMenu();
    f->LoadMenu->popup(f->mapToGlobal(QPoint(60, 60)));
    QApplication::processEvents();
    SaveOver(f, {f->LoadMenu}, QStringLiteral("load-menu"));
    f->LoadMenu->hide();
    // 設定 with the battle messages' choices open, and 表示.
    QMenu *settings = nullptr, *view = nullptr;
    for (QAction* a : f->menuBar()->actions()) {
      if (a->text() == QStringLiteral("設定")) settings = a->menu();
      if (a->text() == QStringLiteral("表示")) view = a->menu();
    }
    const QRect settingsItem = f->menuBar()->actionGeometry(settings->menuAction());
    settings->popup(f->menuBar()->mapToGlobal(settingsItem.bottomLeft()));
    QApplication::processEvents();
    QAction* messagesItem = settings->actions()[1];
    messagesItem->menu()->popup(settings->mapToGlobal(settings->actionGeometry(messagesItem).topRight()));
    QApplication::processEvents();
    SaveOver(f, {settings, messagesItem->menu()}, QStringLiteral("settings-menu"));
    messagesItem->menu()->hide();
    settings->hide();
    const QRect viewItem = f->menuBar()->actionGeometry(view->menuAction());
    view->popup(f->menuBar()->mapToGlobal(viewItem.bottomLeft()));
    QApplication::processEvents();
    SaveOver(f, {view}, QStringLiteral("view-menu"));
    view->hide();
    // Another size: it applies from the next start, and the note says so.
    s.hand.Answers.push_back([&](QWidget* w) {
      SaveOver(f, {w}, QStringLiteral("zoom-note"));
      test::ModalHand::Press(0)(w);
    });
    f->SettingItem(SettingKey::Zoom, zoom == 200 ? 0 : 2)->trigger();
    // The reinforcement choice of an attacker with two candidates.
    s.hand.Windows = nullptr;
    TForm4* battle = s.forms->Form4;
    battle->BattleShow(x, y);
    UnitList candidates;
    candidates.Slots[0] = other;
    candidates.Slots[1] = 71;
    candidates.Count = 2;
    QTimer::singleShot(200, [&] {
      Save(battle, QStringLiteral("battle-reinforcement-choice"));
      battle->Button3->click();
    });
    battle->BattleChooseReinforcement(0, candidates);
    battle->BattleClose();
    g.GameState = 0;
    f->GameOver(1);
    Save(f, QStringLiteral("game-over"));
  }
  {
    // The computer's opening battles of a ヴァルネ軍 game: the first decided one is kept.
    Session s;
    s.hand.Windows = nullptr;
    TForm4* battle = s.forms->Form4;
    int shots = 0;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (!battle->isVisible()) return;
      if (battle->SerifBox1->Waiting()) {
        if (battle->Summary->isVisible() && shots < 6)
          Save(battle, QStringLiteral("battle-summary-%1").arg(++shots));
        battle->SerifBox1->Next();
      }
      for (QPushButton* refuse : {battle->Button3, battle->Button4})
        if (refuse->isEnabled()) refuse->click();
    });
    watch.start();
    s.game->Rng.SetSeed(7);
    s.NewGame(0);
  }
  return 0;
}
