#include "core/ai/Board.h"

#include "core/game/Game.h"
#include "core/game/HexGrid.h"

namespace milgant {

int Board::First(int x, int y) const {
  if (!OnMapHex(x, y)) return -1;
  return Head[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
}

int Board::CastleOn(int x, int y) const {
  if (!OnMapHex(x, y)) return -1;
  return Castle[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
}

int Board::CountOn(int x, int y) const {
  int n = 0;
  for (int s = First(x, y); s != -1; s = Next[static_cast<std::size_t>(s)]) ++n;
  return n;
}

void BuildBoard(const Game& g, Board& b) {
  for (auto& column : b.Head) column.fill(-1);
  for (auto& column : b.Castle) column.fill(-1);
  b.Next.fill(-1);
  // Slots are linked from the highest down, so each list runs in slot order.
  for (int slot = kUnitSlots - 1; slot >= 0; --slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap != 1 || !OnMapHex(u.HexX, u.HexY)) continue;
    auto& head = b.Head[u.HexX][u.HexY];
    b.Next[static_cast<std::size_t>(slot)] = head;
    head = static_cast<std::int16_t>(slot);
  }
  const int last = g.CastleCounter < kCastleSlots ? g.CastleCounter : kCastleSlots;
  for (int n = last - 1; n >= 1; --n) {  // the lowest-numbered castle on a hex is the one found
    const milgant::Castle& c = g.Castles[static_cast<std::size_t>(n)];
    if (OnMapHex(c.HexX, c.HexY)) b.Castle[static_cast<std::size_t>(c.HexX)][static_cast<std::size_t>(c.HexY)] = static_cast<std::int8_t>(n);
  }
}

int FirstSideAt(const Game& g, const Board& b, int x, int y) {
  const int s = b.First(x, y);
  return s == -1 ? -1 : g.U(s).Side;
}

}  // namespace milgant
