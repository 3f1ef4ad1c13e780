// Save files: the byte image, its round trip, refusal of damaged files and safe writing.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <filesystem>
#include <memory>

#include "TestFiles.h"
#include "core/game/Game.h"
#include "core/game/Invariants.h"
#include "core/game/Quantities.h"
#include "core/game/SaveImage.h"
#include "core/game/Scenario.h"
#include "core/turn/ScriptedUi.h"

namespace milgant {
namespace {

class SaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WritePlainMap(dir_);
    game_ = std::make_unique<Game>();
    game_->Rng.SetSeed(99);
    ui_.Answers = {0};  // play side 1
    ASSERT_TRUE(SetUpNewGame(*game_, ui_, MapPath()));
  }
  std::string MapPath() const { return dir_.File("Map.dat"); }
  std::string Folder() const { return dir_.Path().string(); }
  std::string Slot(int n) const { return dir_.File(SaveFileName(n)); }

  // Saves the game to slot 1, lets `damage` change the bytes, and writes them back.
  void SaveDamaged(const std::function<void(std::vector<unsigned char>&)>& damage) {
    ASSERT_TRUE(SaveGame(*game_, ui_, 1, Folder()));
    auto bytes = test::ReadBytes(Slot(1));
    damage(bytes);
    test::WriteBytes(Slot(1), bytes.data(), bytes.size());
  }

  test::TempDir dir_;
  std::unique_ptr<Game> game_;
  ScriptedUi ui_;
};

template <typename T>
void Poke(std::vector<unsigned char>& bytes, std::size_t offset, T value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

TEST_F(SaveTest, ImageLayoutAtItsOffsets) {
  game_->ReplenishmentPoints = {17, 23, 0};
  game_->Turn = 6;
  game_->GameState = 27;
  game_->VictoryPoints = -3;
  game_->U(5).HexX = 11;
  ASSERT_TRUE(SaveGame(*game_, ui_, 2, Folder()));
  const auto b = test::ReadBytes(Slot(2));
  ASSERT_EQ(b.size(), kSaveImageSize);
  auto i32 = [&](std::size_t o) {
    std::int32_t v;
    std::memcpy(&v, b.data() + o, 4);
    return v;
  };
  EXPECT_EQ(b[5 * 472 + 284], 11);       // unit 5's HexX
  EXPECT_EQ(i32(68912), 17);
  EXPECT_EQ(i32(68916), 23);
  EXPECT_EQ(i32(68924), 23);             // CastleCounter
  EXPECT_EQ(i32(68932), 1);              // PlayerSide
  EXPECT_EQ(i32(68936), 0);              // ComputerSide
  EXPECT_EQ(i32(68940), 6);
  EXPECT_EQ(i32(68948), 27);
  EXPECT_EQ(i32(68964), -3);
  double factor;
  std::memcpy(&factor, b.data() + 68968, 8);
  EXPECT_EQ(factor, 1.0);
  EXPECT_EQ(i32(68976 + 80 + 24), 19);   // castle 1's HexX
  EXPECT_EQ(i32(73056 + 19 * 1040 + 15 * 52 + 48), 9);  // its hex: a side-1 city
  for (std::size_t o = 66552; o < 68912; ++o) ASSERT_EQ(b[o], 0) << o;
}

TEST_F(SaveTest, SaveLoadSaveIsByteIdenticalAndKeepsPadAndReservedBytes) {
  game_->U(7).Pad1[1] = 0xAB;
  game_->U(7).GeneralName.Bytes[39] = 0xCD;  // after the string's length
  game_->U(7).Pad6[2] = 0xEF;
  game_->GameState = 2;
  ASSERT_TRUE(SaveGame(*game_, ui_, 3, Folder()));
  auto bytes = test::ReadBytes(Slot(3));
  bytes[66600] = 0x5A;  // the reserved area of a file is carried along
  test::WriteBytes(Slot(3), bytes.data(), bytes.size());

  auto other = std::make_unique<Game>();
  ScriptedUi ui;
  ASSERT_TRUE(LoadGame(*other, ui, 3, Folder(), MapPath())) << (ui.Log.empty() ? "" : ui.Log[0].Text);
  EXPECT_EQ(other->GameState, 2);
  EXPECT_EQ(other->U(7).Pad1[1], 0xAB);
  EXPECT_EQ(other->U(7).GeneralName.Bytes[39], 0xCD);
  EXPECT_TRUE(other->Button(UnitButton::Replenish));
  EXPECT_FALSE(other->Button(UnitButton::Move));
  EXPECT_TRUE(CheckInvariants(*other).empty());
  ASSERT_TRUE(SaveGame(*other, ui, 4, Folder()));
  EXPECT_EQ(test::ReadBytes(Slot(4)), bytes);
}

TEST_F(SaveTest, LoadRestoresTheStateOfTheGame) {
  game_->U(72).HexX = 12;
  game_->U(72).Steps = 3;
  game_->ReplenishmentPoints[1] = 44;
  game_->Turn = 3;
  ASSERT_TRUE(SaveGame(*game_, ui_, 5, Folder()));
  auto other = std::make_unique<Game>();
  ScriptedUi ui;
  ASSERT_TRUE(LoadGame(*other, ui, 5, Folder(), MapPath()));
  EXPECT_EQ(other->U(72).HexX, 12);
  EXPECT_EQ(other->U(72).Steps, 3);
  EXPECT_EQ(other->ReplenishmentPoints[1], 44);
  EXPECT_EQ(other->Turn, 3);
  EXPECT_EQ(other->PlayerSide, 1);
  EXPECT_TRUE(ui.MusicPlaying);
  // Loaded in the action phase: that phase's buttons, whatever the set-up had.
  EXPECT_FALSE(other->Button(UnitButton::Detach));
  EXPECT_TRUE(other->Button(UnitButton::Move));
  EXPECT_FALSE(other->Button(UnitButton::Replenish));
}

TEST_F(SaveTest, SavingOutsideThePlayersPhasesIsRefused) {
  game_->GameState = 4;
  EXPECT_FALSE(SaveGame(*game_, ui_, 1, Folder()));
  EXPECT_FALSE(std::filesystem::exists(Slot(1)));
  ASSERT_FALSE(ui_.Log.empty());
  EXPECT_EQ(ui_.Log.back().Caption, "セーブフェイズエラー");
  EXPECT_EQ(ui_.Log.back().Text, "現在のフェイズを終了し\rセーブしてください。");
}

TEST_F(SaveTest, AFailedWriteKeepsThePreviousSave) {
  ASSERT_TRUE(SaveGame(*game_, ui_, 1, Folder()));
  const auto before = test::ReadBytes(Slot(1));
  // The temporary file cannot be made: a folder stands in its place.
  std::filesystem::create_directory(Slot(1) + ".tmp");
  game_->Turn = 9;
  EXPECT_FALSE(SaveGame(*game_, ui_, 1, Folder()));
  EXPECT_EQ(ui_.Log.back().Kind, "message");
  EXPECT_EQ(ui_.Log.back().Text, "ok");
  EXPECT_EQ(test::ReadBytes(Slot(1)), before);
  EXPECT_EQ(game_->Turn, 9);
  // A save into a folder that does not exist fails the same way.
  EXPECT_FALSE(SaveGame(*game_, ui_, 2, Folder() + "/nowhere"));
}

TEST_F(SaveTest, ShortFilesAreRefusedAndALongerOneIsRead) {
  ASSERT_TRUE(SaveGame(*game_, ui_, 1, Folder()));
  auto bytes = test::ReadBytes(Slot(1));
  game_->Turn = 2;
  const auto units = game_->Units;

  bytes.push_back(0x77);
  test::WriteBytes(Slot(2), bytes.data(), bytes.size());
  auto other = std::make_unique<Game>();
  ScriptedUi ui;
  EXPECT_TRUE(LoadGame(*other, ui, 2, Folder(), MapPath()));

  bytes.resize(kSaveImageSize - 1);
  test::WriteBytes(Slot(2), bytes.data(), bytes.size());
  EXPECT_FALSE(LoadGame(*game_, ui_, 2, Folder(), MapPath()));
  EXPECT_EQ(ui_.Log.back().Caption, "エラー");
  EXPECT_EQ(ui_.Log.back().Text, "このファイルはセーブファイルではありません。");
  EXPECT_EQ(game_->Turn, 2);
  EXPECT_EQ(std::memcmp(&game_->Units, &units, sizeof units), 0);

  // Slot 3 was never written.
  EXPECT_FALSE(LoadGame(*game_, ui_, 3, Folder(), MapPath()));
  EXPECT_EQ(game_->Turn, 2);
}

TEST_F(SaveTest, ValuesOutsideTheTablesAreRefusedAndTheGameIsUntouched) {
  struct Damage {
    const char* What;
    std::function<void(std::vector<unsigned char>&)> Apply;
  };
  const std::size_t u5 = 5 * 472;
  const std::size_t c3 = 68976 + 3 * 80;
  const Damage damages[] = {
      {"unit hex", [&](auto& b) { b[u5 + 284] = 20; }},
      {"unit row", [&](auto& b) { b[u5 + 285] = 200; }},
      {"commander slot", [&](auto& b) { Poke<std::int32_t>(b, u5 + 84, 141); }},
      {"subordinate slot", [&](auto& b) { Poke<std::int32_t>(b, 3 * 472 + 92, 500); }},
      {"subordinate count", [&](auto& b) { Poke<std::int32_t>(b, 3 * 472 + 176, 22); }},
      {"negative count", [&](auto& b) { Poke<std::int32_t>(b, 3 * 472 + 176, -1); }},
      {"general name length", [&](auto& b) { b[u5 + 242] = 41; }},
      {"route length", [&](auto& b) { b[u5 + 368] = 101; }},
      {"castle name length", [&](auto& b) { b[c3] = 21; }},
      {"castle counter", [&](auto& b) { Poke<std::int32_t>(b, 68924, 52); }},
      {"castle counter zero", [&](auto& b) { Poke<std::int32_t>(b, 68924, 0); }},
      {"castle hex", [&](auto& b) { Poke<std::int32_t>(b, c3 + 24, -1); }},
      {"castle link", [&](auto& b) { Poke<std::int32_t>(b, c3 + 60, 40); }},
      {"terrain code", [&](auto& b) { Poke<std::int32_t>(b, 73056 + 4 * 1040 + 4 * 52 + 48, 14); }},
      {"player side", [&](auto& b) { Poke<std::int32_t>(b, 68932, 2); }},
      {"unit side", [&](auto& b) { b[u5 + 197] = 2; }},
      {"rank", [&](auto& b) { Poke<std::int32_t>(b, u5 + 192, 3); }},
      {"game state", [&](auto& b) { Poke<std::int32_t>(b, 68948, 31); }},
      {"turn", [&](auto& b) { Poke<std::int32_t>(b, 68940, 30); }},
  };
  game_->Turn = 1;
  for (const Damage& d : damages) {
    SaveDamaged(d.Apply);
    auto before = std::make_unique<Game>(*game_);
    ScriptedUi ui;
    EXPECT_FALSE(LoadGame(*game_, ui, 1, Folder(), MapPath())) << d.What;
    ASSERT_FALSE(ui.Log.empty()) << d.What;
    EXPECT_EQ(ui.Log[0].Text, "このファイルはセーブファイルではありません。") << d.What;
    EXPECT_EQ(std::memcmp(&game_->Units, &before->Units, sizeof before->Units), 0) << d.What;
    EXPECT_EQ(std::memcmp(&game_->Map, &before->Map, sizeof before->Map), 0) << d.What;
    EXPECT_EQ(game_->Turn, 1) << d.What;
    EXPECT_EQ(game_->Rng.Seed(), before->Rng.Seed()) << d.What;
  }
}

// Numbers that no game can hold, each refused with the unit or castle, the field, the value and
// its range, the running game untouched. Units of the new game: 85 (嵯峨野元成, 10 steps, combat
// power 9, commander of 86..88), 3 (commander of 5 and 6), 5 (8 steps); castle 3 (刈屋城,
// durability 4, strength 2).
TEST_F(SaveTest, NumbersNoGameCanHoldAreRefusedByName) {
  struct Damage {
    const char* What;
    std::function<void(std::vector<unsigned char>&)> Apply;
    const char* Line;
  };
  const std::size_t u3 = 3 * 472, u4 = 4 * 472, u5 = 5 * 472, u85 = 85 * 472, c3 = 68976 + 3 * 80;
  const Damage damages[] = {
      {"steps far below 0", [&](auto& b) { Poke<std::int32_t>(b, u85 + 304, INT32_MIN); },
       "ユニット 85 のステップ -2147483648 が範囲外です（0～10）。"},
      {"no maximum steps", [&](auto& b) { Poke<std::int32_t>(b, u5 + 300, 0); },
       "ユニット 5 の最大ステップ 0 が範囲外です（8～20）。"},
      {"combat power over its maximum", [&](auto& b) { Poke<std::int32_t>(b, u85 + 312, 10); },
       "ユニット 85 の戦闘力 10 が範囲外です（0～9）。"},
      {"morale", [&](auto& b) { Poke<std::int32_t>(b, u85 + 188, 1000); }, "ユニット 85 の士気 1000 が範囲外です（2～5）。"},
      {"negative action points", [&](auto& b) { Poke<std::int32_t>(b, u5 + 316, -1); },
       "ユニット 5 の行動ポイント -1 が範囲外です（0～12）。"},
      {"entry turn", [&](auto& b) { Poke<std::int32_t>(b, u5 + 332, 36); }, "ユニット 5 の登場ターン 36 が範囲外です（-1～35）。"},
      {"unit side against its slot", [&](auto& b) { b[u5 + 197] = 1; }, "ユニット 5 の軍 1 がスロットと合いません。"},
      {"a subordinate under two commanders",
       [&](auto& b) {
         Poke<std::int32_t>(b, u4 + 92 + 4 * 1, 5);  // unit 4 lists 12, now 5 too
         Poke<std::int32_t>(b, u4 + 176, 2);
       },
       "ユニット 4 の配下武将 5 の軍団武将は 3 です。"},
      {"a commander index its commander does not list", [&](auto& b) { Poke<std::int32_t>(b, u5 + 84, 4); },
       "ユニット 3 の配下武将 5 の軍団武将は 4 です。"},
      {"a commander who is a subordinate", [&](auto& b) { Poke<std::int32_t>(b, u3 + 84, 1); },
       "ユニット 3 は配下武将を持ちながら、ほかの武将の配下です。"},
      {"castle durability", [&](auto& b) { Poke<std::int32_t>(b, c3 + 40, 0); }, "城 3 の耐久力 0 が範囲外です（1～4）。"},
      {"castle strength", [&](auto& b) { Poke<std::int32_t>(b, c3 + 44, 3); }, "城 3 の強さ 3 が範囲外です（0～2）。"},
      {"castle morale", [&](auto& b) { Poke<std::int32_t>(b, c3 + 56, 7); }, "城 3 の士気 7 が範囲外です（0～6）。"},
      {"victory points", [&](auto& b) { Poke<std::int32_t>(b, 68964, 45); }, "勝利得点 45 が範囲外です（-44～44）。"},
      {"replenishment points", [&](auto& b) { Poke<std::int32_t>(b, 68912, -1); }, "補充ポイント -1 が範囲外です（0～310）。"},
      {"a phase nobody saves in", [&](auto& b) { Poke<std::int32_t>(b, 68948, 15); },
       "フェイズ 15 はセーブできるフェイズではありません。"},
      {"both sides the player's", [&](auto& b) { Poke<std::int32_t>(b, 68936, 1); }, "プレイヤーとコンピュータが同じ軍です。"},
      {"support factor", [&](auto& b) { Poke<double>(b, 68968, std::nan("")); }, "防御係数が 1 ではありません。"},
  };
  game_->Turn = 1;
  for (const Damage& d : damages) {
    SaveDamaged(d.Apply);
    Snapshot(*game_);
    const auto before = game_->SaveImage;
    ScriptedUi ui;
    EXPECT_FALSE(LoadGame(*game_, ui, 1, Folder(), MapPath())) << d.What;
    ASSERT_FALSE(ui.Log.empty()) << d.What;
    EXPECT_EQ(ui.Log[0].Caption, "エラー") << d.What;
    EXPECT_EQ(ui.Log[0].Text, std::string("このファイルはセーブファイルではありません。\r") + d.Line) << d.What;
    Snapshot(*game_);
    EXPECT_EQ(game_->SaveImage, before) << d.What;
  }
  // The same save undamaged loads.
  SaveDamaged([](auto&) {});
  auto other = std::make_unique<Game>();
  EXPECT_TRUE(LoadGame(*other, ui_, 1, Folder(), MapPath()));
}

// The ranges of the numbers that only the order of battle and the castle table set are exactly
// those tables' extremes, for a game of either side.
TEST_F(SaveTest, FixedRangesAreTheExtremesOfTheOrderOfBattle) {
  const QuantityTables t = Quantities();
  for (int side = 0; side < 2; ++side) {
    auto g = std::make_unique<Game>();
    ScriptedUi ui;
    ui.Answers = {side == 0 ? 1 : 0};
    ASSERT_TRUE(SetUpNewGame(*g, ui, MapPath()));
    for (int i = 0; i < t.UnitCount; ++i) {
      const UnitQuantity& q = t.Units[i];
      if (q.From != "order of battle; never changes") continue;
      std::int32_t lo = INT32_MAX, hi = INT32_MIN;
      for (int slot = 1; slot < kUnitSlots; ++slot) {
        if (g->U(slot).EntryTurn == -1) continue;
        lo = std::min(lo, q.Value(g->U(slot)));
        hi = std::max(hi, q.Value(g->U(slot)));
      }
      EXPECT_EQ(lo, q.Lo) << q.Field;
      EXPECT_EQ(hi, q.Hi) << q.Field;
    }
    for (int i = 0; i < t.CastleCount; ++i) {
      const CastleQuantity& q = t.Castles[i];
      if (q.From != "the castle table; never changes") continue;
      std::int32_t lo = INT32_MAX, hi = INT32_MIN;
      for (int n = 1; n < g->CastleCounter; ++n) {
        lo = std::min(lo, q.Value(g->Castles[static_cast<std::size_t>(n)]));
        hi = std::max(hi, q.Value(g->Castles[static_cast<std::size_t>(n)]));
      }
      EXPECT_EQ(lo, q.Lo) << q.Field;
      EXPECT_EQ(hi, q.Hi) << q.Field;
    }
    QuantityFault fault;
    EXPECT_TRUE(CheckQuantities(*g, &fault)) << fault.English;
  }
}

TEST_F(SaveTest, ACastleHexThatDoesNotShowItsHolderIsStillLoaded) {
  SaveDamaged([](auto& b) { Poke<std::int32_t>(b, 68976 + 9 * 80 + 36, 1); });  // castle 9 to side 1
  auto other = std::make_unique<Game>();
  ScriptedUi ui;
  ASSERT_TRUE(LoadGame(*other, ui, 1, Folder(), MapPath()));
  EXPECT_EQ(other->Castles[9].Owner, 1);
  EXPECT_FALSE(CheckInvariants(*other).empty());  // in play it would be a fault
  EXPECT_TRUE(CheckInvariants(*other, InvariantScope::Load).empty());
}

TEST_F(SaveTest, LoadFindsTheSlotUnderAnyCaseAndWithoutAMapStopsFirst) {
  ASSERT_TRUE(SaveGame(*game_, ui_, 1, Folder()));
  std::filesystem::rename(Slot(1), dir_.File("SAVE1.DAT"));
  auto other = std::make_unique<Game>();
  ScriptedUi ui;
  EXPECT_TRUE(LoadGame(*other, ui, 1, Folder(), MapPath()));

  std::filesystem::remove(MapPath());
  ScriptedUi ui2;
  EXPECT_FALSE(LoadGame(*other, ui2, 1, Folder(), MapPath()));
  ASSERT_FALSE(ui2.Log.empty());
  EXPECT_NE(ui2.Log[0].Text, "このファイルはセーブファイルではありません。");
}

TEST_F(SaveTest, InvariantsNameWhatIsBroken) {
  EXPECT_TRUE(CheckInvariants(*game_).empty());
  game_->U(5).CommanderIndex = 4;  // A03 still lists it
  const auto broken = CheckInvariants(*game_);
  EXPECT_GE(broken.size(), 2u);
  game_->U(5).CommanderIndex = 3;
  game_->Castles[2].HexX = 19;
  game_->Castles[2].HexY = 15;
  EXPECT_FALSE(CheckInvariants(*game_).empty());
}

}  // namespace
}  // namespace milgant
