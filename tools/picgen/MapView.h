// The map as the main window puts it together from the pictures: terrain tiles cut out with
// the hexagon row by row, hexside overlays, tinted hexes and stacked counters. The contact
// sheet draws a small patch with it and the map preview the whole campaign map.
#pragma once

#include "ui/widgets/Pictures.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QString>

#include <array>
#include <string>
#include <vector>

namespace milgant {
struct Game;
}

namespace picgen {

// The main-window pictures as the generator draws them now (not as committed).
milgant::pictures::MainWindowPictures DrawnMainWindowPictures();

// Top-left corner of hex (x, y)'s 60 x 60 box: odd rows sit half a hex to the right.
QPoint HexBoxOrigin(int x, int y);

// Copies the pixels of a 60 x 60 (or 61 x 61) tile that lie inside the hexagon; the rest of the
// box keeps what the neighbours put there.
void PaintMasked(QImage& map, const QImage& tile, QPoint at);

// What one hex shows besides its tile: hexside flags for directions 1..6 at index d - 1.
struct HexLook {
  int terrain = 0;
  std::array<bool, 6> roads{};
  std::array<bool, 6> rivers{};
  bool showRoads = true;  // a castle hex hides its road bars
  int tint = 0;           // +1 brightened (reachable), -1 darkened (out of reach), 0 none
};

// Draws one hex: the tile, then the road bars and the river lines. A tinted hex is composed on
// a scratch picture first and cut out like a tile.
void DrawHex(QImage& map, const milgant::pictures::MainWindowPictures& pics, QPoint origin,
             const HexLook& look);

struct CounterLook {
  int side = 0, rank = 0, variant = 0;
};
// Draws a stack of counters on the hex whose box starts at `origin`, the first of `stack` on
// top, each lower one 4 pixels further down; the player's own counters sit 2 pixels higher.
void DrawStack(QPainter& p, const milgant::pictures::MainWindowPictures& pics, QPoint origin,
               const std::vector<CounterLook>& stack, int playerSide);

// The whole 20 x 20 map of a game as the main window draws it, with nothing tinted, the castle
// names written under their keeps and the units that stand on the map.
QImage MapPreview(const milgant::pictures::MainWindowPictures& pics, const milgant::Game& g);
inline constexpr int kMapPreviewWidth = 20 * 60 + 29, kMapPreviewHeight = 19 * 44 + 60;

// Reads a map file, sets a new game up on it and draws it; null with *error on failure.
QImage MapPreviewOfFile(const std::string& mapPath, QString* error);

}  // namespace picgen
