#include "core/ai/Opponent.h"

#include "core/ai/ComputerPhase.h"
#include "core/ai/StrongPhase.h"
#include "core/game/Game.h"

namespace milgant {

void RunOpponentPhase(Game& g, Ui& ui) {
  switch (g.ComputerOpponent) {
    case Opponent::Strong: return RunStrongPhase(g, ui);
    case Opponent::Standard: break;
  }
  RunComputerPhase(g, ui);
}

}  // namespace milgant
