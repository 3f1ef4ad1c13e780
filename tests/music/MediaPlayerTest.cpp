// The music player's modes: open, play, the end of the piece, the timer's restart, stop and
// close, on a silent player with a test clock and on a real synthesizer rendering offline.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <thread>
#include <cstdlib>
#include <string>
#include <vector>

#include "MusicTestFiles.h"
#include "music/MediaPlayer.h"

namespace milgant {
namespace {

using test::MusicDir;
using test::ShortPiece;

// The main window's one-second tick: a piece that has ended starts again.
void TimerTick(TMediaPlayer& p) {
  if (p.Mode() == TMPModes::Stopped) p.Play();
}

TEST(MediaPlayer, FilesThatCannotBePlayedDoNotOpen) {
  MusicDir dir;
  const std::string text = dir.Write("Midi/notes.mid", {'n', 'o', 't', ' ', 'm', 'u', 's', 'i', 'c', '\n'});
  std::vector<std::uint8_t> cut = ShortPiece(4, 120);
  cut.resize(cut.size() - 3);  // the last track loses its end
  const std::string truncated = dir.Write("Midi/cut.mid", cut);
  for (TMPOutput output : {TMPOutput::Silent, TMPOutput::Offline, TMPOutput::Automatic}) {
    for (const std::string& name : {dir.File("Midi/kknc_gm.mid"), text, truncated, dir.File("Midi"), std::string()}) {
      SCOPED_TRACE(name);
      TMediaPlayer p;
      p.SetOutput(output);
      p.SetFileName(name);
      EXPECT_EQ(p.FileName(), name);
      EXPECT_FALSE(p.Open());
      EXPECT_EQ(p.Mode(), TMPModes::NotReady);
      EXPECT_FALSE(p.Play());
      EXPECT_EQ(p.Mode(), TMPModes::NotReady);
      p.Stop();
      p.Close();
      EXPECT_EQ(TMediaPlayer::OpenCount(), 0);
    }
  }
}

TEST(MediaPlayer, SilentPlayerKeepsTheModesOnItsClock) {
  MusicDir dir;
  const std::string file = dir.Write("Midi/piece.mid", ShortPiece(8, 120));  // 4 seconds
  double now = 1000.0;
  TMediaPlayer p;
  p.SetOutput(TMPOutput::Silent);
  p.SetClock([&] { return now; });
  EXPECT_EQ(p.Mode(), TMPModes::NotReady);
  TimerTick(p);  // before the first game the tick does nothing
  EXPECT_EQ(p.Mode(), TMPModes::NotReady);

  p.SetFileName(file);
  ASSERT_TRUE(p.Open());
  EXPECT_FALSE(p.Audible());
  EXPECT_DOUBLE_EQ(p.Length(), 4.0);
  EXPECT_EQ(p.Mode(), TMPModes::Open);
  EXPECT_EQ(TMediaPlayer::OpenCount(), 1);

  ASSERT_TRUE(p.Play());
  now += 3.99;
  EXPECT_EQ(p.Mode(), TMPModes::Playing);
  now += 0.01;
  EXPECT_EQ(p.Mode(), TMPModes::Stopped);  // the end of the piece
  EXPECT_TRUE(p.Play());                   // again from the beginning: four more seconds
  now += 3.9;
  EXPECT_EQ(p.Mode(), TMPModes::Playing);
  now += 1.0;
  EXPECT_EQ(p.Mode(), TMPModes::Stopped);

  // Stop in the middle, then Play goes on from there.
  p.Play();
  now += 1.0;
  p.Stop();
  EXPECT_EQ(p.Mode(), TMPModes::Stopped);
  now += 100.0;
  EXPECT_EQ(p.Mode(), TMPModes::Stopped);
  p.Play();
  now += 2.9;
  EXPECT_EQ(p.Mode(), TMPModes::Playing);
  now += 0.2;
  EXPECT_EQ(p.Mode(), TMPModes::Stopped);

  p.Close();
  EXPECT_EQ(p.Mode(), TMPModes::NotReady);
  EXPECT_EQ(TMediaPlayer::OpenCount(), 0);
  EXPECT_FALSE(p.Play());
  p.Close();  // twice is harmless
  EXPECT_EQ(TMediaPlayer::OpenCount(), 0);
}

// Over ten minutes of game time with a tick every second, the piece plays again and again
// and is never silent for a whole second between its passes.
TEST(MediaPlayer, TimerTickRestartsTheEndedPieceWithinASecond) {
  MusicDir dir;
  const std::string file = dir.Write("Midi/piece.mid", ShortPiece(7, 100));  // 4.2 seconds
  double now = 0.0;
  TMediaPlayer p;
  p.SetOutput(TMPOutput::Silent);
  p.SetClock([&] { return now; });
  p.SetFileName(file);
  ASSERT_TRUE(p.Open());
  ASSERT_TRUE(p.Play());
  int starts = 1;
  double stoppedAt = -1.0;
  for (int tick = 1; tick <= 600; ++tick) {
    for (int ms = 0; ms < 1000; ms += 50) {
      now = tick - 1 + ms / 1000.0;
      if (p.Mode() == TMPModes::Stopped && stoppedAt < 0) stoppedAt = now;
    }
    now = tick;
    const bool wasStopped = p.Mode() == TMPModes::Stopped;
    TimerTick(p);
    if (wasStopped) {
      ++starts;
      ASSERT_GE(stoppedAt, 0.0);
      EXPECT_LE(now - stoppedAt, 1.0);
      stoppedAt = -1.0;
    }
    EXPECT_EQ(p.Mode(), TMPModes::Playing);
  }
  // 600 s of passes of 4.2 s each, each followed by a wait for the next whole second.
  EXPECT_EQ(starts, 121);
}

TEST(MediaPlayer, OpeningAgainRestartsWithOnlyOnePlayerOpen) {
  MusicDir dir;
  const std::string file = dir.Write("Midi/piece.mid", ShortPiece(8, 120));
  double now = 0.0;
  TMediaPlayer p;
  p.SetOutput(TMPOutput::Silent);
  p.SetClock([&] { return now; });
  p.SetFileName(file);
  for (int game = 0; game < 3; ++game) {
    // What a new game or a load does: stop the music if it plays, then open and play.
    if (p.Mode() == TMPModes::Playing) {
      p.Stop();
      p.Close();
    }
    ASSERT_TRUE(p.Open());
    ASSERT_TRUE(p.Play());
    EXPECT_EQ(TMediaPlayer::OpenCount(), 1);
    now += 3.5;  // from the beginning: half a second left
    EXPECT_EQ(p.Mode(), TMPModes::Playing);
    now += 0.6;
    EXPECT_EQ(p.Mode(), TMPModes::Stopped);
    now += 1.0;  // the ended piece stays open: the next game opens over it
  }
  p.Close();
  EXPECT_EQ(TMediaPlayer::OpenCount(), 0);
}

TEST(MediaPlayer, WindowsStylePathNamesTheSameFile) {
  MusicDir dir;
  dir.Write("Midi/piece.mid", ShortPiece(2, 120));
  TMediaPlayer p;
  p.SetOutput(TMPOutput::Silent);
  p.SetFileName(dir.File("") + "Midi\\piece.mid");
  EXPECT_TRUE(p.Open());
}

// Sound of a block of interleaved stereo: root mean square.
double Rms(const std::vector<float>& s) {
  double sum = 0.0;
  for (float v : s) sum += static_cast<double>(v) * v;
  return s.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(s.size()));
}

// Renders in blocks of 10 ms until the player leaves Playing; the seconds that took.
double RenderUntilStopped(TMediaPlayer& p, double limit, double* loudest) {
  constexpr std::size_t kFrames = 441;
  std::vector<float> block(2 * kFrames);
  double seconds = 0.0;
  while (p.Mode() == TMPModes::Playing && seconds < limit) {
    EXPECT_EQ(p.Render(block.data(), kFrames), kFrames);
    seconds += kFrames / 44100.0;
    if (loudest) *loudest = std::max(*loudest, Rms(block));
  }
  return seconds;
}

TEST(MediaPlayer, OfflineSynthesizerFollowsThePieceThroughItsModes) {
  MusicDir dir;
  const std::string file = dir.Write("Midi/piece.mid", ShortPiece(4, 120));  // 2 seconds
  TMediaPlayer p;
  p.SetOutput(TMPOutput::Offline);
  p.SetFileName(file);
  ASSERT_TRUE(p.Open());
  ASSERT_TRUE(p.Audible()) << "no SoundFont: run scripts/deps.sh";
  std::vector<float> block(2 * 441);
  EXPECT_EQ(p.Mode(), TMPModes::Open);
  p.Render(block.data(), 441);
  EXPECT_EQ(p.Mode(), TMPModes::Open);  // opened, not started

  ASSERT_TRUE(p.Play());
  double loudest = 0.0;
  EXPECT_NEAR(RenderUntilStopped(p, 10.0, &loudest), 2.0, 0.03);
  EXPECT_GT(loudest, 0.01);
  EXPECT_EQ(p.Mode(), TMPModes::Stopped);

  // Play after the end starts again at the beginning: the whole piece once more.
  ASSERT_TRUE(p.Play());
  EXPECT_EQ(p.Mode(), TMPModes::Playing);
  EXPECT_NEAR(RenderUntilStopped(p, 10.0, nullptr), 2.0, 0.03);

  // Stop in the middle silences the synthesizer; Play goes on for the rest.
  ASSERT_TRUE(p.Play());
  EXPECT_NEAR(RenderUntilStopped(p, 0.5, nullptr), 0.5, 0.011);
  p.Stop();
  EXPECT_EQ(p.Mode(), TMPModes::Stopped);
  std::vector<float> quiet(2 * 22050);
  p.Render(quiet.data(), 22050);
  p.Render(quiet.data(), 22050);
  EXPECT_LT(Rms(quiet), 0.002);
  EXPECT_EQ(p.Mode(), TMPModes::Stopped);
  ASSERT_TRUE(p.Play());
  EXPECT_NEAR(RenderUntilStopped(p, 10.0, nullptr), 1.5, 0.03);

  p.Close();
  EXPECT_EQ(p.Mode(), TMPModes::NotReady);
  EXPECT_EQ(p.Render(block.data(), 441), 0u);
}

// A device whose own thread drives the synthesizer: FluidSynth's file driver stands in for a
// sound card and plays in real time. A piece of 0.4 s ends by itself, the tick starts it
// again, and Stop and Close end the device's thread.
TEST(MediaPlayer, DeviceThreadPlaysEndsAndRestarts) {
  MusicDir dir;
  const std::string file = dir.Write("Midi/piece.mid", ShortPiece(1, 150));
  // The driver writes its sound into the working folder: a scratch one, put back afterwards.
  struct Setting {
    std::filesystem::path before = std::filesystem::current_path();
    ~Setting() {
      ::unsetenv("MILGANT_AUDIO_DRIVER");
      std::filesystem::current_path(before);
    }
  } setting;
  std::filesystem::current_path(dir.File(""));
  ::setenv("MILGANT_AUDIO_DRIVER", "file", 1);
  ::unsetenv("MILGANT_MUTE");
  TMediaPlayer p;
  p.SetFileName(file);
  ASSERT_TRUE(p.Open());
  ASSERT_TRUE(p.Audible());
  const auto waitForStop = [&] {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (p.Mode() == TMPModes::Playing && std::chrono::steady_clock::now() < giveUp)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return p.Mode();
  };
  ASSERT_TRUE(p.Play());
  EXPECT_EQ(p.Mode(), TMPModes::Playing);
  EXPECT_EQ(waitForStop(), TMPModes::Stopped);
  TimerTick(p);
  EXPECT_EQ(p.Mode(), TMPModes::Playing);
  EXPECT_EQ(waitForStop(), TMPModes::Stopped);
  TimerTick(p);
  p.Stop();
  EXPECT_EQ(p.Mode(), TMPModes::Stopped);
  p.Close();
  EXPECT_EQ(p.Mode(), TMPModes::NotReady);
}

// On whatever machine runs the tests, with or without a sound device, the game's own setting
// opens and plays; muted, it makes no sound at all.
TEST(MediaPlayer, AutomaticOutputNeverFailsAndCanBeMuted) {
  MusicDir dir;
  const std::string file = dir.Write("Midi/piece.mid", ShortPiece(2, 120));
  const char* before = std::getenv("MILGANT_MUTE");
  const std::string saved = before ? before : "";
  for (const char* mute : {"1", "0"}) {
    SCOPED_TRACE(mute);
    ::setenv("MILGANT_MUTE", mute, 1);
    TMediaPlayer p;
    p.SetFileName(file);
    ASSERT_TRUE(p.Open());
    ASSERT_TRUE(p.Play());
    EXPECT_EQ(p.Mode(), TMPModes::Playing);
    if (std::string(mute) == "1") {
      EXPECT_FALSE(p.Audible());
    }
    p.Stop();
    EXPECT_EQ(p.Mode(), TMPModes::Stopped);
    p.Close();
    EXPECT_EQ(p.Mode(), TMPModes::NotReady);
  }
  if (before)
    ::setenv("MILGANT_MUTE", saved.c_str(), 1);
  else
    ::unsetenv("MILGANT_MUTE");
}

}  // namespace
}  // namespace milgant
