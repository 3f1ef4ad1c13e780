// The player's reading of MIDI files: which files it takes, and how long their pieces last.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "music/MidiFile.h"
#include "tools/musicgen/Piece.h"

namespace milgant {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Header(int format, int tracks, std::uint16_t division) {
  return {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, static_cast<std::uint8_t>(format), 0,
          static_cast<std::uint8_t>(tracks), static_cast<std::uint8_t>(division >> 8),
          static_cast<std::uint8_t>(division & 0xFF)};
}

Bytes Chunk(const char* id, const Bytes& body, int lengthDelta = 0) {
  Bytes out(id, id + 4);
  const std::uint32_t n = static_cast<std::uint32_t>(static_cast<int>(body.size()) + lengthDelta);
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

const Bytes kEnd = {0x00, 0xFF, 0x2F, 0x00};
// Middle C for one quarter (96 ticks), then the end of the track.
const Bytes kOneNote = {0x00, 0x90, 60, 100, 0x60, 0x80, 60, 64, 0x00, 0xFF, 0x2F, 0x00};

struct Case {
  const char* name;
  Bytes bytes;
  bool ok;
  double seconds;  // when ok
  int notes;       // when ok
};

TEST(MidiFile, AcceptsPlayableFilesAndMeasuresThem) {
  const std::vector<Case> cases = {
      {"one note at the default tempo", Cat({Header(0, 1, 96), Chunk("MTrk", kOneNote)}), true, 0.5, 1},
      {"running status", Cat({Header(0, 1, 96), Chunk("MTrk", {0x00, 0x90, 60, 100, 0x30, 62, 100, 0x30, 60, 0, 0x00, 62, 0,
                                                              0x00, 0xFF, 0x2F, 0x00})}), true, 0.5, 2},
      {"tempo changes on the conductor track",
       Cat({Header(1, 2, 96),
            Chunk("MTrk", {0x00, 0xFF, 0x51, 3, 0x0F, 0x42, 0x40, 0x60, 0xFF, 0x51, 3, 0x03, 0xD0, 0x90, 0x00, 0xFF,
                           0x2F, 0x00}),
            Chunk("MTrk", {0x00, 0x90, 60, 100, 0x81, 0x40, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00})}),
       true, 1.25, 1},
      {"SMPTE time, 25 frames of 40 ticks", Cat({Header(0, 1, 0xE728), Chunk("MTrk", {0x00, 0x90, 60, 100, 0x8F, 0x50,
                                                                                     0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00})}),
       true, 2.0, 1},
      {"an unknown chunk is passed over", Cat({Header(0, 1, 96), Chunk("XFIH", {1, 2, 3}), Chunk("MTrk", kOneNote)}), true,
       0.5, 1},
      {"a system exclusive message", Cat({Header(0, 1, 96), Chunk("MTrk", Cat({{0x00, 0xF0, 3, 0x7E, 0x7F, 0xF7}, kOneNote}))}),
       true, 0.5, 1},
      {"empty file", {}, false, 0, 0},
      {"text", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', ',', ' ', 't', 'h', 'i', 's'}, false, 0, 0},
      {"a wave file", Cat({Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, Chunk("fmt ", Bytes(16, 0))}), false,
       0, 0},
      {"format 3", Cat({Header(3, 1, 96), Chunk("MTrk", kOneNote)}), false, 0, 0},
      {"no tracks", Header(0, 0, 96), false, 0, 0},
      {"zero division", Cat({Header(0, 1, 0), Chunk("MTrk", kOneNote)}), false, 0, 0},
      {"fewer tracks than announced", Cat({Header(1, 2, 96), Chunk("MTrk", kOneNote)}), false, 0, 0},
      {"track longer than the file", Cat({Header(0, 1, 96), Chunk("MTrk", kOneNote, 40)}), false, 0, 0},
      {"track without its end", Cat({Header(0, 1, 96), Chunk("MTrk", {0x00, 0x90, 60, 100, 0x60, 0x80, 60, 64})}), false,
       0, 0},
      {"end cut inside an event", Cat({Header(0, 1, 96), Chunk("MTrk", {0x00, 0x90, 60})}), false, 0, 0},
      {"silent: note-ons of velocity 0 only", Cat({Header(0, 1, 96), Chunk("MTrk", Cat({{0x00, 0x90, 60, 0}, kEnd}))}),
       false, 0, 0},
      {"data byte where a status is needed", Cat({Header(0, 1, 96), Chunk("MTrk", Cat({{0x00, 0x40, 60}, kOneNote}))}),
       false, 0, 0},
      {"delta time longer than four bytes", Cat({Header(0, 1, 96), Chunk("MTrk", Cat({{0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, kOneNote}))}),
       false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MidiInfo info = ReadMidiInfo(c.bytes);
    EXPECT_EQ(info.ok, c.ok) << info.error;
    if (!c.ok) {
      EXPECT_FALSE(info.error.empty());
      continue;
    }
    EXPECT_NEAR(info.seconds, c.seconds, 1e-9);
    EXPECT_EQ(info.notes, c.notes);
  }
}

TEST(MidiFile, MissingFileAndFolderAreRefused) {
  EXPECT_FALSE(ReadMidiInfoFile("/nonexistent/Midi/kknc_gm.mid").ok);
  EXPECT_FALSE(ReadMidiInfoFile(MILGANT_DATA_DIR).ok);
}

// The shipped piece: one to two minutes, a shakuhachi or koto lead, taiko and drums, and
// every melodic note inside the yo and in modes on D (D E G A B, D Eb G A Bb).
TEST(MidiFile, ShippedPieceIsAnOriginalMarchInAJapaneseMode) {
  const MidiInfo info = ReadMidiInfoFile(std::string(MILGANT_DATA_DIR) + "/Midi/kknc_gm.mid");
  ASSERT_TRUE(info.ok) << info.error;
  EXPECT_DOUBLE_EQ(info.seconds, musicgen::PieceSeconds());
  EXPECT_GE(info.seconds, 60.0);
  EXPECT_LE(info.seconds, 120.0);
  const auto uses = [&](int program) {
    for (int p : info.programs)
      if (p == program) return true;
    return false;
  };
  EXPECT_TRUE(uses(77) || uses(107)) << "shakuhachi or koto";
  EXPECT_TRUE(uses(116)) << "taiko";
  EXPECT_GT(info.drumNotes, 100);
  const auto pc = [](int semitonesAboveC) { return 1u << semitonesAboveC; };
  const unsigned modes = pc(2) | pc(3) | pc(4) | pc(7) | pc(9) | pc(10) | pc(11);
  EXPECT_EQ(info.pitchClasses & ~modes, 0u) << "a note outside the modes";
  EXPECT_EQ(info.pitchClasses & pc(2), pc(2)) << "the tonic D";
}

}  // namespace
}  // namespace milgant
