// The top layer may include every layer below it.
#include "core/ai/ComputerPhase.h"
#include "core/combat/Battle.h"
#include "core/game/Game.h"
#include "core/rules/Supply.h"
#include "core/turn/MapClick.h"
