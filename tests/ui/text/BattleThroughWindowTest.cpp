// Whole battles fought through the battle window, every message clicked away on its text box and
// every reinforcement chosen with its buttons, leave the same game as the same battles fought
// headless: the window only shows and asks, it never changes the outcome.
#include "ui/battlewindow/SLG_Unit4.h"
#include "ui/text/SerifBoxs.h"

#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "core/combat/Battle.h"
#include "core/game/Game.h"
#include "core/game/MapFile.h"
#include "core/game/RuleTables.h"
#include "core/game/Scenario.h"
#include "core/turn/ScriptedUi.h"
#include "ui/widgets/MapRenderer.h"
#include "ui/widgets/Pictures.h"

namespace milgant {
namespace {

const std::string kData = MILGANT_DATA_DIR;

// Headless: no retreat, sieges carried on, the first reinforcement always taken.
class HeadlessUi : public ScriptedUi {
 public:
  bool Ask(std::string_view caption, std::string_view text) override {
    ScriptedUi::Ask(caption, text);
    return false;
  }
  int BattleChooseReinforcement(int panel, const UnitList& candidates) override {
    ScriptedUi::BattleChooseReinforcement(panel, candidates);
    return candidates.Count > 0 ? 0 : -1;
  }
};

// The same answers, but every battle call goes to the window and waits there for the clicks.
class WindowUi : public HeadlessUi {
 public:
  explicit WindowUi(TForm4& form) : form_(form) {}
  void BattleShow(int x, int y) override { form_.BattleShow(x, y); }
  void BattleSides(const BattleView& v) override { form_.BattleSides(v); }
  void BattleAttackArrow(int d, int x, int y) override { form_.BattleAttackArrow(d, x, y); }
  void BattleRetreatArrow(int d, int x, int y) override { form_.BattleRetreatArrow(d, x, y); }
  void BattleRefresh() override { form_.BattleRefresh(); }
  void BattleMessage(std::string_view text) override {
    ScriptedUi::BattleMessage(text);
    form_.BattleMessage(text);
    typed.push_back(form_.SerifBox1->CellCount());
  }
  int BattleChooseReinforcement(int panel, const UnitList& candidates) override {
    ScriptedUi::BattleChooseReinforcement(panel, candidates);
    const int row = form_.BattleChooseReinforcement(panel, candidates);
    if (candidates.Count > 0) ++choices;
    return row;
  }
  void BattleClose() override { form_.BattleClose(); }
  std::vector<int> typed;
  int choices = 0;

 private:
  TForm4& form_;
};

// Sends the corps of `leader` next to an enemy stack and marks it to attack.
bool SetUpAttack(Game& g, std::mt19937& pick) {
  std::vector<std::pair<int, std::pair<HexPos, HexPos>>> options;
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap != 1 || u.CommanderIndex != -1 || u.Side != g.PlayerSide) continue;
    for (int x = 0; x < kMapSize; ++x)
      for (int y = 0; y < kMapSize; ++y) {
        const int first = FirstUnitAt(g, x, y);
        if (first == -1 || g.U(first).Side == u.Side) continue;
        for (int d = 1; d <= 6; ++d) {
          const HexPos n = Neighbour(x, y, d);
          if (!OnMapHex(n.X, n.Y) || FirstUnitAt(g, n.X, n.Y) != -1 || CastleAt(g, n.X, n.Y) != -1) continue;
          const int t = g.H(n.X, n.Y).Terrain;
          if (t != 5 && t != 7) options.push_back({slot, {n, {x, y}}});
        }
      }
  }
  if (options.empty()) return false;
  const auto& [leader, hexes] = options[pick() % options.size()];
  Unit& u = g.U(leader);
  auto place = [&](Unit& w) {
    w.HexX = static_cast<std::uint8_t>(hexes.first.X);
    w.HexY = static_cast<std::uint8_t>(hexes.first.Y);
    w.TargetX = hexes.second.X;
    w.TargetY = hexes.second.Y;
  };
  place(u);
  for (int i = 0; i < u.SubordinateCount; ++i) place(g.U(u.Subordinates[static_cast<std::size_t>(i)]));
  // A second corps, fresh and unmarked, beside the attacker: it may come to help.
  for (int other = 1; other < kUnitSlots; ++other) {
    Unit& o = g.U(other);
    if (other == leader || o.OnMap != 1 || o.CommanderIndex != -1 || o.Side != g.PlayerSide) continue;
    for (int d = 1; d <= 6; ++d) {
      const HexPos n = Neighbour(hexes.first.X, hexes.first.Y, d);
      if (!OnMapHex(n.X, n.Y) || n == hexes.second || FirstUnitAt(g, n.X, n.Y) != -1 || CastleAt(g, n.X, n.Y) != -1)
        continue;
      const int t = g.H(n.X, n.Y).Terrain;
      if (t == 5 || t == 7) continue;
      auto move = [&](Unit& w) {
        w.HexX = static_cast<std::uint8_t>(n.X);
        w.HexY = static_cast<std::uint8_t>(n.Y);
      };
      move(o);
      for (int i = 0; i < o.SubordinateCount; ++i) move(g.U(o.Subordinates[static_cast<std::size_t>(i)]));
      return true;
    }
  }
  return true;
}

TEST(BattleThroughWindow, SameGameAsHeadless) {
  MapTable map{};
  ASSERT_TRUE(LoadMap(map, kData + "/Map.dat").Ok);
  pictures::MainWindowPictures pics;
  ASSERT_TRUE(pictures::LoadMainWindowPictures(&pics));
  QWidget main;
  main.setGeometry(100, 50, 792, 545);

  int messages = 0, choices = 0;
  std::mt19937 pick(20261208);
  for (int battle = 0; battle < 6; ++battle) {
    auto start = std::make_unique<Game>();
    ASSERT_TRUE(LoadCrt(*start, kData + "/CRT.txt").Ok);
    BuildScenario(*start, map);
    start->PlayerSide = battle % 2;
    start->ComputerSide = 1 - start->PlayerSide;
    start->PhaseSide = start->PlayerSide;
    start->Turn = 3 + battle;
    start->GameState = 3;
    start->FullAttack = battle % 3 != 0 ? 1 : 0;
    start->Rng.SetSeed(1000u + static_cast<std::uint32_t>(battle) * 7919u);
    // Everyone fresh this turn and standing by, so that reinforcements are on offer.
    for (int slot = 1; slot < kUnitSlots; ++slot) {
      Unit& u = start->U(slot);
      u.TurnActionPoints = u.ActionPoints = u.MaxActionPoints;
      u.ReinforcementWait = 4;
    }
    ASSERT_TRUE(SetUpAttack(*start, pick));
    int x = -1, y = -1;
    for (int slot = 1; slot < kUnitSlots; ++slot)
      if (start->U(slot).TargetX >= 0) {
        x = start->U(slot).TargetX;
        y = start->U(slot).TargetY;
      }

    auto headless = std::make_unique<Game>(*start);
    HeadlessUi quiet;
    FightBattle(*headless, quiet, x, y);

    auto shown = std::make_unique<Game>(*start);
    MapRenderer renderer(pics, shown->HexMask);
    TForm4 form;
    form.SetSources(shown.get(), &renderer, &pics, &main);
    form.SerifBox1->WaitTime = 0;
    // The player: clicks the text box when it waits, takes the first reinforcement offered.
    QTimer player;
    player.setInterval(1);
    int waits = 0;
    const QString shots = qEnvironmentVariable("MILGANT_SCREENSHOT_DIR");
    QObject::connect(&player, &QTimer::timeout, [&] {
      if (form.SerifBox1->Waiting()) {
        if (++waits == 4 && !shots.isEmpty())
          form.grab().save(shots + QStringLiteral("/battle-%1.png").arg(battle));
        form.SerifBox1->Next();
      }
      if (form.Button1->isEnabled() && !shots.isEmpty())
        form.grab().save(shots + QStringLiteral("/battle-%1-reinforcement.png").arg(battle));
      if (form.Button1->isEnabled()) form.Button1->click();
      if (form.Button2->isEnabled()) form.Button2->click();
    });
    player.start();
    WindowUi ui(form);
    FightBattle(*shown, ui, x, y);
    EXPECT_TRUE(form.isVisible()) << "the caller closes the window";
    ui.BattleClose();

    EXPECT_EQ(std::memcmp(shown->Units.data(), headless->Units.data(), sizeof(shown->Units)), 0) << battle;
    EXPECT_EQ(std::memcmp(shown->Castles.data(), headless->Castles.data(), sizeof(shown->Castles)), 0) << battle;
    EXPECT_EQ(std::memcmp(&shown->Map, &headless->Map, sizeof(shown->Map)), 0) << battle;
    EXPECT_EQ(shown->Rng.Seed(), headless->Rng.Seed()) << battle;
    EXPECT_EQ(shown->VictoryPoints, headless->VictoryPoints) << battle;
    EXPECT_EQ(ui.TextsOf("battle"), quiet.TextsOf("battle")) << battle;
    // Every message was typed into the box, not skipped.
    for (int cells : ui.typed) EXPECT_GT(cells, 0);
    messages += static_cast<int>(ui.typed.size());
    choices += ui.choices;
  }
  EXPECT_GT(messages, 6);
  EXPECT_GT(choices, 0);
  std::printf("%d messages typed, %d reinforcement choices made in the window\n", messages, choices);
}

}  // namespace
}  // namespace milgant
