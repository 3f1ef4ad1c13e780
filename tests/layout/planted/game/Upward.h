// A bottom-layer header that reaches up: the check must name both lines.
#pragma once
#include "core/game/Game.h"
#include "core/rules/Movement.h"
  #  include "core/turn/PhaseSequence.h"
