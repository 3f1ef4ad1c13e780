// The review sheet: every picture at 1:1 under its name, and a patch of map put together the
// way the main window draws it (tiles cut out with the hexagon row by row, hexside overlays,
// tinted hexes, stacked counters, arrows), so the pictures are judged in use.
#include "Art.h"
#include "MapView.h"
#include "Outputs.h"
#include "Paint.h"
#include "Texts.h"
#include "ui/widgets/Pictures.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <vector>

namespace picgen {
namespace {

constexpr int kSheetWidth = 1640;

// A small map, terrain codes in base 14 (a = 10 .. d = 13).
const char* const kSampleMap[] = {
    "77751133321",
    "77511233211",
    "7c110002114",
    "7518110a144",
    "7751661010b",
    "7d511610923",
    "77512261133",
    "77751226633",
};
constexpr int kCols = 11, kRows = 8;

int TerrainAt(int x, int y) {
  const char c = kSampleMap[y][x];
  return c <= '9' ? c - '0' : c - 'a' + 10;
}

QPoint Origin(int x, int y) { return HexBoxOrigin(x, y); }

struct Sides {
  int x, y, d;
};
const Sides kRiverSides[] = {{4, 3, 3}, {4, 3, 4}, {3, 4, 2}, {4, 4, 3}, {5, 5, 4}, {5, 5, 3},
                             {5, 6, 2}, {6, 6, 3}, {6, 6, 4}, {6, 7, 2}};
const Sides kRoadSides[] = {{4, 2, 2}, {5, 2, 2}, {5, 2, 5}, {6, 2, 5}, {6, 2, 3}, {6, 3, 6},
                            {6, 3, 3}, {7, 4, 6}, {7, 4, 4}, {7, 5, 1}, {7, 5, 3}, {2, 3, 2},
                            {3, 3, 5}, {2, 2, 2}, {3, 2, 5}, {3, 2, 2}, {4, 2, 5}};

// The map patch as the main window draws it; some hexes tinted as reachable (+1) or not (-1).
QImage SampleMap(const milgant::pictures::MainWindowPictures& pics) {
  QImage map(kCols * 60 + 29, kRows * 44 + 16, QImage::Format_RGB32);
  map.fill(Qt::black);
  auto tintOf = [](int x, int y) {
    if (x >= 6 && x <= 9 && y >= 1 && y <= 4) return (x + y) % 3 == 0 ? -1 : 1;
    return 0;
  };
  for (int y = 0; y < kRows; ++y)
    for (int x = 0; x < kCols; ++x) {
      HexLook look;
      look.terrain = TerrainAt(x, y);
      look.showRoads = look.terrain < 8;
      for (const Sides& s : kRoadSides)
        if (s.x == x && s.y == y) look.roads[static_cast<std::size_t>(s.d - 1)] = true;
      for (const Sides& s : kRiverSides)
        if (s.x == x && s.y == y) look.rivers[static_cast<std::size_t>(s.d - 1)] = true;
      look.tint = tintOf(x, y);
      DrawHex(map, pics, Origin(x, y), look);
    }
  QPainter p(&map);
  // Stacks: (x, y, side, rank, variant) per counter, first listed on top.
  struct Piece { int x, y, side, rank, variant; };
  const Piece pieces[] = {{3, 3, 0, 2, 0}, {3, 3, 0, 0, 0}, {3, 3, 0, 0, 1}, {2, 4, 0, 1, 0},
                          {5, 3, 0, 0, 1}, {7, 3, 1, 2, 0}, {7, 3, 1, 1, 0}, {8, 4, 1, 0, 0},
                          {8, 5, 1, 1, 1}, {9, 4, 1, 0, 0}, {1, 5, 0, 1, 0}};
  for (int y = 0; y < kRows; ++y)
    for (int x = 0; x < kCols; ++x) {
      std::vector<CounterLook> stack;
      for (const Piece& u : pieces)
        if (u.x == x && u.y == y) stack.push_back({u.side, u.rank, u.variant});
      DrawStack(p, pics, Origin(x, y), stack, 0);
    }
  // An attack from (5, 3) toward (6, 3) and retreat arrows around (7, 3).
  static const QPoint attackOffset[6] = {{4, 18}, {0, 13}, {4, 4}, {17, 4}, {22, 13}, {17, 18}};
  const QPoint a = Origin(5, 3) + attackOffset[1];
  p.drawImage(a, pics.AttackArrows[1]);
  for (const Sides& r : {Sides{8, 2, 1}, Sides{8, 3, 2}}) {
    p.drawImage(QPoint(r.x * 60 + (r.y % 2) * 29 + 5, r.y * 44 + 5), pics.RetreatArrows[r.d - 1]);
  }
  // The hover outline.
  p.setPen(QPen(Qt::white, 1));
  const QPoint h = Origin(4, 5);
  for (int d = 1; d <= 6; ++d) p.drawLine(HexSide(d).translated(h));
  return map;
}

class Sheet {
 public:
  Sheet() : img_(kSheetWidth, 11000, QImage::Format_RGB32) {
    img_.fill(QColor(120, 118, 112));
    font_ = QFont(QStringLiteral("IPAPGothic"));
    font_.setPixelSize(14);
  }
  void Place(const QImage& pic, const QString& label, int scale = 1) {
    const int w = pic.width() * scale, h = pic.height() * scale + 20;
    const int room = std::max(w, QFontMetrics(font_).horizontalAdvance(label));
    if (x_ + room > kSheetWidth - 10) NewLine();
    QPainter p(&img_);
    p.setFont(font_);
    p.setPen(Qt::white);
    p.drawText(QPoint(x_, y_ + 14), label);
    // A check pattern behind pictures with transparency.
    if (pic.hasAlphaChannel()) {
      for (int yy = 0; yy < pic.height() * scale; yy += 5)
        for (int xx = 0; xx < w; xx += 5)
          p.fillRect(x_ + xx, y_ + 20 + yy, std::min(5, w - xx), std::min(5, pic.height() * scale - yy),
                     ((xx + yy) / 5) % 2 ? QColor(200, 200, 200) : QColor(236, 236, 236));
    }
    p.drawImage(QRect(x_, y_ + 20, w, pic.height() * scale), pic);
    x_ += room + 16;
    lineHeight_ = std::max(lineHeight_, h);
  }
  // A picture wider than the sheet goes in as equal slices, one under the other.
  void PlaceWide(const QImage& pic, const QString& label) {
    const int room = kSheetWidth - 20;
    const int slices = (pic.width() + room - 1) / room;
    const int w = (pic.width() + slices - 1) / slices;
    for (int i = 0; i < slices; ++i) {
      const int x = w * i;
      Place(pic.copy(x, 0, std::min(w, pic.width() - x), pic.height()),
            slices == 1 ? label : label + QStringLiteral(" (%1 of %2)").arg(i + 1).arg(slices));
    }
  }
  void NewLine() {
    x_ = 10;
    y_ += lineHeight_ + 14;
    lineHeight_ = 0;
  }
  QImage Finish() {
    NewLine();
    return img_.copy(0, 0, kSheetWidth, y_);
  }

 private:
  QImage img_;
  QFont font_;
  int x_ = 10, y_ = 10, lineHeight_ = 0;
};

QImage WithText(const QImage& background, QSize box, const QString& text, bool tile) {
  QImage img(box, QImage::Format_RGB32);
  QPainter p(&img);
  if (tile)
    p.drawTiledPixmap(img.rect(), QPixmap::fromImage(background));
  else
    p.drawImage(0, 0, background);
  QFont f(QStringLiteral("IPAPMincho"));
  f.setPixelSize(15);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRect(16, 10, box.width() - 32, box.height() - 20), Qt::TextWordWrap, text);
  return img;
}

}  // namespace

QImage ContactSheet() {
  const milgant::pictures::MainWindowPictures pics = DrawnMainWindowPictures();

  Sheet s;
  const auto& outs = Outputs();
  auto label = [&](const char* path) {
    for (const Output& o : outs)
      if (std::strcmp(o.path, path) == 0) return QString::fromLatin1(o.label);
    return QString();
  };
  s.Place(pics.Terrain, label("pictures/terrain.png"));
  s.Place(pics.Hexagon, label("pictures/hexagon.png"));
  s.Place(CounterStrip(), label("pictures/counters.png"));
  s.NewLine();
  s.Place(RiverStrip(), label("pictures/rivers.png"));
  s.Place(RoadStrip(), label("pictures/roads.png"));
  s.Place(RetreatArrowStrip(), label("pictures/retreat-arrows.png"));
  s.Place(AttackArrowStrip(), label("pictures/attack-arrows.png"));
  s.NewLine();
  s.Place(CounterStrip(), QStringLiteral("counters x3"), 3);
  s.NewLine();
  s.Place(RetreatArrowStrip(), QStringLiteral("retreat x3"), 3);
  s.Place(AttackArrowStrip(), QStringLiteral("attack x3"), 3);
  s.Place(TerrainTile(10), QStringLiteral("large city x3"), 3);
  s.Place(TerrainTile(13), QStringLiteral("port city x3"), 3);
  s.NewLine();
  s.Place(SampleMap(pics), QStringLiteral("map as drawn (tinted block, stacks, arrows, hover)"));
  s.Place(TitlePicture(), label("pictures/title.cmp"));
  s.NewLine();
  s.Place(VictoryPictures(), label("gametop.JPG"));
  s.NewLine();
  s.Place(BattleWindowBackground(), label("form4.JPG"));
  s.Place(UnitWindowBackground(), label("form3.JPG"));
  s.Place(AllocationBackground(), label("form5.JPG"));
  s.NewLine();
  const QString sample = QString::fromUtf8(kArmyName0) + QStringLiteral(" / ") + QString::fromUtf8(kArmyName1);
  s.Place(BattleTextBackground(), label("pictures/battle-text.png"));
  s.Place(WithText(BattleTextBackground(), QSize(301, 94), sample, true), QStringLiteral("battle text box, tiled"));
  s.Place(WithText(StoryTextBackground(), QSize(790, 150), sample, false), label("pictures/story-text.cmp"));
  // The sharp twins, pixel for pixel.
  s.NewLine();
  for (const Output& o : outs) {
    if (std::strncmp(o.path, "pictures/2x/", 12) != 0) continue;
    const QImage pic = o.draw();
    if (pic.width() > kSheetWidth - 20) s.NewLine();
    s.PlaceWide(pic, QString::fromLatin1(o.label));
  }
  return s.Finish();
}

}  // namespace picgen
