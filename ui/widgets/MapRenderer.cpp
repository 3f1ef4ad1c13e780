// Drawing the map: tiles are copied row by row through the hexagon's runs, overlays and counters
// are blended only where they cover something, and tints go through 256-entry tables.
#include "ui/widgets/MapRenderer.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

#include "core/game/Game.h"

namespace milgant {
namespace {

constexpr int kBox = 60;  // a hex box's side in map units
// Everything the map draws lies left of this column: the last hex of an odd row ends here.
constexpr int kMapExtentWidth = (kMapSize - 1) * 60 + 29 + kBox;
constexpr int kMapExtentHeight = (kMapSize - 1) * 44 + kBox;

QRect Scaled(const QRect& r, int s) { return QRect(r.left() * s, r.top() * s, r.width() * s, r.height() * s); }

QRgb* Row(QImage& img, int y) { return reinterpret_cast<QRgb*>(img.scanLine(y)); }
const QRgb* Row(const QImage& img, int y) { return reinterpret_cast<const QRgb*>(img.constScanLine(y)); }

}  // namespace

MapRenderer::MapRenderer(const pictures::MainWindowPictures& pics, const HexMaskTable& mask)
    : s_(pics.Scale == 2 ? 2 : 1),
      box_(kBox * s_),
      extentBottom_(kMapBitmapSize * s_),
      map_(kMapBitmapSize * s_, kMapBitmapSize * s_, QImage::Format_RGB32),
      hex_(kHexBitmapSize * s_, kHexBitmapSize * s_, QImage::Format_RGB32),
      minimap_(kMinimapSize * s_, kMinimapSize * s_, QImage::Format_RGB32) {
  QImage strip = pics.Terrain.convertToFormat(QImage::Format_RGB32);
  strip.setDevicePixelRatio(1);
  for (int t = 0; t < kTerrainCodes; ++t) tiles_[static_cast<std::size_t>(t)] = strip.copy(t * box_, 0, box_, box_);
  for (const QImage& c : pics.Counters) counters_.push_back(MakeSprite(c));
  for (const QImage& r : pics.Rivers) rivers_.push_back(MakeSprite(r));
  for (const QImage& r : pics.Roads) roads_.push_back(MakeSprite(r));
  maskRuns_.resize(static_cast<std::size_t>(box_));
  for (int row = 0; row < box_; ++row) {
    auto& runs = maskRuns_[static_cast<std::size_t>(row)];
    int from = -1;
    for (int col = 0; col <= box_; ++col) {
      const bool in = col < box_ && mask[static_cast<std::size_t>(col / s_)][static_cast<std::size_t>(row / s_)] != 0;
      if (in && from < 0) from = col;
      if (!in && from >= 0) {
        runs.push_back({from, col});
        from = -1;
      }
    }
  }
  // Each tile as a tinted hex without overlays shows it.
  for (int t = 0; t < kTerrainCodes; ++t) {
    for (int tint : {-1, 1}) {
      hex_.fill(Qt::white);
      for (int r = 0; r < box_; ++r)
        std::memcpy(Row(hex_, r), Row(tiles_[static_cast<std::size_t>(t)], r), sizeof(QRgb) * static_cast<std::size_t>(box_));
      if (tint < 0) {
        DarkenHex(kTintAmount);
        darkTiles_[static_cast<std::size_t>(t)] = hex_.copy();
      } else {
        BrightenHex(kTintAmount);
        brightTiles_[static_cast<std::size_t>(t)] = hex_.copy();
      }
    }
  }
  map_.fill(Qt::black);
  hex_.fill(Qt::white);
  minimap_.fill(Qt::black);
  map_.setDevicePixelRatio(s_);
  hex_.setDevicePixelRatio(s_);
  minimap_.setDevicePixelRatio(s_);
}

MapRenderer::Sprite MapRenderer::MakeSprite(const QImage& picture) {
  const QImage img = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  Sprite s;
  s.Width = img.width();
  s.Height = img.height();
  s.Pixels.resize(static_cast<std::size_t>(s.Width * s.Height));
  for (int y = 0; y < s.Height; ++y) {
    const QRgb* src = Row(img, y);
    std::memcpy(&s.Pixels[static_cast<std::size_t>(y * s.Width)], src, sizeof(QRgb) * static_cast<std::size_t>(s.Width));
    int first = s.Width, last = 0;
    for (int x = 0; x < s.Width; ++x) {
      if (qAlpha(src[x]) != 0) {
        first = std::min(first, x);
        last = x + 1;
      }
    }
    s.RowSpans.push_back({first, last});
  }
  return s;
}

bool MapRenderer::Clipped(const QImage& dst, int x, int y) const {
  if (!clipping_ || &dst != &map_) return false;
  if (!clipRect_.contains(x, y)) return true;
  return clip_[static_cast<std::size_t>((y - clipRect_.top()) * clipRect_.width() + (x - clipRect_.left()))] == 0;
}

void MapRenderer::SetClipAround(int x, int y) {
  const HexPos o = Origin(x, y);
  // Around what a partial redraw repaints: the boxes of the hexes within three, the square.
  clipRect_ = Scaled(QRect(QPoint((x - 3) * 60, (y - 3) * 44), QPoint((x + 3) * 60 + 29 + 59, (y + 3) * 44 + 59)), s_)
                  .united(QRect(o.X, o.Y, 2 * box_, 2 * box_))
                  .intersected(map_.rect());
  clip_.assign(static_cast<std::size_t>(clipRect_.width() * clipRect_.height()), 0);
  auto mark = [&](int x0, int y0, int x1, int y1) {  // [x0, x1) x [y0, y1)
    x0 = std::max(x0, clipRect_.left());
    x1 = std::min(x1, clipRect_.right() + 1);
    for (int yy = std::max(y0, clipRect_.top()); yy < std::min(y1, clipRect_.bottom() + 1); ++yy)
      if (x1 > x0)
        std::fill_n(&clip_[static_cast<std::size_t>((yy - clipRect_.top()) * clipRect_.width() + (x0 - clipRect_.left()))],
                    x1 - x0, std::uint8_t{1});
  };
  mark(o.X, o.Y, o.X + 2 * box_, o.Y + 2 * box_);
  for (int yy = std::max(0, y - 3); yy <= std::min(kMapSize - 1, y + 3); ++yy)
    for (int xx = std::max(0, x - 3); xx <= std::min(kMapSize - 1, x + 3); ++xx) {
      const HexPos h = Origin(xx, yy);
      for (int r = 0; r < box_; ++r)
        for (const auto& run : maskRuns_[static_cast<std::size_t>(r)]) mark(h.X + run[0], h.Y + r, h.X + run[1], h.Y + r + 1);
    }
}

void MapRenderer::Blend(QImage& dst, const Sprite& s, int atX, int atY) const {
  const int dstW = dst.width(), dstH = dst.height();
  const bool clipped = clipping_ && &dst == &map_;
  for (int y = 0; y < s.Height; ++y) {
    const int dy = atY + y;
    if (dy < 0 || dy >= dstH) continue;
    const auto& span = s.RowSpans[static_cast<std::size_t>(y)];
    const int from = std::max(span[0], -atX);
    const int to = std::min(span[1], dstW - atX);
    QRgb* out = Row(dst, dy) + atX;
    const QRgb* in = &s.Pixels[static_cast<std::size_t>(y * s.Width)];
    for (int x = from; x < to; ++x) {
      const QRgb p = in[x];
      const int a = qAlpha(p);
      if (a == 0 || (clipped && Clipped(dst, atX + x, dy))) continue;
      if (a == 255) {
        out[x] = p;
        continue;
      }
      const QRgb d = out[x];
      const int k = 255 - a;
      out[x] = qRgb(qRed(p) + (qRed(d) * k + 127) / 255, qGreen(p) + (qGreen(d) * k + 127) / 255,
                    qBlue(p) + (qBlue(d) * k + 127) / 255);
    }
  }
}

void MapRenderer::PaintMasked(const QImage& tile, int atX, int atY) {
  const int mapW = map_.width(), mapH = map_.height();
  for (int r = 0; r < box_; ++r) {
    const int my = atY + r;
    if (my < 0 || my >= mapH) continue;
    QRgb* out = Row(map_, my);
    const QRgb* in = Row(tile, r);
    for (const auto& run : maskRuns_[static_cast<std::size_t>(r)]) {
      const int from = std::max(run[0], -atX);
      const int to = std::min(run[1], mapW - atX);
      if (to > from) std::memcpy(out + atX + from, in + from, sizeof(QRgb) * static_cast<std::size_t>(to - from));
    }
  }
}

int MapRenderer::TintOf(const Game& g, int x, int y) {
  if (g.PhaseSide != g.PlayerSide) return 0;  // the computer's phase shows no range
  if (g.MoveBlocked[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] == 0) return 1;
  return g.RangeOverlay == 1 ? -1 : 0;
}

void MapRenderer::DrawOverlays(QImage& dst, const Game& g, int x, int y, int atX, int atY) const {
  const Hex& h = g.H(x, y);
  // A castle's walls hide the roads that lead into it.
  if (CastleAt(g, x, y) == -1) {
    for (int d = 0; d < 6; ++d)
      if (h.RoadSides[static_cast<std::size_t>(d)] == 1 && d < static_cast<int>(roads_.size()))
        Blend(dst, roads_[static_cast<std::size_t>(d)], atX, atY);
  }
  for (int d = 0; d < 6; ++d)
    if (h.RiverSides[static_cast<std::size_t>(d)] == 1 && d < static_cast<int>(rivers_.size()))
      Blend(dst, rivers_[static_cast<std::size_t>(d)], atX, atY);
}

void MapRenderer::DrawHex(const Game& g, int x, int y) {
  if (!OnMapHex(x, y)) return;
  const HexPos o = Origin(x, y);
  const QImage& tile = tiles_[static_cast<std::size_t>(std::clamp(g.H(x, y).Terrain, 0, kTerrainCodes - 1))];
  const int tint = TintOf(g, x, y);
  if (tint == 0) {
    PaintMasked(tile, o.X, o.Y);
    DrawOverlays(map_, g, x, y, o.X, o.Y);
    return;
  }
  if (!HasOverlays(g, x, y)) {
    // Nothing to draw over the tile: its tinted picture is the same every time.
    const std::size_t t = static_cast<std::size_t>(std::clamp(g.H(x, y).Terrain, 0, kTerrainCodes - 1));
    PaintMasked(tint < 0 ? darkTiles_[t] : brightTiles_[t], o.X, o.Y);
    return;
  }
  hex_.fill(Qt::white);
  for (int r = 0; r < box_; ++r) std::memcpy(Row(hex_, r), Row(tile, r), sizeof(QRgb) * static_cast<std::size_t>(box_));
  DrawOverlays(hex_, g, x, y, 0, 0);
  if (tint < 0) {
    DarkenHex(kTintAmount);
  } else {
    BrightenHex(kTintAmount);
  }
  PaintMasked(hex_, o.X, o.Y);
}

bool MapRenderer::HasOverlays(const Game& g, int x, int y) const {
  const Hex& h = g.H(x, y);
  for (int d = 0; d < 6; ++d)
    if (h.RiverSides[static_cast<std::size_t>(d)] == 1) return true;
  for (int d = 0; d < 6; ++d)
    if (h.RoadSides[static_cast<std::size_t>(d)] == 1) return CastleAt(g, x, y) == -1;
  return false;
}

void MapRenderer::DarkenHex(int amount) {
  std::array<std::uint8_t, 256> lut{};
  for (int v = 0; v < 256; ++v) lut[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(std::max(0, v - amount));
  for (int r = 0; r < box_; ++r) {
    QRgb* p = Row(hex_, r);
    for (const auto& run : maskRuns_[static_cast<std::size_t>(r)])
      for (int c = run[0]; c < run[1]; ++c) {
        const QRgb v = p[c];
        p[c] = qRgb(lut[qRed(v)], lut[qGreen(v)], lut[qBlue(v)]);
      }
  }
}

void MapRenderer::BrightenHex(int amount) {
  std::array<std::uint8_t, 256> lut{};
  for (int v = 0; v < 256; ++v) lut[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(std::min(255, v + amount));
  const int w = hex_.width(), h = hex_.height();
  for (int r = 0; r < h; ++r) {
    QRgb* p = Row(hex_, r);
    for (int c = 0; c < w; ++c) {
      const QRgb v = p[c];
      p[c] = qRgb(lut[qRed(v)], lut[qGreen(v)], lut[qBlue(v)]);
    }
  }
}

void MapRenderer::CollectStacks(const Game& g) {
  stackCount_.fill(0);
  for (int slot = 0; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap == 1 && OnMapHex(u.HexX, u.HexY)) ++stackCount_[static_cast<std::size_t>(u.HexY * kMapSize + u.HexX)];
  }
  int start = 0;
  for (int i = 0; i < kMapSize * kMapSize; ++i) {
    stackStart_[static_cast<std::size_t>(i)] = start;
    start += stackCount_[static_cast<std::size_t>(i)];
  }
  std::array<int, kMapSize * kMapSize> fill{};
  for (int slot = 0; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap != 1 || !OnMapHex(u.HexX, u.HexY)) continue;
    const auto i = static_cast<std::size_t>(u.HexY * kMapSize + u.HexX);
    stackSlots_[static_cast<std::size_t>(stackStart_[i] + fill[i]++)] = slot;
  }
}

void MapRenderer::DrawCounters(const Game& g, int x, int y) {
  if (!OnMapHex(x, y)) return;
  CollectStacks(g);
  DrawStack(g, x, y);
}

void MapRenderer::DrawStack(const Game& g, int x, int y) {
  const auto i = static_cast<std::size_t>(y * kMapSize + x);
  const HexPos o = Origin(x, y);
  // From the last to the first, so that the lowest slot ends on top.
  for (int n = stackCount_[i] - 1; n >= 0; --n) {
    const Unit& u = g.U(stackSlots_[static_cast<std::size_t>(stackStart_[i] + n)]);
    const bool human = u.Side == g.PlayerSide;
    const int variant = (human && u.CanMove == 0) || (!human && u.MayAttack == 0) ? 1 : 0;
    const int index = u.Side * 6 + u.Rank * 2 + variant;
    if (index < 0 || index >= static_cast<int>(counters_.size())) continue;
    const int top = o.Y + (4 * n + (human ? 5 : 7)) * s_;
    extentBottom_ = std::max(extentBottom_, top + 50 * s_);
    Blend(map_, counters_[static_cast<std::size_t>(index)], o.X, top);
  }
}

void MapRenderer::ClearMap() {
  // Only the part of the picture the map ever draws on can be other than black.
  const int h = std::min(extentBottom_, map_.height());
  for (int y = 0; y < h; ++y) std::fill_n(Row(map_, y), kMapExtentWidth * s_, 0xff000000u);
  extentBottom_ = kMapExtentHeight * s_;
}

void MapRenderer::RedrawMap(const Game& g) {
  ClearMap();
  const int rowFrom = std::max(0, g.ScrollY / 44 - 1), rowTo = std::min(kMapSize - 1, g.ScrollY / 20 + 12);
  const int colFrom = std::max(0, g.ScrollX / 60 - 1), colTo = std::min(kMapSize - 1, g.ScrollX / 60 + 10);
  for (int y = rowFrom; y <= rowTo; ++y)
    for (int x = colFrom; x <= colTo; ++x) DrawHex(g, x, y);
  CollectStacks(g);
  for (int y = 0; y < kMapSize; ++y)
    for (int x = 0; x < kMapSize; ++x) DrawStack(g, x, y);
}

void MapRenderer::DrawWholeMap(const Game& g) {
  ClearMap();
  for (int y = 0; y < kMapSize; ++y)
    for (int x = 0; x < kMapSize; ++x) DrawHex(g, x, y);
  CollectStacks(g);
  for (int y = 0; y < kMapSize; ++y)
    for (int x = 0; x < kMapSize; ++x) DrawStack(g, x, y);
}

void MapRenderer::RedrawAround(const Game& g, int x, int y) {
  SetClipAround(x, y);
  clipping_ = true;
  const HexPos o = Origin(x, y);
  const QRect square = QRect(o.X, o.Y, 2 * box_, 2 * box_).intersected(map_.rect());
  for (int yy = square.top(); yy <= square.bottom(); ++yy) {
    QRgb* p = Row(map_, yy);
    for (int xx = square.left(); xx <= square.right(); ++xx) p[xx] = 0xff000000u;
  }
  for (int yy = std::max(0, y - 3); yy <= std::min(kMapSize - 1, y + 3); ++yy)
    for (int xx = std::max(0, x - 3); xx <= std::min(kMapSize - 1, x + 3); ++xx) DrawHex(g, xx, yy);
  CollectStacks(g);
  for (int yy = std::max(0, y - 4); yy <= std::min(kMapSize - 1, y + 4); ++yy)
    for (int xx = std::max(0, x - 4); xx <= std::min(kMapSize - 1, x + 4); ++xx) DrawStack(g, xx, yy);
  clipping_ = false;
}

void MapRenderer::RedrawMinimap(const Game& g, int miniX, int miniY) {
  static const QRgb kTerrainColours[8] = {qRgb(192, 192, 192), qRgb(0, 128, 0),   qRgb(228, 0, 0),
                                          qRgb(128, 0, 0),     qRgb(255, 255, 0), qRgb(0, 255, 0),
                                          qRgb(0, 255, 255),   qRgb(0, 0, 255)};
  const QRgb kSideColours[2] = {qRgb(0, 0, 255), qRgb(255, 0, 0)};
  minimap_.fill(Qt::black);
  CollectStacks(g);
  auto fillRect = [&](int x0, int y0, int w, int h, QRgb c) {  // in minimap units
    const int size = kMinimapSize * s_;
    x0 *= s_, y0 *= s_, w *= s_, h *= s_;
    for (int y = std::max(0, y0); y < std::min(size, y0 + h); ++y) {
      QRgb* p = Row(minimap_, y);
      for (int x = std::max(0, x0); x < std::min(size, x0 + w); ++x) p[x] = c;
    }
  };
  for (int y = 0; y < kMapSize; ++y) {
    for (int x = 0; x < kMapSize; ++x) {
      const int cx = x * 8 + ((y & 1) ? 4 : 0), cy = y * 8;
      const auto i = static_cast<std::size_t>(y * kMapSize + x);
      if (stackCount_[i] > 0) {
        const Unit& first = g.U(stackSlots_[static_cast<std::size_t>(stackStart_[i])]);
        fillRect(cx, cy, 8, 8, qRgb(255, 255, 255));
        if (first.Side <= 1) fillRect(cx + 2, cy + 2, 4, 4, kSideColours[first.Side]);
        continue;
      }
      const int t = g.H(x, y).Terrain;
      if (t >= 0 && t < 8) {
        fillRect(cx, cy, 8, 8, kTerrainColours[t]);
        continue;
      }
      fillRect(cx, cy, 8, 8, qRgb(128, 128, 128));
      const int castle = CastleAt(g, x, y);
      const int holder = castle != -1 ? g.Castles[static_cast<std::size_t>(castle)].Owner : (t & 1);
      if (holder == 0 || holder == 1) fillRect(cx + 2, cy + 2, 4, 4, kSideColours[holder]);
    }
  }
  QPainter p(&minimap_);
  p.setPen(QPen(Qt::white, 1));
  const QPoint corners[5] = {{miniX, miniY}, {miniX + 80, miniY}, {miniX + 80, miniY + 88}, {miniX, miniY + 88},
                             {miniX, miniY}};
  p.drawPolyline(corners, 5);
}

}  // namespace milgant
