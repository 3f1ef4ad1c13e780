// A small writer of standard MIDI files (format 1): one conductor track for tempo and metre,
// then one track per instrument. Events at the same tick keep a fixed order (note-offs first,
// then controllers, then note-ons), so the same piece always gives the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace milgant::musicgen {

struct MidiEvent {
  long tick = 0;
  int order = 0;  // within one tick: 0 note-off, 1 controller/program/bend, 2 note-on
  long seq = 0;   // insertion order, the last tie-breaker
  std::vector<std::uint8_t> bytes;  // status and data, or 0xFF type data for a meta event
};

class MidiTrack {
 public:
  MidiTrack(std::string name, int channel) : name_(std::move(name)), channel_(channel) {}
  void Program(long tick, int program);
  void Control(long tick, int controller, int value);
  void Bend(long tick, int value);  // -8192 .. 8191, 0 is the note as written
  void Note(long tick, long length, int key, int velocity);
  void Tempo(long tick, int microsecondsPerQuarter);
  void Metre(long tick, int numerator, int denominatorPower);
  void Text(long tick, int type, const std::string& text);

  const std::string& Name() const { return name_; }
  int Channel() const { return channel_; }
  const std::vector<MidiEvent>& Events() const { return events_; }

 private:
  void Add(long tick, int order, std::vector<std::uint8_t> bytes);
  std::string name_;
  int channel_;
  long seq_ = 0;
  std::vector<MidiEvent> events_;
};

// Every track ends at `endTick`, the loop point of the piece.
std::vector<std::uint8_t> WriteMidi(const std::vector<MidiTrack>& tracks, int division, long endTick);

}  // namespace milgant::musicgen
