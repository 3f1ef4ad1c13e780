// What must hold between any two commands of a game. Tests and long computer-against-computer
// runs check it after every phase; a loaded save must pass it before it replaces the game.
#pragma once

#include <string>
#include <vector>

namespace milgant {

struct Game;

// Every broken rule, one line each; empty when the state is sound.
std::vector<std::string> CheckInvariants(const Game& g);

}  // namespace milgant
