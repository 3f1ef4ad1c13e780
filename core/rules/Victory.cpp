#include "core/rules/Victory.h"

#include "core/rules/CastleFall.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Ui.h"

namespace milgant {

void OccupyCastles(Game& g, Ui& ui) {
  const int last = g.CastleCounter < kCastleSlots ? g.CastleCounter : kCastleSlots;
  for (int n = 1; n < last; ++n) {
    const Castle& c = g.Castles[static_cast<std::size_t>(n)];
    const int first = FirstUnitAt(g, c.HexX, c.HexY);
    if (first != -1 && g.U(first).Side != c.Owner) ChangeCastleOwner(g, ui, n, CastleCause::Occupied);
  }
}

int Winner(const Game& g) {
  if (g.H(kHomeCityX, kHomeCityY).Terrain == kHomeCityLostTerrain) return 1;
  if (g.Turn < kLastTurn) return -1;
  return g.VictoryPoints >= kWinningPoints ? 1 : 0;
}

int VictoryTest(Game& g, Ui& ui) {
  const int winner = Winner(g);
  if (winner == -1) return -1;
  Event e = MakeEvent(g, EventKind::GameEnds, winner);
  ui.Happened(e);
  ui.EndingStory(winner);
  g.GameState = 0;
  ui.MusicStop();
  return winner;
}

}  // namespace milgant
