#include "core/game/InputScript.h"

#include <array>
#include <charconv>
#include <filesystem>

#include "core/game/Game.h"
#include "core/game/Header.h"
#include "core/game/SaveImage.h"

namespace milgant {
namespace {

constexpr std::array<std::string_view, kWindowButtonCount> kButtonCaptions = {
    "移動", "戦闘　合戦", "独立", "編成", "回復", "行動終了", "補充", "野戦築城", "援軍待機", "Cancel"};

std::string_view Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// Splits off the first word (up to a half-width space or tab).
std::string_view FirstWord(std::string_view& rest) {
  rest = Trim(rest);
  std::size_t n = 0;
  while (n < rest.size() && rest[n] != ' ' && rest[n] != '\t') ++n;
  const std::string_view word = rest.substr(0, n);
  rest = Trim(rest.substr(n));
  return word;
}

bool ReadInt(std::string_view word, long long lo, long long hi, int& out) {
  long long v = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
  if (ec != std::errc() || end != word.data() + word.size() || v < lo || v > hi) return false;
  out = static_cast<int>(v);
  return true;
}

std::string Quoted(std::string_view s) { return "'" + std::string(s) + "'"; }

bool ReadHex(std::string_view& rest, Input& in, std::string& why) {
  const std::string_view xs = FirstWord(rest);
  const std::string_view ys = FirstWord(rest);
  if (!ReadInt(xs, 0, 19, in.X) || !ReadInt(ys, 0, 19, in.Y)) {
    why = "needs a hex X Y with both numbers 0..19";
    return false;
  }
  return true;
}

}  // namespace

std::string_view ButtonCaption(WindowButton b) { return kButtonCaptions[static_cast<std::size_t>(b)]; }

std::string_view MenuCaption(MenuItem m) {
  switch (m) {
    case MenuItem::PhaseEnd: return "フェイズ終了";
    case MenuItem::Cancel: return "キャンセル";
    case MenuItem::Undo: return "取り消し";
  }
  return "キャンセル";
}

std::string FormatInput(const Input& in) {
  const std::string n = std::to_string(in.X);
  switch (in.Kind) {
    case InputKind::Click: return "click " + n + " " + std::to_string(in.Y);
    case InputKind::Right: return "right " + n + " " + std::to_string(in.Y);
    case InputKind::Menu: return "menu " + std::string(MenuCaption(in.Menu));
    case InputKind::Row: return "row " + n;
    case InputKind::Sub: return "sub " + n;
    case InputKind::Button: return "button " + std::string(ButtonCaption(in.Button));
    case InputKind::Double: return "double";
    case InputKind::Answer: return "answer " + n;
    case InputKind::Value: return "value " + n;
    case InputKind::ValueCancel: return "value cancel";
    case InputKind::Reinforce: return "reinforce " + n;
    case InputKind::ReinforceNone: return "reinforce none";
    case InputKind::Scroll: return "scroll " + n + " " + std::to_string(in.Y);
  }
  return {};
}

ScriptError::ScriptError(int line, const std::string& why)
    : std::runtime_error("line " + std::to_string(line) + ": " + why), Line(line) {}

bool ParseInputLine(std::string_view line, Input& in, bool& blank, std::string& why) {
  blank = false;
  // A comment runs to the end of the line.
  if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
  std::string_view rest = Trim(line);
  if (rest.empty()) {
    blank = true;
    return true;
  }
  const std::string_view word = FirstWord(rest);
  Input out;
  bool ok = true;
  if (word == "click" || word == "right") {
    out.Kind = word == "click" ? InputKind::Click : InputKind::Right;
    ok = ReadHex(rest, out, why);
  } else if (word == "scroll") {
    out.Kind = InputKind::Scroll;
    if (!ReadInt(FirstWord(rest), 0, 2000, out.X) || !ReadInt(FirstWord(rest), 0, 2000, out.Y)) {
      why = "scroll needs the view's X Y in pixels, 0..2000";
      return false;
    }
  } else if (word == "menu") {
    if (rest == MenuCaption(MenuItem::PhaseEnd)) {
      out = Input::MenuCommand(MenuItem::PhaseEnd);
    } else if (rest == MenuCaption(MenuItem::Cancel)) {
      out = Input::MenuCommand(MenuItem::Cancel);
    } else if (rest == MenuCaption(MenuItem::Undo)) {
      out = Input::MenuCommand(MenuItem::Undo);
    } else {
      why = "menu " + Quoted(rest) + " is not a command (フェイズ終了, キャンセル or 取り消し)";
      return false;
    }
    rest = {};
  } else if (word == "row" || word == "sub" || word == "answer" || word == "value" || word == "reinforce") {
    const std::string_view arg = FirstWord(rest);
    if (word == "value" && arg == "cancel") {
      out.Kind = InputKind::ValueCancel;
    } else if (word == "reinforce" && arg == "none") {
      out.Kind = InputKind::ReinforceNone;
    } else {
      out.Kind = word == "row" ? InputKind::Row
                 : word == "sub" ? InputKind::Sub
                 : word == "answer" ? InputKind::Answer
                 : word == "value" ? InputKind::Value
                                   : InputKind::Reinforce;
      const long long hi = out.Kind == InputKind::Answer ? 1 : 1000000;
      if (!ReadInt(arg, 0, hi, out.X)) {
        why = std::string(word) + " needs " +
              (out.Kind == InputKind::Answer   ? "1 (first button) or 0 (second button)"
               : out.Kind == InputKind::Value  ? "a number from 0 or 'cancel'"
               : out.Kind == InputKind::Reinforce ? "a row from 0 or 'none'"
                                                 : "a row number from 0");
        return false;
      }
    }
  } else if (word == "button") {
    bool found = false;
    for (int b = 0; b < kWindowButtonCount; ++b) {
      if (rest == kButtonCaptions[static_cast<std::size_t>(b)]) {
        out = Input::Press(static_cast<WindowButton>(b));
        found = true;
      }
    }
    if (!found) {
      why = "button " + Quoted(rest) + " is not a button of the unit window (";
      for (int b = 0; b < kWindowButtonCount; ++b) why += (b > 0 ? ", " : "") + std::string(kButtonCaptions[static_cast<std::size_t>(b)]);
      why += ")";
      return false;
    }
    rest = {};
  } else if (word == "double") {
    out.Kind = InputKind::Double;
  } else {
    why = "unknown input " + Quoted(word) +
          " (click, right, menu, row, sub, button, double, answer, value, reinforce, scroll)";
    return false;
  }
  if (!ok) {
    why = std::string(word) + " " + why;
    return false;
  }
  if (!rest.empty()) {
    why = "unexpected " + Quoted(rest) + " after " + Quoted(word);
    return false;
  }
  in = out;
  return true;
}

InputScript ParseInputScript(std::string_view text) {
  InputScript script;
  int lineNo = 0;
  while (!text.empty() || lineNo == 0) {
    const std::size_t nl = text.find('\n');
    const std::string_view line = text.substr(0, nl);
    text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
    ++lineNo;
    // Header comments of a recording.
    const std::string_view trimmed = Trim(line);
    if (trimmed.starts_with("# seed ")) {
      std::string_view v = Trim(trimmed.substr(7));
      unsigned long long seed = 0;
      const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), seed);
      if (ec != std::errc() || end != v.data() + v.size() || seed > 0xffffffffULL)
        throw ScriptError(lineNo, "the seed comment needs a number 0..4294967295");
      script.Seed = static_cast<std::uint32_t>(seed);
    } else if (trimmed.starts_with("# advance-limit ")) {
      std::string_view v = Trim(trimmed.substr(16));
      int limit = 0;
      const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), limit);
      if (ec != std::errc() || end != v.data() + v.size() || limit < 0 || limit >= kMapSize)
        throw ScriptError(lineNo, "the advance-limit comment needs a column 0..19");
      script.AdvanceLimit = limit;
    } else if (trimmed.starts_with("# opponent ")) {
      const std::string_view v = Trim(trimmed.substr(11));
      if (v == "standard") {
        script.Played = Opponent::Standard;
      } else if (v == "strong") {
        script.Played = Opponent::Strong;
      } else {
        throw ScriptError(lineNo, "the opponent comment needs standard or strong");
      }
    } else if (trimmed.starts_with("# save ")) {
      script.SaveName = std::string(Trim(trimmed.substr(7)));
    }
    Input in;
    bool blank = false;
    std::string why;
    if (!ParseInputLine(line, in, blank, why)) throw ScriptError(lineNo, why);
    if (blank) continue;
    in.Line = lineNo;
    script.Inputs.push_back(in);
  }
  script.LineCount = lineNo;
  return script;
}

void InputFeed::SkipScrolls() {
  while (!AtEnd() && script_.Inputs[next_].Kind == InputKind::Scroll) {
    const Input& scroll = script_.Inputs[next_++];
    if (OnScroll) OnScroll(scroll.X, scroll.Y);
  }
}

Input InputFeed::Take(std::span<const InputKind> kinds, std::string_view waiter, std::string_view expected) {
  SkipScrolls();
  if (AtEnd()) {
    throw ScriptError(EndLine(), "the script ends while " + std::string(waiter) + " waits for " + std::string(expected));
  }
  const Input& in = script_.Inputs[next_];
  for (const InputKind k : kinds) {
    if (k == in.Kind) {
      ++next_;
      return in;
    }
  }
  throw ScriptError(in.Line, Quoted(FormatInput(in)) + " while " + std::string(waiter) + " waits for " +
                                 std::string(expected));
}

bool InputRecorder::Begin(std::uint32_t seed, int advanceLimit, std::span<const std::uint8_t> saveImage,
                          std::string_view startedBy,
                          const std::int32_t* scrollX, const std::int32_t* scrollY, Opponent opponent) {
  out_.close();
  paused_ = false;
  scrollX_ = scrollX;
  scrollY_ = scrollY;
  lastX_ = scrollX != nullptr ? *scrollX : 0;
  lastY_ = scrollY != nullptr ? *scrollY : 0;
  if (!WriteFileAtomically(StartSavePath(), saveImage)) return false;
  out_.open(path_, std::ios::binary | std::ios::trunc);
  if (!out_) return false;
  const std::string saveName = std::filesystem::path(StartSavePath()).filename().string();
  out_ << "# ミルガント・改 input recording (" << startedBy << ")\n"
       << "# seed " << seed << "\n"
       << "# advance-limit " << advanceLimit << "\n";
  if (opponent == Opponent::Strong) out_ << "# opponent strong\n";
  out_ << "# save " << saveName << "\n"
       << "# replay: milgant-cli play " << saveName << " --script "
       << std::filesystem::path(path_).filename().string() << "\n";
  out_.flush();
  return static_cast<bool>(out_);
}

void InputRecorder::Write(const Input& in) {
  if (!Recording()) return;
  // The view position is saved with the game, so a replay must scroll where the player did.
  if (scrollX_ != nullptr && scrollY_ != nullptr && (*scrollX_ != lastX_ || *scrollY_ != lastY_)) {
    lastX_ = *scrollX_;
    lastY_ = *scrollY_;
    out_ << FormatInput(Input::Scroll(lastX_, lastY_)) << '\n';
  }
  out_ << FormatInput(in) << '\n';
  out_.flush();
}

}  // namespace milgant
