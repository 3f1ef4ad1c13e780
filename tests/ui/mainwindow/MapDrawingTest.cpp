// The map as drawn: tints by reachability and phase, roads hidden under castles, stacked
// counters and their variants, black beyond the map, the hover outline, and the same map at
// twice the pixels.
#include <QScrollBar>

#include <algorithm>

#include "GuiFixture.h"
#include "core/game/HexGrid.h"
#include "ui/widgets/MapRenderer.h"
#include "ui/widgets/TImage.h"

namespace milgant::test {
namespace {

class MapDrawingTest : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    StartNewGame(1);
    ASSERT_EQ(game->GameState, 2);
  }
  MapRenderer& R() { return form1->Renderer(); }
  QRgb MapPixel(int x, int y) { return R().MapBitmap().pixel(x, y); }
  // A plain hex with no castle, no river or road, and no unit on it or next to it.
  HexPos QuietHex() {
    for (int y = 1; y < kMapSize - 1; ++y)
      for (int x = 1; x < kMapSize - 1; ++x) {
        const Hex& h = game->H(x, y);
        bool quiet = h.Terrain < 8 && CastleAt(*game, x, y) == -1;
        for (int d = 0; d < 6 && quiet; ++d) quiet = h.RiverSides[d] == 0 && h.RoadSides[d] == 0;
        for (int d = 0; d <= 6 && quiet; ++d) {
          const HexPos n = Neighbour(x, y, d);
          quiet = UnitsAt(*game, n.X, n.Y).Count == 0;
        }
        if (quiet) return {x, y};
      }
    return {-1, -1};
  }
};

int Clamp(int v) { return std::clamp(v, 0, 255); }

TEST_F(MapDrawingTest, TintFollowsReachabilityOverlayAndPhase) {
  const HexPos h = QuietHex();
  ASSERT_NE(h.X, -1);
  const HexPos o = HexOrigin(h.X, h.Y);
  const QRgb tile = form1->Pictures().Terrain.pixel(60 * game->H(h.X, h.Y).Terrain + 30, 30);
  struct Case {
    bool humanPhase;
    int overlay, blocked, tint;
  };
  const Case cases[] = {{true, 1, 0, 1},  {true, 1, 1, -1},  {true, 0, 1, 0},
                        {true, 0, 0, 1},  {false, 1, 0, 0},  {false, 1, 1, 0}};
  for (const Case& c : cases) {
    game->PhaseSide = c.humanPhase ? game->PlayerSide : game->ComputerSide;
    game->RangeOverlay = c.overlay;
    game->MoveBlocked[h.X][h.Y] = c.blocked;
    form1->RedrawMap();
    const QRgb got = MapPixel(o.X + 30, o.Y + 30);
    const int a = 50 * c.tint;
    EXPECT_EQ(got & 0xffffff, qRgb(Clamp(qRed(tile) + a), Clamp(qGreen(tile) + a), Clamp(qBlue(tile) + a)) & 0xffffff)
        << "human " << c.humanPhase << " overlay " << c.overlay << " blocked " << c.blocked;
    // The view shows what the map picture holds.
    EXPECT_EQ(form1->Image5->Picture.pixel(o.X + 30 - game->ScrollX, o.Y + 30 - game->ScrollY), got);
  }
}

TEST_F(MapDrawingTest, CastleHexShowsNoRoadBars) {
  int castle = -1;
  for (int n = 1; n < game->CastleCounter && castle == -1; ++n) {
    const Hex& h = game->H(game->Castles[n].HexX, game->Castles[n].HexY);
    if (std::count(h.RoadSides.begin(), h.RoadSides.end(), 1) > 0) castle = n;
  }
  ASSERT_NE(castle, -1) << "no castle has a road into it";
  Castle& c = game->Castles[castle];
  const int x = c.HexX, y = c.HexY;
  for (int slot = 1; slot < kUnitSlots; ++slot)
    if (HexDistance(game->U(slot).HexX, game->U(slot).HexY, x, y) <= 1) game->U(slot).OnMap = 0;
  game->ScrollX = std::max(0, x * 60 - 120);
  game->ScrollY = std::max(0, y * 44 - 120);
  const HexPos o = HexOrigin(x, y);
  auto box = [&] {
    form1->RedrawMap();
    return R().MapBitmap().copy(o.X, o.Y, 60, 60);
  };
  const QImage withCastle = box();
  const auto roads = game->H(x, y).RoadSides;
  game->H(x, y).RoadSides.fill(0);
  const QImage noRoads = box();
  EXPECT_EQ(withCastle, noRoads) << "a castle hex showed road bars";
  game->H(x, y).RoadSides = roads;
  c.HexX = 99;  // the same hex without its castle shows its roads
  EXPECT_NE(box(), noRoads);
}

TEST_F(MapDrawingTest, ThreeCountersStackFourPixelsApartLowestSlotOnTop) {
  const HexPos h = QuietHex();
  ASSERT_NE(h.X, -1);
  const int stack[3] = {30, 31, 32};  // empty slots of side 0's order of battle
  for (int n = 0; n < 3; ++n) {
    Unit& u = game->U(stack[n]);
    u.OnMap = 1;
    u.HexX = h.X;
    u.HexY = h.Y;
    u.Side = game->PlayerSide;
    u.Rank = 2 - n;
    u.CanMove = 1;
  }
  form1->RedrawMap();
  const HexPos o = HexOrigin(h.X, h.Y);
  const auto& pics = form1->Pictures().Counters;
  auto image = [&](int n) { return pics[game->PlayerSide * 6 + (2 - n) * 2]; };
  auto opaque = [&](int n, int cx, int cy) {
    return cy >= 0 && cy < 50 && qAlpha(image(n).pixel(cx, cy)) == 255;
  };
  auto transparent = [&](int n, int cx, int cy) { return cy < 0 || cy >= 50 || qAlpha(image(n).pixel(cx, cy)) == 0; };
  const int top = o.Y + 5;  // a counter of the player's side sits 5 pixels into the box
  int checkedTop = 0, checkedBottom = 0;
  for (int cx = 0; cx < 50; ++cx)
    for (int cy = 0; cy < 60; ++cy) {
      const QRgb got = MapPixel(o.X + cx, top + cy) | 0xff000000;
      if (opaque(0, cx, cy)) {
        // Wherever the first counter is opaque it hides the two below it.
        EXPECT_EQ(got, image(0).pixel(cx, cy) | 0xff000000) << cx << "," << cy;
        ++checkedTop;
      } else if (transparent(0, cx, cy) && transparent(1, cx, cy - 4) && opaque(2, cx, cy - 8)) {
        EXPECT_EQ(got, image(2).pixel(cx, cy - 8) | 0xff000000) << cx << "," << cy;
        ++checkedBottom;
      }
    }
  EXPECT_GT(checkedTop, 500);
  EXPECT_GT(checkedBottom, 20);
}

TEST_F(MapDrawingTest, SecondPictureForSpentHumanAndNonAttackingComputerUnits) {
  const HexPos h = QuietHex();
  ASSERT_NE(h.X, -1);
  struct Case {
    bool human;
    int canMove, mayAttack, variant;
  };
  const Case cases[] = {{true, 1, 0, 0}, {true, 0, 1, 1}, {false, 0, 1, 0}, {false, 1, 0, 1}};
  for (const Case& c : cases) {
    Unit& u = game->U(30);
    u.OnMap = 1;
    u.HexX = h.X;
    u.HexY = h.Y;
    u.Side = c.human ? game->PlayerSide : game->ComputerSide;
    u.Rank = 1;
    u.CanMove = c.canMove;
    u.MayAttack = c.mayAttack;
    form1->RedrawMap();
    const QImage& want = form1->Pictures().Counters[u.Side * 6 + 2 + c.variant];
    const QImage& other = form1->Pictures().Counters[u.Side * 6 + 2 + 1 - c.variant];
    const HexPos o = HexOrigin(h.X, h.Y);
    const int d = c.human ? 5 : 7;
    int compared = 0;
    for (int cy = 0; cy < 50; ++cy)
      for (int cx = 0; cx < 50; ++cx) {
        if (qAlpha(want.pixel(cx, cy)) != 255 || want.pixel(cx, cy) == other.pixel(cx, cy)) continue;
        EXPECT_EQ(MapPixel(o.X + cx, o.Y + d + cy) | 0xff000000, want.pixel(cx, cy) | 0xff000000);
        ++compared;
      }
    EXPECT_GT(compared, 50) << "human " << c.human;
  }
}

TEST_F(MapDrawingTest, ScrolledToTheEndShowsBlackBeyondTheMap) {
  form1->ScrollBar1->setValue(1000);
  form1->ScrollBar2->setValue(600);
  EXPECT_EQ(game->ScrollX, 1000);
  EXPECT_EQ(game->ScrollY, 600);
  const QImage& view = form1->Image5->Picture;
  // The map ends 229 pixels into the view across and 296 down.
  for (int y = 0; y < 505; y += 7)
    for (int x = 0; x < 593; x += 7)
      if (x >= 240 || y >= 300) {
        ASSERT_EQ(view.pixel(x, y) & 0xffffff, 0u) << x << "," << y;
      }
  EXPECT_NE(view.pixel(100, 100) & 0xffffff, 0u);
  form1->ScrollBar2->setValue(1000);
  for (int y = 0; y < 505; y += 7)
    for (int x = 0; x < 593; x += 7) ASSERT_EQ(view.pixel(x, y) & 0xffffff, 0u) << x << "," << y;
}

TEST_F(MapDrawingTest, HoverOutlineIsWhiteAndErasedWhenTheMouseMoves) {
  const HexPos o = HexOrigin(2, 5);
  const QPoint centre(o.X + 30 - game->ScrollX, o.Y + 30 - game->ScrollY);
  form1->Image5MouseMove(centre);
  EXPECT_EQ(form1->HoverX, 2);
  EXPECT_EQ(form1->HoverY, 5);
  const QPoint rightSide(o.X + 59 - game->ScrollX, o.Y + 30 - game->ScrollY);
  EXPECT_EQ(form1->Image5->Picture.pixel(rightSide) & 0xffffff, 0xffffffu);
  form1->Image5MouseMove(centre + QPoint(180, 0));  // three hexes to the right
  EXPECT_EQ(form1->HoverX, 5);
  EXPECT_EQ(form1->Image5->Picture.pixel(rightSide), MapPixel(o.X + 59, o.Y + 30));
}

TEST_F(MapDrawingTest, RedrawAroundMatchesAFullRedrawNearTheStep) {
  // A unit steps to a new hex in the middle of the map: within two hexes of it the partial
  // redraw leaves the picture as a full one would.
  Unit& u = game->U(71);
  u.HexX = 9;
  u.HexY = 9;
  game->ScrollX = 300;
  game->ScrollY = 220;
  form1->RedrawMap();
  u.HexX = 10;
  form1->RedrawAround(10, 9);
  const QRect near =
      QRect(10 * 60 - 120 - game->ScrollX, 9 * 44 - 88 - game->ScrollY, 300, 236).intersected(QRect(8, 0, 585, 505));
  const QImage partial = form1->Image5->Picture.copy(near);
  form1->RedrawMap();
  const QImage full = form1->Image5->Picture.copy(near);
  int differing = 0;
  for (int y = 0; y < near.height(); ++y)
    for (int x = 0; x < near.width(); ++x)
      if (partial.pixel(x, y) != full.pixel(x, y) && differing++ < 5)
        ADD_FAILURE() << "differs at " << near.left() + x << "," << near.top() + y;
  EXPECT_EQ(differing, 0);
}

TEST_F(MapDrawingTest, RepeatedPartialRedrawsChangeNothingMore) {
  // The steps of a walk redraw around each hex; soft edges of counters and river lines that a
  // step does not repaint must not darken step by step.
  for (const HexPos at : {HexPos{10, 9}, HexPos{18, 12}, HexPos{2, 5}}) {
    game->ScrollX = std::max(0, at.X * 60 - 240);
    game->ScrollY = std::max(0, at.Y * 44 - 176);
    form1->RedrawMap();
    form1->RedrawAround(at.X, at.Y);
    const QImage once = form1->Image5->Picture.copy();
    const QImage mapOnce = R().MapBitmap().copy(0, 0, 1229, 1000);
    for (int i = 0; i < 5; ++i) form1->RedrawAround(at.X, at.Y);
    EXPECT_EQ(form1->Image5->Picture, once) << at.X << "," << at.Y;
    EXPECT_EQ(R().MapBitmap().copy(0, 0, 1229, 1000), mapOnce) << at.X << "," << at.Y;
  }
}

// Each pixel of `img` as a square of four, and the picture marked as having two to a unit.
QImage Twice(const QImage& picture) {
  const QImage img = picture.convertToFormat(QImage::Format_ARGB32);
  QImage out(img.size() * 2, QImage::Format_ARGB32);
  for (int y = 0; y < out.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(img.constScanLine(y / 2));
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) row[x] = in[x / 2];
  }
  out = out.convertToFormat(picture.format());
  out.setDevicePixelRatio(2);
  return out;
}

TEST_F(MapDrawingTest, AtTwiceTheScaleEachPixelOfTheMapBecomesFour) {
  // Drawn from pictures whose every pixel is a square of four, the twice-size map must be the
  // ordinary map with every pixel a square of four: the same hex boxes, hexagon, counter
  // offsets, tints and partial-redraw clip, only at two pixels to a unit.
  pictures::MainWindowPictures twice = form1->Pictures();
  twice.Scale = 2;
  twice.Terrain = Twice(twice.Terrain);
  for (QList<QImage>* list : {&twice.Counters, &twice.Rivers, &twice.Roads})
    for (QImage& img : *list) img = Twice(img);
  MapRenderer big(twice, game->HexMask);
  ASSERT_EQ(big.Scale(), 2);
  ASSERT_EQ(big.MapBitmap().size(), QSize(4000, 4000));
  const auto same = [&](const char* what) {
    // Where anything is drawn: left of the last odd row's end, above the last row's counters.
    const QRect drawn(0, 0, 19 * 60 + 29 + 60, 19 * 44 + 70);
    const QImage want = Twice(R().MapBitmap().copy(drawn));
    const QImage got = big.MapBitmap().copy(QRect(drawn.topLeft() * 2, drawn.size() * 2));
    int differing = 0;
    for (int y = 0; y < got.height(); ++y) {
      const auto* g = reinterpret_cast<const QRgb*>(got.constScanLine(y));
      const auto* w = reinterpret_cast<const QRgb*>(want.constScanLine(y));
      for (int x = 0; x < got.width(); ++x)
        if (g[x] != w[x] && differing++ < 3) ADD_FAILURE() << what << ": differs at " << x << "," << y;
    }
    EXPECT_EQ(differing, 0) << what;
  };
  // The player's phase with the range shown: brightened and darkened hexes, with and without
  // rivers and roads, stacks of counters in both variants.
  game->PhaseSide = game->PlayerSide;
  game->RangeOverlay = 1;
  for (int x = 0; x < kMapSize; ++x)
    for (int y = 0; y < kMapSize; ++y) game->MoveBlocked[x][y] = (x + 2 * y) % 3 == 0 ? 0 : 1;
  game->U(71).CanMove = 0;
  for (const HexPos scroll : {HexPos{0, 0}, HexPos{600, 440}}) {
    game->ScrollX = scroll.X;
    game->ScrollY = scroll.Y;
    R().RedrawMap(*game);
    big.RedrawMap(*game);
    same("full redraw");
  }
  // A unit walks: each step redraws around its new hex only, clipped to what it repaints.
  Unit& u = game->U(71);
  for (const HexPos step : {HexPos{9, 9}, HexPos{10, 9}, HexPos{10, 10}, HexPos{0, 0}, HexPos{19, 19}}) {
    u.HexX = step.X;
    u.HexY = step.Y;
    R().RedrawAround(*game, step.X, step.Y);
    big.RedrawAround(*game, step.X, step.Y);
  }
  same("partial redraws");
}

}  // namespace
}  // namespace milgant::test
