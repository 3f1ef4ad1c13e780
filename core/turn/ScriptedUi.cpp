#include "core/turn/ScriptedUi.h"

#include "core/game/Header.h"
#include "core/turn/UnitWindow.h"

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

int ScriptedUi::ScriptAnswer(std::string_view caption) {
  static constexpr InputKind kAnswer[] = {InputKind::Answer};
  return Feed->Take(kAnswer, "the question \"" + std::string(caption) + "\"", "an answer (answer 1 or answer 0)").X;
}

int ScriptedUi::ScriptValue(std::string_view caption, bool halfSteps, int maximum) {
  static constexpr InputKind kValue[] = {InputKind::Value, InputKind::ValueCancel};
  const Input in = Feed->Take(kValue, "the window \"" + std::string(caption) + "\"", "a value (value N or value cancel)");
  if (in.Kind == InputKind::ValueCancel) return -1;
  // The scroll bar runs from 0 to the maximum; with half steps the value is half its position.
  if (in.X > maximum) {
    throw ScriptError(in.Line, "value " + std::to_string(in.X) + " is beyond the scroll bar of \"" +
                                   std::string(caption) + "\" (0.." + std::to_string(maximum) + ")");
  }
  return halfSteps ? in.X / 2 : in.X;
}

bool ScriptedUi::Ask(std::string_view caption, std::string_view text) {
  const int a = Feed != nullptr ? ScriptAnswer(caption) : (Next(1) != 0 ? 1 : 0);
  Log.push_back({"question", std::string(caption), std::string(text), a});
  return a == 1;
}

bool ScriptedUi::AskChoice(std::string_view caption, std::string_view text, std::string_view first,
                           std::string_view second) {
  const int a = Feed != nullptr ? ScriptAnswer(caption) : (Next(1) != 0 ? 1 : 0);
  Log.push_back({"choice", std::string(caption),
                 std::string(text) + " [" + std::string(first) + "/" + std::string(second) + "]", a});
  return a == 1;
}

int ScriptedUi::ChooseSide(std::string_view caption, std::string_view text, std::string_view first,
                           std::string_view second) {
  const int a = Feed != nullptr ? ScriptAnswer(caption) : (Next(1) != 0 ? 1 : 0);
  Log.push_back({"side", std::string(caption),
                 std::string(text) + " [" + std::string(first) + "/" + std::string(second) + "]", a});
  return a == 1 ? 0 : 1;
}

void ScriptedUi::MessageBox(std::string_view text) { Log.push_back({"message", "", std::string(text), 1}); }

void ScriptedUi::RunUnitWindow(UnitWindow& window) {
  // Without a script the window is looked at and cancelled.
  static constexpr InputKind kWindow[] = {InputKind::Row, InputKind::Sub, InputKind::Button, InputKind::Double};
  while (!window.Closed()) {
    if (Feed == nullptr) {
      window.ForceCancel();
      break;
    }
    const Input in = Feed->Take(kWindow, "the unit window", "row, sub, button or double");
    std::string why;
    if (!window.Apply(in, why)) throw ScriptError(in.Line, why);
  }
  Log.push_back({"unit", "", std::to_string(window.X()) + "," + std::to_string(window.Y()), window.ChosenUnit()});
}

int ScriptedUi::AllocateReplenishment(std::string_view caption, std::string_view text, bool halfSteps, int maximum) {
  int a = 0;
  if (Feed != nullptr) {
    a = ScriptValue(caption, halfSteps, maximum);
  } else {
    a = Next(0);
    if (a > maximum) a = maximum;
    if (a >= 0 && halfSteps) a /= 2;
  }
  Log.push_back({"allocate", std::string(caption), std::string(text), a});
  return a;
}

int ScriptedUi::AllocateStandby(std::string_view caption, std::string_view text, int maximum) {
  int a = 0;
  if (Feed != nullptr) {
    a = ScriptValue(caption, false, maximum);
  } else {
    a = Next(0);
    if (a > maximum) a = maximum;
  }
  Log.push_back({"standby", std::string(caption), std::string(text), a});
  return a;
}

void ScriptedUi::BattleMessage(std::string_view text) { Log.push_back({"battle", "", std::string(text), 0}); }

void ScriptedUi::BattleRetreatArrow(int direction, int x, int y) { RetreatArrows.push_back({direction, x, y}); }

int ScriptedUi::BattleChooseReinforcement(int panel, const UnitList& candidates) {
  if (candidates.Count <= 0) return -1;
  int a = -1;
  if (Feed != nullptr) {
    static constexpr InputKind kReinforce[] = {InputKind::Reinforce, InputKind::ReinforceNone};
    const Input in = Feed->Take(kReinforce, "the battle window's reinforcement list", "reinforce N or reinforce none");
    if (in.Kind == InputKind::Reinforce) {
      if (in.X >= candidates.Count) {
        throw ScriptError(in.Line, "reinforce " + std::to_string(in.X) + " is not in the reinforcement list (rows 0.." +
                                       std::to_string(candidates.Count - 1) + ")");
      }
      a = in.X;
    }
  } else {
    a = Next(-1);
    if (a < 0 || a >= candidates.Count) a = -1;
  }
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

void ScriptedUi::Happened(const Event& event) {
  if (KeepEvents) Events.push_back(event);
}

}  // namespace milgant
