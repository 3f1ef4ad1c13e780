// milgant-cli commands over the turn rules: movement ranges and moves, supply traces and
// checks, and one press of "フェイズ終了", each on a saved game.
#include <string>

#include "cli/Cli.h"
#include "core/game/Game.h"
#include "core/turn/ScriptedUi.h"
#include "core/rules/Movement.h"
#include "core/turn/PhaseSequence.h"
#include "core/rules/Supply.h"

namespace milgant::cli {
namespace {

int TakeSlot(Args& args) { return static_cast<int>(args.NextInt("SLOT", 1, kUnitSlots - 1)); }

int TakeSide(Args& args) { return static_cast<int>(args.NextInt("SIDE", 0, 1)); }

const Unit& UnitOnMap(const Game& g, int slot) {
  const Unit& u = g.U(slot);
  if (u.OnMap != 1 || !OnMapHex(u.HexX, u.HexY)) throw UsageError("unit " + std::to_string(slot) + " is not on the map");
  return u;
}

nlohmann::json RangeJson(const Game& g) {
  nlohmann::json paths = nlohmann::json::array();
  for (int x = 0; x < kMapSize; ++x) {
    nlohmann::json column = nlohmann::json::array();
    for (int y = 0; y < kMapSize; ++y) {
      column.push_back(std::string(g.MovePath[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)].View()));
    }
    paths.push_back(std::move(column));
  }
  return {{"MoveRemaining", Table20(g.MoveRemaining)}, {"MoveBlocked", Table20(g.MoveBlocked)}, {"MovePath", paths}};
}

// The range from the unit's hex with its action points, as the move command shows it. A unit
// waiting to enter is searched from the hex it will enter on.
void UnitRange(Game& g, int slot) {
  const Unit& u = g.U(slot);
  ComputeMoveRange(g, u.HexX, u.HexY, kUnitMoveRow, u.ActionPoints);
}

void Finish(Game& g, const RuleOptions& options, nlohmann::json& out, const ScriptedUi* ui = nullptr) {
  WriteIfAsked(g, options, out, ui);
  Print(out);
}

int RangeCommand(Args& args) {
  const std::string file = args.Next("FILE");
  const int slot = TakeSlot(args);
  args.Done();
  auto g = LoadGameFile(file, false);
  UnitRange(*g, slot);
  Print(RangeJson(*g));
  return 0;
}

int MoveCommand(Args& args) {
  RuleOptions options = TakeRuleOptions(args);
  const std::string file = args.Next("FILE");
  const int slot = TakeSlot(args);
  const int x = static_cast<int>(args.NextInt("X", 0, kMapSize - 1));
  const int y = static_cast<int>(args.NextInt("Y", 0, kMapSize - 1));
  args.Done();
  auto g = LoadGameFile(file, false);
  ApplySeed(*g, options);
  ScriptedUi ui;
  ui.Answers = options.Answers;
  const Unit& u = UnitOnMap(*g, slot);
  g->ActiveUnit = g->SelectedUnit = slot;
  g->ClickX = u.HexX;
  g->ClickY = u.HexY;
  ShowMoveRange(*g, ui, slot);
  if (g->MoveBlocked[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] != 0) {
    Print({{"moved", false}});
    return 0;
  }
  ClickMoveDestination(*g, ui, slot, x, y);
  ClickMoveConfirmation(*g, ui, slot, g->U(slot).HexX, g->U(slot).HexY);
  nlohmann::json out = {{"moved", true}, {"log", LogJson(ui)}, {"unit", UnitJson(*g, slot)}, {"GameState", g->GameState}};
  Finish(*g, options, out, &ui);
  return 0;
}

int SupplyCommand(Args& args) {
  const std::string file = args.Next("FILE");
  const int side = TakeSide(args);
  args.Done();
  auto g = LoadGameFile(file, false);
  g->PhaseSide = side;
  TraceSupply(*g, side);
  Print({{"SupplyRemaining", Table20(g->SupplyRemaining)}});
  return 0;
}

int SupplyCheckCommand(Args& args) {
  RuleOptions options = TakeRuleOptions(args);
  const std::string file = args.Next("FILE");
  const int side = TakeSide(args);
  args.Done();
  auto g = LoadGameFile(file, false);
  ApplySeed(*g, options);
  ScriptedUi ui;
  ui.Answers = options.Answers;
  g->PhaseSide = side;
  SupplyCheck(*g, ui, side);
  nlohmann::json units = nlohmann::json::array();
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g->U(slot);
    if (u.Side != side || u.EntryTurn == -1) continue;
    units.push_back({{"Slot", slot}, {"OnMap", u.OnMap}, {"Supplied", u.Supplied}, {"Steps", u.Steps},
                     {"CombatPower", u.CombatPower}, {"EntryTurn", u.EntryTurn}});
  }
  nlohmann::json out = {{"log", LogJson(ui)}, {"units", units}};
  Finish(*g, options, out, &ui);
  return 0;
}

int PhaseEndCommand(Args& args) {
  RuleOptions options = TakeRuleOptions(args);
  const auto opponent = TakeOpponent(args);
  const std::string file = args.Next("FILE");
  args.Done();
  auto g = LoadGameFile(file, true);
  ApplySeed(*g, options);
  ApplyOpponent(*g, opponent);
  ScriptedUi ui;
  ui.Answers = options.Answers;
  PhaseEnd(*g, ui);
  nlohmann::json out = {{"log", LogJson(ui)},
                        {"GameState", g->GameState},
                        {"Turn", g->Turn},
                        {"PhaseSide", g->PhaseSide},
                        {"ReplenishmentPoints", g->ReplenishmentPoints},
                        {"VictoryPoints", g->VictoryPoints},
                        {"Winner", ui.EndingWinner}};
  Finish(*g, options, out, &ui);
  return 0;
}

const CommandRegistrar kRange{"range", "range FILE SLOT", RangeCommand};
const CommandRegistrar kMove{"move", "move FILE SLOT X Y [--seed N] [--answers A,B,...] [--out FILE2]", MoveCommand};
const CommandRegistrar kSupply{"supply", "supply FILE SIDE", SupplyCommand};
const CommandRegistrar kSupplyCheck{"supply-check", "supply-check FILE SIDE [--seed N] [--answers A,B,...] [--out FILE2]",
                                    SupplyCheckCommand};
const CommandRegistrar kPhaseEnd{"phase-end", "phase-end FILE [--opponent standard|strong] [--seed N] [--answers A,B,...] [--out FILE2]",
                                 PhaseEndCommand};

}  // namespace
}  // namespace milgant::cli
