// Where the music's sound comes from: the SoundFont, the mute switch, and rendering a piece
// to a sound file without a device (for checking the piece by ear and by measurement).
#pragma once

#include <string>
#include <vector>

namespace milgant {

// The SoundFonts looked for, in order: $MILGANT_SOUNDFONT when set, Debian's default General
// MIDI font (default-GM.sf2, then .sf3), then the General MIDI fonts Debian's packages install.
std::vector<std::string> SoundFontCandidates();
// The first candidate that is a readable SoundFont, or "" when there is none.
std::string FindSoundFont();

// True when $MILGANT_MUTE is set to anything but "" or "0": the game then plays no sound.
bool MusicMuted();

struct RenderResult {
  bool ok = false;
  std::string error;
  std::string soundFont;  // the font the sound came from
  double seconds = 0.0;   // length of the sound written
};

// Plays the MIDI file `loops` times back to back through the synthesizer into a 16-bit
// stereo WAV file, stopping at the end of the last pass (no ring-out), as fast as it can.
RenderResult RenderMidiToWav(const std::string& midiPath, const std::string& wavPath,
                             int loops = 1, int sampleRate = 44100);

}  // namespace milgant
