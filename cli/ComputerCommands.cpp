// milgant-cli commands over the computer opponent: its whole phase on a saved game, the plan
// and move it would choose for one unit, and whole games played by it against a side that
// only ends its phases, or against itself.
#include <iostream>
#include <string>

#include "core/ai/ComputerMove.h"
#include "core/ai/ComputerPhase.h"
#include "core/turn/SelfPlay.h"
#include "cli/Cli.h"
#include "core/game/Chronicle.h"
#include "core/game/SaveImage.h"
#include "core/game/Game.h"
#include "core/turn/ScriptedUi.h"

namespace milgant::cli {
namespace {

constexpr int kInvariantBroken = 3;

int ComputerPhaseCommand(Args& args) {
  RuleOptions options = TakeRuleOptions(args);
  const std::string file = args.Next("FILE");
  args.Done();
  auto g = LoadGameFile(file, true);
  ApplySeed(*g, options);
  ScriptedUi ui;
  ui.Answers = options.Answers;
  PlayComputerPhaseFor(*g, ui, g->ComputerSide);
  nlohmann::json out = {{"log", LogJson(ui)}, {"state", StateJson(*g)}};
  WriteIfAsked(*g, options, out, &ui);
  Print(out);
  return 0;
}

int PlanCommand(Args& args) {
  RuleOptions options = TakeRuleOptions(args);
  const std::string file = args.Next("FILE");
  const int slot = static_cast<int>(args.NextInt("SLOT", 1, kUnitSlots - 1));
  args.Done();
  auto g = LoadGameFile(file, true);
  const Unit& u = g->U(slot);
  if (u.OnMap != 1 || u.Side != g->ComputerSide || !OnMapHex(u.HexX, u.HexY)) {
    throw UsageError("unit " + std::to_string(slot) + " is not a unit of the computer's side on the map");
  }
  g->PhaseSide = g->ComputerSide;
  PlanMove(*g, slot);
  ExecuteComputerMove(*g, slot);
  nlohmann::json out = {{"MoveGoalX", u.MoveGoalX},
                        {"MoveGoalY", u.MoveGoalY},
                        {"Route", std::string(u.Route.View())},
                        {"RouteDestX", u.RouteDestX},
                        {"RouteDestY", u.RouteDestY},
                        {"ActionPoints", u.ActionPoints},
                        {"MaxActionPoints", u.MaxActionPoints},
                        {"MoveScoreChosen", u.MoveScoreChosen},
                        {"MoveScoreAtCommander", u.MoveScoreAtCommander}};
  WriteIfAsked(*g, options, out);
  Print(out);
  return 0;
}

int AutoplayCommand(Args& args) {
  const auto side = args.TakeOption("--side");
  const auto seed = args.TakeOption("--seed");
  const auto turns = args.TakeOption("--turns");
  const bool both = args.TakeFlag("--both");
  const auto out = args.TakeOption("--out");
  const auto chronicle = args.TakeOption("--chronicle");
  args.Done();
  if (!seed) throw UsageError("autoplay needs --seed N");
  if (!side && !both) throw UsageError("autoplay needs --side S (or --both)");
  SelfPlayOptions o;
  o.HumanSide = side ? static_cast<int>(ParseInt(*side, "--side", 0, 1)) : 0;
  o.Both = both;
  o.Seed = static_cast<std::uint32_t>(ParseInt(*seed, "--seed", 0, 4294967295LL));
  if (turns) o.Turns = static_cast<int>(ParseInt(*turns, "--turns", 1, 1000));
  o.KeepEvents = chronicle || out;
  o.MapPath = DataFile("Map.dat");
  auto g = StartUpGame();
  LoadRuleData(*g);
  const SelfPlayResult r = PlaySelf(*g, o);
  if (!r.Started) throw UsageError("Map.dat cannot be read");
  if (!r.Broken.empty()) {
    std::cerr << "milgant-cli autoplay: seed " << o.Seed << ": " << r.Broken << '\n';
    return kInvariantBroken;
  }
  // The game where it stopped, for a later command (or a fuzz corpus): only a game still
  // running is a save; a game that ended has nothing left to load.
  if (out && !MaySave(*g)) throw UsageError("--out: the game ended in turn " + std::to_string(g->Turn) + "; nothing to save");
  Chronicle c;
  c.Events = r.Events;
  if (chronicle && !WriteChronicle(c, *chronicle)) throw UsageError(*chronicle + ": cannot be written");
  if (out) {
    // The game written goes on with the chronicle of everything played so far.
    ScriptedUi played;
    played.Events = std::move(c.Events);
    StartChronicle();
    WriteGameFile(*g, *out, &played);
  }
  nlohmann::json castles = nlohmann::json::array();
  for (const CastleTaken& c : r.CastlesTaken) castles.push_back({c.Turn, c.Castle, c.NewOwner});
  nlohmann::json result = {{"winner", r.Winner},
                           {"turns", r.Turns},
                           {"battles", r.Battles},
                           {"castlesTaken", castles},
                           {"unitsLost", r.UnitsLost},
                           {"victoryPoints", r.VictoryPoints}};
  if (out) result["out"] = *out;
  Print(result);
  return 0;
}

// A chronicle as JSON: the events in order and each side's war in numbers. FILE is the
// chronicle itself, or the game it goes with.
int ChronicleCommand(Args& args) {
  const std::string word = args.Next("FILE");
  args.Done();
  std::string path = word;
  if (word.rfind("slot:", 0) == 0 || !word.ends_with(".chronicle")) path = ChronicleFileFor(GamePath(word, false));
  Chronicle c;
  std::string why;
  switch (ReadChronicle(path, 0, c, &why)) {
    case ChronicleRead::Missing: throw UsageError(path + ": no such chronicle");
    case ChronicleRead::Damaged: throw UsageError(path + ": damaged: " + why);
    case ChronicleRead::Read: break;
  }
  nlohmann::json events = nlohmann::json::array();
  for (const Event& e : c.Events) events.push_back(EventJson(e));
  nlohmann::json summary;
  const auto s = Summarise(c);
  for (int side = 0; side < 2; ++side) {
    const WarSummary& w = s[static_cast<std::size_t>(side)];
    summary[std::to_string(side)] = {{"BattlesAttacked", w.BattlesAttacked}, {"BattlesDefended", w.BattlesDefended},
                                     {"BattlesWon", w.BattlesWon},           {"StepsLost", w.StepsLost},
                                     {"StepsInflicted", w.StepsInflicted},   {"UnitsLost", w.UnitsLost},
                                     {"GeneralsKilled", w.GeneralsKilled},   {"CastlesTaken", w.CastlesTaken},
                                     {"CastlesLost", w.CastlesLost},         {"HitsDealt", w.HitsDealt},
                                     {"HitsExpected", w.HitsExpected100 / 100.0}};
  }
  Print({{"start", c.StartTurn}, {"events", events}, {"summary", summary}});
  return 0;
}

const CommandRegistrar kChronicle{"chronicle", "chronicle FILE   (a chronicle, or the game file it goes with)",
                                  ChronicleCommand};
const CommandRegistrar kComputerPhase{"computer-phase", "computer-phase FILE [--seed N] [--answers A,B,...] [--out FILE2]",
                                      ComputerPhaseCommand};
const CommandRegistrar kPlan{"plan", "plan FILE SLOT [--out FILE2]", PlanCommand};
const CommandRegistrar kAutoplay{"autoplay", "autoplay --side S --seed N [--both] [--turns T] [--out FILE] [--chronicle FILE]", AutoplayCommand};

}  // namespace
}  // namespace milgant::cli
