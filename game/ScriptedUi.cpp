#include "game/ScriptedUi.h"

#include "game/Header.h"

namespace milgant {

int ScriptedUi::Next(int fallback) {
  if (Answers.empty()) return fallback;
  const int a = Answers.front();
  Answers.pop_front();
  return a;
}

void ScriptedUi::Note(std::string_view caption, std::string_view text) {
  Log.push_back({"note", std::string(caption), std::string(text), 1});
}

bool ScriptedUi::Ask(std::string_view caption, std::string_view text) {
  const int a = Next(1) != 0 ? 1 : 0;
  Log.push_back({"question", std::string(caption), std::string(text), a});
  return a == 1;
}

bool ScriptedUi::AskChoice(std::string_view caption, std::string_view text, std::string_view first,
                           std::string_view second) {
  const int a = Next(1) != 0 ? 1 : 0;
  Log.push_back({"choice", std::string(caption),
                 std::string(text) + " [" + std::string(first) + "/" + std::string(second) + "]", a});
  return a == 1;
}

int ScriptedUi::ChooseSide(std::string_view caption, std::string_view text, std::string_view first,
                           std::string_view second) {
  const int a = Next(1) != 0 ? 1 : 0;
  Log.push_back({"side", std::string(caption),
                 std::string(text) + " [" + std::string(first) + "/" + std::string(second) + "]", a});
  return a == 1 ? 0 : 1;
}

void ScriptedUi::MessageBox(std::string_view text) { Log.push_back({"message", "", std::string(text), 1}); }

int ScriptedUi::OpenUnitWindow(int x, int y) {
  const int a = Next(-1);
  Log.push_back({"unit", "", std::to_string(x) + "," + std::to_string(y), a});
  return a;
}

int ScriptedUi::AllocateReplenishment(int unitSlot, int maximum) {
  int a = Next(0);
  if (a > maximum) a = maximum;
  Log.push_back({"allocate", "", std::to_string(unitSlot), a});
  return a;
}

int ScriptedUi::AllocateStandby(int unitSlot, int maximum) {
  int a = Next(0);
  if (a > maximum) a = maximum;
  Log.push_back({"standby", "", std::to_string(unitSlot), a});
  return a;
}

void ScriptedUi::BattleMessage(std::string_view text) { Log.push_back({"battle", "", std::string(text), 0}); }

void ScriptedUi::BattleRetreatArrow(int direction, int x, int y) { RetreatArrows.push_back({direction, x, y}); }

int ScriptedUi::BattleChooseReinforcement(int panel, const UnitList& candidates) {
  if (candidates.Count <= 0) return -1;
  int a = Next(-1);
  if (a < 0 || a >= candidates.Count) a = -1;
  std::string slots;
  for (int i = 0; i < candidates.Count && i < kUnitSlots; ++i) {
    if (i > 0) slots += ",";
    slots += std::to_string(candidates.Slots[static_cast<std::size_t>(i)]);
  }
  Log.push_back({"reinforcement", panel == 0 ? "attacker" : "defender", slots, a});
  return a;
}

std::vector<std::string> ScriptedUi::TextsOf(std::string_view kind) const {
  std::vector<std::string> out;
  for (const Entry& e : Log) {
    if (e.Kind == kind) out.push_back(e.Text);
  }
  return out;
}

}  // namespace milgant
