#include "core/rules/MoraleRecovery.h"

#include <string>

#include "core/game/Game.h"
#include "core/game/Text.h"
#include "core/game/Ui.h"

namespace milgant {
namespace {

void Recovered(const Game& g, Ui& ui, int slot) {
  const Unit& u = g.U(slot);
  ui.Note("士気回復", Cp932ToUtf8Lossy(u.ArmyName.View()) + " " + Cp932ToUtf8Lossy(u.GeneralName.View()) +
                        "指揮下の軍勢の\r士気が回復しました。");
}

}  // namespace

void MoraleRecovery(Game& g, Ui& ui, int slot) {
  if (slot < 1 || slot >= kUnitSlots) return;
  Unit& u = g.U(slot);
  const int morale = u.Morale;
  if (g.Rng.Next(6) >= morale) return;  // the general himself failed: nobody recovers
  u.Normal = 1;
  Recovered(g, ui, slot);
  if (u.CommanderIndex != -1) return;
  // Each subordinate rolls against its commander's morale.
  for (int i = 0; i < u.SubordinateCount && i < kMaxSubordinates; ++i) {
    const int sub = u.Subordinates[static_cast<std::size_t>(i)];
    if (sub < 1 || sub >= kUnitSlots) continue;
    if (g.Rng.Next(6) < morale) {
      g.U(sub).Normal = 1;
      Recovered(g, ui, sub);
    }
  }
}

}  // namespace milgant
