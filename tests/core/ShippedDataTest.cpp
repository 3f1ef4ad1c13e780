// The data files the game ships, data/Map.dat and data/CRT.txt, held against the scenario and
// against what the rules ask of them: castles on castle ground, hexsides marked alike on both
// sides, linked castles joined by road, both supply nets reaching their castles, and a
// combat results table where strength and luck never hurt.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <queue>
#include <sstream>
#include <string>

#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/MapFile.h"
#include "core/game/RuleTables.h"
#include "core/game/Scenario.h"
#include "core/rules/Supply.h"

namespace milgant {
namespace {

const std::string kDataDir = MILGANT_DATA_DIR;

using Distances = std::array<std::array<int, kMapSize>, kMapSize>;

bool OnMap(HexPos h) { return h.X >= 0 && h.X < kMapSize && h.Y >= 0 && h.Y < kMapSize; }

// Steps along road hexsides from `from`, never entering a hex `closed` names; -1 = not reached.
Distances RoadDistances(const MapTable& map, HexPos from, const std::function<bool(HexPos)>& closed) {
  Distances dist;
  for (auto& column : dist) column.fill(-1);
  std::queue<HexPos> open;
  dist[static_cast<std::size_t>(from.X)][static_cast<std::size_t>(from.Y)] = 0;
  open.push(from);
  while (!open.empty()) {
    const HexPos p = open.front();
    open.pop();
    const Hex& h = map[static_cast<std::size_t>(p.X)][static_cast<std::size_t>(p.Y)];
    const int here = dist[static_cast<std::size_t>(p.X)][static_cast<std::size_t>(p.Y)];
    for (int d = 1; d <= 6; ++d) {
      const HexPos n = Neighbour(p.X, p.Y, d);
      if (h.RoadSides[static_cast<std::size_t>(d - 1)] != 1 || !OnMap(n) || closed(n)) continue;
      int& there = dist[static_cast<std::size_t>(n.X)][static_cast<std::size_t>(n.Y)];
      if (there >= 0) continue;
      there = here + 1;
      open.push(n);
    }
  }
  return dist;
}

int DistanceTo(const Distances& dist, HexPos h) {
  return dist[static_cast<std::size_t>(h.X)][static_cast<std::size_t>(h.Y)];
}

std::string Show(HexPos h) { return "(" + std::to_string(h.X) + ", " + std::to_string(h.Y) + ")"; }

bool IsWater(std::int32_t t) {
  return t == static_cast<std::int32_t>(TerrainCode::Shallows) || t == static_cast<std::int32_t>(TerrainCode::Sea);
}

class ShippedMap : public ::testing::Test {
 protected:
  void SetUp() override {
    map_ = std::make_unique<MapTable>();
    const MapLoadResult loaded = LoadMap(*map_, kDataDir + "/Map.dat");
    ASSERT_TRUE(loaded.Ok) << loaded.Reason;
    game_ = std::make_unique<Game>();
    BuildScenario(*game_, *map_);
  }

  // The hex as the file has it, before the castle set-up touches it.
  const Hex& Shipped(HexPos h) const {
    return (*map_)[static_cast<std::size_t>(h.X)][static_cast<std::size_t>(h.Y)];
  }
  const Castle& CastleNo(int c) const { return game_->Castles[static_cast<std::size_t>(c)]; }
  HexPos CastleHex(int c) const { return {CastleNo(c).HexX, CastleNo(c).HexY}; }
  int Castles() const { return game_->CastleCounter - 1; }

  std::unique_ptr<MapTable> map_;
  std::unique_ptr<Game> game_;
};

TEST(ShippedFiles, MapIsExactlyOneHexTable) {
  EXPECT_EQ(std::filesystem::file_size(kDataDir + "/Map.dat"), kMapFileSize);
}

TEST_F(ShippedMap, ScenarioFindsAllItsCastles) { EXPECT_EQ(Castles(), 22); }

TEST_F(ShippedMap, EveryCastleStandsOnCastleGroundOfItsFirstHolder) {
  for (int c = 1; c <= Castles(); ++c) {
    const HexPos at = CastleHex(c);
    const std::int32_t t = Shipped(at).Terrain;
    EXPECT_TRUE(IsCastleTerrain(t)) << "castle " << c << " at " << Show(at) << " has terrain " << t;
    EXPECT_FALSE(IsWater(t)) << "castle " << c << " at " << Show(at);
    EXPECT_EQ(t & 1, CastleNo(c).Owner) << "castle " << c << " at " << Show(at);
  }
}

TEST_F(ShippedMap, EveryCastleHexHoldsACastle) {
  // A stray city would count as supplied for both sides and a stray port would take ships.
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      if (IsCastleTerrain(Shipped({x, y}).Terrain)) {
        EXPECT_GE(CastleAt(*game_, x, y), 1) << Show({x, y});
      }
    }
  }
}

TEST_F(ShippedMap, SupplySourcesAreTheCapitalAndTheEasternCastle) {
  const int west = CastleAt(*game_, kSupplySource[0].X, kSupplySource[0].Y);
  const int east = CastleAt(*game_, kSupplySource[1].X, kSupplySource[1].Y);
  ASSERT_GE(west, 1);
  ASSERT_GE(east, 1);
  EXPECT_EQ(CastleNo(west).Owner, 0);
  EXPECT_EQ(CastleNo(east).Owner, 1);
  EXPECT_EQ(Shipped(kSupplySource[0]).Terrain, static_cast<std::int32_t>(TerrainCode::LargeCity));
}

TEST_F(ShippedMap, HexsidesAreMarkedAlikeFromBothSides) {
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const Hex& h = Shipped({x, y});
      for (int d = 1; d <= 6; ++d) {
        const auto i = static_cast<std::size_t>(d - 1);
        const auto back = static_cast<std::size_t>(OppositeDirection(d) - 1);
        const HexPos n = Neighbour(x, y, d);
        const std::string side = Show({x, y}) + " direction " + std::to_string(d);
        EXPECT_TRUE(h.RoadSides[i] == 0 || h.RoadSides[i] == 1) << side;
        EXPECT_TRUE(h.RiverSides[i] == 0 || h.RiverSides[i] == 1) << side;
        if (!OnMap(n)) {
          EXPECT_EQ(h.RoadSides[i], 0) << side << ": a road off the edge of the map";
          continue;
        }
        EXPECT_EQ(h.RoadSides[i], Shipped(n).RoadSides[back]) << side;
        EXPECT_EQ(h.RiverSides[i], Shipped(n).RiverSides[back]) << side;
      }
    }
  }
}

TEST_F(ShippedMap, RoadsAndStartingHexesStayOnLand) {
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const Hex& h = Shipped({x, y});
      bool road = false;
      for (std::int32_t v : h.RoadSides) road = road || v != 0;
      if (road) {
        EXPECT_FALSE(IsWater(h.Terrain)) << "road on the water at " << Show({x, y});
      }
    }
  }
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = game_->U(slot);
    if (u.GeneralName.Length == 0) continue;
    EXPECT_FALSE(IsWater(Shipped({u.HexX, u.HexY}).Terrain)) << "unit " << slot << " starts in the water";
  }
}

TEST_F(ShippedMap, MapHasCountryOffTheRoads) {
  // Roads decide supply and speed; if they ran everywhere neither would matter.
  int land = 0;
  int roadHexes = 0;
  int rivers = 0;
  int mountains = 0;
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const Hex& h = Shipped({x, y});
      if (IsWater(h.Terrain)) continue;
      ++land;
      bool road = false;
      for (int d = 0; d < 6; ++d) {
        road = road || h.RoadSides[static_cast<std::size_t>(d)] != 0;
        rivers += h.RiverSides[static_cast<std::size_t>(d)];
      }
      roadHexes += road ? 1 : 0;
      mountains += h.Terrain == static_cast<std::int32_t>(TerrainCode::Mountain) ? 1 : 0;
    }
  }
  EXPECT_LT(roadHexes * 2, land) << roadHexes << " of " << land << " land hexes touch a road";
  EXPECT_GT(mountains * 10, land) << "mountains should break the country into corridors";
  EXPECT_GT(rivers, 0);
}

TEST_F(ShippedMap, LinkedCastlesAreJoinedByRoad) {
  const auto open = [](HexPos) { return false; };
  for (int c = 1; c <= Castles(); ++c) {
    const Distances dist = RoadDistances(*map_, CastleHex(c), open);
    for (std::int32_t link : CastleNo(c).CastleLinks) {
      if (link == 999) continue;
      ASSERT_GE(link, 1);
      ASSERT_LE(link, Castles());
      const HexPos to = CastleHex(link);
      const int steps = DistanceTo(dist, to);
      const int direct = HexDistance(CastleHex(c).X, CastleHex(c).Y, to.X, to.Y);
      EXPECT_GE(steps, direct) << "castle " << c << " to castle " << link << " not joined by road";
      // The road may wind through the passes but not go round the whole map.
      EXPECT_LE(steps, 2 * direct + 2) << "castle " << c << " to castle " << link << " by road";
    }
  }
}

TEST_F(ShippedMap, EachSupplySourceReachesItsCastlesByRoad) {
  for (int side = 0; side < 2; ++side) {
    // The trace stops at an enemy castle and runs at most 44 road steps with points to spare.
    const auto enemyCastle = [&](HexPos h) {
      const int c = CastleAt(*game_, h.X, h.Y);
      return c >= 1 && CastleNo(c).Owner != side;
    };
    const Distances dist = RoadDistances(*map_, kSupplySource[side], enemyCastle);
    for (int c = 1; c <= Castles(); ++c) {
      if (CastleNo(c).Owner != side) continue;
      const int steps = DistanceTo(dist, CastleHex(c));
      EXPECT_GE(steps, 0) << "side " << side << " cannot reach castle " << c << " by road";
      EXPECT_LT(steps, kLongTraceBudget) << "side " << side << " castle " << c;
    }
  }
}

TEST_F(ShippedMap, EveryUnitStartsInSupply) {
  // Not only the castles: the eastern army also camps by the roads outside them.
  for (int side = 0; side < 2; ++side) {
    game_->PhaseSide = side;
    TraceSupply(*game_, side);
    for (int slot = 1; slot < kUnitSlots; ++slot) {
      const Unit& u = game_->U(slot);
      if (u.OnMap == 0 || u.Side != side) continue;
      EXPECT_GT(game_->SupplyRemaining[u.HexX][u.HexY], 0)
          << "unit " << slot << " of side " << side << " at " << Show({u.HexX, u.HexY});
    }
  }
}

class ShippedCrt : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream in(kDataDir + "/CRT.txt", std::ios::binary);
    ASSERT_TRUE(in) << "CRT.txt is missing";
    std::ostringstream s;
    s << in.rdbuf();
    text_ = s.str();
    game_ = std::make_unique<Game>();
    const CrtLoadResult loaded = LoadCrt(*game_, kDataDir + "/CRT.txt");
    ASSERT_TRUE(loaded.Ok) << loaded.Reason;
  }
  int Hits(int column, int die) const {
    return game_->CrtTable[static_cast<std::size_t>(column)][static_cast<std::size_t>(die)];
  }
  double MeanHits(int strength) const {
    double sum = 0;
    for (int die = 1; die <= 6; ++die) sum += Hits(CrtColumn(strength), die);
    return sum / 6;
  }

  std::string text_;
  std::unique_ptr<Game> game_;
};

TEST_F(ShippedCrt, HasSixCrLfLinesOfFourteenNumbers) {
  int lines = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] != '\n') continue;
    ASSERT_GT(i, start) << "empty line";
    EXPECT_EQ(text_[i - 1], '\r') << "line " << lines + 1 << " does not end in CR LF";
    const std::string line = text_.substr(start, i - 1 - start);
    int spaces = 0;
    for (char ch : line) spaces += ch == ' ' ? 1 : 0;
    EXPECT_EQ(spaces, 13) << "line " << lines + 1;
    ++lines;
    start = i + 1;
  }
  EXPECT_EQ(start, text_.size()) << "the last line has no line end";
  EXPECT_EQ(lines, 6);
}

TEST_F(ShippedCrt, OnlyTheSixDiceAreFilled) {
  for (int column = 0; column < kCrtColumns; ++column) {
    EXPECT_EQ(Hits(column, 0), 0);
    for (int row = 7; row < kCrtRows; ++row) EXPECT_EQ(Hits(column, row), 0) << column << " " << row;
  }
}

TEST_F(ShippedCrt, StrengthAndLuckNeverHitLess) {
  for (int column = 0; column < kCrtColumns; ++column) {
    EXPECT_GE(Hits(column, 1), 0) << "column " << column;
    for (int die = 2; die <= 6; ++die) {
      EXPECT_GE(Hits(column, die), Hits(column, die - 1)) << "column " << column << " die " << die;
    }
  }
  for (int die = 1; die <= 6; ++die) {
    for (int column = 1; column < kCrtColumns; ++column) {
      EXPECT_GE(Hits(column, die), Hits(column - 1, die)) << "column " << column << " die " << die;
    }
  }
  // And strength does tell: the strongest column outhits the weakest on every die.
  for (int die = 1; die <= 6; ++die) EXPECT_GT(Hits(kCrtColumns - 1, die), Hits(0, die)) << die;
}

TEST_F(ShippedCrt, EqualCorpsLoseOneToThreeStepsARound) {
  for (int strength = 20; strength <= 40; ++strength) {
    const double mean = MeanHits(strength);
    EXPECT_GE(mean, 1.0) << "strength " << strength;
    EXPECT_LE(mean, 3.0) << "strength " << strength;
  }
  // A spent force does no harm; the biggest stacks still do not wipe a corps out in a round.
  EXPECT_EQ(MeanHits(0), 0.0);
  EXPECT_EQ(MeanHits(1), 0.0);
  EXPECT_LE(Hits(kCrtColumns - 1, 6), 10);
}

}  // namespace
}  // namespace milgant
