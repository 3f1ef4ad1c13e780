// The player's orders: every input between windows (a left click on a hex, the right button,
// a menu command) goes through DispatchInput, which decides by the phase what it means: pick a
// corps in the unit window and carry out the command it leaves, replenish, move, attack,
// recover morale, dig in, stand by to reinforce. The game window, the tests, milgant-cli and
// replays all come through here.
#pragma once

#include "core/game/InputScript.h"

namespace milgant {

struct Game;
struct Unit;
class Ui;

// What an input between windows did.
enum class Dispatched { Ignored, Done, PopupMenu };

// A click, right button or menu command. The right button cancels a move or an attack being
// chosen; in any other phase it asks for the pop-up menu (PopupMenu), which the window shows
// and whose choice comes back as a menu input. Other kinds are Ignored.
Dispatched DispatchInput(Game& g, Ui& ui, const Input& in);

// Whether "menu 取り消し" would take a move back now: one was confirmed in this action phase and
// no other input and no random draw has come since.
bool CanUndoMove(const Game& g);
// Puts the game back as it stood before the last confirmed move; false, changing nothing, when
// CanUndoMove is false.
bool UndoMove(Game& g, Ui& ui);

// A unit next to a hex whose first unit is the computer's takes no replenishment.
bool InContactWithEnemy(const Game& g, const Unit& u);

// The parts, for callers that already know what they hold.
void LeftClick(Game& g, Ui& ui, int x, int y);
Dispatched RightButton(Game& g, Ui& ui, int x, int y);
void MenuCommand(Game& g, Ui& ui, MenuItem item);

}  // namespace milgant
