// Many battles on positions taken from new games: a random corps of either side is set next to
// an enemy stack or castle and attacks it, with random answers to every question and choice.
// After each battle the records must be sound, nobody marked, and no unit lost from the books.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "BattleTestSupport.h"
#include "core/combat/Battle.h"
#include "core/rules/UnitRemoval.h"
#include "core/game/Game.h"
#include "core/game/Invariants.h"
#include "core/game/RuleTables.h"
#include "core/turn/ScriptedUi.h"
#include "core/game/Text.h"
#include "core/turn/PhaseSequence.h"

namespace milgant {
namespace {

const std::string kData = MILGANT_DATA_DIR;

struct Attack {
  int Leader = -1;
  HexPos From{-1, -1};
  HexPos Target{-1, -1};
};

// A random leader of `side` and a random enemy hex with an empty, passable hex beside it.
Attack PickAttack(const Game& g, int side, std::mt19937& pick) {
  const std::vector<int> leaders = test::Leaders(g, side);
  // Stacks in the field and in castles more often than castles held by their garrison alone.
  const bool stacksOnly = pick() % 3 != 0;
  const auto spots = test::AttackSpots(g, side, stacksOnly);
  Attack a;
  if (leaders.empty() || spots.empty()) return a;
  a.Leader = leaders[pick() % leaders.size()];
  const auto& s = spots[pick() % spots.size()];
  a.From = s.first;
  a.Target = s.second;
  return a;
}

void SendCorps(Game& g, int leader, HexPos from, HexPos target) {
  Unit& u = g.U(leader);
  u.HexX = static_cast<std::uint8_t>(from.X);
  u.HexY = static_cast<std::uint8_t>(from.Y);
  u.TargetX = target.X;
  u.TargetY = target.Y;
  for (int i = 0; i < u.SubordinateCount; ++i) {
    Unit& s = g.U(u.Subordinates[static_cast<std::size_t>(i)]);
    s.HexX = u.HexX;
    s.HexY = u.HexY;
    s.TargetX = target.X;
    s.TargetY = target.Y;
  }
}

bool Said(const ScriptedUi& ui, std::size_t from, const std::string& text) {
  for (std::size_t i = from; i < ui.Log.size(); ++i) {
    if (ui.Log[i].Text == text) return true;
  }
  return false;
}

std::string Ending(const ScriptedUi& ui) {
  const auto t = ui.TextsOf("battle");
  return t.empty() ? "" : t.back();
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(BattleSoak, RandomBattlesFromNewGamesKeepTheRecordsSound) {
  std::mt19937 pick(20261208u);
  int fought = 0;
  int fallen = 0;
  int reinforcements = 0;
  for (int side = 0; side < 2; ++side) {
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
      auto g = std::make_unique<Game>();
      ASSERT_TRUE(LoadCrt(*g, kData + "/CRT.txt").Ok);
      g->Rng.SetSeed(seed * 104729u);
      ScriptedUi ui;
      ui.Closing = true;  // the computer's first phase stands still
      ui.Answers = {side == 0 ? 1 : 0};
      ASSERT_TRUE(NewGame(*g, ui, kData + "/Map.dat"));
      for (int n = 0; n < 25; ++n) {
        const int attacker = static_cast<int>(pick() % 2);
        const Attack a = PickAttack(*g, attacker, pick);
        if (a.Leader == -1) continue;
        SendCorps(*g, a.Leader, a.From, a.Target);
        if (pick() % 3 == 0) {  // sometimes a second corps joins the attack
          const Attack b = PickAttack(*g, attacker, pick);
          if (b.Leader != -1 && b.Leader != a.Leader) {
            for (int d = 1; d <= 6; ++d) {
              const HexPos h = Neighbour(a.Target.X, a.Target.Y, d);
              if (OnMapHex(h.X, h.Y) && FirstUnitAt(*g, h.X, h.Y) == -1 && CastleAt(*g, h.X, h.Y) == -1 &&
                  g->H(h.X, h.Y).Terrain != 5 && g->H(h.X, h.Y).Terrain != 7) {
                SendCorps(*g, b.Leader, h, a.Target);
                break;
              }
            }
          }
        }
        // Some corps stand by to help a defence, as the standby command leaves them.
        for (int slot = 1; slot < kUnitSlots; ++slot) g->U(slot).ReinforcementWait = static_cast<int>(pick() % 4);
        g->FullAttack = static_cast<std::uint8_t>(pick() % 2);
        g->Turn = 1 + static_cast<int>(pick() % 10);
        ui.Answers.clear();
        for (int k = 0; k < 40; ++k) ui.Answers.push_back(static_cast<int>(pick() % 4) - 1);
        std::vector<Unit> before(g->Units.begin(), g->Units.end());
        const std::size_t logStart = ui.Log.size();
        const std::string where = "side " + std::to_string(side) + " seed " + std::to_string(seed) + " battle " +
                                  std::to_string(n) + " at " + std::to_string(a.Target.X) + "," + std::to_string(a.Target.Y);

        const BattleResult r = FightBattle(*g, ui, a.Target.X, a.Target.Y);
        ui.BattleClose();
        ++fought;
        fallen += r.CastleFallen ? 1 : 0;

        const auto broken = CheckInvariants(*g);
        ASSERT_TRUE(broken.empty()) << where << ": " << broken.front();
        ASSERT_GE(r.Rounds, 1) << where;
        const std::string end = Ending(ui);
        EXPECT_TRUE(end == "戦闘終了" || end == "合戦終了" || EndsWith(end, "攻防戦終了")) << where << ": " << end;
        for (std::size_t i = logStart; i < ui.Log.size(); ++i) reinforcements += EndsWith(ui.Log[i].Text, "援軍として到着しました");
        for (int slot = 1; slot < kUnitSlots; ++slot) {
          const Unit& u = g->U(slot);
          const Unit& was = before[static_cast<std::size_t>(slot)];
          ASSERT_FALSE(u.TargetX == a.Target.X && u.TargetY == a.Target.Y) << where << " slot " << slot;
          ASSERT_EQ(u.EntryTurn == -1, was.EntryTurn == -1) << where << " slot " << slot;
          if (was.OnMap != 1) {
            ASSERT_EQ(u.OnMap, 0) << where << " slot " << slot;
            continue;
          }
          if (u.OnMap == 1) {
            ASSERT_TRUE(OnMapHex(u.HexX, u.HexY)) << where << " slot " << slot;
            ASSERT_GE(u.Steps, 1) << where << " slot " << slot;
            ASSERT_LE(u.Steps, u.MaxSteps) << where << " slot " << slot;
            // Whoever moved in the battle retreated, followed or came to help: near the fight.
            if (u.HexX != was.HexX || u.HexY != was.HexY) {
              ASSERT_LE(HexDistance(u.HexX, u.HexY, a.Target.X, a.Target.Y), 3) << where << " slot " << slot;
            }
            continue;
          }
          // Wiped out: the general fell, or the troops gather at home for a later turn.
          const std::string name = Cp932ToUtf8Lossy(u.GeneralName.View());
          const bool killed = Said(ui, logStart, name + "は討ち取られました");
          const HexPos home = kHomeHex[u.Side];
          ASSERT_TRUE(killed || (u.EntryTurn > g->Turn && u.HexX == home.X && u.HexY == home.Y))
              << where << " slot " << slot;
          ASSERT_TRUE(Said(ui, logStart, Cp932ToUtf8Lossy(u.ArmyName.View()) + " " + name + "が全滅しました"))
              << where << " slot " << slot;
        }
        for (int c = 1; c < g->CastleCounter; ++c) {
          const Castle& k = g->Castles[static_cast<std::size_t>(c)];
          ASSERT_GE(k.Durability, 1) << where << " castle " << c;
          ASSERT_LE(k.Durability, k.MaxDurability) << where << " castle " << c;
          ASSERT_LE(k.Strength, k.MaxStrength) << where << " castle " << c;
        }
      }
    }
  }
  EXPECT_GT(fought, 500);
  EXPECT_GT(fallen, 0);
  EXPECT_GT(reinforcements, 10);
}

}  // namespace
}  // namespace milgant
