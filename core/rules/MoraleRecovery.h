// Recovering a corps' morale: a roll under the general's morale brings him back to order, and
// each of his subordinates gets a roll of its own against the same morale. Used by the player's
// 回復 command and by the computer opponent; the two points it costs are the caller's to charge.
#pragma once

namespace milgant {

struct Game;
class Ui;

void MoraleRecovery(Game& g, Ui& ui, int slot);

}  // namespace milgant
