#include "core/rules/CastleFall.h"

#include <string>

#include "core/rules/UnitRemoval.h"
#include "core/game/Game.h"
#include "core/game/Text.h"
#include "core/game/Ui.h"

namespace milgant {
namespace {

bool ValidCastle(const Game& g, int castle) {
  return castle >= 1 && castle < kCastleSlots && castle < g.CastleCounter;
}

// Shared by a fall and a surrender: the window over the castle, the message, the new holder.
void HandOver(Game& g, Ui& ui, int castle, std::string_view message, CastleCause cause) {
  Castle& c = g.Castles[static_cast<std::size_t>(castle)];
  ui.BattleShow(c.HexX, c.HexY);
  ui.BattleMessage(Cp932ToUtf8Lossy(c.Name.View()) + std::string(message));
  c.CastleMorale = 0;
  c.Strength = c.MaxStrength;
  ChangeCastleOwner(g, ui, castle, cause);
}

}  // namespace

int VictoryPointChange(int newCode) {
  switch (newCode) {
    case 9: return 1;    // city taken by side 1
    case 11: return 2;   // large city taken by side 1
    case 8: return -1;   // city taken back by side 0
    case 10: return -2;  // large city taken back by side 0
    default: return 0;   // ports and everything else
  }
}

void ChangeCastleOwner(Game& g, Ui& ui, int castle, CastleCause cause) {
  if (!ValidCastle(g, castle)) return;
  Castle& c = g.Castles[static_cast<std::size_t>(castle)];
  c.Owner = c.Owner != 0 ? 0 : 1;
  Event e = MakeEvent(g, EventKind::CastleChanged, c.Owner);
  e.Other = castle;
  e.X = c.HexX;
  e.Y = c.HexY;
  e.Value = static_cast<std::int32_t>(cause);
  ui.Happened(e);
  if (!OnMapHex(c.HexX, c.HexY)) return;
  Hex& h = g.H(c.HexX, c.HexY);
  // Only a city hex carries the holder; one that already shows the new holder keeps its code.
  if (h.Terrain > 7 && (h.Terrain & 1) != c.Owner) {
    h.Terrain += c.Owner == 0 ? -1 : 1;
    const int before = g.VictoryPoints;
    g.VictoryPoints += VictoryPointChange(h.Terrain);
    if (g.VictoryPoints != before) {
      Event v = MakeEvent(g, EventKind::VictoryPoints, c.Owner);
      v.Other = castle;
      v.Value = before;
      v.Value2 = g.VictoryPoints;
      ui.Happened(v);
    }
  }
}

void CastleFalls(Game& g, Ui& ui, int castle) {
  if (!ValidCastle(g, castle)) return;
  Castle& c = g.Castles[static_cast<std::size_t>(castle)];
  c.Durability = c.MaxDurability;
  HandOver(g, ui, castle, "は落城しました。", CastleCause::Stormed);
}

void CastleSurrenders(Game& g, Ui& ui, int castle, const UnitList& garrison) {
  if (!ValidCastle(g, castle)) return;
  HandOver(g, ui, castle, "は降伏しました。", CastleCause::Surrendered);
  for (int i = 0; i < garrison.Count && i < kUnitSlots; ++i) {
    const int slot = garrison.Slots[static_cast<std::size_t>(i)];
    if (slot < 1 || slot >= kUnitSlots) continue;
    Unit& u = g.U(slot);
    u.OnMap = 0;
    ui.BattleMessage(Cp932ToUtf8Lossy(u.ArmyName.View()) + " " + Cp932ToUtf8Lossy(u.GeneralName.View()) +
                     "が全滅しました");
    RemoveUnit(g, ui, slot);
  }
  ui.RedrawMap();
  ui.BattleClose();
}

}  // namespace milgant
