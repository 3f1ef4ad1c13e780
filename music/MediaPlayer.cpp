#include "music/MediaPlayer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "music/FluidSetup.h"
#include "music/MidiFile.h"
#include "music/Synth.h"

namespace milgant {
namespace {

constexpr int kSampleRate = 44100;
std::atomic<int> openPlayers{0};

double SteadySeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

// The audio back ends tried in turn; the first that opens a device plays. A machine without
// any (a server, CI) ends with none, and the music goes on silently. The kernel's own sound
// interfaces are only tried where their device files exist, so that a machine without a
// sound card is not told so on its terminal.
bool HasDevice(const char* folder, const char* prefix) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error))
    if (entry.path().filename().string().rfind(prefix, 0) == 0) return true;
  return false;
}

std::vector<std::string> AudioDrivers() {
  std::vector<std::string> drivers;
  if (const char* own = std::getenv("MILGANT_AUDIO_DRIVER"); own && *own) drivers.emplace_back(own);
  drivers.insert(drivers.end(), {"pulseaudio", "pipewire"});
  if (HasDevice("/dev/snd", "pcm")) drivers.insert(drivers.end(), {"alsa", "sdl2"});
  if (HasDevice("/dev", "dsp")) drivers.emplace_back("oss");
  return drivers;
}

}  // namespace

struct TMediaPlayer::Impl {
  std::string fileName;
  TMPOutput output = TMPOutput::Automatic;
  std::function<double()> clock = SteadySeconds;

  TMPModes mode = TMPModes::NotReady;
  std::vector<std::uint8_t> bytes;
  MidiInfo info;
  bool atEnd = false;  // stopped because the piece ran out, not by Stop

  // The synthesizer, when one makes the sound.
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  fluid_player_t* player = nullptr;
  fluid_audio_driver_t* driver = nullptr;
  // After a restart the synthesizer's position still shows the old end until its first
  // block; the end counts only once the position has been seen before it.
  bool positionSeen = false;

  // The silent player's position: started at `startedAt` on the clock, or paused at `position`.
  double startedAt = 0.0;
  double position = 0.0;

  bool OpenSynth(bool withDevice) {
    std::string font = FindSoundFont();
    if (font.empty()) return false;
    music_internal::QuietSynthLog();
    settings = new_fluid_settings();
    music_internal::ConfigureSettings(settings, kSampleRate);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    synth = new_fluid_synth(settings);
    if (!synth || fluid_synth_sfload(synth, font.c_str(), 1) == FLUID_FAILED) {
      CloseSynth();
      return false;
    }
    player = new_fluid_player(synth);
    if (!player || fluid_player_add_mem(player, bytes.data(), bytes.size()) != FLUID_OK) {
      CloseSynth();
      return false;
    }
    if (withDevice) {
      for (const std::string& name : AudioDrivers()) {
        if (fluid_settings_setstr(settings, "audio.driver", name.c_str()) != FLUID_OK) continue;
        driver = new_fluid_audio_driver(settings, synth);
        if (driver) break;
      }
      if (!driver) {
        CloseSynth();
        return false;
      }
    }
    return true;
  }

  void CloseSynth() {
    // The device first: its thread is the one that drives the player.
    if (driver) delete_fluid_audio_driver(driver);
    if (player) delete_fluid_player(player);
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
    driver = nullptr;
    player = nullptr;
    synth = nullptr;
    settings = nullptr;
  }

  // Notices the end of the piece while it plays.
  void Update() {
    if (mode != TMPModes::Playing) return;
    bool ended;
    if (player) {
      // The length comes from our own reading of the file: asking the synthesizer would walk
      // its tracks while the device's thread may be loading them anew.
      const long total = info.totalTicks;
      const long tick = fluid_player_get_current_tick(player);
      if (total > 0 && tick < total) positionSeen = true;
      // The synthesizer lets the last notes ring out before it calls itself done; the piece
      // has ended for the music as soon as its last tick has passed.
      ended = fluid_player_get_status(player) == FLUID_PLAYER_DONE ||
              (positionSeen && total > 0 && tick >= total);
    } else {
      ended = clock() - startedAt >= info.seconds;
    }
    if (ended) {
      mode = TMPModes::Stopped;
      atEnd = true;
      position = info.seconds;
    }
  }
};

TMediaPlayer::TMediaPlayer() : impl_(std::make_unique<Impl>()) {}
TMediaPlayer::~TMediaPlayer() { Close(); }

void TMediaPlayer::SetFileName(const std::string& fileName) { impl_->fileName = fileName; }
const std::string& TMediaPlayer::FileName() const { return impl_->fileName; }

bool TMediaPlayer::Open() {
  Close();
  Impl& m = *impl_;
  // A Windows-style "Midi\piece.mid" names the same file here.
  std::string path = m.fileName;
  std::replace(path.begin(), path.end(), '\\', '/');
  if (!ReadFileBytes(path, m.bytes)) return false;
  m.info = ReadMidiInfo(m.bytes);
  if (!m.info.ok) {
    m.bytes.clear();
    return false;
  }
  switch (m.output) {
    case TMPOutput::Automatic:
      if (!MusicMuted()) m.OpenSynth(true);
      break;
    case TMPOutput::Offline:
      m.OpenSynth(false);
      break;
    case TMPOutput::Silent:
      break;
  }
  m.mode = TMPModes::Open;
  m.atEnd = false;
  m.position = 0.0;
  m.positionSeen = false;
  ++openPlayers;
  return true;
}

bool TMediaPlayer::Play() {
  Impl& m = *impl_;
  if (m.mode == TMPModes::NotReady) return false;
  m.Update();
  if (m.mode == TMPModes::Playing) return true;
  if (m.player) {
    if (m.atEnd) {
      // Again from the beginning.
      fluid_player_stop(m.player);
      fluid_player_seek(m.player, 0);
      m.positionSeen = false;
    }
    if (fluid_player_play(m.player) != FLUID_OK) return false;
  } else {
    if (m.atEnd) m.position = 0.0;
    m.startedAt = m.clock() - m.position;
  }
  m.atEnd = false;
  m.mode = TMPModes::Playing;
  return true;
}

void TMediaPlayer::Stop() {
  Impl& m = *impl_;
  m.Update();
  if (m.mode != TMPModes::Playing) return;
  if (m.player) {
    fluid_player_stop(m.player);
  } else {
    m.position = std::min(m.clock() - m.startedAt, m.info.seconds);
  }
  m.mode = TMPModes::Stopped;
}

void TMediaPlayer::Close() {
  Impl& m = *impl_;
  if (m.mode == TMPModes::NotReady) return;
  m.CloseSynth();
  m.bytes.clear();
  m.mode = TMPModes::NotReady;
  --openPlayers;
}

TMPModes TMediaPlayer::Mode() {
  impl_->Update();
  return impl_->mode;
}

void TMediaPlayer::SetOutput(TMPOutput output) { impl_->output = output; }

void TMediaPlayer::SetClock(std::function<double()> seconds) {
  impl_->clock = seconds ? std::move(seconds) : std::function<double()>(SteadySeconds);
}

std::size_t TMediaPlayer::Render(float* stereo, std::size_t frames) {
  Impl& m = *impl_;
  if (m.mode == TMPModes::NotReady || !m.synth || m.driver) return 0;
  constexpr std::size_t kChunk = 4096;
  std::size_t done = 0;
  while (done < frames) {
    int n = static_cast<int>(std::min(kChunk, frames - done));
    float* out = stereo + 2 * done;
    if (fluid_synth_write_float(m.synth, n, out, 0, 2, out, 1, 2) != FLUID_OK) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

bool TMediaPlayer::Audible() const { return impl_->synth != nullptr; }

double TMediaPlayer::Length() const {
  return impl_->mode == TMPModes::NotReady ? 0.0 : impl_->info.seconds;
}

int TMediaPlayer::OpenCount() { return openPlayers.load(); }

}  // namespace milgant
