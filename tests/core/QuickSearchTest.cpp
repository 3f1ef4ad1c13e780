// The battle's searches in their quick forms against the searches as the rules state them
// (Game::FullSearches): the same battles fought both ways must leave the same game to the last
// byte of its save, the same scratch tables and generator, and the same messages, questions,
// arrows and events. And the reach of every unit to every hex against the full range search.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "BattleTestSupport.h"
#include "EngagementSetup.h"
#include "core/combat/Battle.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/RuleTables.h"
#include "core/game/SaveImage.h"
#include "core/rules/Movement.h"
#include "core/rules/Reach.h"
#include "core/turn/PhaseSequence.h"
#include "core/turn/ScriptedUi.h"
#include "core/turn/SelfPlay.h"

namespace milgant {
namespace {

const std::string kData = MILGANT_DATA_DIR;

// Everything a battle leaves behind, as lines that can be compared and read.
std::vector<std::string> Aftermath(Game& g, const ScriptedUi& ui, const BattleResult& r) {
  std::vector<std::string> out;
  std::ostringstream line;
  const auto put = [&] {
    out.push_back(line.str());
    line.str("");
  };
  line << "result " << r.Rounds << ' ' << r.CastleFallen << ' ' << r.AttackerRetreated << ' ' << r.DefenderRetreated
       << ' ' << r.AdvancedUnit;
  put();
  Snapshot(g);
  for (std::size_t i = 0; i < g.SaveImage.size(); i += 64) {
    line << "save@" << i;
    for (std::size_t k = i; k < i + 64 && k < g.SaveImage.size(); ++k) line << ' ' << int{g.SaveImage[k]};
    put();
  }
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const auto ix = static_cast<std::size_t>(x);
      const auto iy = static_cast<std::size_t>(y);
      line << "scratch " << x << ',' << y << ' ' << g.MoveRemaining[ix][iy] << ' ' << g.MoveBlocked[ix][iy] << ' '
           << g.SupplyRemaining[ix][iy] << " '" << g.MovePath[ix][iy].View() << "'";
      put();
    }
    line << "scratch row " << x << ' ' << g.MoveBlocked[static_cast<std::size_t>(x)][kMapSize] << " '"
         << g.MovePath[static_cast<std::size_t>(x)][kMapSize].View() << "'";
    put();
  }
  line << "seed " << g.Rng.Seed() << " undo " << g.Undo.Armed;
  put();
  for (const ScriptedUi::Entry& e : ui.Log) {
    line << e.Kind << " | " << e.Caption << " | " << e.Text << " | " << e.Answer;
    put();
  }
  for (const Event& e : ui.Events) {
    const FightRecord& f = e.Fight;
    line << "event " << static_cast<int>(e.Kind) << ' ' << e.Turn << ' ' << e.Side << ' ' << e.Phase << ' ' << e.Unit
         << ' ' << e.Other << ' ' << e.X << ',' << e.Y << ' ' << e.ToX << ',' << e.ToY << ' ' << e.Value << ' '
         << e.Value2 << " fight " << f.Castle << ' ' << f.Rounds << ' ' << f.StepsLost[0] << ' ' << f.StepsLost[1]
         << ' ' << f.GarrisonLost << ' ' << f.HitsDealt[0] << ' ' << f.HitsDealt[1] << ' ' << f.HitsExpected100[0]
         << ' ' << f.HitsExpected100[1] << ' ' << f.Annihilated[0] << ' ' << f.Annihilated[1] << ' ' << f.Escalated
         << f.AttackerRetreated << f.DefenderRetreated << f.CastleFell << ' ' << f.Advanced << ' ' << f.Outcome;
    for (const SlotList* list : {&f.Attackers, &f.Defenders}) {
      line << " [";
      for (int i = 0; i < list->Count; ++i) line << ' ' << int{list->Slots[static_cast<std::size_t>(i)]};
      line << " ]";
    }
    for (const ArmyTally& t : e.Tally) line << ' ' << t.Units << '/' << t.Steps << '/' << t.CombatPower << '/' << t.Castles;
    put();
  }
  for (const auto& a : ui.RetreatArrows) {
    line << "arrow " << a[0] << ' ' << a[1] << ',' << a[2];
    put();
  }
  line << "window " << ui.BattleShows << ' ' << ui.BattleCloses << ' ' << ui.AttackArrows << ' ' << ui.Redraws << ' '
       << ui.MoveSteps;
  put();
  return out;
}

struct BattleCase {
  std::string Name;
  std::unique_ptr<Game> Start;
  HexPos At;
  std::deque<int> Answers;
};

struct Fought {
  std::vector<std::string> Lines;
  std::vector<Event> Events;
  BattleResult Result;
};

Fought Fight(const BattleCase& c, bool full) {
  auto g = std::make_unique<Game>(*c.Start);
  g->FullSearches = full;
  ScriptedUi ui;
  ui.Answers = c.Answers;
  Fought f;
  f.Result = FightBattle(*g, ui, c.At.X, c.At.Y);
  ui.BattleClose();
  f.Lines = Aftermath(*g, ui, f.Result);
  f.Events = ui.Events;
  return f;
}

void SendCorps(Game& g, int leader, HexPos from, HexPos target) {
  Unit& u = g.U(leader);
  const auto place = [&](Unit& v) {
    v.HexX = static_cast<std::uint8_t>(from.X);
    v.HexY = static_cast<std::uint8_t>(from.Y);
    v.TargetX = target.X;
    v.TargetY = target.Y;
  };
  place(u);
  for (int i = 0; i < u.SubordinateCount; ++i) place(g.U(u.Subordinates[static_cast<std::size_t>(i)]));
}

// A corps of `side` sent next to an enemy stack or castle to attack it, a second corps now and
// then, corps of both sides standing by, and random answers; nullptr-less BattleCase.Start when no
// attack could be set up.
BattleCase PickBattle(const Game& from, std::mt19937& pick, const std::string& name) {
  BattleCase c;
  c.Name = name;
  c.Start = std::make_unique<Game>(from);
  Game& g = *c.Start;
  const int side = static_cast<int>(pick() % 2);
  const std::vector<int> leaders = test::Leaders(g, side);
  const bool stacksOnly = pick() % 4 != 0;
  const auto spots = test::AttackSpots(g, side, stacksOnly);
  if (leaders.size() < 2 || spots.empty()) {
    c.Start.reset();
    return c;
  }
  const auto& spot = spots[pick() % spots.size()];
  const int leader = leaders[pick() % leaders.size()];
  SendCorps(g, leader, spot.first, spot.second);
  c.At = spot.second;
  if (pick() % 3 == 0) {
    const int second = leaders[pick() % leaders.size()];
    for (int d = 1; d <= 6 && second != leader; ++d) {
      const HexPos h = Neighbour(c.At.X, c.At.Y, d);
      if (test::FreeToStand(g, h)) {
        SendCorps(g, second, h, c.At);
        break;
      }
    }
  }
  // Fresh corps of the attacker near the fight can join it; corps of either side stand by.
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    Unit& u = g.U(slot);
    u.ReinforcementWait = static_cast<int>(pick() % 10);
    if (u.Side == side && u.TargetX == -1 && pick() % 4 != 0) u.ActionPoints = u.TurnActionPoints;
  }
  g.PhaseSide = side;
  g.FullAttack = static_cast<std::uint8_t>(pick() % 5 != 0 ? 1 : 0);
  g.Turn = 1 + static_cast<int>(pick() % 10);
  for (int k = 0; k < 40; ++k) c.Answers.push_back(static_cast<int>(pick() % 4) - 1);
  return c;
}

// Games of the shipped scenario after a few turns of the computer playing both sides.
std::unique_ptr<Game> PlayedGame(std::uint32_t seed, int turns) {
  auto g = std::make_unique<Game>();
  EXPECT_TRUE(LoadCrt(*g, kData + "/CRT.txt").Ok);
  SelfPlayOptions o;
  o.Both = true;
  o.Turns = turns;
  o.Seed = seed;
  o.HumanSide = static_cast<int>(seed % 2);
  o.MapPath = kData + "/Map.dat";
  const SelfPlayResult r = PlaySelf(*g, o);
  EXPECT_TRUE(r.Started);
  return g;
}

TEST(QuickSearches, BattlesLeaveTheSameGameAsWithTheFullSearches) {
  std::vector<BattleCase> cases;
  // The bench's engagement with many seeds, and with the defenders given a way out.
  for (std::uint32_t seed = 1; seed <= 20; ++seed) {
    BattleCase c{"engagement seed " + std::to_string(seed), test::Engagement(), test::kBattleHex, {}};
    c.Start->Rng.SetSeed(seed);
    if (seed > 10) {
      c.Start->H(9, 9).Terrain = 1;  // an open hex west of the stack
      c.Start->H(8, 9).Terrain = 1;
      c.Answers = {static_cast<int>(seed % 2), 0, 1};
    }
    cases.push_back(std::move(c));
  }
  std::mt19937 pick(20261209u);
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    const auto played = PlayedGame(seed, 1 + static_cast<int>(seed % 4));
    for (int n = 0; n < 24; ++n) {
      BattleCase c = PickBattle(*played, pick, "game " + std::to_string(seed) + " battle " + std::to_string(n));
      if (!c.Start) continue;
      c.Start->Rng.SetSeed(static_cast<std::uint32_t>(pick()));
      cases.push_back(std::move(c));
    }
  }

  int attackerJoined = 0, defenderJoined = 0, attackerBack = 0, defenderBack = 0, fallen = 0, sieges = 0;
  for (const BattleCase& c : cases) {
    const Fought full = Fight(c, true);
    const Fought quick = Fight(c, false);
    for (std::size_t i = 0; i < full.Lines.size() && i < quick.Lines.size(); ++i) {
      ASSERT_EQ(full.Lines[i], quick.Lines[i]) << c.Name;
    }
    ASSERT_EQ(full.Lines.size(), quick.Lines.size()) << c.Name;
    // Who fought beyond the stacks there at the start came as reinforcements.
    for (const Event& e : quick.Events) {
      if (e.Kind != EventKind::Battle) continue;
      for (int i = 0; i < e.Fight.Attackers.Count; ++i) {
        const Unit& u = c.Start->U(e.Fight.Attackers.Slots[static_cast<std::size_t>(i)]);
        attackerJoined += u.TargetX == c.At.X && u.TargetY == c.At.Y ? 0 : 1;
      }
      for (int i = 0; i < e.Fight.Defenders.Count; ++i) {
        const Unit& u = c.Start->U(e.Fight.Defenders.Slots[static_cast<std::size_t>(i)]);
        defenderJoined += u.HexX == c.At.X && u.HexY == c.At.Y ? 0 : 1;
      }
    }
    attackerBack += quick.Result.AttackerRetreated ? 1 : 0;
    defenderBack += quick.Result.DefenderRetreated ? 1 : 0;
    fallen += quick.Result.CastleFallen ? 1 : 0;
    sieges += CastleAt(*c.Start, c.At.X, c.At.Y) != -1 ? 1 : 0;
  }
  // The battles cover what the searches serve: reinforcements of both sides, retreats, sieges.
  EXPECT_GT(cases.size(), 250u);
  EXPECT_GT(attackerJoined, 10);
  EXPECT_GT(defenderJoined, 10);
  EXPECT_GT(attackerBack, 5);
  EXPECT_GT(defenderBack, 10);
  EXPECT_GT(sieges, 20);
  EXPECT_GT(fallen, 5);
}


// Every unit of both sides against every hex of the map: what the range search records there
// (a route or none, the points left) is what the finder answers. Played positions of the shipped
// map (roads, rivers, mountains, ports, castles, both armies in contact), the units' points
// shuffled, a finder told of fewer points than some units have, and a map with free steps.
TEST(QuickSearches, EveryUnitReachesEveryHexAsTheRangeSearchSays) {
  std::mt19937 pick(7u);
  int reached = 0, byPort = 0, compared = 0, unbounded = 0;
  for (std::uint32_t seed = 1; seed <= 10; ++seed) {
    auto g = PlayedGame(seed, 1 + static_cast<int>(seed % 3));
    // Some units to the ports their side holds, from where every port is open to them.
    std::array<std::vector<HexPos>, 2> ports;
    for (int c = 1; c < g->CastleCounter; ++c) {
      const Castle& k = g->Castles[static_cast<std::size_t>(c)];
      if ((k.Owner == 0 || k.Owner == 1) && g->H(k.HexX, k.HexY).Terrain == static_cast<int>(TerrainCode::PortCity)) {
        ports[static_cast<std::size_t>(k.Owner)].push_back({k.HexX, k.HexY});
      }
    }
    for (int slot = 1; slot < kUnitSlots; ++slot) {
      Unit& u = g->U(slot);
      if (pick() % 3 == 0) u.ActionPoints = static_cast<int>(pick() % 25);
      const auto& own = ports[u.Side == 1 ? 1 : 0];
      if (u.OnMap == 1 && !own.empty() && pick() % 6 == 0) {
        const HexPos h = own[pick() % own.size()];
        u.HexX = static_cast<std::uint8_t>(h.X);
        u.HexY = static_cast<std::uint8_t>(h.Y);
      }
    }
    if (seed == 5) {
      for (int k = 0; k < 12; ++k) g->H(static_cast<int>(pick() % kMapSize), static_cast<int>(pick() % kMapSize)).Terrain = 15;
    }
    for (int side = 0; side < 2; ++side) {
      std::vector<int> units;
      int most = 0;
      for (int slot = 1; slot < kUnitSlots; ++slot) {
        const Unit& u = g->U(slot);
        if (u.OnMap == 1 && u.Side == side) {
          units.push_back(slot);
          most = std::max(most, u.ActionPoints);
        }
      }
      if (seed == 4) most = 6;  // the units with more are followed everywhere
      // The full search's tables for every unit, kept to compare against every hex.
      std::vector<std::vector<Reach>> full;
      for (const int slot : units) {
        const Unit& u = g->U(slot);
        ComputeMoveRangeFor(*g, u.HexX, u.HexY, kUnitMoveRow, u.ActionPoints, side, true);
        std::vector<Reach> row;
        for (int x = 0; x < kMapSize; ++x) {
          for (int y = 0; y < kMapSize; ++y) {
            const auto ix = static_cast<std::size_t>(x);
            const auto iy = static_cast<std::size_t>(y);
            row.push_back({!g->MovePath[ix][iy].Empty(), g->MoveRemaining[ix][iy]});
          }
        }
        full.push_back(row);
      }
      ClearMoveRange(*g);
      for (int x = 0; x < kMapSize; ++x) {
        for (int y = 0; y < kMapSize; ++y) {
          ReachFinder finder(*g, side, kUnitMoveRow, {x, y}, most);
          for (std::size_t i = 0; i < units.size(); ++i) {
            const Unit& u = g->U(units[i]);
            const Reach want = full[i][static_cast<std::size_t>(x * kMapSize + y)];
            const Reach got = finder.From(u.HexX, u.HexY, u.ActionPoints);
            const std::string where = "seed " + std::to_string(seed) + " slot " + std::to_string(units[i]) + " to " +
                                      std::to_string(x) + "," + std::to_string(y);
            ASSERT_EQ(got.Reached, want.Reached) << where;
            if (want.Reached) {
              ASSERT_EQ(got.Remaining, want.Remaining) << where;
            }
            ++compared;
            reached += want.Reached ? 1 : 0;
            byPort += want.Reached && want.Remaining == -1 ? 1 : 0;
            unbounded += u.ActionPoints > most ? 1 : 0;
          }
        }
      }
    }
  }
  EXPECT_GT(reached, 5000);
  EXPECT_GT(byPort, 5);
  EXPECT_GT(unbounded, 3000);
}

}  // namespace
}  // namespace milgant
