// A castle changing hands: by occupation, by storm in battle, or by surrender after a siege.
// The hex's terrain code shows the holder in its lowest bit, and cities taken or lost move
// side 1's victory points.
#pragma once

#include "core/game/Events.h"
#include "core/game/HexGrid.h"

namespace milgant {

struct Game;
class Ui;

// Victory points for a city hex that has just become terrain `newCode`.
int VictoryPointChange(int newCode);
// The holder flips; a city hex changes its code by one and the points follow the table.
void ChangeCastleOwner(Game& g, Ui& ui, int castle, CastleCause cause);
// Stormed in battle: the window shows the fall, morale goes, durability and strength are
// restored for the new holder.
void CastleFalls(Game& g, Ui& ui, int castle);
// Surrender after a siege: as a fall, but the durability stays as it was; the units inside are
// wiped out and removed, and the window closes.
void CastleSurrenders(Game& g, Ui& ui, int castle, const UnitList& garrison);

}  // namespace milgant
