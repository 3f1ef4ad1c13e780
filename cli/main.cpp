// milgant-cli: set up, inspect and probe games without a screen. Map.dat and CRT.txt come from
// the game's data folder and "slot:N" names a save in the player's save folder, found as the
// game finds them (desktop/Folders.h); --data DIR and --saves DIR may stand anywhere.
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli/Cli.h"
#include "core/game/HexGrid.h"
#include "core/game/RuleTables.h"
#include "core/game/Scenario.h"
#include "core/turn/PhaseSequence.h"

namespace milgant::cli {
namespace {

constexpr long long kCoordLimit = 1000000;  // keeps pixel arithmetic far from overflow

int RandomCommand(Args& args) {
  const auto seed = args.TakeOption("--seed");
  const auto count = args.TakeOption("--count");
  const auto below = args.TakeOption("--below");
  args.Done();
  if (!seed || !count || !below) throw UsageError("random needs --seed, --count and --below");
  Random rng(static_cast<std::uint32_t>(ParseInt(*seed, "--seed", 0, 4294967295LL)));
  const long long n = ParseInt(*count, "--count", 0, 10000000);
  const auto r = static_cast<std::int32_t>(ParseInt(*below, "--below", 1, 2147483647LL));
  std::string out;
  for (long long i = 0; i < n; ++i) {
    out += std::to_string(rng.Next(r));
    out += '\n';
  }
  std::cout << out;
  return 0;
}

int HexCommand(Args& args) {
  const std::string what = args.Next("hex operation (distance, neighbour, pixel)");
  if (what == "distance") {
    const int x1 = static_cast<int>(args.NextInt("X1", -kCoordLimit, kCoordLimit));
    const int y1 = static_cast<int>(args.NextInt("Y1", -kCoordLimit, kCoordLimit));
    const int x2 = static_cast<int>(args.NextInt("X2", -kCoordLimit, kCoordLimit));
    const int y2 = static_cast<int>(args.NextInt("Y2", -kCoordLimit, kCoordLimit));
    args.Done();
    std::cout << HexDistance(x1, y1, x2, y2) << '\n';
    return 0;
  }
  if (what == "neighbour") {
    const int x = static_cast<int>(args.NextInt("X", -kCoordLimit, kCoordLimit));
    const int y = static_cast<int>(args.NextInt("Y", -kCoordLimit, kCoordLimit));
    const int d = static_cast<int>(args.NextInt("D", -kCoordLimit, kCoordLimit));
    args.Done();
    const HexPos p = Neighbour(x, y, d);
    std::cout << p.X << ' ' << p.Y << '\n';
    return 0;
  }
  if (what == "pixel") {
    const int px = static_cast<int>(args.NextInt("PX", -kCoordLimit, kCoordLimit));
    const int py = static_cast<int>(args.NextInt("PY", -kCoordLimit, kCoordLimit));
    const int sx = static_cast<int>(args.NextInt("SCROLLX", -kCoordLimit, kCoordLimit));
    const int sy = static_cast<int>(args.NextInt("SCROLLY", -kCoordLimit, kCoordLimit));
    args.Done();
    HexMaskTable mask{};
    BuildHexMask(mask);
    const HexPos p = PixelToHex(mask, px, py, sx, sy);
    std::cout << p.X << ' ' << p.Y << '\n';
    return 0;
  }
  throw UsageError("unknown hex operation " + what);
}

int CrtCommand(Args& args) {
  const std::string file = args.Next("FILE");
  args.Done();
  auto g = StartUpGame();
  const CrtLoadResult r = LoadCrt(*g, file);
  if (!r.Ok) throw UsageError(r.Reason);
  Print({{"CrtTable", g->CrtTable}});
  return 0;
}

int NewCommand(Args& args) {
  const auto side = args.TakeOption("--side");
  const bool start = args.TakeFlag("--start");
  const auto opponent = TakeOpponent(args);
  RuleOptions options = TakeRuleOptions(args);
  args.Done();
  if (!side) throw UsageError("new needs --side 0 or 1");
  if (!options.Out) throw UsageError("new needs --out FILE");
  const int s = static_cast<int>(ParseInt(*side, "--side", 0, 1));
  auto g = StartUpGame();
  ApplySeed(*g, options);
  ApplyOpponent(*g, opponent);  // the computer may move first in the first turn
  ScriptedUi ui;
  ui.Answers = options.Answers;
  ui.Answers.push_front(s == 0 ? 1 : 0);  // the side window: first army or second
  if (!SetUpNewGame(*g, ui, DataFile("Map.dat"))) {
    const std::string why = ui.Log.empty() ? "Map.dat cannot be read" : ui.Log.back().Text;
    throw UsageError(why);
  }
  if (start) BeginNewGame(*g, ui);  // the first turn, as "新規" plays it
  StartChronicle();
  WriteGameFile(*g, *options.Out, &ui);
  Print({{"log", LogJson(ui)}, {"out", *options.Out}});
  return 0;
}

int InspectCommand(Args& args) {
  const std::string file = args.Next("FILE");
  args.Done();
  auto g = LoadGameFile(file, false);
  Print(StateJson(*g));
  return 0;
}

const CommandRegistrar kRandom{"random", "random --seed S --count N --below R", RandomCommand};
const CommandRegistrar kHex{"hex",
                            "hex distance X1 Y1 X2 Y2 | hex neighbour X Y D | hex pixel PX PY SCROLLX SCROLLY",
                            HexCommand};
const CommandRegistrar kCrt{"crt", "crt FILE", CrtCommand};
const CommandRegistrar kNew{"new", "new --side S [--seed N] [--start [--opponent standard|strong]] --out FILE", NewCommand};
const CommandRegistrar kInspect{"inspect", "inspect FILE", InspectCommand};

int FoldersCommand(Args& args) {
  args.Done();
  Print({{"data", FindDataFolder(Folders().Data)}, {"saves", FindSaveFolder(Folders().Saves)}});
  return 0;
}
const CommandRegistrar kFolders{"folders", "folders   (the data and save folders in use)", FoldersCommand};

void PrintHelp(std::ostream& out) {
  out << "milgant-cli: play and probe ミルガント・改 without a screen\n"
         "usage: milgant-cli [--data DIR] [--saves DIR] COMMAND ...\n"
         "  data (Map.dat, CRT.txt): --data, else $MILGANT_DATA, else the current folder when it holds\n"
         "  Map.dat or CRT.txt, else the installed share/milgant (or data/ of the source tree)\n"
         "  a game FILE may be slot:1 .. slot:5 or slot:auto: Save1.dat .. Save5.dat, Autosave.dat in the\n"
         "  save folder (--saves, else $XDG_DATA_HOME/milgant, else ~/.local/share/milgant)\n"
         "commands:\n";
  std::vector<const Command*> sorted;
  for (const Command& c : Commands()) sorted.push_back(&c);
  std::sort(sorted.begin(), sorted.end(), [](const Command* a, const Command* b) { return a->Name < b->Name; });
  for (const Command* c : sorted) out << "  " << c->Usage << '\n';
}

}  // namespace
}  // namespace milgant::cli

int main(int argc, char** argv) {
  using namespace milgant::cli;
  std::vector<std::string> words(argv + 1, argv + argc);
  std::string why;
  if (!milgant::TakeFolderOptions(words, Folders(), &why)) {
    std::cerr << "milgant-cli: " << why << '\n';
    return 2;
  }
  if (words.empty()) {
    std::cerr << "milgant-cli: no command given (try --help)\n";
    return 2;
  }
  if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    PrintHelp(std::cout);
    return 0;
  }
  const std::string name = words[0];
  words.erase(words.begin());
  for (const Command& c : Commands()) {
    if (c.Name != name) continue;
    try {
      Args args(std::move(words));
      return c.Run(args);
    } catch (const UsageError& e) {
      std::cerr << "milgant-cli " << name << ": " << e.what() << '\n';
      return 2;
    } catch (const std::exception& e) {
      std::cerr << "milgant-cli " << name << ": " << e.what() << '\n';
      return 2;
    }
  }
  std::cerr << "milgant-cli: unknown command " << name << " (try --help)\n";
  return 2;
}
