#include "AsciiMap.h"

#include <stdexcept>

#include "core/game/Invariants.h"
#include "core/game/Text.h"

namespace milgant::test {
namespace {

int TerrainOf(char c) {
  switch (c) {
    case '.': return 1;
    case '=': return 0;
    case ',': return 2;
    case '^': return 3;
    case 'd': return 4;
    case '~': return 5;
    case 'w': return 6;
    case '#': return 7;
    case 'C': return 8;
    case 'L': return 10;
    case 'P': return 12;
    default: throw std::invalid_argument(std::string("unknown map character ") + c);
  }
}

void SetSide(Game& g, int x, int y, int d, bool road) {
  if (!OnMapHex(x, y) || d < 1 || d > 6) throw std::invalid_argument("hexside off the map");
  Hex& h = g.H(x, y);
  (road ? h.RoadSides : h.RiverSides)[static_cast<std::size_t>(d - 1)] = 1;
}

}  // namespace

std::unique_ptr<Game> FreshGame() { return std::make_unique<Game>(); }

void DrawMap(Game& g, std::string_view picture) {
  for (auto& column : g.Map) {
    for (Hex& h : column) {
      h.Terrain = 1;
      h.RiverSides.fill(0);
      h.RoadSides.fill(0);
    }
  }
  int y = 0;
  std::size_t start = 0;
  // Leading blank lines of a raw string do not count as rows.
  while (start < picture.size() && picture[start] == '\n') ++start;
  while (start < picture.size()) {
    std::size_t end = picture.find('\n', start);
    if (end == std::string_view::npos) end = picture.size();
    const std::string_view line = picture.substr(start, end - start);
    int x = 0;
    for (const char c : line) {
      if (c == ' ') continue;
      if (!OnMapHex(x, y)) throw std::invalid_argument("drawing larger than the map");
      g.H(x, y).Terrain = TerrainOf(c);
      ++x;
    }
    ++y;
    start = end + 1;
  }
}

void LayRoad(Game& g, int x, int y, std::string_view route) {
  for (const char c : route) {
    const int d = c - '0';
    const HexPos n = Neighbour(x, y, d);
    SetSide(g, x, y, d, true);
    SetSide(g, n.X, n.Y, OppositeDirection(d), true);
    x = n.X;
    y = n.Y;
  }
}

void MarkRoadSide(Game& g, int x, int y, int d) { SetSide(g, x, y, d, true); }

void MarkRiver(Game& g, int x, int y, int d) {
  SetSide(g, x, y, d, false);
  const HexPos n = Neighbour(x, y, d);
  if (OnMapHex(n.X, n.Y)) SetSide(g, n.X, n.Y, OppositeDirection(d), false);
}

void RoadsEverywhere(Game& g) {
  for (auto& column : g.Map) {
    for (Hex& h : column) h.RoadSides.fill(1);
  }
}

int PlaceUnit(Game& g, int slot, int side, int x, int y, const PieceStats& stats) {
  Unit& u = g.U(slot);
  u = Unit{};
  u.Subordinates.fill(-1);
  u.CommanderIndex = -1;
  u.Side = static_cast<std::uint8_t>(side);
  u.ArmyName.Assign(Cp932(side == 0 ? "ヴァルネ軍" : "ソルカ軍"));
  u.GeneralName.Assign(Cp932("武将" + std::to_string(slot)));
  u.HexX = static_cast<std::uint8_t>(x);
  u.HexY = static_cast<std::uint8_t>(y);
  u.Steps = u.MaxSteps = stats.Steps;
  u.CombatPower = u.MaxCombatPower = stats.CombatPower;
  u.CorpsActionPoints = stats.CorpsActionPoints;
  u.ActionPoints = stats.ActionPoints;
  u.MaxActionPoints = stats.ActionPoints;
  u.Rank = stats.Rank;
  u.Morale = stats.Morale;
  u.Command = stats.Command;
  u.MovementType = stats.MovementType;
  u.Normal = 1;
  u.Supplied = 1;
  u.CanMove = 1;
  u.OnMap = 1;
  u.EntryTurn = 0;
  u.TargetX = u.TargetY = -1;
  u.MoveGoalX = u.MoveGoalY = -1;
  return slot;
}

void Attach(Game& g, int commander, int sub) {
  Unit& c = g.U(commander);
  Unit& s = g.U(sub);
  c.Subordinates[static_cast<std::size_t>(c.SubordinateCount++)] = sub;
  s.CommanderIndex = commander;
  s.HexX = c.HexX;
  s.HexY = c.HexY;
}

std::string BrokenInvariants(const Game& g) {
  std::string out;
  for (const std::string& line : CheckInvariants(g)) out += line + "\n";
  return out;
}

}  // namespace milgant::test
