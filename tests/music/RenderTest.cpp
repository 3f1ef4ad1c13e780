// The shipped piece played through the synthesizer into a sound file, as a player would hear
// it: it lasts as long as its notes say, is never silent for long, and never clips.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "MusicTestFiles.h"
#include "music/Synth.h"
#include "tools/musicgen/Piece.h"

namespace milgant {
namespace {

struct Wave {
  int channels = 0;
  int rate = 0;
  int bits = 0;
  std::vector<std::int16_t> samples;  // interleaved
  double Seconds() const { return channels && rate ? static_cast<double>(samples.size()) / channels / rate : 0.0; }
};

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | b.at(at + i);
  return v;
}

Wave ReadWave(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Wave w;
  if (b.size() < 12 || !std::equal(b.begin(), b.begin() + 4, "RIFF") || !std::equal(b.begin() + 8, b.begin() + 12, "WAVE"))
    return w;
  for (std::size_t at = 12; at + 8 <= b.size();) {
    const std::string id(b.begin() + at, b.begin() + at + 4);
    const std::size_t len = Le(b, at + 4, 4);
    const std::size_t body = at + 8;
    if (id == "fmt ") {
      w.channels = static_cast<int>(Le(b, body + 2, 2));
      w.rate = static_cast<int>(Le(b, body + 4, 4));
      w.bits = static_cast<int>(Le(b, body + 14, 2));
    } else if (id == "data") {
      const std::size_t end = std::min(b.size(), body + len);
      for (std::size_t i = body; i + 1 < end; i += 2)
        w.samples.push_back(static_cast<std::int16_t>(Le(b, i, 2)));
    }
    at = body + len + (len & 1);
  }
  return w;
}

// Loudness of a stretch of the wave, full scale = 1.
double Rms(const Wave& w, double from, double to) {
  const std::size_t a = static_cast<std::size_t>(from * w.rate) * w.channels;
  const std::size_t z = std::min(w.samples.size(), static_cast<std::size_t>(to * w.rate) * w.channels);
  double sum = 0.0;
  for (std::size_t i = a; i < z; ++i) sum += static_cast<double>(w.samples[i]) * w.samples[i];
  return z > a ? std::sqrt(sum / static_cast<double>(z - a)) / 32768.0 : 0.0;
}

TEST(MusicRender, ShippedPieceSoundsForItsWholeLength) {
  test::MusicDir dir;
  const std::string wav = dir.File("kknc_gm.wav");
  const RenderResult r = RenderMidiToWav(std::string(MILGANT_DATA_DIR) + "/Midi/kknc_gm.mid", wav);
  ASSERT_TRUE(r.ok) << r.error << " (scripts/deps.sh installs a SoundFont)";
  const Wave w = ReadWave(wav);
  ASSERT_EQ(w.channels, 2);
  ASSERT_EQ(w.rate, 44100);
  ASSERT_EQ(w.bits, 16);
  const double length = musicgen::PieceSeconds();
  EXPECT_NEAR(w.Seconds(), length, 0.01);
  EXPECT_NEAR(r.seconds, w.Seconds(), 0.01);

  // Loud enough to hear, with headroom: no sample at full scale.
  const double overall = Rms(w, 0.0, length);
  EXPECT_GT(overall, 0.02);
  int peak = 0;
  for (std::int16_t s : w.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  EXPECT_LT(peak, 32000);
  // No stretch of two seconds falls silent, the seam at the end included.
  for (double t = 0.0; t + 2.0 <= length; t += 1.0) {
    SCOPED_TRACE(t);
    EXPECT_GT(Rms(w, t, t + 2.0), overall / 8);
  }
  EXPECT_GT(Rms(w, length - 1.0, length), overall / 8);
}

TEST(MusicRender, RefusesWhatItCannotPlay) {
  test::MusicDir dir;
  const std::string text = dir.Write("Midi/text.mid", {'M', 'T', 'h', 'x', '\n'});
  EXPECT_FALSE(RenderMidiToWav(dir.File("Midi/missing.mid"), dir.File("a.wav")).ok);
  EXPECT_FALSE(RenderMidiToWav(text, dir.File("b.wav")).ok);
}

}  // namespace
}  // namespace milgant
