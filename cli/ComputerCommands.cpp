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
  const auto opponent = TakeOpponent(args);
  const std::string file = args.Next("FILE");
  args.Done();
  auto g = LoadGameFile(file, true);
  ApplySeed(*g, options);
  ApplyOpponent(*g, opponent);
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
  const auto ai0 = args.TakeOption("--ai0");
  const auto ai1 = args.TakeOption("--ai1");
  args.Done();
  if (!seed) throw UsageError("autoplay needs --seed N");
  const bool players = ai0 || ai1;
  if (!side && !both && !players) throw UsageError("autoplay needs --side S (or --both, or --ai0 and --ai1)");
  SelfPlayOptions o;
  o.HumanSide = side ? static_cast<int>(ParseInt(*side, "--side", 0, 1)) : 0;
  o.Both = both;
  if (players) {
    if (!ai0 || !ai1) throw UsageError("autoplay needs both --ai0 and --ai1");
    if (both) throw UsageError("--both and --ai0/--ai1 do not go together");
    const std::optional<Opponent> p0 = ParseOpponent(*ai0, "--ai0", true);
    const std::optional<Opponent> p1 = ParseOpponent(*ai1, "--ai1", true);
    if (!p0 && !p1) throw UsageError("--ai0 and --ai1 cannot both be passive");
    // A passive side is the one that only ends its phases; with two players the computer plays
    // both, and --side still says which of them takes the human's turn order (side 0 unless given).
    if (!p0 || !p1) {
      const int passive = p0 ? 1 : 0;
      if (side && o.HumanSide != passive) throw UsageError("--side must name the passive side");
      o.HumanSide = passive;
    } else {
      o.Both = true;
    }
    o.Players = {p0.value_or(Opponent::Standard), p1.value_or(Opponent::Standard)};
  }
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
const CommandRegistrar kComputerPhase{"computer-phase",
                                      "computer-phase FILE [--opponent standard|strong] [--seed N] [--answers A,B,...] [--out FILE2]",
                                      ComputerPhaseCommand};
const CommandRegistrar kPlan{"plan", "plan FILE SLOT [--out FILE2]", PlanCommand};
const CommandRegistrar kAutoplay{"autoplay",
                                 "autoplay (--side S [--both] | --ai0 P --ai1 P) --seed N [--turns T] [--out FILE] [--chronicle FILE]\n"
                                 "      P: standard, strong or passive (a side that only ends its phases)",
                                 AutoplayCommand};

}  // namespace
}  // namespace milgant::cli
