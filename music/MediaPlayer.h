// The hidden media player behind the main window's music: a file name, open, play, stop,
// close and a mode query, played through a software synthesizer. Sound is never fatal: with
// no audio device or no SoundFont the player still keeps its modes and the piece's length,
// silently. No Qt here, so the tests can drive it on their own.
#pragma once

#include <memory>
#include <string>

namespace milgant {

enum class TMPModes { NotReady, Stopped, Playing, Recording, Seeking, Paused, Open };

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

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace milgant
