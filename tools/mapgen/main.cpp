// milgant-mapgen: makes the game's data files from their readable sources.
//   milgant-mapgen map data/map/map.txt data/Map.dat
//   milgant-mapgen crt data/map/crt.txt data/CRT.txt
// With --check the output file is not written but compared with what the source makes; the
// exit code tells whether the shipped file is up to date.
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/game/Game.h"
#include "core/game/RuleTables.h"
#include "tools/mapgen/CrtSource.h"
#include "tools/mapgen/MapSource.h"

namespace {

using namespace milgant;
using namespace milgant::mapgen;

bool ReadFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  out = text.str();
  return !in.bad();
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

// Makes the bytes of the data file, or reports why the source is refused.
bool Make(const std::string& kind, const std::string& source, const std::string& text, std::string& bytes) {
  if (kind == "map") {
    const auto result = std::make_unique<MapSourceResult>(ParseMapSource(text));
    if (!result->Ok) {
      std::fprintf(stderr, "%s: %s\n", source.c_str(), result->Error.c_str());
      return false;
    }
    if (const std::string why = CheckCastles(result->Map, ScenarioCastles()); !why.empty()) {
      std::fprintf(stderr, "%s: %s\n", source.c_str(), why.c_str());
      return false;
    }
    bytes = MapFileBytes(result->Map);
    return true;
  }
  const CrtSourceResult table = ParseCrtSource(text);
  if (!table.Ok) {
    std::fprintf(stderr, "%s: %s\n", source.c_str(), table.Error.c_str());
    return false;
  }
  bytes = CrtFileText(table);
  // The game's own reader must take the file as it is written.
  auto g = std::make_unique<Game>();
  if (const CrtLoadResult read = ParseCrt(*g, bytes, "CRT.txt"); !read.Ok) {
    std::fprintf(stderr, "%s: the game refuses the table: %s\n", source.c_str(), read.Reason.c_str());
    return false;
  }
  return true;
}

// The offset of the first byte that differs, or the shorter length.
std::size_t FirstDifference(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return i;
}

int Usage() {
  std::fprintf(stderr,
               "usage: milgant-mapgen [--check] map SOURCE Map.dat\n"
               "       milgant-mapgen [--check] crt SOURCE CRT.txt\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int arg = 1;
  bool check = false;
  if (arg < argc && std::string(argv[arg]) == "--check") {
    check = true;
    ++arg;
  }
  if (argc - arg != 3) return Usage();
  const std::string kind = argv[arg];
  const std::string source = argv[arg + 1];
  const std::string output = argv[arg + 2];
  if (kind != "map" && kind != "crt") return Usage();

  std::string text;
  if (!ReadFile(source, text)) {
    std::fprintf(stderr, "%s: cannot be read\n", source.c_str());
    return 1;
  }
  std::string bytes;
  if (!Make(kind, source, text, bytes)) return 1;

  if (check) {
    std::string shipped;
    if (!ReadFile(output, shipped)) {
      std::fprintf(stderr, "%s: cannot be read\n", output.c_str());
      return 1;
    }
    if (shipped != bytes) {
      std::fprintf(stderr, "%s differs from what %s makes (first at byte %zu; %zu bytes shipped, %zu made)\n",
                   output.c_str(), source.c_str(), FirstDifference(shipped, bytes), shipped.size(), bytes.size());
      return 1;
    }
    return 0;
  }
  if (!WriteFile(output, bytes)) {
    std::fprintf(stderr, "%s: cannot be written\n", output.c_str());
    return 1;
  }
  return 0;
}
