// The random generator, rounding and the CP932 text layer.
#include <gtest/gtest.h>

#include <set>

#include "core/game/Random.h"
#include "core/game/Rounding.h"
#include "core/game/Text.h"

namespace milgant {
namespace {

TEST(Random, FollowsTheGameSequenceFromASeed) {
  // Worked out by hand from seed := seed * 134775813 + 1 and the upper half of seed * n.
  Random r(12345);
  EXPECT_EQ(r.Next(6), 2);
  EXPECT_EQ(r.Next(6), 1);
  EXPECT_EQ(r.Next(101), 8);
  EXPECT_EQ(r.Next(1000), 553);
  EXPECT_EQ(r.Next(2147483647), 1360806764);
  Random zero(0);
  EXPECT_EQ(zero.Next(6), 0);
  EXPECT_EQ(zero.Seed(), 1u);
}

TEST(Random, StaysInRangeAndReplaysFromTheSameSeed) {
  Random a(987654321);
  Random b(987654321);
  std::set<int> faces;
  for (int i = 0; i < 2000; ++i) {
    const int d = a.Die();
    ASSERT_EQ(d, b.Die());
    ASSERT_GE(d, 1);
    ASSERT_LE(d, 6);
    faces.insert(d);
  }
  EXPECT_EQ(faces.size(), 6u);
  // A draw below 1 still advances the generator, so later draws keep their places.
  Random c(5), d(5);
  c.Next(0);
  d.Next(10);
  EXPECT_EQ(c.Next(100), d.Next(100));
}

TEST(Random, ClockSeedIsMillisecondsOfTheDay) {
  EXPECT_LT(Random::ClockSeed(), 24u * 60 * 60 * 1000);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.51), 3);
  EXPECT_EQ(RoundHalfEven(7.0 / 2.0), 4);
  EXPECT_EQ(RoundHalfEven(5.0 / 2.0), 2);
}

TEST(Text, AwkwardCp932BytesConvertBothWays) {
  struct Case {
    std::string Cp932;
    std::string Utf8;
  };
  const Case cases[] = {
      {"\x81\x5F", "＼"}, {"\x81\x60", "～"}, {"\x87\x40", "①"},
      {"\xFA\x40", "ⅰ"},  {"\x5C", "\\"},     {"\xB1", "ｱ"},
      {"\x8B\x9E", "京"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cp932ToUtf8(c.Cp932).value_or("?"), c.Utf8) << c.Utf8;
    EXPECT_EQ(Utf8ToCp932(c.Utf8).value_or("?"), c.Cp932) << c.Utf8;
  }
}

TEST(Text, RefusesWhatCannotConvertAndLossyKeepsGoing) {
  EXPECT_FALSE(Cp932ToUtf8("\x81").has_value());      // a lead byte with nothing after it
  EXPECT_FALSE(Utf8ToCp932("한국어").has_value());     // no CP932 form
  EXPECT_EQ(Cp932ToUtf8Lossy("A\x81"), "A\xEF\xBF\xBD");
  EXPECT_EQ(Cp932ToUtf8Lossy("\x8B\x9E\xFF" "B"), "京\xEF\xBF\xBD" "B");
  EXPECT_THROW(Cp932("한"), std::logic_error);
}

TEST(Text, LeadBytes) {
  EXPECT_TRUE(IsCp932LeadByte(0x81));
  EXPECT_TRUE(IsCp932LeadByte(0x9F));
  EXPECT_TRUE(IsCp932LeadByte(0xE0));
  EXPECT_TRUE(IsCp932LeadByte(0xFC));
  EXPECT_FALSE(IsCp932LeadByte(0x80));
  EXPECT_FALSE(IsCp932LeadByte(0xA0));
  EXPECT_FALSE(IsCp932LeadByte(0xB1));  // half-width katakana stands alone
  EXPECT_FALSE(IsCp932LeadByte('A'));
}

}  // namespace
}  // namespace milgant
