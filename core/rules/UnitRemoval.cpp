#include "core/rules/UnitRemoval.h"

#include <string>

#include "core/game/Game.h"
#include "core/game/Rounding.h"
#include "core/game/Text.h"
#include "core/game/Ui.h"

namespace milgant {
namespace {

void LeaveCorps(Game& g, int slot) {
  Unit& u = g.U(slot);
  for (int i = 0; i < u.SubordinateCount && i < kMaxSubordinates; ++i) {
    const int sub = u.Subordinates[static_cast<std::size_t>(i)];
    if (sub >= 1 && sub < kUnitSlots) g.U(sub).CommanderIndex = -1;
  }
  u.Subordinates.fill(-1);
  u.SubordinateCount = 0;
  const int c = u.CommanderIndex;
  if (c >= 1 && c < kUnitSlots) {
    Unit& cmd = g.U(c);
    const int n = cmd.SubordinateCount < kMaxSubordinates ? cmd.SubordinateCount : kMaxSubordinates;
    int at = 0;
    while (at < n && cmd.Subordinates[static_cast<std::size_t>(at)] != slot) ++at;
    if (at < n) {
      for (int i = at; i + 1 < n; ++i) {
        cmd.Subordinates[static_cast<std::size_t>(i)] = cmd.Subordinates[static_cast<std::size_t>(i + 1)];
      }
      cmd.Subordinates[static_cast<std::size_t>(n - 1)] = -1;
      cmd.SubordinateCount = n - 1;
    }
  }
  // Even a fallen general keeps no tie to a corps that no longer lists him.
  u.CommanderIndex = -1;
}

}  // namespace

void RemoveUnit(Game& g, Ui& ui, int slot) {
  if (slot < 1 || slot >= kUnitSlots) return;
  Unit& u = g.U(slot);
  if (u.OnMap != 0) return;
  LeaveCorps(g, slot);
  u.TargetX = u.TargetY = -1;
  const int die = g.Rng.Die();
  if (die == kGeneralFallsOn) {
    ui.BattleMessage(Cp932ToUtf8Lossy(u.GeneralName.View()) + "は討ち取られました");
    ui.Happened(UnitEvent(g, EventKind::GeneralKilled, slot));
    return;
  }
  // The troops regroup at home. A computer playing side 0 gets them back sooner.
  u.EntryTurn = u.Side == 0 && g.ComputerSide == 0 ? g.Turn + g.Rng.Next(3) + 1 : g.Turn + die;
  u.CommanderIndex = -1;
  u.Steps = RoundHalfEven(u.MaxSteps / 3.0);
  u.CombatPower = RoundHalfEven(u.MaxCombatPower / 3.0);
  u.ActionPoints = u.MaxActionPoints;
  const HexPos home = kHomeHex[u.Side == 1 ? 1 : 0];
  u.HexX = static_cast<std::uint8_t>(home.X);
  u.HexY = static_cast<std::uint8_t>(home.Y);
  Event e = UnitEvent(g, EventKind::WillReturn, slot);
  e.Value = u.EntryTurn;
  ui.Happened(e);
}

}  // namespace milgant
