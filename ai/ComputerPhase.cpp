#include "ai/ComputerPhase.h"

namespace milgant {

// The computer opponent is not written yet: for now its side stands still for the whole phase,
// and the turn sequence goes on around it.
void RunComputerPhase(Game&, Ui&) {}

}  // namespace milgant
