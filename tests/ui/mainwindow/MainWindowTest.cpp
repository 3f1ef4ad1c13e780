// The main window as a player meets it: start-up with and without its data, its components and
// menus, a new game of either side, the side panel, the list and minimap, the status line, the
// save and load menus, and the waits that shut the game's own commands out.
#include <QFile>
#include <QFontInfo>
#include <QListWidget>
#include <QMenuBar>
#include <QProcess>
#include <QScrollBar>

#include "GuiFixture.h"
#include "ui/dialogs/SLG_Unit6.h"
#include "core/game/HexGrid.h"
#include "core/game/SaveImage.h"
#include "core/game/Text.h"
#include "ui/mainwindow/SidePanel.h"
#include "ui/mainwindow/WindowUi.h"
#include "music/MediaPlayer.h"
#include "ui/battlewindow/SLG_Unit4.h"
#include "ui/text/SerifBoxs.h"
#include "ui/unitwindow/SLG_Unit3.h"
#include "ui/widgets/TImage.h"

namespace milgant::test {
namespace {

// --- start-up ------------------------------------------------------------------------------

TEST(StartUp, WithoutAGoodCombatTableTheProgramEndsBeforeAnyWindow) {
  struct Case {
    const char* name;
    QByteArray crt;  // empty name: no file at all
  };
  const Case cases[] = {{"missing", {}}, {"malformed", "1 2 3 x\n"}};
  for (const Case& c : cases) {
    QTemporaryDir dir;
    CopyGameData(dir.path(), false);
    if (!c.crt.isEmpty()) {
      QFile f(dir.filePath(QStringLiteral("CRT.txt")));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(c.crt);
    }
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(MILGANT_BINARY), {});
    ASSERT_TRUE(p.waitForFinished(60000)) << c.name;
    EXPECT_NE(p.exitCode(), 0) << c.name;
    const QString err = QString::fromUtf8(p.readAllStandardError()).trimmed();
    EXPECT_TRUE(err.contains(QStringLiteral("CRT.txt"))) << c.name << ": " << err.toStdString();

    Game game;
    QString failure;
    EXPECT_EQ(CreateForms(game, dir.path(), &failure), nullptr) << c.name;
    EXPECT_FALSE(failure.isEmpty());
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(w->isVisible()) << c.name;
  }
}

TEST(StartUp, HelpAndVersionAnswerOnStandardOutput) {
  for (const char* option : {"--help", "--version"}) {
    QProcess p;
    p.start(QStringLiteral(MILGANT_BINARY), {QString::fromLatin1(option)});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << option;
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(out.startsWith(option == std::string("--help") ? QStringLiteral("Usage: milgant")
                                                               : QStringLiteral("milgant ")))
        << out.toStdString();
  }
}

TEST(StartUp, SettingsFromTheCommandLineAreCheckedAndNeverWritten) {
  // Without a combat table the program ends after reading its settings and starting Qt at the
  // size asked for: the run's own settings must not have reached the file.
  QTemporaryDir dir;
  CopyGameData(dir.path(), false);
  const QString config = dir.path() + QStringLiteral("/config");
  const QString file = config + QStringLiteral("/milgant/milgant.conf");
  QDir().mkpath(config + QStringLiteral("/milgant"));
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[General]\nmove=fast\n");
  f.close();
  struct Case {
    QStringList args;
    int exitCode;
    QString err;  // what the error says
  };
  const Case cases[] = {
      {{QStringLiteral("--move"), QStringLiteral("none"), QStringLiteral("--zoom=200"), QStringLiteral("--opponent"),
        QStringLiteral("strong")},
       1, QStringLiteral("CRT.txt")},
      {{QStringLiteral("--battle-text"), QStringLiteral("slow")}, 2,
       QStringLiteral("milgant: --battle-text takes normal|fast|instant, not slow (see --help)")},
      {{QStringLiteral("--zoom")}, 2, QStringLiteral("milgant: --zoom needs one of 100|150|200 (see --help)")},
  };
  for (const Case& c : cases) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(MILGANT_BINARY), c.args);
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), c.exitCode) << c.args.join(' ').toStdString();
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains(c.err)) << err.toStdString();
  }
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("[General]\nmove=fast\n"));
}

// --- the window before a game ----------------------------------------------------------------

using MainWindowTest = GuiTest;

TEST_F(MainWindowTest, ComponentsSitWhereTheWindowPutsThem) {
  EXPECT_EQ(form1->windowTitle(), QStringLiteral("ミルガント・改"));
  EXPECT_EQ(form1->centralWidget()->size(), QSize(792, 545));
  struct Place {
    QWidget* w;
    QRect r;
  };
  const Place places[] = {{form1->Panel1, {0, 0, 792, 25}},          {form1->Image5, {-8, 24, 593, 505}},
                          {form1->CompressedImage1, {0, 24, 793, 521}}, {form1->Image2, {616, 24, 168, 168}},
                          {form1->ListBox1, {608, 192, 177, 49}},     {form1->ScrollBar1, {0, 528, 585, 17}},
                          {form1->ScrollBar2, {584, 24, 17, 505}}};
  for (const Place& p : places) EXPECT_EQ(p.w->geometry(), p.r) << p.w->metaObject()->className();
  for (QScrollBar* bar : {form1->ScrollBar1, form1->ScrollBar2}) {
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 1000);
    EXPECT_EQ(bar->singleStep(), 60);
    EXPECT_EQ(bar->pageStep(), 120);
  }
  QStringList bar;
  for (QAction* a : form1->menuBar()->actions()) bar << a->text();
  EXPECT_EQ(bar, (QStringList{QStringLiteral("ファイル"), QStringLiteral("フェイズ終了"), QStringLiteral("記録"), QStringLiteral("設定"),
                              QStringLiteral("表示"), QStringLiteral("バージョン")}));
  EXPECT_EQ(form1->K5->text(), QStringLiteral("新規"));
  EXPECT_EQ(form1->Exit2->text(), QStringLiteral("終了"));
  for (int n = 0; n < 5; ++n) {
    EXPECT_EQ(form1->SaveItems[n]->text(), QStringLiteral("データ%1").arg(n + 1));
    EXPECT_EQ(form1->LoadItems[n]->text(), QStringLiteral("データ%1").arg(n + 1));
  }
  EXPECT_EQ(form1->K5->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
  EXPECT_EQ(form1->Exit2->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
  EXPECT_FALSE(form1->N1->shortcut().isEmpty());
  EXPECT_FALSE(form1->windowIcon().isNull());
  // The windows' face is "ＭＳ Ｐゴシック", stood in for by IPAPGothic, 12 pixels high.
  for (QWidget* w : {static_cast<QWidget*>(form1->Panel1), static_cast<QWidget*>(form1->Label[9])}) {
    EXPECT_EQ(QFontInfo(w->font()).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(w->font().pixelSize(), 12);
  }
  // Until a game starts: the title, no panel, no scroll bars, an empty status line.
  EXPECT_TRUE(form1->CompressedImage1->isVisible());
  EXPECT_FALSE(form1->Label[9]->isVisible());
  EXPECT_FALSE(form1->ListBox1->isVisible());
  EXPECT_FALSE(form1->ScrollBar1->isVisible());
  form1->Image5MouseMove(QPoint(100, 100));
  EXPECT_TRUE(form1->Panel1->text().isEmpty());
}

// --- a new game ----------------------------------------------------------------------------

TEST_F(MainWindowTest, NewGameOfEitherSide) {
  for (int side : {1, 0}) {
    hand->Seen_.clear();
    StartNewGame(side);
    ASSERT_FALSE(Seen().empty());
    EXPECT_EQ(Seen()[0].Caption, QStringLiteral("陣営選択"));
    EXPECT_EQ(Seen()[0].Text, QStringLiteral("プレイする陣営を選択してください"));
    EXPECT_EQ(game->PlayerSide, side);
    EXPECT_EQ(game->ComputerSide, 1 - side);
    EXPECT_EQ(game->GameState, 2);
    EXPECT_EQ(game->Turn, 1);
    EXPECT_FALSE(form1->CompressedImage1->isVisible());
    for (int n = 1; n <= 38; ++n) EXPECT_TRUE(form1->Label[n]->isVisible() && form1->Label[n]->isEnabled()) << n;
    EXPECT_TRUE(form1->ScrollBar1->isVisible() && form1->ScrollBar2->isEnabled());
    int commanders = 0;
    for (const Unit& u : game->Units) commanders += u.OnMap == 1 && u.CommanderIndex == -1;
    EXPECT_EQ(form1->ListBox1->count(), commanders);
    EXPECT_TRUE(forms->Form3->Button8->isEnabled());  // the replenishment phase's command
    // The map is drawn: the view is not one colour.
    const QImage& view = form1->Image5->Picture;
    EXPECT_NE(view.pixel(100, 100), view.pixel(400, 300));
    EXPECT_FALSE(closed);
  }
}

// --- side panel ------------------------------------------------------------------------------

TEST_F(MainWindowTest, SidePanelShowsOneUnit) {
  StartNewGame(1);
  struct Case {
    int normal, combatPower, canMove, supplied, fortified;
    const char *power, *points, *moving, *supply, *state, *fort;
  };
  const Case cases[] = {
      {1, 5, 1, 1, 1, "5", "4", "移動可能", "補給中", "通常状態", "完了"},
      {0, 5, 1, 1, 0, "2", "4", "移動可能", "補給中", "混乱状態", "未了"},
      {0, 7, 0, 0, 0, "4", "0", "移動不可", "補給切れ", "混乱状態", "未了"},
      {1, 7, 0, 0, 1, "7", "0", "移動不可", "補給切れ", "通常状態", "完了"},
  };
  Unit& u = game->U(71);
  u.ActionPoints = 4;
  for (const Case& c : cases) {
    u.Normal = c.normal;
    u.CombatPower = c.combatPower;
    u.CanMove = c.canMove;
    u.Supplied = c.supplied;
    u.Fortified = c.fortified;
    form1->ShowUnitInPanel(71);
    EXPECT_EQ(form1->Label[11]->text(), QString::fromUtf8(c.power));
    EXPECT_EQ(form1->Label[18]->text(), QString::fromUtf8(c.points));
    EXPECT_EQ(form1->Label[22]->text(), QString::fromUtf8(c.moving));
    EXPECT_EQ(form1->Label[7]->text(), QString::fromUtf8(c.supply));
    EXPECT_EQ(form1->Label[24]->text(), QString::fromUtf8(c.state));
    EXPECT_EQ(form1->Label[32]->text(), QString::fromUtf8(c.fort));
  }
  EXPECT_EQ(form1->Label[9]->text(), QStringLiteral("ソルカ軍"));
  EXPECT_EQ(form1->Label[10]->text(), QString::fromStdString(Cp932ToUtf8Lossy(u.GeneralName.View())));
  EXPECT_EQ(form1->Label[28]->text(), QStringLiteral("総大将"));
  EXPECT_EQ(form1->Label[13]->text(), QStringLiteral("13"));
  EXPECT_EQ(form1->Label[16]->text(), QStringLiteral("20"));
  game->SelectedUnit = 71;
  form1->ShowUnitInPanel(71);
  EXPECT_EQ(form1->Label[34]->text(), QStringLiteral("ユニット選択中"));
  form1->ShowUnitInPanel(72);
  EXPECT_EQ(form1->Label[34]->text(), QStringLiteral("ユニット未選択"));
}

TEST_F(MainWindowTest, UnitListHoldsCommandersOnlyAndItsClicksScroll) {
  StartNewGame(1);
  for (int r = 0; r < form1->ListBox1->count(); ++r) {
    const Unit& u = game->U(form1->PanelListSlots[r]);
    EXPECT_EQ(u.CommanderIndex, -1);
    EXPECT_EQ(form1->ListBox1->item(r)->text(), QString::fromStdString(Cp932ToUtf8Lossy(u.ArmyName.View())) +
                                                    QStringLiteral(" ") +
                                                    QString::fromStdString(Cp932ToUtf8Lossy(u.GeneralName.View())));
    form1->ListBox1->setCurrentRow(r);
    form1->ListBox1Click();
    EXPECT_EQ(game->ScrollX, std::max(0, u.HexX * 60 - 240));
    EXPECT_EQ(game->ScrollY, std::max(0, u.HexY * 44 - 176));
    EXPECT_EQ(form1->ScrollBar1->value(), game->ScrollX);
    EXPECT_EQ(form1->ScrollBar2->value(), game->ScrollY);
    EXPECT_EQ(form1->MiniX, u.HexX < 4 ? 0 : (u.HexX - 4) * 8);
    EXPECT_EQ(form1->MiniY, std::max(0, (u.HexY - 4) * 8));
    EXPECT_EQ(form1->Label[10]->text(), QString::fromStdString(Cp932ToUtf8Lossy(u.GeneralName.View())));
  }
}

TEST_F(MainWindowTest, MinimapClicksScrollAndMoveTheRectangle) {
  StartNewGame(1);
  struct Case {
    QPoint at;
    int scrollX, scrollY, miniX, miniY;
  };
  const Case cases[] = {{{3, 3}, 0, 0, 0, 0},
                        {{100, 90}, 480, 308, 68, 58},   // row 11 is odd: column 100 / 8 - 4
                        {{100, 80}, 540, 264, 68, 48},   // row 10 is even: (100 + 4) / 8 - 4
                        {{160, 160}, 960, 704, 128, 128}};
  for (const Case& c : cases) {
    form1->Image2->OnMouseDown(Qt::LeftButton, c.at);
    EXPECT_EQ(game->ScrollX, c.scrollX);
    EXPECT_EQ(game->ScrollY, c.scrollY);
    EXPECT_EQ(form1->ScrollBar1->value(), c.scrollX);
    EXPECT_EQ(form1->MiniX, c.miniX);
    EXPECT_EQ(form1->MiniY, c.miniY);
    // The rectangle is drawn in white at its corner.
    EXPECT_EQ(form1->Image2->Picture.pixel(c.miniX, c.miniY) & 0xffffff, 0xffffffu);
  }
  // Scrolling with the bars leaves the rectangle where it was.
  form1->ScrollBar1->setValue(120);
  EXPECT_EQ(form1->MiniX, 128);
}

TEST_F(MainWindowTest, MinimapColoursTerrainCastlesAndUnits) {
  StartNewGame(1);
  const QImage& mini = form1->Image2->Picture;
  auto cell = [](int x, int y) { return QPoint(x * 8 + (y % 2 ? 4 : 0), y * 8); };
  int checked = 0;
  for (int y = 0; y < kMapSize; ++y)
    for (int x = 0; x < kMapSize; ++x) {
      const QPoint c = cell(x, y);
      if (c.x() <= form1->MiniX + 80 && c.y() <= form1->MiniY + 88) continue;  // the view's rectangle
      const UnitList units = UnitsAt(*game, x, y);
      const int castle = CastleAt(*game, x, y);
      const QRgb edge = mini.pixel(c + QPoint(1, 6)) & 0xffffff, centre = mini.pixel(c + QPoint(3, 3)) & 0xffffff;
      if (units.Count > 0) {
        EXPECT_EQ(edge, 0xffffffu);
        EXPECT_EQ(centre, game->U(units.First()).Side == 1 ? 0xff0000u : 0x0000ffu);
      } else if (castle != -1) {
        EXPECT_EQ(edge, 0x808080u);
        EXPECT_EQ(centre, game->Castles[castle].Owner == 1 ? 0xff0000u : 0x0000ffu);
      }
      ++checked;
    }
  EXPECT_GT(checked, 250);
}

TEST_F(MainWindowTest, APressLeftOfAnOddRowIsIgnored) {
  StartNewGame(1);
  game->ScrollX = game->ScrollY = 0;
  form1->RedrawMap();
  struct Case {
    QPoint mapPoint;  // at scroll (0, 0) the view's point is the map picture's
    int clickX, clickY;
  };
  const Case cases[] = {
      {{5, 44 + 30}, 99, 99},  // nothing there: ignored
      {{20, 44 + 2}, 0, 0},    // the bottom of the first hex of the row above
      {{40, 44 + 30}, 0, 1},   // the first hex of the odd row
  };
  for (const Case& c : cases) {
    game->ClickX = game->ClickY = 99;
    form1->Image5->OnMouseDown(Qt::LeftButton, c.mapPoint);
    EXPECT_EQ(game->ClickX, c.clickX) << c.mapPoint.x() << "," << c.mapPoint.y();
    EXPECT_EQ(game->ClickY, c.clickY) << c.mapPoint.x() << "," << c.mapPoint.y();
  }
}

// --- status line -------------------------------------------------------------------------------

TEST_F(MainWindowTest, StatusLineSaysTurnPhasePointsPlaceAndCastle) {
  StartNewGame(1);
  const HexPos kyo = HexOrigin(2, 5);
  form1->Image5MouseMove(QPoint(kyo.X + 30 - game->ScrollX, kyo.Y + 30 - game->ScrollY));
  EXPECT_EQ(form1->Panel1->text(),
            QStringLiteral("1ターン ソルカ方フェイズ 補充ポイント 10  ソルカ軍勝利得点 0 X:02  Y:05      京 耐久力1 強さ1 士気0"));
  struct Case {
    int state, turn, hx, hy, rangeShown, blocked;
    const char* want;
  };
  game->ActiveUnit = 71;
  game->U(71).ActionPoints = 6;
  game->MoveRemaining[12][11] = 2;
  const Case cases[] = {
      {27, 1, 12, 11, 0, 1, "1ターン ソルカ方編成フェイズ ソルカ軍勝利得点 0 X:12  Y:11      "},
      {3, 0, 3, 9, 0, 1, "1ターン ソルカ方移動ユニット選択フェイズ ソルカ軍勝利得点 0 X:03  Y:09      "},
      {4, 2, 12, 11, 1, 0, "2ターン ソルカ方移動フェイズ ソルカ軍勝利得点 0 X:12  Y:11       移動可 移動力消費:4(6→2)"},
      {4, 2, 12, 11, 1, 1, "2ターン ソルカ方移動フェイズ ソルカ軍勝利得点 0 X:12  Y:11       移動不可 "},
      {15, 3, -1, -1, 1, 0, "3ターン ヴァルネ方移動フェイズ ソルカ軍勝利得点 0 X:0-1  Y:00    "},
  };
  for (const Case& c : cases) {
    game->GameState = c.state;
    game->Turn = c.turn;
    game->RangeShown = c.rangeShown;
    if (c.hx >= 0) game->MoveBlocked[c.hx][c.hy] = c.blocked;
    EXPECT_EQ(StatusLineText(*game, c.hx, c.hy), QString::fromUtf8(c.want));
  }
}

// --- save and load ---------------------------------------------------------------------------

TEST_F(MainWindowTest, SaveOutsideThePlayersPhasesIsRefused) {
  StartNewGame(1);
  game->GameState = 4;
  form1->SaveItems[0]->trigger();
  ASSERT_EQ(Seen().size(), 2u);
  EXPECT_EQ(Seen()[1].Caption, QStringLiteral("セーブフェイズエラー"));
  EXPECT_EQ(Seen()[1].Text, QStringLiteral("現在のフェイズを終了し\nセーブしてください。"));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Save1.dat"))));
}

TEST_F(MainWindowTest, LoadOfAMissingOrShortFileChangesNothing) {
  StartNewGame(1);
  QFile shortFile(dir.filePath(QStringLiteral("Save2.dat")));
  ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
  shortFile.write(QByteArray(93855, '\0'));
  shortFile.close();
  Snapshot(*game);
  const auto before = game->SaveImage;
  for (int slot : {3, 2}) {
    hand->Seen_.clear();
    form1->LoadItems[slot - 1]->trigger();
    ASSERT_EQ(Seen().size(), 1u) << slot;
    EXPECT_EQ(Seen()[0].Caption, QStringLiteral("エラー"));
    EXPECT_EQ(Seen()[0].Text, QStringLiteral("このファイルはセーブファイルではありません。"));
    Snapshot(*game);
    EXPECT_TRUE(game->SaveImage == before) << slot;
  }
}

TEST_F(MainWindowTest, SavedGameComesBackThroughTheMenus) {
  StartNewGame(1);
  game->ReplenishmentPoints[1] = 17;
  form1->SaveItems[4]->trigger();
  EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Save5.dat"))));
  StartNewGame(0);
  ASSERT_EQ(game->PlayerSide, 0);
  form1->LoadItems[4]->trigger();
  EXPECT_EQ(game->PlayerSide, 1);
  EXPECT_EQ(game->GameState, 2);
  EXPECT_EQ(game->ReplenishmentPoints[1], 17);
  EXPECT_EQ(form1->Label[9]->text(), QString::fromStdString(Cp932ToUtf8Lossy(game->U(form1->PanelListSlots[0]).ArmyName.View())));
  EXPECT_TRUE(forms->Form3->Button8->isEnabled());
  EXPECT_TRUE(form1->Panel1->text().contains(QStringLiteral("補充ポイント 17 ")));
}

TEST_F(MainWindowTest, LoadBeforeAnyGameOpensIt) {
  StartNewGame(1);
  form1->SaveItems[0]->trigger();
  forms.reset();
  game = std::make_unique<Game>();
  forms = CreateForms(*game, dir.path(), nullptr);
  form1 = forms->Form1;
  form1->OnClosed = [this] { closed = true; };
  form1->show();
  form1->LoadItems[0]->trigger();
  EXPECT_EQ(game->GameState, 2);
  EXPECT_FALSE(form1->CompressedImage1->isVisible());
  EXPECT_TRUE(form1->ScrollBar1->isVisible());
}

TEST_F(MainWindowTest, AFailedSaveSaysOkAndTheGameGoesOn) {
  StartNewGame(1);
  // A file stands where the save folder should be: it cannot be made, nothing can be written.
  QFile blocker(dir.filePath(QStringLiteral("blocked")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  form1->SetSaveFolder(dir.filePath(QStringLiteral("blocked/saves")));
  form1->SaveItems[1]->trigger();
  ASSERT_EQ(Seen().size(), 2u);
  EXPECT_EQ(Seen()[1].Text, QStringLiteral("ok"));
  EXPECT_EQ(game->GameState, 2);
  EXPECT_FALSE(closed);
}

// --- music ---------------------------------------------------------------------------------

TEST_F(MainWindowTest, MusicPlaysFromEachNewGameAndLoopsOnTheTimer) {
  StartNewGame(1);
  EXPECT_EQ(form1->MPlayer->Mode(), TMPModes::Playing);
  EXPECT_EQ(form1->MPlayer->FileName(), (dir.path() + QStringLiteral("/Midi/kknc_gm.mid")).toStdString());
  form1->MPlayer->Stop();  // the piece has ended
  ASSERT_EQ(form1->MPlayer->Mode(), TMPModes::Stopped);
  form1->Timer2Timer();
  EXPECT_EQ(form1->MPlayer->Mode(), TMPModes::Playing);
  StartNewGame(0);
  EXPECT_EQ(form1->MPlayer->Mode(), TMPModes::Playing);
  form1->StopMusic();
  EXPECT_NE(form1->MPlayer->Mode(), TMPModes::Playing);
  form1->Timer2Timer();  // closed, not stopped: the timer leaves it
  EXPECT_NE(form1->MPlayer->Mode(), TMPModes::Playing);
}

TEST_F(MainWindowTest, WithoutTheMusicANewGameEndsTheProgram) {
  ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("Midi"))).removeRecursively());
  StartNewGame(1);
  ASSERT_GE(Seen().size(), 2u);
  EXPECT_EQ(Seen()[1].Caption, QStringLiteral("エラー"));
  EXPECT_EQ(Seen()[1].Text, QStringLiteral("\\Midi\\kknc_gm.midがありません。"));
  EXPECT_TRUE(closed);
  EXPECT_TRUE(form1->Closing);
}

// --- waits, re-entry and closing -----------------------------------------------------------------

TEST_F(MainWindowTest, DuringAWaitTheGameIgnoresItsOwnCommands) {
  StartNewGame(1);
  int stateInside = -1, turnInside = -1;
  hand->Answers.push_back([&](QWidget* w) {
    form1->N1Click();                                        // フェイズ終了
    form1->Image5->OnMouseDown(Qt::RightButton, {100, 100});  // the map
    form1->K5Click();                                        // 新規
    stateInside = game->GameState;
    turnInside = game->Turn;
    ModalHand::Press(0)(w);
  });
  forms->Ui->Note("テスト", "待機中");
  EXPECT_EQ(stateInside, 2);
  EXPECT_EQ(turnInside, 1);
  EXPECT_FALSE(form1->PopupMenu1->isVisible());
  form1->N1Click();  // after the wait the command works again
  EXPECT_EQ(game->GameState, 27);
}

TEST_F(MainWindowTest, ClosingDuringAWaitEndsItAndEverythingAfter) {
  StartNewGame(1);
  hand->Answers.push_back([&](QWidget*) { form1->close(); });
  const bool answer = forms->Ui->Ask("テスト", "閉じますか");
  EXPECT_FALSE(answer);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(form1->Closing);
  EXPECT_TRUE(forms->Ui->IsClosing());
  // Nothing more is shown once the program is closing.
  hand->Seen_.clear();
  forms->Ui->Note("テスト", "表示されない");
  EXPECT_FALSE(forms->Ui->Ask("テスト", "表示されない"));
  EXPECT_TRUE(Seen().empty());
}

TEST_F(MainWindowTest, ClosingWhileTheComputerPlaysEndsItsPhase) {
  // A new game against side 1 opens with the computer's phase; its first battle text waits for
  // a click, and the window is closed instead.
  hand->Windows = nullptr;
  game->Rng.SetSeed(20240601);
  bool closedInBattle = false;
  QTimer watch;
  watch.setInterval(2);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (forms->Form4->isVisible() && forms->Form4->SerifBox1->Waiting() && !form1->Closing) {
      closedInBattle = true;
      form1->close();
    }
  });
  watch.start();
  StartNewGame(0);
  ASSERT_TRUE(closedInBattle) << "the opening phase fought no battle";
  EXPECT_TRUE(closed);
  EXPECT_TRUE(game->Closing);
  EXPECT_FALSE(forms->Form4->SerifBox1->Waiting());
}

TEST_F(MainWindowTest, PhaseEndFromThePopupMenuAndTheMenuBar) {
  StartNewGame(1);
  form1->N4->trigger();
  EXPECT_EQ(game->GameState, 27);
  form1->N1->trigger();
  EXPECT_EQ(game->GameState, 3);
  EXPECT_TRUE(form1->Panel1->text().isEmpty() || form1->Panel1->text().contains(QStringLiteral("移動ユニット選択フェイズ")));
  form1->N5->trigger();  // キャンセル does nothing
  EXPECT_EQ(game->GameState, 3);
}

}  // namespace
}  // namespace milgant::test
