// milgant-cli as a script sees it: its output, its files and its refusals.
#include <gtest/gtest.h>

#include <cstring>
#include <sys/wait.h>

#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>

#include "TestFiles.h"
#include "core/game/Random.h"
#include "core/game/Game.h"
#include "core/game/SaveImage.h"

namespace milgant {
namespace {

struct CliRun {
  int Status = -1;
  std::string Out;
  std::string Err;
  nlohmann::json Json() const { return nlohmann::json::parse(Out); }
};

class Cli : public ::testing::Test {
 protected:
  void SetUp() override { test::WritePlainMap(dir_); }

  CliRun Call(const std::string& args) {
    const std::string out = dir_.File("stdout.txt");
    const std::string err = dir_.File("stderr.txt");
    const std::string command = "cd '" + dir_.Path().string() + "' && '" MILGANT_CLI "' " + args + " >'" + out +
                                "' 2>'" + err + "' </dev/null";
    const int raw = std::system(command.c_str());
    CliRun r;
    r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const auto o = test::ReadBytes(out);
    const auto e = test::ReadBytes(err);
    r.Out.assign(o.begin(), o.end());
    r.Err.assign(e.begin(), e.end());
    return r;
  }

  // A refusal is exit status 2 and exactly one line on standard error.
  void ExpectRefused(const std::string& args) {
    const CliRun r = Call(args);
    EXPECT_EQ(r.Status, 2) << args;
    EXPECT_TRUE(r.Out.empty()) << args;
    ASSERT_FALSE(r.Err.empty()) << args;
    EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1) << args << ": " << r.Err;
  }

  test::TempDir dir_;
};

TEST_F(Cli, RandomPrintsTheGeneratorsDraws) {
  const CliRun r = Call("random --seed 12345 --count 3 --below 6");
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "2\n1\n0\n");
  const CliRun big = Call("random --count 2 --below 2147483647 --seed 4294967295");
  ASSERT_EQ(big.Status, 0) << big.Err;
  Random ref(4294967295u);
  const int first = ref.Next(2147483647);
  const int second = ref.Next(2147483647);
  EXPECT_EQ(big.Out, std::to_string(first) + "\n" + std::to_string(second) + "\n");
  ExpectRefused("random --seed 1 --count 3");
  ExpectRefused("random --seed 1 --count 3 --below 0");
  ExpectRefused("random --seed -1 --count 3 --below 6");
  ExpectRefused("random --seed 4294967296 --count 3 --below 6");
  ExpectRefused("random --seed 1 --count x --below 6");
  ExpectRefused("random --seed 1 --count 1 --below 6 extra");
}

TEST_F(Cli, HexOperations) {
  EXPECT_EQ(Call("hex distance 3 4 4 5").Out, "2\n");
  EXPECT_EQ(Call("hex distance 3 5 4 6").Out, "1\n");
  EXPECT_EQ(Call("hex neighbour 5 3 1").Out, "6 2\n");
  EXPECT_EQ(Call("hex neighbour 0 4 5").Out, "-1 4\n");
  EXPECT_EQ(Call("hex neighbour 5 4 9").Out, "5 4\n");
  EXPECT_EQ(Call("hex pixel 235 90 0 0").Out, "3 1\n");
  EXPECT_EQ(Call("hex pixel 175 60 60 0").Out, "3 1\n");
  ExpectRefused("hex");
  ExpectRefused("hex distance 1 2 3");
  ExpectRefused("hex bearing 1 2 3 4");
  ExpectRefused("hex pixel 1 2 3 99999999999");
}

TEST_F(Cli, CrtPrintsTheTableOrTheRefusal) {
  std::string text;
  for (int row = 1; row <= 6; ++row) {
    for (int c = 0; c < 14; ++c) text += (c ? " " : "") + std::to_string(row * 100 + c);
    text += "\r\n";
  }
  test::WriteText(dir_.File("good.txt"), text);
  const CliRun r = Call("crt good.txt");
  ASSERT_EQ(r.Status, 0) << r.Err;
  const auto j = r.Json();
  ASSERT_EQ(j["CrtTable"].size(), 14u);
  ASSERT_EQ(j["CrtTable"][0].size(), 41u);
  EXPECT_EQ(j["CrtTable"][0][0], 0);
  EXPECT_EQ(j["CrtTable"][13][6], 613);
  EXPECT_EQ(j["CrtTable"][3][1], 103);
  EXPECT_EQ(j["CrtTable"][3][7], 0);

  test::WriteText(dir_.File("bad.txt"), text + "1 2 3\r\n");
  ExpectRefused("crt bad.txt");
  EXPECT_NE(Call("crt bad.txt").Err.find("line 7"), std::string::npos);
  ExpectRefused("crt missing.txt");
}

TEST_F(Cli, NewWritesTheSaveImageAndInspectReadsItBack) {
  const CliRun made = Call("new --side 1 --seed 42 --out game.dat");
  ASSERT_EQ(made.Status, 0) << made.Err;
  EXPECT_EQ(made.Json()["log"][0]["caption"], "陣営選択");
  EXPECT_EQ(test::ReadBytes(dir_.File("game.dat")).size(), kSaveImageSize);

  ASSERT_EQ(Call("new --side 1 --seed 42 --out again.dat").Status, 0);
  EXPECT_EQ(test::ReadBytes(dir_.File("game.dat")), test::ReadBytes(dir_.File("again.dat")));

  const CliRun r = Call("inspect game.dat");
  ASSERT_EQ(r.Status, 0) << r.Err;
  const auto j = r.Json();
  EXPECT_EQ(j["scalars"]["PlayerSide"], 1);
  EXPECT_EQ(j["scalars"]["ComputerSide"], 0);
  EXPECT_EQ(j["scalars"]["GameState"], 3);
  EXPECT_EQ(j["scalars"]["CastleCounter"], 23);
  ASSERT_EQ(j["units"].size(), 141u);
  ASSERT_EQ(j["castles"].size(), 51u);
  ASSERT_EQ(j["map"].size(), 20u);
  ASSERT_EQ(j["map"][0].size(), 20u);
  const auto& a05 = j["units"][5];
  EXPECT_EQ(a05["Slot"], 5);
  EXPECT_EQ(a05["HexX"], 15);
  EXPECT_EQ(a05["HexY"], 2);
  EXPECT_EQ(a05["CommanderIndex"], 3);
  EXPECT_EQ(a05["ArmyName"], "ヴァルネ軍");
  EXPECT_EQ(j["units"][3]["Subordinates"][1], 6);
  EXPECT_EQ(j["units"][71]["ArmyName"], "ソルカ軍");
  EXPECT_EQ(j["units"][71]["Rank"], 2);
  EXPECT_EQ(j["castles"][18]["Name"], "京");
  EXPECT_EQ(j["map"][19][15]["Terrain"], 9);
  EXPECT_EQ(j["map"][2][5]["RiverSides"].size(), 6u);

  const CliRun side0 = Call("new --side 0 --seed 42 --out zero.dat");
  ASSERT_EQ(side0.Status, 0) << side0.Err;
  EXPECT_EQ(Call("inspect zero.dat").Json()["units"][71]["ComputerUnit"], 1);
}

TEST_F(Cli, BadFilesAndArgumentsAreRefused) {
  ExpectRefused("");
  ExpectRefused("fly");
  ExpectRefused("new --side 2 --out x.dat");
  ExpectRefused("new --side 0");
  ExpectRefused("new --side 0 --seed abc --out x.dat");
  ExpectRefused("inspect");
  ExpectRefused("inspect nothing.dat");
  test::WriteText(dir_.File("short.dat"), "not a game");
  ExpectRefused("inspect short.dat");

  ASSERT_EQ(Call("new --side 0 --seed 3 --out g.dat").Status, 0);
  auto bytes = test::ReadBytes(dir_.File("g.dat"));
  bytes[5 * 472 + 284] = 77;  // unit 5 off the map
  test::WriteBytes(dir_.File("g.dat"), bytes.data(), bytes.size());
  ExpectRefused("inspect g.dat");
  bytes[5 * 472 + 284] = 16;
  const std::int32_t morale = 1000;  // unit 85's morale: the line names the unit, field and range
  std::memcpy(bytes.data() + 85 * 472 + 188, &morale, sizeof morale);
  test::WriteBytes(dir_.File("g.dat"), bytes.data(), bytes.size());
  ExpectRefused("inspect g.dat");
  const std::string err = Call("inspect g.dat").Err;
  EXPECT_TRUE(err.ends_with("g.dat: not a save of this game: unit 85: Morale 1000 is outside 2..5\n")) << err;

  std::filesystem::remove(dir_.File("Map.dat"));
  // --data: without it a program in the build folder would fall back on the source tree's data.
  ExpectRefused("new --side 0 --seed 3 --out h.dat --data .");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("h.dat")));
}

}  // namespace
}  // namespace milgant
