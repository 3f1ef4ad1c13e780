// The map as the main window draws it: terrain tiles cut out with the hexagon, road bars and
// river lines on the hexsides, the brightened or darkened hexes of a movement range, and the
// stacked counters, all into one 2000 x 2000 picture from which the view only copies. Also the
// 168 x 168 minimap. Reads the game, never changes it.
//
// With the twice-size pictures (MainWindowPictures::Scale 2) every picture it draws into has
// twice the pixels each way and a device pixel ratio of 2: the map, the hex box and what a
// caller copies keep their positions in map units, each unit being Scale() pixels.
#pragma once

#include <QImage>

#include <array>
#include <cstdint>
#include <vector>

#include "core/game/Header.h"
#include "core/game/HexGrid.h"
#include "ui/widgets/Pictures.h"

namespace milgant {

struct Game;

class MapRenderer {
 public:
  static constexpr int kMapBitmapSize = 2000;
  static constexpr int kMinimapSize = 168;
  static constexpr int kHexBitmapSize = 61;
  static constexpr int kTintAmount = 50;

  // `mask` decides which pixels of a box belong to its hex (at scale 2, each decides a square
  // of four).
  MapRenderer(const pictures::MainWindowPictures& pics, const HexMaskTable& mask);

  int Scale() const { return s_; }

  QImage& MapBitmap() { return map_; }
  const QImage& MapBitmap() const { return map_; }
  QImage& HexBitmap() { return hex_; }
  const QImage& MinimapBitmap() const { return minimap_; }

  // One hex: its tile, tinted or not, and its road bars (never on a castle) and river lines.
  void DrawHex(const Game& g, int x, int y);
  // The counters standing on one hex, the lowest slot on top.
  void DrawCounters(const Game& g, int x, int y);

  // The full redraw of the map picture around the view at (ScrollX, ScrollY) and of every
  // counter; the partial one around (x, y) after a unit stepped there.
  void RedrawMap(const Game& g);
  void RedrawAround(const Game& g, int x, int y);
  // Every hex and every counter, whatever the view (the map preview of the picture tool).
  void DrawWholeMap(const Game& g);

  // Lower (inside the hexagon only) or raise (every pixel) each channel of HexBitmap.
  void DarkenHex(int amount);
  void BrightenHex(int amount);

  // The minimap with the view's rectangle at (miniX, miniY).
  void RedrawMinimap(const Game& g, int miniX, int miniY);

  // The tint a hex gets now: +1 brighter (reachable), -1 darker (out of reach), 0 none.
  static int TintOf(const Game& g, int x, int y);

 private:
  // A picture with transparency, reduced to the rows and columns it actually covers.
  struct Sprite {
    int Width = 0, Height = 0;
    std::vector<QRgb> Pixels;                   // premultiplied
    std::vector<std::array<int, 2>> RowSpans;   // first and one-past-last covered column
  };
  static Sprite MakeSprite(const QImage& picture);
  // Onto the map picture, only pixels the clip allows are touched while a partial redraw runs.
  void Blend(QImage& dst, const Sprite& s, int at_x, int at_y) const;
  bool Clipped(const QImage& dst, int x, int y) const;
  void SetClipAround(int x, int y);
  void PaintMasked(const QImage& tile, int at_x, int at_y);
  void DrawOverlays(QImage& dst, const Game& g, int x, int y, int at_x, int at_y) const;
  void CollectStacks(const Game& g);
  void DrawStack(const Game& g, int x, int y);  // from the stacks last collected
  void ClearMap();

  // A position of the map picture in its pixels.
  HexPos Origin(int x, int y) const {
    const HexPos o = HexOrigin(x, y);
    return {o.X * s_, o.Y * s_};
  }

  int s_ = 1;    // pixels to a map unit
  int box_ = 60; // a hex box's side in pixels
  int extentBottom_ = kMapBitmapSize;  // nothing below this row is other than black

  // A partial redraw repaints the square it blackens and the hexes it redraws; a picture with
  // soft edges drawn again over pixels it did not repaint would darken them step by step.
  bool clipping_ = false;
  QRect clipRect_;
  std::vector<std::uint8_t> clip_;  // 1 = repainted, row by row over clipRect_

  bool HasOverlays(const Game& g, int x, int y) const;

  std::array<QImage, kTerrainCodes> tiles_, darkTiles_, brightTiles_;
  std::vector<Sprite> counters_, rivers_, roads_;
  // The hexagon of each box row as runs of inside columns [from, to).
  std::vector<std::vector<std::array<int, 2>>> maskRuns_;
  std::array<std::uint8_t, 256> darker_{}, brighter_{};
  QImage map_, hex_, minimap_;

  // Units by hex, lowest slot first, built once per redraw.
  std::array<int, kMapSize * kMapSize> stackStart_{}, stackCount_{};
  std::array<int, 141> stackSlots_{};
};

}  // namespace milgant
