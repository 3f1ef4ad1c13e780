#include "core/turn/Organisation.h"

#include "core/game/Events.h"
#include "core/game/Game.h"
#include "core/game/Ui.h"
#include "core/turn/CommandTexts.h"

namespace milgant {
namespace {

bool ValidSlot(int slot) { return slot >= 1 && slot < kUnitSlots; }

int IndexInCorps(const Unit& c, int sub) {
  for (int i = 0; i < c.SubordinateCount && i < kMaxSubordinates; ++i) {
    if (c.Subordinates[static_cast<std::size_t>(i)] == sub) return i;
  }
  return -1;
}

}  // namespace

bool DetachGeneral(Game& g, Ui& ui, int commander, int sub) {
  if (!ValidSlot(commander) || !ValidSlot(sub)) return false;
  Unit& c = g.U(commander);
  Unit& s = g.U(sub);
  const int at = IndexInCorps(c, sub);
  if (at < 0 || s.CanMove == 0) return false;
  s.TurnActionPoints = s.ActionPoints = s.OwnActionPoints;
  s.CommanderIndex = -1;
  // The ones after him close up; the freed place at the end is empty.
  for (int i = at; i + 1 < kMaxSubordinates; ++i) c.Subordinates[static_cast<std::size_t>(i)] = c.Subordinates[static_cast<std::size_t>(i + 1)];
  c.Subordinates[kMaxSubordinates - 1] = -1;
  --c.SubordinateCount;
  ui.Happened(UnitEvent(g, EventKind::Detached, sub, commander));
  return true;
}

bool CanJoinCorps(const Game& g, int general) {
  if (!ValidSlot(general)) return false;
  const Unit& u = g.U(general);
  return u.CanMove == 1 && u.CommanderIndex == -1 && u.SubordinateCount == 0;
}

AttachOutcome AttachGeneral(Game& g, Ui& ui, int commander, int general) {
  if (!ValidSlot(commander) || !CanJoinCorps(g, general)) return AttachOutcome::Refused;
  Unit& c = g.U(commander);
  const Unit& joining = g.U(general);
  if (c.CommanderIndex != -1 || c.HexX != joining.HexX || c.HexY != joining.HexY || c.OnMap != 1 || joining.OnMap != 1 ||
      c.Side != joining.Side)
    return AttachOutcome::Refused;
  // A commander takes one more subordinate than his command rating, and never more than his
  // list holds.
  if (c.SubordinateCount > c.Command || c.SubordinateCount >= kMaxSubordinates) {
    ui.Note(texts::kCommandErrorCaption, texts::kCommandErrorText);
    return AttachOutcome::TooMany;
  }
  if (c.Rank <= joining.Rank) {
    ui.Note(texts::kRankErrorCaption, texts::kRankErrorText);
    return AttachOutcome::NoRankGap;
  }
  Unit& u = g.U(general);
  u.CommanderIndex = commander;
  u.ActionPoints = c.ActionPoints;
  u.TurnActionPoints = c.ActionPoints;
  c.Subordinates[static_cast<std::size_t>(c.SubordinateCount)] = general;
  ++c.SubordinateCount;
  ui.Happened(UnitEvent(g, EventKind::Attached, general, commander));
  return AttachOutcome::Attached;
}

}  // namespace milgant
