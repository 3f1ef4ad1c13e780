// The pictures themselves: the committed ones as the program loads them (resources and the
// JPEG files of the working folder) and the generator's drawings they come from.
#include "Art.h"
#include "Outputs.h"
#include "Paint.h"
#include "core/game/HexGrid.h"
#include "ui/widgets/JpegPicture.h"
#include "ui/widgets/Pictures.h"

#include <QDir>
#include <QPainter>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace pictures = milgant::pictures;

namespace {

const pictures::MainWindowPictures& Committed() {
  static pictures::MainWindowPictures pics;
  static bool loaded = false;
  if (!loaded) {
    QString error;
    loaded = pictures::LoadMainWindowPictures(&pics, &error);
    EXPECT_TRUE(loaded) << error.toStdString();
  }
  return pics;
}

bool Transparent(QRgb c) { return qAlpha(c) == 0; }

// Mean position of the pixels that are not transparent.
QPointF Centroid(const QImage& img) {
  double sx = 0, sy = 0, n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const double a = qAlpha(img.pixel(x, y)) / 255.0;
      sx += a * x;
      sy += a * y;
      n += a;
    }
  return n > 0 ? QPointF(sx / n, sy / n) : QPointF(-1, -1);
}

}  // namespace

TEST(Hexagon, BlackPixelsAreTheHexMaskRowForRow) {
  milgant::HexMaskTable mask{};
  milgant::BuildHexMask(mask);
  for (const QImage& hex : {Committed().Hexagon, picgen::HexagonPicture()}) {
    ASSERT_EQ(hex.size(), QSize(60, 60));
    for (int r = 0; r < 60; ++r) {
      QString row, want;
      for (int c = 0; c < 60; ++c) {
        const QRgb p = hex.pixel(c, r);
        EXPECT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255)) << c << "," << r;
        row += p == qRgb(0, 0, 0) ? '#' : '.';
        want += mask[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] ? '#' : '.';
      }
      EXPECT_EQ(row.toStdString(), want.toStdString()) << "row " << r;
    }
  }
}

TEST(Hexagon, InsideTestAgreesWithTheMask) {
  milgant::HexMaskTable mask{};
  milgant::BuildHexMask(mask);
  int inside = 0;
  for (int y = -2; y < 62; ++y)
    for (int x = -2; x < 62; ++x) {
      EXPECT_EQ(picgen::HexInside(x, y), milgant::HexMaskAt(mask, x, y)) << x << "," << y;
      inside += picgen::HexInside(x, y);
    }
  EXPECT_EQ(inside, 30 * 60 + 2 * (15 * 2 + 2 * (14 * 15 / 2) * 2));
}

TEST(MainWindowPictures, SizesAndTransparency) {
  const auto& p = Committed();
  EXPECT_EQ(p.Terrain.size(), QSize(840, 60));
  EXPECT_FALSE(p.Terrain.hasAlphaChannel());
  ASSERT_EQ(p.Counters.size(), 12);
  ASSERT_EQ(p.Rivers.size(), 6);
  ASSERT_EQ(p.Roads.size(), 6);
  ASSERT_EQ(p.RetreatArrows.size(), 6);
  ASSERT_EQ(p.AttackArrows.size(), 6);
  auto checkList = [](const QList<QImage>& list, int side) {
    for (const QImage& img : list) {
      EXPECT_EQ(img.size(), QSize(side, side));
      ASSERT_TRUE(img.hasAlphaChannel());
      EXPECT_TRUE(Transparent(img.pixel(0, 0)));
      EXPECT_TRUE(Transparent(img.pixel(side - 1, 0)));
      int opaque = 0, clear = 0;
      for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) (qAlpha(img.pixel(x, y)) == 255 ? opaque : clear) += 1;
      EXPECT_GT(opaque, side / 2);
      EXPECT_GT(clear, side * side / 4);
    }
  };
  checkList(p.Counters, 50);
  checkList(p.Rivers, 60);
  checkList(p.Roads, 60);
  checkList(p.RetreatArrows, 22);
  checkList(p.AttackArrows, 10);
  EXPECT_EQ(p.Title.Width(), 793);
  EXPECT_EQ(p.Title.Height(), 582);
  EXPECT_EQ(p.Title.Filter(), 3);
  EXPECT_FALSE(p.Title.Picture().hasAlphaChannel());

  const QImage battle = pictures::BattleTextBackground();
  EXPECT_EQ(battle.size(), QSize(105, 105));
  milgant::TCompressedImage story;
  QString error;
  ASSERT_TRUE(pictures::LoadStoryTextBackground(&story, &error)) << error.toStdString();
  EXPECT_EQ(story.Picture().size(), QSize(790, 150));
  EXPECT_EQ(story.Filter(), 3);
}

TEST(MainWindowPictures, TitleIsStoredAsA24BitBmp) {
  QFile f(QString::fromLatin1(pictures::kTitle));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  QByteArray plain;
  QString error;
  ASSERT_TRUE(milgant::TCompressedImage::Inflate(f.readAll(), &plain, &error)) << error.toStdString();
  ASSERT_GT(plain.size(), 60);
  EXPECT_EQ(plain[0], 3);
  QByteArray file = plain.mid(1);
  milgant::TCompressedImage::RemoveFilter(file, 3);
  EXPECT_EQ(file.left(2), QByteArray("BM"));
  EXPECT_EQ(static_cast<quint8>(file[28]), 24);
}

TEST(Terrain, TilesAreHexagonsOnWhite) {
  const QList<QImage> tiles = pictures::SplitStrip(Committed().Terrain, 60);
  ASSERT_EQ(tiles.size(), 14);
  for (int t = 0; t < 14; ++t) {
    int whiteInside = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 60; ++x) {
        const QRgb c = tiles[t].pixel(x, y);
        if (!picgen::HexInside(x, y)) {
          EXPECT_EQ(c, qRgb(255, 255, 255)) << "tile " << t << " at " << x << "," << y;
        } else if (c == qRgb(255, 255, 255)) {
          ++whiteInside;
        }
      }
    EXPECT_EQ(whiteInside, 0) << "tile " << t;  // the ground covers the whole hexagon
  }
}

TEST(Terrain, EveryTerrainHasItsOwnTileAndOwnersDifferByABanner) {
  const QList<QImage> tiles = pictures::SplitStrip(Committed().Terrain, 60);
  ASSERT_EQ(tiles.size(), 14);
  for (int a = 0; a < 8; ++a)
    for (int b = a + 1; b < 14; ++b) EXPECT_NE(tiles[a], tiles[b]) << a << " " << b;
  auto countNear = [](const QImage& img, QColor want) {
    int n = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 60; ++x) {
        const QColor c = QColor::fromRgb(img.pixel(x, y));
        if (std::abs(c.red() - want.red()) + std::abs(c.green() - want.green()) +
                std::abs(c.blue() - want.blue()) < 40)
          ++n;
      }
    return n;
  };
  for (int code = 8; code <= 12; code += 2) {
    const QImage& side0 = tiles[code];
    const QImage& side1 = tiles[code + 1];
    int differing = 0;
    QRect box;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 60; ++x)
        if (side0.pixel(x, y) != side1.pixel(x, y)) {
          ++differing;
          box |= QRect(x, y, 1, 1);
        }
    EXPECT_GT(differing, 40) << code;
    EXPECT_LT(box.width() * box.height(), 60 * 60 / 8) << code;  // a small banner, nothing else
    EXPECT_GT(countNear(side0, picgen::kOwnerBlue), 20) << code;
    EXPECT_EQ(countNear(side0, picgen::kOwnerRed), 0) << code;
    EXPECT_GT(countNear(side1, picgen::kOwnerRed), 20) << code;
    EXPECT_EQ(countNear(side1, picgen::kOwnerBlue), 0) << code;
  }
}

TEST(Counters, VariantsDifferOnlyInTheLowerHalf) {
  const auto& p = Committed();
  for (int i = 0; i < 12; i += 2) {
    const QImage& fresh = p.Counters[i];
    const QImage& spent = p.Counters[i + 1];
    int lowerDiffers = 0;
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 50; ++x) {
        const QRgb a = fresh.pixel(x, y), b = spent.pixel(x, y);
        EXPECT_EQ(qAlpha(a), qAlpha(b)) << i << " at " << x << "," << y;
        if (y < 25) {
          EXPECT_EQ(a, b) << i << " at " << x << "," << y;
        } else if (a != b) {
          ++lowerDiffers;
        }
        if (y >= 25 && qAlpha(a) == 255) {
          EXPECT_LT(qGray(b), qGray(a) + 1);  // shaded, never lighter
        }
      }
    EXPECT_GT(lowerDiffers, 700) << i;
  }
}

TEST(Counters, SidesAndRanksAreToldApart) {
  const auto& p = Committed();
  auto meanColour = [](const QImage& img) {  // of the board left of the crest
    double r = 0, b = 0;
    for (int y = 20; y < 40; ++y)
      for (int x = 12; x < 16; ++x)
        if (qAlpha(img.pixel(x, y)) == 255) {
          r += qRed(img.pixel(x, y));
          b += qBlue(img.pixel(x, y));
        }
    return std::pair(r, b);
  };
  auto goldInHeadBand = [](const QImage& img) {
    int n = 0;
    for (int y = 5; y < 16; ++y)
      for (int x = 0; x < 50; ++x) {
        const QColor c = QColor::fromRgba(img.pixel(x, y));
        if (c.alpha() == 255 && c.red() > 170 && c.green() > 120 && c.blue() < 120) ++n;
      }
    return n;
  };
  for (int rank = 0; rank < 3; ++rank) {
    const auto [r0, b0] = meanColour(p.Counters[rank * 2]);
    const auto [r1, b1] = meanColour(p.Counters[6 + rank * 2]);
    EXPECT_GT(b0, r0) << "side 0 is indigo, rank " << rank;
    EXPECT_GT(r1, b1 * 1.5) << "side 1 is vermilion, rank " << rank;
  }
  for (int side = 0; side < 2; ++side) {
    const int g0 = goldInHeadBand(p.Counters[side * 6 + 0]);
    const int g1 = goldInHeadBand(p.Counters[side * 6 + 2]);
    const int g2 = goldInHeadBand(p.Counters[side * 6 + 4]);
    EXPECT_GT(g0, 5) << side;
    EXPECT_GT(g1, g0 + 5) << side;
    EXPECT_GT(g2, g1 + 5) << side;
  }
}

TEST(Overlays, StayInsideTheHexagonAlongTheirSide) {
  const auto& p = Committed();
  for (const QList<QImage>* list : {&p.Rivers, &p.Roads}) {
    for (int d = 1; d <= 6; ++d) {
      const QImage& img = (*list)[d - 1];
      for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
          if (!picgen::HexInside(x, y)) {
            EXPECT_TRUE(Transparent(img.pixel(x, y))) << d << " at " << x << "," << y;
          }
      // The drawing sits by hexside d and no other.
      const QPointF c = Centroid(img);
      int nearest = 0;
      double best = 1e9;
      for (int k = 1; k <= 6; ++k) {
        const QPointF m = picgen::HexSide(k).center();
        const double dist = std::hypot(c.x() - m.x(), c.y() - m.y());
        if (dist < best) best = dist, nearest = k;
      }
      EXPECT_EQ(nearest, d);
    }
  }
}

TEST(Overlays, RoadBarsLineUpWithTheNeighboursBar) {
  // A bar and the opposite direction's bar, seen from the two hexes, lie on the line through
  // both centres: their centroids, measured from the side's middle, point opposite ways.
  const auto& p = Committed();
  for (int d = 1; d <= 6; ++d) {
    const QPointF toSide = Centroid(p.Roads[d - 1]) - picgen::HexSide(d).center();
    const QPointF u = picgen::TowardNeighbour(d);
    const double along = toSide.x() * u.x() + toSide.y() * u.y();
    const double across = std::abs(toSide.x() * -u.y() + toSide.y() * u.x());
    EXPECT_LT(along, -3) << d;   // inward, toward the centre
    EXPECT_LT(across, 1.5) << d;  // on the centre line
  }
}

// How much wider an arrow is ahead of its middle than behind it, seen along a direction: the
// barbs of the head make the front wide, the shaft keeps the back narrow.
double HeadWidthAhead(const QImage& img, QPointF u) {
  const QPointF c((img.width() - 1) / 2.0, (img.height() - 1) / 2.0);
  const QPointF v(-u.y(), u.x());
  double frontLo = 1e9, frontHi = -1e9, backLo = 1e9, backHi = -1e9;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      if (qAlpha(img.pixel(x, y)) < 128) continue;
      const QPointF d = QPointF(x, y) - c;
      const double along = d.x() * u.x() + d.y() * u.y();
      const double across = d.x() * v.x() + d.y() * v.y();
      if (along > 0.5) frontLo = std::min(frontLo, across), frontHi = std::max(frontHi, across);
      if (along < -0.5) backLo = std::min(backLo, across), backHi = std::max(backHi, across);
    }
  return (frontHi - frontLo) - (backHi - backLo);
}

TEST(Arrows, PointInTheirDirection) {
  const auto& p = Committed();
  for (const QList<QImage>* list : {&p.AttackArrows, &p.RetreatArrows}) {
    for (int d = 1; d <= 6; ++d) {
      const QImage& img = (*list)[d - 1];
      int best = 0;
      double bestScore = -1e9;
      for (int k = 1; k <= 6; ++k) {
        const double score = HeadWidthAhead(img, picgen::TowardNeighbour(k));
        if (score > bestScore) bestScore = score, best = k;
      }
      EXPECT_EQ(best, d) << img.width() << " px arrow";
      EXPECT_GT(bestScore, img.width() * 0.15) << img.width() << " px arrow " << d;
    }
  }
}

TEST(WindowPictures, JpegFilesHaveTheirWindowSizes) {
  const QDir data(QStringLiteral(MILGANT_DATA_DIR));
  struct File { const char* name; QSize size; };
  for (const File& f : {File{"form3.JPG", QSize(picgen::kUnitWindowWidth, picgen::kUnitWindowHeight)},
                        File{"form4.JPG", QSize(630, 601)},
                        File{"form5.JPG", QSize(245, 190)},
                        File{"gametop.JPG", QSize(1580, 417)}}) {
    QString error;
    const QImage img = milgant::LoadJpeg(data.filePath(QString::fromLatin1(f.name)), &error);
    ASSERT_FALSE(img.isNull()) << f.name << ": " << error.toStdString();
    EXPECT_EQ(img.size(), f.size) << f.name;
  }
}

TEST(WindowPictures, VictoryHalvesShowTheWinnersColours) {
  const QImage top = picgen::VictoryPictures();
  ASSERT_EQ(top.size(), QSize(1580, 417));
  auto count = [&](int x0, QColor want) {
    int n = 0;
    for (int y = 0; y < 417; ++y)
      for (int x = x0; x < x0 + 790; ++x) {
        const QColor c = QColor::fromRgb(top.pixel(x, y));
        if (std::abs(c.red() - want.red()) + std::abs(c.green() - want.green()) + std::abs(c.blue() - want.blue()) < 30)
          ++n;
      }
    return n;
  };
  EXPECT_GT(count(0, picgen::kIndigo), 4 * count(0, picgen::kVermilion) + 100);
  EXPECT_GT(count(790, picgen::kVermilion), count(790, picgen::kIndigo) + 100);
}

TEST(Generator, DrawsEveryPictureAtItsSize) {
  EXPECT_EQ(picgen::TerrainStrip().size(), QSize(840, 60));
  EXPECT_EQ(picgen::CounterStrip().size(), QSize(600, 50));
  EXPECT_EQ(picgen::RiverStrip().size(), QSize(360, 60));
  EXPECT_EQ(picgen::RoadStrip().size(), QSize(360, 60));
  EXPECT_EQ(picgen::AttackArrowStrip().size(), QSize(60, 10));
  EXPECT_EQ(picgen::RetreatArrowStrip().size(), QSize(132, 22));
  EXPECT_EQ(picgen::TitlePicture().size(), QSize(793, 582));
  EXPECT_EQ(picgen::BattleWindowBackground().size(), QSize(630, 601));
  EXPECT_EQ(picgen::AllocationBackground().size(), QSize(245, 190));
  EXPECT_EQ(picgen::StoryTextBackground().size(), QSize(790, 150));
  EXPECT_EQ(picgen::BattleTextBackground().size(), QSize(105, 105));
}

TEST(Generator, BattleTextBackgroundTilesSeamlessly) {
  const QImage t = picgen::BattleTextBackground();
  // Across the wrap the step between neighbouring pixels is no larger than inside the tile.
  auto step = [&](int x0, int y0, int x1, int y1) {
    const QRgb a = t.pixel(x0, y0), b = t.pixel(x1, y1);
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
  };
  double inside = 0, wrap = 0;
  for (int i = 0; i < 105; ++i) {
    inside += step(51, i, 52, i) + step(i, 51, i, 52);
    wrap += step(104, i, 0, i) + step(i, 104, i, 0);
  }
  EXPECT_LT(wrap, inside * 1.6 + 50);
}

TEST(Generator, SharpTwinsAreTwiceTheSizeAndCutOutTheBlownUpHexagon) {
  struct Twin {
    const char* sharp;
    const char* plain;
    QSize size;  // of the sharp one
  };
  const Twin twins[] = {
      {"pictures/2x/terrain.png", "pictures/terrain.png", QSize(1680, 120)},
      {"pictures/2x/counters.png", "pictures/counters.png", QSize(1200, 100)},
      {"pictures/2x/rivers.png", "pictures/rivers.png", QSize(720, 120)},
      {"pictures/2x/roads.png", "pictures/roads.png", QSize(720, 120)},
      {"pictures/2x/retreat-arrows.png", "pictures/retreat-arrows.png", QSize(264, 44)},
      {"pictures/2x/attack-arrows.png", "pictures/attack-arrows.png", QSize(120, 20)},
      {"pictures/2x/battle-text.png", "pictures/battle-text.png", QSize(210, 210)},
      {"pictures/2x/title.jpg", "pictures/title.cmp", QSize(1586, 1164)},
      {"pictures/2x/story-text.jpg", "pictures/story-text.cmp", QSize(1580, 300)},
      {"pictures/2x/form3.jpg", "form3.JPG", QSize(1040, 840)},
      {"pictures/2x/form4.jpg", "form4.JPG", QSize(1260, 1202)},
      {"pictures/2x/form5.jpg", "form5.JPG", QSize(490, 380)},
      {"pictures/2x/gametop.jpg", "gametop.JPG", QSize(3160, 834)},
  };
  auto find = [](const char* path) -> const picgen::Output* {
    for (const picgen::Output& o : picgen::Outputs())
      if (QByteArray(o.path) == path) return &o;
    return nullptr;
  };
  QImage terrain;
  for (const Twin& t : twins) {
    const picgen::Output* sharp = find(t.sharp);
    const picgen::Output* plain = find(t.plain);
    ASSERT_NE(sharp, nullptr) << t.sharp;
    ASSERT_NE(plain, nullptr) << t.plain;
    const QImage big = sharp->draw(), small = plain->draw();
    EXPECT_EQ(big.size(), t.size) << t.sharp;
    EXPECT_EQ(big.size(), small.size() * 2) << t.sharp;
    EXPECT_EQ(big.devicePixelRatio(), 1.0) << t.sharp;
    EXPECT_EQ(big.hasAlphaChannel(), small.hasAlphaChannel()) << t.sharp;
    if (QByteArray(t.sharp).endsWith("terrain.png")) terrain = big;
  }
  // Every pixel of the 60 x 60 hexagon is a block of 2 x 2 of the tiles: white exactly outside
  // it, never white inside.
  ASSERT_EQ(terrain.size(), QSize(1680, 120));
  const QRgb white = qRgb(255, 255, 255);
  int inside = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 120; ++x) inside += picgen::HexInside(x / 2, y / 2);
  EXPECT_EQ(inside, 4 * 2700);  // four times the 2700 pixels of the 60 x 60 hexagon
  for (int t = 0; t < 14; ++t) {
    int wrong = 0;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 120; ++x)
        wrong += picgen::HexInside(x / 2, y / 2) == (terrain.pixel(120 * t + x, y) == white);
    EXPECT_EQ(wrong, 0) << "tile " << t;
  }
}

TEST(Generator, CheckAcceptsTheCommittedFilesAndCatchesAChange) {
  const QDir data(QStringLiteral(MILGANT_DATA_DIR));
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  for (const picgen::Output& o : picgen::Outputs())
    QDir(tmp.path()).mkpath(QFileInfo(QString::fromLatin1(o.path)).path());
  for (const picgen::Output& o : picgen::Outputs())
    ASSERT_TRUE(QFile::copy(data.filePath(QString::fromLatin1(o.path)), QDir(tmp.path()).filePath(QString::fromLatin1(o.path))));
  EXPECT_TRUE(picgen::CheckAll(tmp.path()));
  // Swap two terrain tiles in the copy: the check must notice.
  const QString terrain = QDir(tmp.path()).filePath(QStringLiteral("pictures/terrain.png"));
  QImage strip(terrain);
  QImage swapped = strip.copy();
  {
    QPainter p(&swapped);
    p.drawImage(60, 0, strip.copy(120, 0, 60, 60));
  }
  QFile::remove(terrain);
  ASSERT_TRUE(swapped.save(terrain, "PNG"));
  EXPECT_FALSE(picgen::CheckAll(tmp.path()));
}
