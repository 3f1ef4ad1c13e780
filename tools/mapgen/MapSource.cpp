#include "tools/mapgen/MapSource.h"

#include <memory>
#include <optional>

#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Scenario.h"
#include "tools/mapgen/SourceText.h"

namespace milgant::mapgen {
namespace {

struct Token {
  int Line = 0;
  std::string_view Text;
};

enum class Section { None, Terrain, Rivers, Roads };

bool OnMap(HexPos h) { return h.X >= 0 && h.X < kMapSize && h.Y >= 0 && h.Y < kMapSize; }

// "x,y" of a hex on the map.
std::optional<HexPos> ParseHex(std::string_view s) {
  const std::size_t comma = s.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const auto x = Number(s.substr(0, comma));
  const auto y = Number(s.substr(comma + 1));
  if (!x || !y) return std::nullopt;
  const HexPos h{*x, *y};
  if (!OnMap(h)) return std::nullopt;
  return h;
}

std::string Show(HexPos h) { return std::to_string(h.X) + "," + std::to_string(h.Y); }

// The direction from a to b, 0 when they do not touch.
int DirectionTo(HexPos a, HexPos b) {
  for (int d = 1; d <= 6; ++d) {
    if (Neighbour(a.X, a.Y, d) == b) return d;
  }
  return 0;
}

bool Touch(HexPos a, HexPos b) { return DirectionTo(a, b) != 0; }

int TerrainOfChar(char c) {
  switch (c) {
    case '_': return 0;
    case '.': return 1;
    case '%': return 2;
    case '^': return 3;
    case ':': return 4;
    case ',': return 5;
    case 'w': return 6;
    case '~': return 7;
    case 'c': return 8;
    case 'C': return 9;
    case 'g': return 10;
    case 'G': return 11;
    case 'p': return 12;
    case 'P': return 13;
    default: return -1;
  }
}

bool IsWater(std::int32_t t) { return t == 5 || t == 7; }

Hex& HexAt(MapTable& map, HexPos h) {
  return map[static_cast<std::size_t>(h.X)][static_cast<std::size_t>(h.Y)];
}

// A river or a road: the words of its first line and of the "+" lines that continue it.
struct Chain {
  std::vector<Token> Tokens;
};

class Parser {
 public:
  explicit Parser(MapTable& map) : map_(map) {}

  std::string Run(std::string_view text) {
    Section section = Section::None;
    for (const SourceLine& line : SplitLines(text)) {
      const std::string_view body = Trim(line.Text);
      if (body.empty() || body.front() == '#') continue;
      if (body.front() == '[') {
        if (body == "[terrain]") section = Section::Terrain;
        else if (body == "[rivers]") section = Section::Rivers;
        else if (body == "[roads]") section = Section::Roads;
        else return At(line.Number, "unknown section " + std::string(body));
        continue;
      }
      std::string error;
      switch (section) {
        case Section::None: error = At(line.Number, "text before the first section"); break;
        case Section::Terrain: error = TerrainRow(line); break;
        case Section::Rivers: error = AddToChain(rivers_, line, body); break;
        case Section::Roads: error = AddToChain(roads_, line, body); break;
      }
      if (!error.empty()) return error;
    }
    if (rowsSeen_ != kMapSize) {
      return "the terrain has " + std::to_string(rowsSeen_) + " rows, " + std::to_string(kMapSize) + " wanted";
    }
    for (const Chain& river : rivers_) {
      if (std::string error = River(river); !error.empty()) return error;
    }
    for (const Chain& road : roads_) {
      if (std::string error = Road(road); !error.empty()) return error;
    }
    return {};
  }

 private:
  // "NN  a b c ...": the row number, then one character a hex, odd rows one place further in.
  std::string TerrainRow(const SourceLine& line) {
    const std::string_view text = line.Text;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    std::size_t j = i;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
    const auto row = Number(text.substr(i, j - i));
    if (!row) return At(line.Number, "a terrain row starts with its row number");
    if (*row != rowsSeen_) {
      return At(line.Number, "row " + std::to_string(*row) + " where row " + std::to_string(rowsSeen_) + " was due");
    }
    while (j < text.size() && text[j] == ' ') ++j;
    const std::size_t first = j;
    const bool odd = (*row & 1) != 0;
    if (firstColumn_ < 0) firstColumn_ = static_cast<int>(first) - (odd ? 1 : 0);
    const std::size_t due = static_cast<std::size_t>(firstColumn_ + (odd ? 1 : 0));
    if (first != due) {
      return At(line.Number, std::string("row ") + std::to_string(*row) + " starts in the wrong place: " +
                                 (odd ? "odd rows sit one place right of even rows" : "even rows sit one place left of odd rows"));
    }
    for (int x = 0; x < kMapSize; ++x) {
      const std::size_t at = first + 2 * static_cast<std::size_t>(x);
      if (at >= text.size()) return At(line.Number, "row " + std::to_string(*row) + " has only " + std::to_string(x) + " hexes");
      if (x > 0 && text[at - 1] != ' ') return At(line.Number, "hexes of a row are one space apart");
      const int t = TerrainOfChar(text[at]);
      if (t < 0) return At(line.Number, std::string("unknown terrain character '") + text[at] + "'");
      HexAt(map_, {x, *row}).Terrain = t;
    }
    const std::string_view rest = Trim(text.substr(first + 2 * kMapSize - 1));
    if (!rest.empty()) return At(line.Number, "row " + std::to_string(*row) + " has more than 20 hexes");
    ++rowsSeen_;
    return {};
  }

  static std::string AddToChain(std::vector<Chain>& chains, const SourceLine& line, std::string_view body) {
    const bool more = body.front() == '+';
    if (more) {
      if (chains.empty()) return At(line.Number, "a \"+\" line with nothing before it to continue");
      body.remove_prefix(1);
    } else {
      chains.emplace_back();
    }
    for (std::string_view w : Words(body)) chains.back().Tokens.push_back({line.Number, w});
    return {};
  }

  std::string River(const Chain& river) {
    std::optional<std::pair<HexPos, HexPos>> last;
    for (const Token& t : river.Tokens) {
      const std::size_t slash = t.Text.find('/');
      const auto a = slash == std::string_view::npos ? std::nullopt : ParseHex(t.Text.substr(0, slash));
      const auto b = slash == std::string_view::npos ? std::nullopt : ParseHex(t.Text.substr(slash + 1));
      if (!a || !b) return At(t.Line, "\"" + std::string(t.Text) + "\" is not a hexside \"x,y/x,y\" on the map");
      const int d = DirectionTo(*a, *b);
      if (d == 0) return At(t.Line, Show(*a) + " and " + Show(*b) + " do not share a hexside");
      if (last && !ShareCorner(*last, {*a, *b})) {
        return At(t.Line, "the river jumps from " + Show(last->first) + "/" + Show(last->second) + " to " +
                              std::string(t.Text) + ": a river runs on from corner to corner");
      }
      HexAt(map_, *a).RiverSides[static_cast<std::size_t>(d - 1)] = 1;
      HexAt(map_, *b).RiverSides[static_cast<std::size_t>(OppositeDirection(d) - 1)] = 1;
      last = {*a, *b};
    }
    return {};
  }

  // Two hexsides meet at a corner when they bound three hexes that all touch one another.
  static bool ShareCorner(std::pair<HexPos, HexPos> s, std::pair<HexPos, HexPos> t) {
    HexPos three[4] = {s.first, s.second, t.first, t.second};
    int n = 2;
    for (int k = 2; k < 4; ++k) {
      bool seen = false;
      for (int m = 0; m < n; ++m) seen = seen || three[m] == three[k];
      if (!seen) three[n++] = three[k];
    }
    return n == 3 && Touch(three[0], three[1]) && Touch(three[1], three[2]) && Touch(three[0], three[2]);
  }

  std::string Road(const Chain& road) {
    if (road.Tokens.size() < 2) return At(road.Tokens.front().Line, "a road needs at least two hexes");
    std::optional<HexPos> last;
    for (const Token& t : road.Tokens) {
      const auto h = ParseHex(t.Text);
      if (!h) return At(t.Line, "\"" + std::string(t.Text) + "\" is not a hex \"x,y\" on the map");
      if (IsWater(HexAt(map_, *h).Terrain)) return At(t.Line, "the road runs into the water at " + Show(*h));
      if (last) {
        const int d = DirectionTo(*last, *h);
        if (d == 0) return At(t.Line, "the road steps from " + Show(*last) + " to " + Show(*h) + ", which do not touch");
        HexAt(map_, *last).RoadSides[static_cast<std::size_t>(d - 1)] = 1;
        HexAt(map_, *h).RoadSides[static_cast<std::size_t>(OppositeDirection(d) - 1)] = 1;
      }
      last = h;
    }
    return {};
  }

  MapTable& map_;
  int rowsSeen_ = 0;
  int firstColumn_ = -1;
  std::vector<Chain> rivers_;
  std::vector<Chain> roads_;
};

void AppendInt32(std::string& out, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((u >> shift) & 0xFF));
}

}  // namespace

MapSourceResult ParseMapSource(std::string_view text) {
  MapSourceResult result;
  Parser parser(result.Map);
  result.Error = parser.Run(text);
  result.Ok = result.Error.empty();
  return result;
}

std::vector<CastleSpot> ScenarioCastles() {
  auto g = std::make_unique<Game>();
  const auto blank = std::make_unique<MapTable>();
  BuildScenario(*g, *blank);
  std::vector<CastleSpot> spots;
  for (int c = 1; c < g->CastleCounter; ++c) {
    const Castle& castle = g->Castles[static_cast<std::size_t>(c)];
    spots.push_back({castle.HexX, castle.HexY, castle.Owner});
  }
  return spots;
}

std::string CheckCastles(const MapTable& map, const std::vector<CastleSpot>& castles) {
  std::array<std::array<bool, kMapSize>, kMapSize> hasCastle{};
  for (std::size_t i = 0; i < castles.size(); ++i) {
    const CastleSpot& c = castles[i];
    const std::string which = "castle " + std::to_string(i + 1) + " at " + Show({c.X, c.Y});
    if (!OnMap({c.X, c.Y})) return which + " lies off the map";
    const std::int32_t t = map[static_cast<std::size_t>(c.X)][static_cast<std::size_t>(c.Y)].Terrain;
    if (!IsCastleTerrain(t)) return which + " stands on terrain " + std::to_string(t) + ", not on a castle hex";
    if ((t & 1) != c.Owner) {
      return which + " is held by side " + std::to_string(c.Owner) + " but drawn for side " + std::to_string(t & 1);
    }
    hasCastle[static_cast<std::size_t>(c.X)][static_cast<std::size_t>(c.Y)] = true;
  }
  for (int x = 0; x < kMapSize; ++x) {
    for (int y = 0; y < kMapSize; ++y) {
      const auto sx = static_cast<std::size_t>(x);
      const auto sy = static_cast<std::size_t>(y);
      if (IsCastleTerrain(map[sx][sy].Terrain) && !hasCastle[sx][sy]) {
        return "the castle hex at " + Show({x, y}) + " has no castle in the scenario";
      }
    }
  }
  return {};
}

std::string MapFileBytes(const MapTable& map) {
  std::string out;
  out.reserve(sizeof(MapTable));
  for (const auto& column : map) {
    for (const Hex& h : column) {
      for (std::int32_t v : h.RiverSides) AppendInt32(out, v);
      for (std::int32_t v : h.RoadSides) AppendInt32(out, v);
      AppendInt32(out, h.Terrain);
    }
  }
  return out;
}

}  // namespace milgant::mapgen
