// The computer side's whole phase: postures from the balance of strength, the order in which
// its commanders act, stacks merged into corps, objectives for a side-0 computer, then every
// commander's moves, recovery, attacks, and the points left over put into standby and works.
#pragma once

#include <array>
#include <cstdint>

#include "core/game/Header.h"
#include "core/game/HexGrid.h"

namespace milgant {

struct Game;
class Ui;
struct ObjectiveTable;

// The commanders in the order they act: (key, slot); units leaving their corps are appended.
struct ProcessingList {
  struct Entry {
    std::int32_t Key = 0;
    std::int32_t Slot = 0;
  };
  std::array<Entry, 141> Entries{};
  int Count = 0;
  bool Full() const { return Count >= static_cast<int>(Entries.size()); }
  void Add(int key, int slot) { Entries[static_cast<std::size_t>(Count++)] = {key, slot}; }
};

struct SupporterList {
  std::array<int, 141> Slots{};
  std::array<double, 141> Odds{};
  int Count = 0;
};

// Runs with GameState 15 and PhaseSide set to the computer's side by the turn sequence.
void RunComputerPhase(Game& g, Ui& ui);

// The steps of the phase, in the order it takes them.
void SetPostures(Game& g);
void BuildProcessingList(const Game& g, ProcessingList& list);
void MergeStacksIntoCorps(Game& g);
void AssignObjectives(Game& g, const ObjectiveTable& objectives);
// Both return false when the program is closing and the phase must stop at once.
bool ActivateCommander(Game& g, Ui& ui, ProcessingList& list, int index);
bool ContinueCommander(Game& g, Ui& ui, ProcessingList& list, int index);

// The adjacent hex the unit would attack best, (-1, -1) when none.
HexPos ChooseAttackTarget(Game& g, int slot);
// Fresh independent units near the target that could get to the commander's hex, best first.
SupporterList FindSupporters(Game& g, HexPos target, HexPos commanderHex);
bool CorpsConfused(const Game& g, int slot);
// A unit with a commander goes to (x, y), losing its works when the hex changes.
void PlaceWithCommander(Game& g, int slot, int x, int y);
// Points left at a commander's end: standby for nearby battles, then field works.
void UseLeftOverPoints(Game& g, int slot);
// Tells the screen of every general who left or joined a corps since `before` (each unit's
// commander then).
void ReportCorpsChanges(Game& g, Ui& ui, const std::array<std::int32_t, kUnitSlots>& before);
// The odds a computer attack must beat: cautious in the first seven turns, bold after.
double AttackThreshold(int turn);

}  // namespace milgant
