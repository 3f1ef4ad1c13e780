#include "core/game/HexGrid.h"

#include <cstdlib>

#include "core/game/Game.h"

namespace milgant {

HexPos Neighbour(int x, int y, int d) {
  const bool odd = (y & 1) != 0;
  switch (d) {
    case 0: return {x, y};
    case 1: return odd ? HexPos{x + 1, y - 1} : HexPos{x, y - 1};
    case 2: return {x + 1, y};
    case 3: return odd ? HexPos{x + 1, y + 1} : HexPos{x, y + 1};
    case 4: return odd ? HexPos{x, y + 1} : HexPos{x - 1, y + 1};
    case 5: return {x - 1, y};
    case 6: return odd ? HexPos{x, y - 1} : HexPos{x - 1, y - 1};
    default: return {x, y};
  }
}

int HexDistance(int x1, int y1, int x2, int y2) {
  if (x1 == x2 && y1 == y2) return 0;
  // On equal rows the second hex counts as the top one.
  const bool firstOnTop = y1 < y2;
  const int xt = firstOnTop ? x1 : x2;
  const int yt = firstOnTop ? y1 : y2;
  const int xb = firstOnTop ? x2 : x1;
  const int dy = std::abs(y1 - y2);
  const int h = (dy + 1) / 2;
  int lo = 0;
  int hi = 0;
  if ((yt & 1) != 0) {
    hi = xt + h;
    lo = hi - dy;
  } else {
    lo = xt - h;
    hi = lo + dy;
  }
  if (xb > hi) return dy + (xb - hi);
  if (xb < lo) return dy + (lo - xb);
  return dy;
}

HexPos HexOrigin(int x, int y) {
  const int s = (y & 1) != 0 ? 29 : 0;
  return {x * 60 + s, y * 44};
}

void BuildHexMask(HexMaskTable& mask) {
  for (int r = 0; r < 60; ++r) {
    const int rr = r >= 45 ? 59 - r : r;
    for (int c = 0; c < 60; ++c) {
      bool inside = true;
      if (rr <= 14) inside = c >= 29 - 2 * rr && c <= 30 + 2 * rr;
      mask[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] = inside ? 1 : 0;
    }
  }
}

bool HexMaskAt(const HexMaskTable& mask, int fx, int fy) {
  if (fx < 0 || fx >= 60 || fy < 0 || fy >= 60) return false;
  return mask[static_cast<std::size_t>(fx)][static_cast<std::size_t>(fy)] != 0;
}

HexPos PixelToHex(const HexMaskTable& mask, int px, int py, int scrollX, int scrollY) {
  // Divisions and remainders truncate toward zero, as C++ does.
  const int row = (py + scrollY) / 44;
  const int s = (row & 1) != 0 ? 29 : 0;
  const int col = (px + scrollX - s) / 60;
  const int fx = (px + scrollX - s) % 60;
  const int fy = (py + scrollY) % 44;
  if (HexMaskAt(mask, fx, fy)) return {col, row};
  // Outside the hexagon: one of the two top corners, which belong to the row above.
  if ((row & 1) != 0) {
    if (HexMaskAt(mask, fx + 29, fy + 44)) return {col, row - 1};
    return {col + 1, row - 1};
  }
  if (fx >= 30 && fx <= 60) return {col, row - 1};
  return {col - 1, row - 1};
}

int CastleAt(const Game& g, int x, int y) {
  const int last = g.CastleCounter < kCastleSlots ? g.CastleCounter : kCastleSlots;
  for (int n = 1; n < last; ++n) {
    const Castle& c = g.Castles[static_cast<std::size_t>(n)];
    if (c.HexX == x && c.HexY == y) return n;
  }
  return -1;
}

UnitList UnitsAt(const Game& g, int x, int y) {
  UnitList list;
  list.Slots.fill(-1);
  for (int slot = 0; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap == 1 && u.HexX == x && u.HexY == y) list.Slots[static_cast<std::size_t>(list.Count++)] = slot;
  }
  return list;
}

int FirstUnitAt(const Game& g, int x, int y) {
  for (int slot = 0; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap == 1 && u.HexX == x && u.HexY == y) return slot;
  }
  return -1;
}

}  // namespace milgant
