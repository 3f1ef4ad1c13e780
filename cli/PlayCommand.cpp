// milgant-cli play: a saved game played on by a script of the player's inputs (or a recording
// made by the game window), with the log of everything the rules showed.
#include <fstream>
#include <sstream>
#include <string>

#include "cli/Cli.h"
#include "core/game/Game.h"
#include "core/game/InputScript.h"
#include "core/turn/ScriptedUi.h"
#include "core/turn/ScriptPlay.h"

namespace milgant::cli {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw UsageError(path + ": cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int PlayCommand(Args& args) {
  RuleOptions options = TakeRuleOptions(args);
  const auto scriptPath = args.TakeOption("--script");
  const auto opponent = TakeOpponent(args);
  const std::string file = args.Next("FILE");
  args.Done();
  if (!scriptPath) throw UsageError("play needs --script FILE");
  if (!options.Answers.empty()) throw UsageError("play takes its answers from the script, not from --answers");
  InputScript script;
  try {
    script = ParseInputScript(ReadText(*scriptPath));
  } catch (const ScriptError& e) {
    throw UsageError(*scriptPath + " " + e.what());
  }
  auto g = LoadGameFile(file, true);
  // The unit window's buttons as the game's own load sets them for the phase.
  if (g->GameState == 3 || g->GameState == 7) SetUnitButtonsForPhase(*g, 3);
  if (g->GameState == 27) SetUnitButtonsForPhase(*g, 27);
  if (g->GameState == 2) SetUnitButtonsForPhase(*g, 2);
  // The seed given wins; otherwise a recording's own seed.
  if (!options.Seed && script.Seed) options.Seed = script.Seed;
  ApplySeed(*g, options);
  // The advance limit is not saved: a recording says what it was.
  if (script.AdvanceLimit) g->AdvanceLimit = *script.AdvanceLimit;
  // The opponent given wins; otherwise the one the recording was played against.
  ApplyOpponent(*g, opponent ? opponent : script.Played);
  ScriptedUi ui;
  InputFeed feed(std::move(script));
  try {
    PlayScript(*g, ui, feed);
  } catch (const ScriptError& e) {
    // Nothing is written: the saved game stays as it was before the script.
    throw UsageError(*scriptPath + " " + e.what());
  }
  nlohmann::json out = {{"log", LogJson(ui)},
                        {"GameState", g->GameState},
                        {"Turn", g->Turn},
                        {"PhaseSide", g->PhaseSide},
                        {"ReplenishmentPoints", g->ReplenishmentPoints},
                        {"VictoryPoints", g->VictoryPoints},
                        {"Winner", ui.EndingWinner}};
  WriteIfAsked(*g, options, out, &ui);
  Print(out);
  return 0;
}

const CommandRegistrar kPlay{"play", "play FILE --script FILE [--opponent standard|strong] [--seed N] [--out FILE2]", PlayCommand};

}  // namespace
}  // namespace milgant::cli
