// Reading "Map.dat".
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "TestFiles.h"
#include "core/game/MapFile.h"

namespace milgant {
namespace {

TEST(MapFile, ZeroBytesGiveRoadTerrainAndRecordsGoColumnByColumn) {
  test::TempDir dir;
  std::vector<unsigned char> bytes(kMapFileSize + 1, 0);  // one byte too many is ignored
  const std::int32_t terrain = 3;
  std::memcpy(bytes.data() + 1040 + 48, &terrain, 4);   // record at 1040 is hex (1, 0)
  const std::int32_t river = 1;
  std::memcpy(bytes.data() + 52 + 8, &river, 4);         // hex (0, 1), direction 3
  test::WriteBytes(dir.File("Map.dat"), bytes.data(), bytes.size());

  auto map = std::make_unique<MapTable>();
  (*map)[5][5].Terrain = 9;
  const MapLoadResult r = LoadMap(*map, dir.File("Map.dat"));
  ASSERT_TRUE(r.Ok) << r.Reason;
  EXPECT_EQ((*map)[1][0].Terrain, 3);
  EXPECT_EQ((*map)[0][1].Terrain, 0);
  EXPECT_EQ((*map)[0][1].RiverSides[2], 1);
  EXPECT_EQ((*map)[5][5].Terrain, 0);
  EXPECT_EQ((*map)[5][5].RoadSides[0], 0);
}

TEST(MapFile, MissingShortAndBadTerrainAreRefusedAndChangeNothing) {
  test::TempDir dir;
  auto map = std::make_unique<MapTable>();
  (*map)[2][5].Terrain = 10;

  MapLoadResult r = LoadMap(*map, dir.File("Map.dat"));
  EXPECT_FALSE(r.Ok);
  EXPECT_FALSE(r.Reason.empty());

  std::vector<unsigned char> bytes(kMapFileSize - 1, 0);
  test::WriteBytes(dir.File("Map.dat"), bytes.data(), bytes.size());
  r = LoadMap(*map, dir.File("Map.dat"));
  EXPECT_FALSE(r.Ok);

  for (std::int32_t t : {14, -1, 1000}) {
    bytes.assign(kMapFileSize, 0);
    std::memcpy(bytes.data() + 7 * 1040 + 3 * 52 + 48, &t, 4);
    test::WriteBytes(dir.File("Map.dat"), bytes.data(), bytes.size());
    r = LoadMap(*map, dir.File("Map.dat"));
    EXPECT_FALSE(r.Ok) << t;
    EXPECT_NE(r.Reason.find("(7, 3)"), std::string::npos) << r.Reason;
  }
  EXPECT_EQ((*map)[2][5].Terrain, 10);
}

}  // namespace
}  // namespace milgant
