#include "tools/musicgen/MidiWriter.h"

#include <algorithm>
#include <stdexcept>

namespace milgant::musicgen {
namespace {

int Clamp7(int v) { return std::clamp(v, 0, 127); }

void PutBe(std::vector<std::uint8_t>& out, std::uint32_t v, int n) {
  for (int i = n - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutVlq(std::vector<std::uint8_t>& out, std::uint32_t v) {
  std::uint8_t buf[5];
  int n = 0;
  buf[n++] = v & 0x7F;
  while (v >>= 7) buf[n++] = static_cast<std::uint8_t>(0x80 | (v & 0x7F));
  while (n) out.push_back(buf[--n]);
}

}  // namespace

void MidiTrack::Add(long tick, int order, std::vector<std::uint8_t> bytes) {
  if (tick < 0) throw std::invalid_argument("event before the start in " + name_);
  events_.push_back({tick, order, seq_++, std::move(bytes)});
}

void MidiTrack::Program(long tick, int program) {
  Add(tick, 1, {static_cast<std::uint8_t>(0xC0 | channel_), static_cast<std::uint8_t>(Clamp7(program))});
}

void MidiTrack::Control(long tick, int controller, int value) {
  Add(tick, 1, {static_cast<std::uint8_t>(0xB0 | channel_), static_cast<std::uint8_t>(Clamp7(controller)),
                static_cast<std::uint8_t>(Clamp7(value))});
}

void MidiTrack::Bend(long tick, int value) {
  int v = std::clamp(value, -8192, 8191) + 8192;
  Add(tick, 1, {static_cast<std::uint8_t>(0xE0 | channel_), static_cast<std::uint8_t>(v & 0x7F),
                static_cast<std::uint8_t>(v >> 7)});
}

void MidiTrack::Note(long tick, long length, int key, int velocity) {
  if (length <= 0) throw std::invalid_argument("empty note in " + name_);
  const auto k = static_cast<std::uint8_t>(Clamp7(key));
  Add(tick, 2, {static_cast<std::uint8_t>(0x90 | channel_), k, static_cast<std::uint8_t>(std::clamp(velocity, 1, 127))});
  Add(tick + length, 0, {static_cast<std::uint8_t>(0x80 | channel_), k, 64});
}

void MidiTrack::Tempo(long tick, int us) {
  Add(tick, 1, {0xFF, 0x51, 3, static_cast<std::uint8_t>(us >> 16), static_cast<std::uint8_t>(us >> 8),
                static_cast<std::uint8_t>(us)});
}

void MidiTrack::Metre(long tick, int numerator, int denominatorPower) {
  Add(tick, 1, {0xFF, 0x58, 4, static_cast<std::uint8_t>(numerator), static_cast<std::uint8_t>(denominatorPower),
                24, 8});
}

void MidiTrack::Text(long tick, int type, const std::string& text) {
  std::vector<std::uint8_t> b{0xFF, static_cast<std::uint8_t>(type)};
  PutVlq(b, static_cast<std::uint32_t>(text.size()));
  b.insert(b.end(), text.begin(), text.end());
  Add(tick, 1, std::move(b));
}

std::vector<std::uint8_t> WriteMidi(const std::vector<MidiTrack>& tracks, int division, long endTick) {
  std::vector<std::uint8_t> out{'M', 'T', 'h', 'd'};
  PutBe(out, 6, 4);
  PutBe(out, 1, 2);
  PutBe(out, static_cast<std::uint32_t>(tracks.size()), 2);
  PutBe(out, static_cast<std::uint32_t>(division), 2);
  for (const MidiTrack& track : tracks) {
    std::vector<MidiEvent> events = track.Events();
    std::sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
      if (a.tick != b.tick) return a.tick < b.tick;
      if (a.order != b.order) return a.order < b.order;
      return a.seq < b.seq;
    });
    std::vector<std::uint8_t> body;
    // The track's name first.
    body.push_back(0);
    body.insert(body.end(), {0xFF, 0x03});
    PutVlq(body, static_cast<std::uint32_t>(track.Name().size()));
    body.insert(body.end(), track.Name().begin(), track.Name().end());
    long at = 0;
    for (const MidiEvent& e : events) {
      if (e.tick > endTick) throw std::invalid_argument("event after the end in " + track.Name());
      PutVlq(body, static_cast<std::uint32_t>(e.tick - at));
      at = e.tick;
      body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    PutVlq(body, static_cast<std::uint32_t>(endTick - at));
    body.insert(body.end(), {0xFF, 0x2F, 0x00});
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    PutBe(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}

}  // namespace milgant::musicgen
