// The combat results source reader and the "CRT.txt" text it makes.
#include <gtest/gtest.h>

#include <string>

#include "tools/mapgen/CrtSource.h"

namespace milgant::mapgen {
namespace {

// Six rows: die d in column c hits (d - 1) + c / 4; one entry may be lowered by `drop`.
std::string Table(int dropDie = 0, int dropColumn = 0, int drop = 1) {
  std::string s = "# test table\n";
  for (int d = 1; d <= 6; ++d) {
    s += "die " + std::to_string(d) + ":";
    for (int c = 0; c < 14; ++c) {
      int v = (d - 1) + c / 4;
      if (d == dropDie && c == dropColumn) v -= drop;
      s += " " + std::to_string(v);
    }
    s += "\n";
  }
  return s;
}

TEST(CrtSource, ReadsSixDiceOfFourteenColumns) {
  const CrtSourceResult r = ParseCrtSource(Table());
  ASSERT_TRUE(r.Ok) << r.Error;
  EXPECT_EQ(r.Hits[0][0], 0);
  EXPECT_EQ(r.Hits[5][13], 8);
  EXPECT_EQ(r.Hits[2][4], 3);
}

TEST(CrtSource, WritesSpaceSeparatedLinesWithCrLf) {
  const std::string text = CrtFileText(ParseCrtSource(Table()));
  EXPECT_EQ(text.substr(0, 29), "0 0 0 0 1 1 1 1 2 2 2 2 3 3\r\n");
  std::size_t lines = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++lines;
      EXPECT_EQ(text[i - 1], '\r');
    }
  }
  EXPECT_EQ(lines, 6u);
  EXPECT_EQ(text.find("  "), std::string::npos);
}

TEST(CrtSource, WeakerOutcomeForMoreStrengthIsRefused) {
  // Die 3, column 5 would hit less than column 4 (both carry 2 + 1).
  const CrtSourceResult r = ParseCrtSource(Table(3, 5));
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Error.find("line 4"), std::string::npos) << r.Error;
}

TEST(CrtSource, WeakerOutcomeForAHigherDieIsRefused) {
  // Die 3, column 0 would hit 0, less than the 1 of die 2.
  const CrtSourceResult r = ParseCrtSource(Table(3, 0, 2));
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Error.find("than on die 2"), std::string::npos) << r.Error;
}

TEST(CrtSource, MissingOrMisorderedDiceAreRefused) {
  std::string t = Table();
  EXPECT_FALSE(ParseCrtSource(t.substr(0, t.find("die 6"))).Ok);
  std::string swapped = t;
  swapped.replace(swapped.find("die 2"), 5, "die 3");
  EXPECT_FALSE(ParseCrtSource(swapped).Ok);
}

TEST(CrtSource, WrongCountOrBadNumberIsRefused) {
  std::string t = Table();
  std::string shortRow = t;
  shortRow.erase(shortRow.find("\ndie 2") - 2, 2);  // drop the last number of die 1
  EXPECT_FALSE(ParseCrtSource(shortRow).Ok);
  std::string bad = t;
  bad.replace(bad.find("die 4:") + 7, 1, "x");
  EXPECT_FALSE(ParseCrtSource(bad).Ok);
}

}  // namespace
}  // namespace milgant::mapgen
