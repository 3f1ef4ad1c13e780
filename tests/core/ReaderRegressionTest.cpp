// Files that fuzzing found the readers of the game's data mishandling, read again: each is
// refused with a reason that names the place, or read with the values it holds.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/game/Game.h"
#include "core/game/RuleTables.h"

namespace milgant {
namespace {

std::string Regression(const std::string& target, const std::string& name) {
  return std::string(MILGANT_DATA_DIR) + "/../fuzz/regressions/" + target + "/" + name;
}

// Entries of the combat results table beyond any number of hits made the battle's sums of
// steps overflow.
TEST(ReaderRegression, CrtEntriesBeyondTheLimitAreRefused) {
  struct Case {
    const char* File;
    const char* Reason;  // empty: read
  };
  const Case cases[] = {
      {"all-entries-most-negative.txt", "line 1 field 1: -2147483648 is outside -999..999"},
      {"all-entries-largest.txt", "line 1 field 1: 2147483647 is outside -999..999"},
      {"entries-at-the-limits.txt", ""},
  };
  for (const Case& c : cases) {
    auto g = std::make_unique<Game>();
    g->CrtTable[3][2] = 77;
    const CrtLoadResult r = LoadCrt(*g, Regression("crt", c.File));
    if (*c.Reason == '\0') {
      ASSERT_TRUE(r.Ok) << c.File << ": " << r.Reason;
      EXPECT_EQ(g->CrtTable[0][1], 999);
      EXPECT_EQ(g->CrtTable[1][1], -999);
      EXPECT_EQ(g->CrtTable[13][5], -999);
      EXPECT_EQ(g->CrtTable[13][6], 999);
      EXPECT_EQ(g->CrtTable[3][7], 0);
    } else {
      EXPECT_FALSE(r.Ok) << c.File;
      EXPECT_NE(r.Reason.find(c.Reason), std::string::npos) << r.Reason;
      EXPECT_EQ(g->CrtTable[3][2], 77) << c.File;
    }
  }
  auto g = std::make_unique<Game>();
  EXPECT_FALSE(ParseCrt(*g, "0 0 0 0 0 0 0 0 0 0 0 0 0 1000", "CRT.txt").Ok);
  EXPECT_FALSE(ParseCrt(*g, "-1000 0 0 0 0 0 0 0 0 0 0 0 0 0", "CRT.txt").Ok);
}

}  // namespace
}  // namespace milgant
