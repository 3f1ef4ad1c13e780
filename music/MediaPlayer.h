// The hidden media player behind the main window's music: a file name, open, play, stop,
// close and a mode query, played through a software synthesizer. Sound is never fatal: with
// no audio device or no SoundFont the player still keeps its modes and the piece's length,
// silently. No Qt here, so the tests can drive it on their own.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace milgant {

enum class TMPModes { NotReady, Stopped, Playing, Recording, Seeking, Paused, Open };

// Where the player's sound goes; chosen before Open.
enum class TMPOutput {
  Automatic,  // the machine's audio device, or silence when there is none or $MILGANT_MUTE is set
  Silent,     // no synthesizer: the piece's length runs on the clock alone
  Offline,    // a synthesizer without a device: time runs only as Render is called
};

class TMediaPlayer {
 public:
  TMediaPlayer();
  ~TMediaPlayer();
  TMediaPlayer(const TMediaPlayer&) = delete;
  TMediaPlayer& operator=(const TMediaPlayer&) = delete;

  // The file to open, relative to the working folder ("Midi/kknc_gm.mid").
  void SetFileName(const std::string& fileName);
  const std::string& FileName() const;
  // Each returns false when the step fails (no such file, not a playable MIDI file, not open).
  bool Open();
  bool Play();  // from the start when the piece had ended
  void Stop();
  void Close();
  TMPModes Mode();

  // Additions for tests and tools; the game leaves them at their defaults.
  void SetOutput(TMPOutput output);
  // The clock of a silent player, in seconds (default: the steady clock).
  void SetClock(std::function<double()> seconds);
  // Offline: renders the next frames (interleaved stereo, 44100 Hz), moving the piece on.
  // Returns the frames written; 0 unless open offline.
  std::size_t Render(float* stereo, std::size_t frames);
  // While open: whether a synthesizer makes the sound, and the piece's length in seconds.
  bool Audible() const;
  double Length() const;
  // How many players in this process have a piece open.
  static int OpenCount();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace milgant
