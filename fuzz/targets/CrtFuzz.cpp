// "CRT.txt": a refused table leaves the one in use as it was; a table the reader takes holds
// zero in row 0 and fights the battles of a game in full contact (one action phase of each
// side, moved by the computer) with every rule holding.
#include <cstdio>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "core/turn/SelfPlay.h"
#include "core/game/Game.h"
#include "core/game/Invariants.h"
#include "core/game/RuleTables.h"
#include "core/turn/ScriptedUi.h"

namespace {
std::unique_ptr<milgant::Game> contact;  // a game some turns in, the armies touching
std::unique_ptr<milgant::Game> game;
}  // namespace

using namespace milgant;
using namespace milgant::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  contact = std::make_unique<Game>();
  Require(LoadCrt(*contact, DataFile("CRT.txt")).Ok, "CRT.txt of the game could not be read");
  SelfPlayOptions o;
  o.Both = true;
  o.Turns = 2;
  o.Seed = 11;
  o.MapPath = DataFile("Map.dat");
  const SelfPlayResult r = PlaySelf(*contact, o);
  Require(r.Started && r.Broken.empty() && contact->GameState != 0, "no game in contact to fight with");
  game = std::make_unique<Game>();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  *game = *contact;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const CrtLoadResult r = ParseCrt(*game, text, "CRT.txt");
  if (!r.Ok) {
    Require(game->CrtTable == contact->CrtTable, "a refused table changed the one in use");
    Require(!r.Reason.empty(), "a refused table gave no reason");
    return 0;
  }
  for (int c = 0; c < kCrtColumns; ++c) Require(game->CrtTable[static_cast<std::size_t>(c)][0] == 0, "row 0 is not zero");
  ScriptedUi ui;
  for (int side = 0; side < 2; ++side) {
    PlayComputerPhaseFor(*game, ui, side);
    const auto broken = CheckInvariants(*game);
    if (!broken.empty()) std::fprintf(stderr, "%s\n", broken.front().c_str());
    Require(broken.empty(), "a rule broke in the battles fought with this table");
  }
  return 0;
}
