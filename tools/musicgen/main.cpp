// milgant-musicgen: writes the game's music and checks it.
//   milgant-musicgen write data/Midi/kknc_gm.mid      the piece as a standard MIDI file
//   milgant-musicgen --check data/Midi/kknc_gm.mid    exit 0 when the file is what we write
//   milgant-musicgen render IN.mid OUT.wav [LOOPS]    plays a MIDI file into a WAV file
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "music/MidiFile.h"
#include "music/Synth.h"
#include "tools/musicgen/Piece.h"

namespace {

using namespace milgant;

int Usage() {
  std::fprintf(stderr,
               "usage: milgant-musicgen write OUT.mid\n"
               "       milgant-musicgen --check FILE.mid\n"
               "       milgant-musicgen render IN.mid OUT.wav [LOOPS]\n");
  return 2;
}

int Write(const std::string& path) {
  const std::vector<std::uint8_t> bytes = musicgen::ComposePiece();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "%s: cannot write\n", path.c_str());
    return 1;
  }
  const MidiInfo info = ReadMidiInfo(bytes);
  std::printf("%s: %zu bytes, %d tracks, %d notes, %.1f s\n", path.c_str(), bytes.size(), info.tracks,
              info.notes, info.seconds);
  return 0;
}

int Check(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "%s: missing\n", path.c_str());
    return 1;
  }
  const std::vector<std::uint8_t> shipped((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::vector<std::uint8_t> made = musicgen::ComposePiece();
  if (shipped != made) {
    std::size_t i = 0;
    while (i < shipped.size() && i < made.size() && shipped[i] == made[i]) ++i;
    std::fprintf(stderr,
                 "%s differs from the generator from byte %zu on (%zu bytes shipped, %zu made); "
                 "rebuild it with the regenerate-music target\n",
                 path.c_str(), i, shipped.size(), made.size());
    return 1;
  }
  return 0;
}

int Render(const std::string& midi, const std::string& wav, int loops) {
  const RenderResult r = RenderMidiToWav(midi, wav, loops);
  if (!r.ok) {
    std::fprintf(stderr, "%s\n", r.error.c_str());
    return 1;
  }
  std::printf("%s: %.2f s through %s\n", wav.c_str(), r.seconds, r.soundFont.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "write") return Write(args[1]);
  if (args.size() == 2 && args[0] == "--check") return Check(args[1]);
  if ((args.size() == 3 || args.size() == 4) && args[0] == "render") {
    const int loops = args.size() == 4 ? std::atoi(args[3].c_str()) : 1;
    if (loops < 1 || loops > 20) return Usage();
    return Render(args[1], args[2], loops);
  }
  return Usage();
}
