// A rule that reaches the screen and the outside: three offences, one allowed include.
#include "core/combat/Battle.h"
#include "core/game/HexGrid.h"
#include <QWidget>
#include <QtCore/QString>
#include <fluidsynth.h>
#include <queue>
#include "ui/widgets/MapRenderer.h"
