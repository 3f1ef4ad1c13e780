#include "core/game/RuleTables.h"

#include <charconv>
#include <fstream>
#include <limits>
#include <sstream>
#include <string_view>

#include "core/game/Game.h"
#include "core/game/Text.h"

namespace milgant {
namespace {

struct TerrainRow {
  std::string_view Name;
  int Bonus;
};
constexpr TerrainRow kTerrain[kTerrainCodes] = {
    {"道路", 0},  {"平地", 0},  {"荒地", 10},   {"山地", 50},     {"砂漠", 20},
    {"浅瀬", 0},  {"川", 80},   {"海", 0},      {"都市", 40},     {"都市", 40},
    {"大都市", 50}, {"大都市", 50}, {"港湾都市", 60}, {"港湾都市", 60},
};

struct MovementRow {
  std::string_view Name;
  int Cost[9];  // terrain 0..7, then the six city codes 8..13, then code 14
  int Extra;
};
constexpr MovementRow kMovement[kMovementTypes] = {
    {"歩兵", {1, 1, 2, 20, 3, 20, 2, 20, 1}, 20},
    {"砲兵", {1, 1, 2, 2, 4, 20, 2, 20, 1}, 20},
    {"戦車", {1, 1, 4, 4, 4, 20, 6, 20, 1}, 20},
    {"キャタピラ２", {1, 1, 3, 4, 4, 20, 6, 20, 1}, 20},
    {"タイヤ１", {1, 1, 4, 4, 4, 20, 6, 20, 1}, 20},
    {"タイヤ2", {1, 1, 3, 4, 5, 20, 6, 20, 1}, 20},
    {"兵員", {1, 1, 2, 2, 2, 20, 2, 20, 1}, 20},
    {"索敵用", {1, 1, 2, 4, 1, 20, 4, 20, 1}, 20},
    {"補給用", {1, 1, 1, 100, 1, 100, 1, 100, 1}, 100},
    {"補給用", {100, 100, 100, 100, 100, 100, 100, 100, 100}, 100},
};

bool IsInteger(std::string_view field, std::int32_t& value) {
  if (field.empty()) return false;
  std::size_t i = field[0] == '-' ? 1 : 0;
  if (i == field.size()) return false;
  for (std::size_t k = i; k < field.size(); ++k) {
    if (field[k] < '0' || field[k] > '9') return false;
  }
  const auto r = std::from_chars(field.data(), field.data() + field.size(), value);
  return r.ec == std::errc() && r.ptr == field.data() + field.size();
}

std::string Describe(std::string_view field) {
  if (field.empty()) return "an empty field";
  std::string shown;
  for (char c : field) {
    if (c == '\t') shown += "\\t";
    else if (static_cast<unsigned char>(c) < 0x20) shown += '?';
    else shown += c;
    if (shown.size() > 24) { shown += "..."; break; }
  }
  return "\"" + shown + "\" is not an integer";
}

}  // namespace

void BuildRuleTables(Game& g) {
  for (int side = 0; side < 2; ++side) {
    for (int t = 0; t < kIncomeTurns; ++t) g.ReplenishmentIncome[side][t] = 10;
  }
  g.ReplenishmentIncome[1][1] = 20;  // side 1's second turn brings a double share

  for (int t = 0; t < kTerrainCodes; ++t) {
    TerrainType& row = g.TerrainTypes[t];
    row = TerrainType{};
    row.Name.Assign(Cp932(kTerrain[t].Name));
    row.DefenceBonus = kTerrain[t].Bonus;
  }
  for (int m = 0; m < kMovementTypes; ++m) {
    MovementType& row = g.MovementTypes[m];
    row = MovementType{};
    row.Name.Assign(Cp932(kMovement[m].Name));
    for (int t = 0; t < 8; ++t) row.Cost[t] = kMovement[m].Cost[t];
    for (int t = 8; t < 14; ++t) row.Cost[t] = kMovement[m].Cost[8];
    row.Cost[14] = kMovement[m].Extra;
  }
}

CrtLoadResult ParseCrt(Game& g, const std::string& text, const std::string& name) {
  std::array<std::array<std::int32_t, kCrtRows>, kCrtColumns> table{};
  std::size_t pos = 0;
  int lineNo = 0;
  while (pos < text.size() && lineNo < kCrtRows - 1) {
    std::size_t end = text.find('\n', pos);
    const bool last = end == std::string::npos;
    std::string_view line(text.data() + pos, (last ? text.size() : end) - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lineNo;
    std::string_view rest = line;
    for (int k = 0; k < kCrtColumns; ++k) {
      const std::size_t sp = rest.find(' ');
      std::string_view field = rest.substr(0, sp);
      if (sp == std::string_view::npos) {
        if (k < kCrtColumns - 1) {
          return {false, name + " line " + std::to_string(lineNo) + ": fewer than 14 fields"};
        }
        rest = {};
      } else {
        rest = rest.substr(sp + 1);
      }
      std::int32_t value = 0;
      if (!IsInteger(field, value)) {
        return {false, name + " line " + std::to_string(lineNo) + " field " + std::to_string(k + 1) + ": " +
                           Describe(field)};
      }
      // An entry is a number of hits. Far beyond any army's steps it can only be a slip of the
      // pen, and the battle's sums of steps and hits must stay within their integers.
      if (value < -kCrtEntryLimit || value > kCrtEntryLimit) {
        return {false, name + " line " + std::to_string(lineNo) + " field " + std::to_string(k + 1) + ": " +
                           std::to_string(value) + " is outside -" + std::to_string(kCrtEntryLimit) + ".." +
                           std::to_string(kCrtEntryLimit)};
      }
      table[static_cast<std::size_t>(k)][static_cast<std::size_t>(lineNo)] = value;
    }
    if (last) break;
    pos = end + 1;
  }
  g.CrtTable = table;
  return {true, {}};
}

CrtLoadResult LoadCrt(Game& g, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {false, path + ": cannot be opened"};
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return {false, path + ": cannot be read"};
  return ParseCrt(g, text.str(), path);
}

int CrtColumn(int s) {
  if (s <= 1) return 0;
  if (s == 2) return 1;
  if (s <= 4) return 2;
  if (s <= 6) return 3;
  if (s <= 10) return 4;
  if (s <= 15) return 5;
  if (s <= 20) return 6;
  if (s <= 30) return 7;
  if (s <= 40) return 8;
  if (s <= 50) return 9;
  if (s <= 60) return 10;
  if (s <= 70) return 11;
  if (s <= 80) return 12;
  return 13;
}

}  // namespace milgant
