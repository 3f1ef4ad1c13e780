// The turn-rule commands of milgant-cli on the shipped map: ranges, moves, supply and the
// phase sequence, as a script driving the game would see them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "ShippedDataCli.h"
#include "TestFiles.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"

namespace milgant {
namespace {

class TurnCli : public test::ShippedDataCli {
 protected:
  // A game of the given side after the set-up and its first turn, written to `file`.
  void Started(int side, const std::string& file) {
    Json("new --side " + std::to_string(side) + " --seed 77 --start --out " + file);
  }

};

TEST_F(TurnCli, NewWithStartPlaysTheFirstTurn) {
  Started(1, "one.dat");
  auto j = Json("inspect one.dat");
  EXPECT_EQ(j["scalars"]["Turn"], 1);
  EXPECT_EQ(j["scalars"]["GameState"], 2);
  EXPECT_EQ(j["scalars"]["PhaseSide"], 1);
  EXPECT_EQ(j["scalars"]["ReplenishmentPoints"][1], 10);
  for (const auto& u : j["units"]) {
    if (u["OnMap"] != 1 || u["Side"] != 1 || u["CommanderIndex"] != -1) continue;
    const int c = u["CorpsActionPoints"];
    EXPECT_GE(u["ActionPoints"].get<int>(), c / 2);
    EXPECT_LT(u["ActionPoints"].get<int>(), c);
  }
  Started(0, "zero.dat");
  j = Json("inspect zero.dat");
  EXPECT_EQ(j["scalars"]["Turn"], 1);
  EXPECT_EQ(j["scalars"]["GameState"], 2);
  EXPECT_EQ(j["scalars"]["PhaseSide"], 0);
  EXPECT_EQ(j["scalars"]["ReplenishmentPoints"][0], 10);
  EXPECT_EQ(j["units"][3]["MayAttack"], 1);
  // The same seed plays the same first turn.
  Started(0, "again.dat");
  EXPECT_EQ(test::ReadBytes(dir_.File("zero.dat")), test::ReadBytes(dir_.File("again.dat")));
}

TEST_F(TurnCli, EveryRouteOfARangeLeadsToItsHex) {
  Started(1, "g.dat");
  const auto units = Json("inspect g.dat")["units"];
  int checked = 0;
  for (int slot : {71, 73, 76, 77}) {
    const auto r = Json("range g.dat " + std::to_string(slot));
    const int sx = units[slot]["HexX"];
    const int sy = units[slot]["HexY"];
    EXPECT_EQ(r["MovePath"][sx][sy], "0");
    EXPECT_EQ(r["MoveRemaining"][sx][sy], units[slot]["ActionPoints"]);
    for (int x = 0; x < kMapSize; ++x) {
      for (int y = 0; y < kMapSize; ++y) {
        const std::string path = r["MovePath"][x][y];
        const int blocked = r["MoveBlocked"][x][y];
        EXPECT_EQ(blocked == 0, !path.empty()) << x << "," << y;
        if (path.empty() || path == "0") continue;
        HexPos at{sx, sy};
        for (char d : path) at = Neighbour(at.X, at.Y, d - '0');
        ASSERT_EQ(at, (HexPos{x, y})) << "slot " << slot << " path " << path;
        EXPECT_GE(r["MoveRemaining"][x][y].get<int>(), 0);
        EXPECT_LT(r["MoveRemaining"][x][y].get<int>(), units[slot]["ActionPoints"].get<int>());
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 4);
}

TEST_F(TurnCli, AMoveGoesAlongItsRouteAndKeepsThePointsLeft) {
  Started(1, "g.dat");
  const auto r = Json("range g.dat 71");
  int tx = -1, ty = -1, best = 1 << 30;
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const std::string path = r["MovePath"][x][y];
      if (path.size() >= 2 && static_cast<int>(path.size()) < best) {
        best = static_cast<int>(path.size());
        tx = x;
        ty = y;
      }
    }
  }
  ASSERT_NE(tx, -1) << "no hex two steps away is reachable";
  const auto moved = Json("move g.dat 71 " + std::to_string(tx) + " " + std::to_string(ty) + " --out m.dat");
  EXPECT_EQ(moved["moved"], true);
  EXPECT_EQ(moved["unit"]["HexX"], tx);
  EXPECT_EQ(moved["unit"]["HexY"], ty);
  EXPECT_EQ(moved["unit"]["ActionPoints"], r["MoveRemaining"][tx][ty]);
  EXPECT_EQ(moved["GameState"], 7);
  const auto after = Json("inspect m.dat");
  // The corps moves as one stack in its own phase.
  for (int sub : {72, 74, 75, 78, 79}) {
    EXPECT_EQ(after["units"][sub]["HexX"], tx) << sub;
    EXPECT_EQ(after["units"][sub]["HexY"], ty) << sub;
  }

  int fx = -1, fy = -1;
  for (int x = 0; x < kMapSize && fx == -1; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      if (r["MoveBlocked"][x][y] == 1) {
        fx = x;
        fy = y;
        break;
      }
    }
  }
  const auto refused = Json("move g.dat 71 " + std::to_string(fx) + " " + std::to_string(fy) + " --out n.dat");
  EXPECT_EQ(refused, (nlohmann::json{{"moved", false}}));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("n.dat")));
}

TEST_F(TurnCli, SupplyFromTheSourcesAndTheCheckOfACutOffUnit) {
  Started(1, "g.dat");
  const auto s1 = Json("supply g.dat 1")["SupplyRemaining"];
  // The sources are cities: supplied, though the scan leaves them with a short trace's points.
  EXPECT_GT(s1[19][15].get<int>(), 0);
  EXPECT_GT(Json("supply g.dat 0")["SupplyRemaining"][2][5].get<int>(), 0);
  const auto units = Json("inspect g.dat")["units"];
  for (int slot = 71; slot <= 88; ++slot) {
    EXPECT_GT(s1[units[slot]["HexX"].get<int>()][units[slot]["HexY"].get<int>()].get<int>(), 0) << slot;
  }

  // Cut a corps off: B07 (slot 77) and its one subordinate B14 (slot 84) go to a hex that
  // neither side's trace reaches.
  const auto s0 = Json("supply g.dat 0")["SupplyRemaining"];
  int cx = -1, cy = -1;
  for (int x = 0; x < kMapSize && cx == -1; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      if (s1[x][y].get<int>() <= 0 && s0[x][y].get<int>() <= 0) {
        cx = x;
        cy = y;
        break;
      }
    }
  }
  ASSERT_NE(cx, -1);
  auto bytes = test::ReadBytes(dir_.File("g.dat"));
  bytes[77 * 472 + 284] = static_cast<unsigned char>(cx);
  bytes[77 * 472 + 285] = static_cast<unsigned char>(cy);
  bytes[84 * 472 + 284] = static_cast<unsigned char>(cx);
  bytes[84 * 472 + 285] = static_cast<unsigned char>(cy);
  test::WriteBytes(dir_.File("cut.dat"), bytes.data(), bytes.size());
  const auto check = Json("supply-check cut.dat 1 --seed 5 --out checked.dat");
  bool seen = false;
  for (const auto& u : check["units"]) {
    if (u["Slot"] != 77) continue;
    seen = true;
    EXPECT_EQ(u["Supplied"], 0);
    EXPECT_EQ(u["Steps"], 10 - 3);
    EXPECT_EQ(u["CombatPower"], 6);  // round(7 / 10 * 8) = 5.6 -> 6
  }
  EXPECT_TRUE(seen);
  const auto after = Json("inspect checked.dat")["units"];
  EXPECT_EQ(after[72]["Supplied"], 1);
  EXPECT_EQ(after[84]["Steps"], 7);
}

TEST_F(TurnCli, PhaseEndStepsThroughTheTurn) {
  Started(1, "t.dat");
  auto j = Json("phase-end t.dat --seed 1 --out a.dat");
  EXPECT_EQ(j["GameState"], 27);
  j = Json("phase-end a.dat --seed 1 --out b.dat");
  EXPECT_EQ(j["GameState"], 3);
  j = Json("phase-end b.dat --seed 1 --out c.dat");
  EXPECT_EQ(j["GameState"], 2);
  EXPECT_EQ(j["Turn"], 2);
  EXPECT_EQ(j["PhaseSide"], 1);
  EXPECT_EQ(j["ReplenishmentPoints"][1], 30);  // 10 on turn 1, 20 on turn 2
  EXPECT_EQ(j["Winner"], -1);
  // Replaying the same press from the same file and seed gives the same game.
  Json("phase-end b.dat --seed 1 --out d.dat");
  EXPECT_EQ(test::ReadBytes(dir_.File("c.dat")), test::ReadBytes(dir_.File("d.dat")));
}

TEST_F(TurnCli, TurnCommandsRefuseBadArguments) {
  Started(1, "g.dat");
  std::string out;
  for (const char* args : {"range g.dat 0", "range g.dat 141", "range g.dat", "range missing.dat 71",
                           "move g.dat 71 20 3", "move g.dat 71 3", "supply g.dat 2", "supply-check g.dat -1",
                           "phase-end", "phase-end g.dat --seed x"}) {
    EXPECT_EQ(Call(args, out), 2) << args;
    EXPECT_TRUE(out.empty()) << args;
  }
  std::filesystem::remove(dir_.File("CRT.txt"));
  EXPECT_EQ(Call("phase-end g.dat", out), 2);
}

}  // namespace
}  // namespace milgant
