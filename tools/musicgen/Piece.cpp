#include "tools/musicgen/Piece.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/musicgen/MidiWriter.h"

namespace milgant::musicgen {
namespace {

constexpr long kQ = kDivision;
constexpr long kBar = kQ * kBeatsPerBar;
constexpr long kStep = kQ / 4;  // the drum grid: sixteenths

// Pitches (middle C = 60). The yo mode on D: D E G A B; the in mode on D: D Eb G A Bb.
enum : int {
  R = 0,  // a rest in a melody
  A2 = 45, D3 = 50, E3 = 52, G3 = 55, A3 = 57, B3 = 59,
  D4 = 62, Eb4 = 63, E4 = 64, G4 = 67, A4 = 69, Bb4 = 70, B4 = 71,
  D5 = 74, Eb5 = 75, E5 = 76, G5 = 79, A5 = 81, B5 = 83,
  D2 = 38,
};

// General MIDI programs (0-based) and percussion keys.
enum : int {
  kShakuhachi = 77, kKoto = 107, kShamisen = 106, kTaiko = 116, kReedOrgan = 20, kStrings = 48,
  kKickKey = 35, kLowFloorTom = 41, kHighFloorTom = 43, kHighWood = 76, kLowWood = 77,
  kTaikoDon = 43, kTaikoTen = 50,  // keys on the taiko program: the big stroke and a smaller drum
};

long At(int bar, double beat) { return (bar - 1) * kBar + std::lround(beat * kQ); }

// A fixed little generator for the players' unevenness, so that the file never changes.
struct Jitter {
  std::uint32_t state = 20261208u;
  int Next(int spread) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 16) % static_cast<std::uint32_t>(2 * spread + 1)) - spread;
  }
};

struct Note {
  double beats;
  int key;  // R for a rest
};

// A breathed line: notes slightly detached, a scoop up into the first note of a phrase and
// into upward leaps, vibrato that grows late in the long notes.
void Breathed(MidiTrack& t, int bar, double beat, const std::vector<Note>& line, int velocity, Jitter& j) {
  long tick = At(bar, beat);
  int previous = R;
  for (const Note& n : line) {
    const long length = std::lround(n.beats * kQ);
    if (n.key != R) {
      const long sounding = length - std::min<long>(kQ / 8, length / 6);
      t.Control(tick, 1, 0);
      if (previous == R || n.key - previous >= 3) {
        for (int s = 0; s < 4; ++s) t.Bend(tick + s * 15, -1600 + s * 400);
        t.Bend(tick + 60, 0);
      }
      t.Note(tick, sounding, n.key, velocity + j.Next(4));
      if (n.beats >= 1.5) {
        const long from = tick + length / 2;
        for (int s = 0; s < 4; ++s) t.Control(from + s * (length / 10), 1, 20 + 12 * s);
      }
    }
    previous = n.key;
    tick += length;
  }
}

// A plucked line (koto): long notes are plucked again, softer, on every beat.
void Plucked(MidiTrack& t, int bar, double beat, const std::vector<Note>& line, int velocity, Jitter& j) {
  long tick = At(bar, beat);
  for (const Note& n : line) {
    const long length = std::lround(n.beats * kQ);
    if (n.key != R) {
      t.Note(tick, length, n.key, velocity + j.Next(5));
      for (long again = kQ; again < length; again += kQ)
        t.Note(tick + again, length - again, n.key, velocity * 2 / 3 + j.Next(4));
    }
    tick += length;
  }
}

// One bar of a drum on the sixteenth grid: X accent, x stroke, o soft, - ghost, . silence.
void Drum(MidiTrack& t, int bar, int key, const std::string& grid, Jitter& j) {
  for (std::size_t i = 0; i < grid.size() && i < 16; ++i) {
    int v = 0;
    switch (grid[i]) {
      case 'X': v = 116; break;
      case 'x': v = 92; break;
      case 'o': v = 68; break;
      case '-': v = 46; break;
      default: continue;
    }
    t.Note(At(bar, 0) + static_cast<long>(i) * kStep, kStep, key, v + j.Next(4));
  }
}

// The koto's running eighths over a root: root, fifth, octave, fifth, ninth, fifth, octave,
// fifth (all inside the yo mode for the roots D, G and A).
void KotoBar(MidiTrack& t, int bar, int root, int velocity, Jitter& j) {
  static const int steps[8] = {0, 7, 12, 7, 14, 7, 12, 7};
  for (int i = 0; i < 8; ++i) {
    const int accent = (i == 0) ? 14 : (i == 4 ? 6 : 0);
    t.Note(At(bar, i * 0.5), kQ / 2, root + steps[i], velocity + accent + j.Next(5));
  }
}

// The shamisen's driving figure: root, root, fifth, root, octave, rest, fifth, root.
void ShamisenBar(MidiTrack& t, int bar, int root, int velocity, Jitter& j) {
  static const int steps[8] = {0, 0, 7, 0, 12, -1, 7, 0};
  for (int i = 0; i < 8; ++i) {
    if (steps[i] < 0) continue;
    t.Note(At(bar, i * 0.5), kQ / 2 - 30, root + steps[i], velocity + (i == 0 ? 15 : 0) + j.Next(5));
  }
}

// A held chord that swells and settles over its bars through the expression controller.
void Held(MidiTrack& t, int bar, int bars, const std::vector<int>& keys, int velocity, int low, int high) {
  const long from = At(bar, 0);
  const long length = bars * kBar;
  for (int key : keys) t.Note(from, length, key, velocity);
  const int beats = bars * kBeatsPerBar;
  for (int b = 0; b < beats; ++b) {
    const double phase = static_cast<double>(b) / beats;  // rises to the middle, then eases
    const double shape = std::sin(phase * 3.14159265358979);
    t.Control(from + b * kQ, 11, low + static_cast<int>(std::lround((high - low) * shape)));
  }
}

// The koto's sweep up the yo mode in the last beat before a new section.
void Sweep(MidiTrack& t, int bar, int velocity) {
  static const int keys[] = {D4, E4, G4, A4, B4, D5, E5, G5};
  const long start = At(bar, 3);
  for (int i = 0; i < 8; ++i) t.Note(start + i * (kQ / 8), kQ - i * (kQ / 8), keys[i], velocity + 3 * i);
}

void SetUp(MidiTrack& t, int program, int volume, int pan, int reverb) {
  if (program >= 0) t.Program(0, program);
  t.Control(0, 7, volume);
  t.Control(0, 10, pan);
  t.Control(0, 91, reverb);
  t.Control(0, 93, 0);
  t.Control(0, 11, 110);
  t.Control(0, 1, 0);
  t.Bend(0, 0);
}

}  // namespace

std::vector<std::uint8_t> ComposePiece() {
  Jitter j;
  MidiTrack conductor("kknc: march of the two armies", 0);
  conductor.Tempo(0, kMicrosecondsPerQuarter);
  conductor.Metre(0, 4, 2);
  conductor.Text(0, 0x01, "Yo mode on D, in mode in the middle; loops from the end to the start.");
  MidiTrack flute("shakuhachi", 0), koto("koto", 1), sho("reed drone", 2), strings("low strings", 3),
      taiko("taiko", 4), shamisen("shamisen", 5), kit("drums", 9);
  SetUp(flute, kShakuhachi, 112, 70, 72);
  SetUp(koto, kKoto, 110, 44, 52);
  SetUp(sho, kReedOrgan, 90, 64, 80);
  SetUp(strings, kStrings, 50, 64, 70);
  SetUp(taiko, kTaiko, 100, 60, 45);
  SetUp(shamisen, kShamisen, 120, 88, 36);
  SetUp(kit, -1, 100, 64, 40);

  // Sections: intro 1-2, theme 3-10, theme higher 11-18, in mode 19-26, climax 27-34, call 35-38.
  // The low strings hold D and A throughout, swelling with each four-bar phrase.
  for (int bar = 1; bar <= 37; bar += 4) {
    const int bars = bar == 37 ? 2 : 4;
    const bool soft = bar >= 19 && bar < 27;
    Held(strings, bar, bars, {D2, A2}, soft ? 64 : 76, soft ? 60 : 76, soft ? 92 : 112);
  }
  // The reed drone: open fifths and seconds like a mouth organ, from the second theme on.
  Held(sho, 11, 4, {D5, E5, A5}, 52, 50, 96);
  Held(sho, 15, 4, {D5, A5, B5}, 52, 50, 96);
  Held(sho, 19, 4, {D5, G5, A5}, 44, 40, 80);
  Held(sho, 23, 4, {Eb5, G5, A5}, 44, 40, 84);
  Held(sho, 27, 4, {D5, E5, A5, B5}, 56, 60, 104);
  Held(sho, 31, 4, {D5, E5, A5}, 56, 60, 104);
  Held(sho, 35, 4, {D5, A5}, 44, 40, 78);

  // Shakuhachi: the theme, then higher, then its answer in the in mode, the climax, and the
  // opening figure once more as an echo before the drums call the piece back to its start.
  Breathed(flute, 3, 0, {{2, A4}, {1, B4}, {1, A4},
                         {1.5, G4}, {0.5, E4}, {2, D4},
                         {1, E4}, {1, G4}, {1, A4}, {1, D5},
                         {3, B4}, {1, R},
                         {2, D5}, {1, E5}, {1, D5},
                         {1.5, B4}, {0.5, A4}, {2, G4},
                         {1, A4}, {0.5, G4}, {0.5, E4}, {1, D4}, {1, E4},
                         {3, D4}, {1, R}}, 92, j);
  Breathed(flute, 11, 0, {{2, D5}, {1, E5}, {1, G5},
                          {1.5, E5}, {0.5, D5}, {2, B4},
                          {1, D5}, {1, E5}, {1, G5}, {1, A5},
                          {3, B5}, {1, R},
                          {2, A5}, {0.5, G5}, {0.5, A5}, {1, B5},
                          {1.5, G5}, {0.5, E5}, {2, D5},
                          {1, E5}, {0.5, D5}, {0.5, B4}, {1, A4}, {1, B4},
                          {3, D5}, {1, R}}, 96, j);
  Breathed(flute, 23, 0, {{2, D5}, {1, Eb5}, {1, D5},
                          {2, Bb4}, {2, A4},
                          {1, G4}, {1, A4}, {0.5, Bb4}, {0.5, A4}, {1, G4},
                          {4, A4}}, 92, j);
  Breathed(flute, 27, 0, {{1, D5}, {1, E5}, {1, G5}, {1, A5},
                          {2, B5}, {1, A5}, {1, G5},
                          {1.5, A5}, {0.5, G5}, {1, E5}, {1, D5},
                          {3, E5}, {1, R},
                          {2, G5}, {1, A5}, {0.5, G5}, {0.5, E5},
                          {1.5, D5}, {0.5, E5}, {2, G5},
                          {1, A5}, {0.5, G5}, {0.5, E5}, {1, D5}, {1, B4},
                          {3, D5}, {1, R}}, 104, j);
  Breathed(flute, 35, 0, {{2, A4}, {1, B4}, {1, A4},
                          {1.5, G4}, {0.5, E4}, {2, D4}}, 80, j);

  // Koto: running eighths under the themes; the lead in the in mode; sweeps into new sections.
  static const int roots[4] = {D3, D3, G3, A3};
  for (int bar = 2; bar <= 18; ++bar) KotoBar(koto, bar, roots[(bar - 3 + 4) % 4], bar < 11 ? 68 : 74, j);
  Sweep(koto, 18, 60);
  Plucked(koto, 19, 0, {{1, A4}, {1, Bb4}, {0.5, A4}, {0.5, G4}, {1, Eb4},
                        {2, D4}, {1, R}, {0.5, G4}, {0.5, A4},
                        {1, Bb4}, {1, D5}, {1, Eb5}, {1, D5},
                        {3, A4}, {1, R}}, 100, j);
  for (int bar = 23; bar <= 26; ++bar)
    Plucked(koto, bar, 0, {{1, D4}, {1, A4}, {1, bar % 2 ? Eb5 : D5}, {1, A4}}, 62, j);
  Sweep(koto, 26, 66);
  for (int bar = 27; bar <= 34; ++bar) KotoBar(koto, bar, roots[(bar - 27) % 4], 70, j);
  for (int bar = 35; bar <= 36; ++bar) KotoBar(koto, bar, roots[(bar - 35) % 4], 52, j);
  Plucked(koto, 37, 0, {{2, D4}, {2, A4}}, 56, j);

  // Shamisen drives the climax only.
  for (int bar = 27; bar <= 34; ++bar) ShamisenBar(shamisen, bar, roots[(bar - 27) % 4], 84, j);

  // Drums. The big taiko on its own channel, toms and wood blocks on the kit.
  auto bar4 = [&](int bar, const char* don, const char* tom, const char* ka, const char* ten) {
    Drum(taiko, bar, kTaikoDon, don, j);
    Drum(kit, bar, kLowFloorTom, tom, j);
    Drum(kit, bar, kLowWood, ka, j);
    Drum(kit, bar, kHighWood, ten, j);
  };
  // The downbeat of the piece: the big drum with the bass drum under it.
  Drum(kit, 1, kKickKey, "X...............", j);
  bar4(1, "X.......X.......", "...o..o....o.o..", "............x...", "................");
  bar4(2, "X.....x.X.....x.", "...o..o....o.o..", "....x.......x...", "................");
  for (int bar = 3; bar <= 18; ++bar) {
    const bool phraseEnd = (bar - 2) % 4 == 0;
    const bool second = bar >= 11;
    if (phraseEnd)
      bar4(bar, "X.....x.X...x.x.", "...o..o..o.oxoxx", "....x...........", second ? "..o...o........." : "................");
    else
      bar4(bar, "X.....x.X.......", "...o..o....o.o..", "....x.......x...", second ? "..o...o...o...o." : "................");
  }
  Drum(taiko, 18, kTaikoTen, "........x.x.x.x.", j);
  // The in mode: the drums draw back, then gather for the climax.
  for (int bar = 19; bar <= 25; ++bar) {
    Drum(taiko, bar, kTaikoDon, bar % 2 ? "o..............." : "........-.......", j);
    Drum(kit, bar, kLowWood, "............o...", j);
    if (bar >= 23) Drum(kit, bar, kLowFloorTom, "........-...-...", j);
  }
  bar4(26, "x...x...x.x.xxXX", "........o.o.xxxx", "................", "................");
  for (int bar = 27; bar <= 34; ++bar) {
    const bool phraseEnd = (bar - 26) % 4 == 0;
    if (phraseEnd) {
      bar4(bar, "X.....x.X.x.X.XX", "..xo..o.x.xxXxXX", "....x...........", "..o...o.........");
      Drum(kit, bar, kHighFloorTom, "...........o.o.o", j);
    } else {
      bar4(bar, "X.....x.X.....x.", "..xo..o...xo.ox.", "....x.......x...", "..o...o...o...o.");
      Drum(kit, bar, kHighFloorTom, "...........o...o", j);
    }
  }
  // The call: space opens, and three wooden strokes ask for the big drum that starts the piece.
  bar4(35, "X.....x.X.......", "...o..o....o.o..", "....x.......x...", "................");
  bar4(36, "X.......x.......", "................", "............o...", "................");
  bar4(37, "X.......X.......", "........o.o.o...", "................", "................");
  bar4(38, "X.....X.........", "................", "........x...x.x.", "................");

  const long end = At(kBars + 1, 0);
  return WriteMidi({conductor, flute, koto, sho, strings, taiko, shamisen, kit}, kDivision, end);
}

}  // namespace milgant::musicgen
