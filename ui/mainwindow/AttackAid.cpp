#include "ui/mainwindow/AttackAid.h"

#include <QMetaObject>

#include <cstring>
#include <memory>

#include "core/game/Game.h"
#include "core/game/Text.h"

namespace milgant {
namespace {

bool ValidSlot(int slot) { return slot >= 1 && slot < kUnitSlots; }

QString Percent(double p) { return QString::number(p * 100.0, 'f', 0) + QStringLiteral("%"); }
QString Fixed(double v, int decimals) { return QString::number(v, 'f', decimals); }

double Mean(const std::vector<double>& dist) {
  double m = 0;
  for (std::size_t n = 0; n < dist.size(); ++n) m += static_cast<double>(n) * dist[n];
  return m;
}

// "0:17% 1:33% ..." leaving out the numbers of hits that cannot happen.
QString Distribution(const std::vector<double>& dist) {
  QStringList parts;
  for (std::size_t n = 0; n < dist.size(); ++n) {
    if (dist[n] > 0) parts << QString::number(n) + QStringLiteral(":") + Percent(dist[n]);
  }
  return parts.join(QStringLiteral(" "));
}

QString Kind(const AttackPreview& p) {
  return p.SingleRound ? QStringLiteral("単独戦闘（1ポイント）") : QStringLiteral("合戦（3ポイント）");
}

}  // namespace

QString PreviewStatusText(const AttackPreview& p, const AttackEstimate* estimate) {
  if (p.Refusal != AttackRefusal::None) {
    const std::string_view why = RefusalText(p.Refusal);
    return QString::fromUtf8(why.data(), static_cast<qsizetype>(why.size()));
  }
  // Short enough to fit after the line's own text: the odds, the kind, the strengths, and the
  // losses one round will likely cost (or, once known, how the battle tends to end).
  QString s = QStringLiteral("兵力比") + Fixed(p.Odds, 2) + (p.SingleRound ? QStringLiteral(" 単独戦闘 ") : QStringLiteral(" 合戦 ")) +
              QString::number(p.AttackerStrength) + QStringLiteral("対") + QString::number(p.DefenderStrength);
  if (estimate == nullptr || p.SingleRound) {
    s += QStringLiteral(" 損害 味方") + Fixed(Mean(p.HitsOnAttacker), 1) + QStringLiteral("・敵") +
         Fixed(Mean(p.HitsOnDefender), 1);
  } else {
    s += QStringLiteral(" 敵敗退") + Percent(estimate->DefenderOut) + QStringLiteral("・味方後退") +
         Percent(estimate->AttackerOut);
  }
  return s;
}

QString PreviewTooltipText(const Game& g, const AttackPreview& p, const AttackEstimate* estimate) {
  if (p.Refusal != AttackRefusal::None) return PreviewStatusText(p, nullptr);
  // One line each, never wrapped: the tooltip is rich text kept as laid out.
  QStringList lines;
  lines << QStringLiteral("<b>") + Kind(p) + QStringLiteral("</b>　兵力比 ") + Fixed(p.Odds, 2);
  lines << QStringLiteral("戦闘力 攻撃側 ") + QString::number(p.AttackerStrength) + QStringLiteral("（") +
               QString::number(p.AttackerSteps) + QStringLiteral("ステップ）　防御側 ") +
               QString::number(p.DefenderStrength) + QStringLiteral("（") + QString::number(p.DefenderSteps) +
               QStringLiteral("ステップ）");
  QStringList mods;
  if (p.Castle != -1) {
    const Castle& c = g.Castles[static_cast<std::size_t>(p.Castle)];
    mods << QString::fromStdString(Cp932ToUtf8Lossy(c.Name.View())) + QStringLiteral("（耐久") +
                QString::number(c.Durability) + QStringLiteral(" 戦力") + QString::number(c.Strength) +
                QStringLiteral("）");
  } else if (p.TerrainValue != 0) {
    mods << QStringLiteral("地形 +") + QString::number(p.TerrainValue) + QStringLiteral("%");
  }
  if (p.AcrossRiver) mods << QStringLiteral("渡河 ×1.5");
  if (p.DefenderFortified) mods << QStringLiteral("防御側の陣地 ×1.2");
  if (p.AttackerFortified) mods << QStringLiteral("攻撃側の陣地 ×1.2");
  if (p.CommandFactor != 1.0) mods << QStringLiteral("指揮 ×") + Fixed(p.CommandFactor, 1);
  lines << QStringLiteral("修正 ") + (mods.isEmpty() ? QStringLiteral("なし") : mods.join(QStringLiteral("　")));
  lines << QStringLiteral("<b>1ラウンドの損害</b>（ステップ:確率）");
  lines << QStringLiteral("　味方 ") + Distribution(p.HitsOnAttacker);
  lines << QStringLiteral("　敵　　") + Distribution(p.HitsOnDefender);
  if (estimate == nullptr) {
    lines << QStringLiteral("戦闘の結果を試算中…");
  } else {
    lines << QStringLiteral("<b>戦闘の結果</b>（") + QString::number(estimate->Battles) +
                 QStringLiteral("回の試算、退却せず援軍なし）");
    auto row = [](const QString& what, double p) {
      return QStringLiteral("<tr><td>&nbsp;&nbsp;") + what + QStringLiteral("</td><td align=\"right\">&nbsp;") +
             Percent(p) + QStringLiteral("</td></tr>");
    };
    lines << QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\">") +
                 row(p.Castle != -1 ? QStringLiteral("敵の後退・全滅・落城") : QStringLiteral("敵の後退・全滅"), estimate->DefenderOut) +
                 row(QStringLiteral("味方の後退・全滅"), estimate->AttackerOut) + row(QStringLiteral("決着なし"), estimate->Undecided) +
                 QStringLiteral("</table>");
    lines << QStringLiteral("　平均の損失 味方 ") + Fixed(estimate->AttackerLoss, 1) + QStringLiteral("ステップ　敵 ") +
                 Fixed(estimate->DefenderLoss, 1) + QStringLiteral("ステップ");
  }
  // Plain spaces between the items: a full-width one throws the tooltip's width off.
  QString html = lines.join(QStringLiteral("<br>"));
  html.replace(QStringLiteral("　"), QStringLiteral("&nbsp;&nbsp;"));
  return QStringLiteral("<p style=\"white-space:pre\">") + html + QStringLiteral("</p>");
}

AttackAid::AttackAid(const Game& game, QObject* context, std::function<void()> changed)
    : game_(game), context_(context), changed_(std::move(changed)) {
  pool_.setMaxThreadCount(1);
}

AttackAid::~AttackAid() { pool_.waitForDone(); }

void AttackAid::WaitForEstimates() { pool_.waitForDone(); }

bool AttackAid::Choosing() const { return game_.GameState == 6 && ValidSlot(game_.ActiveUnit); }

void AttackAid::Refresh() {
  // What a preview reads: the units and castles (the map and tables do not change in a game).
  const std::size_t units = sizeof(game_.Units), castles = sizeof(game_.Castles);
  std::vector<unsigned char> now(units + castles);
  std::memcpy(now.data(), game_.Units.data(), units);
  std::memcpy(now.data() + units, game_.Castles.data(), castles);
  if (attacker_ == game_.ActiveUnit && now == seenImage_) return;
  attacker_ = game_.ActiveUnit;
  seenImage_ = std::move(now);
  previews_.clear();
  estimates_.clear();
  asked_.clear();
  ++generation_;
}

std::vector<HexPos> AttackAid::Targets() {
  std::vector<HexPos> out;
  if (!Choosing()) return out;
  const Unit& a = game_.U(game_.ActiveUnit);
  for (int d = 1; d <= 6; ++d) {
    const HexPos n = Neighbour(a.HexX, a.HexY, d);
    if (!OnMapHex(n.X, n.Y)) continue;
    if (UnitsAt(game_, n.X, n.Y).Count == 0 && CastleAt(game_, n.X, n.Y) == -1) continue;
    const auto p = PreviewAt(n.X, n.Y);
    if (p && p->Refusal == AttackRefusal::None) out.push_back(n);
  }
  return out;
}

std::optional<AttackPreview> AttackAid::PreviewAt(int x, int y) {
  if (!Choosing() || !OnMapHex(x, y)) return std::nullopt;
  Refresh();
  const auto key = std::make_pair(x, y);
  const auto found = previews_.find(key);
  if (found != previews_.end()) return found->second;
  const AttackPreview p = PreviewAttack(game_, game_.ActiveUnit, x, y);
  previews_[key] = p;
  return p;
}

const AttackEstimate* AttackAid::EstimateAt(int x, int y) {
  const auto p = PreviewAt(x, y);
  if (!p || p->Refusal != AttackRefusal::None) return nullptr;
  const auto key = std::make_pair(x, y);
  const auto found = estimates_.find(key);
  if (found != estimates_.end()) return &found->second;
  if (asked_[key]) return nullptr;
  asked_[key] = true;
  // The battles are fought on a copy in the background; the answer comes back to the window's
  // thread and is kept only if nothing has changed meanwhile.
  auto copy = std::make_shared<const Game>(game_);
  const int attacker = game_.ActiveUnit;
  const unsigned long long generation = generation_;
  pool_.start([this, copy, attacker, x, y, generation] {
    const AttackEstimate e = SimulateAttack(*copy, attacker, x, y, kEstimateBattles, kEstimateSeed);
    QMetaObject::invokeMethod(
        context_,
        [this, e, x, y, generation] {
          if (generation != generation_) return;
          estimates_[std::make_pair(x, y)] = e;
          if (changed_) changed_();
        },
        Qt::QueuedConnection);
  });
  return nullptr;
}

}  // namespace milgant
