// The whole-map preview of the shipped map: every hex's tile where the main window puts it, the
// overlays and counters on the right hexes, castle hexes without road bars.
#include "Art.h"
#include "MapView.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/MapFile.h"
#include "core/game/Scenario.h"

#include <QImage>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

namespace {

using milgant::kMapSize;

struct Preview {
  std::unique_ptr<milgant::Game> game = std::make_unique<milgant::Game>();
  milgant::pictures::MainWindowPictures pics = picgen::DrawnMainWindowPictures();
  QImage image;
};

const Preview& ShippedPreview() {
  static Preview* p = [] {
    auto* preview = new Preview;
    milgant::MapTable map{};
    const milgant::MapLoadResult loaded = milgant::LoadMap(map, std::string(MILGANT_DATA_DIR) + "/Map.dat");
    EXPECT_TRUE(loaded.Ok) << loaded.Reason;
    milgant::BuildScenario(*preview->game, map);
    preview->image = picgen::MapPreview(preview->pics, *preview->game);
    return preview;
  }();
  return *p;
}

const milgant::Hex& HexAt(const milgant::Game& g, int x, int y) {
  return g.Map[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
}

bool HasOverlay(const milgant::Hex& h) {
  for (int d = 0; d < 6; ++d)
    if (h.RoadSides[static_cast<std::size_t>(d)] == 1 || h.RiverSides[static_cast<std::size_t>(d)] == 1) return true;
  return false;
}

// Where the game puts a hex's box on the full map picture.
QPoint Origin(int x, int y) {
  const milgant::HexPos o = milgant::HexOrigin(x, y);
  return QPoint(o.X, o.Y);
}

bool OnMap(milgant::HexPos p) { return p.X >= 0 && p.X < kMapSize && p.Y >= 0 && p.Y < kMapSize; }

// Nothing but the tile: no overlay, castle or unit on the hex, nor a castle or unit next to it
// whose counters or name could reach over.
bool Bare(const milgant::Game& g, int x, int y) {
  if (HasOverlay(HexAt(g, x, y))) return false;
  for (int d = 0; d <= 6; ++d) {
    const milgant::HexPos n = milgant::Neighbour(x, y, d);
    if (!OnMap(n)) continue;
    if (milgant::CastleAt(g, n.X, n.Y) != -1 || milgant::UnitsAt(g, n.X, n.Y).Count > 0) return false;
  }
  return true;
}

// Pixels of hex (hx, hy)'s hexagon that differ from `tile`, counted in rows [fromRow, toRow).
// The pixels the two hexes below paint over (their top edges, the line between the rows) are
// theirs and are left out.
int DiffersFromTile(const QImage& map, int hx, int hy, const QImage& tile, int fromRow = 0, int toRow = 60) {
  const QPoint origin = Origin(hx, hy);
  auto coveredBelow = [&](int x, int y) {
    for (int d : {3, 4}) {
      const milgant::HexPos n = milgant::Neighbour(hx, hy, d);
      if (n.Y >= kMapSize) continue;
      const QPoint o = Origin(n.X, n.Y) - origin;
      if (picgen::HexInside(x - o.x(), y - o.y())) return true;
    }
    return false;
  };
  int differing = 0;
  for (int y = fromRow; y < toRow; ++y)
    for (int x = 0; x < 60; ++x)
      if (picgen::HexInside(x, y) && !coveredBelow(x, y) &&
          map.pixel(origin.x() + x, origin.y() + y) != tile.pixel(x, y))
        ++differing;
  return differing;
}

QImage Tile(const Preview& p, int terrain) { return p.pics.Terrain.copy(60 * terrain, 0, 60, 60); }

TEST(MapPreview, CoversTheWholeMapWithTerrain) {
  const Preview& p = ShippedPreview();
  ASSERT_EQ(p.image.size(), QSize(picgen::kMapPreviewWidth, picgen::kMapPreviewHeight));
  EXPECT_EQ(p.image.size(), QSize(1229, 896));
  std::set<int> terrains;
  for (int y = 0; y < kMapSize; ++y)
    for (int x = 0; x < kMapSize; ++x) {
      const QPoint c = Origin(x, y) + QPoint(30, 30);
      EXPECT_NE(p.image.pixel(c) & 0xffffff, 0u) << "black in the middle of " << x << "," << y;
      terrains.insert(HexAt(*p.game, x, y).Terrain);
    }
  // With no castles or units on it, the map is black where no hexagon reaches (the ends of the
  // rows, the points along the top and bottom) and nowhere else.
  auto land = std::make_unique<milgant::Game>(*p.game);
  land->CastleCounter = 1;
  for (milgant::Unit& u : land->Units) u.OnMap = 0;
  const QImage bare = picgen::MapPreview(p.pics, *land);
  QImage covered(p.image.size(), QImage::Format_Mono);
  covered.fill(0);
  for (int y = 0; y < kMapSize; ++y)
    for (int x = 0; x < kMapSize; ++x) {
      const QPoint o = Origin(x, y);
      for (int yy = 0; yy < 60; ++yy)
        for (int xx = 0; xx < 60; ++xx)
          if (picgen::HexInside(xx, yy)) covered.setPixel(o.x() + xx, o.y() + yy, 1);
    }
  int blackOutside = 0, blackInside = 0, outside = 0;
  for (int y = 0; y < bare.height(); ++y)
    for (int x = 0; x < bare.width(); ++x) {
      const bool black = (bare.pixel(x, y) & 0xffffff) == 0;
      if (covered.pixelIndex(x, y) == 0) {
        ++outside;
        blackOutside += black ? 1 : 0;
      } else {
        blackInside += black ? 1 : 0;
      }
    }
  EXPECT_GT(outside, 20 * 29 * 30);
  EXPECT_EQ(blackOutside, outside);
  EXPECT_EQ(blackInside, 0);
  EXPECT_GT(terrains.size(), 8u);
}

TEST(MapPreview, BareHexesShowTheirTileAtTheirBox) {
  const Preview& p = ShippedPreview();
  int checked = 0, oddRows = 0;
  for (int y = 0; y < kMapSize; ++y)
    for (int x = 0; x < kMapSize; ++x) {
      if (!Bare(*p.game, x, y)) continue;
      ++checked;
      oddRows += y & 1;
      const QImage tile = Tile(p, HexAt(*p.game, x, y).Terrain);
      EXPECT_EQ(DiffersFromTile(p.image, x, y, tile), 0) << x << "," << y;
    }
  EXPECT_GT(checked, 100);
  EXPECT_GT(oddRows, 40);
}

TEST(MapPreview, OverlaysShowOnTheirHexesButNoRoadOnACastle) {
  const Preview& p = ShippedPreview();
  int roadsOnCastles = 0;
  for (int y = 0; y < kMapSize; ++y)
    for (int x = 0; x < kMapSize; ++x) {
      const milgant::Hex& h = HexAt(*p.game, x, y);
      if (!HasOverlay(h) || milgant::UnitsAt(*p.game, x, y).Count > 0) continue;
      const QImage tile = Tile(p, h.Terrain);
      if (milgant::CastleAt(*p.game, x, y) == -1) {
        EXPECT_GT(DiffersFromTile(p.image, x, y, tile), 20) << "no overlay drawn on " << x << "," << y;
        continue;
      }
      bool river = false;
      for (int d = 0; d < 6; ++d) river = river || h.RiverSides[static_cast<std::size_t>(d)] == 1;
      if (river) continue;
      // Above the name slip a castle hex with roads and no river shows its tile alone.
      ++roadsOnCastles;
      EXPECT_EQ(DiffersFromTile(p.image, x, y, tile, 0, 44), 0) << "road bars on the castle at " << x << "," << y;
    }
  EXPECT_GT(roadsOnCastles, 5);
}

TEST(MapPreview, TheFirstUnitOfAHexIsTheCounterOnTop) {
  const Preview& p = ShippedPreview();
  int stacks = 0;
  for (int y = 0; y < kMapSize; ++y)
    for (int x = 0; x < kMapSize; ++x) {
      const milgant::UnitList units = milgant::UnitsAt(*p.game, x, y);
      if (units.Count == 0) continue;
      ++stacks;
      const milgant::Unit& top = p.game->U(units.First());
      const QImage& counter = p.pics.Counters[top.Side * 6 + top.Rank * 2];
      const QPoint at = Origin(x, y) + QPoint(0, top.Side == p.game->PlayerSide ? 5 : 7);
      // The crest and the band above it: opaque, below the name slip of a castle in the row
      // above and above the hex's own, and clear of the next row's counters.
      int mismatched = 0, opaque = 0;
      for (int cy = 12; cy < 36; ++cy)
        for (int cx = 12; cx < 46; ++cx) {
          const QRgb c = counter.pixel(cx, cy);
          if (qAlpha(c) != 255) continue;
          ++opaque;
          if ((p.image.pixel(at.x() + cx, at.y() + cy) & 0xffffff) != (c & 0xffffff)) ++mismatched;
        }
      EXPECT_GT(opaque, 700) << x << "," << y;
      EXPECT_EQ(mismatched, 0) << "counter at " << x << "," << y;
    }
  EXPECT_GT(stacks, 3);
}

TEST(MapPreview, AMissingMapFileIsReported) {
  QString error;
  const QImage none = picgen::MapPreviewOfFile("/nonexistent/Map.dat", &error);
  EXPECT_TRUE(none.isNull());
  EXPECT_FALSE(error.isEmpty());
}

}  // namespace
