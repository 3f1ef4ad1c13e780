#include "core/game/Invariants.h"

#include "core/game/Game.h"

namespace milgant {
namespace {

std::string UnitText(int slot) { return "unit " + std::to_string(slot); }

void CheckCorps(const Game& g, std::vector<std::string>& out) {
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.SubordinateCount < 0 || u.SubordinateCount > kMaxSubordinates) {
      out.push_back(UnitText(slot) + ": subordinate count " + std::to_string(u.SubordinateCount));
      continue;
    }
    for (int i = 0; i < u.SubordinateCount; ++i) {
      const int s = u.Subordinates[static_cast<std::size_t>(i)];
      if (s < 1 || s >= kUnitSlots) {
        out.push_back(UnitText(slot) + ": subordinate entry " + std::to_string(s));
      } else if (g.U(s).CommanderIndex != slot) {
        out.push_back(UnitText(slot) + " lists " + UnitText(s) + ", whose commander is " +
                      std::to_string(g.U(s).CommanderIndex));
      }
      for (int j = 0; j < i; ++j) {
        if (u.Subordinates[static_cast<std::size_t>(j)] == s) out.push_back(UnitText(slot) + " lists " + UnitText(s) + " twice");
      }
    }
    const int c = u.CommanderIndex;
    if (c == -1) continue;
    if (c < 1 || c >= kUnitSlots || c == slot) {
      out.push_back(UnitText(slot) + ": commander " + std::to_string(c));
      continue;
    }
    const Unit& cmd = g.U(c);
    bool listed = false;
    for (int i = 0; i < cmd.SubordinateCount && i < kMaxSubordinates; ++i) {
      listed = listed || cmd.Subordinates[static_cast<std::size_t>(i)] == slot;
    }
    if (!listed) out.push_back(UnitText(slot) + " is not listed by its commander " + UnitText(c));
  }
}

void CheckPlaces(const Game& g, InvariantScope scope, std::vector<std::string>& out) {
  if (g.U(0).OnMap != 0) out.push_back("slot 0 is on the map");
  for (int slot = 1; slot < kUnitSlots; ++slot) {
    const Unit& u = g.U(slot);
    if (u.OnMap == 1 && (u.HexX >= kMapSize || u.HexY >= kMapSize)) out.push_back(UnitText(slot) + " stands off the map");
    if (u.OnMap == 1 && u.Side != SideOfSlot(slot)) out.push_back(UnitText(slot) + " is in the other side's slots");
  }
  for (int a = 1; a < g.CastleCounter && a < kCastleSlots; ++a) {
    const Castle& ca = g.Castles[static_cast<std::size_t>(a)];
    if (!OnMapHex(ca.HexX, ca.HexY)) {
      out.push_back("castle " + std::to_string(a) + " stands off the map");
      continue;
    }
    const int t = g.H(ca.HexX, ca.HexY).Terrain;
    if (scope == InvariantScope::Play && IsCastleTerrain(t) && (t & 1) != ca.Owner) {
      out.push_back("castle " + std::to_string(a) + ": terrain " + std::to_string(t) + " does not show owner " +
                    std::to_string(ca.Owner));
    }
    for (int b = 1; b < a; ++b) {
      const Castle& cb = g.Castles[static_cast<std::size_t>(b)];
      if (cb.HexX == ca.HexX && cb.HexY == ca.HexY) {
        out.push_back("castles " + std::to_string(b) + " and " + std::to_string(a) + " share a hex");
      }
    }
  }
}

}  // namespace

std::vector<std::string> CheckInvariants(const Game& g, InvariantScope scope) {
  std::vector<std::string> out;
  CheckCorps(g, out);
  CheckPlaces(g, scope, out);
  return out;
}

}  // namespace milgant
