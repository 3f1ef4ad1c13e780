// What the player needs to know of a standard MIDI file before it plays it: whether the
// bytes are a well-formed, playable file, and how long the piece lasts with its tempo map.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace milgant {

struct MidiInfo {
  bool ok = false;
  std::string error;  // why the file cannot be played, when !ok
  int format = 0;
  int tracks = 0;
  int division = 0;      // ticks per quarter note (or per SMPTE frame when smpte)
  bool smpte = false;
  long totalTicks = 0;   // the latest end of any track
  double seconds = 0.0;  // the piece's length, following every tempo change
  int notes = 0;         // sounding note-ons
  int drumNotes = 0;     // of them, on the percussion channel (10)
  std::array<int, 16> programs{};  // the first program chosen on each channel, -1 for none
  unsigned pitchClasses = 0;       // bit k: a melodic note of pitch class k (0 = C) sounds
};

// A playable file: "MThd" header of format 0, 1 or 2 with at least one track, every track
// chunk complete and ending with its end-of-track, and at least one sounding note.
MidiInfo ReadMidiInfo(const std::vector<std::uint8_t>& bytes);
MidiInfo ReadMidiInfoFile(const std::string& path);

// The whole of a regular file; false for a missing file, a folder or a read error.
bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes);

}  // namespace milgant
