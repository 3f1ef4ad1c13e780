// Scripts of the player's inputs: every line the reader takes is written back by the recorder
// as a line that reads as the same input; a script is then played on a game in its first turn.
// A script that stops at a line leaves the game byte for byte as it was; one played to its end
// leaves a game whose rules all hold.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/game/Game.h"
#include "core/game/InputScript.h"
#include "core/game/Invariants.h"
#include "core/game/RuleTables.h"
#include "core/turn/ScriptedUi.h"
#include "core/turn/PhaseSequence.h"
#include "core/turn/ScriptPlay.h"

namespace {
std::unique_ptr<milgant::Game> base;  // side 0's first turn, as `milgant-cli new --side 0 --seed 3 --start`
std::unique_ptr<milgant::Game> game;
std::vector<unsigned char> before;

bool SameInput(const milgant::Input& a, const milgant::Input& b) {
  return a.Kind == b.Kind && a.X == b.X && a.Y == b.Y && a.Menu == b.Menu && a.Button == b.Button;
}
}  // namespace

using namespace milgant;
using namespace milgant::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  base = std::make_unique<Game>();
  Require(LoadCrt(*base, DataFile("CRT.txt")).Ok, "CRT.txt of the game could not be read");
  base->Rng.SetSeed(3);
  ScriptedUi ui;
  ui.Answers = {1};
  Require(NewGame(*base, ui, DataFile("Map.dat")), "no new game on the shipped map");
  game = std::make_unique<Game>();
  before.resize(sizeof(Game));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  InputScript script;
  try {
    script = ParseInputScript(text);
  } catch (const ScriptError& e) {
    Require(e.Line >= 1, "a script error names no line");
    return 0;
  }
  int lastLine = 0;
  for (const Input& in : script.Inputs) {
    Require(in.Line > lastLine && in.Line <= script.LineCount, "an input names a line out of order");
    lastLine = in.Line;
    Input again;
    bool blank = true;
    std::string why;
    Require(ParseInputLine(FormatInput(in), again, blank, why) && !blank, "a recorded line does not read back");
    Require(SameInput(in, again), "a recorded line reads back as another input");
  }

  *game = *base;
  std::memcpy(before.data(), static_cast<const void*>(game.get()), sizeof(Game));
  ScriptedUi ui;
  const std::string error = PlayScriptText(*game, ui, text);
  if (!error.empty()) {
    Require(error.rfind("line ", 0) == 0, "a script error does not name its line");
    Require(std::memcmp(before.data(), static_cast<const void*>(game.get()), sizeof(Game)) == 0,
            "a script that stopped changed the game");
    return 0;
  }
  const auto broken = CheckInvariants(*game);
  if (!broken.empty()) std::fprintf(stderr, "%s\n", broken.front().c_str());
  Require(broken.empty(), "a rule broke in a game played by a script");
  return 0;
}
