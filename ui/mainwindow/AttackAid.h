// The attack aid of the main window: while the player chooses the hex to attack, the hexes the
// corps may attack are outlined, and the hex under the mouse is previewed in the status line
// and a tooltip: the odds, the strengths and modifiers, the chances of one round, and for an
// engagement the outcome of the whole battle estimated in the background.
#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "core/game/HexGrid.h"
#include "core/turn/AttackPreview.h"

namespace milgant {

struct Game;

// How many battles an estimate fights, and the seed they start from: the same position always
// shows the same estimate.
constexpr int kEstimateBattles = 200;
constexpr std::uint32_t kEstimateSeed = 1;

// The texts of a preview: one line for the status line, several for the tooltip. `estimate` is
// null while it is being worked out.
QString PreviewStatusText(const AttackPreview& p, const AttackEstimate* estimate);
QString PreviewTooltipText(const Game& g, const AttackPreview& p, const AttackEstimate* estimate);

class AttackAid {
 public:
  // `context` receives the finished estimates on the window's thread; `changed` is called there
  // when one for the hex under the mouse has arrived.
  AttackAid(const Game& game, QObject* context, std::function<void()> changed);
  ~AttackAid();  // waits for an estimate still being worked out

  // Whether the player is choosing a hex to attack right now.
  bool Choosing() const;
  // The hexes around the attacker that it may attack and that hold an enemy (unit or castle).
  std::vector<HexPos> Targets();
  // The preview of the hex under the mouse: nothing when not choosing or not next to the attacker.
  std::optional<AttackPreview> PreviewAt(int x, int y);
  // The estimate for the hex, when it has been worked out; asks for it otherwise.
  const AttackEstimate* EstimateAt(int x, int y);
  // Waits until no estimate is being worked out (for tests).
  void WaitForEstimates();

 private:
  // Forgets everything when the attacker or the game has changed since the last look.
  void Refresh();

  const Game& game_;
  QObject* context_;
  std::function<void()> changed_;
  QThreadPool pool_;
  int attacker_ = -1;
  unsigned long long generation_ = 0;
  std::vector<unsigned char> seenImage_;
  std::map<std::pair<int, int>, AttackPreview> previews_;
  std::map<std::pair<int, int>, AttackEstimate> estimates_;
  std::map<std::pair<int, int>, bool> asked_;
};

}  // namespace milgant
