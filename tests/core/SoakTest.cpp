// Whole games on the shipped map, pressed through to their end for many seeds and both sides,
// with the invariants checked after every press; and save files damaged at random, which must
// be read or refused but never crash or change the running game.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "TestFiles.h"
#include "core/game/Game.h"
#include "core/game/Invariants.h"
#include "core/game/RuleTables.h"
#include "core/game/SaveImage.h"
#include "core/turn/ScriptedUi.h"
#include "core/turn/PhaseSequence.h"

namespace milgant {
namespace {

const std::string kMap = std::string(MILGANT_DATA_DIR) + "/Map.dat";

std::string Broken(const Game& g) {
  std::string out;
  for (const std::string& line : CheckInvariants(g)) out += line + "\n";
  return out;
}

TEST(Soak, GamesRunToTheirEndWithSoundStateAfterEveryPress) {
  for (int side = 0; side < 2; ++side) {
    for (std::uint32_t seed = 1; seed <= 12 / test::kSoakShare; ++seed) {
      auto g = std::make_unique<Game>();
      ASSERT_TRUE(LoadCrt(*g, std::string(MILGANT_DATA_DIR) + "/CRT.txt").Ok);
      g->Rng.SetSeed(seed * 7919u);
      ScriptedUi ui;
      ui.Answers = {side == 0 ? 1 : 0};
      ASSERT_TRUE(NewGame(*g, ui, kMap));
      ASSERT_EQ(Broken(*g), "") << "side " << side << " seed " << seed;
      int presses = 0;
      int lastTurn = g->Turn;
      while (g->GameState != 0 && presses < 200) {
        ASSERT_TRUE(g->GameState == 2 || g->GameState == 27 || g->GameState == 3);
        PhaseEnd(*g, ui);
        ++presses;
        ASSERT_EQ(Broken(*g), "") << "side " << side << " seed " << seed << " press " << presses;
        ASSERT_GE(g->Turn, lastTurn);
        lastTurn = g->Turn;
        ASSERT_LE(g->ReplenishmentPoints[static_cast<std::size_t>(g->PlayerSide)], 50);
      }
      // With nobody moving, the game is decided on points once turn 10 is over.
      EXPECT_EQ(g->GameState, 0) << "side " << side << " seed " << seed;
      EXPECT_EQ(g->Turn, 10);
      EXPECT_NE(ui.EndingWinner, -1);
      EXPECT_FALSE(ui.MusicPlaying);
    }
  }
}

TEST(Soak, TheSameSeedAndAnswersReplayTheSameGame) {
  auto play = [](std::uint32_t seed) {
    auto g = std::make_unique<Game>();
    g->Rng.SetSeed(seed);
    ScriptedUi ui;
    ui.Answers = {0};
    EXPECT_TRUE(NewGame(*g, ui, kMap));
    for (int i = 0; i < 12; ++i) PhaseEnd(*g, ui);
    Snapshot(*g);
    return g;
  };
  const auto a = play(4242);
  const auto b = play(4242);
  const auto c = play(4243);
  EXPECT_EQ(a->SaveImage, b->SaveImage);
  EXPECT_EQ(a->Rng.Seed(), b->Rng.Seed());
  EXPECT_NE(a->Rng.Seed(), c->Rng.Seed());
}

TEST(Soak, RandomlyDamagedSavesAreReadOrRefusedAndNeverHarmTheGame) {
  test::TempDir dir;
  auto g = std::make_unique<Game>();
  g->Rng.SetSeed(99);
  ScriptedUi ui;
  ui.Answers = {0};
  ASSERT_TRUE(NewGame(*g, ui, kMap));
  for (int i = 0; i < 4; ++i) PhaseEnd(*g, ui);
  ASSERT_TRUE(SaveGame(*g, ui, 1, dir.Path().string()));
  const auto good = test::ReadBytes(dir.File("Save1.dat"));
  Snapshot(*g);
  const auto before = g->SaveImage;

  Random pick(12345);
  int refused = 0, read = 0;
  for (int round = 0; round < 300; ++round) {
    auto bytes = good;
    const int hits = 1 + pick.Next(8);
    for (int h = 0; h < hits; ++h) {
      // Aim at the parts that matter: the records, the scalars and the castles.
      const int region = pick.Next(3);
      const std::size_t base = region == 0 ? 0 : region == 1 ? kScalarsOffset : kCastlesOffset;
      const std::size_t span = region == 0 ? 66552 : region == 1 ? 64 : 4080;
      bytes[base + static_cast<std::size_t>(pick.Next(static_cast<std::int32_t>(span)))] =
          static_cast<unsigned char>(pick.Next(256));
    }
    test::WriteBytes(dir.File("Save2.dat"), bytes.data(), bytes.size());
    auto loaded = std::make_unique<Game>(*g);
    ScriptedUi quiet;
    if (LoadGame(*loaded, quiet, 2, dir.Path().string(), kMap)) {
      ++read;
      // Whatever was read is a game the rules can work on.
      ASSERT_TRUE(ValidateState(*loaded, nullptr)) << round;
      ASSERT_EQ(CheckInvariants(*loaded, InvariantScope::Load).size(), 0u) << round;
      if (loaded->GameState == 2 || loaded->GameState == 27 || loaded->GameState == 3) {
        ScriptedUi any;
        for (int i = 0; i < 3; ++i) PhaseEnd(*loaded, any);
      }
    } else {
      ++refused;
      Snapshot(*loaded);
      ASSERT_EQ(loaded->SaveImage, before) << "a refused load changed the game, round " << round;
    }
  }
  EXPECT_GT(refused, 0);
  EXPECT_GT(read, 0);
}

}  // namespace
}  // namespace milgant
