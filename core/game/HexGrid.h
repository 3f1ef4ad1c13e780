// Offset-row hex grid: 20 columns by 20 rows, odd rows shifted right by half a hex. Directions
// 1..6 run clockwise from the upper right; 0 is the hex itself.
#pragma once

#include <array>
#include <cstdint>

namespace milgant {

struct Game;

struct HexPos {
  int X = 0;
  int Y = 0;
  friend bool operator==(const HexPos&, const HexPos&) = default;
};

using HexMaskTable = std::array<std::array<std::uint8_t, 60>, 60>;  // [column][row]

// The neighbour of (x, y) in direction d; any d outside 0..6 leaves (x, y). Not clipped.
HexPos Neighbour(int x, int y, int d);
constexpr int OppositeDirection(int d) { return d <= 3 ? d + 3 : d - 3; }
int HexDistance(int x1, int y1, int x2, int y2);
// Top-left corner of the hex's 60 x 60 box on the full map picture.
HexPos HexOrigin(int x, int y);
// The hex under a point of the visible map, for a view scrolled to (scrollX, scrollY). May lie
// off the map (a column or row of -1).
HexPos PixelToHex(const HexMaskTable& mask, int px, int py, int scrollX, int scrollY);

// The hexagon as it is drawn: rows 0..14 widen by two pixels a row, 15..44 are full, and the
// bottom mirrors the top.
void BuildHexMask(HexMaskTable& mask);
bool HexMaskAt(const HexMaskTable& mask, int fx, int fy);

// The number of the first castle on (x, y), or -1.
int CastleAt(const Game& g, int x, int y);

// Slots of the units on the map at (x, y), lowest slot first; the rest of the list is -1.
struct UnitList {
  std::array<int, 141> Slots{};
  int Count = 0;
  int First() const { return Count > 0 ? Slots[0] : -1; }
};
UnitList UnitsAt(const Game& g, int x, int y);
// The lowest on-map slot at (x, y), or -1: the unit that speaks for the hex.
int FirstUnitAt(const Game& g, int x, int y);

}  // namespace milgant
