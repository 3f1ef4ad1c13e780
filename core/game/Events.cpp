#include "core/game/Events.h"

#include "core/game/Game.h"

namespace milgant {
namespace {

constexpr std::array<std::string_view, kEventKinds> kNames = {
    "PhaseBegins", "Replenished", "Attached",      "Detached",   "Moved",         "Battle",   "OutOfSupply",
    "GeneralKilled", "WillReturn", "Arrived", "CastleChanged", "VictoryPoints", "GameEnds", "MoveTakenBack"};

}  // namespace

std::string_view EventKindName(EventKind k) {
  const auto i = static_cast<std::size_t>(k);
  return i < kNames.size() ? kNames[i] : std::string_view("?");
}

bool EventKindFromName(std::string_view name, EventKind& out) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == name) {
      out = static_cast<EventKind>(i);
      return true;
    }
  }
  return false;
}

Event MakeEvent(const Game& g, EventKind kind, int side) {
  Event e;
  e.Kind = kind;
  e.Turn = g.Turn;
  e.Phase = g.GameState;
  e.Side = side;
  return e;
}

Event UnitEvent(const Game& g, EventKind kind, int slot, int other) {
  const Unit& u = g.U(slot);
  Event e = MakeEvent(g, kind, u.Side);
  e.Unit = slot;
  e.Other = other;
  e.X = u.HexX;
  e.Y = u.HexY;
  return e;
}

Event MoveEvent(const Game& g, int slot, int fromX, int fromY, int points) {
  Event e = UnitEvent(g, EventKind::Moved, slot);
  e.ToX = e.X;
  e.ToY = e.Y;
  e.X = fromX;
  e.Y = fromY;
  e.Value = points;
  return e;
}

ArmyTally TallyArmy(const Game& g, int side) {
  ArmyTally t;
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap != 1 || u.Side != side) continue;
    ++t.Units;
    t.Steps += u.Steps;
    t.CombatPower += u.CombatPower;
  }
  for (int n = 1; n < g.CastleCounter && n < kCastleSlots; ++n) {
    if (g.Castles[static_cast<std::size_t>(n)].Owner == side) ++t.Castles;
  }
  return t;
}

}  // namespace milgant
