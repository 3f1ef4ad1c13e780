#include "core/game/Chronicle.h"

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <span>
#include <sstream>

#include "core/game/Game.h"
#include "core/game/Header.h"
#include "core/game/Text.h"
#include "core/game/SaveImage.h"

namespace milgant {
namespace {

constexpr std::string_view kMagic = "milgant-chronicle";

// The plain numbers of an event, by their names in the file.
struct Field {
  std::string_view Name;
  std::int32_t Event::*Member;
};
constexpr Field kFields[] = {
    {"turn", &Event::Turn}, {"side", &Event::Side}, {"phase", &Event::Phase}, {"unit", &Event::Unit},
    {"other", &Event::Other}, {"x", &Event::X},       {"y", &Event::Y},         {"tox", &Event::ToX},
    {"toy", &Event::ToY},     {"value", &Event::Value}, {"value2", &Event::Value2},
};
const Event kDefault{};

std::string Pair(const std::array<std::int32_t, 2>& a) { return std::to_string(a[0]) + "," + std::to_string(a[1]); }

std::string Slots(const SlotList& l) {
  std::string out;
  for (int i = 0; i < l.Count; ++i) {
    if (i > 0) out += ",";
    out += std::to_string(l.Slots[static_cast<std::size_t>(i)]);
  }
  return out.empty() ? "-" : out;
}

std::string Tally(const ArmyTally& t) {
  return std::to_string(t.Units) + "," + std::to_string(t.Steps) + "," + std::to_string(t.CombatPower) + "," +
         std::to_string(t.Castles);
}

void WriteFight(std::ostringstream& out, const FightRecord& f) {
  out << " castle=" << f.Castle << " rounds=" << f.Rounds << " att=" << Slots(f.Attackers)
      << " def=" << Slots(f.Defenders) << " lost=" << Pair(f.StepsLost) << " garrison=" << f.GarrisonLost
      << " dealt=" << Pair(f.HitsDealt) << " expected=" << Pair(f.HitsExpected100)
      << " annihilated=" << Pair(f.Annihilated) << " escalated=" << f.Escalated
      << " aretreat=" << f.AttackerRetreated << " dretreat=" << f.DefenderRetreated << " fell=" << f.CastleFell
      << " advanced=" << f.Advanced << " outcome=" << f.Outcome;
}

// Numbers separated by commas, each within [lo, hi]; exactly `n` of them unless n is -1.
bool Numbers(std::string_view text, int n, int lo, int hi, std::vector<int>& out) {
  out.clear();
  if (text == "-" && n == -1) return true;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    std::size_t comma = text.find(',', pos);
    if (comma == std::string_view::npos) comma = text.size();
    int v = 0;
    const char* b = text.data() + pos;
    const char* e = text.data() + comma;
    const auto r = std::from_chars(b, e, v);
    if (b == e || r.ec != std::errc() || r.ptr != e || v < lo || v > hi) return false;
    out.push_back(v);
    pos = comma + 1;
    if (comma == text.size()) break;
  }
  return n == -1 || static_cast<int>(out.size()) == n;
}

bool SetPair(std::string_view text, std::array<std::int32_t, 2>& a) {
  std::vector<int> v;
  if (!Numbers(text, 2, -1000000, 1000000, v)) return false;
  a = {v[0], v[1]};
  return true;
}

bool SetSlots(std::string_view text, SlotList& l) {
  std::vector<int> v;
  if (!Numbers(text, -1, 1, kUnitSlots - 1, v) || v.size() > l.Slots.size()) return false;
  l = SlotList{};
  for (int s : v) l.Add(s);
  return true;
}

bool SetTally(std::string_view text, ArmyTally& t) {
  std::vector<int> v;
  if (!Numbers(text, 4, 0, 1000000, v)) return false;
  t = {v[0], v[1], v[2], v[3]};
  return true;
}

bool SetFlag(std::string_view text, bool& b) {
  if (text != "0" && text != "1") return false;
  b = text == "1";
  return true;
}

bool SetFightField(std::string_view key, std::string_view value, FightRecord& f) {
  std::vector<int> v;
  auto one = [&](std::int32_t& member, int lo, int hi) {
    if (!Numbers(value, 1, lo, hi, v)) return false;
    member = v[0];
    return true;
  };
  if (key == "castle") return one(f.Castle, -1, kCastleSlots - 1);
  if (key == "rounds") return one(f.Rounds, 0, 100);
  if (key == "att") return SetSlots(value, f.Attackers);
  if (key == "def") return SetSlots(value, f.Defenders);
  if (key == "lost") return SetPair(value, f.StepsLost);
  if (key == "garrison") return one(f.GarrisonLost, 0, 1000000);
  if (key == "dealt") return SetPair(value, f.HitsDealt);
  if (key == "expected") return SetPair(value, f.HitsExpected100);
  if (key == "annihilated") return SetPair(value, f.Annihilated);
  if (key == "escalated") return SetFlag(value, f.Escalated);
  if (key == "aretreat") return SetFlag(value, f.AttackerRetreated);
  if (key == "dretreat") return SetFlag(value, f.DefenderRetreated);
  if (key == "fell") return SetFlag(value, f.CastleFell);
  if (key == "advanced") return one(f.Advanced, -1, kUnitSlots - 1);
  if (key == "outcome") return one(f.Outcome, -1, 1);
  return false;
}

bool ParseEvent(std::string_view line, Event& e) {
  e = Event{};
  std::size_t space = line.find(' ');
  if (!EventKindFromName(line.substr(0, space), e.Kind)) return false;
  while (space != std::string_view::npos) {
    const std::size_t start = space + 1;
    space = line.find(' ', start);
    const std::string_view item = line.substr(start, space == std::string_view::npos ? std::string_view::npos : space - start);
    const std::size_t eq = item.find('=');
    if (eq == std::string_view::npos) return false;
    const std::string_view key = item.substr(0, eq);
    const std::string_view value = item.substr(eq + 1);
    bool known = false;
    for (const Field& f : kFields) {
      if (f.Name != key) continue;
      std::vector<int> v;
      if (!Numbers(value, 1, -1000000, 1000000, v)) return false;
      e.*(f.Member) = v[0];
      known = true;
    }
    if (known) continue;
    if (key == "tally0" || key == "tally1") {
      if (!SetTally(value, e.Tally[key == "tally0" ? 0 : 1])) return false;
      continue;
    }
    if (e.Kind != EventKind::Battle || !SetFightField(key, value, e.Fight)) return false;
  }
  return true;
}

}  // namespace

void Record(Chronicle& c, const Event& e) {
  if (e.Kind != EventKind::MoveTakenBack) {
    c.Events.push_back(e);
    return;
  }
  for (auto it = c.Events.rbegin(); it != c.Events.rend(); ++it) {
    if (it->Kind == EventKind::Moved) {
      c.Events.erase(std::next(it).base());
      return;
    }
  }
}

std::string ChronicleFileFor(const std::string& savePath) {
  const std::string ext = ".dat";
  if (savePath.size() > ext.size()) {
    std::string tail = savePath.substr(savePath.size() - ext.size());
    for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (tail == ext) return savePath.substr(0, savePath.size() - ext.size()) + ".chronicle";
  }
  return savePath + ".chronicle";
}

std::string ChronicleText(const Chronicle& c) {
  std::ostringstream out;
  out << kMagic << ' ' << Chronicle::kVersion << '\n' << "start " << c.StartTurn << '\n';
  for (const Event& e : c.Events) {
    out << EventKindName(e.Kind);
    for (const Field& f : kFields) {
      const std::int32_t v = e.*(f.Member);
      if (f.Member == &Event::Turn || f.Member == &Event::Side || v != kDefault.*(f.Member)) out << ' ' << f.Name << '=' << v;
    }
    if (e.Kind == EventKind::PhaseBegins) out << " tally0=" << Tally(e.Tally[0]) << " tally1=" << Tally(e.Tally[1]);
    if (e.Kind == EventKind::Battle) WriteFight(out, e.Fight);
    out << '\n';
  }
  return out.str();
}

bool ParseChronicle(std::string_view text, Chronicle& out, std::string* reason) {
  auto fail = [&](int line, const std::string& why) {
    if (reason) *reason = "line " + std::to_string(line) + ": " + why;
    return false;
  };
  Chronicle c;
  int number = 0;
  std::size_t pos = 0;
  bool sawHeader = false, sawStart = false;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) return fail(number + 1, "the last line has no end: the file was cut short");
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++number;
    if (!sawHeader) {
      if (line != std::string(kMagic) + " " + std::to_string(Chronicle::kVersion)) return fail(number, "not a chronicle of this version");
      sawHeader = true;
      continue;
    }
    if (!sawStart) {
      std::vector<int> v;
      if (line.substr(0, 6) != "start " || !Numbers(line.substr(6), 1, 0, 1000, v)) return fail(number, "no start turn");
      c.StartTurn = v[0];
      sawStart = true;
      continue;
    }
    Event e;
    if (!ParseEvent(line, e)) return fail(number, "not an event");
    c.Events.push_back(e);
  }
  if (!sawStart) return fail(number + 1, "no header");
  out = std::move(c);
  return true;
}

bool WriteChronicle(const Chronicle& c, const std::string& path) {
  const std::string text = ChronicleText(c);
  return WriteFileAtomically(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

ChronicleRead ReadChronicle(const std::string& path, int turn, Chronicle& out, std::string* reason) {
  out = Chronicle{};
  out.StartTurn = turn;
  std::ifstream in(path, std::ios::binary);
  if (!in) return ChronicleRead::Missing;
  std::ostringstream all;
  all << in.rdbuf();
  Chronicle read;
  if (!ParseChronicle(all.str(), read, reason)) return ChronicleRead::Damaged;
  out = std::move(read);
  return ChronicleRead::Read;
}

std::array<WarSummary, 2> Summarise(const Chronicle& c) {
  std::array<WarSummary, 2> s{};
  for (const Event& e : c.Events) {
    switch (e.Kind) {
      case EventKind::Battle: {
        if (e.Side != 0 && e.Side != 1) break;
        WarSummary& a = s[static_cast<std::size_t>(e.Side)];
        WarSummary& d = s[static_cast<std::size_t>(1 - e.Side)];
        const FightRecord& f = e.Fight;
        ++a.BattlesAttacked;
        ++d.BattlesDefended;
        if (f.Outcome == 1) ++a.BattlesWon;
        if (f.Outcome == -1) ++d.BattlesWon;
        a.StepsLost += f.StepsLost[0];
        d.StepsLost += f.StepsLost[1];
        a.StepsInflicted += f.StepsLost[1] + f.GarrisonLost;
        d.StepsInflicted += f.StepsLost[0];
        a.HitsDealt += f.HitsDealt[0];
        d.HitsDealt += f.HitsDealt[1];
        a.HitsExpected100 += f.HitsExpected100[0];
        d.HitsExpected100 += f.HitsExpected100[1];
        break;
      }
      case EventKind::GeneralKilled:
      case EventKind::WillReturn: {
        const int side = SideOfSlot(e.Unit);
        ++s[static_cast<std::size_t>(side)].UnitsLost;
        if (e.Kind == EventKind::GeneralKilled) ++s[static_cast<std::size_t>(1 - side)].GeneralsKilled;
        break;
      }
      case EventKind::CastleChanged:
        if (e.Side != 0 && e.Side != 1) break;
        ++s[static_cast<std::size_t>(e.Side)].CastlesTaken;
        ++s[static_cast<std::size_t>(1 - e.Side)].CastlesLost;
        break;
      default:
        break;
    }
  }
  return s;
}

namespace {

std::string UnitName(const Game& g, int slot) {
  if (slot < 1 || slot >= kUnitSlots) return "?";
  return Cp932ToUtf8Lossy(g.U(slot).GeneralName.View());
}

std::string CastleName(const Game& g, int castle) {
  if (castle < 1 || castle >= kCastleSlots) return "?";
  return Cp932ToUtf8Lossy(g.Castles[static_cast<std::size_t>(castle)].Name.View());
}

std::string Army(int side) { return side == 0 || side == 1 ? std::string(ArmyNames[static_cast<std::size_t>(side)]) : "?"; }

std::string At(int x, int y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }

std::string PhaseName(int phase) {
  switch (phase) {
    case 2: return "補充フェイズ";
    case 27: return "編成フェイズ";
    case 3: return "行動フェイズ";
    case 15: return "コンピュータのフェイズ";
    default: return "フェイズ";
  }
}

std::string BattleLine(const Game& g, const Event& e) {
  const FightRecord& f = e.Fight;
  std::string where = At(e.X, e.Y);
  if (f.Castle >= 1) where = CastleName(g, f.Castle) + " " + where;
  // The summary comes when the battle is over, after what happened in it (a castle's fall, a
  // unit wiped out): it reads as the account of the fight.
  std::string s = where + "の戦い（" + Army(e.Side) + " " +
                  (f.Attackers.Count > 0 ? UnitName(g, f.Attackers.Slots[0]) : std::string("?")) +
                  (f.Attackers.Count > 1 ? "ほか" + std::to_string(f.Attackers.Count - 1) + "隊" : "") + "の攻撃）: " +
                  std::to_string(f.Rounds) + "ラウンド、損害 攻" + std::to_string(f.StepsLost[0]) + "／防" +
                  std::to_string(f.StepsLost[1]);
  if (f.GarrisonLost > 0) s += "、城" + std::to_string(f.GarrisonLost);
  if (f.Escalated) s += "、合戦拡大";
  if (f.CastleFell) s += "、落城";
  if (f.DefenderRetreated) s += "、守備側後退";
  if (f.AttackerRetreated) s += "、攻撃側後退";
  if (f.Annihilated[1] > 0) s += "、守備側" + std::to_string(f.Annihilated[1]) + "隊全滅";
  if (f.Annihilated[0] > 0) s += "、攻撃側" + std::to_string(f.Annihilated[0]) + "隊全滅";
  s += f.Outcome == 1 ? "。攻撃側の勝ち" : f.Outcome == -1 ? "。守備側の勝ち" : "。勝敗つかず";
  return s;
}

}  // namespace

std::string EventLine(const Game& g, const Event& e) {
  switch (e.Kind) {
    case EventKind::PhaseBegins:
      return "第" + std::to_string(e.Turn) + "ターン " + Army(e.Side) + " " + PhaseName(e.Phase);
    case EventKind::Replenished:
      return UnitName(g, e.Unit) + "に" + std::to_string(e.Value) + "ステップ補充（" + std::to_string(e.Value2) + "ポイント）";
    case EventKind::Attached:
      return UnitName(g, e.Unit) + "が" + UnitName(g, e.Other) + "の軍団に加わる";
    case EventKind::Detached:
      return UnitName(g, e.Unit) + "が" + UnitName(g, e.Other) + "の軍団を離れる";
    case EventKind::Moved:
      return UnitName(g, e.Unit) + "が" + At(e.X, e.Y) + "から" + At(e.ToX, e.ToY) + "へ移動（" +
             std::to_string(e.Value) + "ポイント）";
    case EventKind::Battle:
      return BattleLine(g, e);
    case EventKind::OutOfSupply:
      return UnitName(g, e.Unit) + "が" + At(e.X, e.Y) + "で補給切れにより全滅";
    case EventKind::GeneralKilled:
      return UnitName(g, e.Unit) + "が討ち取られる";
    case EventKind::WillReturn:
      return UnitName(g, e.Unit) + "の軍勢は第" + std::to_string(e.Value) + "ターンに戻る";
    case EventKind::Arrived:
      return UnitName(g, e.Unit) + "が" + At(e.X, e.Y) + "に着陣";
    case EventKind::CastleChanged: {
      const auto cause = static_cast<CastleCause>(e.Value);
      const char* how = cause == CastleCause::Stormed ? "落城により" : cause == CastleCause::Surrendered ? "降伏により" : "占領により";
      return CastleName(g, e.Other) + "が" + how + Army(e.Side) + "の手に";
    }
    case EventKind::VictoryPoints:
      return "ソルカ軍勝利得点 " + std::to_string(e.Value) + " → " + std::to_string(e.Value2);
    case EventKind::GameEnds:
      return Army(e.Side) + "の勝利";
    case EventKind::MoveTakenBack:
      return UnitName(g, e.Unit) + "の移動を取り消し";
  }
  return "?";
}

int EventGroup(const Event& e) {
  switch (e.Kind) {
    case EventKind::Moved:
    case EventKind::Attached:
    case EventKind::Detached:
    case EventKind::Replenished:
    case EventKind::Arrived:
      return 0;
    case EventKind::Battle:
      return 1;
    case EventKind::CastleChanged:
    case EventKind::VictoryPoints:
      return 2;
    case EventKind::OutOfSupply:
    case EventKind::GeneralKilled:
    case EventKind::WillReturn:
      return 3;
    case EventKind::PhaseBegins:
    case EventKind::GameEnds:
    case EventKind::MoveTakenBack:
      return 4;
  }
  return 4;
}

}  // namespace milgant
