// milgant-cli: the headless driver of the rules. Shared pieces of its commands: the command
// registry, argument reading, loading and writing save images, and JSON of the state and of
// what the rules showed. Every failure is a one-line message and exit status 2.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "desktop/Folders.h"
#include "core/game/Game.h"
#include "core/turn/ScriptedUi.h"

namespace milgant::cli {

// Bad arguments or files: reported as one line on standard error, exit status 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The words after the command name. Options may stand anywhere; positional words are taken
// in order.
class Args {
 public:
  explicit Args(std::vector<std::string> words) : words_(std::move(words)) {}

  // --name VALUE, removed from the words; nothing when absent.
  std::optional<std::string> TakeOption(const std::string& name);
  // --name alone.
  bool TakeFlag(const std::string& name);
  std::string Next(const std::string& what);
  long long NextInt(const std::string& what, long long lo, long long hi);
  // Fails on any word left over.
  void Done() const;

 private:
  std::vector<std::string> words_;
};

long long ParseInt(const std::string& text, const std::string& what, long long lo, long long hi);

// --seed, --answers and --out, shared by the commands that run rules.
struct RuleOptions {
  std::optional<std::uint32_t> Seed;
  std::deque<int> Answers;
  std::optional<std::string> Out;
};
RuleOptions TakeRuleOptions(Args& args);

// --opponent standard|strong for the commands that play the computer; nothing when absent.
std::optional<Opponent> TakeOpponent(Args& args);
// "standard", "strong" and, where `passive` is allowed, "passive" (a side that only ends its
// phases: nothing returned).
std::optional<Opponent> ParseOpponent(const std::string& word, const std::string& what, bool passive = false);
// The computer opponent the command plays with: the one asked for, else the one the game has.
void ApplyOpponent(Game& g, const std::optional<Opponent>& opponent);

// --data and --saves, taken from the command line before the command runs.
FolderOptions& Folders();
// A file of the data folder ("Map.dat", "CRT.txt"), found as the game finds it.
std::string DataFile(const std::string& name);
// A game file named on the command line: "slot:1".."slot:5" and "slot:auto" stand for
// Save1.dat..Save5.dat and Autosave.dat in the save folder; anything else is a path.
std::string GamePath(const std::string& word, bool forWriting);

// A fresh game as the program has it after start-up, seeded from the clock.
std::unique_ptr<Game> StartUpGame();
// Reads "CRT.txt" from the working folder, as the program does at start-up.
void LoadRuleData(Game& g);
// Loads a save file exactly as the game's load does; a refused file is a UsageError. With
// rules, "CRT.txt" is read first, as the program does at start-up.
std::unique_ptr<Game> LoadGameFile(const std::string& path, bool withRules = true);
// Seeds the generator when --seed was given (after loading, right before the rules run).
void ApplySeed(Game& g, const RuleOptions& options);
// Writes the save image of the game to a file, and beside it the chronicle ("x.chronicle" for
// "x.dat") when the game read had one or is new: what it held, then the events of `ui`.
void WriteGameFile(Game& g, const std::string& path, const ScriptedUi* ui = nullptr);
// With --out: writes the game there and names the file in the command's output.
void WriteIfAsked(Game& g, const RuleOptions& options, nlohmann::json& out, const ScriptedUi* ui = nullptr);
// A new game starts a chronicle of its own (written with it by WriteGameFile).
void StartChronicle();
// An event as milgant-cli prints it.
nlohmann::json EventJson(const Event& e);

nlohmann::json LogJson(const ScriptedUi& ui);
nlohmann::json StateJson(const Game& g);
nlohmann::json UnitJson(const Game& g, int slot);

template <typename Table>
nlohmann::json Table20(const Table& t) {
  nlohmann::json out = nlohmann::json::array();
  for (int x = 0; x < kMapSize; ++x) {
    nlohmann::json column = nlohmann::json::array();
    for (int y = 0; y < kMapSize; ++y) column.push_back(t[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)]);
    out.push_back(std::move(column));
  }
  return out;
}

// Prints one JSON document on standard output.
void Print(const nlohmann::json& j);

using CommandFn = std::function<int(Args&)>;
struct Command {
  std::string Name;
  std::string Usage;
  CommandFn Run;
};
std::vector<Command>& Commands();
// Registers a command at start-up: `static CommandRegistrar r{"name", "usage", Fn};`
struct CommandRegistrar {
  CommandRegistrar(std::string name, std::string usage, CommandFn run);
};

}  // namespace milgant::cli
