// Neighbours, distances, pixels and the hex lookups.
#include <gtest/gtest.h>

#include <memory>

#include "core/game/Game.h"
#include "core/game/HexGrid.h"

namespace milgant {
namespace {

TEST(HexGrid, NeighboursOnOddAndEvenRows) {
  EXPECT_EQ(Neighbour(5, 3, 1), (HexPos{6, 2}));
  EXPECT_EQ(Neighbour(5, 4, 1), (HexPos{5, 3}));
  EXPECT_EQ(Neighbour(0, 4, 5), (HexPos{-1, 4}));
  EXPECT_EQ(Neighbour(5, 4, 0), (HexPos{5, 4}));
  EXPECT_EQ(Neighbour(5, 4, 7), (HexPos{5, 4}));
  EXPECT_EQ(Neighbour(5, 4, -1), (HexPos{5, 4}));
  // Going one way and coming back the opposite way returns to the start on every row.
  for (int y = 0; y < 4; ++y) {
    for (int d = 1; d <= 6; ++d) {
      const HexPos n = Neighbour(7, y + 4, d);
      EXPECT_EQ(Neighbour(n.X, n.Y, OppositeDirection(d)), (HexPos{7, y + 4})) << y << " " << d;
    }
  }
}

TEST(HexGrid, DistanceExamples) {
  EXPECT_EQ(HexDistance(3, 4, 3, 4), 0);
  EXPECT_EQ(HexDistance(3, 4, 4, 5), 2);
  EXPECT_EQ(HexDistance(3, 5, 4, 6), 1);
  EXPECT_EQ(HexDistance(0, 0, 19, 0), 19);
  EXPECT_EQ(HexDistance(0, 0, 0, 19), 19);
  EXPECT_EQ(HexDistance(2, 5, 19, 15), 22);
}

TEST(HexGrid, DistanceIsSymmetricAndAgreesWithNeighbours) {
  for (int x1 = 0; x1 < 20; x1 += 3) {
    for (int y1 = 0; y1 < 20; ++y1) {
      for (int d = 1; d <= 6; ++d) {
        const HexPos n = Neighbour(x1, y1, d);
        EXPECT_EQ(HexDistance(x1, y1, n.X, n.Y), 1);
      }
      for (int x2 = 0; x2 < 20; x2 += 2) {
        for (int y2 = 0; y2 < 20; ++y2) {
          const int a = HexDistance(x1, y1, x2, y2);
          ASSERT_EQ(a, HexDistance(x2, y2, x1, y1));
          // The triangle inequality through each neighbour: one step changes it by at most 1.
          for (int d = 1; d <= 6; ++d) {
            const HexPos n = Neighbour(x2, y2, d);
            ASSERT_LE(std::abs(HexDistance(x1, y1, n.X, n.Y) - a), 1);
          }
        }
      }
    }
  }
}

TEST(HexGrid, OriginShiftsOddRowsBy29) {
  EXPECT_EQ(HexOrigin(0, 0), (HexPos{0, 0}));
  EXPECT_EQ(HexOrigin(2, 1), (HexPos{149, 44}));
  EXPECT_EQ(HexOrigin(3, 4), (HexPos{180, 176}));
}

class PixelToHexTest : public ::testing::Test {
 protected:
  void SetUp() override { BuildHexMask(mask_); }
  HexMaskTable mask_{};
};

TEST_F(PixelToHexTest, MaskRowsHaveTheHexagonShape) {
  auto width = [&](int r) {
    int n = 0;
    for (int c = 0; c < 60; ++c) n += mask_[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
    return n;
  };
  EXPECT_EQ(width(0), 2);
  EXPECT_EQ(width(14), 58);
  EXPECT_EQ(width(15), 60);
  EXPECT_EQ(width(44), 60);
  EXPECT_EQ(width(45), 58);
  EXPECT_EQ(width(59), 2);
  EXPECT_TRUE(HexMaskAt(mask_, 29, 0));
  EXPECT_TRUE(HexMaskAt(mask_, 30, 0));
  EXPECT_FALSE(HexMaskAt(mask_, 28, 0));
  EXPECT_FALSE(HexMaskAt(mask_, 60, 20));
  EXPECT_FALSE(HexMaskAt(mask_, -1, 20));
}

TEST_F(PixelToHexTest, CentresMapToTheirHexAtAnyScroll) {
  for (int scroll : {0, 60, 120, 1000}) {
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 20; ++x) {
        const HexPos o = HexOrigin(x, y);
        const HexPos h = PixelToHex(mask_, o.X + 30 - scroll, o.Y + 30 - scroll, scroll, scroll);
        ASSERT_EQ(h, (HexPos{x, y})) << x << "," << y << " scroll " << scroll;
      }
    }
  }
}

TEST_F(PixelToHexTest, TopCornersBelongToTheRowAbove) {
  // Even row 2, column 3: box at (180, 88). Its upper-right corner lies outside the hexagon.
  EXPECT_EQ(PixelToHex(mask_, 180 + 55, 88 + 2, 0, 0), (HexPos{3, 1}));
  EXPECT_EQ(PixelToHex(mask_, 180 + 3, 88 + 2, 0, 0), (HexPos{2, 1}));
  // Odd row 3, column 3: box at (209, 132).
  EXPECT_EQ(PixelToHex(mask_, 209 + 3, 132 + 2, 0, 0), (HexPos{3, 2}));
  EXPECT_EQ(PixelToHex(mask_, 209 + 56, 132 + 2, 0, 0), (HexPos{4, 2}));
  // Every pixel of the map area lands on a hex whose box contains it (from the first full
  // column on: left of it the truncating division folds negative offsets onto column 0).
  for (int py = 0; py < 400; py += 3) {
    for (int px = 30; px < 600; px += 7) {
      const HexPos h = PixelToHex(mask_, px, py, 0, 0);
      const HexPos o = HexOrigin(h.X, h.Y);
      ASSERT_GE(px, o.X - 1) << px << "," << py;
      ASSERT_LT(px, o.X + 61) << px << "," << py;
      ASSERT_GE(py, o.Y) << px << "," << py;
      ASSERT_LT(py, o.Y + 60) << px << "," << py;
    }
  }
}

TEST(HexLookups, CastleAtAndUnitsAt) {
  auto g = std::make_unique<Game>();
  EXPECT_EQ(CastleAt(*g, 0, 0), -1);  // records past the last castle are all zero
  g->CastleCounter = 3;
  g->Castles[1].HexX = 4;
  g->Castles[1].HexY = 5;
  g->Castles[2].HexX = 4;
  g->Castles[2].HexY = 5;
  EXPECT_EQ(CastleAt(*g, 4, 5), 1);
  EXPECT_EQ(CastleAt(*g, 0, 0), -1);

  UnitList none = UnitsAt(*g, 4, 5);
  EXPECT_EQ(none.Count, 0);
  for (int s : none.Slots) ASSERT_EQ(s, -1);

  for (int slot : {90, 12, 40}) {
    g->U(slot).HexX = 4;
    g->U(slot).HexY = 5;
    g->U(slot).OnMap = 1;
  }
  g->U(40).OnMap = 0;  // waiting to enter: not on the hex yet
  const UnitList list = UnitsAt(*g, 4, 5);
  EXPECT_EQ(list.Count, 2);
  EXPECT_EQ(list.Slots[0], 12);
  EXPECT_EQ(list.Slots[1], 90);
  EXPECT_EQ(list.Slots[2], -1);
  EXPECT_EQ(FirstUnitAt(*g, 4, 5), 12);
  EXPECT_EQ(FirstUnitAt(*g, 0, 0), -1);  // slot 0 never counts
}

}  // namespace
}  // namespace milgant
