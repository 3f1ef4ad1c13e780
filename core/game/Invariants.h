// What must hold between any two commands of a game. Tests and long computer-against-computer
// runs check it after every phase; a loaded save must pass it before it replaces the game.
#pragma once

#include <string>
#include <vector>

namespace milgant {

struct Game;

enum class InvariantScope {
  Play,  // everything that holds between two commands of a running game
  Load,  // what a save file must hold to be played at all: corps links, slots and places
};

// Every broken rule, one line each; empty when the state is sound. A loaded file is held to
// the rules that keep the game from tripping over itself; whether a castle hex still shows
// its holder is a matter of play, and a file that disagrees is read as it is.
std::vector<std::string> CheckInvariants(const Game& g, InvariantScope scope = InvariantScope::Play);

}  // namespace milgant
