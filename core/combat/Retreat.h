// Falling back out of a battle: the two-hex retreat search with its random picks, the broken
// side, and the computer defender's trial retreat that weighs supply and encirclement.
#pragma once

#include "core/game/HexGrid.h"

namespace milgant {

struct Game;
class Ui;

struct RetreatPath {
  bool Found = false;
  HexPos First{-1, -1};  // the hex stepped through, where a winner follows
  HexPos Final{-1, -1};  // where the stack ends
};

// The retreat of a stack of `side` on (x, y): a first step to an empty, enterable neighbour that
// no enemy can reach, picked at random (each one kept gets a retreat arrow), then a second step
// to an empty, enterable hex not next to (x, y), picked at random. A step with nothing to
// pick from ends the search without a draw.
RetreatPath FindRetreat(Game& g, Ui& ui, int x, int y, int side);

// A side is broken when none of its units is in order and none has more than this many steps.
constexpr int kBrokenStepLimit = 3;
bool SideBroken(const Game& g, const UnitList& units);

// How well the computer stands: the hexes its supply reaches plus the encirclement value of
// every hex of the map for it. Traces supply into the scratch tables.
int ComputerPositionValue(Game& g);
// Whether moving the defenders to `to` would raise the computer's position value. Leaves the
// game exactly as it was, scratch tables included.
bool TrialRetreatImproves(Game& g, const UnitList& defenders, HexPos to);

// Puts a unit on a hex; a unit that changes hex loses its field fortification.
void PlaceOnHex(Game& g, int slot, int x, int y);
// Every subordinate of `commander` joins him on his hex (fortification kept).
void GatherCorps(Game& g, int commander);

}  // namespace milgant
