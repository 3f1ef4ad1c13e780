// The computer side's whole phase: postures, corps, objectives, moves and attacks.
#pragma once

namespace milgant {

struct Game;
class Ui;

// Runs with GameState 15 and PhaseSide set to the computer's side by the turn sequence.
void RunComputerPhase(Game& g, Ui& ui);

}  // namespace milgant
