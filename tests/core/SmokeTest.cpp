#include <gtest/gtest.h>
#include <memory>
#include "game/Game.h"
TEST(Smoke, Builds) { auto g = std::make_unique<milgant::Game>(); EXPECT_EQ(g->GameState, 0); }
