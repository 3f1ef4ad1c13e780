// The computer's phase as the chosen opponent plays it: the standard opponent, or the stronger
// one. The turn sequence and self-play call this, never one opponent directly.
#pragma once

namespace milgant {

struct Game;
class Ui;

// Plays the computer side's whole phase with g.ComputerOpponent.
void RunOpponentPhase(Game& g, Ui& ui);

}  // namespace milgant
