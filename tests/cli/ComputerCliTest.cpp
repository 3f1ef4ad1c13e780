// The computer-opponent commands of milgant-cli on the shipped map: whole games played by the
// computer, its phase on a saved game, and the plan it makes for one unit.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "ShippedDataCli.h"
#include "TestFiles.h"

namespace milgant {
namespace {

class ComputerCli : public test::ShippedDataCli {};

TEST_F(ComputerCli, AutoplayReportsAWholeGameAndRepeatsItForTheSameSeed) {
  for (const std::string kind : {"--side 0", "--side 1", "--both"}) {
    const auto j = Json("autoplay " + kind + " --seed 12");
    for (const char* key : {"winner", "turns", "battles", "castlesTaken", "unitsLost", "victoryPoints"}) {
      EXPECT_TRUE(j.contains(key)) << kind << " " << key;
    }
    EXPECT_NE(j["winner"], -1) << kind;
    EXPECT_EQ(j["unitsLost"].size(), 2u);
    for (const auto& c : j["castlesTaken"]) EXPECT_EQ(c.size(), 3u);
    EXPECT_EQ(Json("autoplay " + kind + " --seed 12"), j) << kind;
  }
  const auto both = Json("autoplay --both --seed 12");
  EXPECT_GT(both["battles"].get<int>(), 0);
  const auto shortGame = Json("autoplay --both --seed 12 --turns 2");
  EXPECT_EQ(shortGame["winner"], -1);
  EXPECT_EQ(shortGame["turns"], 3);
  std::string out;
  EXPECT_EQ(Call("autoplay --side 0", out), 2);
  EXPECT_EQ(Call("autoplay --side 2 --seed 1", out), 2);
}

TEST_F(ComputerCli, PlanIsForTheComputersUnitsOnlyAndMovesNothing) {
  Json("new --side 0 --seed 5 --start --out g.dat");
  const auto before = Json("inspect g.dat");
  int computerUnit = -1, playerUnit = -1, ap = 0;
  for (const auto& u : before["units"]) {
    if (u["OnMap"] != 1) continue;
    if (u["Side"] == 1 && u["CommanderIndex"] == -1 && computerUnit == -1) {
      computerUnit = u["Slot"];
      ap = u["ActionPoints"];
    }
    if (u["Side"] == 0 && playerUnit == -1) playerUnit = u["Slot"];
  }
  ASSERT_NE(computerUnit, -1);
  ASSERT_NE(playerUnit, -1);
  std::string out;
  EXPECT_EQ(Call("plan g.dat " + std::to_string(playerUnit), out), 2);
  const auto p = Json("plan g.dat " + std::to_string(computerUnit));
  for (const char* key : {"MoveGoalX", "MoveGoalY", "Route", "RouteDestX", "RouteDestY", "ActionPoints", "MaxActionPoints",
                          "MoveScoreChosen", "MoveScoreAtCommander"}) {
    EXPECT_TRUE(p.contains(key)) << key;
  }
  EXPECT_LE(p["ActionPoints"].get<int>(), ap);
  EXPECT_GE(p["ActionPoints"].get<int>(), 0);
  EXPECT_EQ(Json("inspect g.dat"), before);  // nothing written without --out
}

TEST_F(ComputerCli, ComputerPhaseMovesTheComputersSide) {
  Json("new --side 1 --seed 9 --start --out g.dat");
  const auto j = Json("computer-phase g.dat --seed 3 --out h.dat");
  EXPECT_TRUE(j.contains("log"));
  const auto a = Json("inspect g.dat");
  const auto b = Json("inspect h.dat");
  int moved = 0;
  for (std::size_t i = 0; i < a["units"].size(); ++i) {
    const auto& u = a["units"][i];
    const auto& v = b["units"][i];
    if (u["Side"] == 0 && (u["HexX"] != v["HexX"] || u["HexY"] != v["HexY"])) ++moved;
    if (u["Side"] == 1) {
      EXPECT_EQ(u["HexX"], v["HexX"]);  // the human's side stays
    }
  }
  EXPECT_GT(moved, 0);
}

}  // namespace
}  // namespace milgant
