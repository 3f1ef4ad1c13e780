// Putting the map together from the pictures, hex by hex, the way the main window does.
#include "MapView.h"

#include "Art.h"
#include "Paint.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/MapFile.h"
#include "core/game/Scenario.h"
#include "core/game/Text.h"
#include "ui/widgets/MapRenderer.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainterPath>

#include <algorithm>
#include <memory>

namespace picgen {

milgant::pictures::MainWindowPictures DrawnMainWindowPictures() {
  milgant::pictures::MainWindowPictures pics;
  pics.Terrain = TerrainStrip();
  pics.Hexagon = HexagonPicture();
  pics.Counters = milgant::pictures::SplitStrip(CounterStrip(), 50);
  pics.Rivers = milgant::pictures::SplitStrip(RiverStrip(), 60);
  pics.Roads = milgant::pictures::SplitStrip(RoadStrip(), 60);
  pics.RetreatArrows = milgant::pictures::SplitStrip(RetreatArrowStrip(), 22);
  pics.AttackArrows = milgant::pictures::SplitStrip(AttackArrowStrip(), 10);
  return pics;
}

QPoint HexBoxOrigin(int x, int y) { return QPoint(x * 60 + ((y & 1) ? 29 : 0), y * 44); }

void PaintMasked(QImage& map, const QImage& tile, QPoint at) {
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) {
      const int mx = at.x() + x, my = at.y() + y;
      if (HexInside(x, y) && mx >= 0 && my >= 0 && mx < map.width() && my < map.height())
        map.setPixel(mx, my, tile.pixel(x, y));
    }
}

namespace {

void DrawOverlays(QPainter& p, const milgant::pictures::MainWindowPictures& pics, QPoint at,
                  const HexLook& look) {
  if (look.showRoads)
    for (int d = 1; d <= 6; ++d)
      if (look.roads[d - 1]) p.drawImage(at, pics.Roads[d - 1]);
  for (int d = 1; d <= 6; ++d)
    if (look.rivers[d - 1]) p.drawImage(at, pics.Rivers[d - 1]);
}

}  // namespace

void DrawHex(QImage& map, const milgant::pictures::MainWindowPictures& pics, QPoint origin,
             const HexLook& look) {
  const QImage tile = pics.Terrain.copy(60 * look.terrain, 0, 60, 60);
  if (look.tint == 0) {
    PaintMasked(map, tile, origin);
    QPainter p(&map);
    DrawOverlays(p, pics, origin, look);
    return;
  }
  QImage hex(61, 61, QImage::Format_RGB32);
  hex.fill(Qt::white);
  {
    QPainter p(&hex);
    p.drawImage(0, 0, tile);
    DrawOverlays(p, pics, QPoint(0, 0), look);
  }
  // Brightening touches every pixel (white stays white); darkening only the hexagon.
  const int a = 50 * look.tint;
  auto ch = [a](int v) { return std::clamp(v + a, 0, 255); };
  for (int yy = 0; yy < 61; ++yy)
    for (int xx = 0; xx < 61; ++xx) {
      if (look.tint < 0 && !HexInside(xx, yy)) continue;
      const QRgb c = hex.pixel(xx, yy);
      hex.setPixel(xx, yy, qRgb(ch(qRed(c)), ch(qGreen(c)), ch(qBlue(c))));
    }
  PaintMasked(map, hex, origin);
}

void DrawStack(QPainter& p, const milgant::pictures::MainWindowPictures& pics, QPoint origin,
               const std::vector<CounterLook>& stack, int playerSide) {
  for (int n = static_cast<int>(stack.size()) - 1; n >= 0; --n) {
    const CounterLook& c = stack[static_cast<std::size_t>(n)];
    const int index = c.side * 6 + c.rank * 2 + c.variant;
    if (index < 0 || index >= pics.Counters.size()) continue;
    p.drawImage(origin.x() + 5, origin.y() + 4 * n + (c.side == playerSide ? 5 : 7), pics.Counters[index]);
  }
}

namespace {

// A castle's name on a paper slip under its keep, edged in its holder's colour.
void DrawCastleName(QPainter& p, QPoint origin, const QString& name, int owner) {
  QFont f(QStringLiteral("IPAPGothic"));
  f.setPixelSize(10);
  p.setFont(f);
  const QFontMetrics fm(f);
  const int w = fm.horizontalAdvance(name) + 6, h = 12;
  const QRectF slip(origin.x() + 30 - w / 2.0, origin.y() + 45, w, h);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(owner == 0 ? kOwnerBlue : kOwnerRed, 1.0));
  p.setBrush(QColor(246, 238, 214, 235));
  p.drawRoundedRect(slip, 2, 2);
  p.setPen(kInk);
  p.drawText(slip, Qt::AlignCenter, name);
  p.setRenderHint(QPainter::Antialiasing, false);
}

}  // namespace

QImage MapPreview(const milgant::pictures::MainWindowPictures& pics, const milgant::Game& g) {
  // The game's own map drawing, with nothing tinted and every counter fresh (first picture of
  // its pair), then the castle names on top.
  auto untinted = std::make_unique<milgant::Game>(g);
  untinted->RangeOverlay = 0;
  for (auto& column : untinted->MoveBlocked) column.fill(1);
  for (milgant::Unit& u : untinted->Units) {
    u.CanMove = 1;
    u.MayAttack = 1;
  }
  milgant::MapRenderer renderer(pics, untinted->HexMask);
  renderer.DrawWholeMap(*untinted);
  QImage map = renderer.MapBitmap().copy(0, 0, kMapPreviewWidth, kMapPreviewHeight);
  QPainter p(&map);
  const int castles = std::min(g.CastleCounter, milgant::kCastleSlots);
  for (int n = 1; n < castles; ++n) {
    const milgant::Castle& c = g.Castles[static_cast<std::size_t>(n)];
    const QString name = QString::fromStdString(milgant::Cp932ToUtf8Lossy(c.Name.View()));
    DrawCastleName(p, HexBoxOrigin(c.HexX, c.HexY), name, c.Owner);
  }
  return map;
}

QImage MapPreviewOfFile(const std::string& mapPath, QString* error) {
  auto table = std::make_unique<milgant::MapTable>();
  const milgant::MapLoadResult loaded = milgant::LoadMap(*table, mapPath);
  if (!loaded.Ok) {
    if (error != nullptr) *error = QString::fromStdString(loaded.Reason);
    return {};
  }
  auto game = std::make_unique<milgant::Game>();
  milgant::BuildScenario(*game, *table);
  return MapPreview(DrawnMainWindowPictures(), *game);
}

}  // namespace picgen
