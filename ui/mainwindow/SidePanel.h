// What the side panel and the status line say, as plain functions of the game, so that the
// words can be checked without a window.
#pragma once

#include <QString>

namespace milgant {

struct Game;
struct Unit;

// Combat power as the panel shows it: halved (to the nearest, halves to even) while confused.
int ShownCombatPower(const Unit& u);
// Action points as the panel shows them: none once the unit may not move this turn.
int ShownActionPoints(const Unit& u);
// The status line with the mouse over hex (hoverX, hoverY); empty before the first game.
QString StatusLineText(const Game& g, int hoverX, int hoverY);

}  // namespace milgant
