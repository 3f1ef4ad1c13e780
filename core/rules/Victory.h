// Castle occupation and the end of the game: a castle passes to the side whose unit stands
// first on its hex; the game ends when side 0's home city falls, or from turn 10 on by side 1's
// victory points (16 or more wins it for side 1).
#pragma once

namespace milgant {

struct Game;
class Ui;

constexpr int kHomeCityX = 2;
constexpr int kHomeCityY = 5;
constexpr int kHomeCityLostTerrain = 9;  // side 0's home city held by side 1
constexpr int kLastTurn = 10;
constexpr int kWinningPoints = 16;

void OccupyCastles(Game& g, Ui& ui);
// The winner (0 or 1) when the game is over, -1 when it goes on. Pure: changes nothing.
int Winner(const Game& g);
// At the end of every human turn: on a winner the ending is told, the music stops and the game
// stops (GameState 0). Returns the winner or -1.
int VictoryTest(Game& g, Ui& ui);

}  // namespace milgant
