// The player's inputs as plain text: one input a line, "#" starts a comment. The same lines are
// what the game window records while a game is played and what the scripted screen plays back,
// so a save, a seed and the lines replay a game exactly.
//
//   click X Y          left click on hex (X, Y)
//   right X Y          right button on hex (X, Y)
//   menu フェイズ終了    the menu-bar or pop-up command; "menu キャンセル" for the pop-up's other item;
//                      "menu 取り消し" takes back the move just confirmed
//   row N / sub N      select row N (from 0) of the unit window's upper / lower list
//   button CAPTION     press a unit-window button by its caption ("戦闘　合戦", "Cancel", ...)
//   double             double click on the unit window's upper list
//   answer N           a question or the side choice: 1 = the first button, 0 = the second
//   value N            an allocation window: the bar to N, then OK; "value cancel" for Cancel
//   reinforce N        the battle window's reinforcement list: row N (from 0); "reinforce none"
//   scroll X Y         the map view scrolled to (X, Y) pixels (saved with the game; it may stand
//                      anywhere and changes nothing else)
//
// Header comments of a recording: "# seed N" (the generator when the recording began),
// "# advance-limit N" (the computer's advance limit, which a save does not keep),
// "# opponent strong" (the stronger computer opponent played; without it, the standard one) and
// "# save FILE" (the save it began from).
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace milgant {

enum class Opponent : std::uint8_t;  // core/game/Game.h

enum class InputKind {
  Click, Right, Menu, Row, Sub, Button, Double, Answer, Value, ValueCancel, Reinforce, ReinforceNone, Scroll
};

enum class MenuItem { PhaseEnd, Cancel, Undo };

// The unit window's buttons as the player sees them.
enum class WindowButton { Move, Battle, Detach, Organise, Recover, EndAction, Replenish, Fortify, Standby, Cancel };
constexpr int kWindowButtonCount = 10;

struct Input {
  InputKind Kind = InputKind::Click;
  int X = 0;  // the hex of a click; the row, answer or value of the others
  int Y = 0;
  MenuItem Menu = MenuItem::PhaseEnd;
  WindowButton Button = WindowButton::Cancel;
  int Line = 0;  // line of the script it came from, 0 when it came from the window

  static Input Click(int x, int y) { return {InputKind::Click, x, y}; }
  static Input Right(int x, int y) { return {InputKind::Right, x, y}; }
  static Input Scroll(int x, int y) { return {InputKind::Scroll, x, y}; }
  static Input MenuCommand(MenuItem m) {
    Input i{InputKind::Menu};
    i.Menu = m;
    return i;
  }
  static Input Of(InputKind k, int n = 0) { return {k, n}; }
  static Input Press(WindowButton b) {
    Input i{InputKind::Button};
    i.Button = b;
    return i;
  }
};

std::string_view ButtonCaption(WindowButton b);
std::string_view MenuCaption(MenuItem m);
// The line of an input, without its newline.
std::string FormatInput(const Input& in);

// A script that cannot be played: the line it names and why. The game it ran on is to be
// thrown away.
struct ScriptError : std::runtime_error {
  ScriptError(int line, const std::string& why);
  int Line;
};

struct InputScript {
  std::vector<Input> Inputs;
  std::optional<std::uint32_t> Seed;  // "# seed N"
  std::optional<int> AdvanceLimit;    // "# advance-limit N"
  std::optional<Opponent> Played;     // "# opponent standard|strong": who played the computer
  std::string SaveName;               // "# save FILE"
  int LineCount = 0;
};
// Reads a whole script; a line that is not an input is a ScriptError naming it.
InputScript ParseInputScript(std::string_view text);
// One line; false with `why` set when it is not an input, and nothing kept for blank lines and
// comments (then `in` is untouched and the result is true with `blank` set).
bool ParseInputLine(std::string_view line, Input& in, bool& blank, std::string& why);

// The inputs of a script handed out one by one to whoever waits for them: the map between
// windows, or the window that is open.
class InputFeed {
 public:
  explicit InputFeed(InputScript script) : script_(std::move(script)) {}

  // Scroll lines may stand anywhere: Take hands them to this and goes on to the next line.
  std::function<void(int x, int y)> OnScroll;

  bool AtEnd() const { return next_ >= script_.Inputs.size(); }
  const Input* Peek() const { return AtEnd() ? nullptr : &script_.Inputs[next_]; }
  // The next input, which must be one of `kinds`; otherwise (or at the end) a ScriptError that
  // names the line and says that `waiter` waits for `expected`.
  Input Take(std::span<const InputKind> kinds, std::string_view waiter, std::string_view expected);
  // Applies the scroll lines that stand next.
  void SkipScrolls();
  // The line after the last one, for errors at the end of the script.
  int EndLine() const { return script_.LineCount + 1; }
  const InputScript& Script() const { return script_; }

 private:
  InputScript script_;
  std::size_t next_ = 0;
};

// Writes the inputs of a session to a file as they happen. Begin starts the file afresh for a
// game that has just begun (a new game or a load): the seed and the save it began from go into
// comment lines and the save itself into `<file>.start.dat` beside it.
class InputRecorder {
 public:
  explicit InputRecorder(std::string path) : path_(std::move(path)) {}

  // False when the recording or its save cannot be written; recording then stays off. The view
  // position (`scrollX`, `scrollY`) is watched from here on through the pointers.
  // A game against the stronger opponent says so in a comment; one against the standard
  // opponent is written as it always was.
  bool Begin(std::uint32_t seed, int advanceLimit, std::span<const std::uint8_t> saveImage, std::string_view startedBy,
             const std::int32_t* scrollX = nullptr, const std::int32_t* scrollY = nullptr,
             Opponent opponent = Opponent{});
  // Writes one input (flushed at once) while a recording runs, after a scroll line when the
  // view has moved since the last one.
  void Write(const Input& in);
  // While paused (a new game or a load is being set up) nothing is written.
  void Pause() { paused_ = true; }
  void Resume() { paused_ = false; }
  bool Recording() const { return out_.is_open() && !paused_; }
  const std::string& Path() const { return path_; }
  std::string StartSavePath() const { return path_ + ".start.dat"; }

 private:
  std::string path_;
  std::ofstream out_;
  bool paused_ = false;
  const std::int32_t* scrollX_ = nullptr;
  const std::int32_t* scrollY_ = nullptr;
  std::int32_t lastX_ = 0, lastY_ = 0;
};

}  // namespace milgant
