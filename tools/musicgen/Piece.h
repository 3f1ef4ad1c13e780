// The game's one piece of music, "kknc_gm.mid": a march for shakuhachi, koto, shamisen,
// a shō-like reed drone, low strings and taiko, in the yo mode on D with a darker middle
// section in the in mode. It is written here note by note; the generator turns it into a
// standard MIDI file.
#pragma once

#include <cstdint>
#include <vector>

namespace milgant::musicgen {

inline constexpr int kDivision = 480;          // ticks per quarter note
inline constexpr int kBeatsPerBar = 4;
inline constexpr int kBars = 38;
inline constexpr int kMicrosecondsPerQuarter = 600000;  // 100 beats a minute

// The bytes of the MIDI file; the same on every call.
std::vector<std::uint8_t> ComposePiece();

// The piece's length in seconds, from the constants above.
constexpr double PieceSeconds() {
  return static_cast<double>(kBars) * kBeatsPerBar * kMicrosecondsPerQuarter / 1e6;
}

}  // namespace milgant::musicgen
