// Every picture of the game, drawn in code. Each function returns the finished picture at its
// final size; Outputs.cpp decides the file each one is stored in. The sizes below are those at
// drawing scale 1; at scale 2 (Paint.h) a picture has twice as many pixels each way.
#pragma once

#include <QImage>
#include <QLineF>
#include <QPointF>

namespace picgen {

// --- Hex geometry of the 60 x 60 box ---
// Inside the hexagon: rows 0..14 widen by two pixels a row from the two middle columns, rows
// 15..44 are full width, and the bottom mirrors the top.
bool HexInside(int x, int y);
// The outline segment of hexside d (1..6, clockwise from the upper right) in box coordinates.
QLineF HexSide(int d);
// Unit vector from the hex centre toward the centre of the neighbour in direction d.
QPointF TowardNeighbour(int d);
inline constexpr float kHexCentre = 29.5f;

// Loads the IPA fonts from the system font folders; false if any is missing.
bool LoadFonts();

// --- Main window ---
QImage TerrainTile(int code);          // 60 x 60, hexagon on white
QImage TerrainStrip();                 // Image6: 14 tiles side by side
QImage HexagonPicture();               // Image7
QImage Counter(int side, int rank, int variant);  // 50 x 50, transparent
QImage CounterStrip();                 // ImageList1: 12 counters, index Side*6 + Rank*2 + variant
QImage RiverLine(int d);               // 60 x 60, transparent
QImage RiverStrip();                   // ImageList3
QImage RoadBar(int d);                 // 60 x 60, transparent
QImage RoadStrip();                    // ImageList7
QImage AttackArrow(int d);             // 10 x 10, transparent
QImage AttackArrowStrip();             // ImageList5
QImage RetreatArrow(int d);            // 22 x 22, transparent
QImage RetreatArrowStrip();            // ImageList4
QImage TitlePicture();                 // 793 x 582, 24-bit

// --- Other windows ---
QImage VictoryPictures();              // gametop: 1580 x 417, side 0 left, side 1 right
QImage UnitWindowBackground();         // form3
QImage BattleWindowBackground();       // form4: 630 x 601
QImage AllocationBackground();         // form5: 245 x 190
QImage BattleTextBackground();         // 105 x 105, tiles seamlessly
QImage StoryTextBackground();          // 790 x 150

// --- The desktop ---
QImage AppIcon(int size);              // size x size, transparent: the program's icon

// The window sizes the backgrounds are made for.
inline constexpr int kUnitWindowWidth = 520, kUnitWindowHeight = 420;
inline constexpr int kAllocationWidth = 245, kAllocationHeight = 190;

}  // namespace picgen
