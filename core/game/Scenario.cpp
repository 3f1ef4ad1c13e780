#include "core/game/Scenario.h"

#include <memory>
#include <span>

#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/MapFile.h"
#include "core/game/Text.h"
#include "core/game/Ui.h"

namespace milgant {
namespace {

struct CastleRow {
  int Number;
  std::string_view Name;
  int X, Y, Owner, Durability, Strength, Value;
  std::array<std::int32_t, 5> Links;
};

struct UnitRow {
  std::string_view Row;
  int Slot;
  std::string_view Rank;
  std::string_view CommanderRow;
  UnitStats Stats;
};

constexpr CastleRow kCastleRows[] = {
    {1, "吉田城", 19, 15, 1, 4, 2, 40, {2, 999, 999, 999, 999}},
    {2, "岡崎城", 18, 11, 1, 8, 3, 40, {1, 3, 4, 999, 999}},
    {3, "刈屋城", 16, 11, 0, 4, 2, 40, {1, 2, 4, 999, 999}},
    {4, "清洲城", 16, 5, 0, 15, 5, 50, {2, 3, 5, 9, 999}},
    {5, "犬山城", 17, 3, 0, 7, 3, 30, {4, 7, 999, 999, 999}},
    {6, "那古屋城", 15, 6, 0, 12, 4, 50, {3, 4, 9, 999, 999}},
    {7, "岐阜城", 15, 2, 0, 12, 4, 60, {5, 6, 8, 999, 999}},
    {8, "大垣城", 13, 2, 0, 4, 3, 50, {7, 9, 15, 999, 999}},
    {9, "長島城", 13, 6, 0, 5, 2, 60, {4, 8, 10, 999, 999}},
    {10, "亀山城", 9, 9, 0, 4, 2, 60, {9, 11, 14, 17, 999}},
    {11, "津城", 10, 11, 0, 4, 2, 60, {10, 12, 999, 999, 999}},
    {12, "百地丹羽城", 7, 10, 0, 3, 3, 35, {10, 17, 999, 999, 999}},
    {13, "長浜城", 10, 0, 0, 9, 3, 80, {8, 14, 16, 999, 999}},
    {14, "佐和山城", 8, 3, 0, 5, 3, 40, {13, 15, 16, 999, 999}},
    {15, "日野城", 9, 6, 0, 4, 2, 35, {10, 14, 16, 18, 999}},
    {16, "瀬田城", 5, 6, 0, 3, 1, 55, {14, 15, 19, 19, 999}},
    {17, "槇島城", 3, 7, 0, 3, 2, 50, {12, 16, 18, 14, 999}},
    {18, "京", 2, 5, 0, 1, 1, 80, {16, 17, 19, 19, 999}},
    {19, "高槻城", 1, 8, 0, 4, 3, 45, {18, 20, 999, 999, 999}},
    {20, "茨木城", 0, 9, 0, 4, 2, 50, {19, 21, 999, 999, 999}},
    {21, "若江城", 0, 11, 0, 3, 2, 60, {20, 22, 999, 999, 999}},
    {22, "郡山城", 2, 13, 0, 4, 2, 60, {12, 16, 21, 999, 999}},
};
constexpr UnitRow kSide0Rows[] = {
    {"A01", 1, "総大将", "", {2, 5, 5, 0, 4, 10, 20, 12, 5, 8, 3, 7, 1, 0, 80, 0, 0}},
    {"A02", 2, "大将", "", {2, 5, 4, 0, 4, 6, 20, 10, 4, 6, 2, 10, 3, 0, 80, 0, 0}},
    {"A03", 3, "大将", "", {15, 2, 0, 0, 5, 4, 10, 9, 3, 3, 2, 5, 1, 0, 80, 0, 0}},
    {"A04", 4, "大将", "", {15, 6, 0, 0, 4, 8, 10, 10, 4, 4, 3, 10, 1, 1, 80, 0, 0}},
    {"A05", 5, "侍大将", "A03", {16, 5, 0, 0, 4, 6, 8, 9, 3, 0, 2, 5, 3, 0, 80, 0, 0}},
    {"A06", 6, "侍大将", "A03", {16, 5, 0, 0, 4, 6, 8, 9, 2, 0, 2, 8, 3, 0, 80, 0, 0}},
    {"A07", 7, "侍大将", "A04", {16, 5, 0, 0, 4, 6, 8, 9, 2, 0, 2, 8, 3, 0, 80, 0, 0}},
    {"A08", 8, "侍大将", "A02", {2, 5, 4, 0, 4, 7, 10, 10, 4, 0, 3, 9, 1, 0, 80, 0, 0}},
    {"A09", 9, "侍大将", "A02", {2, 5, 4, 0, 4, 7, 10, 9, 3, 0, 3, 9, 1, 0, 80, 0, 0}},
    {"A10", 10, "侍大将", "", {5, 6, 5, 0, 4, 7, 10, 9, 3, 0, 3, 10, 3, 0, 80, 0, 0}},
    {"A11", 11, "侍大将", "", {3, 7, 5, 0, 4, 7, 10, 9, 3, 0, 3, 10, 3, 0, 80, 0, 0}},
    {"A12", 12, "侍大将", "A04", {15, 2, 0, 0, 4, 7, 10, 9, 3, 0, 3, 5, 1, 0, 80, 0, 0}},
    {"A13", 13, "大将", "", {2, 5, 6, 0, 4, 8, 15, 10, 3, 3, 3, 7, 1, 0, 75, 0, 0}},
    {"A14", 14, "侍大将", "", {2, 5, 6, 0, 4, 6, 10, 9, 3, 0, 2, 7, 3, 0, 75, 0, 0}},
    {"A15", 15, "侍大将", "", {2, 5, 6, 0, 4, 6, 10, 9, 4, 0, 4, 5, 3, 0, 80, 0, 0}},
    {"A16", 16, "大将", "", {0, 9, 0, 0, 4, 6, 10, 10, 5, 7, 3, 11, 3, 2, 80, 0, 0}},
    {"A17", 17, "大将", "", {0, 9, 0, 0, 4, 10, 20, 9, 4, 4, 3, 11, 3, 0, 80, 0, 0}},
    {"A18", 18, "侍大将", "A16", {0, 9, 0, 0, 4, 10, 10, 9, 4, 0, 3, 11, 3, 0, 80, 0, 0}},
    {"A19", 19, "侍大将", "", {0, 9, 6, 0, 4, 10, 10, 9, 4, 0, 3, 11, 3, 0, 80, 0, 0}},
    {"A20", 20, "侍大将", "A16", {0, 9, 0, 0, 4, 10, 10, 9, 4, 0, 3, 11, 3, 0, 80, 0, 0}},
    {"A21", 21, "侍大将", "A17", {0, 9, 0, 0, 4, 5, 10, 9, 4, 0, 2, 12, 3, 0, 80, 0, 0}},
    {"A22", 22, "侍大将", "", {0, 9, 5, 0, 4, 10, 10, 9, 4, 0, 2, 12, 3, 0, 80, 0, 0}},
    {"A23", 23, "侍大将", "", {0, 9, 5, 0, 4, 8, 10, 9, 4, 0, 2, 12, 3, 0, 80, 0, 0}},
    {"A24", 24, "侍大将", "", {0, 9, 6, 0, 4, 12, 10, 9, 4, 0, 3, 12, 3, 0, 80, 0, 0}},
    {"A25", 25, "侍大将", "", {0, 9, 6, 0, 4, 8, 10, 9, 4, 0, 3, 12, 3, 0, 80, 0, 0}},
    {"A26", 26, "侍大将", "", {0, 9, 6, 0, 4, 8, 10, 9, 4, 0, 3, 12, 3, 0, 80, 0, 0}},
};
constexpr UnitRow kSide1Rows[] = {
    {"B01", 71, "総大将", "", {19, 13, 0, 2, 4, 13, 20, 12, 5, 7, 5, 3, 1, 0, 80, 0, 5}},
    {"B02", 72, "大将", "B01", {19, 13, 0, 2, 4, 9, 10, 11, 4, 4, 4, 3, 1, 0, 80, 0, 5}},
    {"B03", 73, "大将", "", {19, 15, 0, 2, 4, 9, 10, 11, 4, 4, 4, 3, 1, 0, 80, 0, 5}},
    {"B04", 74, "大将", "B01", {18, 11, 0, 2, 4, 12, 10, 11, 4, 3, 4, 3, 1, 0, 80, 0, 5}},
    {"B05", 75, "大将", "B01", {18, 11, 0, 2, 4, 9, 10, 11, 4, 3, 4, 3, 1, 0, 80, 2, 4}},
    {"B06", 76, "大将", "", {18, 11, 0, 2, 4, 8, 10, 11, 4, 3, 4, 2, 1, 0, 80, 1, 4}},
    {"B07", 77, "大将", "", {18, 14, 0, 2, 4, 8, 10, 11, 4, 4, 4, 2, 1, 0, 80, 5, 4}},
    {"B08", 78, "侍大将", "B01", {18, 14, 0, 2, 4, 9, 10, 9, 3, 0, 3, 2, 1, 0, 80, 5, 4}},
    {"B09", 79, "侍大将", "B01", {19, 11, 0, 2, 4, 9, 10, 9, 3, 0, 3, 2, 1, 0, 80, 5, 4}},
    {"B10", 80, "侍大将", "B03", {18, 11, 0, 2, 4, 9, 10, 9, 3, 0, 3, 2, 1, 0, 85, 1, 4}},
    {"B11", 81, "侍大将", "B03", {18, 15, 0, 2, 4, 9, 10, 9, 3, 0, 3, 3, 1, 0, 85, 2, 4}},
    {"B12", 82, "侍大将", "B03", {18, 15, 0, 2, 4, 9, 10, 9, 3, 0, 3, 1, 1, 0, 85, 2, 4}},
    {"B13", 83, "侍大将", "B06", {19, 13, 0, 2, 4, 9, 10, 9, 3, 0, 3, 1, 1, 0, 80, 2, 4}},
    {"B14", 84, "侍大将", "B07", {19, 13, 0, 2, 4, 9, 10, 9, 3, 0, 3, 0, 1, 0, 80, 5, 4}},
    {"B15", 85, "大将", "", {18, 11, 0, 2, 4, 9, 10, 9, 3, 3, 4, 0, 1, 0, 80, 5, 4}},
    {"B16", 86, "侍大将", "B15", {18, 11, 0, 2, 4, 9, 10, 9, 3, 0, 3, 0, 1, 0, 80, 5, 4}},
    {"B17", 87, "侍大将", "B15", {19, 13, 0, 2, 4, 9, 10, 9, 3, 0, 3, 0, 1, 0, 80, 5, 4}},
    {"B18", 88, "侍大将", "B15", {18, 13, 0, 2, 4, 9, 10, 9, 3, 0, 3, 0, 1, 0, 80, 5, 4}},
};

// The generals of both armies. Invented names, none of them a historical person.
struct GeneralRow {
  std::string_view Row;
  std::string_view Name;
};
constexpr GeneralRow kGenerals[] = {
    {"A01", "鷹森政綱"}, {"A02", "霧島頼嗣"}, {"A03", "白樫光貞"}, {"A04", "葛城重友"},
    {"A05", "梶浦信景"}, {"A06", "野瀬兼房"}, {"A07", "芦原貞宗"}, {"A08", "久我直澄"},
    {"A09", "桐生元忠"}, {"A10", "沢渡勝久"}, {"A11", "早瀬正胤"}, {"A12", "戸隠清綱"},
    {"A13", "磯辺義邦"}, {"A14", "篠塚行光"}, {"A15", "矢代輝盛"}, {"A16", "三雲宗冬"},
    {"A17", "柚木長綱"}, {"A18", "比良坂惟道"}, {"A19", "鳴海景直"}, {"A20", "汐見貞俊"},
    {"A21", "楢崎重春"}, {"A22", "石動資盛"}, {"A23", "鹿野政頼"}, {"A24", "伊庭忠胤"},
    {"A25", "黒瀬通正"}, {"A26", "浅葱信定"},
    {"B01", "東雲家晴"}, {"B02", "朱鷺田正興"}, {"B03", "鬼頭康晴"}, {"B04", "蒼井忠恒"},
    {"B05", "高遠重勝"}, {"B06", "楠瀬信貞"}, {"B07", "渡会元秀"}, {"B08", "長谷部吉次"},
    {"B09", "小此木康宗"}, {"B10", "牧瀬家次"}, {"B11", "芹沢忠綱"}, {"B12", "梓川正次"},
    {"B13", "柏葉康光"}, {"B14", "榎戸信実"}, {"B15", "嵯峨野元成"}, {"B16", "桧垣清長"},
    {"B17", "雲雀宗忠"}, {"B18", "槙野政忠"},
};

void BuildOrderOfBattle(Game& g, int side) {
  const auto rows = side == 0 ? std::span<const UnitRow>(kSide0Rows) : std::span<const UnitRow>(kSide1Rows);
  for (const UnitRow& row : rows) {
    const std::string_view commander = row.CommanderRow.empty() ? std::string_view{} : GeneralNameOfRow(row.CommanderRow);
    const int serial = side == 0 ? row.Slot : row.Slot - 70;
    AddUnit(g, ArmyNames[static_cast<std::size_t>(side)], GeneralNameOfRow(row.Row), row.Rank, commander, side,
            serial, row.Stats);
  }
}

}  // namespace

std::string_view GeneralNameOfRow(std::string_view row) {
  for (const GeneralRow& r : kGenerals) {
    if (r.Row == row) return r.Name;
  }
  return {};
}

std::int32_t RankFromName(std::string_view rankName) {
  if (rankName == "総大将") return static_cast<std::int32_t>(RankCode::Commander);
  if (rankName == "大将") return static_cast<std::int32_t>(RankCode::Taisho);
  return static_cast<std::int32_t>(RankCode::General);
}

void AddCastle(Game& g, int number, std::string_view name, int x, int y, int owner, int durability,
               int strength, int value, const std::array<std::int32_t, 5>& links) {
  Castle& c = g.Castles[static_cast<std::size_t>(number)];
  c.Name.Assign(Cp932(name));
  c.HexX = x;
  c.HexY = y;
  c.Owner = owner;
  c.Durability = c.MaxDurability = durability;
  c.Strength = c.MaxStrength = strength;
  c.CastleValue = value;
  c.CastleMorale = 0;
  c.CastleLinks = links;
  // The hex shows its holder in the lowest bit of the terrain code.
  Hex& h = g.H(x, y);
  if (owner == 0 && (h.Terrain & 1) != 0) h.Terrain -= 1;
  if (owner == 1 && (h.Terrain & 1) == 0) h.Terrain += 1;
  g.CastleCounter += 1;
}

void AddUnit(Game& g, std::string_view armyName, std::string_view generalName, std::string_view rankName,
             std::string_view commanderName, int side, int serial, const UnitStats& s) {
  const int slot = side == 0 ? serial : serial + 70;
  Unit& u = g.U(slot);
  u.CombatModifier = s.CombatModifier;
  u.Command = s.Command;
  u.Morale = s.Morale;
  u.CorpsActionPoints = s.CorpsActionPoints;
  u.Rank = RankFromName(rankName);
  u.Normal = 1;
  u.Fortified = 0;
  u.Side = static_cast<std::uint8_t>(side);
  u.ComputerUnit = static_cast<std::uint8_t>(side == 0 ? g.PlayerSide : g.ComputerSide);
  u.ArmyName.Assign(Cp932(armyName));
  u.GeneralName.Assign(Cp932(generalName));
  u.Steps = u.MaxSteps = s.Steps;
  u.CombatPower = u.MaxCombatPower = s.CombatPower;
  u.ActionPoints = u.MaxActionPoints = s.ActionPoints;
  u.MovementType = s.MovementType;
  u.EntryTurn = s.EntryTurn;
  u.HexX = static_cast<std::uint8_t>(s.X);
  u.HexY = static_cast<std::uint8_t>(s.Y);
  u.ScenarioCode = s.ScenarioCode;
  u.ScenarioFlag = static_cast<std::uint8_t>(s.ScenarioFlag);
  u.ScenarioValueA = s.ScenarioValueA;
  u.ScenarioByte = static_cast<std::uint8_t>(s.ScenarioByte);
  u.ScenarioValueB = s.ScenarioValueB;
  u.ScenarioValueC = s.ScenarioValueC;

  if (!commanderName.empty()) {
    const int c = FindUnitByName(g, Cp932(commanderName));
    Unit& cmd = g.U(c);
    u.CommanderIndex = c;
    if (cmd.SubordinateCount < kMaxSubordinates) {
      cmd.Subordinates[static_cast<std::size_t>(cmd.SubordinateCount)] = slot;
      cmd.SubordinateCount += 1;
    }
    // A subordinate stands with its commander, whatever its own row says.
    u.HexX = cmd.HexX;
    u.HexY = cmd.HexY;
  }
  u.OnMap = g.Turn == u.EntryTurn ? 1 : 0;
  u.CanMove = 1;
  u.Arrived = 1;
  u.Supplied = 1;
  if (side == 1) {
    u.AiRole = 1;
    u.ReinforcementWait = 3;
  }
}

void DrawAdvanceLimit(Game& g) { g.AdvanceLimit = g.Rng.Next(101) > 79 ? 15 : 11; }

void BuildScenario(Game& g, const MapTable& map) {
  // Nothing of an earlier game may leak into this one: every slot starts as it was when the
  // program started, and the points start from nothing. A new game then is the same whatever
  // was played before it, which a replay from a seed relies on.
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    Unit& u = g.U(slot);
    u = Unit{};
    u.CommanderIndex = -1;
    u.Subordinates.fill(-1);
  }
  ResetForNewGame(g);
  g.Turn = 0;
  g.VictoryPoints = 0;
  g.ReplenishmentPoints = {0, 0, 0};
  g.SelectedUnit = 0;
  g.ActiveUnit = 0;
  g.Map = map;
  g.CastleCounter = 1;
  for (const CastleRow& c : kCastleRows) {
    AddCastle(g, c.Number, c.Name, c.X, c.Y, c.Owner, c.Durability, c.Strength, c.Value, c.Links);
  }
  BuildOrderOfBattle(g, 0);
  BuildOrderOfBattle(g, 1);
}

namespace {
void OpenPlay(Game& g, Ui& ui) {
  g.GameState = 3;
  g.ScrollRedraw = 1;
  g.RangeOverlay = 0;
  ui.RedrawMap();
  ui.MusicStart();
}
}  // namespace

void PrepareScenario(Game& g, Ui& ui, const MapTable& map) {
  DrawAdvanceLimit(g);
  BuildScenario(g, map);
  OpenPlay(g, ui);
  ui.RefreshSidePanel();
}

bool SetUpNewGame(Game& g, Ui& ui, const std::string& mapPath) {
  // The map is read first, into a copy: a bad file must not leave a half-built game behind.
  auto scratch = std::make_unique<MapTable>();
  const MapLoadResult map = LoadMap(*scratch, mapPath);
  if (!map.Ok) {
    ui.Note("エラー", map.Reason);
    return false;
  }
  DrawAdvanceLimit(g);
  const int side = ui.ChooseSide("陣営選択", "プレイする陣営を選択してください", ArmyNames[0], ArmyNames[1]);
  if (side == 0 || side == 1) {
    g.PlayerSide = side;
    g.ComputerSide = 1 - side;
    // Detaching and organising corps is the side-1 player's privilege.
    g.SetButton(UnitButton::Detach, side == 1);
    g.SetButton(UnitButton::Organise, side == 1);
  }
  BuildScenario(g, *scratch);
  OpenPlay(g, ui);
  return true;
}

}  // namespace milgant
