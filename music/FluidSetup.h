// Inside the music library: how the game sets up one FluidSynth synthesizer.
#pragma once

#include <fluidsynth.h>

namespace milgant::music_internal {

// The synthesizer's own messages stay quiet: the game has no log, and a machine without
// sound is no error.
void QuietSynthLog();
// Settings for one synthesizer: sample rate, a gain that keeps the piece below clipping, and
// no reset at the end of a piece, so its last notes ring out into the restart.
void ConfigureSettings(fluid_settings_t* settings, int sampleRate);

}  // namespace milgant::music_internal
