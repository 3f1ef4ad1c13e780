// The map source reader: drawing rules, hexside marks on both hexes, refusals, file bytes.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "tools/mapgen/MapSource.h"

namespace milgant::mapgen {
namespace {

using Rows = std::array<std::string, kMapSize>;

Rows Plain() {
  Rows rows;
  rows.fill(std::string(kMapSize, '.'));
  return rows;
}

// A source drawn the way data/map/map.txt is: odd rows one place further in.
std::string Source(const Rows& rows, const std::string& rivers = "", const std::string& roads = "") {
  std::string s = "# test map\n[terrain]\n";
  for (int y = 0; y < kMapSize; ++y) {
    std::string line = (y < 10 ? " " : "") + std::to_string(y) + "  " + ((y & 1) != 0 ? " " : "");
    for (int x = 0; x < kMapSize; ++x) {
      if (x > 0) line += ' ';
      line += rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    }
    s += line + "\n";
  }
  s += "[rivers]\n" + rivers + "[roads]\n" + roads;
  return s;
}

std::unique_ptr<MapSourceResult> Parse(const std::string& text) {
  return std::make_unique<MapSourceResult>(ParseMapSource(text));
}

const Hex& At(const MapSourceResult& r, int x, int y) {
  return r.Map[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
}

int Marks(const std::array<std::int32_t, 6>& sides) {
  int n = 0;
  for (std::int32_t v : sides) n += v;
  return n;
}

int AllMarks(const MapSourceResult& r, bool roads) {
  int n = 0;
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) n += Marks(roads ? At(r, x, y).RoadSides : At(r, x, y).RiverSides);
  }
  return n;
}

TEST(MapSource, TerrainCharactersGiveTheirCodes) {
  Rows rows = Plain();
  const std::string all = "_.%^:,w~cCgGpP";
  for (std::size_t x = 0; x < all.size(); ++x) rows[3][x] = all[x];
  const auto r = Parse(Source(rows));
  ASSERT_TRUE(r->Ok) << r->Error;
  for (int x = 0; x < 14; ++x) EXPECT_EQ(At(*r, x, 3).Terrain, x) << "column " << x;
  EXPECT_EQ(At(*r, 19, 19).Terrain, 1);
}

TEST(MapSource, RowsAreReadColumnByColumn) {
  Rows rows = Plain();
  rows[0][1] = '^';  // hex (1, 0)
  const auto r = Parse(Source(rows));
  ASSERT_TRUE(r->Ok) << r->Error;
  EXPECT_EQ(At(*r, 1, 0).Terrain, 3);
  EXPECT_EQ(At(*r, 0, 1).Terrain, 1);
}

TEST(MapSource, RoadMarksTheHexsideInBothHexes) {
  // (2,5) to (3,5) is direction 2; (3,5) to (3,6) on an odd row is direction 4.
  const auto r = Parse(Source(Plain(), "", "2,5 3,5 3,6\n"));
  ASSERT_TRUE(r->Ok) << r->Error;
  EXPECT_EQ(At(*r, 2, 5).RoadSides[1], 1);
  EXPECT_EQ(At(*r, 3, 5).RoadSides[4], 1);
  EXPECT_EQ(At(*r, 3, 5).RoadSides[3], 1);
  EXPECT_EQ(At(*r, 3, 6).RoadSides[0], 1);
  EXPECT_EQ(AllMarks(*r, true), 4);
  EXPECT_EQ(AllMarks(*r, false), 0);
}

TEST(MapSource, PlusLinesContinueARoad) {
  const auto r = Parse(Source(Plain(), "", "2,5 3,5\n# a note between\n+ 3,6\n"));
  ASSERT_TRUE(r->Ok) << r->Error;
  EXPECT_EQ(At(*r, 3, 6).RoadSides[0], 1);
  EXPECT_EQ(AllMarks(*r, true), 4);
}

TEST(MapSource, RiverMarksBothBanks) {
  // (4,6)/(5,6) then (4,6)/(4,7): both meet at the corner shared with (4,7).
  const auto r = Parse(Source(Plain(), "4,6/5,6 4,6/4,7\n"));
  ASSERT_TRUE(r->Ok) << r->Error;
  EXPECT_EQ(At(*r, 4, 6).RiverSides[1], 1);
  EXPECT_EQ(At(*r, 5, 6).RiverSides[4], 1);
  EXPECT_EQ(At(*r, 4, 6).RiverSides[2], 1);
  EXPECT_EQ(At(*r, 4, 7).RiverSides[5], 1);
  EXPECT_EQ(AllMarks(*r, false), 4);
  EXPECT_EQ(AllMarks(*r, true), 0);
}

TEST(MapSource, RiverThatJumpsIsRefused) {
  // (4,6)/(5,6) and (6,6)/(7,6) have no corner in common.
  const auto r = Parse(Source(Plain(), "4,6/5,6\n+ 6,6/7,6\n"));
  EXPECT_FALSE(r->Ok);
  EXPECT_NE(r->Error.find("jumps"), std::string::npos) << r->Error;
}

TEST(MapSource, RiverBetweenHexesThatDoNotTouchIsRefused) {
  EXPECT_FALSE(Parse(Source(Plain(), "4,6/6,6\n"))->Ok);
}

TEST(MapSource, RoadStepBetweenHexesThatDoNotTouchIsRefused) {
  const auto r = Parse(Source(Plain(), "", "2,5 3,5\n2,5 4,5\n"));
  EXPECT_FALSE(r->Ok);
  EXPECT_NE(r->Error.find("do not touch"), std::string::npos) << r->Error;
}

TEST(MapSource, RoadOverWaterIsRefused) {
  Rows rows = Plain();
  rows[5][3] = ',';
  EXPECT_FALSE(Parse(Source(rows, "", "2,5 3,5\n"))->Ok);
  rows[5][3] = '~';
  EXPECT_FALSE(Parse(Source(rows, "", "2,5 3,5\n"))->Ok);
  rows[5][3] = '^';
  EXPECT_TRUE(Parse(Source(rows, "", "2,5 3,5\n"))->Ok);
}

TEST(MapSource, HexOffTheMapIsRefused) {
  EXPECT_FALSE(Parse(Source(Plain(), "", "19,5 20,5\n"))->Ok);
}

TEST(MapSource, MisalignedOddRowIsRefused) {
  std::string text = Source(Plain());
  // Pull row 1 back to where the even rows start.
  const std::size_t at = text.find("\n 1   ");
  ASSERT_NE(at, std::string::npos);
  text.erase(at + 4, 1);
  const auto r = Parse(text);
  EXPECT_FALSE(r->Ok);
  EXPECT_NE(r->Error.find("line 4"), std::string::npos) << r->Error;
}

TEST(MapSource, UnknownCharacterAndShortRowAreRefused) {
  Rows rows = Plain();
  rows[7][4] = 'x';
  EXPECT_FALSE(Parse(Source(rows))->Ok);
  std::string text = Source(Plain());
  const std::size_t row7 = text.find("\n 7   ");
  ASSERT_NE(row7, std::string::npos);
  text.erase(text.find('\n', row7 + 1) - 2, 2);  // drop the last hex of row 7
  const auto r = Parse(text);
  EXPECT_FALSE(r->Ok);
  EXPECT_NE(r->Error.find("only 19 hexes"), std::string::npos) << r->Error;
}

TEST(MapSource, MissingRowIsRefused) {
  std::string text = Source(Plain());
  const std::size_t from = text.find("19  ");
  const std::size_t to = text.find('\n', from);
  text.erase(from, to - from + 1);
  const auto r = Parse(text);
  EXPECT_FALSE(r->Ok);
  EXPECT_NE(r->Error.find("19 rows"), std::string::npos) << r->Error;
}

TEST(MapSource, CastlesMustStandOnCastleHexesOfTheirHolder) {
  Rows rows = Plain();
  rows[5][2] = 'g';
  rows[15][19] = 'P';
  const auto r = Parse(Source(rows));
  ASSERT_TRUE(r->Ok) << r->Error;
  EXPECT_EQ(CheckCastles(r->Map, {{2, 5, 0}, {19, 15, 1}}), "");
  EXPECT_NE(CheckCastles(r->Map, {{2, 5, 1}, {19, 15, 1}}), "");   // drawn for the wrong side
  EXPECT_NE(CheckCastles(r->Map, {{2, 5, 0}}), "");                // a city with no castle
  EXPECT_NE(CheckCastles(r->Map, {{2, 5, 0}, {19, 15, 1}, {4, 4, 0}}), "");  // a castle on plain
}

TEST(MapSource, ScenarioHasTheTwoSourcesAmongItsCastles) {
  const std::vector<CastleSpot> castles = ScenarioCastles();
  ASSERT_EQ(castles.size(), 22u);
  EXPECT_EQ(castles[0].X, 19);
  EXPECT_EQ(castles[0].Y, 15);
  EXPECT_EQ(castles[0].Owner, 1);
  EXPECT_EQ(castles[17].X, 2);
  EXPECT_EQ(castles[17].Y, 5);
  EXPECT_EQ(castles[17].Owner, 0);
}

TEST(MapSource, FileBytesAreTheRecordsColumnByColumnLittleEndian) {
  Rows rows = Plain();
  rows[0][1] = 'P';  // hex (1, 0): terrain 13
  const auto r = Parse(Source(rows, "", "1,0 2,0\n"));
  ASSERT_TRUE(r->Ok) << r->Error;
  const std::string bytes = MapFileBytes(r->Map);
  ASSERT_EQ(bytes.size(), 20800u);
  // Hex (1, 0) is the 21st record; its road toward direction 2 is field 7, terrain field 13.
  EXPECT_EQ(bytes.substr(1040 + 48, 4), std::string("\x0d\x00\x00\x00", 4));
  EXPECT_EQ(bytes.substr(1040 + 28, 4), std::string("\x01\x00\x00\x00", 4));
  EXPECT_EQ(bytes.substr(48, 4), std::string("\x01\x00\x00\x00", 4));  // hex (0, 0), plain
}

}  // namespace
}  // namespace milgant::mapgen
