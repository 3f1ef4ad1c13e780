// Force-ratio estimates at a hex: the strength pressing on it against the strength holding it,
// with river, terrain, castle, leadership and fortification taken into account. Read only.
#pragma once

namespace milgant {

struct Game;

// Units marked to attack (x, y) that are not of side `s`, against everything standing there.
double AttackOdds(const Game& g, int x, int y, int s);
// Side s's units within 2 hexes against the other side's within 4.
double LocalRatioWide(const Game& g, int x, int y, int s);
// Side s's units within 2 hexes against the other side's within 2.
double LocalRatioNear(const Game& g, int x, int y, int s);

}  // namespace milgant
