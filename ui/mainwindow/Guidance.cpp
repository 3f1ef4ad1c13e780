#include "ui/mainwindow/Guidance.h"

#include "core/game/Game.h"
#include "core/game/HexGrid.h"
#include "core/game/Text.h"
#include "core/rules/PositionValue.h"
#include "core/turn/MapClick.h"

namespace milgant {
namespace {

QString U8(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

bool ValidSlot(int slot) { return slot >= 1 && slot < kUnitSlots; }

// Recovery and field works each cost two action points; without them the order is dropped.
constexpr int kTwoPointOrders = 2;

}  // namespace

bool CanStillAct(const Game& g, int slot) {
  const int s = g.GameState;
  const bool action = s == 3 || s == 4 || s == 5 || s == 6 || s == 7 || s == 24;
  if (!action || !ValidSlot(slot)) return false;
  const Unit& u = g.U(slot);
  return u.OnMap == 1 && u.Side == g.PlayerSide && u.CommanderIndex == -1 && u.CanMove == 1 && u.ActionPoints > 0;
}

QString CastleLabel(const Game& g, int castle) {
  if (castle < 1 || castle >= g.CastleCounter || castle >= kCastleSlots) return {};
  const Castle& c = g.Castles[static_cast<std::size_t>(castle)];
  const QString name = QString::fromStdString(Cp932ToUtf8Lossy(c.Name.View()));
  if (!OnMapHex(c.HexX, c.HexY)) return name;
  // A city moves the points by one, a large city by two, a port by none.
  const int terrain = g.H(c.HexX, c.HexY).Terrain;
  const int points = terrain == 8 || terrain == 9 ? 1 : terrain == 10 || terrain == 11 ? 2 : 0;
  return points > 0 ? name + QStringLiteral(" ") + QString::number(points) : name;
}

QString TermTip(const QString& term) {
  static const std::pair<const char*, const char*> kTips[] = {
      {"采配", "率いることのできる配下武将の数。采配より1人多くまで付けられます"},
      {"戦闘修正", "戦闘のとき、この武将の軍勢の強さに加わる修正"},
      {"士気", "高いほど、「回復」で混乱から立ち直りやすくなります"},
      {"行動ポイント", "移動・戦闘・回復・野戦築城・援軍待機に使うポイント（残り／このターン／軍団の上限）"},
      {"援軍待機", "この距離（ヘックス）までの味方の戦闘に、援軍として加われます"},
      {"野戦築城", "陣地を築いて守りを固めたかどうか。移動すると失われます"},
  };
  for (const auto& [word, tip] : kTips)
    if (term == QString::fromUtf8(word)) return QString::fromUtf8(tip);
  return {};
}

QString CorpsName(const Game& g, int slot) {
  if (!ValidSlot(slot)) return {};
  const Unit& u = g.U(slot);
  return QString::fromStdString(Cp932ToUtf8Lossy(u.ArmyName.View())) + QStringLiteral(" ") +
         QString::fromStdString(Cp932ToUtf8Lossy(u.GeneralName.View()));
}

QString GameOverLine(int winner) {
  if (winner < 0 || winner > 1) return {};
  return U8(ArmyNames[static_cast<std::size_t>(winner)]) +
         QStringLiteral("の勝利でゲームは終わりました。次は ファイル ▸ 新規 か ロード で。");
}

QString ActingCorpsHint(const Game& g) {
  return CorpsName(g, g.SelectedUnit) +
         QStringLiteral(" が行動中: 続けて命令するか、ユニット情報の「行動終了」で行動を終えてください");
}

QString PhaseHint(const Game& g, int winner) {
  switch (g.GameState) {
    case 0:
      return winner >= 0 ? GameOverLine(winner)
                         : QStringLiteral("ファイル ▸ 新規 (Ctrl+N) で始めるか、ロード で続きを遊べます");
    case 2: return QStringLiteral("補充フェイズ: 補充する自軍の部隊をクリック。終えたら フェイズ終了 (Ctrl+E)");
    case 27: return QStringLiteral("編成フェイズ: 自軍の部隊をクリックして 独立・編成。終えたら フェイズ終了 (Ctrl+E)");
    case 3: return QStringLiteral("行動フェイズ: 自軍の軍団をクリックして命令。動かし終えたら フェイズ終了 (Ctrl+E)");
    case 4: return QStringLiteral("移動先のヘックスをクリック（右クリックで取り消し）");
    case 24: return QStringLiteral("同じヘックスをもう一度クリックで移動決定、ほかのヘックスのクリックで取り消し");
    case 6: return QStringLiteral("攻撃する隣のヘックスをクリック（右クリックで攻撃する軍団の選び直し）");
    case 5: return QStringLiteral("攻撃する軍団のヘックスをクリックしてください");
    case 7:
      return CanUndoMove(g) ? ActingCorpsHint(g) + QStringLiteral("（Ctrl+Z で今の移動を取り消し）") : ActingCorpsHint(g);
    case 15:
    case 16:
    case 17:
    case 18: {
      const int side = g.ComputerSide == 1 ? 1 : 0;
      return U8(ArmyNames[static_cast<std::size_t>(side)]) + QStringLiteral("が行動中です");
    }
    default: return {};
  }
}

QString PhaseEndRefusal(const Game& g) {
  switch (g.GameState) {
    case 2:
    case 27:
    case 3: return {};
    case 0: return QStringLiteral("ゲームが始まっていません");
    case 4:
    case 24: return QStringLiteral("移動の途中です: 移動を決めるか、右クリックで取り消してから フェイズ終了");
    case 6:
    case 5:
      return QStringLiteral("攻撃の途中です: 攻撃先を選び、攻撃しないなら確認で「Cancel」を押してから フェイズ終了");
    case 7:
      return CorpsName(g, g.SelectedUnit) +
             QStringLiteral(" が行動中です: ユニット情報の「行動終了」で行動を終えてから フェイズ終了");
    default: return QStringLiteral("コンピュータの手番が終わるまでお待ちください");
  }
}

QString SaveRefusal(const Game& g) {
  switch (g.GameState) {
    case 2:
    case 27:
    case 3: return {};
    case 0: return QStringLiteral("セーブするゲームがありません");
    default: return QStringLiteral("移動・攻撃の途中や軍団の行動中はセーブできません（行動終了の後に）");
  }
}

QString CommandRefusal(const Game& g, int stateBefore, int slot) {
  if (!ValidSlot(slot) || g.U(slot).Side != g.PlayerSide) return {};
  const Unit& u = g.U(slot);
  if (stateBefore == 2) {
    // Out of supply is told by the game itself; contact with the enemy is not.
    const int first = TopUnitsAtHex(g, u.HexX, u.HexY).First();
    if (first != -1 && g.U(first).Supplied != 0 && InContactWithEnemy(g, u))
      return QStringLiteral("敵と接している部隊は補充できません");
    return {};
  }
  if (stateBefore != 3 && stateBefore != 7) return {};
  const int code = g.GameState;
  const bool command = code == 4 || code == 6 || code == 28 || code == 29 || code == 30;
  if (!command) return {};
  if (stateBefore == 7 && slot != g.SelectedUnit) return ActingCorpsHint(g);
  if (u.CanMove == 0) return CorpsName(g, slot) + QStringLiteral(" はこのターンの行動を終えています");
  if (code == 28 && u.ActionPoints < kTwoPointOrders)
    return QStringLiteral("行動ポイントが足りません（回復には 2 ポイント）");
  if (code == 29 && OnMapHex(u.HexX, u.HexY) && g.H(u.HexX, u.HexY).Terrain < 8 && u.ActionPoints < kTwoPointOrders)
    return QStringLiteral("行動ポイントが足りません（野戦築城には 2 ポイント）");
  return {};
}

}  // namespace milgant
