#include "music/Synth.h"

#include <cstdlib>
#include <memory>

#include "music/FluidSetup.h"
#include "music/MidiFile.h"

namespace milgant {
namespace music_internal {

void QuietSynthLog() {
  for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
    fluid_set_log_function(level, nullptr, nullptr);
}

void ConfigureSettings(fluid_settings_t* settings, int sampleRate) {
  fluid_settings_setnum(settings, "synth.sample-rate", sampleRate);
  fluid_settings_setnum(settings, "synth.gain", 0.7);
  fluid_settings_setint(settings, "player.reset-synth", 0);
  fluid_settings_setint(settings, "synth.cpu-cores", 1);
}

}  // namespace music_internal

std::vector<std::string> SoundFontCandidates() {
  std::vector<std::string> list;
  if (const char* own = std::getenv("MILGANT_SOUNDFONT"); own && *own) list.emplace_back(own);
  for (const char* path : {
           "/usr/share/sounds/sf2/default-GM.sf2",
           "/usr/share/sounds/sf3/default-GM.sf3",
           "/usr/share/sounds/sf2/FluidR3_GM.sf2",
           "/usr/share/sounds/sf3/MuseScore_General.sf3",
           "/usr/share/sounds/sf2/TimGM6mb.sf2",
           "/usr/share/sounds/sf3/FluidR3Mono_GM.sf3",
           "/usr/share/sounds/sf2/FluidR3Mono_GM.sf2",
           "/usr/share/soundfonts/default.sf2",
       })
    list.emplace_back(path);
  return list;
}

std::string FindSoundFont() {
  music_internal::QuietSynthLog();
  for (const std::string& path : SoundFontCandidates())
    if (fluid_is_soundfont(path.c_str())) return path;
  return {};
}

bool MusicMuted() {
  const char* mute = std::getenv("MILGANT_MUTE");
  return mute && *mute && std::string(mute) != "0";
}

RenderResult RenderMidiToWav(const std::string& midiPath, const std::string& wavPath,
                             int loops, int sampleRate) {
  RenderResult result;
  MidiInfo info = ReadMidiInfoFile(midiPath);
  if (!info.ok) {
    result.error = midiPath + ": " + info.error;
    return result;
  }
  result.soundFont = FindSoundFont();
  if (result.soundFont.empty()) {
    result.error = "no General MIDI SoundFont found";
    return result;
  }
  music_internal::QuietSynthLog();
  struct Parts {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_player_t* player = nullptr;
    fluid_file_renderer_t* renderer = nullptr;
    ~Parts() {
      if (renderer) delete_fluid_file_renderer(renderer);
      if (player) delete_fluid_player(player);
      if (synth) delete_fluid_synth(synth);
      if (settings) delete_fluid_settings(settings);
    }
  } p;
  p.settings = new_fluid_settings();
  music_internal::ConfigureSettings(p.settings, sampleRate);
  fluid_settings_setstr(p.settings, "audio.file.name", wavPath.c_str());
  fluid_settings_setstr(p.settings, "audio.file.type", "wav");
  fluid_settings_setstr(p.settings, "audio.file.format", "s16");
  fluid_settings_setstr(p.settings, "player.timing-source", "sample");
  fluid_settings_setint(p.settings, "synth.lock-memory", 0);
  p.synth = new_fluid_synth(p.settings);
  if (!p.synth || fluid_synth_sfload(p.synth, result.soundFont.c_str(), 1) == FLUID_FAILED) {
    result.error = "cannot load " + result.soundFont;
    return result;
  }
  p.player = new_fluid_player(p.synth);
  if (!p.player || fluid_player_add(p.player, midiPath.c_str()) != FLUID_OK) {
    result.error = "the synthesizer cannot read " + midiPath;
    return result;
  }
  p.renderer = new_fluid_file_renderer(p.synth);
  if (!p.renderer) {
    result.error = "cannot write " + wavPath;
    return result;
  }
  int periodSize = 64;
  fluid_settings_getint(p.settings, "audio.period-size", &periodSize);
  // The passes follow each other inside the synthesizer, as seamless as the piece allows;
  // the last one stops at the piece's last tick.
  fluid_player_set_loop(p.player, loops < 1 ? 1 : loops);
  fluid_player_play(p.player);
  long blocks = 0;
  int wraps = 0;
  int lastTick = 0;
  while (fluid_player_get_status(p.player) == FLUID_PLAYER_PLAYING) {
    if (fluid_file_renderer_process_block(p.renderer) != FLUID_OK) {
      result.error = "cannot write " + wavPath;
      return result;
    }
    ++blocks;
    int tick = fluid_player_get_current_tick(p.player);
    if (tick < lastTick) ++wraps;
    lastTick = tick;
    int total = fluid_player_get_total_ticks(p.player);
    if (wraps >= loops - 1 && total > 0 && tick >= total) break;
  }
  result.seconds = static_cast<double>(blocks) * periodSize / sampleRate;
  result.ok = true;
  return result;
}

}  // namespace milgant
