// Moving one computer unit: PlanMove picks where it is heading, looking further than it can go
// now (castles to take, enemies to strike, its objective); ExecuteComputerMove picks the hex it
// goes to this time, stores the route there and charges the points. Lower move scores are better.
#pragma once

namespace milgant {

struct Game;

// Sets MoveGoalX, MoveGoalY.
void PlanMove(Game& g, int slot);
// Sets Route, RouteDestX/Y, ActionPoints, MaxActionPoints, MoveScoreChosen and, for a unit with
// a commander, MoveScoreAtCommander. A unit whose candidates all score worse than the start
// keeps its route, hex and points.
void ExecuteComputerMove(Game& g, int slot);

// The look-ahead budgets: points times a factor that shrinks as the points grow.
int PlanBudget(int actionPoints);
int ExecuteBudget(int actionPoints);

// The five position values of hex (x, y) for the unit; each makes the hex more attractive.
struct PositionValues {
  int Joining = 0;
  int Encirclement = 0;
  int Contact = 0;
  int Direction = 0;
  int River = 0;
  int Sum() const { return Joining + Encirclement + Contact + Direction + River; }
};
PositionValues PositionValuesAt(const Game& g, int slot, int x, int y);

// The steering of a unit standing back (posture 4) around a nearby enemy: the enemy's six
// neighbours are marked, and a marked candidate at distance d from the goal gets
// 38000 - 1000 d when d is odd, 400 d - 15200 when d is even. The enemy is the nearest
// independent unit of the player's side within 4 hexes of the unit (the lowest slot among
// equals); without one, or off the marked hexes, the term is 0.
int StandBackSteering(const Game& g, int slot, int candidateX, int candidateY);

}  // namespace milgant
