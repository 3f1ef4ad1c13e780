// A save file loaded into a running game. A refused file must leave the game byte for byte as
// it was; an accepted one must be exactly the file, must go through a phase end, and must come
// back byte-identical through save, load and save again, before and after that phase end.
#include <cstring>
#include <memory>
#include <vector>

#include "FuzzSupport.h"
#include "core/game/Game.h"
#include "core/game/Invariants.h"
#include "core/game/Quantities.h"
#include "core/game/RuleTables.h"
#include "core/game/SaveImage.h"
#include "core/turn/ScriptedUi.h"
#include "core/turn/PhaseSequence.h"

namespace milgant::fuzz {
namespace {

std::unique_ptr<Game> base;      // the game running when the player loads
std::unique_ptr<Game> game;      // the game the file is loaded into
std::unique_ptr<Game> other;     // the game the round trip loads into
std::vector<unsigned char> before;

bool Saveable(const Game& g) { return MaySave(g); }

// Save -> load into another game -> save: both files hold the same bytes, and the second
// game is the first one as saved.
void RoundTrip(Game& g) {
  // A game that has ended has nothing left to save: a load refuses it, as it must.
  if (g.GameState == 0) return;
  ScriptedUi ui;
  if (Saveable(g)) {
    Require(SaveGame(g, ui, 2, ScratchDir()), "a loaded game in a player's phase could not be saved");
  } else {
    Snapshot(g);
    Require(WriteFileAtomically(ScratchDir() + "/" + SaveFileName(2), g.SaveImage), "the save could not be written");
  }
  *other = *base;
  ScriptedUi ui2;
  Require(LoadGame(*other, ui2, 2, ScratchDir(), DataFile("Map.dat")), "a game the program saved was refused");
  Snapshot(*other);
  Require(std::memcmp(other->SaveImage.data(), g.SaveImage.data(), kSaveImageSize) == 0,
          "save, load and save again did not give the same bytes");
  if (Saveable(*other)) {
    Require(SaveGame(*other, ui2, 3, ScratchDir()), "the reloaded game could not be saved");
    Require(ReadWhole(ScratchDir() + "/" + SaveFileName(2)) == ReadWhole(ScratchDir() + "/" + SaveFileName(3)),
            "the second save file differs from the first");
  }
}

void RequireSound(const Game& g, const char* what) {
  Require(ValidateState(g, nullptr), what);
  Require(CheckQuantities(g, nullptr), what);
  Require(CheckInvariants(g, InvariantScope::Load).empty(), what);
}

}  // namespace
}  // namespace milgant::fuzz

using namespace milgant;
using namespace milgant::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  base = std::make_unique<Game>();
  Require(LoadCrt(*base, DataFile("CRT.txt")).Ok, "CRT.txt of the game could not be read");
  base->Rng.SetSeed(4242);
  ScriptedUi ui;
  ui.Answers = {1};
  Require(NewGame(*base, ui, DataFile("Map.dat")), "no new game on the shipped map");
  for (int i = 0; i < 3; ++i) PhaseEnd(*base, ui);
  game = std::make_unique<Game>();
  other = std::make_unique<Game>();
  before.resize(sizeof(Game));
  ScratchDir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  *game = *base;
  std::memcpy(before.data(), static_cast<const void*>(game.get()), sizeof(Game));
  WriteScratch(SaveFileName(1), data, size);
  ScriptedUi ui;
  if (!LoadGame(*game, ui, 1, ScratchDir(), DataFile("Map.dat"))) {
    Require(std::memcmp(before.data(), static_cast<const void*>(game.get()), sizeof(Game)) == 0,
            "a refused save changed the running game");
    Require(!ui.Log.empty() && ui.Log[0].Text.starts_with("このファイルはセーブファイルではありません。"),
            "a refused save was not told to the player");
    return 0;
  }
  Require(size >= kSaveImageSize, "a short save was accepted");
  Snapshot(*game);
  Require(std::memcmp(game->SaveImage.data(), data, kSaveImageSize) == 0, "the loaded game is not the file");
  RequireSound(*game, "an accepted save is not sound");
  RoundTrip(*game);
  if (Saveable(*game)) {
    ScriptedUi play;
    PhaseEnd(*game, play);
    RequireSound(*game, "the game broke in the phase end after a load");
    RoundTrip(*game);
  }
  return 0;
}
