// Taking a wiped-out unit off the books: its corps ties are cut, and either its general falls
// (a die of 3) or the troops regroup at home and come back some turns later with a third of
// their strength.
#pragma once

#include "core/game/HexGrid.h"

namespace milgant {

struct Game;
class Ui;

constexpr HexPos kHomeHex[2] = {{2, 5}, {18, 11}};
constexpr int kGeneralFallsOn = 3;

// Does nothing for a unit still on the map (the caller takes it off first).
void RemoveUnit(Game& g, Ui& ui, int slot);

}  // namespace milgant
