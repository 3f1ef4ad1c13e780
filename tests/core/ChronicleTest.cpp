// The chronicle: what the events of whole games say agrees with the games themselves, and its
// file comes back as it was written, or is refused line by line when damaged.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "TestFiles.h"
#include "core/game/Chronicle.h"
#include "core/game/Game.h"
#include "core/game/RuleTables.h"
#include "core/game/Scenario.h"
#include "core/turn/ScriptedUi.h"
#include "core/turn/SelfPlay.h"

namespace milgant {
namespace {

const std::string kDataFolder = MILGANT_DATA_DIR;

struct Played {
  std::unique_ptr<Game> G;
  SelfPlayResult R;
};

Played PlayGame(int human, bool both, std::uint32_t seed) {
  Played p{std::make_unique<Game>(), {}};
  EXPECT_TRUE(LoadCrt(*p.G, kDataFolder + "/CRT.txt").Ok);
  SelfPlayOptions o;
  o.HumanSide = human;
  o.Both = both;
  o.Seed = seed;
  o.MapPath = kDataFolder + "/Map.dat";
  o.KeepEvents = true;
  p.R = PlaySelf(*p.G, o);
  return p;
}

// Whole games of every kind: the castles handed over in the events, laid over the castles of a
// new game, are the castles at the end; the victory points move as a chain from 0 to the end;
// a general who fell never comes back; a unit on the map at the end came onto it last.
TEST(Chronicle, TheEventsOfWholeGamesAgreeWithTheGames) {
  auto fresh = std::make_unique<Game>();
  ScriptedUi quiet;
  ASSERT_TRUE(SetUpNewGame(*fresh, quiet, kDataFolder + "/Map.dat"));
  int battles = 0;
  for (const auto& [human, both] : {std::pair{0, false}, std::pair{1, false}, std::pair{0, true}}) {
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
      const Played p = PlayGame(human, both, seed * 101u);
      const std::string what = "human " + std::to_string(human) + (both ? " both" : "") + " seed " + std::to_string(seed);
      ASSERT_EQ(p.R.Broken, "") << what;
      std::array<int, kCastleSlots> owner{};
      for (int n = 0; n < kCastleSlots; ++n) owner[static_cast<std::size_t>(n)] = fresh->Castles[static_cast<std::size_t>(n)].Owner;
      int points = 0;
      std::array<int, kUnitSlots> life{};  // 0 nothing yet, 1 arrived, 2 will return, 3 fell
      for (const Event& e : p.R.Events) {
        switch (e.Kind) {
          case EventKind::CastleChanged:
            EXPECT_NE(owner[static_cast<std::size_t>(e.Other)], e.Side) << what;
            owner[static_cast<std::size_t>(e.Other)] = e.Side;
            break;
          case EventKind::VictoryPoints:
            EXPECT_EQ(e.Value, points) << what;
            points = e.Value2;
            break;
          case EventKind::GeneralKilled:
            EXPECT_NE(life[static_cast<std::size_t>(e.Unit)], 3) << what;
            life[static_cast<std::size_t>(e.Unit)] = 3;
            break;
          case EventKind::WillReturn:
            EXPECT_NE(life[static_cast<std::size_t>(e.Unit)], 3) << what << ": unit " << e.Unit;
            life[static_cast<std::size_t>(e.Unit)] = 2;
            break;
          case EventKind::Arrived:
            EXPECT_NE(life[static_cast<std::size_t>(e.Unit)], 3) << what << ": a fallen general came back, unit " << e.Unit;
            life[static_cast<std::size_t>(e.Unit)] = 1;
            break;
          case EventKind::Battle:
            ++battles;
            EXPECT_GE(e.Fight.Rounds, 1) << what;
            EXPECT_GT(e.Fight.Attackers.Count, 0) << what;
            break;
          default:
            break;
        }
      }
      for (int n = 1; n < p.G->CastleCounter; ++n) {
        EXPECT_EQ(owner[static_cast<std::size_t>(n)], p.G->Castles[static_cast<std::size_t>(n)].Owner) << what << ": castle " << n;
      }
      EXPECT_EQ(points, p.G->VictoryPoints) << what;
      for (int s = 1; s < kUnitSlots; ++s) {
        const int l = life[static_cast<std::size_t>(s)];
        if (p.G->U(s).OnMap == 1) {
          EXPECT_TRUE(l == 0 || l == 1) << what << ": unit " << s;
        }
        if (l == 2 || l == 3) {
          EXPECT_NE(p.G->U(s).OnMap, 1) << what << ": unit " << s;
        }
      }
      EXPECT_EQ(p.R.Events.back().Kind, EventKind::GameEnds) << what;
      EXPECT_EQ(p.R.Events.back().Side, p.R.Winner) << what;
    }
  }
  EXPECT_GT(battles, 100);
}

// Written and read back, a chronicle is the same text; damaged ones are refused with the line.
TEST(Chronicle, TheFileComesBackAsWrittenAndADamagedOneIsRefused) {
  const Played p = PlayGame(0, true, 77);
  Chronicle c;
  c.Events = p.R.Events;
  const std::string text = ChronicleText(c);
  Chronicle back;
  std::string why;
  ASSERT_TRUE(ParseChronicle(text, back, &why)) << why;
  EXPECT_EQ(ChronicleText(back), text);
  const auto s = Summarise(back);
  EXPECT_EQ(s[0].BattlesAttacked, s[1].BattlesDefended);
  EXPECT_EQ(s[0].CastlesTaken, s[1].CastlesLost);

  const std::size_t second = text.find('\n', text.find('\n') + 1) + 1;  // the first event's line
  const struct {
    const char* What;
    std::string Text;
    std::string Reason;
  } damaged[] = {
      {"another version", "milgant-chronicle 2\nstart 0\n", "line 1: not a chronicle of this version"},
      {"no start", "milgant-chronicle 1\nbegin 0\n", "line 2: no start turn"},
      {"cut short", text.substr(0, text.size() - 3), "the last line has no end"},
      {"unknown kind", text.substr(0, second) + "Flew turn=1 side=0\n", "line 3: not an event"},
      {"unknown field", text.substr(0, second) + "Moved turn=1 side=0 speed=3\n", "line 3: not an event"},
      {"bad number", text.substr(0, second) + "Moved turn=1x side=0\n", "line 3: not an event"},
      {"a unit past the slots", text.substr(0, second) + "Battle turn=1 side=0 att=141\n", "line 3: not an event"},
      {"empty", "", "line 1: no header"},
  };
  for (const auto& d : damaged) {
    Chronicle out;
    std::string reason;
    EXPECT_FALSE(ParseChronicle(d.Text, out, &reason)) << d.What;
    EXPECT_NE(reason.find(d.Reason), std::string::npos) << d.What << ": " << reason;
  }

  // From files: written atomically beside the save, missing and damaged ones start afresh.
  test::TempDir dir;
  const std::string path = ChronicleFileFor(dir.File("Save2.dat"));
  EXPECT_EQ(path, dir.File("Save2.chronicle"));
  EXPECT_EQ(ChronicleFileFor("Autosave.DAT"), "Autosave.chronicle");
  EXPECT_EQ(ChronicleFileFor("game"), "game.chronicle");
  ASSERT_TRUE(WriteChronicle(c, path));
  Chronicle read;
  EXPECT_EQ(ReadChronicle(path, 5, read, nullptr), ChronicleRead::Read);
  EXPECT_EQ(read.Events.size(), c.Events.size());
  EXPECT_EQ(ReadChronicle(dir.File("Save3.chronicle"), 5, read, nullptr), ChronicleRead::Missing);
  EXPECT_TRUE(read.Events.empty());
  EXPECT_EQ(read.StartTurn, 5);
  test::WriteText(path, "milgant-chronicle 1\nstart 0\nMoved turn=");
  EXPECT_EQ(ReadChronicle(path, 6, read, &why), ChronicleRead::Damaged);
  EXPECT_TRUE(read.Events.empty());
  EXPECT_EQ(read.StartTurn, 6);
}

}  // namespace
}  // namespace milgant
