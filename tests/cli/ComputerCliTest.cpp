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

// The chronicle of a whole game: written on request without changing the game's result, read
// back as events and each side's numbers; and carried from game file to game file.
TEST_F(ComputerCli, ChroniclesOfWholeGamesAndOfTheGamesTheCommandsWrite) {
  const auto plain = Json("autoplay --both --seed 12");
  EXPECT_EQ(Json("autoplay --both --seed 12 --chronicle war.chronicle"), plain);
  const auto c = Json("chronicle war.chronicle");
  ASSERT_GT(c["events"].size(), 50u);
  EXPECT_EQ(c["events"][0]["kind"], "PhaseBegins");
  EXPECT_EQ(c["events"].back()["kind"], "GameEnds");
  EXPECT_EQ(c["events"].back()["side"], plain["winner"]);
  int battles = 0;
  for (const auto& e : c["events"]) battles += e["kind"] == "Battle" ? 1 : 0;
  for (const char* side : {"0", "1"}) {
    for (const char* key : {"BattlesAttacked", "BattlesDefended", "BattlesWon", "StepsLost", "StepsInflicted", "UnitsLost",
                            "GeneralsKilled", "CastlesTaken", "CastlesLost", "HitsDealt", "HitsExpected"}) {
      EXPECT_TRUE(c["summary"][side].contains(key)) << side << " " << key;
    }
  }
  EXPECT_EQ(c["summary"]["0"]["BattlesAttacked"].get<int>() + c["summary"]["1"]["BattlesAttacked"].get<int>(), battles);
  EXPECT_EQ(c["summary"]["0"]["CastlesTaken"], c["summary"]["1"]["CastlesLost"]);

  // A new game starts one; a command on a game with one writes the longer one beside its result.
  Json("new --side 0 --seed 5 --start --out g.dat");
  const auto started = Json("chronicle g.dat");
  Json("phase-end g.dat --seed 2 --out h.dat");
  Json("phase-end h.dat --seed 2 --out h.dat");
  Json("phase-end h.dat --seed 2 --out h.dat");
  const auto later = Json("chronicle h.chronicle");
  EXPECT_GT(later["events"].size(), started["events"].size());
  EXPECT_EQ(later["events"][0], started["events"][0]);
  std::filesystem::remove(dir_.File("g.chronicle"));
  Json("phase-end g.dat --seed 2 --out k.dat");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("k.chronicle")));
  std::string out;
  EXPECT_EQ(Call("chronicle k.dat", out), 2);  // none to read
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
