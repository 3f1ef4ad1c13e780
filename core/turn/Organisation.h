// Corps organisation in the human's organisation phase: a subordinate leaves his commander and
// becomes an independent general (独立), or a general joins a commander of higher rank who still
// has command to spare (編成). The unit window calls these; they change the units directly.
#pragma once

namespace milgant {

struct Game;
class Ui;

// `sub` leaves `commander`'s corps and stands alone with his own action points. Nothing happens
// (false) when he is not that commander's subordinate or has already acted this turn.
bool DetachGeneral(Game& g, Ui& ui, int commander, int sub);

enum class AttachOutcome { Attached, TooMany, NoRankGap, Refused };
// `general` joins `commander`'s corps and takes the corps' action points. A commander leads up
// to Command + 1 subordinates ("統率力エラー" beyond) and only generals of lower rank
// ("階級エラー"); both are told in a note and change nothing. A general who has acted, who leads
// a corps of his own, or who stands elsewhere is refused without a note.
AttachOutcome AttachGeneral(Game& g, Ui& ui, int commander, int general);

// Whether `general` can be picked to join a corps at all (he has not acted and leads nobody).
bool CanJoinCorps(const Game& g, int general);

}  // namespace milgant
