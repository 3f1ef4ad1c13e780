#include "cli/Cli.h"

#include <charconv>
#include <iostream>

#include "core/game/RuleTables.h"
#include "core/game/Chronicle.h"
#include "core/game/SaveImage.h"
#include "core/game/Scenario.h"
#include "core/game/Text.h"

namespace milgant::cli {

std::optional<std::string> Args::TakeOption(const std::string& name) {
  for (std::size_t i = 0; i < words_.size(); ++i) {
    if (words_[i] != name) continue;
    if (i + 1 >= words_.size()) throw UsageError(name + " needs a value");
    std::string value = words_[i + 1];
    words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(i), words_.begin() + static_cast<std::ptrdiff_t>(i + 2));
    return value;
  }
  return std::nullopt;
}

bool Args::TakeFlag(const std::string& name) {
  for (std::size_t i = 0; i < words_.size(); ++i) {
    if (words_[i] == name) {
      words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
  }
  return false;
}

std::string Args::Next(const std::string& what) {
  if (words_.empty()) throw UsageError("missing " + what);
  std::string w = words_.front();
  if (w.size() > 2 && w.rfind("--", 0) == 0) throw UsageError("unknown option " + w);
  words_.erase(words_.begin());
  return w;
}

long long Args::NextInt(const std::string& what, long long lo, long long hi) {
  return ParseInt(Next(what), what, lo, hi);
}

void Args::Done() const {
  if (!words_.empty()) throw UsageError("unexpected argument " + words_.front());
}

long long ParseInt(const std::string& text, const std::string& what, long long lo, long long hi) {
  long long v = 0;
  const char* end = text.data() + text.size();
  const auto r = std::from_chars(text.data(), end, v);
  if (text.empty() || r.ec != std::errc() || r.ptr != end) throw UsageError(what + " must be an integer: " + text);
  if (v < lo || v > hi) {
    throw UsageError(what + " must lie in " + std::to_string(lo) + ".." + std::to_string(hi) + ": " + text);
  }
  return v;
}

std::optional<Opponent> ParseOpponent(const std::string& word, const std::string& what, bool passive) {
  if (word == "standard") return Opponent::Standard;
  if (word == "strong") return Opponent::Strong;
  if (passive && word == "passive") return std::nullopt;
  throw UsageError(what + " must be standard" + std::string(passive ? ", strong or passive" : " or strong") + ": " + word);
}

std::optional<Opponent> TakeOpponent(Args& args) {
  const auto word = args.TakeOption("--opponent");
  if (!word) return std::nullopt;
  return ParseOpponent(*word, "--opponent");
}

void ApplyOpponent(Game& g, const std::optional<Opponent>& opponent) {
  if (opponent) g.ComputerOpponent = *opponent;
}

RuleOptions TakeRuleOptions(Args& args) {
  RuleOptions o;
  if (auto s = args.TakeOption("--seed")) o.Seed = static_cast<std::uint32_t>(ParseInt(*s, "--seed", 0, 4294967295LL));
  if (auto a = args.TakeOption("--answers")) {
    std::size_t pos = 0;
    while (pos <= a->size()) {
      const std::size_t comma = a->find(',', pos);
      const std::string item = a->substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
      o.Answers.push_back(static_cast<int>(ParseInt(item, "--answers entry", -1000000, 1000000)));
      if (comma == std::string::npos) break;
      pos = comma + 1;
    }
  }
  o.Out = args.TakeOption("--out");
  return o;
}

std::unique_ptr<Game> StartUpGame() {
  auto g = std::make_unique<Game>();
  g->Rng.SetSeed(Random::ClockSeed());
  return g;
}

FolderOptions& Folders() {
  static FolderOptions folders;
  return folders;
}

std::string DataFile(const std::string& name) { return FindDataFolder(Folders().Data) + "/" + name; }

std::string GamePath(const std::string& word, bool forWriting) {
  if (word.rfind("slot:", 0) != 0) return word;
  const std::string which = word.substr(5);
  const std::string folder = FindSaveFolder(Folders().Saves);
  if (forWriting) {
    std::string why;
    if (!MakeFolder(folder, &why)) throw UsageError(folder + ": " + why);
  }
  if (which == "auto") return folder + "/Autosave.dat";
  if (which.size() == 1 && which[0] >= '1' && which[0] <= '5') {
    const int slot = which[0] - '0';
    return forWriting ? folder + "/" + SaveFileName(slot) : FindSaveFile(folder, slot);
  }
  throw UsageError(word + ": a slot is slot:1 .. slot:5 or slot:auto");
}

void LoadRuleData(Game& g) {
  const CrtLoadResult r = LoadCrt(g, DataFile("CRT.txt"));
  if (!r.Ok) throw UsageError(r.Reason);
}

namespace {
// The chronicle of the game this command read (or began), carried to the game it writes.
std::optional<Chronicle> carried;
}  // namespace

void StartChronicle() { carried = Chronicle{}; }

std::unique_ptr<Game> LoadGameFile(const std::string& word, bool withRules) {
  const std::string path = GamePath(word, false);
  auto base = StartUpGame();
  if (withRules) LoadRuleData(*base);
  auto out = std::make_unique<Game>();
  const LoadResult r = LoadSaveFile(*base, path, DataFile("Map.dat"), *out);
  if (!r.Ok) throw UsageError(path + ": " + (r.MapFailed ? r.Reason : "not a save of this game: " + r.Detail));
  Chronicle c;
  if (ReadChronicle(ChronicleFileFor(path), out->Turn, c, nullptr) == ChronicleRead::Read) carried = std::move(c);
  return out;
}

void ApplySeed(Game& g, const RuleOptions& options) {
  if (!options.Seed) return;
  // A loaded game drew its advance limit from the clock; with a seed it comes from the seed
  // too, so the same command on the same file always plays the same. The rules then start
  // from the seed itself.
  g.Rng.SetSeed(*options.Seed);
  DrawAdvanceLimit(g);
  g.Rng.SetSeed(*options.Seed);
}

void WriteGameFile(Game& g, const std::string& word, const ScriptedUi* ui) {
  const std::string path = GamePath(word, true);
  Snapshot(g);
  if (!WriteFileAtomically(path, g.SaveImage)) throw UsageError(path + ": cannot be written");
  if (!carried) return;
  Chronicle c = *carried;
  if (ui) {
    for (const Event& e : ui->Events) Record(c, e);
  }
  if (!WriteChronicle(c, ChronicleFileFor(path))) throw UsageError(ChronicleFileFor(path) + ": cannot be written");
}

void WriteIfAsked(Game& g, const RuleOptions& options, nlohmann::json& out, const ScriptedUi* ui) {
  if (!options.Out) return;
  WriteGameFile(g, *options.Out, ui);
  out["out"] = *options.Out;
}

nlohmann::json EventJson(const Event& e) {
  nlohmann::json j = {{"turn", e.Turn}, {"side", e.Side}, {"kind", std::string(EventKindName(e.Kind))}, {"phase", e.Phase}};
  const Event none{};
  auto put = [&](const char* name, std::int32_t v, std::int32_t base) {
    if (v != base) j[name] = v;
  };
  put("unit", e.Unit, none.Unit);
  put("other", e.Other, none.Other);
  put("x", e.X, none.X);
  put("y", e.Y, none.Y);
  put("toX", e.ToX, none.ToX);
  put("toY", e.ToY, none.ToY);
  put("value", e.Value, none.Value);
  put("value2", e.Value2, none.Value2);
  if (e.Kind == EventKind::PhaseBegins) {
    for (int s = 0; s < 2; ++s) {
      const ArmyTally& t = e.Tally[static_cast<std::size_t>(s)];
      j["tally"].push_back({{"Units", t.Units}, {"Steps", t.Steps}, {"CombatPower", t.CombatPower}, {"Castles", t.Castles}});
    }
  }
  if (e.Kind == EventKind::Battle) {
    const FightRecord& f = e.Fight;
    auto slots = [](const SlotList& l) {
      nlohmann::json a = nlohmann::json::array();
      for (int i = 0; i < l.Count; ++i) a.push_back(l.Slots[static_cast<std::size_t>(i)]);
      return a;
    };
    j["battle"] = {{"Castle", f.Castle}, {"Rounds", f.Rounds}, {"Attackers", slots(f.Attackers)},
                   {"Defenders", slots(f.Defenders)}, {"StepsLost", f.StepsLost}, {"GarrisonLost", f.GarrisonLost},
                   {"HitsDealt", f.HitsDealt}, {"HitsExpected", {f.HitsExpected100[0] / 100.0, f.HitsExpected100[1] / 100.0}},
                   {"Annihilated", f.Annihilated}, {"Escalated", f.Escalated}, {"AttackerRetreated", f.AttackerRetreated},
                   {"DefenderRetreated", f.DefenderRetreated}, {"CastleFell", f.CastleFell}, {"Advanced", f.Advanced},
                   {"Outcome", f.Outcome}};
  }
  return j;
}

nlohmann::json LogJson(const ScriptedUi& ui) {
  nlohmann::json log = nlohmann::json::array();
  for (const auto& e : ui.Log) {
    log.push_back({{"kind", e.Kind}, {"caption", e.Caption}, {"text", e.Text}, {"answer", e.Answer}});
  }
  return log;
}

nlohmann::json UnitJson(const Game& g, int slot) {
  const Unit& u = g.U(slot);
  nlohmann::json j;
  j["Slot"] = slot;
  j["CombatModifier"] = u.CombatModifier;
  j["Fortified"] = u.Fortified;
  j["ArrivalActionPoints"] = u.ArrivalActionPoints;
  j["TurnActionPoints"] = u.TurnActionPoints;
  j["OwnActionPoints"] = u.OwnActionPoints;
  j["MoveScoreAtCommander"] = u.MoveScoreAtCommander;
  j["MoveScoreChosen"] = u.MoveScoreChosen;
  j["ReinforcementWait"] = u.ReinforcementWait;
  j["AiWorking"] = u.AiWorking;
  j["AiObjective"] = u.AiObjective;
  j["AiWorkValues"] = u.AiWorkValues;
  j["LastDirection"] = u.LastDirection;
  j["ScenarioCode"] = u.ScenarioCode;
  j["CommanderIndex"] = u.CommanderIndex;
  j["Subordinates"] = u.Subordinates;
  j["SubordinateCount"] = u.SubordinateCount;
  j["CorpsActionPoints"] = u.CorpsActionPoints;
  j["Command"] = u.Command;
  j["Morale"] = u.Morale;
  j["Rank"] = u.Rank;
  j["MayAttack"] = u.MayAttack;
  j["Side"] = u.Side;
  j["ComputerUnit"] = u.ComputerUnit;
  j["ArmyName"] = Cp932ToUtf8Lossy(u.ArmyName.View());
  j["ScenarioFlag"] = u.ScenarioFlag;
  j["GeneralName"] = Cp932ToUtf8Lossy(u.GeneralName.View());
  j["HexX"] = u.HexX;
  j["HexY"] = u.HexY;
  j["RouteDestX"] = u.RouteDestX;
  j["RouteDestY"] = u.RouteDestY;
  j["MovementType"] = u.MovementType;
  j["ScenarioValueA"] = u.ScenarioValueA;
  j["Normal"] = u.Normal;
  j["MaxSteps"] = u.MaxSteps;
  j["Steps"] = u.Steps;
  j["MaxCombatPower"] = u.MaxCombatPower;
  j["CombatPower"] = u.CombatPower;
  j["ActionPoints"] = u.ActionPoints;
  j["MaxActionPoints"] = u.MaxActionPoints;
  j["OnMap"] = u.OnMap;
  j["ScenarioByte"] = u.ScenarioByte;
  j["Supplied"] = u.Supplied;
  j["CanMove"] = u.CanMove;
  j["AiUnassigned"] = u.AiUnassigned;
  j["Arrived"] = u.Arrived;
  j["EntryTurn"] = u.EntryTurn;
  j["TargetX"] = u.TargetX;
  j["TargetY"] = u.TargetY;
  j["MoveGoalX"] = u.MoveGoalX;
  j["MoveGoalY"] = u.MoveGoalY;
  j["AiRole"] = u.AiRole;
  j["ScenarioValueB"] = u.ScenarioValueB;
  j["ScenarioValueC"] = u.ScenarioValueC;
  j["Route"] = std::string(u.Route.View());
  return j;
}

namespace {

nlohmann::json CastleJson(const Game& g, int n) {
  const Castle& c = g.Castles[static_cast<std::size_t>(n)];
  return {{"Number", n},
          {"Name", Cp932ToUtf8Lossy(c.Name.View())},
          {"HexX", c.HexX},
          {"HexY", c.HexY},
          {"CastleValue", c.CastleValue},
          {"Owner", c.Owner},
          {"Durability", c.Durability},
          {"Strength", c.Strength},
          {"MaxDurability", c.MaxDurability},
          {"MaxStrength", c.MaxStrength},
          {"CastleMorale", c.CastleMorale},
          {"CastleLinks", c.CastleLinks}};
}

}  // namespace

nlohmann::json StateJson(const Game& g) {
  nlohmann::json scalars = {{"PlayerSide", g.PlayerSide},
                            {"ComputerSide", g.ComputerSide},
                            {"PhaseSide", g.PhaseSide},
                            {"GameState", g.GameState},
                            {"Turn", g.Turn},
                            {"CastleCounter", g.CastleCounter},
                            {"ReplenishmentPoints", g.ReplenishmentPoints},
                            {"VictoryPoints", g.VictoryPoints},
                            {"DefenceFactor", g.DefenceFactor},
                            {"DefenceFactorMode", g.DefenceFactorMode},
                            {"LegacyValues", g.LegacyValues}};
  nlohmann::json units = nlohmann::json::array();
  for (int slot = 0; slot < kUnitSlots; ++slot) units.push_back(UnitJson(g, slot));
  nlohmann::json castles = nlohmann::json::array();
  for (int n = 0; n < kCastleSlots; ++n) castles.push_back(CastleJson(g, n));
  nlohmann::json map = nlohmann::json::array();
  for (int x = 0; x < kMapSize; ++x) {
    nlohmann::json column = nlohmann::json::array();
    for (int y = 0; y < kMapSize; ++y) {
      const Hex& h = g.H(x, y);
      column.push_back({{"RiverSides", h.RiverSides}, {"RoadSides", h.RoadSides}, {"Terrain", h.Terrain}});
    }
    map.push_back(std::move(column));
  }
  return {{"scalars", scalars}, {"units", units}, {"castles", castles}, {"map", map}};
}

void Print(const nlohmann::json& j) { std::cout << j.dump() << '\n'; }

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

CommandRegistrar::CommandRegistrar(std::string name, std::string usage, CommandFn run) {
  Commands().push_back({std::move(name), std::move(usage), std::move(run)});
}

}  // namespace milgant::cli
