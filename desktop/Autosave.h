// The autosave: at the start of each of the human's turns the game is also written to
// Autosave.dat in the save folder, atomically like every save, without a word to the player
// unless it fails.
#pragma once

#include <string>

namespace milgant {

struct Game;

inline constexpr const char* kAutosaveFile = "Autosave.dat";

// True when the step from `stateBefore` to the game's state now begins a turn of the human's:
// the replenishment phase (2) reached from any other state.
bool TurnBegan(int stateBefore, const Game& g);

// Writes the game as a save would (the save folder is created when missing). The running game
// is not changed, not even its save image; a failure leaves an older Autosave.dat as it was
// and returns false with *why.
bool WriteAutosave(Game& g, const std::string& saveFolder, std::string* why = nullptr);

}  // namespace milgant
