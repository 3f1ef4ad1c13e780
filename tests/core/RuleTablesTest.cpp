// The constant rule tables and the reading of "CRT.txt".
#include <gtest/gtest.h>

#include <memory>

#include "TestFiles.h"
#include "core/game/Game.h"
#include "core/game/RuleTables.h"
#include "core/game/Text.h"

namespace milgant {
namespace {

std::string Line(int first) {
  std::string s;
  for (int k = 0; k < 14; ++k) s += (k ? " " : "") + std::to_string(first + k);
  return s;
}

TEST(RuleTables, TerrainMovementAndIncome) {
  auto g = std::make_unique<Game>();
  EXPECT_EQ(Cp932ToUtf8(g->TerrainTypes[8].Name.View()).value(), "都市");
  EXPECT_EQ(Cp932ToUtf8(g->TerrainTypes[9].Name.View()).value(), "都市");
  EXPECT_EQ(g->TerrainTypes[8].DefenceBonus, 40);
  EXPECT_EQ(g->TerrainTypes[6].DefenceBonus, 80);
  EXPECT_EQ(g->TerrainTypes[13].DefenceBonus, 60);
  const auto& infantry = g->MovementTypes[0].Cost;
  EXPECT_EQ(infantry[3], 20);
  EXPECT_EQ(infantry[4], 3);
  for (int t = 8; t <= 13; ++t) EXPECT_EQ(infantry[static_cast<std::size_t>(t)], 1);
  EXPECT_EQ(infantry[14], 20);
  EXPECT_EQ(infantry[15], 0);
  EXPECT_EQ(g->MovementTypes[8].Cost[3], 100);
  EXPECT_EQ(g->MovementTypes[8].Cost[6], 1);
  EXPECT_EQ(g->MovementTypes[9].Cost[0], 100);
  EXPECT_EQ(Cp932ToUtf8(g->MovementTypes[3].Name.View()).value(), "キャタピラ２");
  EXPECT_EQ(g->ReplenishmentIncome[1][1], 20);
  EXPECT_EQ(g->ReplenishmentIncome[1][0], 10);
  EXPECT_EQ(g->ReplenishmentIncome[1][2], 10);
  EXPECT_EQ(g->ReplenishmentIncome[0][1], 10);
  EXPECT_EQ(g->ReplenishmentIncome[0][29], 10);
}

TEST(RuleTables, CrtColumnsByStrength) {
  const std::pair<int, int> cases[] = {{-5, 0}, {1, 0}, {2, 1}, {3, 2}, {4, 2}, {6, 3}, {7, 4}, {10, 4},
                                       {11, 5}, {20, 6}, {21, 7}, {40, 8}, {41, 9}, {80, 12}, {81, 13}, {900, 13}};
  for (auto [s, c] : cases) EXPECT_EQ(CrtColumn(s), c) << s;
}

TEST(CrtFile, SixLinesFillRowsOneToSix) {
  auto g = std::make_unique<Game>();
  std::string text;
  for (int i = 1; i <= 6; ++i) text += Line(i * 100) + "\r\n";
  ASSERT_TRUE(ParseCrt(*g, text, "CRT.txt").Ok);
  EXPECT_EQ(g->CrtTable[0][0], 0);
  EXPECT_EQ(g->CrtTable[0][1], 100);
  EXPECT_EQ(g->CrtTable[13][6], 613);
  EXPECT_EQ(g->CrtTable[5][7], 0);
  EXPECT_EQ(g->CrtTable[13][40], 0);
}

TEST(CrtFile, ExtraFieldsLoneLfMinusSignsAndAnEmptyFile) {
  auto g = std::make_unique<Game>();
  ASSERT_TRUE(ParseCrt(*g, Line(1) + " 99\n-3 -2 -1 0 1 2 3 4 5 6 7 8 9 10", "CRT.txt").Ok);
  EXPECT_EQ(g->CrtTable[0][1], 1);
  EXPECT_EQ(g->CrtTable[13][1], 14);
  EXPECT_EQ(g->CrtTable[0][2], -3);
  EXPECT_EQ(g->CrtTable[13][2], 10);
  ASSERT_TRUE(ParseCrt(*g, "", "CRT.txt").Ok);
  EXPECT_EQ(g->CrtTable[0][1], 0);  // an empty file leaves an empty table
}

TEST(CrtFile, OnlyFortyLinesAreRead) {
  auto g = std::make_unique<Game>();
  std::string text;
  for (int i = 1; i <= 40; ++i) text += Line(i) + "\r\n";
  text += "this line is past the table\r\n";
  ASSERT_TRUE(ParseCrt(*g, text, "CRT.txt").Ok);
  EXPECT_EQ(g->CrtTable[0][40], 40);
}

TEST(CrtFile, MalformedLinesAreRefusedWholeAndKeepTheTable) {
  auto g = std::make_unique<Game>();
  std::string good;
  for (int i = 1; i <= 6; ++i) good += Line(i) + "\r\n";
  ASSERT_TRUE(ParseCrt(*g, good, "CRT.txt").Ok);
  const auto before = g->CrtTable;

  const std::string bad[] = {
      "1  2 3 4 5 6 7 8 9 10 11 12 13 14",    // two spaces: an empty field
      " 1 2 3 4 5 6 7 8 9 10 11 12 13 14",    // leading space
      "1\t2 3 4 5 6 7 8 9 10 11 12 13 14",    // tab
      "1 2 3 4 5 6 7 8 9 10 11 12 13",        // thirteen fields
      "1 2 3 x 5 6 7 8 9 10 11 12 13 14",     // not an integer
      "1 2 3 4 5 6 7 8 9 10 11 12 13 1.5",    // not an integer
      "1 2 3 4 5 6 7 8 9 10 11 12 13 -",      // a sign alone
      "1 2 3 4 5 6 7 8 9 10 11 12 13 99999999999",  // beyond 32 bits
      "",                                     // an empty line
  };
  for (const std::string& line : bad) {
    const CrtLoadResult r = ParseCrt(*g, Line(50) + "\r\n" + line + "\r\n", "CRT.txt");
    EXPECT_FALSE(r.Ok) << line;
    EXPECT_NE(r.Reason.find("CRT.txt line 2"), std::string::npos) << r.Reason;
    EXPECT_EQ(r.Reason.find('\n'), std::string::npos);
    EXPECT_EQ(g->CrtTable, before) << "a refused file must not change the table: " << line;
  }
}

TEST(CrtFile, MissingFileIsRefused) {
  test::TempDir dir;
  auto g = std::make_unique<Game>();
  const CrtLoadResult r = LoadCrt(*g, dir.File("CRT.txt"));
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Reason.find("CRT.txt"), std::string::npos);
  test::WriteText(dir.File("CRT.txt"), Line(1) + "\r\n");
  EXPECT_TRUE(LoadCrt(*g, dir.File("CRT.txt")).Ok);
  EXPECT_EQ(g->CrtTable[4][1], 5);
}

}  // namespace
}  // namespace milgant
