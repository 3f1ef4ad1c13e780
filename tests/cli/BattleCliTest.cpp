// The battle commands of milgant-cli on positions from a new game: the estimates, the strengths
// a round would fire with, and whole battles replayed from a seed and answers.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "ShippedDataCli.h"
#include "TestFiles.h"
#include "core/combat/ForceRatio.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/RuleTables.h"
#include "core/game/SaveImage.h"
#include "core/turn/ScriptedUi.h"
#include "core/turn/PhaseSequence.h"

namespace milgant {
namespace {

class BattleCli : public test::ShippedDataCli {
 protected:
  // A new game for the side-1 player in which his first corps (slot 71 and its subordinates)
  // stands next to the first enemy stack (or, with `castle`, the first enemy castle without
  // units) and is marked to attack it. Returns the hex attacked; `castle_` tells whether a
  // castle stands on it.
  HexPos Position(const std::string& file, bool castle) {
    Game g;
    EXPECT_TRUE(LoadCrt(g, dir_.File("CRT.txt")).Ok);
    g.Rng.SetSeed(31);
    ScriptedUi ui;
    ui.Closing = true;
    ui.Answers = {0};
    EXPECT_TRUE(NewGame(g, ui, dir_.File("Map.dat")));
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) {
        const int first = FirstUnitAt(g, x, y);
        const int c = CastleAt(g, x, y);
        const bool wanted = castle ? first == -1 && c != -1 && g.Castles[static_cast<std::size_t>(c)].Owner == 0
                                   : first != -1 && g.U(first).Side == 0;
        if (!wanted) continue;
        for (int d = 1; d <= 6; ++d) {
          const HexPos n = Neighbour(x, y, d);
          if (!OnMapHex(n.X, n.Y) || FirstUnitAt(g, n.X, n.Y) != -1 || CastleAt(g, n.X, n.Y) != -1) continue;
          if (g.H(n.X, n.Y).Terrain == 5 || g.H(n.X, n.Y).Terrain == 7) continue;
          Unit& u = g.U(71);
          u.HexX = static_cast<std::uint8_t>(n.X);
          u.HexY = static_cast<std::uint8_t>(n.Y);
          u.TargetX = x;
          u.TargetY = y;
          for (int i = 0; i < u.SubordinateCount; ++i) {
            Unit& s = g.U(u.Subordinates[static_cast<std::size_t>(i)]);
            s.HexX = u.HexX;
            s.HexY = u.HexY;
            s.TargetX = x;
            s.TargetY = y;
          }
          odds_ = AttackOdds(g, x, y, 0);
          castle_ = c;
          Snapshot(g);
          EXPECT_TRUE(WriteFileAtomically(dir_.File(file), g.SaveImage));
          return {x, y};
        }
      }
    }
    ADD_FAILURE() << "no position found";
    return {-1, -1};
  }
  static std::string At(HexPos h) { return std::to_string(h.X) + " " + std::to_string(h.Y); }

  double odds_ = 0.0;
  int castle_ = -1;
};

TEST_F(BattleCli, OddsAndStrengthsOfTheMarkedAttack) {
  const HexPos h = Position("g.dat", false);
  const auto odds = Json("odds g.dat " + At(h) + " 0");
  EXPECT_DOUBLE_EQ(odds["AttackOdds"].get<double>(), odds_);
  EXPECT_GT(odds["AttackOdds"].get<double>(), 0.0);
  EXPECT_GE(odds["LocalRatioWide"].get<double>(), 0.0);
  EXPECT_GE(odds["LocalRatioNear"].get<double>(), 0.0);
  EXPECT_EQ(Json("odds g.dat " + At(h) + " 1")["AttackOdds"], 0.0);  // side 0 has nobody marked there

  const auto s = Json("strengths g.dat " + At(h));
  const auto units = Json("inspect g.dat")["units"];
  EXPECT_EQ(s["AttackerSide"], 1);
  EXPECT_EQ(s["AttackerLeaders"], nlohmann::json::array({71}));
  EXPECT_EQ(s["AttackerUnits"].size(), 1 + units[71]["SubordinateCount"].get<std::size_t>());
  int steps = 0;
  for (const auto& slot : s["AttackerUnits"]) steps += units[slot.get<int>()]["Steps"].get<int>();
  EXPECT_EQ(s["AttackerSteps"], steps);
  for (const auto& slot : s["DefenderUnits"]) {
    EXPECT_EQ(units[slot.get<int>()]["HexX"], h.X);
    EXPECT_EQ(units[slot.get<int>()]["HexY"], h.Y);
  }
  EXPECT_EQ(s["BattleCastle"], castle_);
  const int a = s["AttackerStrength"];
  const int d = s["DefenderStrength"];
  const double ratio = d < a ? (d == 0 ? a : a / d) : (a == 0 ? 0.0 : -static_cast<double>(d) / a);
  EXPECT_DOUBLE_EQ(s["OddsRatio"].get<double>(), ratio);
  EXPECT_TRUE(s["AcrossRiver"].is_boolean());
}

TEST_F(BattleCli, ABattleIsLoggedAndReplaysFromItsSeedAndAnswers) {
  const HexPos h = Position("g.dat", false);
  const std::string args = "battle g.dat " + At(h) + " --full 1 --seed 12 --answers 0,0,1,-1,0 --out ";
  const auto b = Json(args + "b1.dat");
  ASSERT_TRUE(b.contains("log"));
  const auto& log = b["log"];
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log[0]["kind"], "battle");
  EXPECT_EQ(log[0]["text"], castle_ == -1 ? "ソルカ方野戦第1ラウンド" : "ソルカ方攻城戦第1ラウンド");
  EXPECT_GE(b["Rounds"].get<int>(), 1);
  EXPECT_LE(b["Rounds"].get<int>(), 6);
  std::string last;
  for (const auto& e : log) {
    if (e["kind"] == "battle") last = e["text"];
  }
  const bool siegeOver = last.size() > 15 && last.substr(last.size() - 15) == "攻防戦終了";
  EXPECT_TRUE(last == "戦闘終了" || last == "合戦終了" || siegeOver) << last;
  const auto after = Json("inspect b1.dat")["units"];
  for (const auto& u : after) {
    EXPECT_FALSE(u["TargetX"] == h.X && u["TargetY"] == h.Y) << u["Slot"];
  }
  // The same file, seed and answers fight the same battle.
  EXPECT_EQ(Json(args + "b2.dat")["log"], log);
  EXPECT_EQ(test::ReadBytes(dir_.File("b1.dat")), test::ReadBytes(dir_.File("b2.dat")));
}

TEST_F(BattleCli, AnEmptyCastleFallsToASingleBattle) {
  const HexPos h = Position("c.dat", true);
  const auto s = Json("strengths c.dat " + At(h));
  EXPECT_TRUE(s["DefenderUnits"].empty());
  EXPECT_GE(s["BattleCastle"].get<int>(), 1);
  const auto b = Json("battle c.dat " + At(h) + " --full 0 --seed 3 --answers 0 --out f.dat");
  EXPECT_EQ(b["Rounds"], 1);
  EXPECT_EQ(b["CastleFallen"], true);
  EXPECT_EQ(b["AdvancedUnit"], 71);
  const auto after = Json("inspect f.dat");
  EXPECT_EQ(after["castles"][s["BattleCastle"].get<int>()]["Owner"], 1);
  EXPECT_EQ(after["units"][71]["HexX"], h.X);
  EXPECT_EQ(after["units"][71]["HexY"], h.Y);
}

TEST_F(BattleCli, PreviewOfTheMarkedAttackLeavesTheFileAlone) {
  const HexPos h = Position("g.dat", false);
  const auto before = test::ReadBytes(dir_.File("g.dat"));
  const auto p = Json("preview g.dat 71 " + At(h));
  EXPECT_DOUBLE_EQ(p["AttackOdds"].get<double>(), odds_);
  EXPECT_EQ(p["SingleRound"], odds_ >= 3);
  EXPECT_FALSE(p.contains("Outcomes"));
  const auto s = Json("strengths g.dat " + At(h));
  EXPECT_EQ(p["AttackerStrength"], s["AttackerStrength"]);
  EXPECT_EQ(p["DefenderStrength"], s["DefenderStrength"]);
  for (const char* list : {"HitsOnAttacker", "HitsOnDefender"}) {
    double sum = 0;
    for (const auto& q : p[list]) sum += q.get<double>();
    EXPECT_NEAR(sum, 1.0, 1e-12) << list;
  }
  const std::string simulate = "preview g.dat 71 " + At(h) + " --simulate 40 --seed 9";
  const auto e = Json(simulate);
  const auto& o = e["Outcomes"];
  EXPECT_NEAR(o["DefenderOut"].get<double>() + o["AttackerOut"].get<double>() + o["Undecided"].get<double>(), 1.0, 1e-12);
  EXPECT_GE(e["ExpectedLoss"]["Attacker"].get<double>(), 0.0);
  EXPECT_EQ(Json(simulate), e);
  EXPECT_EQ(test::ReadBytes(dir_.File("g.dat")), before);

  // A hex out of reach: status 2 with the attack command's reason.
  std::string out;
  EXPECT_EQ(Call("preview g.dat 71 " + std::to_string((h.X + 10) % kMapSize) + " " + std::to_string(h.Y), out), 2);
  const auto err = test::ReadBytes(dir_.File("stderr.txt"));
  EXPECT_NE(std::string(err.begin(), err.end()).find("隣接したへクスを攻撃して下さい"), std::string::npos);
  EXPECT_EQ(Call("preview g.dat 71 " + At(h) + " --simulate 0", out), 2);
}

TEST_F(BattleCli, BattleCommandsRefuseBadArguments) {
  Position("g.dat", false);
  std::string out;
  for (const char* args : {"odds g.dat 3 3", "odds g.dat 3 3 2", "odds g.dat 20 3 0", "strengths g.dat 3",
                           "strengths missing.dat 3 3", "battle g.dat 3 3", "battle g.dat 3 3 --full 2",
                           "battle g.dat 3 3 --full 1 --answers x"}) {
    EXPECT_EQ(Call(args, out), 2) << args;
    EXPECT_TRUE(out.empty()) << args;
  }
}

}  // namespace
}  // namespace milgant
