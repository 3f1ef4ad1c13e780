// The rules themselves on damaged saves. An input is a save image and, after it, a few bytes that
// choose a battle and a seed. Whatever the reader accepts is played on: the end of a phase, the
// computer's phase, and a battle at a hex where the two sides touch. After each step the
// invariants must hold, the sanitizers must stay quiet, and the same input played twice must
// leave the same bytes.
#include <array>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "FuzzSupport.h"
#include "core/combat/Battle.h"
#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Invariants.h"
#include "core/game/MapFile.h"
#include "core/game/RuleTables.h"
#include "core/game/SaveImage.h"
#include "core/rules/Siege.h"
#include "core/turn/PhaseSequence.h"
#include "core/turn/ScriptedUi.h"
#include "core/turn/SelfPlay.h"

namespace milgant::fuzz {
namespace {

std::unique_ptr<Game> base;  // a running game with the rule tables read
std::unique_ptr<MapTable> map;

struct Choice {
  int Contact = 0;          // which hex where the sides touch the battle is fought at
  bool Full = false;        // an engagement rather than a single battle
  std::uint32_t Seed = 1;
};

Choice Choose(std::span<const std::uint8_t> tail) {
  Choice c;
  if (tail.size() >= 1) c.Contact = tail[0];
  if (tail.size() >= 2) c.Full = (tail[1] & 1) != 0;
  for (std::size_t i = 2; i < tail.size() && i < 6; ++i) c.Seed = c.Seed * 131u + tail[i];
  return c;
}

void RequireSound(const Game& g, const char* what) { Require(CheckInvariants(g).empty(), what); }

// The `n`-th (counted round) unit on the map with an enemy next to it gives the hex attacked and
// the attacking side; false when the sides touch nowhere.
bool ContactHex(const Game& g, int n, HexPos& hex, int& attacker) {
  std::array<int, kUnitSlots> touching{};
  int count = 0;
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& d = g.U(slot);
    if (d.OnMap != 1 || d.Side > 1) continue;
    for (int k = 1; k <= 6; ++k) {
      const HexPos a = Neighbour(d.HexX, d.HexY, k);
      if (a.X >= 0 && a.Y >= 0 && UnitsOfSideAtHex(g, a.X, a.Y, 1 - d.Side).Count > 0) {
        touching[static_cast<std::size_t>(count++)] = slot;
        break;
      }
    }
  }
  if (count == 0) return false;
  const Unit& d = g.U(touching[static_cast<std::size_t>(n % count)]);
  hex = {d.HexX, d.HexY};
  attacker = 1 - d.Side;
  return true;
}

// Marks every unit of `side` next to the hex as attacking it, fights the battle there.
void FightAt(Game& g, Ui& ui, HexPos hex, int side, bool full) {
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    Unit& u = g.U(slot);
    if (u.OnMap == 1 && u.Side == side && HexDistance(u.HexX, u.HexY, hex.X, hex.Y) == 1) {
      u.TargetX = hex.X;
      u.TargetY = hex.Y;
    }
  }
  g.FullAttack = full ? 1 : 0;
  FightBattle(g, ui, hex.X, hex.Y);
  ui.BattleClose();
}

// Loads and plays one input; the bytes of the game at the end, or nothing when it was refused.
std::vector<std::uint8_t> Play(const std::uint8_t* data, std::size_t size) {
  if (size < kSaveImageSize) return {};
  const Choice choice = Choose({data + kSaveImageSize, size - kSaveImageSize});
  auto g = std::make_unique<Game>();
  if (!LoadSaveImage(*base, {data, kSaveImageSize}, *map, *g).Ok) return {};
  RequireSound(*g, "an accepted save breaks an invariant");
  g->Rng.SetSeed(choice.Seed);

  ScriptedUi ui;
  PhaseEnd(*g, ui);
  RequireSound(*g, "a phase end broke an invariant");
  if (g->GameState != 0) {
    PlayComputerPhaseFor(*g, ui, g->ComputerSide);
    RequireSound(*g, "the computer's phase broke an invariant");
  }
  HexPos hex{};
  int attacker = 0;
  if (g->GameState != 0 && ContactHex(*g, choice.Contact, hex, attacker)) {
    FightAt(*g, ui, hex, attacker, choice.Full);
    RequireSound(*g, "a battle broke an invariant");
  }
  Snapshot(*g);
  return {g->SaveImage.begin(), g->SaveImage.end()};
}

}  // namespace
}  // namespace milgant::fuzz

using namespace milgant;
using namespace milgant::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  base = std::make_unique<Game>();
  Require(LoadCrt(*base, DataFile("CRT.txt")).Ok, "CRT.txt of the game could not be read");
  map = std::make_unique<MapTable>();
  Require(LoadMap(*map, DataFile("Map.dat")).Ok, "Map.dat of the game could not be read");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> first = Play(data, size);
  if (first.empty()) return 0;
  Require(Play(data, size) == first, "the same input played twice left different games");
  return 0;
}
