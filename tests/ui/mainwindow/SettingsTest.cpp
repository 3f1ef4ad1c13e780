// The player's settings: the pace they give in the player's phases and the computer's, the file
// they are kept in, the command line that changes them for one run, and the menus that choose
// them.
#include <QFile>
#include <QMenu>
#include <QMenuBar>

#include "GuiFixture.h"
#include "core/game/HexGrid.h"
#include "ui/dialogs/SLG_Unit6.h"
#include "ui/mainwindow/Settings.h"
#include "ui/widgets/TImage.h"

namespace milgant::test {
namespace {

TEST(Settings, PaceInEachPhase) {
  // The window's step timer ticks every 16 ms: that is the normal walk.
  struct Case {
    MovePace move;
    TextPace text;
    ComputerPace computer;
    int playerStep, computerStep;  // ms; -1: the computer's steps are not drawn
    TextPace playerText, computerText;
  };
  const Case cases[] = {
      {MovePace::Normal, TextPace::Normal, ComputerPace::Watch, 16, 16, TextPace::Normal, TextPace::Normal},
      {MovePace::Fast, TextPace::Fast, ComputerPace::Watch, 4, 4, TextPace::Fast, TextPace::Fast},
      {MovePace::None, TextPace::AtOnce, ComputerPace::Watch, 0, 0, TextPace::AtOnce, TextPace::AtOnce},
      {MovePace::Normal, TextPace::Normal, ComputerPace::Fast, 16, 0, TextPace::Normal, TextPace::Fast},
      {MovePace::Fast, TextPace::AtOnce, ComputerPace::Fast, 4, 0, TextPace::AtOnce, TextPace::AtOnce},
      {MovePace::Normal, TextPace::Normal, ComputerPace::BattlesOnly, 16, -1, TextPace::Normal, TextPace::Normal},
  };
  for (const Case& c : cases) {
    GameSettings s;
    s.Move = c.move;
    s.BattleText = c.text;
    s.Computer = c.computer;
    const int row = static_cast<int>(&c - cases);
    EXPECT_EQ(StepWait(s, false, 16), c.playerStep) << row;
    EXPECT_EQ(StepWait(s, true, 16), c.computerStep) << row;
    EXPECT_EQ(BattleTextPace(s, false), c.playerText) << row;
    EXPECT_EQ(BattleTextPace(s, true), c.computerText) << row;
  }
  // The defaults are the first row: the game's own pace everywhere.
  const GameSettings defaults;
  EXPECT_EQ(defaults.Move, MovePace::Normal);
  EXPECT_EQ(defaults.BattleText, TextPace::Normal);
  EXPECT_EQ(defaults.Computer, ComputerPace::Watch);
  EXPECT_EQ(defaults.Zoom, 100);
  EXPECT_EQ(defaults.Opponent, "standard");
  // A walk already quicker than the fast one (a 1 ms timer) is not slowed down.
  GameSettings fast;
  fast.Move = MovePace::Fast;
  EXPECT_EQ(StepWait(fast, false, 1), 1);
  // Typing: the box's own 50 ms, 10 ms fast, none at once; the hold before moving on.
  EXPECT_EQ(TypingPause(TextPace::Normal, 50), 50);
  EXPECT_EQ(TypingPause(TextPace::Fast, 50), 10);
  EXPECT_EQ(TypingPause(TextPace::AtOnce, 50), 0);
  EXPECT_EQ(PageHold(TextPace::Normal), 0);
  EXPECT_EQ(PageHold(TextPace::Fast), 900);
  EXPECT_EQ(PageHold(TextPace::AtOnce), 1200);
}

TEST(Settings, KeptInTheFileAndReadBack) {
  QTemporaryDir dir;
  const QString file = dir.path() + QStringLiteral("/config/milgant/milgant.conf");
  EXPECT_EQ(ReadSettings(file), GameSettings{});
  // Every value of every setting, written alone and read back.
  GameSettings all;
  for (SettingKey key : kSettingKeys) {
    for (int i = 0; i < static_cast<int>(SettingWords(key).size()); ++i) {
      SetSetting(all, key, i);
      ASSERT_TRUE(WriteSetting(file, all, key));
      EXPECT_EQ(SettingIndex(ReadSettings(file), key), i) << SettingName(key);
      EXPECT_EQ(ReadSettings(file), all) << SettingName(key) << " " << i;
    }
  }
  QFile written(file);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(written.readAll()),
            QStringLiteral("[General]\nbattle-text=instant\ncomputer=battles\nmove=none\nopponent=strong\nzoom=200\n"));
  written.close();
  // A word the game does not know leaves that setting at its default, and only that one.
  ASSERT_TRUE(written.open(QIODevice::WriteOnly));
  written.write("[General]\nmove=quick\nzoom=175\ncomputer=fast\n");
  written.close();
  GameSettings expected;
  expected.Computer = ComputerPace::Fast;
  EXPECT_EQ(ReadSettings(file), expected);

  // The folder: $XDG_CONFIG_HOME when it is absolute, else ~/.config.
  const QByteArray kept = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
  EXPECT_EQ(SettingsFile(), dir.path() + QStringLiteral("/milgant/milgant.conf"));
  qputenv("XDG_CONFIG_HOME", "relative/config");
  EXPECT_EQ(SettingsFile(), QDir::homePath() + QStringLiteral("/.config/milgant/milgant.conf"));
  if (kept.isNull()) qunsetenv("XDG_CONFIG_HOME");
  else qputenv("XDG_CONFIG_HOME", kept);
}

TEST(Settings, CommandLineOptions) {
  struct Case {
    std::vector<std::string> words;
    bool ok;
    std::vector<std::string> left;
    std::string why;
  };
  const Case cases[] = {
      {{"--move", "none", "--data", "d"}, true, {"--data", "d"}, ""},
      {{"--battle-text=instant", "--computer", "battles"}, true, {}, ""},
      {{"--zoom", "200", "--opponent=strong", "--record", "r"}, true, {"--record", "r"}, ""},
      {{"--zoom", "120"}, false, {}, "--zoom takes 100|150|200, not 120"},
      {{"--computer"}, false, {}, "--computer needs one of watch|fast|battles"},
      {{"--move="}, false, {}, "--move needs one of normal|fast|none"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> words = c.words;
    GameSettings s;
    std::string why;
    EXPECT_EQ(TakeSettingOptions(words, s, &why), c.ok) << c.words[0];
    EXPECT_EQ(why, c.why);
    if (c.ok) {
      EXPECT_EQ(words, c.left);
    }
  }
  std::vector<std::string> words{"--move", "none", "--battle-text", "instant", "--computer", "battles",
                                 "--zoom", "150", "--opponent", "strong"};
  GameSettings s;
  ASSERT_TRUE(TakeSettingOptions(words, s, nullptr));
  GameSettings expected;
  expected.Move = MovePace::None;
  expected.BattleText = TextPace::AtOnce;
  expected.Computer = ComputerPace::BattlesOnly;
  expected.Zoom = 150;
  expected.Opponent = "strong";
  EXPECT_EQ(s, expected);
}

using SettingsMenuTest = GuiTest;

TEST_F(SettingsMenuTest, MenusChooseAndWriteOnlyTheirOwnSetting) {
  QStringList bar;
  QMenu *settings = nullptr, *view = nullptr;
  for (QAction* a : form1->menuBar()->actions()) {
    bar << a->text();
    if (a->text() == QStringLiteral("設定")) settings = a->menu();
    if (a->text() == QStringLiteral("表示")) view = a->menu();
  }
  ASSERT_TRUE(settings != nullptr && view != nullptr);
  QStringList groups;
  for (QAction* a : settings->actions())
    if (a->menu() != nullptr) groups << a->text();
  EXPECT_EQ(groups, (QStringList{QStringLiteral("移動アニメーション"), QStringLiteral("戦闘メッセージ"),
                                 QStringLiteral("コンピュータのフェイズ"), QStringLiteral("難易度")}));
  struct Items {
    SettingKey key;
    QStringList texts;
  };
  const Items items[] = {
      {SettingKey::Move, {QStringLiteral("標準"), QStringLiteral("高速"), QStringLiteral("なし")}},
      {SettingKey::BattleText, {QStringLiteral("標準"), QStringLiteral("高速"), QStringLiteral("一括表示")}},
      {SettingKey::Computer, {QStringLiteral("観戦"), QStringLiteral("高速"), QStringLiteral("戦闘のみ")}},
      {SettingKey::Opponent, {QStringLiteral("普通"), QStringLiteral("強い")}},
      {SettingKey::Zoom, {QStringLiteral("100 %"), QStringLiteral("150 %"), QStringLiteral("200 %")}}};
  for (const Items& it : items)
    for (int i = 0; i < it.texts.size(); ++i) {
      ASSERT_NE(form1->SettingItem(it.key, i), nullptr);
      EXPECT_EQ(form1->SettingItem(it.key, i)->text(), it.texts[i]);
      // A window without settings of its own runs at the default pace.
      EXPECT_EQ(form1->SettingItem(it.key, i)->isChecked(), i == 0) << SettingName(it.key);
    }
  EXPECT_EQ(view->actions().size(), 3);

  // This run walks without waits, as if started with --move none.
  const QString file = dir.path() + QStringLiteral("/config/milgant/milgant.conf");
  GameSettings oneRun;
  oneRun.Move = MovePace::None;
  form1->UseSettings(oneRun, file);
  EXPECT_TRUE(form1->SettingItem(SettingKey::Move, 2)->isChecked());
  EXPECT_FALSE(form1->SettingItem(SettingKey::Move, 0)->isChecked());
  QStringList told;
  form1->OnOpponentChanged = [&](const QString& opponent) { told << opponent; };

  form1->SettingItem(SettingKey::BattleText, 1)->trigger();
  form1->SettingItem(SettingKey::Computer, 2)->trigger();
  form1->SettingItem(SettingKey::Opponent, 1)->trigger();
  form1->SettingItem(SettingKey::Opponent, 1)->trigger();  // no change: not told again
  EXPECT_EQ(told, QStringList{QStringLiteral("strong")});
  EXPECT_TRUE(Seen().empty());
  form1->SettingItem(SettingKey::Zoom, 2)->trigger();
  ASSERT_EQ(Seen().size(), 1u);
  EXPECT_EQ(Seen()[0].Caption, QStringLiteral("表示"));
  // Qt's offscreen screen is 800 x 600: a window twice as large would not fit on it.
  EXPECT_EQ(Seen()[0].Text, QStringLiteral("表示の大きさは次回の起動から変わります。\nこの大きさは画面に収まりません。"));
  form1->SettingItem(SettingKey::Zoom, 0)->trigger();  // back to the size it runs at: no note
  form1->SettingItem(SettingKey::Zoom, 1)->trigger();
  EXPECT_EQ(Seen().size(), 2u);
  EXPECT_EQ(form1->RunningZoom(), 100);

  GameSettings now = oneRun;
  now.BattleText = TextPace::Fast;
  now.Computer = ComputerPace::BattlesOnly;
  now.Opponent = "strong";
  now.Zoom = 150;
  EXPECT_EQ(form1->Settings(), now);
  // The file holds what was chosen, never the one-run walk.
  GameSettings kept = now;
  kept.Move = MovePace::Normal;
  EXPECT_EQ(ReadSettings(file), kept);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(form1->SettingItem(SettingKey::Zoom, i)->isChecked(), i == 1);
}

TEST_F(SettingsMenuTest, TheComputersUndrawnWalkAppearsBeforeItsBattle) {
  StartNewGame(1);
  GameSettings s;
  s.Computer = ComputerPace::BattlesOnly;
  form1->UseSettings(s, QString());
  // A unit of the computer's in view steps to a neighbouring hex, in the computer's phase.
  int slot = -1;
  for (int k = 1; k < kUnitSlots && slot == -1; ++k) {
    const Unit& u = game->U(k);
    if (u.OnMap == 1 && u.Side == game->ComputerSide && u.HexX >= 2 && u.HexX <= 17 && u.HexY >= 2 && u.HexY <= 17) slot = k;
  }
  ASSERT_NE(slot, -1);
  Unit& u = game->U(slot);
  game->ScrollX = std::max(0, u.HexX * 60 - 300);
  game->ScrollY = std::max(0, u.HexY * 44 - 220);
  form1->RedrawMap();
  const QImage before = form1->Image5->Picture.copy();
  const int state = game->GameState;
  game->GameState = 15;
  const HexPos to = Neighbour(u.HexX, u.HexY, 3);
  u.HexX = static_cast<std::uint8_t>(to.X);
  u.HexY = static_cast<std::uint8_t>(to.Y);
  form1->MoveStep(to.X, to.Y);
  EXPECT_EQ(form1->Image5->Picture, before);
  form1->CatchUpWalks();
  EXPECT_NE(form1->Image5->Picture, before);
  // Watching, the step is drawn at once.
  const QImage walked = form1->Image5->Picture.copy();
  form1->UseSettings(GameSettings{}, QString());
  const HexPos back = Neighbour(u.HexX, u.HexY, 6);
  u.HexX = static_cast<std::uint8_t>(back.X);
  u.HexY = static_cast<std::uint8_t>(back.Y);
  form1->MoveStep(back.X, back.Y);
  EXPECT_NE(form1->Image5->Picture, walked);
  game->GameState = state;
}

TEST_F(SettingsMenuTest, TheOpponentChosenPlaysFromTheNextGameAndTheAboutWindowNamesIt) {
  // Before any game the choice is taken at once.
  form1->SettingItem(SettingKey::Opponent, 1)->trigger();
  EXPECT_EQ(game->ComputerOpponent, Opponent::Strong);
  form1->Help1Click();
  EXPECT_EQ(forms->Form6->Label2->text(), VersionLine() + QStringLiteral("　難易度 強い"));
  Shot(forms->Form6, QStringLiteral("about-strong"));
  StartNewGame(1);
  ASSERT_NE(game->GameState, 0);
  EXPECT_EQ(game->ComputerOpponent, Opponent::Strong);
  const std::size_t seen = Seen().size();

  // A game under way keeps its opponent; the player is told when the choice will play.
  form1->SettingItem(SettingKey::Opponent, 0)->trigger();
  ASSERT_EQ(Seen().size(), seen + 1);
  EXPECT_EQ(Seen().back().Caption, QStringLiteral("難易度"));
  EXPECT_EQ(Seen().back().Text, QStringLiteral("難易度は次の新規ゲームかロードから変わります。"));
  EXPECT_EQ(game->ComputerOpponent, Opponent::Strong);
  form1->Help1Click();
  EXPECT_EQ(forms->Form6->Label2->text(), VersionLine() + QStringLiteral("　難易度 強い"));

  form1->MarkSaved();
  StartNewGame(0);
  EXPECT_EQ(game->ComputerOpponent, Opponent::Standard);
  form1->Help1Click();
  EXPECT_EQ(forms->Form6->Label2->text(), VersionLine() + QStringLiteral("　難易度 普通"));
}

}  // namespace
}  // namespace milgant::test
