// The hint line under the map: what the player can do now, and why a command just did nothing.
// These are our own words around the game's commands; they read the game and never change it.
#pragma once

#include <QString>

namespace milgant {

struct Game;

// An own corps commander or independent general who can still be given an order in this action
// phase (he has not ended his action and has points left).
bool CanStillAct(const Game& g, int slot);
// A castle's name as the map shows it, with the victory points its hex moves when it changes
// hands ("京 2"); ports and castles outside cities count nothing and show the name alone.
QString CastleLabel(const Game& g, int castle);
// One line on what a term of the side panel means, for its tooltip; empty for other words.
QString TermTip(const QString& term);
// "ArmyName GeneralName" of a slot, empty for no unit.
QString CorpsName(const Game& g, int slot);
// What to do in the current phase. `winner` is the side that won the last game, -1 for none.
QString PhaseHint(const Game& g, int winner);
// The corps that has been given an order and still acts, and what ends its action (phase 7).
QString ActingCorpsHint(const Game& g);
// Why "フェイズ終了" does nothing now; empty when it would end the phase.
QString PhaseEndRefusal(const Game& g);
// Why "セーブ" is refused now; empty when a save is possible.
QString SaveRefusal(const Game& g);
// The status line after an ending: who won, and that the game is over.
QString GameOverLine(int winner);
// Why the command that the unit window just left for `slot` came to nothing, judged before the
// map click carries it out (`stateBefore` is the phase in which the window was opened). Empty
// when the command will be carried out.
QString CommandRefusal(const Game& g, int stateBefore, int slot);

}  // namespace milgant
