// milgant-cli commands over the battle rules on a saved game: the three force-ratio estimates
// at a hex, the strengths a round there would fire with, and a whole battle.
#include <string>

#include "core/combat/ForceRatio.h"
#include "cli/Cli.h"
#include "core/combat/Battle.h"
#include "core/combat/BattleRound.h"
#include "core/game/Game.h"
#include "core/turn/AttackPreview.h"
#include "core/turn/ScriptedUi.h"

namespace milgant::cli {
namespace {

HexPos TakeHex(Args& args) {
  const int x = static_cast<int>(args.NextInt("X", 0, kMapSize - 1));
  const int y = static_cast<int>(args.NextInt("Y", 0, kMapSize - 1));
  return {x, y};
}

nlohmann::json Slots(const UnitList& list) {
  nlohmann::json out = nlohmann::json::array();
  for (int i = 0; i < list.Count; ++i) out.push_back(list.Slots[static_cast<std::size_t>(i)]);
  return out;
}

int OddsCommand(Args& args) {
  const std::string file = args.Next("FILE");
  const HexPos h = TakeHex(args);
  const int side = static_cast<int>(args.NextInt("SIDE", 0, 1));
  args.Done();
  auto g = LoadGameFile(file, false);
  Print({{"AttackOdds", AttackOdds(*g, h.X, h.Y, side)},
         {"LocalRatioWide", LocalRatioWide(*g, h.X, h.Y, side)},
         {"LocalRatioNear", LocalRatioNear(*g, h.X, h.Y, side)}});
  return 0;
}

int StrengthsCommand(Args& args) {
  const std::string file = args.Next("FILE");
  const HexPos h = TakeHex(args);
  args.Done();
  auto g = LoadGameFile(file, false);
  BattleState s = GatherSides(*g, h.X, h.Y);
  ApplyCommandFactor(s);
  Print({{"AttackerSide", s.AttackerSide},
         {"AttackerUnits", Slots(s.AttackerUnits)},
         {"AttackerLeaders", Slots(s.AttackerLeaders)},
         {"AttackerStrength", s.AttackerStrength},
         {"AttackerSteps", s.AttackerSteps},
         {"AttackerModifier", s.AttackerModifier},
         {"DefenderUnits", Slots(s.DefenderUnits)},
         {"DefenderStrength", s.DefenderStrength},
         {"DefenderSteps", s.DefenderSteps},
         {"DefenderModifier", s.DefenderModifier},
         {"BattleCastle", s.BattleCastle},
         {"AcrossRiver", s.AcrossRiver},
         {"OddsRatio", OddsRatio(s)}});
  return 0;
}

int BattleCommand(Args& args) {
  const auto full = args.TakeOption("--full");
  RuleOptions options = TakeRuleOptions(args);
  const std::string file = args.Next("FILE");
  const HexPos h = TakeHex(args);
  args.Done();
  if (!full) throw UsageError("battle needs --full 0 or 1");
  const int fullAttack = static_cast<int>(ParseInt(*full, "--full", 0, 1));
  auto g = LoadGameFile(file, true);
  g->FullAttack = static_cast<std::uint8_t>(fullAttack);
  ApplySeed(*g, options);
  ScriptedUi ui;
  ui.Answers = options.Answers;
  const BattleResult r = FightBattle(*g, ui, h.X, h.Y);
  ui.BattleClose();
  nlohmann::json out = {{"log", LogJson(ui)},
                        {"Rounds", r.Rounds},
                        {"CastleFallen", r.CastleFallen},
                        {"AttackerRetreated", r.AttackerRetreated},
                        {"DefenderRetreated", r.DefenderRetreated},
                        {"AdvancedUnit", r.AdvancedUnit}};
  WriteIfAsked(*g, options, out, &ui);
  Print(out);
  return 0;
}

// The corps of SLOT attacking (X, Y) as the attack command would mark it: the odds, the first
// round's strengths and exact hit chances, and with --simulate an estimate of the whole battle.
int PreviewCommand(Args& args) {
  const auto simulate = args.TakeOption("--simulate");
  const auto seed = args.TakeOption("--seed");
  const std::string file = args.Next("FILE");
  const int slot = static_cast<int>(args.NextInt("SLOT", 1, kUnitSlots - 1));
  const HexPos h = TakeHex(args);
  args.Done();
  const int battles = simulate ? static_cast<int>(ParseInt(*simulate, "--simulate", 1, 100000)) : 0;
  const auto base = static_cast<std::uint32_t>(seed ? ParseInt(*seed, "--seed", 0, 4294967295LL) : 1);
  const auto g = LoadGameFile(file, true);
  const AttackPreview p = PreviewAttack(*g, slot, h.X, h.Y);
  if (p.Refusal != AttackRefusal::None) {
    throw UsageError("unit " + std::to_string(slot) + " cannot attack " + std::to_string(h.X) + "," +
                     std::to_string(h.Y) + ": " + std::string(RefusalText(p.Refusal)));
  }
  nlohmann::json out = {{"AttackOdds", p.Odds},
                        {"SingleRound", p.SingleRound},
                        {"Cost", p.Cost},
                        {"AttackerStrength", p.AttackerStrength},
                        {"DefenderStrength", p.DefenderStrength},
                        {"CommandFactor", p.CommandFactor},
                        {"TerrainValue", p.TerrainValue},
                        {"AcrossRiver", p.AcrossRiver},
                        {"AttackerFortified", p.AttackerFortified},
                        {"DefenderFortified", p.DefenderFortified},
                        {"Castle", p.Castle},
                        {"HitsOnAttacker", p.HitsOnAttacker},
                        {"HitsOnDefender", p.HitsOnDefender}};
  if (battles > 0) {
    const AttackEstimate e = SimulateAttack(*g, slot, h.X, h.Y, battles, base);
    out["Battles"] = e.Battles;
    out["Outcomes"] = {{"DefenderOut", e.DefenderOut}, {"AttackerOut", e.AttackerOut}, {"Undecided", e.Undecided}};
    out["ExpectedLoss"] = {{"Attacker", e.AttackerLoss}, {"Defender", e.DefenderLoss}};
  }
  Print(out);
  return 0;
}

const CommandRegistrar kOdds{"odds", "odds FILE X Y SIDE", OddsCommand};
const CommandRegistrar kStrengths{"strengths", "strengths FILE X Y", StrengthsCommand};
const CommandRegistrar kBattle{"battle", "battle FILE X Y --full 0|1 [--seed N] [--answers A,B,...] [--out FILE2]",
                               BattleCommand};
const CommandRegistrar kPreview{"preview", "preview FILE SLOT X Y [--simulate N] [--seed N]", PreviewCommand};

}  // namespace
}  // namespace milgant::cli
