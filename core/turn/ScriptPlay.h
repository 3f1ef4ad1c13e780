// Playing a script of inputs on a game: each input between windows goes to the map-click
// dispatcher, and every window that opens on the way takes its own lines from the same script.
#pragma once

#include <string>
#include <string_view>

#include "core/game/InputScript.h"

namespace milgant {

struct Game;
class ScriptedUi;

// Plays every input of the feed on `g` through `ui` (which reads its windows' lines from the
// feed too). A ScriptError names the first line that cannot be played; the game is then half
// played and is to be thrown away, so callers play on a copy.
void PlayScript(Game& g, ScriptedUi& ui, InputFeed& feed);

// Reads and plays a script's text on a copy of `g`, and only when every line played does the
// copy replace `g`. Empty on success, else the error ("line N: ...").
std::string PlayScriptText(Game& g, ScriptedUi& ui, std::string_view text);

}  // namespace milgant
